#pragma once

// The ideal weights of the consultation as the energy and recommendation pages read
// them: what the ideal-weight methods leave in their silent mode (Lorenz, IMC-OMS,
// Weech, run by Calcula_Metodo_PesoIdeal on the energy panel's weight and height) and
// the two texts an energy equation leaves when it is evaluated at an ideal weight.

#include <QString>

namespace workspace {

struct IdealWeights
{
    double lower = 0;  // lower ideal weight in kg; 0: not computed
    double upper = 0;  // upper ideal weight in kg (a weight range); 0: not computed
    QString basalText = QStringLiteral("0");  // the basal value at an ideal weight, formatted
    QString totalText = QStringLiteral("0");  // the total value at an ideal weight, formatted

    // Nothing computed: both weights 0, both texts "0".
    void clear() { *this = IdealWeights(); }
};

}  // namespace workspace
