#pragma once

// The host's patient registry as GetPacientes answers it: the layout the server builds
// the packet with, and the patients read back from a packet by field name.

#include "layouts.h"
#include "packet.h"

#include <QDate>
#include <QList>
#include <QString>

namespace records {

// The registry packet's fields.
namespace registry_fields {
inline constexpr char kBranch[] = "CDFILIAL";
inline constexpr char kCode[] = "CDPACIENTE";
inline constexpr char kName[] = "NMPACIENTE";
inline constexpr char kSex[] = "CDSEXO";
inline constexpr char kBirth[] = "DTNASC";
inline constexpr char kDeceased[] = "IDOBITO";
}  // namespace registry_fields

// cdsPacientes: CDFILIAL s4, CDPACIENTE s12, NMPACIENTE s60, CDSEXO s1 (host sex code
// "0" male, "1" female, "2", "3"), DTNASC date, IDOBITO s1 ("S" deceased, "N" otherwise);
// by branch and patient code.
const DataSetLayout& patientRegistryLayout();

// One patient of the registry.
struct RegistryPatient
{
    QString branch;   // CDFILIAL
    QString code;     // CDPACIENTE
    QString name;     // NMPACIENTE
    QString sexCode;  // host sex code "0" male, "1" female, "2", "3"
    QDate birth;
    bool deceased = false;

    bool operator==(const RegistryPatient&) const = default;
};

// The patients of a registry packet, in the packet's order; fields are found by name
// whatever their order or case. Throws records::Error when a field the list needs is
// missing or a row has no patient code.
QList<RegistryPatient> decodePatients(const Packet& packet);

}  // namespace records
