#include "http_server.h"

#include <httplib.h>

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <stdexcept>

namespace server::http {
namespace {

using Clock = std::chrono::steady_clock;

// Requests are served one at a time per thread, so the start of the current request can
// be kept per thread between the pre-routing hook and the logger.
thread_local Clock::time_point t_started;
thread_local bool t_timed = false;

std::mutex g_logMutex;

QString methodOf(const httplib::Request& req)
{
    if (req.matches.size() > 1)
        return QString::fromStdString(req.matches[1]);
    const QString path = QString::fromStdString(req.path);
    return path.startsWith(QLatin1String("/rpc/")) ? path.mid(5) : path;
}

void logLine(const httplib::Request& req, const httplib::Response& res)
{
    double ms = 0;
    if (t_timed)
        ms = std::chrono::duration<double, std::milli>(Clock::now() - t_started).count();
    t_timed = false;
    const QByteArray line = QStringLiteral("%1 %2 %3 %4 %5 ms\n")
                                .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs),
                                     QString::fromStdString(req.remote_addr), methodOf(req))
                                .arg(res.status)
                                .arg(ms, 0, 'f', 1)
                                .toUtf8();
    std::lock_guard lock(g_logMutex);
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

void setJson(httplib::Response& res, const QByteArray& body)
{
    res.set_content(body.constData(), static_cast<size_t>(body.size()), "application/json");
}

}  // namespace

HttpServer::HttpServer(HttpServerOptions options, CallHandler handler)
    : m_options(std::move(options)),
      m_handler(std::move(handler)),
      m_server(std::make_unique<httplib::Server>())
{
    install();
}

HttpServer::~HttpServer()
{
    stop();
}

void HttpServer::install()
{
    httplib::Server& svr = *m_server;
    const int threads = std::max(1, m_options.threads);
    svr.new_task_queue = [threads] {
        return new httplib::ThreadPool(static_cast<size_t>(threads));
    };
    svr.set_payload_max_length(static_cast<size_t>(m_options.maxBodyBytes));
    // Headers and body go out in separate writes: without this, delayed acknowledgement
    // adds tens of milliseconds to every call on a kept-alive connection.
    svr.set_tcp_nodelay(true);
    svr.set_read_timeout(15, 0);
    svr.set_write_timeout(15, 0);
    // A kept-alive connection holds a worker thread while it waits for its next request,
    // and a stopping server waits for it: idle connections are closed after two seconds
    // (clients reconnect on their next call).
    svr.set_keep_alive_timeout(2);
    svr.set_keep_alive_max_count(1000);

    svr.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        t_started = Clock::now();
        t_timed = true;
        return httplib::Server::HandlerResponse::Unhandled;
    });

    svr.Post(R"(/rpc/([A-Za-z][A-Za-z0-9_]*))",
             [this](const httplib::Request& req, httplib::Response& res) {
                 const QString method = QString::fromStdString(req.matches[1]);
                 const QByteArray authorization =
                     QByteArray::fromStdString(req.get_header_value("Authorization"));
                 const QByteArray body = QByteArray::fromStdString(req.body);
                 const api::RpcAnswer answer = m_handler(method, authorization, body);
                 res.status = answer.status;
                 setJson(res, answer.body);
             });

    // Statuses that no handler answered (unknown path, body over the limit, a request that
    // could not be read) still get the error body the clients read.
    const qsizetype limit = m_options.maxBodyBytes;
    svr.set_error_handler([limit](const httplib::Request& req, httplib::Response& res) {
        if (!res.body.empty())
            return;
        QString message;
        switch (res.status) {
        case 404:
            message =
                QStringLiteral("Caminho desconhecido: %1 %2 (use POST /rpc/<Método>).")
                    .arg(QString::fromStdString(req.method), QString::fromStdString(req.path));
            break;
        case 413:
            message =
                QStringLiteral("Corpo da requisição maior que o limite de %1 bytes.").arg(limit);
            break;
        default:
            message = QStringLiteral("Requisição HTTP inválida (status %1).").arg(res.status);
        }
        setJson(res, api::RpcAnswer::failure(res.status, message).body);
    });

    svr.set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
            QString text = QStringLiteral("erro desconhecido");
            try {
                if (ep)
                    std::rethrow_exception(ep);
            } catch (const std::exception& e) {
                text = QString::fromLocal8Bit(e.what());
            } catch (...) {
            }
            res.status = 500;
            setJson(res, api::RpcAnswer::failure(
                             500, QStringLiteral("Erro interno do servidor: %1").arg(text))
                             .body);
        });

    if (m_options.logRequests)
        svr.set_logger(logLine);
}

int HttpServer::bind()
{
    const std::string host = m_options.host.toStdString();
    if (m_options.port == 0) {
        m_port = m_server->bind_to_any_port(host);
        if (m_port <= 0)
            m_port = 0;
    } else if (m_server->bind_to_port(host, m_options.port)) {
        m_port = m_options.port;
    }
    if (m_port == 0)
        throw std::runtime_error(QStringLiteral("Não foi possível escutar em %1:%2 (endereço em "
                                                "uso ou inválido).")
                                     .arg(m_options.host)
                                     .arg(m_options.port)
                                     .toStdString());
    return m_port;
}

void HttpServer::run()
{
    if (m_port == 0)
        bind();
    m_server->listen_after_bind();
}

void HttpServer::start()
{
    if (m_port == 0)
        bind();
    m_ended = false;
    m_thread = std::thread([this] {
        m_server->listen_after_bind();
        m_ended = true;
    });
    // Answer once the listener accepts (the socket is bound already, so connections made
    // before that wait in its backlog anyway).
    while (!m_server->is_running() && !m_ended)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void HttpServer::stop()
{
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
}

}  // namespace server::http
