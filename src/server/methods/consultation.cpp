#include "consultation.h"

#include "catalogue_methods.h"
#include "ideal_weight.h"
#include "method_lists.h"
#include "nutrients.h"

namespace server::methods {

void registerConsultation(RouteTable& routes, Database& db)
{
    routes.add(QStringLiteral("GetDados"),
               api::arg::key()
                   + api::Signature{api::arg::number(QStringLiteral("idade codificada"))},
               [&db](const Params& p) -> QJsonValue {
                   const records::ConsultationKey k = p.key();
                   const double age = p.number(3);
                   if (age < 0 || age > 200)
                       p.fail(3, QStringLiteral("está fora de 0 a 200 anos"));
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
