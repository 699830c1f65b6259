#pragma once

#include <QDate>
#include <QWidget>

class QLineEdit;
class QToolButton;
class QCalendarWidget;

namespace hostfw {

// The host's date edit: a "dd/mm/aaaa" box that may be left empty, with a button that
// opens a calendar.
class TDateEditPlus : public QWidget
{
    Q_OBJECT
public:
    explicit TDateEditPlus(QWidget* parent = nullptr);

    // The date typed or picked; an invalid date when the box is empty or its text is
    // not a date.
    QDate GetDate() const;
    // Shows the date; an invalid date empties the box.
    void SetDate(const QDate& date);

    bool isEmpty() const;
    // The text as shown, without the mask's blanks ("" when nothing was typed).
    QString text() const;

    // Validates the text as a date: an empty box or a real date pass; anything else shows
    // "'<text>' não é uma data válida." (MensErro with stop), with the focus back in the
    // box.
    void CheckValidDate();

    QLineEdit* lineEdit() const { return m_edit; }
    QToolButton* calendarButton() const { return m_button; }
    // The calendar of the popup (created on first use).
    QCalendarWidget* calendar();

signals:
    // A date chosen in the calendar (not by typing).
    void datePicked(const QDate& date);
    // The user typed in the box.
    void textEdited(const QString& text);
    // The box lost the focus or Enter was pressed.
    void editingFinished();

private:
    void openCalendar();

    QLineEdit* m_edit;
    QToolButton* m_button;
    QWidget* m_popup = nullptr;
    QCalendarWidget* m_calendar = nullptr;
};

}  // namespace hostfw
