// The host's named user against the application server on loopback: the login dialog,
// the user on the status bar, a session renewed during a call, and the change history
// of the open consultation from the server's audit trail.
#include "host/change_history.h"
#include "host/host_startup.h"
#include "host/server_connection.h"
#include "host/user_session.h"
#include "host/widgets/change_history_dialog.h"
#include "host/widgets/login_dialog.h"
#include "host/widgets/main_window.h"

#include "hostfw/host_settings.h"
#include "records/layouts.h"

#include "test_server.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QTableView>

#include <gtest/gtest.h>

using namespace host;
using namespace Qt::StringLiterals;

namespace {

const QString kPassword = u"segredo-1"_s;

// A consultation of the demo woman.
const ConsultationChoice kChoice{
    {u"0001"_s, u"000000000002"_s, u"Maria Demonstração"_s, u"1"_s, QDate(1980, 5, 1), false},
    QDate(2026, 12, 6)};

class HostSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = hostfw::hostSettings();
        server.addUser(u"ana"_s, u"nutricionista"_s, kPassword);
        server.addUser(u"root"_s, u"admin"_s, kPassword);
        HostOptions options;
        options.server = {u"127.0.0.1"_s, server.port()};
        applyToHostSettings(options, QString());
    }
    // Every connection is gone before the server stops.
    void TearDown() override
    {
        server.stop();
        hostfw::hostSettings() = saved;
    }

    hostfw::HostSettings saved;
    servertest::ManualClock clock;
    servertest::TestServer server{servertest::Engine::Sqlite, clock.config()};
    UserSession session;
};

}  // namespace

TEST_F(HostSessionTest, TheLoginDialogLogsInRefusesOrGivesUp)
{
    // ok false: cancelled when the message is empty, else refused with it.
    const struct
    {
        const char *what, *login, *password;
        bool ok;
        const char* message;
    } rows[] = {
        {"wrong password", "ana", "errada", false, "Login ou senha inválidos."},
        {"no login", "", "segredo-1", false, "Informe o login."},
        {"cancelled", "ana", "segredo-1", false, ""},
        {"accepted", " ana ", "segredo-1", true, ""},
    };
    for (const auto& row : rows) {
        LoginDialog dialog(session, u"127.0.0.1:%1"_s.arg(server.port()), u"ana"_s);
        EXPECT_EQ(dialog.loginEdit()->text(), u"ana"_s) << "--user preset";
        EXPECT_EQ(dialog.passwordEdit()->echoMode(), QLineEdit::Password);
        dialog.loginEdit()->setText(QString::fromUtf8(row.login));
        dialog.passwordEdit()->setText(QString::fromUtf8(row.password));
        dialog.show();
        const bool cancel = !row.ok && !*row.message;
        if (cancel)
            dialog.reject();
        else
            dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, row.ok) << row.what;
        EXPECT_EQ(dialog.isVisible(), !row.ok && !cancel) << row.what << ": stays open if refused";
        EXPECT_EQ(dialog.messageText(), QString::fromUtf8(row.message)) << row.what;
        EXPECT_TRUE(cancel || dialog.passwordEdit()->text().isEmpty()) << row.what;
        EXPECT_EQ(session.user().has_value(), row.ok) << row.what;
    }
    EXPECT_EQ(server.scalar(u"SELECT COUNT(*) FROM sessao"_s).toInt(), 1) << "cancelled: not sent";
    EXPECT_EQ(hostfw::AccessToken().size(), 64);
    EXPECT_EQ(session.statusText(), u"Usuário: Usuário ana (CRN-3 3)"_s) << "on the status bar";
}

TEST_F(HostSessionTest, AnEndedSessionIsAskedForAgainAndTheCallRepeated)
{
    ASSERT_EQ(session.login(u"ana"_s, kPassword), QString());
    int asked = 0;
    session.askLogin = [&] {
        ++asked;
        return session.login(u"ana"_s, kPassword).isEmpty();
    };
    session.installRenewal();
    const auto first = connectToServer();
    const auto second = connectToServer();
    ASSERT_TRUE(first->call(u"GetPacientes"_s, {}).ok);

    clock.advance(std::chrono::hours(8));
    const records::Reply renewed = first->call(u"GetPacientes"_s, {});
    EXPECT_TRUE(renewed.ok) << qPrintable(renewed.error);
    // The other connection still holds the old token: it takes the new one unasked.
    EXPECT_TRUE(second->call(u"GetPacientes"_s, {}).ok);
    EXPECT_EQ(asked, 1);

    // Given up: the call fails as a refused session, asked once only.
    clock.advance(std::chrono::hours(8));
    session.askLogin = [&] { return ++asked < 0; };
    EXPECT_TRUE(first->call(u"GetPacientes"_s, {}).sessionRefused);
    EXPECT_EQ(asked, 2);
}

