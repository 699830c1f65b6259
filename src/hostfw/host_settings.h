#pragma once

#include <QString>

namespace hostfw {

// What the host tells the module about the application server. The host fills it from
// its own settings before it opens the module; every connection reads it before it
// connects.
struct HostSettings
{
    QString webUrl = QStringLiteral("127.0.0.1");
    int webPort = 8512;
    QString accessToken;
};

// The one settings object of the process.
HostSettings& hostSettings();

QString WebURL();
int WebPort();
QString AccessToken();

}  // namespace hostfw
