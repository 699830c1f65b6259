#pragma once

// The address is read in records, for the host, the command line and the server alike.
#include <records/server_address.h>

namespace host {

using records::parseServerAddress;
using records::ServerAddress;

}  // namespace host
