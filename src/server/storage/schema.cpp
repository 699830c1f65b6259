#include "schema.h"

#include <QFile>
#include <QRegularExpression>

namespace server::storage {
namespace {

// Any number that is the same for every avalnutri server: it names the lock that makes
// concurrent upgrades of one PostgreSQL database take turns.
constexpr qint64 kUpgradeLock = 7258120001;

QString readStep(const SchemaStep& step)
{
    QFile file(step.resource);
    if (!file.open(QIODevice::ReadOnly))
        throw StorageError(QStringLiteral("Passo %1 do esquema ausente (%2).")
                               .arg(step.version)
                               .arg(step.resource));
    return QString::fromUtf8(file.readAll());
}

}  // namespace

const QList<SchemaStep>& schemaSteps()
{
    static const QList<SchemaStep> steps = {
        {1, QStringLiteral(":/avalnutri/schema/001_initial.sql")},
        {2, QStringLiteral(":/avalnutri/schema/002_reference_percentiles.sql")},
        {3, QStringLiteral(":/avalnutri/schema/003_reference_standards.sql")},
        {4, QStringLiteral(":/avalnutri/schema/004_reference_curves.sql")},
        {5, QStringLiteral(":/avalnutri/schema/005_injury_factors.sql")},
        {6, QStringLiteral(":/avalnutri/schema/006_body_density.sql")},
        {7, QStringLiteral(":/avalnutri/schema/007_recommendations_per_kg.sql")},
        {8, QStringLiteral(":/avalnutri/schema/008_nutrient_recommendation.sql")},
        {9, QStringLiteral(":/avalnutri/schema/009_users_audit.sql")},
        {10, QStringLiteral(":/avalnutri/schema/010_catalogue_version.sql")},
    };
    return steps;
}

int latestSchemaVersion()
{
    return schemaSteps().last().version;
}

QStringList schemaStatements(const QString& sqlText, Engine engine)
{
    // "@sqlite " and "@postgres " start a line of that engine only.
    const QString mine =
        engine == Engine::Sqlite ? QStringLiteral("@sqlite ") : QStringLiteral("@postgres ");
    QString text;
    for (QString line : sqlText.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("--")))
            continue;
        if (trimmed.startsWith(QLatin1Char('@'))) {
            if (!trimmed.startsWith(mine))
                continue;
            line = trimmed.mid(mine.size());
        }
        text += line + QLatin1Char('\n');
    }
    text.replace(QLatin1String("${BLOB}"),
                 engine == Engine::Sqlite ? QLatin1String("BLOB") : QLatin1String("BYTEA"));
    static const QRegularExpression end(QStringLiteral(";[ \\t]*\\n"));
    QStringList statements;
    for (const QString& part : text.split(end)) {
        const QString statement = part.trimmed();
        if (!statement.isEmpty())
            statements.append(statement);
    }
    return statements;
}

int recordedVersion(Transaction& tx, const QString& component)
{
    const QVariant v = tx.scalar(
        QStringLiteral("SELECT version FROM schema_version WHERE component = ?"), {component});
    return v.isValid() && !v.isNull() ? v.toInt() : 0;
}

void recordVersion(Transaction& tx, const QString& component, int version)
{
    tx.execute(QStringLiteral("INSERT INTO schema_version (component, version) VALUES (?, ?) "
                              "ON CONFLICT (component) DO UPDATE SET version = excluded.version"),
               {component, version});
}

UpgradeResult upgradeSchema(Database& db)
{
    return upgradeSchema(db, schemaSteps());
}

UpgradeResult upgradeSchema(Database& db, const QList<SchemaStep>& steps)
{
    return inTransaction(db, Access::ReadWrite, [&](Transaction& tx) {
        if (db.engine() == Engine::Postgres)
            tx.select(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {kUpgradeLock});
        tx.executeSchema(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version ("
                                        "component TEXT NOT NULL PRIMARY KEY, "
                                        "version INTEGER NOT NULL)"));
        UpgradeResult result;
        result.from = recordedVersion(tx, QStringLiteral("schema"));
        result.to = result.from;
        const int latest = steps.isEmpty() ? 0 : steps.last().version;
        if (result.from > latest)
            throw StorageError(QStringLiteral("O banco de dados está na versão %1 do esquema, "
                                              "mais nova que a deste servidor (%2); atualize "
                                              "o servidor.")
                                   .arg(result.from)
                                   .arg(latest));
        for (const SchemaStep& step : steps) {
            if (step.version <= result.from)
                continue;
            for (const QString& statement : schemaStatements(readStep(step), db.engine()))
                tx.executeSchema(statement);
            result.to = step.version;
        }
        if (result.to != result.from)
            recordVersion(tx, QStringLiteral("schema"), result.to);
        return result;
    });
}

}  // namespace server::storage
