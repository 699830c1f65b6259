#include "http_server.h"

#include "worker_pool.h"

#include <boost/asio/dispatch.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/ssl/stream.hpp>
#include <boost/asio/strand.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/status.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

namespace server::http {

namespace net = boost::asio;
namespace beast = boost::beast;
namespace bhttp = boost::beast::http;
using tcp = net::ip::tcp;
using Clock = std::chrono::steady_clock;

int defaultWorkers()
{
    return std::max(4, 2 * static_cast<int>(std::thread::hardware_concurrency()));
}

namespace {

// How long a closing connection keeps reading what its client still sends, so that the
// client reads the final answer instead of a reset.
constexpr std::chrono::seconds lingerTime{2};

std::mutex g_logMutex;

void logLine(const std::string& address, const QByteArray& path, int status, double ms)
{
    const QByteArray what = path.startsWith("/rpc/") ? path.mid(5) : path;
    const QByteArray line = QStringLiteral("%1 %2 %3 %4 %5 ms\n")
                                .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs),
                                     QString::fromStdString(address), QString::fromUtf8(what))
                                .arg(status)
                                .arg(ms, 0, 'f', 1)
                                .toUtf8();
    std::lock_guard lock(g_logMutex);
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
}

using TlsStream = net::ssl::stream<beast::tcp_stream>;

// The first OpenSSL error on this thread, as text (and the queue emptied).
QString openSslError()
{
    char text[256] = "";
    const unsigned long code = ERR_get_error();
    if (code != 0)
        ERR_error_string_n(code, text, sizeof text);
    ERR_clear_error();
    return QString::fromLatin1(text);
}

// The server's TLS context from its certificate chain and key files, each checked so the
// operator is told which file is wrong and how.
std::unique_ptr<net::ssl::context> tlsContext(const QString& certFile, const QString& keyFile)
{
    auto fail = [](const QString& text) { return std::runtime_error(text.toStdString()); };
    for (const auto& [file, what] : {std::pair{certFile, QStringLiteral("do certificado TLS")},
                                     std::pair{keyFile, QStringLiteral("da chave TLS")}}) {
        const QFileInfo info(file);
        if (!info.exists())
            throw fail(QStringLiteral("Arquivo %1 não encontrado: %2.").arg(what, file));
        if (!info.isFile() || !info.isReadable())
            throw fail(QStringLiteral("Arquivo %1 sem permissão de leitura: %2.").arg(what, file));
    }
    auto ctx = std::make_unique<net::ssl::context>(net::ssl::context::tls_server);
    ctx->set_options(net::ssl::context::default_workarounds | net::ssl::context::no_sslv2
                     | net::ssl::context::no_sslv3 | net::ssl::context::no_tlsv1
                     | net::ssl::context::no_tlsv1_1 | net::ssl::context::single_dh_use);
    SSL_CTX* native = ctx->native_handle();
    ERR_clear_error();
    if (SSL_CTX_use_certificate_chain_file(native, QFile::encodeName(certFile).constData()) != 1)
        throw fail(QStringLiteral("Certificado TLS inválido em %1 (um certificado PEM é "
                                  "esperado): %2.")
                       .arg(certFile, openSslError()));
    // The key is read on its own first, so that a file that is no key and a key of
    // another certificate get different texts.
    FILE* f = std::fopen(QFile::encodeName(keyFile).constData(), "rb");
    EVP_PKEY* key = f ? PEM_read_PrivateKey(f, nullptr, nullptr, nullptr) : nullptr;
    if (f)
        std::fclose(f);
    if (!key)
        throw fail(QStringLiteral("Chave TLS inválida em %1 (uma chave privada PEM sem senha "
                                  "é esperada): %2.")
                       .arg(keyFile, openSslError()));
    const int used = SSL_CTX_use_PrivateKey(native, key);
    EVP_PKEY_free(key);
    if (used != 1 || SSL_CTX_check_private_key(native) != 1)
        throw fail(QStringLiteral("A chave TLS %1 não corresponde ao certificado %2.")
                       .arg(keyFile, certFile));
    ERR_clear_error();
    return ctx;
}

// A failure that escaped the call handler: its detail goes to the log, never to the client
// (it may name a statement or a value).
api::RpcAnswer internalError(const QString& text)
{
    const QByteArray line =
        QStringLiteral("avalnutri-server: erro interno fora do tratamento da chamada: %1\n")
            .arg(text)
            .toUtf8();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    return api::RpcAnswer::failure(500, QStringLiteral("Erro interno do servidor."));
}

}  // namespace

