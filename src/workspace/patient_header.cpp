#include "patient_header.h"

#include "workspace_messages.h"

#include "hostfw/age.h"
#include "hostfw/numbers.h"
#include "hostfw/text.h"

namespace workspace {

std::optional<PatientSex> sexFromHostCode(const QString& hostCode)
{
    if (hostCode == u"0")
        return PatientSex{QStringLiteral("Masculino"), QStringLiteral("M")};
    if (hostCode == u"1")
        return PatientSex{QStringLiteral("Feminino"), QStringLiteral("F")};
    if (hostCode == u"2")
        return PatientSex{QStringLiteral("Defeituoso"), QStringLiteral("D")};
    if (hostCode == u"3")
        return PatientSex{QStringLiteral("Indefinido"), QStringLiteral("I")};
    return std::nullopt;
}

AgeTexts ageTexts(const QDateTime& birth, const QDateTime& consultation)
{
    const hostfw::Age age = hostfw::Idade(consultation, birth);
    AgeTexts t;
    if (age.years > 1) {
        t.years = QString::number(age.years);
        t.yearsLabel = msgPadrao().Msg(QStringLiteral("Anos"));
    } else {
        t.years = age.years == 1 ? QStringLiteral("1") : QStringLiteral("0");
        t.yearsLabel = msgPadrao().Msg(QStringLiteral("Ano"));
    }
    t.months = QString::number(age.months);
    t.monthsLabel = msgPadrao().Msg(age.months == 1 ? QStringLiteral("Mes") : QStringLiteral("Meses"));
    t.months = hostfw::Ajusta(t.months, 2);
    return t;
}

double codedAge(const AgeTexts& age)
{
    return hostfw::StrToFloat(age.years + hostfw::DecimalSeparator + age.months,
                              QStringLiteral("Idade"));
}

}  // namespace workspace
