// The host against a real application server on loopback, with its SQLite file in a
// temporary directory: the token file the server writes, the registry over HTTP, and
// the picker's messages when the token is wrong or the server is gone.
#include "host/access_token.h"
#include "host/host_startup.h"
#include "host/server_connection.h"
#include "host/widgets/patient_picker_dialog.h"

#include "hostfw/clock.h"
#include "hostfw/host_settings.h"

#include "test_server.h"

#include <gtest/gtest.h>

using namespace host;
using namespace Qt::StringLiterals;

namespace {

class LoopbackTest : public ::testing::Test
{
protected:
    void SetUp() override { saved = hostfw::hostSettings(); }
    // Every connection is gone before the server stops: its stop waits for idle
    // keep-alive connections.
    void TearDown() override
    {
        server.stop();
        hostfw::hostSettings() = saved;
    }

    // A connection as the host makes it: settings first, then the connection.
    std::unique_ptr<records::AppServer> connectWith(const QString& token)
    {
        HostOptions options;
        options.server = {u"127.0.0.1"_s, port};
        applyToHostSettings(options, token);
        return connectToServer();
    }

    servertest::TestServer server{server::storage::Engine::Sqlite};
    const int port = server.port();  // kept for after the stop
    const QString tokenFile = server.config().effectiveServiceTokenFile();
    hostfw::HostSettings saved;
};

}  // namespace

TEST_F(LoopbackTest, PicksAPatientFromTheServersRegistry)
{
    const auto connection = connectWith(readAccessToken(tokenFile));
    ASSERT_TRUE(connection
                    ->SetPaciente(u"0009"_s, u"HOST01"_s, u"Joana D'Arc Souza"_s, u"1"_s,
                                  QDateTime(QDate(1991, 2, 3), QTime(0, 0), Qt::UTC), true)
                    .ok);

    hostfw::FixedClock clock(QDate(2025, 1, 20));
    PatientPickerDialog picker(*connection);
    EXPECT_TRUE(picker.messageText().isEmpty()) << qPrintable(picker.messageText());
    EXPECT_GE(picker.patientCount(), 2);  // the demonstration patients and ours
    ASSERT_TRUE(picker.selectPatient(u"HOST01"_s, u"0009"_s));
    picker.accept();
    ASSERT_TRUE(picker.choice());
    const Patient chosen = picker.choice()->patient;
    EXPECT_EQ(chosen, (Patient{u"0009"_s, u"HOST01"_s, u"Joana D'Arc Souza"_s, u"1"_s,
                               QDate(1991, 2, 3), true}));
    EXPECT_EQ(picker.choice()->date, QDate(2025, 1, 20));
}

TEST_F(LoopbackTest, AWrongTokenOrAStoppedServerIsAMessageInThePicker)
{
    {
        const auto wrong = connectWith(u"token-errado"_s);
        PatientPickerDialog refused(*wrong);
        EXPECT_EQ(refused.patientCount(), 0);
        EXPECT_TRUE(refused.messageText().startsWith(
            u"Não foi possível obter a lista de pacientes do servidor: "_s))
            << qPrintable(refused.messageText());

        const auto connection = connectWith(readAccessToken(tokenFile));
        PatientPickerDialog picker(*connection);
        EXPECT_GE(picker.patientCount(), 1);
    }

    // Nobody listens any more: connection refused, said in the picker.
    server.stop();
    const auto gone = connectWith(readAccessToken(tokenFile));
    PatientPickerDialog picker(*gone);
    EXPECT_EQ(picker.patientCount(), 0);
    EXPECT_TRUE(picker.messageText().startsWith(
        u"Não foi possível obter a lista de pacientes do servidor: "_s))
        << qPrintable(picker.messageText());
    EXPECT_TRUE(picker.messageText().contains(QString::number(port)))
        << qPrintable(picker.messageText());
}
