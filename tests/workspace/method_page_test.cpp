// The method page against a real server: selecting and unselecting methods, the body
// mass index group and which member a refusal names, references typed (padded and
// looked up), picked and required, the reference list each kind of method asks for,
// and a deceased patient's list.

#include "consultation_fixture.h"

#include "hostfw/pick_list.h"
#include "workspace/module_context.h"

using namespace workspace;
using workspacetest::ConsultationTest;

namespace {

const QString kReference = "CDTABELACO";
const QString kSelection = "IDTABELAAV";

}  // namespace

class MethodPageTest : public ConsultationTest
{
protected:
    // The reference lists asked for since the traffic was last cleared, each as the
    // method called with its arguments.
    QStringList referenceQueries()
    {
        QStringList out;
        for (const char* method : {"GetRefeMeto", "GetRefePeso", "GetRefeOssa"}) {
            for (const QJsonArray& args : server.argumentsOf(QString::fromLatin1(method))) {
                QStringList parts;
                for (const QJsonValue& v : args)
                    parts << v.toString();
                out << QString::fromLatin1(method) + u'(' + parts.join(u',') + u')';
            }
        }
        return out;
    }
};

TEST_F(MethodPageTest, SelectingTakesTheFirstReferenceAndUnselectingClearsIt)
{
    AssessmentForm& f = open("910000000001");
    ASSERT_TRUE(f.cdsMetoAval.locate("CDTBMETOAVAL", "01"));
    // the method's default reference, or else the first of its list
    QString expected = f.cdsMetoAval.asString("CDTBREFMETOA");
    if (expected.isEmpty())
        expected = reference("01", QString(), "CDREFEBIBL");
    EXPECT_TRUE(f.methodPage().selectMethod("01"));
    EXPECT_EQ(f.cdsMetoAval.asString("CDTABELACO"), expected);
    EXPECT_EQ(f.cdsMetoAval.asString("NMREFEBIBL"), reference("01", expected, "NMREFEBIBL"));
    EXPECT_EQ(storedMethod(QStringLiteral("01")), qMakePair(QStringLiteral("S"), expected));

    EXPECT_TRUE(f.methodPage().unselectMethod("01"));
    EXPECT_TRUE(f.cdsMetoAval.isNull("CDTABELACO"));
    EXPECT_EQ(storedMethod(QStringLiteral("01")), qMakePair(QStringLiteral("N"), QString()));
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join(u'\n').toStdString();
}

TEST_F(MethodPageTest, ReferenceMistakesAreRefusedAndLeaveTheRowInEdit)
{
    AssessmentForm& f = open("910000000003");
    ASSERT_TRUE(f.methodPage().selectMethod("01"));

    const QString before = storedMethod("01").second;
    expectRefused([&] { f.methodPage().selectMethod("01", "89"); }, "Referência não cadastrada.");
    EXPECT_TRUE(f.cdsMetoAval.isEditing());
    EXPECT_EQ(f.methodPage().dbgMetoAvalColumn, "CDTABELACO");  // where the user corrects it
    EXPECT_EQ(storedMethod("01").second, before);
    // corrected, it goes through
    EXPECT_TRUE(f.methodPage().selectMethod("01", "91"));
    EXPECT_EQ(storedMethod("01").second, "91");

    // a method whose list is empty cannot be selected without a reference
    expectRefused([&] { f.methodPage().selectMethod("02"); }, "Referência não cadastrada.");
    EXPECT_TRUE(f.cdsMetoAval.isEditing());
    expectRefused([&] { f.methodPage().postMethodRow(); }, "Referência deve ser informada.");
    f.sbtCancelarClick();
    EXPECT_EQ(selectionOf("02"), "N");
    EXPECT_EQ(storedMethod("02").first, "N");

    // a method without a reference table takes none
    expectRefused([&] { f.methodPage().selectMethod("00", "01"); },
                  "O método '00' não usa tabela de referência.");
    EXPECT_EQ(storedMethod("00").first, "N");
    // and a method the consultation does not offer is named
    expectRefused([&] { f.methodPage().selectMethod("07"); },
                  "O método '07' não está na lista de métodos desta consulta.");
}

