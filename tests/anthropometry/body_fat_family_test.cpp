// The body fat family against a recording fake server: the Siri equation of each sex and
// age band with every derived line, its classification bands, the sum-of-skinfolds bands
// with the female gaps on the server's fat percentage, and the bioimpedance ideal by sex
// and age. Expected numbers worked out by hand (log10 40 = 1,60206).

#include "routine_fixture.h"

#include "anthropometry/body_fat_family.h"
#include "hostfw/errors.h"
#include "records/layouts.h"

using namespace anthropometry;
using namespace anthropometrytest;

namespace {

using Grid = QList<std::pair<QString, QString>>;

// Data types and texts given as "type=text" words.
Grid gridOf(const char* words)
{
    Grid out;
    for (const QString& w : QString::fromUtf8(words).split(u' ', Qt::SkipEmptyParts))
        out.append({w.section(u'=', 0, 0), w.section(u'=', 1)});
    return out;
}

class BodyFatFamily : public RoutineTest
{
protected:
    // The results of the method's lines, in line order.
    QStringList run(void (*routine)(Evaluation&), const char* method, const char* sexCode,
                    int years, const char* grid)
    {
        patient(QLatin1String(sexCode), years);
        form->cdsResuAval.clear();
        RoutineTest::grid(gridOf(grid));
        Evaluation ev = evaluation(QLatin1String(method), QStringLiteral("11"));
        routine(ev);
        QStringList out;
        for (const ResultLine& l : lines(QLatin1String(method)))
            out.append(l.label.isEmpty() || !l.value.isEmpty() ? l.value : l.label);
        return out;
    }
};

const char* const kSiriMan = "01=70 03=5 04=10 05=12 06=13 38=99";
const char* const kSiriWoman = "01=60 03=8 04=15 05=14 06=20 38=25";

}  // namespace

TEST_F(BodyFatFamily, SiriDensityFatAndDerivedLinesBySexAndAge)
{
    struct Row
    {
        const char* sexCode;
        int years;
        const char* grid;
        QStringList expected;  // lines "01" to "07"
    };
    // clang-format off
    const Row rows[] = {
        // men 18 to 34: 1,161 - 0,0632 log(5 + 10 + 12 + 13) = 1,059750
        {"0", 20, kSiriMan, {"1,059750", "17,09% - Moderadamente alta", "11,96 Kg", "58,04 Kg", "82,91%", "68,28 Kg", "1,72 Kg"}},
        {"0", 35, kSiriMan, {}},
        // men 13 to 17 and 9 to 12 by triceps and subscapular; below 9 nothing
        {"0", 17, "01=60 03=5 04=10 05=12 06=13 38=15", {"1,046941", "22,81% - Moderadamente alta", "13,68 Kg", "46,32 Kg", "77,19%", "54,49 Kg", "5,51 Kg"}},
        {"0", 10, "01=30 03=5 04=10 05=12 06=13 38=15", {"1,039991", "25,97% - Alta", "7,79 Kg", "22,21 Kg", "74,03%", "26,13 Kg", "3,87 Kg"}},
        {"0", 8, kSiriMan, {}},
        {"0", 15, "01=60 03=5 04=0 05=12 06=13 38=15", {}},  // log of 0
        // women 18 to 48 linear (ideal weight over 0,75), 13 to 17 and 9 to 12 by logarithms
        {"1", 48, kSiriWoman, {"1,040720", "25,63% - Moderadamente alta", "15,38 Kg", "44,62 Kg", "74,37%", "59,49 Kg", "0,51 Kg"}},
        {"1", 49, kSiriWoman, {}},
        {"1", 15, "01=50 03=8 04=18 05=14 06=20 38=25", {"1,028095", "31,47% - Alta", "15,74 Kg", "34,26 Kg", "68,53%", "45,68 Kg", "4,32 Kg"}},
        {"3", 9, "01=28 03=8 04=12 05=10 06=20 38=25", {"1,036891", "27,39% - Moderadamente alta", "7,67 Kg", "20,33 Kg", "72,61%", "27,11 Kg", "0,89 Kg"}},
        {"1", 8, kSiriWoman, {}},
        {"0", 20, "01=70 03=5 04=10 05=12 06=13", {}},  // all six are required
    };
    // clang-format on
    for (const Row& r : rows)
        EXPECT_EQ(run(Calcula_Siri, "29", r.sexCode, r.years, r.grid), r.expected) << &r - rows;

    // The fat line names the 1990 reference under 18 years, the 1992 one from 18.
    run(Calcula_Siri, "29", "0", 17, kSiriMan);
    EXPECT_TRUE(lines(QStringLiteral("29")).value(QStringLiteral("02")).label.endsWith(u"1990)"));
    run(Calcula_Siri, "29", "0", 18, kSiriMan);
    EXPECT_TRUE(lines(QStringLiteral("29")).value(QStringLiteral("02")).label.endsWith(u"1992)"));
    EXPECT_EQ(callsOf("GetCalcSomaPrega"), 0);
}

