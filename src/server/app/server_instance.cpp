#include "server_instance.h"

#include "../api/token.h"
#include "../methods/routes.h"
#include "../seed/seed.h"
#include "../storage/database_location.h"
#include "../storage/schema.h"
#include "../storage/sql_database.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace server::app {

ServerInstance::ServerInstance(ServerConfig config) : m_config(std::move(config))
{
    const QString dataDir = m_config.effectiveDataDir();
    if (!QDir(dataDir).exists()) {
        if (!QDir().mkpath(dataDir))
            throw std::runtime_error(
                QStringLiteral("Não foi possível criar o diretório de dados %1.")
                    .arg(dataDir)
                    .toStdString());
        // A data directory the server creates holds the records and the token: owner only.
        QFile::setPermissions(dataDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    const storage::DatabaseLocation location =
        m_config.database ? storage::DatabaseLocation::postgres(*m_config.database)
                          : storage::DatabaseLocation::sqlite(m_config.sqliteFile());
    m_db = std::make_unique<storage::SqlDatabase>(location);
    const storage::UpgradeResult upgrade = storage::upgradeSchema(*m_db);
    m_report << QStringLiteral("banco de dados: %1").arg(m_db->describe());
    if (upgrade.from != upgrade.to)
        m_report << QStringLiteral("esquema atualizado da versão %1 para a %2")
                        .arg(upgrade.from)
                        .arg(upgrade.to);
    else
        m_report << QStringLiteral("esquema na versão %1").arg(upgrade.to);

    seed::SeedOptions seedOptions;
    seedOptions.demoPatients = m_config.demoPatients;
    if (seed::seedDatabase(*m_db, seedOptions))
        m_report << QStringLiteral("catálogo de métodos%1 cadastrados")
                        .arg(m_config.demoPatients ? QStringLiteral(" e pacientes de demonstração")
                                                   : QString());

    auth::AuthOptions authOptions;
    authOptions.sessionLength = std::chrono::hours(m_config.sessionHours);
    authOptions.failureDelay = m_config.loginFailureDelay;
    if (m_config.clock)
        authOptions.now = m_config.clock;
    const QString serviceTokenFile = m_config.effectiveServiceTokenFile();
    if (!serviceTokenFile.isEmpty()) {
        m_token = api::loadOrCreateToken(serviceTokenFile);
        authOptions.serviceToken = m_token;
        m_report << QStringLiteral("token de serviço ATIVO (%1): quem o tiver age como o usuário "
                                   "'%2' (perfil nutricionista)")
                        .arg(serviceTokenFile, auth::kServiceLogin);
    } else {
        m_report << QStringLiteral("token de serviço desativado (só sessões de usuários)");
    }
    m_auth = std::make_unique<auth::Authenticator>(*m_db, authOptions);
    m_report << QStringLiteral("sessões de %1 h").arg(m_config.sessionHours);
    const bool anyUser =
        storage::inTransaction(*m_db, storage::Access::ReadOnly,
                               [](storage::Transaction& tx) { return auth::users::any(tx); });
    if (!anyUser)
        m_report << QStringLiteral("nenhum usuário cadastrado; crie o primeiro administrador com:\n"
                                   "    avalnutri-server user add LOGIN --name \"Nome completo\" "
                                   "--registration \"CRN-3 12345\" --role admin %1")
                        .arg(m_config.database ? QStringLiteral("--db URL")
                                               : QStringLiteral("--data %1").arg(dataDir));

    // Every write goes through the auditing database, which appends its audit row in the
    // write's own transaction.
    m_auditedDb = std::make_unique<auth::AuditingDatabase>(*m_db);
    methods::registerAll(m_routes, *m_auditedDb);
    auth::registerAuditMethods(m_routes, *m_db);
    m_endpoint = std::make_unique<api::RpcEndpoint>(m_routes, *m_auth);

    http::HttpServerOptions httpOptions;
    httpOptions.host = m_config.listenHost;
    httpOptions.port = m_config.port;
    httpOptions.maxBodyBytes = m_config.maxBodyBytes;
    httpOptions.workers = m_config.workers;
    httpOptions.maxConnectionsPerAddress = m_config.maxConnectionsPerAddress;
    httpOptions.requestTimeout = std::chrono::milliseconds(m_config.requestTimeoutMs);
    httpOptions.idleTimeout = std::chrono::milliseconds(m_config.idleTimeoutMs);
    httpOptions.logRequests = m_config.logRequests;
    httpOptions.tlsCertFile = m_config.tlsCertFile;
    httpOptions.tlsKeyFile = m_config.tlsKeyFile;
    const api::RpcEndpoint* endpoint = m_endpoint.get();
    m_http =
        std::make_unique<http::HttpServer>(httpOptions, [endpoint](const api::RpcRequest& request) {
            return endpoint->handle(request);
        });
    m_http->bind();
    m_report << QStringLiteral("escutando em %1").arg(address());
}

ServerInstance::~ServerInstance()
{
    // The listener and its threads go before the database they use.
    if (m_http)
        m_http->stop();
    m_http.reset();
    m_endpoint.reset();
    m_auth.reset();
    m_auditedDb.reset();
    m_db.reset();
}

void ServerInstance::run()
{
    m_http->run();
}
void ServerInstance::start()
{
    m_http->start();
}
void ServerInstance::stop()
{
    m_http->stop();
}

int ServerInstance::port() const
{
    return m_http->port();
}

QString ServerInstance::address() const
{
    const QString host = m_config.listenHost.contains(QLatin1Char(':'))
                             ? QLatin1Char('[') + m_config.listenHost + QLatin1Char(']')
                             : m_config.listenHost;
    return QStringLiteral("%1://%2:%3")
        .arg(m_config.tlsCertFile.isEmpty() ? QStringLiteral("http") : QStringLiteral("https"))
        .arg(host)
        .arg(port());
}

}  // namespace server::app
