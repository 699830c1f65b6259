#include "hostfw/action.h"
#include "hostfw/error_display.h"
#include "hostfw/errors.h"
#include "hostfw/reply_check.h"
#include "hostfw/widgets/child_enabled.h"
#include "hostfw/widgets/date_edit_plus.h"
#include "hostfw/widgets/number_edit.h"
#include "hostfw/widgets/show_avi.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace hostfw;
using namespace Qt::StringLiterals;

TEST(TNumberEdit, KeyFilterTakesDigitsOneDecimalCommaAndTheAllowedDecimals)
{
    // clang-format off
    const struct { int decimals; bool negative; QString typed; QString text; double number; } rows[] = {
        {-1, false, u"7a0.5x,3"_s, u"70,53"_s, 70.53},  // letters refused, the point becomes a comma
        {-1, false, u"-1,5"_s, u"1,5"_s, 1.5},          // no minus unless negatives are allowed
        {-1, true, u"-1,5"_s, u"-1,5"_s, -1.5},
        {2, false, u"1,2345"_s, u"1,23"_s, 1.23},
        {0, false, u"12,5"_s, u"125"_s, 125},
        {-1, false, u","_s, u","_s, 0},                 // nothing but the comma reads as zero
    };
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed.toStdString());
        TNumberEdit edit;
        edit.setDecimals(r.decimals);
        edit.setAllowNegative(r.negative);
        QTest::keyClicks(&edit, r.typed);
        EXPECT_EQ(edit.text(), r.text);
        EXPECT_DOUBLE_EQ(edit.GetNumber(), r.number);
    }
}

TEST(TNumberEdit, PasteEmptyAndSetNumber)
{
    TNumberEdit edit;
    EXPECT_FALSE(edit.number().has_value());
    QApplication::clipboard()->setText(u"12abc"_s);
    edit.paste();
    EXPECT_EQ(edit.text(), QString());  // a pasted non-number is refused whole
    QApplication::clipboard()->setText(u"72.35"_s);
    edit.paste();
    EXPECT_EQ(edit.text(), u"72,35"_s);

    edit.setDecimals(2);
    edit.SetNumber(2.675);
    EXPECT_EQ(edit.text(), u"2,68"_s);
    edit.setDecimals(-1);
    edit.SetNumber(70.5);
    EXPECT_DOUBLE_EQ(edit.GetNumber(), 70.5);
}

TEST(TDateEditPlus, TypedPickedAndEmptyDates)
{
    TDateEditPlus edit;
    EXPECT_TRUE(edit.isEmpty());
    EXPECT_FALSE(edit.GetDate().isValid());

    edit.SetDate(QDate(2024, 2, 29));
    EXPECT_EQ(edit.lineEdit()->text(), u"29/02/2024"_s);
    EXPECT_EQ(edit.GetDate(), QDate(2024, 2, 29));
    edit.SetDate(QDate());
    EXPECT_TRUE(edit.isEmpty());

    edit.lineEdit()->setFocus();
    edit.lineEdit()->setCursorPosition(0);
    QTest::keyClicks(edit.lineEdit(), u"05x032023"_s);
    EXPECT_EQ(edit.GetDate(), QDate(2023, 3, 5));

    QDate picked;
    QObject::connect(&edit, &TDateEditPlus::datePicked, [&](QDate d) { picked = d; });
    QTest::mouseClick(edit.calendarButton(), Qt::LeftButton);
    QCalendarWidget* calendar = edit.calendar();
    EXPECT_EQ(calendar->selectedDate(), QDate(2023, 3, 5));
    emit calendar->clicked(QDate(2023, 4, 1));
    EXPECT_EQ(picked, QDate(2023, 4, 1));
    EXPECT_EQ(edit.GetDate(), QDate(2023, 4, 1));
}

TEST(TDateEditPlus, CheckValidDateRefusesWhatIsNotADate)
{
    ErrorRecorder errors;
    TDateEditPlus edit;
    EXPECT_NO_THROW(edit.CheckValidDate());  // empty passes: the form says what it needs
    edit.SetDate(QDate(2024, 1, 31));
    EXPECT_NO_THROW(edit.CheckValidDate());

    edit.lineEdit()->setText(u"31/02/2023"_s);
    EXPECT_FALSE(edit.GetDate().isValid());
    EXPECT_THROW(edit.CheckValidDate(), Abort);
    EXPECT_TRUE(errors.last().contains(u"'31/02/2023'"_s));
    edit.lineEdit()->setText(u"12/0"_s);
    EXPECT_THROW(edit.CheckValidDate(), Abort);
}

TEST(ShowAvi, ShownAndHiddenOnBothPaths)
{
    ErrorRecorder errors;
    QWidget form;
    form.resize(400, 300);
    form.show();
    EXPECT_FALSE(IsShowAviVisible(&form));
    {
        ShowAviGuard busy(&form, AviKind::Processing);
        EXPECT_TRUE(IsShowAviVisible(&form));
        ActiveShowAvi(&form, AviKind::Saving, u"Atualizando informações no servidor..."_s);
        EXPECT_EQ(ShowAviText(&form), u"Atualizando informações no servidor..."_s);
        DeactiveShowAvi(&form);
        EXPECT_TRUE(IsShowAviVisible(&form));  // the outer show still holds it
    }
    EXPECT_FALSE(IsShowAviVisible(&form));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    bool seenUp = false;
    EXPECT_FALSE(RunAction([&] {
        ShowAviGuard busy(&form, AviKind::Searching);
        seenUp = IsShowAviVisible(&form);
        CheckResultServ(records::Reply::failure(u"falha no servidor"_s));
    }));
    EXPECT_TRUE(seenUp);
    EXPECT_FALSE(IsShowAviVisible(&form));
    EXPECT_EQ(errors.last(), u"falha no servidor"_s);

    // A core's busy seam shows over its form.
    FormBusyIndicator indicator(&form);
    {
        BusyGuard guard(&indicator, AviKind::Processing);
        EXPECT_TRUE(IsShowAviVisible(&form));
    }
    EXPECT_FALSE(IsShowAviVisible(&form));

    DeactiveShowAvi(&form);  // an unmatched hide does no harm
    ActiveShowAvi(nullptr, AviKind::Processing);
    EXPECT_FALSE(IsShowAviVisible(nullptr));
}

TEST(ShowAvi, FormClosedWhileBusyReleasesTheCursor)
{
    auto* form = new QWidget;
    ShowAviGuard busy(form, AviKind::Processing);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    delete form;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(SetChildEnabled, TogglesEveryControlInside)
{
    QWidget panel;
    auto* layout = new QVBoxLayout(&panel);
    auto* group = new QGroupBox(&panel);
    auto* inner = new QLineEdit(group);
    auto* button = new QPushButton(&panel);
    layout->addWidget(group);
    layout->addWidget(button);

    SetChildEnabled(&panel, false);
    EXPECT_TRUE(panel.isEnabled());
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(inner->isEnabled());
    SetChildEnabled(&panel, true);
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(inner->isEnabled());
}
