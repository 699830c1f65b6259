#pragma once

#include "host/patient_registry.h"

#include "records/app_server.h"
#include "records/packet_codec.h"

#include <optional>

namespace host::fakes {

// An application server that answers GetPacientes from a list, or fails with a text.
class FakeAppServer : public records::AppServer
{
public:
    records::Reply call(const QString& method, const QJsonArray&) override
    {
        if (failure)
            return records::Reply::failure(*failure);
        if (method != QLatin1String("GetPacientes"))
            return records::Reply::failure(QStringLiteral("unexpected ") + method);
        return records::Reply::success(records::encodePacket(registry));
    }

    // The fields the server answers with.
    static records::FieldList registryFields() { return records::patientRegistryLayout().fields; }

    void addPatient(const QString& branch, const QString& code, const QString& name,
                    const QString& sex, const QDate& birth, bool deceased = false)
    {
        if (registry.fields.isEmpty())
            registry.fields = registryFields();
        registry.rows.append({branch, code, name, sex, QDateTime(birth, QTime(0, 0), Qt::UTC),
                              deceased ? QStringLiteral("S") : QStringLiteral("N")});
    }

    records::Packet registry{registryFields(), {}};
    std::optional<QString> failure;
};

}  // namespace host::fakes
