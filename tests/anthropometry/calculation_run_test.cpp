// The calculation run against a real application server on loopback with its SQLite
// file, driven as the user drives the form: methods chosen and values typed through the
// form core, then Calculate. What is refreshed, deleted, run, written and reloaded on
// each page, the order of the server calls, the error paths, and the body mass index
// methods that read the server's reference tables.

#include "consultation_fixture.h"

#include "anthropometry/assessment_pass.h"
#include "records/error.h"
#include "records/packet_codec.h"
#include "records/write_through.h"
#include "workspace/module_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using namespace workspace;

namespace {

struct StoredLine
{
    QString method;
    QString number;
    QString label;
    QString value;
    bool operator==(const StoredLine&) const = default;
};

void PrintTo(const StoredLine& l, std::ostream* os)
{
    *os << l.method.toStdString() << "/" << l.number.toStdString() << " {" << l.label.toStdString()
        << " | " << l.value.toStdString() << "}";
}

QList<StoredLine> linesOf(const records::Packet& p)
{
    QList<StoredLine> out;
    for (int row = 0; row < p.rows.size(); ++row)
        out.append({p.value(row, "CDTBMETOAVAL").toString(), p.value(row, "CDSEQUAVAL").toString(),
                    p.value(row, "DSCONTRESU").toString(), p.value(row, "DSRESUAVAL").toString()});
    return out;
}

// The consultation fixture with the anthropometric pass installed as the module installs
// it, on the server's own reference lists.
class CalculateAction : public workspacetest::ConsultationTest
{
protected:
    void addTestReferences() override {}

    // Registers the patient and opens the consultation on a new form core.
    void open(const QString& patient, const QString& sexCode, const QDate& birth,
              bool deceased = false)
    {
        ConsultationTest::open(patient, sexCode, birth, deceased);
        assessment.install(run);
        form->setCalculationRun(&run);
        ASSERT_TRUE(form->loaded());
    }

    // A woman of 30 with "00" and "68" chosen; weight 62 kg, height 1,58 m, week 20.
    void pregnantPatientWithTwoMethods()
    {
        open("900000000200", "1", QDate(1996, 6, 1));
        ASSERT_TRUE(form->methodPage().selectMethod("00"));
        ASSERT_TRUE(form->methodPage().selectMethod("68"));
        enterResults();
        ASSERT_TRUE(form->resultPage().recordValue("01", "62"));
        ASSERT_TRUE(form->resultPage().recordValue("02", "1.58"));
        ASSERT_TRUE(form->resultPage().recordValue("53", "20"));
    }

    QList<StoredLine> stored()
    {
        return linesOf(records::decodePacket(records::checkReply(
            server.client().GetResuAval({stCdFilial, stCdPaciente, dtConsulta}))));
    }
    QList<StoredLine> shown() const { return linesOf(form->cdsResuAval.toPacket()); }

    // The calls since the last clearTraffic, without those of the refresh of the
    // recorded values (which spreads every value again).
    QStringList callsWithoutRefresh() const
    {
        QStringList calls = server.calledMethods();
        calls.removeIf([](const QString& m) {
            return m == "GetInfoAval" || m == "GetPesqDadoAval" || m == "SetInfoAval";
        });
        return calls;
    }

    // 62 / 1,58² = 62 / 2,4964 = 24,835763 ("00": adequate; "68", week 20: 21,6 to
    // 26,3 is adequate); theoretical weights 2,4964 x 18,5 = 46,1834, x 21,7 =
    // 54,17188, x 24,9 = 62,16036.
    const QList<StoredLine> kExpected = {
        {"00", "01", "IMC Resultado", "24,836"},
        {"00", "02", "IMC Classificação", "Adequado ou Eutrófico"},
        {"00", "05", "IMC Peso teórico mínimo", "46,18 Kg"},
        {"00", "06", "IMC Peso teórico médio", "54,17 Kg"},
        {"00", "07", "IMC Peso teórico máximo", "62,16 Kg"},
        {"68", "01", "Adequado", "24,836"},
    };

    anthropometry::AssessmentPass assessment;
    CalculationRun run;
};

}  // namespace

// ------------------------------------------------------------------ the run itself