// What a session shares with the server: options, handler, workers, and the count of
// open connections (all and per address) that stop() and the address limit use.
class SessionBase
{
public:
    virtual ~SessionBase() = default;
    // Closes the connection now unless a request of it is in flight (headers read, body
    // arriving, being handled or answered); such a connection closes after its answer.
    virtual void closeWhenIdle() = 0;
};

struct HttpServer::Impl
{
    Impl(HttpServerOptions o, CallHandler h)
        : options(std::move(o)),
          handler(std::move(h)),
          io(std::make_unique<net::io_context>()),
          acceptor(std::make_unique<tcp::acceptor>(net::make_strand(*io)))
    {
        if (options.workers <= 0)
            options.workers = defaultWorkers();
        if (options.ioThreads <= 0)
            options.ioThreads = std::thread::hardware_concurrency() >= 4 ? 2 : 1;
        if (!options.tlsCertFile.isEmpty() || !options.tlsKeyFile.isEmpty())
            tls = tlsContext(options.tlsCertFile, options.tlsKeyFile);
    }

    ~Impl()
    {
        // Handlers still queued (after a stop that timed out) hold sessions, which report
        // back here: they go while the rest is alive.
        acceptor.reset();
        pool.reset();
        io.reset();
    }

    void accept();
    void onAccepted(tcp::socket socket);

    std::unique_ptr<net::ssl::context> tls;  // none: plain HTTP

    // Counts a connection from address; false when the address is at its limit.
    bool admit(const std::string& address)
    {
        std::lock_guard lock(mutex);
        int& n = perAddress[address];
        if (options.maxConnectionsPerAddress > 0 && n >= options.maxConnectionsPerAddress) {
            if (n == 0)
                perAddress.erase(address);
            return false;
        }
        ++n;
        return true;
    }
    // Answers false when the server is stopping (the session should close at once).
    bool registerSession(SessionBase* s, std::weak_ptr<SessionBase> w)
    {
        std::lock_guard lock(mutex);
        sessions.emplace(s, std::move(w));
        return !stopping;
    }
    void released(SessionBase* s, const std::string& address, bool counted)
    {
        {
            std::lock_guard lock(mutex);
            sessions.erase(s);
            if (counted) {
                auto it = perAddress.find(address);
                if (it != perAddress.end() && --it->second <= 0)
                    perAddress.erase(it);
            }
        }
        allClosed.notify_all();
    }

    HttpServerOptions options;
    CallHandler handler;
    std::unique_ptr<net::io_context> io;
    std::unique_ptr<tcp::acceptor> acceptor;
    std::unique_ptr<WorkerPool> pool;
    // Keeps the I/O threads running while no socket operation is pending (every session
    // on a worker, the acceptor closed by stop()).
    std::optional<net::executor_work_guard<net::io_context::executor_type>> work;
    std::vector<std::thread> ioThreads;
    int port = 0;

    std::mutex mutex;  // guards what follows
    std::map<std::string, int> perAddress;
    std::map<SessionBase*, std::weak_ptr<SessionBase>> sessions;
    std::condition_variable allClosed;
    bool running = false;
    bool stopping = false;
    std::condition_variable stopped;
};

namespace {

// One connection, from its first byte to its close, over any stream whose lowest layer
// is a beast::tcp_stream (asio::ssl::stream<beast::tcp_stream> for TLS). Runs on the
// connection's strand, except the call handler, which runs on a worker.
template <class Stream>
class Session : public SessionBase, public std::enable_shared_from_this<Session<Stream>>
{
public:
    Session(Stream stream, HttpServer::Impl& server, std::string address, bool admitted)
        : m_stream(std::move(stream)),
          m_server(server),
          m_address(std::move(address)),
          m_admitted(admitted)
    {
    }

    ~Session() override { m_server.released(this, m_address, m_admitted); }

    void start()
    {
        const bool open = m_server.registerSession(this, this->weak_from_this());
        net::dispatch(m_stream.get_executor(), [self = this->shared_from_this(), open] {
            if (!open)
                return self->close();
            if constexpr (std::is_same_v<Stream, TlsStream>)
                return self->handshake();
            self->begin();
        });
    }

