// The report form's widgets under the offscreen platform against a real server on
// loopback: the controls as the user sees them, a failed check focusing its control, the
// preview with the report's pages (screenshot when AVALNUTRI_SHOT_DIR names a folder) and
// Save As writing the PDF.

#include "loopback_server.h"

#include "hostfw/error_display.h"
#include "hostfw/widgets/date_edit_plus.h"
#include "report/tfrm_aval_nutric.h"
#include "workspace/module_context.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QDateTime at(const QDate& d)
{
    return QDateTime(d, QTime(0, 0), Qt::UTC);
}

}  // namespace

class ReportWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.useForHost();
        workspace::setConsultationContext("0001", "000000000001", "", "0", at(QDate(1981, 9, 6)),
                                          at(QDate(2026, 12, 6)));
        for (const auto& [d, weight] :
             {std::pair{QDate(2026, 9, 10), "80"}, std::pair{QDate(2026, 12, 6), "81"}}) {
            const records::ConsultationKey k{"0001", "000000000001", at(d)};
            ASSERT_TRUE(servertest::recordValue(server.client(), k, "00", "01", weight).ok);
            ASSERT_TRUE(servertest::recordValue(server.client(), k, "00", "02", "1,80").ok);
        }
        window = std::make_unique<report::TfrmAvalNutric>(nullptr, server.transport());
        window->resize(560, 260);
        window->show();
        QApplication::processEvents();
    }
    void TearDown() override { hostfw::TfrmDadosGerRel::setDialogRunner({}); }

    workspacetest::LoopbackServer server;
    hostfw::ErrorRecorder errors;
    std::unique_ptr<report::TfrmAvalNutric> window;
};

TEST_F(ReportWindow, ShowsItsControlsAndLoadsTheMethodListOnce)
{
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Avaliação Nutricional"));
    EXPECT_EQ(window->lblCodigoTela->text(), "VEX12214");
    EXPECT_EQ(window->lblCodigoRel->text(), "Vex122");
    EXPECT_EQ(window->gpbPeriodo->title(), QString::fromUtf8("Período da Consulta"));
    EXPECT_EQ(window->grpMetodo->title(), QString::fromUtf8("Método"));
    EXPECT_TRUE(window->rbtTodosMet->isChecked());
    EXPECT_FALSE(window->btpMetodo->isEnabled());
    EXPECT_EQ(window->btpMetodo->toolTip(), "Pesquisar");
    EXPECT_EQ(window->core().cdsMetodo.recordCount(), 68);

    window->hide();
    window->show();
    QApplication::processEvents();
    EXPECT_EQ(server.calledMethods().count("GetRelatorio"), 1);

    window->rbtListaMet->click();
    EXPECT_TRUE(window->btpMetodo->isEnabled());
    window->rbtTodosMet->click();
    EXPECT_FALSE(window->btpMetodo->isEnabled());
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.last().toStdString();
}

TEST_F(ReportWindow, AFailedCheckShowsItsMessageAndFocusesTheControl)
{
    window->activateWindow();
    window->depDataIni->SetDate(QDate(2026, 12, 6));
    QTest::keyClicks(window->depDataIni->lineEdit(), "x");
    window->sbtVisualizar->click();
    EXPECT_EQ(errors.last(), QString::fromUtf8("Data final deve ser informada."));
    EXPECT_TRUE(window->depDataFin->lineEdit()->hasFocus());

    window->depDataFin->SetDate(QDate(2026, 12, 1));
    window->sbtSalvar->click();
    EXPECT_EQ(errors.last(),
              QString::fromUtf8("Data final deve ser maior ou igual à data inicial."));
    EXPECT_EQ(server.calledMethods().count("GetDadosRelatorio"), 0);
}

TEST_F(ReportWindow, PreviewShowsTheReportPagesAndSaveAsWritesThePdf)
{
    window->depDataIni->SetDate(QDate(2026, 9, 1));
    window->depDataFin->SetDate(QDate(2026, 12, 31));
    int pages = 0;
    QString title;
    hostfw::TfrmDadosGerRel::setDialogRunner([&](QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        auto* preview = dialog.findChild<QPrintPreviewWidget*>();
        if (preview)
            pages = preview->pageCount();
        title = dialog.windowTitle();
        const QString shots = qEnvironmentVariable("AVALNUTRI_SHOT_DIR");
        if (!shots.isEmpty())
            dialog.grab().save(QDir(shots).filePath("report_preview.png"));
        return int(QDialog::Rejected);
    });
    window->sbtVisualizar->click();
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.last().toStdString();
    EXPECT_EQ(pages, 2);  // the consultations, then the trend on a page of its own
    EXPECT_EQ(title, QString::fromUtf8("Visualizar — Avaliação Nutricional"));

    QTemporaryDir dir;
    const QString pdf = dir.filePath("avaliacao");
    ASSERT_TRUE(window->SalvarComo(pdf));
    QFile written(pdf + ".pdf");
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(5).startsWith("%PDF"));
    EXPECT_EQ(server.calledMethods().count("GetDadosRelatorio"), 2);
}
