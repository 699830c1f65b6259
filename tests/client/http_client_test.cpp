// The HTTP client of the application server against a server speaking the login
// contract on loopback: login and logout, a refused session marked as such and renewed
// once, the address forms, and HTTPS with a certificate made here by openssl.
#include "client/http_app_server.h"
#include "client/server_url.h"

#include "login_stub_server.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace httpclient;
using namespace clienttest;
using namespace Qt::StringLiterals;

namespace {

HttpAppServer::Options optionsFor(int port)
{
    HttpAppServer::Options o;
    o.port = port;
    o.readTimeoutMs = 30000;
    return o;
}

class ClientLoginTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        stub.addUser(u"ana"_s, {u"segredo-1"_s, u"Ana Souza"_s, u"CRN-3 12345"_s});
    }
    LoginStubServer stub;
    HttpAppServer client{optionsFor(stub.port())};
};

}  // namespace

TEST(ServerUrlTest, ReadsTheFormsUsersWrite)
{
    struct Row
    {
        const char* text;
        std::optional<ServerUrl> expected;
    };
    const Row rows[] = {
        {"127.0.0.1:8512", ServerUrl{{u"127.0.0.1"_s, 8512}, false}},
        {"http://127.0.0.1:8512", ServerUrl{{u"127.0.0.1"_s, 8512}, false}},
        {"https://servidor.hospital:443/", ServerUrl{{u"servidor.hospital"_s, 443}, true}},
        {" HTTPS://[::1]:8512 ", ServerUrl{{u"::1"_s, 8512}, true}},
        {"https://host", std::nullopt},
        {"https://host:8512/rpc", std::nullopt},
        {"ftp://host:21", std::nullopt},
        {"https://:8512", std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(parseServerUrl(QString::fromUtf8(row.text)), row.expected) << row.text;
    EXPECT_EQ(parseServerUrl(u"https://h:1"_s)->toString(), u"https://h:1"_s);
    EXPECT_EQ(parseServerUrl(u"http://h:1"_s)->toString(), u"h:1"_s);
}

TEST_F(ClientLoginTest, LoginGivesTheSessionAndItsTokenCarriesTheCalls)
{
    const LoginResult result = client.login(u"ana"_s, u"segredo-1"_s);
    ASSERT_TRUE(result.session) << qPrintable(result.error);
    EXPECT_EQ(result.session->user,
              (SessionUser{u"ana"_s, u"Ana Souza"_s, u"CRN-3 12345"_s, u"nutricionista"_s}));
    EXPECT_EQ(result.session->token.size(), 64);
    EXPECT_GT(result.session->expires, QDateTime::currentDateTimeUtc().addSecs(7 * 3600));
    EXPECT_EQ(stub.lastAuthorization(), QString()) << "login sends no token";

    const records::Reply echo = client.call(u"Echo"_s, QJsonArray{1, u"x"_s});
    ASSERT_TRUE(echo.ok) << qPrintable(echo.error);
    EXPECT_EQ(echo.payload.toArray(), (QJsonArray{1, u"x"_s}));
    EXPECT_EQ(stub.lastAuthorization(), u"Bearer "_s + QString::fromLatin1(result.session->token));

    // Logout ends the session on the server: the same token is refused afterwards.
    EXPECT_TRUE(client.logout().ok);
    EXPECT_EQ(stub.sessionCount(), 0);
    HttpAppServer::Options stale = optionsFor(stub.port());
    stale.token = result.session->token;
    const records::Reply refused = HttpAppServer(stale).call(u"Echo"_s, {});
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.sessionRefused);
}

TEST_F(ClientLoginTest, ARefusedLoginIsTheServersTextAndKeepsNoToken)
{
    struct Row
    {
        const char* login;
        const char* password;
    };
    for (const Row row : {Row{"ana", "errada"}, Row{"ninguem", "segredo-1"}, Row{"", ""}}) {
        const LoginResult result =
            client.login(QString::fromUtf8(row.login), QString::fromUtf8(row.password));
        EXPECT_FALSE(result.session) << row.login;
        EXPECT_EQ(result.error, u"Login ou senha inválidos."_s) << row.login;
    }
    EXPECT_EQ(stub.sessionCount(), 0);

    HttpAppServer nobody(optionsFor(1));  // nothing listens on port 1
    EXPECT_TRUE(
        nobody.login(u"ana"_s, u"x"_s)
            .error.startsWith(u"Servidor de aplicação em http://127.0.0.1:1 inacessível"_s));
}

TEST_F(ClientLoginTest, AnExpiredSessionIsRenewedOnceAndTheCallRepeated)
{
    HttpAppServer::Options o = optionsFor(stub.port());
    int asked = 0;
    QByteArray refusedToken;
    std::optional<QByteArray> next;
    o.renewSession = [&](const QByteArray& refused) {
        ++asked;
        refusedToken = refused;
        return next;
    };
    HttpAppServer renewing(o);
    const LoginResult first = renewing.login(u"ana"_s, u"segredo-1"_s);
    ASSERT_TRUE(first.session);

    // Given up: the call fails as a refused session with the server's text.
    stub.expireSessions();
    const records::Reply givenUp = renewing.call(u"Echo"_s, {7});
    EXPECT_FALSE(givenUp.ok);
    EXPECT_TRUE(givenUp.sessionRefused);
    EXPECT_TRUE(givenUp.error.endsWith(u"Sessão expirada. Entre novamente."_s))
        << qPrintable(givenUp.error);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(refusedToken, first.session->token);

    // Logged in again: the same call goes through with the new token.
    HttpAppServer other(optionsFor(stub.port()));
    next = other.login(u"ana"_s, u"segredo-1"_s).session->token;
    const int echoes = stub.requests(u"/rpc/Echo"_s);
    const records::Reply renewed = renewing.call(u"Echo"_s, {7});
    ASSERT_TRUE(renewed.ok) << qPrintable(renewed.error);
    EXPECT_EQ(renewed.payload.toArray(), QJsonArray{7});
    EXPECT_EQ(stub.requests(u"/rpc/Echo"_s), echoes + 2);
    EXPECT_EQ(asked, 2);

    // A new token that is refused too: one repetition only, then the refusal.
    stub.expireSessions();
    const int before = stub.requests(u"/rpc/Echo"_s);
    EXPECT_TRUE(renewing.call(u"Echo"_s, {}).sessionRefused);
    EXPECT_EQ(stub.requests(u"/rpc/Echo"_s), before + 2);
}
