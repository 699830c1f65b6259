// What the server stores stays stored: whole deltas or nothing, across restarts and
// schema upgrades, and with several clients writing at once. One body, both engines.

#include "engine_fixture.h"

#include <server/storage/schema.h>

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

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
                       return tx.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
                   })
            .toInt();
    }
};

TEST_P(PersistenceTest, ADeltaWithOneFailingRowWritesNothingOfIt)
{
    const records::ConsultationKey k = demoKey();
    DeltaBuilder values(layouts::cdsInfoAval());
    values.insert(infoRow(k, QStringLiteral("00"), QStringLiteral("01"), QStringLiteral("70")))
        .insert(infoRow(k, QStringLiteral("00"), QStringLiteral("02"), QStringLiteral("1,70")))
        .insert(infoRow(k, QStringLiteral("00"), QStringLiteral("99"), QStringLiteral("1")));
    const records::Reply reply = app().SetInfoAval(values, QString());
    EXPECT_FALSE(reply.ok);
    EXPECT_TRUE(reply.error.contains(QStringLiteral("alteração 3"))) << reply.error.toStdString();
    EXPECT_EQ(count(QStringLiteral("infoaval")), 0);

    // The same for a failing update after good inserts, and for a later duplicate.
    ASSERT_TRUE(app()
                    .SetInfoAval(DeltaBuilder(layouts::cdsInfoAval())
                                     .insert(infoRow(k, QStringLiteral("00"), QStringLiteral("01"),
                                                     QStringLiteral("70"))),
                                 QString())
                    .ok);
    DeltaBuilder mixed(layouts::cdsInfoAval());
    mixed.insert(infoRow(k, QStringLiteral("49"), QStringLiteral("01"), QStringLiteral("70")))
        .update(infoRow(k, QStringLiteral("00"), QStringLiteral("01"), QStringLiteral("70")),
                infoRow(k, QStringLiteral("00"), QStringLiteral("01"), QStringLiteral("71")))
        .insert(infoRow(k, QStringLiteral("49"), QStringLiteral("01"), QStringLiteral("70")));
    EXPECT_FALSE(app().SetInfoAval(mixed, QString()).ok);
    const Packet stored = packetOf(app().GetInfoAval(k, QStringLiteral("01")));
    EXPECT_EQ(column(stored, QStringLiteral("CDTBMETOAVAL")), QStringList{QStringLiteral("00")});
    EXPECT_EQ(column(stored, QStringLiteral("DSINFOAVAL")), QStringList{QStringLiteral("70")});
}

