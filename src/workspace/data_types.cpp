#include "data_types.h"

#include "records/catalogue_descriptors.h"

#include <QStringList>

namespace workspace::data_types {
namespace {

using records::AnswerList;
using records::DataEntry;

struct Answer
{
    QChar code;
    const char16_t* text;
};

// The texts of the coded answers. The activity level shows its short name here; the
// pick list shows the long one with the factor range.
const Answer kTime[] = {
    {u'1', u"Uma Semana"}, {u'2', u"Um Mês"}, {u'3', u"Três Meses"}, {u'4', u"Seis Meses"}};
const Answer kYesNo[] = {{u'0', u"Não"}, {u'1', u"Sim"}};
const Answer kTrimester[] = {
    {u'1', u"Primeiro Trimestre"}, {u'2', u"Segundo Trimestre"}, {u'3', u"Terceiro Trimestre"}};
const Answer kActivity[] = {
    {u'1', u"Intenso"}, {u'2', u"Moderado"}, {u'3', u"Leve"}, {u'4', u"Sedentarismo"}};

template <std::size_t N> QString lookUp(const Answer (&table)[N], QChar code)
{
    for (const Answer& a : table) {
        if (a.code == code)
            return QString::fromUtf16(a.text);
    }
    return {};
}

}  // namespace

bool isEdema(const QString& type)
{
    return records::dataTypeDescriptor(type).answers == AnswerList::Edema;
}
bool isAmputation(const QString& type)
{
    return records::dataTypeDescriptor(type).answers == AnswerList::Limb;
}
bool isUpperLimb(const QString& type)
{
    return records::dataTypeDescriptor(type).limb == records::Limb::Upper;
}
bool isLowerLimb(const QString& type)
{
    return records::dataTypeDescriptor(type).limb == records::Limb::Lower;
}
bool isNumeric(const QString& type)
{
    return records::dataTypeDescriptor(type).entry == DataEntry::Number;
}
bool isCoded(const QString& type)
{
    return records::dataTypeDescriptor(type).entry == DataEntry::Answer;
}
bool isMaturation(const QString& type)
{
    return records::dataTypeDescriptor(type).entry == DataEntry::Stage;
}
bool isEstimable(const QString& type)
{
    return records::dataTypeDescriptor(type).estimable;
}
bool isWholeNumber(const QString& type)
{
    return records::dataTypeDescriptor(type).entry == DataEntry::WholeNumber;
}

QString codedAnswerText(const QString& type, const QString& stored)
{
    if (stored.isEmpty())
        return {};
    const QChar code = stored.at(0);
    switch (records::dataTypeDescriptor(type).answers) {
    case AnswerList::Time:
        return lookUp(kTime, code);
    case AnswerList::Edema:
    case AnswerList::Limb:
        return lookUp(kYesNo, code);
    case AnswerList::PregnancyTrimester:
    case AnswerList::LactationTrimester:
        return lookUp(kTrimester, code);
    case AnswerList::ActivityLevel:
        return lookUp(kActivity, code);
    case AnswerList::None:
        break;
    }
    return {};
}

QString answerCaption(const QString& type)
{
    switch (records::dataTypeDescriptor(type).answers) {
    case AnswerList::Time:
        return QStringLiteral("Tempo");
    case AnswerList::Edema:
        return QStringLiteral("Edema");
    case AnswerList::Limb:
        return QStringLiteral("Membro");
    case AnswerList::PregnancyTrimester:
        return QStringLiteral("Trimestre Gravidez");
    case AnswerList::LactationTrimester:
        return QStringLiteral("Trimestre Lactação");
    case AnswerList::ActivityLevel:
        return QStringLiteral("NAF");
    case AnswerList::None:
        break;
    }
    return {};
}

}  // namespace workspace::data_types
