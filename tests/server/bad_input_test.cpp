// Bad input over HTTP: each gets a clear error answer, changes nothing, and the server
// serves the next request.

#include "test_server.h"

#include <records/packet_codec.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace servertest;
using records::Packet;
namespace layouts = records::layouts;

class BadInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server::app::ServerConfig c = TestServer::quietConfig();
        c.maxBodyBytes = 64 * 1024;
        server = std::make_unique<TestServer>(Engine::Sqlite, c);
        // A consultation with one recorded value, to show that nothing changes it.
        ASSERT_TRUE(recordValue(server->client(), demoKey(), u"00"_s, u"01"_s, u"70"_s).ok);
    }

    void TearDown() override
    {
        if (!server)
            return;
        // Nothing changed, and the server still serves.
        const Packet info = packetOf(server->client().GetInfoAval(demoKey(), u"01"_s));
        EXPECT_EQ(column(info, u"DSINFOAVAL"_s), QStringList{u"70"_s});
        EXPECT_EQ(packetOf(server->client().GetInfoAval(demoKey(), u"02"_s)).rows.size(), 0);
        EXPECT_EQ(packetOf(server->client().GetPacientes()).rows.size(), 6);
    }

    std::unique_ptr<TestServer> server;
};

TEST_F(BadInputTest, MalformedCallsAreRefusedWithTheirReason)
{
    // Missing and wrong tokens, bodies that are not {"args": [...]}, unknown methods,
    // argument counts and kinds, sizes and dates, deltas that are no delta: each is refused
    // with a status and a text that names the problem.
    struct Row
    {
        const char* method;
        std::string body;
        int status;
        const char* problem;
        const char* token = nullptr;  // nullptr: the server's
    };
    const std::string key = R"({"args": ["0001", "000000000001", "2026-12-06T00:00:00.000")";
    // A delta inserting a value, with its text changed.
    const auto delta = [](const QByteArray& from, const QByteArray& to) {
        const QJsonObject d =
            records::encodeDelta(DeltaBuilder(layouts::cdsInfoAval())
                                     .insert(infoRow(demoKey(), u"00"_s, u"02"_s, u"1"_s)));
        return QJsonDocument(QJsonObject{{u"args"_s, QJsonArray{d, QString()}}})
            .toJson(QJsonDocument::Compact)
            .replace(from, to)
            .toStdString();
    };
    // clang-format off
    const Row rows[] = {
        {"GetPacientes", R"({"args": []})", 401, "falta o token", ""},
        {"GetPacientes", R"({"args": []})", 401, "token de acesso inválido", "wrong"},
        {"GetPacientes", R"({"args": [)", 400, "JSON"},
        {"GetPacientes", "[]", 400, ""},
        {"GetPacientes", R"({"args": {}})", 400, ""},
        {"GetPacientes", "{}", 400, ""},
        {"GetPacientes", "", 400, ""},
        {"DropEverything", R"({"args": []})", 404, "DropEverything"},
        {"GetInfoAval", key + "]}", 400, "GetInfoAval espera 4 argumento(s) e recebeu 3"},
        {"GetInfoAval", key + ", 1]}", 400, "argumento 4 (tipo de dado) deve ser um texto"},
        {"GetDados", key + R"(, "45"]})", 400, "deve ser um número"},
        {"SetInfoAval", R"({"args": ["delta", ""]})", 400, "delta"},
        {"SetInfoAval", delta("2026-12-06T00:00:00.000", "ontem"), 400, "Data inválida no campo 'DTCONSPACI'"},
        {"SetInfoAval", delta(R"("op":"insert")", R"("op":"merge")"), 400, ""},
        {"GetObito", R"({"args": ["0000000000001", "0001"]})", 400, "mais de 12 caracteres"},
        {"GetInfoAval", R"({"args": ["0001", "1", "2026-13-01", "01"]})", 400, "data válida"},
        {"GetInfoAval", R"({"args": ["0001", "1", "06/12/2026", "01"]})", 400, "data válida"},
        {"GetInfoAval", R"({"args": ["0001", "1", "2026-02-30T00:00:00", "01"]})", 400, "data válida"},
        {"SetPaciente", R"({"args": ["0001", "9", "X", "0", "1990-02-31", false]})", 400, ""},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.method) + " " + row.body);
        const LoginAnswer a = server->post("/rpc/" + QByteArray(row.method),
                                           row.token ? QByteArray(row.token) : server->token(),
                                           QByteArray::fromStdString(row.body));
        const QString error = a.body.value(u"error"_s).toString();
        EXPECT_EQ(a.status, row.status);
        EXPECT_FALSE(a.body.value(u"ok"_s).toBool(true));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(error.contains(QString::fromUtf8(row.problem))) << error.toStdString();
    }
    // The client names the server when it refuses the token.
    const records::Reply r = server->newClient("wrong")->GetPacientes();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(u"recusou o token"_s)) << r.error.toStdString();
    EXPECT_TRUE(r.error.contains(u"http://127.0.0.1:%1"_s.arg(server->port())));
}