TEST(ChangeHistoryTest, DeltaSummaries)
{
    const std::pair<QString, const char*> rows[] = {
        {uR"({"fields":[{"name":"CDTBDADOAVAL","type":"string","size":2},)"
         uR"({"name":"VLINFOAVAL","type":"string","size":20}],"keys":["CDTBDADOAVAL"],)"
         uR"("changes":[{"op":"update","old":["01","70,5"],"new":["01","71"]},)"
         uR"({"op":"insert","new":["02","1,75"]},{"op":"insert","new":["03","30"]}]})"_s,
         "2 inclusões, 1 alteração (VLINFOAVAL)"},
        {u"{\"fields\":[{\"name\":\"A\",\"type\":\"string\",\"size\":1}],\"keys\":[\"A\"],"
         "\"changes\":[{\"op\":\"delete\",\"old\":[\"x\"]}]}"_s,
         "1 exclusão"},
        {u"[\"0001\", \"000000000002\"]"_s, "[\"0001\",\"000000000002\"]"},
        {QString(201, u'x'), nullptr},
    };
    for (const auto& [delta, expected] : rows) {
        const QString summary = summarizeDelta(delta);
        if (expected)
            EXPECT_EQ(summary, QString::fromUtf8(expected));
        else
            EXPECT_EQ(summary.size(), 120) << "long text is shortened";
    }
}

TEST_F(HostSessionTest, TheHistoryDialogListsTheOpenConsultationsChanges)
{
    // The value of the open consultation recorded by root, then changed by ana; and a value
    // of another consultation of the patient.
    const records::ConsultationKey open = servertest::demoKey(kChoice.patient.code);
    const records::ConsultationKey other{open.branch, open.patient,
                                         QDateTime(QDate(2026, 11, 1), QTime(0, 0), Qt::UTC)};
    const QDateTime before = QDateTime::currentDateTime().addMSecs(-999);
    const auto root = server.newClient(server.login(u"root"_s, kPassword).token);
    ASSERT_TRUE(servertest::recordValue(*root, open, u"00"_s, u"01"_s, u"70"_s).ok);
    const auto ana = server.newClient(server.login(u"ana"_s, kPassword).token);
    const servertest::DeltaBuilder change =
        servertest::DeltaBuilder(records::layouts::cdsInfoAval())
            .update(servertest::infoRow(open, u"00"_s, u"01"_s, u"70"_s),
                    servertest::infoRow(open, u"00"_s, u"01"_s, u"71"_s));
    ASSERT_TRUE(ana->SetInfoAval(change, QString()).ok);
    ASSERT_TRUE(servertest::recordValue(*ana, other, u"00"_s, u"01"_s, u"60"_s).ok);
    const QDateTime after = QDateTime::currentDateTime();

    ASSERT_EQ(session.login(u"ana"_s, kPassword), QString());
    const auto connection = connectToServer();
    MainWindow window(*connection, [](const ConsultationChoice&) {});
    EXPECT_FALSE(window.changeHistoryAction()->isEnabled()) << "no consultation open yet";
    ASSERT_TRUE(window.openChoice(kChoice));
    ASSERT_TRUE(window.changeHistoryAction()->isEnabled());

    auto* dialog = qobject_cast<ChangeHistoryDialog*>(window.showChangeHistory());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), u"Histórico de alterações"_s);
    EXPECT_EQ(dialog->table()->editTriggers(), QAbstractItemView::NoEditTriggers);
    QAbstractItemModelTester tester(dialog->model(),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    const QAbstractItemModel& m = *dialog->model();
    ASSERT_EQ(m.rowCount(), 2) << "the other consultation's change is left out";
    auto cell = [&](int r, int c) { return m.data(m.index(r, c)).toString(); };
    // Oldest first, in local time.
    const QStringList expected[] = {
        {u"Usuário root (root)"_s, u"SetInfoAval"_s, u"1 inclusão"_s},
        {u"Usuário ana (ana)"_s, u"SetInfoAval"_s, u"1 alteração (DSINFOAVAL)"_s}};
    for (int r = 0; r < 2; ++r) {
        const QDateTime when =
            QDateTime::fromString(cell(r, ChangeHistoryModel::When), u"dd/MM/yyyy HH:mm:ss"_s);
        EXPECT_TRUE(when >= before && when <= after) << qPrintable(cell(r, 0));
        EXPECT_EQ(
            (QStringList{cell(r, ChangeHistoryModel::User), cell(r, ChangeHistoryModel::Method),
                         cell(r, ChangeHistoryModel::Summary)}),
            expected[r]);
    }
    EXPECT_TRUE(m.data(m.index(1, ChangeHistoryModel::Summary), Qt::ToolTipRole)
                    .toString()
                    .contains(u"\"71\""_s))
        << "the change itself as a tip";
    EXPECT_TRUE(dialog->captionText().startsWith(u"Maria Demonstração (000000000002), consulta "
                                                 u"de 06/12/2026"_s));
}
