// The page "Recomendação de Nutriente" against a real server: the amounts per kilogram
// and per day at the current, ideal and adequate weights, the patient types by sex, the
// posting checks in their order, deletion, the calculation pass, and hostile nutrient
// codes refused with nothing written.

#include "consultation_fixture.h"

#include "hostfw/confirm.h"
#include "recommendation/nutrient_amounts.h"
#include "records/packet_codec.h"
#include "records/write_through.h"
#include "workspace/recommendation_page.h"

using namespace workspace;
using workspacetest::ConsultationTest;

namespace {

// What the server holds for one nutrient of a recommendation.
struct Stored
{
    QString current, idealWeight, ideal, adequateWeight, adequate, type;
    bool operator==(const Stored&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Stored& s)
{
    return os << '[' << s.current.toStdString() << " | " << s.idealWeight.toStdString() << " | "
              << s.ideal.toStdString() << " | " << s.adequateWeight.toStdString() << " | "
              << s.adequate.toStdString() << " | " << s.type.toStdString() << ']';
}

}  // namespace

class RecommendationPageTest : public ConsultationTest
{
protected:
    // Opens the patient's consultation with a recorded weight and height (none when
    // empty) and enters the page.
    AssessmentForm& openOnPage(const QString& patient, const QString& sexCode,
                               const QString& weight, const QString& height = {})
    {
        AssessmentForm& f = open(patient, sexCode, QDate(1996, 3, 10));
        if (!weight.isEmpty())
            storeRecorded(QStringLiteral("01"), QStringLiteral("01"), weight);
        if (!height.isEmpty())
            storeRecorded(QStringLiteral("01"), QStringLiteral("02"), height);
        recommendation::RecommendationPass::installRoutine(f);
        pass.install(run);
        f.setCalculationRun(&run);
        f.showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshNutrRecom);
        return f;
    }
    RecommendationPage& page() { return form->recommendationPage(); }

    // A new recommendation typed and posted as the user would.
    void recommend(const QString& reference, const QString& group, const QStringList& codes)
    {
        page().include();
        page().typeCode(QStringLiteral("CDRFNUTRECOM"), reference);
        page().typeCode(QStringLiteral("CDGRUPNUTR"), group);
        page().chooseNutrients(codes);
        page().post();
    }

    // The nutrient rows the server holds for the consultation, by reference, group and
    // nutrient ("01/01/002").
    QMap<QString, Stored> stored()
    {
        records::DataSet rows(records::layouts::cdsNutrePaci());
        rows.loadPacket(records::packetAt(
            records::checkReply(server.client().GetDados(form->key(), form->codedAge())), 7));
        QMap<QString, Stored> out;
        for (int r = 0; r < rows.recordCount(); ++r) {
            const auto at = [&](const char* f) {
                return rows.asStringAt(r, QString::fromLatin1(f));
            };
            out.insert(at("CDRFNUTRECOM") + u'/' + at("CDGRUPNUTR") + u'/' + at("CDNUTRIENTE"),
                       {at("DSNUTPEATUAL"), at("DSPESOIDEAL"), at("DSNUTPEIDEAL"),
                        at("DSPESOADEQU"), at("DSNUTPEADEQU"), at("IDTPCOMPACI")});
        }
        return out;
    }

    recommendation::RecommendationPass pass;
    CalculationRun run;
};

