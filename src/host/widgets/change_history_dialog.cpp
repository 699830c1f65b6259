#include "host/widgets/change_history_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace host {

ChangeHistoryDialog::ChangeHistoryDialog(QList<ChangeRow> rows, const ConsultationChoice& choice,
                                         QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("changeHistoryDialog"));
    setWindowTitle(QStringLiteral("Histórico de alterações"));
    const bool empty = rows.isEmpty();

    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("lblConsulta"));
    m_caption->setText(
        QStringLiteral("%1 (%2), consulta de %3%4")
            .arg(choice.patient.name, choice.patient.code,
                 choice.date.toString(QStringLiteral("dd/MM/yyyy")),
                 empty ? QStringLiteral(": nenhuma alteração registrada.") : QStringLiteral(".")));

    m_model = new ChangeHistoryModel(std::move(rows), this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("grdHistorico"));
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->resizeColumnsToContents();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Fechar"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(m_table);
    layout->addWidget(buttons);
    resize(760, 360);
}

QString ChangeHistoryDialog::captionText() const
{
    return m_caption->text();
}

}  // namespace host
