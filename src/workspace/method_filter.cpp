#include "method_filter.h"

#include "records/catalogue_descriptors.h"
#include "records/dataset.h"

namespace workspace {

void applyMethodFilter(records::DataSet& ds, const QString& sexLetter, int ageYears)
{
    for (const records::MethodDescriptor& method : records::methodDescriptors()) {
        if (!records::offeredTo(method, sexLetter, ageYears)
            && ds.locate(QStringLiteral("CDTBMETOAVAL"), QString(method.code)))
            ds.remove();
    }
    ds.first();
}

}  // namespace workspace
