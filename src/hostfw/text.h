#pragma once

#include <QString>

namespace hostfw {

// Text helpers of the host. A blank is a space or a control character.

// True when the text is empty or holds only blanks.
bool EmptyString(const QString& text);

// The text left-padded with "0" up to width characters; a longer text is kept whole.
QString Ajusta(const QString& text, int width);

// Blanks removed at both ends.
QString AllTrim(const QString& text);

// Blanks removed at the end.
QString RTrim(const QString& text);

}  // namespace hostfw
