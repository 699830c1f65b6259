// The energy tab's pages against a real server: the factors a new consultation gets,
// picks that reach only their own method, the panel stored for every method that needs
// it (creating the weight method when the consultation has none), bad panel values
// refused with nothing stored, and the read-only consultation.

#include "consultation_fixture.h"

#include "hostfw/pick_list.h"
#include "records/packet_codec.h"
#include "records/write_through.h"

using namespace workspace;
using workspacetest::ConsultationTest;

class EnergyPageTest : public ConsultationTest
{
protected:
    // A man of 40 with these energy methods selected, on "Avaliação/Resultado".
    AssessmentForm& openWithEnergyMethods(const QString& patient, const QStringList& codes)
    {
        AssessmentForm& f = open(patient, QStringLiteral("0"), QDate(1986, 5, 2));
        enterEnergy(EnergPage::tshMetodoEnerg);
        for (const QString& code : codes)
            EXPECT_TRUE(f.energyPage().selectMethod(code)) << code.toStdString();
        enterEnergy(EnergPage::tshResulEnerg);
        return f;
    }
    void enterEnergy(EnergPage page) { form->showPage(OuterPage::tshPadrao, std::nullopt, page); }
    // The "Valor" text the grid shows for a method's data type.
    QString shown(const QString& method, const QString& dataType)
    {
        records::DataSet& rows = form->cdsDadoAvalEnerg;
        for (int row = 0; row < rows.recordCount(); ++row) {
            if (rows.asStringAt(row, "CDTBMETOAVAL") == method
                && rows.asStringAt(row, "CDTIPODADO") == dataType)
                return rows.displayTextAt(row, "DSINFOAVAL");
        }
        return QStringLiteral("<sem linha>");
    }
};

TEST_F(EnergyPageTest, ANewConsultationGetsTheDefaultFactorsStoredAndShownByName)
{
    AssessmentForm& f = openWithEnergyMethods("930000000001", {"30", "32", "33"});
    // clang-format off
    for (const auto& [method, type, stored, text] : {
             std::tuple{"30", "23", "4", "Normal"},
             {"30", "24", "2", "Ambulante (1,30)"},
             {"32", "24", "0", "Muito Leve"},
             {"33", "24", "0", "Sem Atividade (500 Kcal)"}}) {
        // clang-format on
        EXPECT_EQ(recorded(type).value(method).value, stored) << method << '/' << type;
        EXPECT_EQ(shown(method, type), QString::fromUtf8(text)) << method << '/' << type;
    }
    // The injury factor is the neutral one of the server's table, by its code.
    EXPECT_EQ(recorded("25").value("30").value, "1");
    EXPECT_FALSE(shown("30", "25").isEmpty());
    EXPECT_EQ(f.energyPage().methodText("30"), "Harris-Benedict/Long");
    EXPECT_TRUE(f.actions().sbtCalcular);
    EXPECT_TRUE(f.actions().energyEdits);
    // The edit action is off while the user is in the result grid.
    f.energyPage().dbgResulEnergEnter();
    EXPECT_FALSE(f.actions().editButtons);
    f.energyPage().dbgResulEnergExit();
    EXPECT_TRUE(f.actions().editButtons);
}

TEST_F(EnergyPageTest, APickChangesOnlyTheFactorOfItsOwnMethod)
{
    AssessmentForm& f = openWithEnergyMethods("930000000002", {"32", "33"});
    ASSERT_TRUE(f.energyPage().chooseFactor("32", "24", "3"));
    EXPECT_EQ(shown("32", "24"), "Pesada");
    EXPECT_EQ(recorded("24").value("32").value, "3");
    EXPECT_EQ(recorded("24").value("33").value, "0");

    // A code the list does not hold is refused and changes nothing.
    expectRefused([&] { f.energyPage().chooseFactor("33", "24", "9"); },
                  "'9' não está na lista do dado '24' do método '33'.");
    EXPECT_EQ(recorded("24").value("33").value, "0");
}

TEST_F(EnergyPageTest, TheYesNoAndConditionListsShowTheirNames)
{
    AssessmentForm& f = openWithEnergyMethods("930000000003", {"31", "34"});
    hostfw::PickScript pick({hostfw::PickAnswer::where("CDFATOR", "1")});
    ASSERT_TRUE(f.cdsDadoAvalEnerg.locate("CDTBMETOAVAL;CDTIPODADO", {"34", "30"}));
    f.energyPage().dbgDadoAvalEnergEditButtonClick();
    ASSERT_EQ(pick.requests().size(), 1);
    EXPECT_EQ(pick.requests()[0].caption, "Obesidade");
    EXPECT_EQ(shown("34", "30"), "Sim");
    ASSERT_TRUE(f.energyPage().chooseFactor("31", "34", "5"));
    EXPECT_EQ(shown("31", "34"), "Queimadura ( < 30% superfície ), anabolismo");
}

