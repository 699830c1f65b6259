#include "host/consultation.h"

namespace host {

std::optional<QString> checkChoice(const ConsultationChoice& choice)
{
    if (choice.patient.code.isEmpty())
        return QStringLiteral("Escolha um paciente.");
    if (!choice.date.isValid())
        return QStringLiteral("Informe a data da consulta.");
    if (!choice.patient.birth.isValid())
        return QStringLiteral("O paciente não tem data de nascimento no cadastro.");
    if (choice.date < choice.patient.birth)
        return QStringLiteral("A data da consulta é anterior à data de nascimento do paciente.");
    return std::nullopt;
}

QDateTime naiveMidnight(const QDate& day)
{
    return QDateTime(day, QTime(0, 0), Qt::UTC);
}

QVariantList iniProcParams(const ConsultationChoice& choice)
{
    const Patient& p = choice.patient;
    return {QVariant(p.branch),
            QVariant(p.code),
            QVariant(p.name),
            QVariant(p.sexCode),
            QVariant(naiveMidnight(p.birth)),
            QVariant(naiveMidnight(choice.date))};
}

}  // namespace host
