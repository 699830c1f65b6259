// avalnutri-server as a process: start-up, the token file, a restart on the same data
// directory, and a clean stop on SIGTERM that finishes the request in flight.

#include "test_server.h"

#include <records/packet_codec.h>

#include <httplib.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <tuple>

using namespace Qt::StringLiterals;

using namespace servertest;

namespace {

class ServerProcess
{
public:
    explicit ServerProcess(const QStringList& arguments)
    {
        m_process.setProgram(QStringLiteral(AVALNUTRI_SERVER_BIN));
        m_process.setArguments(arguments);
        m_process.setReadChannel(QProcess::StandardError);  // the server writes its log there
        m_process.start();
    }

    ~ServerProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // Waits for the start-up line that names the address; answers the port, or 0 when the
    // process ended first.
    int waitForPort()
    {
        static const QRegularExpression listening(u"escutando em http://127\\.0\\.0\\.1:(\\d+)"_s);
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
            m_stderr += m_process.readAllStandardError();
            const auto m = listening.match(QString::fromUtf8(m_stderr));
            if (m.hasMatch())
                return m.captured(1).toInt();
            if (m_process.state() == QProcess::NotRunning)
                return 0;
        }
        return 0;
    }

    void signal(int sig) { ::kill(static_cast<pid_t>(m_process.processId()), sig); }

    bool waitForExit(int ms = 10000)
    {
        const bool done = m_process.waitForFinished(ms);
        m_stderr += m_process.readAllStandardError();
        return done;
    }

    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    QString log() const { return QString::fromUtf8(m_stderr); }

private:
    QProcess m_process;
    QByteArray m_stderr;
};

QStringList argumentsFor(const QString& dataDir)
{
    return {u"--listen"_s, u"127.0.0.1:0"_s,          u"--data"_s,
            dataDir,       u"--service-token-file"_s, QDir(dataDir).filePath(u"token"_s)};
}

httpclient::HttpAppServer clientFor(int port, const QByteArray& token)
{
    httpclient::HttpAppServer::Options o;
    o.port = port;
    o.token = token;
    return httpclient::HttpAppServer(o);
}

QByteArray readToken(const QString& dataDir)
{
    QFile f(QDir(dataDir).filePath(u"token"_s));
    return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray();
}

}  // namespace

TEST(ServerProcessTest, FirstStartCreatesAnOwnerOnlyTokenAndARestartKeepsEverything)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(u"data"_s);
    QByteArray token;
    {
        ServerProcess server(argumentsFor(data));
        const int port = server.waitForPort();
        ASSERT_GT(port, 0) << server.log().toStdString();
        token = readToken(data);
        ASSERT_EQ(token.size(), 64);
        struct stat st = {};
        ASSERT_EQ(::stat(QFile::encodeName(QDir(data).filePath(u"token"_s)).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);

        auto client = clientFor(port, token);
        ASSERT_TRUE(client
                        .SetPaciente(u"0009"_s, u"77"_s, u"Persistente"_s, u"1"_s,
                                     QDateTime(QDate(2000, 5, 5), QTime(0, 0), Qt::UTC), false)
                        .ok);
        server.signal(SIGINT);
        ASSERT_TRUE(server.waitForExit());
        EXPECT_EQ(server.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(server.exitCode(), 0);
        EXPECT_TRUE(server.log().contains(u"SetPaciente 200"_s)) << server.log().toStdString();
    }
    ServerProcess again(argumentsFor(data));
    const int port = again.waitForPort();
    ASSERT_GT(port, 0) << again.log().toStdString();
    EXPECT_EQ(readToken(data), token);
    EXPECT_FALSE(again.log().contains(u"pacientes de demonstração"_s));
    auto client = clientFor(port, token);
    const records::Packet patients = packetOf(client.GetPacientes());
    EXPECT_EQ(patients.rows.size(), 7);
    EXPECT_GE(findRow(patients, u"NMPACIENTE"_s, u"Persistente"_s), 0);
}

TEST(ServerProcessTest, SigtermFinishesTheRequestInFlightThenExits)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(u"data"_s);
    ServerProcess server(argumentsFor(data));
    const int port = server.waitForPort();
    ASSERT_GT(port, 0) << server.log().toStdString();
    const QByteArray token = readToken(data);

    // A request whose headers have arrived and whose body is still on its way.
    const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    const QByteArray body = R"({"args": []})";
    const QByteArray head = "POST /rpc/GetPacientes HTTP/1.1\r\nContent-Type: application/json\r\n"
                            "Content-Length: 12\r\nAuthorization: Bearer "
                            + token + "\r\n\r\n";
    ASSERT_EQ(::send(sock, head.constData(), head.size(), 0), head.size());
    sockaddr_in own{};
    socklen_t ownSize = sizeof own;
    ::getsockname(sock, reinterpret_cast<sockaddr*>(&own), &ownSize);
    const int clientPort = ntohs(own.sin_port);
    // The server has read the headers once its end of the connection holds no unread bytes.
    ASSERT_TRUE(waitUntil([&] {
        return anySocket([&](const TcpSocket& t) {
            return t.localPort == port && t.remotePort == clientPort && t.receiveQueue == 0;
        });
    }));

    server.signal(SIGTERM);
    // Stopping begins by closing the listening socket.
    ASSERT_TRUE(waitUntil([&] {
        return !anySocket([&](const TcpSocket& t) {
            return t.localPort == port && t.state == TcpSocket::Listen;
        });
    }));
    ASSERT_EQ(::send(sock, body.constData(), body.size(), 0), body.size());

    QByteArray answer;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::recv(sock, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        answer.append(buffer, n);
        if (answer.contains("\r\n\r\n") && answer.contains("]]}}"))
            break;
    }
    ::close(sock);
    EXPECT_TRUE(answer.startsWith("HTTP/1.1 200")) << answer.left(200).toStdString();
    EXPECT_TRUE(answer.contains("\"ok\":true"));

    ASSERT_TRUE(server.waitForExit());
    EXPECT_EQ(server.exitCode(), 0);
    EXPECT_TRUE(server.log().contains(u"sinal 15"_s)) << server.log().toStdString();
    EXPECT_TRUE(server.log().contains(u"GetPacientes 200"_s));
    EXPECT_TRUE(server.log().contains(u"encerrado"_s));
}

