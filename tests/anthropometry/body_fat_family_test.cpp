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

QList<std::pair<QString, QString>>
values(std::initializer_list<std::pair<const char*, const char*>> l)
{
    QList<std::pair<QString, QString>> out;
    for (const auto& [type, text] : l)
        out.append({QString::fromLatin1(type), QString::fromUtf8(text)});
    return out;
}

QStringList results(const QMap<QString, ResultLine>& lines)
{
    QStringList out;
    for (const ResultLine& l : lines)
        out.append(l.value);
    return out;
}

struct SiriCase
{
    const char* sexCode;
    int years;
    const char* weight;
    const char *biceps, *triceps, *subscapular, *suprailiac, *thigh;
    QStringList expected;  // results of lines "01" to "07"; empty: nothing written
};

// clang-format off
const SiriCase kSiri[] = {
    // men 18 to 34: 1,161 - 0,0632 log(5 + 10 + 12 + 13) = 1,059750
    {"0", 20, "70", "5", "10", "12", "13", "99", {"1,059750", "17,09% - Moderadamente alta", "11,96 Kg", "58,04 Kg", "82,91%", "68,28 Kg", "1,72 Kg"}},
    {"0", 34, "80", "10", "20", "25", "30", "15", {"1,039061", "26,39% - Excessivamente alta", "21,11 Kg", "58,89 Kg", "73,61%", "69,28 Kg", "10,72 Kg"}},
    {"0", 35, "70", "5", "10", "12", "13", "15", {}},
    // men 13 to 17 and 9 to 12: triceps and subscapular
    {"0", 17, "60", "5", "10", "12", "13", "15", {"1,046941", "22,81% - Moderadamente alta", "13,68 Kg", "46,32 Kg", "77,19%", "54,49 Kg", "5,51 Kg"}},
    {"0", 10, "30", "5", "10", "12", "13", "15", {"1,039991", "25,97% - Alta", "7,79 Kg", "22,21 Kg", "74,03%", "26,13 Kg", "3,87 Kg"}},
    {"0", 8, "30", "5", "10", "12", "13", "15", {}},
    {"0", 15, "60", "5", "0", "12", "13", "15", {}},  // log of 0
    // women 18 to 48: linear in subscapular, triceps and thigh; ideal weight over 0,75
    {"1", 48, "60", "8", "15", "14", "20", "25", {"1,040720", "25,63% - Moderadamente alta", "15,38 Kg", "44,62 Kg", "74,37%", "59,49 Kg", "0,51 Kg"}},
    {"1", 49, "60", "8", "15", "14", "20", "25", {}},
    {"1", 15, "50", "8", "18", "14", "20", "25", {"1,028095", "31,47% - Alta", "15,74 Kg", "34,26 Kg", "68,53%", "45,68 Kg", "4,32 Kg"}},
    {"3", 9, "28", "8", "12", "10", "20", "25", {"1,036891", "27,39% - Moderadamente alta", "7,67 Kg", "20,33 Kg", "72,61%", "27,11 Kg", "0,89 Kg"}},
    {"1", 8, "28", "8", "12", "10", "20", "25", {}},
    {"0", 20, "70", "5", "10", "12", "13", nullptr, {}},  // the thigh is required
    {"0", 20, nullptr, "5", "10", "12", "13", "15", {}},
};
// clang-format on

using BodyFatFamily = RoutineTest;

}  // namespace

