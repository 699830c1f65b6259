// The estimate dialog's core: the Chumlea equations by sex, age band and set, and the
// estimates written into the weight and height of a consultation on a real server.

#include "consultation_fixture.h"

#include "dialogs/estimate_dialog.h"

using dialogs::EstimateDialog;
using workspacetest::ConsultationTest;

namespace {

using Estimate = EstimateDialog::Estimate;
constexpr int k1987 = EstimateDialog::kChumlea1987;
constexpr int k1988 = EstimateDialog::kChumlea1988;

const QString kWeight1988 = "Peso Estimado Chumlea (1988)";
const QString kHeight1988 = "Altura Estimada Chumlea (1988)";
const QString kWeight1987 = "Peso Estimado Chumlea (1987)";
const QString kHeight1987 = "Altura Estimada Chumlea (1987)";

// Birth dates giving these coded ages at the consultation of 2026-12-06.
const QDate kAge70(1956, 12, 6);
const QDate kAge30(1996, 12, 6);
const QDate kAge25_06(2001, 6, 6);
const QDate kAge4(2022, 12, 6);

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

namespace dialogs {
void PrintTo(const EstimateDialog::Estimate& e, std::ostream* os)
{
    *os << '{' << e.dataType.toStdString() << ", " << e.value.toStdString() << ", "
        << e.observation.toStdString() << ", " << e.stored << '}';
}
}  // namespace dialogs

TEST(ChumleaEquations, WeightByBandSexAndSetAndHeightBySex)
{
    struct Case
    {
        const char* sex;
        double age;
        double knee, arm;
        std::optional<double> weight;  // 1987
    };
    // K and B in cm; the expected weights worked by hand from the coefficients.
    const Case cases[] = {
        {"M", 12.05, 45, 22, 38.60},  // 0,68 x 45 + 2,64 x 22 - 50,08
        {"M", 6.00, 45, 22, 38.60},   // 6 years is in the first band
        {"M", 19.00, 50, 30, 68.98},  // 1,19 x 50 + 3,21 x 30 - 86,82
        {"M", 59.11, 50, 30, 68.98},  // 59 years 11 months: still the second band
        {"M", 60.00, 50, 30, 71.29},  // 1,1 x 50 + 3,07 x 30 - 75,81
        {"F", 18.11, 45, 22, 38.83},  // 0,77 x 45 + 2,47 x 22 - 50,16
        {"F", 25.06, 50, 30, 68.76},  // 1,01 x 50 + 2,81 x 30 - 66,04
        {"F", 70.00, 50, 30, 69.39},  // 1,09 x 50 + 2,68 x 30 - 65,51
        {"D", 25.06, 50, 30, 68.76},  // any letter but "M" takes the women's equations
        {"M", 5.11, 45, 22, std::nullopt}, {"F", 0.03, 45, 22, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.sex << " " << c.age);
        const auto weight = dialogs::chumleaWeight1987(c.sex, c.age, c.knee, c.arm);
        ASSERT_EQ(weight.has_value(), c.weight.has_value());
        if (weight) {
            EXPECT_NEAR(*weight, *c.weight, 1e-9);
        }
    }
    // calf 35, knee 50, arm 30, subscapular 15 mm
    EXPECT_NEAR(dialogs::chumleaWeight1988("M", 35, 50, 30, 15), 68.06, 1e-9);
    EXPECT_NEAR(dialogs::chumleaWeight1988("F", 35, 50, 30, 15), 61.00, 1e-9);
    EXPECT_NEAR(dialogs::chumleaHeight("M", 50, 70), 162.39, 1e-9);  // 64,19 + 101 - 2,8
    EXPECT_NEAR(dialogs::chumleaHeight("F", 50, 70), 159.58, 1e-9);  // 84,88 + 91,5 - 16,8
}

class EstimateDialogTest : public ConsultationTest
{
protected:
    // The result page of a consultation whose methods (body mass index and oedema
    // weight) both need the weight.
    workspace::AssessmentForm& openOnResults(const QString& patient, const QString& sex,
                                             const QDate& birth)
    {
        if (form)
            form->FormClose();
        workspace::AssessmentForm& f = open(patient, sex, birth);
        for (const char* code : {"00", "58"})
            EXPECT_TRUE(f.methodPage().selectMethod(QString::fromLatin1(code)));
        enterResults();
        return f;
    }
};

TEST_F(EstimateDialogTest, TheCalfAndSkinfoldAreEnabledExactlyWithThe1988Set)
{
    EstimateDialog d(open("960000000001"));
    EXPECT_EQ(d.rdgChumlea, k1988);  // as the dialog opens
    const struct
    {
        int click;
        int selected;
        bool enabled;
    } rows[] = {{k1987, k1987, false},
                {k1988, k1988, true},
                {k1987, k1987, false},
                {5, k1987, false}};  // an index that is no item changes nothing
    for (const auto& r : rows) {
        d.rdgChumleaClick(r.click);
        EXPECT_EQ(d.rdgChumlea, r.selected) << r.click;
        EXPECT_EQ(d.calfAndSkinfoldEnabled(), r.enabled) << r.click;
    }
}

TEST_F(EstimateDialogTest, EstimatesAreWrittenToEveryMethodWithTheirObservation)
{
    struct Case
    {
        const char* patient;
        const char* sex;
        QDate birth;
        int set;
        const char *knee, *calf, *arm, *skinfold;
        QList<Estimate> expected;
    };
    const Case cases[] = {
        // a man of 70 years 0 months: 162,39 cm stored in metres
        {"960000000011",
         "0",
         kAge70,
         k1988,
         "50",
         "35",
         "30",
         "15",
         {{"01", "68,06", kWeight1988, true}, {"02", "1,62", kHeight1988, true}}},
        // a woman of 25 years 6 months: the second band; 170,3656 cm
        {"960000000012",
         "1",
         kAge25_06,
         k1987,
         "50",
         "",
         "30",
         "",
         {{"01", "68,76", kWeight1987, true}, {"02", "1,70", kHeight1987, true}}},
        // the calf left empty: no weight, the height all the same (159,58 cm)
        {"960000000013",
         "1",
         kAge70,
         k1988,
         "50",
         "",
         "30",
         "15",
         {{"02", "1,60", kHeight1988, true}}},
        // a man of 30, typed with a point and with a comma
        {"960000000014",
         "0",
         kAge30,
         k1987,
         "50.0",
         "",
         "30,0",
         "",
         {{"01", "68,98", kWeight1987, true}, {"02", "1,64", kHeight1987, true}}},
        // a zero knee height: nothing at all, and no message
        {"960000000015", "0", kAge30, k1988, "0", "35", "30", "15", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.patient);
        openOnResults(c.patient, c.sex, c.birth);
        EstimateDialog d(*form);
        d.rdgChumleaClick(c.set);
        d.nedJoelho = c.knee;
        d.nedPantu = c.calf;
        d.nedCMB = c.arm;
        d.nedPCS = c.skinfold;
        EXPECT_EQ(d.sbtConfirmaClick(), c.expected);
        for (const QString type : {"01", "02"}) {
            const auto it = std::find_if(c.expected.begin(), c.expected.end(),
                                         [&](const Estimate& e) { return e.dataType == type; });
            const Recorded want =
                it == c.expected.end() ? Recorded{} : Recorded{it->value, it->observation};
            EXPECT_EQ(gridValue(type), want.value) << type.toStdString();
            // oedema weight ("58") needs the weight only
            for (const QString method : {"00", "58"}) {
                if (type == u"01" || method == u"00") {
                    EXPECT_EQ(recorded(type).value(method), want)
                        << type.toStdString() << " " << method.toStdString();
                }
            }
        }
        EXPECT_FALSE(form->resultPage().estimateFlag);
        EXPECT_TRUE(errors.messages().isEmpty()) << errors.last().toStdString();
    }
}

TEST_F(EstimateDialogTest, AnEstimateReplacesATypedWeightAndKeepsItsObservation)
{
    workspace::AssessmentForm& f = openOnResults("960000000021", "0", kAge70);
    ASSERT_TRUE(f.resultPage().recordValue("01", "80"));
    ASSERT_TRUE(f.cdsDadosAval.locate("CDTIPODADO", "01"));

    EstimateDialog d(f);
    d.nedJoelho = "50";
    d.nedPantu = "35";
    d.nedCMB = "30";
    d.nedPCS = "15";
    d.sbtConfirmaClick();
    EXPECT_EQ(recorded("01").value("58"), (Recorded{"68,06", kWeight1988}));
    EXPECT_EQ(gridValue("01", "DSOBSERAVAL"), kWeight1988);
    EXPECT_EQ(f.cdsDadosAval.asString("CDTIPODADO"), "01");  // back on its row
    EXPECT_FALSE(f.cdsDadosAval.isEditing());

    // the page shown again reads it back as written; a typed value drops it again
    enterMethods();
    enterResults();
    EXPECT_EQ(gridValue("01", "DSOBSERAVAL"), kWeight1988);
    ASSERT_TRUE(f.resultPage().recordValue("01", "81"));
    EXPECT_EQ(recorded("01").value("00"), (Recorded{"81", ""}));
    EXPECT_EQ(recorded("02").value("00"), (Recorded{"1,62", kHeight1988}));
}

TEST_F(EstimateDialogTest, AWrongMeasurementIsRefusedWithNothingWritten)
{
    workspace::AssessmentForm& f = openOnResults("960000000031", "0", kAge70);
    ASSERT_TRUE(f.resultPage().recordValue("01", "80"));
    const struct
    {
        int set;
        const char *knee, *calf, *arm, *skinfold;
        QString message;
    } rows[] = {
        {k1988, "5o", "35", "30", "15",
         "'5o' não é um valor de ponto flutuante válido para o campo 'Altura do Joelho'."},
        {k1987, "50", "", "30,5,1", "",
         "'30,5,1' não é um valor de ponto flutuante válido para o campo "
         "'Circunferência do Braço'."},
        {k1988, "50", "abc", "30", "15",
         "'abc' não é um valor de ponto flutuante válido para o campo "
         "'Circunferência da Panturrilha'."},
        {k1988, "50", "35", "30", "-3",
         "'-3' não é uma medida válida para o campo 'Prega Cutânea Subscapular'."},
        // a weight of 1,1 x 40 + 3,07 x 5 - 75,81 kg at 70
        {k1987, "40", "", "5", "",
         "Um peso estimado de -16,46 kg não é possível: confira as medidas. Nada foi gravado."},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.message.toStdString());
        EstimateDialog d(f);
        d.rdgChumleaClick(r.set);
        d.nedJoelho = r.knee;
        d.nedPantu = r.calf;
        d.nedCMB = r.arm;
        d.nedPCS = r.skinfold;
        server.clearTraffic();
        expectRefused([&] { d.sbtConfirmaClick(); }, r.message);
        EXPECT_EQ(writes(server), QStringList());
        EXPECT_EQ(recorded("01").value("00"), (Recorded{"80", ""}));
        EXPECT_EQ(recorded("02").value("00"), Recorded{});
        EXPECT_FALSE(f.resultPage().estimateFlag);
    }

