#include "hostfw/widgets/grid_columns.h"

#include "records/dataset_model.h"

#include <QAbstractItemView>

namespace hostfw {

int IndiceCol(const QAbstractItemView* grid, const QString& fieldName)
{
    const auto* model = grid ? qobject_cast<const records::DataSetModel*>(grid->model()) : nullptr;
    return model ? model->columnOf(fieldName) : -1;
}

}  // namespace hostfw