TEST_F(BodyFatFamily, SiriDensityFatAndDerivedLinesBySexAndAge)
{
    for (const SiriCase& c : kSiri) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - kSiri);
        patient(c.sexCode, c.years);
        form->cdsResuAval.clear();
        QList<std::pair<QString, QString>> grid;
        const std::pair<const char*, const char*> inputs[] = {
            {"01", c.weight},      {"03", c.biceps},     {"04", c.triceps},
            {"05", c.subscapular}, {"06", c.suprailiac}, {"38", c.thigh}};
        for (const auto& [type, text] : inputs) {
            if (text)
                grid.append({QString::fromLatin1(type), QString::fromLatin1(text)});
        }
        RoutineTest::grid(grid);
        Evaluation ev = evaluation(QStringLiteral("29"));
        Calcula_Siri(ev);
        const QMap<QString, ResultLine> written = lines(QStringLiteral("29"));
        EXPECT_EQ(results(written), c.expected);
        if (c.expected.isEmpty())
            continue;
        const QString fatLabel =
            c.years < 18
                ? QStringLiteral("Equação de Siri - Porcentagem de gordura (Deurenberg, "
                                 "P.P. Pieters, J.J.L e Hautuast, J.G.L. - 1990)")
                : QStringLiteral("Equação de Siri - Porcentagem de gordura (Mcardle - 1992)");
        const QStringList labels = {QStringLiteral("Equação de Siri - Densidade corporal"),
                                    fatLabel,
                                    QStringLiteral("Equação de Siri - Peso gordo"),
                                    QStringLiteral("Equação de Siri - Massa Magra"),
                                    QStringLiteral("Equação de Siri - Porcentagem de massa magra"),
                                    QStringLiteral("Equação de Siri - Peso ideal"),
                                    QStringLiteral("Equação de Siri - Peso em excesso")};
        QStringList writtenLabels;
        for (const ResultLine& l : written)
            writtenLabels.append(l.label);
        EXPECT_EQ(writtenLabels, labels);
    }
    EXPECT_EQ(callsOf("GetCalcSomaPrega") + callsOf("GetPercentil"), 0);  // no reference asked
}

TEST_F(BodyFatFamily, SiriClassificationBandsIncludeTheirUpperLimit)
{
    struct Row
    {
        const char* sex;
        double age, fat;
        const char* expected;
    };
    // clang-format off
    const Row rows[] = {
        {"M", 17, 6, "Excessivamente baixa"}, {"M", 17, 6.01, "Baixa"}, {"M", 17, 10, "Baixa"},
        {"M", 17, 20, "Adequada"}, {"M", 17, 25, "Moderadamente alta"}, {"M", 17, 31, "Alta"},
        {"M", 17, 31.01, "Excessivamente alta"},
        {"F", 17, 12, "Excessivamente baixa"}, {"F", 17, 15, "Baixa"}, {"F", 17, 25, "Adequada"},
        {"I", 17, 30, "Moderadamente alta"}, {"F", 17, 36, "Alta"}, {"F", 17, 36.5, "Excessivamente alta"},
        {"M", 18, 3, "Excessivamente baixa"}, {"M", 18, 3.5, "Baixa"}, {"M", 18, 15, "Adequada"},
        {"M", 18, 20, "Moderadamente alta"}, {"M", 18, 25, "Alta"}, {"M", 18, 25.01, "Excessivamente alta"},
        {"F", 18, 12, "Excessivamente baixa"}, {"F", 18, 14, "Baixa"}, {"F", 18, 18, "Adequada"},
        {"D", 40, 30, "Moderadamente alta"}, {"F", 40, 35, "Alta"}, {"F", 40, 35.01, "Excessivamente alta"},
    };
    // clang-format on
    for (const Row& r : rows)
        EXPECT_EQ(siriClassification(QString::fromLatin1(r.sex), r.age, r.fat),
                  QString::fromUtf8(r.expected))
            << r.sex << " " << r.age << " " << r.fat;
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
    struct Row
    {
        const char* sexCode;
        double fat;
        const char *label, *value;
    };
    // clang-format off
    const Row rows[] = {
        {"0", 5.999, "Desnutrição", "5,999 %"}, {"0", 6, "Normal", "6,000 %"},
        {"0", 14, "Normal", "14,000 %"}, {"0", 14.0004, "Normal", "14,000 %"},
        {"0", 14.5, "Dentro da Média", "14,500 %"}, {"0", 16, "Acima da Média", "16,000 %"},
        {"0", 24.999, "Acima da Média", "24,999 %"}, {"0", 25, "Obesidade", "25,000 %"},
        {"1", 7.999, "Desnutrição", "7,999 %"}, {"1", 8, "", "8,000 %"}, {"1", 8.5, "", "8,500 %"},
        {"1", 8.9996, "Normal", "9,000 %"}, {"1", 22, "Normal", "22,000 %"},
        {"1", 23, "Dentro da Média", "23,000 %"}, {"1", 24, "Acima da Média", "24,000 %"},
        {"1", 31, "", "31,000 %"}, {"1", 31.5, "", "31,500 %"}, {"1", 32, "Obesidade", "32,000 %"},
        {"1", kNoRow, "Sem classificação na referência informada.", ""},
        {"2", 20, "Sem classificação", ""},
    };
    // clang-format on
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "sex " << r.sexCode << " fat " << r.fat);
        answer = r.fat;
        patient(QLatin1String(r.sexCode), 32);
        form->cdsResuAval.clear();
        grid(values({{"03", "5"}, {"04", "10,5"}, {"05", "12"}, {"06", "13"}}));
        Evaluation ev = evaluation(QStringLiteral("16"), QStringLiteral("11"));
        Calcula_SomaPrega(ev);
        const QMap<QString, ResultLine> written = lines(QStringLiteral("16"));
        ASSERT_EQ(written.size(), 1);
        EXPECT_EQ(written.first(),
                  (ResultLine{QString::fromUtf8(r.label), QString::fromUtf8(r.value)}));
    }
    EXPECT_EQ(callsOf("GetCalcSomaPrega"), static_cast<int>(std::size(rows)) - 1);
    const QJsonArray args = lastArgs("GetCalcSomaPrega");
    EXPECT_EQ(args, (QJsonArray{"F", "11", 32.0, 40.5}));

    // One skinfold missing, or a sum of 0: nothing written, nothing asked.
    for (const auto& gridValues : {values({{"03", "5"}, {"04", "10"}, {"05", "12"}}),
                                   values({{"03", "0"}, {"04", "0"}, {"05", "0"}, {"06", "0"}}),
                                   values({{"03", "5"}, {"04", ""}, {"05", "12"}, {"06", "13"}})}) {
        form->cdsResuAval.clear();
        grid(gridValues);
        Evaluation ev = evaluation(QStringLiteral("16"), QStringLiteral("11"));
        Calcula_SomaPrega(ev);
        EXPECT_TRUE(lines(QStringLiteral("16")).isEmpty());
    }
    EXPECT_EQ(callsOf("GetCalcSomaPrega"), static_cast<int>(std::size(rows)) - 1);
}

