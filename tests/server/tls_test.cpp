// HTTPS on the server: a certificate made here with the openssl command, a client that
// trusts its authority answered and one that does not refused; and the start-up texts for
// certificate and key files that cannot serve.

#include <login_stub_server.h>
#include <test_server.h>

#include <client/http_app_server.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(TlsServer, AClientTrustingTheAuthorityIsAnsweredAndAnotherIsRefused)
{
    QTemporaryDir dir;
    const clienttest::TestCertificates certs(dir.path());
    if (!certs.ok())
        GTEST_SKIP() << "openssl could not make the certificates: " << certs.error.toStdString();
    server::app::ServerConfig config = servertest::TestServer::quietConfig();
    config.tlsCertFile = certs.certFile;
    config.tlsKeyFile = certs.keyFile;
    servertest::TestServer server(servertest::Engine::Sqlite, config);
    EXPECT_TRUE(server.instance().address().startsWith(u"https://127.0.0.1:"_s));

    auto client = [&](const QString& caFile) {
        httpclient::HttpAppServer::Options o;
        o.port = server.port();
        o.tls = true;
        o.caFile = caFile;
        o.token = server.token();
        o.connectTimeoutMs = 10000;
        return std::make_unique<httpclient::HttpAppServer>(o);
    };
    const records::Reply trusted = client(certs.caFile)->call(u"GetPacientes"_s, {});
    EXPECT_TRUE(trusted.ok) << trusted.error.toStdString();
    const records::Reply other = client(certs.otherCaFile)->call(u"GetPacientes"_s, {});
    EXPECT_FALSE(other.ok);
    EXPECT_TRUE(other.error.contains(u"certificado do servidor não foi aceito"_s))
        << other.error.toStdString();
    // Login goes over the same TLS connection as any call.
    server.addUser(u"ana"_s, u"nutricionista"_s, u"senha-boa-1"_s);
    auto tlsClient = client(certs.caFile);
    const httpclient::LoginResult login = tlsClient->login(u"ana"_s, u"senha-boa-1"_s);
    ASSERT_TRUE(login.session) << login.error.toStdString();
    EXPECT_TRUE(tlsClient->call(u"GetPacientes"_s, {}).ok);
    // A plain HTTP client gets no answer from the HTTPS port.
    httpclient::HttpAppServer::Options plain;
    plain.port = server.port();
    plain.token = server.token();
    EXPECT_FALSE(httpclient::HttpAppServer(plain).call(u"GetPacientes"_s, {}).ok);
}

TEST(TlsServer, CertificateAndKeyFilesThatCannotServeStopTheStartWithTheirReason)
{
    QTemporaryDir dir;
    const clienttest::TestCertificates certs(dir.path());
    if (!certs.ok())
        GTEST_SKIP() << "openssl could not make the certificates: " << certs.error.toStdString();
    const QString missing = dir.filePath(u"nada.pem"_s);
    const QString caKey = dir.filePath(u"ca.key"_s);  // the authority's key: not the server's
    ASSERT_TRUE(QFile::exists(caKey));
    // clang-format off
    const struct { QString cert, key, text; } rows[] = {
        {missing,        certs.keyFile,  u"Arquivo do certificado TLS não encontrado: "_s + missing},
        {certs.certFile, missing,        u"Arquivo da chave TLS não encontrado: "_s + missing},
        {certs.certFile, dir.path(),     u"Arquivo da chave TLS sem permissão de leitura: "_s + dir.path()},
        {certs.keyFile,  certs.keyFile,  u"Certificado TLS inválido em "_s + certs.keyFile},
        {certs.certFile, certs.certFile, u"Chave TLS inválida em "_s + certs.certFile},
        {certs.certFile, caKey,          u"A chave TLS "_s + caKey + u" não corresponde ao certificado "_s + certs.certFile},
    };
    // clang-format on
    for (const auto& row : rows) {
        server::app::ServerConfig config = servertest::TestServer::quietConfig();
        config.dataDir = dir.filePath(u"data"_s);
        config.tlsCertFile = row.cert;
        config.tlsKeyFile = row.key;
        try {
            server::app::ServerInstance instance(config);
            ADD_FAILURE() << "started with " << row.cert.toStdString() << " "
                          << row.key.toStdString();
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(QString::fromStdString(e.what()).startsWith(row.text)) << e.what();
        }
    }
}

}  // namespace
