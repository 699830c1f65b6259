// The host's named user: the login dialog against a server speaking the login contract,
// the user on the status bar, a session renewed during a call, and the change history
// of the open consultation.
#include "host/change_history.h"
#include "host/host_startup.h"
#include "host/server_connection.h"
#include "host/user_session.h"
#include "host/widgets/change_history_dialog.h"
#include "host/widgets/login_dialog.h"
#include "host/widgets/main_window.h"

#include "hostfw/host_settings.h"
#include "records/packet_codec.h"

#include "login_stub_server.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QTableView>

#include <gtest/gtest.h>

using namespace host;
using namespace Qt::StringLiterals;

namespace {

// A consultation of the demo woman, and audit rows of it and of another date.
const ConsultationChoice kChoice{
    {u"0001"_s, u"000000000002"_s, u"Maria Demonstração"_s, u"1"_s, QDate(1980, 5, 1), false},
    QDate(2026, 12, 6)};

QString updateDelta()
{
    return QString::fromUtf8(
        R"({"fields":[{"name":"CDTBDADOAVAL","type":"string","size":2},)"
        R"({"name":"VLINFOAVAL","type":"string","size":20}],"keys":["CDTBDADOAVAL"],)"
        R"("changes":[{"op":"update","old":["01","70,5"],"new":["01","71"]},)"
        R"({"op":"insert","new":["02","1,75"]},{"op":"insert","new":["03","30"]}]})");
}

QJsonObject historyPacket()
{
    auto row = [](const char* when, const char* login, const char* name, const char* method,
                  const char* consultation, const QString& delta) {
        return QJsonArray{QString::fromUtf8(when),
                          QString::fromUtf8(login),
                          QString::fromUtf8(name),
                          QString::fromUtf8(method),
                          u"0001"_s,
                          u"000000000002"_s,
                          QString::fromUtf8(consultation),
                          delta};
    };
    QJsonArray fields;
    for (const char* name : {"DTHRALTERACAO", "LOGIN", "NOME", "METODO", "CDFILIAL", "CDPACIENTE",
                             "DTCONSULTA", "DELTA"})
        fields.append(QJsonObject{
            {u"name"_s, QString::fromUtf8(name)},
            {u"type"_s, QString::fromUtf8(name).startsWith(u"DT") ? u"datetime"_s : u"string"_s},
            {u"size"_s, 0}});
    return {{u"fields"_s, fields},
            {u"rows"_s, QJsonArray{row("2026-12-06T14:05:00Z", "ana", "Ana Souza", "SetInfoAval",
                                       "2026-12-06T00:00:00", updateDelta()),
                                   row("2026-12-06T13:00:00Z", "bia", "Beatriz Lima", "SetPaciente",
                                       "2026-12-06T00:00:00", u"[\"0001\",\"000000000002\"]"_s),
                                   row("2026-11-01T09:00:00Z", "ana", "Ana Souza", "SetInfoAval",
                                       "2026-11-01T00:00:00", updateDelta())}}};
}

class HostSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        saved = hostfw::hostSettings();
        stub.addUser(u"ana"_s, {u"segredo-1"_s, u"Ana Souza"_s, u"CRN-3 12345"_s});
        stub.rpc = [](const QString& method, const QJsonArray& args, const QString&) {
            if (method == u"GetHistAlteracoes")
                return args.at(0) == u"0001"_s && args.at(1) == u"000000000002"_s
                           ? records::Reply::success(historyPacket())
                           : records::Reply::failure(u"Consulta inexistente."_s);
            return records::Reply::success(QJsonValue(method));
        };
        HostOptions options;
        options.server = {u"127.0.0.1"_s, stub.port()};
        applyToHostSettings(options, QString());
    }
    void TearDown() override { hostfw::hostSettings() = saved; }

    hostfw::HostSettings saved;
    clienttest::LoginStubServer stub;
    UserSession session;
};

}  // namespace

