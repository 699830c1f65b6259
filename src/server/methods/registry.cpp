#include "registry.h"

#include <QDateTime>

namespace server::methods {
namespace {

void check(bool ok, const QString& problem)
{
    if (!ok)
        throw ApiError::badRequest(QStringLiteral("SetPaciente: %1.").arg(problem));
}

}  // namespace

void savePatient(Transaction& tx, const Patient& p)
{
    check(!p.branch.trimmed().isEmpty() && p.branch.size() <= 4,
          QStringLiteral("a filial deve ter de 1 a 4 caracteres"));
    check(!p.code.trimmed().isEmpty() && p.code.size() <= 12,
          QStringLiteral("o código do paciente deve ter de 1 a 12 caracteres"));
    check(!p.name.trimmed().isEmpty() && p.name.size() <= 60,
          QStringLiteral("o nome deve ter de 1 a 60 caracteres"));
    check(p.sexCode.size() == 1 && QStringLiteral("0123").contains(p.sexCode),
          QStringLiteral("o código de sexo deve ser \"0\", \"1\", \"2\" ou \"3\", não '%1'")
              .arg(p.sexCode));
    check(p.birth.isValid(), QStringLiteral("data de nascimento inválida"));
    check(p.birth <= QDateTime::currentDateTimeUtc().date().addDays(1),
          QStringLiteral("a data de nascimento está no futuro"));
    tx.execute(QStringLiteral("INSERT INTO paciente (CDFILIAL, CDPACIENTE, NMPACIENTE, CDSEXO, "
                              "DTNASC, IDOBITO) VALUES (?, ?, ?, ?, ?, ?) "
                              "ON CONFLICT (CDFILIAL, CDPACIENTE) DO UPDATE SET "
                              "NMPACIENTE = excluded.NMPACIENTE, CDSEXO = excluded.CDSEXO, "
                              "DTNASC = excluded.DTNASC, IDOBITO = excluded.IDOBITO"),
               {p.branch, p.code, p.name.trimmed(), p.sexCode,
                model::dateKey(QDateTime(p.birth, QTime(0, 0), Qt::UTC)),
                p.deceased ? QStringLiteral("S") : QStringLiteral("N")});
}

void registerRegistry(RouteTable& routes, Database& db)
{
    // A patient the registry does not know is not deceased.
    routes.add(
        QStringLiteral("GetObito"),
        {api::arg::text(QStringLiteral("paciente")), api::arg::text(QStringLiteral("filial"))},
        [&db](const Params& p) -> QJsonValue {
            const QString patient = p.code(0, 12);
            const QString branch = p.code(1, 4);
            return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                const QVariant flag =
                    tx.scalar(QStringLiteral("SELECT IDOBITO FROM paciente "
                                             "WHERE CDFILIAL = ? AND CDPACIENTE = ?"),
                              {branch, patient});
                return QJsonValue(text(flag) == QLatin1String("S"));
            });
        });

    routes.add(QStringLiteral("GetPacientes"), {}, [&db](const Params&) -> QJsonValue {
        return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) -> QJsonValue {
            const QList<SqlRow> rows = tx.select(QStringLiteral(
                "SELECT CDFILIAL, CDPACIENTE, NMPACIENTE, CDSEXO, DTNASC, IDOBITO FROM paciente "
                "ORDER BY CDFILIAL, CDPACIENTE"));
            return model::PacketBuilder(records::patientRegistryLayout())
                .rows(rows, {QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"),
                             QStringLiteral("NMPACIENTE"), QStringLiteral("CDSEXO"),
                             QStringLiteral("DTNASC"), QStringLiteral("IDOBITO")})
                .json();
        });
    });

    routes.add(
        QStringLiteral("SetPaciente"),
        {api::arg::text(QStringLiteral("filial")), api::arg::text(QStringLiteral("paciente")),
         api::arg::text(QStringLiteral("nome")), api::arg::text(QStringLiteral("sexo")),
         api::arg::date(QStringLiteral("nascimento")), api::arg::boolean(QStringLiteral("óbito"))},
        [&db](const Params& p) -> QJsonValue {
            Patient patient{p.text(0), p.text(1),        p.text(2),
                            p.text(3), p.date(4).date(), p.boolean(5)};
            storage::inTransaction(db, Access::ReadWrite,
                                   [&](Transaction& tx) { savePatient(tx, patient); });
            return QString();
        });
}

}  // namespace server::methods
