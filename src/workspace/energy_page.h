#pragma once

// The energy tab's core: for now the weight and height panel and the reference check of
// its method list (cdsMetoAvalEnerg).

#include "assessment_form.h"

namespace workspace {

class EnergyPage
{
public:
    explicit EnergyPage(AssessmentForm& form) : m_form(form) {}
    EnergyPage(const EnergyPage&) = delete;
    EnergyPage& operator=(const EnergyPage&) = delete;

    // The reference check of the energy method row being edited: only the methods whose
    // descriptor asks for it, against the ideal-weight references. With
    // referenceRequired a selected method without a reference stops the post.
    void Vd_ReferenciaEnerg(bool referenceRequired);
    // The column of the energy method grid the user is in.
    QString dbgMetoAvalEnergColumn;

    // The weight and height panel (panDados) as typed: the weight in kg, the height in
    // m. The ideal-weight methods read them in their silent mode.
    QString medPeso;
    QString medAltura;
    // The adequate weight in kg as typed (medPesoAdeq).
    QString medPesoAdeq;
    // Stores the panel (weight, height, ideal-weight choice, adequate weight) as recorded
    // values of every method that needs them.
    void panAltPesoExit();

private:
    AssessmentForm& m_form;
};

}  // namespace workspace