TEST_F(MethodPageTest, ReferencePickListOffersTheMethodsWholeList)
{
    AssessmentForm& f = open("910000000004");
    ASSERT_TRUE(f.cdsMetoAval.locate("CDTBMETOAVAL", "01"));
    EXPECT_TRUE(f.methodPage().referenceButtonVisible(f.cdsMetoAval.recNo()));
    {
        hostfw::PickScript script(
            {hostfw::PickAnswer::where("NMREFEBIBL", "Referência de teste B")});
        f.methodPage().dbgMetoAvalEditButtonClick();
        ASSERT_EQ(script.requests().size(), 1);
        EXPECT_EQ(script.requests()[0].emptyMessage, "Não há referência cadastrada.");
    }
    // The caption and the row's code and name after a pick: the window's
    // ReferenceCellTakesATypedCodeOrOneFromItsList.
    f.methodPage().postMethodRow();
    EXPECT_EQ(storedMethod("01"), qMakePair(QStringLiteral("N"), QStringLiteral("91")));

    // an empty list says so and picks nothing
    ASSERT_TRUE(f.cdsMetoAval.locate("CDTBMETOAVAL", "02"));
    {
        hostfw::PickScript script({hostfw::PickAnswer::row(0)});
        f.methodPage().dbgMetoAvalEditButtonClick();
        EXPECT_TRUE(script.requests().isEmpty());
    }
    EXPECT_EQ(errors.last(), "Não há referência cadastrada.");
    EXPECT_FALSE(f.cdsMetoAval.isEditing());
    // a method without a reference table: the window's ReferenceCellTakesATypedCode...
}

TEST_F(MethodPageTest, ToggleActsOnlyInTheSelectionColumnAndClosesTheResults)
{
    AssessmentForm& f = open("910000000005");
    ASSERT_TRUE(f.cdsMetoAval.locate("CDTBMETOAVAL", "00"));
    f.methodPage().setMethodColumn("NMTBMETOAVAL");
    EXPECT_FALSE(f.methodPage().toggleMethod());
    f.methodPage().setMethodColumn("IDTABELAAV");
    EXPECT_TRUE(f.methodPage().toggleMethod());
    EXPECT_TRUE(f.cdsMetoAval.isEditing());  // until the row is left or confirmed
    EXPECT_EQ(storedMethod("00").first, "N");
    f.methodPage().moveMethodRow(f.cdsMetoAval.recNo() + 1);
    EXPECT_FALSE(f.cdsMetoAval.isEditing());
    EXPECT_EQ(storedMethod("00").first, "S");
    // a toggled row is posted before the result page lists its data
    f.methodPage().moveMethodRow(0);
    ASSERT_TRUE(f.cdsMetoAval.locate("CDTBMETOAVAL", "58"));
    EXPECT_TRUE(f.methodPage().toggleMethod());
    enterResults();
    EXPECT_EQ(storedMethod("58").first, "S");
    EXPECT_NE(gridValue("40"), "<sem linha>");
}

TEST_F(MethodPageTest, DeceasedPatientsListDoesNotChange)
{
    AssessmentForm& f = open("910000000006");
    ASSERT_TRUE(f.methodPage().selectMethod("00"));
    enterResults();
    ASSERT_TRUE(f.resultPage().recordValue("01", "70.5"));
    storeRecorded("00", "02", "1.70");
    f.FormClose();

    // the patient dies; the consultation opens read-only
    stCdPacienteAux.clear();
    AssessmentForm& d = open("910000000006", "1", QDate(1996, 3, 10), true);
    ASSERT_TRUE(d.deceased());
    server.clearTraffic();
    ASSERT_TRUE(d.cdsMetoAval.locate("CDTBMETOAVAL", "01"));
    EXPECT_FALSE(d.methodPage().toggleMethod());
    EXPECT_FALSE(d.methodPage().selectMethod("01"));
    EXPECT_FALSE(d.methodPage().unselectMethod("00"));
    // the host opens the same patient again: the consultation stays read-only
    d.FormActivate();
    EXPECT_FALSE(d.methodPage().toggleMethod());
    d.methodPage().typeMethodReference("91");
    {
        hostfw::PickScript script({hostfw::PickAnswer::row(0)});
        d.methodPage().dbgMetoAvalEditButtonClick();
        EXPECT_TRUE(script.requests().isEmpty());
    }
    EXPECT_THROW(d.cdsMetoAval.edit(), hostfw::Abort);
    d.sbtAlterarClick();
    EXPECT_FALSE(d.cdsMetoAval.isEditing());

    // the result page shows the values with the comma but writes nothing
    enterResults();
    EXPECT_EQ(gridValue("02"), "1,70");
    EXPECT_FALSE(d.resultPage().recordValue("01", "80"));
    EXPECT_FALSE(d.resultPage().recordAnswer("01", "1"));
    EXPECT_FALSE(d.resultPage().dataCellEditable(0, "DSINFOAVAL"));
    EXPECT_FALSE(d.resultPage().dbgDadosAvalKeyPress("DSINFOAVAL", u'5'));
    EXPECT_FALSE(d.actions().sbtCalcular);
    EXPECT_FALSE(d.actions().sbtEstimado);
    EXPECT_FALSE(d.actions().editButtons);
    EXPECT_FALSE(d.actions().energyEdits);
    for (const QString& method : server.calledMethods())
        EXPECT_FALSE(method.startsWith(u"Set")) << method.toStdString();
    EXPECT_EQ(recorded("02").value("00").value, "1.70");
    EXPECT_EQ(storedMethod("00").first, "S");
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.messages().join(u'\n').toStdString();
}

