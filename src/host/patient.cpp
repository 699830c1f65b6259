#include "host/patient.h"

namespace host {

QString sexText(const QString& sexCode)
{
    if (sexCode == u"0")
        return QStringLiteral("Masculino");
    if (sexCode == u"1")
        return QStringLiteral("Feminino");
    if (sexCode == u"2")
        return QStringLiteral("Defeituoso");
    if (sexCode == u"3")
        return QStringLiteral("Indefinido");
    return {};
}

}  // namespace host
