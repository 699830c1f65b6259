// The result page's finer rules and the refresh against a real server: when Calculate
// is offered, what entering the page rewrites (and what it leaves alone), and what the
// refresh reads on each page.

#include "consultation_fixture.h"

#include "records/layouts.h"
#include "records/packet_codec.h"
#include "records/write_through.h"
#include "workspace/module_context.h"

using namespace workspace;
using workspacetest::ConsultationTest;

namespace {

const QString kType = QStringLiteral("CDTIPODADO");

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

class ResultRules : public ConsultationTest
{
};

TEST_F(ResultRules, CalculateIsOfferedOnlyOnAResultPageWithData)
{
    AssessmentForm& f = open(QStringLiteral("960000000001"));
    EXPECT_FALSE(f.actions().sbtCalcular);
    EXPECT_TRUE(f.actions().sbtAutomatico);
    QStringList focus;
    QObject::connect(&f, &AssessmentForm::focusRequested, [&](const QString& c) { focus << c; });
    enterResults();  // no method selected: nothing to type
    EXPECT_TRUE(f.cdsDadosAval.isEmpty());
    EXPECT_FALSE(f.actions().sbtCalcular);
    EXPECT_FALSE(f.actions().sbtAutomatico);
    EXPECT_FALSE(f.actions().sbtEstimado);
    ASSERT_FALSE(focus.isEmpty());
    EXPECT_EQ(focus.last(), "dbgDadosAval");

    enterMethods();
    ASSERT_TRUE(f.methodPage().selectMethod(QStringLiteral("00")));
    EXPECT_FALSE(f.actions().sbtCalcular);
    enterResults();
    EXPECT_TRUE(f.actions().sbtCalcular);
    f.showPage(OuterPage::tshDiagNutri);
    EXPECT_FALSE(f.actions().sbtCalcular);
    EXPECT_FALSE(f.actions().sbtAutomatico);
    // the assessment tab opens on its method page
    f.showPage(OuterPage::tshAvalNutr);
    EXPECT_EQ(f.pgcAvalNutr, InnerPage::tshMetoAval);
    EXPECT_TRUE(f.actions().sbtAutomatico);
}

TEST_F(ResultRules, EnteringThePageRewritesOnlyWhatItChangesAndKeepsTheRow)
{
    AssessmentForm& f = open(QStringLiteral("960000000002"));
    ASSERT_TRUE(f.methodPage().selectMethod(QStringLiteral("00")));
    ASSERT_TRUE(f.methodPage().selectMethod(QStringLiteral("58")));
    storeRecorded(QStringLiteral("00"), QStringLiteral("02"), QStringLiteral("1,65"));
    // only the first point becomes the comma; the rest is the user's to correct
    storeRecorded(QStringLiteral("00"), QStringLiteral("01"), QStringLiteral("7.0.5"));
    enterResults();
    EXPECT_EQ(gridValue(QStringLiteral("02")), "1,65");
    EXPECT_EQ(gridValue(QStringLiteral("01")), "7,0.5");
    EXPECT_EQ(recorded(QStringLiteral("01")).value(QStringLiteral("58")).value, "7,0.5");
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join(u'\n').toStdString();
    EXPECT_FALSE(f.cdsDadosAval.isEditing());

    // every value normal now: entering again writes nothing and keeps the row
    ASSERT_TRUE(f.resultPage().recordValue(QStringLiteral("01"), QStringLiteral("70")));
    ASSERT_TRUE(f.cdsDadosAval.locate(kType, QStringLiteral("02")));
    enterMethods();
    server.clearTraffic();
    enterResults();
    EXPECT_EQ(writes(server), QStringList());
    EXPECT_EQ(f.cdsDadosAval.asString(kType), "02");
    EXPECT_EQ(gridValue(QStringLiteral("42")), "0");
}

TEST_F(ResultRules, TheRefreshReadsWhatThePageShows)
{
    AssessmentForm& f =
        open(QStringLiteral("960000000003"), QStringLiteral("0"), QDate(1980, 1, 1));
    // method page: what another client selected shows, the filter still applies
    storeMethod(QStringLiteral("04"), QStringLiteral("S"), QString());
    server.clearTraffic();
    f.sbtVerificarClick();
    EXPECT_EQ(server.calledMethods(), QStringList{"GetDados"});
    ASSERT_TRUE(f.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("04")));
    EXPECT_EQ(f.cdsMetoAval.asString(QStringLiteral("IDTABELAAV")), "S");
    for (const char* gone : {"28", "29", "65", "66", "68"})
        EXPECT_FALSE(
            f.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QString::fromLatin1(gone)))
            << gone;

    // result page: the grid again, on the same row, a limb count taken from its observation
    enterResults();
    ASSERT_TRUE(f.cdsDadosAval.locate(kType, QStringLiteral("08")));
    const int row = f.cdsDadosAval.recNo();
    server.clearTraffic();
    f.sbtVerificarClick();
    EXPECT_EQ(server.calledMethods(), QStringList({"GetDados", "GetDadoAval"}));
    EXPECT_EQ(f.cdsDadosAval.recNo(), row);

    // diagnosis page
    f.showPage(OuterPage::tshDiagNutri);
    server.clearTraffic();
    f.sbtVerificarClick();
    EXPECT_EQ(server.calledMethods(), QStringList{"GetDiag"});

    // the energy pages
    f.showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshResulEnerg);
    server.clearTraffic();
    f.sbtVerificarClick();
    EXPECT_EQ(server.calledMethods(), QStringList({"GetDados", "GetDadoAvalEnerg"}));
    f.showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshNutrRecom);
    server.clearTraffic();
    f.sbtVerificarClick();
    EXPECT_EQ(server.calledMethods(), QStringList{"GetDados"});
}

TEST_F(ResultRules, TheRefreshTakesTheLimbCountFromTheObservation)
{
    AssessmentForm& f = open(QStringLiteral("960000000004"));
    ASSERT_TRUE(f.methodPage().selectMethod(QStringLiteral("59")));
    enterResults();
    ASSERT_TRUE(f.resultPage().recordAnswer(QStringLiteral("47"), QStringLiteral("1")));
    ASSERT_TRUE(f.resultPage().recordLimbCount(QStringLiteral("47"), QStringLiteral("2")));
    EXPECT_EQ(inPeMembro, 2);
    // another client leaves one leg
    records::DataSet info(records::layouts::cdsInfoAval());
    info.loadPacket(records::decodePacket(
        records::checkReply(server.client().GetInfoAval(f.key(), QStringLiteral("47")))));
    ASSERT_TRUE(info.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("59")));
    info.edit();
    info.setValue(QStringLiteral("DSOBSERAVAL"), QStringLiteral("1"));
    info.post();
    records::writeThrough(info, server.client(), QStringLiteral("SetInfoAval"));
    f.sbtVerificarClick();
    EXPECT_EQ(gridValue(QStringLiteral("47"), QStringLiteral("DSUNIDDADO")), "1");
    EXPECT_EQ(gridValue(QStringLiteral("47"), QStringLiteral("DSOBSERAVAL"), true), "");
    EXPECT_EQ(inPeMembro, 1);
}
