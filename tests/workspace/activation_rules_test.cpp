// The activation's load in detail against a real server: unselected methods lose their
// reference, the page shown decides what is loaded, a failed load leaves nothing marked
// as loaded, a new form or a second activation for the same patient, and a deceased
// consultation that stays read-only.

#include "consultation_fixture.h"

#include "records/error.h"
#include "workspace/module_context.h"

using namespace workspace;
using workspacetest::ConsultationTest;

class ActivationRules : public ConsultationTest
{
protected:
    // A new form activated for the consultation of the module context, as after a close.
    AssessmentForm& reopen()
    {
        form = std::make_unique<AssessmentForm>(server.transport());
        form->setBusyIndicator(&busy);
        form->FormCreate();
        form->FormActivate();
        return *form;
    }
};

TEST_F(ActivationRules, LoadClearsTheReferenceOfEveryUnselectedMethod)
{
    for (const bool deceased : {false, true}) {
        const QString patient =
            deceased ? QStringLiteral("940000000002") : QStringLiteral("940000000001");
        open(patient, QStringLiteral("1"), QDate(1996, 3, 10), deceased);
        storeMethod(QStringLiteral("01"), QStringLiteral("N"), QStringLiteral("91"));
        storeMethod(QStringLiteral("48"), QStringLiteral("S"), QStringLiteral("90"));
        ASSERT_EQ(storedMethod(QStringLiteral("01")),
                  qMakePair(QStringLiteral("N"), QStringLiteral("91")));

        form->FormClose();
        stCdPacienteAux.clear();
        AssessmentForm& f = reopen();
        ASSERT_TRUE(f.loaded());
        // the load's own clearing runs even for a read-only consultation
        EXPECT_EQ(storedMethod(QStringLiteral("01")), qMakePair(QStringLiteral("N"), QString()))
            << patient.toStdString();
        EXPECT_EQ(storedMethod(QStringLiteral("48")),
                  qMakePair(QStringLiteral("S"), QStringLiteral("90")));
        EXPECT_EQ(f.cdsMetoAval.recNo(), 0);
        EXPECT_FALSE(f.cdsMetoAval.isEditing());
        EXPECT_FALSE(f.cdsMetoAval.controlsDisabled());
        EXPECT_EQ(f.cdsMetoAval.changeCount(), 0);
        form->FormClose();
    }
}

TEST_F(ActivationRules, AFailedLoadIsNotTakenForALoadAndTheNextActivationLoadsAgain)
{
    AssessmentForm& f = open(QStringLiteral("940000000003"));
    storeMethod(QStringLiteral("01"), QStringLiteral("N"), QStringLiteral("91"));
    f.FormClose();
    stCdPacienteAux.clear();

    // the results cannot be read: the datasets already read keep what they got
    server.failNext(QStringLiteral("GetResuAvalEnerg"));
    form = std::make_unique<AssessmentForm>(server.transport());
    form->setBusyIndicator(&busy);
    form->FormCreate();
    busy = {};
    EXPECT_THROW(form->FormActivate(), records::Error);
    EXPECT_FALSE(form->loaded());
    EXPECT_TRUE(stCdPacienteAux.isEmpty());
    EXPECT_FALSE(busy.visible());
    EXPECT_GE(busy.showCount(), 1);
    EXPECT_FALSE(form->cdsMetoAval.isEmpty());

    // writing the cleared reference fails: the grid paints again and nothing is cleared
    server.failNext(QStringLiteral("SetMetoAval"));
    EXPECT_THROW(form->FormActivate(), records::Error);
    EXPECT_FALSE(form->loaded());
    EXPECT_FALSE(form->cdsMetoAval.controlsDisabled());
    EXPECT_FALSE(busy.visible());
    EXPECT_EQ(storedMethod(QStringLiteral("01")).second, "91");

    // the server answers again
    form->FormActivate();
    EXPECT_TRUE(form->loaded());
    EXPECT_EQ(stCdPacienteAux, "940000000003");
    EXPECT_EQ(storedMethod(QStringLiteral("01")), qMakePair(QStringLiteral("N"), QString()));
}

