// The assessment form's widgets on a consultation loaded from a real server: clicks and
// keys in the method grid, the key filter and the list buttons of the data grid, the
// pick lists they open, the energy tab's grids and weight panel, and a look at each
// page.

#include "window_fixture.h"

#include "hostfw/pick_list.h"
#include "workspace/form/energy_panel.h"
#include "workspace/method_page.h"
#include "workspace/module_context.h"
#include "workspace/result_page.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>

using namespace workspace;

class FormWidgets : public workspacetest::WindowTest
{
protected:
    TfrmAvalNutrEnerg& openWindow(const QString& patient, bool deceased = false)
    {
        admit(patient, "1", QDate(1961, 8, 14), deceased);
        return showWindow();
    }
    // Makes a cell current, then types the keys into it as a person would.
    QLineEdit* typeInto(QTableView* view, int row, const QString& field, const QString& keys)
    {
        view->setFocus();
        view->setCurrentIndex(view->model()->index(row, columnOf(view, field)));
        QTest::keyClick(view, keys.at(0).toLatin1());
        QLineEdit* editor = nullptr;
        for (QLineEdit* e : view->viewport()->findChildren<QLineEdit*>()) {
            if (e->isVisible())
                editor = e;
        }
        if (!editor)
            return nullptr;
        if (keys.size() > 1)
            QTest::keyClicks(editor, keys.mid(1));
        return editor;
    }
    // Enter in the editor: the grid takes the text once the key has been handled.
    void commit(QLineEdit* editor)
    {
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
};

TEST_F(FormWidgets, MethodGridTogglesByClickAndSpaceAndRefusesASecondBodyMassIndex)
{
    TfrmAvalNutrEnerg& w = openWindow("930000000001");
    AssessmentForm& core = w.core();
    QTableView* grid = w.dbgMetoAval;

    const int imc = rowOf(grid, "CDTBMETOAVAL", "01");
    clickCell(grid, imc, "IDTABELAAV");
    EXPECT_EQ(core.cdsMetoAval.asString("IDTABELAAV"), "S");
    EXPECT_FALSE(core.cdsMetoAval.asString("CDTABELACO").isEmpty());

    // space bar on another row: leaving the first row posted it
    const int edema = rowOf(grid, "CDTBMETOAVAL", "58");
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(edema, 0));
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(storedMethod("01").first, "S");
    EXPECT_EQ(core.cdsMetoAval.asString("CDTBMETOAVAL"), "58");
    EXPECT_EQ(core.cdsMetoAval.asString("IDTABELAAV"), "S");

    // the adolescent index while the adult one is selected
    const int adolescent = rowOf(grid, "CDTBMETOAVAL", "48");
    errors.clear();
    clickCell(grid, adolescent, "IDTABELAAV");
    EXPECT_EQ(errors.messages(), QStringList{"IMC está selecionado."});
    EXPECT_EQ(core.cdsMetoAval.asString("CDTBMETOAVAL"), "48");
    EXPECT_EQ(core.cdsMetoAval.asString("IDTABELAAV"), "N");
    EXPECT_EQ(storedMethod("58").first, "S");

    // a click in the name column toggles nothing; Ctrl+Delete deletes nothing
    const int count = core.cdsMetoAval.recordCount();
    clickCell(grid, edema, "NMTBMETOAVAL");
    EXPECT_EQ(core.cdsMetoAval.asString("IDTABELAAV"), "S");
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(core.cdsMetoAval.recordCount(), count);
}

