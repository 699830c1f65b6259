#pragma once

#include <QList>
#include <QString>

namespace records {

// One condition of a dataset filter: the field's text equals the literal.
struct FilterCondition
{
    QString field;
    QString literal;

    bool operator==(const FilterCondition&) const = default;
};

// Reads the filter texts the forms use: conditions FIELD = 'literal' joined by "and"
// (any letter case), with any blanks around the names, the equals signs and the "and"s;
// a quote inside a literal is doubled. An empty or blank text is no condition at all.
// Anything else throws records::Error naming the text.
QList<FilterCondition> parseFilter(const QString& text);

}  // namespace records
