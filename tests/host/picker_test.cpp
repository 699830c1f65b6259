#include "fake_app_server.h"

#include "host/widgets/patient_picker_dialog.h"

#include "hostfw/clock.h"

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

using namespace host;
using namespace Qt::StringLiterals;

namespace {

class PickerTest : public ::testing::Test
{
protected:
    PickerTest()
    {
        server.addPatient(u"0001"_s, u"000010"_s, u"Carlos Pereira"_s, u"0"_s, QDate(1970, 1, 15));
        server.addPatient(u"0001"_s, u"000011"_s, u"Ana Souza"_s, u"1"_s, QDate(2019, 6, 1));
        server.addPatient(u"0002"_s, u"000010"_s, u"Beatriz Lima"_s, u"1"_s, QDate(1990, 8, 20),
                          true);
    }

    static QPushButton* okButton(PatientPickerDialog& d)
    {
        return d.findChild<QDialogButtonBox*>(u"buttonBox"_s)->button(QDialogButtonBox::Ok);
    }
    static QTableView* table(PatientPickerDialog& d)
    {
        return d.findChild<QTableView*>(u"patientTable"_s);
    }

    hostfw::FixedClock clock{QDate(2024, 3, 31)};
    fakes::FakeAppServer server;
};

}  // namespace

TEST_F(PickerTest, ListsTheRegistryAndReturnsTheChosenPatientAtToday)
{
    PatientPickerDialog picker(server);
    EXPECT_EQ(table(picker)->model()->rowCount(), 3);
    // Sorted by name for the eye.
    EXPECT_EQ(table(picker)->model()->index(0, 1).data().toString(), u"Ana Souza"_s);
    EXPECT_EQ(picker.findChild<QDateEdit*>(u"consultationDateEdit"_s)->date(), QDate(2024, 3, 31));
    EXPECT_TRUE(picker.messageText().isEmpty());
    EXPECT_FALSE(okButton(picker)->isEnabled());  // nothing chosen yet

    ASSERT_TRUE(picker.selectPatient(u"000010"_s, u"0002"_s));
    EXPECT_TRUE(okButton(picker)->isEnabled());
    okButton(picker)->click();

    EXPECT_EQ(picker.result(), QDialog::Accepted);
    ASSERT_TRUE(picker.choice());
    EXPECT_EQ(picker.choice()->patient.name, u"Beatriz Lima"_s);  // the code of two branches
    EXPECT_EQ(picker.choice()->date, QDate(2024, 3, 31));
}

TEST_F(PickerTest, TheFilterAndAnotherDateAndAChoiceThatCannotBeOpened)
{
    PatientPickerDialog picker(server);
    picker.accept();  // nothing chosen: refused, the dialog stays open and says why
    EXPECT_EQ(picker.result(), QDialog::Rejected);
    EXPECT_FALSE(picker.choice());
    EXPECT_FALSE(picker.messageText().isEmpty());  // the texts are checkChoice's

    auto* filter = picker.findChild<QLineEdit*>(u"patientFilterEdit"_s);
    filter->setText(u"souza"_s);
    EXPECT_EQ(table(picker)->model()->rowCount(), 1);
    filter->setText(u"000010"_s);
    EXPECT_EQ(table(picker)->model()->rowCount(), 2);

    // Selecting by code clears the filter so the row can be shown, and the old message.
    ASSERT_TRUE(picker.selectPatient(u"000011"_s));
    EXPECT_TRUE(filter->text().isEmpty());
    EXPECT_TRUE(picker.messageText().isEmpty());
    EXPECT_FALSE(picker.selectPatient(u"999999"_s));
    EXPECT_EQ(picker.selectedPatient()->code, u"000011"_s);  // unchanged by the miss

    picker.setConsultationDate(QDate(2019, 5, 31));  // the day before birth
    picker.accept();
    EXPECT_FALSE(picker.choice());
    EXPECT_TRUE(picker.findChild<QLabel*>(u"messageLabel"_s)->isVisibleTo(&picker));

    picker.setConsultationDate(QDate(2023, 12, 1));
    picker.accept();
    ASSERT_TRUE(picker.choice());
    EXPECT_EQ(picker.choice()->patient.code, u"000011"_s);
    EXPECT_EQ(picker.choice()->date, QDate(2023, 12, 1));
}

TEST_F(PickerTest, ServerDownSaysSoAndTheDialogStaysUsable)
{
    server.failure = u"Falha de conexão com 127.0.0.1:8512"_s;
    PatientPickerDialog picker(server);
    EXPECT_EQ(picker.patientCount(), 0);
    EXPECT_EQ(picker.messageText(), u"Não foi possível obter a lista de pacientes do servidor: "
                                    u"Falha de conexão com 127.0.0.1:8512"_s);
    EXPECT_FALSE(okButton(picker)->isEnabled());
    auto* refresh = picker.findChild<QPushButton*>(u"refreshButton"_s);
    ASSERT_TRUE(refresh);
    EXPECT_TRUE(refresh->isEnabled());
    picker.accept();
    EXPECT_FALSE(picker.choice());

    // The server comes back: the list is asked for again from the dialog.
    server.failure.reset();
    refresh->click();
    EXPECT_EQ(picker.patientCount(), 3);
    EXPECT_TRUE(picker.messageText().isEmpty());
    ASSERT_TRUE(picker.selectPatient(u"000010"_s, u"0001"_s));
    picker.accept();
    ASSERT_TRUE(picker.choice());
    EXPECT_EQ(picker.choice()->patient.name, u"Carlos Pereira"_s);

    // It goes away again: the old list is not kept for picking.
    server.failure = u"Tempo esgotado"_s;
    EXPECT_FALSE(picker.refresh());
    EXPECT_EQ(picker.patientCount(), 0);
    EXPECT_FALSE(picker.selectedPatient());
    EXPECT_FALSE(okButton(picker)->isEnabled());
}

// An unreadable registry is registry_test's case; the dialog shows it as it does a failure.
TEST_F(PickerTest, AnEmptyRegistryIsAMessage)
{
    fakes::FakeAppServer empty;
    PatientPickerDialog none(empty);
    EXPECT_EQ(none.messageText(), u"O cadastro não tem pacientes."_s);
}
