// Bad input over HTTP: each gets a clear error answer, changes nothing, and the server
// serves the next request.

#include "test_server.h"

#include <records/packet_codec.h>

#include <httplib.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using namespace servertest;
using records::Packet;
namespace layouts = records::layouts;

namespace {

struct Answer
{
    int status = 0;
    QJsonObject body;
    QString error() const { return body.value(u"error"_s).toString(); }
};

}  // namespace

class BadInputTest : public ::testing::Test
{
protected:
    static server::app::ServerConfig smallBodies()
    {
        server::app::ServerConfig c = TestServer::quietConfig();
        c.maxBodyBytes = 64 * 1024;
        return c;
    }

    void SetUp() override
    {
        server = std::make_unique<TestServer>(Engine::Sqlite, smallBodies());
        http = std::make_unique<httplib::Client>("127.0.0.1", server->port());
        http->set_read_timeout(10, 0);
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

    Answer post(const std::string& method, const std::string& body,
                const std::string& token = "<server>")
    {
        httplib::Headers headers;
        const std::string t = token == "<server>" ? server->token().toStdString() : token;
        if (!t.empty())
            headers.emplace("Authorization", "Bearer " + t);
        auto res = http->Post(("/rpc/" + method).c_str(), headers, body, "application/json");
        Answer a;
        if (!res) {
            ADD_FAILURE() << "no answer: " << httplib::to_string(res.error());
            return a;
        }
        a.status = res->status;
        a.body = QJsonDocument::fromJson(QByteArray::fromStdString(res->body)).object();
        EXPECT_FALSE(a.body.value(u"ok"_s).toBool());
        return a;
    }

    Answer call(const QString& method, const QJsonArray& args)
    {
        return post(method.toStdString(), QJsonDocument(QJsonObject{{u"args"_s, args}})
                                              .toJson(QJsonDocument::Compact)
                                              .toStdString());
    }

    std::unique_ptr<TestServer> server;
    std::unique_ptr<httplib::Client> http;
};

TEST_F(BadInputTest, TheTokenIsCheckedBeforeAnythingElse)
{
    Answer a = post("GetPacientes", R"({"args": []})", "");
    EXPECT_EQ(a.status, 401);
    EXPECT_TRUE(a.error().contains(u"falta o token"_s)) << a.error().toStdString();
    a = post("GetPacientes", R"({"args": []})", "wrong");
    EXPECT_EQ(a.status, 401);
    EXPECT_TRUE(a.error().contains(u"token de acesso inválido"_s));
    // The client names the server when it refuses the token.
    auto wrong = server->newClient("wrong");
    const records::Reply r = wrong->GetPacientes();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(u"recusou o token"_s)) << r.error.toStdString();
    EXPECT_TRUE(r.error.contains(u"http://127.0.0.1:%1"_s.arg(server->port())));
}

