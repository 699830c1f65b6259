#pragma once

#include "records/app_server.h"

#include <memory>

namespace host {

// The host's connection to the application server, for its own calls (the patient
// registry). It reads the address, port and token from hostfw::hostSettings() at each
// call, as the module's connections do.
std::unique_ptr<records::AppServer> connectToServer();

}  // namespace host
