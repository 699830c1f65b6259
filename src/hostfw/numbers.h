#pragma once

#include <QString>

#include <optional>

namespace hostfw {

// Numbers as the users read and type them: fixed Brazilian settings whatever the
// machine's locale, a decimal comma and a thousands point. Rounding works on the
// number's shortest decimal representation with exact halves going away from zero,
// so 2.675 rounds to 2.68 although the nearest double lies just below it.

inline constexpr QChar DecimalSeparator = u',';
inline constexpr QChar ThousandSeparator = u'.';

// value rounded to that many decimals (decimals below 0 count as 0). Not-a-number and
// infinities come back unchanged.
double RoundDec(double value, int decimals);

// value shown through a display pattern such as "#,##0.000":
// - "0" is a digit always shown, "#" a digit shown when significant;
// - "." marks the decimal point (shown as ","), the count of placeholders after it is
//   the number of decimals ("#" decimals are dropped when they are trailing zeros);
// - a "," anywhere before the point groups the integer part in thousands with ".";
// - text before and after the placeholders, plain or in quotes, is shown as it stands;
// - "positive;negative;zero" sections as usual (the negative section gets no sign).
// A value that rounds to zero never shows a minus sign. An empty pattern gives
// FloatToStr(value).
QString FormatFloat(const QString& pattern, double value);

// The plain text of a number (up to 15 significant digits, decimal comma, no grouping):
// 70.5 is "70,5", 3 is "3". The text a packet field of real type shows without a
// display format.
QString FloatToStr(double value);

// Strict reading of a number: optional blanks around it, an optional sign, digits and
// at most one decimal comma ("12", "12,5", ",5", "-3,25"). A point, a thousands
// separator, an exponent or any other character make it not a number.
std::optional<double> TryStrToFloat(const QString& text);

// As TryStrToFloat, throwing ConversionError with InvalidFloatMessage(text, fieldLabel)
// when the text is not a number.
double StrToFloat(const QString& text, const QString& fieldLabel);

// "'<text>' não é um valor de ponto flutuante válido para o campo '<fieldLabel>'."
QString InvalidFloatMessage(const QString& text, const QString& fieldLabel);

// A value as the user typed it, with a point or a comma as the decimal mark, made into
// the stored form: every "." becomes ",". Nothing else changes, so a text that was not
// a number stays not a number.
QString NormalizeTypedNumber(const QString& typed);

}  // namespace hostfw
