#include "failure_report.h"

#include "../storage/database.h"

#include <QRandomGenerator>

namespace server::api {
namespace {

QString newReference()
{
    return QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16,
                                    QLatin1Char('0'));
}

QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" | "));
    text.replace(QLatin1Char('\n'), QLatin1String(" | "));
    text.replace(QLatin1Char('\r'), QLatin1String(" | "));
    return text;
}

FailureReport report(int status, const QString& method, const QString& what, const QString& advice,
                     const QString& detail)
{
    FailureReport r;
    r.status = status;
    r.reference = newReference();
    r.clientMessage = QStringLiteral("%1 %2 (referência %3).").arg(what, advice, r.reference);
    r.logLine =
        QStringLiteral("%1 falhou, referência %2: %3").arg(method, r.reference, oneLine(detail));
    return r;
}

}  // namespace

FailureReport reportStorageFailure(const QString& method, const storage::StorageError& error)
{
    using Kind = storage::StorageError::Kind;
    const QString again = QStringLiteral("Tente novamente; se persistir, avise o suporte");
    const QString later =
        QStringLiteral("Tente novamente em instantes; se persistir, avise o suporte");
    switch (error.kind()) {
    case Kind::Read:
        return report(500, method, QStringLiteral("Erro no banco de dados ao ler os dados."), again,
                      error.message());
    case Kind::Write:
    case Kind::Duplicate:
        return report(500, method, QStringLiteral("Erro no banco de dados ao gravar os dados."),
                      again, error.message());
    case Kind::Unavailable:
        return report(503, method, QStringLiteral("Banco de dados indisponível no momento."), later,
                      error.message());
    case Kind::Busy:
        return report(503, method,
                      QStringLiteral("Banco de dados ocupado: a gravação não pôde começar."), later,
                      error.message());
    case Kind::Failure:
        break;
    }
    return report(500, method, QStringLiteral("Erro no banco de dados."), again, error.message());
}

FailureReport reportInternalFailure(const QString& method, const std::exception& error)
{
    return report(500, method, QStringLiteral("Erro interno do servidor."),
                  QStringLiteral("Tente novamente; se persistir, avise o suporte"),
                  QString::fromLocal8Bit(error.what()));
}

}  // namespace server::api
