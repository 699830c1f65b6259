// The result page against a real server: the data grid and when Calculate is offered,
// typed values and coded answers, their checks, the limbs, entering the page (separators
// brought to the comma, nothing else rewritten), the refresh of each page, and the
// spreading of a posted value to every method that needs it.

#include "consultation_fixture.h"

#include <QCollator>

#include "hostfw/pick_list.h"
#include "records/error.h"
#include "records/layouts.h"
#include "records/packet_codec.h"
#include "records/write_through.h"
#include "workspace/module_context.h"

using namespace workspace;
using workspacetest::ConsultationTest;

namespace {

const QString kNotANumber = "'%1' não é um valor de ponto flutuante válido para o campo 'Valor'.";
const QString kType = "CDTIPODADO";

QStringList writes(const workspacetest::LoopbackServer& server)
{
    QStringList out;
    for (const QString& method : server.calledMethods()) {
        if (method.startsWith(u"Set"))
            out << method;
    }
    return out;
}

}  // namespace

class ResultPageTest : public ConsultationTest
{
protected:
    // A woman of 30 unless said otherwise, on the result page with these methods, by
    // default methods that need weight (all of them), edema ("58"), limbs ("59"), weight
    // loss time ("26") and gestational week ("68").
    AssessmentForm& openWithMethods(const QString& patient,
                                    const QStringList& codes = {"00", "26", "58", "59", "68"},
                                    const QString& sex = "1", const QDate& birth = {1996, 3, 10})
    {
        AssessmentForm& f = open(patient, sex, birth);
        for (const QString& code : codes)
            EXPECT_TRUE(f.methodPage().selectMethod(code)) << code.toStdString();
        enterResults();
        return f;
    }
};

TEST_F(ResultPageTest, GridListsTheNeededDataInNameOrder)
{
    AssessmentForm& f = openWithMethods("920000000001");
    QStringList names;
    for (int row = 0; row < f.cdsDadosAval.recordCount(); ++row)
        names << f.cdsDadosAval.asStringAt(row, "NMTIPODADO");
    QCollator collator(QLocale(QLocale::Portuguese, QLocale::Brazil));
    for (int i = 1; i < names.size(); ++i)
        EXPECT_LE(collator.compare(names[i - 1], names[i]), 0)
            << names[i - 1].toStdString() << " / " << names[i].toStdString();
    for (const char* type : {"01", "02", "35", "36", "40", "43", "44", "50", "53"})
        EXPECT_NE(gridValue(QString::fromLatin1(type)), "<sem linha>") << type;
}

TEST_F(ResultPageTest, ActionsFollowTheDataRowAndItsEditState)
{
    // a boy of 12: maturation offered
    AssessmentForm& f = openWithMethods("920000000010", {"00", "28"}, "0", QDate(2014, 1, 1));
    ASSERT_TRUE(f.cdsDadosAval.locate("CDTIPODADO", "01"));
    EXPECT_TRUE(f.actions().sbtEstimado);
    EXPECT_FALSE(f.actions().sbtMaturSex);
    EXPECT_FALSE(f.actions().sbtAmputado);
    f.resultPage().setDataCell("DSINFOAVAL", "40");
    EXPECT_FALSE(f.actions().sbtEstimado);
    EXPECT_FALSE(f.actions().sbtCalcular);
    f.sbtConfirmarClick();  // posts, then refreshes
    EXPECT_TRUE(f.actions().sbtEstimado);
    EXPECT_TRUE(f.actions().sbtCalcular);
    EXPECT_EQ(f.cdsDadosAval.asString("CDTIPODADO"), "01");  // position kept
    EXPECT_EQ(gridValue("01"), "40");
    ASSERT_TRUE(f.cdsDadosAval.locate("CDTIPODADO", "37"));
    EXPECT_TRUE(f.actions().sbtMaturSex);
    EXPECT_FALSE(f.actions().sbtEstimado);
    EXPECT_FALSE(f.resultPage().dataCellEditable(f.cdsDadosAval.recNo(), "DSINFOAVAL"));
    expectRefused(
        [&] { f.resultPage().recordValue("37", "2"); },
        "'Maturação Sexual - Estágio observado' é informado pelo diálogo de maturação sexual.");
    f.sbtCancelarClick();

    // the method and energy pages: the window's menus test
    f.showPage(OuterPage::tshDiagNutri);
    EXPECT_FALSE(f.actions().sbtCalcular);
    EXPECT_FALSE(f.actions().sbtAutomatico);
}

