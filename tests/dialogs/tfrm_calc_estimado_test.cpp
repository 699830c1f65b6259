// The estimate dialog's widgets under the offscreen platform: the equation set enabling
// the edits, Confirmar writing or, refused, keeping the dialog open, and a look at it.

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

class EstimateDialogWidgets : public workspacetest::ConsultationTest
{
protected:
    workspace::AssessmentForm& openOnResults(const QString& patient, const QString& sex,
                                             const QDate& birth)
    {
        workspace::AssessmentForm& f = open(patient, sex, birth);
        EXPECT_TRUE(f.methodPage().selectMethod("00"));
        enterResults();
        return f;
    }
};

// A girl of 4: the set enables its edits and the 1987 set says it has no weight for her;
// the picture goes to AVALNUTRI_SCREENSHOT_DIR when set, for a person to look at.
TEST_F(EstimateDialogWidgets, TheSetEnablesItsEditsAndConfirmarWrites)
{
    TfrmCalcEstimado w(openOnResults("970000000001", "1", QDate(2022, 12, 6)));
    w.show();
    EXPECT_TRUE(w.rdgChumlea1988->isChecked());
    QWidget* const extras[] = {w.lblCircPan,  w.nedPantu, w.lblCirPanCM,
                               w.lblPrCutSub, w.nedPCS,   w.lblPrCutCM};
    for (const bool to1987 : {true, false, true}) {
        QTest::mouseClick(to1987 ? w.rdgChumlea1987 : w.rdgChumlea1988, Qt::LeftButton);
        for (QWidget* e : extras)
            EXPECT_EQ(e->isEnabled(), !to1987) << e->objectName().toStdString();
        EXPECT_TRUE(w.nedJoelho->isEnabled() && w.nedCMB->isEnabled());
        EXPECT_EQ(w.lblAviso->isHidden(), !to1987);
    }
    QTest::keyClicks(w.nedJoelho, "32.0");
    QTest::keyClicks(w.nedCMB, "15");
    QTemporaryDir temporary;
    const QString dir = qEnvironmentVariable("AVALNUTRI_SCREENSHOT_DIR");
    EXPECT_TRUE(w.grab().toImage().save(
        QDir(dir.isEmpty() ? temporary.path() : dir).filePath("estimate_dialog.png")));

    // with the 1988 set: 1,27 x 20 + 0,87 x 32 + 0,98 x 15 + 0,4 x 8 - 62,35 kg and
    // 84,88 + 1,83 x 32 - 0,24 x 4 cm
    QTest::mouseClick(w.rdgChumlea1988, Qt::LeftButton);
    QTest::keyClicks(w.nedPantu, "20");
    QTest::keyClicks(w.nedPCS, "8");
    QTest::mouseClick(w.sbtConfirma, Qt::LeftButton);
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(gridValue("01"), "8,79");
    EXPECT_EQ(gridValue("02"), "1,42");
}

TEST_F(EstimateDialogWidgets, ARefusalKeepsTheDialogOpenAndTheButtonClearsTheFlag)
{
    workspace::AssessmentForm& f = openOnResults("970000000002", "0", QDate(1956, 12, 6));
    bool refusedStayedOpen = false;
    TfrmCalcEstimado::setNextRun([&](TfrmCalcEstimado& w) {
        // a weight of 1,1 x 40 + 3,07 x 5 - 75,81 kg at 70: refused
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
    EXPECT_EQ(
        errors.messages(),
        QStringList{"Um peso estimado de -16,46 kg não é possível: confira as medidas. Nada foi "
                    "gravado."});
    EXPECT_EQ(gridValue("01"), "60,29");
    EXPECT_FALSE(f.resultPage().estimateFlag);
}
