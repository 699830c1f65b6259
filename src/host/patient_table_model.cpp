#include "host/patient_table_model.h"

namespace host {

PatientTableModel::PatientTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void PatientTableModel::setPatients(const QList<Patient>& patients)
{
    beginResetModel();
    m_patients = patients;
    endResetModel();
}

int PatientTableModel::rowOf(const QString& code, const QString& branch) const
{
    for (int row = 0; row < m_patients.size(); ++row) {
        const Patient& p = m_patients.at(row);
        if (p.code == code && (branch.isEmpty() || p.branch == branch))
            return row;
    }
    return -1;
}

int PatientTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_patients.size());
}

int PatientTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PatientTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Patient& p = m_patients.at(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Code:
            return p.code;
        case Name:
            return p.name;
        case Sex:
            return sexText(p.sexCode);
        case Birth:
            return p.birth.toString(QStringLiteral("dd/MM/yyyy"));
        case Branch:
            return p.branch;
        case Deceased:
            return p.deceased ? QStringLiteral("Sim") : QStringLiteral("Não");
        default:
            return {};
        }
    }
    if (role == Qt::ToolTipRole && p.deceased)
        return QStringLiteral("Paciente com óbito registrado");
    return {};
}

QVariant PatientTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Code:
        return QStringLiteral("Código");
    case Name:
        return QStringLiteral("Nome");
    case Sex:
        return QStringLiteral("Sexo");
    case Birth:
        return QStringLiteral("Nascimento");
    case Branch:
        return QStringLiteral("Filial");
    case Deceased:
        return QStringLiteral("Óbito");
    default:
        return {};
    }
}

}  // namespace host
