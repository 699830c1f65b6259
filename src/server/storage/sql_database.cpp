#include "sql_database.h"

#include <QAtomicInt>
#include <QFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace server::storage {
namespace {

QAtomicInt g_instances;

// How long a write waits for its turn before it gives up; as long as SQLite's own busy
// timeout, which still covers writers of other processes on the same file.
constexpr std::chrono::seconds kWriteTurnLimit{15};
constexpr int kBusyTimeoutMs = 15000;

QString driverText(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return text.isEmpty() ? QStringLiteral("erro desconhecido") : text;
}

// Whether a PostgreSQL error says the connection itself is gone (server restarted or
// shut down, backend terminated, network cut) rather than a statement failing on it.
// (QSQLITE calls every failed step a connection error; a SQLite file is never "lost".)
bool connectionLost(Engine engine, const QSqlError& error)
{
    if (engine == Engine::Sqlite)
        return false;
    if (error.type() == QSqlError::ConnectionError)
        return true;
    const QString code = error.nativeErrorCode();
    // PostgreSQL: connection exceptions (class 08) and administrator or crash shutdown.
    return code.startsWith(QLatin1String("08")) || code == QLatin1String("57P01")
           || code == QLatin1String("57P02") || code == QLatin1String("57P03");
}

// SQLite's SQLITE_BUSY and SQLITE_LOCKED: another connection holds the lock.
bool sqliteBusy(const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6");
}

// A unique or primary key refused a row: PostgreSQL's unique_violation, SQLite's
// SQLITE_CONSTRAINT_UNIQUE and SQLITE_CONSTRAINT_PRIMARYKEY.
bool duplicateKey(Engine engine, const QSqlError& error)
{
    const QString code = error.nativeErrorCode();
    if (engine == Engine::Postgres)
        return code == QLatin1String("23505");
    return code == QLatin1String("2067") || code == QLatin1String("1555");
}

}  // namespace

QVariant Transaction::scalar(const QString& sql, const QVariantList& params)
{
    const QList<SqlRow> rows = select(sql, params);
    if (rows.isEmpty() || rows.first().isEmpty())
        return {};
    return rows.first().first();
}

bool Transaction::exists(const QString& sql, const QVariantList& params)
{
    return !select(sql, params).isEmpty();
}

// A transaction on the calling thread's connection. start() runs BEGIN; until it has,
// nothing is rolled back at destruction.
class SqlTransaction final : public Transaction
{
public:
    SqlTransaction(SqlDatabase& owner, SqlDatabase::ThreadConnection& conn, Access access)
        : m_owner(owner),
          m_conn(conn),
          m_db(QSqlDatabase::database(conn.name, false)),
          m_access(access)
    {
    }

    ~SqlTransaction() override
    {
        if (!m_done && !m_conn.broken) {
            QSqlQuery q(m_db);
            q.exec(QStringLiteral("ROLLBACK"));
        }
        if (m_started)
            m_conn.inTransaction = false;
    }

    // Begins the transaction; answers false and the driver's error when BEGIN fails.
    bool start(QSqlError* error)
    {
        QString begin;
        if (m_owner.engine() == Engine::Sqlite) {
            // Writers take the write lock up front: a deferred transaction that reads and
            // then writes can meet another writer and fail at once instead of waiting.
            begin = m_access == Access::ReadWrite ? QStringLiteral("BEGIN IMMEDIATE")
                                                  : QStringLiteral("BEGIN");
        } else {
            begin = m_access == Access::ReadWrite ? QStringLiteral("BEGIN")
                                                  : QStringLiteral("BEGIN READ ONLY");
        }
        QSqlQuery q(m_db);
        if (!q.exec(begin)) {
            *error = q.lastError();
            return false;
        }
        m_done = false;
        m_started = true;
        m_conn.inTransaction = true;
        return true;
    }

    // The writer's turn, held until the transaction ends.
    void hold(WriterQueue::Place turn) { m_turn = std::move(turn); }

    QList<SqlRow> select(const QString& sql, const QVariantList& params) override
    {
        QSqlQuery& q = prepared(sql);
        bind(q, params, sql);
        QList<SqlRow> rows;
        const int columns = q.record().count();
        while (q.next()) {
            SqlRow row;
            row.reserve(columns);
            for (int i = 0; i < columns; ++i)
                row.append(q.value(i));
            rows.append(std::move(row));
        }
        q.finish();
        return rows;
    }

    qint64 execute(const QString& sql, const QVariantList& params) override
    {
        QSqlQuery& q = prepared(sql);
        bind(q, params, sql);
        const qint64 affected = q.numRowsAffected();
        q.finish();
        return affected;
    }

    void executeSchema(const QString& sql) override { run(sql); }

    void commit() override
    {
        // A COMMIT that fails is followed by a ROLLBACK at destruction (harmless where the
        // database already ended the transaction); the turn is given up after that.
        run(QStringLiteral("COMMIT"));
        m_done = true;
        m_turn.leave();
    }

