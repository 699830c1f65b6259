#pragma once

// Which fixed list a factor of the energy data grid is picked from, by method and data
// type: the list, the pick dialog's caption, and the default a new consultation's empty
// factor gets when the page opens.

#include "records/choice_lists.h"

#include <QString>

#include <optional>

namespace workspace {

struct FactorDefault
{
    QString value;         // DSINFOAVAL
    QString injuryFactor;  // CDFATOINJU (the injury factor only)
};

namespace energy_factors {

// The list of a (method, data type); nullptr for the injury factor and the
// recommendation reference, which the server lists, and for anything else.
const records::ChoiceList* listOf(const QString& method, const QString& dataType);
// The caption of that pick dialog ("Fator Térmico", "Atividade Física", ...).
QString captionOf(const QString& method, const QString& dataType);
// The name a list gives a code; empty when the code is not listed.
QString nameOf(const records::ChoiceList& list, const QString& code);
// The default of an empty factor; nothing for factors without one.
std::optional<FactorDefault> defaultOf(const QString& method, const QString& dataType);

}  // namespace energy_factors
}  // namespace workspace
