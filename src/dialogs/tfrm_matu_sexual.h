#pragma once

#include "maturation_dialog.h"
#include "stage_pictures.h"

#include "hostfw/widgets/tfrm_roti_geral.h"

class QButtonGroup;
class QRadioButton;
class QScrollArea;
class QStackedWidget;

namespace dialogs {

// The sexual maturation dialog: a notebook with the girls' page (breast and pubic hair
// stages) and the boys' page (genital and pubic hair stages), each a scrolling box of
// two columns of five pictures with a radio button under each, over the base dialog's
// Confirmar and Cancelar. The clicks go to the core (MaturationDialog); the buttons
// repaint from it.
class TfrmMatuSexual : public hostfw::TfrmRotiGeral
{
    Q_OBJECT

public:
    // The page shown and the age rule as CriaMatuSexual prepares them; a page other
    // than 0 or 1 is refused (records::Error) before any widget exists.
    TfrmMatuSexual(workspace::AssessmentForm& form, int years, int months, int page,
                   QWidget* parent = nullptr);

    MaturationDialog& core() { return m_core; }

    QStackedWidget* nbkSexos = nullptr;
    QWidget* pgFeminino = nullptr;
    QWidget* pgMasculino = nullptr;
    QScrollArea* scbFem = nullptr;
    QScrollArea* scbMasc = nullptr;
    QWidget* panLeftFem = nullptr;
    QWidget* panLeftMasc = nullptr;

    // A radio button by its name ("rbtFemM1" ... "rbtMascP5").
    QRadioButton* radio(const QString& name) const;

protected:
    // The confirm button: the core composes and writes; the dialog closes unless a
    // choice is missing.
    void sbtConfirmaClick() override;

private:
    QWidget* buildPage(int page, QScrollArea*& box, QWidget*& leftPanel);
    QWidget* buildColumn(int page, MaturationDialog::Column column, StageKind kind,
                         QButtonGroup* group);
    void repaintButtons();

    MaturationDialog m_core;
};

// CriaMatuSexual: creates the dialog for the form, prepares it and shows it modally.
void CriaMatuSexual(workspace::AssessmentForm& form, int years, int months, int page,
                    QWidget* parent = nullptr);

}  // namespace dialogs
