#include "http_app_server.h"

#include <httplib.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace httpclient {
namespace {

QString transportProblem(httplib::Error error)
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
    default:
        return QStringLiteral("falha de comunicação (%1)")
            .arg(QString::fromStdString(httplib::to_string(error)));
    }
}

}  // namespace

HttpAppServer::HttpAppServer(Options options) : m_options(std::move(options))
{
    m_client = std::make_unique<httplib::Client>(m_options.host.toStdString(), m_options.port);
    m_client->set_connection_timeout(m_options.connectTimeoutMs / 1000,
                                     (m_options.connectTimeoutMs % 1000) * 1000);
    m_client->set_read_timeout(m_options.readTimeoutMs / 1000,
                               (m_options.readTimeoutMs % 1000) * 1000);
    m_client->set_write_timeout(m_options.readTimeoutMs / 1000,
                                (m_options.readTimeoutMs % 1000) * 1000);
    m_client->set_keep_alive(true);
    m_client->set_tcp_nodelay(true);
    m_client->set_bearer_token_auth(m_options.token.toStdString());
}

HttpAppServer::~HttpAppServer() = default;

QString HttpAppServer::address() const
{
    return QStringLiteral("http://%1:%2").arg(m_options.host).arg(m_options.port);
}

records::Reply HttpAppServer::call(const QString& method, const QJsonArray& args)
{
    const QByteArray body =
        QJsonDocument(QJsonObject{{QStringLiteral("args"), args}}).toJson(QJsonDocument::Compact);
    const std::string path = "/rpc/" + method.toStdString();

    std::lock_guard lock(m_mutex);
    httplib::Result result = m_client->Post(path, body.constData(),
                                            static_cast<size_t>(body.size()), "application/json");
    if (!result)
        return records::Reply::failure(
            QStringLiteral("Servidor de aplicação em %1 inacessível: %2.")
                .arg(address(), transportProblem(result.error())));

    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(result->body));
    const QJsonObject answer = doc.object();
    const bool ours = doc.isObject() && answer.value(QStringLiteral("ok")).isBool();
    if (result->status == 401)
        return records::Reply::failure(
            QStringLiteral("O servidor de aplicação em %1 recusou o token de "
                           "acesso: %2")
                .arg(address(), answer.value(QStringLiteral("error")).toString()));
    if (!ours)
        return records::Reply::failure(
            QStringLiteral("Resposta inválida do servidor de aplicação em %1 "
                           "(status HTTP %2).")
                .arg(address())
                .arg(result->status));
    if (!answer.value(QStringLiteral("ok")).toBool()) {
        const QString error = answer.value(QStringLiteral("error")).toString();
        if (result->status == 409)
            return records::Reply::staleFailure(error);
        return records::Reply::failure(error.isEmpty()
                                           ? QStringLiteral("O servidor de aplicação em %1 "
                                                            "falhou (status HTTP %2).")
                                                 .arg(address())
                                                 .arg(result->status)
                                           : error);
    }
    return records::Reply::success(answer.value(QStringLiteral("payload")));
}

}  // namespace httpclient
