#pragma once

#include "../api/rpc_endpoint.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace httplib {
class Server;
}

namespace server::http {

struct HttpServerOptions
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 8512;  // 0: any free port
    qsizetype maxBodyBytes = 8 * 1024 * 1024;
    int threads = 16;         // requests served at once
    bool logRequests = true;  // one line per request on stderr
};

// The HTTP side of the server (cpp-httplib): "POST /rpc/<Method>" goes to the call
// handler with the method name, the Authorization header and the body; everything else is
// answered 404. Knows nothing of the methods themselves. Bodies over the limit are
// refused with 413 before they reach the handler; error answers always carry the
// {"ok": false, "error": ...} body.
class HttpServer
{
public:
    using CallHandler = std::function<api::RpcAnswer(
        const QString& method, const QByteArray& authorization, const QByteArray& body)>;

    HttpServer(HttpServerOptions options, CallHandler handler);
    ~HttpServer();

    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds the listening socket; answers the port (the chosen one for port 0). Throws
    // std::runtime_error naming the address when it cannot bind.
    int bind();
    // Serves until stop(); the requests in flight then finish before it returns.
    void run();
    // run() on a thread of its own.
    void start();
    // Stops accepting; safe from any thread and from a signal-watching thread. When the
    // server runs on its own thread, waits for it.
    void stop();

    int port() const { return m_port; }

private:
    void install();

    HttpServerOptions m_options;
    CallHandler m_handler;
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    std::atomic<bool> m_ended{false};
    int m_port = 0;
};

}  // namespace server::http