    void closeWhenIdle() override
    {
        net::post(m_stream.get_executor(), [self = this->shared_from_this()] {
            self->m_closing = true;
            if (self->m_state == State::Idle || self->m_state == State::Reading
                || self->m_state == State::Closing)
                self->close();
        });
    }

private:
    // The TLS handshake, under the request deadline; a client that does not trust the
    // certificate ends it, and the connection just closes.
    void handshake()
    {
        m_state = State::Reading;
        tcp().expires_after(m_server.options.requestTimeout);
        m_stream.async_handshake(net::ssl::stream_base::server,
                                 [self = this->shared_from_this()](beast::error_code ec) {
                                     if (ec)
                                         return self->close();
                                     self->begin();
                                 });
    }

    void begin()
    {
        net::dispatch(m_stream.get_executor(), [self = this->shared_from_this()] {
            if (!self->m_admitted)
                return self->refuse(
                    503, QStringLiteral("Conexões demais abertas a partir de %1 (limite %2); "
                                        "tente novamente.")
                             .arg(QString::fromStdString(self->m_address))
                             .arg(self->m_server.options.maxConnectionsPerAddress));
            self->waitForRequest();
        });
    }

    enum class State
    {
        Idle,         // waiting for the first byte of a request
        Reading,      // a request has begun: its deadline runs
        ReadingBody,  // its headers are in: stop() lets it finish within its deadline
        Handling,     // on a worker
        Writing,
        Closing,
    };

    beast::tcp_stream& tcp() { return beast::get_lowest_layer(m_stream); }

    void waitForRequest()
    {
        if (m_closing)
            return close();
        m_state = State::Idle;
        if (m_buffer.size() > 0)
            return readHeader();
        // Waiting costs no thread: only the idle timer and a pending read.
        tcp().expires_after(m_server.options.idleTimeout);
        m_stream.async_read_some(m_buffer.prepare(4096), [self = this->shared_from_this()](
                                                             beast::error_code ec, std::size_t n) {
            if (ec)
                return self->close();
            self->m_buffer.commit(n);
            self->readHeader();
        });
    }

    void readHeader()
    {
        m_state = State::Reading;
        // One deadline for headers and body together, set once: bytes trickling in do
        // not extend it.
        tcp().expires_after(m_server.options.requestTimeout);
        m_parser.emplace();
        m_parser->body_limit(static_cast<std::uint64_t>(m_server.options.maxBodyBytes));
        m_parser->header_limit(64 * 1024);
        bhttp::async_read_header(m_stream, m_buffer, *m_parser,
                                 [self = this->shared_from_this()](
                                     beast::error_code ec, std::size_t) { self->onHeader(ec); });
    }

    void onHeader(beast::error_code ec)
    {
        if (ec)
            return refuseUnreadable(ec);
        m_started = Clock::now();
        m_state = State::ReadingBody;
        const auto& req = m_parser->get();
        if (req[bhttp::field::expect] == "100-continue" && !m_parser->is_done()) {
            // The client waits for this before it sends the body.
            auto cont = std::make_shared<bhttp::response<bhttp::empty_body>>(
                bhttp::status::continue_, req.version());
            bhttp::async_write(
                m_stream, *cont,
                [self = this->shared_from_this(), cont](beast::error_code e, std::size_t) {
                    if (e)
                        return self->close();
                    self->readBody();
                });
            return;
        }
        readBody();
    }

    void readBody()
    {
        bhttp::async_read(m_stream, m_buffer, *m_parser,
                          [self = this->shared_from_this()](beast::error_code ec, std::size_t) {
                              if (ec)
                                  return self->refuseUnreadable(ec);
                              self->dispatchRequest();
                          });
    }

    // A request that could not be read: the limits and malformed HTTP get their answer;
    // a closed connection or a missed deadline just ends.
    void refuseUnreadable(beast::error_code ec)
    {
        if (ec == bhttp::error::body_limit)
            return refuse(413, QStringLiteral("Corpo da requisição maior que o limite de %1 bytes.")
                                   .arg(m_server.options.maxBodyBytes));
        if (ec.category() == bhttp::make_error_code(bhttp::error::bad_method).category()
            && ec != bhttp::error::end_of_stream && ec != bhttp::error::partial_message)
            return refuse(400, QStringLiteral("Requisição HTTP inválida (%1).")
                                   .arg(QString::fromStdString(ec.message())));
        close();
    }

