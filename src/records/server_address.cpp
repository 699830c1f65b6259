#include "server_address.h"

namespace records {

namespace {

bool isPlainHost(const QString& host)
{
    if (host.isEmpty())
        return false;
    for (const QChar c : host) {
        if (c.isSpace() || c == u'/' || c == u'@' || c == u'[' || c == u']' || c == u':'
            || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

bool isIpv6Host(const QString& host)
{
    if (host.isEmpty())
        return false;
    for (const QChar c : host) {
        if (!(c.isDigit() || c == u':' || c == u'.' || (c >= u'a' && c <= u'f')
              || (c >= u'A' && c <= u'F')))
            return false;
    }
    return host.contains(u':');
}

}  // namespace

QString ServerAddress::toString() const
{
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return shownHost + u':' + QString::number(port);
}

std::optional<ServerAddress> parseServerAddress(const QString& untrimmed, PortZero zero)
{
    const QString text = untrimmed.trimmed();
    const int colon = text.lastIndexOf(u':');
    if (colon <= 0)
        return std::nullopt;

    QString hostPart = text.left(colon);
    const QString portPart = text.mid(colon + 1);

    bool bracketed = false;
    if (hostPart.startsWith(u'[')) {
        if (!hostPart.endsWith(u']') || hostPart.size() < 3)
            return std::nullopt;
        hostPart = hostPart.mid(1, hostPart.size() - 2);
        bracketed = true;
    }
    if (bracketed ? !isIpv6Host(hostPart) : !isPlainHost(hostPart))
        return std::nullopt;

    // Digits only: toInt would also take a sign or blanks.
    if (portPart.isEmpty() || portPart.size() > 5)
        return std::nullopt;
    for (const QChar c : portPart) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const int port = portPart.toInt();
    if (port < (zero == PortZero::Allowed ? 0 : 1) || port > 65535)
        return std::nullopt;

    return ServerAddress{hostPart, port};
}

QString badServerAddressText(const QString& where, const QString& text)
{
    return QStringLiteral("Endereço do servidor inválido em %1: \"%2\". Use HOST:PORTA, por "
                          "exemplo 127.0.0.1:8512.")
        .arg(where, text);
}

}  // namespace records