TEST_F(EnergyPageTest, ThePanelIsStoredForEveryMethodThatNeedsIt)
{
    AssessmentForm& f = openWithEnergyMethods("930000000004", {"30", "31", "36"});
    const auto weightMethodStored = [&] {
        return !records::decodePacket(
                    records::checkReply(server.client().GetExistMetoAval(f.key(), "01")))
                    .rows.isEmpty();
    };
    ASSERT_FALSE(weightMethodStored());
    EnergyPage& page = f.energyPage();
    page.medPeso = "72.5";
    page.medAltura = "1,70";
    f.cbbPesoIdealIndex = 0;
    page.medPesoAdeq = "68";
    page.panAltPesoExit();

    // The weight method is recorded (unselected) to keep the weight of the consultation.
    EXPECT_TRUE(weightMethodStored());
    EXPECT_EQ(storedMethod("01").first, "N");
    const QMap<QString, Recorded> weights = recorded("01");
    for (const char* method : {"01", "30", "31", "36"})
        EXPECT_EQ(weights.value(method).value, "72,50") << method;
    EXPECT_EQ(recorded("02").value("30").value, "1,70");
    EXPECT_EQ(recorded("17").value("30").value, "0");
    EXPECT_EQ(recorded("18").value("30").value, "68,00");

    // Entering the page again fills the panel from what was stored.
    enterEnergy(EnergPage::tshMetodoEnerg);
    EXPECT_TRUE(page.medPeso.isEmpty());
    enterEnergy(EnergPage::tshResulEnerg);
    EXPECT_EQ(page.medPeso, "72,50");
    EXPECT_EQ(page.medAltura, "1,70");
    EXPECT_EQ(f.cbbPesoIdealIndex, 0);
    EXPECT_EQ(page.medPesoAdeq, "68,00");
}

TEST_F(EnergyPageTest, APanelValueThatIsNotANumberIsRefusedAndNothingStored)
{
    AssessmentForm& f = openWithEnergyMethods("930000000005", {"30"});
    EnergyPage& page = f.energyPage();
    // clang-format off
    // (the weight's: the window's EnergyPanelTakesTwoDecimalNumbersAndStoresThemOnLeaving)
    for (const auto& [weight, height, adequate, message] : {
             std::tuple{"70", "1.7.0", "", "Altura deve ser um número."},
             {"70", "1,70", "abc", "Peso Adequado deve ser um número."}}) {
        // clang-format on
        page.medPeso = weight;
        page.medAltura = height;
        page.medPesoAdeq = adequate;
        expectRefused([&] { page.panAltPesoExit(); }, QString::fromUtf8(message));
    }
    EXPECT_TRUE(recorded("01").isEmpty());
    EXPECT_TRUE(recorded("02").isEmpty());

    // What a calculation needs: a positive weight and, for Harris-Benedict, a height.
    page.medPesoAdeq = "";
    page.medPeso = "0";
    expectRefused([&] { page.checkPanel(true); }, "Peso deve ser informado.");
    page.medPeso = "70";
    page.medAltura = "";
    expectRefused([&] { page.checkPanel(true); }, "Altura deve ser informada.");
    EXPECT_NO_THROW(page.checkPanel(false));
}

TEST_F(EnergyPageTest, UnselectingClosesTheResultLinesAndClearsTheReference)
{
    AssessmentForm& f = openWithEnergyMethods("930000000007", {"34"});
    enterEnergy(EnergPage::tshMetodoEnerg);
    ASSERT_TRUE(f.cdsMetoAvalEnerg.locate("CDTBMETOAVAL", "34"));
    f.energyPage().dbgMetoAvalEnergColumn = "IDTABELAAV";
    EXPECT_TRUE(f.energyPage().toggleMethod());
    EXPECT_FALSE(f.actions().sbtCalcular);
    EXPECT_EQ(f.cdsResuAvalEnerg.recordCount(), 0);
    f.energyPage().postMethodRow();
    EXPECT_EQ(f.cdsMetoAvalEnerg.asString("IDTABELAAV"), "N");
}

TEST_F(EnergyPageTest, AReadOnlyConsultationTakesNoPick)
{
    AssessmentForm& f = open("930000000008", "1", QDate(1950, 1, 1), true);
    enterEnergy(EnergPage::tshResulEnerg);
    EXPECT_FALSE(f.energyPage().selectMethod("30"));
    EXPECT_FALSE(f.energyPage().chooseFactor("30", "24", "1"));
    EXPECT_FALSE(f.energyPage().toggleMethod());
    EXPECT_FALSE(f.actions().energyEdits);
}
