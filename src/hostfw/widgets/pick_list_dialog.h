#pragma once

#include "hostfw/pick_list.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLineEdit;
class QStandardItemModel;
class QTableView;

namespace hostfw {

// The pick-list dialog: the dataset's visible rows in a table (its shown fields, with
// their labels), a search box that moves to the first row whose text in the search
// column starts with what is typed (letter case and accents aside), and Confirmar /
// Cancelar. A header click makes that column the search column. In the multiple
// choice each row has a check box; the rows whose key is among the chosen codes start
// checked. The rows are read once when it opens: the dialog is modal.
class PickListDialog : public QDialog
{
    Q_OBJECT
public:
    PickListDialog(const records::DataSet& dataSet, const PickRequest& request, bool multiple,
                   QWidget* parent = nullptr);

    // Runs the dialog modally and returns QDialog::Accepted or Rejected. When a next
    // choice is queued it is shown and the choice made by that function instead of a
    // person; a choice that neither accepts nor rejects counts as Cancelar.
    int run();

    // Test seam: the next dialog that runs is handed to this function.
    using Choice = std::function<void(PickListDialog&)>;
    static void setNextChoice(Choice choice);

    // The same actions a person takes.
    void search(const QString& text);
    void setSearchColumn(int column);
    bool setCurrentRow(int row);
    void setChecked(int row, bool checked);

    int currentRow() const;
    int rowCount() const;
    int searchColumn() const { return m_searchColumn; }
    bool isChecked(int row) const;
    // The key values of the checked rows, in list order.
    QStringList checkedCodes() const;
    QString cellText(int row, int column) const;

    QLineEdit* searchBox() const { return m_search; }
    QTableView* table() const { return m_table; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill(const records::DataSet& dataSet, const PickRequest& request);
    void toggleCurrent();

    bool m_multiple;
    int m_searchColumn = 0;
    QLineEdit* m_search;
    QTableView* m_table;
    QStandardItemModel* m_model;
};

// The chooser the widget layer installs: opens the dialog over the active window.
class DialogPickListChooser : public PickListChooser
{
public:
    std::optional<int> chooseOne(const records::DataSet& dataSet,
                                 const PickRequest& request) override;
    std::optional<QStringList> chooseMany(const records::DataSet& dataSet,
                                          const PickRequest& request) override;
};

}  // namespace hostfw
