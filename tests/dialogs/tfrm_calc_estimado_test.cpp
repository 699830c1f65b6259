// The estimate dialog's widgets under the offscreen platform: the equation set enabling
// the edits, Confirmar writing, a refusal keeping the dialog open, and a look at it.

#include "consultation_fixture.h"

#include "dialogs/tfrm_calc_estimado.h"
#include "hostfw/widgets/number_edit.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using dialogs::TfrmCalcEstimado;
using workspacetest::ConsultationTest;

class EstimateDialogWidgets : public ConsultationTest
{
protected:
    workspace::AssessmentForm& openOnResults(const QString& patient)
    {
        workspace::AssessmentForm& f = open(patient, "0", QDate(1956, 12, 6));  // a man of 70
        EXPECT_TRUE(f.methodPage().selectMethod("00"));
        enterResults();
        return f;
    }
};

TEST_F(EstimateDialogWidgets, TheSetEnablesItsEditsAndConfirmarWrites)
{
    TfrmCalcEstimado w(openOnResults("970000000001"));
    w.show();
    EXPECT_EQ(w.windowTitle(), "Cálculo Peso/Altura Estimado (Chumlea)");
    EXPECT_EQ(w.lblCodigoTela->text(), "VEX12201");
    EXPECT_TRUE(w.rdgChumlea1988->isChecked());
    QWidget* const extras[] = {w.lblCircPan,  w.nedPantu, w.lblCirPanCM,
                               w.lblPrCutSub, w.nedPCS,   w.lblPrCutCM};
    for (const bool to1987 : {true, false, true}) {
        QTest::mouseClick(to1987 ? w.rdgChumlea1987 : w.rdgChumlea1988, Qt::LeftButton);
        EXPECT_EQ(w.core().rdgChumlea, to1987 ? 0 : 1);
        for (QWidget* e : extras)
            EXPECT_EQ(e->isEnabled(), !to1987) << e->objectName().toStdString();
        EXPECT_TRUE(w.nedJoelho->isEnabled());
        EXPECT_TRUE(w.nedCMB->isEnabled());
    }

    QTest::keyClicks(w.nedJoelho, "50.5");
    QTest::keyClicks(w.nedCMB, "30");
    QTest::mouseClick(w.sbtConfirma, Qt::LeftButton);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_FALSE(w.isVisible());
    // 1,1 x 50,5 + 3,07 x 30 - 75,81 (the 1988 edits left out); 64,19 + 102,01 - 2,8 cm
    EXPECT_EQ(gridValue("01"), "71,84");
    EXPECT_EQ(gridValue("02"), "1,63");
    EXPECT_EQ(gridValue("02", "DSOBSERAVAL"), "Altura Estimada Chumlea (1987)");
}

TEST_F(EstimateDialogWidgets, ARefusalKeepsTheDialogOpenAndTheButtonClearsTheFlag)
{
    workspace::AssessmentForm& f = openOnResults("970000000002");
    bool refusedStayedOpen = false;
    TfrmCalcEstimado::setNextRun([&](TfrmCalcEstimado& w) {
        // a weight of zero or less: refused, the dialog stays with what was typed
        QTest::mouseClick(w.rdgChumlea1987, Qt::LeftButton);
        w.nedJoelho->setText("40");
        w.nedCMB->setText("5");
        QTest::mouseClick(w.sbtConfirma, Qt::LeftButton);
        refusedStayedOpen = w.isVisible() && w.nedCMB->text() == "5";
        w.nedCMB->setText("30");
        QTest::mouseClick(w.sbtConfirma, Qt::LeftButton);
    });
    dialogs::sbtEstimadoClick(f, nullptr);
    EXPECT_TRUE(refusedStayedOpen);
    ASSERT_EQ(errors.messages().size(), 1);
    EXPECT_TRUE(errors.last().startsWith("Um peso estimado de -16,46 kg"))
        << errors.last().toStdString();
    EXPECT_EQ(gridValue("01"), "60,29");  // 1,1 x 40 + 3,07 x 30 - 75,81 at 70
    EXPECT_FALSE(f.resultPage().estimateFlag);

    // Cancelar writes nothing
    TfrmCalcEstimado::setNextRun([](TfrmCalcEstimado& w) {
        w.nedJoelho->setText("60");
        QTest::mouseClick(w.sbtCancela, Qt::LeftButton);
    });
    dialogs::sbtEstimadoClick(f, nullptr);
    EXPECT_EQ(gridValue("02"), "1,42");  // 64,19 + 80,8 - 2,8 cm, from the first run
}

// The dialog as the user sees it, for a person to look at: AVALNUTRI_SCREENSHOT_DIR
// when set, else a temporary directory. The notice of a child under 6 shows with 1987.
TEST_F(EstimateDialogWidgets, RendersWithItsNoticeForAYoungChild)
{
    TfrmCalcEstimado w(open("970000000003", "1", QDate(2022, 12, 6)));
    w.show();
    EXPECT_TRUE(w.lblAviso->isHidden());
    QTest::mouseClick(w.rdgChumlea1987, Qt::LeftButton);
    EXPECT_FALSE(w.lblAviso->isHidden());
    EXPECT_EQ(w.lblAviso->text(), "Chumlea (1987) não tem equação de peso para menores de 6 anos.");
    w.nedJoelho->setText("32,5");
    w.nedCMB->setText("15");
    QTemporaryDir temporary;
    const QString dir = qEnvironmentVariable("AVALNUTRI_SCREENSHOT_DIR");
    const QImage shot = w.grab().toImage();
    EXPECT_GT(shot.width(), 300);
    EXPECT_TRUE(
        shot.save(QDir(dir.isEmpty() ? temporary.path() : dir).filePath("estimate_dialog.png")));
}
