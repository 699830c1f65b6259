#include "nutrition_report.h"

#include "hostfw/error_display.h"
#include "hostfw/reply_check.h"
#include "records/app_server.h"

namespace report {

QStringList NutritionReport::parameterNames()
{
    return {P_CDFILIAL, P_CDPACIENTE, P_DTINI, P_DTFIN, P_CDMETODO};
}

ReportData NutritionReport::load(records::AppServer& server, const QueryParams& params) const
{
    for (const QString& name : parameterNames())
        if (!params.isSet(name))
            hostfw::MensErro(
                QStringLiteral("O parâmetro %1 do relatório não foi informado.").arg(name), true);
    const QDate from = params.value(P_DTINI).toDate();
    const QDate to = params.value(P_DTFIN).toDate();
    const QString methods = params.value(P_CDMETODO).toString();
    const QJsonValue payload = hostfw::CheckResultServ(server.GetDadosRelatorio(
        params.value(P_CDFILIAL).toString(), params.value(P_CDPACIENTE).toString(),
        QDateTime(from, QTime(0, 0), Qt::UTC), QDateTime(to, QTime(0, 0), Qt::UTC), methods));
    ReportData data = decodeReport(payload);
    if (data.branch.isEmpty())
        data.branch = params.value(P_CDFILIAL).toString();
    if (data.patient.isEmpty())
        data.patient = params.value(P_CDPACIENTE).toString();
    data.from = from;
    data.to = to;
    data.methods = methods;
    return data;
}

}  // namespace report
