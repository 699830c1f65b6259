// HTTPS: a certificate made here with the openssl command; clients that trust its
// authority answered (by address and by name), the others refused before any password is
// sent; and the start-up texts for certificate and key files that cannot serve.

#include <test_server.h>

#include <client/http_app_server.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(TlsServer, TheCertificateIsVerifiedAgainstTheClientsAuthority)
{
    QTemporaryDir dir;
    const servertest::TestCertificates certs(dir.path());
    if (!certs.ok())
        GTEST_SKIP() << "openssl could not make the certificates: " << certs.error.toStdString();
    server::app::ServerConfig config = servertest::TestServer::quietConfig();
    config.tlsCertFile = certs.certFile;
    config.tlsKeyFile = certs.keyFile;
    servertest::TestServer server(servertest::Engine::Sqlite, config);
    EXPECT_TRUE(server.instance().address().startsWith(u"https://127.0.0.1:"_s));
    server.addUser(u"ana"_s, u"nutricionista"_s, u"senha-boa-1"_s);

    struct Row
    {
        const char* what;
        const char* host;
        bool tls;
        QString caFile;
        const char* errorPart;  // nullptr: the login succeeds
    };
    const Row rows[] = {
        {"trusted authority", "127.0.0.1", true, certs.caFile, nullptr},
        {"trusted authority, by name", "localhost", true, certs.caFile, nullptr},
        {"system authorities only", "127.0.0.1", true, QString(), "certificado do servidor"},
        {"another authority", "127.0.0.1", true, certs.otherCaFile,
         "certificado do servidor não foi aceito"},
        {"missing authority file", "127.0.0.1", true, dir.filePath(u"nada.pem"_s),
         "não existe ou não pode ser lido"},
        {"plain HTTP to the TLS port", "127.0.0.1", false, QString(), "inacessível"},
    };
    for (const Row& row : rows) {
        httpclient::HttpAppServer::Options o;
        o.host = QString::fromUtf8(row.host);
        o.port = server.port();
        o.tls = row.tls;
        o.caFile = row.caFile;
        o.connectTimeoutMs = 10000;
        o.readTimeoutMs = 5000;
        httpclient::HttpAppServer client(o);
        const httpclient::LoginResult result = client.login(u"ana"_s, u"senha-boa-1"_s);
        if (!row.errorPart) {
            ASSERT_TRUE(result.session) << row.what << ": " << qPrintable(result.error);
            // Login and calls go over the same verified connection.
            EXPECT_TRUE(client.call(u"GetPacientes"_s, {}).ok) << row.what;
            continue;
        }
        EXPECT_FALSE(result.session) << row.what;
        EXPECT_TRUE(result.error.contains(QString::fromUtf8(row.errorPart)))
            << row.what << ": " << qPrintable(result.error);
    }
    // No password went over a refused connection: only the two trusted logins reached the
    // server.
    const int sessions = server::storage::inTransaction(
        server.instance().database(), server::storage::Access::ReadOnly,
        [](server::storage::Transaction& tx) {
            return tx.scalar(u"SELECT COUNT(*) FROM sessao"_s).toInt();
        });
    EXPECT_EQ(sessions, 2);
}

TEST(TlsServer, CertificateAndKeyFilesThatCannotServeStopTheStartWithTheirReason)
{
    QTemporaryDir dir;
    const servertest::TestCertificates certs(dir.path());
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
