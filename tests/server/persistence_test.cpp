// What the server stores stays stored: whole deltas or nothing, across restarts and
// schema upgrades, and with several clients writing at once. One body, both engines.

#include "engine_fixture.h"

#include <server/storage/schema.h>

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;

using namespace servertest;
using records::Packet;
namespace layouts = records::layouts;

class PersistenceTest : public EngineTest
{
protected:
    int count(const QString& table)
    {
        return server::storage::inTransaction(
                   server->instance().database(), server::storage::Access::ReadOnly,
                   [&](server::storage::Transaction& tx) {
                       return tx.scalar(u"SELECT COUNT(*) FROM %1"_s.arg(table));
                   })
            .toInt();
    }
};

TEST_P(PersistenceTest, ADeltaWithOneFailingRowWritesNothingOfIt)
{
    const records::ConsultationKey k = demoKey();
    DeltaBuilder values(layouts::cdsInfoAval());
    values.insert(infoRow(k, u"00"_s, u"01"_s, u"70"_s))
        .insert(infoRow(k, u"00"_s, u"02"_s, u"1,70"_s))
        .insert(infoRow(k, u"00"_s, u"99"_s, u"1"_s));
    const records::Reply reply = app().SetInfoAval(values, QString());
    EXPECT_FALSE(reply.ok);
    EXPECT_TRUE(reply.error.contains(u"alteração 3"_s)) << reply.error.toStdString();
    EXPECT_EQ(count(u"infoaval"_s), 0);

    // The same for a failing update after good inserts, and for a later duplicate.
    ASSERT_TRUE(recordValue(app(), k, u"00"_s, u"01"_s, u"70"_s).ok);
    DeltaBuilder mixed(layouts::cdsInfoAval());
    mixed.insert(infoRow(k, u"49"_s, u"01"_s, u"70"_s))
        .update(infoRow(k, u"00"_s, u"01"_s, u"70"_s), infoRow(k, u"00"_s, u"01"_s, u"71"_s))
        .insert(infoRow(k, u"49"_s, u"01"_s, u"70"_s));
    EXPECT_FALSE(app().SetInfoAval(mixed, QString()).ok);
    const Packet stored = packetOf(app().GetInfoAval(k, u"01"_s));
    EXPECT_EQ(column(stored, u"CDTBMETOAVAL"_s), QStringList{u"00"_s});
    EXPECT_EQ(column(stored, u"DSINFOAVAL"_s), QStringList{u"70"_s});
}

TEST_P(PersistenceTest, RecordsSurviveARestartOfTheServer)
{
    const records::ConsultationKey k = demoKey();
    selectMethods(app(), k, {u"00"_s, u"30"_s});
    ASSERT_TRUE(recordValue(app(), k, u"00"_s, u"01"_s, u"82,4"_s).ok);
    const QVariantMap line = merged(
        keyValues(k),
        {{u"CDTBMETOAVAL"_s, u"00"_s}, {u"CDSEQUAVAL"_s, u"01"_s}, {u"DSRESUAVAL"_s, u"26,90"_s}});
    ASSERT_TRUE(app().SetResuAval(DeltaBuilder(layouts::cdsResuAval()).insert(line)).ok);
    ASSERT_TRUE(app()
                    .SetDiag(DeltaBuilder(layouts::cdsDiagNutri())
                                 .insert(merged(keyValues(k),
                                                {{u"DSHISTAVALNUT"_s, QByteArray("{\\rtf1 ok}")}})))
                    .ok);
    ASSERT_TRUE(app()
                    .SetPaciente(u"0001"_s, u"000000000001"_s, u"Nome Alterado"_s, u"0"_s,
                                 QDateTime(QDate(1980, 1, 1), QTime(0, 0), Qt::UTC), false)
                    .ok);
    const QByteArray token = server->token();

    server->restart();

    EXPECT_EQ(server->token(), token);
    const records::Reply dados = app().GetDados(k, 45.03);
    const Packet anthro = packetOf(dados, 0);
    EXPECT_EQ(anthro.value(findRow(anthro, u"CDTBMETOAVAL"_s, u"00"_s), u"IDTABELAAV"_s), u"S"_s);
    EXPECT_EQ(packetOf(dados, 1).value(0, u"IDTABELAAV"_s), u"S"_s);
    EXPECT_EQ(packetOf(dados, 2).rows.size(), 68);  // the seed did not run again
    EXPECT_EQ(column(packetOf(app().GetInfoAval(k, u"01"_s)), u"DSINFOAVAL"_s),
              QStringList{u"82,4"_s});
    EXPECT_EQ(column(packetOf(app().GetResuAval(k)), u"DSRESUAVAL"_s), QStringList{u"26,90"_s});
    EXPECT_EQ(packetOf(app().GetDiag(k)).value(0, u"DSHISTAVALNUT"_s).toByteArray(),
              QByteArray("{\\rtf1 ok}"));
    const Packet patients = packetOf(app().GetPacientes());
    EXPECT_EQ(patients.rows.size(), 6);
    EXPECT_EQ(patients.value(0, u"NMPACIENTE"_s), u"Nome Alterado"_s);
}

