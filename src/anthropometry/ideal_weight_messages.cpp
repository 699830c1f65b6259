#include "ideal_weight_messages.h"

namespace anthropometry {

const hostfw::TMessages& msgPesoIdeal()
{
    // Explicit line ends keep the leading blank of " Kg" and the two blanks of
    // "%  Adequação".
    static const hostfw::TMessages table = hostfw::TMessages::fromText(
        QStringLiteral("PesoIdeal|Peso Ideal (Metropolitan Life)\n"
                       "Atu_Peso_Ideal|Peso Ideal (Metropolitan Life).\n"
                       "Kg| Kg\n"
                       "Comp_Peq|Compleição Pequena\n"
                       "Comp_Med|Compleição Média\n"
                       "Comp_Gra|Compleição Grande\n"
                       "PesoIdeal_Must|Peso Ideal (Must) Resultado\n"
                       "BurrPhil_Resul|Peso Ideal (Burr Phillps) Resultado\n"
                       "PesoFrisancho_Resul|Peso Ideal (Frisancho) Resultado\n"
                       "PesoIdeal_Grant|Peso Ideal Grant\n"
                       "Perc_Adeq|%  Adequação\n"
                       "PesoIdeal_Lorenz_Resultado|Peso Ideal(Lorenz) Resultado\n"
                       "Adeq_Lorenz|% Adequação Lorenz\n"
                       "PesoIdeal_Imc_Resultado|Peso Ideal(IMC) Resultado\n"
                       "PesoIdeal_Weech_Resultado|Peso Ideal(Weech) Resultado\n"
                       "Altura_Inf|Altura deve ser informada.\n"
                       "PesoIdealAltura_Resul|Peso Ideal (Altura) Resultado\n"
                       "PesoIdealAltura_Class|Peso Ideal (Altura) Classificação\n"
                       "PesoIdealIdade_Resul|Peso Ideal (Idade) Resultado\n"
                       "PesoIdealIdade_Class|Peso Ideal (Idade) Classificação\n"
                       "PesoIdealIdade_Kg|Peso Ideal (Idade) Resultado - Kg\n"
                       "Eutrofico|Eutrófico\n"
                       "Sobrepeso|Sobrepeso\n"
                       "Obesidade|Obesidade\n"
                       "Normal|Normal\n"
                       "Gr1_Desnutr|Grau I ou Desnutrição Leve\n"
                       "Gr2_Desnutr|Grau II ou Desnutrição Moderada\n"
                       "Gr3_Desnutr|Grau III ou Desnutrição Grave\n"
                       "N_Class_Ref|Sem classificação na referência informada.\n"));
    return table;
}

}  // namespace anthropometry
