// The maturation dialog's core on a consultation from a real server on loopback: the
// page and age rule the data-entry button opens it with, the messages of a missing
// choice, and the stage written to the data grid and spread to the recorded value.

#include "consultation_fixture.h"

#include "dialogs/maturation_dialog.h"
#include "records/error.h"

using dialogs::MaturationDialog;
using Column = MaturationDialog::Column;
using Confirmed = MaturationDialog::Confirmed;
using workspacetest::ConsultationTest;

namespace {

const QString kInfM = "Um parâmetro de mama deve ser informado.";
const QString kInfP = "Um parâmetro de pêlos pubianos deve ser informado.";
const QString kInfG = "Um parâmetro de genitália deve ser informado.";

struct Case
{
    const char* label;
    const char* sexCode;  // "0" male, "1" female
    QDate birth;          // the consultation is on 2026-12-06
    int page;
    bool pubicRequired;
    int left;   // 0: none chosen
    int pubic;  // 0: none chosen
    QStringList messages;
    QString stored;  // empty: nothing stored
};

}  // namespace

class MaturationDialogTest : public ConsultationTest
{
protected:
    // The patient on the result page with sexual maturation selected (unless not).
    workspace::AssessmentForm& openOnResults(const QString& patient, const QString& sex,
                                             const QDate& birth, bool withMaturation = true)
    {
        workspace::AssessmentForm& f = open(patient, sex, birth);
        EXPECT_TRUE(f.methodPage().selectMethod(withMaturation ? "28" : "00"));
        enterResults();
        return f;
    }
};

TEST_F(MaturationDialogTest, AgeRuleMessagesAndStoredStage)
{
    const Case cases[] = {
        {"boy of 12 y", "0", {2014, 12, 6}, 1, true, 3, 2, {}, "G3-P2"},
        {"boy, nothing chosen", "0", {2014, 12, 6}, 1, true, 0, 0, {kInfG, kInfP}, ""},
        {"boy, genital only", "0", {2014, 12, 6}, 1, true, 4, 0, {kInfP}, ""},
        {"girl of 16 y 6 m, breast only", "1", {2010, 6, 6}, 0, true, 4, 0, {kInfP}, ""},
        {"girl of 16 y 6 m, both", "1", {2010, 6, 6}, 0, true, 4, 3, {}, "M4-P3"},
        {"girl of 16 y 7 m, breast only", "1", {2010, 5, 6}, 0, false, 4, 0, {}, "M4"},
        {"girl of 18 y 11 m, pubic refused", "1", {2008, 1, 6}, 0, false, 5, 5, {}, "M5"},
        {"girl of 19 y, breast only", "1", {2007, 12, 6}, 0, true, 5, 0, {kInfP}, ""},
        {"girl of 19 y, nothing chosen", "1", {2007, 12, 6}, 0, true, 0, 0, {kInfM, kInfP}, ""},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (form)
            form->FormClose();
        workspace::AssessmentForm& f =
            openOnResults(QStringLiteral("9300000000%1").arg(++n, 2, 10, QChar(u'0')),
                          QString::fromLatin1(c.sexCode), c.birth);
        const auto opening = dialogs::sbtMaturSexClick(f);
        ASSERT_TRUE(opening);
        EXPECT_EQ(opening->page, c.page);
        MaturationDialog dialog(f, opening->years, opening->months, opening->page);
        EXPECT_EQ(dialog.pubicRequired(), c.pubicRequired);
        for (int stage = 1; stage <= 5; ++stage) {
            EXPECT_TRUE(dialog.stageEnabled(Column::Left, stage));
            EXPECT_EQ(dialog.stageEnabled(Column::Pubic, stage), c.pubicRequired);
        }
        if (c.left) {
            EXPECT_TRUE(dialog.choose(Column::Left, c.left));
        }
        if (c.pubic) {
            EXPECT_EQ(dialog.choose(Column::Pubic, c.pubic), c.pubicRequired);
        }

        errors.clear();
        const Confirmed confirmed = dialog.sbtConfirmaClick();
        EXPECT_EQ(errors.messages(), c.messages);
        EXPECT_EQ(dialogs::stValorMaturSex, c.stored);
        EXPECT_EQ(confirmed, c.stored.isEmpty() ? Confirmed::Incomplete : Confirmed::Written);
        EXPECT_EQ(gridValue("37"), c.stored);
        if (c.stored.isEmpty()) {
            EXPECT_TRUE(recorded("37").isEmpty());
        } else {
            EXPECT_EQ(gridValue("37", "DSOBSERAVAL"), "Tanner (1962)");
            const QMap<QString, Recorded> expected{{"28", {c.stored, "Tanner (1962)"}}};
            EXPECT_EQ(recorded("37"), expected);
        }
    }
}

TEST_F(MaturationDialogTest, ChoosingAgainReplacesTheStageAndAStoredOneIsOverwritten)
{
    workspace::AssessmentForm& f = openOnResults("930000000020", "0", {2013, 3, 1});
    MaturationDialog first(f, 13, 9, MaturationDialog::pgMasculino);
    first.choose(Column::Left, 2);
    first.choose(Column::Left, 4);
    EXPECT_FALSE(first.choose(Column::Pubic, 6));
    EXPECT_FALSE(first.choose(Column::Pubic, 0));
    first.choose(Column::Pubic, 1);
    ASSERT_EQ(first.sbtConfirmaClick(), Confirmed::Written);
    EXPECT_EQ(recorded("37").value("28").value, "G4-P1");

    MaturationDialog second(f, 13, 9, MaturationDialog::pgMasculino);
    second.choose(Column::Left, 5);
    second.choose(Column::Pubic, 5);
    ASSERT_EQ(second.sbtConfirmaClick(), Confirmed::Written);
    EXPECT_EQ(recorded("37").value("28"), (Recorded{"G5-P5", "Tanner (1962)"}));
}

TEST_F(MaturationDialogTest, WithoutAMaturationRowNothingIsWritten)
{
    workspace::AssessmentForm& f = openOnResults("930000000021", "1", {2014, 1, 1}, false);
    MaturationDialog dialog(f, 12, 11, MaturationDialog::pgFeminino);
    dialog.choose(Column::Left, 2);
    dialog.choose(Column::Pubic, 2);
    const int writes = int(server.calledMethods().count("SetInfoAval"));
    EXPECT_EQ(dialog.sbtConfirmaClick(), Confirmed::NoDataRow);
    EXPECT_EQ(dialogs::stValorMaturSex, "M2-P2");
    EXPECT_EQ(gridValue("37"), "<sem linha>");
    EXPECT_EQ(server.calledMethods().count("SetInfoAval"), writes);
}

TEST_F(MaturationDialogTest, OpeningFollowsTheSexLetterAndRefusesAnotherPage)
{
    // An undetermined sex opens nothing.
    workspace::AssessmentForm& f = open("930000000022", "3", {2014, 1, 1});
    EXPECT_FALSE(dialogs::sbtMaturSexClick(f));
    EXPECT_THROW(MaturationDialog(f, 12, 0, 2), records::Error);
    // An age text that is not a whole number fails in the conversion.
    form->FormClose();
    open("930000000023", "1", {2014, 1, 1});
    EXPECT_EQ(dialogs::sbtMaturSexClick(*form)->years, 12);
    form->edtMes = "x";
    EXPECT_THROW(dialogs::sbtMaturSexClick(*form), records::Error);
}
