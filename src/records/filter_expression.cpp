#include "filter_expression.h"

#include "error.h"

#include <optional>

namespace records {
namespace {

class Reader
{
public:
    explicit Reader(const QString& text) : m_text(text) {}

    void skipBlanks()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }
    bool atEnd()
    {
        skipBlanks();
        return m_pos >= m_text.size();
    }
    QString name()
    {
        skipBlanks();
        const int start = m_pos;
        while (m_pos < m_text.size()
               && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == QLatin1Char('_')))
            ++m_pos;
        return m_text.mid(start, m_pos - start);
    }
    bool take(QChar c)
    {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    // A quoted literal; a doubled quote stands for one quote.
    std::optional<QString> literal()
    {
        if (!take(QLatin1Char('\'')))
            return std::nullopt;
        QString out;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos++];
            if (c != QLatin1Char('\'')) {
                out.append(c);
                continue;
            }
            if (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('\'')) {
                out.append(c);
                ++m_pos;
                continue;
            }
            return out;
        }
        return std::nullopt;  // unterminated
    }

private:
    const QString& m_text;
    int m_pos = 0;
};

}  // namespace

QList<FilterCondition> parseFilter(const QString& text)
{
    const auto bad = [&text]() {
        return Error(QStringLiteral("Filtro inválido: \"%1\".").arg(text));
    };
    QList<FilterCondition> out;
    Reader r(text);
    if (r.atEnd())
        return out;
    for (;;) {
        FilterCondition c;
        c.field = r.name();
        if (c.field.isEmpty() || c.field.front().isDigit() || !r.take(QLatin1Char('=')))
            throw bad();
        const auto lit = r.literal();
        if (!lit)
            throw bad();
        c.literal = *lit;
        out.append(c);
        if (r.atEnd())
            return out;
        if (r.name().compare(QStringLiteral("and"), Qt::CaseInsensitive) != 0)
            throw bad();
    }
}

}  // namespace records
