#include "test_server.h"

#include <records/catalogue_descriptors.h>
#include <records/packet_codec.h>

#include <server/auth/user_store.h>

#include <httplib.h>

#include <QAtomicInt>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <thread>

namespace servertest {
namespace {

QAtomicInt g_connections;

// Runs fn with a direct QPSQL connection to url; answers false and the reason when it
// cannot connect.
template <typename Fn> bool withPostgres(const QString& url, Fn&& fn, QString* reason = nullptr)
{
    const QUrl u(url);
    const QString name =
        QStringLiteral("servertest-pg-%1").arg(g_connections.fetchAndAddOrdered(1));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(u.host());
        db.setPort(u.port(5432));
        db.setUserName(u.userName());
        db.setPassword(u.password());
        db.setDatabaseName(u.path().mid(1));
        db.setConnectOptions(QStringLiteral("connect_timeout=3"));
        if (db.open()) {
            fn(db);
            ok = true;
        } else if (reason) {
            *reason = db.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

}  // namespace

std::optional<QString> testPostgres(QString* reason)
{
    const QString url = qEnvironmentVariable("AVALNUTRI_TEST_PG");
    if (url.isEmpty()) {
        *reason =
            QStringLiteral("AVALNUTRI_TEST_PG is not set (scripts/pg-throwaway start sets it)");
        return std::nullopt;
    }
    QString why;
    if (!withPostgres(
            url, [](QSqlDatabase&) {}, &why)) {
        *reason = QStringLiteral("PostgreSQL at %1 does not answer: %2").arg(url, why);
        return std::nullopt;
    }
    return url;
}

server::app::ServerConfig ManualClock::config() const
{
    server::app::ServerConfig c = TestServer::quietConfig();
    c.clock = [ms = m_ms] { return QDateTime::fromMSecsSinceEpoch(ms->load(), Qt::UTC); };
    return c;
}

server::app::ServerConfig TestServer::quietConfig()
{
    server::app::ServerConfig c;
    c.port = 0;
    c.logRequests = false;
    c.workers = 4;
    c.loginFailureDelay = std::chrono::milliseconds(0);
    return c;
}

TestServer::TestServer(Engine engine, server::app::ServerConfig base)
    : m_engine(engine),
      m_config(std::move(base))
{
    m_config.dataDir = m_dir.path() + QStringLiteral("/data");
    // Most tests call as an unattended tool would, with the service token; the tests of
    // users and sessions log in (addUser, login).
    if (m_config.serviceTokenFile.isEmpty())
        m_config.serviceTokenFile = m_dir.path() + QStringLiteral("/token");
    if (engine == Engine::Postgres) {
        QString reason;
        const std::optional<QString> url = testPostgres(&reason);
        if (!url)
            throw std::runtime_error(reason.toStdString());
        m_schema = QStringLiteral("t_%1_%2")
                       .arg(::getpid())
                       .arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
        m_config.database = *url + QStringLiteral("?schema=") + m_schema;
    }
    start();
}

TestServer::~TestServer()
{
    stop();
    if (m_engine == Engine::Postgres && !m_schema.isEmpty()) {
        const QString url = qEnvironmentVariable("AVALNUTRI_TEST_PG");
        withPostgres(url, [this](QSqlDatabase& db) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SET client_min_messages = warning"));
            q.exec(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(m_schema));
        });
    }
}

void TestServer::start()
{
    m_instance = std::make_unique<server::app::ServerInstance>(m_config);
    m_instance->start();
    m_client = newClient(m_instance->token());
}

void TestServer::stop()
{
    m_client.reset();
    m_instance.reset();
}

void TestServer::restart()
{
    stop();
    start();
}

std::unique_ptr<httpclient::HttpAppServer> TestServer::newClient(const QByteArray& token) const
{
    httpclient::HttpAppServer::Options o;
    o.host = QStringLiteral("127.0.0.1");
    o.port = m_instance->port();
    o.token = token;
    o.readTimeoutMs = 30000;
    return std::make_unique<httpclient::HttpAppServer>(o);
}

void TestServer::addUser(const QString& login, const QString& role, const QString& password)
{
    server::storage::inTransaction(
        m_instance->database(), server::storage::Access::ReadWrite,
        [&](server::storage::Transaction& tx) {
            server::auth::users::add(
                tx,
                server::auth::User{login, QStringLiteral("Usuário %1").arg(login),
                                   QStringLiteral("CRN-3 %1").arg(login.size()), role},
                password, 1000);
        });
}

LoginAnswer TestServer::login(const QString& login, const QString& password) const
{
    const QByteArray body = QJsonDocument(QJsonObject{{QStringLiteral("login"), login},
                                                      {QStringLiteral("password"), password}})
                                .toJson(QJsonDocument::Compact);
    return post("/login", {}, body);
}

LoginAnswer TestServer::post(const QByteArray& path, const QByteArray& token,
                             const QByteArray& body) const
{
    httplib::Client http("127.0.0.1", port());
    http.set_read_timeout(30, 0);
    httplib::Headers headers;
    if (!token.isEmpty())
        headers.emplace("Authorization", "Bearer " + token.toStdString());
    const auto res = http.Post(path.toStdString(), headers, body.toStdString(), "application/json");
    LoginAnswer a;
    if (!res)
        return a;
    a.status = res->status;
    a.body = QJsonDocument::fromJson(QByteArray::fromStdString(res->body)).object();
    a.token = a.body.value(QStringLiteral("payload"))
                  .toObject()
                  .value(QStringLiteral("token"))
                  .toString()
                  .toLatin1();
    return a;
}

void TestServer::sql(const QStringList& statements)
{
    server::storage::inTransaction(m_instance->database(), server::storage::Access::ReadWrite,
                                   [&](server::storage::Transaction& tx) {
                                       for (const QString& s : statements)
                                           tx.execute(s);
                                   });
}

QVariant TestServer::scalar(const QString& query)
{
    return server::storage::inTransaction(
        m_instance->database(), server::storage::Access::ReadOnly,
        [&](server::storage::Transaction& tx) { return tx.scalar(query); });
}

void TestServer::schema(const QStringList& statements)
{
    server::storage::inTransaction(m_instance->database(), server::storage::Access::ReadWrite,
                                   [&](server::storage::Transaction& tx) {
                                       for (const QString& s : statements)
                                           tx.executeSchema(s);
                                   });
}

void TestServer::dropStepsAfter8()
{
    server::storage::inTransaction(
        m_instance->database(), server::storage::Access::ReadWrite,
        [&](server::storage::Transaction& tx) {
            for (const char* table : {"sessao", "usuario", "histalteracao", "versaocatalogo"})
                tx.executeSchema(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table)));
            if (m_engine == Engine::Postgres) {
                tx.executeSchema(QStringLiteral("DROP FUNCTION histalteracao_imutavel()"));
                tx.executeSchema(
                    QStringLiteral("DROP FUNCTION versaocatalogo_incrementa() CASCADE"));
                return;
            }
            for (const char* table : {"tbmetoaval", "tipodado", "dadoaval"}) {
                for (const char* change : {"ins", "upd", "del"})
                    tx.executeSchema(QStringLiteral("DROP TRIGGER %1_versao_%2")
                                         .arg(QLatin1String(table), QLatin1String(change)));
            }
        });
}

