#include "packet.h"

namespace records {

QVariant Packet::value(int row, const QString& field) const
{
    const int col = fieldIndex(field);
    if (row < 0 || row >= rows.size() || col < 0 || col >= rows[row].size())
        return {};
    return rows[row][col];
}

}  // namespace records
