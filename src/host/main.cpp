// avalnutri-host: the stand-in for the desktop application that hosts the module. It
// reads where the server and the module are, asks for login and password (or reads a
// service token file when given one), loads the module, and opens consultations in its
// MDI window through the module's IniProc.
#include "host/access_token.h"
#include "host/host_error.h"
#include "host/host_options.h"
#include "host/host_startup.h"
#include "host/module_loader.h"
#include "host/server_connection.h"
#include "host/user_session.h"
#include "host/widgets/login_dialog.h"
#include "host/widgets/main_window.h"

#include "hostfw/widgets/widget_services.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <memory>

namespace {

// Start-up faults go to standard error, and to a message box when there is a screen to
// show it on (never under the offscreen platform, where nobody could close it).
void reportStartupError(const QString& text)
{
    std::fprintf(stderr, "avalnutri-host: %s\n", qPrintable(text));
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        QMessageBox::critical(nullptr, QStringLiteral("avalnutri"), text);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("avalnutri-host"));

    host::CommandLine commandLine;
    try {
        commandLine =
            host::parseCommandLine(QApplication::arguments(), host::HostEnvironment::fromProcess());
    } catch (const host::HostError& e) {
        std::fprintf(stderr, "avalnutri-host: %s\n", qPrintable(e.message()));
        return 2;
    }
    if (commandLine.helpRequested) {
        std::fputs(qPrintable(commandLine.helpText), stdout);
        return 0;
    }
    const host::HostOptions& options = commandLine.options;

    const bool serviceToken = !options.tokenFile.isEmpty();
    std::unique_ptr<host::ModuleLoader> module;
    try {
        host::applyToHostSettings(options, serviceToken ? host::readAccessToken(options.tokenFile)
                                                        : QString());
        module = std::make_unique<host::ModuleLoader>(options.modulePath);
    } catch (const host::HostError& e) {
        reportStartupError(e.message());
        return 1;
    }

    hostfw::installWidgetServices();
    host::UserSession session;
    if (!serviceToken) {
        host::LoginDialog login(session, options.serverText(), options.user);
        if (login.exec() != QDialog::Accepted)
            return 0;
        session.installRenewal();
    }
    const std::unique_ptr<records::AppServer> server = host::connectToServer();
    host::MainWindow window(*server, [&module](const host::ConsultationChoice& choice) {
        module->openConsultation(choice);
    });
    window.setServerDescription(options.serverText());
    window.setUserDescription(serviceToken ? QStringLiteral("Token de serviço")
                                           : session.statusText());
    // A session that ends while the window is open is asked for again over it; the call
    // that found it ended is then repeated, and nothing on screen is lost.
    session.changed = [&] { window.setUserDescription(session.statusText()); };
    session.askLogin = [&] {
        host::LoginDialog again(session, options.serverText(),
                                session.user() ? session.user()->login : options.user, &window);
        again.setMessage(QStringLiteral("Sessão expirada. Entre novamente."));
        return again.exec() == QDialog::Accepted;
    };
    window.show();
    const int status = QApplication::exec();
    session.logout();
    return status;
}
