#include "reference_queries.h"

#include "records/layouts.h"

namespace anthropometry {

namespace L = records::layouts;

ReferenceQueries::ReferenceQueries()
    : cdsPesqPer(L::cdsPesqPer()),
      cdsPercentilMaior(L::cdsPercentilMaior()),
      cdsPercentilMenor(L::cdsPercentilMenor()),
      cdsImcPesoTeorico(L::cdsImcPesoTeorico())
{
}

}  // namespace anthropometry
