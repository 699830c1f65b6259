// Users, sessions and the audit trail over HTTP on loopback, both engines: logins right
// and wrong, the lock-out and its end, expiry and logout on an injected clock, each role
// against a read and a write, and the audit row that goes with every change and only
// with it.

#include "engine_fixture.h"

#include <server/auth/password.h>

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;
using namespace servertest;

namespace {

const QString kPassword = u"senha-correta-1"_s;

QString errorOf(const LoginAnswer& a)
{
    return a.body.value(u"error"_s).toString();
}

}  // namespace

class AuthTest : public EngineTest
{
protected:
    server::app::ServerConfig serverConfig() override { return m_clock.config(); }
    void afterStart() override
    {
        m_clock.set(QDateTime(QDate(2026, 12, 6), QTime(13, 0), Qt::UTC));
        server->addUser(u"ana"_s, u"nutricionista"_s, kPassword);
        server->addUser(u"bia"_s, u"consulta"_s, kPassword);
        server->addUser(u"root"_s, u"admin"_s, kPassword);
    }

    LoginAnswer call(const QString& method, const QByteArray& token, const QJsonArray& args = {})
    {
        return server->post("/rpc/" + method.toLatin1(), token,
                            QJsonDocument(QJsonObject{{u"args"_s, args}}).toJson());
    }
    int patients(const QByteArray& token) { return call(u"GetPacientes"_s, token).status; }
    LoginAnswer addPatient(const QByteArray& token, const QString& code)
    {
        return call(u"SetPaciente"_s, token,
                    {u"0001"_s, code, u"Paciente"_s, u"1"_s, u"1980-01-01"_s, false});
    }
    int count(const QString& table, const QString& where)
    {
        return server->scalar(u"SELECT COUNT(*) FROM %1 WHERE %2"_s.arg(table, where)).toInt();
    }
    int status(const QString& login, const QString& password = kPassword)
    {
        return server->login(login, password).status;
    }

    ManualClock m_clock;
};

TEST_P(AuthTest, ASessionLastsItsHoursAndLogoutEndsIt)
{
    // The payload's user is read back by the client's own tests.
    const LoginAnswer ok = server->login(u"ana"_s, kPassword);
    ASSERT_EQ(ok.status, 200) << errorOf(ok).toStdString();
    EXPECT_EQ(ok.body[u"payload"_s][u"expires"_s].toString(), u"2026-12-06T21:00:00Z"_s);
    EXPECT_EQ(patients(ok.token), 200);
    // Only the hash of the token is kept.
    EXPECT_EQ(server->scalar(u"SELECT DSTOKENHASH FROM sessao"_s).toByteArray(),
              server::auth::sha256Hex(ok.token));

    const LoginAnswer out = server->post("/logout", ok.token, {});
    EXPECT_EQ(out.status, 200);
    EXPECT_TRUE(out.body.value(u"payload"_s).isNull());
    EXPECT_EQ(patients(ok.token), 401);
    EXPECT_EQ(server->post("/logout", ok.token, {}).status, 401);

    const QByteArray token = server->login(u"ana"_s, kPassword).token;
    m_clock.advance(std::chrono::hours(8) - std::chrono::seconds(1));
    EXPECT_EQ(patients(token), 200);
    m_clock.advance(std::chrono::seconds(1));
    const LoginAnswer expired = call(u"GetPacientes"_s, token);
    EXPECT_EQ(expired.status, 401);
    EXPECT_EQ(errorOf(expired), u"Sessão expirada. Entre novamente."_s);
    // No token, or one never handed out.
    EXPECT_EQ(patients({}), 401);
    EXPECT_EQ(patients(QByteArray(64, 'a')), 401);
}

TEST_P(AuthTest, WrongLoginsAreRefusedAlike)
{
    const std::pair<QString, QString> rows[] = {{u"ana"_s, u"senha-errada"_s},
                                                {u"ninguem"_s, kPassword},
                                                {u"ANA"_s, kPassword},
                                                {u"ana"_s, {}}};
    for (const auto& [login, password] : rows) {
        const LoginAnswer a = server->login(login, password);
        EXPECT_EQ(a.status, 401) << login.toStdString();
        EXPECT_EQ(errorOf(a), u"Login ou senha inválidos."_s);
        EXPECT_TRUE(a.token.isEmpty());
    }
    EXPECT_EQ(server->post("/login", {}, "{\"login\": \"ana\"}").status, 400);

    // A disabled user is told so, and its open sessions end.
    const QByteArray token = server->login(u"bia"_s, kPassword).token;
    server::storage::inTransaction(
        server->instance().database(), server::storage::Access::ReadWrite,
        [](server::storage::Transaction& tx) { server::auth::users::disable(tx, u"bia"_s); });
    const LoginAnswer disabled = server->login(u"bia"_s, kPassword);
    EXPECT_EQ(disabled.status, 401);
    EXPECT_TRUE(errorOf(disabled).contains(u"desativado"_s));
    EXPECT_EQ(patients(token), 401);
}