TEST_F(MethodPageTest, TheRefusalNamesTheFirstSelectedMemberOfTheGroupInItsOrder)
{
    AssessmentForm& f = open("950000000001");
    // another client left two members selected
    storeMethod("49", "S", QString());
    storeMethod("18", "S", QString());
    f.sbtVerificarClick();

    expectRefused([&] { f.methodPage().selectMethod("01"); }, "IMC Amputado está selecionado.");
    expectRefused([&] { f.methodPage().selectMethod("68"); }, "IMC Amputado está selecionado.");
    ASSERT_TRUE(f.methodPage().unselectMethod("18"));
    expectRefused([&] { f.methodPage().selectMethod("01"); }, "IMC (OMS 1998) está selecionado.");
    // the selected member itself is not held back by the other
    ASSERT_TRUE(f.methodPage().unselectMethod("49"));
    EXPECT_TRUE(f.methodPage().selectMethod("68"));
    expectRefused([&] { f.methodPage().selectMethod("67"); },
                  "IMC para Gestantes está selecionado.");
    EXPECT_EQ(selectionOf("67"), "N");
    EXPECT_FALSE(f.cdsMetoAval.isEditing());
    EXPECT_EQ(storedMethod("67").first, "N");
    // a method outside the group is not held back
    EXPECT_TRUE(f.methodPage().selectMethod("00"));
}

TEST_F(MethodPageTest, ATypedReferenceIsPaddedAndLookedUpWhenTheColumnIsLeft)
{
    server.addReference("METO", "01", "05", "Referência de teste C");
    AssessmentForm& f = open("950000000002");
    ASSERT_TRUE(f.methodPage().selectMethod("01", "5"));
    EXPECT_EQ(f.cdsMetoAval.asString(kReference), "05");
    EXPECT_EQ(f.cdsMetoAval.asString("NMREFEBIBL"), "Referência de teste C");
    EXPECT_EQ(storedMethod("01"), qMakePair(QStringLiteral("S"), QStringLiteral("05")));

    // an unselected method's reference is looked up too, without being required
    ASSERT_TRUE(f.cdsMetoAval.locate("CDTBMETOAVAL", "48"));
    f.methodPage().setMethodColumn(kReference);
    f.methodPage().typeMethodReference("9");
    expectRefused([&] { f.methodPage().setMethodColumn(kSelection); },
                  "Referência não cadastrada.");
    EXPECT_EQ(f.methodPage().dbgMetoAvalColumn, kReference);  // the user corrects it where it is
    EXPECT_EQ(f.cdsMetoAval.asString(kReference), "09");
    f.methodPage().typeMethodReference("91");
    f.methodPage().setMethodColumn(kSelection);
    EXPECT_EQ(f.cdsMetoAval.asString("NMREFEBIBL"), "Referência de teste B");
    f.methodPage().postMethodRow();
    EXPECT_EQ(storedMethod("48"), qMakePair(QStringLiteral("N"), QStringLiteral("91")));
    // an unselected method with its reference emptied posts as it is
    f.methodPage().setMethodColumn(kReference);
    f.methodPage().typeMethodReference(QString());
    f.methodPage().setMethodColumn(kSelection);
    f.methodPage().postMethodRow();
    EXPECT_EQ(storedMethod(QStringLiteral("48")), qMakePair(QStringLiteral("N"), QString()));
    EXPECT_TRUE(errors.messages().size() == 1) << errors.messages().join(u'\n').toStdString();
}