    void dispatchRequest()
    {
        auto& req = m_parser->get();
        m_keepAlive = req.keep_alive();
        m_version = req.version();
        if (req.method() != bhttp::verb::post) {
            const QByteArray path = pathOf(req);
            const auto verb = req.method_string();
            answer(
                api::RpcAnswer::failure(
                    404, api::unknownPathText(
                             QByteArray(verb.data(), static_cast<qsizetype>(verb.size())), path)),
                path);
            return;
        }
        api::RpcRequest request;
        fillCall(request, req);
        m_parser.reset();
        m_state = State::Handling;
        // The handler may take long (a slow database): no deadline while it runs.
        tcp().expires_never();
        queue(std::move(request));
    }

    // The target of a request without its query.
    static QByteArray pathOf(const bhttp::request<bhttp::string_body>& req)
    {
        QByteArray path(req.target().data(), static_cast<qsizetype>(req.target().size()));
        const qsizetype query = path.indexOf('?');
        if (query >= 0)
            path.truncate(query);
        return path;
    }

    // The path (without query), token, body and address of a POST.
    void fillCall(api::RpcRequest& request, bhttp::request<bhttp::string_body>& req) const
    {
        request.path = pathOf(req);
        const auto auth = req[bhttp::field::authorization];
        request.authorization = QByteArray(auth.data(), static_cast<qsizetype>(auth.size()));
        request.body = QByteArray::fromStdString(std::move(req.body()));
        request.remoteAddress = QString::fromStdString(m_address);
    }

    void queue(api::RpcRequest request)
    {
        m_server.pool->post(
            [self = this->shared_from_this(), request = std::move(request)]() mutable {
                self->serve(std::move(request));
            });
    }

    // On a worker: runs the call and answers it; then, while the client sends its next
    // request at once and nobody waits in the queue, serves that one too.
    void serve(api::RpcRequest request)
    {
        for (;;) {
            api::RpcAnswer a;
            try {
                a = m_server.handler(request);
            } catch (const std::exception& e) {
                a = internalError(QString::fromLocal8Bit(e.what()));
            } catch (...) {
                a = internalError(QStringLiteral("erro desconhecido"));
            }
            if (!answerFromWorker(std::move(a), request.path))
                return;
            std::optional<api::RpcRequest> next = nextRequestOnWorker();
            if (!next) {
                // Back to the I/O thread, which waits for the next request at no cost.
                reattach();
                net::post(m_stream.get_executor(),
                          [self = this->shared_from_this()] { self->resumeReading(); });
                return;
            }
            if (m_server.pool->busy()) {
                // Others came first: this request waits its turn like theirs.
                reattach();
                queue(std::move(*next));
                return;
            }
            request = std::move(*next);
        }
    }

    // On a worker, after a complete answer on a kept-alive plain TCP connection: the
    // next request when it arrives within the short wait and is whole, a POST, and
    // within the limits. Anything else (no request yet, a partial or faulty one) is left
    // in the buffer for the I/O thread, which reads and answers it as usual. Nothing but
    // this worker touches the socket meanwhile: the session stays Handling.
    std::optional<api::RpcRequest> nextRequestOnWorker()
    {
        // Over TLS the bytes on the socket are not the request: the I/O thread reads it.
        if constexpr (!std::is_same_v<Stream, beast::tcp_stream>)
            return std::nullopt;
        const auto wait = m_server.options.nextRequestWait;
        if (wait.count() <= 0 || m_closing || !m_server.pool->quiet())
            return std::nullopt;
        if (m_buffer.size() == 0) {
            pollfd p{m_detached, POLLIN, 0};
            const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait);
            const timespec limit{
                static_cast<time_t>(seconds.count()),
                static_cast<long>(std::chrono::nanoseconds(wait - seconds).count())};
            if (::ppoll(&p, 1, &limit, nullptr) != 1 || (p.revents & POLLIN) == 0)
                return std::nullopt;
            const auto space = m_buffer.prepare(4096);
            const ssize_t n = ::recv(m_detached, space.data(), space.size(), MSG_DONTWAIT);
            if (n <= 0)
                return std::nullopt;  // the I/O thread's read meets the same end
            m_buffer.commit(static_cast<size_t>(n));
        }
        if (m_closing)
            return std::nullopt;

