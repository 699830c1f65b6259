#pragma once

#include "hostfw/messages.h"

namespace workspace {

// The message tables of the assessment form.
const hostfw::TMessages& msgPadrao();  // general texts of the form
const hostfw::TMessages& MsgTbMeAv();  // method descriptions
const hostfw::TMessages& MsgTpDado();  // data type names and units

}  // namespace workspace
