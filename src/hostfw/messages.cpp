#include "hostfw/messages.h"

#include "records/error.h"

namespace hostfw {

namespace {

QString foldKey(const QString& key)
{
    return key.trimmed().toCaseFolded();
}

}  // namespace

TMessages TMessages::fromText(const QString& text)
{
    TMessages table;
    table.loadFromText(text);
    return table;
}

void TMessages::loadFromText(const QString& text)
{
    const QStringList lines = text.split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        qsizetype start = 0;
        while (start < line.size() && line.at(start).isSpace())
            ++start;
        if (start == line.size())
            continue;
        const qsizetype bar = line.indexOf(u'|', start);
        const QString key = bar < 0 ? QString() : line.mid(start, bar - start).trimmed();
        if (key.isEmpty())
            throw records::Error(QStringLiteral("Linha inválida na tabela de mensagens: \"%1\".")
                                     .arg(line.mid(start)));
        add(key, line.mid(bar + 1));
    }
}

void TMessages::add(const QString& key, const QString& text)
{
    const QString folded = foldKey(key);
    if (m_texts.contains(folded))
        return;
    m_texts.insert(folded, text);
    m_keys.append(key.trimmed());
}

QString TMessages::Msg(const QString& key) const
{
    return m_texts.value(foldKey(key));
}

bool TMessages::contains(const QString& key) const
{
    return m_texts.contains(foldKey(key));
}

}  // namespace hostfw
