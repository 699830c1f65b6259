#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace hostfw {

// What the host tells the module about the application server. The host fills it from
// its own settings before it opens the module; every connection reads it before it
// connects.
struct HostSettings
{
    QString webUrl = QStringLiteral("127.0.0.1");
    int webPort = 8512;
    QString accessToken;
    // HTTPS with the server's certificate verified (against caFile when given).
    bool tls = false;
    QString caFile;
    // Asked with the refused token when the server refuses the session during a call:
    // the host logs in again and answers the new token (also put in accessToken), or
    // nothing when the user gave up. A token already renewed for another connection is
    // answered without asking. Empty where nobody can be asked (the command line,
    // unattended tools).
    std::function<std::optional<QByteArray>(const QByteArray& refused)> renewSession;
};

// The one settings object of the process.
HostSettings& hostSettings();

QString WebURL();
int WebPort();
QString AccessToken();

}  // namespace hostfw
