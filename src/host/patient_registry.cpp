#include "host/patient_registry.h"

#include "records/error.h"
#include "records/field.h"
#include "records/packet_codec.h"

namespace host {

namespace {

int requiredField(const records::Packet& packet, const char* name)
{
    const int index = packet.fieldIndex(QLatin1String(name));
    if (index < 0)
        throw records::Error(
            QStringLiteral("A lista de pacientes do servidor não tem o campo %1.")
                .arg(QLatin1String(name)));
    return index;
}

QVariant at(const QVariantList& row, int index)
{
    return index >= 0 && index < row.size() ? row.at(index) : QVariant();
}

// The deceased flag travels as a boolean, a number or a letter, depending on the column.
bool isDeceased(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toUpper();
    return text == u"S" || text == u"T" || text == u"1" || text == u"TRUE" || text == u"SIM";
}

// Dates arrive decoded for a date field, or as ISO text when the column is text.
QDate dateOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().date();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    return records::parseDateTime(value.toString().trimmed()).date();
}

}  // namespace

QList<Patient> decodePatients(const records::Packet& packet)
{
    const int branch = requiredField(packet, registry_fields::kBranch);
    const int code = requiredField(packet, registry_fields::kCode);
    const int name = requiredField(packet, registry_fields::kName);
    const int sex = requiredField(packet, registry_fields::kSex);
    const int birth = requiredField(packet, registry_fields::kBirth);
    const int deceased = packet.fieldIndex(QLatin1String(registry_fields::kDeceased));

    QList<Patient> patients;
    patients.reserve(packet.rows.size());
    for (const QVariantList& row : packet.rows) {
        Patient p;
        p.branch = at(row, branch).toString();
        p.code = at(row, code).toString();
        if (p.code.trimmed().isEmpty())
            throw records::Error(
                QStringLiteral("A lista de pacientes do servidor tem um paciente sem código."));
        p.name = at(row, name).toString();
        p.sexCode = at(row, sex).toString().trimmed();
        p.birth = dateOf(at(row, birth));
        p.deceased = isDeceased(at(row, deceased));
        patients.append(p);
    }
    return patients;
}

QList<Patient> fetchPatients(records::AppServer& server)
{
    const records::Reply reply = server.GetPacientes();
    if (!reply.ok)
        throw records::Error(
            QStringLiteral("Não foi possível obter a lista de pacientes do servidor: %1")
                .arg(reply.error));
    return decodePatients(records::decodePacket(reply.payload));
}

}  // namespace host
