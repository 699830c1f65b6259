#pragma once

#include "../api/rpc_endpoint.h"

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

namespace server::http {

struct HttpServerOptions
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 8512;  // 0: any free port
    qsizetype maxBodyBytes = 8 * 1024 * 1024;
    // Calls handled at once (the worker pool); 0: defaultWorkers().
    int workers = 0;
    // Threads that run the sockets (reading, writing, timers); 0: one, two on 4+ cores.
    int ioThreads = 0;
    // Headers and body of one request must arrive within this time, however the bytes
    // trickle in; the connection is closed otherwise.
    std::chrono::milliseconds requestTimeout{10'000};
    // A kept-alive connection with no request for this long is closed.
    std::chrono::milliseconds idleTimeout{30'000};
    // After answering a kept-alive connection, a worker with no call waiting in the queue
    // (and another worker free) waits this long for that connection's next request and
    // serves it itself, sparing the hand-over to the I/O thread and back; 0: never.
    std::chrono::microseconds nextRequestWait{1'000};
    // Open connections one client address may hold; more get 503 and are closed.
    int maxConnectionsPerAddress = 64;
    bool logRequests = true;  // one line per request on stderr
    // HTTPS when both are set: the certificate chain and its private key, PEM files. The
    // constructor throws std::runtime_error with a clear text when either cannot be read
    // or they do not belong together.
    QString tlsCertFile;
    QString tlsKeyFile;
};

// Two workers per hardware thread, at least four: handlers mostly wait on the database.
int defaultWorkers();

// The HTTP side of the server (Boost.Beast on Asio): a couple of I/O threads run every
// socket and timer, so an idle kept-alive connection costs no thread; each complete
// request goes, in arrival order, to a pool of worker threads that runs the call handler.
// Every POST goes to the handler with its path (the API layer owns the routes and answers
// 404 for paths it does not know); other methods are answered 404 here. Bodies over the
// limit are refused with 413 as soon as their Content-Length is read; error answers
// always carry the {"ok": false, "error": ...} body. Sessions are templates over the
// stream type: with a certificate, each connection is a TLS stream over the TCP one
// (OpenSSL), its handshake under the request deadline.
class HttpServer
{
public:
    using CallHandler = std::function<api::RpcAnswer(const api::RpcRequest& request)>;

    HttpServer(HttpServerOptions options, CallHandler handler);
    ~HttpServer();

    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds the listening socket; answers the port (the chosen one for port 0). Throws
    // std::runtime_error naming the address when it cannot bind.
    int bind();
    // Serves until stop(); the requests in flight then finish before it returns.
    void run();
    // Starts the I/O threads and the workers and returns once connections are accepted.
    void start();
    // Stops accepting, closes idle connections and those still sending headers, lets the
    // requests in flight (headers read) be answered, within their deadline, and returns
    // when they have. Safe from any thread, more than once.
    void stop();

    int port() const;

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

}  // namespace server::http
