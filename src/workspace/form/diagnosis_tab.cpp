#include "diagnosis_tab.h"

#include "hostfw/action.h"
#include "records/rich_text.h"
#include "workspace/assessment_form.h"
#include "workspace/diagnosis_page.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <QToolBar>
#include <QVBoxLayout>

namespace workspace {

DiagnosisEditor::DiagnosisEditor(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(true);
}

void DiagnosisEditor::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (key == Qt::Key_Delete) {
        if (deleteKey)
            deleteKey();
    } else if (!command
               && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Backspace
                   || key == Qt::Key_Tab
                   || (!event->text().isEmpty() && event->text().at(0).isPrint()))) {
        if (keyTyped)
            keyTyped();
    }
    QTextEdit::keyPressEvent(event);
}

void DiagnosisEditor::insertFromMimeData(const QMimeData* source)
{
    if (isReadOnly() || !source)
        return;
    if (source->hasHtml()) {
        textCursor().insertHtml(records::cleanRichText(source->html()).html.trimmed());
        ensureCursorVisible();
    } else if (source->hasText()) {
        textCursor().insertText(source->text());
        ensureCursorVisible();
    }
}

DiagnosisTab::DiagnosisTab(AssessmentForm& core, QWidget* page, QMenu* menu)
    : QObject(page),
      m_core(core)
{
    auto* layout = new QVBoxLayout(page);

    tbrDiag = new QToolBar(page);
    tbrDiag->setObjectName(QStringLiteral("tbrDiag"));
    tbrDiag->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    sbtIncluir = tbrDiag->addAction(page->style()->standardIcon(QStyle::SP_FileIcon),
                                    QStringLiteral("Incluir"));
    sbtIncluir->setObjectName(QStringLiteral("sbtIncluir"));
    sbtExcluir = tbrDiag->addAction(page->style()->standardIcon(QStyle::SP_TrashIcon),
                                    QStringLiteral("Excluir"));
    sbtExcluir->setObjectName(QStringLiteral("sbtExcluir"));
    if (menu) {
        menu->addAction(sbtIncluir);
        menu->addAction(sbtExcluir);
    }

    fplDiag = new QToolBar(page);
    fplDiag->setObjectName(QStringLiteral("fplDiag"));
    fplDiag->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto button = [this](const QString& name, const QString& text, const QString& tip) {
        QAction* a = fplDiag->addAction(text);
        a->setObjectName(name);
        a->setToolTip(tip);
        a->setCheckable(true);
        return a;
    };
    sbtNegrito =
        button(QStringLiteral("sbtNegrito"), QStringLiteral("N"), QStringLiteral("Negrito"));
    QFont bold = fplDiag->font();
    bold.setBold(true);
    sbtNegrito->setFont(bold);
    sbtItalico =
        button(QStringLiteral("sbtItalico"), QStringLiteral("I"), QStringLiteral("Itálico"));
    QFont italic = fplDiag->font();
    italic.setItalic(true);
    sbtItalico->setFont(italic);
    sbtSublinhado =
        button(QStringLiteral("sbtSublinhado"), QStringLiteral("S"), QStringLiteral("Sublinhado"));
    QFont underline = fplDiag->font();
    underline.setUnderline(true);
    sbtSublinhado->setFont(underline);
    fplDiag->addSeparator();
    sbtMarcadores = button(QStringLiteral("sbtMarcadores"), QStringLiteral("• Marcadores"),
                           QStringLiteral("Lista com marcadores"));
    sbtNumeracao = button(QStringLiteral("sbtNumeracao"), QStringLiteral("1. Numeração"),
                          QStringLiteral("Lista numerada"));
    fplDiag->addSeparator();
    cbbTamanhoFonte = new QComboBox(fplDiag);
    cbbTamanhoFonte->setObjectName(QStringLiteral("cbbTamanhoFonte"));
    cbbTamanhoFonte->setToolTip(QStringLiteral("Tamanho da fonte"));
    for (int points : {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 28, 36})
        cbbTamanhoFonte->addItem(QString::number(points), points);
    fplDiag->addWidget(cbbTamanhoFonte);

    rceDiag = new DiagnosisEditor(page);
    rceDiag->setObjectName(QStringLiteral("rceDiag"));

    layout->addWidget(tbrDiag);
    layout->addWidget(fplDiag);
    layout->addWidget(rceDiag, 1);

    const auto run = [this](const std::function<void()>& action) {
        hostfw::RunAction(action);
        sync();
    };
    connect(sbtIncluir, &QAction::triggered, this, [this, run] {
        run([this] { m_core.diagnosisPage().sbtIncluirClick(); });
        rceDiag->setFocus();
    });
    connect(sbtExcluir, &QAction::triggered, this,
            [this, run] { run([this] { m_core.diagnosisPage().sbtExcluirClick(); }); });
    rceDiag->keyTyped = [this] {
        hostfw::RunAction([this] { m_core.diagnosisPage().rceDiagKeyPress(); });
    };
    rceDiag->deleteKey = [this] {
        hostfw::RunAction([this] { m_core.diagnosisPage().rceDiagDeleteKey(); });
    };
    connect(rceDiag, &QTextEdit::textChanged, this, &DiagnosisTab::editorChanged);
    connect(rceDiag, &QTextEdit::currentCharFormatChanged, this, &DiagnosisTab::showFormat);
    connect(rceDiag, &QTextEdit::cursorPositionChanged, this,
            [this] { showFormat(rceDiag->currentCharFormat()); });

    connect(sbtNegrito, &QAction::triggered, this, [this](bool on) {
        barClicked([this, on] {
            QTextCharFormat f;
            f.setFontWeight(on ? QFont::Bold : QFont::Normal);
            mergeFormat(f);
        });
    });
    connect(sbtItalico, &QAction::triggered, this, [this](bool on) {
        barClicked([this, on] {
            QTextCharFormat f;
            f.setFontItalic(on);
            mergeFormat(f);
        });
    });
    connect(sbtSublinhado, &QAction::triggered, this, [this](bool on) {
        barClicked([this, on] {
            QTextCharFormat f;
            f.setFontUnderline(on);
            mergeFormat(f);
        });
    });
    connect(sbtMarcadores, &QAction::triggered, this,
            [this] { barClicked([this] { toggleList(QTextListFormat::ListDisc); }); });
    connect(sbtNumeracao, &QAction::triggered, this,
            [this] { barClicked([this] { toggleList(QTextListFormat::ListDecimal); }); });
    connect(cbbTamanhoFonte, &QComboBox::activated, this, [this](int index) {
        const int points = cbbTamanhoFonte->itemData(index).toInt();
        barClicked([this, points] {
            QTextCharFormat f;
            f.setFontPointSize(points);
            mergeFormat(f);
        });
    });
}

