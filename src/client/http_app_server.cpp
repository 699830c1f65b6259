#include "http_app_server.h"

#include <httplib.h>
#include <openssl/x509.h>

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace httpclient {
namespace {

QString transportProblem(httplib::Error error, long verifyResult)
{
    switch (error) {
    case httplib::Error::Connection:
        return QStringLiteral("a conexão foi recusada ou o servidor não está no ar");
    case httplib::Error::ConnectionTimeout:
        return QStringLiteral("o servidor não respondeu a tempo à conexão");
    case httplib::Error::Read:
        return QStringLiteral("a resposta não chegou (servidor fora do ar ou tempo esgotado)");
    case httplib::Error::Write:
        return QStringLiteral("não foi possível enviar a requisição");
    case httplib::Error::BindIPAddress:
        return QStringLiteral("endereço local inválido");
    case httplib::Error::SSLConnection:
        return QStringLiteral("a conexão segura (TLS) não pôde ser estabelecida");
    case httplib::Error::SSLServerVerification:
        return QStringLiteral("o certificado do servidor não foi aceito (%1)")
            .arg(verifyResult == X509_V_OK
                     ? QStringLiteral("não vale para este endereço")
                     : QString::fromUtf8(X509_verify_cert_error_string(verifyResult)));
    default:
        return QStringLiteral("falha de comunicação (%1)")
            .arg(QString::fromStdString(httplib::to_string(error)));
    }
}

// Token text that can travel in a header: printable ASCII without blanks.
bool isTokenText(const QByteArray& token)
{
    if (token.isEmpty())
        return false;
    for (const char c : token) {
        if (c <= ' ' || c > '~')
            return false;
    }
    return true;
}

}  // namespace

// What came back from one request: the transport's failure text, or the status and the
// JSON object (ours when it has the boolean "ok").
struct HttpAppServer::Answer
{
    QString transportFailure;
    int status = 0;
    QJsonObject object;
    bool ours = false;
    QString error() const { return object.value(QStringLiteral("error")).toString(); }
};

HttpAppServer::HttpAppServer(Options options) : m_options(std::move(options))
{
    const QString host =
        m_options.host.contains(u':') ? u'[' + m_options.host + u']' : m_options.host;
    const QString schemeHostPort =
        QStringLiteral("%1://%2:%3")
            .arg(m_options.tls ? QStringLiteral("https") : QStringLiteral("http"), host)
            .arg(m_options.port);
    m_client = std::make_unique<httplib::Client>(schemeHostPort.toStdString());
    m_client->set_connection_timeout(m_options.connectTimeoutMs / 1000,
                                     (m_options.connectTimeoutMs % 1000) * 1000);
    m_client->set_read_timeout(m_options.readTimeoutMs / 1000,
                               (m_options.readTimeoutMs % 1000) * 1000);
    m_client->set_write_timeout(m_options.readTimeoutMs / 1000,
                                (m_options.readTimeoutMs % 1000) * 1000);
    m_client->set_keep_alive(true);
    m_client->set_tcp_nodelay(true);
    if (m_options.tls) {
        m_client->enable_server_certificate_verification(true);
        if (!m_options.caFile.isEmpty()) {
            const QFileInfo ca(m_options.caFile);
            if (!ca.isFile() || !ca.isReadable())
                m_setupError =
                    QStringLiteral("O arquivo de certificados %1 não existe ou não pode ser lido.")
                        .arg(m_options.caFile);
            m_client->set_ca_cert_path(QFile::encodeName(m_options.caFile).toStdString());
        }
    }
}

HttpAppServer::~HttpAppServer() = default;

QString HttpAppServer::address() const
{
    const QString host =
        m_options.host.contains(u':') ? u'[' + m_options.host + u']' : m_options.host;
    return QStringLiteral("%1://%2:%3")
        .arg(m_options.tls ? QStringLiteral("https") : QStringLiteral("http"), host)
        .arg(m_options.port);
}

void HttpAppServer::setToken(const QByteArray& token)
{
    std::lock_guard lock(m_mutex);
    m_options.token = token;
}

HttpAppServer::Answer HttpAppServer::post(const std::string& path, const QByteArray& body,
                                          bool withToken)
{
    Answer answer;
    if (!m_setupError.isEmpty()) {
        answer.transportFailure = m_setupError;
        return answer;
    }
    std::lock_guard lock(m_mutex);
    httplib::Headers headers;
    if (withToken)
        headers.emplace("Authorization", "Bearer " + m_options.token.toStdString());
    httplib::Result result = m_client->Post(path, headers, body.constData(),
                                            static_cast<size_t>(body.size()), "application/json");
    if (!result) {
        answer.transportFailure =
            QStringLiteral("Servidor de aplicação em %1 inacessível: %2.")
                .arg(address(),
                     transportProblem(result.error(), m_client->get_openssl_verify_result()));
        return answer;
    }
    answer.status = result->status;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(result->body));
    answer.object = doc.object();
    answer.ours = doc.isObject() && answer.object.value(QStringLiteral("ok")).isBool();
    return answer;
}

