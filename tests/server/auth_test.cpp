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
namespace layouts = records::layouts;

namespace {

const QString kPassword = u"senha-correta-1"_s;

QByteArray rpcBody(const QJsonArray& args)
{
    return QJsonDocument(QJsonObject{{u"args"_s, args}}).toJson(QJsonDocument::Compact);
}

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

    void advance(std::chrono::seconds s) { m_clock.advance(s); }

    LoginAnswer call(const QString& method, const QByteArray& token, const QJsonArray& args)
    {
        return server->post("/rpc/" + method.toLatin1(), token, rpcBody(args));
    }
    LoginAnswer addPatient(const QByteArray& token, const QString& code)
    {
        return call(u"SetPaciente"_s, token,
                    {u"0001"_s, code, u"Paciente"_s, u"1"_s, u"1980-01-01"_s, false});
    }
    int auditRows(const QString& where = u"1 = 1"_s)
    {
        return server::storage::inTransaction(
                   server->instance().database(), server::storage::Access::ReadOnly,
                   [&](server::storage::Transaction& tx) {
                       return tx.scalar(u"SELECT COUNT(*) FROM histalteracao WHERE "_s + where);
                   })
            .toInt();
    }

    ManualClock m_clock;
};

TEST_P(AuthTest, LoginAnswersASessionAndLogoutEndsIt)
{
    const LoginAnswer ok = server->login(u"ana"_s, kPassword);
    ASSERT_EQ(ok.status, 200) << errorOf(ok).toStdString();
    const QJsonObject payload = ok.body.value(u"payload"_s).toObject();
    EXPECT_EQ(ok.token.size(), 64);
    EXPECT_EQ(payload.value(u"expires"_s).toString(), u"2026-12-06T21:00:00Z"_s);
    const QJsonObject user = payload.value(u"user"_s).toObject();
    EXPECT_EQ(user.value(u"login"_s).toString(), u"ana"_s);
    EXPECT_EQ(user.value(u"name"_s).toString(), u"Usuário ana"_s);
    EXPECT_EQ(user.value(u"role"_s).toString(), u"nutricionista"_s);
    EXPECT_EQ(call(u"GetPacientes"_s, ok.token, {}).status, 200);

    // Only the hash of the token is kept.
    EXPECT_EQ(server::storage::inTransaction(
                  server->instance().database(), server::storage::Access::ReadOnly,
                  [](server::storage::Transaction& tx) {
                      return tx.scalar(u"SELECT DSTOKENHASH FROM sessao"_s).toByteArray();
                  }),
              server::auth::sha256Hex(ok.token));

    const LoginAnswer out = server->post("/logout", ok.token, {});
    EXPECT_EQ(out.status, 200);
    EXPECT_TRUE(out.body.value(u"payload"_s).isNull());
    EXPECT_EQ(call(u"GetPacientes"_s, ok.token, {}).status, 401);
    EXPECT_EQ(server->post("/logout", ok.token, {}).status, 401);
}

TEST_P(AuthTest, WrongLoginsAreRefusedAlike)
{
    // clang-format off
    const std::tuple<QString, QString, int, QString> rows[] = {
        {u"ana"_s,     u"senha-errada"_s, 401, u"Login ou senha inválidos."_s},
        {u"ninguem"_s, kPassword,         401, u"Login ou senha inválidos."_s},
        {u"ANA"_s,     kPassword,         401, u"Login ou senha inválidos."_s},
        {u"ana"_s,     u""_s,             401, u"Login ou senha inválidos."_s},
    };
    // clang-format on
    for (const auto& [login, password, status, text] : rows) {
        const LoginAnswer a = server->login(login, password);
        EXPECT_EQ(a.status, status) << login.toStdString();
        EXPECT_EQ(errorOf(a), text);
        EXPECT_TRUE(a.token.isEmpty());
    }
    EXPECT_EQ(server->post("/login", {}, "{\"login\": \"ana\"}").status, 400);
    EXPECT_EQ(server->post("/login", {}, "nada").status, 400);

    // A disabled user is told so, and its open sessions end.
    const QByteArray token = server->login(u"bia"_s, kPassword).token;
    server::storage::inTransaction(
        server->instance().database(), server::storage::Access::ReadWrite,
        [](server::storage::Transaction& tx) { server::auth::users::disable(tx, u"bia"_s); });
    const LoginAnswer disabled = server->login(u"bia"_s, kPassword);
    EXPECT_EQ(disabled.status, 401);
    EXPECT_TRUE(errorOf(disabled).contains(u"desativado"_s));
    EXPECT_EQ(call(u"GetPacientes"_s, token, {}).status, 401);
}