TEST_F(BadInputTest, MalformedCallsAreRefusedWithTheirReason)
{
    // Bodies that are not {"args": [...]}, unknown methods, argument counts and kinds,
    // sizes and dates: each is refused with a status and a text that names the problem.
    struct Row
    {
        const char* method;
        const char* body;
        int status;
        const char* problem;
    };
    const char* const key = R"("0001", "000000000001", "2026-12-06T00:00:00.000")";
    auto args = [&](const char* after) {
        return QStringLiteral(R"({"args": [%1%2]})")
            .arg(QLatin1String(key), QLatin1String(after))
            .toStdString();
    };
    // clang-format off
    const Row rows[] = {
        {"GetPacientes", R"({"args": [)", 400, "JSON"},
        {"GetPacientes", "[]", 400, ""},
        {"GetPacientes", R"({"args": {}})", 400, ""},
        {"GetPacientes", "{}", 400, ""},
        {"GetPacientes", "", 400, ""},
        {"DropEverything", R"({"args": []})", 404, "DropEverything"},
        {"GetInfoAval", nullptr, 400, "GetInfoAval espera 4 argumento(s) e recebeu 3"},
        {"GetInfoAval", ", 1", 400, "argumento 4 (tipo de dado) deve ser um texto"},
        {"GetDados", R"(, "45")", 400, "deve ser um número"},
        {"SetInfoAval", R"({"args": ["delta", ""]})", 400, "delta"},
        {"GetObito", R"({"args": ["0000000000001", "0001"]})", 400, "mais de 12 caracteres"},
        {"GetInfoAval", R"({"args": ["0001", "1", "2026-13-01", "01"]})", 400, "data válida"},
        {"GetInfoAval", R"({"args": ["0001", "1", "06/12/2026", "01"]})", 400, "data válida"},
        {"GetInfoAval", R"({"args": ["0001", "1", "2026-02-30T00:00:00", "01"]})", 400,
         "data válida"},
        {"SetPaciente", R"({"args": ["0001", "9", "X", "0", "1990-02-31", false]})", 400, ""},
    };
    // clang-format on
    for (const Row& row : rows) {
        // A body starting with ", " is the arguments after the consultation key; none is
        // the key alone.
        const std::string body = row.body == nullptr  ? args("")
                                 : row.body[0] == ',' ? args(row.body)
                                                      : std::string(row.body);
        SCOPED_TRACE(std::string(row.method) + " " + body);
        const Answer a = post(row.method, body);
        EXPECT_EQ(a.status, row.status);
        EXPECT_FALSE(a.error().isEmpty());
        EXPECT_TRUE(a.error().contains(QString::fromUtf8(row.problem))) << a.error().toStdString();
    }

    // Paths that are not a call.
    auto res = http->Get("/rpc/GetPacientes");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 404);
    res = http->Post("/other", "{}", "application/json");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 404);
    EXPECT_TRUE(QByteArray::fromStdString(res->body).contains("\"ok\":false"));

    // A date inside a delta.
    QJsonObject delta = records::encodeDelta(
        DeltaBuilder(layouts::cdsInfoAval()).insert(infoRow(demoKey(), u"00"_s, u"02"_s, u"1"_s)));
    QJsonArray changes = delta.value(u"changes"_s).toArray();
    QJsonObject change = changes[0].toObject();
    QJsonArray row = change.value(u"new"_s).toArray();
    row[2] = u"ontem"_s;
    change.insert(u"new"_s, row);
    changes[0] = change;
    delta.insert(u"changes"_s, changes);
    const Answer a = call(u"SetInfoAval"_s, {delta, QString()});
    EXPECT_EQ(a.status, 400);
    EXPECT_TRUE(a.error().contains(u"Data inválida no campo 'DTCONSPACI'"_s))
        << a.error().toStdString();
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

    // A delta that is not a delta.
    QJsonObject broken = records::encodeDelta(DeltaBuilder(info).insert(stored));
    broken.insert(u"changes"_s, QJsonArray{QJsonObject{{u"op"_s, u"merge"_s}}});
    EXPECT_EQ(call(u"SetInfoAval"_s, {broken, QString()}).status, 400);
}

TEST_F(BadInputTest, TextFromTheClientNeverReachesSql)
{
    const QString injection = u"01' OR '1'='1"_s;
    EXPECT_FALSE(server->client().GetInfoAval(demoKey(), injection).ok);  // longer than a code
    const records::Reply r =
        server->client().GetInfoAval({u"0001"_s, u"x' OR 1=1--"_s, demoKey().date}, u"01"_s);
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(packetOf(r).isEmpty());
}

TEST(HttpClientTest, AServerThatIsDownGivesAnErrorNamingItsAddress)
{
    // A port bound and never listened on: connections to it are refused, and nothing else
    // can take it while the socket stays open.
    const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    socklen_t len = sizeof addr;
    ::getsockname(sock, reinterpret_cast<sockaddr*>(&addr), &len);
    const int port = ntohs(addr.sin_port);
    httpclient::HttpAppServer::Options o;
    o.port = port;
    o.token = "x";
    o.connectTimeoutMs = 1000;
    httpclient::HttpAppServer client(o);
    const records::Reply r = client.GetPacientes();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(u"http://127.0.0.1:%1"_s.arg(port))) << r.error.toStdString();
    EXPECT_TRUE(r.error.contains(u"inacessível"_s));
    ::close(sock);
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