TEST_F(MethodPageTest, PostingASelectedMethodOutsideTheReferenceColumnDoesNotLookItUpAgain)
{
    AssessmentForm& f = open("950000000003");
    ASSERT_TRUE(f.methodPage().selectMethod("01", "90"));
    server.clearTraffic();
    // the user unselects and selects again, then confirms from the selection column:
    // the default reference is looked up once, when the method is selected
    f.methodPage().dbgMetoAvalColumn = kSelection;
    ASSERT_TRUE(f.methodPage().toggleMethod());
    ASSERT_TRUE(f.methodPage().toggleMethod());
    EXPECT_EQ(referenceQueries().size(), 1);
    f.sbtConfirmarClick();
    EXPECT_EQ(referenceQueries().size(), 1);
    EXPECT_EQ(storedMethod("01").first, "S");
}

TEST_F(MethodPageTest, EachKindOfMethodAsksForItsOwnReferenceList)
{
    AssessmentForm& f = open("950000000004");
    const auto pick = [&](const QString& code) {
        server.clearTraffic();
        ASSERT_TRUE(form->cdsMetoAval.locate("CDTBMETOAVAL", code)) << code.toStdString();
        hostfw::PickScript script;  // cancelled: only the question matters
        form->methodPage().dbgMetoAvalEditButtonClick();
    };
    // the Must, Burr Phillips and Frisancho ideal weights share the list of "01"
    for (const char* code : {"09", "10", "14"}) {
        pick(QString::fromLatin1(code));
        EXPECT_EQ(referenceQueries(), QStringList{"GetRefeMeto(,01)"}) << code;
    }
    pick("48");
    EXPECT_EQ(referenceQueries(), QStringList{"GetRefeMeto(,48)"});
    // the Metropolitan and Grant ideal weights: the frame tables
    for (const char* code : {"06", "19"}) {
        pick(QString::fromLatin1(code));
        EXPECT_EQ(referenceQueries(), QStringList{"GetRefeOssa()"}) << code;
    }
    // selecting checks the default reference against the same list
    server.clearTraffic();
    ASSERT_TRUE(f.cdsMetoAval.locate("CDTBMETOAVAL", "09"));
    const QString defaultReference = f.cdsMetoAval.asString("CDTBREFMETOA");
    f.methodPage().dbgMetoAvalColumn = kSelection;
    try {
        f.methodPage().toggleMethod();
    } catch (const hostfw::Abort&) {
    }
    EXPECT_EQ(referenceQueries(),
              QStringList{QStringLiteral("GetRefeMeto(%1,01)").arg(defaultReference)});
    // a child's weight for age: the weight tables
    f.FormClose();
    open("950000000005", "0", QDate(2023, 6, 1));
    pick("12");
    EXPECT_EQ(referenceQueries(), QStringList{"GetRefePeso()"});
}

TEST_F(MethodPageTest, AChoiceAnotherUserChangedMeanwhileIsRefusedAndTheConsultationReloads)
{
    const QString stale =
        "Registro alterado por outro usuário. Atualize a consulta e tente novamente.";
    AssessmentForm& f = open("910000000021");
    ASSERT_EQ(selectionOf("01"), "N");
    const QString first = reference("01", QString(), "CDREFEBIBL");

    // Another window selects the method after this one read the list: selecting it here
    // too is refused, nothing of it is written, and the list shows what is stored.
    storeMethod("01", "S", "91");
    errors.clear();
    EXPECT_FALSE(hostfw::RunAction([&] { f.methodPage().selectMethod("01"); }));
    EXPECT_EQ(errors.messages(), QStringList{stale});
    EXPECT_EQ(storedMethod("01"), qMakePair(QStringLiteral("S"), QStringLiteral("91")));
    ASSERT_TRUE(f.cdsMetoAval.locate("CDTBMETOAVAL", "01"));
    EXPECT_EQ(f.cdsMetoAval.asString(kSelection), "S");
    EXPECT_EQ(f.cdsMetoAval.asString(kReference), "91");
    EXPECT_EQ(f.cdsMetoAval.changeCount(), 0);

    // The other window unselects it: changing the reference shown here is refused alike.
    storeMethod("01", "N", QString());
    errors.clear();
    EXPECT_FALSE(hostfw::RunAction([&] { f.methodPage().selectMethod("01", first); }));
    EXPECT_EQ(errors.messages(), QStringList{stale});
    EXPECT_EQ(storedMethod("01"), qMakePair(QStringLiteral("N"), QString()));
    EXPECT_EQ(selectionOf("01"), "N");

    // On what is shown now, the choice goes through.
    EXPECT_TRUE(f.methodPage().selectMethod("01", "91"));
    EXPECT_EQ(storedMethod("01"), qMakePair(QStringLiteral("S"), QStringLiteral("91")));
}
