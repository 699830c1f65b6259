#include "arm_messages.h"

namespace anthropometry {

const hostfw::TMessages& msgBraco()
{
    static const hostfw::TMessages table =
        hostfw::TMessages::fromText(QStringLiteral("Deplecao|Depleção\n"
                                                   "Risco_Deplecao|Risco de Depleção\n"
                                                   "Eutrofia|Eutrofia\n"
                                                   "Eutrofia_Padrao|Eutrofia\n"
                                                   "Excesso_Gor|Excesso de Gordura\n"
                                                   "Acima_Normal|Acima do Normal\n"
                                                   "Normal|Normal\n"
                                                   "Desnutricao|Desnutrição\n"
                                                   "Desnu_Grave|Desnutrição Grave\n"
                                                   "Desnu_Mod|Desnutrição Moderada\n"
                                                   "Desnu_Leve|Desnutrição Leve\n"
                                                   "Desn_Leve_Mod|Desnutrição Leve/Moderada\n"
                                                   "Sobrepeso|Sobrepeso\n"
                                                   "Obesidade|Obesidade\n"
                                                   "Obesidade_Mor|Obesidade Mórbida\n"
                                                   "90_Padrao|Depleção Ponderal Grau I\n"
                                                   "80_Padrao|Depleção Ponderal Grau II\n"
                                                   "60_70_Padrao|Depleção Ponderal Grau III\n"
                                                   "60_Padrao|Depleção Ponderal Grau IV\n"
                                                   "Magro|Magro\n"
                                                   "Abaixo_Media|Abaixo da Média\n"
                                                   "Media|Dentro da Média\n"
                                                   "Acima_Media|Acima da Média\n"
                                                   "Boa_Nutr|Boa Nutrição\n"
                                                   "PCT_Resul|% PCT Resultado\n"
                                                   "PCT_Class|PCT Classificação\n"
                                                   "PCT_Percentil|PCT Percentil\n"
                                                   "CMB_Resultado|CMB Resultado\n"
                                                   "CMB_Percentil|CMB Percentil\n"
                                                   "CMB_Classifica|CMB Classificação\n"
                                                   "CB_ResuAdeq|CB Resultado Adequação\n"
                                                   "CB_Percentil|CB Percentil Classificação\n"
                                                   "AMB_Resultado|AMB Resultado\n"
                                                   "AMB_Percentil|AMB Percentil\n"
                                                   "AMB_Classifica|AMB Classificação\n"
                                                   "AMBC_Resultado|AMBC Resultado\n"
                                                   "AMBC_Percentil|AMBC Percentil\n"
                                                   "AMBC_PercentClas|AMBC Percentil Classificação\n"
                                                   "Agb_Resultado|AGB Resultado\n"
                                                   "Agb_Percentil|AGB Percentil\n"
                                                   "Agb_Classifica|AGB Classificação\n"));
    return table;
}

}  // namespace anthropometry
