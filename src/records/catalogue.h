#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace records {

// The method catalogue: the assessment methods, the data types (measurements and
// answers) they need, and which method needs which data type. The module exports the
// three tables in their fixed-position layouts; the first-start seed of the server and
// the seeding of an existing server catalogue both decode them, so the two never differ.

inline constexpr int kCatalogueMethodCount = 68;
inline constexpr int kCatalogueDataTypeCount = 52;
inline constexpr int kCatalogueLinkCount = 154;

// Method entries (UTF-8), positions counted from 1:
//   1       table-use flag "0".."3" (IDTBUTILTABE)
//   2-3     method code (CDTBMETOAVAL)
//   4-13    control number, eight digits and two blanks (NRCTMETOAVAL)
//   14-73   description key in MsgTbMeAv, padded with blanks to 60 characters
//   74-end  method name (NMTBMETOAVAL)
// There is no method "07".
extern const std::array<const char*, kCatalogueMethodCount> astTbMetoAval;

// Data type entries: 1-2 data type code (CDTIPODADO), 3-4 unit key in MsgTpDado (two
// blanks when the type has no unit), 5-end name key in MsgTpDado. There is no type "19".
extern const std::array<const char*, kCatalogueDataTypeCount> astTipoDado;

// Link entries, ordered by method: 1-2 data type code, 3-4 method code.
extern const std::array<const char*, kCatalogueLinkCount> astDadoAval;

// Links kept apart from astDadoAval so that its 154 entries (and the row counts the
// seeding compares against) stay as they are, for methods that read a data type
// astDadoAval does not give them: the arm muscle area ("05") reads the triceps skinfold
// ("04") and the arm circumference ("08"); the weight for height ("25") compares the
// child's weight ("01") with the reference weight for the height. Whoever seeds or offers
// the links applies these as well, each one inserted when the server lacks it, whatever
// the table's row count.
extern const std::array<const char*, 3> astDadoAvalExtra;

// The two message tables the catalogue keys refer to.
enum class CatalogueMessages
{
    MsgTbMeAv,  // method descriptions
    MsgTpDado,  // data type units and names
};

// The table as "key|text" lines separated by '\n' (UTF-8), for loading into a message
// table of the host framework.
const char* catalogueMessageLines(CatalogueMessages table);

// The text of key, matched without regard to letter case; std::nullopt when the table
// has no such key.
std::optional<QString> findCatalogueMessage(CatalogueMessages table, QStringView key);
// The same, with an empty text for an unknown key.
QString catalogueMessage(CatalogueMessages table, QStringView key);

// One row of the server's method catalogue as the seeding writes it.
struct CatalogueMethod
{
    QString IDTBUTILTABE;    // "0".."3"
    QString CDTBMETOAVAL;    // "00".."68"
    QString NRCTMETOAVAL;    // eight digits, trailing blanks removed
    QString DSTBMETOAVAL;    // the text of descriptionKey
    QString NMTBMETOAVAL;    // the method name
    QString descriptionKey;  // the MsgTbMeAv key, trailing blanks removed

    bool operator==(const CatalogueMethod&) const = default;
};

// One row of the server's data type catalogue.
struct CatalogueDataType
{
    QString CDTIPODADO;  // "01".."53"
    QString DSUNIDDADO;  // the unit's text; empty when the type has no unit
    QString NMTIPODADO;  // the name's text
    QString unitKey;     // the MsgTpDado unit key, blanks removed at both ends
    QString nameKey;     // the MsgTpDado name key

    bool operator==(const CatalogueDataType&) const = default;
};

// One method to data type link.
struct CatalogueLink
{
    QString CDTIPODADO;
    QString CDTBMETOAVAL;

    bool operator==(const CatalogueLink&) const = default;
};

// Decoders of one entry in the layouts above. A malformed entry, or a key without a
// message text, raises records::Error naming the entry.
CatalogueMethod decodeMethodEntry(QStringView entry);
CatalogueDataType decodeDataTypeEntry(QStringView entry);
CatalogueLink decodeLinkEntry(QStringView entry);

// The decoded tables, in entry order.
QList<CatalogueMethod> catalogueMethods();      // 68
QList<CatalogueDataType> catalogueDataTypes();  // 52
QList<CatalogueLink> catalogueLinks();          // 154, astDadoAval only
QList<CatalogueLink> catalogueExtraLinks();     // the links of astDadoAvalExtra

// Look-ups by code; std::nullopt for a code the catalogue does not have.
std::optional<CatalogueMethod> findCatalogueMethod(QStringView code);
std::optional<CatalogueDataType> findCatalogueDataType(QStringView code);

}  // namespace records
