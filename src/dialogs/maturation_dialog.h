#pragma once

// The sexual maturation dialog's core (TfrmMatuSexual without its widgets): the page of
// the patient's sex, the stage chosen in each column of pictures, the age rule that
// takes the girls' pubic hair stages out of the choice, the composition of the stage
// code (DefValorMaturSex) and its writing as the observed stage, data type "37", of the
// assessment form's data grid. Staging after Tanner (1962).

#include "hostfw/messages.h"

#include <QString>

#include <optional>

namespace workspace {
class AssessmentForm;
}

namespace dialogs {

// The module-wide text that receives the composed stage code.
extern QString stValorMaturSex;

// The dialog's message table (msgPadrao).
const hostfw::TMessages& maturationMessages();

// What the maturation button of the data-entry page opens the dialog with: the page of
// the patient's sex letter ("F" 0, "M" 1) and the age in whole years and months of the
// header; nothing for any other letter. An age text that is not a whole number fails
// in the conversion (records::Error).
struct MaturationOpening
{
    int years = 0;
    int months = 0;
    int page = 0;
};
std::optional<MaturationOpening> sbtMaturSexClick(const workspace::AssessmentForm& form);

class MaturationDialog
{
public:
    // The pages of the notebook nbkSexos.
    enum Page
    {
        pgFeminino = 0,
        pgMasculino = 1
    };
    // The two columns of a page: breast (girls) or genital (boys) stages on the left,
    // pubic hair stages on the right.
    enum class Column
    {
        Left,
        Pubic
    };
    static constexpr int kStages = 5;

    // CriaMatuSexual before the dialog shows: the page (0 girls, 1 boys) and the age
    // rule. Any other page is refused (records::Error) and nothing is created.
    MaturationDialog(workspace::AssessmentForm& form, int years, int months, int page);
    MaturationDialog(const MaturationDialog&) = delete;
    MaturationDialog& operator=(const MaturationDialog&) = delete;

    // A girl is assessed without pubic hair stage from 16 years 7 months to 18 years 11
    // months, both ends included.
    static bool pubicStageExempt(int years, int months);

    int page() const { return m_page; }
    // The pubic-stage-required flag.
    bool pubicRequired() const { return m_pubicRequired; }

    // Whether the radio button of a stage (1 to 5) can be clicked.
    bool stageEnabled(Column column, int stage) const;
    // A click on the radio button of a stage: it becomes the column's choice. A click
    // on a disabled button or outside 1 to 5 changes nothing (false).
    bool choose(Column column, int stage);
    // The stage chosen in a column (1 to 5), if any.
    std::optional<int> chosen(Column column) const;
    // The object name of a stage's radio button ("rbtFemM1" ... "rbtMascP5"); the
    // picture above it is named alike with "img".
    QString buttonName(Column column, int stage) const;
    // The stage code of a column's stage ("M3", "G2", "P4").
    QString stageCode(Column column, int stage) const;

    // Composes stValorMaturSex from the chosen stages; each missing choice shows its
    // message (MensErro, the caller goes on) and leaves the value empty.
    void DefValorMaturSex();

    enum class Confirmed
    {
        Incomplete,  // a choice is missing: the dialog stays open, nothing written
        Written,     // the observed stage written and posted; the dialog closes
        NoDataRow    // the data grid has no maturation row: nothing written; it closes
    };
    // The confirm button: composes the value and, when it is complete, writes it with
    // the observation "Tanner (1962)" into the data row "37" of the form's data grid
    // and posts it (the result page spreads it to the recorded values).
    Confirmed sbtConfirmaClick();

private:
    workspace::AssessmentForm& m_form;
    int m_page;
    bool m_pubicRequired = true;
    std::optional<int> m_left;
    std::optional<int> m_pubic;
};

}  // namespace dialogs
