#pragma once

#include "records/app_server.h"

#include <memory>

namespace host {

// The host's connection to the application server, for its own calls (the patient
// registry), to the address, port, TLS settings, token and session renewal in
// hostfw::hostSettings() as they stand when it is called; the host calls it after filling
// them in.
std::unique_ptr<records::AppServer> connectToServer();

}  // namespace host
