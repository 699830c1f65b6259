// The route table and the endpoint without sockets: what the HTTP suite (bad_input_test)
// cannot reach: a handler's storage failure, prefixes of the token, and that a refused
// signature never runs the handler.

#include <server/api/api_error.h>
#include <server/api/route_table.h>
#include <server/api/rpc_endpoint.h>
#include <server/api/token.h>
#include <server/auth/authenticator.h>
#include <server/storage/database.h>

#include <records/error.h>
#include <records/packet_codec.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace server::api;

namespace {

QJsonObject bodyOf(const RpcAnswer& a)
{
    return QJsonDocument::fromJson(a.body).object();
}

QByteArray call(const QJsonArray& args)
{
    return QJsonDocument(QJsonObject{{u"args"_s, args}}).toJson(QJsonDocument::Compact);
}

// A database without sessions: every token but the service token is unknown to it.
class NoSessions : public server::storage::Database
{
    struct Empty : server::storage::Transaction
    {
        QList<server::storage::SqlRow> select(const QString&, const QVariantList&) override
        {
            return {};
        }
        qint64 execute(const QString&, const QVariantList&) override { return 0; }
        void executeSchema(const QString&) override {}
        void commit() override {}
    };

public:
    server::storage::Engine engine() const override { return server::storage::Engine::Sqlite; }
    QString describe() const override { return u"nenhum"_s; }
    std::unique_ptr<server::storage::Transaction> begin(server::storage::Access) override
    {
        return std::make_unique<Empty>();
    }
};

server::auth::AuthOptions serviceToken()
{
    server::auth::AuthOptions options;
    options.serviceToken = "s3cret";
    return options;
}

class RoutingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        routes.add(u"Echo"_s, arg::key() + Signature{arg::text(u"tipo de dado"_s)},
                   [this](const Params& p) -> QJsonValue {
                       ++calls;
                       const records::ConsultationKey k = p.key();
                       return QJsonArray{k.branch, k.patient, records::formatDateTime(k.date),
                                         p.code(3, 2)};
                   });
        routes.add(u"Fails"_s, {arg::text(u"tipo de falha"_s)}, [](const Params& p) -> QJsonValue {
            using Kind = server::storage::StorageError::Kind;
            static const QMap<QString, Kind> kinds = {{u"read"_s, Kind::Read},
                                                      {u"write"_s, Kind::Write},
                                                      {u"lost"_s, Kind::Unavailable},
                                                      {u"busy"_s, Kind::Busy},
                                                      {u"other"_s, Kind::Failure}};
            if (p.text(0) == u"bug"_s)
                throw std::out_of_range("index 7 of 3: SEGREDO");
            throw server::storage::StorageError(
                u"Erro no banco de dados: disco cheio\nDETAIL: (0001, SEGREDO) "
                "[comando: INSERT INTO infoaval VALUES (?)]"_s,
                kinds.value(p.text(0)));
        });
        routes.add(u"Bad"_s, {}, [](const Params&) -> QJsonValue {
            throw records::Error(u"Pacote de dados inválido."_s);
        });
    }

    RouteTable routes;
    int calls = 0;
    NoSessions db;
    server::auth::Authenticator authenticator{db, serviceToken()};
    QStringList log;
    const RpcEndpoint endpoint{routes, authenticator, [this](const QString& line) { log << line; }};
    const QByteArray good = call({u"0001"_s, u"12"_s, u"2026-12-06"_s, u"01"_s});
};

}  // namespace

TEST_F(RoutingTest, TheEndpointChecksTheTokenFirstAndNeverRunsARefusedCall)
{
    RpcAnswer a = endpoint.handle(u"Echo"_s, "Bearer s3cret", good);
    EXPECT_EQ(a.status, 200);
    EXPECT_EQ(bodyOf(a).value(u"payload"_s).toArray(),
              (QJsonArray{u"0001"_s, u"12"_s, u"2026-12-06T00:00:00.000"_s, u"01"_s}));

    for (const QByteArray& auth : {QByteArray(), QByteArray("Bearer"), QByteArray("Bearer s3cre"),
                                   QByteArray("Bearer s3cret2"), QByteArray("Basic s3cret")}) {
        a = endpoint.handle(u"Echo"_s, auth, good);
        EXPECT_EQ(a.status, 401) << auth.toStdString();
        EXPECT_FALSE(bodyOf(a).value(u"ok"_s).toBool());
    }
    // Without the token even a malformed body or an unknown method says only "401".
    EXPECT_EQ(endpoint.handle(u"Nope"_s, QByteArray(), "{").status, 401);
    // A refused signature (its messages are checked over HTTP) never runs the handler.
    for (const QJsonArray& args :
         {QJsonArray{u"0001"_s}, QJsonArray{u"0001"_s, 12, u"d"_s, u"01"_s}})
        EXPECT_EQ(endpoint.handle(u"Echo"_s, "Bearer s3cret", call(args)).status, 400);
    EXPECT_EQ(calls, 1);

    a = endpoint.handle(u"Bad"_s, "Bearer s3cret", call({}));
    EXPECT_EQ(a.status, 400);
    EXPECT_EQ(bodyOf(a).value(u"error"_s).toString(), u"Pacote de dados inválido."_s);
    EXPECT_THROW(routes.add(u"Echo"_s, {}, [](const Params&) { return QJsonValue(); }),
                 std::logic_error);
}

