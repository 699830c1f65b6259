#include "data_types.h"

#include <QStringList>

namespace workspace::data_types {
namespace {

bool inRange(const QString& type, const char* low, const char* high)
{
    return type.size() == 2 && type >= QLatin1String(low) && type <= QLatin1String(high);
}

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
    return inRange(type, "40", "43");
}
bool isAmputation(const QString& type)
{
    return inRange(type, "44", "50");
}
bool isUpperLimb(const QString& type)
{
    return inRange(type, "44", "46");
}
bool isLowerLimb(const QString& type)
{
    return inRange(type, "47", "50");
}

bool isNumeric(const QString& type)
{
    return inRange(type, "01", "11") || type == u"14" || type == u"15" || type == u"16"
           || type == u"35";
}

bool isCoded(const QString& type)
{
    return type == u"36" || inRange(type, "40", "50") || type == u"26" || type == u"52"
           || type == u"51";
}

bool isMaturation(const QString& type)
{
    return type == u"37";
}
bool isEstimable(const QString& type)
{
    return type == u"01" || type == u"02";
}
bool isWholeNumber(const QString& type)
{
    return type == u"53";
}

QString codedAnswerText(const QString& type, const QString& stored)
{
    if (stored.isEmpty())
        return {};
    const QChar code = stored.at(0);
    if (type == u"36")
        return lookUp(kTime, code);
    if (inRange(type, "40", "50"))
        return lookUp(kYesNo, code);
    if (type == u"26" || type == u"52")
        return lookUp(kTrimester, code);
    if (type == u"51")
        return lookUp(kActivity, code);
    return {};
}

QString answerCaption(const QString& type)
{
    if (type == u"36")
        return QStringLiteral("Tempo");
    if (isEdema(type))
        return QStringLiteral("Edema");
    if (isAmputation(type))
        return QStringLiteral("Membro");
    if (type == u"26")
        return QStringLiteral("Trimestre Gravidez");
    if (type == u"52")
        return QStringLiteral("Trimestre Lactação");
    if (type == u"51")
        return QStringLiteral("NAF");
    return {};
}

}  // namespace workspace::data_types
