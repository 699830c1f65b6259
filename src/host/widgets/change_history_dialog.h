#pragma once

#include "host/change_history.h"

#include <QDialog>

class QLabel;
class QTableView;

namespace host {

// "Histórico de alterações": the audit rows of one consultation, read only.
class ChangeHistoryDialog : public QDialog
{
    Q_OBJECT

public:
    ChangeHistoryDialog(QList<ChangeRow> rows, const ConsultationChoice& choice,
                        QWidget* parent = nullptr);

    QTableView* table() const { return m_table; }
    ChangeHistoryModel* model() const { return m_model; }
    QString captionText() const;

private:
    QLabel* m_caption = nullptr;
    QTableView* m_table = nullptr;
    ChangeHistoryModel* m_model = nullptr;
};

}  // namespace host
