#include "csv_table.h"

#include <QFile>

#include <cmath>
#include <stdexcept>

namespace server::reference {
namespace {

// The cells of one line: separated by commas, a cell in double quotes may hold commas,
// and two double quotes inside it stand for one. Answers false on an unclosed quote.
bool splitCells(const QString& line, QStringList* cells)
{
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c != QLatin1Char('"'))
                cell += c;
            else if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"'))
                cell += line[++i];
            else
                quoted = false;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            cells->append(cell);
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells->append(cell);
    return !quoted;
}

}  // namespace

CsvTable CsvTable::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Tabela de referência %1 não encontrada.").arg(path).toStdString());
    return parse(QString::fromUtf8(file.readAll()), path);
}

CsvTable CsvTable::loadReference(const QString& file)
{
    return load(QStringLiteral(":/avalnutri/reference/") + file);
}

CsvTable CsvTable::parse(const QString& text, const QString& origin)
{
    CsvTable table;
    table.m_origin = origin;
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool header = true;
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        QStringList cells;
        if (!splitCells(line, &cells))
            throw std::runtime_error(QStringLiteral("%1, linha %2: aspas sem fechamento.")
                                         .arg(origin)
                                         .arg(i + 1)
                                         .toStdString());
        if (header) {
            for (int c = 0; c < cells.size(); ++c)
                table.m_columns.insert(cells[c].trimmed(), c);
            header = false;
            continue;
        }
        if (cells.size() != table.m_columns.size())
            throw std::runtime_error(QStringLiteral("%1, linha %2: %3 colunas em vez de %4.")
                                         .arg(origin)
                                         .arg(i + 1)
                                         .arg(cells.size())
                                         .arg(table.m_columns.size())
                                         .toStdString());
        table.m_rows.append(cells);
        table.m_lines.append(i + 1);
    }
    if (header)
        throw std::runtime_error(
            QStringLiteral("%1: arquivo vazio, sem cabeçalho.").arg(origin).toStdString());
    return table;
}

int CsvTable::columnIndex(const QString& column) const
{
    const auto it = m_columns.constFind(column);
    if (it == m_columns.constEnd())
        throw std::runtime_error(
            QStringLiteral("%1: não há a coluna '%2'.").arg(m_origin, column).toStdString());
    return it.value();
}

void CsvTable::fail(int row, const QString& problem) const
{
    throw std::runtime_error(QStringLiteral("%1, linha %2: %3")
                                 .arg(m_origin)
                                 .arg(m_lines.value(row))
                                 .arg(problem)
                                 .toStdString());
}

QString CsvTable::text(int row, const QString& column) const
{
    return m_rows.at(row).at(columnIndex(column)).trimmed();
}

double CsvTable::number(int row, const QString& column) const
{
    const QString cell = text(row, column);
    bool ok = false;
    const double value = cell.toDouble(&ok);
    if (!ok)
        fail(row, QStringLiteral("'%1' na coluna %2 não é um número.").arg(cell, column));
    return value;
}

int CsvTable::wholeNumber(int row, const QString& column) const
{
    const double v = number(row, column);
    if (v != std::floor(v))
        throw std::runtime_error(QStringLiteral("%1: '%2' deveria ser um número inteiro (%3).")
                                     .arg(m_origin, column)
                                     .arg(v)
                                     .toStdString());
    return static_cast<int>(v);
}

}  // namespace server::reference
