// The evaluation steps every routine shares: reading the grid and the recorded values,
// writing a result line once, the number texts and the percentile bracket.

#include "routine_fixture.h"

#include "anthropometry/percentile_bracket.h"
#include "hostfw/errors.h"
#include "records/layouts.h"
#include "records/packet_codec.h"
#include "workspace/module_context.h"

using namespace anthropometry;
using namespace anthropometrytest;

namespace {

class EvaluationSteps : public RoutineTest
{
};

}  // namespace

// ------------------------------------------------------------------ read from the grid

TEST_F(EvaluationSteps, ReadFromTheGrid)
{
    grid({{"01", "70,5"}, {"02", ""}, {"15", "  "}, {"53", "20"}});
    form->cdsDadosAval.moveTo(2);
    const int row = form->cdsDadosAval.recNo();
    Evaluation ev = evaluation("00");

    const Measure weight = ev.readFromGrid("01");
    EXPECT_TRUE(weight.present);
    EXPECT_DOUBLE_EQ(weight.value, 70.5);
    for (const char* absent : {"02", "15", "11"}) {  // empty, blank, no row
        const Measure m = ev.readFromGrid(absent);
        EXPECT_FALSE(m.present) << absent;
        EXPECT_EQ(m.value, 0) << absent;
    }
    const Measure week = ev.readWholeFromGrid("53");
    EXPECT_TRUE(week.present);
    EXPECT_EQ(week.value, 20);
    EXPECT_EQ(form->cdsDadosAval.recNo(), row);  // the grid did not move
}

TEST_F(EvaluationSteps, GridTextThatIsNotANumberFailsNamingIt)
{
    grid({{"01", "7O"}, {"53", "12,5"}});
    Evaluation ev = evaluation("00");
    try {
        ev.readFromGrid("01");
        FAIL() << "no conversion error";
    } catch (const hostfw::ConversionError& e) {
        EXPECT_EQ(e.message(),
                  "'7O' não é um valor de ponto flutuante válido para o campo 'Valor'.");
    }
    EXPECT_THROW(ev.readWholeFromGrid("53"), hostfw::ConversionError);
}

// --------------------------------------------------------------- read recorded value

TEST_F(EvaluationSteps, ReadRecordedValueOfTheOwnMethod)
{
    server.answer = [](const QString& method, const QJsonArray& args) {
        if (method != "GetInfoAval")
            return records::Reply::success(QJsonValue());
        const QString type = args.at(3).toString();
        QList<QVariantList> rows;
        auto row = [&](const char* m, const QVariant& text) {
            rows.append({"0001", "900000000100",
                         QDateTime(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC), m, type, text,
                         QVariant(), QVariant()});
        };
        if (type == "01") {
            row("00", "70,5");
            row("49", "71");
        } else if (type == "02") {
            row("00", QVariant());  // found but empty
        } else if (type == "04") {
            row("49", "abc");
        }
        return records::Reply::success(
            records::encodePacket(packetOf(records::layouts::cdsInfoAval(), rows)));
    };
    Evaluation ev = evaluation("49");
    const Measure weight = ev.readRecordedValue("01");
    EXPECT_TRUE(weight.present);
    EXPECT_DOUBLE_EQ(weight.value, 71);  // its own method's row, not "00"'s
    const QJsonArray args = lastArgs("GetInfoAval");
    EXPECT_EQ(args.at(0).toString(), stCdFilial);
    EXPECT_EQ(args.at(1).toString(), stCdPaciente);
    EXPECT_EQ(args.at(3).toString(), "01");
    EXPECT_EQ(form->cdsInfoAval.recordCount(), 2);  // the dataset holds what came

    Evaluation imc = evaluation("00");
    EXPECT_FALSE(imc.readRecordedValue("02").present);  // found, empty: not informed
    EXPECT_FALSE(imc.readRecordedValue("03").present);  // no row: stays 0
    EXPECT_THROW(ev.readRecordedValue("04"), hostfw::ConversionError);
}

// --------------------------------------------------------------- write result line

TEST_F(EvaluationSteps, WriteResultLineOnceAndThroughTheServer)
{
    Evaluation ev = evaluation("49");
    ev.writeResultLine(1, "Sobrepeso", "25,000");
    ev.writeResultLine(1, "Obesidade", "31,000");  // same key: not written
    ev.writeResultLine(2, "Segunda", "");

    ASSERT_EQ(callsOf("SetResuAval"), 2);
    EXPECT_EQ(lines("49")["01"], (ResultLine{"Sobrepeso", "25,000"}));
    EXPECT_EQ(form->cdsResuAval.changeCount(), 0);  // merged after the write

    // a write carries the whole key, the branch filled by the post
    const records::Delta delta = records::decodeDelta(lastArgs("SetResuAval").at(0));
    ASSERT_EQ(delta.changes.size(), 1);
    const records::Packet row{delta.fields, {delta.changes.at(0).newValues}};
    EXPECT_EQ(row.value(0, "CDFILIAL").toString(), "0001");
    EXPECT_EQ(row.value(0, "CDPACIENTE").toString(), "900000000100");
    EXPECT_EQ(row.value(0, "DTCONSPACI").toDateTime(), dtConsulta);
    EXPECT_EQ(row.value(0, "CDTBMETOAVAL").toString(), "49");
    EXPECT_EQ(row.value(0, "CDSEQUAVAL").toString(), "02");

    // another method may use the same number
    Evaluation other = evaluation("67");
    other.writeResultLine(1, "Baixo Peso", "21,000");
    EXPECT_EQ(lines("67").size(), 1);
}

