#pragma once

// What the client and the server decide about a method or a data type by its code, said
// once per code: which tab lists a method and which result lines it writes, the group
// of methods that exclude each other, whose references it uses, who it is offered to;
// how a data type is typed and which answers it takes. The dispatch tables of the
// method families sit beside these, one routine per method code.

#include "method_codes.h"

#include <QAnyStringView>
#include <QString>

#include <span>

namespace records {

// The tab whose method list holds a method; it also chooses the result lines the method
// writes (cdsResuAval on the assessment tab, cdsResuAvalEnerg on the energy tab).
enum class MethodPage
{
    Assessment,
    Energy,
};

// Methods of one group exclude each other on the method page.
enum class ExclusiveGroup
{
    None,
    BodyMassIndex,
};

// Whom the method list of a consultation offers a method to.
enum class Audience
{
    Everyone,
    NotMen,               // pregnancy and lactation
    NotMenOver34,         // the Siri equation
    WomenAndBoysUnder18,  // sexual maturation
};

struct MethodDescriptor
{
    QLatin1String code;
    const char* routineName;  // "Calcula_IMC"
    MethodPage page = MethodPage::Assessment;
    ExclusiveGroup group = ExclusiveGroup::None;
    // The message key that names the method when it blocks another member of its group.
    const char* groupMessageKey = nullptr;
    // The method whose reference list this one uses (its own code when empty).
    QLatin1String sharesReferencesOf{};
    Audience audience = Audience::Everyone;
    // The energy tab checks the reference of this method when its row is posted.
    bool energyReferenceChecked = false;
    // Energy equations also evaluated at the ideal weights chosen on the energy tab.
    bool idealWeightPass = false;

    QString referenceOwner() const;
};

// Every method code the engine knows, in code order: the 68 of the catalogue and "07",
// which no catalogue entry has but which still runs its routine.
std::span<const MethodDescriptor> methodDescriptors();
// The descriptor of a code (exact two-character text); nullptr for an unknown code.
const MethodDescriptor* findMethodDescriptor(QAnyStringView code);

bool isEnergyMethod(QAnyStringView code);
// Whether the method list of a patient of this sex letter ("M", "F", "D", "I") and age
// in whole years offers the method.
bool offeredTo(const MethodDescriptor& method, QAnyStringView sexLetter, int ageYears);

// How the value of a data type is typed on the data grid.
enum class DataEntry
{
    Text,         // kept as typed
    Number,       // must be a number when posted
    WholeNumber,  // whole numbers only, no separator
    Answer,       // a code picked from an answer list
    Stage,        // written by the sexual maturation dialog only
};

// The answer list of a coded data type.
enum class AnswerList
{
    None,
    Time,                // "1".."4": a week to six months
    Edema,               // "0"/"1"
    Limb,                // "0"/"1"; the unit holds the number of limbs
    PregnancyTrimester,  // "1".."3"
    LactationTrimester,  // "1".."3"
    ActivityLevel,       // "1".."4"
};

enum class Limb
{
    None,
    Upper,
    Lower,
};

struct DataTypeDescriptor
{
    QLatin1String code;
    DataEntry entry = DataEntry::Text;
    AnswerList answers = AnswerList::None;
    Limb limb = Limb::None;
    bool estimable = false;     // the estimate dialog can fill it
    bool energyFactor = false;  // a factor of the energy equations, kept per method
};

// Every data type of the catalogue, in code order.
std::span<const DataTypeDescriptor> dataTypeDescriptors();
// The descriptor of a code; a plain text entry for a code the catalogue lacks.
const DataTypeDescriptor& dataTypeDescriptor(QAnyStringView code);

}  // namespace records