TEST_F(CalculateAction, RunsEverySelectedMethodAndShowsWhatTheServerStored)
{
    pregnantPatientWithTwoMethods();
    form->cdsMetoAval.last();
    server.clearTraffic();
    form->sbtCalcularClick();

    EXPECT_EQ(stored(), kExpected);
    EXPECT_EQ(shown(), kExpected);
    const QStringList expectedCalls = {
        "GetResuAval", "GetAtualizaDados", "DelResuAval", "GetResuAval",                 // cleared
        "SetResuAval", "SetResuAval",      "SetResuAval", "SetResuAval", "SetResuAval",  // "00"
        "SetResuAval",                                                                   // "68"
        "GetResuAval",                                                                   // reloaded
        "GetDados",    "GetDadoAval",  // the page check
    };
    EXPECT_EQ(callsWithoutRefresh(), expectedCalls);
    // the refresh spread the values before the lines were deleted
    const QStringList calls = server.calledMethods();
    EXPECT_LT(calls.indexOf("GetAtualizaDados"), calls.indexOf("GetInfoAval"));
    EXPECT_LT(calls.lastIndexOf("GetPesqDadoAval"), calls.indexOf("DelResuAval"));

    EXPECT_EQ(form->cdsMetoAval.recNo(), 0);  // back on the first method
    EXPECT_FALSE(form->cdsDadosAval.controlsDisabled());
    EXPECT_FALSE(form->cdsResuAval.controlsDisabled());
    EXPECT_GE(busy.showCount(), 1);
    EXPECT_FALSE(busy.visible());
}

TEST_F(CalculateAction, NewValuesReplaceTheLinesAndNoSelectionDeletesEveryLine)
{
    pregnantPatientWithTwoMethods();
    form->sbtCalcularClick();
    ASSERT_EQ(stored().size(), 6);

    // 80 / 2,4964 = 32,046146: obese for adults; week 20 obese from 31,1
    ASSERT_TRUE(form->resultPage().recordValue("01", "80"));
    form->sbtCalcularClick();
    const QList<StoredLine> lines = stored();
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], (StoredLine{"00", "01", "IMC Resultado", "32,046"}));
    EXPECT_EQ(lines[1], (StoredLine{"00", "02", "IMC Classificação", "Obesidade"}));
    EXPECT_EQ(lines[5], (StoredLine{"68", "01", "Obesidade", "32,046"}));

    enterMethods();
    ASSERT_TRUE(form->methodPage().unselectMethod("68"));
    ASSERT_TRUE(form->methodPage().unselectMethod("00"));
    enterResults();
    form->sbtCalcularClick();
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_TRUE(form->cdsResuAval.isEmpty());
    EXPECT_FALSE(busy.visible());
}

TEST_F(CalculateAction, OtherPagesCalculateNothingAndOnlyRunThePageCheck)
{
    pregnantPatientWithTwoMethods();
    form->sbtCalcularClick();
    int preparations = 0;
    run.setPreparation([&](AssessmentForm&) { ++preparations; });

    enterMethods();
    server.clearTraffic();
    form->sbtCalcularClick();
    EXPECT_EQ(server.calledMethods(), QStringList{"GetDados"});
    EXPECT_EQ(preparations, 1);  // the preparation runs on every page
    EXPECT_EQ(stored(), kExpected);

    form->showPage(OuterPage::tshDiagNutri);
    server.clearTraffic();
    form->sbtCalcularClick();
    EXPECT_EQ(server.calledMethods(), QStringList{"GetDiag"});
    EXPECT_EQ(stored(), kExpected);
    EXPECT_FALSE(busy.visible());
}

TEST_F(CalculateAction, EnergyPagesRunTheirInstalledPasses)
{
    open("900000000201", "0", QDate(1980, 1, 1));
    QStringList passes;
    run.setPass(CalculationRun::Page::Energy, [&](AssessmentForm& f) {
        EXPECT_TRUE(busy.visible());
        EXPECT_EQ(&f, form.get());
        passes << "energy";
    });
    run.setPass(CalculationRun::Page::Recommendation,
                [&](AssessmentForm&) { passes << "recommendation"; });
    server.clearTraffic();
    for (EnergPage page :
         {EnergPage::tshMetodoEnerg, EnergPage::tshResulEnerg, EnergPage::tshNutrRecom}) {
        form->showPage(OuterPage::tshPadrao, std::nullopt, page);
        form->sbtCalcularClick();
    }
    EXPECT_EQ(passes, (QStringList{"energy", "recommendation"}));
    EXPECT_FALSE(server.calledMethods().contains("DelResuAval"));
    EXPECT_FALSE(busy.visible());
}

TEST_F(CalculateAction, FailedWriteEndsTheRunAndKeepsTheLinesWrittenBefore)
{
    pregnantPatientWithTwoMethods();
    server.clearTraffic();
    server.failNext("SetResuAval", 1, 2);  // the third line fails
    try {
        form->sbtCalcularClick();
        FAIL() << "the failed write went unnoticed";
    } catch (const records::Error& e) {
        EXPECT_EQ(e.message(), "SetResuAval: falha simulada do servidor.");
    }
    EXPECT_EQ(stored(), kExpected.mid(0, 2));
    EXPECT_FALSE(busy.visible());
    EXPECT_FALSE(form->cdsDadosAval.controlsDisabled());
    EXPECT_FALSE(form->cdsResuAval.controlsDisabled());
    EXPECT_FALSE(server.calledMethods().contains("GetDados"));  // no page check

    // the next run, with the server writing again, rewrites everything
    form->sbtCalcularClick();
    EXPECT_EQ(stored(), kExpected);
}

