#include "dispatch.h"

#include "bmi_family.h"

#include <array>

namespace anthropometry {

namespace {

// Entries without a routine belong to families still to come; they name the routine
// the code will run.
constexpr std::array kAnthropometricDispatch = {
    DispatchEntry{"00", "Calcula_IMC", &Calcula_IMC},
    DispatchEntry{"01", "Calcula_IMC_Must", &Calcula_IMC_Must},
    DispatchEntry{"02", "Calcula_PCT", nullptr},
    DispatchEntry{"03", "Calcula_CMB", nullptr},
    DispatchEntry{"04", "Calcula_CB", nullptr},
    DispatchEntry{"05", "Calcula_AMB", nullptr},
    DispatchEntry{"06", "Calcula_PesoIdeal", nullptr},
    DispatchEntry{"07", "Calcula_RCQ", nullptr},  // no catalogue method has this code
    DispatchEntry{"08", "Calcula_AGB", nullptr},
    DispatchEntry{"09", "Calcula_PesoIdeal_Must", nullptr},
    DispatchEntry{"10", "Calcula_PesoIdeal_BurrPhi", nullptr},
    DispatchEntry{"11", "Calcula_CircunfCintura", nullptr},
    DispatchEntry{"12", "Calcula_AN_GOMEZ", nullptr},
    DispatchEntry{"13", "Calcula_AN_Waterlow", nullptr},
    DispatchEntry{"14", "Calcula_PesoIdeal_Frisancho", nullptr},
    DispatchEntry{"15", "Calcula_PerCefalico", nullptr},
    DispatchEntry{"16", "Calcula_SomaPrega", nullptr},
    DispatchEntry{"17", "Calcula_BiaGordura", nullptr},
    DispatchEntry{"18", "Calcula_IMC_Amputado", &Calcula_IMC_Amputado},
    DispatchEntry{"19", "Calcula_PesoIdeal_Grant", nullptr},
    DispatchEntry{"20", "Calcula_PesoIdeal_Lorenz", nullptr},
    DispatchEntry{"21", "Calcula_PT_PC", nullptr},
    DispatchEntry{"22", "Calcula_PesoIdeal_Imc", nullptr},
    DispatchEntry{"23", "Calcula_PesoIdeal_Weech", nullptr},
    DispatchEntry{"24", "Calcula_PesoIdeal_Idade", nullptr},
    DispatchEntry{"25", "Calcula_PesoIdeal_Altura", nullptr},
    DispatchEntry{"26", "Calcula_PerdaPeso", nullptr},
    DispatchEntry{"27", "Calcula_PesoAjustado_Ob", nullptr},
    DispatchEntry{"28", "Calcula_MaturacaoSexual", nullptr},
    DispatchEntry{"29", "Calcula_Siri", nullptr},
    // "30" to "36": energy methods, run on the energy page.
    DispatchEntry{"37", "Calcula_PesoIdadeAltura", nullptr},
    DispatchEntry{"38", "Calcula_PesoIdadeAltura", nullptr},
    DispatchEntry{"39", "Calcula_PesoIdadeAltura", nullptr},
    DispatchEntry{"40", "Calcula_PesoIdadeAltura", nullptr},
    DispatchEntry{"41", "Calcula_PesoIdadeAltura", nullptr},
    DispatchEntry{"42", "Calcula_PesoIdadeAltura", nullptr},
    DispatchEntry{"43", "Calcula_PesoIdadeAltura", nullptr},
    DispatchEntry{"44", "Calcula_PesoIdadeAltura", nullptr},
    DispatchEntry{"45", "Calcula_PesoIdadeAltura", nullptr},
    DispatchEntry{"46", "Calcula_PesoIdadeAltura", nullptr},
    DispatchEntry{"47", "Calcula_PesoIdadeAltura", nullptr},
    DispatchEntry{"48", "Calcula_IMCAdolescente", &Calcula_IMCAdolescente},
    DispatchEntry{"49", "Calcula_IMCOms98", &Calcula_IMCOms98},
    DispatchEntry{"50", "Calcula_RCQOms98", nullptr},
    DispatchEntry{"51", "Calcula_CircCintOms98", nullptr},
    DispatchEntry{"52", "Calcula_PesoChumlea85", nullptr},
    DispatchEntry{"53", "Calcula_AlturaChumlea85", nullptr},
    DispatchEntry{"54", "Calcula_Comp_OsseaML83", nullptr},
    DispatchEntry{"55", "Calcula_AdeqPes", nullptr},
    DispatchEntry{"56", "Calcula_PerPes", nullptr},
    DispatchEntry{"57", "Calcula_PesAjust", nullptr},
    DispatchEntry{"58", "Calcula_PesEdema", nullptr},
    DispatchEntry{"59", "Calcula_PesAmpu", nullptr},
    DispatchEntry{"60", "Calcula_AMBC", nullptr},
    DispatchEntry{"61", "Calcula_TMB_HB1919", nullptr},
    DispatchEntry{"62", "Calcula_TMB_FAO", nullptr},
    DispatchEntry{"63", "Calcula_PesoObeso", nullptr},
    DispatchEntry{"64", "Calcula_EER", nullptr},
    DispatchEntry{"65", "Calcula_EERGest", nullptr},
    DispatchEntry{"66", "Calcula_EERLac", nullptr},
    DispatchEntry{"67", "Calcula_IMCIdoso", &Calcula_IMCIdoso},
    DispatchEntry{"68", "Calcula_IMCGestante", &Calcula_IMCGestante},
};

}  // namespace

std::span<const DispatchEntry> anthropometricDispatch()
{
    return kAnthropometricDispatch;
}

const DispatchEntry* findAnthropometricEntry(const QString& code)
{
    for (const DispatchEntry& entry : kAnthropometricDispatch) {
        if (code == QLatin1String(entry.code))
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
