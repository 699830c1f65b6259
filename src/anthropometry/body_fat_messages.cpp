#include "body_fat_messages.h"

namespace anthropometry {

const hostfw::TMessages& msgGordura()
{
    static const hostfw::TMessages table = hostfw::TMessages::fromText(QStringLiteral(
        "Desnutricao|Desnutrição\n"
        "Normal|Normal\n"
        "Media|Dentro da Média\n"
        "Acima_Media|Acima da Média\n"
        "Obesidade|Obesidade\n"
        "Abaixo_Normal|Abaixo do Normal\n"
        "Acima_Normal|Acima do Normal\n"
        "BiaGord_Ideal|Bia Gordura Ideal\n"
        "Bia_Classifica|Bia Classificação\n"
        "Exc_baixa|Excessivamente baixa\n"
        "Baixa|Baixa\n"
        "Adeq|Adequada\n"
        "Moder_alta|Moderadamente alta\n"
        "Alta|Alta\n"
        "Exc_alta|Excessivamente alta\n"
        "Siri_Den|Equação de Siri - Densidade corporal\n"
        "Siri_PorcGorduDeu|Equação de Siri - Porcentagem de gordura (Deurenberg, P.P. Pieters, "
        "J.J.L e Hautuast, J.G.L. - 1990)\n"
        "Siri_PorcGorduMca|Equação de Siri - Porcentagem de gordura (Mcardle - 1992)\n"
        "Siri_PesoGor|Equação de Siri - Peso gordo\n"
        "Siri_MM|Equação de Siri - Massa Magra\n"
        "Siri_PMM|Equação de Siri - Porcentagem de massa magra\n"
        "Siri_PesoId|Equação de Siri - Peso ideal\n"
        "Siri_PesoExc|Equação de Siri - Peso em excesso\n"));
    return table;
}

}  // namespace anthropometry