TEST_F(EvaluationSteps, AnEnergyMethodReadsAndWritesTheEnergyPage)
{
    // the energy grid has a row per method and data type
    form->cdsDadoAvalEnerg.loadPacket(
        packetOf(records::layouts::cdsDadoAvalEnerg(),
                 {{"30", "01", "Peso", QVariant(), "61", QString()},
                  {"35", "01", "Peso", QVariant(), "58,5", QString()}}));
    grid({{"01", "70"}});  // the assessment grid is not read

    Evaluation ev = evaluation("35");
    EXPECT_DOUBLE_EQ(ev.readFromGrid("01").value, 58.5);
    ev.writeResultLine(1, "Catch-up", "1.000");
    EXPECT_EQ(callsOf("SetResuAvalEnerg"), 1);
    EXPECT_EQ(callsOf("SetResuAval"), 0);
    EXPECT_TRUE(form->cdsResuAvalEnerg.locate("CDTBMETOAVAL;CDSEQUAVAL", {"35", "01"}));
    EXPECT_TRUE(lines("35").isEmpty());  // nothing among the assessment lines
}

TEST_F(EvaluationSteps, FailedWriteKeepsNoLineAndPassesTheError)
{
    Evaluation ev = evaluation("49");
    ev.writeResultLine(1, "Primeira", "1");
    server.answer = [](const QString& method, const QJsonArray&) {
        return method == "SetResuAval" ? records::Reply::failure("violação de chave")
                                       : records::Reply::success(QJsonValue());
    };
    try {
        ev.writeResultLine(2, "Segunda", "2");
        FAIL() << "the failed write went unnoticed";
    } catch (const records::Error& e) {
        EXPECT_EQ(e.message(), "violação de chave");
    }
    const auto l = lines("49");
    EXPECT_EQ(l.size(), 1);  // the line written before stays
    EXPECT_TRUE(l.contains("01"));
    EXPECT_FALSE(form->cdsResuAval.isEditing());
}

// --------------------------------------------------------------- percentile bracket

namespace {

struct Bracketing
{
    records::DataSet codes{records::layouts::cdsPesqPer()};
    records::DataSet atOrBelow{records::layouts::cdsPercentilMaior()};
    records::DataSet atOrAbove{records::layouts::cdsPercentilMenor()};

    PercentileBracket of(const QList<PercentileRow>& rows, double value)
    {
        const QJsonValue payload = percentilePayload(rows, value, "OMS 2007");
        codes.loadPacket(records::packetAt(payload, 0));
        atOrBelow.loadPacket(records::packetAt(payload, 1));
        atOrAbove.loadPacket(records::packetAt(payload, 2));
        return bracketOf(codes, atOrBelow, atOrAbove, value);
    }
};

const QList<PercentileRow> kReference = {
    {"003", "P3", 10.0},  {"015", "P15", 12.0}, {"050", "P50", 14.0},
    {"085", "P85", 16.0}, {"097", "P97", 18.0},
};

}  // namespace

TEST(PercentileBracket, TextsAndCodes)
{
    Bracketing b;
    struct Case
    {
        double value;
        const char* text;
        const char* code;
    };
    // clang-format off
    const Case cases[] = {
        {9.0, "< P3", "001"},             // under the first
        {10.0, "P3", "003"},              // on the first
        {11.0, "Entre P3 - P15", "003"},  // between the first two: not below the first
        {13.0, "Entre P15 - P50", "015"},
        {14.0, "P50", "050"},             // on a row: its name
        {17.0, "Entre P85 - P97", "085"},
        {18.0, "P97", "097"},             // on the last
        {19.5, "> P97", "999"},           // over the last
    };
    // clang-format on
    for (const Case& c : cases) {
        const PercentileBracket bracket = b.of(kReference, c.value);
        EXPECT_EQ(bracket.text, c.text) << c.value;
        EXPECT_EQ(bracket.code, c.code) << c.value;
        EXPECT_EQ(bracket.referenceName, "OMS 2007") << c.value;
    }
    // nothing from the reference: no text and an empty code
    const PercentileBracket none = b.of({}, 15.0);
    EXPECT_TRUE(none.code.isEmpty() && none.text.isEmpty());
}

TEST_F(EvaluationSteps, PercentileBracketQueriesTheServerAndKeepsItsAnswer)
{
    patient("1", 5, 3);  // a girl of 5 years 3 months: coded age 5,03
    server.answer = [](const QString& method, const QJsonArray& args) {
        if (method == "GetPercentil")
            return records::Reply::success(percentilePayload(kReference, args.at(5).toDouble()));
        return records::Reply::success(QJsonValue());
    };
    Evaluation ev = evaluation("02", "04");
    const PercentileBracket bracket = ev.percentileBracket(13.0);
    EXPECT_EQ(bracket.code, "015");

    EXPECT_EQ(lastArgs("GetPercentil"), (QJsonArray{"04", "02", 5.03, "F", "04", 13.0}));
    EXPECT_EQ(queries.dataSet(records::layouts::cdsPesqPer()).recordCount(), 5);
    EXPECT_EQ(queries.dataSet(records::layouts::cdsPercentilMaior()).asString("CDPERCENTIL"),
              "015");
    EXPECT_EQ(queries.dataSet(records::layouts::cdsPercentilMenor()).asString("CDPERCENTIL"),
              "050");
}

TEST_F(EvaluationSteps, FailedQueriesRaiseTheServersError)
{
    server.answer = [](const QString&, const QJsonArray&) {
        return records::Reply::failure("sem conexão");
    };
    EXPECT_THROW(evaluation("49").readRecordedValue("01"), hostfw::ServerError);
    EXPECT_THROW(evaluation("48", "02").percentileBracket(13.0), hostfw::ServerError);
}
