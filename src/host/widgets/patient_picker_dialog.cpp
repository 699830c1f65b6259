#include "host/widgets/patient_picker_dialog.h"

#include "host/patient_registry.h"
#include "host/patient_table_model.h"

#include "records/error.h"

#include "hostfw/clock.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <exception>

namespace host {

PatientPickerDialog::PatientPickerDialog(records::AppServer& server, QWidget* parent)
    : QDialog(parent),
      m_server(server)
{
    setObjectName(QStringLiteral("patientPickerDialog"));
    setWindowTitle(QStringLiteral("Abrir consulta"));

    m_model = new PatientTableModel(this);
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterKeyColumn(-1);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setSortLocaleAware(true);

    auto* patientLabel = new QLabel(QStringLiteral("&Paciente:"), this);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("patientFilterEdit"));
    m_filter->setPlaceholderText(QStringLiteral("Pesquisar por código ou nome"));
    m_filter->setClearButtonEnabled(true);
    patientLabel->setBuddy(m_filter);

    m_refresh = new QPushButton(QStringLiteral("&Atualizar lista"), this);
    m_refresh->setObjectName(QStringLiteral("refreshButton"));
    m_refresh->setAutoDefault(false);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(patientLabel);
    filterRow->addWidget(m_filter, 1);
    filterRow->addWidget(m_refresh);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("patientTable"));
    m_table->setModel(m_proxy);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(false);
    m_table->horizontalHeader()->setSectionResizeMode(PatientTableModel::Name,
                                                      QHeaderView::Stretch);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(PatientTableModel::Name, Qt::AscendingOrder);

    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("consultationDateEdit"));
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_date->setMinimumWidth(130);
    m_date->setDate(hostfw::Today());

    auto* dateLabel = new QLabel(QStringLiteral("&Data da consulta:"), this);
    dateLabel->setBuddy(m_date);
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(dateLabel);
    dateRow->addWidget(m_date);
    dateRow->addStretch(1);

    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("messageLabel"));
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("color: #b00020;"));
    m_message->hide();

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->setObjectName(QStringLiteral("buttonBox"));
    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(m_table, 1);
    layout->addLayout(dateRow);
    layout->addWidget(m_message);
    layout->addWidget(m_buttons);
    resize(680, 420);

    connect(m_filter, &QLineEdit::textChanged, m_proxy,
            &QSortFilterProxyModel::setFilterFixedString);
    connect(m_refresh, &QPushButton::clicked, this, [this] { refresh(); });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        showMessage({});
        updateButtons();
    });
    connect(m_proxy, &QAbstractItemModel::modelReset, this, [this] { updateButtons(); });
    connect(m_proxy, &QAbstractItemModel::layoutChanged, this, [this] { updateButtons(); });
    connect(m_proxy, &QAbstractItemModel::rowsRemoved, this, [this] { updateButtons(); });
    connect(m_table, &QTableView::doubleClicked, this, [this] { accept(); });
    connect(m_buttons, &QDialogButtonBox::accepted, this, &PatientPickerDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    refresh();
    m_filter->setFocus();
}

bool PatientPickerDialog::refresh()
{
    QList<Patient> patients;
    QString failure;
    try {
        patients = fetchPatients(m_server);
    } catch (const records::Error& e) {
        failure = e.message();
    } catch (const std::exception& e) {
        failure = QStringLiteral("Não foi possível obter a lista de pacientes do servidor: %1")
                      .arg(QString::fromLocal8Bit(e.what()));
    }

    // On a failure the list is emptied rather than left stale: a patient picked from an
    // old list might no longer be the one the server holds.
    m_model->setPatients(patients);
    if (!failure.isEmpty())
        showMessage(failure);
    else if (patients.isEmpty())
        showMessage(QStringLiteral("O cadastro não tem pacientes."));
    else
        showMessage({});
    updateButtons();
    return failure.isEmpty();
}

bool PatientPickerDialog::selectPatient(const QString& code, const QString& branch)
{
    const int sourceRow = m_model->rowOf(code, branch);
    if (sourceRow < 0)
        return false;
    m_filter->clear();
    const QModelIndex index = m_proxy->mapFromSource(m_model->index(sourceRow, 0));
    m_table->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect
                                                 | QItemSelectionModel::Rows);
    m_table->setCurrentIndex(index);
    m_table->scrollTo(index);
    return true;
}

std::optional<Patient> PatientPickerDialog::selectedPatient() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return std::nullopt;
    const QModelIndex source = m_proxy->mapToSource(rows.first());
    if (!source.isValid())
        return std::nullopt;
    return m_model->patientAt(source.row());
}

void PatientPickerDialog::setConsultationDate(const QDate& date)
{
    m_date->setDate(date);
}

QDate PatientPickerDialog::consultationDate() const
{
    return m_date->date();
}

QString PatientPickerDialog::messageText() const
{
    return m_message->text();
}

int PatientPickerDialog::patientCount() const
{
    return m_model->rowCount();
}

void PatientPickerDialog::accept()
{
    const std::optional<Patient> patient = selectedPatient();
    const ConsultationChoice choice{patient.value_or(Patient{}), consultationDate()};
    if (const std::optional<QString> problem = checkChoice(choice)) {
        showMessage(*problem);
        return;
    }
    m_choice = choice;
    QDialog::accept();
}

void PatientPickerDialog::showMessage(const QString& text)
{
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

void PatientPickerDialog::updateButtons()
{
    const bool chosen = m_table->selectionModel()->hasSelection();
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(chosen);
}

}  // namespace host
