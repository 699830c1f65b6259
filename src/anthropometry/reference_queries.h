#pragma once

// The datasets the method routines load from the server's reference tables, one per
// layout, created on first use. They live as long as the calculation run that owns
// them, so a routine may look at what the last query of its kind answered, as the
// form's own datasets would let it.

#include "records/dataset.h"
#include "records/layouts.h"
#include "records/reply.h"

#include <QHash>
#include <QJsonValue>

#include <initializer_list>
#include <memory>

namespace anthropometry {

class ReferenceQueries
{
public:
    // A reference query answered with one packet: the reply checked (a failed one throws
    // hostfw::ServerError), its packet decoded into the dataset of the layout.
    records::DataSet& load(const records::DataSetLayout& layout, const records::Reply& reply);
    // One answered with an array of packets, decoded in order into the datasets of the
    // layouts; returns the checked payload.
    QJsonValue loadEach(std::initializer_list<const records::DataSetLayout*> layouts,
                        const records::Reply& reply);

    // The dataset of a layout, as the last query left it (empty before any).
    records::DataSet& dataSet(const records::DataSetLayout& layout);

private:
    QHash<QString, std::shared_ptr<records::DataSet>> m_dataSets;
};

}  // namespace anthropometry