TEST_F(CalculateAction, FailedDeletionEndsTheRunBeforeAnyLine)
{
    pregnantPatientWithTwoMethods();
    form->sbtCalcularClick();
    server.clearTraffic();
    server.failNext("DelResuAval");
    EXPECT_THROW(form->sbtCalcularClick(), records::Error);
    EXPECT_FALSE(server.calledMethods().contains("SetResuAval"));
    EXPECT_EQ(stored(), kExpected);  // nothing was deleted
    EXPECT_FALSE(busy.visible());
    EXPECT_FALSE(form->cdsResuAval.controlsDisabled());
}

TEST_F(CalculateAction, DeceasedPatientCalculatesNothing)
{
    open("900000000202", "0", QDate(1940, 1, 1), true);
    ASSERT_TRUE(form->deceased());
    enterResults();
    server.clearTraffic();
    form->sbtCalcularClick();
    EXPECT_TRUE(server.calledMethods().isEmpty());
}

// ------------------------------------------- methods on the server's reference tables

// The body mass index methods on the server's own reference tables, typed as the user
// types them: (patient, method and reference, height, weight) and the lines stored. The
// percentile rows sit next to the table's own limits; the classification far from them,
// and an undetermined sex that asks the server nothing, are bmi_family_test's.
//   "48", a boy of exactly 14 (168 months) on OMS 2007 ("02"): P3 15,639, P5 15,976,
//   P15 16,941, P50 19,005, P85 21,891, P95 24,221, P97 25,315; 1,60 m is 2,56 m².
//   "48", a boy of exactly 10 (120 months) on CDC 2000 ("03"): P3 13,96673, P5
//   14,21866, P10 14,64260, P75 18,24521, P85 19,39041, P97 23,72696; 1,40 m is 1,96 m².
//   "01" on Must 1991 ("01"), 30 to 34,9 years: men P15 21,51, P50 24,90, P85 28,75;
//   women P15 19,54, P50 22,69, P85 28,87. The theoretical weights are those BMIs times
//   the squared height (3,24 m² at 1,80 m; 2,56 m² at 1,60 m). A woman of 66 is beyond
//   the women's rows: the weights are 0 and the BMI stands.
TEST_F(CalculateAction, BodyMassIndexOnTheServersReferenceTables)
{
    struct Patient
    {
        const char* code;
        const char* sex;
        QDate birth;
        const char* method;
        const char* reference;
        const char* height;
    };
    const Patient boy14{"900000000210", "0", QDate(2012, 12, 6), "48", "02", "1,60"};
    const Patient boy10{"900000000215", "0", QDate(2016, 12, 6), "48", "03", "1,40"};
    const Patient man32{"900000000212", "0", QDate(1994, 6, 1), "01", "01", "1,80"};
    const Patient woman32{"900000000213", "1", QDate(1994, 6, 1), "01", "01", "1,60"};
    const Patient woman66{"900000000214", "1", QDate(1960, 1, 1), "01", "01", "1,60"};
    const auto weights = [](const char* bmi, const char* cls, const char* min, const char* mid,
                            const char* max) {
        return QList<StoredLine>{{"01", "01", "IMC Resultado", bmi},
                                 {"01", "02", "IMC Classificação", cls},
                                 {"01", "05", "IMC Peso teórico mínimo", min},
                                 {"01", "06", "IMC Peso teórico médio", mid},
                                 {"01", "07", "IMC Peso teórico máximo", max}};
    };
    const auto percentile = [](const char* label, const char* value) {
        return QList<StoredLine>{{"48", "01", label, value}};
    };
    struct Case
    {
        const Patient* patient;
        const char* weight;
        QList<StoredLine> lines;
    };
    // clang-format off
    const Case cases[] = {
        {&boy14, "40,5", percentile("Percentil < 5", "Baixo Peso")},                         // 15,82: P3 to P5
        {&boy14, "40,96", percentile("Percentil 5", "Adequado ou Eutrófico")},               // 16,0: P5 to P15
        {&boy14, "51,2", percentile("Percentil Entre  5 - 85", "Adequado ou Eutrófico")},    // 20,0
        {&boy14, "58,88", percentile("Percentil > 85", "Sobrepeso")},                        // 23,0: P85 to P95
        {&boy10, "27,5", percentile("Percentil < 5", "Baixo Peso")},                         // 14,031
        {&boy10, "27,9", percentile("Percentil 5", "Adequado ou Eutrófico")},                // 14,235
        {&boy10, "38", percentile("Percentil Entre  5 - 85", "Adequado ou Eutrófico")},      // 19,388
        {&boy10, "38,01", percentile("Percentil > 85", "Sobrepeso")},                        // 19,393
        {&man32, "80", weights("24,691", "Adequado ou Eutrófico", "69,69 Kg", "80,68 Kg", "93,15 Kg")},
        {&woman32, "64", weights("25,000", "Sobrepeso", "50,02 Kg", "58,09 Kg", "73,91 Kg")},
        {&woman66, "64", weights("25,000", "Sobrepeso", "0,00 Kg", "0,00 Kg", "0,00 Kg")},
    };
    // clang-format on
    const Patient* opened = nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(c.patient->code, c.weight).toStdString());
        if (opened != c.patient) {
            if (form)
                form->FormClose();
            const Patient& p = *c.patient;
            open(p.code, p.sex, p.birth);
            ASSERT_TRUE(form->methodPage().selectMethod(p.method, QString(p.reference)));
            enterResults();
            ASSERT_TRUE(form->resultPage().recordValue("02", p.height));
            opened = c.patient;
        }
        ASSERT_TRUE(form->resultPage().recordValue("01", c.weight));
        server.clearTraffic();
        form->sbtCalcularClick();
        EXPECT_EQ(stored(), c.lines);
        const QList<QJsonArray> asked = server.argumentsOf("GetPercentil");
        if (QLatin1String(c.patient->method) == "48") {
            ASSERT_EQ(asked.size(), 1);
            const QJsonArray& args = asked.first();
            EXPECT_EQ(args.at(0).toString(), c.patient->reference);
            EXPECT_EQ(args.at(1).toString(), "48");
            EXPECT_EQ(args.at(3).toString(), "M");
        }
    }
}

