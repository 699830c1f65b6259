#pragma once

#include "hostfw/messages.h"

namespace anthropometry {

// The texts the shared evaluation steps write themselves: the two no-classification
// labels and the "Entre " of a percentile bracket between two rows.
//   S_Class      "Sem classificação"
//   N_Class_Ref  "Sem classificação na referência informada."
//   Entre        "Entre " (with its trailing blank)
const hostfw::TMessages& msgAvaliacao();

}  // namespace anthropometry
