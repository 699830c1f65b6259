#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace hostfw {

// A keyed message table: lines "key|text". Keys are matched without regard to letter
// case, so "Imc_OMS_Sele" finds the text stored under "Imc_Oms_Sele".
//
// Tables are declared as text, one entry a line:
//
//     const TMessages msgPadrao = TMessages::fromText(uR"(
//         Refe_NCad|Referência não cadastrada.
//         Anos|Anos
//     )"_s);
//
// Leading blanks of a line and blank lines are ignored; the key ends at the first bar
// and the text is everything after it, kept exactly (inner and trailing blanks too).
// When a key occurs twice the first entry wins.
class TMessages
{
public:
    TMessages() = default;

    // Throws records::Error naming the line when a non-blank line has no bar or an
    // empty key.
    static TMessages fromText(const QString& text);
    void loadFromText(const QString& text);

    void add(const QString& key, const QString& text);

    // The text of the key; an empty text when the table has no such key.
    QString Msg(const QString& key) const;
    bool contains(const QString& key) const;

    int count() const { return int(m_keys.size()); }
    // Keys in the order they were added, as written.
    const QStringList& keys() const { return m_keys; }

private:
    QHash<QString, QString> m_texts;  // folded key -> text
    QStringList m_keys;
};

}  // namespace hostfw