TEST(ServerProcessTest, StartUpProblemsAreNamedAndEndTheProcess)
{
    QTemporaryDir dir;
    const QString tokenFile = dir.filePath(u"open-token"_s);
    QFile f(tokenFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("abc\n");
    f.close();
    ::chmod(QFile::encodeName(tokenFile).constData(), 0644);
    // An open token file, a listen address without a port, a database URL of another kind.
    // clang-format off
    const std::tuple<QStringList, int, QString> rows[] = {
        {argumentsFor(dir.filePath(u"d1"_s)) + QStringList{u"--service-token-file"_s, tokenFile},
         1, u"chmod 600"_s},
        {words("--listen 127.0.0.1"), 2, u"127.0.0.1"_s},
        {argumentsFor(dir.filePath(u"d2"_s)) + words("--db mysql://x@y/z"), 1, u"postgresql://"_s},
    };
    // clang-format on
    for (const auto& [arguments, exitCode, problem] : rows) {
        ServerProcess server(arguments);
        ASSERT_TRUE(server.waitForExit());
        EXPECT_EQ(server.exitCode(), exitCode);
        EXPECT_TRUE(server.log().contains(problem)) << server.log().toStdString();
    }
}

TEST(ServerProcessTest, UserCommandsChangeTheUsersOfTheServersDatabase)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(u"data"_s);
    {
        // A first start without users says how to add the first administrator.
        ServerProcess server(argumentsFor(data));
        ASSERT_GT(server.waitForPort(), 0) << server.log().toStdString();
        EXPECT_TRUE(server.log().contains(u"avalnutri-server user add LOGIN"_s))
            << server.log().toStdString();
    }
    auto user = [&](const QStringList& args, const QByteArray& input = {}) {
        QProcess p;
        p.start(QStringLiteral(AVALNUTRI_SERVER_BIN),
                QStringList{u"user"_s} + args + QStringList{u"--data"_s, data});
        p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(60000);
        return std::make_tuple(p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                               QString::fromUtf8(p.readAllStandardError()));
    };
    // clang-format off
    const std::tuple<QStringList, QByteArray, int, QString> rows[] = {
        {words("add ana --name Ana --registration CRN-3 --role admin"), "senha-boa-1\n", 0, u"cadastrado"_s},
        {words("add ana --name Ana --role admin"),                      "senha-boa-1\n", 1, u"já cadastrado"_s},
        {words("add bia --name Bia --role chefe"),                      "senha-boa-1\n", 2, u"perfil inválido"_s},
        {words("add bia --name Bia --role consulta"),                   "curta\n",       1, u"ao menos 8"_s},
        {words("add bia --name Bia --role consulta"),                   "",              1, u"nenhuma senha"_s},
        {words("passwd ana"),                                           "outra-senha-2\n", 0, u"trocada"_s},
        {words("disable zé"),                                           "",              1, u"não cadastrado"_s},
        {words("remove ana"),                                           "",              2, u"desconhecido"_s},
        {words("add bia --name Bia --role consulta"),                   "senha-boa-3\n", 0, u"cadastrado"_s},
        {words("disable bia"),                                          "",              0, u"desativado"_s},
        {words("list"),                                                 "",              0, u"bia\tconsulta\tdesativado"_s},
    };
    // clang-format on
    for (const auto& [args, input, exitCode, text] : rows) {
        const auto [code, out, err] = user(args, input);
        EXPECT_EQ(code, exitCode) << args.join(u' ').toStdString() << err.toStdString();
        EXPECT_TRUE((out + err).contains(text)) << (out + err).toStdString();
    }
    const auto [code, out, err] = user({u"list"_s});
    EXPECT_TRUE(out.contains(u"ana\tadmin\tativo\tAna\tCRN-3"_s)) << out.toStdString();

    ServerProcess server(argumentsFor(data));
    const int port = server.waitForPort();
    ASSERT_GT(port, 0);
    httplib::Client http("127.0.0.1", port);
    const auto ok =
        http.Post("/login", R"({"login":"ana","password":"outra-senha-2"})", "application/json");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->status, 200) << ok->body;
    const auto old =
        http.Post("/login", R"({"login":"ana","password":"senha-boa-1"})", "application/json");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->status, 401);
}
