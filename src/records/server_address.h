#pragma once

#include <QString>

#include <optional>

namespace records {

// The application server's address as the user writes it: HOST:PORT, with an IPv6 host
// in brackets ("[::1]:8512"). The brackets are not part of the host kept here. The host
// window, the command line and the server's --listen all read it here.
struct ServerAddress
{
    QString host;
    int port = 0;

    QString toString() const;
    bool operator==(const ServerAddress&) const = default;
};

// Port 0 asks the operating system for any free port: only a listening server may.
enum class PortZero
{
    Refused,
    Allowed
};

// The address in text (blanks around it ignored), or nothing when the text is not
// HOST:PORT with a port from 1 (or 0 when allowed) to 65535 and a host without blanks.
std::optional<ServerAddress> parseServerAddress(const QString& text,
                                                PortZero zero = PortZero::Refused);

// The message for text that parseServerAddress refused; where names its source
// ("--server", "AVALNUTRI_SERVER", a settings file).
QString badServerAddressText(const QString& where, const QString& text);

}  // namespace records