TEST_F(FormWidgets, ReferenceCellTakesATypedCodeOrOneFromItsList)
{
    TfrmAvalNutrEnerg& w = openWindow("930000000002");
    AssessmentForm& core = w.core();
    QTableView* grid = w.dbgMetoAval;
    const int imc = rowOf(grid, "CDTBMETOAVAL", "01");

    clickCell(grid, imc, "CDTABELACO");
    EXPECT_EQ(pickIn([&] { clickCell(grid, imc, "CDTABELACO", true); }, "CDREFEBIBL", "91"),
              "Referência");
    EXPECT_EQ(core.cdsMetoAval.asString("CDTABELACO"), "91");
    EXPECT_EQ(core.cdsMetoAval.asString("NMREFEBIBL"), "Referência de teste B");

    // typed: an unknown code is refused when the column is left, the cell stays current
    QLineEdit* editor = typeInto(grid, imc, "CDTABELACO", "89");
    ASSERT_NE(editor, nullptr);
    commit(editor);
    errors.clear();
    grid->setCurrentIndex(grid->model()->index(imc, columnOf(grid, "NMTBMETOAVAL")));
    EXPECT_EQ(errors.messages(), QStringList{"Referência não cadastrada."});
    QTRY_COMPARE(grid->currentIndex().column(), columnOf(grid, "CDTABELACO"));
    EXPECT_EQ(core.methodPage().dbgMetoAvalColumn, "CDTABELACO");
    w.sbtCancelar->trigger();
    EXPECT_FALSE(core.cdsMetoAval.isEditing());

    // a method without a reference table shows no button and takes no typing
    const int plain = rowOf(grid, "CDTBMETOAVAL", "00");
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(plain, 2)) & Qt::ItemIsEditable);
    hostfw::PickScript script;
    clickCell(grid, plain, "CDTABELACO");
    clickCell(grid, plain, "CDTABELACO", true);
    EXPECT_TRUE(script.requests().isEmpty());
}

TEST_F(FormWidgets, DataGridKeyFilterAndAnswerLists)
{
    TfrmAvalNutrEnerg& w = openWindow("930000000003");
    AssessmentForm& core = w.core();
    for (const char* code : {"00", "26", "58", "59"})
        ASSERT_TRUE(core.methodPage().selectMethod(QString::fromLatin1(code)));
    w.pgcAvalNutr->setCurrentWidget(w.tshAvaliacao);
    ASSERT_EQ(core.pgcAvalNutr, InnerPage::tshAvaliacao);
    EXPECT_TRUE(w.mnuAvaliacao->isChecked());
    EXPECT_FALSE(w.mnuMetoAval->isChecked());
    QTableView* grid = w.dbgDadosAval;
    ASSERT_GT(core.cdsDadosAval.recordCount(), 0);

    // "1.5" with a letter among it: the point becomes the comma, the letter is dropped
    const int weight = rowOf(grid, "CDTIPODADO", "01");
    QLineEdit* editor = typeInto(grid, weight, "DSINFOAVAL", "1.a5");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "1,5");
    commit(editor);
    EXPECT_TRUE(core.cdsDadosAval.isEditing());
    EXPECT_FALSE(w.sbtCalcular->isEnabled());
    w.sbtConfirmar->trigger();
    EXPECT_FALSE(core.cdsDadosAval.isEditing());
    EXPECT_TRUE(w.sbtCalcular->isEnabled());
    const auto weights = recorded("01");
    EXPECT_EQ(weights.size(), 4);
    for (const auto& r : weights)
        EXPECT_EQ(r.value, "1,5");

    // a pasted value that is not a number: refused when the row is left
    editor = typeInto(grid, weight, "DSINFOAVAL", "2");
    ASSERT_NE(editor, nullptr);
    editor->setText("2,5,1");
    errors.clear();
    commit(editor);
    EXPECT_EQ(
        errors.messages(),
        QStringList{"'2,5,1' não é um valor de ponto flutuante válido para o campo 'Valor'."});
    const int other = weight == 0 ? 1 : 0;
    grid->setCurrentIndex(grid->model()->index(other, 1));
    QTRY_COMPARE(grid->currentIndex().row(), weight);
    EXPECT_TRUE(core.cdsDadosAval.isEditing());
    w.sbtCancelar->trigger();
    for (const auto& r : recorded("01"))
        EXPECT_EQ(r.value, "1,5");

    // edema takes no typing; its list opens from the button or F4
    const int ankle = rowOf(grid, "CDTIPODADO", "40");
    grid->setCurrentIndex(grid->model()->index(ankle, 1));
    QTest::keyClick(grid, '1');
    EXPECT_FALSE(core.cdsDadosAval.isEditing());
    EXPECT_EQ(pickIn([&] { QTest::keyClick(grid, Qt::Key_F4); }, "NMFATOR", "Sim"), "Edema");
    EXPECT_EQ(grid->model()->index(ankle, 1).data().toString(), "Sim");
    EXPECT_EQ(recorded("40").value("58").value, "1");

    const int time = rowOf(grid, "CDTIPODADO", "36");
    grid->setCurrentIndex(grid->model()->index(time, 1));
    EXPECT_EQ(pickIn([&] { clickCell(grid, time, "DSINFOAVAL", true); }, "NMFATOR", "Um Mês"),
              "Tempo");
    EXPECT_EQ(grid->model()->index(time, 1).data().toString(), "Um Mês");

    // two upper limbs marked: a second limb typed on a hand is refused with its message
    // (a third part from the list is result_page_test's: F4 is the edema's button)
    ASSERT_TRUE(core.resultPage().recordAnswer("44", "1"));
    ASSERT_TRUE(core.resultPage().recordAnswer("45", "1"));
    errors.clear();
    editor = typeInto(grid, rowOf(grid, "CDTIPODADO", "44"), "DSUNIDDADO", "2");
    EXPECT_EQ(errors.messages(), QStringList{"Dois membros superiores já estão selecionados"});
    if (editor) {
        EXPECT_EQ(editor->text(), "1");
    }
}

