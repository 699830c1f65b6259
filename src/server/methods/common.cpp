#include "common.h"

namespace server::methods {

namespace {

ApiError withContext(const QString& context, const QString& problem)
{
    return ApiError::badRequest(context.isEmpty() ? problem : context + QStringLiteral(": ") + problem);
}

}  // namespace

void requireMethod(Transaction& tx, const QString& code, const QString& context)
{
    if (!tx.exists(QStringLiteral("SELECT 1 FROM tbmetoaval WHERE CDTBMETOAVAL = ?"), {code}))
        throw withContext(context, QStringLiteral("o método '%1' não está no catálogo.").arg(code));
}

void requireDataType(Transaction& tx, const QString& code, const QString& context)
{
    if (!tx.exists(QStringLiteral("SELECT 1 FROM tipodado WHERE CDTIPODADO = ?"), {code}))
        throw withContext(context,
                          QStringLiteral("o tipo de dado '%1' não está no catálogo.").arg(code));
}

}  // namespace server::methods
