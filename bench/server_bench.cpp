// Calls per second of GetInfoAval and SetInfoAval: over HTTP on loopback against a SQLite
// file (the client encodes, the server decodes, answers, the client decodes), and the
// same calls handed to the server's endpoint in-process (body encoded, endpoint run,
// answer decoded, no socket). Prints the ratio in-process / HTTP for each method.
//
//   avalnutri_server_bench [--benchmark_min_time=2] [--data-dir DIR]
// DIR (default: a temporary directory) should be on the disk the server would use:
// every SetInfoAval waits for its commit to reach the disk.

#include "weight_change.h"

#include <client/http_app_server.h>
#include <server/app/server_instance.h>

#include <records/layouts.h>
#include <records/packet_codec.h>

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {

struct Fixture
{
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<server::app::ServerInstance> server;
    std::unique_ptr<httpclient::HttpAppServer> client;
    records::ConsultationKey key;
};

Fixture* g_fixture = nullptr;

// The weight the consultation holds now: every update carries it as its original value
// (the server refuses an update made on values that changed since), then replaces it.
int g_storedWeight = 70;

records::Delta nextWeightUpdate(const records::ConsultationKey& k)
{
    const int next = g_storedWeight + 1;
    records::Delta d = bench::weightChange(k, g_storedWeight, next);
    g_storedWeight = next;
    return d;
}

QJsonArray keyArgs(const records::ConsultationKey& k)
{
    return {k.branch, k.patient, records::formatDateTime(k.date)};
}

// The in-process path: what the HTTP handler does with a body, minus the socket.
bool callInProcess(const QString& method, const QJsonArray& args)
{
    const QByteArray body =
        QJsonDocument(QJsonObject{{QStringLiteral("args"), args}}).toJson(QJsonDocument::Compact);
    const server::api::RpcAnswer answer =
        g_fixture->server->endpoint().handle(method, "Bearer " + g_fixture->server->token(), body);
    const QJsonObject decoded = QJsonDocument::fromJson(answer.body).object();
    return decoded.value(QStringLiteral("ok")).toBool();
}

void GetInfoAval_Http(benchmark::State& state)
{
    for (auto _ : state) {
        const records::Reply r =
            g_fixture->client->GetInfoAval(g_fixture->key, QStringLiteral("01"));
        if (!r.ok)
            state.SkipWithError(r.error.toStdString().c_str());
        benchmark::DoNotOptimize(r);
    }
    state.counters["calls/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void GetInfoAval_InProcess(benchmark::State& state)
{
    QJsonArray args = keyArgs(g_fixture->key);
    args.append(QStringLiteral("01"));
    for (auto _ : state) {
        if (!callInProcess(QStringLiteral("GetInfoAval"), args))
            state.SkipWithError("GetInfoAval failed");
    }
    state.counters["calls/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// What a workstation reads when it opens a consultation: its method lists, the catalogue,
// the ideal-weight methods and the nutrient packets.
void GetDados_Http(benchmark::State& state)
{
    for (auto _ : state) {
        const records::Reply r = g_fixture->client->GetDados(g_fixture->key, 30.0);
        if (!r.ok)
            state.SkipWithError(r.error.toStdString().c_str());
        benchmark::DoNotOptimize(r);
    }
    state.counters["calls/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void GetDados_InProcess(benchmark::State& state)
{
    QJsonArray args = keyArgs(g_fixture->key);
    args.append(30.0);
    for (auto _ : state) {
        if (!callInProcess(QStringLiteral("GetDados"), args))
            state.SkipWithError("GetDados failed");
    }
    state.counters["calls/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void SetInfoAval_Http(benchmark::State& state)
{
    for (auto _ : state) {
        const records::Reply r =
            g_fixture->client->SetInfoAval(nextWeightUpdate(g_fixture->key), QString());
        if (!r.ok)
            state.SkipWithError(r.error.toStdString().c_str());
    }
    state.counters["calls/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void SetInfoAval_InProcess(benchmark::State& state)
{
    for (auto _ : state) {
        const QJsonArray args{records::encodeDelta(nextWeightUpdate(g_fixture->key)), QString()};
        if (!callInProcess(QStringLiteral("SetInfoAval"), args))
            state.SkipWithError("SetInfoAval failed");
    }
    state.counters["calls/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(GetInfoAval_Http)->UseRealTime();
BENCHMARK(GetInfoAval_InProcess)->UseRealTime();
BENCHMARK(GetDados_Http)->UseRealTime();
BENCHMARK(GetDados_InProcess)->UseRealTime();
BENCHMARK(SetInfoAval_Http)->UseRealTime();
BENCHMARK(SetInfoAval_InProcess)->UseRealTime();

// Shows the runs as usual and keeps each benchmark's calls per second for the ratios.
class RateReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const auto it = run.counters.find("calls/s");
            if (it != run.counters.end())
                rates[run.benchmark_name()] = it->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString dataDir;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::string(argv[i]) == "--data-dir" && i + 1 < argc)
            dataDir = QString::fromLocal8Bit(argv[++i]);
        else
            args.push_back(argv[i]);
    }
    int benchArgc = static_cast<int>(args.size());
    benchmark::Initialize(&benchArgc, args.data());

    Fixture fixture;
    fixture.dir = std::make_unique<QTemporaryDir>(
        dataDir.isEmpty() ? QString() : dataDir + QStringLiteral("/bench-XXXXXX"));
    server::app::ServerConfig config;
    config.port = 0;
    config.logRequests = false;
    config.dataDir = fixture.dir->path();
    config.serviceTokenFile = fixture.dir->path() + QStringLiteral("/token");
    fixture.server = std::make_unique<server::app::ServerInstance>(config);
    fixture.server->start();
    httpclient::HttpAppServer::Options o;
    o.port = fixture.server->port();
    o.token = fixture.server->token();
    fixture.client = std::make_unique<httpclient::HttpAppServer>(o);
    fixture.key = {QStringLiteral("0001"), QStringLiteral("000000000001"),
                   QDateTime(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC)};
    // The recorded value both methods work on, and a few neighbours of its type.
    {
        const records::Delta d = bench::weightChange(fixture.key, -1, g_storedWeight);
        const records::Reply r = fixture.client->SetInfoAval(d, QString());
        if (!r.ok) {
            std::fprintf(stderr, "set-up failed: %s\n", r.error.toStdString().c_str());
            return 1;
        }
    }
    g_fixture = &fixture;
    std::printf("SQLite file: %s/avalnutri.sqlite\n",
                fixture.dir->path().toLocal8Bit().constData());

    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%-12s %14s %14s %10s\n", "method", "HTTP calls/s", "in-process/s", "ratio");
    for (const char* method : {"GetInfoAval", "GetDados", "SetInfoAval"}) {
        const double http = reporter.rates[std::string(method) + "_Http/real_time"];
        const double local = reporter.rates[std::string(method) + "_InProcess/real_time"];
        if (http > 0 && local > 0)
            std::printf("%-12s %14.0f %14.0f %9.1fx\n", method, http, local, local / http);
    }
    g_fixture = nullptr;
    fixture.client.reset();
    fixture.server.reset();
    return 0;
}
