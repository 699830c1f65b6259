#include "catalogue_cache.h"

#include "catalogue_methods.h"
#include "ideal_weight.h"

namespace server::methods {

std::shared_ptr<const CatalogueSnapshot> CatalogueCache::snapshot(Transaction& tx)
{
    // Read before the catalogue: a change committed in between is then newer than the
    // version kept with it, and the next reader rebuilds.
    const qint64 version =
        tx.scalar(QStringLiteral("SELECT NRVERSAO FROM versaocatalogo")).toLongLong();
    {
        const std::lock_guard lock(m_mutex);
        if (m_current && m_current->version == version)
            return m_current;
    }
    auto built = std::make_shared<CatalogueSnapshot>();
    built->version = version;
    built->methods = catalogueMethodsPacket(tx);
    built->dataTypes = catalogueDataTypesPacket(tx);
    built->links = catalogueLinksPacket(tx);
    built->idealWeightMethods = idealWeightMethodsPacket(tx);
    built->listedMethods = listedMethods(tx);
    const std::lock_guard lock(m_mutex);
    m_current = built;
    return built;
}

}  // namespace server::methods
