#include "bmi_messages.h"

namespace anthropometry {

const hostfw::TMessages& msgImc()
{
    // Explicit line ends keep the trailing blank of "Entre " in the table.
    static const hostfw::TMessages table = hostfw::TMessages::fromText(
        QStringLiteral("IMC_Resultado|IMC Resultado\n"
                       "IMC_Frisa|IMC Classificação\n"
                       "IMC_PesTeoMin|IMC Peso teórico mínimo\n"
                       "IMC_PesTeoMed|IMC Peso teórico médio\n"
                       "IMC_PesTeoMax|IMC Peso teórico máximo\n"
                       "IMC_Amputado|IMC Amputado - Resultado\n"
                       "IMC_Amputado_Clas|IMC Amputado - Classificação\n"
                       "Baix_Peso|Baixo Peso\n"
                       "Adq_Eut|Adequado ou Eutrófico\n"
                       "Adequada|Adequado\n"
                       "Sobrepeso|Sobrepeso\n"
                       "Obesidade|Obesidade\n"
                       "Percentil|Percentil\n"
                       "Entre|Entre \n"));
    return table;
}

}  // namespace anthropometry
