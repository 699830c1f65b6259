#include "common.h"

#include <cmath>

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

int wholeAgeMonths(const Params& p, int yearsIndex, int monthsIndex)
{
    constexpr int kOldestYears = 200;
    const double years = p.number(yearsIndex);
    const double months = p.number(monthsIndex);
    if (years != std::floor(years) || years < 0 || years > kOldestYears)
        p.fail(yearsIndex,
               QStringLiteral("não é um número inteiro de anos de 0 a 200: %1").arg(years));
    if (months != std::floor(months) || months < 0 || months > 11)
        p.fail(monthsIndex,
               QStringLiteral("não é um número inteiro de meses de 0 a 11: %1").arg(months));
    return static_cast<int>(years) * 12 + static_cast<int>(months);
}

}  // namespace server::methods
