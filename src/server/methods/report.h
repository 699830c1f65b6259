#pragma once

#include "common.h"

#include <QStringList>

#include <optional>

namespace server::methods {

// The method list of the report window (GetRelatorio) and the data of the assessment
// report (GetDadosRelatorio).
void registerReport(RouteTable& routes, Database& db);

// The chosen-method text of the report: "T" for every method (nothing), or the codes of
// the multiple-choice dialog, each after an underscore with one more at the end
// ("_01_17_"). Anything else, an empty code, a code longer than two characters or of
// other than letters and digits, or a code given twice, is refused (ApiError).
std::optional<QStringList> parseChosenMethods(const QString& text);

}  // namespace server::methods
