// The form's activation against a real application server on loopback: the header, the
// load of every dataset, the reload rules, the method filter and the server-down path.

#include "consultation_fixture.h"
#include "loopback_server.h"

#include "hostfw/busy.h"
#include "hostfw/clock.h"
#include "records/error.h"
#include "records/layouts.h"
#include "records/packet_codec.h"
#include "records/write_through.h"
#include "workspace/assessment_form.h"
#include "workspace/module_context.h"

#include <gtest/gtest.h>

using namespace workspace;
using workspacetest::day;
using workspacetest::kConsultationDay;
using workspacetest::LoopbackServer;
using workspacetest::openConsultation;

namespace {

QStringList methodCodes(records::DataSet& ds)
{
    QStringList codes;
    for (int row = 0; row < ds.recordCount(); ++row)
        codes << ds.asStringAt(row, QStringLiteral("CDTBMETOAVAL"));
    return codes;
}

class Activation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        moduleLoaded();
        stCdPacienteAux.clear();
        server.useForHost();
        form = std::make_unique<AssessmentForm>(server.transport());
        form->setBusyIndicator(&busy);
        form->FormCreate();
    }
    void TearDown() override
    {
        form->FormClose();
        moduleUnloading();
    }

    LoopbackServer server;
    hostfw::BusyRecorder busy;
    std::unique_ptr<AssessmentForm> form;
};

}  // namespace

TEST_F(Activation, FillsTheHeaderAndEveryDataset)
{
    server.addPatient("900000000001", "João da Silva", "0", QDate(1980, 5, 20));
    openConsultation("900000000001", "João da Silva", "0", QDate(1980, 5, 20));
    form->FormActivate();

    EXPECT_TRUE(form->loaded());
    EXPECT_EQ(stCdPacienteAux, "900000000001");
    EXPECT_EQ(form->edtNmPaciente, "João da Silva");
    EXPECT_EQ(form->edtSexoPaci, "Masculino");
    EXPECT_EQ(form->sexLetter(), "M");
    EXPECT_EQ(form->edtIdade, "46");
    EXPECT_EQ(form->lblIdade, "Anos");
    EXPECT_EQ(form->edtMes, "06");
    EXPECT_EQ(form->lblMes, "Meses");
    EXPECT_FALSE(form->deceased());

    // the catalogue and the method lists, men over 34 without 28, 29, 65, 66, 68
    EXPECT_GE(form->cdsInsMetoAval.recordCount(), 68);
    EXPECT_GE(form->cdsInsTipoDado.recordCount(), 52);
    EXPECT_GE(form->cdsInsDadoAval.recordCount(), 154);
    const QStringList methods = methodCodes(form->cdsMetoAval);
    EXPECT_FALSE(methods.isEmpty());
    for (const char* gone : {"28", "29", "65", "66", "68"})
        EXPECT_FALSE(methods.contains(QString::fromLatin1(gone))) << gone;
    EXPECT_TRUE(methods.contains("00"));
    EXPECT_FALSE(form->cdsMetoAvalEnerg.isEmpty());
    EXPECT_FALSE(form->cdsInfPesoIdeal.isEmpty());
    EXPECT_EQ(form->cbbPesoIdeal.size(), form->cdsInfPesoIdeal.recordCount());
    EXPECT_EQ(form->cbbPesoIdealRec, form->cbbPesoIdeal);
    EXPECT_TRUE(form->cdsResuAval.isEmpty());
    // every choice list filled and on its first row
    EXPECT_EQ(form->cdsTrabFatorTer.recordCount(), 5);
    EXPECT_EQ(form->cdsTrabFatorTer.asString("NMFATOR"), "Normal");
    EXPECT_EQ(form->cdsTrimestreLac.recordCount(), 2);
    // the busy animation came and went
    EXPECT_GE(busy.showCount(), 1);
    EXPECT_FALSE(busy.visible());
    // the deletions of the filter went to the server with the first write
    EXPECT_EQ(form->cdsMetoAval.changeCount(), 0);
}

TEST_F(Activation, SameConsultationRefreshesTheHeaderOnlyAnotherDateOrPatientReloads)
{
    server.addPatient("900000000002", "Maria Souza", "1", QDate(1990, 1, 15));
    server.addPatient("900000000003", "Ana Lima", "1", QDate(2000, 3, 1));
    openConsultation("900000000002", "Maria Souza", "1", QDate(1990, 1, 15));
    form->FormActivate();
    const int callsAfterLoad = server.calls();

    stNmPaciente = "Maria Souza Lima";  // the host may send a new name
    form->FormActivate();
    EXPECT_EQ(server.calls(), callsAfterLoad);  // no server call at all
    EXPECT_EQ(form->edtNmPaciente, "Maria Souza Lima");
    EXPECT_TRUE(form->loaded());

    // another consultation date of the same patient: the header and that consultation's
    // records (the lists of the first date would be shown, and written, under it)
    openConsultation("900000000002", "Maria Souza", "1", QDate(1990, 1, 15), QDate(2027, 2, 1));
    form->FormActivate();
    EXPECT_GT(server.calls(), callsAfterLoad);
    EXPECT_EQ(form->depDtConsulta.date(), QDate(2027, 2, 1));
    EXPECT_EQ(form->edtIdade, "37");
    EXPECT_TRUE(form->loaded());
    const int callsAfterSecondDate = server.calls();

    openConsultation("900000000003", "Ana Lima", "1", QDate(2000, 3, 1));
    form->FormActivate();
    EXPECT_GT(server.calls(), callsAfterSecondDate);
    EXPECT_EQ(form->edtNmPaciente, "Ana Lima");
    EXPECT_EQ(stCdPacienteAux, "900000000003");
    EXPECT_TRUE(methodCodes(form->cdsMetoAval).contains("68"));  // women keep it
}