TEST_F(FormWidgets, DeceasedConsultationIgnoresKeysAndClicks)
{
    TfrmAvalNutrEnerg& w = openWindow("930000000004", true);
    AssessmentForm& core = w.core();
    ASSERT_TRUE(core.deceased());
    QTableView* grid = w.dbgMetoAval;
    const int plain = rowOf(grid, "CDTBMETOAVAL", "00");
    clickCell(grid, plain, "IDTABELAAV");
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(core.cdsMetoAval.asString("IDTABELAAV"), "N");
    EXPECT_FALSE(core.cdsMetoAval.isEditing());
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->currentIndex().row(), plain + 1);  // the arrows still move
    EXPECT_FALSE(w.sbtAlterar->isEnabled());
    EXPECT_FALSE(w.sbtCalcular->isEnabled());
    EXPECT_EQ(storedMethod("00").first, "N");

    // the energy grid likewise, and the weight panel stays off
    w.mnuMetoEnerg->trigger();
    const int harris = rowOf(w.dbgMetoAvalEnerg, "CDTBMETOAVAL", "30");
    clickCell(w.dbgMetoAvalEnerg, harris, "IDTABELAAV");
    QTest::keyClick(w.dbgMetoAvalEnerg, Qt::Key_Space);
    EXPECT_EQ(core.cdsMetoAvalEnerg.asString("IDTABELAAV"), "N");
    EXPECT_FALSE(core.cdsMetoAvalEnerg.isEditing());
    w.mnuResuEnerg->trigger();
    EXPECT_FALSE(w.panAltPeso->medPeso->isEnabled());
}

