#pragma once

#include "field.h"
#include "packet.h"

#include <QList>
#include <QString>

namespace records {

// One row of a fixed choice list: its code, the message key its text is read from,
// the text that key gives in the module's messages, and the factor value shown next
// to it (cdsTrabPaciHosp only; empty elsewhere).
struct ChoiceRow
{
    QString code;
    QString messageKey;
    QString text;
    QString value;
};

// A small code/name table built when the assessment form is created: CDFATOR (hidden)
// and NMFATOR, plus VRFATOR for the hospital condition list. Each list is left on its
// first row.
struct ChoiceList
{
    QString name;  // "cdsTrabFatorTer"
    FieldList fields;
    QList<ChoiceRow> rows;

    // The rows as a data packet, in list order, ready to load a dataset.
    Packet toPacket() const;
};

namespace choice_lists {

const ChoiceList& cdsTrabFatorTer();
const ChoiceList& cdsTrabAtivHarris();
const ChoiceList& cdsTrabAtivRda();
const ChoiceList& cdsTrabAtivDuBois();
const ChoiceList& cdsTrabStatus();
const ChoiceList& cdsTrabPaciHosp();
const ChoiceList& cdsTrabPerda();
const ChoiceList& cdsNaf();
const ChoiceList& cdsTrimestreGesta();
const ChoiceList& cdsTrimestreLac();

// The list called name, or nullptr when there is none.
const ChoiceList* byName(const QString& name);
// The ten lists, in the order above.
QList<const ChoiceList*> all();

}  // namespace choice_lists
}  // namespace records
