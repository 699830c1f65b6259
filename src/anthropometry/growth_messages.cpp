#include "growth_messages.h"

namespace anthropometry {

const hostfw::TMessages& msgCrescimento()
{
    // Explicit line ends keep the leading blank of the unit texts.
    static const hostfw::TMessages table = hostfw::TMessages::fromText(
        QStringLiteral("Gomez_Resul|Peso/Idade Resultado\n"
                       "Gomez|Peso/Idade Classificação\n"
                       "Waterlow_Resul|Altura/Idade e Peso/Altura Resultado\n"
                       "Waterlow|Altura/Idade e Peso/Altura Classificação\n"
                       "Eutrofia|Eutrofia\n"
                       "Desnu_Leve|Desnutrição Leve\n"
                       "Desnu_Mod|Desnutrição Moderada\n"
                       "Desnu_Grave|Desnutrição Grave\n"
                       "Desnu_Atual|Desnutrição Aguda\n"
                       "Desnu_cronico|Desnutrição Crônica\n"
                       "Desnu_Pregresso|Desnutrição Pregressa\n"
                       "Sobrepeso|Sobrepeso\n"
                       "Obesidade|Obesidade\n"
                       "PerCefal_Percentil|Perímetro Cefálico Percentil\n"
                       "PerCefal_Classif|Perímetro Cefálico Classificação\n"
                       "Desn_energ|Desnutrição Energética Protéica\n"
                       "Adequada|Adequado\n"
                       "Aumentado|Aumentado\n"
                       "PT_PC_Resul|PT / PC - Resultado\n"
                       "PT_PC_Classif|PT / PC - Classificação\n"
                       "Normal|Normal\n"
                       "Desnutricao|Desnutrição\n"
                       "Percentil|Percentil\n"
                       "Pes_MBaix_Id|Peso muito baixo para a Idade\n"
                       "Pes_Baix_Id|Peso baixo para a Idade\n"
                       "Risco_Nutri|Risco Nutricional\n"
                       "Adq_Eut|Adequado ou Eutrófico\n"
                       "Risc_Sob|Risco de sobrepeso\n"
                       "Desenv_certo|Desenvolvimento dentro da faixa etária.\n"
                       "Desenv_abaixo|Desenvolvimento abaixo da faixa etária.\n"
                       "Desenv_acima|Desenvolvimento acima da faixa etária.\n"
                       "Nao_avaliado|Não avaliado\n"
                       "MaturSex_ResultPelos|Maturação Sexual - Avaliação pelos pubianos\n"
                       "MaturSex_ResultGen|Maturação Sexual - Avaliação genitália\n"
                       "MaturSex_ResultMama|Maturação Sexual - Avaliação mamas\n"
                       "Vct_Catch|VCT - Catch-up\n"
                       "Vct_Catch_Peso|VCT Catch-up p/ peso atual\n"
                       "Prot_Catch|Proteína - Catch-up\n"
                       "Prot_Catch_Peso|Proteína - Catch-up p/ peso atual\n"
                       "Kcal_kg_dia| Kcal/kg/dia\n"
                       "Kcal_dia| Kcal/dia\n"
                       "g_kg_dia| g/kg/dia\n"
                       "g_dia| g/dia\n"
                       "S_Class|Sem classificação\n"
                       "N_Class_Ref|Sem classificação na referência informada.\n"));
    return table;
}

}  // namespace anthropometry
