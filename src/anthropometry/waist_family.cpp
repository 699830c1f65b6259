#include "waist_family.h"

#include "evaluation.h"
#include "number_texts.h"
#include "waist_messages.h"

#include "hostfw/numbers.h"
#include "records/method_codes.h"

namespace anthropometry {

namespace {

using namespace records::data_type;

QString msg(const char* key)
{
    return msgCintura().Msg(QString::fromLatin1(key));
}

bool positive(const Measure& m)
{
    return m.present && m.value > 0;
}

// The waist limits of a sex: men 94 and 102 cm, everyone else 80 and 88 cm.
struct WaistLimits
{
    double moderate;
    double high;
};

WaistLimits waistLimits(const Evaluation& ev)
{
    return ev.sexLetter() == u"M" ? WaistLimits{94, 102} : WaistLimits{80, 88};
}

// The waist-to-hip ratio of the consultation, when both measures are above zero.
std::optional<double> waistToHip(Evaluation& ev)
{
    const Measure hip = ev.readFromGrid(kCircQuadril);
    const Measure waist = ev.readFromGrid(kCircCintura);
    if (!positive(hip) || !positive(waist))
        return std::nullopt;
    return settled(waist.value / hip.value);
}

}  // namespace

// The waist alone: the risk bands of the sex (female limits for any letter but "M").
void Calcula_CircunfCintura(Evaluation& ev)
{
    const Measure waist = ev.readFromGrid(kCircCintura);
    if (!waist.present)
        return;
    const WaistLimits limits = waistLimits(ev);
    const char* risk = waist.value < limits.moderate ? "Normal"
                       : waist.value < limits.high   ? "Risco_Mod"
                                                     : "Alto_Risco";
    ev.writeResultLine(1, msg("Circunf_Cintura"), msg(risk));
}

// The waist by the 1998 cut-offs: the risk of metabolic complications as the line's
// description, the waist as its result.
void Calcula_CircCintOms98(Evaluation& ev)
{
    const Measure waist = ev.readFromGrid(kCircCintura);
    if (!positive(waist))
        return;
    if (!ev.maleOrFemaleElseNoClassification())
        return;
    const WaistLimits limits = waistLimits(ev);
    const char* risk = waist.value < limits.moderate ? "N_RCM"
                       : waist.value < limits.high   ? "RECM"
                                                     : "RMECM";
    ev.writeResultLine(1, msg(risk), threeDecimals(waist.value));
}

// The waist-to-hip ratio, compared unrounded with 0,95 for men and 0,8 for women.
void Calcula_RCQ(Evaluation& ev)
{
    const std::optional<double> ratio = waistToHip(ev);
    if (!ratio)
        return;
    if (!ev.maleOrFemaleElseNoClassification())
        return;
    const double limit = ev.sexLetter() == u"M" ? 0.95 : 0.8;
    ev.writeResultLine(1, msg("RCQ_Resul"), twoDecimals(*ratio));
    ev.writeResultLine(2, msg("RCQ_Classifica"), msg(*ratio > limit ? "Alterado" : "Normal"));
}

// The waist-to-hip ratio by the 1998 cut-offs: the ratio rounded to two decimals above
// 1,0 for men or 0,85 for women is a risk of metabolic complications.
void Calcula_RCQOms98(Evaluation& ev)
{
    const std::optional<double> ratio = waistToHip(ev);
    if (!ratio)
        return;
    if (!ev.maleOrFemaleElseNoClassification())
        return;
    const double rounded = hostfw::RoundDec(*ratio, 2);
    const double limit = ev.sexLetter() == u"M" ? 1.0 : 0.85;
    ev.writeResultLine(1, msg("RCQ_Resul"), twoDecimals(*ratio));
    ev.writeResultLine(2, msg("RCQ_Classifica"), msg(rounded > limit ? "RCM" : "N_RCM"));
}

}  // namespace anthropometry
