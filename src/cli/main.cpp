// avalnutri: the assessment without a display. Lists and registers patients, and runs
// a consultation (select methods, record values, calculate) through the same core the
// window uses, printing the stored result lines.

#include "cli_options.h"
#include "commands.h"
#include "server_link.h"

#include "hostfw/action.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const cli::ParseResult parsed = cli::parseCommandLine(
        app.arguments().mid(1), QProcessEnvironment::systemEnvironment().toStringList());
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
        case cli::Command::Kind::Help:
            break;
        }
    });
    out.flush();
    return status;
}
