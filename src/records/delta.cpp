#include "delta.h"

namespace records {

QString deltaKindName(DeltaChange::Kind kind)
{
    switch (kind) {
    case DeltaChange::Kind::Insert:
        return QStringLiteral("insert");
    case DeltaChange::Kind::Update:
        return QStringLiteral("update");
    case DeltaChange::Kind::Delete:
        return QStringLiteral("delete");
    }
    return {};
}

std::optional<DeltaChange::Kind> deltaKindFromName(const QString& name)
{
    for (auto kind :
         {DeltaChange::Kind::Insert, DeltaChange::Kind::Update, DeltaChange::Kind::Delete}) {
        if (deltaKindName(kind) == name)
            return kind;
    }
    return std::nullopt;
}

}  // namespace records