TEST_F(ResultPageTest, TypedWeightIsStoredWithTheCommaForEveryMethodThatNeedsIt)
{
    AssessmentForm& f = openWithMethods("920000000002");
    busy = {};
    ASSERT_TRUE(f.resultPage().recordValue("01", "1.5"));
    EXPECT_EQ(gridValue("01"), "1,5");
    const auto weights = recorded("01");
    EXPECT_EQ(weights.keys(), QStringList({"00", "26", "58", "59", "68"}));
    for (const auto& r : weights)
        EXPECT_EQ(r.value, "1,5");
    EXPECT_TRUE(busy.texts().contains("Atualizando informações no servidor..."));
    EXPECT_FALSE(busy.visible());

    // a new value replaces every one of them, and clearing empties them
    ASSERT_TRUE(f.resultPage().recordValue("01", "72,25"));
    for (const auto& r : recorded("01"))
        EXPECT_EQ(r.value, "72,25");
    ASSERT_TRUE(f.resultPage().recordValue("01", QString()));
    for (const auto& r : recorded("01"))
        EXPECT_EQ(r.value, "");
    EXPECT_FALSE(f.cdsDadosAval.isEditing());
    EXPECT_EQ(f.cdsDadosAval.changeCount(), 0);
}

TEST_F(ResultPageTest, BadInputIsRefusedLeavingTheRowInEditAndNothingWritten)
{
    AssessmentForm& f = openWithMethods("920000000003");
    ASSERT_TRUE(f.resultPage().recordValue("01", "70"));

    expectRefused([&] { f.resultPage().recordValue("01", "7a"); }, kNotANumber.arg("7a"));
    EXPECT_TRUE(f.cdsDadosAval.isEditing());
    EXPECT_FALSE(f.actions().sbtCalcular);
    // pasted into the cell: refused when the column is left and when posted
    f.resultPage().setDataCell("DSINFOAVAL", "1.5.3");
    expectRefused([&] { f.resultPage().dbgDadosAvalColExit("DSINFOAVAL"); },
                  kNotANumber.arg("1.5.3"));
    expectRefused([&] { f.resultPage().postDataRow(); }, kNotANumber.arg("1.5.3"));
    EXPECT_TRUE(f.cdsDadosAval.isEditing());
    // leaving the row is refused as well
    expectRefused([&] { f.resultPage().moveDataRow(f.cdsDadosAval.recNo() == 0 ? 1 : 0); },
                  kNotANumber.arg("1.5.3"));
    // the gestational week takes no separator
    expectRefused(
        [&] {
            f.resultPage().recordValue("01", "71");
            f.resultPage().recordValue("53", "20,5");
        },
        kNotANumber.arg("20,5"));
    // edema and limbs are answered from their lists
    expectRefused([&] { f.resultPage().recordValue("40", "1"); },
                  "'Edema - Tornozelo' não é digitado: escolha a resposta na lista.");
    EXPECT_TRUE(f.cdsDadosAval.isEditing());
    f.sbtCancelarClick();
    EXPECT_FALSE(f.cdsDadosAval.isEditing());
    EXPECT_TRUE(f.actions().sbtCalcular);

    for (const auto& r : recorded("01"))
        EXPECT_EQ(r.value, "71");
    // leaving a refused row posts what it held before, never the refused text
    for (const auto& r : recorded("53"))
        EXPECT_EQ(r.value, "");
    for (const auto& r : recorded("40"))
        EXPECT_EQ(r.value, "0");
    EXPECT_EQ(gridValue("01"), "71");
}