void DiagnosisTab::barClicked(const std::function<void()>& format)
{
    hostfw::RunAction([this] { m_core.diagnosisPage().fplDiagClick(); });
    if (!rceDiag->isReadOnly())
        format();
    rceDiag->setFocus();
}

void DiagnosisTab::mergeFormat(const QTextCharFormat& format)
{
    QTextCursor cursor = rceDiag->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    rceDiag->mergeCurrentCharFormat(format);
}

void DiagnosisTab::toggleList(int style)
{
    QTextCursor cursor = rceDiag->textCursor();
    QTextList* list = cursor.currentList();
    if (list && list->format().style() == static_cast<QTextListFormat::Style>(style)) {
        // Out of the list: every block of the selection goes back to a paragraph.
        cursor.beginEditBlock();
        QTextBlock block = rceDiag->document()->findBlock(cursor.selectionStart());
        const QTextBlock last = rceDiag->document()->findBlock(cursor.selectionEnd());
        while (block.isValid()) {
            if (QTextList* l = block.textList())
                l->remove(block);
            QTextCursor c(block);
            QTextBlockFormat f = block.blockFormat();
            f.setIndent(0);
            c.setBlockFormat(f);
            if (block == last)
                break;
            block = block.next();
        }
        cursor.endEditBlock();
    } else {
        cursor.createList(static_cast<QTextListFormat::Style>(style));
    }
    showFormat(rceDiag->currentCharFormat());
}

void DiagnosisTab::showFormat(const QTextCharFormat& format)
{
    sbtNegrito->setChecked(format.fontWeight() >= QFont::DemiBold);
    sbtItalico->setChecked(format.fontItalic());
    sbtSublinhado->setChecked(format.fontUnderline());
    const QTextList* list = rceDiag->textCursor().currentList();
    const auto style = list ? list->format().style() : QTextListFormat::ListStyleUndefined;
    sbtMarcadores->setChecked(style == QTextListFormat::ListDisc);
    sbtNumeracao->setChecked(style == QTextListFormat::ListDecimal);
    const double points =
        format.fontPointSize() > 0 ? format.fontPointSize() : rceDiag->font().pointSizeF();
    const QSignalBlocker blocker(cbbTamanhoFonte);
    const int item = cbbTamanhoFonte->findData(static_cast<int>(points));
    cbbTamanhoFonte->setCurrentIndex(item);
    if (item < 0)
        cbbTamanhoFonte->setEditText(QString::number(points));
}

void DiagnosisTab::editorChanged()
{
    if (m_loading)
        return;
    hostfw::RunAction([this] { m_core.diagnosisPage().rceDiagChange(rceDiag->toHtml()); });
}

void DiagnosisTab::sync()
{
    const DiagnosisPage& page = m_core.diagnosisPage();
    if (page.rceDiagRevision() != m_revision) {
        m_loading = true;
        rceDiag->setHtml(page.rceDiag());
        m_loading = false;
        m_revision = page.rceDiagRevision();
        showFormat(rceDiag->currentCharFormat());
    }
    const bool onTab = m_core.pgcPadrao == OuterPage::tshDiagNutri;
    const bool enabled = page.editorEnabled();
    rceDiag->setReadOnly(!enabled);
    fplDiag->setEnabled(enabled);
    const DiagnosisPage::Buttons b = page.buttons();
    sbtIncluir->setEnabled(onTab && b.sbtIncluir);
    sbtExcluir->setEnabled(onTab && b.sbtExcluir);
}

}  // namespace workspace
