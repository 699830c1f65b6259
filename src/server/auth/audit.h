#pragma once

#include "authenticator.h"

#include "../api/route_table.h"
#include "../storage/database.h"

#include <QJsonArray>
#include <QString>

#include <memory>

namespace server::auth {

// Whether a remote method writes (Set*, Del*): those need a role that may write and leave
// an audit row.
bool isWriteMethod(const QString& method);

// The call being served on this thread, set by the endpoint once the caller is known and
// cleared when the call ends. The auditing database reads it to write the audit row.
class CallScope
{
public:
    CallScope(const Caller& caller, const QString& method, const api::Signature& signature,
              const QJsonArray& args);
    ~CallScope();
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
};

// A database whose read-write transactions, when they commit during a write call, first
// append that call's audit row(s) (histalteracao) in the same transaction: the row is
// stored exactly when the change is, and never when it fails. One row per consultation
// the call touches (a call without one, such as a catalogue change, gets one row with no
// key). The rows are never changed: no remote method writes them and database triggers
// refuse UPDATE and DELETE.
class AuditingDatabase : public storage::Database
{
public:
    explicit AuditingDatabase(storage::Database& inner) : m_inner(inner) {}

    storage::Engine engine() const override { return m_inner.engine(); }
    QString describe() const override { return m_inner.describe(); }
    std::unique_ptr<storage::Transaction> begin(storage::Access access) override;

private:
    storage::Database& m_inner;
};

// GetHistAlteracoes(branch, patient, from, to): the audit rows of a patient, oldest first;
// from and to (ISO dates or date-times, UTC) may be empty; a "to" without time includes
// that whole day.
void registerAuditMethods(api::RouteTable& routes, storage::Database& db);

}  // namespace server::auth
