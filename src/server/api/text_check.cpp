#include "text_check.h"

namespace server::api {
namespace {

bool allowedControl(char32_t c)
{
    return c == u'\t' || c == u'\n' || c == u'\r';
}

QString codePoint(char32_t c)
{
    return QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
}

QString controlProblem(char32_t c)
{
    return QStringLiteral("traz o caractere de controle %1, que um texto não pode ter (só "
                          "tabulação, quebra de linha e retorno de carro são aceitos)")
        .arg(codePoint(c));
}

QString surrogateProblem(char32_t c)
{
    return QStringLiteral("traz o substituto UTF-16 isolado %1, que não é um caractere "
                          "Unicode")
        .arg(codePoint(c));
}

bool isHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The value of the four hex digits at body[at], or -1.
int hex4(const QByteArray& body, qsizetype at)
{
    if (at + 4 > body.size())
        return -1;
    bool ok = false;
    const int v = body.mid(at, 4).toInt(&ok, 16);
    return ok ? v : -1;
}

// The position of the first byte that does not belong to well-formed UTF-8 (overlong
// forms, encoded surrogates and code points past U+10FFFF included), or -1.
qsizetype invalidUtf8At(const QByteArray& bytes)
{
    const auto* s = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const uchar b = s[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int more = 0;
        uchar low = 0x80;
        uchar high = 0xBF;  // the allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            more = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            more = 2;
            if (b == 0xE0)
                low = 0xA0;  // overlong
            if (b == 0xED)
                high = 0x9F;  // surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            more = 3;
            if (b == 0xF0)
                low = 0x90;  // overlong
            if (b == 0xF4)
                high = 0x8F;  // past U+10FFFF
        } else {
            return i;
        }
        if (i + more >= n)
            return i;
        if (s[i + 1] < low || s[i + 1] > high)
            return i;
        for (int k = 2; k <= more; ++k) {
            if (s[i + k] < 0x80 || s[i + k] > 0xBF)
                return i;
        }
        i += more + 1;
    }
    return -1;
}

QString invalidUtf8Problem(const QByteArray& bytes, qsizetype at)
{
    return QStringLiteral("não está em UTF-8 válido (byte 0x%1 na posição %2)")
        .arg(static_cast<uchar>(bytes[at]), 2, 16, QLatin1Char('0'))
        .arg(at);
}

}  // namespace

std::optional<QString> textProblem(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x20 && !allowedControl(c))
            return controlProblem(c);
        if (isHighSurrogate(c)) {
            if (i + 1 < text.size() && isLowSurrogate(text[i + 1].unicode())) {
                ++i;
                continue;
            }
            return surrogateProblem(c);
        }
        if (isLowSurrogate(c))
            return surrogateProblem(c);
    }
    return std::nullopt;
}

std::optional<QString> utf8TextProblem(const QByteArray& bytes)
{
    if (const qsizetype bad = invalidUtf8At(bytes); bad >= 0)
        return invalidUtf8Problem(bytes, bad);
    return textProblem(QString::fromUtf8(bytes));
}

std::optional<QString> jsonTextProblem(const QByteArray& body)
{
    if (const qsizetype bad = invalidUtf8At(body); bad >= 0)
        return invalidUtf8Problem(body, bad);
    for (qsizetype i = 0; i < body.size(); ++i) {
        const uchar b = static_cast<uchar>(body[i]);
        if (b < 0x20 && !allowedControl(b))
            return controlProblem(b);
        if (b != '\\' || i + 1 >= body.size())
            continue;
        const char e = body[++i];
        if (e == 'b')
            return controlProblem(0x08);
        if (e == 'f')
            return controlProblem(0x0C);
        if (e != 'u')
            continue;
        const int c = hex4(body, i + 1);
        if (c < 0)
            continue;  // the parser refuses a malformed escape
        i += 4;
        if (c < 0x20 && !allowedControl(static_cast<char32_t>(c)))
            return controlProblem(static_cast<char32_t>(c));
        if (isLowSurrogate(static_cast<char32_t>(c)))
            return surrogateProblem(static_cast<char32_t>(c));
        if (!isHighSurrogate(static_cast<char32_t>(c)))
            continue;
        const int low = i + 2 < body.size() && body[i + 1] == '\\' && body[i + 2] == 'u'
                            ? hex4(body, i + 3)
                            : -1;
        if (low < 0 || !isLowSurrogate(static_cast<char32_t>(low)))
            return surrogateProblem(static_cast<char32_t>(c));
        i += 6;
    }
    return std::nullopt;
}

}  // namespace server::api