records::ConsultationKey demoKey(const QString& patient)
{
    return {QStringLiteral("0001"), patient, QDateTime(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC)};
}

records::Packet packetOf(const records::Reply& reply, int index)
{
    EXPECT_TRUE(reply.ok) << reply.error.toStdString();
    if (!reply.ok)
        return {};
    try {
        return index >= 0 ? records::packetAt(reply.payload, index)
                          : records::decodePacket(reply.payload);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "payload is not a packet: " << e.what();
        return {};
    }
}

QVariantMap rowValues(const records::Packet& packet, int r)
{
    QVariantMap out;
    for (int i = 0; i < packet.fields.size(); ++i)
        out.insert(packet.fields[i].name, packet.rows[r][i]);
    return out;
}

QStringList column(const records::Packet& packet, const QString& field)
{
    QStringList out;
    const int i = packet.fieldIndex(field);
    for (const QVariantList& row : packet.rows)
        out.append(i >= 0 && row[i].isValid() ? row[i].toString() : QStringLiteral("<null>"));
    return out;
}

int findRow(const records::Packet& packet, const QString& field, const QVariant& value)
{
    const int i = packet.fieldIndex(field);
    for (int r = 0; r < packet.rows.size(); ++r) {
        if (packet.rows[r][i] == value)
            return r;
    }
    return -1;
}

