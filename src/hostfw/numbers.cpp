#include "hostfw/numbers.h"

#include "hostfw/decimal.h"
#include "hostfw/errors.h"

#include <QList>

#include <charconv>
#include <cmath>
#include <string>

namespace hostfw {

namespace {

// One section of a display pattern, read once.
struct Section
{
    QString prefix;          // literal text before the first placeholder
    QString suffix;          // literal text after it
    bool hasNumber = false;  // has any placeholder or decimal point
    bool grouping = false;
    int minInteger = 0;   // placeholders from the first "0" before the point
    int minFraction = 0;  // up to the last "0" after the point
    int maxFraction = 0;  // all placeholders after the point
};

QList<QString> splitSections(const QString& pattern)
{
    QList<QString> sections;
    QString current;
    QChar quote;
    for (QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections.append(current);
            current.clear();
            continue;
        }
        current.append(c);
    }
    sections.append(current);
    return sections;
}

Section parseSection(const QString& text)
{
    Section s;
    bool seenPoint = false;
    bool seenZero = false;
    auto addLiteral = [&s](QStringView literal) {
        if (s.hasNumber)
            s.suffix += literal;
        else
            s.prefix += literal;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'"' || c == u'\'') {
            const qsizetype close = text.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? text.size() : close;
            addLiteral(QStringView(text).mid(i + 1, end - i - 1));
            i = end;
        } else if (c == u'0' || c == u'#') {
            s.hasNumber = true;
            if (!seenPoint) {
                seenZero = seenZero || c == u'0';
                if (seenZero)
                    ++s.minInteger;
            } else {
                ++s.maxFraction;
                if (c == u'0')
                    s.minFraction = s.maxFraction;
            }
        } else if (c == u',' && !seenPoint) {
            s.grouping = true;
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            s.hasNumber = true;
        } else {
            addLiteral(QStringView(&c, 1));
        }
    }
    return s;
}

QString groupThousands(const QString& digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += ThousandSeparator;
        out += digits.at(i);
    }
    return out;
}

QString render(const Section& s, double value, bool withSign)
{
    if (!s.hasNumber)
        return s.prefix + s.suffix;
    const detail::DecimalDigits d = detail::roundDecimal(value, s.maxFraction);
    QString integer = d.integer == "0" ? QString() : QString::fromLatin1(d.integer);
    if (integer.size() < s.minInteger)
        integer.prepend(QString(s.minInteger - integer.size(), u'0'));
    if (s.grouping)
        integer = groupThousands(integer);
    QString fraction = QString::fromLatin1(d.fraction);
    while (fraction.size() > s.minFraction && fraction.endsWith(u'0'))
        fraction.chop(1);
    QString out;
    if (withSign && d.negative)
        out += u'-';
    out += s.prefix + integer;
    if (!fraction.isEmpty())
        out += DecimalSeparator + fraction;
    return out + s.suffix;
}

bool roundsToZero(const Section& s, double value)
{
    const detail::DecimalDigits d = detail::roundDecimal(value, s.maxFraction);
    return d.integer == "0" && d.fraction.find_first_not_of('0') == std::string::npos;
}

}  // namespace

double RoundDec(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    const detail::DecimalDigits d = detail::roundDecimal(value, decimals);
    std::string text = d.integer;
    if (!d.fraction.empty())
        text += '.' + d.fraction;
    double result = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), result);
    if (parsed.ec != std::errc())
        return value;
    return d.negative ? -result : result;
}

QString FormatFloat(const QString& pattern, double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (pattern.isEmpty())
        return FloatToStr(value);

    const QList<QString> texts = splitSections(pattern);
    const Section positive = parseSection(texts.at(0));
    if (texts.size() >= 3 && !texts.at(2).isEmpty() && roundsToZero(positive, value))
        return render(parseSection(texts.at(2)), 0.0, false);
    if (value < 0 && texts.size() >= 2 && !texts.at(1).isEmpty())
        return render(parseSection(texts.at(1)), -value, false);
    return render(positive, value, true);
}

QString FloatToStr(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    const QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    const qsizetype e = text.indexOf(u'e');
    QString mantissa = e < 0 ? text : text.left(e);
    mantissa.replace(u'.', DecimalSeparator);
    if (e < 0)
        return mantissa;
    const int exponent = text.mid(e + 1).toInt();
    return mantissa + u'E' + QString::number(exponent);
}

std::optional<double> TryStrToFloat(const QString& text)
{
    const QString t = text.trimmed();
    std::string ascii;
    ascii.reserve(std::size_t(t.size()));
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t.at(i) == u'-' || t.at(i) == u'+')) {
        negative = t.at(i) == u'-';
        ++i;
    }
    bool seenComma = false;
    int digits = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t.at(i).unicode();
        if (c >= u'0' && c <= u'9') {
            ascii += char(c);
            ++digits;
        } else if (c == DecimalSeparator.unicode() && !seenComma) {
            seenComma = true;
            ascii += '.';
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    double value = 0;
    const auto parsed = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (parsed.ec != std::errc() || parsed.ptr != ascii.data() + ascii.size())
        return std::nullopt;
    return negative ? -value : value;
}

double StrToFloat(const QString& text, const QString& fieldLabel)
{
    const std::optional<double> value = TryStrToFloat(text);
    if (!value)
        throw ConversionError(InvalidFloatMessage(text, fieldLabel));
    return *value;
}

QString InvalidFloatMessage(const QString& text, const QString& fieldLabel)
{
    return QStringLiteral("'%1' não é um valor de ponto flutuante válido para o campo '%2'.")
        .arg(text, fieldLabel);
}

QString NormalizeTypedNumber(const QString& typed)
{
    QString out = typed;
    out.replace(u'.', DecimalSeparator);
    return out;
}

}  // namespace hostfw
