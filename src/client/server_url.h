#pragma once

#include <records/server_address.h>

#include <QString>

#include <optional>

namespace httpclient {

// Where a client finds the application server: HOST:PORT as before (plain HTTP), or
// with a scheme, "http://HOST:PORT" or "https://HOST:PORT" (TLS, the certificate always
// verified). A trailing "/" is allowed; a path is not.
struct ServerUrl
{
    records::ServerAddress address;
    bool tls = false;

    // "https://host:8512" for TLS, "host:8512" for plain HTTP.
    QString toString() const;
    bool operator==(const ServerUrl&) const = default;
};

std::optional<ServerUrl> parseServerUrl(const QString& text);

// The message for text that parseServerUrl refused; where names its source.
QString badServerUrlText(const QString& where, const QString& text);

}  // namespace httpclient