    // the 1987 set leaves the calf and skinfold out, whatever they hold
    EstimateDialog d(f);
    d.rdgChumleaClick(k1987);
    d.nedJoelho = "50";
    d.nedPantu = "abc";
    d.nedCMB = "30";
    d.nedPCS = "-3";
    EXPECT_EQ(d.sbtConfirmaClick().size(), 2);
    EXPECT_EQ(gridValue("01"), "71,29");
}

TEST_F(EstimateDialogTest, The1987SetHasNoWeightBelowSixYears)
{
    workspace::AssessmentForm& f = openOnResults("960000000041", "0", kAge4);
    EstimateDialog d(f);
    EXPECT_EQ(d.weightNotice(), "");  // the 1988 set has an equation
    d.rdgChumleaClick(k1987);
    const QString notice = "Chumlea (1987) não tem equação de peso para menores de 6 anos.";
    EXPECT_EQ(d.weightNotice(), notice);
    d.nedJoelho = "30";
    d.nedCMB = "15";
    server.clearTraffic();
    expectRefused([&] { d.sbtConfirmaClick(); }, notice + " Nada foi gravado.");
    EXPECT_EQ(writes(server), QStringList());
    EXPECT_EQ(gridValue("01"), "");

    // no weight asked: the height (64,19 + 60,6 - 0,16 = 124,63 cm) is stored
    d.nedCMB.clear();
    EXPECT_EQ(d.sbtConfirmaClick(), (QList<Estimate>{{"02", "1,25", kHeight1987, true}}));
    EXPECT_EQ(gridValue("01"), "");
}

TEST_F(EstimateDialogTest, NothingIsWrittenForADeceasedPatient)
{
    workspace::AssessmentForm& f = open("960000000051", "0", kAge70, true);
    enterResults();
    EstimateDialog d(f);
    d.nedJoelho = "50";
    server.clearTraffic();
    EXPECT_TRUE(d.sbtConfirmaClick().isEmpty());
    EXPECT_EQ(writes(server), QStringList());
}
