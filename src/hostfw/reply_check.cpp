#include "hostfw/reply_check.h"

#include "hostfw/error_display.h"
#include "hostfw/errors.h"

namespace hostfw {

QJsonValue CheckResultServ(const records::Reply& reply, bool raise, int /*code*/)
{
    if (reply.ok)
        return reply.payload;
    // A failure without a text must still say something: an empty box reads as success.
    const QString text = reply.error.trimmed().isEmpty()
                             ? QStringLiteral("O servidor de aplicação não executou a operação.")
                             : reply.error;
    if (raise && reply.stale)
        throw records::StaleDataError(text);
    if (raise)
        throw ServerError(text);
    ShowError(text);
    return QJsonValue(QJsonValue::Undefined);
}

}  // namespace hostfw
