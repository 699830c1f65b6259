// The page "Recomendação de Nutriente" in the window, on a consultation of a real server:
// Include, a reference typed into its cell, the group and the nutrients picked with the
// list buttons, Confirm, the panel, and a look at the page.

#include "window_fixture.h"

#include "recommendation/nutrient_amounts.h"
#include "workspace/form/recommendation_tab.h"
#include "workspace/recommendation_page.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace workspace;

class RecommendationTabTest : public workspacetest::WindowTest
{
protected:
    // The list button of a cell, clicked with the cell current.
    static void clickButton(QTableView* view, int row, const QString& field)
    {
        view->setCurrentIndex(cell(view, row, field));
        clickCell(view, row, field, true);
    }
};

TEST_F(RecommendationTabTest, ARecommendationIsTypedPickedConfirmedAndShown)
{
    admit("950000000001", "1", QDate(1990, 4, 2));
    storeRecorded("01", "01", "60,00");
    storeRecorded("01", "02", "1,60");
    TfrmAvalNutrEnerg& w = showWindow(QSize(1000, 640));
    ASSERT_TRUE(w.core().loaded());
    AssessmentForm& core = w.core();
    recommendation::RecommendationPass::installRoutine(core);
    w.mnuNutrRecom->trigger();
    RecommendationTab& tab = *w.recommendationTab();
    EXPECT_EQ(tab.medPesoRec->text(), "60,00");
    EXPECT_EQ(tab.medAlturaRec->text(), "1,6");
    EXPECT_EQ(tab.cbbTipoPaci->count(), 4);
    tab.cbbPesoIdealRec->setCurrentText("Peso Ideal (IMC-OMS)");
    EXPECT_EQ(core.cbbPesoIdealRecText(), "Peso Ideal (IMC-OMS)");

    QTest::mouseClick(tab.sbtIncluir, Qt::LeftButton);
    ASSERT_EQ(core.cdsNutrRefe.state(), records::DataSetState::Insert);
    // The reference typed into its cell is padded and named on leaving it.
    QTableView* grid = tab.dbgRefeRecom;
    grid->setFocus();
    grid->setCurrentIndex(cell(grid, 0, "CDRFNUTRECOM"));
    ASSERT_TRUE(grid->model()->flags(grid->currentIndex()) & Qt::ItemIsEditable)
        << grid->currentIndex().row() << ' ' << grid->currentIndex().column();
    QTest::keyClick(grid, '1');
    QLineEdit* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(core.cdsNutrRefe.asString("CDRFNUTRECOM"), "01");
    EXPECT_EQ(grid->model()->data(cell(grid, 0, "CDRFNUTRECOM")).toString(),
              "RDA 1989 - Recommended Dietary Allowances (NRC)");
    {
        hostfw::PickScript pick({hostfw::PickAnswer::where("CDGRUPNUTR", "01"),
                                 hostfw::PickAnswer::codes({"001", "002"})});
        clickButton(grid, 0, "CDGRUPNUTR");
        clickButton(grid, 0, "NMNUTRESC");
        ASSERT_EQ(pick.requests().size(), 2);
        EXPECT_EQ(pick.requests()[1].caption, "Nutrientes");
    }
    EXPECT_EQ(core.cdsNutrRefe.asString("NMNUTRESC"), "Energia | Proteína ");
    w.sbtConfirmar->trigger();
    ASSERT_FALSE(core.cdsNutrRefe.isEditing());
    ASSERT_EQ(core.cdsNutrRefe.recordCount(), 1);
    ASSERT_EQ(tab.dbgNutreRecom->model()->rowCount(), 2);
    EXPECT_EQ(core.cdsNutrePaci.asStringAt(1, "DSNUTPEIDEAL"), "37,888 - 50,995");
    EXPECT_EQ(tab.dbePesoIdeal->text(), "47,360 - 63,744 Kg");

    // Outside an insert, characters and Delete change nothing.
    grid->setFocus();
    grid->setCurrentIndex(cell(grid, 0, "CDRFNUTRECOM"));
    QTest::keyClick(grid, '2');
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_FALSE(core.cdsNutrRefe.isEditing());
    EXPECT_EQ(core.cdsNutrRefe.recordCount(), 1);

    expectShown(shoot("recommendation.png"), *tab.dbgNutreRecom);
}
