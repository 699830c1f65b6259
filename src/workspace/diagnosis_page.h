#pragma once

// The diagnosis tab's core ("Diagnóstico Nutricional"): one formatted text per
// consultation (cdsDiagNutri), typed in the rich-text editor rceDiag under its
// formatting bar fplDiag. The editor's text is HTML; it is stored reduced to what the
// bar produces (records/rich_text.h) and sent with SetDiag on every post and delete.

#include "assessment_form.h"

#include <QString>

namespace workspace {

class DiagnosisPage
{
public:
    explicit DiagnosisPage(AssessmentForm& form);
    DiagnosisPage(const DiagnosisPage&) = delete;
    DiagnosisPage& operator=(const DiagnosisPage&) = delete;

    // The hooks of cdsDiagNutri: the key and the text filled before a post, the write
    // with SetDiag after a post or a delete, the editor reloaded on open and cancel.
    void prepareDataSets();

    // Entering the tab (tshDiagNutriEnter): the consultation's diagnosis from GetDiag.
    // Nothing while the diagnosis is being edited.
    void tshDiagNutriEnter();

    // The editor's text (HTML) and a count that moves whenever the editor must show the
    // stored text again (loaded, cancelled, confirmed, deleted); the editor reports what
    // the user makes of it with rceDiagChange.
    const QString& rceDiag() const { return m_rceDiag; }
    int rceDiagRevision() const { return m_revision; }
    // Whether the editor takes typing: a loaded consultation that is not read-only.
    bool editorEnabled() const;

    // A key typed in the editor (a character, Enter, Backspace): in browse mode it edits
    // the diagnosis, or inserts one when there is none. False when nothing may change.
    bool rceDiagKeyPress();
    // The Delete key in browse mode: the diagnosis, if any, goes into edit.
    void rceDiagDeleteKey();
    // A click on the formatting bar does what a typed key does, except the very first
    // notification after the form was created, which only sets the private flag.
    void fplDiagClick();
    // The editor's text after a change the user made (typing, pasting, formatting, a
    // drop); in browse mode that change starts the edit as a typed key does.
    void rceDiagChange(const QString& html);

    // The Include button of the tab: a new diagnosis when the consultation has none.
    void sbtIncluirClick();
    // The Delete button of the tab: "Confirma exclusão?"; on Yes the diagnosis is deleted
    // on the server. Nothing on a read-only consultation or while editing.
    void sbtExcluirClick();

    // The buttons while the tab is shown (dtsDiagNutriStateChange): while editing only
    // Confirm and Cancel, and the other main tabs are closed; in browse mode Alter and
    // Delete when a diagnosis exists, Include when there is none.
    struct Buttons
    {
        bool sbtIncluir = false;
        bool sbtExcluir = false;
        bool sbtAlterar = false;
        bool sbtConfirmar = false;
        bool sbtCancelar = false;
        bool otherTabs = true;
    };
    Buttons buttons() const;
    bool editing() const;

    // For the command line: the text stored as the diagnosis of the consultation as if
    // typed over the old one and confirmed (it is reduced as the window reduces it).
    // False on a read-only consultation.
    bool storeText(const QString& html);
    // The stored text ("" when the consultation has none).
    QString storedText() const;

private:
    void showStored();
    void sendChanges();
    bool readOnly() const { return m_form.readOnly(); }

    AssessmentForm& m_form;
    QString m_rceDiag;
    int m_revision = 0;
    bool m_fplClicked = false;  // the bar reported its first click
};

}  // namespace workspace
