#pragma once

#include "host/host_options.h"

namespace host {

// Puts the server address (with TLS and its authority) and the access token where the module reads
// them (hostfw::hostSettings()), before the module is loaded.
void applyToHostSettings(const HostOptions& options, const QString& accessToken);

}  // namespace host