DeltaBuilder::DeltaBuilder(const records::DataSetLayout& layout)
{
    m_delta.fields = layout.fields;
    m_delta.keyFields = layout.keyFields;
}

QVariantList DeltaBuilder::row(const QVariantMap& values) const
{
    QVariantList out;
    for (const records::FieldDef& f : m_delta.fields)
        out.append(values.value(f.name));
    return out;
}

DeltaBuilder& DeltaBuilder::insert(const QVariantMap& values)
{
    m_delta.changes.append({records::DeltaChange::Kind::Insert, {}, row(values)});
    return *this;
}

DeltaBuilder& DeltaBuilder::update(const QVariantMap& oldValues, const QVariantMap& newValues)
{
    m_delta.changes.append({records::DeltaChange::Kind::Update, row(oldValues), row(newValues)});
    return *this;
}

DeltaBuilder& DeltaBuilder::remove(const QVariantMap& oldValues)
{
    m_delta.changes.append({records::DeltaChange::Kind::Delete, row(oldValues), {}});
    return *this;
}

QVariantMap keyValues(const records::ConsultationKey& k)
{
    return {{QStringLiteral("CDFILIAL"), k.branch},
            {QStringLiteral("CDPACIENTE"), k.patient},
            {QStringLiteral("DTCONSPACI"), k.date}};
}

QVariantMap merged(QVariantMap a, const QVariantMap& b)
{
    for (auto it = b.begin(); it != b.end(); ++it)
        a.insert(it.key(), it.value());
    return a;
}

QVariantMap infoRow(const records::ConsultationKey& k, const QString& method, const QString& type,
                    const QVariant& value)
{
    return merged(keyValues(k), {{QStringLiteral("CDTBMETOAVAL"), method},
                                 {QStringLiteral("CDTIPODADO"), type},
                                 {QStringLiteral("DSINFOAVAL"), value}});
}

QVariantMap resultLine(const records::ConsultationKey& k, const QString& method, const QString& seq,
                       const QString& label, const QString& value)
{
    return merged(keyValues(k), {{QStringLiteral("CDTBMETOAVAL"), method},
                                 {QStringLiteral("CDSEQUAVAL"), seq},
                                 {QStringLiteral("DSCONTRESU"), label},
                                 {QStringLiteral("DSRESUAVAL"), value}});
}

QVariantMap nutrientRow(const records::ConsultationKey& k, const QString& reference,
                        const QString& group, const QString& code, const QString& type,
                        const QString& amount)
{
    return merged(keyValues(k), {{QStringLiteral("CDRFNUTRECOM"), reference},
                                 {QStringLiteral("CDGRUPNUTR"), group},
                                 {QStringLiteral("CDNUTRIENTE"), code},
                                 {QStringLiteral("IDTPCOMPACI"), type},
                                 {QStringLiteral("DSNUTPEATUAL"), amount}});
}

records::Reply recordValue(records::AppServer& server, const records::ConsultationKey& k,
                           const QString& method, const QString& type, const QVariant& value,
                           const QString& nullFields)
{
    return server.SetInfoAval(
        DeltaBuilder(records::layouts::cdsInfoAval()).insert(infoRow(k, method, type, value)),
        nullFields);
}