TEST_P(AuthTest, FiveRefusalsInARowLockTheLoginForFiveMinutes)
{
    // Four refusals and a success, twice: the count starts again. Then five in a row.
    for (const int refusals : {4, 4, 5}) {
        for (int i = 0; i < refusals; ++i)
            EXPECT_EQ(status(u"ana"_s, u"errada"_s), 401);
        if (refusals == 4) {
            EXPECT_EQ(status(u"ana"_s), 200);
        }
    }
    // Locked: even the right password is refused, saying for how long; others are not.
    const QString locked = errorOf(server->login(u"ana"_s, kPassword));
    EXPECT_TRUE(locked.contains(u"bloqueado"_s) && locked.contains(u"5 minuto"_s))
        << locked.toStdString();
    EXPECT_EQ(status(u"ana"_s), 429);
    EXPECT_EQ(status(u"root"_s), 200);

    m_clock.advance(std::chrono::seconds(4 * 60 + 50));
    EXPECT_EQ(status(u"ana"_s), 429);
    m_clock.advance(std::chrono::seconds(10));
    EXPECT_EQ(status(u"ana"_s), 200);
}

TEST_P(AuthTest, EachRoleAgainstAReadAndAWrite)
{
    const std::pair<QString, int> rows[] = {{u"ana"_s, 200}, {u"root"_s, 200}, {u"bia"_s, 403}};
    for (const auto& [login, writeStatus] : rows) {
        const QByteArray token = server->login(login, kPassword).token;
        EXPECT_EQ(patients(token), 200) << login.toStdString();
        const LoginAnswer write = addPatient(token, login);
        EXPECT_EQ(write.status, writeStatus) << login.toStdString();
        // The patient and its audit row, or neither.
        const QString where = u"CDPACIENTE = '%1'"_s.arg(login);
        EXPECT_EQ(count(u"paciente"_s, where), writeStatus == 200 ? 1 : 0);
        EXPECT_EQ(count(u"histalteracao"_s, where), writeStatus == 200 ? 1 : 0);
    }
    const QByteArray reader = server->login(u"bia"_s, kPassword).token;
    EXPECT_EQ(errorOf(addPatient(reader, u"x"_s)),
              u"Usuário sem permissão para alterar dados (perfil consulta)."_s);
    EXPECT_EQ(
        call(u"DelResuAval"_s, reader, {u"0001"_s, u"000000000001"_s, u"2026-12-06"_s}).status,
        403);
    // The service token acts as "servico", a nutritionist.
    EXPECT_EQ(addPatient(server->token(), u"99"_s).status, 200);
    EXPECT_EQ(count(u"histalteracao"_s, u"DSLOGIN = 'servico' AND CDPACIENTE = '99'"_s), 1);
}

TEST_P(AuthTest, EveryChangeLeavesAnAuditRowNoneChangesOrDeletes)
{
    const auto client = server->newClient(server->login(u"ana"_s, kPassword).token);
    const records::ConsultationKey k = demoKey();
    ASSERT_TRUE(recordValue(*client, k, u"00"_s, u"01"_s, u"70"_s).ok);
    // A change that cannot apply (a data type not in the catalogue) stores no row.
    EXPECT_FALSE(recordValue(*client, k, u"00"_s, u"99"_s, u"1"_s).ok);
    ASSERT_TRUE(client->DelResuAval(k).ok);

    const records::Packet trail =
        packetOf(client->call(u"GetHistAlteracoes"_s, {k.branch, k.patient, QString(), QString()}));
    ASSERT_EQ(trail.rows.size(), 2);
    QVariantMap first = rowValues(trail, 0);
    EXPECT_TRUE(first.take(u"DTCONSULTA"_s).toString().startsWith(u"2026-12-06"_s));
    EXPECT_TRUE(first.take(u"DTHRALTERACAO"_s).toString().endsWith(u"Z"_s));
    const QString delta = first.take(u"DELTA"_s).toString();
    EXPECT_FALSE(QJsonDocument::fromJson(delta.toUtf8()).object().isEmpty()) << delta.toStdString();
    EXPECT_TRUE(delta.contains(u"\"70\""_s));
    EXPECT_EQ(first, (QVariantMap{{u"LOGIN"_s, u"ana"_s},
                                  {u"NOME"_s, u"Usuário ana"_s},
                                  {u"METODO"_s, u"SetInfoAval"_s},
                                  {u"CDFILIAL"_s, u"0001"_s},
                                  {u"CDPACIENTE"_s, u"000000000001"_s}}));
    EXPECT_EQ(rowValues(trail, 1)[u"METODO"_s], u"DelResuAval"_s);

    // A read-only user reads the trail too; bounds in the future leave nothing.
    const auto reader = server->newClient(server->login(u"bia"_s, kPassword).token);
    const std::tuple<QString, QString, int> bounds[] = {
        {u"2999-01-01"_s, {}, 0}, {u"2000-01-01"_s, u"2999-12-31"_s, 2}, {u"ontem"_s, {}, -1}};
    for (const auto& [from, to, rows] : bounds) {
        const records::Reply r =
            reader->call(u"GetHistAlteracoes"_s, {k.branch, k.patient, from, to});
        EXPECT_EQ(r.ok ? packetOf(r).rows.size() : -1, rows) << from.toStdString();
    }

    // The database itself refuses to change or delete a row of the trail, whoever asks.
    for (const QString& statement :
         {u"UPDATE histalteracao SET DSLOGIN = 'outro'"_s, u"DELETE FROM histalteracao"_s})
        EXPECT_THROW(server->sql({statement}), server::storage::StorageError);
    EXPECT_EQ(count(u"histalteracao"_s, u"DSLOGIN = 'ana'"_s), 2);
}

SERVERTEST_BOTH_ENGINES(AuthTest);
