#include "consultation.h"

#include "catalogue_cache.h"
#include "method_lists.h"
#include "nutrients.h"
#include "reference_percentiles.h"

namespace server::methods {

void registerConsultation(RouteTable& routes, Database& db)
{
    routes.add(
        QStringLiteral("GetDados"),
        api::arg::key() + api::Signature{api::arg::number(QStringLiteral("idade codificada"))},
        [&db, catalogueCache = std::make_shared<CatalogueCache>()](const Params& p) -> QJsonValue {
            const records::ConsultationKey k = p.key();
            // Checked as the reference methods check it; the method lists compare
            // the coded form with the catalogue's coded age bands.
            ageInMonths(p, 3);
            const double age = p.number(3);
            return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                const auto catalogue = catalogueCache->snapshot(tx);
                const auto stored = storedMethodChoices(tx, k);
                return QJsonValue(QJsonArray{
                    methodListPacket(catalogue->listedMethods, stored, k, age,
                                     MethodList::Anthropometric),
                    methodListPacket(catalogue->listedMethods, stored, k, age, MethodList::Energy),
                    catalogue->methods,
                    catalogue->dataTypes,
                    catalogue->links,
                    catalogue->idealWeightMethods,
                    recommendationsPacket(tx, k),
                    nutrientAmountsPacket(tx, k),
                });
            });
        });
}

}  // namespace server::methods
