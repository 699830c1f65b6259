#include "net_connection.h"

#include "records/error.h"

namespace workspace {
namespace {

NetConnection::Transport& defaultTransport()
{
    static NetConnection::Transport transport;
    return transport;
}

}  // namespace

void NetConnection::setDefaultTransport(Transport transport)
{
    defaultTransport() = std::move(transport);
}

NetConnection::NetConnection(Transport transport) : m_transport(std::move(transport)) {}

void NetConnection::Open()
{
    if (Connected())
        return;
    if (BeforeConnect)
        BeforeConnect(*this);
    const Transport& transport = m_transport ? m_transport : defaultTransport();
    if (!transport)
        throw records::Error(QStringLiteral("Nenhum meio de conexão com o servidor de aplicação."));
    m_server = transport(host, port, token);
}

void NetConnection::Close()
{
    m_server.reset();
}

records::Reply NetConnection::call(const QString& method, const QJsonArray& args)
{
    if (!m_server)
        return records::Reply::failure(
            QStringLiteral("Sem conexão com o servidor de aplicação (%1:%2).").arg(host).arg(port));
    return m_server->call(method, args);
}

}  // namespace workspace
