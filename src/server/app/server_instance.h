#pragma once

#include "server_config.h"

#include "../api/route_table.h"
#include "../api/rpc_endpoint.h"
#include "../auth/audit.h"
#include "../auth/authenticator.h"
#include "../http/http_server.h"
#include "../storage/database.h"

#include <memory>

namespace server::app {

// One running application server: the database opened and brought to the current schema,
// the first-start seed, the users' sessions (and the service token when asked for), the
// remote methods with their audit trail and the HTTP listener.
// Construction does all of that up to binding the port and throws std::runtime_error (or
// storage::StorageError) with a clear text when any of it fails.
class ServerInstance
{
public:
    explicit ServerInstance(ServerConfig config);
    ~ServerInstance();

    // Serves until stop(); requests in flight finish first.
    void run();
    // Serves on a thread of its own (tests, benchmarks).
    void start();
    void stop();

    int port() const;
    QString address() const;  // "http://127.0.0.1:8512"
    // The service token; empty when the server runs without one.
    const QByteArray& token() const { return m_token; }
    auth::Authenticator& authenticator() { return *m_auth; }
    storage::Database& database() { return *m_db; }
    const api::RouteTable& routes() const { return m_routes; }
    const api::RpcEndpoint& endpoint() const { return *m_endpoint; }
    // What was set up, for the start-up log lines.
    QStringList startupReport() const { return m_report; }

private:
    ServerConfig m_config;
    std::unique_ptr<storage::Database> m_db;
    std::unique_ptr<auth::AuditingDatabase> m_auditedDb;
    QByteArray m_token;
    std::unique_ptr<auth::Authenticator> m_auth;
    api::RouteTable m_routes;
    std::unique_ptr<api::RpcEndpoint> m_endpoint;
    std::unique_ptr<http::HttpServer> m_http;
    QStringList m_report;
};

}  // namespace server::app
