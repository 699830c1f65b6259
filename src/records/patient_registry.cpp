#include "patient_registry.h"

#include "error.h"
#include "field.h"

namespace records {

namespace {

DataSetLayout makeLayout()
{
    auto s = [](const char* name, int size) {
        FieldDef f;
        f.name = QString::fromLatin1(name);
        f.type = FieldType::String;
        f.size = size;
        return f;
    };
    FieldDef birth;
    birth.name = QString::fromLatin1(registry_fields::kBirth);
    birth.type = FieldType::DateTime;
    DataSetLayout l;
    l.name = QStringLiteral("cdsPacientes");
    l.fields = {s(registry_fields::kBranch, 4),
                s(registry_fields::kCode, 12),
                s(registry_fields::kName, 60),
                s(registry_fields::kSex, 1),
                birth,
                s(registry_fields::kDeceased, 1)};
    l.keyFields = {QString::fromLatin1(registry_fields::kBranch),
                   QString::fromLatin1(registry_fields::kCode)};
    return l;
}

int requiredField(const Packet& packet, const char* name)
{
    const int index = packet.fieldIndex(QLatin1String(name));
    if (index < 0)
        throw Error(QStringLiteral("A lista de pacientes do servidor não tem o campo %1.")
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
    return parseDateTime(value.toString().trimmed()).date();
}

}  // namespace

const DataSetLayout& patientRegistryLayout()
{
    static const DataSetLayout layout = makeLayout();
    return layout;
}

QList<RegistryPatient> decodePatients(const Packet& packet)
{
    const int branch = requiredField(packet, registry_fields::kBranch);
    const int code = requiredField(packet, registry_fields::kCode);
    const int name = requiredField(packet, registry_fields::kName);
    const int sex = requiredField(packet, registry_fields::kSex);
    const int birth = requiredField(packet, registry_fields::kBirth);
    const int deceased = packet.fieldIndex(QLatin1String(registry_fields::kDeceased));

    QList<RegistryPatient> patients;
    patients.reserve(packet.rows.size());
    for (const QVariantList& row : packet.rows) {
        RegistryPatient p;
        p.branch = at(row, branch).toString();
        p.code = at(row, code).toString();
        if (p.code.trimmed().isEmpty())
            throw Error(
                QStringLiteral("A lista de pacientes do servidor tem um paciente sem código."));
        p.name = at(row, name).toString();
        p.sexCode = at(row, sex).toString().trimmed();
        p.birth = dateOf(at(row, birth));
        p.deceased = isDeceased(at(row, deceased));
        patients.append(p);
    }
    return patients;
}

}  // namespace records
