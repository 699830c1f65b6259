#pragma once

#include "records/reply.h"

#include <QJsonValue>

namespace hostfw {

// The reply check made after every server call: returns the payload of a successful
// reply. A failed reply ends the operation: with raise true (what the module always
// passes) it throws hostfw::ServerError carrying the server's text, which the
// outermost action handler shows (records::StaleDataError for a change refused because
// another user changed the records, so the handler also reloads); with raise false the text is
// shown at once and an undefined value is returned. The last argument is kept for the call shape
// (reply, true, 0) and has no effect.
QJsonValue CheckResultServ(const records::Reply& reply, bool raise = true, int code = 0);

}  // namespace hostfw
