#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace host {

// One patient of the host's registry, as the picker lists it.
struct Patient
{
    QString branch;   // CDFILIAL
    QString code;     // CDPACIENTE
    QString name;     // NMPACIENTE
    QString sexCode;  // host sex code "0" male, "1" female, "2", "3"
    QDate birth;
    bool deceased = false;

    bool operator==(const Patient&) const = default;
};

// The sex the host code stands for, as the registry shows it; empty for an unknown code.
QString sexText(const QString& sexCode);

}  // namespace host
