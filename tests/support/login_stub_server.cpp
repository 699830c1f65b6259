#include "login_stub_server.h"

#include <httplib.h>

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace clienttest {
namespace {

void answer(httplib::Response& res, int status, const QJsonObject& body)
{
    res.status = status;
    res.set_content(QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(),
                    "application/json");
}

QJsonObject refusal(const QString& text)
{
    return {{QStringLiteral("ok"), false}, {QStringLiteral("error"), text}};
}

QByteArray newToken()
{
    QByteArray bytes(32, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(bytes.data()), 8);
    return bytes.toHex();
}

}  // namespace

LoginStubServer::LoginStubServer() : m_server(std::make_unique<httplib::Server>())
{
    start();
}

LoginStubServer::~LoginStubServer()
{
    m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
}

void LoginStubServer::start()
{
    route();
    // The socket listens once bound: a client may connect before the accept loop runs.
    m_port = m_server->bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
}

void LoginStubServer::addUser(const QString& login, const User& user)
{
    std::lock_guard lock(m_mutex);
    m_users.insert(login, user);
}

void LoginStubServer::expireSessions()
{
    std::lock_guard lock(m_mutex);
    for (auto it = m_sessions.cbegin(); it != m_sessions.cend(); ++it)
        m_expired.insert(it.key(), true);
}

int LoginStubServer::sessionCount() const
{
    std::lock_guard lock(m_mutex);
    return int(m_sessions.size());
}

int LoginStubServer::requests(const QString& path) const
{
    std::lock_guard lock(m_mutex);
    return m_requests.value(path);
}

QString LoginStubServer::lastAuthorization() const
{
    std::lock_guard lock(m_mutex);
    return m_lastAuthorization;
}

void LoginStubServer::route()
{
    m_server->Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
        const QString path = QString::fromStdString(req.path);
        const QByteArray bearer = QByteArray::fromStdString(req.get_header_value("Authorization"));
        const QByteArray token = bearer.startsWith("Bearer ") ? bearer.mid(7) : QByteArray();
        std::unique_lock lock(m_mutex);
        m_requests[path] += 1;
        m_lastAuthorization = QString::fromLatin1(bearer);

        if (path == u"/login") {
            const QJsonObject body =
                QJsonDocument::fromJson(QByteArray::fromStdString(req.body)).object();
            const QString login = body.value(QStringLiteral("login")).toString();
            const auto user = m_users.constFind(login);
            if (user == m_users.cend()
                || user->password != body.value(QStringLiteral("password")).toString())
                return answer(res, 401, refusal(QStringLiteral("Login ou senha inválidos.")));
            const QByteArray issued = newToken();
            m_sessions.insert(issued, login);
            const QJsonObject u{{QStringLiteral("login"), login},
                                {QStringLiteral("name"), user->name},
                                {QStringLiteral("registration"), user->registration},
                                {QStringLiteral("role"), user->role}};
            const QString expires =
                QDateTime::currentDateTimeUtc().addSecs(8 * 3600).toString(Qt::ISODate);
            return answer(res, 200,
                          {{QStringLiteral("ok"), true},
                           {QStringLiteral("payload"),
                            QJsonObject{{QStringLiteral("token"), QString::fromLatin1(issued)},
                                        {QStringLiteral("expires"), expires},
                                        {QStringLiteral("user"), u}}}});
        }
        if (!m_sessions.contains(token))
            return answer(res, 401, refusal(QStringLiteral("Token de acesso inválido.")));
        if (m_expired.value(token))
            return answer(res, 401, refusal(QStringLiteral("Sessão expirada. Entre novamente.")));
        if (path == u"/logout") {
            m_sessions.remove(token);
            return answer(res, 200,
                          {{QStringLiteral("ok"), true}, {QStringLiteral("payload"), {}}});
        }
        if (!path.startsWith(u"/rpc/"))
            return answer(res, 404, refusal(QStringLiteral("Caminho desconhecido.")));
        const QString login = m_sessions.value(token);
        const auto handler = rpc;
        lock.unlock();
        const QJsonArray args = QJsonDocument::fromJson(QByteArray::fromStdString(req.body))
                                    .object()
                                    .value(QStringLiteral("args"))
                                    .toArray();
        const records::Reply reply =
            handler ? handler(path.mid(5), args, login) : records::Reply::success(args);
        answer(res, 200,
               reply.ok ? QJsonObject{{QStringLiteral("ok"), true},
                                      {QStringLiteral("payload"), reply.payload}}
                        : refusal(reply.error));
    });
}

TestCertificates::TestCertificates(const QString& dir)
{
    caFile = dir + QStringLiteral("/ca.pem");
    certFile = dir + QStringLiteral("/server.pem");
    keyFile = dir + QStringLiteral("/server.key");
    otherCaFile = dir + QStringLiteral("/other-ca.pem");
    const QString caKey = dir + QStringLiteral("/ca.key"), otherKey = dir + "/other-ca.key"_L1,
                  csr = dir + QStringLiteral("/server.csr"), ext = dir + "/san.ext"_L1;
    QFile extFile(ext);
    if (!extFile.open(QIODevice::WriteOnly)
        || extFile.write("subjectAltName=IP:127.0.0.1,DNS:localhost\n"
                         "basicConstraints=CA:FALSE\n"
                         "extendedKeyUsage=serverAuth\n")
               < 0) {
        error = QStringLiteral("cannot write %1").arg(ext);
        return;
    }
    extFile.close();
    const QList<QStringList> steps = {
        {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
         "/CN=avalnutri test CA", "-keyout", caKey, "-out", caFile},
        {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=another CA",
         "-keyout", otherKey, "-out", otherCaFile},
        {"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1", "-keyout", keyFile,
         "-out", csr},
        {"x509", "-req", "-in", csr, "-CA", caFile, "-CAkey", caKey, "-CAcreateserial", "-days",
         "2", "-extfile", ext, "-out", certFile},
    };
    for (const QStringList& step : steps) {
        QProcess openssl;
        openssl.setProcessChannelMode(QProcess::MergedChannels);
        openssl.start(QStringLiteral("openssl"), step);
        if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit
            || openssl.exitCode() != 0) {
            error = QStringLiteral("openssl %1: %2")
                        .arg(step.join(u' '), QString::fromLocal8Bit(openssl.readAll()));
            return;
        }
    }
}

}  // namespace clienttest