TEST_P(AuthTest, FiveRefusalsInARowLockTheLoginForFiveMinutes)
{
    // Four refusals, then a success: the count starts again.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(server->login(u"ana"_s, u"errada"_s).status, 401);
    EXPECT_EQ(server->login(u"ana"_s, kPassword).status, 200);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(server->login(u"ana"_s, u"errada"_s).status, 401);
    EXPECT_EQ(server->login(u"ana"_s, kPassword).status, 200);

    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(server->login(u"ana"_s, u"errada"_s).status, 401);
    // Locked: even the right password is refused, saying for how long.
    const LoginAnswer locked = server->login(u"ana"_s, kPassword);
    EXPECT_EQ(locked.status, 429);
    EXPECT_TRUE(errorOf(locked).contains(u"bloqueado"_s)) << errorOf(locked).toStdString();
    EXPECT_TRUE(errorOf(locked).contains(u"5 minuto"_s)) << errorOf(locked).toStdString();
    // Other logins are not affected.
    EXPECT_EQ(server->login(u"root"_s, kPassword).status, 200);

    advance(std::chrono::seconds(4 * 60 + 50));
    EXPECT_EQ(server->login(u"ana"_s, kPassword).status, 429);
    advance(std::chrono::seconds(10));
    EXPECT_EQ(server->login(u"ana"_s, kPassword).status, 200);
}

TEST_P(AuthTest, ASessionExpiresAfterItsHours)
{
    const QByteArray token = server->login(u"ana"_s, kPassword).token;
    advance(std::chrono::hours(8) - std::chrono::seconds(1));
    EXPECT_EQ(call(u"GetPacientes"_s, token, {}).status, 200);
    advance(std::chrono::seconds(1));
    const LoginAnswer expired = call(u"GetPacientes"_s, token, {});
    EXPECT_EQ(expired.status, 401);
    EXPECT_EQ(errorOf(expired), u"Sessão expirada. Entre novamente."_s);
    // No token, or one never handed out.
    EXPECT_EQ(call(u"GetPacientes"_s, {}, {}).status, 401);
    EXPECT_EQ(call(u"GetPacientes"_s, QByteArray(64, 'a'), {}).status, 401);
}

TEST_P(AuthTest, EachRoleAgainstAReadAndAWrite)
{
    // clang-format off
    const std::tuple<QString, int> rows[] = {
        {u"ana"_s,  200},
        {u"root"_s, 200},
        {u"bia"_s,  403},
    };
    // clang-format on
    int n = 0;
    for (const auto& [login, writeStatus] : rows) {
        const QByteArray token = server->login(login, kPassword).token;
        EXPECT_EQ(call(u"GetPacientes"_s, token, {}).status, 200) << login.toStdString();
        const QString code = u"9%1"_s.arg(++n);
        const LoginAnswer write = addPatient(token, code);
        EXPECT_EQ(write.status, writeStatus) << login.toStdString();
        EXPECT_EQ(auditRows(u"CDPACIENTE = '%1'"_s.arg(code)), writeStatus == 200 ? 1 : 0);
        if (writeStatus == 403) {
            EXPECT_EQ(errorOf(write),
                      u"Usuário sem permissão para alterar dados (perfil consulta)."_s);
            const records::Packet patients = packetOf(server->newClient(token)->GetPacientes());
            EXPECT_EQ(findRow(patients, u"CDPACIENTE"_s, code), -1);
            EXPECT_EQ(call(u"DelResuAval"_s, token, {u"0001"_s, u"000000000001"_s, u"2026-12-06"_s})
                          .status,
                      403);
        }
    }
    // The service token acts as "servico", a nutritionist.
    EXPECT_EQ(addPatient(server->token(), u"99"_s).status, 200);
    EXPECT_EQ(auditRows(u"DSLOGIN = 'servico' AND CDPACIENTE = '99'"_s), 1);
}

