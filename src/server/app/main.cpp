// avalnutri-server: the application server of the nutritional assessment module.

#include "server_instance.h"

#include "../auth/user_command.h"

#include "../storage/database.h"

#include <QCoreApplication>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

namespace {

void print(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv)
{
    // SIGINT and SIGTERM are taken by one thread with sigwait, so no request thread is
    // interrupted and the stop runs outside a signal handler. The mask is set before any
    // thread starts so that every thread inherits it.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("avalnutri-server"));

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1 && arguments[1] == QLatin1String("user")) {
        pthread_sigmask(SIG_UNBLOCK, &stopSignals, nullptr);
        auto toStdout = [](const QString& text) {
            const QByteArray bytes = text.toUtf8();
            std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
            std::fflush(stdout);
        };
        return server::auth::runUserCommand(
            arguments.mid(2), server::auth::terminalPasswordReader(), toStdout, print);
    }

    const server::app::ParsedArguments parsed =
        server::app::parseArguments(QCoreApplication::arguments());
    if (!parsed.config) {
        print(parsed.message);
        return parsed.exitCode;
    }

    std::unique_ptr<server::app::ServerInstance> instance;
    try {
        instance = std::make_unique<server::app::ServerInstance>(*parsed.config);
    } catch (const server::storage::StorageError& e) {
        print(QStringLiteral("avalnutri-server: %1\n").arg(e.message()));
        return 1;
    } catch (const std::exception& e) {
        print(QStringLiteral("avalnutri-server: %1\n").arg(QString::fromLocal8Bit(e.what())));
        return 1;
    }
    for (const QString& line : instance->startupReport())
        print(QStringLiteral("avalnutri-server: %1\n").arg(line));

    std::atomic<bool> signalled{false};
    std::atomic<bool> finished{false};
    std::thread watcher([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        if (finished)
            return;
        signalled = true;
        print(QStringLiteral("avalnutri-server: sinal %1 recebido; terminando as requisições "
                             "em andamento\n")
                  .arg(signal));
        instance->stop();
    });

    instance->run();
    // run() returns after a stop by a signal, or because the listener failed; in the
    // second case the watcher still waits in sigwait and is woken here.
    finished = true;
    if (!signalled)
        pthread_kill(watcher.native_handle(), SIGTERM);
    watcher.join();
    instance.reset();
    print(QStringLiteral("avalnutri-server: encerrado\n"));
    return 0;
}
