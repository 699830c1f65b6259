#pragma once

#include "host/consultation.h"

#include "records/app_server.h"

#include <QDialog>

#include <optional>

class QDateEdit;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace host {

class PatientTableModel;

// Picks the patient and the consultation date to open. The patients come from the
// server's registry (GetPacientes); the date starts at today's date. When the server
// cannot be read the dialog says so in its message line and stays usable: the list can
// be asked for again, or the dialog cancelled. Everything a person does here a test can
// do through the public calls (selectPatient, setConsultationDate, accept).
class PatientPickerDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PatientPickerDialog(records::AppServer& server, QWidget* parent = nullptr);

    // Reads the registry again; false (and the reason in the message line) when it fails.
    bool refresh();

    // Selects the row of that patient (the filter is cleared first); false when the list
    // has no such patient.
    bool selectPatient(const QString& code, const QString& branch = {});
    std::optional<Patient> selectedPatient() const;

    void setConsultationDate(const QDate& date);
    QDate consultationDate() const;

    // The accepted choice; nothing before the dialog was accepted.
    std::optional<ConsultationChoice> choice() const { return m_choice; }

    // The text of the message line (an error, or empty).
    QString messageText() const;
    int patientCount() const;

public slots:
    // Accepts only a choice that can be opened; otherwise says why and stays open.
    void accept() override;

private:
    void showMessage(const QString& text);
    void updateButtons();

    records::AppServer& m_server;
    PatientTableModel* m_model = nullptr;
    QSortFilterProxyModel* m_proxy = nullptr;
    QLineEdit* m_filter = nullptr;
    QTableView* m_table = nullptr;
    QDateEdit* m_date = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_refresh = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    std::optional<ConsultationChoice> m_choice;
};

}  // namespace host
