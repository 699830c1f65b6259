#include "energy_pass.h"

#include "energy_messages.h"

#include "anthropometry/evaluation.h"
#include "anthropometry/growth_family.h"
#include "anthropometry/ideal_weight_family.h"
#include "anthropometry/number_texts.h"
#include "anthropometry/reference_queries.h"
#include "hostfw/reply_check.h"
#include "records/method_codes.h"
#include "records/packet_codec.h"
#include "workspace/energy_page.h"
#include "workspace/result_page.h"

namespace energy {

namespace {

using workspace::AssessmentForm;
namespace M = records::method;

QString msg(const char* key)
{
    return msgEnergia().Msg(QString::fromLatin1(key));
}

void reloadEnergyLines(AssessmentForm& form)
{
    form.cdsResuAvalEnerg.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(form.netAvalNutrEnerg.GetResuAvalEnerg(form.key()), true, 0)));
}

// The codes of the selected energy methods, in list order.
QStringList selectedMethods(AssessmentForm& form)
{
    QStringList codes;
    records::DataSet& methods = form.cdsMetoAvalEnerg;
    for (int row = 0; row < methods.recordCount(); ++row) {
        if (methods.asStringAt(row, QStringLiteral("IDTABELAAV")) == u"S")
            codes.append(methods.asStringAt(row, QStringLiteral("CDTBMETOAVAL")));
    }
    return codes;
}

// The weights of the panel as the methods read them.
struct Panel
{
    double weight = 0;
    double adequateWeight = 0;  // 0: none
};

// The panel checked before anything is stored or deleted: a positive weight, a height
// for the methods that use it, an adequate weight that is empty or a number.
void checkPanel(AssessmentForm& form, const QStringList& methods)
{
    form.energyPage().checkPanel(methods.contains(M::kHarris) || methods.contains(M::kDuBois));
}

Panel panelNumbers(AssessmentForm& form)
{
    const workspace::EnergyPage& page = form.energyPage();
    return {typedNumber(page.medPeso).value_or(0), typedNumber(page.medPesoAdeq).value_or(0)};
}

using Equation = void (*)(AssessmentForm&, double, Mode);

Equation equationOf(const QString& code)
{
    return code == M::kHarris        ? &Calcula_Harris
           : code == M::kRda         ? &Calcula_RDA
           : code == M::kDuBois      ? &Calcula_DuBois
           : code == M::kIretonJones ? &Calcula_IretonJones
                                     : nullptr;
}

// An equation at the current weight, at the ideal weight(s) of the chosen method and at
// the adequate weight.
void evaluateAtEachWeight(AssessmentForm& form, const QString& code, const Panel& panel)
{
    const Equation equation = equationOf(code);
    equation(form, panel.weight, Mode::Avaliacao);
    if (form.cbbPesoIdealIndex != -1)
        anthropometry::Calcula_Metodo_PesoIdeal(form, code, &idealWeightLines);
    if (panel.adequateWeight != 0)
        equation(form, panel.adequateWeight, Mode::PesoAdeq);
}

}  // namespace

void EnergyPass::install(workspace::CalculationRun& run)
{
    run.setPass(workspace::CalculationRun::Page::Energy,
                [this](AssessmentForm& form) { (*this)(form); });
}

void EnergyPass::operator()(AssessmentForm& form)
{
    const QStringList methods = selectedMethods(form);
    if (!methods.isEmpty())
        checkPanel(form, methods);
    // The panel is stored as its edits show it (two decimals), and read from there.
    form.energyPage().panAltPesoExit();
    const Panel panel = panelNumbers(form);
    {
        reloadEnergyLines(form);
        records::ControlsDisabled dataGrid(form.cdsDadoAvalEnerg);
        records::ControlsDisabled resultGrid(form.cdsResuAvalEnerg);

        form.resultPage().Atualiza_DadosInf();
        hostfw::CheckResultServ(form.netAvalNutrEnerg.DelResuAvalEnerg(form.key()), true, 0);
        reloadEnergyLines(form);

        for (const QString& code : methods) {
            if (equationOf(code)) {
                evaluateAtEachWeight(form, code, panel);
            } else if (code == M::kPacienteHospital) {
                Calcula_PacienteHospital(form);
            } else if (code == M::kPacienteObesos) {
                Calcula_PacienteObesos(form);
            } else if (code == M::kCatchUp) {
                anthropometry::Calcula_Catch_up(form);
            }
        }
        form.cdsMetoAvalEnerg.first();
        reloadEnergyLines(form);
    }
    form.energyPage().dbgResulEnergEnter();
    emit form.focusRequested(QStringLiteral("dbgResuAvalEnerg"));
}

void idealWeightLines(AssessmentForm& form, const QString& energyMethod)
{
    const Equation equation = equationOf(energyMethod);
    if (!equation)
        return;
    workspace::IdealWeights& ideal = form.idealWeights;
    const double lower = ideal.lower;
    const double upper = ideal.upper;
    QString basal, total, weights;
    if (lower != 0) {
        equation(form, lower, Mode::PesoIdeal);
        basal = ideal.basalText;
        total = ideal.totalText;
        weights = anthropometry::twoDecimals(lower);
    }
    if (upper != 0) {
        equation(form, upper, Mode::PesoIdeal);
        const QString between = QStringLiteral(" - ");
        basal += between + ideal.basalText;
        total += between + ideal.totalText;
        weights += between + anthropometry::twoDecimals(upper);
    }

    struct Labels
    {
        const char* basal;
        const char* total;  // nullptr: one line "03"
    };
    const Labels labels = energyMethod == M::kHarris   ? Labels{"GEB", "VET"}
                          : energyMethod == M::kRda    ? Labels{"Rda_Resul", "Rda_Resul2"}
                          : energyMethod == M::kDuBois ? Labels{"Geb_DuBois", "Get_DuBois"}
                                                       : Labels{"GET_Jones", nullptr};
    const QString named =
        QStringLiteral(" - ") + form.cbbPesoIdealText() + QStringLiteral(" ") + weights + msg("Kg");
    anthropometry::ReferenceQueries queries;
    anthropometry::Evaluation ev(form, anthropometry::pageDataSetsOf(form, energyMethod), queries,
                                 energyMethod, QString());
    if (!labels.total) {
        ev.writeResultLine(3, msg(labels.basal) + named, basal + msg("Kcal"));
        return;
    }
    ev.writeResultLine(5, msg(labels.basal) + named, basal + msg("Kcal"));
    ev.writeResultLine(6, msg(labels.total) + named, total + msg("Kcal"));
}

}  // namespace energy
