// avalnutri maturation as a user runs it: the real binary against a real server on
// loopback, storing the observed stage as the dialog does, and refusing with the
// window's message, status 1 and nothing stored.

#include "cli_run.h"

namespace {

using clitest::CliRun;

class MaturationCommand : public clitest::CliTest
{
protected:
    void addPatient(const QString& code, const QString& sex, const QString& birth)
    {
        const CliRun add = run({"patient-add", "--branch", "0001", "--code", code, "--name",
                                "Paciente " + code.right(2), "--sex", sex, "--birth", birth});
        ASSERT_EQ(add.status, 0) << add.err.toStdString();
    }

    CliRun maturation(const QString& patient, const QStringList& stages)
    {
        return run(QStringList{"maturation", "--branch", "0001", "--patient", patient, "--date",
                               "2026-12-06"}
                   + stages);
    }

    // The stage stored for sexual maturation ("28"), or nothing.
    QStringList stored(const QString& patient)
    {
        const records::Packet info = servertest::packetOf(m_server.client().GetInfoAval(
            {"0001", patient, QDateTime(QDate(2026, 12, 6), QTime(0, 0), Qt::UTC)}, "37"));
        return servertest::column(info, "DSINFOAVAL") + servertest::column(info, "DSOBSERAVAL");
    }
};

}  // namespace

TEST_F(MaturationCommand, StoresTheStageOrRefusesWithTheMessage)
{
    // Sexual maturation is selected with the reference the server lists for it.
    addPatient("710000000001", "0", "2014-06-01");  // a boy of 12
    addPatient("710000000002", "1", "2009-12-01");  // a girl of 17

    struct Case
    {
        const char* patient;
        QStringList stages;
        int status;
        QString output;  // standard output, or a part of the message
    };
    const Case cases[] = {
        {"710000000001", {"--breast", "3", "--pubic", "2"}, 1, "informe --genital"},
        {"710000000001",
         {"--genital", "3"},
         1,
         "Um parâmetro de pêlos pubianos deve ser informado."},
        {"710000000001", {"--genital", "6", "--pubic", "2"}, 1, "Estágio inválido em --genital"},
        {"710000000002", {"--breast", "4", "--pubic", "3"}, 1, "não informe --pubic"},
        {"710000000002", {}, 1, "Um parâmetro de mama deve ser informado."},
        {"710000000001", {"--genital", "3", "--pubic", "2"}, 0, "37\tG3-P2\tTanner (1962)\n"},
        {"710000000002", {"--breast", "4"}, 0, "37\tM4\tTanner (1962)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stages.join(' ').toStdString());
        const QString patient = QString::fromLatin1(c.patient);
        const QStringList before = stored(patient);
        const CliRun result = maturation(patient, c.stages);
        EXPECT_EQ(result.status, c.status) << result.err.toStdString();
        if (c.status == 0) {
            EXPECT_EQ(result.out, c.output);
            const QStringList parts = c.output.trimmed().split('\t');
            EXPECT_EQ(stored(patient), (QStringList{parts[1], parts[2]}));
        } else {
            EXPECT_TRUE(result.err.contains(c.output)) << result.err.toStdString();
            EXPECT_TRUE(result.out.isEmpty());
            EXPECT_EQ(stored(patient), before);
        }
    }
}
