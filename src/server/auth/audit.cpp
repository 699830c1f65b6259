#include "audit.h"

#include "../api/api_error.h"
#include "../api/params.h"
#include "../model/packet_builder.h"
#include "../model/sql_values.h"

#include <records/field.h>
#include <records/layouts.h>

#include <QJsonDocument>
#include <QSet>

namespace server::auth {
namespace {

struct CurrentCall
{
    Caller caller;
    QString method;
    api::Signature signature;
    QJsonArray args;
    bool audited = false;  // its row is written (a call writes in one transaction)
};

thread_local CurrentCall* t_call = nullptr;

struct AuditKey
{
    QVariant branch, patient, date;  // null where the call has none
    bool operator==(const AuditKey&) const = default;
};

QVariant nullText()
{
    return QVariant(QMetaType::fromType<QString>());
}

QVariant textOrNull(const QVariant& v)
{
    if (model::isNull(v))
        return nullText();
    if (v.typeId() == QMetaType::QDateTime)
        return model::dateKey(v.toDateTime());
    return v.toString();
}

// The consultations a write call touches, from its arguments as sent.
QList<AuditKey> keysOf(const CurrentCall& call)
{
    const api::Params p(call.method, call.signature, call.args);
    const api::Signature key = api::arg::key();
    const api::Signature& sig = call.signature;
    auto named = [&](int i, const api::Signature& s, int j) {
        return i < sig.size() && sig[i].name == s[j].name && sig[i].type == s[j].type;
    };
    if (named(0, key, 0) && named(1, key, 1) && named(2, key, 2)) {
        const records::ConsultationKey k = p.key(0);
        return {AuditKey{k.branch, k.patient, model::dateKey(k.date)}};
    }
    if (named(0, key, 0) && named(1, key, 1))
        return {AuditKey{p.text(0), p.text(1), nullText()}};
    QList<AuditKey> keys;
    for (int i = 0; i < sig.size(); ++i) {
        if (sig[i].type != api::ArgType::Delta)
            continue;
        const records::Delta delta = p.delta(i);
        const int b = records::indexOfField(delta.fields, QStringLiteral("CDFILIAL"));
        const int c = records::indexOfField(delta.fields, QStringLiteral("CDPACIENTE"));
        const int d = records::indexOfField(delta.fields, QStringLiteral("DTCONSPACI"));
        if (b < 0 && c < 0)
            continue;
        for (const records::DeltaChange& change : delta.changes) {
            const QVariantList& row = change.kind == records::DeltaChange::Kind::Delete
                                          ? change.oldValues
                                          : change.newValues;
            auto at = [&](int index) {
                return index >= 0 && index < row.size() ? textOrNull(row[index]) : nullText();
            };
            const AuditKey k{at(b), at(c), at(d)};
            if (!keys.contains(k))
                keys.append(k);
        }
    }
    if (keys.isEmpty())
        keys.append(AuditKey{nullText(), nullText(), nullText()});
    return keys;
}

// The delta as sent (the delta argument), or the whole argument list for a call without one.
QString deltaText(const CurrentCall& call)
{
    for (int i = 0; i < call.signature.size() && i < call.args.size(); ++i) {
        if (call.signature[i].type == api::ArgType::Delta)
            return QString::fromUtf8(
                QJsonDocument(call.args[i].toObject()).toJson(QJsonDocument::Compact));
    }
    return QString::fromUtf8(QJsonDocument(call.args).toJson(QJsonDocument::Compact));
}

void writeAudit(storage::Transaction& tx, const CurrentCall& call)
{
    const QString when = utcText(QDateTime::currentDateTimeUtc());
    const QString delta = deltaText(call);
    for (const AuditKey& k : keysOf(call)) {
        tx.execute(QStringLiteral("INSERT INTO histalteracao (DTHRALTERACAO, DSLOGIN, NMUSUARIO, "
                                  "DSMETODO, CDFILIAL, CDPACIENTE, DTCONSPACI, DSDELTA) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                   {when, call.caller.login, call.caller.name, call.method, k.branch, k.patient,
                    k.date, delta});
    }
}

class AuditingTransaction : public storage::Transaction
{
public:
    explicit AuditingTransaction(std::unique_ptr<storage::Transaction> inner)
        : m_inner(std::move(inner))
    {
    }

