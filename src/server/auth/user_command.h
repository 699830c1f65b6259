#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace server::auth {

// Where "avalnutri-server user" reads a password: the terminal without echo (asked twice),
// or one line of stdin when stdin is not a terminal (scripts). Answers false when there
// is no password to read.
using PasswordReader = std::function<bool(const QString& prompt, QString* password)>;
PasswordReader terminalPasswordReader();

// "avalnutri-server user add|passwd|disable|list ...": arguments after "user". Opens the
// server's database (--data DIR or --db URL, as the server), brings its schema up to
// date, does the one change in one transaction and answers the exit code (0 done, 1
// refused or failed, 2 wrong usage), having written what it did to out and why it failed
// to err.
int runUserCommand(const QStringList& arguments, const PasswordReader& readPassword,
                   const std::function<void(const QString&)>& out,
                   const std::function<void(const QString&)>& err);

QString userUsageText();

}  // namespace server::auth
