#include "energy_page.h"
#include "reference_check.h"

#include "records/catalogue_descriptors.h"

namespace workspace {

void EnergyPage::Vd_ReferenciaEnerg(bool referenceRequired)
{
    records::DataSet& methods = m_form.cdsMetoAvalEnerg;
    const records::MethodDescriptor* method =
        records::findMethodDescriptor(methods.asString(QStringLiteral("CDTBMETOAVAL")));
    if (!method || !method->energyReferenceChecked)
        return;
    // The energy methods checked here use the ideal-weight references whatever their flag.
    checkReference(m_form, methods, referenceRequired, dbgMetoAvalEnergColumn == u"CDTABELACO",
                   QStringLiteral("2"));
}

void EnergyPage::panAltPesoExit()
{
    // Stored with the panel's page (being built).
}

}  // namespace workspace
