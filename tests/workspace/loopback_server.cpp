#include "loopback_server.h"

#include "hostfw/host_settings.h"
#include "records/write_through.h"


namespace workspacetest {
namespace {

// Counts the calls made through it, then hands them on.
class CountingServer : public records::AppServer
{
public:
    CountingServer(std::unique_ptr<records::AppServer> inner,
                   std::shared_ptr<std::atomic<int>> calls)
        : m_inner(std::move(inner)), m_calls(std::move(calls))
    {
    }
    records::Reply call(const QString& method, const QJsonArray& args) override
    {
        ++*m_calls;
        return m_inner->call(method, args);
    }

private:
    std::unique_ptr<records::AppServer> m_inner;
    std::shared_ptr<std::atomic<int>> m_calls;
};

std::unique_ptr<httpclient::HttpAppServer> httpClient(const QString& host, int port,
                                                      const QByteArray& token)
{
    httpclient::HttpAppServer::Options options;
    options.host = host;
    options.port = port;
    options.token = token;
    options.connectTimeoutMs = 2000;
    options.readTimeoutMs = 20000;
    return std::make_unique<httpclient::HttpAppServer>(options);
}

}  // namespace

LoopbackServer::LoopbackServer()
{
    server::app::ServerConfig config;
    config.listenHost = QStringLiteral("127.0.0.1");
    config.port = 0;
    config.dataDir = m_dir.path();
    config.logRequests = qEnvironmentVariableIsSet("AVALNUTRI_TEST_LOG");
    config.threads = 2;
    m_instance = std::make_unique<server::app::ServerInstance>(config);
    m_instance->start();
    m_client = httpClient(QStringLiteral("127.0.0.1"), port(), m_instance->token());
}

LoopbackServer::~LoopbackServer()
{
    m_client.reset();  // an idle keep-alive connection would hold the stop up
    m_instance->stop();
}

void LoopbackServer::useForHost() const
{
    hostfw::hostSettings().webUrl = QStringLiteral("127.0.0.1");
    hostfw::hostSettings().webPort = port();
    hostfw::hostSettings().accessToken = QString::fromUtf8(m_instance->token());
}

workspace::NetConnection::Transport LoopbackServer::transport()
{
    auto calls = m_calls;
    return [calls](const QString& host, int port, const QString& token) {
        return std::make_unique<CountingServer>(httpClient(host, port, token.toUtf8()), calls);
    };
}

void LoopbackServer::addPatient(const QString& code, const QString& name, const QString& sexCode,
                                const QDate& birth, bool deceased)
{
    records::checkReply(m_client->SetPaciente(QStringLiteral("0001"), code, name, sexCode,
                                              QDateTime(birth, QTime(0, 0), Qt::UTC), deceased));
}

workspace::NetConnection::Transport downTransport()
{
    // Port 1 on loopback: nothing listens there, the connection is refused at once.
    return [](const QString&, int, const QString& token) {
        const int port = 1;
        return httpClient(QStringLiteral("127.0.0.1"), port, token.toUtf8());
    };
}

}  // namespace workspacetest
