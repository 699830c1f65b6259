// The route table, parameter checks and the endpoint, without sockets.

#include <server/api/api_error.h>
#include <server/api/route_table.h>
#include <server/api/rpc_endpoint.h>
#include <server/api/token.h>
#include <server/storage/database.h>

#include <records/error.h>
#include <records/packet_codec.h>

#include <QJsonDocument>
#include <QJsonObject>

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
        routes.add(u"Fails"_s, {}, [](const Params&) -> QJsonValue {
            throw server::storage::StorageError(u"Erro no banco de dados: disco cheio"_s);
        });
        routes.add(u"Bad"_s, {}, [](const Params&) -> QJsonValue {
            throw records::Error(u"Pacote de dados inválido."_s);
        });
        routes.add(u"Delta"_s, {arg::delta()},
                   [](const Params& p) -> QJsonValue { return p.delta(0).changes.size(); });
    }

    RouteTable routes;
    int calls = 0;
};

}  // namespace

TEST_F(RoutingTest, DispatchChecksTheSignatureBeforeTheHandlerRuns)
{
    const QJsonValue v = routes.dispatch(u"Echo"_s, {u"0001"_s, u"12"_s, u"2026-12-06"_s, u"01"_s});
    EXPECT_EQ(v.toArray().at(2).toString(), u"2026-12-06T00:00:00.000"_s);
    EXPECT_EQ(calls, 1);

    // Count and kinds are checked before the handler runs; contents as the handler reads
    // them.
    struct Row
    {
        const char* method;
        QJsonArray args;
        ApiError::Kind kind;
        const char* message;  // the start of it
    };
    const QString day = u"2026-12-06"_s;
    const auto bad = ApiError::Kind::BadRequest;
    // clang-format off
    const Row rows[] = {
        {"Nope", {}, ApiError::Kind::NotFound, "Método remoto desconhecido: 'Nope'."},
        {"Echo", {u"0001"_s}, bad, "Echo espera 4 argumento(s) e recebeu 1."},
        {"Echo", {u"0001"_s, 12, day, u"01"_s}, bad,
         "Echo: o argumento 2 (paciente) deve ser um texto."},
        {"Echo", {u"0001"_s, u"12"_s, u"amanhã"_s, u"01"_s}, bad,
         "Echo: o argumento 3 (data da consulta) não é uma data válida: 'amanhã'."},
        {"Echo", {u"00001"_s, u"12"_s, day, u"01"_s}, bad,
         "Echo: o argumento 1 (filial) tem mais de 4 caracteres."},
        {"Echo", {QString(), u"12"_s, day, u"01"_s}, bad, ""},
        {"Delta", {QJsonObject{{u"fields"_s, 1}}}, bad, "Delta: o argumento 1 (delta) é inválido"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        try {
            routes.dispatch(QLatin1String(row.method), row.args);
            ADD_FAILURE() << "accepted";
        } catch (const ApiError& e) {
            EXPECT_EQ(e.kind(), row.kind);
            EXPECT_TRUE(e.message().startsWith(QString::fromUtf8(row.message)))
                << e.message().toStdString();
        }
    }
    EXPECT_EQ(calls, 4);  // the good call and the three refused only on their contents
}

TEST_F(RoutingTest, DuplicateRoutesAreAProgrammingError)
{
    EXPECT_THROW(routes.add(u"Echo"_s, {}, [](const Params&) { return QJsonValue(); }),
                 std::logic_error);
}

TEST_F(RoutingTest, TheEndpointChecksTheTokenFirstAndAnswersEveryFailure)
{
    const RpcEndpoint endpoint(routes, "s3cret");
    const QByteArray good = call({u"0001"_s, u"12"_s, u"2026-12-06"_s, u"01"_s});

    RpcAnswer a = endpoint.handle(u"Echo"_s, "Bearer s3cret", good);
    EXPECT_EQ(a.status, 200);
    EXPECT_TRUE(bodyOf(a).value(u"ok"_s).toBool());
    EXPECT_EQ(bodyOf(a).value(u"payload"_s).toArray().at(3).toString(), u"01"_s);

    for (const QByteArray& auth : {QByteArray(), QByteArray("Bearer"), QByteArray("Bearer s3cre"),
                                   QByteArray("Bearer s3cret2"), QByteArray("Basic s3cret")}) {
        a = endpoint.handle(u"Echo"_s, auth, good);
        EXPECT_EQ(a.status, 401) << auth.toStdString();
        EXPECT_FALSE(bodyOf(a).value(u"ok"_s).toBool());
    }
    EXPECT_EQ(calls, 1);
    // Without the token even a malformed body or an unknown method says only "401".
    EXPECT_EQ(endpoint.handle(u"Nope"_s, QByteArray(), "{").status, 401);

    EXPECT_EQ(endpoint.handle(u"Echo"_s, "bearer s3cret", "{").status, 400);
    EXPECT_EQ(endpoint.handle(u"Echo"_s, "Bearer s3cret", "{\"arg\": []}").status, 400);
    EXPECT_EQ(endpoint.handle(u"Nope"_s, "Bearer s3cret", call({})).status, 404);
    a = endpoint.handle(u"Fails"_s, "Bearer s3cret", call({}));
    EXPECT_EQ(a.status, 500);
    EXPECT_EQ(bodyOf(a).value(u"error"_s).toString(), u"Erro no banco de dados: disco cheio"_s);
    a = endpoint.handle(u"Bad"_s, "Bearer s3cret", call({}));
    EXPECT_EQ(a.status, 400);
    EXPECT_EQ(bodyOf(a).value(u"error"_s).toString(),
              QString::fromUtf8("Pacote de dados inválido."));
}

TEST(TokenTest, GeneratedTokensAreLongAndDifferEachTime)
{
    // How a header is read and compared is checked through the endpoint above.
    const QByteArray a = generateToken();
    EXPECT_EQ(a.size(), 64);
    EXPECT_NE(a, generateToken());
}
