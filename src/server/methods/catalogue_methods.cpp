#include "catalogue_methods.h"

#include "../model/delta_writer.h"

#include <algorithm>

namespace server::methods {
namespace {

const QStringList kMethodColumns = {
    QStringLiteral("CDTBMETOAVAL"), QStringLiteral("IDTBUTILTABE"), QStringLiteral("NMTBMETOAVAL"),
    QStringLiteral("IDSEQUMETO"),   QStringLiteral("DSTBMETOAVAL"), QStringLiteral("NRCTMETOAVAL"),
    QStringLiteral("VRIDADEINITB"), QStringLiteral("VRIDADEFINTB"), QStringLiteral("CDTBREFMETOA")};

void refuseWhenUsed(Transaction& tx, const QString& column, const QString& code,
                    const QStringList& tables, const QString& what)
{
    for (const QString& table : tables) {
        if (tx.exists(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?").arg(table, column), {code}))
            throw ApiError::badRequest(
                QStringLiteral("%1 '%2' está em uso e não pode ser excluído.").arg(what, code));
    }
}

}  // namespace

QJsonObject catalogueMethodsPacket(Transaction& tx)
{
    QList<SqlRow> rows = tx.select(
        QStringLiteral("SELECT %1 FROM tbmetoaval").arg(kMethodColumns.join(QStringLiteral(", "))));
    std::sort(rows.begin(), rows.end(), [](const SqlRow& a, const SqlRow& b) {
        return catalogueOrder(a[3], a[0]) < catalogueOrder(b[3], b[0]);
    });
    return model::PacketBuilder(records::layouts::cdsInsMetoAval())
        .rows(rows, kMethodColumns)
        .json();
}

QJsonObject catalogueDataTypesPacket(Transaction& tx)
{
    const QList<SqlRow> rows = tx.select(QStringLiteral(
        "SELECT CDTIPODADO, NMTIPODADO, DSUNIDDADO FROM tipodado ORDER BY CDTIPODADO"));
    return model::PacketBuilder(records::layouts::cdsInsTipoDado())
        .rows(rows, {QStringLiteral("CDTIPODADO"), QStringLiteral("NMTIPODADO"),
                     QStringLiteral("DSUNIDDADO")})
        .json();
}

QJsonObject catalogueLinksPacket(Transaction& tx)
{
    const QList<SqlRow> rows = tx.select(QStringLiteral(
        "SELECT CDTIPODADO, CDTBMETOAVAL FROM dadoaval ORDER BY CDTBMETOAVAL, NRORDEM"));
    return model::PacketBuilder(records::layouts::cdsInsDadoAval())
        .rows(rows, {QStringLiteral("CDTIPODADO"), QStringLiteral("CDTBMETOAVAL")})
        .json();
}

void registerCatalogue(RouteTable& routes, Database& db)
{
    QList<model::TableBinding> bindings;

    model::TableBinding methods;
    methods.method = QStringLiteral("SetInsMetoAval");
    methods.table = QStringLiteral("tbmetoaval");
    methods.layout = &records::layouts::cdsInsMetoAval();
    methods.columns = kMethodColumns;
    methods.checkDelete = [](Transaction& tx, const model::RowValues& row) {
        refuseWhenUsed(tx, QStringLiteral("CDTBMETOAVAL"),
                       row.value(QStringLiteral("CDTBMETOAVAL")).toString(),
                       {QStringLiteral("dadoaval"), QStringLiteral("metoaval"),
                        QStringLiteral("infoaval"), QStringLiteral("resuaval"),
                        QStringLiteral("resuavalenerg")},
                       QStringLiteral("o método"));
    };
    bindings.append(methods);

    model::TableBinding types;
    types.method = QStringLiteral("SetInsTipoDado");
    types.table = QStringLiteral("tipodado");
    types.layout = &records::layouts::cdsInsTipoDado();
    types.columns = {QStringLiteral("CDTIPODADO"), QStringLiteral("NMTIPODADO"),
                     QStringLiteral("DSUNIDDADO")};
    types.checkDelete = [](Transaction& tx, const model::RowValues& row) {
        refuseWhenUsed(tx, QStringLiteral("CDTIPODADO"),
                       row.value(QStringLiteral("CDTIPODADO")).toString(),
                       {QStringLiteral("dadoaval"), QStringLiteral("infoaval")},
                       QStringLiteral("o tipo de dado"));
    };
    bindings.append(types);

    model::TableBinding links;
    links.method = QStringLiteral("SetInsDadoAval");
    links.table = QStringLiteral("dadoaval");
    links.layout = &records::layouts::cdsInsDadoAval();
    links.columns = {QStringLiteral("CDTIPODADO"), QStringLiteral("CDTBMETOAVAL")};
    links.checkRow = [](Transaction& tx, const model::RowValues& row) {
        requireMethod(tx, row.value(QStringLiteral("CDTBMETOAVAL")).toString(), QString());
        requireDataType(tx, row.value(QStringLiteral("CDTIPODADO")).toString(), QString());
    };
    // A new link comes after the method's existing ones.
    links.insertExtras = [](Transaction& tx, const model::RowValues& row) {
        const QVariant last =
            tx.scalar(QStringLiteral("SELECT MAX(NRORDEM) FROM dadoaval WHERE CDTBMETOAVAL = ?"),
                      {row.value(QStringLiteral("CDTBMETOAVAL")).toString()});
        const qlonglong next = model::isNull(last) ? 1 : last.toLongLong() + 1;
        return QList<QPair<QString, QVariant>>{{QStringLiteral("NRORDEM"), next}};
    };
    bindings.append(links);

    for (const model::TableBinding& b : bindings)
        addDeltaMethod(routes, db, b);
}

}  // namespace server::methods
