// The application server under load, the way a hospital runs it: avalnutri-server started
// as a process on a SQLite file in a temporary directory (or on PostgreSQL), N clients on
// loopback, each on its own patient and consultation, each with its own kept-alive
// connection calling back to back. Optional hostile and idle clients run alongside:
// slow connections sending one header byte every 2 s, and clients that make one call and
// keep their connection open. Prints latency percentiles, calls per second, the p99 of
// each method, and how fairly the clients were served.
//
//   avalnutri_load_bench [--clients N] [--duration S] [--think MS] [--writers N] [--slow M]
//                        [--one-call K] [--pg [URL]] [--server BIN] [--server-arg ARG]...
//
//   --clients N     clients with the mix 60 % GetDados, 30 % GetInfoAval, 10 % SetInfoAval
//                   (default 50)
//   --writers N     instead: N clients that only write (SetInfoAval)
//   --slow M        M connections sending one byte every 2 s (reopened when closed)
//   --one-call K    K clients that connect, make one call and keep the connection open
//   --think MS      a pause between a client's calls, exponential with this mean (a
//                   person at a workstation); 0 (default): calls back to back
//   --pg [URL]      PostgreSQL at URL, or $AVALNUTRI_TEST_PG (scripts/pg-throwaway start);
//                   the server gets a schema of its own
//   --server BIN    the server executable (default: the one built with this benchmark)
//   --server-arg A  an extra argument for the server (repeatable), e.g. --workers

#include "weight_change.h"

#include <client/http_app_server.h>

#include <records/field.h>
#include <records/layouts.h>
#include <records/packet_codec.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Options
{
    int clients = 50;
    int writers = 0;
    int slow = 0;
    int oneCall = 0;
    int durationS = 20;
    int thinkMs = 0;
    QString postgres;
    QString serverBin = QStringLiteral(AVALNUTRI_SERVER_BIN);
    QStringList serverArgs;
};

// A kept-alive HTTP/1.1 connection on a blocking socket.
class Connection
{
public:
    explicit Connection(int port) : m_port(port) {}
    ~Connection() { close(); }

    bool open()
    {
        close();
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(static_cast<uint16_t>(m_port));
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            close();
            return false;
        }
        int one = 1;
        ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        timeval tv{60, 0};
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        m_pending.clear();
        return true;
    }
    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    bool isOpen() const { return m_fd >= 0; }

    bool sendAll(const std::string& bytes)
    {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(m_fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            done += static_cast<size_t>(n);
        }
        return true;
    }

    // The status of the answer to one call (0: no answer), reopening the connection when
    // the server had closed it.
    int call(const std::string& request)
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!isOpen() && !open())
                return 0;
            if (sendAll(request)) {
                const int status = readAnswer();
                if (status != 0)
                    return status;
            }
            close();
        }
        return 0;
    }

private:
    bool fill()
    {
        char buf[16384];
        const ssize_t n = ::recv(m_fd, buf, sizeof buf, 0);
        if (n <= 0)
            return false;
        m_pending.append(buf, static_cast<size_t>(n));
        return true;
    }

    int readAnswer()
    {
        size_t end;
        while ((end = m_pending.find("\r\n\r\n")) == std::string::npos)
            if (!fill())
                return 0;
        const int status = std::atoi(m_pending.c_str() + 9);
        std::string head = m_pending.substr(0, end);
        for (char& c : head)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const size_t at = head.find("content-length:");
        const size_t length = at == std::string::npos ? 0 : std::stoul(head.substr(at + 15));
        while (m_pending.size() < end + 4 + length)
            if (!fill())
                return 0;
        m_pending.erase(0, end + 4 + length);
        if (head.find("connection: close") != std::string::npos)
            close();
        return status;
    }

    int m_port;
    int m_fd = -1;
    std::string m_pending;
};

std::string request(const char* method, const QByteArray& token, const QJsonArray& args)
{
    const QByteArray body =
        QJsonDocument(QJsonObject{{QStringLiteral("args"), args}}).toJson(QJsonDocument::Compact);
    return std::string("POST /rpc/") + method
           + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\nAuthorization: "
             "Bearer "
           + token.toStdString() + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n"
           + body.toStdString();
}

