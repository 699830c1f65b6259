#include "weight_adjustment_messages.h"

namespace anthropometry {

const hostfw::TMessages& msgAjustePeso()
{
    // Explicit line ends keep the leading blank of " Kg" and the double blanks of the
    // oedema grades.
    static const hostfw::TMessages table = hostfw::TMessages::fromText(
        QStringLiteral("Desnu_Grave|Desnutrição Grave\n"
                       "Desnu_Mod|Desnutrição Moderada\n"
                       "Desnu_Leve|Desnutrição Leve\n"
                       "Eutrofia|Eutrofia\n"
                       "Sobrepeso|Sobrepeso\n"
                       "Obesidade|Obesidade\n"
                       "Sem_perd_sig|Sem perda significativa de peso\n"
                       "Perd_Sig_Pes|Perda significativa de Peso.\n"
                       "Perd_Gra_Pes|Perda grave de Peso.\n"
                       "N_Per_Pes|Não houve perda de peso\n"
                       "Perda_Moder|Perda Moderada\n"
                       "Perda_Serv|Perda Severa\n"
                       "PerdaPeso_Resul|Perda Peso - Resultado\n"
                       "PerdaPeso_Classif|Perda Peso - Classificação\n"
                       "N_PerdaPeso|Não houve perda de peso.\n"
                       "PesoAjust_Obesos|Peso ajustado p/ obesos - Resultado\n"
                       "Resu_edTo|+  Tornozelo\n"
                       "Resu_edJo|++  Joelho\n"
                       "Resu_edRC|+++  Raíz da Coxa\n"
                       "Resu_edAn|++++  Anasarca\n"
                       "Peq|Pequena\n"
                       "Med|Média\n"
                       "Gra|Grande\n"
                       "S_Class|Sem classificação\n"
                       "Kg| Kg\n"));
    return table;
}

}  // namespace anthropometry
