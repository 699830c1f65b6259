#pragma once

#include <QString>

#include <optional>

namespace host {

// The application server's address as the user writes it: HOST:PORT, with an IPv6 host
// in brackets ("[::1]:8512"). The brackets are not part of the host kept here.
struct ServerAddress
{
    QString host;
    int port = 0;

    QString toString() const;
    bool operator==(const ServerAddress&) const = default;
};

// The address in text, or nothing when the text is not HOST:PORT with a port from
// 1 to 65535 and a host without blanks.
std::optional<ServerAddress> parseServerAddress(const QString& text);

}  // namespace host
