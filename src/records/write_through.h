#pragma once

#include "app_server.h"
#include "dataset.h"
#include "reply.h"

#include <QJsonValue>
#include <QString>

namespace records {

// The payload of a successful reply; a failed one throws records::Error with the
// server's text (the host's reply check builds on this).
QJsonValue checkReply(const Reply& reply);

// Sends a change log with the named write method ("SetMetoAval", ...), passing the
// null-field list to the methods that take one. An unknown method throws.
Reply sendDelta(AppServer& server, const QString& writeMethod, const Delta& delta,
                const QString& nullFieldList);
// True for the write methods that take a null-field list besides the delta.
bool takesNullFieldList(const QString& writeMethod);

// Write-through of one post: nothing when the change log is empty; otherwise the whole
// log (deletions made earlier included) goes to the server with writeMethod, together
// with the current row's null-field list where the method takes one; on success the
// log is merged, on any failure every unmerged change is cancelled and the error
// passed on.
void writeThrough(DataSet& dataSet, AppServer& server, const QString& writeMethod);

// Makes every post of dataSet write through with writeMethod (by default its layout's).
// The write runs first in AfterPost, then the handler AfterPost held before; a handler
// assigned later replaces both, so assign yours first or call writeThrough from it.
void attachWriteThrough(DataSet& dataSet, AppServer& server);
void attachWriteThrough(DataSet& dataSet, AppServer& server, const QString& writeMethod);

}  // namespace records
