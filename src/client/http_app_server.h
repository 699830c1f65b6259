#pragma once

#include <records/app_server.h>

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>

namespace httplib {
class Client;
}

namespace httpclient {

// The application server reached over HTTP: every call is "POST /rpc/<Method>" with
// {"args": [...]} and the bearer token. Connection failures, timeouts, a refused token
// and answers that are not the server's come back as failed replies whose text names the
// server's address. One connection is kept open between calls; calls on one instance are
// serialised.
class HttpAppServer final : public records::AppServer
{
public:
    struct Options
    {
        QString host = QStringLiteral("127.0.0.1");
        int port = 8512;
        QByteArray token;
        int connectTimeoutMs = 5000;
        int readTimeoutMs = 60000;
    };

    explicit HttpAppServer(Options options);
    ~HttpAppServer() override;

    records::Reply call(const QString& method, const QJsonArray& args) override;

    // "http://127.0.0.1:8512"
    QString address() const;

private:
    Options m_options;
    std::mutex m_mutex;
    std::unique_ptr<httplib::Client> m_client;
};

}  // namespace httpclient
