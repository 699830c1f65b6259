#pragma once

#include "cli_options.h"

#include "records/app_server.h"

#include <memory>

namespace cli {

// The application server named by the connection, over HTTP with the token read from
// its file. Also makes it the module's transport (WebURL, WebPort and token) for the
// assessment core. Throws records::Error when the token cannot be read.
std::unique_ptr<records::AppServer> connect(const Connection& connection);

}  // namespace cli
