#include "nutrient_amounts.h"

#include "anthropometry/ideal_weight_family.h"
#include "hostfw/error_display.h"
#include "hostfw/numbers.h"
#include "hostfw/reply_check.h"
#include "records/packet_codec.h"
#include "workspace/energy_page.h"
#include "workspace/module_context.h"
#include "workspace/recommendation_page.h"
#include "workspace/workspace_messages.h"

namespace recommendation {

namespace {

using workspace::AssessmentForm;

const QString kReference = QStringLiteral("CDRFNUTRECOM");
const QString kGroup = QStringLiteral("CDGRUPNUTR");
const QString kNutrient = QStringLiteral("CDNUTRIENTE");
const QString kAmount = QStringLiteral("#,##0.000");
const QString kKg = QStringLiteral(" Kg");

std::optional<double> typedNumber(const QString& text)
{
    return hostfw::TryStrToFloat(hostfw::NormalizeTypedNumber(text.trimmed()));
}

// The adequate weight of the page (empty is "0"); one that is not a non-negative number
// ends with its message.
double adequateWeight(AssessmentForm& form)
{
    if (form.medPesoAdRec.trimmed().isEmpty())
        form.medPesoAdRec = QStringLiteral("0");
    const std::optional<double> weight = typedNumber(form.medPesoAdRec);
    if (!weight || *weight < 0)
        hostfw::MensErro(workspace::msgPadrao().Msg(QStringLiteral("peso_adeq_inv")), true);
    return *weight;
}

QVariant textOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// The grids bound to a dataset stop repainting for the guard's lifetime.
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

// The amounts of one nutrient, as the rows show them.
struct Amounts
{
    double current = 0;
    double adequate = 0;
    QString ideal;        // DSNUTPEIDEAL
    QString idealWeight;  // DSPESOIDEAL
};

Amounts amountsOf(double middle, bool perKilogram, bool hasCurrent, double current, double adequate,
                  double w1, double w2)
{
    Amounts a;
    const auto fmt = [](double v) { return hostfw::FormatFloat(kAmount, v); };
    if (perKilogram) {
        a.current = hasCurrent ? middle * current : 0;
        a.adequate = middle * adequate;
    } else {
        // An amount per day does not depend on the weight, but is shown only for a weight
        // the page has: none is shown against an adequate weight of 0.
        a.current = hasCurrent ? middle : 0;
        a.adequate = adequate != 0 ? middle : 0;
    }
    if (w1 != 0) {
        a.ideal = fmt(perKilogram ? middle * w1 : middle);
        a.idealWeight = fmt(w1);
        if (w2 != 0) {
            if (perKilogram)
                a.ideal += QStringLiteral(" - ") + fmt(middle * w2);
            a.idealWeight += QStringLiteral(" - ") + fmt(w2);
        }
        a.idealWeight += kKg;
    }
    return a;
}

}  // namespace

void Calcula_RecomNutri(AssessmentForm& form)
{
    workspace::RecommendationPage& page = form.recommendationPage();
    records::DataSet& recs = form.cdsNutrRefe;
    if (recs.isEmpty())
        return;
    const double adequate = adequateWeight(form);
    const QString reference = recs.asString(kReference);
    const QString group = recs.asString(kGroup);

    page.oleNutr =
        hostfw::CheckResultServ(form.netAvalNutrEnerg.GetPesqNutrPaci(
                                    form.key(), reference, group, form.sexLetter(),
                                    page.patientTypeCode(), form.codedAge(), page.chosenCodes),
                                true, 0);
    page.cdsPesqNutrPaci.loadPacket(records::packetAt(page.oleNutr, 0));
    page.cdsNutRecom.loadPacket(records::packetAt(page.oleNutr, 1));

    // The ideal-weight methods read the energy panel's weight and height.
    double w1 = 0;
    double w2 = 0;
    if (form.cbbPesoIdealRecIndex != -1) {
        form.energyPage().medPeso = page.medPesoRec;
        form.energyPage().medAltura = page.medAlturaRec;
        anthropometry::Calcula_Metodo_PesoIdeal(form, QString());
        w1 = form.idealWeights.lower;
        w2 = form.idealWeights.upper;
    }
    const bool hasCurrent = !page.medPesoRec.trimmed().isEmpty();
    const double current = typedNumber(page.medPesoRec).value_or(0);
    const QString adequateText = hostfw::FormatFloat(QStringLiteral("0.00"), adequate) + kKg;
    const QString typeIndex =
        page.cbbTipoPaciIndex < 0 ? QString() : QString::number(page.cbbTipoPaciIndex);

    page.applyNutrientFilter();
    records::DataSet& rows = form.cdsNutrePaci;
    records::DataSet& ranges = page.cdsNutRecom;
    for (ranges.first(); !ranges.eof(); ranges.next()) {
        const QString code = ranges.asString(kNutrient);
        const double middle = (ranges.asFloat(QStringLiteral("QTNUTRINIC"))
                               + ranges.asFloat(QStringLiteral("QTNUTRFINA")))
                              / 2;
        const bool perKilogram = ranges.asString(QStringLiteral("IDUNCALCNUTR")) == u"0";
        const Amounts a = amountsOf(middle, perKilogram, hasCurrent, current, adequate, w1, w2);
        if (a.current == 0 && a.adequate == 0 && w1 == 0)
            continue;
        if (page.cdsPesqNutrPaci.locate(kNutrient, code) && rows.locate(kNutrient, code))
            rows.edit();
        else
            rows.append();
        rows.setValue(QStringLiteral("CDFILIAL"), stCdFilial);
        rows.setValue(QStringLiteral("CDPACIENTE"), stCdPaciente);
        rows.setValue(QStringLiteral("DTCONSPACI"), dtConsulta);
        rows.setValue(kReference, reference);
        rows.setValue(kNutrient, code);
        rows.setValue(kGroup, group);
        rows.setValue(QStringLiteral("DSNUTPEATUAL"), hostfw::FormatFloat(kAmount, a.current));
        rows.setValue(QStringLiteral("DSNUTPEIDEAL"), textOrNull(a.ideal));
        rows.setValue(QStringLiteral("DSPESOIDEAL"), textOrNull(a.idealWeight));
        rows.setValue(QStringLiteral("DSNUTPEADEQU"),
                      a.adequate != 0 ? QVariant(hostfw::FormatFloat(kAmount, a.adequate))
                                      : QVariant());
        rows.setValue(QStringLiteral("DSPESOADEQU"),
                      a.adequate != 0 ? QVariant(adequateText) : QVariant());
        rows.setValue(QStringLiteral("IDTPCOMPACI"), textOrNull(typeIndex));
        rows.post();
    }
}

void RecommendationPass::operator()(AssessmentForm& form)
{
    workspace::RecommendationPage& page = form.recommendationPage();
    records::DataSet& recs = form.cdsNutrRefe;
    // Checked before any recommendation loses its rows.
    adequateWeight(form);
    {
        RepaintSuspended upper(recs);
        RepaintSuspended lower(form.cdsNutrePaci);
        for (recs.first(); !recs.eof(); recs.next()) {
            hostfw::CheckResultServ(form.netAvalNutrEnerg.DelNutrePaci(form.key(),
                                                                       recs.asString(kReference),
                                                                       recs.asString(kGroup)),
                                    true, 0);
            page.chosenCodes = recs.asString(QStringLiteral("CODSNUTRESC"));
            Calcula_RecomNutri(form);
        }
        recs.loadPacket(records::packetAt(oleDados, 6));
    }
}

void RecommendationPass::installRoutine(AssessmentForm& form)
{
    form.recommendationPage().setCalcula_RecomNutri(&Calcula_RecomNutri);
}

void RecommendationPass::install(workspace::CalculationRun& run)
{
    run.setPreparation([](AssessmentForm& form) {
        if (form.medPesoAdRec.isEmpty())
            form.medPesoAdRec = QStringLiteral("0");
    });
    run.setPass(workspace::CalculationRun::Page::Recommendation,
                [this](AssessmentForm& form) { (*this)(form); });
}

}  // namespace recommendation
