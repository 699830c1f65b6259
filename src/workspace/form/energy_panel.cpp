#include "energy_panel.h"

#include "hostfw/action.h"
#include "workspace/assessment_form.h"
#include "workspace/energy_page.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTimer>
#include <QValidator>

namespace workspace {
namespace {

// A number of up to three digits and two decimals with the decimal comma; a typed point
// becomes the comma.
class TwoDecimals : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        static const QRegularExpression number(QStringLiteral("^\\d{0,3}(,\\d{0,2})?$"));
        input.replace(u'.', u',');
        return number.match(input).hasMatch() ? Acceptable : Invalid;
    }
};

void setTextIfChanged(QLineEdit* edit, const QString& text)
{
    if (edit->text() != text)
        edit->setText(text);
}

}  // namespace

EnergyPanel::EnergyPanel(AssessmentForm& core, QWidget* parent) : QFrame(parent), m_core(core)
{
    setObjectName(QStringLiteral("panAltPeso"));
    setFrameShape(QFrame::StyledPanel);
    medPeso = numberEdit(QStringLiteral("medPeso"));
    medAltura = numberEdit(QStringLiteral("medAltura"));
    medPesoAdeq = numberEdit(QStringLiteral("medPesoAdeq"));
    cbbPesoIdeal = new QComboBox(this);
    cbbPesoIdeal->setObjectName(QStringLiteral("cbbPesoIdeal"));
    cbbPesoIdeal->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbbPesoIdeal->setMinimumContentsLength(24);
    cbbPesoIdeal->setToolTip(QStringLiteral("Peso Ideal"));

    EnergyPage& page = core.energyPage();
    connect(medPeso, &QLineEdit::textEdited, this, [&page](const QString& t) { page.medPeso = t; });
    connect(medAltura, &QLineEdit::textEdited, this,
            [&page](const QString& t) { page.medAltura = t; });
    connect(medPesoAdeq, &QLineEdit::textEdited, this,
            [&page](const QString& t) { page.medPesoAdeq = t; });
    connect(cbbPesoIdeal, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_core.cbbPesoIdealIndex = index; });

    auto* layout = new QHBoxLayout(this);
    const auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        m_labels << l;
        return l;
    };
    const auto group = [&](const QString& name, QLineEdit* edit, const QString& unit) {
        layout->addWidget(label(name, edit));
        layout->addWidget(edit);
        layout->addWidget(label(unit, edit));
        layout->addSpacing(12);
    };
    group(QStringLiteral("Peso"), medPeso, QStringLiteral("(Kg)"));
    group(QStringLiteral("Altura"), medAltura, QStringLiteral("(m)"));
    layout->addWidget(cbbPesoIdeal);
    layout->addSpacing(12);
    group(QStringLiteral("Peso Adequado"), medPesoAdeq, QStringLiteral("(Kg)"));
    layout->addStretch(1);
    m_controls = {medPeso, medAltura, cbbPesoIdeal, medPesoAdeq};

    connect(qApp, &QApplication::focusChanged, this, &EnergyPanel::onFocusChanged);
}

QLineEdit* EnergyPanel::numberEdit(const QString& name)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setValidator(new TwoDecimals(edit));
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000,00")) + 16);
    return edit;
}

void EnergyPanel::sync()
{
    const EnergyPage& page = m_core.energyPage();
    setTextIfChanged(medPeso, page.medPeso);
    setTextIfChanged(medAltura, page.medAltura);
    setTextIfChanged(medPesoAdeq, page.medPesoAdeq);
    {
        const QSignalBlocker blocker(cbbPesoIdeal);
        QStringList items;
        for (int i = 0; i < cbbPesoIdeal->count(); ++i)
            items << cbbPesoIdeal->itemText(i);
        if (items != m_core.cbbPesoIdeal) {
            cbbPesoIdeal->clear();
            cbbPesoIdeal->addItems(m_core.cbbPesoIdeal);
        }
        cbbPesoIdeal->setCurrentIndex(
            m_core.cbbPesoIdealIndex < cbbPesoIdeal->count() ? m_core.cbbPesoIdealIndex : -1);
    }
    const bool enabled = m_core.actions().energyEdits;
    for (QWidget* w : m_controls)
        w->setEnabled(enabled);
    for (QLabel* l : m_labels)
        l->setEnabled(enabled);
}

bool EnergyPanel::holds(const QWidget* widget) const
{
    // Up the parents, across windows: the list of the combo box is a popup of its own.
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (m_controls.contains(w))
            return true;
    }
    return false;
}

bool EnergyPanel::leave()
{
    if (!m_inside)
        return true;
    m_inside = false;
    if (hostfw::RunAction([this] { m_core.energyPage().panAltPesoExit(); })) {
        sync();  // the numbers as kept, with two decimals
        return true;
    }
    m_inside = true;  // refused: the focus stays (or goes back) in the panel
    return false;
}

void EnergyPanel::onFocusChanged(QWidget* old, QWidget* now)
{
    if (holds(now)) {
        m_inside = true;
        return;
    }
    // The window losing the focus (now is null) does not leave the panel.
    if (!now || leave())
        return;
    // Refused: the user corrects the value where it was typed.
    QWidget* back = holds(old) ? old : medPeso;
    QTimer::singleShot(0, back, [back] { back->setFocus(); });
}

}  // namespace workspace
