// The storage layer under concurrency and faults: writers of one SQLite file take turns
// in arrival order while readers go on, a connection the database dropped is replaced
// without the caller noticing, a failing statement reaches the client without its SQL
// or values, and the files the server creates are its user's only.

#include "engine_fixture.h"

#include <server/storage/sql_database.h>
#include <server/storage/writer_queue.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <future>
#include <thread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

using namespace servertest;
using server::storage::Access;
using server::storage::SqlDatabase;
using server::storage::StorageError;
using server::storage::Transaction;
using server::storage::WriterQueue;

namespace {

int modeOf(const QString& path)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return static_cast<int>(st.st_mode & 07777);
}

// Ends every session on the test database but the one that asks; answers how many.
int terminateOtherSessions()
{
    QString reason;
    SqlDatabase admin(server::storage::DatabaseLocation::postgres(*testPostgres(&reason)));
    return inTransaction(admin, Access::ReadWrite,
                         [](Transaction& tx) {
                             return tx.scalar(
                                 u"SELECT COUNT(*) FROM (SELECT pg_terminate_backend(pid) AS ended "
                                 "FROM pg_stat_activity WHERE datname = current_database() "
                                 "AND pid <> pg_backend_pid()) AS sessions WHERE ended"_s);
                         })
        .toInt();
}

}  // namespace

TEST(WriterQueueTest, APlaceThatGivesUpOrLeavesEarlyKeepsTheOthersInOrder)
{
    WriterQueue queue;
    WriterQueue::Place a = queue.join();
    WriterQueue::Place b = queue.join();
    WriterQueue::Place c = queue.join();
    EXPECT_TRUE(a.wait(0ms));
    EXPECT_FALSE(b.wait(1ms));  // a holds the turn: b gives up and stays in line
    EXPECT_FALSE(c.wait(0ms));
    b.leave();  // leaving from the middle
    EXPECT_FALSE(c.wait(0ms));
    {
        WriterQueue::Place moved = std::move(a);
        EXPECT_FALSE(a.joined());
        EXPECT_TRUE(moved.wait(0ms));  // the turn moves with the place
    }                                  // destroyed: the turn passes on
    EXPECT_TRUE(c.wait(0ms));
    WriterQueue::Place d = queue.join();
    EXPECT_FALSE(d.wait(0ms));
    c = queue.join();  // c leaves its old place and queues again, behind d
    EXPECT_TRUE(d.wait(0ms));
    EXPECT_EQ(queue.length(), 2u);
    d.leave();
    EXPECT_TRUE(c.wait(0ms));
}

class SqliteStorageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        db = std::make_unique<SqlDatabase>(
            server::storage::DatabaseLocation::sqlite(m_dir.filePath(u"test.sqlite"_s)));
        inTransaction(*db, Access::ReadWrite, [](Transaction& tx) {
            tx.executeSchema(u"CREATE TABLE counter (n INTEGER NOT NULL)"_s);
            tx.execute(u"INSERT INTO counter (n) VALUES (0)"_s);
        });
    }

    int scalar(const QString& sql)
    {
        return inTransaction(*db, Access::ReadOnly, [&](Transaction& tx) { return tx.scalar(sql); })
            .toInt();
    }

    QTemporaryDir m_dir;
    std::unique_ptr<SqlDatabase> db;
};