TEST_F(RecommendationPageTest, PerKilogramAmountsAreTheMiddleOfTheRangeTimesTheWeight)
{
    // RDA 1989, women of 25 to 50 years: energy 34.9 kcal/kg, protein 0.8 g/kg.
    AssessmentForm& f = openOnPage("940000000001", "1", "60,00");
    EXPECT_EQ(page().medPesoRec, "60,00");
    EXPECT_EQ(f.medPesoAdRec, "0");
    recommend("1", "1", {"001", "002"});
    EXPECT_EQ(stored(), (QMap<QString, Stored>{{"01/01/001", {"2.094,000", "", "", "", "", "0"}},
                                               {"01/01/002", {"48,000", "", "", "", "", "0"}}}));
    // The page shows the recommendation by name, and its rows (the nutrients' names: the
    // window's RecommendationTabTest).
    ASSERT_EQ(f.cdsNutrRefe.recordCount(), 1);
    EXPECT_EQ(f.cdsNutrRefe.displayText("CDRFNUTRECOM"),
              "RDA 1989 - Recommended Dietary Allowances (NRC)");
    EXPECT_EQ(f.cdsNutrRefe.asString("CODSNUTRESC"), "_001_002_");
    EXPECT_EQ(f.cdsNutrePaci.recordCount(), 2);

    // Calculate again with an adequate weight: the rows are rewritten with it.
    f.medPesoAdRec = "50";
    f.sbtCalcularClick();
    EXPECT_EQ(stored().value("01/01/002"), (Stored{"48,000", "", "", "50,00 Kg", "40,000", "0"}));
    EXPECT_EQ(stored().size(), 2);
}

TEST_F(RecommendationPageTest, ARangeOfIdealWeightsGivesTwoAmountsPerKilogramAndOnePerDay)
{
    // IMC-OMS at 1,60 m: 18,5 and 24,9 times 2,56 = 47,36 and 63,744 kg.
    AssessmentForm& f = openOnPage("940000000002", "1", "60,00", "1,60");
    f.cbbPesoIdealRecIndex = f.cbbPesoIdealRec.indexOf("Peso Ideal (IMC-OMS)");
    ASSERT_GE(f.cbbPesoIdealRecIndex, 0);
    recommend("01", "01", {"002"});
    // DRI, women of 19 to 30: calcium 1000 mg per day.
    recommend("02", "03", {"023"});
    const QMap<QString, Stored> rows = stored();
    EXPECT_EQ(rows.value("01/01/002"),
              (Stored{"48,000", "47,360 - 63,744 Kg", "37,888 - 50,995", "", "", "0"}));
    EXPECT_EQ(rows.value("02/03/023"),
              (Stored{"1.000,000", "47,360 - 63,744 Kg", "1.000,000", "", "", "0"}));
}

TEST_F(RecommendationPageTest, PatientTypesFollowTheSexAndAreStoredByTheirItem)
{
    openOnPage("940000000003", "0", "70,00");
    EXPECT_EQ(page().cbbTipoPaci, (QStringList{"Normal", "Atleta"}));
    EXPECT_FALSE(page().choosePatientType("Gestante"));
    ASSERT_TRUE(page().choosePatientType("Atleta"));
    EXPECT_EQ(page().patientTypeCode(), "3");
    recommend("01", "01", {"002"});
    EXPECT_EQ(stored().value("01/01/002").type, "1");
    // Reopened, the list shows the stored type.
    form->showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshMetodoEnerg);
    form->showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshNutrRecom);
    EXPECT_EQ(page().cbbTipoPaciIndex, 1);

    // A woman also has the pregnant and lactating types, sent as "1" and "2".
    form.reset();
    openOnPage("940000000004", "1", "60,00");
    EXPECT_EQ(page().cbbTipoPaci, (QStringList{"Normal", "Atleta", "Gestante", "Nutriz"}));
    for (const auto& [text, code] : {std::pair{"Gestante", "1"}, std::pair{"Nutriz", "2"}}) {
        ASSERT_TRUE(page().choosePatientType(QString::fromUtf8(text)));
        EXPECT_EQ(page().patientTypeCode(), code);
    }
}