// Each page of a loaded consultation, grabbed as the user sees it: the method grid and
// the data grid are painted with their rows, and the pictures are saved.
TEST_F(FormWidgets, PagesRenderWithALoadedConsultation)
{
    TfrmAvalNutrEnerg& w = openWindow("930000000005");
    AssessmentForm& core = w.core();
    for (const char* code : {"00", "01", "26", "58", "59"})
        ASSERT_TRUE(core.methodPage().selectMethod(QString::fromLatin1(code)));
    EXPECT_EQ(w.pgcAvalNutr->currentWidget(), w.tshMetoAval);
    expectShown(shoot("avalnutri_metodo.png"), *w.dbgMetoAval);

    w.pgcAvalNutr->setCurrentWidget(w.tshAvaliacao);
    ASSERT_TRUE(core.resultPage().recordValue("01", "64,8"));
    ASSERT_TRUE(core.resultPage().recordValue("35", "70"));
    ASSERT_TRUE(core.resultPage().recordAnswer("36", "3"));
    ASSERT_TRUE(core.resultPage().recordAnswer("44", "1"));
    ASSERT_TRUE(core.resultPage().recordLimbCount("44", "2"));
    w.dbgDadosAval->setCurrentIndex(
        w.dbgDadosAval->model()->index(rowOf(w.dbgDadosAval, "CDTIPODADO", "36"), 1));
    EXPECT_EQ(w.pgcAvalNutr->currentWidget(), w.tshAvaliacao);
    expectShown(shoot("avalnutri_resultado.png"), *w.dbgDadosAval);
    // the grid shows the answer's text, not its code
    EXPECT_EQ(w.dbgDadosAval->currentIndex().data().toString(), "Três Meses");

    w.mnuMetoEnerg->trigger();
    for (const char* code : {"30", "32", "34"})
        ASSERT_TRUE(core.energyPage().selectMethod(QString::fromLatin1(code)));
    expectShown(shoot("avalnutri_energia_metodo.png"), *w.dbgMetoAvalEnerg);
    w.mnuResuEnerg->trigger();
    QTest::keyClicks(w.panAltPeso->medPeso, "64,8");
    const QImage energy = shoot("avalnutri_energia_resultado.png");
    expectShown(energy, *w.panAltPeso);
    expectShown(energy, *w.dbgDadoAvalEnerg);
}

TEST_F(FormWidgets, MenusCheckThePageShownAndToolButtonsFollowTheirMenus)
{
    TfrmAvalNutrEnerg& w = openWindow("930000000006");
    AssessmentForm& core = w.core();
    // clang-format off
    const QList<QAction*> pageItems = {w.mnuAvalNutri->menuAction(), w.mnuMetoAval, w.mnuAvaliacao,
        w.mnuCalculo->menuAction(), w.mnuMetoEnerg, w.mnuResuEnerg, w.mnuNutrRecom};
    // clang-format on
    const auto checked = [&] {
        QStringList names;
        for (QAction* a : pageItems) {
            if (a->isChecked())
                names << (a->objectName().isEmpty() ? a->text() : a->objectName());
        }
        return names;
    };
    const auto enabledPair = [](QAction* button, QAction* item) {
        EXPECT_EQ(button->isEnabled(), item->isEnabled()) << button->objectName().toStdString();
        return button->isEnabled();
    };

    // the method page
    EXPECT_EQ(checked(), QStringList({"&Avaliação Nutricional", "mnuMetoAval"}));
    EXPECT_TRUE(enabledPair(w.sbtAutomatico, w.mnuAutomatico));
    EXPECT_FALSE(enabledPair(w.sbtCalcular, w.mnuCalcular));

    // the result page from its menu item, without data: nothing to calculate
    w.mnuAvaliacao->trigger();
    EXPECT_EQ(w.pgcAvalNutr->currentWidget(), w.tshAvaliacao);
    EXPECT_EQ(checked(), QStringList({"&Avaliação Nutricional", "mnuAvaliacao"}));
    EXPECT_FALSE(enabledPair(w.sbtAutomatico, w.mnuAutomatico));
    EXPECT_FALSE(enabledPair(w.sbtCalcular, w.mnuCalcular));

    w.mnuMetoAval->trigger();
    ASSERT_TRUE(core.methodPage().selectMethod("00"));
    w.mnuAvaliacao->trigger();
    EXPECT_TRUE(enabledPair(w.sbtCalcular, w.mnuCalcular));
    const int weight = rowOf(w.dbgDadosAval, "CDTIPODADO", "01");
    w.dbgDadosAval->setCurrentIndex(w.dbgDadosAval->model()->index(weight, 1));
    EXPECT_TRUE(w.sbtEstimado->isEnabled());
    EXPECT_FALSE(w.sbtMaturSex->isEnabled());
    EXPECT_FALSE(w.sbtAmputado->isEnabled());

    // the needs tab
    w.mnuResuEnerg->trigger();
    EXPECT_EQ(w.pgcPadrao->currentWidget(), w.tshPadrao);
    EXPECT_EQ(w.pgcAvalEnerg->currentWidget(), w.tshResulEnerg);
    EXPECT_EQ(checked(), QStringList({"Necessidades Nutricionais", "mnuResuEnerg"}));
    EXPECT_FALSE(enabledPair(w.sbtAutomatico, w.mnuAutomatico));

    // the assessment tab comes back on its method page
    w.pgcPadrao->setCurrentWidget(w.tshAvalNutr);
    EXPECT_EQ(w.pgcAvalNutr->currentWidget(), w.tshMetoAval);
    EXPECT_EQ(checked(), QStringList({"&Avaliação Nutricional", "mnuMetoAval"}));
    EXPECT_TRUE(enabledPair(w.sbtAutomatico, w.mnuAutomatico));
}

