// The module as the host uses it: IniProc with the six-element list, the one form in
// the host's MDI area, the reload rules, closing and reopening, and refused lists.

#include "loopback_server.h"

#include "hostfw/error_display.h"
#include "hostfw/host_settings.h"
#include "hostfw/widgets/mdi_host.h"
#include "hostfw/widgets/show_avi.h"
#include "module/module_entry.h"
#include "workspace/form/tfrm_aval_nutr_energ.h"
#include "workspace/method_page.h"
#include "workspace/module_context.h"
#include "workspace/result_page.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QVariantList params(const QString& patient, const QString& name, const QString& sex,
                    const QDate& birth, const QDate& consultation = QDate(2026, 12, 6))
{
    const auto utc = [](const QDate& d) { return QDateTime(d, QTime(0, 0), Qt::UTC); };
    return {QStringLiteral("0001"), patient, name, sex, utc(birth), utc(consultation)};
}

workspace::TfrmAvalNutrEnerg* form()
{
    return static_cast<workspace::TfrmAvalNutrEnerg*>(frmAvalNutrEnerg);
}

class ModuleEntry : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.useForHost();
        hostfw::setMdiHost(&area);
        stCdPacienteAux.clear();
    }
    void TearDown() override
    {
        area.closeAllSubWindows();
        QApplication::processEvents();
        hostfw::setMdiHost(nullptr);
    }

    workspacetest::LoopbackServer server;
    QMdiArea area;
    hostfw::ErrorRecorder errors;
};

}  // namespace

TEST_F(ModuleEntry, OpensOneFormAndReloadsOnlyForAnotherConsultation)
{
    server.addPatient("800000000001", "Rita Gomes", "1", QDate(1975, 3, 3));
    server.addPatient("800000000002", "Caio Prado", "0", QDate(2001, 9, 9));

    IniProc(params("800000000001", "Rita Gomes", "1", QDate(1975, 3, 3)));
    ASSERT_TRUE(boStCriado);
    ASSERT_NE(form(), nullptr);
    workspace::TfrmAvalNutrEnerg* first = form();
    EXPECT_EQ(area.subWindowList().size(), 1);
    EXPECT_EQ(first->windowTitle(), "Avaliação Nutricional");
    EXPECT_TRUE(first->core().loaded()) << errors.last().toStdString();
    EXPECT_EQ(first->edtNmPaciente->text(), "Rita Gomes");
    EXPECT_EQ(first->edtSexoPaci->text(), "Feminino");
    EXPECT_EQ(first->edtIdade->text(), "51");
    EXPECT_EQ(first->edtMes->text(), "09");

    // the same patient on another date: the same form, that consultation loaded
    IniProc(params("800000000001", "Rita Gomes", "1", QDate(1975, 3, 3), QDate(2027, 1, 10)));
    EXPECT_EQ(form(), first);
    EXPECT_EQ(first->depDtConsulta->text(), "10/01/2027");
    EXPECT_EQ(first->edtMes->text(), "10");
    EXPECT_EQ(first->core().cdsMetoAval.value("DTCONSPACI").toDateTime().date(),
              QDate(2027, 1, 10));

    // the same consultation again: the header only
    const QString loadedMethods = first->core().cdsMetoAval.asString("CDTBMETOAVAL");
    IniProc(params("800000000001", "Rita Gomes", "1", QDate(1975, 3, 3), QDate(2027, 1, 10)));
    EXPECT_EQ(first->core().cdsMetoAval.asString("CDTBMETOAVAL"), loadedMethods);

    // another patient: the same form, everything reloaded
    IniProc(params("800000000002", "Caio Prado", "0", QDate(2001, 9, 9)));
    EXPECT_EQ(form(), first);
    EXPECT_EQ(area.subWindowList().size(), 1);
    EXPECT_EQ(first->edtNmPaciente->text(), "Caio Prado");
    EXPECT_EQ(stCdPacienteAux, "800000000002");
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.last().toStdString();
}

