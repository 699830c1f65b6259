// The HTTP client against the application server on loopback: login and logout, a
// refused session marked as such and renewed once, and the address forms. HTTPS is in
// tests/server/tls_test.cpp.
#include "client/http_app_server.h"
#include "client/server_url.h"

#include "test_server.h"

#include <gtest/gtest.h>

using namespace httpclient;
using namespace Qt::StringLiterals;

namespace {

const QString kPassword = u"segredo-1"_s;

class ClientLoginTest : public ::testing::Test
{
protected:
    void SetUp() override { server.addUser(u"ana"_s, u"nutricionista"_s, kPassword); }

    HttpAppServer::Options options() const
    {
        HttpAppServer::Options o;
        o.port = server.port();
        o.readTimeoutMs = 30000;
        return o;
    }

    servertest::ManualClock clock;
    servertest::TestServer server{servertest::Engine::Sqlite, clock.config()};
    HttpAppServer client{options()};
};

}  // namespace

TEST(ServerUrlTest, ReadsTheFormsUsersWrite)
{
    const std::pair<const char*, std::optional<ServerUrl>> rows[] = {
        {"127.0.0.1:8512", ServerUrl{{u"127.0.0.1"_s, 8512}, false}},
        {"http://127.0.0.1:8512", ServerUrl{{u"127.0.0.1"_s, 8512}, false}},
        {"https://servidor.hospital:443/", ServerUrl{{u"servidor.hospital"_s, 443}, true}},
        {" HTTPS://[::1]:8512 ", ServerUrl{{u"::1"_s, 8512}, true}},
        {"https://host", std::nullopt},
        {"https://host:8512/rpc", std::nullopt},
        {"ftp://host:21", std::nullopt},
        {"https://:8512", std::nullopt},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(parseServerUrl(QString::fromUtf8(text)), expected) << text;
}

TEST_F(ClientLoginTest, LoginGivesTheSessionAndItsTokenCarriesTheCalls)
{
    const LoginResult result = client.login(u"ana"_s, kPassword);
    ASSERT_TRUE(result.session) << qPrintable(result.error);
    EXPECT_EQ(result.session->user,
              (SessionUser{u"ana"_s, u"Usuário ana"_s, u"CRN-3 3"_s, u"nutricionista"_s}));
    EXPECT_EQ(result.session->token.size(), 64);
    EXPECT_EQ(result.session->expires, clock.now().addSecs(8 * 3600));
    const records::Reply patients = client.call(u"GetPacientes"_s, {});
    EXPECT_TRUE(patients.ok) << qPrintable(patients.error);

    // Logout sends the session's token (the server refuses one without it); what the
    // server does with it is its own tests'.
    EXPECT_TRUE(client.logout().ok);
    EXPECT_TRUE(client.call(u"GetPacientes"_s, {}).sessionRefused);
}

TEST_F(ClientLoginTest, ARefusedOrUnreachableLoginIsTheReasonAndNoSession)
{
    const LoginResult wrong = client.login(u"ana"_s, u"errada"_s);
    EXPECT_FALSE(wrong.session);
    EXPECT_EQ(wrong.error, u"Login ou senha inválidos."_s);

    HttpAppServer::Options o = options();
    o.port = 1;  // nothing listens on port 1
    const QString unreachable = HttpAppServer(o).login(u"ana"_s, u"x"_s).error;
    EXPECT_TRUE(
        unreachable.startsWith(u"Servidor de aplicação em http://127.0.0.1:1 inacessível"_s))
        << qPrintable(unreachable);
}

TEST_F(ClientLoginTest, AnExpiredSessionIsRenewedOnceAndTheCallRepeated)
{
    HttpAppServer::Options o = options();
    int asked = 0;
    QByteArray refusedToken;
    std::optional<QByteArray> next;
    o.renewSession = [&](const QByteArray& refused) {
        ++asked;
        refusedToken = refused;
        return next;
    };
    HttpAppServer renewing(o);
    const LoginResult first = renewing.login(u"ana"_s, kPassword);
    ASSERT_TRUE(first.session);

    // Given up: the call fails as a refused session with the server's text.
    clock.advance(std::chrono::hours(8));
    const records::Reply givenUp = renewing.call(u"GetPacientes"_s, {});
    EXPECT_FALSE(givenUp.ok);
    EXPECT_TRUE(givenUp.sessionRefused);
    EXPECT_TRUE(givenUp.error.endsWith(u"Sessão expirada. Entre novamente."_s))
        << qPrintable(givenUp.error);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(refusedToken, first.session->token);

    // Logged in again: the same call goes through with the new token.
    next = HttpAppServer(options()).login(u"ana"_s, kPassword).session->token;
    const records::Reply renewed = renewing.call(u"GetPacientes"_s, {});
    ASSERT_TRUE(renewed.ok) << qPrintable(renewed.error);
    EXPECT_EQ(asked, 2);

    // A new token that is refused too: one repetition only, then the refusal.
    clock.advance(std::chrono::hours(8));
    next = QByteArray(64, 'a');
    EXPECT_TRUE(renewing.call(u"GetPacientes"_s, {}).sessionRefused);
    EXPECT_EQ(asked, 3);
}