        bhttp::request_parser<bhttp::string_body> parser;
        parser.body_limit(static_cast<std::uint64_t>(m_server.options.maxBodyBytes));
        parser.header_limit(64 * 1024);
        parser.eager(true);
        const auto data = m_buffer.data();
        const char* bytes = static_cast<const char*>(data.data());
        size_t used = 0;
        beast::error_code ec;
        while (!parser.is_done()) {
            const size_t n = parser.put(net::buffer(bytes + used, data.size() - used), ec);
            used += n;
            if (ec || n == 0)
                break;
        }
        if (ec || !parser.is_done() || parser.get().method() != bhttp::verb::post)
            return std::nullopt;
        m_buffer.consume(used);
        m_started = Clock::now();
        auto& req = parser.get();
        m_keepAlive = req.keep_alive();
        m_version = req.version();
        api::RpcRequest request;
        fillCall(request, req);
        return request;
    }

    // While a worker answers and waits for the next request it reads and writes the
    // socket itself, taken out of the I/O thread's watch: otherwise every request that
    // arrives would also wake the I/O thread, for nothing. Answers false when the socket
    // cannot be taken (it is closed).
    bool detach()
    {
        if (m_detached >= 0)
            return true;
        beast::error_code ec;
        m_protocol = tcp().socket().local_endpoint(ec).protocol();
        if (ec)
            return false;
        m_detached = tcp().socket().release(ec);
        if (ec)
            m_detached = -1;
        return m_detached >= 0;
    }

    // Gives the socket back to the I/O thread's watch, before anything is handed to it.
    void reattach()
    {
        if (m_detached < 0)
            return;
        const int fd = std::exchange(m_detached, -1);
        beast::error_code ec;
        tcp().socket().assign(m_protocol, fd, ec);
        if (ec) {
            ::close(fd);  // the session's next operation fails and closes it
            return;
        }
        // Writes from a worker must never wait for a client that does not read.
        tcp().socket().non_blocking(true, ec);
    }

    // On the strand, after a worker answered in full and kept the connection.
    void resumeReading()
    {
        if (m_state == State::Closing)
            return;
        m_started.reset();
        waitForRequest();
    }

    void refuse(int status, const QString& message)
    {
        m_keepAlive = false;
        answer(api::RpcAnswer::failure(status, message),
               m_parser ? QByteArray(m_parser->get().target().data(),
                                     static_cast<qsizetype>(m_parser->get().target().size()))
                        : QByteArray("-"));
    }

    // The whole answer, headers and body, as it goes on the wire.
    std::string serialize(const api::RpcAnswer& a, bool keep) const
    {
        const auto reason =
            bhttp::obsolete_reason(bhttp::int_to_status(static_cast<unsigned>(a.status)));
        std::string out;
        out.reserve(static_cast<size_t>(a.body.size()) + 160);
        out += m_version == 10 ? "HTTP/1.0 " : "HTTP/1.1 ";
        out += std::to_string(a.status);
        out += ' ';
        out.append(reason.data(), reason.size());
        out += "\r\nContent-Type: application/json\r\nContent-Length: ";
        out += std::to_string(a.body.size());
        if (!keep)
            out += "\r\nConnection: close";
        else if (m_version == 10)
            out += "\r\nConnection: keep-alive";
        out += "\r\n\r\n";
        out.append(a.body.constData(), static_cast<size_t>(a.body.size()));
        return out;
    }

    void logAnswer(int status, const QByteArray& path)
    {
        if (!m_server.options.logRequests)
            return;
        const double ms =
            m_started ? std::chrono::duration<double, std::milli>(Clock::now() - *m_started).count()
                      : 0.0;
        logLine(m_address, path, status, ms);
    }

