// report: the nutritional assessment report of a patient over a period, through the
// report definition the report window uses, written as a PDF or printed as JSON.

#include "commands.h"
#include "server_link.h"

#include "hostfw/clock.h"
#include "hostfw/error_display.h"
#include "hostfw/pick_list.h"
#include "report/nutrition_report.h"
#include "report/report_document.h"

#include <QJsonDocument>

namespace cli {
namespace {

// "T" as it stands; "01,17" as the multiple-choice text "_01_17_". Anything else goes to
// the server as typed, which refuses what is not a chosen-method text.
QString methodsText(const QString& typed)
{
    if (typed == QLatin1String("T") || typed.startsWith(u'_'))
        return typed;
    return hostfw::JoinChosenCodes(typed.split(u',', Qt::SkipEmptyParts));
}

}  // namespace

int writeReport(const Command& command, QTextStream& out)
{
    const std::unique_ptr<records::AppServer> server = connect(command.connection);
    const report::NutritionReport definition;
    report::QueryParams params = definition.newParams();
    params.set(report::P_CDFILIAL, command.branch);
    params.set(report::P_CDPACIENTE, command.patient);
    params.set(report::P_DTINI, QDate::fromString(*command.from, Qt::ISODate));
    params.set(report::P_DTFIN, QDate::fromString(*command.to, Qt::ISODate));
    params.set(report::P_CDMETODO, methodsText(command.reportMethods));
    if (params.value(report::P_DTINI).toDate() > params.value(report::P_DTFIN).toDate())
        hostfw::MensErro(QStringLiteral("Data final deve ser maior ou igual à data inicial."),
                         true);
    const report::ReportData data = definition.load(*server, params);
    if (!command.pdf.isEmpty()) {
        QString error;
        if (!report::writeReportPdf(data, command.pdf, hostfw::Now(), &error))
            hostfw::MensErro(error, true);
    }
    if (command.json)
        out << QJsonDocument(report::reportToJson(data)).toJson(QJsonDocument::Indented);
    return 0;
}

}  // namespace cli
