#include "assessment_pass.h"

#include "dispatch.h"
#include "evaluation.h"

#include "hostfw/reply_check.h"
#include "records/packet_codec.h"
#include "workspace/result_page.h"

namespace anthropometry {

namespace {

using workspace::AssessmentForm;

void reloadResultLines(AssessmentForm& form)
{
    form.cdsResuAval.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(form.netAvalNutrEnerg.GetResuAval(form.key()), true, 0)));
}

}  // namespace

void AssessmentPass::install(workspace::CalculationRun& run)
{
    run.setPass(workspace::CalculationRun::Page::Assessment,
                [this](AssessmentForm& form) { (*this)(form); });
}

void AssessmentPass::addRoutines(std::span<const DispatchEntry> entries)
{
    m_added.insert(m_added.end(), entries.begin(), entries.end());
}

Routine AssessmentPass::routineOf(const QString& code) const
{
    if (const Routine routine = anthropometricRoutine(code))
        return routine;
    for (const DispatchEntry& entry : m_added) {
        if (code == entry.code)
            return entry.routine;
    }
    return nullptr;
}

void AssessmentPass::operator()(AssessmentForm& form)
{
    records::ControlsDisabled dataGrid(form.cdsDadosAval);
    records::ControlsDisabled resultGrid(form.cdsResuAval);

    reloadResultLines(form);
    form.resultPage().Atualiza_DadosInf();
    hostfw::CheckResultServ(form.netAvalNutrEnerg.DelResuAval(form.key()), true, 0);
    reloadResultLines(form);

    records::DataSet& methods = form.cdsMetoAval;
    for (methods.first(); !methods.eof(); methods.next()) {
        if (methods.asString(QStringLiteral("IDTABELAAV")) != u"S")
            continue;
        const QString code = methods.asString(QStringLiteral("CDTBMETOAVAL"));
        if (const Routine routine = routineOf(code)) {
            Evaluation evaluation(form, pageDataSetsOf(form, code), m_queries, code,
                                  methods.asString(QStringLiteral("CDTABELACO")));
            routine(evaluation);
        }
    }
    methods.first();
    reloadResultLines(form);
}

}  // namespace anthropometry
