#pragma once

#include "records/error.h"

namespace host {

// A fault the host reports to the user before it can go on: a bad option, an unreadable
// settings or token file, a module that cannot be loaded. Its text names what is wrong
// and is shown as it stands. It is a records::Error so the action handler shows it.
class HostError : public records::Error
{
public:
    using records::Error::Error;
};

}  // namespace host
