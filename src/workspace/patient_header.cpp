#include "patient_header.h"

#include "workspace_messages.h"

#include "hostfw/age.h"
#include "hostfw/numbers.h"
#include "hostfw/text.h"

namespace workspace {

std::optional<PatientSex> sexFromHostCode(const QString& hostCode)
{
    static const struct
    {
        const char* hostCode;
        const char* textKey;
        const char* letter;
    } sexes[] = {{"0", "Masculino", "M"},
                 {"1", "Feminino", "F"},
                 {"2", "Defeituoso", "D"},
                 {"3", "Indefinido", "I"}};
    for (const auto& sex : sexes) {
        if (hostCode == QLatin1String(sex.hostCode))
            return PatientSex{msgPadrao().Msg(QLatin1String(sex.textKey)),
                              QLatin1String(sex.letter)};
    }
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
    t.monthsLabel =
        msgPadrao().Msg(age.months == 1 ? QStringLiteral("Mes") : QStringLiteral("Meses"));
    t.months = hostfw::Ajusta(t.months, 2);
    return t;
}

double codedAge(const AgeTexts& age)
{
    return hostfw::StrToFloat(age.years + hostfw::DecimalSeparator + age.months,
                              QStringLiteral("Idade"));
}

}  // namespace workspace
