#include "server_link.h"

#include "client/http_app_server.h"
#include "hostfw/access_token.h"
#include "hostfw/host_settings.h"
#include "workspace/net_connection.h"

namespace cli {
namespace {

std::unique_ptr<records::AppServer> httpServer(const QString& host, int port, const QString& token)
{
    httpclient::HttpAppServer::Options options;
    options.host = host;
    options.port = port;
    options.token = token.toUtf8();
    return std::make_unique<httpclient::HttpAppServer>(options);
}

}  // namespace

std::unique_ptr<records::AppServer> connect(const Connection& connection)
{
    const QString token = hostfw::readAccessToken(connection.tokenFile);
    hostfw::hostSettings().webUrl = connection.host;
    hostfw::hostSettings().webPort = connection.port;
    hostfw::hostSettings().accessToken = token;
    workspace::NetConnection::setDefaultTransport(httpServer);
    return httpServer(connection.host, connection.port, token);
}

}  // namespace cli
