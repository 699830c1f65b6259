#pragma once

// The datasets the method routines load from the server's reference tables. They live
// as long as the calculation run that owns them, so a routine may look at what the
// last query of its kind answered, as the form's own datasets would let it.

#include "records/dataset.h"

namespace anthropometry {

struct ReferenceQueries
{
    ReferenceQueries();

    // GetPercentil: the percentile codes of the reference (lowest first) and the two
    // rows around the measured value.
    records::DataSet cdsPesqPer;
    records::DataSet cdsPercentilMaior;
    records::DataSet cdsPercentilMenor;
    // GetImcPesoTeorico: minimum, middle and maximum BMI of a reference.
    records::DataSet cdsImcPesoTeorico;
};

}  // namespace anthropometry
