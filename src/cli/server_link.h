#pragma once

#include "cli_options.h"

#include "records/app_server.h"

#include <QTextStream>

#include <memory>

namespace cli {

// What a command that needs a session says when there is none or it ended.
inline constexpr char kNoSessionText[] = "Sessão expirada ou inexistente: use avalnutri login.";

// The application server named by the connection, over HTTP or HTTPS, with the service
// token of the connection's token file or else the stored session (its server when none
// is given). Also makes it the module's transport (WebURL, WebPort and token) for the
// assessment core. A session the server refuses fails the call with kNoSessionText.
// Throws records::Error when there is no usable token or session.
std::unique_ptr<records::AppServer> connect(const Connection& connection);

// avalnutri login: asks the password (and the login when not given) and stores the
// session. avalnutri logout: ends it on the server and removes it. Both answer the exit
// status; messages go to err.
int login(const Command& command, QTextStream& out, QTextStream& err);
int logout(const Command& command, QTextStream& out, QTextStream& err);

}  // namespace cli
