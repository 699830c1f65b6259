#pragma once

// The widgets of the tab "Diagnóstico Nutricional": the Include and Delete buttons, the
// formatting bar fplDiag (bold, italic, underline, bulleted and numbered lists, font
// size) and the rich-text editor rceDiag, bound to the tab's core (DiagnosisPage).

#include <QTextEdit>

#include <functional>

class QAction;
class QComboBox;
class QMenu;
class QTextCharFormat;
class QToolBar;

namespace workspace {

class AssessmentForm;

// The editor: typed keys are told before they act, and whatever is pasted or dropped
// keeps only what the formatting bar can produce.
class DiagnosisEditor : public QTextEdit
{
    Q_OBJECT

public:
    explicit DiagnosisEditor(QWidget* parent = nullptr);

    std::function<void()> keyTyped;   // a character, Enter, Backspace or Tab
    std::function<void()> deleteKey;  // the Delete key

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
};

class DiagnosisTab : public QObject
{
    Q_OBJECT

public:
    // Fills the tab's page; Include and Delete also go to the menu.
    DiagnosisTab(AssessmentForm& core, QWidget* page, QMenu* menu);

    QToolBar* tbrDiag = nullptr;  // Include, Delete
    QAction* sbtIncluir = nullptr;
    QAction* sbtExcluir = nullptr;
    QToolBar* fplDiag = nullptr;
    QAction* sbtNegrito = nullptr;
    QAction* sbtItalico = nullptr;
    QAction* sbtSublinhado = nullptr;
    QAction* sbtMarcadores = nullptr;
    QAction* sbtNumeracao = nullptr;
    QComboBox* cbbTamanhoFonte = nullptr;
    DiagnosisEditor* rceDiag = nullptr;

    // Repaints from the core: the stored text when the core says so, the enabled state.
    void sync();

private:
    void barClicked(const std::function<void()>& format);
    void mergeFormat(const QTextCharFormat& format);
    void toggleList(int style);
    void showFormat(const QTextCharFormat& format);
    void editorChanged();

    AssessmentForm& m_core;
    int m_revision = -1;
    bool m_loading = false;
};

}  // namespace workspace
