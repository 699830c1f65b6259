#include "module_entry.h"

#include "anthropometry/assessment_pass.h"
#include "client/http_app_server.h"
#include "dialogs/tfrm_calc_estimado.h"
#include "dialogs/tfrm_matu_sexual.h"
#include "energy/basal_rate_family.h"
#include "energy/energy_pass.h"
#include "hostfw/action.h"
#include "hostfw/error_display.h"
#include "hostfw/host_settings.h"
#include "hostfw/widgets/mdi_host.h"
#include "recommendation/nutrient_amounts.h"
#include "records/field.h"
#include "report/tfrm_aval_nutric.h"
#include "workspace/calculation_run.h"
#include "workspace/form/tfrm_aval_nutr_energ.h"
#include "workspace/module_context.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace {

// Module load: no form yet, and the server reached over HTTP. (The module-wide values
// release themselves at unload.)
struct ModuleLifetime
{
    ModuleLifetime()
    {
        workspace::moduleLoaded();
        workspace::NetConnection::setDefaultTransport(
            [](const QString& host, int port, const QString& token) {
                httpclient::HttpAppServer::Options options;
                options.host = host;
                options.port = port;
                options.token = token.toUtf8();
                options.tls = hostfw::hostSettings().tls;
                options.caFile = hostfw::hostSettings().caFile;
                options.renewSession = hostfw::hostSettings().renewSession;
                return std::make_unique<httpclient::HttpAppServer>(options);
            });
    }
};
const ModuleLifetime lifetime;

// The calculation run behind the form's Calculate; it outlives every form.
workspace::CalculationRun& calculationRun()
{
    static anthropometry::AssessmentPass assessment;
    static energy::EnergyPass energyPass;
    static recommendation::RecommendationPass recommendationPass;
    static workspace::CalculationRun run = [] {
        workspace::CalculationRun r;
        assessment.addRoutines(energy::assessmentTabDispatch());
        assessment.install(r);
        energyPass.install(r);
        recommendationPass.install(r);
        return r;
    }();
    return run;
}

// A date argument: a date-time, a date, or ISO text.
std::optional<QDateTime> toDate(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime && value.toDateTime().isValid())
        return QDateTime(value.toDateTime().date(), value.toDateTime().time(), Qt::UTC);
    if (value.typeId() == QMetaType::QDate && value.toDate().isValid())
        return QDateTime(value.toDate(), QTime(0, 0), Qt::UTC);
    const QDateTime parsed = records::parseDateTime(value.toString());
    if (parsed.isValid())
        return parsed;
    return std::nullopt;
}

// The main form's Print (sbtImprimirClick): the report form over it, for the patient of
// the consultation.
void sbtImprimirClick(QWidget* form)
{
    auto* dialog = new report::TfrmAvalNutric(form->window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

workspace::TfrmAvalNutrEnerg* mainForm()
{
    return static_cast<workspace::TfrmAvalNutrEnerg*>(frmAvalNutrEnerg);
}

}  // namespace

extern "C" void IniProc(const QVariantList& params)
{
    if (params.size() < 6) {
        hostfw::MensErro(QStringLiteral("A avaliação nutricional precisa de seis parâmetros "
                                        "(filial, paciente, nome, sexo, nascimento e consulta); "
                                        "recebeu %1.")
                             .arg(params.size()),
                         false);
        return;
    }
    const auto birth = toDate(params[4]);
    const auto consultation = toDate(params[5]);
    if (!birth || !consultation) {
        hostfw::MensErro(
            QStringLiteral("Data inválida: '%1'.").arg((!birth ? params[4] : params[5]).toString()),
            false);
        return;
    }
    if (*birth > *consultation) {
        hostfw::MensErro(QStringLiteral("A data de nascimento é posterior à data da consulta."),
                         false);
        return;
    }
    CriaMedAntro(params[0].toString(), params[1].toString(), params[2].toString(),
                 params[3].toString(), *birth, *consultation);
}

extern "C" void CriaMedAntro(const QString& branch, const QString& patient, const QString& name,
                             const QString& sexCode, const QDateTime& birth,
                             const QDateTime& consultation)
{
    workspace::setConsultationContext(branch, patient, name, sexCode, birth, consultation);

    if (!boStCriado || !mainForm()) {
        auto* form = new workspace::TfrmAvalNutrEnerg;
        form->core().setCalculationRun(&calculationRun());
        recommendation::RecommendationPass::installRoutine(form->core());
        QObject::connect(form, &workspace::TfrmAvalNutrEnerg::estimateRequested, form,
                         [form] { dialogs::sbtEstimadoClick(form->core(), form); });
        QObject::connect(form, &workspace::TfrmAvalNutrEnerg::maturationRequested, form, [form] {
            hostfw::RunAction([form] {
                if (const auto opening = dialogs::sbtMaturSexClick(form->core()))
                    CriaMatuSexual(opening->years, opening->months, opening->page);
            });
        });
        QObject::connect(form->sbtImprimir, &QAction::triggered, form,
                         [form] { sbtImprimirClick(form); });
        form->mnuOperacao->addAction(form->sbtImprimir);
        frmAvalNutrEnerg = form;
        boStCriado = true;
        QObject::connect(form, &QObject::destroyed, [] { boStCriado = false; });
        if (QMdiArea* area = hostfw::mdiHost()) {
            QMdiSubWindow* sub = area->addSubWindow(form);
            sub->setAttribute(Qt::WA_DeleteOnClose);
            sub->resize(900, 640);
            // Closing the form closes its MDI window too.
            QObject::connect(form, &QObject::destroyed, sub, &QWidget::close);
        }
    }
    workspace::TfrmAvalNutrEnerg* form = mainForm();
    QWidget* window = form->parentWidget() ? form->parentWidget() : form;
    window->setWindowState(Qt::WindowNoState);
    window->show();
    form->show();
    if (QMdiArea* area = hostfw::mdiHost(); area && form->parentWidget())
        area->setActiveSubWindow(static_cast<QMdiSubWindow*>(form->parentWidget()));
    form->activate();
}

extern "C" void CriaMatuSexual(int years, int months, int page)
{
    workspace::TfrmAvalNutrEnerg* form = boStCriado ? mainForm() : nullptr;
    if (!form)
        return;
    hostfw::RunAction(
        [&] { dialogs::CriaMatuSexual(form->core(), years, months, page, form->window()); });
}
