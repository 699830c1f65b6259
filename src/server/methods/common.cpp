#include "common.h"

namespace server::methods {

namespace {

ApiError withContext(const QString& context, const QString& problem)
{
    return ApiError::badRequest(context.isEmpty() ? problem
                                                  : context + QStringLiteral(": ") + problem);
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

void addDeltaMethod(RouteTable& routes, Database& db, const model::TableBinding& binding)
{
    const bool nullFieldList = binding.layout->sendsNullFieldList;
    api::Signature signature{api::arg::delta()};
    if (nullFieldList)
        signature.append(api::arg::text(QStringLiteral("campos nulos")));
    routes.add(
        binding.method, signature, [&db, binding, nullFieldList](const Params& p) -> QJsonValue {
            const records::Delta delta = p.delta(0);
            if (nullFieldList)
                model::checkNullFieldList(binding.method, *binding.layout, p.text(1));
            storage::inTransaction(db, Access::ReadWrite,
                                   [&](Transaction& tx) { model::applyDelta(tx, binding, delta); });
            return QString();
        });
}

}  // namespace server::methods
