#include "energy_messages.h"

namespace energy {

const hostfw::TMessages& msgEnergia()
{
    // Explicit line ends keep the leading blanks of the units.
    static const hostfw::TMessages table =
        hostfw::TMessages::fromText(QStringLiteral("GEB|GEB (Harris-Benedict)\n"
                                                   "VET|GET (Long)\n"
                                                   "Rda_Resul|GEB (RDA)\n"
                                                   "Rda_Resul2|GET (RDA)\n"
                                                   "Geb_DuBois|GEB (Du Bois)\n"
                                                   "Get_DuBois|GET (Escudero)\n"
                                                   "GET_Jones|GET (Ireton - Jones)\n"
                                                   "Vct_Paci_Hosp|VCT Pacientes Hospitalizados\n"
                                                   "Vct_Paci_Obes|VCT Paciente Obesos\n"
                                                   "PesoAtual|Peso Atual\n"
                                                   "PesoAdeq|Peso Adequado\n"
                                                   "Kcal| Kcal\n"
                                                   "Kg| Kg\n"
                                                   "Kcal_dia| Kcal/dia\n"
                                                   "Obesidade_Inf|Obesidade deve ser informada.\n"
                                                   "Trauma_Inf|Trauma deve ser informado.\n"
                                                   "Queima_Inf|Queimadura deve ser informada.\n"));
    return table;
}

}  // namespace energy
