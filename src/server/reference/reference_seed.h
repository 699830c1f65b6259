#pragma once

#include "percentile_table.h"

#include "../storage/database.h"

namespace server::reference {

struct SeedCounts
{
    int references = 0;   // bibliographic references added
    int listings = 0;     // list entries added
    int defaults = 0;     // methods given a default reference
    int percentiles = 0;  // percentile rows written
    int standards = 0;    // fixed standards written
    int curves = 0;       // curve points written
    int lists = 0;        // injury factors, nutrient references, groups and nutrients added
    int equations = 0;    // body density equations written
    int perKg = 0;        // recommendations per kilogram written
    int ranges = 0;       // recommended nutrient ranges written
};

// Writes a reference set on the transaction: the bibliographic references and list
// entries it lacks (a reference already stored keeps its name), the default reference of
// each method that has none, and the percentile tables, each table (reference and owner)
// replaced whole, the fixed standards, likewise replaced per reference and owner, and the
// reference curves, replaced per reference and curve; the injury factors, nutrient
// references, nutrient groups and nutrients it lacks (one already stored keeps its name and
// value); the body density equations, replaced per reference and sex; the recommendations
// per kilogram, replaced per nutrient reference; and the recommended nutrient ranges,
// replaced per reference of recommended intakes.
// Rows go in multi-row inserts so a few thousand take one round trip per
// hundred rows.
SeedCounts seedReferenceSet(storage::Transaction& tx, const ReferenceSet& set);

}  // namespace server::reference
