#pragma once

// The widgets of the energy tab's page "Recomendação de Nutriente", bound to the
// recommendation page's core: the Include and Delete buttons, the recommendations grid
// dbgRefeRecom (reference and group typed while a row is inserted, or picked; the
// nutrients chosen from a list), the nutrient amounts grid dbgNutreRecom and the panel
// panDados (current weight and height, ideal-weight method and weight, adequate weight,
// patient type).

#include <QObject>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace records {
class DataSetModel;
}

namespace workspace {

class AssessmentForm;
class RecommendationGridBinder;
class RecommendationModel;

class RecommendationTab : public QObject
{
    Q_OBJECT

public:
    // Fills the page widget.
    RecommendationTab(AssessmentForm& core, QWidget* page);

    QPushButton* sbtIncluir = nullptr;
    QPushButton* sbtExcluir = nullptr;
    QTableView* dbgRefeRecom = nullptr;
    QTableView* dbgNutreRecom = nullptr;
    QLineEdit* medPesoRec = nullptr;
    QLineEdit* medAlturaRec = nullptr;
    QComboBox* cbbPesoIdealRec = nullptr;
    QLineEdit* dbePesoIdeal = nullptr;
    QLineEdit* medPesoAdRec = nullptr;
    QComboBox* cbbTipoPaci = nullptr;

    // Repaints from the core.
    void sync();
    // The focus the core asks for: a column of the recommendations grid or the grid.
    void focus(const QString& control);

private:
    AssessmentForm& m_core;
    RecommendationModel* m_recommendationModel = nullptr;
    records::DataSetModel* m_nutrientModel = nullptr;
    RecommendationGridBinder* m_grid = nullptr;
    bool m_syncing = false;
};

}  // namespace workspace