    [[noreturn]] static void raise(const SqlDatabase& owner, Access access, const QSqlError& error,
                                   const QString& sql)
    {
        StorageError::Kind kind =
            access == Access::ReadOnly ? StorageError::Kind::Read : StorageError::Kind::Write;
        if (connectionLost(owner.engine(), error))
            kind = StorageError::Kind::Unavailable;
        else if (owner.engine() == Engine::Sqlite && access == Access::ReadWrite
                 && sqliteBusy(error))
            kind = StorageError::Kind::Busy;
        else if (duplicateKey(owner.engine(), error))
            kind = StorageError::Kind::Duplicate;
        throw StorageError(QStringLiteral("Erro no banco de dados (%1): %2 [comando: %3]")
                               .arg(owner.describe(), driverText(error), sql.simplified()),
                           kind);
    }

private:
    QSqlQuery& prepared(const QString& sql)
    {
        auto it = m_conn.statements.find(sql);
        if (it == m_conn.statements.end()) {
            QSqlQuery q(m_db);
            q.setForwardOnly(true);
            if (!q.prepare(sql))
                fail(q.lastError(), sql);
            it = m_conn.statements.insert(sql, q);
        }
        return it.value();
    }

    void bind(QSqlQuery& q, const QVariantList& params, const QString& sql)
    {
        for (int i = 0; i < params.size(); ++i)
            q.bindValue(i, params[i]);
        if (!q.exec())
            fail(q.lastError(), sql);
    }

    void run(const QString& sql)
    {
        QSqlQuery q(m_db);
        if (!q.exec(sql))
            fail(q.lastError(), sql);
    }

    [[noreturn]] void fail(const QSqlError& error, const QString& sql)
    {
        if (connectionLost(m_owner.engine(), error) || !m_db.isOpen()) {
            // The connection is gone (server restarted, network cut): the next
            // transaction of this thread opens a new one. Nothing to roll back on it.
            m_conn.broken = true;
        }
        raise(m_owner, m_access, error, sql);
    }

    SqlDatabase& m_owner;
    SqlDatabase::ThreadConnection& m_conn;
    QSqlDatabase m_db;
    const Access m_access;
    bool m_done = true;
    bool m_started = false;
    WriterQueue::Place m_turn;
};

SqlDatabase::SqlDatabase(DatabaseLocation location)
    : m_location(std::move(location)),
      m_prefix(QStringLiteral("avalnutri-server-%1-").arg(g_instances.fetchAndAddOrdered(1)))
{
    if (m_location.engine == Engine::Postgres && !m_location.schema.isEmpty()) {
        // The schema of the search path must exist before the first statement runs.
        const QString name = m_prefix + QStringLiteral("setup");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(m_location.host);
            db.setPort(m_location.port);
            db.setUserName(m_location.user);
            db.setPassword(m_location.password);
            db.setDatabaseName(m_location.database);
            db.setConnectOptions(
                QStringLiteral("connect_timeout=5;options='-c client_min_messages=warning'"));
            if (!db.open()) {
                const QString text = driverText(db.lastError());
                db = QSqlDatabase();
                QSqlDatabase::removeDatabase(name);
                throw StorageError(
                    QStringLiteral("Não foi possível abrir %1: %2").arg(m_location.display(), text),
                    StorageError::Kind::Unavailable);
            }
            QSqlQuery q(db);
            // The name was checked to be a plain identifier when the address was read.
            if (!q.exec(QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(m_location.schema))) {
                // Another server may have created it at the same moment; the first
                // transaction will tell if it is really missing.
            }
        }
        QSqlDatabase::removeDatabase(name);
    }
    if (m_location.engine == Engine::Sqlite)
        createSqliteFile();
    connection();
}

SqlDatabase::~SqlDatabase()
{
    std::lock_guard lock(m_mutex);
    for (auto& [owner, conn] : m_connections) {
        const QString name = conn->name;
        conn.reset();  // prepared statements go before their connection
        QSqlDatabase::removeDatabase(name);
    }
    m_connections.clear();
}