TEST_F(HostSessionTest, TheLoginDialogLogsInRefusesOrGivesUp)
{
    struct Row
    {
        const char* what;
        const char* login;
        const char* password;
        bool ok;  // false: cancelled when the message is empty, else refused with it
        const char* message;
    };
    const Row rows[] = {
        {"wrong password", "ana", "errada", false, "Login ou senha inválidos."},
        {"no login", "", "segredo-1", false, "Informe o login."},
        {"cancelled", "ana", "segredo-1", false, ""},
        {"accepted", " ana ", "segredo-1", true, ""},
    };
    for (const Row& row : rows) {
        LoginDialog dialog(session, u"127.0.0.1:%1"_s.arg(stub.port()), u"ana"_s);
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
    EXPECT_EQ(stub.requests(u"/login"_s), 2) << "no request for the empty login nor the cancel";
    EXPECT_EQ(hostfw::AccessToken().size(), 64);

    MainWindow window(*connectToServer(), [](const ConsultationChoice&) {});
    window.setUserDescription(session.statusText());
    EXPECT_EQ(window.userDescription(), u"Usuário: Ana Souza (CRN-3 12345)"_s);
}

TEST_F(HostSessionTest, AnEndedSessionIsAskedForAgainAndTheCallRepeated)
{
    ASSERT_EQ(session.login(u"ana"_s, u"segredo-1"_s), QString());
    int asked = 0;
    bool giveUp = false;
    session.askLogin = [&] {
        ++asked;
        return !giveUp && session.login(u"ana"_s, u"segredo-1"_s).isEmpty();
    };
    session.installRenewal();
    const auto first = connectToServer();
    const auto second = connectToServer();
    ASSERT_TRUE(first->call(u"GetPacientes"_s, {}).ok);

    stub.expireSessions();
    const records::Reply renewed = first->call(u"GetPacientes"_s, {});
    EXPECT_TRUE(renewed.ok) << qPrintable(renewed.error);
    EXPECT_EQ(renewed.payload, QJsonValue(u"GetPacientes"_s));
    // The other connection still holds the old token: it takes the new one unasked.
    EXPECT_TRUE(second->call(u"GetPacientes"_s, {}).ok);
    EXPECT_EQ(asked, 1);

    stub.expireSessions();
    giveUp = true;
    const records::Reply refused = first->call(u"GetPacientes"_s, {});
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.sessionRefused);
    EXPECT_EQ(asked, 2);
}

TEST(ChangeHistoryTest, DeltaSummaries)
{
    const struct
    {
        QString delta;
        const char* summary;
    } rows[] = {
        {updateDelta(), "2 inclusões, 1 alteração (VLINFOAVAL)"},
        {u"{\"fields\":[{\"name\":\"A\",\"type\":\"string\",\"size\":1}],\"keys\":[\"A\"],"
         "\"changes\":[{\"op\":\"delete\",\"old\":[\"x\"]}]}"_s,
         "1 exclusão"},
        {u"[\"0001\", \"000000000002\"]"_s, "[\"0001\",\"000000000002\"]"},
        {QString(201, u'x'), nullptr},
    };
    for (const auto& row : rows) {
        const QString summary = summarizeDelta(row.delta);
        if (row.summary)
            EXPECT_EQ(summary, QString::fromUtf8(row.summary));
        else
            EXPECT_EQ(summary.size(), 120) << "long text is shortened";
    }
}

TEST_F(HostSessionTest, TheHistoryDialogListsTheOpenConsultationsChanges)
{
    ASSERT_EQ(session.login(u"ana"_s, u"segredo-1"_s), QString());
    const auto server = connectToServer();
    MainWindow window(*server, [](const ConsultationChoice&) {});
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
    EXPECT_EQ(cell(0, ChangeHistoryModel::When),
              QDateTime(QDate(2026, 12, 6), QTime(13, 0), Qt::UTC)
                  .toLocalTime()
                  .toString(u"dd/MM/yyyy HH:mm:ss"_s));
    EXPECT_EQ(cell(0, ChangeHistoryModel::User), u"Beatriz Lima (bia)"_s);
    EXPECT_EQ(cell(0, ChangeHistoryModel::Method), u"SetPaciente"_s);
    EXPECT_EQ(cell(1, ChangeHistoryModel::Summary), u"2 inclusões, 1 alteração (VLINFOAVAL)"_s);
    EXPECT_EQ(m.data(m.index(1, ChangeHistoryModel::Summary), Qt::ToolTipRole).toString(),
              updateDelta());
    EXPECT_TRUE(dialog->captionText().startsWith(u"Maria Demonstração (000000000002), consulta "
                                                 u"de 06/12/2026"_s));
}
