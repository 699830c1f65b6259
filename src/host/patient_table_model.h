#pragma once

#include "host/patient.h"

#include <QAbstractTableModel>

namespace host {

// The registry as a table for the picker: one row per patient.
class PatientTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        Code,
        Name,
        Sex,
        Birth,
        Branch,
        Deceased,
        ColumnCount
    };

    explicit PatientTableModel(QObject* parent = nullptr);

    void setPatients(const QList<Patient>& patients);
    const QList<Patient>& patients() const { return m_patients; }
    const Patient& patientAt(int row) const { return m_patients.at(row); }
    // Row of the patient with that code (and branch, when given), or -1.
    int rowOf(const QString& code, const QString& branch = {}) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<Patient> m_patients;
};

}  // namespace host