TEST_F(ResultPageTest, CodedAnswersAreStoredAsCodesAndShownAsTexts)
{
    AssessmentForm& f = openWithMethods("920000000005");
    ASSERT_TRUE(f.cdsDadosAval.locate("CDTIPODADO", "36"));
    EXPECT_EQ(
        pickIn([&] { f.resultPage().dbgDadosAvalEditButtonClick(); }, "NMFATOR", "Três Meses"),
        "Tempo");
    EXPECT_EQ(gridValue("36"), "3");
    EXPECT_EQ(gridValue("36", "DSINFOAVAL", true), "Três Meses");
    EXPECT_EQ(recorded("36").value("26").value, "3");

    // a cancelled pick list changes nothing
    {
        hostfw::PickScript script;
        f.resultPage().dbgDadosAvalEditButtonClick();
    }
    EXPECT_EQ(gridValue("36"), "3");
    EXPECT_FALSE(f.cdsDadosAval.isEditing());

    // edema: answered from its list only (typed, and picked with F4: the window's
    // DataGridKeyFilterAndAnswerLists); entering the page made the empty answers "0"
    ASSERT_TRUE(f.cdsDadosAval.locate(kType, "41"));
    EXPECT_FALSE(f.resultPage().dataCellEditable(f.cdsDadosAval.recNo(), "DSINFOAVAL"));
    EXPECT_TRUE(f.resultPage().answerButtonVisible(f.cdsDadosAval.recNo()));
    EXPECT_EQ(gridValue("42", "DSINFOAVAL", true), "Não");
    EXPECT_EQ(recorded("42").value("58").value, "0");

    // an unknown code is refused; a stored code outside the table shows nothing
    expectRefused([&] { f.resultPage().recordAnswer("36", "7"); },
                  "'7' não é uma resposta da lista 'Tempo'.");
    f.sbtCancelarClick();
    EXPECT_EQ(gridValue("36", "DSINFOAVAL", true), "Três Meses");
}

TEST_F(ResultPageTest, AThirdLimbIsRefused)
{
    AssessmentForm& f = openWithMethods("920000000006");
    ASSERT_TRUE(f.resultPage().recordAnswer("44", "1"));
    EXPECT_EQ(gridValue("44", "DSUNIDDADO"), "1");
    EXPECT_EQ(gridValue("44", "DSOBSERAVAL", true), "");
    EXPECT_EQ(inMaoMembro, 1);
    ASSERT_TRUE(f.resultPage().recordLimbCount("44", "2"));
    EXPECT_EQ(inMaoMembro, 2);
    EXPECT_EQ(recorded("44").value("59"), (Recorded{"1", "2"}));

    // a further upper-limb part: refused by the list button before the list opens
    ASSERT_TRUE(f.cdsDadosAval.locate("CDTIPODADO", "45"));
    {
        hostfw::PickScript script({hostfw::PickAnswer::where("NMFATOR", "Sim")});
        expectRefused([&] { f.resultPage().dbgDadosAvalEditButtonClick(); },
                      "Dois membros superiores já estão selecionados");
        EXPECT_TRUE(script.requests().isEmpty());
    }
    expectRefused([&] { f.resultPage().recordAnswer("46", "1"); },
                  "Dois membros superiores já estão selecionados");
    EXPECT_TRUE(recorded("46").isEmpty() || recorded("46").value("59").value != "1");
    // lower limbs count apart
    ASSERT_TRUE(f.resultPage().recordAnswer("47", "1"));
    EXPECT_EQ(inPeMembro, 1);

    // one hand each side, then a second limb on either is refused when typed
    ASSERT_TRUE(f.resultPage().recordLimbCount("44", "1"));
    ASSERT_TRUE(f.resultPage().recordAnswer("45", "1"));
    EXPECT_EQ(inMaoMembro, 2);
    expectRefused([&] { f.resultPage().recordLimbCount("45", "2"); },
                  "Dois membros superiores já estão selecionados");
    EXPECT_TRUE(f.cdsDadosAval.isEditing());
    f.sbtCancelarClick();
    EXPECT_EQ(recorded("45").value("59"), (Recorded{"1", "1"}));
    // unmarking gives the limb back
    ASSERT_TRUE(f.resultPage().recordAnswer("45", "0"));
    EXPECT_EQ(inMaoMembro, 1);
    EXPECT_EQ(recorded("45").value("59"), (Recorded{"0", ""}));
    expectRefused([&] { f.resultPage().recordLimbCount("45", "1"); },
                  "O número de membros só é informado numa amputação marcada.");

    // the counters follow the grid when the page is entered again
    inMaoMembro = 0;
    f.sbtCancelarClick();
    enterMethods();
    enterResults();
    EXPECT_EQ(inMaoMembro, 1);
    EXPECT_EQ(inPeMembro, 1);
    EXPECT_EQ(gridValue("44", "DSUNIDDADO"), "1");
}

