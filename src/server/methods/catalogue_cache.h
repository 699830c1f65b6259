#pragma once

#include "common.h"
#include "method_lists.h"

#include <QJsonObject>

#include <memory>
#include <mutex>

namespace server::methods {

// The catalogue as every GetDados hands it out, built once per catalogue version rather
// than on each call: the packets of the methods, data types, links and ideal-weight
// methods, and the methods in list order for the consultation's two method lists.
struct CatalogueSnapshot
{
    qint64 version = 0;
    QJsonObject methods;
    QJsonObject dataTypes;
    QJsonObject links;
    QJsonObject idealWeightMethods;
    QList<ListedMethod> listedMethods;
};

// Keeps the last snapshot. The catalogue tables count their changes in versaocatalogo
// (triggers, whoever writes), so a reader compares one number and rebuilds only when
// the catalogue moved, also when another server process or an operator changed it.
class CatalogueCache
{
public:
    // The snapshot of the catalogue tx sees. tx must be read-only: a snapshot built from
    // a writing transaction's own changes would outlive their rollback.
    std::shared_ptr<const CatalogueSnapshot> snapshot(Transaction& tx);

private:
    std::mutex m_mutex;
    std::shared_ptr<const CatalogueSnapshot> m_current;
};

}  // namespace server::methods
