#pragma once

#include "client/http_app_server.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace cli {

// The session avalnutri login opened, as it is kept between commands: the server it
// belongs to (as written: "https://host:port" or "host:port"), the authority file its
// certificate is checked against, the token, when it ends and whose it is.
struct StoredSession
{
    QString server;
    QString caFile;
    httpclient::Session session;
};

// $XDG_RUNTIME_DIR/avalnutri/session.json, else $HOME/.cache/avalnutri/session.json, from
// the environment as "NAME=value" entries; empty when neither variable is set.
QString defaultSessionFile(const QStringList& environment);

// Writes the file readable and writable by its owner only (0600), in a directory only the
// owner may enter (0700), replacing any earlier session at once. Throws records::Error.
void writeSession(const QString& path, const StoredSession& stored);

// The stored session; nothing when there is no file. Throws records::Error when the file
// cannot be read, is not a session, or others than its owner may read it.
std::optional<StoredSession> readSession(const QString& path);

// Removes the file; false when there was none.
bool removeSession(const QString& path);

}  // namespace cli