TEST_P(PersistenceTest, AnUpgradeStepKeepsEveryRecordAndANewerDatabaseIsRefused)
{
    const records::ConsultationKey k = demoKey();
    ASSERT_TRUE(recordValue(app(), k, u"00"_s, u"01"_s, u"60"_s).ok);
    QTemporaryDir dir;
    const QString stepFile = dir.filePath(u"002_test.sql"_s);
    QFile f(stepFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("-- a later step\n"
            "ALTER TABLE infoaval ADD COLUMN DSEXTRA TEXT;\n"
            "CREATE TABLE extra (CDEXTRA TEXT NOT NULL PRIMARY KEY, DADO ${BLOB});\n");
    f.close();

    QList<server::storage::SchemaStep> steps = server::storage::schemaSteps();
    const int current = server::storage::latestSchemaVersion();
    steps.append({current + 1, stepFile});
    server::storage::Database& db = server->instance().database();
    const server::storage::UpgradeResult up = server::storage::upgradeSchema(db, steps);
    EXPECT_EQ(up.from, current);
    EXPECT_EQ(up.to, current + 1);
    EXPECT_EQ(server::storage::upgradeSchema(db, steps).from, current + 1);  // applied once
    EXPECT_EQ(column(packetOf(app().GetInfoAval(k, u"01"_s)), u"DSINFOAVAL"_s),
              QStringList{u"60"_s});

    // This server knows only its own steps: it refuses a database a newer server wrote.
    try {
        server::storage::upgradeSchema(db);
        FAIL() << "a newer schema was accepted";
    } catch (const server::storage::StorageError& e) {
        EXPECT_TRUE(e.message().contains(u"mais nova"_s)) << e.message().toStdString();
    }
}

TEST_P(PersistenceTest, SeveralClientsWritingDifferentConsultationsLoseNothing)
{
    constexpr int kClients = 4;
    constexpr int kWrites = 15;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int c = 0; c < kClients; ++c) {
        threads.emplace_back([&, c] {
            auto client = server->newClient(server->token());
            const records::ConsultationKey k = demoKey(u"P%1"_s.arg(c));
            for (int i = 0; i < kWrites; ++i) {
                const QString type = u"%1"_s.arg(i + 1, 2, 10, QLatin1Char('0'));
                if (!recordValue(*client, k, u"29"_s, type, QString::number(c * 100 + i)).ok)
                    ++failures;
                if (!client->GetDadoAval(k).ok)
                    ++failures;
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(count(u"infoaval"_s), kClients * kWrites);
    for (int c = 0; c < kClients; ++c) {
        const Packet p = packetOf(app().GetInfoAval(demoKey(u"P%1"_s.arg(c)), u"05"_s));
        EXPECT_EQ(column(p, u"DSINFOAVAL"_s), QStringList{QString::number(c * 100 + 4)});
    }
}

SERVERTEST_BOTH_ENGINES(PersistenceTest);
