#include "evaluation_messages.h"

namespace anthropometry {

const hostfw::TMessages& msgAvaliacao()
{
    // One line per entry; written with explicit line ends so that the trailing blank
    // of "Entre " is visible and survives any editor.
    static const hostfw::TMessages table = hostfw::TMessages::fromText(
        QStringLiteral("S_Class|Sem classificação\n"
                       "N_Class_Ref|Sem classificação na referência informada.\n"
                       "Entre|Entre \n"));
    return table;
}

}  // namespace anthropometry
