// The method page's finer rules against a real server: which member of the body mass
// index group a refusal names, how a typed reference is padded and looked up, and which
// reference list each kind of method asks for.

#include "consultation_fixture.h"

#include "hostfw/pick_list.h"
#include "workspace/module_context.h"

using namespace workspace;
using workspacetest::ConsultationTest;

namespace {

const QString kReference = QStringLiteral("CDTABELACO");
const QString kSelection = QStringLiteral("IDTABELAAV");

}  // namespace

class MethodRules : public ConsultationTest
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

TEST_F(MethodRules, TheRefusalNamesTheFirstSelectedMemberOfTheGroupInItsOrder)
{
    AssessmentForm& f = open(QStringLiteral("950000000001"));
    // another client left two members selected
    storeMethod(QStringLiteral("49"), QStringLiteral("S"), QString());
    storeMethod(QStringLiteral("18"), QStringLiteral("S"), QString());
    f.sbtVerificarClick();

    expectRefused([&] { f.methodPage().selectMethod(QStringLiteral("01")); },
                  "IMC Amputado está selecionado.");
    expectRefused([&] { f.methodPage().selectMethod(QStringLiteral("68")); },
                  "IMC Amputado está selecionado.");
    ASSERT_TRUE(f.methodPage().unselectMethod(QStringLiteral("18")));
    expectRefused([&] { f.methodPage().selectMethod(QStringLiteral("01")); },
                  "IMC (OMS 1998) está selecionado.");
    // the selected member itself is not held back by the other
    ASSERT_TRUE(f.methodPage().unselectMethod(QStringLiteral("49")));
    EXPECT_TRUE(f.methodPage().selectMethod(QStringLiteral("68")));
    expectRefused([&] { f.methodPage().selectMethod(QStringLiteral("67")); },
                  "IMC para Gestantes está selecionado.");
    EXPECT_EQ(storedMethod(QStringLiteral("67")).first, "N");
}

TEST_F(MethodRules, ATypedReferenceIsPaddedAndLookedUpWhenTheColumnIsLeft)
{
    server.addReference(QStringLiteral("METO"), QStringLiteral("01"), QStringLiteral("05"),
                        QStringLiteral("Referência de teste C"));
    AssessmentForm& f = open(QStringLiteral("950000000002"));
    ASSERT_TRUE(f.methodPage().selectMethod(QStringLiteral("01"), QStringLiteral("5")));
    EXPECT_EQ(f.cdsMetoAval.asString(kReference), "05");
    EXPECT_EQ(f.cdsMetoAval.asString(QStringLiteral("NMREFEBIBL")), "Referência de teste C");
    EXPECT_EQ(storedMethod(QStringLiteral("01")),
              qMakePair(QStringLiteral("S"), QStringLiteral("05")));

    // an unselected method's reference is looked up too, without being required
    ASSERT_TRUE(f.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("48")));
    f.methodPage().setMethodColumn(kReference);
    f.methodPage().typeMethodReference(QStringLiteral("9"));
    expectRefused([&] { f.methodPage().setMethodColumn(kSelection); },
                  "Referência não cadastrada.");
    EXPECT_EQ(f.methodPage().dbgMetoAvalColumn, kReference);  // the user corrects it where it is
    EXPECT_EQ(f.cdsMetoAval.asString(kReference), "09");
    f.methodPage().typeMethodReference(QStringLiteral("91"));
    f.methodPage().setMethodColumn(kSelection);
    EXPECT_EQ(f.cdsMetoAval.asString(QStringLiteral("NMREFEBIBL")), "Referência de teste B");
    f.methodPage().postMethodRow();
    EXPECT_EQ(storedMethod(QStringLiteral("48")),
              qMakePair(QStringLiteral("N"), QStringLiteral("91")));
    // an unselected method with its reference emptied posts as it is
    f.methodPage().setMethodColumn(kReference);
    f.methodPage().typeMethodReference(QString());
    f.methodPage().setMethodColumn(kSelection);
    f.methodPage().postMethodRow();
    EXPECT_EQ(storedMethod(QStringLiteral("48")), qMakePair(QStringLiteral("N"), QString()));
    EXPECT_TRUE(errors.messages().size() == 1) << errors.messages().join(u'\n').toStdString();
}

TEST_F(MethodRules, PostingASelectedMethodOutsideTheReferenceColumnDoesNotLookItUpAgain)
{
    AssessmentForm& f = open(QStringLiteral("950000000003"));
    ASSERT_TRUE(f.methodPage().selectMethod(QStringLiteral("01"), QStringLiteral("90")));
    server.clearTraffic();
    // the user unselects and selects again, then confirms from the selection column:
    // the default reference is looked up once, when the method is selected
    f.methodPage().dbgMetoAvalColumn = kSelection;
    ASSERT_TRUE(f.methodPage().toggleMethod());
    ASSERT_TRUE(f.methodPage().toggleMethod());
    EXPECT_EQ(referenceQueries().size(), 1);
    f.sbtConfirmarClick();
    EXPECT_EQ(referenceQueries().size(), 1);
    EXPECT_EQ(storedMethod(QStringLiteral("01")).first, "S");
}

TEST_F(MethodRules, EachKindOfMethodAsksForItsOwnReferenceList)
{
    AssessmentForm& f = open(QStringLiteral("950000000004"));
    const auto pick = [&](const QString& code) {
        server.clearTraffic();
        ASSERT_TRUE(f.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), code))
            << code.toStdString();
        hostfw::PickScript script;  // cancelled: only the question matters
        f.methodPage().dbgMetoAvalEditButtonClick();
    };
    // the Must, Burr Phillips and Frisancho ideal weights share the list of "01"
    for (const char* code : {"09", "10", "14"}) {
        pick(QString::fromLatin1(code));
        EXPECT_EQ(referenceQueries(), QStringList{"GetRefeMeto(,01)"}) << code;
    }
    pick(QStringLiteral("48"));
    EXPECT_EQ(referenceQueries(), QStringList{"GetRefeMeto(,48)"});
    // the Metropolitan and Grant ideal weights: the frame tables
    for (const char* code : {"06", "19"}) {
        pick(QString::fromLatin1(code));
        EXPECT_EQ(referenceQueries(), QStringList{"GetRefeOssa()"}) << code;
    }
    // selecting checks the default reference against the same list
    server.clearTraffic();
    ASSERT_TRUE(f.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("09")));
    const QString defaultReference = f.cdsMetoAval.asString(QStringLiteral("CDTBREFMETOA"));
    f.methodPage().dbgMetoAvalColumn = kSelection;
    try {
        f.methodPage().toggleMethod();
    } catch (const hostfw::Abort&) {
    }
    EXPECT_EQ(referenceQueries(),
              QStringList{QStringLiteral("GetRefeMeto(%1,01)").arg(defaultReference)});
}

TEST_F(MethodRules, AChildsWeightForAgeAsksForTheWeightTables)
{
    AssessmentForm& f =
        open(QStringLiteral("950000000005"), QStringLiteral("0"), QDate(2023, 6, 1));
    ASSERT_TRUE(f.cdsMetoAval.locate(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("12")));
    server.clearTraffic();
    hostfw::PickScript script;
    f.methodPage().dbgMetoAvalEditButtonClick();
    EXPECT_EQ(referenceQueries(), QStringList{"GetRefePeso()"});
}
