// The diagnosis tab's core against a real server: a diagnosis created by typing and
// reduced to the bar's markup before it is stored, the buttons and the other tabs
// while editing, delete with its question, refused writes undone, and the read-only
// consultation. Cancel is tried on the tab itself (diagnosis_tab_test.cpp).

#include "consultation_fixture.h"

#include "hostfw/confirm.h"
#include "records/packet_codec.h"
#include "records/write_through.h"
#include "test_server.h"
#include "workspace/diagnosis_page.h"

using namespace workspace;
using workspacetest::ConsultationTest;

namespace {

// What the editor of the window reports for a few lines typed with the bar (Qt's rich
// text, page style and all) and a pasted image and script.
const QString kEditorHtml = QStringLiteral(
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\"><html><head><meta name=\"qrichtext\" "
    "content=\"1\" /><style type=\"text/css\">p, li { white-space: pre-wrap; }</style></head>"
    "<body style=\" font-family:'Sans'; font-size:9pt;\">\n<p style=\" margin-top:0px;\">"
    "Desnutrição <span style=\" font-weight:700;\">moderada</span></p>\n<ul style=\"margin:0\">"
    "<li style=\" margin-top:12px;\"><span style=\" font-style:italic;\">ingestão baixa</span>"
    "</li></ul><p><img src=\"http://evil.example/p.png\" /><script>alert(1)</script></p>"
    "</body></html>");
const QString kStored = QStringLiteral(
    "<p>Desnutrição <b>moderada</b></p>\n<ul><li><i>ingestão baixa</i></li></ul>\n<p></p>");

}  // namespace

class DiagnosisPageTest : public ConsultationTest
{
protected:
    AssessmentForm& openOnTab(const QString& patient, bool deceased = false)
    {
        AssessmentForm& f = open(patient, QStringLiteral("1"), QDate(1996, 3, 10), deceased);
        f.showPage(OuterPage::tshDiagNutri);
        return f;
    }
    DiagnosisPage& page() { return form->diagnosisPage(); }
    // The diagnosis the server holds ("<none>" when there is no record).
    QString onServer()
    {
        const records::Packet p =
            records::decodePacket(records::checkReply(server.client().GetDiag(form->key())));
        return p.rows.isEmpty() ? QStringLiteral("<none>")
                                : QString::fromUtf8(p.value(0, "DSHISTAVALNUT").toByteArray());
    }
    void storeOnServer(const QString& html)
    {
        const QVariantMap row = servertest::merged(servertest::keyValues(form->key()),
                                                   {{"DSHISTAVALNUT", html.toUtf8()}});
        ASSERT_TRUE(
            server.client()
                .SetDiag(servertest::DeltaBuilder(records::layouts::cdsDiagNutri()).insert(row))
                .ok);
    }
    // "I" Include, "A" Alter, "E" Delete, "C" Confirm, "X" Cancel, "T" other tabs.
    QString buttons()
    {
        const DiagnosisPage::Buttons b = page().buttons();
        QString s;
        for (const auto& [on, letter] : {std::pair{b.sbtIncluir, 'I'},
                                         {b.sbtAlterar, 'A'},
                                         {b.sbtExcluir, 'E'},
                                         {b.sbtConfirmar, 'C'},
                                         {b.sbtCancelar, 'X'},
                                         {b.otherTabs, 'T'}})
            s += on ? QLatin1Char(letter) : QLatin1Char('-');
        return s;
    }
};

TEST_F(DiagnosisPageTest, TypingCreatesTheDiagnosisStoredInTheBarsMarkup)
{
    AssessmentForm& f = openOnTab("970000000001");
    EXPECT_EQ(onServer(), "<none>");
    EXPECT_EQ(buttons(), "I----T");

    server.clearTraffic();
    ASSERT_TRUE(page().rceDiagKeyPress());
    EXPECT_EQ(f.cdsDiagNutri.state(), records::DataSetState::Insert);
    EXPECT_EQ(buttons(), "---CX-");
    page().rceDiagChange(kEditorHtml);
    EXPECT_TRUE(server.calledMethods().isEmpty());  // nothing is written while typing

    f.sbtConfirmarClick();
    EXPECT_EQ(server.calledMethods(), QStringList({"SetDiag", "GetDiag"}));
    EXPECT_EQ(onServer(), kStored);
    EXPECT_EQ(page().rceDiag(), kStored);  // the editor shows what was stored
    EXPECT_EQ(buttons(), "-AE--T");        // one diagnosis per consultation
    EXPECT_EQ(busy.depth(), 0);

    // Typing again edits the same record.
    ASSERT_TRUE(page().rceDiagKeyPress());
    EXPECT_EQ(f.cdsDiagNutri.state(), records::DataSetState::Edit);
    page().rceDiagChange("<p>Eutrofia.</p>");
    f.sbtConfirmarClick();
    EXPECT_EQ(onServer(), "<p>Eutrofia.</p>");
}

