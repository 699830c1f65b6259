#pragma once

#include <client/http_app_server.h>
#include <server/app/server_instance.h>
#include <server/storage/database.h>

#include <records/app_server.h>
#include <records/delta.h>
#include <records/layouts.h>
#include <records/packet.h>

#include <QJsonObject>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace servertest {

using server::storage::Engine;

// The PostgreSQL address of the throwaway cluster (AVALNUTRI_TEST_PG), when it is set and
// answers; otherwise std::nullopt and why in *reason.
std::optional<QString> testPostgres(QString* reason);

// The answer of POST /login or /logout: status, body, and the session token on success.
struct LoginAnswer
{
    int status = 0;  // 0: no answer
    QJsonObject body;
    QByteArray token;
};

// A clock the tests move by hand, for the server's sessions and audit rows
// (ServerConfig::clock). It starts at the real time, whole seconds: clients compare a
// session's end with their own clock.
class ManualClock
{
public:
    QDateTime now() const { return QDateTime::fromMSecsSinceEpoch(m_ms->load(), Qt::UTC); }
    void advance(std::chrono::seconds s) { *m_ms += s.count() * 1000; }
    void set(const QDateTime& t) { m_ms->store(t.toMSecsSinceEpoch()); }
    // The quiet configuration on this clock; it outlives the clock object.
    server::app::ServerConfig config() const;

private:
    std::shared_ptr<std::atomic<qint64>> m_ms =
        std::make_shared<std::atomic<qint64>>(QDateTime::currentSecsSinceEpoch() * 1000);
};

// An application server started in-process on a free loopback port, on a SQLite file in
// a temporary directory or on a schema of its own in the test PostgreSQL database
// (dropped at the end). restart() stops it and starts a new one on the same records.
class TestServer
{
public:
    explicit TestServer(Engine engine, server::app::ServerConfig base = quietConfig());
    ~TestServer();

    static server::app::ServerConfig quietConfig();

    void restart();
    void stop();

    server::app::ServerInstance& instance() { return *m_instance; }
    records::AppServer& client() { return *m_client; }
    std::unique_ptr<httpclient::HttpAppServer> newClient(const QByteArray& token) const;
    int port() const { return m_instance->port(); }
    const QByteArray& token() const { return m_instance->token(); }
    const server::app::ServerConfig& config() const { return m_config; }

    // Adds a user straight to the database (a low iteration count keeps tests quick; the
    // stored hash names it, as it would a raised count).
    void addUser(const QString& login, const QString& role, const QString& password);
    LoginAnswer login(const QString& login, const QString& password) const;
    // A raw POST to path with a bearer token (empty: none).
    LoginAnswer post(const QByteArray& path, const QByteArray& token, const QByteArray& body) const;

    // Runs statements on the server's database (test fixtures such as reference lists);
    // schema() runs them unprepared, as PostgreSQL wants its triggers and constraints.
    void sql(const QStringList& statements);
    void schema(const QStringList& statements);
    // The first column of the first row of a query on the server's database.
    QVariant scalar(const QString& query);
    // Drops what the steps after 8 made (users and audit, the catalogue's change counter),
    // as a database from before them had none of it (tests that rewind the schema
    // version to an earlier step).
    void dropStepsAfter8();

private:
    void start();

    Engine m_engine;
    QTemporaryDir m_dir;
    QString m_schema;
    server::app::ServerConfig m_config;
    std::unique_ptr<server::app::ServerInstance> m_instance;
    std::unique_ptr<httpclient::HttpAppServer> m_client;
};

// The consultation every test works on unless it says otherwise: the demo man.
records::ConsultationKey demoKey(const QString& patient = QStringLiteral("000000000001"));

// The payload of a successful reply as a packet (an element of an array payload when
// index >= 0); a failed reply fails the test and gives an empty packet.
records::Packet packetOf(const records::Reply& reply, int index = -1);

// "01 02 10" as {"01", "02", "10"}: the expected codes of a column.
inline QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Row r of a packet, by field name.
QVariantMap rowValues(const records::Packet& packet, int r);

// Column values of a packet, by field name.
QStringList column(const records::Packet& packet, const QString& field);
// The row whose field has value; -1 when none.
int findRow(const records::Packet& packet, const QString& field, const QVariant& value);

// Builds change logs in a layout's field order; values not given are null.
class DeltaBuilder
{
public:
    explicit DeltaBuilder(const records::DataSetLayout& layout);

    QVariantList row(const QVariantMap& values) const;
    DeltaBuilder& insert(const QVariantMap& values);
    DeltaBuilder& update(const QVariantMap& oldValues, const QVariantMap& newValues);
    DeltaBuilder& remove(const QVariantMap& oldValues);
    const records::Delta& delta() const { return m_delta; }
    operator const records::Delta&() const { return m_delta; }

private:
    records::Delta m_delta;
};

// The fields of the consultation key for a delta row.
QVariantMap keyValues(const records::ConsultationKey& k);
QVariantMap merged(QVariantMap a, const QVariantMap& b);

// A recorded value row of cdsInfoAval.
QVariantMap infoRow(const records::ConsultationKey& k, const QString& method, const QString& type,
                    const QVariant& value);
// A result line of cdsResuAval or cdsResuAvalEnerg.
QVariantMap resultLine(const records::ConsultationKey& k, const QString& method, const QString& seq,
                       const QString& label, const QString& value);
// A nutrient amount row of cdsNutrePaci.
QVariantMap nutrientRow(const records::ConsultationKey& k, const QString& reference,
                        const QString& group, const QString& code, const QString& type,
                        const QString& amount);
// Records one value of cdsInfoAval through SetInfoAval.
records::Reply recordValue(records::AppServer& server, const records::ConsultationKey& k,
                           const QString& method, const QString& type, const QVariant& value,
                           const QString& nullFields = QString());

// Marks methods of the consultation as selected ("S") through SetMetoAval /
// SetMetoAvalEnerg, the way the module posts an offered row.
void selectMethods(records::AppServer& server, const records::ConsultationKey& k,
                   const QStringList& codes);

// Polls condition until it holds or the deadline passes; answers whether it held.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds deadline = std::chrono::seconds(10));

// A TCP socket on IPv4 as the kernel lists it in /proc/net/tcp: the sockets of this
// process and of the server processes it starts alike.
struct TcpSocket
{
    enum State
    {
        Established = 0x01,
        CloseWait = 0x08,
        Listen = 0x0A
    };
    int localPort = 0;
    int remotePort = 0;
    int state = 0;
    qint64 receiveQueue = 0;  // bytes received and not yet read
};
// Whether some socket of this process or of the servers it started matches.
bool anySocket(const std::function<bool(const TcpSocket&)>& match);

// A certificate authority and a server certificate for 127.0.0.1 and localhost made with
// the openssl command in a temporary directory; ok() false (and why in error) when the
// command failed.
struct TestCertificates
{
    explicit TestCertificates(const QString& dir);
    bool ok() const { return error.isEmpty(); }
    QString caFile, certFile, keyFile;
    // A second authority that signed nothing of the server's.
    QString otherCaFile;
    QString error;
};

}  // namespace servertest
