#include "rpc_endpoint.h"

#include "api_error.h"
#include "failure_report.h"
#include "text_check.h"
#include "token.h"

#include "../auth/audit.h"
#include "../auth/authenticator.h"
#include "../storage/database.h"

#include <records/error.h>

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace server::api {

RpcAnswer RpcAnswer::success(const QJsonValue& payload)
{
    QJsonObject o{{QStringLiteral("ok"), true}, {QStringLiteral("payload"), payload}};
    return {200, QJsonDocument(o).toJson(QJsonDocument::Compact)};
}

RpcAnswer RpcAnswer::failure(int status, const QString& message)
{
    QJsonObject o{{QStringLiteral("ok"), false}, {QStringLiteral("error"), message}};
    return {status, QJsonDocument(o).toJson(QJsonDocument::Compact)};
}

namespace {

void logToStderr(const QString& line)
{
    const QByteArray bytes = (QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)
                              + QLatin1Char(' ') + line + QLatin1Char('\n'))
                                 .toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

// The body as a JSON object, its text checked first: the parser would quietly replace
// what is not Unicode.
QJsonObject bodyObject(const QString& what, const QByteArray& body)
{
    if (const std::optional<QString> problem = jsonTextProblem(body))
        throw ApiError::badRequest(
            QStringLiteral("%1: texto recusado, o corpo da requisição %2.").arg(what, *problem));
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        throw ApiError::badRequest(QStringLiteral("Corpo da requisição não é JSON válido: %1 "
                                                  "(posição %2).")
                                       .arg(parseError.errorString())
                                       .arg(parseError.offset));
    if (!doc.isObject())
        throw ApiError::badRequest(QStringLiteral("Corpo da requisição deve ser um objeto JSON."));
    return doc.object();
}

}  // namespace

RpcEndpoint::RpcEndpoint(const RouteTable& routes, auth::Authenticator& authenticator,
                         ErrorLog errorLog)
    : m_routes(routes),
      m_auth(authenticator),
      m_errorLog(errorLog ? std::move(errorLog) : ErrorLog(logToStderr))
{
}

template <typename Op> RpcAnswer RpcEndpoint::answering(const QString& what, Op&& op) const
{
    auto fromFailure = [this](const FailureReport& report) {
        m_errorLog(report.logLine);
        return RpcAnswer::failure(report.status, report.clientMessage);
    };
    try {
        return op();
    } catch (const ApiError& e) {
        return RpcAnswer::failure(httpStatus(e.kind()), e.message());
    } catch (const records::Error& e) {
        return RpcAnswer::failure(400, e.message());
    } catch (const storage::StorageError& e) {
        return fromFailure(reportStorageFailure(what, e));
    } catch (const std::exception& e) {
        return fromFailure(reportInternalFailure(what, e));
    }
}

namespace {

bool isMethodName(QByteArrayView name)
{
    if (name.isEmpty() || !std::isalpha(static_cast<unsigned char>(name.front())))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

}  // namespace

RpcAnswer RpcEndpoint::handle(const RpcRequest& request) const
{
    if (request.path == "/login")
        return login(request.body);
    if (request.path == "/logout")
        return logout(request.authorization);
    static constexpr QByteArrayView rpcPrefix("/rpc/");
    if (request.path.startsWith(rpcPrefix)) {
        const QByteArrayView name = QByteArrayView(request.path).sliced(rpcPrefix.size());
        if (isMethodName(name))
            return handle(QString::fromLatin1(name), request.authorization, request.body);
    }
    return RpcAnswer::failure(404, unknownPathText("POST", request.path));
}

QString unknownPathText(const QByteArray& verb, const QByteArray& path)
{
    return QStringLiteral("Caminho desconhecido: %1 %2 (use POST /rpc/<Método>, /login ou "
                          "/logout).")
        .arg(QString::fromLatin1(verb), QString::fromUtf8(path));
}

RpcAnswer RpcEndpoint::login(const QByteArray& body) const
{
    const QString what = QStringLiteral("login");
    return answering(what, [&] {
        const QJsonObject o = bodyObject(what, body);
        const QJsonValue login = o.value(QStringLiteral("login"));
        const QJsonValue password = o.value(QStringLiteral("password"));
        if (!login.isString() || !password.isString())
            throw ApiError::badRequest(QStringLiteral(
                "Corpo de /login deve ser {\"login\": \"...\", \"password\": \"...\"}."));
        const auth::Session s = m_auth.login(login.toString(), password.toString());
        const QJsonObject user{{QStringLiteral("login"), s.user.login},
                               {QStringLiteral("name"), s.user.name},
                               {QStringLiteral("registration"), s.user.registration},
                               {QStringLiteral("role"), s.user.role}};
        return RpcAnswer::success(
            QJsonObject{{QStringLiteral("token"), QString::fromLatin1(s.token)},
                        {QStringLiteral("expires"),
                         s.expires.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"))},
                        {QStringLiteral("user"), user}});
    });
}

RpcAnswer RpcEndpoint::logout(const QByteArray& authorization) const
{
    return answering(QStringLiteral("logout"), [&] {
        m_auth.logout(bearerToken(authorization));
        return RpcAnswer::success(QJsonValue::Null);
    });
}

RpcAnswer RpcEndpoint::handle(const QString& method, const QByteArray& authorization,
                              const QByteArray& body) const
{
    return answering(method, [&] {
        const auth::Caller caller = m_auth.authenticate(bearerToken(authorization));
        if (auth::isWriteMethod(method) && m_routes.contains(method)
            && !auth::roleMayWrite(caller.role))
            throw ApiError(ApiError::Kind::Forbidden,
                           QStringLiteral("Usuário sem permissão para alterar dados (perfil "
                                          "consulta)."));

        const QJsonObject o = bodyObject(method, body);
        if (!o.value(QStringLiteral("args")).isArray())
            throw ApiError::badRequest(
                QStringLiteral("Corpo da requisição deve ser {\"args\": [...]}."));
        const QJsonArray args = o.value(QStringLiteral("args")).toArray();
        const auth::CallScope scope(caller, method, m_routes.signature(method), args);
        return RpcAnswer::success(m_routes.dispatch(method, args));
    });
}

}  // namespace server::api
