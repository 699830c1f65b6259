#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace hostfw {

// Asks the user a yes/no question. The widget layer installs a message box with "Sim"
// and "Não"; without one (command line, tests) the answer is no, so nothing is done
// on the user's behalf unasked.
using Confirmer = std::function<bool(const QString& question)>;

Confirmer setConfirmer(Confirmer confirmer);

// True when the user answered yes.
bool Confirm(const QString& question);

// Test seam: the next question is answered with this without showing anything
// (one answer per call; answers queue up in order).
void setNextAnswer(bool yes);

// Test seam: answers questions from a list, in order (no once the list is used up), and
// records them, for as long as it lives.
class ConfirmRecorder
{
public:
    explicit ConfirmRecorder(QList<bool> answers = {});
    ~ConfirmRecorder();
    ConfirmRecorder(const ConfirmRecorder&) = delete;
    ConfirmRecorder& operator=(const ConfirmRecorder&) = delete;

    void addAnswer(bool yes) { m_answers.append(yes); }
    const QStringList& questions() const { return m_questions; }

private:
    QList<bool> m_answers;
    QStringList m_questions;
    Confirmer m_previous;
};

}  // namespace hostfw
