#include "loopback_server.h"

#include "hostfw/host_settings.h"
#include "records/write_through.h"

namespace workspacetest {
namespace {

// Counts and logs the calls made through it and fails those it is told to, then hands
// the others on.
class CountingServer : public records::AppServer
{
public:
    CountingServer(std::unique_ptr<records::AppServer> inner,
                   std::shared_ptr<LoopbackServer::Traffic> traffic)
        : m_inner(std::move(inner)),
          m_traffic(std::move(traffic))
    {
    }
    records::Reply call(const QString& method, const QJsonArray& args) override
    {
        ++m_traffic->calls;
        m_traffic->methods.append(method);
        m_traffic->arguments.append(args);
        if (m_traffic->failures.value(method) > 0) {
            if (m_traffic->skips.value(method) > 0) {
                --m_traffic->skips[method];
            } else {
                --m_traffic->failures[method];
                return records::Reply::failure(
                    QStringLiteral("%1: falha simulada do servidor.").arg(method));
            }
        }
        return m_inner->call(method, args);
    }

private:
    std::unique_ptr<records::AppServer> m_inner;
    std::shared_ptr<LoopbackServer::Traffic> m_traffic;
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

server::app::ServerConfig loopbackConfig()
{
    server::app::ServerConfig config = servertest::TestServer::quietConfig();
    config.logRequests = qEnvironmentVariableIsSet("AVALNUTRI_TEST_LOG");
    config.workers = 2;
    return config;
}

}  // namespace

LoopbackServer::LoopbackServer() : m_server(server::storage::Engine::Sqlite, loopbackConfig()) {}

LoopbackServer::~LoopbackServer() = default;

void LoopbackServer::useForHost() const
{
    hostfw::hostSettings().webUrl = QStringLiteral("127.0.0.1");
    hostfw::hostSettings().webPort = port();
    hostfw::hostSettings().accessToken = QString::fromUtf8(m_server.token());
}

workspace::NetConnection::Transport LoopbackServer::transport()
{
    auto traffic = m_traffic;
    return [traffic](const QString& host, int port, const QString& token) {
        return std::make_unique<CountingServer>(httpClient(host, port, token.toUtf8()), traffic);
    };
}

void LoopbackServer::addPatient(const QString& code, const QString& name, const QString& sexCode,
                                const QDate& birth, bool deceased)
{
    records::checkReply(m_server.client().SetPaciente(QStringLiteral("0001"), code, name, sexCode,
                                                      QDateTime(birth, QTime(0, 0), Qt::UTC),
                                                      deceased));
}

void LoopbackServer::addReference(const QString& list, const QString& owner, const QString& code,
                                  const QString& name)
{
    using namespace server::storage;
    inTransaction(m_server.instance().database(), Access::ReadWrite, [&](Transaction& tx) {
        if (!tx.exists(QStringLiteral("SELECT 1 FROM refebibl WHERE CDREFEBIBL = ?"), {code}))
            tx.execute(
                QStringLiteral("INSERT INTO refebibl (CDREFEBIBL, NMREFEBIBL) VALUES (?, ?)"),
                {code, name});
        else
            tx.execute(QStringLiteral("UPDATE refebibl SET NMREFEBIBL = ? WHERE CDREFEBIBL = ?"),
                       {name, code});
        if (!tx.exists(QStringLiteral("SELECT 1 FROM refelista WHERE CDLISTA = ? AND CDDONO = ? "
                                      "AND CDREFEBIBL = ?"),
                       {list, owner, code}))
            tx.execute(QStringLiteral(
                           "INSERT INTO refelista (CDLISTA, CDDONO, CDREFEBIBL) VALUES (?, ?, ?)"),
                       {list, owner, code});
    });
}

void LoopbackServer::removeReferences(const QString& list, const QString& owner)
{
    using namespace server::storage;
    inTransaction(m_server.instance().database(), Access::ReadWrite, [&](Transaction& tx) {
        tx.execute(QStringLiteral("DELETE FROM refelista WHERE CDLISTA = ? AND CDDONO = ?"),
                   {list, owner});
        if (list == QLatin1String("METO"))
            tx.execute(
                QStringLiteral("UPDATE tbmetoaval SET CDTBREFMETOA = NULL WHERE CDTBMETOAVAL = ?"),
                {owner});
    });
}

QList<QJsonArray> LoopbackServer::argumentsOf(const QString& method) const
{
    QList<QJsonArray> out;
    for (int i = 0; i < m_traffic->methods.size(); ++i) {
        if (m_traffic->methods[i] == method)
            out.append(m_traffic->arguments[i]);
    }
    return out;
}

void LoopbackServer::clearTraffic() const
{
    m_traffic->methods.clear();
    m_traffic->arguments.clear();
}

void LoopbackServer::failNext(const QString& method, int times, int skip) const
{
    m_traffic->failures[method] = times;
    m_traffic->skips[method] = skip;
}

}  // namespace workspacetest
