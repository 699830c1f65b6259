#include "dispatch.h"

#include "arm_family.h"
#include "bmi_family.h"
#include "body_fat_family.h"
#include "growth_family.h"
#include "ideal_weight_family.h"
#include "waist_family.h"
#include "weight_adjustment_family.h"

namespace anthropometry {

namespace {

namespace M = records::method;

const DispatchEntry kAnthropometricDispatch[] = {
    {M::kImc, &Calcula_IMC},
    {M::kImcMust, &Calcula_IMC_Must},
    {M::kPct, &Calcula_PCT},
    {M::kCmb, &Calcula_CMB},
    {M::kCb, &Calcula_CB},
    {M::kAmb, &Calcula_AMB},
    {M::kPesoIdeal, &Calcula_PesoIdeal},
    {M::kRcq, &Calcula_RCQ},
    {M::kAgb, &Calcula_AGB},
    {M::kPesoIdealMust, &Calcula_PesoIdeal_Must},
    {M::kPesoIdealBurrPhi, &Calcula_PesoIdeal_BurrPhi},
    {M::kCircunfCintura, &Calcula_CircunfCintura},
    {M::kAnGomez, &Calcula_AN_GOMEZ},
    {M::kAnWaterlow, &Calcula_AN_Waterlow},
    {M::kPesoIdealFrisancho, &Calcula_PesoIdeal_Frisancho},
    {M::kPerCefalico, &Calcula_PerCefalico},
    {M::kSomaPrega, &Calcula_SomaPrega},
    {M::kBiaGordura, &Calcula_BiaGordura},
    {M::kImcAmputado, &Calcula_IMC_Amputado},
    {M::kPesoIdealGrant, &Calcula_PesoIdeal_Grant},
    {M::kPesoIdealLorenz, [](Evaluation& ev) { Calcula_PesoIdeal_Lorenz(ev, true); }},
    {M::kPtPc, &Calcula_PT_PC},
    {M::kPesoIdealImc, [](Evaluation& ev) { Calcula_PesoIdeal_Imc(ev, true); }},
    {M::kPesoIdealWeech, [](Evaluation& ev) { Calcula_PesoIdeal_Weech(ev, true); }},
    {M::kPesoIdealIdade, &Calcula_PesoIdeal_Idade},
    {M::kPesoIdealAltura, &Calcula_PesoIdeal_Altura},
    {M::kPerdaPeso, &Calcula_PerdaPeso},
    {M::kPesoAjustadoOb, &Calcula_PesoAjustado_Ob},
    {M::kMaturacaoSexual, &Calcula_MaturacaoSexual},
    {M::kSiri, &Calcula_Siri},
    {M::kPesoIdade036Nchs, &Calcula_PesoIdadeAltura},
    {M::kPesoIdade210Nchs, &Calcula_PesoIdadeAltura},
    {M::kAlturaIdade036Nchs, &Calcula_PesoIdadeAltura},
    {M::kAlturaIdade210Nchs, &Calcula_PesoIdadeAltura},
    {M::kPesoAltura49103Nchs, &Calcula_PesoIdadeAltura},
    {M::kPesoAltura55145Nchs, &Calcula_PesoIdadeAltura},
    {M::kPesoIdade060Oms, &Calcula_PesoIdadeAltura},
    {M::kAlturaIdade024Oms, &Calcula_PesoIdadeAltura},
    {M::kAlturaIdade2460Oms, &Calcula_PesoIdadeAltura},
    {M::kPesoAltura45110Oms, &Calcula_PesoIdadeAltura},
    {M::kPesoAltura65120Oms, &Calcula_PesoIdadeAltura},
    {M::kImcAdolescente, &Calcula_IMCAdolescente},
    {M::kImcOms98, &Calcula_IMCOms98},
    {M::kRcqOms98, &Calcula_RCQOms98},
    {M::kCircCintOms98, &Calcula_CircCintOms98},
    {M::kPesoChumlea85, &Calcula_PesoChumlea85},
    {M::kAlturaChumlea85, &Calcula_AlturaChumlea85},
    {M::kCompOsseaML83, &Calcula_Comp_OsseaML83},
    {M::kAdeqPes, &Calcula_AdeqPes},
    {M::kPerPes, &Calcula_PerPes},
    {M::kPesAjust, &Calcula_PesAjust},
    {M::kPesEdema, &Calcula_PesEdema},
    {M::kPesAmpu, &Calcula_PesAmpu},
    {M::kAmbc, &Calcula_AMBC},
    {M::kPesoObeso, &Calcula_PesoObeso},
    {M::kImcIdoso, &Calcula_IMCIdoso},
    {M::kImcGestante, &Calcula_IMCGestante},
};

}  // namespace

const records::MethodDescriptor& DispatchEntry::method() const
{
    return *records::findMethodDescriptor(code);
}

std::span<const DispatchEntry> anthropometricDispatch()
{
    return kAnthropometricDispatch;
}

const DispatchEntry* findAnthropometricEntry(const QString& code)
{
    for (const DispatchEntry& entry : kAnthropometricDispatch) {
        if (code == entry.code)
            return &entry;
    }
    return nullptr;
}

Routine anthropometricRoutine(const QString& code)
{
    const DispatchEntry* entry = findAnthropometricEntry(code);
    return entry ? entry->routine : nullptr;
}

}  // namespace anthropometry
