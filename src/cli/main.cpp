// avalnutri: the assessment without a display. Lists and registers patients, and runs
// a consultation (select methods, record values, calculate) through the same core the
// window uses, printing the stored result lines.

#include "cli_options.h"
#include "commands.h"
#include "consultation_session.h"
#include "server_link.h"

#include "hostfw/action.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QTextStream>

#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const cli::ParseResult parsed =
        cli::parseCommandLine(arguments, QProcessEnvironment::systemEnvironment().toStringList());
    // Charts and the report are drawn with the GUI's painting, without a display: the
    // chart and report commands run a GUI application on the offscreen platform unless
    // another platform is asked for.
    const bool paints = parsed.command
                        && (parsed.command->kind == cli::Command::Kind::Chart
                            || parsed.command->kind == cli::Command::Kind::Report);
    if (paints && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        paints ? std::make_unique<QApplication>(argc, argv)
               : std::make_unique<QCoreApplication>(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    if (!parsed.command) {
        err << "avalnutri: " << parsed.error << "\n\n" << cli::usageText();
        return 2;
    }
    const cli::Command& command = *parsed.command;
    if (command.kind == cli::Command::Kind::Help) {
        out << cli::usageText();
        return 0;
    }

    int status = 1;
    // A change refused because another user changed the consultation meanwhile: after the
    // refusal, what the consultation stores.
    const hostfw::StaleDataReload reload([&] { cli::showStoredConsultation(command, out); });
    hostfw::RunAction([&] {
        switch (command.kind) {
        case cli::Command::Kind::Patients:
            status = cli::listPatients(*cli::connect(command.connection), out);
            break;
        case cli::Command::Kind::PatientAdd:
            status = cli::addPatient(*cli::connect(command.connection), command);
            break;
        case cli::Command::Kind::Calc:
            status = cli::calculate(command, out);
            break;
        case cli::Command::Kind::Energy:
            status = cli::calculateEnergy(command, out);
            break;
        case cli::Command::Kind::Estimate:
            status = cli::estimate(command, out);
            break;
        case cli::Command::Kind::Maturation:
            status = cli::storeMaturation(command, out);
            break;
        case cli::Command::Kind::Diagnosis:
            status = cli::diagnosis(command, out);
            break;
        case cli::Command::Kind::Recommend:
            status = cli::recommend(command, out);
            break;
        case cli::Command::Kind::Chart:
            status = cli::saveChart(command, out);
            break;
        case cli::Command::Kind::Report:
            status = cli::writeReport(command, out);
            break;
        case cli::Command::Kind::Export:
            status = cli::exportFhir(command, out);
            break;
        case cli::Command::Kind::Login:
            status = cli::login(command, out, err);
            break;
        case cli::Command::Kind::Logout:
            status = cli::logout(command, out, err);
            break;
        case cli::Command::Kind::Audit:
            status = cli::printAudit(*cli::connect(command.connection), command, out);
            break;
        case cli::Command::Kind::Help:
            break;
        }
    });
    out.flush();
    return status;
}
