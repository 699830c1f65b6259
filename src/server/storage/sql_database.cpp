#include "sql_database.h"

#include <QAtomicInt>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace server::storage {
namespace {

QAtomicInt g_instances;

QString driverText(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return text.isEmpty() ? QStringLiteral("erro desconhecido") : text;
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

// A transaction on the calling thread's connection.
class SqlTransaction final : public Transaction
{
public:
    SqlTransaction(SqlDatabase& owner, SqlDatabase::ThreadConnection& conn, Access access)
        : m_owner(owner),
          m_conn(conn),
          m_db(QSqlDatabase::database(conn.name, false))
    {
        QString begin;
        if (owner.engine() == Engine::Sqlite) {
            // Writers take the write lock up front: a deferred transaction that reads and
            // then writes can meet another writer and fail at once instead of waiting.
            begin = access == Access::ReadWrite ? QStringLiteral("BEGIN IMMEDIATE")
                                                : QStringLiteral("BEGIN");
        } else {
            begin = access == Access::ReadWrite ? QStringLiteral("BEGIN")
                                                : QStringLiteral("BEGIN READ ONLY");
        }
        run(begin);
    }

    ~SqlTransaction() override
    {
        if (!m_done) {
            QSqlQuery q(m_db);
            q.exec(QStringLiteral("ROLLBACK"));
        }
    }

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
        run(QStringLiteral("COMMIT"));
        m_done = true;
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
        const QString text = driverText(error);
        if (error.type() == QSqlError::ConnectionError || !m_db.isOpen()) {
            // The connection is gone (server restarted, network cut): the next transaction
            // of this thread opens a new one.
            m_done = true;
            m_owner.drop(std::this_thread::get_id());
        }
        Q_UNUSED(sql);
        throw StorageError(QStringLiteral("Erro no banco de dados: %1").arg(text));
    }

    SqlDatabase& m_owner;
    SqlDatabase::ThreadConnection& m_conn;
    QSqlDatabase m_db;
    bool m_done = false;
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
                throw StorageError(QStringLiteral("Não foi possível abrir %1: %2")
                                       .arg(m_location.display(), text));
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
    return std::make_unique<SqlTransaction>(*this, connection(), access);
}

SqlDatabase::ThreadConnection& SqlDatabase::connection()
{
    const std::thread::id self = std::this_thread::get_id();
    std::lock_guard lock(m_mutex);
    auto it = m_connections.find(self);
    if (it != m_connections.end())
        return *it->second;
    auto conn = std::make_unique<ThreadConnection>();
    conn->name = m_prefix + QString::number(++m_counter);
    open(conn->name);
    return *m_connections.emplace(self, std::move(conn)).first->second;
}

void SqlDatabase::drop(const std::thread::id& owner)
{
    std::lock_guard lock(m_mutex);
    auto it = m_connections.find(owner);
    if (it == m_connections.end())
        return;
    const QString name = it->second->name;
    it->second->statements.clear();
    // The transaction that noticed the loss still holds a handle; the connection is
    // closed now and its name freed once that handle goes.
    QSqlDatabase::database(name, false).close();
    m_connections.erase(it);
    QSqlDatabase::removeDatabase(name);
}

void SqlDatabase::open(const QString& name)
{
    QString failure;
    {
        QSqlDatabase db;
        if (m_location.engine == Engine::Sqlite) {
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(m_location.sqliteFile);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
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
            QStringLiteral("Não foi possível abrir %1: %2").arg(m_location.display(), failure));
    }
}

}  // namespace server::storage
