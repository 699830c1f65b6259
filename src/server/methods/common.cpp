#include "common.h"

namespace server::methods {

void requireMethod(Transaction& tx, const QString& code, const QString& context)
{
    if (!tx.exists(QStringLiteral("SELECT 1 FROM tbmetoaval WHERE CDTBMETOAVAL = ?"), {code}))
        throw ApiError::badRequest(
            QStringLiteral("%1: o método '%2' não está no catálogo.").arg(context, code));
}

void requireDataType(Transaction& tx, const QString& code, const QString& context)
{
    if (!tx.exists(QStringLiteral("SELECT 1 FROM tipodado WHERE CDTIPODADO = ?"), {code}))
        throw ApiError::badRequest(
            QStringLiteral("%1: o tipo de dado '%2' não está no catálogo.").arg(context, code));
}

}  // namespace server::methods
