#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

#include <memory>
#include <stdexcept>

namespace server::storage {

// The database engines the server can keep its records in.
enum class Engine
{
    Sqlite,
    Postgres
};

QString engineName(Engine engine);

// A failure of the database itself (connection lost, disk full, constraint violated by
// a concurrent writer). Its text names the operation and carries the driver's message
// and the statement: it is for the server's log and the operator, never for a client,
// which is told only what kind of failure it met.
class StorageError : public std::runtime_error
{
public:
    enum class Kind
    {
        Failure,      // not tied to a read or a write (start-up, schema)
        Read,         // a statement of a read-only transaction failed
        Write,        // a statement of a writing transaction failed
        Unavailable,  // the database cannot be reached, or the connection was lost
        Busy,         // a write could not get its turn in time
        Duplicate,    // a row with the same key is there (a concurrent transaction wrote it)
    };

    explicit StorageError(const QString& message, Kind kind = Kind::Failure)
        : std::runtime_error(message.toStdString()),
          m_message(message),
          m_kind(kind)
    {
    }
    const QString& message() const { return m_message; }
    Kind kind() const { return m_kind; }

private:
    QString m_message;
    Kind m_kind;
};

using SqlRow = QVariantList;

// One unit of work against the database. Statements are fixed texts of the server with
// '?' placeholders; values are always bound, never spliced into the text. A transaction
// that is destroyed without commit() is rolled back.
class Transaction
{
public:
    virtual ~Transaction() = default;

    virtual QList<SqlRow> select(const QString& sql, const QVariantList& params = {}) = 0;
    // Runs a statement that returns no rows; answers the number of rows it touched.
    virtual qint64 execute(const QString& sql, const QVariantList& params = {}) = 0;
    // Runs a schema statement (CREATE, ALTER...), which cannot be prepared, as it stands.
    virtual void executeSchema(const QString& sql) = 0;
    virtual void commit() = 0;

    // Convenience: the first column of the first row, or an invalid QVariant.
    QVariant scalar(const QString& sql, const QVariantList& params = {});
    bool exists(const QString& sql, const QVariantList& params = {});
};

enum class Access
{
    ReadOnly,
    ReadWrite
};

// The server's database: hands out transactions on the calling thread's own connection.
// Implementations are safe to use from many threads at once. A connection found broken
// when a transaction begins (the database restarted since its last use) is replaced and
// the transaction begun again on the new one, so the caller never sees that loss.
class Database
{
public:
    virtual ~Database() = default;

    virtual Engine engine() const = 0;
    // Where the records live, for the start-up log ("SQLite /var/lib/.../avalnutri.sqlite").
    virtual QString describe() const = 0;
    virtual std::unique_ptr<Transaction> begin(Access access) = 0;
};

// Runs op(transaction) in one transaction: committed when op returns, rolled back when it
// throws (the exception is passed on). Answers what op answers.
template <typename Op> auto inTransaction(Database& db, Access access, Op&& op)
{
    std::unique_ptr<Transaction> tx = db.begin(access);
    if constexpr (std::is_void_v<decltype(op(*tx))>) {
        op(*tx);
        tx->commit();
    } else {
        auto result = op(*tx);
        tx->commit();
        return result;
    }
}

}  // namespace server::storage
