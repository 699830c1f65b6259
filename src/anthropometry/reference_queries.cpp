#include "reference_queries.h"

#include "hostfw/reply_check.h"
#include "records/packet_codec.h"

namespace anthropometry {

records::DataSet& ReferenceQueries::dataSet(const records::DataSetLayout& layout)
{
    std::shared_ptr<records::DataSet>& slot = m_dataSets[layout.name];
    if (!slot)
        slot = std::make_shared<records::DataSet>(layout);
    return *slot;
}

records::DataSet& ReferenceQueries::load(const records::DataSetLayout& layout,
                                         const records::Reply& reply)
{
    records::DataSet& target = dataSet(layout);
    target.loadPacket(records::decodePacket(hostfw::CheckResultServ(reply, true, 0)));
    return target;
}

QJsonValue ReferenceQueries::loadEach(std::initializer_list<const records::DataSetLayout*> layouts,
                                      const records::Reply& reply)
{
    const QJsonValue payload = hostfw::CheckResultServ(reply, true, 0);
    int index = 0;
    for (const records::DataSetLayout* layout : layouts)
        dataSet(*layout).loadPacket(records::packetAt(payload, index++));
    return payload;
}

}  // namespace anthropometry