QJsonArray keyArgs(const records::ConsultationKey& k)
{
    return {k.branch, k.patient, records::formatDateTime(k.date)};
}

// avalnutri-server as a child process with its log in the data directory.
class ServerProcess
{
public:
    ~ServerProcess() { stop(); }

    bool start(const Options& o, const QString& dataDir)
    {
        m_log = QDir(dataDir).filePath(QStringLiteral("server.log"));
        QStringList args{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                         QStringLiteral("--data"), dataDir, QStringLiteral("--quiet"),
                         // The bench's clients are unattended tools: the service token.
                         QStringLiteral("--service-token-file"),
                         dataDir + QStringLiteral("/token")};
        if (!o.postgres.isEmpty()) {
            const QString schema = QStringLiteral("bench_%1").arg(::getpid());
            args << QStringLiteral("--db")
                 << o.postgres
                        + (o.postgres.contains(QLatin1Char('?')) ? QStringLiteral("&")
                                                                 : QStringLiteral("?"))
                        + QStringLiteral("schema=") + schema;
        }
        args << o.serverArgs;
        std::vector<QByteArray> storage{QFile::encodeName(o.serverBin)};
        for (const QString& a : args)
            storage.push_back(a.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& s : storage)
            argv.push_back(s.data());
        argv.push_back(nullptr);
        const QByteArray logPath = QFile::encodeName(m_log);
        m_pid = ::fork();
        if (m_pid == 0) {
            FILE* log = std::freopen(logPath.constData(), "w", stderr);
            (void)log;
            ::execv(argv[0], argv.data());
            std::_Exit(127);
        }
        static const QRegularExpression listening(
            QStringLiteral("escutando em http://127\\.0\\.0\\.1:(\\d+)"));
        const auto deadline = Clock::now() + std::chrono::seconds(120);
        while (Clock::now() < deadline) {
            QFile f(m_log);
            if (f.open(QIODevice::ReadOnly)) {
                const QString text = QString::fromUtf8(f.readAll());
                const auto m = listening.match(text);
                if (m.hasMatch()) {
                    port = m.captured(1).toInt();
                    return true;
                }
            }
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    void stop()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

    QString log() const
    {
        QFile f(m_log);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    int port = 0;

private:
    pid_t m_pid = -1;
    QString m_log;
};

struct Sample
{
    int method;  // 0 GetDados, 1 GetInfoAval, 2 SetInfoAval
    float ms;
};

const char* const methodNames[] = {"GetDados", "GetInfoAval", "SetInfoAval"};

double percentile(std::vector<float>& v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * double(v.size() - 1) + 0.5));
    return v[i];
}

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        auto number = [&](int& out) {
            const char* v = next();
            if (v == nullptr)
                return false;
            out = std::atoi(v);
            return true;
        };
        if (a == "--clients"    ? number(o.clients)
            : a == "--writers"  ? number(o.writers)
            : a == "--slow"     ? number(o.slow)
            : a == "--one-call" ? number(o.oneCall)
            : a == "--duration" ? number(o.durationS)
            : a == "--think"    ? number(o.thinkMs)
                                : false)
            continue;
        if (a == "--pg") {
            if (i + 1 < argc && std::string(argv[i + 1]).rfind("postgres", 0) == 0)
                o.postgres = QString::fromLocal8Bit(argv[++i]);
            else
                o.postgres = qEnvironmentVariable("AVALNUTRI_TEST_PG");
            if (o.postgres.isEmpty()) {
                std::fprintf(stderr, "--pg: no URL and AVALNUTRI_TEST_PG is not set "
                                     "(eval \"$(scripts/pg-throwaway start)\")\n");
                return false;
            }
        } else if (a == "--server" && i + 1 < argc) {
            o.serverBin = QString::fromLocal8Bit(argv[++i]);
        } else if (a == "--server-arg" && i + 1 < argc) {
            o.serverArgs << QString::fromLocal8Bit(argv[++i]);
        } else {
            std::fprintf(stderr, "unknown or incomplete option %s\n", a.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::signal(SIGPIPE, SIG_IGN);
    Options o;
    if (!parse(argc, argv, o))
        return 2;
    const bool writersOnly = o.writers > 0;
    const int clients = writersOnly ? o.writers : o.clients;

    QTemporaryDir dir;
    ServerProcess server;
    if (!server.start(o, dir.path())) {
        std::fprintf(stderr, "the server did not start:\n%s\n", server.log().toLocal8Bit().data());
        return 1;
    }
    QFile tokenFile(QDir(dir.path()).filePath(QStringLiteral("token")));
    tokenFile.open(QIODevice::ReadOnly);
    const QByteArray token = tokenFile.readAll().trimmed();

    // Each client's patient and consultation, with a recorded weight to update.
    std::vector<records::ConsultationKey> keys;
    {
        httpclient::HttpAppServer::Options co;
        co.port = server.port;
        co.token = token;
        httpclient::HttpAppServer setup(co);
        const QDateTime date(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC);
        for (int i = 0; i < clients; ++i) {
            const records::ConsultationKey k{
                QStringLiteral("0001"),
                QStringLiteral("%1").arg(500000 + i, 12, 10, QLatin1Char('0')), date};
            records::Reply r = setup.SetPaciente(
                k.branch, k.patient, QStringLiteral("Paciente de carga %1").arg(i),
                QString::number(i % 2), QDateTime(QDate(1980, 1, 1), QTime(0, 0), Qt::UTC), false);
            if (r.ok)
                r = setup.SetInfoAval(bench::weightChange(k, -1, 70), QString());
            if (!r.ok) {
                std::fprintf(stderr, "set-up failed: %s\n", r.error.toLocal8Bit().data());
                return 1;
            }
            keys.push_back(k);
        }
    }

    std::atomic<bool> running{true};
    std::atomic<int> oneCallDone{0};
    std::vector<std::vector<Sample>> samples(static_cast<size_t>(clients));
    std::vector<long> failures(static_cast<size_t>(clients), 0);
    std::vector<std::thread> threads;

    // Slow connections: one header byte each every 2 s; a closed one is replaced.
    std::atomic<long> slowClosed{0};
    std::thread slowThread;
    if (o.slow > 0) {
        slowThread = std::thread([&] {
            const std::string header = "POST /rpc/GetPacientes HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                       "X-Padding: "
                                       + std::string(4096, 'x') + "\r\n\r\n";
            std::vector<std::unique_ptr<Connection>> conns;
            std::vector<size_t> sent(static_cast<size_t>(o.slow), 0);
            for (int i = 0; i < o.slow; ++i) {
                conns.push_back(std::make_unique<Connection>(server.port));
                conns.back()->open();
            }
            while (running) {
                for (size_t i = 0; i < conns.size(); ++i) {
                    Connection& c = *conns[i];
                    if (!c.sendAll(header.substr(sent[i]++ % header.size(), 1))) {
                        ++slowClosed;
                        c.open();
                        sent[i] = 0;
                    }
                }
                for (int t = 0; t < 20 && running; ++t)
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
    }

    // Clients that make one call and keep their connection open.
    std::vector<float> oneCallMs(static_cast<size_t>(o.oneCall), -1);
    std::vector<std::unique_ptr<Connection>> oneCallConns;
    for (int i = 0; i < o.oneCall; ++i)
        oneCallConns.push_back(std::make_unique<Connection>(server.port));
    for (int i = 0; i < o.oneCall; ++i) {
        threads.emplace_back([&, i] {
            const records::ConsultationKey& k = keys[static_cast<size_t>(i) % keys.size()];
            QJsonArray args = keyArgs(k);
            args.append(QStringLiteral("01"));
            const auto t0 = Clock::now();
            if (oneCallConns[static_cast<size_t>(i)]->call(request("GetInfoAval", token, args))
                == 200)
                oneCallMs[static_cast<size_t>(i)] =
                    std::chrono::duration<float, std::milli>(Clock::now() - t0).count();
            ++oneCallDone;
        });
    }

    const auto start = Clock::now();
    const auto end = start + std::chrono::seconds(o.durationS);
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            const records::ConsultationKey k = keys[static_cast<size_t>(c)];
            std::mt19937 random(static_cast<unsigned>(c) * 7919u + 1);
            Connection conn(server.port);
            int weight = 70;
            QJsonArray dados = keyArgs(k);
            dados.append(45.03);
            QJsonArray info = keyArgs(k);
            info.append(QStringLiteral("01"));
            const std::string getDados = request("GetDados", token, dados);
            const std::string getInfo = request("GetInfoAval", token, info);
            auto& mine = samples[static_cast<size_t>(c)];
            std::exponential_distribution<double> think(o.thinkMs > 0 ? 1.0 / o.thinkMs : 1.0);
            while (Clock::now() < end) {
                if (o.thinkMs > 0)
                    std::this_thread::sleep_for(
                        std::chrono::microseconds(static_cast<long>(think(random) * 1000)));
                const int roll = static_cast<int>(random() % 100);
                const int method = writersOnly ? 2 : roll < 60 ? 0 : roll < 90 ? 1 : 2;
                std::string req;
                if (method == 2) {
                    const int next = weight == 70 ? 71 : 70;
                    req = request(
                        "SetInfoAval", token,
                        {records::encodeDelta(bench::weightChange(k, weight, next)), QString()});
                    weight = next;
                }
                const auto t0 = Clock::now();
                const int status = conn.call(method == 0 ? getDados : method == 1 ? getInfo : req);
                const float ms =
                    std::chrono::duration<float, std::milli>(Clock::now() - t0).count();
                if (status == 200) {
                    mine.push_back({method, ms});
                } else {
                    ++failures[static_cast<size_t>(c)];
                    if (method == 2)
                        weight = weight == 70 ? 71 : 70;  // not applied: the old value stays
                }
            }
        });
    }
    std::this_thread::sleep_until(end);
    for (std::thread& t : threads)
        t.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    running = false;
    if (slowThread.joinable())
        slowThread.join();

    // Report.
    std::vector<float> all;
    std::vector<float> per[3];
    std::vector<long> answered;
    long failed = 0;
    for (int c = 0; c < clients; ++c) {
        answered.push_back(static_cast<long>(samples[static_cast<size_t>(c)].size()));
        failed += failures[static_cast<size_t>(c)];
        for (const Sample& s : samples[static_cast<size_t>(c)]) {
            all.push_back(s.ms);
            per[s.method].push_back(s.ms);
        }
    }
    std::sort(answered.begin(), answered.end());
    std::printf("server: %s on %s, %d %s, think %d ms, %d slow connection(s), %d one-call "
                "client(s), %d s\n",
                QFileInfo(o.serverBin).fileName().toLocal8Bit().constData(),
                o.postgres.isEmpty() ? "SQLite" : "PostgreSQL", clients,
                writersOnly ? "writers (SetInfoAval only)" : "clients (60/30/10 mix)", o.thinkMs,
                o.slow, o.oneCall, o.durationS);
    const size_t count = all.size();
    std::printf("calls: %zu answered, %ld failed, %.0f calls/s\n", count, failed,
                double(count) / seconds);
    const double p50 = percentile(all, 0.50);
    const double p99 = percentile(all, 0.99);
    std::printf("latency ms: p50 %.1f  p99 %.1f  max %.1f\n", p50, p99,
                all.empty() ? 0.0 : double(all.back()));
    for (int m = 0; m < 3; ++m)
        if (!per[m].empty()) {
            const double mp50 = percentile(per[m], 0.50);
            const double mp99 = percentile(per[m], 0.99);
            std::printf("  %-12s %8zu calls  p50 %7.1f  p99 %7.1f  max %7.1f ms\n", methodNames[m],
                        per[m].size(), mp50, mp99, double(per[m].back()));
        }
    if (!answered.empty()) {
        const long median = answered[answered.size() / 2];
        std::printf("answers per client: fewest %ld, median %ld, most %ld (fewest/median %.2f)\n",
                    answered.front(), median, answered.back(),
                    median > 0 ? double(answered.front()) / double(median) : 0.0);
    }
    if (o.oneCall > 0) {
        std::vector<float> ok;
        for (float v : oneCallMs)
            if (v >= 0)
                ok.push_back(v);
        const double median = percentile(ok, 0.5);  // sorts: the maximum is last after it
        std::printf("one-call clients: %zu of %d answered, median %.1f ms, max %.1f ms\n",
                    ok.size(), o.oneCall, median, ok.empty() ? 0.0 : double(ok.back()));
    }
    if (o.slow > 0)
        std::printf("slow connections closed by the server: %ld\n", slowClosed.load());
    oneCallConns.clear();
    server.stop();
    return 0;
}