void selectMethods(records::AppServer& server, const records::ConsultationKey& k,
                   const QStringList& codes)
{
    const records::Reply offered = server.GetDados(k, 45.03);
    const records::Packet data = packetOf(offered, 0);
    const records::Packet energy = packetOf(offered, 1);
    for (const QString& code : codes) {
        const bool isEnergy = records::isEnergyMethod(code);
        const records::Packet& list = isEnergy ? energy : data;
        const records::DataSetLayout& layout =
            isEnergy ? records::layouts::cdsMetoAvalEnerg() : records::layouts::cdsMetoAval();
        const int r = findRow(list, QStringLiteral("CDTBMETOAVAL"), code);
        ASSERT_GE(r, 0) << "method " << code.toStdString() << " not offered";
        const QVariantMap before = rowValues(list, r);
        const QVariantMap after =
            merged(before, {{QStringLiteral("IDTABELAAV"), QStringLiteral("S")}});
        const records::Delta delta = DeltaBuilder(layout).update(before, after);
        const records::Reply reply = isEnergy ? server.SetMetoAvalEnerg(delta, QString())
                                              : server.SetMetoAval(delta, QString());
        ASSERT_TRUE(reply.ok) << reply.error.toStdString();
    }
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

namespace {

QList<TcpSocket> tcpSockets()
{
    // "  sl  local_address rem_address   st tx_queue:rx_queue ...", addresses as
    // HEXADDR:HEXPORT.
    QList<TcpSocket> out;
    QFile f(QStringLiteral("/proc/net/tcp"));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    f.readLine();
    while (!f.atEnd()) {
        const QList<QByteArray> cells = f.readLine().simplified().split(' ');
        if (cells.size() < 5)
            continue;
        TcpSocket t;
        t.localPort = cells[1].mid(cells[1].indexOf(':') + 1).toInt(nullptr, 16);
        t.remotePort = cells[2].mid(cells[2].indexOf(':') + 1).toInt(nullptr, 16);
        t.state = cells[3].toInt(nullptr, 16);
        t.receiveQueue = cells[4].mid(cells[4].indexOf(':') + 1).toLongLong(nullptr, 16);
        out.append(t);
    }
    return out;
}

}  // namespace

bool anySocket(const std::function<bool(const TcpSocket&)>& match)
{
    const QList<TcpSocket> sockets = tcpSockets();
    return std::any_of(sockets.begin(), sockets.end(), match);
}

TestCertificates::TestCertificates(const QString& dir)
{
    caFile = dir + QStringLiteral("/ca.pem");
    certFile = dir + QStringLiteral("/server.pem");
    keyFile = dir + QStringLiteral("/server.key");
    otherCaFile = dir + QStringLiteral("/other-ca.pem");
    const QString caKey = dir + QStringLiteral("/ca.key"),
                  otherKey = dir + QStringLiteral("/other-ca.key"),
                  csr = dir + QStringLiteral("/server.csr"), ext = dir + QStringLiteral("/san.ext");
    QFile extFile(ext);
    if (!extFile.open(QIODevice::WriteOnly)
        || extFile.write("subjectAltName=IP:127.0.0.1,DNS:localhost\n"
                         "basicConstraints=CA:FALSE\n"
                         "extendedKeyUsage=serverAuth\n")
               < 0) {
        error = QStringLiteral("cannot write %1").arg(ext);
        return;
    }
    extFile.close();
    const QList<QStringList> steps = {
        {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
         "/CN=avalnutri test CA", "-keyout", caKey, "-out", caFile},
        {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=another CA",
         "-keyout", otherKey, "-out", otherCaFile},
        {"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1", "-keyout", keyFile,
         "-out", csr},
        {"x509", "-req", "-in", csr, "-CA", caFile, "-CAkey", caKey, "-CAcreateserial", "-days",
         "2", "-extfile", ext, "-out", certFile},
    };
    for (const QStringList& step : steps) {
        QProcess openssl;
        openssl.setProcessChannelMode(QProcess::MergedChannels);
        openssl.start(QStringLiteral("openssl"), step);
        if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit
            || openssl.exitCode() != 0) {
            error = QStringLiteral("openssl %1: %2")
                        .arg(step.join(u' '), QString::fromLocal8Bit(openssl.readAll()));
            return;
        }
    }
}

}  // namespace servertest
