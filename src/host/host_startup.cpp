#include "host/host_startup.h"

#include "hostfw/host_settings.h"

namespace host {

void applyToHostSettings(const HostOptions& options, const QString& accessToken)
{
    hostfw::HostSettings& settings = hostfw::hostSettings();
    settings.webUrl = options.server.host;
    settings.webPort = options.server.port;
    settings.accessToken = accessToken;
    settings.tls = options.tls;
    settings.caFile = options.caFile;
}

}  // namespace host