TEST_P(PersistenceTest, RecordsSurviveARestartOfTheServer)
{
    const records::ConsultationKey k = demoKey();
    selectMethods(app(), k, {QStringLiteral("00"), QStringLiteral("30")});
    ASSERT_TRUE(app()
                    .SetInfoAval(DeltaBuilder(layouts::cdsInfoAval())
                                     .insert(infoRow(k, QStringLiteral("00"), QStringLiteral("01"),
                                                     QStringLiteral("82,4"))),
                                 QString())
                    .ok);
    const QVariantMap line =
        merged(keyValues(k), {{QStringLiteral("CDTBMETOAVAL"), QStringLiteral("00")},
                              {QStringLiteral("CDSEQUAVAL"), QStringLiteral("01")},
                              {QStringLiteral("DSRESUAVAL"), QStringLiteral("26,90")}});
    ASSERT_TRUE(app().SetResuAval(DeltaBuilder(layouts::cdsResuAval()).insert(line)).ok);
    ASSERT_TRUE(app()
                    .SetDiag(DeltaBuilder(layouts::cdsDiagNutri())
                                 .insert(merged(keyValues(k), {{QStringLiteral("DSHISTAVALNUT"),
                                                                QByteArray("{\\rtf1 ok}")}})))
                    .ok);
    ASSERT_TRUE(app()
                    .SetPaciente(QStringLiteral("0001"), QStringLiteral("000000000001"),
                                 QStringLiteral("Nome Alterado"), QStringLiteral("0"),
                                 QDateTime(QDate(1980, 1, 1), QTime(0, 0), Qt::UTC), false)
                    .ok);
    const QByteArray token = server->token();

    server->restart();

    EXPECT_EQ(server->token(), token);
    const records::Reply dados = app().GetDados(k, 45.03);
    const Packet anthro = packetOf(dados, 0);
    EXPECT_EQ(anthro.value(findRow(anthro, QStringLiteral("CDTBMETOAVAL"), QStringLiteral("00")),
                           QStringLiteral("IDTABELAAV")),
              QStringLiteral("S"));
    EXPECT_EQ(packetOf(dados, 1).value(0, QStringLiteral("IDTABELAAV")), QStringLiteral("S"));
    EXPECT_EQ(packetOf(dados, 2).rows.size(), 68);  // the seed did not run again
    EXPECT_EQ(
        column(packetOf(app().GetInfoAval(k, QStringLiteral("01"))), QStringLiteral("DSINFOAVAL")),
        QStringList{QStringLiteral("82,4")});
    EXPECT_EQ(column(packetOf(app().GetResuAval(k)), QStringLiteral("DSRESUAVAL")),
              QStringList{QStringLiteral("26,90")});
    EXPECT_EQ(packetOf(app().GetDiag(k)).value(0, QStringLiteral("DSHISTAVALNUT")).toByteArray(),
              QByteArray("{\\rtf1 ok}"));
    const Packet patients = packetOf(app().GetPacientes());
    EXPECT_EQ(patients.rows.size(), 6);
    EXPECT_EQ(patients.value(0, QStringLiteral("NMPACIENTE")), QStringLiteral("Nome Alterado"));
}

TEST_P(PersistenceTest, AnUpgradeStepKeepsEveryRecordAndANewerDatabaseIsRefused)
{
    const records::ConsultationKey k = demoKey();
    ASSERT_TRUE(app()
                    .SetInfoAval(DeltaBuilder(layouts::cdsInfoAval())
                                     .insert(infoRow(k, QStringLiteral("00"), QStringLiteral("01"),
                                                     QStringLiteral("60"))),
                                 QString())
                    .ok);
    QTemporaryDir dir;
    const QString stepFile = dir.filePath(QStringLiteral("002_test.sql"));
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
    EXPECT_EQ(
        column(packetOf(app().GetInfoAval(k, QStringLiteral("01"))), QStringLiteral("DSINFOAVAL")),
        QStringList{QStringLiteral("60")});

    // This server knows only its own steps: it refuses a database a newer server wrote.
    try {
        server::storage::upgradeSchema(db);
        FAIL() << "a newer schema was accepted";
    } catch (const server::storage::StorageError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("mais nova"))) << e.message().toStdString();
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
            const records::ConsultationKey k = demoKey(QStringLiteral("P%1").arg(c));
            for (int i = 0; i < kWrites; ++i) {
                const QString type = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
                DeltaBuilder d(layouts::cdsInfoAval());
                d.insert(infoRow(k, QStringLiteral("29"), type, QString::number(c * 100 + i)));
                if (!client->SetInfoAval(d, QString()).ok)
                    ++failures;
                if (!client->GetDadoAval(k).ok)
                    ++failures;
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(count(QStringLiteral("infoaval")), kClients * kWrites);
    for (int c = 0; c < kClients; ++c) {
        const Packet p = packetOf(
            app().GetInfoAval(demoKey(QStringLiteral("P%1").arg(c)), QStringLiteral("05")));
        EXPECT_EQ(column(p, QStringLiteral("DSINFOAVAL")),
                  QStringList{QString::number(c * 100 + 4)});
    }
}

SERVERTEST_BOTH_ENGINES(PersistenceTest);