// The arm methods of a man of 45 on the server's default references: the 1966 adult
// standards (triceps 12,5 mm, arm 29,3 cm) and the 1981 arm muscle circumference
// percentiles (men 45 to 54,9 years: P25 26,5 cm, P50 28,1 cm) and the areas that follow
// from them (AMB P25 45,91, P50 52,87 cm²; AMBC P25 5.578, P50 6.273 mm²).
TEST_F(CalculateAction, ArmMethodsOnTheServersReferenceTables)
{
    open("900000000300", "0", QDate(1981, 9, 6));
    for (const char* method : {"02", "03", "04", "05", "60"})
        ASSERT_TRUE(form->methodPage().selectMethod(method)) << method;
    enterResults();
    ASSERT_TRUE(form->resultPage().recordValue("04", "10"));
    ASSERT_TRUE(form->resultPage().recordValue("08", "30"));
    form->sbtCalcularClick();
    const QString jelliffe = "Jelliffe 1966 (padrões de adultos, OMS)";
    const QString frisancho = "Frisancho 1981 (NHANES I)";
    // clang-format off
    const QList<StoredLine> expected = {
        {"02", "01", "PCT Percentil - ", ""},  // the adult standard has no percentiles
        {"02", "02", "PCT Classificação - ", ""},
        {"02", "03", "% PCT Resultado", "80,00%"},  // 10 / 12,5
        {"02", "04", "% PCT Classificação", "Depleção Ponderal Grau II"},
        {"03", "01", "CMB Resultado", "26,86"},  // 30 - 3,14 x 1,0
        {"03", "02", "CMB Percentil - " + frisancho, "Entre P25 - P50"},
        {"03", "04", "% CMB Resultado", "95,59%"},  // 26,86 / 28,1 (P50)
        {"03", "05", "% CMB Classificação", "Eutrofia"},
        {"04", "01", "CB Resultado Adequação - " + jelliffe, "102,389 %"},  // 30 / 29,3
        {"04", "02", "CB Percentil Classificação - " + jelliffe, "Eutrofia"},
        {"05", "01", "AMB Resultado", "47,441"},  // 26,86² / 12,56 - 10
        {"05", "02", "AMB Percentil - " + frisancho, "Entre P25 - P50"},
        {"05", "03", "AMB Classificação - " + frisancho, "Eutrofia"},
        {"60", "01", "AMBC Resultado", "5.730,512"},  // 268,6² / 4π - 10
        {"60", "02", "AMBC Percentil - " + frisancho, "P25"},
        {"60", "03", "AMBC Percentil Classificação - " + frisancho, "Normal"},
    };
    // clang-format on
    QList<StoredLine> lines = stored();
    std::sort(lines.begin(), lines.end(), [](const StoredLine& a, const StoredLine& b) {
        return std::tie(a.method, a.number) < std::tie(b.method, b.number);
    });
    EXPECT_EQ(lines, expected);
}
