// The diagnosis tab's widgets on a consultation from a real server: typing and the
// formatting bar, the buttons and tabs while editing, cancel restoring the formatting,
// a paste that keeps only the bar's markup, delete, and a look at the tab.

#include "window_fixture.h"

#include "hostfw/confirm.h"
#include "records/packet_codec.h"
#include "records/rich_text.h"
#include "records/write_through.h"
#include "test_server.h"
#include "workspace/diagnosis_page.h"
#include "workspace/form/diagnosis_tab.h"
#include "workspace/module_context.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QMimeData>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolBar>

using namespace workspace;

class DiagnosisTabTest : public workspacetest::WindowTest
{
protected:
    TfrmAvalNutrEnerg& openOnTab(const QString& patient, const QString& stored = {})
    {
        admit(patient, "1", QDate(1961, 8, 14));
        if (!stored.isEmpty()) {
            const QVariantMap row =
                servertest::merged(servertest::keyValues({stCdFilial, stCdPaciente, dtConsulta}),
                                   {{"DSHISTAVALNUT", stored.toUtf8()}});
            EXPECT_TRUE(
                server.client()
                    .SetDiag(servertest::DeltaBuilder(records::layouts::cdsDiagNutri()).insert(row))
                    .ok);
        }
        showWindow(QSize(900, 560));
        window->pgcPadrao->setCurrentWidget(window->tshDiagNutri);
        tab = window->findChild<QToolBar*>("fplDiag");
        return *window;
    }
    QAction* bar(const char* name) { return window->findChild<QAction*>(name); }
    std::string onServer()
    {
        const records::Packet p = records::decodePacket(
            records::checkReply(server.client().GetDiag(window->core().key())));
        return p.rows.isEmpty() ? std::string("<none>")
                                : p.value(0, "DSHISTAVALNUT").toByteArray().toStdString();
    }
    // What the editor shows, in the stored form.
    std::string shown()
    {
        return records::cleanRichText(window->rceDiag->toHtml()).html.toStdString();
    }
    bool tabEnabled(QWidget* page)
    {
        return window->pgcPadrao->isTabEnabled(window->pgcPadrao->indexOf(page));
    }

    QToolBar* tab = nullptr;
};

TEST_F(DiagnosisTabTest, TypedAndFormattedTextIsStoredAndIncludeGoesOff)
{
    TfrmAvalNutrEnerg& w = openOnTab("980000000001");
    QAction* incluir = bar("sbtIncluir");
    EXPECT_TRUE(incluir->isEnabled());
    EXPECT_FALSE(w.sbtAlterar->isEnabled());
    EXPECT_FALSE(w.sbtConfirmar->isEnabled());

    QTest::keyClicks(w.rceDiag, "Anemia");
    EXPECT_TRUE(w.core().diagnosisPage().editing());
    EXPECT_FALSE(incluir->isEnabled());
    EXPECT_FALSE(w.sbtAlterar->isEnabled());
    EXPECT_TRUE(w.sbtConfirmar->isEnabled());
    EXPECT_TRUE(w.sbtCancelar->isEnabled());
    EXPECT_FALSE(tabEnabled(w.tshAvalNutr));
    EXPECT_FALSE(tabEnabled(w.tshPadrao));
    EXPECT_FALSE(w.mnuAvalNutri->isEnabled());

    // The bar on a selection: bold, then a bulleted list and 14 points on a second line.
    w.rceDiag->selectAll();
    bar("sbtNegrito")->trigger();
    QTextCursor end = w.rceDiag->textCursor();
    end.movePosition(QTextCursor::End);
    w.rceDiag->setTextCursor(end);
    QTest::keyClick(w.rceDiag, Qt::Key_Return);
    bar("sbtNegrito")->trigger();  // off again for what follows
    bar("sbtMarcadores")->trigger();
    auto* size = w.findChild<QComboBox*>("cbbTamanhoFonte");
    size->setCurrentIndex(size->findText("14"));
    emit size->activated(size->currentIndex());
    QTest::keyClicks(w.rceDiag, "ferro");
    EXPECT_TRUE(bar("sbtMarcadores")->isChecked());

    w.sbtConfirmar->trigger();
    EXPECT_EQ(onServer(), "<p><b>Anemia</b></p>\n<ul><li><span "
                          "style=\"font-size:14pt\">ferro</span></li></ul>");
    EXPECT_FALSE(incluir->isEnabled());
    EXPECT_TRUE(bar("sbtExcluir")->isEnabled());
    EXPECT_TRUE(w.sbtAlterar->isEnabled());
    EXPECT_TRUE(tabEnabled(w.tshAvalNutr));
    EXPECT_TRUE(w.mnuAvalNutri->isEnabled());
}

