#include "hostfw/widgets/date_edit_plus.h"

#include "hostfw/clock.h"
#include "hostfw/error_display.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace hostfw {

namespace {

const QString DateFormat = QStringLiteral("dd/MM/yyyy");

}  // namespace

TDateEditPlus::TDateEditPlus(QWidget* parent)
    : QWidget(parent),
      m_edit(new QLineEdit(this)),
      m_button(new QToolButton(this))
{
    m_edit->setObjectName(QStringLiteral("edtDate"));
    m_edit->setInputMask(QStringLiteral("99/99/9999;_"));
    m_button->setObjectName(QStringLiteral("btnCalendar"));
    m_button->setText(QStringLiteral("..."));
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setToolTip(QStringLiteral("Calendário"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    setFocusProxy(m_edit);

    connect(m_edit, &QLineEdit::textEdited, this, &TDateEditPlus::textEdited);
    connect(m_edit, &QLineEdit::editingFinished, this, &TDateEditPlus::editingFinished);
    connect(m_button, &QToolButton::clicked, this, &TDateEditPlus::openCalendar);
}

QString TDateEditPlus::text() const
{
    const QString shown = m_edit->text();  // separators kept, blanks dropped
    for (QChar c : shown) {
        if (c.isDigit())
            return shown.trimmed();
    }
    return {};
}

bool TDateEditPlus::isEmpty() const
{
    return text().isEmpty();
}

QDate TDateEditPlus::GetDate() const
{
    return QDate::fromString(text(), DateFormat);
}

void TDateEditPlus::SetDate(const QDate& date)
{
    if (date.isValid())
        m_edit->setText(date.toString(DateFormat));
    else
        m_edit->clear();
}

void TDateEditPlus::CheckValidDate()
{
    if (isEmpty() || GetDate().isValid())
        return;
    m_edit->setFocus();
    MensErro(QStringLiteral("'%1' não é uma data válida.").arg(m_edit->displayText()), true);
}

QCalendarWidget* TDateEditPlus::calendar()
{
    if (!m_calendar) {
        m_popup = new QWidget(this, Qt::Popup);
        m_popup->setObjectName(QStringLiteral("calendarPopup"));
        auto* layout = new QVBoxLayout(m_popup);
        layout->setContentsMargins(0, 0, 0, 0);
        m_calendar = new QCalendarWidget(m_popup);
        layout->addWidget(m_calendar);
        connect(m_calendar, &QCalendarWidget::clicked, this, [this](QDate date) {
            m_popup->hide();
            SetDate(date);
            emit datePicked(date);
        });
    }
    return m_calendar;
}

void TDateEditPlus::openCalendar()
{
    QCalendarWidget* cal = calendar();
    const QDate shown = GetDate();
    cal->setSelectedDate(shown.isValid() ? shown : Today());
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    cal->setFocus();
}

}  // namespace hostfw
