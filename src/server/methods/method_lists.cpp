#include "method_lists.h"

#include "../model/delta_writer.h"
#include "../model/method_codes.h"

#include <records/packet_codec.h>

#include <algorithm>
#include <stdexcept>

namespace server::methods {
namespace {

const records::DataSetLayout& layoutOf(MethodList list)
{
    return list == MethodList::Energy ? records::layouts::cdsMetoAvalEnerg()
                                      : records::layouts::cdsMetoAval();
}

bool inAgeRange(const QVariant& from, const QVariant& to, double age)
{
    if (!model::isNull(from) && age < from.toDouble())
        return false;
    if (!model::isNull(to) && age > to.toDouble())
        return false;
    return true;
}

model::TableBinding binding(MethodList list)
{
    model::TableBinding b;
    b.method = list == MethodList::Energy ? QStringLiteral("SetMetoAvalEnerg")
                                          : QStringLiteral("SetMetoAval");
    b.table = QStringLiteral("metoaval");
    b.layout = &layoutOf(list);
    b.columns = {QStringLiteral("CDFILIAL"),   QStringLiteral("CDPACIENTE"),
                 QStringLiteral("DTCONSPACI"), QStringLiteral("CDTBMETOAVAL"),
                 QStringLiteral("IDTABELAAV"), QStringLiteral("CDTABELACO")};
    b.offeredRows = true;
    // The list shows a choice stored without a mark as not selected.
    b.shownValue = [](const QString& column, const QVariant& stored) -> QVariant {
        if (column == QLatin1String("IDTABELAAV") && text(stored).isEmpty())
            return QStringLiteral("N");
        return stored;
    };
    b.checkRow = [list](Transaction& tx, const model::RowValues& row) {
        const QString code = row.value(QStringLiteral("CDTBMETOAVAL")).toString();
        requireMethod(tx, code, QString());
        if (model::isEnergyMethod(code) != (list == MethodList::Energy))
            throw ApiError::badRequest(
                QStringLiteral("o método '%1' pertence à lista %2.")
                    .arg(code, list == MethodList::Energy
                                   ? QStringLiteral("de métodos antropométricos")
                                   : QStringLiteral("de métodos de energia")));
        if (row.contains(QStringLiteral("IDTABELAAV"))) {
            const QVariant mark = row.value(QStringLiteral("IDTABELAAV"));
            if (!model::isNull(mark) && mark.toString() != QLatin1String("S")
                && mark.toString() != QLatin1String("N"))
                throw ApiError::badRequest(
                    QStringLiteral("IDTABELAAV deve ser \"S\" ou \"N\", não '%1'.")
                        .arg(mark.toString()));
        }
    };
    return b;
}

// Where each field sits in a method list's layout.
struct ListColumns
{
    explicit ListColumns(const records::DataSetLayout& layout) : fields(layout.fields) {}
    int operator()(const char* name) const
    {
        const int i = records::indexOfField(fields, QLatin1String(name));
        if (i < 0)
            throw std::logic_error(std::string("method list has no field ") + name);
        return i;
    }
    const records::FieldList& fields;
};

// A database value as the packet carries it in the field at index.
QJsonValue encoded(const records::FieldList& fields, int index, const QVariant& sqlValue)
{
    return records::encodeValue(fields[index], model::fromSql(fields[index], sqlValue));
}

}  // namespace

QList<ListedMethod> listedMethods(Transaction& tx)
{
    const QList<SqlRow> rows = tx.select(
        QStringLiteral("SELECT CDTBMETOAVAL, IDTBUTILTABE, NMTBMETOAVAL, CDTBREFMETOA, "
                       "NRCTMETOAVAL, VRIDADEINITB, VRIDADEFINTB, IDSEQUMETO FROM tbmetoaval"));
    QList<QPair<QString, ListedMethod>> ordered;
    ordered.reserve(rows.size());
    for (const SqlRow& r : rows) {
        ListedMethod m;
        m.code = text(r[0]);
        m.list = model::isEnergyMethod(m.code) ? MethodList::Energy : MethodList::Anthropometric;
        m.ageFrom = r[5];
        m.ageTo = r[6];
        const records::FieldList& fields = layoutOf(m.list).fields;
        const ListColumns at(layoutOf(m.list));
        for (int i = 0; i < fields.size(); ++i)
            m.row.append(QJsonValue(QJsonValue::Null));
        m.row[at("CDTBMETOAVAL")] = encoded(fields, at("CDTBMETOAVAL"), r[0]);
        m.row[at("IDTBUTILTABE")] = encoded(fields, at("IDTBUTILTABE"), r[1]);
        m.row[at("NMTBMETOAVAL")] = encoded(fields, at("NMTBMETOAVAL"), r[2]);
        m.row[at("CDTBREFMETOA")] = encoded(fields, at("CDTBREFMETOA"), r[3]);
        m.row[at("NRCTMETOAVAL")] = encoded(fields, at("NRCTMETOAVAL"), r[4]);
        ordered.append({catalogueOrder(r[7], r[0]), m});
    }
    std::sort(ordered.begin(), ordered.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<ListedMethod> out;
    out.reserve(ordered.size());
    for (const auto& o : ordered)
        out.append(o.second);
    return out;
}

QHash<QString, SqlRow> storedMethodChoices(Transaction& tx, const records::ConsultationKey& k)
{
    const QList<SqlRow> rows = tx.select(
        QStringLiteral("SELECT c.CDTBMETOAVAL, c.IDTABELAAV, c.CDTABELACO, r.NMREFEBIBL "
                       "FROM metoaval c LEFT JOIN refebibl r ON r.CDREFEBIBL = c.CDTABELACO "
                       "WHERE ")
            + keyCondition(QStringLiteral("c.")),
        keyParams(k));
    QHash<QString, SqlRow> byMethod;
    for (const SqlRow& r : rows)
        byMethod.insert(text(r[0]), r);
    return byMethod;
}

QJsonObject methodListPacket(const QList<ListedMethod>& catalogue,
                             const QHash<QString, SqlRow>& storedChoices,
                             const records::ConsultationKey& k, double codedAge, MethodList list)
{
    const records::DataSetLayout& layout = layoutOf(list);
    const records::FieldList& fields = layout.fields;
    const ListColumns at(layout);
    const int branchAt = at("CDFILIAL");
    const int patientAt = at("CDPACIENTE");
    const int dateAt = at("DTCONSPACI");
    const int markAt = at("IDTABELAAV");
    const int referenceAt = at("CDTABELACO");
    const int referenceNameAt = at("NMREFEBIBL");
    const QJsonValue branch = encoded(fields, branchAt, k.branch);
    const QJsonValue patient = encoded(fields, patientAt, k.patient);
    const QJsonValue date = encoded(fields, dateAt, model::dateKey(k.date));
    const QJsonValue notChosen = encoded(fields, markAt, QStringLiteral("N"));

    QJsonArray rows;
    for (const ListedMethod& m : catalogue) {
        if (m.list != list)
            continue;
        const auto stored = storedChoices.constFind(m.code);
        const bool isStored = stored != storedChoices.constEnd();
        if (!isStored && !inAgeRange(m.ageFrom, m.ageTo, codedAge))
            continue;
        QJsonArray row = m.row;
        row[branchAt] = branch;
        row[patientAt] = patient;
        row[dateAt] = date;
        row[markAt] = notChosen;
        if (isStored) {
            const SqlRow& choice = *stored;
            if (!text(choice[1]).isEmpty())
                row[markAt] = encoded(fields, markAt, choice[1]);
            row[referenceAt] = encoded(fields, referenceAt, choice[2]);
            row[referenceNameAt] = encoded(fields, referenceNameAt, choice[3]);
        }
        rows.append(row);
    }
    QJsonObject packet = model::encodedFields(layout);
    packet.insert(QStringLiteral("rows"), rows);
    return packet;
}

void registerMethodLists(RouteTable& routes, Database& db)
{
    for (MethodList list : {MethodList::Anthropometric, MethodList::Energy})
        addDeltaMethod(routes, db, binding(list));

    routes.add(QStringLiteral("GetExistMetoAval"),
               api::arg::key() + api::Signature{api::arg::text(QStringLiteral("método"))},
               [&db](const Params& p) -> QJsonValue {
                   const records::ConsultationKey k = p.key();
                   const QString method = p.code(3, 2);
                   return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                       const QList<SqlRow> rows =
                           tx.select(QStringLiteral("SELECT CDPACIENTE FROM metoaval WHERE ")
                                         + keyCondition() + QStringLiteral(" AND CDTBMETOAVAL = ?"),
                                     keyParams(k, {method}));
                       return QJsonValue(model::PacketBuilder(records::layouts::cdsExistInfoAval())
                                             .rows(rows, {QStringLiteral("CDPACIENTE")})
                                             .json());
                   });
               });
}

}  // namespace server::methods
