#pragma once

#include "common.h"

namespace server::methods {

// GetDadoAval, GetDadoAvalEnerg, GetInfoAval, GetHistInfoAval, GetPesqDadoAval,
// GetAtualizaDados, SetInfoAval.
void registerRecordedValues(RouteTable& routes, Database& db);

// The two filters GetAtualizaDados recognises, as the module sends them.
extern const char* const kAnthropometricFilter;
extern const char* const kEnergyFilter;

}  // namespace server::methods