    QList<storage::SqlRow> select(const QString& sql, const QVariantList& params) override
    {
        return m_inner->select(sql, params);
    }
    qint64 execute(const QString& sql, const QVariantList& params) override
    {
        return m_inner->execute(sql, params);
    }
    void executeSchema(const QString& sql) override { m_inner->executeSchema(sql); }
    void commit() override
    {
        CurrentCall* call = t_call;
        if (call && !call->audited && isWriteMethod(call->method)) {
            writeAudit(*m_inner, *call);
            m_inner->commit();
            call->audited = true;
            return;
        }
        m_inner->commit();
    }

private:
    std::unique_ptr<storage::Transaction> m_inner;
};

// The packet of GetHistAlteracoes: every value as text, times in ISO-8601 UTC, the delta
// as the JSON the client sent.
const records::DataSetLayout& auditTrailLayout()
{
    static const records::DataSetLayout layout = [] {
        records::DataSetLayout l;
        l.name = QStringLiteral("cdsHistAlteracoes");
        auto text = [](const char* name, int size, const char* label) {
            records::FieldDef f;
            f.name = QString::fromLatin1(name);
            f.size = size;
            f.label = QString::fromUtf8(label);
            return f;
        };
        l.fields = {text("DTHRALTERACAO", 24, "Data e hora (UTC)"),
                    text("LOGIN", 32, "Login"),
                    text("NOME", 120, "Usuário"),
                    text("METODO", 40, "Método"),
                    text("CDFILIAL", 4, "Filial"),
                    text("CDPACIENTE", 12, "Paciente"),
                    text("DTCONSULTA", 24, "Consulta"),
                    text("DELTA", 0, "Alteração")};
        return l;
    }();
    return layout;
}

// A bound of GetHistAlteracoes as UTC text; empty for none. A date alone as an upper
// bound is the end of that day.
QString bound(const api::Params& p, int index, bool upper)
{
    const QString text = p.text(index).trimmed();
    if (text.isEmpty())
        return {};
    QDateTime t = records::parseDateTime(text);
    if (!t.isValid())
        p.fail(index, QStringLiteral("não é uma data válida: '%1'").arg(text));
    t.setTimeSpec(Qt::UTC);
    if (upper && text.size() == 10)
        return utcText(t.addDays(1).addMSecs(-1));
    return utcText(t);
}

}  // namespace

bool isWriteMethod(const QString& method)
{
    return method.startsWith(QLatin1String("Set")) || method.startsWith(QLatin1String("Del"));
}

CallScope::CallScope(const Caller& caller, const QString& method, const api::Signature& signature,
                     const QJsonArray& args)
{
    t_call = new CurrentCall{caller, method, signature, args, false};
}

CallScope::~CallScope()
{
    delete t_call;
    t_call = nullptr;
}

std::unique_ptr<storage::Transaction> AuditingDatabase::begin(storage::Access access)
{
    std::unique_ptr<storage::Transaction> tx = m_inner.begin(access);
    if (access == storage::Access::ReadOnly)
        return tx;
    return std::make_unique<AuditingTransaction>(std::move(tx));
}

void registerAuditMethods(api::RouteTable& routes, storage::Database& db)
{
    routes.add(QStringLiteral("GetHistAlteracoes"),
               {api::arg::text(QStringLiteral("filial")),
                api::arg::text(QStringLiteral("paciente")), api::arg::text(QStringLiteral("de")),
                api::arg::text(QStringLiteral("até"))},
               [&db](const api::Params& p) -> QJsonValue {
                   const QString branch = p.code(0, 4);
                   const QString patient = p.code(1, 12);
                   if (branch.isEmpty())
                       p.fail(0, QStringLiteral("está vazio"));
                   if (patient.isEmpty())
                       p.fail(1, QStringLiteral("está vazio"));
                   const QString from = bound(p, 2, false);
                   const QString to = bound(p, 3, true);
                   QString sql = QStringLiteral(
                       "SELECT a.DTHRALTERACAO, a.DSLOGIN, a.NMUSUARIO, a.DSMETODO, a.CDFILIAL, "
                       "a.CDPACIENTE, a.DTCONSPACI, a.DSDELTA FROM histalteracao a "
                       "WHERE a.CDFILIAL = ? AND a.CDPACIENTE = ?");
                   QVariantList params{branch, patient};
                   if (!from.isEmpty()) {
                       sql += QStringLiteral(" AND a.DTHRALTERACAO >= ?");
                       params.append(from);
                   }
                   if (!to.isEmpty()) {
                       sql += QStringLiteral(" AND a.DTHRALTERACAO <= ?");
                       params.append(to);
                   }
                   sql += QStringLiteral(" ORDER BY a.DTHRALTERACAO, a.IDALTERACAO");
                   return storage::inTransaction(
                       db, storage::Access::ReadOnly, [&](storage::Transaction& tx) -> QJsonValue {
                           return model::PacketBuilder(auditTrailLayout())
                               .rows(tx.select(sql, params),
                                     {QStringLiteral("DTHRALTERACAO"), QStringLiteral("LOGIN"),
                                      QStringLiteral("NOME"), QStringLiteral("METODO"),
                                      QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"),
                                      QStringLiteral("DTCONSULTA"), QStringLiteral("DELTA")})
                               .json();
                       });
               });
}

}  // namespace server::auth