TEST_F(ActivationRules, OnTheResultPageAnotherPatientsDataAreListedAtOnce)
{
    AssessmentForm& f = open(QStringLiteral("940000000004"));
    ASSERT_TRUE(f.methodPage().selectMethod(QStringLiteral("00")));
    enterResults();
    ASSERT_TRUE(f.resultPage().recordValue(QStringLiteral("01"), QStringLiteral("61")));

    // the second patient has the arm circumference method selected and an unselected
    // method with a reference
    server.addPatient(QStringLiteral("940000000005"), QStringLiteral("Paciente 05"),
                      QStringLiteral("1"), QDate(1980, 6, 1));
    workspacetest::openConsultation(QStringLiteral("940000000005"), QStringLiteral("Paciente 05"),
                                    QStringLiteral("1"), QDate(1980, 6, 1));
    storeMethod(QStringLiteral("04"), QStringLiteral("S"), QString());
    storeMethod(QStringLiteral("01"), QStringLiteral("N"), QStringLiteral("91"));
    f.FormActivate();
    ASSERT_TRUE(f.loaded());
    EXPECT_EQ(f.pgcAvalNutr, InnerPage::tshAvaliacao);
    EXPECT_EQ(gridValue(QStringLiteral("01")), "<sem linha>");  // the first patient's weight
    EXPECT_NE(gridValue(QStringLiteral("08")), "<sem linha>");  // arm circumference
    EXPECT_TRUE(f.actions().sbtCalcular);
    // the references of unselected methods are cleared only when the load shows the
    // method page
    EXPECT_EQ(storedMethod(QStringLiteral("01")).second, "91");
}

TEST_F(ActivationRules, ANewFormForTheSamePatientLoadsTheConsultation)
{
    AssessmentForm& first = open(QStringLiteral("940000000006"));
    ASSERT_TRUE(first.methodPage().selectMethod(QStringLiteral("00")));
    first.FormClose();
    ASSERT_EQ(stCdPacienteAux, "940000000006");

    AssessmentForm& f = reopen();
    EXPECT_TRUE(f.loaded());
    EXPECT_EQ(f.edtNmPaciente, "Paciente 06");
    ASSERT_TRUE(f.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("00")));
    EXPECT_EQ(f.cdsMetoAval.asString(QStringLiteral("IDTABELAAV")), "S");
    EXPECT_FALSE(f.cbbPesoIdeal.isEmpty());

    // a second activation of that form for the same patient reads nothing again
    const int calls = server.calls();
    f.FormActivate();
    EXPECT_EQ(server.calls(), calls);
    EXPECT_TRUE(f.loaded());
}

TEST_F(ActivationRules, ADeceasedConsultationStaysReadOnlyWhenActivatedAgain)
{
    AssessmentForm& f =
        open(QStringLiteral("940000000007"), QStringLiteral("1"), QDate(1950, 2, 2), true);
    ASSERT_TRUE(f.deceased());
    f.FormActivate();  // the host opens the same patient again
    ASSERT_TRUE(f.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("00")));
    EXPECT_FALSE(f.methodPage().toggleMethod());
    EXPECT_FALSE(f.methodPage().selectMethod(QStringLiteral("00")));
    EXPECT_THROW(f.cdsMetoAval.edit(), hostfw::Abort);
    EXPECT_FALSE(f.actions().editButtons);
    EXPECT_EQ(storedMethod(QStringLiteral("00")).first, "N");
}

TEST_F(ActivationRules, AnUnknownSexCodeKeepsTheSexShown)
{
    AssessmentForm& f =
        open(QStringLiteral("940000000008"), QStringLiteral("0"), QDate(1996, 3, 10));
    ASSERT_EQ(f.edtSexoPaci, "Masculino");
    EXPECT_FALSE(f.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("68")));
    stSexo = QStringLiteral("9");
    f.FormActivate();
    EXPECT_EQ(f.edtSexoPaci, "Masculino");
    EXPECT_EQ(f.sexLetter(), "M");

    // on a new form nothing is shown and no sex letter is set: only "28" goes
    stCdPacienteAux.clear();
    AssessmentForm& g = reopen();
    EXPECT_EQ(g.edtSexoPaci, "");
    EXPECT_EQ(g.sexLetter(), "");
    EXPECT_FALSE(g.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("28")));
    EXPECT_TRUE(g.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("68")));
}