records::Reply HttpAppServer::call(const QString& method, const QJsonArray& args)
{
    const QByteArray body =
        QJsonDocument(QJsonObject{{QStringLiteral("args"), args}}).toJson(QJsonDocument::Compact);
    const std::string path = "/rpc/" + method.toStdString();

    Answer answer = post(path, body, true);
    if (answer.status == 401 && m_options.renewSession) {
        QByteArray refused;
        {
            std::lock_guard lock(m_mutex);
            refused = m_options.token;
        }
        // Asked without the lock: the question may run an event loop that calls again.
        if (const std::optional<QByteArray> renewed = m_options.renewSession(refused)) {
            setToken(*renewed);
            answer = post(path, body, true);
        }
    }
    if (!answer.transportFailure.isEmpty())
        return records::Reply::failure(answer.transportFailure);
    if (answer.status == 401)
        return records::Reply::sessionFailure(
            QStringLiteral("O servidor de aplicação em %1 recusou o token de acesso: %2")
                .arg(address(), answer.error()));
    if (!answer.ours)
        return records::Reply::failure(QStringLiteral("Resposta inválida do servidor de aplicação "
                                                      "em %1 (status HTTP %2).")
                                           .arg(address())
                                           .arg(answer.status));
    if (!answer.object.value(QStringLiteral("ok")).toBool()) {
        const QString error = answer.error();
        if (answer.status == 409)
            return records::Reply::staleFailure(error);
        return records::Reply::failure(error.isEmpty()
                                           ? QStringLiteral("O servidor de aplicação em %1 "
                                                            "falhou (status HTTP %2).")
                                                 .arg(address())
                                                 .arg(answer.status)
                                           : error);
    }
    return records::Reply::success(answer.object.value(QStringLiteral("payload")));
}

LoginResult HttpAppServer::login(const QString& login, const QString& password)
{
    const QByteArray body = QJsonDocument(QJsonObject{{QStringLiteral("login"), login},
                                                      {QStringLiteral("password"), password}})
                                .toJson(QJsonDocument::Compact);
    const Answer answer = post("/login", body, false);
    if (!answer.transportFailure.isEmpty())
        return {std::nullopt, answer.transportFailure};
    if (!answer.ours || !answer.object.value(QStringLiteral("ok")).toBool()) {
        const QString error = answer.error();
        if (answer.ours && !error.isEmpty())
            return {std::nullopt, error};
        return {std::nullopt, QStringLiteral("O servidor de aplicação em %1 não aceitou o login "
                                             "(status HTTP %2).")
                                  .arg(address())
                                  .arg(answer.status)};
    }

    const QJsonObject payload = answer.object.value(QStringLiteral("payload")).toObject();
    const QJsonObject user = payload.value(QStringLiteral("user")).toObject();
    Session session;
    session.token = payload.value(QStringLiteral("token")).toString().toLatin1();
    session.expires =
        QDateTime::fromString(payload.value(QStringLiteral("expires")).toString(), Qt::ISODate)
            .toUTC();
    session.user = {user.value(QStringLiteral("login")).toString(),
                    user.value(QStringLiteral("name")).toString(),
                    user.value(QStringLiteral("registration")).toString(),
                    user.value(QStringLiteral("role")).toString()};
    if (!isTokenText(session.token) || !session.expires.isValid() || session.user.login.isEmpty())
        return {std::nullopt,
                QStringLiteral("Resposta de login inválida do servidor de aplicação em %1.")
                    .arg(address())};
    setToken(session.token);
    return {session, {}};
}

records::Reply HttpAppServer::logout()
{
    const Answer answer = post("/logout", QByteArrayLiteral("{}"), true);
    setToken({});
    if (!answer.transportFailure.isEmpty())
        return records::Reply::failure(answer.transportFailure);
    if (answer.status == 401)
        return records::Reply::sessionFailure(answer.error());
    if (!answer.ours || !answer.object.value(QStringLiteral("ok")).toBool())
        return records::Reply::failure(answer.error().isEmpty()
                                           ? QStringLiteral("O servidor de aplicação em %1 "
                                                            "falhou (status HTTP %2).")
                                                 .arg(address())
                                                 .arg(answer.status)
                                           : answer.error());
    return records::Reply::success(QJsonValue::Null);
}

}  // namespace httpclient
