// The form's activation against a real application server on loopback: the header and
// the load of every dataset, what the load asks the server in its order, the reload
// rules (the same consultation, another date or patient, a new form), unselected methods
// losing their reference, the method filter, and the failed loads (a server that is
// down: module_entry_test).

#include "consultation_fixture.h"

#include "records/error.h"
#include "records/layouts.h"
#include "records/packet_codec.h"
#include "records/write_through.h"
#include "workspace/module_context.h"

using namespace workspace;
using workspacetest::day;
using workspacetest::kConsultationDay;
using workspacetest::openConsultation;

namespace {

QStringList methodCodes(records::DataSet& ds)
{
    QStringList codes;
    for (int row = 0; row < ds.recordCount(); ++row)
        codes << ds.asStringAt(row, "CDTBMETOAVAL");
    return codes;
}

}  // namespace

class Activation : public workspacetest::ConsultationTest
{
protected:
    // Closes the form and loads the consultation again on a new one, as after the host
    // dropped the last load.
    AssessmentForm& reload()
    {
        form->FormClose();
        stCdPacienteAux.clear();
        return reopen();
    }
};

TEST_F(Activation, FillsTheHeaderAndEveryDataset)
{
    AssessmentForm& f = open("900000000001", "0", QDate(1980, 5, 20));
    EXPECT_TRUE(f.loaded());
    EXPECT_EQ(stCdPacienteAux, "900000000001");
    EXPECT_EQ(f.edtNmPaciente, "Paciente 01");
    EXPECT_EQ(f.edtSexoPaci, "Masculino");
    EXPECT_EQ(f.sexLetter(), "M");
    EXPECT_EQ(f.edtIdade, "46");  // the age texts' rules: patient_header_test
    EXPECT_EQ(f.edtMes, "06");
    EXPECT_FALSE(f.deceased());

    // the catalogue (its seeding: catalogue_seeding_test) and the method lists
    EXPECT_GE(f.cdsInsDadoAval.recordCount(), 154);
    EXPECT_TRUE(methodCodes(f.cdsMetoAval).contains("00"));
    EXPECT_FALSE(f.cdsMetoAvalEnerg.isEmpty());
    EXPECT_FALSE(f.cdsInfPesoIdeal.isEmpty());
    EXPECT_EQ(f.cbbPesoIdeal.size(), f.cdsInfPesoIdeal.recordCount());
    EXPECT_EQ(f.cbbPesoIdealRec, f.cbbPesoIdeal);
    EXPECT_TRUE(f.cdsResuAval.isEmpty());
    // the choice lists filled and on their first row
    EXPECT_EQ(f.cdsTrabFatorTer.recNo(), 0);
    EXPECT_FALSE(f.cdsTrimestreLac.isEmpty());
    // the busy animation came and went
    EXPECT_GE(busy.showCount(), 1);
    EXPECT_FALSE(busy.visible());
    // the deletions of the filter went to the server with the first write
    EXPECT_EQ(f.cdsMetoAval.changeCount(), 0);
}

TEST_F(Activation, SameConsultationRefreshesTheHeaderOnlyAnotherPatientReloads)
{
    open("900000000002", "1", QDate(1990, 1, 15));
    const int callsAfterLoad = server.calls();

    stNmPaciente = "Maria Souza Lima";  // the host may send a new name
    form->FormActivate();
    EXPECT_EQ(server.calls(), callsAfterLoad);  // no server call at all
    EXPECT_EQ(form->edtNmPaciente, "Maria Souza Lima");
    EXPECT_TRUE(form->loaded());

    // another patient (another date: AnotherDateOfTheSamePatientShowsAndWrites...)
    admit("900000000003", "1", QDate(2000, 3, 1));
    form->FormActivate();
    EXPECT_GT(server.calls(), callsAfterLoad);
    EXPECT_EQ(form->edtNmPaciente, "Paciente 03");
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
        {"900000000017", "1", QDate(1980, 1, 1), true, true},     // woman of 46
    };
    AssessmentForm& f = open("900000000009");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        admit(c.code, c.sex, c.birth);
        f.FormActivate();
        const QStringList methods = methodCodes(f.cdsMetoAval);
        EXPECT_EQ(methods.contains("28"), c.keeps28);
        EXPECT_EQ(methods.contains("29"), c.keeps29);
        // the pregnancy and lactation methods are not offered to men
        const bool male = QString::fromLatin1(c.sex) == "0";
        for (const char* code : {"65", "66", "68"})
            EXPECT_EQ(methods.contains(QString::fromLatin1(code)), !male) << code;
    }
}