// ---------------------------------------------------------------- energy tab

TEST_F(FormWidgets, EnergyMethodGridSelectsHarrisAndItsFactorsArePickedFromLists)
{
    TfrmAvalNutrEnerg& w = openWindow("930000000011");
    AssessmentForm& core = w.core();
    w.mnuMetoEnerg->trigger();
    QTableView* methods = w.dbgMetoAvalEnerg;
    EXPECT_EQ(w.pgcAvalEnerg->currentWidget(), w.tshMetodoEnerg);
    const int harris = rowOf(methods, "CDTBMETOAVAL", "30");
    ASSERT_GE(harris, 0);
    EXPECT_EQ(methods->model()->index(harris, 1).data().toString(), "Harris-Benedict/Long");
    // only the catch-up growth's reference takes typing
    for (int row = 0; row < core.cdsMetoAvalEnerg.recordCount(); ++row)
        EXPECT_EQ(
            bool(methods->model()->flags(methods->model()->index(row, 2)) & Qt::ItemIsEditable),
            core.cdsMetoAvalEnerg.asStringAt(row, "CDTBMETOAVAL") == "35");

    // the mark is clicked; the row stays in edit until the results page is entered
    clickCell(methods, harris, "IDTABELAAV");
    EXPECT_EQ(core.cdsMetoAvalEnerg.asString("IDTABELAAV"), "S");
    EXPECT_TRUE(core.cdsMetoAvalEnerg.isEditing());
    QTest::keyClick(methods, Qt::Key_Delete, Qt::ControlModifier);
    w.pgcAvalEnerg->setCurrentWidget(w.tshResulEnerg);
    ASSERT_EQ(core.pgcAvalEnerg, EnergPage::tshResulEnerg);
    EXPECT_FALSE(core.cdsMetoAvalEnerg.isEditing());

    QTableView* data = w.dbgDadoAvalEnerg;
    for (const auto& [type, value] : {std::pair{"23", "Normal"}, {"24", "Ambulante (1,30)"}}) {
        const int row = rowOf(data, "CDTIPODADO", type);
        ASSERT_GE(row, 0) << type;
        EXPECT_EQ(data->model()->index(row, 0).data().toString(), "Harris-Benedict/Long");
        EXPECT_EQ(data->model()->index(row, 2).data().toString(), QString::fromUtf8(value));
    }
    EXPECT_TRUE(w.panAltPeso->medPeso->isEnabled());
    EXPECT_TRUE(w.sbtCalcular->isEnabled());

    // no typing and no deleting in the factors; the button opens the list of the row
    const int activity = rowOf(data, "CDTIPODADO", "24");
    const int rows = core.cdsDadoAvalEnerg.recordCount();
    data->setFocus();
    data->setCurrentIndex(data->model()->index(activity, 2));
    QTest::keyClick(data, '1');
    QTest::keyClick(data, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_FALSE(core.cdsDadoAvalEnerg.isEditing());
    EXPECT_EQ(core.cdsDadoAvalEnerg.recordCount(), rows);
    EXPECT_EQ(pickIn([&] { clickCell(data, activity, "DSINFOAVAL", true); }, "CDFATOR", "0"),
              "Atividade Física");
    EXPECT_EQ(data->model()->index(activity, 2).data().toString(), "Acamado (1,20)");
    EXPECT_EQ(recorded("24").value("30").value, "0");
    const int thermal = rowOf(data, "CDTIPODADO", "23");
    data->setCurrentIndex(data->model()->index(thermal, 2));
    EXPECT_EQ(pickIn([&] { QTest::keyClick(data, Qt::Key_F4); }, "CDFATOR", "2"), "Fator Térmico");
    EXPECT_EQ(recorded("23").value("30").value, "2");
}

TEST_F(FormWidgets, EnergyPanelTakesTwoDecimalNumbersAndStoresThemOnLeaving)
{
    TfrmAvalNutrEnerg& w = openWindow("930000000012");
    AssessmentForm& core = w.core();
    EnergyPanel* panel = w.panAltPeso;

    // no energy method selected: no factors, the panel and Calculate are disabled
    w.mnuResuEnerg->trigger();
    EXPECT_EQ(core.cdsDadoAvalEnerg.recordCount(), 0);
    for (QWidget* control :
         QList<QWidget*>{panel->medPeso, panel->medAltura, panel->cbbPesoIdeal, panel->medPesoAdeq})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_FALSE(w.sbtCalcular->isEnabled());

    w.mnuMetoEnerg->trigger();
    ASSERT_TRUE(core.energyPage().selectMethod("30"));
    w.mnuResuEnerg->trigger();
    ASSERT_TRUE(panel->medPeso->isEnabled());
    EXPECT_TRUE(panel->medPeso->hasFocus());
    ASSERT_GT(panel->cbbPesoIdeal->count(), 1);
    EXPECT_EQ(panel->cbbPesoIdeal->currentIndex(), -1);

    // what the edits accept, as typed
    for (const auto& [keys, shown] :
         {std::pair{"72.5", "72,5"}, {"1234", "123"}, {"7,555", "7,55"}, {"a1b-", "1"}}) {
        panel->medAltura->clear();
        QTest::keyClicks(panel->medAltura, QString::fromLatin1(keys));
        EXPECT_EQ(panel->medAltura->text(), shown) << keys;
    }

    // typed values reach the core at once and the server when the panel is left
    panel->medPeso->setFocus();
    panel->medPeso->clear();
    QTest::keyClicks(panel->medPeso, "64.8");
    panel->medAltura->setFocus();
    panel->medAltura->clear();
    QTest::keyClicks(panel->medAltura, "1,7");
    panel->cbbPesoIdeal->setCurrentIndex(1);
    EXPECT_EQ(core.energyPage().medPeso, "64,8");
    EXPECT_EQ(core.cbbPesoIdealIndex, 1);
    EXPECT_TRUE(recorded("01").isEmpty());
    errors.clear();
    w.dbgDadoAvalEnerg->setFocus();
    EXPECT_EQ(errors.messages(), QStringList());
    EXPECT_EQ(recorded("01").value("30").value, "64,80");
    EXPECT_EQ(recorded("02").value("30").value, "1,70");
    EXPECT_EQ(panel->medPeso->text(), "64,80");

    // a page change with the focus in the panel stores it before the page clears it
    panel->medPeso->setFocus();
    panel->medPeso->clear();
    QTest::keyClicks(panel->medPeso, "65");
    w.mnuMetoEnerg->trigger();
    EXPECT_TRUE(panel->medPeso->text().isEmpty());
    EXPECT_EQ(recorded("01").value("30").value, "65,00");
    w.mnuResuEnerg->trigger();
    EXPECT_EQ(panel->medPeso->text(), "65,00");
    EXPECT_EQ(panel->medAltura->text(), "1,70");

    // a weight that is no number keeps the focus and the page, and stores nothing
    panel->medPeso->setFocus();
    panel->medPeso->clear();
    QTest::keyClicks(panel->medPeso, ",");
    errors.clear();
    w.mnuMetoEnerg->trigger();
    EXPECT_EQ(errors.messages(), QStringList{"Peso deve ser um número."});
    EXPECT_EQ(w.pgcAvalEnerg->currentWidget(), w.tshResulEnerg);
    w.dbgDadoAvalEnerg->setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->medPeso->hasFocus(); }, 2000));
    EXPECT_EQ(errors.messages().size(), 2);
    EXPECT_EQ(recorded("01").value("30").value, "65,00");
}
