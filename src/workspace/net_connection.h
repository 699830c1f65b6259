#pragma once

#include "records/app_server.h"

#include <functional>
#include <memory>

namespace workspace {

// netAvalNutrEnerg: the form's connection to the remote data module. It is itself an
// AppServer, so the datasets' write-through can be bound to it once; every call goes
// to the transport opened by the last Open(). Before each connect BeforeConnect runs
// (the form sets the host and port there from WebURL and WebPort).
class NetConnection : public records::AppServer
{
public:
    using Transport = std::function<std::unique_ptr<records::AppServer>(
        const QString& host, int port, const QString& token)>;

    // The transport the module and the command line use (HTTP); tests pass their own.
    static void setDefaultTransport(Transport transport);

    explicit NetConnection(Transport transport = {});

    QString ServerName = QStringLiteral("Vex12200.rdmAvalNutrEnerg");
    QString host;
    int port = 0;
    QString token;
    std::function<void(NetConnection&)> BeforeConnect;

    void Open();  // connects when not connected
    void Close();
    bool Connected() const { return m_server != nullptr; }

    records::Reply call(const QString& method, const QJsonArray& args) override;

private:
    Transport m_transport;
    std::unique_ptr<records::AppServer> m_server;
};

}  // namespace workspace
