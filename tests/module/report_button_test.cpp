// The main form's Print button, as the host uses the module: it opens the report form
// for the consultation's patient, which loads its method list and previews the report.

#include "loopback_server.h"

#include "hostfw/error_display.h"
#include "hostfw/widgets/mdi_host.h"
#include "module/module_entry.h"
#include "report/tfrm_aval_nutric.h"
#include "workspace/form/tfrm_aval_nutr_energ.h"
#include "workspace/module_context.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>

#include <gtest/gtest.h>

TEST(ModuleReport, ThePrintButtonOpensTheReportFormForThePatient)
{
    workspacetest::LoopbackServer server;
    server.useForHost();
    server.addPatient("800000000021", "Lia Souza", "1", QDate(1990, 4, 4));
    QMdiArea area;
    hostfw::setMdiHost(&area);
    hostfw::ErrorRecorder errors;
    stCdPacienteAux.clear();
    const auto utc = [](const QDate& d) { return QDateTime(d, QTime(0, 0), Qt::UTC); };
    IniProc({QStringLiteral("0001"), QStringLiteral("800000000021"), QStringLiteral("Lia Souza"),
             QStringLiteral("1"), utc(QDate(1990, 4, 4)), utc(QDate(2026, 12, 6))});
    auto* form = static_cast<workspace::TfrmAvalNutrEnerg*>(frmAvalNutrEnerg);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->mnuOperacao->actions().contains(form->sbtImprimir));

    form->sbtImprimir->trigger();
    QApplication::processEvents();
    report::TfrmAvalNutric* report = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* r = qobject_cast<report::TfrmAvalNutric*>(w); r && r->isVisible())
            report = r;
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->core().cdsMetodo.recordCount(), 68) << errors.last().toStdString();

    report::QueryParams params = report->core().report.newParams();
    report->core().rpddPadraoBeforeGetQueryParams(params);
    EXPECT_EQ(params.value(report::P_CDPACIENTE), "800000000021");
    EXPECT_EQ(params.value(report::P_CDFILIAL), "0001");

    report->close();
    area.closeAllSubWindows();
    QApplication::processEvents();
    hostfw::setMdiHost(nullptr);
    EXPECT_TRUE(errors.messages().isEmpty()) << errors.last().toStdString();
}
