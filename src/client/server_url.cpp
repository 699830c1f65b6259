#include "server_url.h"

namespace httpclient {

QString ServerUrl::toString() const
{
    return tls ? QStringLiteral("https://") + address.toString() : address.toString();
}

std::optional<ServerUrl> parseServerUrl(const QString& untrimmed)
{
    QString text = untrimmed.trimmed();
    ServerUrl url;
    const QLatin1String https("https://"), http("http://");
    if (text.startsWith(https, Qt::CaseInsensitive)) {
        url.tls = true;
        text = text.mid(https.size());
    } else if (text.startsWith(http, Qt::CaseInsensitive)) {
        text = text.mid(http.size());
    }
    if (text.endsWith(u'/'))
        text.chop(1);
    const auto address = records::parseServerAddress(text);
    if (!address)
        return std::nullopt;
    url.address = *address;
    return url;
}

QString badServerUrlText(const QString& where, const QString& text)
{
    return QStringLiteral("Endereço do servidor inválido em %1: \"%2\". Use HOST:PORTA ou "
                          "https://HOST:PORTA, por exemplo 127.0.0.1:8512.")
        .arg(where, text);
}

}  // namespace httpclient
