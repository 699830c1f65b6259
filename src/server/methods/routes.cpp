#include "routes.h"

#include "body_fat_references.h"
#include "catalogue_methods.h"
#include "consultation.h"
#include "diagnosis.h"
#include "energy_references.h"
#include "fhir_export.h"
#include "growth_references.h"
#include "ideal_weight.h"
#include "ideal_weight_references.h"
#include "method_lists.h"
#include "nutrient_recommendation.h"
#include "nutrients.h"
#include "recorded_values.h"
#include "reference_percentiles.h"
#include "reference_standards.h"
#include "references.h"
#include "registry.h"
#include "report.h"
#include "results.h"

namespace server::methods {

void registerAll(api::RouteTable& routes, storage::Database& db)
{
    registerConsultation(routes, db);
    registerMethodLists(routes, db);
    registerRecordedValues(routes, db);
    registerResults(routes, db);
    registerNutrients(routes, db);
    registerNutrientRecommendation(routes, db);
    registerDiagnosis(routes, db);
    registerIdealWeight(routes, db);
    registerIdealWeightReferences(routes, db);
    registerCatalogue(routes, db);
    registerReferences(routes, db);
    registerReferencePercentiles(routes, db);
    registerReferenceStandards(routes, db);
    registerEnergyReferences(routes, db);
    registerBodyFatReferences(routes, db);
    registerGrowthReferences(routes, db);
    registerRegistry(routes, db);
    registerReport(routes, db);
    registerFhirExport(routes, db);
}

}  // namespace server::methods
