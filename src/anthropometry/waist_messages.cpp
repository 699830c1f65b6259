#include "waist_messages.h"

namespace anthropometry {

const hostfw::TMessages& msgCintura()
{
    static const hostfw::TMessages table =
        hostfw::TMessages::fromText(QStringLiteral("Circunf_Cintura|Circunf. da Cintura\n"
                                                   "Normal|Normal\n"
                                                   "Risco_Mod|Risco Moderado\n"
                                                   "Alto_Risco|Alto Risco\n"
                                                   "RCQ_Resul|RCQ Resultado\n"
                                                   "RCQ_Classifica|RCQ Classificação\n"
                                                   "Alterado|Alterado\n"
                                                   "RCM|Risco de Complicações Metabólicas\n"
                                                   "N_RCM|Sem Risco de Complicações Metabólicas\n"
                                                   "RECM|Risco elevado de Complicações\n"
                                                   "RMECM|Risco muito elevado de Complicações\n"));
    return table;
}

}  // namespace anthropometry