    // On a worker, with the call answered. Over plain TCP the answer is written from here
    // when the socket takes it at once (nothing else touches the socket while a call is
    // handled), which spares the client a hand-over to the I/O thread; the rest of the
    // work, and any answer the socket cannot take now, goes back to the strand.
    //
    // Answers true when the answer went out whole and the connection stays open: the
    // worker still owns the session and may serve its next request (serve()).
    bool answerFromWorker(api::RpcAnswer a, const QByteArray& path)
    {
        logAnswer(a.status, path);
        const bool keep = m_keepAlive && !m_closing;
        auto wire = std::make_shared<std::string>(serialize(a, keep));
        size_t written = 0;
        if constexpr (std::is_same_v<Stream, beast::tcp_stream>) {
            bool failed = !detach();
            while (!failed && written < wire->size()) {
                const ssize_t n = ::send(m_detached, wire->data() + written, wire->size() - written,
                                         MSG_NOSIGNAL | MSG_DONTWAIT);
                if (n < 0) {
                    failed = errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR;
                    if (!failed && errno != EINTR)
                        break;
                    continue;
                }
                written += static_cast<size_t>(n);
            }
            if (!failed && written == wire->size() && keep) {
                m_started.reset();
                return true;
            }
            reattach();
            if (failed) {
                net::post(m_stream.get_executor(),
                          [self = this->shared_from_this()] { self->close(); });
                return false;
            }
        }
        net::post(m_stream.get_executor(), [self = this->shared_from_this(), wire, written, keep] {
            self->write(wire, written, keep);
        });
        return false;
    }

    // On the strand: an answer that did not go through a worker.
    void answer(const api::RpcAnswer& a, const QByteArray& path)
    {
        logAnswer(a.status, path);
        const bool keep = m_keepAlive && !m_closing;
        write(std::make_shared<std::string>(serialize(a, keep)), 0, keep);
    }

    void write(std::shared_ptr<std::string> wire, size_t written, bool keep)
    {
        if (m_state == State::Closing)
            return;
        m_state = State::Writing;
        m_started.reset();
        m_parser.reset();
        auto next = [self = this->shared_from_this(), keep](beast::error_code ec) {
            if (ec)
                return self->close();
            if (!keep || self->m_closing)
                return self->linger();
            self->waitForRequest();
        };
        if (written >= wire->size())
            return next({});
        // A client that does not read its answer is closed at the request deadline.
        tcp().expires_after(m_server.options.requestTimeout);
        net::async_write(m_stream, net::buffer(wire->data() + written, wire->size() - written),
                         [wire, next](beast::error_code ec, std::size_t) { next(ec); });
    }

    // Half-closes and reads what the client still sends, so that its last writes do not
    // turn the answer into a reset.
    void linger()
    {
        m_state = State::Closing;
        beast::error_code ignored;
        tcp().socket().shutdown(tcp::socket::shutdown_send, ignored);
        tcp().expires_after(lingerTime);
        drain();
    }

    void drain()
    {
        m_buffer.clear();
        m_stream.async_read_some(
            m_buffer.prepare(16 * 1024),
            [self = this->shared_from_this()](beast::error_code ec, std::size_t) {
                if (ec)
                    return self->close();
                self->drain();
            });
    }

    void close()
    {
        m_state = State::Closing;
        beast::error_code ignored;
        tcp().socket().shutdown(tcp::socket::shutdown_both, ignored);
        tcp().close();
    }

    Stream m_stream;
    HttpServer::Impl& m_server;
    std::string m_address;
    bool m_admitted;
    beast::flat_buffer m_buffer;
    std::optional<bhttp::request_parser<bhttp::string_body>> m_parser;
    std::optional<Clock::time_point> m_started;
    State m_state = State::Idle;
    bool m_keepAlive = true;
    std::atomic<bool> m_closing{false};  // also read by the worker
    unsigned m_version = 11;
    int m_detached = -1;  // the socket while a worker holds it (detach())
    net::ip::tcp m_protocol = net::ip::tcp::v4();
};

}  // namespace

void HttpServer::Impl::accept()
{
    acceptor->async_accept(net::make_strand(*io), [this](beast::error_code ec, tcp::socket socket) {
        if (ec == net::error::operation_aborted || !acceptor->is_open())
            return;
        if (!ec)
            onAccepted(std::move(socket));
        accept();
    });
}

void HttpServer::Impl::onAccepted(tcp::socket socket)
{
    beast::error_code ec;
    // Headers and body go out in one write, but the client's next request must not wait
    // for a delayed acknowledgement either.
    socket.set_option(tcp::no_delay(true), ec);
    // Writes from a worker must never wait for a client that does not read.
    socket.non_blocking(true, ec);
    const tcp::endpoint remote = socket.remote_endpoint(ec);
    if (ec)
        return;
    std::string address = remote.address().to_string();
    {
        std::lock_guard lock(mutex);
        if (stopping)
            return;
    }
    const bool admitted = admit(address);
    if (tls) {
        auto session = std::make_shared<Session<TlsStream>>(
            TlsStream(beast::tcp_stream(std::move(socket)), *tls), *this, std::move(address),
            admitted);
        session->start();
        return;
    }
    auto session = std::make_shared<Session<beast::tcp_stream>>(
        beast::tcp_stream(std::move(socket)), *this, std::move(address), admitted);
    session->start();
}

