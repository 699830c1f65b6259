#include "host/server_connection.h"

namespace host {

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

}  // namespace host