TEST_F(Activation, MethodFilterFollowsSexAndAge)
{
    struct Case
    {
        const char* code;
        const char* sex;
        QDate birth;
        bool keeps28;
        bool keeps29;
    };
    const Case cases[] = {
        {"900000000010", "0", QDate(1992, 12, 6), false, true},   // man of 34
        {"900000000011", "0", QDate(1991, 12, 6), false, false},  // man of 35
        {"900000000012", "0", QDate(2009, 12, 7), true, true},    // man of 16 (17 less a day)
        {"900000000013", "0", QDate(2009, 12, 6), true, true},    // man of 17
        {"900000000014", "0", QDate(2008, 12, 6), false, true},   // man of 18
        {"900000000015", "2", QDate(2010, 1, 1), false, true},    // "D"
        {"900000000016", "3", QDate(2010, 1, 1), false, true},    // "I"
    };
    for (const Case& c : cases) {
        server.addPatient(c.code, "Paciente", c.sex, c.birth);
        openConsultation(c.code, "Paciente", c.sex, c.birth);
        form->FormActivate();
        const QStringList methods = methodCodes(form->cdsMetoAval);
        EXPECT_EQ(methods.contains("28"), c.keeps28) << c.code;
        EXPECT_EQ(methods.contains("29"), c.keeps29) << c.code;
        const bool male = QString::fromLatin1(c.sex) == "0";
        EXPECT_EQ(methods.contains("68"), !male) << c.code;
    }
}

TEST_F(Activation, ServerDownShowsAClearErrorAndTheNextActivationLoadsAgain)
{
    server.addPatient("900000000020", "Pedro Alves", "0", QDate(1970, 7, 7));
    openConsultation("900000000020", "Pedro Alves", "0", QDate(1970, 7, 7));

    AssessmentForm offline(workspacetest::downTransport());
    hostfw::BusyRecorder offlineBusy;
    offline.setBusyIndicator(&offlineBusy);
    offline.FormCreate();
    try {
        offline.FormActivate();
        FAIL() << "activation against a server that is down succeeded";
    } catch (const records::Error& e) {
        EXPECT_TRUE(e.message().contains("127.0.0.1")) << e.message().toStdString();
    }
    EXPECT_FALSE(offline.loaded());
    EXPECT_FALSE(offlineBusy.visible());
    EXPECT_TRUE(stCdPacienteAux.isEmpty());
    offline.FormClose();

    // the same patient loads on the next activation, now that a server answers
    form->FormActivate();
    EXPECT_TRUE(form->loaded());
    EXPECT_EQ(stCdPacienteAux, "900000000020");
}

TEST_F(Activation, DeceasedPatientIsReadOnly)
{
    server.addPatient("900000000030", "Falecida", "1", QDate(1950, 2, 2), true);
    openConsultation("900000000030", "Falecida", "1", QDate(1950, 2, 2));
    form->FormActivate();
    EXPECT_TRUE(form->deceased());
    EXPECT_FALSE(form->actions().editButtons);
    EXPECT_FALSE(form->actions().sbtCalcular);
}

TEST_F(Activation, ClosingAndReopeningTheFormReloadsForAnotherPatient)
{
    server.addPatient("900000000040", "Carla", "1", QDate(1985, 4, 4));
    openConsultation("900000000040", "Carla", "1", QDate(1985, 4, 4));
    form->FormActivate();
    form->FormClose();
    EXPECT_FALSE(boStCriado);

    form = std::make_unique<AssessmentForm>(server.transport());
    form->FormCreate();
    server.addPatient("900000000041", "Bruno", "0", QDate(1988, 8, 8));
    openConsultation("900000000041", "Bruno", "0", QDate(1988, 8, 8));
    form->FormActivate();
    EXPECT_TRUE(form->loaded());
    EXPECT_EQ(form->edtNmPaciente, "Bruno");
}

TEST_F(Activation, SwitchingToTheEnergyTabBringsTheCatalogueUpToDate)
{
    server.addPatient("900000000050", "Davi", "0", QDate(1979, 1, 1));
    openConsultation("900000000050", "Davi", "0", QDate(1979, 1, 1));
    form->FormActivate();

    // Someone removes the link of the arm muscle area to the arm circumference.
    const records::ConsultationKey k{"0001", "900000000050", day(kConsultationDay)};
    records::DataSet links(records::layouts::cdsInsDadoAval());
    links.loadPacket(
        records::packetAt(records::checkReply(server.client().GetDados(k, form->codedAge())), 4));
    ASSERT_TRUE(links.locate("CDTBMETOAVAL;CDTIPODADO", {QString("05"), QString("08")}));
    links.remove();
    records::writeThrough(links, server.client(), "SetInsDadoAval");
    links.loadPacket(
        records::packetAt(records::checkReply(server.client().GetDados(k, form->codedAge())), 4));
    ASSERT_FALSE(links.locate("CDTBMETOAVAL;CDTIPODADO", {QString("05"), QString("08")}));

    form->showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshMetodoEnerg);

    records::DataSet after(records::layouts::cdsInsDadoAval());
    after.loadPacket(
        records::packetAt(records::checkReply(server.client().GetDados(k, form->codedAge())), 4));
    EXPECT_TRUE(after.locate("CDTBMETOAVAL;CDTIPODADO", {QString("05"), QString("08")}));
}