TEST_F(SqliteStorageTest, ManyConcurrentWritersAllSucceedAndEveryWriteIsThere)
{
    // Each write reads the counter and writes it back one higher: a write that ran beside
    // another, or was lost, leaves the counter short of the number of writes (the order of
    // turns is the queue's own test above).
    constexpr int kWriters = 16;
    constexpr int kWrites = 25;
    std::vector<std::thread> threads;
    for (int w = 0; w < kWriters; ++w) {
        threads.emplace_back([&] {
            for (int i = 0; i < kWrites; ++i) {
                EXPECT_NO_THROW(inTransaction(*db, Access::ReadWrite, [&](Transaction& tx) {
                    const int n = tx.scalar(u"SELECT n FROM counter"_s).toInt();
                    tx.execute(u"UPDATE counter SET n = ?"_s, {n + 1});
                }));
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(scalar(u"SELECT n FROM counter"_s), kWriters * kWrites);
    EXPECT_EQ(db->writers().length(), 0u);
}

TEST_F(SqliteStorageTest, ReadsGoOnWhileAWriterHoldsItsTurnAndWritersWait)
{
    std::promise<void> holding;
    std::promise<void> release;
    std::thread holder([&] {
        inTransaction(*db, Access::ReadWrite, [&](Transaction& tx) {
            tx.execute(u"UPDATE counter SET n = 1"_s);
            holding.set_value();
            release.get_future().wait();
        });
    });
    holding.get_future().wait();
    // A reader sees the last committed state at once, the writer's turn notwithstanding.
    EXPECT_EQ(scalar(u"SELECT n FROM counter"_s), 0);

    std::thread second([&] {
        inTransaction(*db, Access::ReadWrite,
                      [&](Transaction& tx) { tx.execute(u"UPDATE counter SET n = n + 10"_s); });
    });
    ASSERT_TRUE(waitUntil([&] { return db->writers().length() == 2; }));
    EXPECT_EQ(scalar(u"SELECT n FROM counter"_s), 0);
    release.set_value();
    holder.join();
    second.join();
    EXPECT_EQ(scalar(u"SELECT n FROM counter"_s), 11);
}

TEST_F(SqliteStorageTest, ATransactionInsideAnotherOnOneThreadIsRefused)
{
    // It would wait for its own thread's turn, or begin on a connection already in one.
    inTransaction(*db, Access::ReadOnly, [&](Transaction&) {
        EXPECT_THROW(db->begin(Access::ReadWrite), std::logic_error);
        EXPECT_THROW(db->begin(Access::ReadOnly), std::logic_error);
    });
    EXPECT_EQ(scalar(u"SELECT n FROM counter"_s), 0);
}

TEST(FileModeTest, DatabaseFilesAreOwnerOnlyInAnExistingDirectoryWhateverTheUmask)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dir.filePath(u"data"_s);
    ASSERT_TRUE(QDir().mkdir(data));
    ASSERT_EQ(::chmod(QFile::encodeName(data).constData(), 0755), 0);

    const mode_t previous = ::umask(0);
    {
        server::app::ServerConfig config = TestServer::quietConfig();
        config.dataDir = data;
        config.serviceTokenFile = data + u"/token"_s;
        server::app::ServerInstance instance(config);
        inTransaction(instance.database(), Access::ReadWrite, [](Transaction& tx) {
            tx.execute(u"UPDATE schema_version SET version = version"_s);
        });
        // While the server runs, the write-ahead log and its index are there too.
        for (const QString& name : {u"avalnutri.sqlite"_s, u"avalnutri.sqlite-wal"_s,
                                    u"avalnutri.sqlite-shm"_s, u"token"_s})
            EXPECT_EQ(modeOf(data + u"/"_s + name), 0600) << name.toStdString();
    }
    ::umask(previous);
    EXPECT_EQ(modeOf(data), 0755);  // the operator's directory is left as it was
}

// Faults of the server's database, on each engine.
class StorageFaultTest : public EngineTest
{
};

TEST_P(StorageFaultTest, AFailingStatementReachesTheClientWithoutItsSqlOrValues)
{
    // A write of one value and every read of the recorded values fail, with the value and
    // the table in the database's own message.
    const records::ConsultationKey k = demoKey();
    const QString secret = u"SEGREDO-4711"_s;
    server->schema({GetParam() == Engine::Sqlite
                        ? u"CREATE TRIGGER refuse BEFORE INSERT ON infoaval "
                          "WHEN NEW.DSINFOAVAL = 'SEGREDO-4711' "
                          "BEGIN SELECT RAISE(ABORT, 'recusado: SEGREDO-4711'); END"_s
                        : u"ALTER TABLE infoaval ADD CONSTRAINT refuse "
                          "CHECK (DSINFOAVAL <> 'SEGREDO-4711')"_s});

    const records::Reply write = recordValue(app(), k, u"00"_s, u"01"_s, secret);
    ASSERT_FALSE(write.ok);
    EXPECT_TRUE(write.error.startsWith(u"Erro no banco de dados ao gravar os dados."_s))
        << write.error.toStdString();
    EXPECT_TRUE(recordValue(app(), k, u"00"_s, u"01"_s, u"70"_s).ok);

    server->schema({u"ALTER TABLE infoaval RENAME TO infoaval_gone"_s});
    const records::Reply read = app().GetInfoAval(k, u"01"_s);
    ASSERT_FALSE(read.ok);
    EXPECT_TRUE(read.error.startsWith(u"Erro no banco de dados ao ler os dados."_s))
        << read.error.toStdString();

    for (const QString& error : {write.error, read.error}) {
        for (const QString& leak : {secret, u"infoaval"_s, u"INSERT"_s, u"SELECT"_s, u"recusado"_s,
                                    u"refuse"_s, u"0001"_s, u"000000000001"_s})
            EXPECT_FALSE(error.contains(leak, Qt::CaseInsensitive))
                << leak.toStdString() << " in " << error.toStdString();
    }
    server->schema({u"ALTER TABLE infoaval_gone RENAME TO infoaval"_s});
    EXPECT_EQ(column(packetOf(app().GetInfoAval(k, u"01"_s)), u"DSINFOAVAL"_s),
              QStringList{u"70"_s});
}

TEST_P(StorageFaultTest, EveryCallAfterTheDatabaseEndedTheSessionsSucceeds)
{
    // PostgreSQL ends the server's sessions (a restart, an administrator): the next call
    // of every worker thread still succeeds.
    if (GetParam() == Engine::Sqlite)
        GTEST_SKIP() << "only PostgreSQL ends sessions of its own";
    const records::ConsultationKey k = demoKey();
    server::storage::Database& db = server->instance().database();
    auto count = [&] {
        return inTransaction(
                   db, Access::ReadOnly,
                   [](Transaction& tx) { return tx.scalar(u"SELECT COUNT(*) FROM infoaval"_s); })
            .toInt();
    };

    // Several clients at once, so that several worker threads hold a connection.
    constexpr int kClients = 4;
    std::vector<std::unique_ptr<httpclient::HttpAppServer>> clients;
    for (int c = 0; c < kClients; ++c)
        clients.push_back(server->newClient(server->token()));
    auto everyClientCalls = [&](int round) {
        std::vector<std::future<records::Reply>> replies;
        for (int c = 0; c < kClients; ++c)
            replies.push_back(std::async(std::launch::async, [&, c] {
                const QString type = u"%1"_s.arg(round * kClients + c + 1, 2, 10, QChar(u'0'));
                return recordValue(*clients[c], k, u"00"_s, type, u"1"_s);
            }));
        for (auto& r : replies) {
            const records::Reply reply = r.get();
            EXPECT_TRUE(reply.ok) << reply.error.toStdString();
        }
    };

    everyClientCalls(0);
    EXPECT_EQ(count(), kClients);
    for (int round = 1; round <= 2; ++round) {
        ASSERT_GT(terminateOtherSessions(), 0);
        // The test's own transaction, on this thread's connection, is retried too.
        EXPECT_EQ(count(), round * kClients);
        everyClientCalls(round);
    }
    EXPECT_EQ(count(), 3 * kClients);
}

SERVERTEST_BOTH_ENGINES(StorageFaultTest);
