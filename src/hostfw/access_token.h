#pragma once

#include <QString>

namespace hostfw {

// The access token the server wrote at its start: the file's text without the blanks
// and line ends around it. Throws records::Error naming the file when it is missing,
// unreadable, empty, or holds something that cannot travel in a request header
// (blanks or control characters inside).
QString readAccessToken(const QString& path);

}  // namespace hostfw
