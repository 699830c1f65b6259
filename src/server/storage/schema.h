#pragma once

#include "database.h"

#include <QList>
#include <QString>

namespace server::storage {

// One versioned upgrade step: the statements that take the schema from version - 1 to
// version. The steps are .sql files compiled into the server.
struct SchemaStep
{
    int version;
    QString resource;  // ":/avalnutri/schema/001_initial.sql"
};

const QList<SchemaStep>& schemaSteps();
int latestSchemaVersion();

// The statements of a step for an engine: comments dropped, split at the ';' that ends
// a line, engine types substituted (${BLOB}), lines of the other engine ("@sqlite ...",
// "@postgres ...") dropped.
QStringList schemaStatements(const QString& sqlText, Engine engine);

struct UpgradeResult
{
    int from = 0;
    int to = 0;
};

// Creates the schema on an empty database or applies the steps it lacks, all in one
// transaction, and records the version in the table schema_version. A database written
// by a newer server is refused with StorageError. Several servers starting together on
// one PostgreSQL database upgrade it once.
UpgradeResult upgradeSchema(Database& db);
UpgradeResult upgradeSchema(Database& db, const QList<SchemaStep>& steps);

// The recorded version of a component ("schema", "seed"); 0 when none is recorded.
int recordedVersion(Transaction& tx, const QString& component);
void recordVersion(Transaction& tx, const QString& component, int version);

}  // namespace server::storage
