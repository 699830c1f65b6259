#pragma once

// The panel panAltPeso of the energy results page: weight, height, the ideal-weight
// method and the adequate weight. What is typed goes straight into the energy page's
// core; when the focus leaves the panel the four values are stored as recorded values
// of the consultation (panAltPesoExit). The panel repaints from the core.

#include <QFrame>
#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;

namespace workspace {

class AssessmentForm;

class EnergyPanel : public QFrame
{
    Q_OBJECT

public:
    EnergyPanel(AssessmentForm& core, QWidget* parent);

    QLineEdit* medPeso = nullptr;
    QLineEdit* medAltura = nullptr;
    QComboBox* cbbPesoIdeal = nullptr;
    QLineEdit* medPesoAdeq = nullptr;

    // The texts, the ideal-weight items and choice, and the enabled state from the core.
    void sync();
    // The focus leaves the panel for somewhere the focus change does not reach (a page
    // change): the values are stored now. False when the core refused them (its
    // message shown).
    bool leave();

private:
    bool holds(const QWidget* widget) const;
    void onFocusChanged(QWidget* old, QWidget* now);
    QLineEdit* numberEdit(const QString& name);

    AssessmentForm& m_core;
    QList<QWidget*> m_controls;
    QList<QLabel*> m_labels;
    // The focus is in one of the four controls and the panel has not been left since.
    bool m_inside = false;
};

}  // namespace workspace
