#include "consultation.h"

#include "catalogue_methods.h"
#include "ideal_weight.h"
#include "method_lists.h"
#include "nutrients.h"
#include "reference_percentiles.h"

namespace server::methods {

void registerConsultation(RouteTable& routes, Database& db)
{
    routes.add(QStringLiteral("GetDados"),
               api::arg::key()
                   + api::Signature{api::arg::number(QStringLiteral("idade codificada"))},
               [&db](const Params& p) -> QJsonValue {
                   const records::ConsultationKey k = p.key();
                   // Checked as the reference methods check it; the method lists compare
                   // the coded form with the catalogue's coded age bands.
                   ageInMonths(p, 3);
                   const double age = p.number(3);
                   return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) {
                       return QJsonValue(QJsonArray{
                           methodListPacket(tx, k, age, MethodList::Anthropometric),
                           methodListPacket(tx, k, age, MethodList::Energy),
                           catalogueMethodsPacket(tx),
                           catalogueDataTypesPacket(tx),
                           catalogueLinksPacket(tx),
                           idealWeightMethodsPacket(tx),
                           recommendationsPacket(tx, k),
                           nutrientAmountsPacket(tx, k),
                       });
                   });
               });
}

}  // namespace server::methods
