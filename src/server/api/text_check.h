#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace server::api {

// What no text stored by the server may hold: a control character of C0 other than tab,
// line feed and carriage return (NUL among them), or anything that is not Unicode
// (bytes that are not UTF-8, a lone UTF-16 surrogate). Answers the problem in Portuguese
// ("traz o caractere de controle U+0000"), or nothing when the text is clean.
std::optional<QString> textProblem(QStringView text);

// The same for text held as UTF-8 bytes (the diagnosis, which travels as a blob).
std::optional<QString> utf8TextProblem(const QByteArray& bytes);

// The same rules over a raw JSON request body, before it is parsed: the parser would
// turn invalid UTF-8 and a lone surrogate escape ("\ud800") into U+FFFD without a word.
// Looks at raw bytes and at every escape (\u0000, \b, \f), so every string of the body,
// argument or delta value, is covered in one pass.
std::optional<QString> jsonTextProblem(const QByteArray& body);

}  // namespace server::api
