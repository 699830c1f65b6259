#include "recorded_values.h"

#include "../model/delta_writer.h"
#include "../model/method_codes.h"

#include <QHash>
#include <QSet>

#include <optional>

namespace server::methods {

const char* const kAnthropometricFilter = "AND (DA.CDTIPODADO < '23' OR DA.CDTIPODADO > '34') "
                                          "AND (ME.CDTBMETOAVAL < '30' OR ME.CDTBMETOAVAL > '36')";
const char* const kEnergyFilter = "AND (DA.CDTIPODADO >= '23' AND DA.CDTIPODADO <= '34') "
                                  "AND (ME.CDTBMETOAVAL >= '30' AND ME.CDTBMETOAVAL <= '36')";

namespace {

enum class Scope
{
    Anthropometric,
    Energy
};

QString methodScope(Scope scope, const QString& column)
{
    const QString energy = model::energyCondition(column);
    return scope == Scope::Energy ? energy : QStringLiteral("NOT ") + energy;
}

// The energy factors belong to the energy list, every other data type to the other.
bool inTypeScope(Scope scope, const QString& type)
{
    const bool factor = records::dataTypeDescriptor(type).energyFactor;
    return scope == Scope::Energy ? factor : !factor;
}

struct Need
{
    QString method;
    QString type;
    QString typeName;
    QString unit;
};

// The (method, data type) pairs the selected methods of the scope need, by method code
// and then in the catalogue's order of the method's data types.
QList<Need> selectedNeeds(Transaction& tx, const records::ConsultationKey& k, Scope scope)
{
    const QList<SqlRow> rows = tx.select(
        QStringLiteral("SELECT c.CDTBMETOAVAL, d.CDTIPODADO, t.NMTIPODADO, t.DSUNIDDADO "
                       "FROM metoaval c "
                       "JOIN dadoaval d ON d.CDTBMETOAVAL = c.CDTBMETOAVAL "
                       "JOIN tipodado t ON t.CDTIPODADO = d.CDTIPODADO "
                       "WHERE ")
            + keyCondition(QStringLiteral("c.")) + QStringLiteral(" AND c.IDTABELAAV = 'S' AND ")
            + methodScope(scope, QStringLiteral("c.CDTBMETOAVAL"))
            + QStringLiteral(" ORDER BY c.CDTBMETOAVAL, d.NRORDEM"),
        keyParams(k));
    QList<Need> needs;
    for (const SqlRow& r : rows)
        needs.append({text(r[0]), text(r[1]), text(r[2]), text(r[3])});
    return needs;
}

struct Recorded
{
    QString method;
    QString type;
    QVariant value;
    QVariant observation;
    QVariant injuryFactor;
};

// The recorded values of the consultation for the methods of the scope, by method code.
QList<Recorded> recordedValues(Transaction& tx, const records::ConsultationKey& k, Scope scope)
{
    const QList<SqlRow> rows = tx.select(
        QStringLiteral("SELECT CDTBMETOAVAL, CDTIPODADO, DSINFOAVAL, DSOBSERAVAL, CDFATOINJU "
                       "FROM infoaval WHERE ")
            + keyCondition() + QStringLiteral(" AND ")
            + methodScope(scope, QStringLiteral("CDTBMETOAVAL"))
            + QStringLiteral(" ORDER BY CDTBMETOAVAL, CDTIPODADO"),
        keyParams(k));
    QList<Recorded> out;
    for (const SqlRow& r : rows)
        out.append({text(r[0]), text(r[1]), r[2], r[3], r[4]});
    return out;
}

// The recorded values that stand for one data type of the consultation: those of the
// selected methods that need it, or, when they have none, those of any method of the
// scope (a weight typed on the energy panel is kept under the body mass index method).
QList<const Recorded*> candidates(const QList<Recorded>& recorded, const QList<Need>& needs,
                                  const QString& type)
{
    QSet<QString> needing;
    for (const Need& n : needs) {
        if (n.type == type)
            needing.insert(n.method);
    }
    QList<const Recorded*> selected, others;
    for (const Recorded& r : recorded) {
        if (r.type != type)
            continue;
        (needing.contains(r.method) ? selected : others).append(&r);
    }
    return selected.isEmpty() ? others : selected;
}

// The distinct data types of the needs, by code, with name and unit.
QList<Need> distinctTypes(const QList<Need>& needs)
{
    QMap<QString, Need> byType;
    for (const Need& n : needs)
        byType.insert(n.type, n);
    return byType.values();
}

std::optional<Scope> recogniseFilter(const QString& filter)
{
    const QString given = filter.simplified();
    if (given == QString::fromLatin1(kAnthropometricFilter).simplified())
        return Scope::Anthropometric;
    if (given == QString::fromLatin1(kEnergyFilter).simplified())
        return Scope::Energy;
    return std::nullopt;
}

QJsonValue dadoAval(Transaction& tx, const records::ConsultationKey& k)
{
    const QList<Need> needs = selectedNeeds(tx, k, Scope::Anthropometric);
    const QList<Recorded> recorded = recordedValues(tx, k, Scope::Anthropometric);
    model::PacketBuilder packet(records::layouts::cdsDadosAval());
    for (const Need& t : distinctTypes(needs)) {
        packet.row()
            .set(QStringLiteral("CDTIPODADO"), t.type)
            .set(QStringLiteral("NMTIPODADO"), t.typeName)
            .set(QStringLiteral("DSUNIDDADO"), t.unit);
        const QList<const Recorded*> found = candidates(recorded, needs, t.type);
        if (!found.isEmpty()) {
            packet.set(QStringLiteral("DSINFOAVAL"), found.first()->value)
                .set(QStringLiteral("DSOBSERAVAL"), found.first()->observation);
        }
    }
    return packet.json();
}

QJsonValue dadoAvalEnerg(Transaction& tx, const records::ConsultationKey& k)
{
    const QList<Need> needs = selectedNeeds(tx, k, Scope::Energy);
    QHash<QString, const Recorded*> byPair;
    const QList<Recorded> recorded = recordedValues(tx, k, Scope::Energy);
    for (const Recorded& r : recorded)
        byPair.insert(r.method + QLatin1Char('|') + r.type, &r);
    model::PacketBuilder packet(records::layouts::cdsDadoAvalEnerg());
    const QString date = model::dateKey(k.date);
    for (const Need& n : needs) {
        packet.row()
            .set(QStringLiteral("CDTBMETOAVAL"), n.method)
            .set(QStringLiteral("CDTIPODADO"), n.type)
            .set(QStringLiteral("NMTIPODADO"), n.typeName)
            .set(QStringLiteral("DTCONSPACI"), date);
        if (const Recorded* r = byPair.value(n.method + QLatin1Char('|') + n.type)) {
            packet.set(QStringLiteral("DSINFOAVAL"), r->value)
                .set(QStringLiteral("CDFATOINJU"), r->injuryFactor);
        }
    }
    return packet.json();
}

QJsonValue atualizaDados(Transaction& tx, const records::ConsultationKey& k, Scope scope)
{
    const QList<Need> needs = selectedNeeds(tx, k, scope);
    const QList<Recorded> recorded = recordedValues(tx, k, scope);
    model::PacketBuilder packet(records::layouts::cdsAtualizaDados());
    for (const Need& t : distinctTypes(needs)) {
        if (!inTypeScope(scope, t.type))
            continue;
        const QList<const Recorded*> found = candidates(recorded, needs, t.type);
        if (found.isEmpty())
            continue;
        // A value is handed back for spreading to every method that needs the type only
        // when the consultation holds one value for it: the energy factors
        // mean different things per method and must not overwrite each other.
        bool agree = true;
        for (const Recorded* r : found) {
            if (r->value != found.first()->value || r->observation != found.first()->observation)
                agree = false;
        }
        if (!agree)
            continue;
        packet.row()
            .set(QStringLiteral("CDTIPODADO"), t.type)
            .set(QStringLiteral("NMTIPODADO"), t.typeName)
            .set(QStringLiteral("DSUNIDDADO"), t.unit)
            .set(QStringLiteral("DSINFOAVAL"), found.first()->value)
            .set(QStringLiteral("DSOBSERAVAL"), found.first()->observation);
    }
    return packet.json();
}

model::TableBinding infoBinding()
{
    model::TableBinding b;
    b.method = QStringLiteral("SetInfoAval");
    b.table = QStringLiteral("infoaval");
    b.layout = &records::layouts::cdsInfoAval();
    b.columns = {QStringLiteral("CDFILIAL"),    QStringLiteral("CDPACIENTE"),
                 QStringLiteral("DTCONSPACI"),  QStringLiteral("CDTBMETOAVAL"),
                 QStringLiteral("CDTIPODADO"),  QStringLiteral("DSINFOAVAL"),
                 QStringLiteral("DSOBSERAVAL"), QStringLiteral("CDFATOINJU")};
    b.checkRow = [](Transaction& tx, const model::RowValues& row) {
        requireMethod(tx, row.value(QStringLiteral("CDTBMETOAVAL")).toString(), QString());
        requireDataType(tx, row.value(QStringLiteral("CDTIPODADO")).toString(), QString());
    };
    return b;
}

}  // namespace

void registerRecordedValues(RouteTable& routes, Database& db)
{
    const api::Signature keyOnly = api::arg::key();
    const api::Signature keyAndType =
        api::arg::key() + api::Signature{api::arg::text(QStringLiteral("tipo de dado"))};

    routes.add(QStringLiteral("GetDadoAval"), keyOnly, [&db](const Params& p) -> QJsonValue {
        const records::ConsultationKey k = p.key();
        return storage::inTransaction(db, Access::ReadOnly,
                                      [&](Transaction& tx) { return dadoAval(tx, k); });
    });

    routes.add(QStringLiteral("GetDadoAvalEnerg"), keyOnly, [&db](const Params& p) -> QJsonValue {
        const records::ConsultationKey k = p.key();
        return storage::inTransaction(db, Access::ReadOnly,
                                      [&](Transaction& tx) { return dadoAvalEnerg(tx, k); });
    });

    routes.add(QStringLiteral("GetInfoAval"), keyAndType, [&db](const Params& p) -> QJsonValue {
        const records::ConsultationKey k = p.key();
        const QString type = p.code(3, 2);
        return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) -> QJsonValue {
            const QList<SqlRow> rows = tx.select(
                QStringLiteral("SELECT CDFILIAL, CDPACIENTE, DTCONSPACI, CDTBMETOAVAL, CDTIPODADO, "
                               "DSINFOAVAL, DSOBSERAVAL, CDFATOINJU FROM infoaval WHERE ")
                    + keyCondition() + QStringLiteral(" AND CDTIPODADO = ? ORDER BY CDTBMETOAVAL"),
                keyParams(k, {type}));
            return model::PacketBuilder(records::layouts::cdsInfoAval())
                .rows(rows, {QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"),
                             QStringLiteral("DTCONSPACI"), QStringLiteral("CDTBMETOAVAL"),
                             QStringLiteral("CDTIPODADO"), QStringLiteral("DSINFOAVAL"),
                             QStringLiteral("DSOBSERAVAL"), QStringLiteral("CDFATOINJU")})
                .json();
        });
    });

    // The patient's history of one data type: every consultation of the patient up to the
    // key's date with a recorded value of the type, by date and then method.
    routes.add(QStringLiteral("GetHistInfoAval"), keyAndType, [&db](const Params& p) -> QJsonValue {
        const records::ConsultationKey k = p.key();
        const QString type = p.code(3, 2);
        const QVariantList key = keyParams(k);
        return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) -> QJsonValue {
            const QList<SqlRow> rows = tx.select(
                QStringLiteral("SELECT CDFILIAL, CDPACIENTE, DTCONSPACI, CDTBMETOAVAL, CDTIPODADO, "
                               "DSINFOAVAL, DSOBSERAVAL, CDFATOINJU FROM infoaval WHERE "
                               "CDFILIAL = ? AND CDPACIENTE = ? AND DTCONSPACI <= ? AND "
                               "CDTIPODADO = ? ORDER BY DTCONSPACI, CDTBMETOAVAL"),
                {key[0], key[1], key[2], type});
            return model::PacketBuilder(records::layouts::cdsInfoAval())
                .rows(rows, {QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"),
                             QStringLiteral("DTCONSPACI"), QStringLiteral("CDTBMETOAVAL"),
                             QStringLiteral("CDTIPODADO"), QStringLiteral("DSINFOAVAL"),
                             QStringLiteral("DSOBSERAVAL"), QStringLiteral("CDFATOINJU")})
                .json();
        });
    });

    routes.add(QStringLiteral("GetPesqDadoAval"), keyAndType, [&db](const Params& p) -> QJsonValue {
        const records::ConsultationKey k = p.key();
        const QString type = p.code(3, 2);
        return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) -> QJsonValue {
            // The selected methods of the consultation, in either list, that need the type.
            const QList<SqlRow> rows = tx.select(
                QStringLiteral("SELECT d.CDTIPODADO, c.CDTBMETOAVAL FROM metoaval c "
                               "JOIN dadoaval d ON d.CDTBMETOAVAL = c.CDTBMETOAVAL WHERE ")
                    + keyCondition(QStringLiteral("c."))
                    + QStringLiteral(" AND c.IDTABELAAV = 'S' AND d.CDTIPODADO = ? "
                                     "ORDER BY c.CDTBMETOAVAL"),
                keyParams(k, {type}));
            return model::PacketBuilder(records::layouts::cdsPesqDadoAval())
                .rows(rows, {QStringLiteral("CDTIPODADO"), QStringLiteral("CDTBMETOAVAL")})
                .json();
        });
    });

    routes.add(QStringLiteral("GetAtualizaDados"),
               api::arg::key() + api::Signature{api::arg::text(QStringLiteral("filtro"))},
               [&db](const Params& p) -> QJsonValue {
                   const records::ConsultationKey k = p.key();
                   const std::optional<Scope> scope = recogniseFilter(p.text(3));
                   if (!scope)
                       throw ApiError::badRequest(QStringLiteral(
                           "GetAtualizaDados: filtro não reconhecido; o servidor aceita só os "
                           "filtros das páginas antropométrica e de energia."));
                   return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                       return atualizaDados(tx, k, *scope);
                   });
               });

    addDeltaMethod(routes, db, infoBinding());
}

}  // namespace server::methods
