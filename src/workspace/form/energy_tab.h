#pragma once

// The widgets of the energy tab's pages "Método de Avaliação" (the energy method grid)
// and "Avaliação/Resultado" (the weight panel, the factor grid and the result grid),
// bound to the form's core.

#include <QObject>

class QTableView;
class QWidget;

namespace records {
class DataSetModel;
}

namespace workspace {

class AssessmentForm;
class CoreGridModel;
class EnergyDataGridBinder;
class EnergyMethodGridBinder;
class EnergyPanel;

class EnergyTab : public QObject
{
    Q_OBJECT

public:
    // Fills the two page widgets.
    EnergyTab(AssessmentForm& core, QWidget* methodPage, QWidget* resultPage);

    QTableView* dbgMetoAvalEnerg = nullptr;
    EnergyPanel* panAltPeso = nullptr;
    QTableView* dbgDadoAvalEnerg = nullptr;
    QTableView* dbgResulEnerg = nullptr;

    // Repaints from the core.
    void sync();
    // Called before the page changes: the panel is left if the focus is in it. False
    // when its values were refused.
    bool leavePanel();
    // On entering the results page: the weight takes the focus when it can.
    void focusWeight();
    // The focus the core asks for: "dbgDadoAvalEnerg" or "dbgResuAvalEnerg".
    void focus(const QString& control);

protected:
    // The result grid tells the core when the user enters and leaves it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AssessmentForm& m_core;
    CoreGridModel* m_methodModel = nullptr;
    CoreGridModel* m_dataModel = nullptr;
    records::DataSetModel* m_resultModel = nullptr;
    EnergyMethodGridBinder* m_methodGrid = nullptr;
    EnergyDataGridBinder* m_dataGrid = nullptr;
};

}  // namespace workspace