TEST_P(AuthTest, EveryChangeLeavesItsAuditRowAndAFailedOneNone)
{
    const QByteArray token = server->login(u"ana"_s, kPassword).token;
    const auto client = server->newClient(token);
    const records::ConsultationKey k = demoKey();
    ASSERT_TRUE(recordValue(*client, k, u"00"_s, u"01"_s, u"70"_s).ok);
    // A change that cannot apply (a data type not in the catalogue) stores no row.
    EXPECT_FALSE(recordValue(*client, k, u"00"_s, u"99"_s, u"1"_s).ok);
    ASSERT_TRUE(client->DelResuAval(k).ok);
    EXPECT_EQ(auditRows(), 2);

    const records::Reply reply =
        client->call(u"GetHistAlteracoes"_s, {k.branch, k.patient, QString(), QString()});
    const records::Packet trail = packetOf(reply);
    ASSERT_EQ(trail.rows.size(), 2);
    const QVariantMap first = rowValues(trail, 0);
    EXPECT_EQ(first[u"LOGIN"_s], u"ana"_s);
    EXPECT_EQ(first[u"NOME"_s], u"Usuário ana"_s);
    EXPECT_EQ(first[u"METODO"_s], u"SetInfoAval"_s);
    EXPECT_EQ(first[u"CDFILIAL"_s], u"0001"_s);
    EXPECT_EQ(first[u"CDPACIENTE"_s], u"000000000001"_s);
    EXPECT_TRUE(first[u"DTCONSULTA"_s].toString().startsWith(u"2026-12-06"_s));
    EXPECT_TRUE(first[u"DTHRALTERACAO"_s].toString().endsWith(u"Z"_s));
    const QJsonObject delta =
        QJsonDocument::fromJson(first[u"DELTA"_s].toString().toUtf8()).object();
    EXPECT_FALSE(delta.isEmpty()) << first[u"DELTA"_s].toString().toStdString();
    EXPECT_TRUE(first[u"DELTA"_s].toString().contains(u"\"70\""_s));
    EXPECT_EQ(rowValues(trail, 1)[u"METODO"_s], u"DelResuAval"_s);

    // A read-only user reads the trail too; bounds in the future leave nothing.
    const auto reader = server->newClient(server->login(u"bia"_s, kPassword).token);
    EXPECT_EQ(packetOf(reader->call(u"GetHistAlteracoes"_s,
                                    {k.branch, k.patient, u"2999-01-01"_s, QString()}))
                  .rows.size(),
              0);
    EXPECT_EQ(packetOf(reader->call(u"GetHistAlteracoes"_s,
                                    {k.branch, k.patient, u"2000-01-01"_s, u"2999-12-31"_s}))
                  .rows.size(),
              2);
    EXPECT_FALSE(
        reader->call(u"GetHistAlteracoes"_s, {k.branch, k.patient, u"ontem"_s, QString()}).ok);
}

TEST_P(AuthTest, AuditRowsCannotBeChangedOrDeleted)
{
    ASSERT_EQ(addPatient(server->token(), u"98"_s).status, 200);
    ASSERT_EQ(auditRows(), 1);
    // No remote method names the trail except its listing, which only reads.
    for (const QString& method : server->instance().routes().methods()) {
        if (method.contains(u"HistAlteracoes"_s)) {
            EXPECT_EQ(method, u"GetHistAlteracoes"_s);
        }
    }
    // And the database itself refuses to change or delete a row, whoever asks.
    for (const QString& statement :
         {u"UPDATE histalteracao SET DSLOGIN = 'outro'"_s, u"DELETE FROM histalteracao"_s}) {
        EXPECT_THROW(server->sql({statement}), server::storage::StorageError)
            << statement.toStdString();
    }
    EXPECT_EQ(auditRows(u"DSLOGIN = 'servico'"_s), 1);
}

SERVERTEST_BOTH_ENGINES(AuthTest);
