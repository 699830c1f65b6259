#pragma once

#include "hostfw/messages.h"

namespace energy {

// The texts of the energy equations and of the energy pass, under the keys their
// routines use: the labels of the result lines, the units (" Kcal", " Kg", " Kcal/dia",
// each with its leading blank) and the messages of Ireton-Jones.
const hostfw::TMessages& msgEnergia();

}  // namespace energy