std::unique_ptr<Transaction> SqlDatabase::begin(Access access)
{
    bool opened = false;
    ThreadConnection* conn = &connection(&opened);
    WriterQueue::Place turn;
    if (engine() == Engine::Sqlite && access == Access::ReadWrite) {
        // The turn comes before BEGIN IMMEDIATE, so writers wait here in arrival order
        // rather than in SQLite's busy handler.
        turn = m_writers.join();
        if (!turn.wait(kWriteTurnLimit))
            throw StorageError(QStringLiteral("Erro no banco de dados (%1): a gravação "
                                              "esperou %2 s pela vez de gravar.")
                                   .arg(describe())
                                   .arg(kWriteTurnLimit.count()),
                               StorageError::Kind::Busy);
    }
    QSqlError error;
    {
        auto tx = std::make_unique<SqlTransaction>(*this, *conn, access);
        if (tx->start(&error)) {
            tx->hold(std::move(turn));
            return tx;
        }
    }
    // BEGIN failed, so nothing of this call ran. On a connection kept from earlier calls
    // that usually means the database restarted or ended the session since its last use:
    // begin once more on a fresh connection. SQLite's "busy" after its own timeout is not
    // a lost connection, and a connection opened just now is not stale.
    const bool stale = !opened && !(engine() == Engine::Sqlite && sqliteBusy(error));
    if (stale) {
        conn->broken = true;
        conn = &connection(&opened);
        auto tx = std::make_unique<SqlTransaction>(*this, *conn, access);
        if (tx->start(&error)) {
            tx->hold(std::move(turn));
            return tx;
        }
    }
    if (connectionLost(engine(), error))
        conn->broken = true;
    SqlTransaction::raise(*this, access, error,
                          access == Access::ReadWrite ? QStringLiteral("BEGIN (gravação)")
                                                      : QStringLiteral("BEGIN (leitura)"));
}

SqlDatabase::ThreadConnection& SqlDatabase::connection(bool* opened)
{
    const std::thread::id self = std::this_thread::get_id();
    QString name;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_connections.find(self);
        // A transaction inside another on one thread would wait for its own thread's turn
        // or begin on a connection already in one (or, broken, drop it from under it).
        if (it != m_connections.end() && it->second->inTransaction)
            throw std::logic_error("a thread began a transaction inside another one");
        if (it != m_connections.end() && !it->second->broken) {
            if (opened)
                *opened = false;
            return *it->second;
        }
        name = m_prefix + QString::number(++m_counter);
    }
    drop(self);
    // Opened outside the lock: a connection that takes long to open (a database that
    // does not answer) holds up no other thread. Only this thread uses its own entry.
    open(name);
    auto conn = std::make_unique<ThreadConnection>();
    conn->name = name;
    if (opened)
        *opened = true;
    std::lock_guard lock(m_mutex);
    return *m_connections.insert_or_assign(self, std::move(conn)).first->second;
}

void SqlDatabase::drop(const std::thread::id& owner)
{
    std::unique_ptr<ThreadConnection> conn;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_connections.find(owner);
        if (it == m_connections.end())
            return;
        conn = std::move(it->second);
        m_connections.erase(it);
    }
    const QString name = conn->name;
    // A healthy connection frees its prepared statements before it closes. A broken one
    // goes first: its statements then find no driver and do not try to free themselves
    // on the dead connection (which would log a warning for each of them).
    if (!conn->broken)
        conn.reset();
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
    conn.reset();
}

void SqlDatabase::createSqliteFile() const
{
    // SQLite would create the file with 0644 less the umask; records of patients are for
    // the server's user only. Its -wal, -shm and -journal files take the mode of the
    // database file, whatever the umask. An existing file keeps the mode it has.
    const QByteArray path = QFile::encodeName(m_location.sqliteFile);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return;  // there already, or not creatable: opening it tells what is wrong
    ::fchmod(fd, 0600);
    ::close(fd);
}

void SqlDatabase::open(const QString& name)
{
    QString failure;
    {
        QSqlDatabase db;
        if (m_location.engine == Engine::Sqlite) {
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(m_location.sqliteFile);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
        } else {
            db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(m_location.host);
            db.setPort(m_location.port);
            db.setUserName(m_location.user);
            db.setPassword(m_location.password);
            db.setDatabaseName(m_location.database);
            // Notices ("already exists, skipping") are not for the server's log.
            QString settings = QStringLiteral("-c client_min_messages=warning");
            if (!m_location.schema.isEmpty())
                settings += QStringLiteral(" -c search_path=%1").arg(m_location.schema);
            db.setConnectOptions(QStringLiteral("connect_timeout=5;options='%1'").arg(settings));
        }
        if (!db.isValid()) {
            failure = QStringLiteral("o driver Qt SQL de %1 não está instalado")
                          .arg(engineName(m_location.engine));
        } else if (!db.open()) {
            failure = driverText(db.lastError());
        } else if (m_location.engine == Engine::Sqlite) {
            QSqlQuery q(db);
            const QStringList pragmas = {
                QStringLiteral("PRAGMA journal_mode=WAL"),
                // Every committed record reaches the disk before the answer is sent.
                QStringLiteral("PRAGMA synchronous=FULL"),
                QStringLiteral("PRAGMA foreign_keys=ON"),
            };
            for (const QString& pragma : pragmas) {
                if (!q.exec(pragma)) {
                    failure = driverText(q.lastError());
                    break;
                }
            }
        }
    }
    if (!failure.isEmpty()) {
        QSqlDatabase::removeDatabase(name);
        throw StorageError(
            QStringLiteral("Não foi possível abrir %1: %2").arg(m_location.display(), failure),
            StorageError::Kind::Unavailable);
    }
}

}  // namespace server::storage
