// The maturation dialog's widgets under the offscreen platform: the radio buttons of
// each page, the girls' pubic stages disabled by age, clicks reaching the core, and the
// dialog closing only on a complete choice. With AVALNUTRI_SHOTS set to a folder, both
// pages are saved there as maturation_girls*.png and maturation_boys*.png.

#include "consultation_fixture.h"

#include "dialogs/tfrm_matu_sexual.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>

using dialogs::TfrmMatuSexual;
using workspacetest::ConsultationTest;

namespace {

// The page as it opens, and scrolled to its last stages.
void saveShots(TfrmMatuSexual& w, QScrollArea* box, const QString& name)
{
    const QString folder = qEnvironmentVariable("AVALNUTRI_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    w.grab().save(QStringLiteral("%1/maturation_%2.png").arg(folder, name));
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
    w.grab().save(QStringLiteral("%1/maturation_%2_lower.png").arg(folder, name));
}

}  // namespace

class MaturationWidgets : public ConsultationTest
{
};

TEST_F(MaturationWidgets, EachPageHasTenButtonsUnderItsPictures)
{
    workspace::AssessmentForm& f = open("930000000030", "1", {2009, 12, 6});  // 17 y
    TfrmMatuSexual girls(f, 17, 0, 0);
    EXPECT_EQ(girls.windowTitle(), "Maturação Sexual");
    EXPECT_EQ(girls.lblCodigoTela->text(), "VEX12202");
    EXPECT_EQ(girls.nbkSexos->currentWidget(), girls.pgFeminino);
    for (const char* prefix : {"rbtFemM", "rbtFemP", "rbtMascG", "rbtMascP"}) {
        for (int stage = 1; stage <= 5; ++stage) {
            const QString name = QString::fromLatin1(prefix) + QString::number(stage);
            QRadioButton* button = girls.radio(name);
            ASSERT_TRUE(button) << name.toStdString();
            EXPECT_TRUE(button->text().isEmpty());
            QString image = name;
            image.replace(0, 3, "img");
            const auto* picture = girls.findChild<QLabel*>(image);
            ASSERT_TRUE(picture) << image.toStdString();
            EXPECT_FALSE(picture->pixmap().isNull());
        }
    }
    // At 17 the girls' pubic stages are out of the choice.
    for (int stage = 1; stage <= 5; ++stage) {
        EXPECT_TRUE(girls.radio(QStringLiteral("rbtFemM%1").arg(stage))->isEnabled());
        EXPECT_FALSE(girls.radio(QStringLiteral("rbtFemP%1").arg(stage))->isEnabled());
    }
    EXPECT_TRUE(girls.panLeftFem->isAncestorOf(girls.radio("rbtFemM3")));
    EXPECT_FALSE(girls.panLeftFem->isAncestorOf(girls.radio("rbtFemP3")));

    girls.resize(girls.width(), 900);
    girls.show();
    QTest::mouseClick(girls.radio("rbtFemM4"), Qt::LeftButton);
    EXPECT_EQ(girls.core().chosen(dialogs::MaturationDialog::Column::Left), 4);
    saveShots(girls, girls.scbFem, "girls");

    TfrmMatuSexual boys(f, 12, 3, 1);
    EXPECT_EQ(boys.nbkSexos->currentWidget(), boys.pgMasculino);
    for (int stage = 1; stage <= 5; ++stage)
        EXPECT_TRUE(boys.radio(QStringLiteral("rbtMascP%1").arg(stage))->isEnabled());
    boys.resize(boys.width(), 900);
    boys.show();
    boys.radio("rbtMascG3")->click();
    boys.radio("rbtMascP2")->click();
    saveShots(boys, boys.scbMasc, "boys");
}

TEST_F(MaturationWidgets, ConfirmClosesOnlyOnACompleteChoice)
{
    workspace::AssessmentForm& f = open("930000000031", "0", {2014, 12, 6});  // 12 y
    ASSERT_TRUE(f.methodPage().selectMethod("28"));
    enterResults();
    TfrmMatuSexual dialog(f, 12, 0, 1);
    dialog.show();
    dialog.radio("rbtMascG3")->click();
    dialog.sbtConfirma->click();
    EXPECT_EQ(errors.last(), "Um parâmetro de pêlos pubianos deve ser informado.");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(gridValue("37"), "");

    dialog.radio("rbtMascP2")->click();
    dialog.radio("rbtMascP4")->click();  // one choice per column
    EXPECT_FALSE(dialog.radio("rbtMascP2")->isChecked());
    dialog.sbtConfirma->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(recorded("37").value("28"), (Recorded{"G3-P4", "Tanner (1962)"}));
}
