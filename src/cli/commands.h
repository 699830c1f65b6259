#pragma once

#include "cli_options.h"

#include "records/app_server.h"

#include <QTextStream>

namespace cli {

// The commands of the command line, each against an application server. Each writes
// its output to out and answers the exit status; a message the window would show
// goes to the error presenter (standard error) and the status is 1.
int listPatients(records::AppServer& server, QTextStream& out);
int addPatient(records::AppServer& server, const Command& command);
int calculate(const Command& command, QTextStream& out);
int calculateEnergy(const Command& command, QTextStream& out);
int estimate(const Command& command, QTextStream& out);
int storeMaturation(const Command& command, QTextStream& out);
int diagnosis(const Command& command, QTextStream& out);
int recommend(const Command& command, QTextStream& out);
int saveChart(const Command& command, QTextStream& out);
// audit: the patient's audit trail (GetHistAlteracoes), one line per change or JSON.
int printAudit(records::AppServer& server, const Command& command, QTextStream& out);
// Needs a QGuiApplication (the PDF is painted).
int writeReport(const Command& command, QTextStream& out);
// The FHIR R4 bundle of the patient's consultations, built by the server, into a file.
int exportFhir(const Command& command, QTextStream& out);

}  // namespace cli
