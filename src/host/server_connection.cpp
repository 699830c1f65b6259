#include "host/server_connection.h"

#include "hostfw/host_settings.h"

#include "client/http_app_server.h"

namespace host {

std::unique_ptr<records::AppServer> connectToServer()
{
    httpclient::HttpAppServer::Options options;
    options.host = hostfw::WebURL();
    options.port = hostfw::WebPort();
    options.token = hostfw::AccessToken().toUtf8();
    options.tls = hostfw::hostSettings().tls;
    options.caFile = hostfw::hostSettings().caFile;
    options.renewSession = hostfw::hostSettings().renewSession;
    return std::make_unique<httpclient::HttpAppServer>(options);
}

}  // namespace host