TEST_F(ResultPageTest, EnteringThePageBringsSeparatorsToTheCommaAndRewritesNothingElse)
{
    AssessmentForm& f = open("920000000007");
    for (const char* code : {"00", "01", "58"})
        ASSERT_TRUE(f.methodPage().selectMethod(QString::fromLatin1(code))) << code;
    storeRecorded("00", "02", "1,65");
    // only the first point becomes the comma; the rest is the user's to correct
    storeRecorded("00", "01", "7.0.5", "Peso Estimado Chumlea (1988)");
    enterResults();
    EXPECT_EQ(gridValue("02"), "1,65");
    EXPECT_EQ(gridValue("01"), "7,0.5");
    // spread to every method, the estimate's observation kept
    for (const char* method : {"00", "01", "58"})
        EXPECT_EQ(recorded(QStringLiteral("01")).value(QString::fromLatin1(method)),
                  (Recorded{"7,0.5", "Peso Estimado Chumlea (1988)"}))
            << method;
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join(u'\n').toStdString();
    EXPECT_FALSE(f.cdsDadosAval.isEditing());
    EXPECT_FALSE(busy.visible());

    // a typed value drops the observation; the estimate dialog's value keeps it
    ASSERT_TRUE(f.resultPage().recordValue("01", "71"));
    EXPECT_EQ(recorded("01").value("01"), (Recorded{"71", ""}));
    f.resultPage().estimateFlag = true;
    ASSERT_TRUE(f.cdsDadosAval.locate(kType, "01"));
    f.cdsDadosAval.edit();
    f.cdsDadosAval.setValue("DSINFOAVAL", "68,40");
    f.cdsDadosAval.setValue("DSOBSERAVAL", "Peso Estimado Chumlea (1988)");
    f.resultPage().postDataRow();
    f.resultPage().estimateFlag = false;
    EXPECT_EQ(recorded("01").value("00"), (Recorded{"68,40", "Peso Estimado Chumlea (1988)"}));

    // every value normal now: entering again writes nothing and keeps the row
    ASSERT_TRUE(f.cdsDadosAval.locate(kType, "02"));
    enterMethods();
    server.clearTraffic();
    enterResults();
    EXPECT_EQ(writes(server), QStringList());
    EXPECT_EQ(f.cdsDadosAval.asString(kType), "02");
    EXPECT_EQ(gridValue("42"), "0");
}

TEST_F(ResultPageTest, ServerErrorWhileSpreadingKeepsTheRowPostedAndUndoesTheRecordedValues)
{
    AssessmentForm& f = openWithMethods("920000000008");
    ASSERT_TRUE(f.resultPage().recordValue("01", "70"));
    busy = {};

    server.failNext("SetInfoAval");
    try {
        f.resultPage().recordValue("01", "80");
        FAIL() << "the failed write went unnoticed";
    } catch (const records::Error& e) {
        EXPECT_TRUE(e.message().contains("falha simulada")) << e.message().toStdString();
    }
    EXPECT_FALSE(f.cdsDadosAval.isEditing());
    EXPECT_EQ(gridValue("01"), "80");
    EXPECT_EQ(f.cdsInfoAval.changeCount(), 0);
    for (int row = 0; row < f.cdsInfoAval.recordCount(); ++row)
        EXPECT_EQ(f.cdsInfoAval.asStringAt(row, "DSINFOAVAL"), "70");
    for (const auto& r : recorded("01"))
        EXPECT_EQ(r.value, "70");
    EXPECT_FALSE(busy.visible());
    EXPECT_GE(busy.showCount(), 1);

    // posting again once the server answers stores it everywhere
    f.cdsDadosAval.edit();
    f.resultPage().postDataRow();
    for (const auto& r : recorded("01"))
        EXPECT_EQ(r.value, "80");
}