// The maturation button opens the dialog over the form on the page of the patient's
// sex; the stage confirmed there lands in the data grid.
TEST_F(ModuleEntry, MaturationButtonOpensTheDialogThatWritesTheStage)
{
    server.addReference("METO", "28", "90", "Referência de teste");
    server.addPatient("800000000009", "Ana Lima", "1", QDate(2014, 2, 1));
    IniProc(params("800000000009", "Ana Lima", "1", QDate(2014, 2, 1)));
    workspace::AssessmentForm& core = form()->core();
    ASSERT_TRUE(core.methodPage().selectMethod("28")) << errors.last().toStdString();
    core.showPage(workspace::OuterPage::tshAvalNutr, workspace::InnerPage::tshAvaliacao);
    ASSERT_TRUE(core.cdsDadosAval.locate("CDTIPODADO", "37"));
    core.repaint();
    ASSERT_TRUE(form()->sbtMaturSex->isEnabled());

    QString page;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        page = dialog->windowTitle();
        dialog->findChild<QRadioButton*>("rbtFemM2")->click();
        dialog->findChild<QRadioButton*>("rbtFemP3")->click();
        dialog->findChild<QPushButton*>("sbtConfirma")->click();
    });
    form()->sbtMaturSex->trigger();
    EXPECT_EQ(page, "Maturação Sexual");
    EXPECT_EQ(core.cdsDadosAval.asString("DSINFOAVAL"), "M2-P3");
    EXPECT_EQ(core.cdsDadosAval.asString("DSOBSERAVAL"), "Tanner (1962)");
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.last().toStdString();
}

TEST_F(ModuleEntry, ClosingTheFormLetsTheNextIniProcCreateANewOne)
{
    server.addPatient("800000000003", "Lia Costa", "1", QDate(1999, 1, 1));
    IniProc(params("800000000003", "Lia Costa", "1", QDate(1999, 1, 1)));
    ASSERT_TRUE(boStCriado);
    form()->close();
    QApplication::processEvents();
    EXPECT_FALSE(boStCriado);

    IniProc(params("800000000003", "Lia Costa", "1", QDate(1999, 1, 1)));
    ASSERT_TRUE(boStCriado);
    EXPECT_EQ(form()->edtNmPaciente->text(), "Lia Costa");
}

TEST_F(ModuleEntry, RefusesAShortListOrADateThatIsNotADate)
{
    IniProc({QStringLiteral("0001"), QStringLiteral("800000000009")});
    EXPECT_TRUE(errors.last().contains("seis parâmetros")) << errors.last().toStdString();
    EXPECT_FALSE(boStCriado);

    IniProc({QStringLiteral("0001"), QStringLiteral("800000000009"), QStringLiteral("X"),
             QStringLiteral("0"), QStringLiteral("30/02/2000"), QStringLiteral("2026-12-06")});
    EXPECT_TRUE(errors.last().contains("Data inválida")) << errors.last().toStdString();
    EXPECT_FALSE(boStCriado);
    EXPECT_TRUE(stCdPaciente != "800000000009");
}

TEST_F(ModuleEntry, AServerThatIsDownIsAMessageAndNothingIsPresentedAsLoaded)
{
    hostfw::hostSettings().webPort = 1;  // nothing listens there
    IniProc(params("800000000004", "Otto", "0", QDate(1960, 6, 6)));
    ASSERT_TRUE(boStCriado);
    EXPECT_FALSE(form()->core().loaded());
    EXPECT_TRUE(errors.last().contains("127.0.0.1")) << errors.last().toStdString();
    EXPECT_FALSE(hostfw::IsShowAviVisible(form()));
    EXPECT_TRUE(stCdPacienteAux.isEmpty());

    // the server is back: the next activation loads
    server.useForHost();
    server.addPatient("800000000004", "Otto", "0", QDate(1960, 6, 6));
    IniProc(params("800000000004", "Otto", "0", QDate(1960, 6, 6)));
    EXPECT_TRUE(form()->core().loaded()) << errors.last().toStdString();
}

