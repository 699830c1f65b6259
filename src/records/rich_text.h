#pragma once

// The stored form of the nutritional diagnosis: HTML holding only what the diagnosis
// formatting bar produces (paragraphs, line breaks, bulleted and numbered lists, bold,
// italic, underline and a font size in points). The window, the command line and the
// server reduce any HTML to it with the same function, so a text the clients store is
// exactly what the server accepts.

#include <QString>
#include <QStringList>

namespace records {

struct CleanRichText
{
    // The text reduced to the formatting bar's markup. Reducing it again gives it back.
    QString html;
    // What was dropped, once each in order of appearance: elements as "<script>",
    // attributes as "onclick", style properties as "color" (empty when nothing was).
    QStringList removed;
    // Whether any text other than blanks is left.
    bool hasText = false;
};

// Reduces HTML (an editor's, a pasted fragment, a file) to the stored form. Scripts,
// styles, frames, objects and images are dropped with their content; every attribute
// goes, and of the style properties only bold, italic, underline and a font size in
// points become markup; the text of any other element stays. Text without markup stays
// as it is (with &, < and > escaped).
CleanRichText cleanRichText(const QString& html);

// The font sizes of the formatting bar, in points; a size outside 6 to 72 is brought
// to the nearest end.
inline constexpr int kMinFontPoints = 6;
inline constexpr int kMaxFontPoints = 72;

}  // namespace records