TEST_F(ActivationRules, AfterAFailedLoadOfAnotherPatientTheFirstIsLoadedAgain)
{
    AssessmentForm& f = open(QStringLiteral("940000000009"));
    ASSERT_TRUE(f.methodPage().selectMethod(QStringLiteral("00")));
    server.addPatient(QStringLiteral("940000000010"), QStringLiteral("Paciente 10"),
                      QStringLiteral("1"), QDate(1990, 1, 1));
    workspacetest::openConsultation(QStringLiteral("940000000010"), QStringLiteral("Paciente 10"),
                                    QStringLiteral("1"), QDate(1990, 1, 1));
    server.failNext(QStringLiteral("GetResuAval"));
    EXPECT_THROW(f.FormActivate(), records::Error);
    ASSERT_TRUE(f.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("00")));
    EXPECT_EQ(f.cdsMetoAval.asString(QStringLiteral("IDTABELAAV")), "N");  // the other patient's

    // back to the first patient: the lists hold the other's rows, so they are read again
    workspacetest::openConsultation(QStringLiteral("940000000009"), QStringLiteral("Paciente 09"),
                                    QStringLiteral("1"), QDate(1996, 3, 10));
    f.FormActivate();
    EXPECT_TRUE(f.loaded());
    ASSERT_TRUE(f.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("00")));
    EXPECT_EQ(f.cdsMetoAval.asString(QStringLiteral("IDTABELAAV")), "S");
}

TEST_F(ActivationRules, TheLoadAsksTheServerInItsOrder)
{
    AssessmentForm& f =
        open(QStringLiteral("940000000011"), QStringLiteral("1"), QDate(2021, 9, 6));
    storeMethod(QStringLiteral("01"), QStringLiteral("N"), QStringLiteral("91"));
    f.FormClose();
    stCdPacienteAux.clear();
    server.clearTraffic();
    reopen();
    // the catalogue is up to date, so the only write is the cleared reference
    EXPECT_EQ(server.calledMethods(), QStringList({"GetObito", "GetDados", "GetResuAval",
                                                   "GetResuAvalEnerg", "SetMetoAval"}));
    const QJsonArray obito = server.argumentsOf(QStringLiteral("GetObito")).value(0);
    EXPECT_EQ(obito.at(0).toString(), "940000000011");
    EXPECT_EQ(obito.at(1).toString(), "0001");
    const QJsonArray dados = server.argumentsOf(QStringLiteral("GetDados")).value(0);
    ASSERT_EQ(dados.size(), 4);
    EXPECT_EQ(dados.at(0).toString(), "0001");
    EXPECT_EQ(dados.at(1).toString(), "940000000011");
    EXPECT_DOUBLE_EQ(dados.at(3).toDouble(), 5.03);  // 5 years 3 months

    // on the result page the load ends by entering it
    enterResults();
    stCdPacienteAux.clear();
    form->FormClose();
    form = std::make_unique<AssessmentForm>(server.transport());
    form->FormCreate();
    form->pgcAvalNutr = InnerPage::tshAvaliacao;
    server.clearTraffic();
    form->FormActivate();
    EXPECT_EQ(server.calledMethods(),
              QStringList({"GetObito", "GetDados", "GetResuAval", "GetResuAvalEnerg", "GetDadoAval",
                           "GetResuAval"}));
}

TEST_F(ActivationRules, AnotherDateOfTheSamePatientShowsAndWritesThatConsultation)
{
    AssessmentForm& f = open(QStringLiteral("940000000012"));
    ASSERT_TRUE(f.methodPage().selectMethod(QStringLiteral("00")));
    const QDateTime first = dtConsulta;

    dtConsulta = workspacetest::day(QDate(2027, 1, 10));
    f.FormActivate();
    ASSERT_TRUE(f.loaded());
    ASSERT_TRUE(f.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("00")));
    EXPECT_EQ(f.cdsMetoAval.asString(QStringLiteral("IDTABELAAV")), "N");
    ASSERT_TRUE(f.methodPage().selectMethod(QStringLiteral("58")));
    EXPECT_EQ(storedMethod(QStringLiteral("58")).first, "S");
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join(u'\n').toStdString();

    // the first consultation is as it was
    dtConsulta = first;
    EXPECT_EQ(storedMethod(QStringLiteral("00")).first, "S");
    EXPECT_EQ(storedMethod(QStringLiteral("58")).first, "N");
}
