#pragma once

// The reference check the method lists share (the method page and the energy page): a
// selected method that uses a reference table gets its reference code padded, looked
// up on the server and its name copied.

#include <QString>

namespace records {
class DataSet;
}

namespace workspace {

class AssessmentForm;

// The references of a method by its use flag: "2" the ideal-weight references, "3" the
// bone references, anything else the method's own (by its reference owner). With an
// empty code, every reference; the dataset loaded is returned.
records::DataSet& fetchReferences(AssessmentForm& form, const QString& useFlag, const QString& code,
                                  const QString& method);

// Checks the reference of the row of methods being edited against the references of
// useFlag (as fetchReferences; a flag other than "1", "2" or "3" checks nothing). A
// selected method without a reference is refused when referenceRequired; the reference
// is looked up when it is not required or the user is in the reference column.
void checkReference(AssessmentForm& form, records::DataSet& methods, bool referenceRequired,
                    bool inReferenceColumn, const QString& useFlag);

}  // namespace workspace