TEST_F(RoutingTest, AServerFailureTellsTheClientItsKindAndTheLogTheWholeStory)
{
    const struct
    {
        const char* failure;
        int status;
        QString message;  // before " Tente novamente"
    } cases[] = {
        {"read", 500, u"Erro no banco de dados ao ler os dados."_s},
        {"write", 500, u"Erro no banco de dados ao gravar os dados."_s},
        {"lost", 503, u"Banco de dados indisponível no momento."_s},
        {"busy", 503, u"Banco de dados ocupado: a gravação não pôde começar."_s},
        {"other", 500, u"Erro no banco de dados."_s},
        {"bug", 500, u"Erro interno do servidor."_s},
    };
    QSet<QString> references;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure);
        log.clear();
        const RpcAnswer a = endpoint.handle(u"Fails"_s, "Bearer s3cret", call({c.failure}));
        EXPECT_EQ(a.status, c.status);
        const QString error = bodyOf(a).value(u"error"_s).toString();
        static const QRegularExpression shape(
            u"^(.*) Tente novamente.*; se persistir, avise o suporte "
            "\\(referência ([0-9a-f]{8})\\)\\.$"_s);
        const QRegularExpressionMatch m = shape.match(error);
        ASSERT_TRUE(m.hasMatch()) << error.toStdString();
        EXPECT_EQ(m.captured(1), c.message);
        references.insert(m.captured(2));
        // One line in the log, under the same reference, with what the client is not told.
        ASSERT_EQ(log.size(), 1);
        EXPECT_TRUE(log[0].startsWith(u"Fails falhou, referência "_s + m.captured(2) + u": "_s))
            << log[0].toStdString();
        EXPECT_TRUE(log[0].contains(u"SEGREDO"_s)) << log[0].toStdString();
        EXPECT_FALSE(log[0].contains(QLatin1Char('\n')));
    }
    EXPECT_EQ(references.size(), std::size(cases));
}

TEST_F(RoutingTest, TheEndpointDispatchesRequestsByPath)
{
    // The transport hands over every POST; "/rpc/<Method>" with a method name is a call,
    // "/login" (here with a body that is no login) and "/logout" are the sessions', the
    // rest is an unknown path whatever the token.
    const std::pair<QByteArray, int> rows[] = {
        {"/rpc/Echo", 200},  {"/rpc/Nope", 404},  {"/rpc/", 404},         {"/rpc/1Echo", 404},
        {"/rpc/Ec-ho", 404}, {"/rpc/Echo/", 404}, {"/rpcEcho", 404},      {"/Echo", 404},
        {"/rpc/Echo ", 404}, {"/login2", 404},    {"/rpc/rpc/Echo", 404}, {"/login", 400},
    };
    for (const auto& [path, status] : rows) {
        SCOPED_TRACE(path.toStdString());
        const RpcAnswer a = endpoint.handle(RpcRequest{path, "Bearer s3cret", good, {}});
        EXPECT_EQ(a.status, status);
        if (status == 404 && path != "/rpc/Nope") {
            EXPECT_TRUE(bodyOf(a)
                            .value(u"error"_s)
                            .toString()
                            .contains(QString::fromUtf8("Caminho desconhecido: POST " + path)));
        }
    }
    EXPECT_EQ(calls, 1);
}

TEST(TokenTest, GeneratedTokensDifferEachTime)
{
    // Their length is checked on the token file the server writes (process_test).
    EXPECT_NE(generateToken(), generateToken());
}
