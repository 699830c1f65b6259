#pragma once

// The key filter of the data-entry grid (dbgDadosAval): which keys a cell takes.

#include <QChar>
#include <QString>

namespace workspace {

inline constexpr QChar kBackspace = QChar(8);

// The row and the cell a key is typed in.
struct DataKeyContext
{
    QString type;   // CDTIPODADO of the row
    QString field;  // the column: "DSINFOAVAL" (value) or "DSUNIDDADO" (unit); others take nothing
    QString value;  // the row's DSINFOAVAL
    QString unit;   // the row's DSUNIDDADO (the limb count of a marked amputation row)
    bool readOnly = false;  // deceased patient
    int upperLimbs = 0;     // inMaoMembro
    int lowerLimbs = 0;     // inPeMembro
};

// What becomes of a typed key.
struct DataKeyVerdict
{
    enum class Kind
    {
        Accept,
        Ignore,
        Refuse
    };
    Kind kind = Kind::Ignore;
    QChar key;        // the key to put in the cell (a "." or "," becomes the separator)
    QString message;  // for Refuse: the text shown, after which the action stops

    bool accepted() const { return kind == Kind::Accept; }
};

// Digits, Backspace and the decimal separator (typed as "." or ",") in the value
// column; no separator for the gestational week; nothing in edema rows, nor in the
// value of amputation rows (their answer comes from the list) nor of the maturation row.
// In the unit column of a marked amputation row only "1", "2" and Backspace, and a
// second limb is refused while two limbs of that kind are already marked.
DataKeyVerdict filterDataKey(const DataKeyContext& context, QChar key);

}  // namespace workspace
