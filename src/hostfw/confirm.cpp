#include "hostfw/confirm.h"

namespace hostfw {

namespace {

Confirmer& currentConfirmer()
{
    static Confirmer confirmer;
    return confirmer;
}

QList<bool>& nextAnswers()
{
    static QList<bool> answers;
    return answers;
}

}  // namespace

Confirmer setConfirmer(Confirmer confirmer)
{
    Confirmer previous = std::move(currentConfirmer());
    currentConfirmer() = std::move(confirmer);
    return previous;
}

bool Confirm(const QString& question)
{
    if (!nextAnswers().isEmpty())
        return nextAnswers().takeFirst();
    const Confirmer& confirmer = currentConfirmer();
    return confirmer ? confirmer(question) : false;
}

void setNextAnswer(bool yes)
{
    nextAnswers().append(yes);
}

ConfirmRecorder::ConfirmRecorder(QList<bool> answers) : m_answers(std::move(answers))
{
    m_previous = setConfirmer([this](const QString& question) {
        m_questions.append(question);
        return m_answers.isEmpty() ? false : m_answers.takeFirst();
    });
}

ConfirmRecorder::~ConfirmRecorder()
{
    setConfirmer(std::move(m_previous));
}

}  // namespace hostfw
