#include "data_key_filter.h"

#include "data_types.h"
#include "workspace_messages.h"

#include "hostfw/numbers.h"

namespace workspace {
namespace {

DataKeyVerdict accept(QChar key)
{
    return {DataKeyVerdict::Kind::Accept, key, {}};
}

DataKeyVerdict ignore()
{
    return {};
}

DataKeyVerdict refuse(const QString& message)
{
    return {DataKeyVerdict::Kind::Refuse, QChar(), message};
}

DataKeyVerdict limbCountKey(const DataKeyContext& c, QChar key)
{
    if (key != u'1' && key != u'2' && key != kBackspace)
        return ignore();
    if (key == u'2' && c.unit == u"1") {
        if (data_types::isUpperLimb(c.type) && c.upperLimbs >= 2)
            return refuse(msgPadrao().Msg(QStringLiteral("Membro_Sup")));
        if (data_types::isLowerLimb(c.type) && c.lowerLimbs >= 2)
            return refuse(msgPadrao().Msg(QStringLiteral("Membro_Inf")));
    }
    return accept(key);
}

}  // namespace

DataKeyVerdict filterDataKey(const DataKeyContext& c, QChar key)
{
    if (c.readOnly)
        return ignore();
    if (c.field == u"DSUNIDDADO") {
        if (data_types::isAmputation(c.type) && c.value == u"1")
            return limbCountKey(c, key);
        return ignore();
    }
    if (c.field != u"DSINFOAVAL")
        return ignore();
    if (data_types::isEdema(c.type) || data_types::isAmputation(c.type)
        || data_types::isMaturation(c.type))
        return ignore();
    if (key.isDigit() && key.unicode() < 128)
        return accept(key);
    if (key == kBackspace)
        return accept(key);
    if (key == u'.' || key == u',') {
        if (data_types::isWholeNumber(c.type))
            return ignore();
        return accept(hostfw::DecimalSeparator);
    }
    return ignore();
}

}  // namespace workspace
