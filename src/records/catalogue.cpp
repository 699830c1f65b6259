#include "catalogue.h"

#include "error.h"

#include <QHash>

namespace records {

namespace {

using MessageMap = QHash<QString, QString>;  // lower-case key -> text

MessageMap parseMessageLines(const char* lines)
{
    MessageMap map;
    const QStringList all = QString::fromUtf8(lines).split(QLatin1Char('\n'));
    for (const QString& line : all) {
        const qsizetype bar = line.indexOf(QLatin1Char('|'));
        if (bar <= 0)
            continue;
        const QString key = line.left(bar).toLower();
        if (!map.contains(key))  // the first line of a key wins
            map.insert(key, line.mid(bar + 1));
    }
    return map;
}

const MessageMap& messageMap(CatalogueMessages table)
{
    static const MessageMap tbMeAv =
        parseMessageLines(catalogueMessageLines(CatalogueMessages::MsgTbMeAv));
    static const MessageMap tpDado =
        parseMessageLines(catalogueMessageLines(CatalogueMessages::MsgTpDado));
    return table == CatalogueMessages::MsgTbMeAv ? tbMeAv : tpDado;
}

bool isDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

[[noreturn]] void malformed(const QString& what, QStringView entry)
{
    throw Error(
        QStringLiteral("Entrada inválida na tabela de %1: \"%2\".").arg(what, entry.toString()));
}

QString requireMessage(CatalogueMessages table, const QString& key, const QString& what,
                       QStringView entry)
{
    const std::optional<QString> text = findCatalogueMessage(table, key);
    if (!text)
        throw Error(QStringLiteral("Chave \"%1\" sem texto na tabela de %2: \"%3\".")
                        .arg(key, what, entry.toString()));
    return *text;
}

QString rtrimmed(QStringView text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    return text.left(end).toString();
}

template <std::size_t N> QStringList entriesOf(const std::array<const char*, N>& table)
{
    QStringList out;
    out.reserve(qsizetype(N));
    for (const char* entry : table)
        out.append(QString::fromUtf8(entry));
    return out;
}

}  // namespace

std::optional<QString> findCatalogueMessage(CatalogueMessages table, QStringView key)
{
    const MessageMap& map = messageMap(table);
    const auto it = map.constFind(key.toString().toLower());
    if (it == map.constEnd())
        return std::nullopt;
    return *it;
}

QString catalogueMessage(CatalogueMessages table, QStringView key)
{
    return findCatalogueMessage(table, key).value_or(QString());
}

CatalogueMethod decodeMethodEntry(QStringView entry)
{
    const QString what = QStringLiteral("métodos");
    // The name starts at position 74 and may not be empty.
    if (entry.size() < 74)
        malformed(what, entry);
    const QChar flag = entry[0];
    const QStringView code = entry.mid(1, 2);
    const QStringView control = entry.mid(3, 10);
    const QString key = rtrimmed(entry.mid(13, 60));
    const QString name = entry.mid(73).toString();
    if (flag < u'0' || flag > u'3' || !isDigits(code) || !isDigits(control.left(8))
        || control.mid(8) != QLatin1String("  ") || key.isEmpty() || key.contains(QLatin1Char(' '))
        || name.trimmed().isEmpty())
        malformed(what, entry);

    CatalogueMethod m;
    m.IDTBUTILTABE = QString(flag);
    m.CDTBMETOAVAL = code.toString();
    m.NRCTMETOAVAL = control.left(8).toString();
    m.descriptionKey = key;
    m.DSTBMETOAVAL = requireMessage(CatalogueMessages::MsgTbMeAv, key, what, entry);
    m.NMTBMETOAVAL = name;
    return m;
}

CatalogueDataType decodeDataTypeEntry(QStringView entry)
{
    const QString what = QStringLiteral("tipos de dado");
    if (entry.size() < 5)
        malformed(what, entry);
    const QStringView code = entry.mid(0, 2);
    const QString unitKey = entry.mid(2, 2).trimmed().toString();
    const QString nameKey = entry.mid(4).toString();
    if (!isDigits(code) || nameKey.isEmpty() || nameKey.contains(QLatin1Char(' ')))
        malformed(what, entry);

    CatalogueDataType t;
    t.CDTIPODADO = code.toString();
    t.unitKey = unitKey;
    t.nameKey = nameKey;
    if (!unitKey.isEmpty())
        t.DSUNIDDADO = requireMessage(CatalogueMessages::MsgTpDado, unitKey, what, entry);
    t.NMTIPODADO = requireMessage(CatalogueMessages::MsgTpDado, nameKey, what, entry);
    return t;
}

CatalogueLink decodeLinkEntry(QStringView entry)
{
    if (entry.size() != 4 || !isDigits(entry))
        malformed(QStringLiteral("ligações entre métodos e tipos de dado"), entry);
    return {entry.mid(0, 2).toString(), entry.mid(2, 2).toString()};
}

QList<CatalogueMethod> catalogueMethods()
{
    QList<CatalogueMethod> out;
    for (const QString& entry : entriesOf(astTbMetoAval))
        out.append(decodeMethodEntry(entry));
    return out;
}

QList<CatalogueDataType> catalogueDataTypes()
{
    QList<CatalogueDataType> out;
    for (const QString& entry : entriesOf(astTipoDado))
        out.append(decodeDataTypeEntry(entry));
    return out;
}

QList<CatalogueLink> catalogueLinks()
{
    QList<CatalogueLink> out;
    for (const QString& entry : entriesOf(astDadoAval))
        out.append(decodeLinkEntry(entry));
    return out;
}

QList<CatalogueLink> catalogueExtraLinks()
{
    QList<CatalogueLink> out;
    for (const QString& entry : entriesOf(astDadoAvalExtra))
        out.append(decodeLinkEntry(entry));
    return out;
}

std::optional<CatalogueMethod> findCatalogueMethod(QStringView code)
{
    for (const char* entry : astTbMetoAval) {
        const QString text = QString::fromUtf8(entry);
        if (QStringView(text).mid(1, 2) == code)
            return decodeMethodEntry(text);
    }
    return std::nullopt;
}

std::optional<CatalogueDataType> findCatalogueDataType(QStringView code)
{
    for (const char* entry : astTipoDado) {
        const QString text = QString::fromUtf8(entry);
        if (QStringView(text).left(2) == code)
            return decodeDataTypeEntry(text);
    }
    return std::nullopt;
}

}  // namespace records
