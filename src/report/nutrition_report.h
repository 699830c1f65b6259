#pragma once

#include "report_data.h"
#include "report_params.h"

namespace records {
class AppServer;
}

namespace report {

// The report definition of the nutritional assessment report (Vex122): its query takes
// the five parameters P_CDFILIAL, P_CDPACIENTE, P_DTINI, P_DTFIN and P_CDMETODO and reads
// the report's content with one GetDadosRelatorio call.
class NutritionReport
{
public:
    static QStringList parameterNames();

    // Empty parameters of this definition's query, for the form to fill.
    QueryParams newParams() const { return QueryParams(parameterNames()); }

    // Runs the query; a server failure ends the action (hostfw::ServerError), a parameter
    // left unset is refused with a message.
    ReportData load(records::AppServer& server, const QueryParams& params) const;
};

}  // namespace report
