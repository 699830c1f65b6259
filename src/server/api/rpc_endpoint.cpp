#include "rpc_endpoint.h"

#include "api_error.h"
#include "failure_report.h"
#include "text_check.h"
#include "token.h"

#include "../storage/database.h"

#include <records/error.h>

#include <QDateTime>
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

}  // namespace

RpcEndpoint::RpcEndpoint(const RouteTable& routes, QByteArray token, ErrorLog errorLog)
    : m_routes(routes),
      m_token(std::move(token)),
      m_errorLog(errorLog ? std::move(errorLog) : ErrorLog(logToStderr))
{
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
    return QStringLiteral("Caminho desconhecido: %1 %2 (use POST /rpc/<Método>).")
        .arg(QString::fromLatin1(verb), QString::fromUtf8(path));
}

RpcAnswer RpcEndpoint::handle(const QString& method, const QByteArray& authorization,
                              const QByteArray& body) const
{
    auto fromError = [](const ApiError& e) {
        return RpcAnswer::failure(httpStatus(e.kind()), e.message());
    };
    auto fromFailure = [this](const FailureReport& report) {
        m_errorLog(report.logLine);
        return RpcAnswer::failure(report.status, report.clientMessage);
    };
    try {
        const QByteArray presented = bearerToken(authorization);
        if (presented.isEmpty())
            throw ApiError(ApiError::Kind::Unauthorized,
                           QStringLiteral("Acesso negado: falta o token de acesso "
                                          "(Authorization: Bearer)."));
        if (!constantTimeEquals(presented, m_token))
            throw ApiError(ApiError::Kind::Unauthorized,
                           QStringLiteral("Acesso negado: token de acesso inválido."));

        // Before parsing: the parser would quietly replace what is not Unicode.
        if (const std::optional<QString> problem = jsonTextProblem(body))
            throw ApiError::badRequest(
                QStringLiteral("%1: texto recusado, o corpo da requisição %2.")
                    .arg(method, *problem));

        QJsonParseError parseError{};
        const QJsonDocument doc = QJsonDocument::fromJson(body, &parseError);
        if (parseError.error != QJsonParseError::NoError)
            throw ApiError::badRequest(QStringLiteral("Corpo da requisição não é JSON válido: %1 "
                                                      "(posição %2).")
                                           .arg(parseError.errorString())
                                           .arg(parseError.offset));
        if (!doc.isObject() || !doc.object().value(QStringLiteral("args")).isArray())
            throw ApiError::badRequest(
                QStringLiteral("Corpo da requisição deve ser {\"args\": [...]}."));
        return RpcAnswer::success(
            m_routes.dispatch(method, doc.object().value(QStringLiteral("args")).toArray()));
    } catch (const ApiError& e) {
        return fromError(e);
    } catch (const records::Error& e) {
        return RpcAnswer::failure(400, e.message());
    } catch (const storage::StorageError& e) {
        return fromFailure(reportStorageFailure(method, e));
    } catch (const std::exception& e) {
        return fromFailure(reportInternalFailure(method, e));
    }
}

}  // namespace server::api
