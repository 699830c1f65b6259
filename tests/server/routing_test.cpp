// The route table and the endpoint without sockets: what the HTTP suite (bad_input_test)
// cannot reach: a handler's storage failure, prefixes of the token, and that a refused
// signature never runs the handler.

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
    }

    RouteTable routes;
    int calls = 0;
};

}  // namespace

TEST_F(RoutingTest, ARefusedSignatureNeverRunsTheHandler)
{
    // The messages of each refusal are checked over HTTP.
    const QJsonValue v = routes.dispatch(u"Echo"_s, {u"0001"_s, u"12"_s, u"2026-12-06"_s, u"01"_s});
    EXPECT_EQ(v.toArray().at(2).toString(), u"2026-12-06T00:00:00.000"_s);
    for (const QJsonArray& args :
         {QJsonArray{u"0001"_s}, QJsonArray{u"0001"_s, 12, u"d"_s, u"01"_s}})
        EXPECT_THROW(routes.dispatch(u"Echo"_s, args), ApiError);
    EXPECT_EQ(calls, 1);
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
