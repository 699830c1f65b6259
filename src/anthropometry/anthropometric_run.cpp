#include "anthropometric_run.h"

#include "dispatch.h"
#include "evaluation.h"

#include "hostfw/busy.h"
#include "hostfw/reply_check.h"
#include "records/packet_codec.h"

namespace anthropometry {

namespace {

using workspace::AssessmentForm;
using workspace::EnergPage;
using workspace::InnerPage;
using workspace::OuterPage;

// The grids bound to a dataset stop repainting for the guard's lifetime, so they
// resume on the normal and on the error path alike.
class RepaintSuspended
{
public:
    explicit RepaintSuspended(records::DataSet& dataSet) : m_dataSet(dataSet)
    {
        m_dataSet.disableControls();
    }
    ~RepaintSuspended() { m_dataSet.enableControls(); }
    RepaintSuspended(const RepaintSuspended&) = delete;
    RepaintSuspended& operator=(const RepaintSuspended&) = delete;

private:
    records::DataSet& m_dataSet;
};

void reloadResultLines(AssessmentForm& form)
{
    form.cdsResuAval.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(form.netAvalNutrEnerg.GetResuAval(form.key()), true, 0)));
}

}  // namespace

void AnthropometricRun::run(AssessmentForm& form)
{
    // A deceased patient's consultation is read-only: Calculate does nothing.
    if (form.deceased())
        return;
    if (m_preparation)
        m_preparation(form);
    hostfw::BusyGuard busy(form.busyIndicator(), hostfw::AviKind::Processing);
    if (form.pgcPadrao == OuterPage::tshPadrao) {
        if (form.pgcAvalEnerg == EnergPage::tshResulEnerg && m_energyPass)
            m_energyPass(form);
        else if (form.pgcAvalEnerg == EnergPage::tshNutrRecom && m_recommendationPass)
            m_recommendationPass(form);
    } else if (form.pgcPadrao == OuterPage::tshAvalNutr
               && form.pgcAvalNutr == InnerPage::tshAvaliacao) {
        anthropometricPass(form);
    }
    form.sbtVerificarClick();
}

void AnthropometricRun::anthropometricPass(AssessmentForm& form)
{
    RepaintSuspended dataGrid(form.cdsDadosAval);
    RepaintSuspended resultGrid(form.cdsResuAval);

    reloadResultLines(form);
    form.Atualiza_DadosInf();
    hostfw::CheckResultServ(form.netAvalNutrEnerg.DelResuAval(form.key()), true, 0);
    reloadResultLines(form);

    records::DataSet& methods = form.cdsMetoAval;
    for (methods.first(); !methods.eof(); methods.next()) {
        if (methods.asString(QStringLiteral("IDTABELAAV")) != u"S")
            continue;
        const QString code = methods.asString(QStringLiteral("CDTBMETOAVAL"));
        if (const Routine routine = anthropometricRoutine(code)) {
            Evaluation evaluation(form, pageDataSetsOf(form, code), m_queries, code,
                                  methods.asString(QStringLiteral("CDTABELACO")));
            routine(evaluation);
        }
    }
    methods.first();
    reloadResultLines(form);
}

}  // namespace anthropometry
