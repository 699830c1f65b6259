#include "catalogue_seeding.h"

#include "records/catalogue.h"
#include "records/error.h"

#include <exception>

namespace workspace {
namespace {

using records::CatalogueDataType;
using records::CatalogueLink;
using records::CatalogueMethod;
using records::DataSet;

const QString kLinkLocate = QStringLiteral("CDTBMETOAVAL;CDTIPODADO");

// The panel over one run: shown again with the bar at 0 before each table that needs
// work, advanced by one per entry, and on the way out (normal or error) put back to
// 0 and hidden.
class ProgressPanel
{
public:
    explicit ProgressPanel(SeedProgress* progress) : m_progress(progress) {}
    ~ProgressPanel() { finish(); }
    ProgressPanel(const ProgressPanel&) = delete;
    ProgressPanel& operator=(const ProgressPanel&) = delete;

    void begin(int maximum)
    {
        m_position = 0;
        if (!m_progress)
            return;
        m_progress->show(catalogueProgressCaption(), maximum);
        m_shown = true;
    }
    void advance()
    {
        ++m_position;
        if (m_progress)
            m_progress->step(m_position);
    }
    void finish()
    {
        if (!m_shown)
            return;
        m_shown = false;
        m_progress->step(0);
        m_progress->hide();
    }

private:
    SeedProgress* m_progress;
    bool m_shown = false;
    int m_position = 0;
};

// Inserts (append) or edits the current row, lets fill set its values and posts it,
// which writes it through. A row that cannot be filled or posted is not left in edit.
template <typename Fill> void postRow(DataSet& ds, bool inserting, Fill fill)
{
    if (inserting)
        ds.append();
    else
        ds.edit();
    try {
        fill(ds);
        ds.post();
    } catch (...) {
        if (ds.isEditing())
            ds.cancel();
        throw;
    }
}

void setRowText(DataSet& ds, const QString& field, const QString& text)
{
    // An empty text (a data type without unit) is stored as null.
    ds.setValue(field, text.isEmpty() ? QVariant() : QVariant(text));
}

bool hasMethod(DataSet& ds, const QString& code)
{
    return ds.locate(QStringLiteral("CDTBMETOAVAL"), code);
}

bool hasDataType(DataSet& ds, const QString& code)
{
    return ds.locate(QStringLiteral("CDTIPODADO"), code);
}

bool hasLink(DataSet& ds, const CatalogueLink& link)
{
    return ds.locate(kLinkLocate, {link.CDTBMETOAVAL, link.CDTIPODADO});
}

void setDataTypeFields(DataSet& ds, const CatalogueDataType& t)
{
    setRowText(ds, QStringLiteral("CDTIPODADO"), t.CDTIPODADO);
    setRowText(ds, QStringLiteral("DSUNIDDADO"), t.DSUNIDDADO);
    setRowText(ds, QStringLiteral("NMTIPODADO"), t.NMTIPODADO);
}

void insertLink(DataSet& ds, const CatalogueLink& link)
{
    postRow(ds, true, [&](DataSet& row) {
        row.setValue(QStringLiteral("CDTBMETOAVAL"), link.CDTBMETOAVAL);
        row.setValue(QStringLiteral("CDTIPODADO"), link.CDTIPODADO);
    });
}

void requireFields(const DataSet& ds, const QString& table, const QStringList& fields)
{
    for (const QString& f : fields) {
        if (!ds.hasField(f))
            throw records::Error(QStringLiteral("A tabela %1 não tem o campo %2; o catálogo de "
                                                "métodos não foi atualizado.")
                                     .arg(table, f));
    }
    if (ds.isEditing())
        throw records::Error(QStringLiteral("A tabela %1 está em edição; o catálogo de métodos "
                                            "não foi atualizado.")
                                 .arg(table));
}

// IDSEQUMETO of a method added to a table that already has rows: the sequence of the
// table's last row plus one, onwards. Read before anything is written, so a sequence
// that is not a number, or numbers that would not fit the field, change nothing.
int firstNewSequence(const DataSet& methods, int missing)
{
    const int last = methods.recordCount() - 1;
    const QString text = methods.asStringAt(last, QStringLiteral("IDSEQUMETO")).trimmed();
    bool ok = false;
    const int sequence = text.toInt(&ok);
    if (!ok || sequence < 0 || text.startsWith(QLatin1Char('+')))
        throw records::Error(
            QStringLiteral("A sequência \"%1\" do método \"%2\", o último da tabela de métodos "
                           "do servidor, não é um número; o catálogo de métodos não foi "
                           "atualizado.")
                .arg(text, methods.asStringAt(last, QStringLiteral("CDTBMETOAVAL"))));
    const int width = methods.field(QStringLiteral("IDSEQUMETO")).size;
    const int highest = sequence + missing;
    if (width > 0 && QString::number(highest).size() > width)
        throw records::Error(
            QStringLiteral("A sequência dos métodos passaria de \"%1\" para \"%2\", que não "
                           "cabe em %3 dígitos; o catálogo de métodos não foi atualizado.")
                .arg(text)
                .arg(highest)
                .arg(width));
    return sequence + 1;
}

QString sequenceText(int sequence, int width)
{
    return QString::number(sequence).rightJustified(width, QLatin1Char('0'));
}

bool someControlNumberNull(const DataSet& methods)
{
    for (int row = 0; row < methods.recordCount(); ++row)
        if (methods.valueAt(row, QStringLiteral("NRCTMETOAVAL")).isNull())
            return true;
    return false;
}

}  // namespace

CatalogueSeeder::CatalogueSeeder(DataSet& cdsInsMetoAval, DataSet& cdsInsTipoDado,
                                 DataSet& cdsInsDadoAval, SeedProgress* progress)
    : m_methods(cdsInsMetoAval),
      m_dataTypes(cdsInsTipoDado),
      m_links(cdsInsDadoAval),
      m_progress(progress)
{
}

void CatalogueSeeder::checkDataSets() const
{
    requireFields(m_methods, QStringLiteral("cdsInsMetoAval"),
                  {QStringLiteral("CDTBMETOAVAL"), QStringLiteral("IDTBUTILTABE"),
                   QStringLiteral("NMTBMETOAVAL"), QStringLiteral("IDSEQUMETO"),
                   QStringLiteral("DSTBMETOAVAL"), QStringLiteral("NRCTMETOAVAL")});
    requireFields(
        m_dataTypes, QStringLiteral("cdsInsTipoDado"),
        {QStringLiteral("CDTIPODADO"), QStringLiteral("NMTIPODADO"), QStringLiteral("DSUNIDDADO")});
    requireFields(m_links, QStringLiteral("cdsInsDadoAval"),
                  {QStringLiteral("CDTIPODADO"), QStringLiteral("CDTBMETOAVAL")});
}

CatalogueSeedReport CatalogueSeeder::seed()
{
    checkDataSets();
    const QList<CatalogueMethod> methods = records::catalogueMethods();
    const QList<CatalogueDataType> dataTypes = records::catalogueDataTypes();
    const QList<CatalogueLink> links = records::catalogueLinks();
    const QList<CatalogueLink> extraLinks = records::catalogueExtraLinks();

    CatalogueSeedReport report;
    ProgressPanel panel(m_progress);

    // Methods.
    const int methodRows = m_methods.recordCount();
    if (methodRows < methods.size()) {
        const bool empty = methodRows == 0;
        const int width = m_methods.field(QStringLiteral("IDSEQUMETO")).size;
        int missing = 0;
        if (!empty) {
            for (const CatalogueMethod& m : methods)
                missing += hasMethod(m_methods, m.CDTBMETOAVAL) ? 0 : 1;
        }
        int next = empty ? 1 : firstNewSequence(m_methods, missing);
        panel.begin(int(methods.size()));
        for (const CatalogueMethod& m : methods) {
            if (empty || !hasMethod(m_methods, m.CDTBMETOAVAL)) {
                postRow(m_methods, true, [&](DataSet& row) {
                    row.setValue(QStringLiteral("IDTBUTILTABE"), m.IDTBUTILTABE);
                    row.setValue(QStringLiteral("CDTBMETOAVAL"), m.CDTBMETOAVAL);
                    row.setValue(QStringLiteral("NRCTMETOAVAL"), m.NRCTMETOAVAL);
                    row.setValue(QStringLiteral("DSTBMETOAVAL"), m.DSTBMETOAVAL);
                    row.setValue(QStringLiteral("NMTBMETOAVAL"), m.NMTBMETOAVAL);
                    row.setValue(QStringLiteral("IDSEQUMETO"), sequenceText(next, width));
                });
                ++next;
                ++report.methodsInserted;
            }
            panel.advance();
        }
    }
    // Control-number repair of a table that had rows: every method it holds is
    // rewritten from its entry, its code and sequence kept.
    if (methodRows > 0 && someControlNumberNull(m_methods)) {
        panel.begin(int(methods.size()));
        for (const CatalogueMethod& m : methods) {
            if (hasMethod(m_methods, m.CDTBMETOAVAL)) {
                postRow(m_methods, false, [&](DataSet& row) {
                    row.setValue(QStringLiteral("IDTBUTILTABE"), m.IDTBUTILTABE);
                    row.setValue(QStringLiteral("NRCTMETOAVAL"), m.NRCTMETOAVAL);
                    row.setValue(QStringLiteral("DSTBMETOAVAL"), m.DSTBMETOAVAL);
                    row.setValue(QStringLiteral("NMTBMETOAVAL"), m.NMTBMETOAVAL);
                });
                ++report.methodsRewritten;
            }
            panel.advance();
        }
    }

    // Data types.
    const int typeRows = m_dataTypes.recordCount();
    if (typeRows < dataTypes.size()) {
        panel.begin(int(dataTypes.size()));
        for (const CatalogueDataType& t : dataTypes) {
            if (typeRows == 0 || !hasDataType(m_dataTypes, t.CDTIPODADO)) {
                postRow(m_dataTypes, true, [&](DataSet& row) { setDataTypeFields(row, t); });
                ++report.dataTypesInserted;
            }
            panel.advance();
        }
    }

    // Links. The extra links (astDadoAvalExtra) the server already holds are ours, not the
    // module table's: they do not count towards its 154 rows.
    int extraPresent = 0;
    for (const CatalogueLink& l : extraLinks)
        extraPresent += hasLink(m_links, l) ? 1 : 0;
    const int linkRows = m_links.recordCount();
    if (linkRows < links.size() + extraPresent) {
        panel.begin(int(links.size()));
        for (const CatalogueLink& l : links) {
            if (linkRows == 0 || !hasLink(m_links, l)) {
                insertLink(m_links, l);
                ++report.linksInserted;
            }
            panel.advance();
        }
    }

    // The extra links, on every server that knows the method and the types.
    QList<CatalogueLink> extraMissing;
    for (const CatalogueLink& l : extraLinks) {
        if (!hasLink(m_links, l) && hasMethod(m_methods, l.CDTBMETOAVAL)
            && hasDataType(m_dataTypes, l.CDTIPODADO))
            extraMissing.append(l);
    }
    if (!extraMissing.isEmpty()) {
        panel.begin(int(extraMissing.size()));
        for (const CatalogueLink& l : extraMissing) {
            insertLink(m_links, l);
            ++report.linksInserted;
            panel.advance();
        }
    }
    return report;
}

CatalogueSeedReport CatalogueSeeder::updateMethods(const std::function<void()>& refresh)
{
    checkDataSets();
    const QList<CatalogueMethod> methods = records::catalogueMethods();
    const QList<CatalogueDataType> dataTypes = records::catalogueDataTypes();

    CatalogueSeedReport report;
    std::exception_ptr failure;
    {
        ProgressPanel panel(m_progress);
        try {
            panel.begin(int(methods.size()));
            for (const CatalogueMethod& m : methods) {
                const bool found = hasMethod(m_methods, m.CDTBMETOAVAL);
                postRow(m_methods, !found, [&](DataSet& row) {
                    row.setValue(QStringLiteral("IDTBUTILTABE"), m.IDTBUTILTABE);
                    row.setValue(QStringLiteral("CDTBMETOAVAL"), m.CDTBMETOAVAL);
                    row.setValue(QStringLiteral("NRCTMETOAVAL"), m.NRCTMETOAVAL);
                    row.setValue(QStringLiteral("NMTBMETOAVAL"), m.NMTBMETOAVAL);
                    if (!found) {
                        row.setValue(QStringLiteral("IDSEQUMETO"), m.CDTBMETOAVAL);
                        row.setValue(QStringLiteral("DSTBMETOAVAL"), m.NMTBMETOAVAL);
                    }
                });
                ++(found ? report.methodsRewritten : report.methodsInserted);
                panel.advance();
            }

            panel.begin(int(dataTypes.size()));
            for (const CatalogueDataType& t : dataTypes) {
                if (hasDataType(m_dataTypes, t.CDTIPODADO)) {
                    postRow(m_dataTypes, false, [&](DataSet& row) { setDataTypeFields(row, t); });
                    ++report.dataTypesRewritten;
                }
                panel.advance();
            }
        } catch (...) {
            failure = std::current_exception();
        }
        // The refresh runs on both paths, before the panel goes away.
        try {
            if (refresh)
                refresh();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
    return report;
}

}  // namespace workspace
