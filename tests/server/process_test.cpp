// avalnutri-server as a process: start-up, the token file, a restart on the same data
// directory, and a clean stop on SIGTERM that finishes the request in flight.

#include "raw_connection.h"
#include "test_server.h"

#include <records/packet_codec.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

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

TEST(ServerProcessTest, ARestartKeepsTheTokenTheRecordsAndTheUsersTheCommandsChanged)
{
    QTemporaryDir dir;
    const QString data = dir.filePath(u"data"_s);
    QByteArray token;
    {
        ServerProcess server(argumentsFor(data));
        const int port = server.waitForPort();
        ASSERT_GT(port, 0) << server.log().toStdString();
        // A first start without users says how to add the first administrator.
        EXPECT_TRUE(server.log().contains(u"avalnutri-server user add LOGIN"_s))
            << server.log().toStdString();
        token = readToken(data);
        ASSERT_EQ(token.size(), 64);  // its mode is checked with the database files'

        ASSERT_TRUE(clientFor(port, token)
                        .SetPaciente(u"0009"_s, u"77"_s, u"Persistente"_s, u"1"_s,
                                     QDateTime(QDate(2000, 5, 5), QTime(0, 0), Qt::UTC), false)
                        .ok);
        server.signal(SIGINT);
        ASSERT_TRUE(server.waitForExit());
        EXPECT_EQ(server.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(server.exitCode(), 0);
        EXPECT_TRUE(server.log().contains(u"SetPaciente 200"_s)) << server.log().toStdString();
    }

    // The user commands work on the stopped server's database.
    const auto user = [&](const QStringList& args, const QByteArray& input = {}) {
        QProcess p;
        p.start(QStringLiteral(AVALNUTRI_SERVER_BIN),
                QStringList{u"user"_s} + args + QStringList{u"--data"_s, data});
        p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(60000);
        return std::make_pair(
            p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()));
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
        const auto [code, output] = user(args, input);
        EXPECT_EQ(code, exitCode) << args.join(u' ').toStdString() << output.toStdString();
        EXPECT_TRUE(output.contains(text)) << output.toStdString();
    }
    EXPECT_TRUE(user({u"list"_s}).second.contains(u"ana\tadmin\tativo\tAna\tCRN-3"_s));

    ServerProcess again(argumentsFor(data));
    const int port = again.waitForPort();
    ASSERT_GT(port, 0) << again.log().toStdString();
    EXPECT_EQ(readToken(data), token);
    EXPECT_FALSE(again.log().contains(u"pacientes de demonstração"_s));
    const records::Packet patients = packetOf(clientFor(port, token).GetPacientes());
    EXPECT_EQ(patients.rows.size(), 7);
    EXPECT_GE(findRow(patients, u"NMPACIENTE"_s, u"Persistente"_s), 0);
    EXPECT_TRUE(clientFor(port, {}).login(u"ana"_s, u"outra-senha-2"_s).session);
    EXPECT_FALSE(clientFor(port, {}).login(u"ana"_s, u"senha-boa-1"_s).session);
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
    RawConnection c(port);
    const std::string call = RawConnection::request("GetPacientes", token, R"({"args": []})");
    const size_t headEnd = call.find("\r\n\r\n") + 4;
    ASSERT_TRUE(c.send(call.substr(0, headEnd)));
    // The server has read the headers once its end of the connection holds no unread bytes.
    ASSERT_TRUE(waitUntil([&] {
        return anySocket([&](const TcpSocket& t) {
            return t.localPort == port && t.remotePort == c.localPort() && t.receiveQueue == 0;
        });
    }));

    server.signal(SIGTERM);
    // Stopping begins by closing the listening socket.
    ASSERT_TRUE(waitUntil([&] {
        return !anySocket([&](const TcpSocket& t) {
            return t.localPort == port && t.state == TcpSocket::Listen;
        });
    }));
    ASSERT_TRUE(c.send(call.substr(headEnd)));
    const Response answer = c.read();
    EXPECT_EQ(answer.status, 200) << answer.error().toStdString();
    EXPECT_TRUE(answer.body.value(u"ok"_s).toBool());

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