TEST_F(DiagnosisPageTest, WhileEditingTheOtherTabsCannotBeEntered)
{
    AssessmentForm& f = openOnTab("970000000002");
    page().rceDiagChange("<p>a</p>");  // a paste or a drop starts the edit as a key does
    ASSERT_TRUE(page().editing());
    f.showPage(OuterPage::tshAvalNutr);
    f.showPage(OuterPage::tshPadrao, std::nullopt, EnergPage::tshResulEnerg);
    EXPECT_EQ(f.pgcPadrao, OuterPage::tshDiagNutri);
    // Entering the tab again keeps the text being typed.
    f.showPage(OuterPage::tshDiagNutri);
    EXPECT_TRUE(page().editing());
    EXPECT_EQ(page().rceDiag(), "<p>a</p>");
    // Cancelling a new diagnosis leaves none.
    f.sbtCancelarClick();
    EXPECT_TRUE(f.cdsDiagNutri.isEmpty());
    EXPECT_EQ(page().rceDiag(), QString());
    f.showPage(OuterPage::tshAvalNutr);
    EXPECT_EQ(f.pgcPadrao, OuterPage::tshAvalNutr);
}

TEST_F(DiagnosisPageTest, DeleteAsksAndReenablesInclude)
{
    AssessmentForm& f = open("970000000004");
    storeOnServer("<p>texto</p>");
    f.showPage(OuterPage::tshDiagNutri);

    hostfw::ConfirmRecorder answers({false, true});
    page().sbtExcluirClick();
    EXPECT_EQ(onServer(), "<p>texto</p>");
    page().sbtExcluirClick();
    EXPECT_EQ(answers.questions(), QStringList({"Confirma exclusão?", "Confirma exclusão?"}));
    EXPECT_EQ(onServer(), "<none>");
    EXPECT_EQ(page().rceDiag(), QString());
    EXPECT_EQ(buttons(), "I----T");
    EXPECT_EQ(f.cdsDiagNutri.changeCount(), 0);

    // Nothing to delete, nothing asked.
    page().sbtExcluirClick();
    EXPECT_EQ(answers.questions().size(), 2);
}

TEST_F(DiagnosisPageTest, ARefusedWriteIsUndoneAndTheTypedTextKept)
{
    AssessmentForm& f = openOnTab("970000000005");
    page().rceDiagKeyPress();
    page().rceDiagChange("<p>primeira versão</p>");
    server.failNext("SetDiag");
    EXPECT_THROW(f.sbtConfirmarClick(), records::Error);
    EXPECT_EQ(onServer(), "<none>");
    EXPECT_TRUE(f.cdsDiagNutri.isEmpty());
    EXPECT_EQ(f.cdsDiagNutri.changeCount(), 0);
    EXPECT_EQ(busy.depth(), 0);
    // The typed text is still in the editor: a key and Confirm store it.
    EXPECT_EQ(page().rceDiag(), "<p>primeira versão</p>");
    page().rceDiagKeyPress();
    f.sbtConfirmarClick();
    EXPECT_EQ(onServer(), "<p>primeira versão</p>");

    // A delete the server refuses leaves the diagnosis in place.
    hostfw::ConfirmRecorder yes({true});
    server.failNext("SetDiag");
    EXPECT_THROW(page().sbtExcluirClick(), records::Error);
    EXPECT_EQ(f.cdsDiagNutri.recordCount(), 1);
    EXPECT_EQ(onServer(), "<p>primeira versão</p>");
    EXPECT_EQ(buttons(), "-AE--T");
}

TEST_F(DiagnosisPageTest, AnotherConsultationDropsTheTextBeingTyped)
{
    AssessmentForm& f = openOnTab("970000000008");
    page().rceDiagChange("<p>de outra paciente</p>");
    ASSERT_TRUE(page().editing());
    // The host opens another patient's consultation in the same form.
    admit("970000000009", "1", QDate(1990, 1, 1));
    storeOnServer("<p>dela</p>");
    f.FormActivate();
    EXPECT_FALSE(page().editing());
    EXPECT_EQ(page().rceDiag(), "<p>dela</p>");
    f.sbtConfirmarClick();
    EXPECT_EQ(onServer(), "<p>dela</p>");
}

TEST_F(DiagnosisPageTest, TheBarsFirstNotificationOnlySetsTheFlagAndBlankTextIsNoText)
{
    AssessmentForm& f = openOnTab("970000000006");
    page().fplDiagClick();
    EXPECT_FALSE(page().editing());
    page().fplDiagClick();
    EXPECT_EQ(f.cdsDiagNutri.state(), records::DataSetState::Insert);
    // Only blanks and an image: the record holds no text.
    page().rceDiagChange("<p> <img src=\"x.png\"></p>");
    f.sbtConfirmarClick();
    const records::Packet p =
        records::decodePacket(records::checkReply(server.client().GetDiag(f.key())));
    ASSERT_EQ(p.rows.size(), 1);
    EXPECT_TRUE(p.value(0, "DSHISTAVALNUT").isNull());
    EXPECT_EQ(buttons(), "-AE--T");
}

TEST_F(DiagnosisPageTest, AReadOnlyConsultationTakesNoDiagnosis)
{
    AssessmentForm& f = open("970000000007", QStringLiteral("1"), QDate(1996, 3, 10), true);
    f.showPage(OuterPage::tshDiagNutri);
    EXPECT_FALSE(page().editorEnabled());
    EXPECT_FALSE(page().rceDiagKeyPress());
    page().rceDiagChange("<p>x</p>");
    page().sbtIncluirClick();
    EXPECT_FALSE(page().editing());
    EXPECT_FALSE(page().storeText("<p>x</p>"));
    EXPECT_EQ(buttons(), "-----T");
    EXPECT_EQ(onServer(), "<none>");
}
