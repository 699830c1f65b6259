#include "method_filter.h"

#include "records/dataset.h"

#include <QStringList>

namespace workspace {
namespace {

void deleteMethod(records::DataSet& ds, const QString& code)
{
    if (ds.locate(QStringLiteral("CDTBMETOAVAL"), code))
        ds.remove();
}

}  // namespace

void applyMethodFilter(records::DataSet& ds, const QString& sexLetter, int ageYears)
{
    if (sexLetter == u"M") {
        if (ageYears > 34)
            deleteMethod(ds, QStringLiteral("29"));  // Siri equation
        if (ageYears >= 18)
            deleteMethod(ds, QStringLiteral("28"));  // sexual maturation
        for (const char* code : {"65", "66", "68"})  // pregnancy and lactation methods
            deleteMethod(ds, QString::fromLatin1(code));
    } else if (sexLetter != u"F") {
        deleteMethod(ds, QStringLiteral("28"));
    }
    ds.first();
}

}  // namespace workspace