TEST_F(BodyFatFamily, SiriClassificationBandsIncludeTheirUpperLimit)
{
    // Upper limits under 18 (men, others) and from 18 (men, others), and one point above.
    const std::tuple<const char*, double, QList<double>> rows[] = {{"M", 17, {6, 10, 20, 25, 31}},
                                                                   {"F", 17, {12, 15, 25, 30, 36}},
                                                                   {"M", 18, {3, 10, 15, 20, 25}},
                                                                   {"I", 40, {12, 14, 18, 30, 35}}};
    const QStringList names = {u"Excessivamente baixa"_qs, u"Baixa"_qs, u"Adequada"_qs,
                               u"Moderadamente alta"_qs,   u"Alta"_qs,  u"Excessivamente alta"_qs};
    for (const auto& [sex, age, limits] : rows) {
        for (int i = 0; i < limits.size(); ++i) {
            EXPECT_EQ(siriClassification(QLatin1String(sex), age, limits[i]), names[i])
                << sex << age;
            EXPECT_EQ(siriClassification(QLatin1String(sex), age, limits[i] + 0.01), names[i + 1]);
        }
    }
}

TEST_F(BodyFatFamily, SumOfSkinfoldsClassifiesTheServersFatPercentage)
{
    constexpr double kNoRow = -1;
    double answer = 0;
    server.answer = [&answer](const QString&, const QJsonArray&) {
        const QList<QVariantList> rows =
            answer == kNoRow ? QList<QVariantList>{} : QList<QVariantList>{{answer}};
        return records::Reply::success(
            records::encodePacket(packetOf(records::layouts::cdsCalcSomaPrega(), rows)));
    };
    // clang-format off
    const std::tuple<const char*, double, const char*> rows[] = {
        {"0", 5.999, "Desnutrição|5,999 %"}, {"0", 6, "Normal|6,000 %"}, {"0", 14.0004, "Normal|14,000 %"},
        {"0", 14.5, "Dentro da Média|14,500 %"}, {"0", 16, "Acima da Média|16,000 %"},
        {"0", 25, "Obesidade|25,000 %"}, {"1", 7.999, "Desnutrição|7,999 %"}, {"1", 8, "|8,000 %"},
        {"1", 8.5, "|8,500 %"}, {"1", 8.9996, "Normal|9,000 %"}, {"1", 22, "Normal|22,000 %"},
        {"1", 23, "Dentro da Média|23,000 %"}, {"1", 24, "Acima da Média|24,000 %"},
        {"1", 31.5, "|31,500 %"}, {"1", 32, "Obesidade|32,000 %"},
        {"1", kNoRow, "Sem classificação na referência informada.|"}, {"2", 20, "Sem classificação|"},
    };
    // clang-format on
    for (const auto& [sexCode, fat, expected] : rows) {
        answer = fat;
        run(Calcula_SomaPrega, "16", sexCode, 32, "03=5 04=10,5 05=12 06=13");
        const ResultLine line = lines(QStringLiteral("16")).value(QStringLiteral("01"));
        EXPECT_EQ(line.label + u'|' + line.value, QString::fromUtf8(expected))
            << sexCode << " " << fat;
    }
    EXPECT_EQ(callsOf("GetCalcSomaPrega"), static_cast<int>(std::size(rows)) - 1);  // not for "2"
    EXPECT_EQ(lastArgs("GetCalcSomaPrega"), (QJsonArray{"F", "11", 32.0, 40.5}));
    // One skinfold missing or empty, or a sum of 0: nothing written, nothing asked.
    for (const char* grid : {"03=5 04=10 05=12", "03=0 04=0 05=0 06=0", "03=5 04= 05=12 06=13"})
        EXPECT_TRUE(run(Calcula_SomaPrega, "16", "0", 32, grid).isEmpty()) << grid;
    EXPECT_EQ(callsOf("GetCalcSomaPrega"), static_cast<int>(std::size(rows)) - 1);
}

TEST_F(BodyFatFamily, BioimpedanceAgainstTheIdealOfSexAndAge)
{
    // clang-format off
    const std::tuple<const char*, int, const char*, QStringList> rows[] = {
        {"1", 19, "14=20", {"20", "Normal"}}, {"1", 19, "14=20,5", {"20", "Acima do Normal"}},
        {"1", 18, "14=20", {}}, {"0", 60, "14=19", {"20", "Abaixo do Normal"}},
        {"0", 29, "14=16", {"16", "Normal"}}, {"0", 30, "14=16", {"17", "Abaixo do Normal"}},
        {"0", 59, "14=19", {"19", "Normal"}}, {"1", 45, "14=23", {"22", "Acima do Normal"}},
        {"1", 90, "14=24", {"24", "Normal"}}, {"3", 35, "14=21", {"21", "Normal"}},
        {"0", 40, "14=0", {}}, {"0", 40, "14=", {}},
    };
    // clang-format on
    for (const auto& [sexCode, years, grid, expected] : rows)
        EXPECT_EQ(run(Calcula_BiaGordura, "17", sexCode, years, grid), expected)
            << sexCode << years;
}

TEST_F(BodyFatFamily, AMeasureThatIsNotANumberFailsAndWritesNothing)
{
    EXPECT_THROW(run(Calcula_Siri, "29", "0", 20, "01=7O 03=5 04=10 05=12 06=13 38=15"),
                 hostfw::ConversionError);
    EXPECT_THROW(run(Calcula_BiaGordura, "17", "0", 40, "14=2x"), hostfw::ConversionError);
    EXPECT_TRUE(form->cdsResuAval.isEmpty());
}
