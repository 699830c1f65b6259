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

    auto failure = [this](const QString& method, const QJsonArray& args) {
        try {
            routes.dispatch(method, args);
        } catch (const ApiError& e) {
            return std::make_pair(e.kind(), e.message());
        }
        return std::make_pair(ApiError::Kind::Internal, QStringLiteral("no error"));
    };
    auto [kind, message] = failure(QStringLiteral("Nope"), {});
    EXPECT_EQ(kind, ApiError::Kind::NotFound);
    EXPECT_EQ(message, QStringLiteral("Método remoto desconhecido: 'Nope'."));

    std::tie(kind, message) = failure(QStringLiteral("Echo"), {QStringLiteral("0001")});
    EXPECT_EQ(kind, ApiError::Kind::BadRequest);
    EXPECT_EQ(message, QStringLiteral("Echo espera 4 argumento(s) e recebeu 1."));

    std::tie(kind, message) =
        failure(QStringLiteral("Echo"),
                {QStringLiteral("0001"), 12, QStringLiteral("2026-12-06"), QStringLiteral("01")});
    EXPECT_EQ(message, QStringLiteral("Echo: o argumento 2 (paciente) deve ser um texto."));
    EXPECT_EQ(calls, 1);  // count and kinds are checked before the handler runs

    // Contents are checked as the handler reads them.

    std::tie(kind, message) =
        failure(QStringLiteral("Echo"), {QStringLiteral("0001"), QStringLiteral("12"),
                                         QStringLiteral("amanhã"), QStringLiteral("01")});
    EXPECT_EQ(message,
              QString::fromUtf8(
                  "Echo: o argumento 3 (data da consulta) não é uma data válida: 'amanhã'."));

    std::tie(kind, message) =
        failure(QStringLiteral("Echo"), {QStringLiteral("00001"), QStringLiteral("12"),
                                         QStringLiteral("2026-12-06"), QStringLiteral("01")});
    EXPECT_EQ(message, QStringLiteral("Echo: o argumento 1 (filial) tem mais de 4 caracteres."));

    std::tie(kind, message) =
        failure(QStringLiteral("Echo"), {QString(), QStringLiteral("12"),
                                         QStringLiteral("2026-12-06"), QStringLiteral("01")});
    EXPECT_EQ(kind, ApiError::Kind::BadRequest);

    std::tie(kind, message) =
        failure(QStringLiteral("Delta"), {QJsonObject{{QStringLiteral("fields"), 1}}});
    EXPECT_EQ(kind, ApiError::Kind::BadRequest);
    EXPECT_TRUE(message.startsWith(QStringLiteral("Delta: o argumento 1 (delta) é inválido")))
        << message.toStdString();
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
