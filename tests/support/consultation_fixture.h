#pragma once

// A consultation opened on a real application server on loopback, with a few
// bibliographic references, for the tests of the form, its pages and its dialogs.

#include "loopback_server.h"

#include "hostfw/busy.h"
#include "hostfw/error_display.h"
#include "hostfw/errors.h"
#include "hostfw/pick_list.h"
#include "workspace/assessment_form.h"
#include "workspace/calculation_run.h"
#include "workspace/energy_page.h"
#include "workspace/method_page.h"
#include "workspace/result_page.h"

#include <gtest/gtest.h>

#include <QMap>

namespace workspacetest {

inline const QDate kConsultationDay(2026, 12, 6);

QDateTime day(const QDate& d);

// Sets the module context as CriaMedAntro does.
void openConsultation(const QString& patient, const QString& name, const QString& sexCode,
                      const QDate& birth, const QDate& consultation = kConsultationDay);

class ConsultationTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // The reference lists SetUp gives the methods "01", "28", "48" and "02"; a suite
    // that needs the server's own lists overrides it with nothing.
    virtual void addTestReferences();

    // Registers the patient ("Paciente" and the code's last two digits) and makes its
    // consultation the module context.
    void admit(const QString& patient, const QString& sexCode, const QDate& birth,
               bool deceased = false);
    // Registers the patient, creates the form core and activates it (a woman of 30
    // unless said otherwise).
    workspace::AssessmentForm& open(const QString& patient,
                                    const QString& sexCode = QStringLiteral("1"),
                                    const QDate& birth = QDate(1996, 3, 10), bool deceased = false);
    // A new form core for the consultation of the module context, as after a close,
    // activated unless said otherwise.
    workspace::AssessmentForm& reopen(bool activate = true);
    // The selection mark (IDTABELAAV) of a method row of the form, empty when not listed.
    QString selectionOf(const QString& code) const;
    // Shows the result page as its tab does.
    void enterResults();
    void enterMethods();

    // What the server holds: the recorded values of a data type by method (value and
    // observation), and a method row of the consultation (IDTABELAAV, CDTABELACO).
    struct Recorded
    {
        QString value;
        QString observation;
        bool operator==(const Recorded&) const = default;
    };
    QMap<QString, Recorded> recorded(const QString& dataType);
    QPair<QString, QString> storedMethod(const QString& code);
    // A field of the first reference of a method's list with this code (any code when
    // empty), as the server gives it.
    QString reference(const QString& owner, const QString& code, const QString& field);
    // Marks a method row of the consultation straight on the server, as another client
    // could have (an empty reference is stored as null).
    void storeMethod(const QString& code, const QString& selection, const QString& reference);
    // Stores a recorded value straight on the server, as another client could have.
    void storeRecorded(const QString& method, const QString& dataType, const QString& value,
                       const QString& observation = {});

    // Runs the action and expects it to be refused with exactly this message.
    template <typename F> void expectRefused(F&& action, const QString& message)
    {
        errors.clear();
        EXPECT_THROW(action(), hostfw::Abort);
        EXPECT_EQ(errors.last(), message);
    }

    // Runs the action answering its pick list with the row whose field holds text, and
    // gives the caption of the list it opened (empty unless exactly one opened).
    template <typename F> QString pickIn(F&& action, const QString& field, const QString& text)
    {
        hostfw::PickScript script({hostfw::PickAnswer::where(field, text)});
        action();
        return script.requests().size() == 1 ? script.requests()[0].caption : QString();
    }

    QString gridValue(const QString& dataType, const QString& field = QStringLiteral("DSINFOAVAL"),
                      bool display = false);

    LoopbackServer server;
    hostfw::BusyRecorder busy;
    hostfw::ErrorRecorder errors;
    std::unique_ptr<workspace::AssessmentForm> form;
};

}  // namespace workspacetest