TEST_F(DiagnosisTabTest, CancelRestoresTheStoredFormattingAndDeleteReenablesInclude)
{
    const std::string stored = "<p><b>Sobrepeso</b> e <i>baixa</i> ingestão</p>";
    TfrmAvalNutrEnerg& w = openOnTab("980000000002", QString::fromStdString(stored));
    EXPECT_EQ(shown(), stored);
    EXPECT_FALSE(bar("sbtIncluir")->isEnabled());

    w.rceDiag->selectAll();
    QTest::keyClick(w.rceDiag, Qt::Key_Delete);
    EXPECT_TRUE(w.core().diagnosisPage().editing()) << "Delete starts the edit as a key does";
    QTest::keyClicks(w.rceDiag, "tudo novo");
    EXPECT_EQ(w.rceDiag->toPlainText().toStdString(), "tudo novo");
    w.sbtCancelar->trigger();
    EXPECT_EQ(shown(), stored);
    QTextCursor first(w.rceDiag->document());
    first.setPosition(1);
    EXPECT_EQ(first.charFormat().fontWeight(), QFont::Bold);
    EXPECT_FALSE(w.core().diagnosisPage().editing());
    EXPECT_TRUE(tabEnabled(w.tshPadrao));
    EXPECT_EQ(onServer(), stored);

    // The question and the buttons after a delete are the core's (diagnosis_page_test.cpp).
    hostfw::ConfirmRecorder yes({true});
    bar("sbtExcluir")->trigger();
    EXPECT_EQ(onServer(), "<none>");
    EXPECT_TRUE(w.rceDiag->toPlainText().isEmpty());
    EXPECT_TRUE(bar("sbtIncluir")->isEnabled());
}

TEST_F(DiagnosisTabTest, APasteKeepsOnlyWhatTheBarProduces)
{
    TfrmAvalNutrEnerg& w = openOnTab("980000000003");
    auto* mime = new QMimeData;
    mime->setHtml("<p style=\"color:red;font-family:Comic\">de <b>outro</b> lugar"
                  "<img src=\"http://evil.example/p.png\"><script>alert(1)</script></p>");
    mime->setText("de outro lugar");
    QApplication::clipboard()->setMimeData(mime);
    w.rceDiag->paste();
    EXPECT_TRUE(w.core().diagnosisPage().editing());  // a paste starts the edit
    EXPECT_EQ(w.rceDiag->toPlainText().toStdString(), "de outro lugar");
    for (QTextBlock b = w.rceDiag->document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            EXPECT_FALSE(it.fragment().charFormat().isImageFormat());
            EXPECT_FALSE(it.fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush));
        }
    }
    w.sbtConfirmar->trigger();
    EXPECT_EQ(onServer(), "<p>de <b>outro</b> lugar</p>");
}

// The tab as a user sees it with some formatted text; the picture is saved.
TEST_F(DiagnosisTabTest, TheTabRenders)
{
    TfrmAvalNutrEnerg& w = openOnTab(
        "980000000004",
        "<p><b>Diagnóstico:</b> desnutrição <u>moderada</u> (IMC 17,2 kg/m²).</p>\n"
        "<p><span style=\"font-size:14pt\"><i>Causas prováveis</i></span></p>\n"
        "<ul><li>ingestão abaixo das necessidades</li>\n<li>perda de peso de 8% em 3 "
        "meses</li></ul>\n<ol><li>dieta hipercalórica</li>\n<li>suplemento oral</li></ol>");
    QTextCursor c = w.rceDiag->textCursor();
    c.setPosition(3);
    w.rceDiag->setTextCursor(c);
    w.rceDiag->setFocus();
    expectShown(shoot("diagnosis.png"), *w.rceDiag);
    EXPECT_TRUE(bar("sbtNegrito")->isChecked());
}
