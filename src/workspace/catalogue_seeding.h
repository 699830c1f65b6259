#pragma once

#include "catalogue_progress.h"

#include "records/dataset.h"

#include <functional>

namespace workspace {

// What one seeding or update wrote, table by table (rows posted with a change or not).
struct CatalogueSeedReport
{
    int methodsInserted = 0;
    int methodsRewritten = 0;
    int dataTypesInserted = 0;
    int dataTypesRewritten = 0;
    int linksInserted = 0;

    bool operator==(const CatalogueSeedReport&) const = default;
};

// Brings the server's method catalogue up to the module's three tables (astTbMetoAval,
// astTipoDado, astDadoAval), through the datasets cdsInsMetoAval, cdsInsTipoDado and
// cdsInsDadoAval as loaded from GetDados. The caller attaches write-through to the
// three datasets (SetInsMetoAval, SetInsTipoDado, SetInsDadoAval), so every row the
// seeder posts reaches the server at once.
//
// A failed write stops the run with the server's error: write-through has cancelled
// the dataset's unwritten change, what was written before stays on the server, and
// the next load completes the rest. The progress panel is hidden on every path.
// A dataset without the catalogue's fields, or one left in edit, is refused with a
// clear message before anything is written.
class CatalogueSeeder
{
public:
    CatalogueSeeder(records::DataSet& cdsInsMetoAval, records::DataSet& cdsInsTipoDado,
                    records::DataSet& cdsInsDadoAval, SeedProgress* progress = nullptr);

    // The seeding at each load of a consultation (and on opening the energy page).
    //
    // Methods: an empty table gets the 68 entries with IDSEQUMETO "01".."68" in entry
    // order; a table with fewer than 68 rows gets the entries whose CDTBMETOAVAL it
    // lacks, numbered on from the IDSEQUMETO of its last row. When any row then has no
    // NRCTMETOAVAL, every method the table holds is rewritten from its entry
    // (IDTBUTILTABE, NRCTMETOAVAL, DSTBMETOAVAL, NMTBMETOAVAL; code and IDSEQUMETO
    // stay). VRIDADEINITB, VRIDADEFINTB and CDTBREFMETOA are never set.
    // Data types: an empty table gets the 52 entries, one with fewer rows the missing
    // ones; existing rows never change.
    // Links: an empty table gets the 154 entries, one with fewer rows the pairs it
    // lacks; existing rows never change. The extra links (astDadoAvalExtra, kept apart
    // from the 154) are then inserted when missing, whatever the row count, provided the
    // server knows their method and data type; they are not counted against the 154, so
    // they never hide a missing module link.
    CatalogueSeedReport seed();

    // "Atualizar Métodos": rewrites the server catalogue from the module tables.
    // Methods: a method found gets IDTBUTILTABE, CDTBMETOAVAL, NRCTMETOAVAL and
    // NMTBMETOAVAL from its entry (DSTBMETOAVAL and IDSEQUMETO stay); a missing one is
    // inserted with IDSEQUMETO = its code and DSTBMETOAVAL = its name. Data types: a
    // type found gets CDTIPODADO, DSUNIDDADO and NMTIPODADO from its entry; missing
    // types are not inserted. Links are not touched.
    // refresh (the form's refresh of the method page) runs at the end on every path,
    // before the panel is hidden; when the update failed, the update's error is the
    // one passed on.
    CatalogueSeedReport updateMethods(const std::function<void()>& refresh = {});

private:
    void checkDataSets() const;

    records::DataSet& m_methods;
    records::DataSet& m_dataTypes;
    records::DataSet& m_links;
    SeedProgress* m_progress;
};

}  // namespace workspace
