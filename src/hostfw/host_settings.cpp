#include "hostfw/host_settings.h"

namespace hostfw {

HostSettings& hostSettings()
{
    static HostSettings settings;
    return settings;
}

QString WebURL()
{
    return hostSettings().webUrl;
}

int WebPort()
{
    return hostSettings().webPort;
}

QString AccessToken()
{
    return hostSettings().accessToken;
}

}  // namespace hostfw
