#pragma once

#include "database.h"
#include "database_location.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace server::storage {

// The two engines through Qt SQL: QSQLITE (write-ahead log, busy timeout, full sync) and
// QPSQL. Qt SQL connections belong to the thread that opened them, so every thread that
// asks for a transaction gets a named connection of its own, opened on first use and
// kept, with its prepared statements, until the database is destroyed.
class SqlDatabase final : public Database
{
public:
    // Opens a first connection on the calling thread; throws StorageError when the
    // database cannot be reached or opened.
    explicit SqlDatabase(DatabaseLocation location);
    ~SqlDatabase() override;

    SqlDatabase(const SqlDatabase&) = delete;
    SqlDatabase& operator=(const SqlDatabase&) = delete;

    Engine engine() const override { return m_location.engine; }
    QString describe() const override { return m_location.display(); }
    std::unique_ptr<Transaction> begin(Access access) override;

    // One open connection of a thread with its prepared statements.
    struct ThreadConnection
    {
        QString name;
        QHash<QString, QSqlQuery> statements;
    };

private:
    ThreadConnection& connection();
    void open(const QString& name);
    void drop(const std::thread::id& owner);

    friend class SqlTransaction;

    const DatabaseLocation m_location;
    const QString m_prefix;
    std::mutex m_mutex;
    int m_counter = 0;
    std::map<std::thread::id, std::unique_ptr<ThreadConnection>> m_connections;
};

}  // namespace server::storage
