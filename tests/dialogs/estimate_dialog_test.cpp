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

// Birth dates giving these coded ages at the consultation of 2026-12-06.
const QDate kAge70(1956, 12, 6);
const QDate kAge25_06(2001, 6, 6);

}  // namespace

TEST(ChumleaEquations, WeightByBandSexAndSetAndHeightBySex)
{
    // 1987: knee K and arm B in cm, worked by hand from the coefficients
    const struct
    {
        const char* sex;
        double age, knee, arm;
        std::optional<double> weight;
    } cases[] = {
        {"M", 6.00, 45, 22, 38.60},   // 0,68 K + 2,64 B - 50,08 from 6 years
        {"M", 19.00, 50, 30, 68.98},  // 1,19 K + 3,21 B - 86,82
        {"M", 59.11, 50, 30, 68.98},  // 59 years 11 months: still the second band
        {"M", 60.00, 50, 30, 71.29},  // 1,1 K + 3,07 B - 75,81
        {"F", 18.11, 45, 22, 38.83},  // 0,77 K + 2,47 B - 50,16
        {"F", 25.06, 50, 30, 68.76},  // 1,01 K + 2,81 B - 66,04
        {"F", 70.00, 50, 30, 69.39},  // 1,09 K + 2,68 B - 65,51
        {"D", 25.06, 50, 30, 68.76},  // any letter but "M" takes the women's equations
        {"M", 5.11, 45, 22, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto weight = dialogs::chumleaWeight1987(c.sex, c.age, c.knee, c.arm);
        ASSERT_EQ(weight.has_value(), c.weight.has_value()) << c.sex << " " << c.age;
        EXPECT_NEAR(weight.value_or(0), c.weight.value_or(0), 1e-9) << c.sex << " " << c.age;
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
    // The result page of a consultation with body mass index and oedema weight ("58",
    // which needs the weight only), and the dialog filled in.
    EstimateDialog& fill(const QString& patient, const QString& sex, const QDate& birth, int set,
                         const QStringList& knee_calf_arm_skinfold)
    {
        if (!form) {
            open(patient, sex, birth);
            for (const char* code : {"00", "58"})
                EXPECT_TRUE(form->methodPage().selectMethod(QString::fromLatin1(code)));
            enterResults();
        }
        dialog = std::make_unique<EstimateDialog>(*form);
        dialog->rdgChumleaClick(set);
        dialog->nedJoelho = knee_calf_arm_skinfold.value(0);
        dialog->nedPantu = knee_calf_arm_skinfold.value(1);
        dialog->nedCMB = knee_calf_arm_skinfold.value(2);
        dialog->nedPCS = knee_calf_arm_skinfold.value(3);
        return *dialog;
    }
    int writes() const
    {
        return int(server.calledMethods().filter(QRegularExpression("^Set")).size());
    }

    std::unique_ptr<EstimateDialog> dialog;
};

// Which edits each set enables is tried on the widgets (tfrm_calc_estimado_test.cpp).
TEST_F(EstimateDialogTest, AnUnknownSetLeavesTheChoiceAsItWas)
{
    EstimateDialog d(open("960000000001"));
    d.rdgChumleaClick(k1987);
    d.rdgChumleaClick(5);
    EXPECT_EQ(d.rdgChumlea, k1987);
    EXPECT_FALSE(d.calfAndSkinfoldEnabled());
}

TEST_F(EstimateDialogTest, EstimatesAreWrittenWithTheirObservationForEveryMethod)
{
    const struct
    {
        const char* patient;
        const char* sex;
        QDate birth;
        int set;
        QStringList inputs;
        QList<Estimate> expected;
    } cases[] = {
        // a man of 70 years 0 months: 162,39 cm stored in metres
        {"960000000011",
         "0",
         kAge70,
         k1988,
         {"50", "35", "30", "15"},
         {{"01", "68,06", "Peso Estimado Chumlea (1988)", true},
          {"02", "1,62", "Altura Estimada Chumlea (1988)", true}}},
        // a woman of 25 years 6 months, typed with a point and a comma: 170,3656 cm
        {"960000000012",
         "1",
         kAge25_06,
         k1987,
         {"50.0", "", "30,0"},
         {{"01", "68,76", "Peso Estimado Chumlea (1987)", true},
          {"02", "1,70", "Altura Estimada Chumlea (1987)", true}}},
        // the calf left empty: the height only (159,58 cm)
        {"960000000013",
         "1",
         kAge70,
         k1988,
         {"50", "", "30", "15"},
         {{"02", "1,60", "Altura Estimada Chumlea (1988)", true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.patient);
        if (form)
            form->FormClose();
        form.reset();
        EXPECT_EQ(fill(c.patient, c.sex, c.birth, c.set, c.inputs).sbtConfirmaClick(), c.expected);
        const Estimate none;
        const Estimate& weight = c.expected.size() == 2 ? c.expected[0] : none;
        const Estimate& height = c.expected.last();
        EXPECT_EQ(gridValue("01"), weight.value);
        EXPECT_EQ(gridValue("02", "DSOBSERAVAL"), height.observation);
        EXPECT_EQ(recorded("01").value("58"), (Recorded{weight.value, weight.observation}));
        EXPECT_EQ(recorded("02").value("00"), (Recorded{height.value, height.observation}));
        EXPECT_FALSE(form->resultPage().estimateFlag);
        EXPECT_TRUE(errors.messages().isEmpty()) << errors.last().toStdString();
    }
}

TEST_F(EstimateDialogTest, AWrongMeasurementIsRefusedAndAnEstimateReplacesATypedWeight)
{
    fill("960000000031", "0", kAge70, k1988, {});
    ASSERT_TRUE(form->resultPage().recordValue("01", "80"));
    const struct
    {
        int set;
        QStringList inputs;
        QString message;
    } rows[] = {
        // clang-format off
        {k1988, {"5o", "35", "30", "15"}, "'5o' não é um valor de ponto flutuante válido para o campo 'Altura do Joelho'."},
        {k1987, {"50", "", "30,5,1"}, "'30,5,1' não é um valor de ponto flutuante válido para o campo 'Circunferência do Braço'."},
        {k1988, {"50", "35", "30", "-3"}, "'-3' não é uma medida válida para o campo 'Prega Cutânea Subscapular'."},
        // 1,1 x 40 + 3,07 x 5 - 75,81 at 70
        {k1987, {"40", "", "5"}, "Um peso estimado de -16,46 kg não é possível: confira as medidas. Nada foi gravado."},
        // clang-format on
    };
    for (const auto& r : rows) {
        server.clearTraffic();
        EstimateDialog& d = fill("", "", {}, r.set, r.inputs);
        expectRefused([&] { d.sbtConfirmaClick(); }, r.message);
        EXPECT_EQ(writes(), 0) << r.message.toStdString();
        EXPECT_EQ(recorded("01").value("00"), (Recorded{"80", ""}));
        EXPECT_FALSE(form->resultPage().estimateFlag);
    }
    // the estimate replaces the typed weight, the 1987 set leaving out the calf and
    // skinfold whatever they hold, and the observation survives the post check
    EXPECT_EQ(fill("", "", {}, k1987, {"50", "abc", "30", "-3"}).sbtConfirmaClick().size(), 2);
    EXPECT_EQ(recorded("01").value("00"), (Recorded{"71,29", "Peso Estimado Chumlea (1987)"}));
    EXPECT_EQ(form->cdsDadosAval.asString("CDTIPODADO"), "01");  // back on its row
    // read back as written; a typed value drops the observation again
    enterMethods();
    enterResults();
    EXPECT_EQ(gridValue("01", "DSOBSERAVAL"), "Peso Estimado Chumlea (1987)");
    ASSERT_TRUE(form->resultPage().recordValue("01", "81"));
    EXPECT_EQ(recorded("01").value("00"), (Recorded{"81", ""}));
}

TEST_F(EstimateDialogTest, The1987SetHasNoWeightBelowSixYears)
{
    EstimateDialog& d = fill("960000000041", "0", QDate(2022, 12, 6), k1987, {"30", "", "15"});
    const QString notice = "Chumlea (1987) não tem equação de peso para menores de 6 anos.";
    EXPECT_EQ(d.weightNotice(), notice);
    server.clearTraffic();
    expectRefused([&] { d.sbtConfirmaClick(); }, notice + " Nada foi gravado.");
    EXPECT_EQ(writes(), 0);

    // no weight asked: the height (64,19 + 60,6 - 0,16 = 124,63 cm) is stored
    d.nedCMB.clear();
    EXPECT_EQ(d.sbtConfirmaClick(),
              (QList<Estimate>{{"02", "1,25", "Altura Estimada Chumlea (1987)", true}}));
    d.rdgChumleaClick(k1988);
    EXPECT_EQ(d.weightNotice(), "");
}
