// The energy pass against a fake server: the equations at the current, ideal and
// adequate weights in their order, a second run rewriting the lines, and the panel
// refused before anything is stored or deleted.

#include "energy_fixture.h"

#include "energy/energy_pass.h"
#include "hostfw/error_display.h"
#include "hostfw/errors.h"
#include "records/layouts.h"
#include "workspace/energy_page.h"
#include "workspace/module_context.h"

using namespace energy;
using namespace energytest;

namespace {

class EnergyPassTest : public EnergyTest
{
protected:
    void SetUp() override
    {
        EnergyTest::SetUp();
        patient("0", 30);  // a man of 30
        form->pgcPadrao = workspace::OuterPage::tshPadrao;
        form->pgcAvalEnerg = workspace::EnergPage::tshResulEnerg;
        form->cdsInfPesoIdeal.loadPacket(anthropometrytest::packetOf(
            records::layouts::cdsInfPesoIdeal(), {{"20", "Peso Ideal (Lorenz)", ""}}));
        form->cbbPesoIdeal = QStringList{"Peso Ideal (Lorenz)"};
        duBoisRate = 39.5;
    }

    // The energy methods listed, those given selected.
    void select(const QStringList& codes)
    {
        QList<QVariantList> rows;
        for (const char* code : {"30", "31", "32", "33", "34", "36"})
            rows.append({"0001", stCdPaciente, QDateTime(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC),
                         code, codes.contains(code) ? "S" : "N", "", "", "", "", "", "0"});
        form->cdsMetoAvalEnerg.loadPacket(
            anthropometrytest::packetOf(records::layouts::cdsMetoAvalEnerg(), rows));
    }
    void panel(const char* weight, const char* height, const char* adequate)
    {
        form->energyPage().medPeso = weight;
        form->energyPage().medAltura = height;
        form->energyPage().medPesoAdeq = adequate;
    }

    QStringList numbersOf(const QString& method) const
    {
        QStringList numbers;
        for (const StoredLine& s : stored)
            if (s.method == method)
                numbers.append(s.number);
        return numbers;
    }

    EnergyPass pass;
};

TEST_F(EnergyPassTest, HarrisAtEachWeightInItsOrder)
{
    select({"30"});
    panel("70", "1.60", "65.5");  // a point as the decimal mark
    form->cbbPesoIdealIndex = 0;
    record("30", "24", "1");
    record("30", "25", "1,2");
    record("30", "23", "4");
    pass(*form);

    EXPECT_EQ(numbersOf("30"), QStringList({"01", "02", "05", "06", "03", "04"}));
    const QMap<QString, ResultLine> lines = energyLines("30");
    // Lorenz for a man of 1,60 m: 57,50 kg; 66,473 + 790,6825 + 800,48 - 202,65 = 1454,9855
    EXPECT_EQ(lines["05"], ResultLine({"GEB (Harris-Benedict) - Peso Ideal (Lorenz) 57,50 Kg",
                                       "1.454,986 Kcal"}));
    EXPECT_EQ(lines["06"].label, "GET (Long) - Peso Ideal (Lorenz) 57,50 Kg");
    EXPECT_EQ(lines["06"].value, "2.182,478 Kcal");  // x 1,25 x 1,2
    EXPECT_EQ(lines["03"].label, "GEB (Harris-Benedict) - Peso Adequado 65,50 Kg");
    EXPECT_EQ(lines.size(), 6);
    EXPECT_EQ(callsOf("DelResuAvalEnerg"), 1);
}

TEST_F(EnergyPassTest, IdealWeightLineOfIretonJonesAndNoAdequateWeightWhenZero)
{
    select({"34"});
    panel("70", "1,60", "0");
    form->cbbPesoIdealIndex = 0;
    for (const char* type : {"30", "31", "32", "29"})
        record("34", type, "0");
    pass(*form);
    // 629 - 330 + 25 x 57,5
    EXPECT_EQ(
        energyLines("34").value("03"),
        ResultLine({"GET (Ireton - Jones) - Peso Ideal (Lorenz) 57,50 Kg", "1.736,500 Kcal"}));
    EXPECT_EQ(numbersOf("34"), QStringList({"01", "03"}));
}

TEST_F(EnergyPassTest, ASecondRunRewritesTheLinesFromTheNewInput)
{
    select({"32", "36"});
    panel("70", "", "65");
    record("32", "24", "1");
    record("36", "01", "100");
    pass(*form);
    const QList<StoredLine> first = stored;
    pass(*form);
    EXPECT_EQ(stored, first);
    EXPECT_EQ(stored.size(), 5);  // RDA 01 to 04, Halpern 01

    panel("70", "", "");
    pass(*form);
    EXPECT_EQ(numbersOf("32"), QStringList({"01", "02"}));
    EXPECT_EQ(form->cdsResuAvalEnerg.recordCount(), 3);  // reloaded from the server
}

TEST_F(EnergyPassTest, ABadPanelIsRefusedBeforeAnythingIsStored)
{
    struct Row
    {
        QStringList methods;
        const char* weight;
        const char* height;
        const char* adequate;
        const char* message;
    };
    const Row rows[] = {
        {{"31"}, "", "", "", "Peso deve ser informado."},
        {{"31"}, "0", "", "", "Peso deve ser informado."},
        {{"32"}, "7O", "", "", "Peso deve ser um número."},
        {{"30"}, "70", "", "", "Altura deve ser informada."},
        {{"33"}, "70", "1,7x", "", "Altura deve ser um número."},
        {{"34"}, "70", "", "6O", "Peso Adequado deve ser um número."},
    };
    for (const Row& row : rows) {
        select(row.methods);
        panel(row.weight, row.height, row.adequate);
        server.calls.clear();
        hostfw::ErrorRecorder errors;
        EXPECT_THROW(pass(*form), hostfw::Abort) << row.message;
        EXPECT_EQ(errors.messages(), QStringList{QString::fromUtf8(row.message)});
        EXPECT_TRUE(server.calls.isEmpty()) << row.message;
    }
    // Nothing selected: nothing to check.
    select({});
    panel("", "", "");
    EXPECT_NO_THROW(pass(*form));
}

}  // namespace