HttpServer::HttpServer(HttpServerOptions options, CallHandler handler)
    : m_impl(std::make_unique<Impl>(std::move(options), std::move(handler)))
{
}

HttpServer::~HttpServer()
{
    stop();
}

int HttpServer::port() const
{
    return m_impl->port;
}

int HttpServer::bind()
{
    Impl& d = *m_impl;
    const QString where = QStringLiteral("%1:%2").arg(d.options.host).arg(d.options.port);
    auto fail = [&](const std::string& why) {
        return std::runtime_error(QStringLiteral("Não foi possível escutar em %1 (endereço em "
                                                 "uso ou inválido: %2).")
                                      .arg(where, QString::fromLocal8Bit(why.c_str()))
                                      .toStdString());
    };
    beast::error_code ec;
    tcp::resolver resolver(*d.io);
    const auto results =
        resolver.resolve(d.options.host.toStdString(), std::to_string(d.options.port),
                         tcp::resolver::passive | tcp::resolver::numeric_service, ec);
    if (ec || results.empty())
        throw fail(ec ? ec.message() : std::string("sem endereço"));
    const tcp::endpoint endpoint = results.begin()->endpoint();
    d.acceptor->open(endpoint.protocol(), ec);
    if (!ec)
        d.acceptor->set_option(net::socket_base::reuse_address(true), ec);
    if (!ec)
        d.acceptor->bind(endpoint, ec);
    if (!ec)
        d.acceptor->listen(net::socket_base::max_listen_connections, ec);
    if (ec) {
        beast::error_code ignored;
        d.acceptor->close(ignored);
        throw fail(ec.message());
    }
    d.port = d.acceptor->local_endpoint().port();
    return d.port;
}

void HttpServer::start()
{
    Impl& d = *m_impl;
    if (d.port == 0)
        bind();
    {
        std::lock_guard lock(d.mutex);
        if (d.running || d.stopping)
            return;
        d.running = true;
    }
    d.pool = std::make_unique<WorkerPool>(d.options.workers);
    // The listening socket is bound already; the first accept is queued before the I/O
    // threads run it, so connections made from here on are served.
    net::dispatch(d.acceptor->get_executor(), [&d] { d.accept(); });
    d.work.emplace(d.io->get_executor());
    for (int i = 0; i < d.options.ioThreads; ++i)
        d.ioThreads.emplace_back([&d] { d.io->run(); });
}

void HttpServer::run()
{
    start();
    Impl& d = *m_impl;
    std::unique_lock lock(d.mutex);
    d.stopped.wait(lock, [&d] { return !d.running; });
}

void HttpServer::stop()
{
    Impl& d = *m_impl;
    std::vector<std::shared_ptr<SessionBase>> open;
    {
        std::lock_guard lock(d.mutex);
        if (!d.running || d.stopping)
            return;
        d.stopping = true;
        for (auto& [raw, weak] : d.sessions)
            if (auto s = weak.lock())
                open.push_back(std::move(s));
    }
    net::dispatch(d.acceptor->get_executor(), [&d] {
        beast::error_code ignored;
        d.acceptor->close(ignored);
    });
    for (const auto& s : open)
        s->closeWhenIdle();
    open.clear();
    {
        // Calls in flight answer; a client that does not read its answer is closed at the
        // request deadline, so the wait is bounded.
        std::unique_lock lock(d.mutex);
        d.allClosed.wait_for(lock, d.options.requestTimeout + lingerTime + std::chrono::seconds(1),
                             [&d] { return d.sessions.empty(); });
    }
    d.pool->stop();
    d.work.reset();
    d.io->stop();
    for (std::thread& t : d.ioThreads)
        if (t.joinable() && t.get_id() != std::this_thread::get_id())
            t.join();
    d.ioThreads.clear();
    {
        std::lock_guard lock(d.mutex);
        d.running = false;
    }
    d.stopped.notify_all();
}

}  // namespace server::http
