// The waist and hip family against a recording fake server: every band limit by sex,
// the ratio compared unrounded or rounded to two decimals, the no-classification line
// and the measures that write nothing. Ratios worked out by hand in the rows.

#include "routine_fixture.h"

#include "anthropometry/waist_family.h"
#include "hostfw/errors.h"

using namespace anthropometry;
using namespace anthropometrytest;

namespace {

using Routine = void (*)(Evaluation&);

struct Case
{
    const char* sexCode;  // "0" male, "1" female, "2"/"3" neither
    const char* method;
    Routine routine;
    const char* waist;  // nullptr: no row
    const char* hip;
    QList<ResultLine> expected;  // lines "01", "02", ... in order
};

const char* const kNormal = "Normal";
const char* const kNoRisk = "Sem Risco de Complicações Metabólicas";
const char* const kRisk = "Risco de Complicações Metabólicas";
const char* const kHighRisk = "Risco elevado de Complicações";
const char* const kVeryHighRisk = "Risco muito elevado de Complicações";

ResultLine line(const char* label, const char* value)
{
    return {QString::fromUtf8(label), QString::fromUtf8(value)};
}

// clang-format off
const Case kCases[] = {
    // the waist alone: men 94 and 102 cm, every other letter 80 and 88 cm
    {"0", "11", Calcula_CircunfCintura, "93,9", nullptr, {line("Circunf. da Cintura", kNormal)}},
    {"0", "11", Calcula_CircunfCintura, "94", nullptr, {line("Circunf. da Cintura", "Risco Moderado")}},
    {"0", "11", Calcula_CircunfCintura, "101,9", nullptr, {line("Circunf. da Cintura", "Risco Moderado")}},
    {"0", "11", Calcula_CircunfCintura, "102", nullptr, {line("Circunf. da Cintura", "Alto Risco")}},
    {"1", "11", Calcula_CircunfCintura, "79,9", nullptr, {line("Circunf. da Cintura", kNormal)}},
    {"1", "11", Calcula_CircunfCintura, "80", nullptr, {line("Circunf. da Cintura", "Risco Moderado")}},
    {"1", "11", Calcula_CircunfCintura, "88", nullptr, {line("Circunf. da Cintura", "Alto Risco")}},
    {"3", "11", Calcula_CircunfCintura, "85", nullptr, {line("Circunf. da Cintura", "Risco Moderado")}},
    {"2", "11", Calcula_CircunfCintura, "79", nullptr, {line("Circunf. da Cintura", kNormal)}},
    {"0", "11", Calcula_CircunfCintura, nullptr, "100", {}},
    {"0", "11", Calcula_CircunfCintura, "", nullptr, {}},
    // the waist by the 1998 cut-offs: the risk as description, the waist as result
    {"0", "51", Calcula_CircCintOms98, "93,9", nullptr, {line(kNoRisk, "93,900")}},
    {"0", "51", Calcula_CircCintOms98, "94", nullptr, {line(kHighRisk, "94,000")}},
    {"0", "51", Calcula_CircCintOms98, "102", nullptr, {line(kVeryHighRisk, "102,000")}},
    {"1", "51", Calcula_CircCintOms98, "79,9", nullptr, {line(kNoRisk, "79,900")}},
    {"1", "51", Calcula_CircCintOms98, "80", nullptr, {line(kHighRisk, "80,000")}},
    {"1", "51", Calcula_CircCintOms98, "1234,5", nullptr, {line(kVeryHighRisk, "1.234,500")}},
    {"3", "51", Calcula_CircCintOms98, "85", nullptr, {line("Sem classificação", "")}},
    {"1", "51", Calcula_CircCintOms98, "0", nullptr, {}},
    {"1", "51", Calcula_CircCintOms98, nullptr, nullptr, {}},
    // the ratio, unrounded against 0,95 (men) and 0,8 (women)
    {"0", "07", Calcula_RCQ, "95", "100", {line("RCQ Resultado", "0,95"), line("RCQ Classificação", kNormal)}},
    {"0", "07", Calcula_RCQ, "96", "100", {line("RCQ Resultado", "0,96"), line("RCQ Classificação", "Alterado")}},
    {"1", "07", Calcula_RCQ, "80", "100", {line("RCQ Resultado", "0,80"), line("RCQ Classificação", kNormal)}},
    {"1", "07", Calcula_RCQ, "81", "100", {line("RCQ Resultado", "0,81"), line("RCQ Classificação", "Alterado")}},
    // 80,5 / 100 = 0,805: shown 0,81 and above 0,8
    {"1", "07", Calcula_RCQ, "80,5", "100", {line("RCQ Resultado", "0,81"), line("RCQ Classificação", "Alterado")}},
    // 76 / 95 = 0,8 exactly: not above the limit
    {"1", "07", Calcula_RCQ, "76", "95", {line("RCQ Resultado", "0,80"), line("RCQ Classificação", kNormal)}},
    {"2", "07", Calcula_RCQ, "81", "100", {line("Sem classificação", "")}},
    {"0", "07", Calcula_RCQ, "95", "0", {}},
    {"0", "07", Calcula_RCQ, nullptr, "100", {}},
    // the ratio by the 1998 cut-offs: rounded to two decimals against 1,0 and 0,85
    {"1", "50", Calcula_RCQOms98, "84", "100", {line("RCQ Resultado", "0,84"), line("RCQ Classificação", kNoRisk)}},
    {"1", "50", Calcula_RCQOms98, "86", "100", {line("RCQ Resultado", "0,86"), line("RCQ Classificação", kRisk)}},
    {"1", "50", Calcula_RCQOms98, "85,4", "100", {line("RCQ Resultado", "0,85"), line("RCQ Classificação", kNoRisk)}},
    {"1", "50", Calcula_RCQOms98, "85,5", "100", {line("RCQ Resultado", "0,86"), line("RCQ Classificação", kRisk)}},
    {"0", "50", Calcula_RCQOms98, "100", "100", {line("RCQ Resultado", "1,00"), line("RCQ Classificação", kNoRisk)}},
    {"0", "50", Calcula_RCQOms98, "100,4", "100", {line("RCQ Resultado", "1,00"), line("RCQ Classificação", kNoRisk)}},
    {"0", "50", Calcula_RCQOms98, "100,5", "100", {line("RCQ Resultado", "1,01"), line("RCQ Classificação", kRisk)}},
    {"0", "50", Calcula_RCQOms98, "101", "100", {line("RCQ Resultado", "1,01"), line("RCQ Classificação", kRisk)}},
    {"3", "50", Calcula_RCQOms98, "84", "100", {line("Sem classificação", "")}},
    {"1", "50", Calcula_RCQOms98, "84", "-100", {}},
};
// clang-format on

using WaistFamily = RoutineTest;

}  // namespace

TEST_F(WaistFamily, LinesByMethodSexAndMeasure)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - kCases << " method " << c.method);
        patient(c.sexCode, 50);
        form->cdsResuAval.clear();
        QList<std::pair<QString, QString>> values;
        if (c.waist)
            values.append({QStringLiteral("11"), QString::fromLatin1(c.waist)});
        if (c.hip)
            values.append({QStringLiteral("10"), QString::fromLatin1(c.hip)});
        grid(values);
        Evaluation ev = evaluation(c.method);
        c.routine(ev);
        const QMap<QString, ResultLine> written = lines(c.method);
        ASSERT_EQ(written.size(), c.expected.size());
        for (int i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(written.value(lineNumber(i + 1)), c.expected.at(i)) << i + 1;
    }
    EXPECT_EQ(callsOf("GetPercentil") + callsOf("GetPCT"), 0);  // no reference is asked
}