// Draws the form maximized in the host's area: the image has the area's size, shows the
// form's caption and the patient's name inside it, and is kept in the test's directory.
TEST_F(ModuleEntry, ScreenshotOfTheFormInTheHostArea)
{
    server.addPatient("800000000005", "José Carlos da Silva", "0", QDate(1981, 9, 6));
    area.resize(1000, 700);
    area.show();
    IniProc(params("800000000005", "José Carlos da Silva", "0", QDate(1981, 9, 6)));
    ASSERT_TRUE(boStCriado);
    form()->parentWidget()->showMaximized();
    QApplication::processEvents();
    const QImage shot = area.grab().toImage();
    ASSERT_EQ(shot.size(), area.size() * shot.devicePixelRatio());

    EXPECT_EQ(form()->parentWidget()->windowTitle(), "Avaliação Nutricional");
    QLineEdit* name = form()->edtNmPaciente;
    EXPECT_TRUE(name->isVisible());
    EXPECT_EQ(name->text(), "José Carlos da Silva");
    const QRect nameRect(name->mapTo(&area, QPoint(0, 0)), name->size());
    EXPECT_TRUE(QRect(QPoint(0, 0), area.size()).contains(nameRect));

    // Not blank: inside the field's frame, the name is drawn over the field's background
    // (sampled at its empty right end).
    const QRect inside = nameRect.adjusted(4, 4, -4, -4);
    const QColor background = shot.pixelColor(inside.topRight());
    int drawn = 0;
    for (int x = inside.left(); x < inside.center().x(); ++x)
        drawn += shot.pixelColor(x, inside.center().y()) != background;
    EXPECT_GT(drawn, 5);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("avalnutri-form-in-host.png"));
    ASSERT_TRUE(shot.save(file));
    EXPECT_EQ(QImage(file).size(), shot.size());
}

// "Altura/Peso Estimado" on the weight row opens the estimate dialog modally; confirmed,
// it writes the estimated height into the grid.
TEST_F(ModuleEntry, TheEstimateButtonOpensTheDialogThatWritesTheGrid)
{
    server.addPatient("800000000006", "Ana Leito", "1", QDate(1956, 12, 6));
    IniProc(params("800000000006", "Ana Leito", "1", QDate(1956, 12, 6)));
    ASSERT_TRUE(boStCriado);
    workspace::AssessmentForm& core = form()->core();
    ASSERT_TRUE(core.methodPage().selectMethod(QStringLiteral("00")));
    core.showPage(workspace::OuterPage::tshAvalNutr, workspace::InnerPage::tshAvaliacao);
    ASSERT_TRUE(core.cdsDadosAval.locate(QStringLiteral("CDTIPODADO"), QStringLiteral("01")));
    ASSERT_TRUE(form()->sbtEstimado->isEnabled());

    QString caption;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle();
        dialog->findChild<QLineEdit*>(QStringLiteral("nedJoelho"))->setText(QStringLiteral("50"));
        dialog->findChild<QPushButton*>(QStringLiteral("sbtConfirma"))->click();
    });
    form()->sbtEstimado->trigger();
    EXPECT_EQ(caption, "Cálculo Peso/Altura Estimado (Chumlea)");
    // a woman of 70: 84,88 + 1,83 x 50 - 0,24 x 70 = 159,58 cm
    ASSERT_TRUE(core.cdsDadosAval.locate(QStringLiteral("CDTIPODADO"), QStringLiteral("02")));
    EXPECT_EQ(core.cdsDadosAval.asString(QStringLiteral("DSINFOAVAL")), "1,60");
    EXPECT_EQ(core.cdsDadosAval.asString(QStringLiteral("DSOBSERAVAL")),
              "Altura Estimada Chumlea (1988)");
    EXPECT_FALSE(core.resultPage().estimateFlag);
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.last().toStdString();
}
