#pragma once

#include "database.h"
#include "database_location.h"
#include "writer_queue.h"

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
// kept, with its prepared statements, until the database is destroyed or found broken.
//
// SQLite admits one writer at a time: writing transactions of this server wait for
// their turn in a WriterQueue, in arrival order, before they take the write lock, and
// reads (write-ahead log) never wait for writers. PostgreSQL writes run side by side.
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
        bool broken = false;  // lost: the thread's next transaction opens a new one
        bool inTransaction = false;
    };

    // Writers of this database waiting for (or holding) their turn; SQLite only.
    const WriterQueue& writers() const { return m_writers; }

private:
    // The calling thread's connection, opened when it has none or its own is broken;
    // *opened tells whether it was opened by this call.
    ThreadConnection& connection(bool* opened = nullptr);
    void open(const QString& name);
    void drop(const std::thread::id& owner);
    void createSqliteFile() const;

    friend class SqlTransaction;

    const DatabaseLocation m_location;
    const QString m_prefix;
    std::mutex m_mutex;
    int m_counter = 0;
    std::map<std::thread::id, std::unique_ptr<ThreadConnection>> m_connections;
    WriterQueue m_writers;
};

}  // namespace server::storage
