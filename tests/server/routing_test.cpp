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

using namespace server::api;

namespace {

QJsonObject bodyOf(const RpcAnswer& a)
{
    return QJsonDocument::fromJson(a.body).object();
}

QByteArray call(const QJsonArray& args)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("args"), args}})
        .toJson(QJsonDocument::Compact);
}

class RoutingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        routes.add(QStringLiteral("Echo"),
                   arg::key() + Signature{arg::text(QStringLiteral("tipo de dado"))},
                   [this](const Params& p) -> QJsonValue {
                       ++calls;
                       const records::ConsultationKey k = p.key();
                       return QJsonArray{k.branch, k.patient, records::formatDateTime(k.date),
                                         p.code(3, 2)};
                   });
        routes.add(QStringLiteral("Fails"), {}, [](const Params&) -> QJsonValue {
            throw server::storage::StorageError(
                QStringLiteral("Erro no banco de dados: disco cheio"));
        });
        routes.add(QStringLiteral("Bad"), {}, [](const Params&) -> QJsonValue {
            throw records::Error(QStringLiteral("Pacote de dados inválido."));
        });
        routes.add(QStringLiteral("Delta"), {arg::delta()},
                   [](const Params& p) -> QJsonValue { return p.delta(0).changes.size(); });
    }

    RouteTable routes;
    int calls = 0;
};

}  // namespace

TEST_F(RoutingTest, DispatchChecksTheSignatureBeforeTheHandlerRuns)
{
    const QJsonValue v = routes.dispatch(QStringLiteral("Echo"),
                                         {QStringLiteral("0001"), QStringLiteral("12"),
                                          QStringLiteral("2026-12-06"), QStringLiteral("01")});
    EXPECT_EQ(v.toArray().at(2).toString(), QStringLiteral("2026-12-06T00:00:00.000"));
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
    const QString day = QStringLiteral("2026-12-06");
    const Row rows[] = {
        {"Nope", {}, ApiError::Kind::NotFound, "Método remoto desconhecido: 'Nope'."},
        {"Echo",
         {QStringLiteral("0001")},
         ApiError::Kind::BadRequest,
         "Echo espera 4 argumento(s) e recebeu 1."},
        {"Echo",
         {QStringLiteral("0001"), 12, day, QStringLiteral("01")},
         ApiError::Kind::BadRequest,
         "Echo: o argumento 2 (paciente) deve ser um texto."},
        {"Echo",
         {QStringLiteral("0001"), QStringLiteral("12"), QStringLiteral("amanhã"),
          QStringLiteral("01")},
         ApiError::Kind::BadRequest,
         "Echo: o argumento 3 (data da consulta) não é uma data válida: 'amanhã'."},
        {"Echo",
         {QStringLiteral("00001"), QStringLiteral("12"), day, QStringLiteral("01")},
         ApiError::Kind::BadRequest,
         "Echo: o argumento 1 (filial) tem mais de 4 caracteres."},
        {"Echo",
         {QString(), QStringLiteral("12"), day, QStringLiteral("01")},
         ApiError::Kind::BadRequest,
         ""},
        {"Delta",
         {QJsonObject{{QStringLiteral("fields"), 1}}},
         ApiError::Kind::BadRequest,
         "Delta: o argumento 1 (delta) é inválido"},
    };
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
    EXPECT_THROW(routes.add(QStringLiteral("Echo"), {}, [](const Params&) { return QJsonValue(); }),
                 std::logic_error);
}

TEST_F(RoutingTest, TheEndpointChecksTheTokenFirstAndAnswersEveryFailure)
{
    const RpcEndpoint endpoint(routes, "s3cret");
    const QByteArray good = call({QStringLiteral("0001"), QStringLiteral("12"),
                                  QStringLiteral("2026-12-06"), QStringLiteral("01")});

    RpcAnswer a = endpoint.handle(QStringLiteral("Echo"), "Bearer s3cret", good);
    EXPECT_EQ(a.status, 200);
    EXPECT_TRUE(bodyOf(a).value(QStringLiteral("ok")).toBool());
    EXPECT_EQ(bodyOf(a).value(QStringLiteral("payload")).toArray().at(3).toString(),
              QStringLiteral("01"));

    for (const QByteArray& auth : {QByteArray(), QByteArray("Bearer"), QByteArray("Bearer s3cre"),
                                   QByteArray("Bearer s3cret2"), QByteArray("Basic s3cret")}) {
        a = endpoint.handle(QStringLiteral("Echo"), auth, good);
        EXPECT_EQ(a.status, 401) << auth.toStdString();
        EXPECT_FALSE(bodyOf(a).value(QStringLiteral("ok")).toBool());
    }
    EXPECT_EQ(calls, 1);
    // Without the token even a malformed body or an unknown method says only "401".
    EXPECT_EQ(endpoint.handle(QStringLiteral("Nope"), QByteArray(), "{").status, 401);

    EXPECT_EQ(endpoint.handle(QStringLiteral("Echo"), "bearer s3cret", "{").status, 400);
    EXPECT_EQ(endpoint.handle(QStringLiteral("Echo"), "Bearer s3cret", "{\"arg\": []}").status,
              400);
    EXPECT_EQ(endpoint.handle(QStringLiteral("Nope"), "Bearer s3cret", call({})).status, 404);
    a = endpoint.handle(QStringLiteral("Fails"), "Bearer s3cret", call({}));
    EXPECT_EQ(a.status, 500);
    EXPECT_EQ(bodyOf(a).value(QStringLiteral("error")).toString(),
              QStringLiteral("Erro no banco de dados: disco cheio"));
    a = endpoint.handle(QStringLiteral("Bad"), "Bearer s3cret", call({}));
    EXPECT_EQ(a.status, 400);
    EXPECT_EQ(bodyOf(a).value(QStringLiteral("error")).toString(),
              QString::fromUtf8("Pacote de dados inválido."));
}

TEST(TokenTest, ComparisonAndHeaderParsing)
{
    EXPECT_TRUE(constantTimeEquals("abc", "abc"));
    EXPECT_FALSE(constantTimeEquals("abc", "abd"));
    EXPECT_FALSE(constantTimeEquals("abc", "abcd"));
    EXPECT_FALSE(constantTimeEquals("", "a"));
    EXPECT_EQ(bearerToken("Bearer  xyz "), QByteArray("xyz"));
    EXPECT_EQ(bearerToken("BEARER xyz"), QByteArray("xyz"));
    EXPECT_TRUE(bearerToken("Token xyz").isEmpty());
    const QByteArray a = generateToken();
    EXPECT_EQ(a.size(), 64);
    EXPECT_NE(a, generateToken());
}