TEST_F(RecommendationPageTest, PostingChecksComeInTheirOrderAndKeepTheRowInEdit)
{
    AssessmentForm& f = openOnPage("940000000005", "1", "60,00");
    recommend("01", "01", {"001"});
    const QMap<QString, Stored> before = stored();

    struct Case
    {
        const char* reference;
        const char* group;
        QStringList codes;
        const char* message;
    };
    const char* const noNutrient =
        "Não existe nutriente cadastrado para referência e grupo de nutriente informado.";
    // clang-format off
    for (const Case& c : {
             Case{"", "", {}, "Referencia deve ser informada."},
             Case{"01", "", {}, "Grupo de nutrientes deve ser informado."},
             Case{"01", "01", {"002"}, "Referência já cadastrada."},
             Case{"01", "02", {}, noNutrient},
             Case{"01", "02", {"010"}, noNutrient},  // RDA 1989 has no vitamins
         }) {
        // clang-format on
        page().include();
        if (*c.reference)
            page().typeCode("CDRFNUTRECOM", c.reference);
        if (*c.group)
            page().typeCode("CDGRUPNUTR", c.group);
        if (!c.codes.isEmpty())
            page().chooseNutrients(c.codes);
        expectRefused([&] { page().post(); }, QString::fromUtf8(c.message));
        EXPECT_TRUE(f.cdsNutrRefe.isEditing()) << c.message;
        page().cancel();
    }
    EXPECT_EQ(stored(), before);

    // Typed codes that the lists do not hold end the column exit.
    page().include();
    expectRefused([&] { page().typeCode("CDRFNUTRECOM", "9"); }, "Referência não cadastrada.");
    expectRefused([&] { page().typeCode("CDGRUPNUTR", "123"); },
                  "Grupo de nutriente não cadastrado.");
    page().typeCode("CDGRUPNUTR", "3");
    EXPECT_EQ(f.cdsNutrRefe.asString("CDGRUPNUTR"), "03");
    EXPECT_EQ(f.cdsNutrRefe.asString("NMGRUPNUTR"), "Minerais");
    page().cancel();
}

TEST_F(RecommendationPageTest, WithoutAnyWeightEveryNutrientIsSkipped)
{
    AssessmentForm& f = openOnPage("940000000006", "1", QString());
    EXPECT_EQ(page().medPesoRec, "");
    recommend("01", "01", {"001", "002"});
    recommend("02", "03", {"023", "028"});
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_TRUE(f.cdsNutrRefe.isEmpty());
}

TEST_F(RecommendationPageTest, HostileNutrientCodesAreRefusedWithNothingWritten)
{
    AssessmentForm& f = openOnPage("940000000007", "1", "60,00");
    recommend("02", "03", {"023"});
    const QMap<QString, Stored> before = stored();
    ASSERT_EQ(before.size(), 1);

    // Chosen by code: not three digits, or not of the group.
    for (const char* code : {"01", "0100", "02'3", "023; DELETE FROM nutrepaci", "010", " 023"}) {
        f.cdsNutrRefe.edit();
        errors.clear();
        EXPECT_THROW(page().chooseNutrients({QString::fromUtf8(code)}), hostfw::Abort) << code;
        page().cancel();
    }
    // A chosen-codes text that reaches the server anyway ("01" must not match "010").
    for (const char* text : {"_01_", "_0100_", "_023_'--", "023", "_023__028_"}) {
        f.cdsNutrRefe.edit();
        page().chosenCodes = QString::fromUtf8(text);
        EXPECT_ANY_THROW(page().post()) << text;
        page().cancel();
    }
    EXPECT_EQ(stored(), before);
    // An adequate weight that is not a number is refused before the rows are deleted.
    f.medPesoAdRec = "sessenta";
    f.cdsNutrRefe.edit();
    expectRefused([&] { page().post(); }, "Peso Adequado deve ser um número.");
    page().cancel();
    EXPECT_EQ(stored(), before);
}

TEST_F(RecommendationPageTest, DeletingAsksFirstAndTakesTheNutrientRowsAlong)
{
    AssessmentForm& f = openOnPage("940000000008", "1", "60,00");
    recommend("01", "01", {"001", "002"});
    recommend("02", "03", {"023"});
    ASSERT_EQ(stored().size(), 3);
    ASSERT_TRUE(f.cdsNutrRefe.locate("CDRFNUTRECOM;CDGRUPNUTR", {"01", "01"}));
    {
        hostfw::ConfirmRecorder no({false});
        EXPECT_FALSE(page().deleteRecommendation());
        EXPECT_EQ(no.questions(), QStringList{"Confirma exclusão?"});
    }
    EXPECT_EQ(stored().size(), 3);
    hostfw::ConfirmRecorder yes({true});
    EXPECT_TRUE(page().deleteRecommendation());
    EXPECT_EQ(stored().keys(), QStringList{"02/03/023"});
    EXPECT_EQ(f.cdsNutrRefe.recordCount(), 1);
}