TEST_F(Activation, SwitchingToTheEnergyTabBringsTheCatalogueUpToDate)
{
    open("900000000050", "0", QDate(1979, 1, 1));

    // Someone removes the link of the arm muscle area to the arm circumference.
    const records::ConsultationKey k{"0001", "900000000050", day(kConsultationDay)};
    records::DataSet links(records::layouts::cdsInsDadoAval());
    const auto armLinkStored = [&] {
        links.loadPacket(records::packetAt(
            records::checkReply(server.client().GetDados(k, form->codedAge())), 4));
        return links.locate("CDTBMETOAVAL;CDTIPODADO", {QString("05"), QString("08")});
    };
    ASSERT_TRUE(armLinkStored());
    links.remove();
    records::writeThrough(links, server.client(), "SetInsDadoAval");
    ASSERT_FALSE(armLinkStored());

    form->showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshMetodoEnerg);
    EXPECT_TRUE(armLinkStored());
}

TEST_F(Activation, LoadClearsTheReferenceOfEveryUnselectedMethod)
{
    for (const bool deceased : {false, true}) {
        const QString patient = deceased ? "940000000002" : "940000000001";
        open(patient, "1", QDate(1996, 3, 10), deceased);
        storeMethod("01", "N", "91");
        storeMethod("48", "S", "90");
        ASSERT_EQ(storedMethod("01"), qMakePair(QStringLiteral("N"), QStringLiteral("91")));

        AssessmentForm& f = reload();
        ASSERT_TRUE(f.loaded());
        // the load's own clearing runs even for a read-only consultation
        EXPECT_EQ(storedMethod(QStringLiteral("01")), qMakePair(QStringLiteral("N"), QString()))
            << patient.toStdString();
        EXPECT_EQ(storedMethod("48"), qMakePair(QStringLiteral("S"), QStringLiteral("90")));
        EXPECT_EQ(f.cdsMetoAval.recNo(), 0);
        EXPECT_FALSE(f.cdsMetoAval.isEditing());
        EXPECT_FALSE(f.cdsMetoAval.controlsDisabled());
        EXPECT_EQ(f.cdsMetoAval.changeCount(), 0);
        form->FormClose();
    }
}

TEST_F(Activation, AFailedLoadIsNotTakenForALoadAndTheNextActivationLoadsAgain)
{
    open("940000000003");
    storeMethod("01", "N", "91");

    // the results cannot be read: the datasets already read keep what they got
    server.failNext("GetResuAvalEnerg");
    busy = {};
    EXPECT_THROW(reload(), records::Error);
    EXPECT_FALSE(form->loaded());
    EXPECT_TRUE(stCdPacienteAux.isEmpty());
    EXPECT_FALSE(busy.visible());
    EXPECT_GE(busy.showCount(), 1);
    EXPECT_FALSE(form->cdsMetoAval.isEmpty());

    // writing the cleared reference fails: the grid paints again and nothing is cleared
    server.failNext("SetMetoAval");
    EXPECT_THROW(form->FormActivate(), records::Error);
    EXPECT_FALSE(form->loaded());
    EXPECT_FALSE(form->cdsMetoAval.controlsDisabled());
    EXPECT_FALSE(busy.visible());
    EXPECT_EQ(storedMethod("01").second, "91");

    // the server answers again
    form->FormActivate();
    EXPECT_TRUE(form->loaded());
    EXPECT_EQ(stCdPacienteAux, "940000000003");
    EXPECT_EQ(storedMethod(QStringLiteral("01")), qMakePair(QStringLiteral("N"), QString()));
}

TEST_F(Activation, OnTheResultPageAnotherPatientsDataAreListedAtOnce)
{
    AssessmentForm& f = open("940000000004");
    ASSERT_TRUE(f.methodPage().selectMethod("00"));
    enterResults();
    ASSERT_TRUE(f.resultPage().recordValue("01", "61"));

    // the second patient has the arm circumference method selected and an unselected
    // method with a reference
    admit("940000000005", "1", QDate(1980, 6, 1));
    storeMethod("04", "S", QString());
    storeMethod("01", "N", "91");
    f.FormActivate();
    ASSERT_TRUE(f.loaded());
    EXPECT_EQ(f.pgcAvalNutr, InnerPage::tshAvaliacao);
    EXPECT_EQ(gridValue("01"), "<sem linha>");  // the first patient's weight
    EXPECT_NE(gridValue("08"), "<sem linha>");  // arm circumference
    EXPECT_TRUE(f.actions().sbtCalcular);
    // the references of unselected methods are cleared only when the load shows the
    // method page
    EXPECT_EQ(storedMethod("01").second, "91");
}

