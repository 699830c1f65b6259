#pragma once

#include <QString>

namespace records {
class DataSet;
}

namespace workspace {

// The methods a patient is not offered, deleted from the consultation's method list
// after each load: for men, the Siri equation after 34 years, sexual maturation from
// 18 years, and the pregnancy and lactation methods; sexual maturation for a sex that
// is neither male nor female. The deletions stay in the change log and travel with the
// next write of the list.
void applyMethodFilter(records::DataSet& cdsMetoAval, const QString& sexLetter, int ageYears);

}  // namespace workspace