TEST_F(BadInputTest, DeltasThatCannotApplyAreRefusedWhole)
{
    const records::ConsultationKey k = demoKey();
    const QVariantMap stored = infoRow(k, u"00"_s, u"01"_s, u"70"_s);
    const QVariantMap fresh = infoRow(k, u"00"_s, u"02"_s, u"1"_s);
    const DeltaBuilder info(layouts::cdsInfoAval());

    // A field the dataset does not have.
    records::Delta unknownField = info;
    unknownField.fields.append(records::FieldDef{u"DSHACK"_s, records::FieldType::String, 10});
    unknownField.changes.append(
        {records::DeltaChange::Kind::Insert, {}, info.row(fresh) + QVariantList{u"x"_s}});
    // A key that changes, a key field missing, a wrong type.
    const QVariantMap moved = merged(stored, {{u"CDTBMETOAVAL"_s, u"01"_s}});
    records::Delta noKey = info;
    noKey.fields.removeAt(4);  // CDTIPODADO
    noKey.keyFields.removeAll(u"CDTIPODADO"_s);
    records::Delta wrongType = info;
    wrongType.fields[5].type = records::FieldType::Real;
    const QVariantMap missing = infoRow(k, u"49"_s, u"01"_s, u"1"_s);

    const QVariantMap empty = merged(fresh, {{u"CDTBMETOAVAL"_s, QString()}});
    const QVariantMap long31 = merged(fresh, {{u"DSINFOAVAL"_s, QString(31, QLatin1Char('9'))}});
    struct Row
    {
        const char* what;
        records::Delta delta;
        const char* problem;
        QString nullFields = QString();
    };
    // clang-format off
    const Row rows[] = {
        {"unknown field", unknownField, "campo desconhecido 'DSHACK'"},
        {"update of a missing row", DeltaBuilder(info).update(missing, missing),
         "registro não encontrado para alteração"},
        {"key changed", DeltaBuilder(info).update(stored, moved), "chave"},
        {"key field missing", noKey, ""},
        {"empty key", DeltaBuilder(info).insert(empty), ""},
        {"text over its size", DeltaBuilder(info).insert(long31), "mais de 30 caracteres"},
        {"wrong type", wrongType, ""},
        {"unknown null", DeltaBuilder(info).insert(fresh), "DSHACK", u"_DSOBSERAVAL_DSHACK"_s},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const records::Reply r = server->client().SetInfoAval(row.delta, row.nullFields);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(row.problem))) << r.error.toStdString();
    }

    // A delete of a missing row, on another dataset.
    const records::Reply r = server->client().SetResuAval(
        DeltaBuilder(layouts::cdsResuAval())
            .remove(
                merged(keyValues(k), {{u"CDTBMETOAVAL"_s, u"00"_s}, {u"CDSEQUAVAL"_s, u"01"_s}})));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(u"não encontrado para exclusão"_s)) << r.error.toStdString();
}

TEST_F(BadInputTest, TextFromTheClientNeverReachesSql)
{
    const records::Reply r =
        server->client().GetInfoAval({u"0001"_s, u"x' OR 1=1--"_s, demoKey().date}, u"01"_s);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(packetOf(r).isEmpty());
}

TEST(HttpClientTest, AConnectionTheServerClosedWhileIdleIsReplacedOnTheNextCall)
{
    server::app::ServerConfig config = TestServer::quietConfig();
    config.idleTimeoutMs = 200;
    TestServer server(Engine::Sqlite, config);
    ASSERT_TRUE(server.client().GetPacientes().ok);
    // The server drops idle connections: wait until it has closed this one (the client's
    // end is then waiting to close).
    ASSERT_TRUE(waitUntil([&] {
        return anySocket([&](const TcpSocket& t) {
            return t.remotePort == server.port() && t.state == TcpSocket::CloseWait;
        });
    }));
    const records::Reply r = server.client().GetPacientes();
    EXPECT_TRUE(r.ok) << r.error.toStdString();
}
