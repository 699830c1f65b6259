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
    checkReference(m_form, methods, referenceRequired, dbgMetoAvalEnergColumn == u"CDTABELACO",
                   true);
}

}  // namespace workspace