TEST_F(Activation, ANewFormForTheSamePatientLoadsTheConsultation)
{
    AssessmentForm& first = open("940000000006");
    ASSERT_TRUE(first.methodPage().selectMethod("00"));
    first.FormClose();
    EXPECT_FALSE(boStCriado);
    ASSERT_EQ(stCdPacienteAux, "940000000006");

    AssessmentForm& f = reopen();
    EXPECT_TRUE(f.loaded());
    EXPECT_EQ(f.edtNmPaciente, "Paciente 06");
    EXPECT_EQ(selectionOf("00"), "S");
    EXPECT_FALSE(f.cbbPesoIdeal.isEmpty());
}

TEST_F(Activation, AnUnknownSexCodeKeepsTheSexShown)
{
    AssessmentForm& f = open("940000000008", "0", QDate(1996, 3, 10));
    ASSERT_EQ(f.edtSexoPaci, "Masculino");
    EXPECT_FALSE(f.cdsMetoAval.locate("CDTBMETOAVAL", "68"));
    stSexo = "9";
    f.FormActivate();
    EXPECT_EQ(f.edtSexoPaci, "Masculino");
    EXPECT_EQ(f.sexLetter(), "M");

    // on a new form nothing is shown and no sex letter is set: only "28" goes
    stCdPacienteAux.clear();
    AssessmentForm& g = reopen();
    EXPECT_EQ(g.edtSexoPaci, "");
    EXPECT_EQ(g.sexLetter(), "");
    EXPECT_FALSE(g.cdsMetoAval.locate("CDTBMETOAVAL", "28"));
    EXPECT_TRUE(g.cdsMetoAval.locate("CDTBMETOAVAL", "68"));
}

TEST_F(Activation, AfterAFailedLoadOfAnotherPatientTheFirstIsLoadedAgain)
{
    AssessmentForm& f = open("940000000009");
    ASSERT_TRUE(f.methodPage().selectMethod("00"));
    admit("940000000010", "1", QDate(1990, 1, 1));
    server.failNext("GetResuAval");
    EXPECT_THROW(f.FormActivate(), records::Error);
    EXPECT_EQ(selectionOf("00"), "N");  // the other patient's

    // back to the first patient: the lists hold the other's rows, so they are read again
    openConsultation("940000000009", "Paciente 09", "1", QDate(1996, 3, 10));
    f.FormActivate();
    EXPECT_TRUE(f.loaded());
    EXPECT_EQ(selectionOf("00"), "S");
}

TEST_F(Activation, TheLoadAsksTheServerInItsOrder)
{
    open("940000000011", "1", QDate(2021, 9, 6));
    storeMethod("01", "N", "91");
    server.clearTraffic();
    reload();
    // the catalogue is up to date, so the only write is the cleared reference
    EXPECT_EQ(server.calledMethods(), QStringList({"GetObito", "GetDados", "GetResuAval",
                                                   "GetResuAvalEnerg", "SetMetoAval"}));
    const QJsonArray obito = server.argumentsOf("GetObito").value(0);
    EXPECT_EQ(obito.at(0).toString(), "940000000011");
    EXPECT_EQ(obito.at(1).toString(), "0001");
    const QJsonArray dados = server.argumentsOf("GetDados").value(0);
    ASSERT_EQ(dados.size(), 4);
    EXPECT_EQ(dados.at(0).toString(), "0001");
    EXPECT_EQ(dados.at(1).toString(), "940000000011");
    EXPECT_DOUBLE_EQ(dados.at(3).toDouble(), 5.03);  // 5 years 3 months

    // on the result page the load ends by entering it
    enterResults();
    stCdPacienteAux.clear();
    form->FormClose();
    reopen(false).pgcAvalNutr = InnerPage::tshAvaliacao;
    server.clearTraffic();
    form->FormActivate();
    EXPECT_EQ(server.calledMethods(),
              QStringList({"GetObito", "GetDados", "GetResuAval", "GetResuAvalEnerg", "GetDadoAval",
                           "GetResuAval"}));
}

TEST_F(Activation, AnotherDateOfTheSamePatientShowsAndWritesThatConsultation)
{
    AssessmentForm& f = open("940000000012");
    ASSERT_TRUE(f.methodPage().selectMethod("00"));
    const QDateTime first = dtConsulta;

    dtConsulta = day(QDate(2027, 1, 10));
    f.FormActivate();
    ASSERT_TRUE(f.loaded());
    EXPECT_EQ(selectionOf("00"), "N");
    ASSERT_TRUE(f.methodPage().selectMethod("58"));
    EXPECT_EQ(storedMethod("58").first, "S");
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join(u'\n').toStdString();

    // the first consultation is as it was
    dtConsulta = first;
    EXPECT_EQ(storedMethod("00").first, "S");
    EXPECT_EQ(storedMethod("58").first, "N");
}