TEST_F(ResultPageTest, AtualizaDadosInfSendsThePagesFilterAndFillsNewMethods)
{
    AssessmentForm& f = openWithMethods("920000000009", {"00"});
    ASSERT_TRUE(f.resultPage().recordValue("01", "64,3"));
    enterMethods();
    ASSERT_TRUE(f.methodPage().selectMethod("01"));
    enterResults();
    EXPECT_FALSE(recorded("01").contains("01"));

    server.clearTraffic();
    f.resultPage().Atualiza_DadosInf();
    const QList<QJsonArray> calls = server.argumentsOf("GetAtualizaDados");
    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0].last().toString(), ResultPage::anthropometricFilter());
    EXPECT_EQ(recorded("01").value("01").value, "64,3");

    f.showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshResulEnerg);
    server.clearTraffic();
    f.resultPage().Atualiza_DadosInf();
    const QList<QJsonArray> energy = server.argumentsOf("GetAtualizaDados");
    ASSERT_EQ(energy.size(), 1);
    EXPECT_EQ(energy[0].last().toString(), ResultPage::energyFilter());
}

TEST_F(ResultPageTest, TheRefreshReadsWhatThePageShows)
{
    AssessmentForm& f = open("960000000003", "0", QDate(1980, 1, 1));
    const auto refresh = [&] {
        server.clearTraffic();
        f.sbtVerificarClick();
        return server.calledMethods();
    };
    // method page: what another client selected shows, the filter still applies
    storeMethod("04", "S", QString());
    EXPECT_EQ(refresh(), QStringList{"GetDados"});
    ASSERT_TRUE(f.cdsMetoAval.locate("CDTBMETOAVAL", "04"));
    EXPECT_EQ(f.cdsMetoAval.asString("IDTABELAAV"), "S");
    EXPECT_FALSE(f.cdsMetoAval.locate("CDTBMETOAVAL", "68"));  // a man: filtered out

    // result page: the grid again, on the same row, a limb count taken from its observation
    enterResults();
    ASSERT_TRUE(f.cdsDadosAval.locate(kType, "08"));
    const int row = f.cdsDadosAval.recNo();
    EXPECT_EQ(refresh(), QStringList({"GetDados", "GetDadoAval"}));
    EXPECT_EQ(f.cdsDadosAval.recNo(), row);

    f.showPage(OuterPage::tshDiagNutri);
    EXPECT_EQ(refresh(), QStringList{"GetDiag"});
    f.showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshResulEnerg);
    // the energy data rows are opened again: factor groups and panel follow
    EXPECT_EQ(refresh().mid(0, 3), QStringList({"GetDados", "GetDadoAvalEnerg", "GetRefFatGrup"}));
    f.showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshNutrRecom);
    EXPECT_EQ(refresh(), QStringList{"GetDados"});
}

TEST_F(ResultPageTest, TheRefreshTakesTheLimbCountFromTheObservation)
{
    AssessmentForm& f = openWithMethods("960000000004", {"59"});
    ASSERT_TRUE(f.resultPage().recordAnswer("47", "1"));
    ASSERT_TRUE(f.resultPage().recordLimbCount("47", "2"));
    EXPECT_EQ(inPeMembro, 2);
    // another client leaves one leg
    records::DataSet info(records::layouts::cdsInfoAval());
    info.loadPacket(
        records::decodePacket(records::checkReply(server.client().GetInfoAval(f.key(), "47"))));
    ASSERT_TRUE(info.locate("CDTBMETOAVAL", "59"));
    info.edit();
    info.setValue("DSOBSERAVAL", "1");
    info.post();
    records::writeThrough(info, server.client(), "SetInfoAval");
    f.sbtVerificarClick();
    EXPECT_EQ(gridValue("47", "DSUNIDDADO"), "1");
    EXPECT_EQ(gridValue("47", "DSOBSERAVAL", true), "");
    EXPECT_EQ(inPeMembro, 1);
}
