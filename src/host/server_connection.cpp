#include "host/server_connection.h"

#include "hostfw/host_settings.h"

#if AVALNUTRI_HOST_HTTP
#include "server/client/http_app_server.h"
#endif

namespace host {

#if AVALNUTRI_HOST_HTTP

std::unique_ptr<records::AppServer> connectToServer()
{
    httpclient::HttpAppServer::Options options;
    options.host = hostfw::WebURL();
    options.port = hostfw::WebPort();
    options.token = hostfw::AccessToken().toUtf8();
    return std::make_unique<httpclient::HttpAppServer>(options);
}

#else

namespace {

// Stands in while this build has no HTTP client: every call fails with a clear text, so
// the picker says what is missing instead of listing nothing.
class UnavailableServer : public records::AppServer
{
public:
    records::Reply call(const QString& method, const QJsonArray&) override
    {
        return records::Reply::failure(
            QStringLiteral("esta compilação não tem o cliente HTTP do servidor (%1).").arg(method));
    }
};

}  // namespace

std::unique_ptr<records::AppServer> connectToServer()
{
    return std::make_unique<UnavailableServer>();
}

#endif

}  // namespace host