TEST_F(BodyFatFamily, BioimpedanceAgainstTheIdealOfSexAndAge)
{
    struct Row
    {
        const char* sexCode;
        int years;
        const char* fat;
        QStringList expected;  // ideal, classification
    };
    // clang-format off
    const Row rows[] = {
        {"1", 19, "20", {"20", "Normal"}}, {"1", 19, "20,5", {"20", "Acima do Normal"}},
        {"1", 18, "20", {}}, {"0", 60, "19", {"20", "Abaixo do Normal"}},
        {"0", 29, "16", {"16", "Normal"}}, {"0", 30, "16", {"17", "Abaixo do Normal"}},
        {"0", 59, "19", {"19", "Normal"}}, {"1", 45, "23", {"22", "Acima do Normal"}},
        {"1", 90, "24", {"24", "Normal"}}, {"3", 35, "21", {"21", "Normal"}},
        {"0", 40, "0", {}}, {"0", 40, "", {}},
    };
    // clang-format on
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "sex " << r.sexCode << " age " << r.years);
        patient(QLatin1String(r.sexCode), r.years);
        form->cdsResuAval.clear();
        grid(values({{"14", r.fat}}));
        Evaluation ev = evaluation(QStringLiteral("17"));
        Calcula_BiaGordura(ev);
        const QMap<QString, ResultLine> written = lines(QStringLiteral("17"));
        EXPECT_EQ(results(written), r.expected);
        if (!written.isEmpty()) {
            EXPECT_EQ(written.first().label, QStringLiteral("Bia Gordura Ideal"));
            EXPECT_EQ(written.last().label, QStringLiteral("Bia Classificação"));
        }
    }
}

TEST_F(BodyFatFamily, AMeasureThatIsNotANumberFailsAndWritesNothing)
{
    patient(QStringLiteral("0"), 20);
    grid(values({{"01", "7O"},
                 {"03", "5"},
                 {"04", "10"},
                 {"05", "12"},
                 {"06", "13"},
                 {"14", "2x"},
                 {"38", "15"}}));
    Evaluation siri = evaluation(QStringLiteral("29"));
    EXPECT_THROW(Calcula_Siri(siri), hostfw::ConversionError);
    Evaluation bia = evaluation(QStringLiteral("17"));
    EXPECT_THROW(Calcula_BiaGordura(bia), hostfw::ConversionError);
    EXPECT_TRUE(form->cdsResuAval.isEmpty());
}
