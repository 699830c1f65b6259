#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace server::reference {

// A plain CSV table as the reference files are written: a header row, comma separators,
// a cell in double quotes where it holds a comma, point as decimal mark. Every failure is a
// std::runtime_error naming the file and the line.
class CsvTable
{
public:
    // Reads a file or a Qt resource (":/avalnutri/reference/...").
    static CsvTable load(const QString& path);
    // Reads one of the module's reference tables, named under ":/avalnutri/reference/".
    static CsvTable loadReference(const QString& file);
    // Parses text; origin names it in messages.
    static CsvTable parse(const QString& text, const QString& origin);

    int rowCount() const { return m_rows.size(); }
    bool hasColumn(const QString& column) const { return m_columns.contains(column); }

    QString text(int row, const QString& column) const;
    // The cell as a number; an empty or non-numeric cell is an error.
    double number(int row, const QString& column) const;
    // The cell as a whole number (a code, an age); a fraction is an error.
    int wholeNumber(int row, const QString& column) const;

    const QString& origin() const { return m_origin; }

private:
    int columnIndex(const QString& column) const;
    [[noreturn]] void fail(int row, const QString& problem) const;

    QString m_origin;
    QHash<QString, int> m_columns;
    QList<QStringList> m_rows;
    QList<int> m_lines;  // line number of each row, for messages
};

}  // namespace server::reference
