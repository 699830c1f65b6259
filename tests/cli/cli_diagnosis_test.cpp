// avalnutri diagnosis as a user runs it: a file's HTML stored as the consultation's
// diagnosis, reduced as the window reduces it, and shown back; files that cannot be
// read end with their message and change nothing.

#include "cli_run.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

using clitest::CliRun;

class DiagnosisCommand : public clitest::CliTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_files.isValid());
        ASSERT_EQ(run({"patient-add", "--branch", "0001", "--code", "710000000001", "--name",
                       "Paciente Diagnóstico", "--sex", "1", "--birth", "1970-02-01"})
                      .status,
                  0);
        ASSERT_EQ(run({"patient-add", "--branch", "0001", "--code", "710000000002", "--name",
                       "Paciente Falecido", "--sex", "0", "--birth", "1950-02-01", "--deceased"})
                      .status,
                  0);
    }

    CliRun diagnosis(const QString& patient, const QStringList& more)
    {
        return run(QStringList{"diagnosis", "--branch", "0001", "--patient", patient, "--date",
                               "2026-12-06"}
                   + more);
    }
    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_files.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QTemporaryDir m_files;
};

}  // namespace

TEST_F(DiagnosisCommand, StoresTheFileReducedToTheBarsMarkupAndShowsIt)
{
    EXPECT_EQ(diagnosis("710000000001", {"--show"}).out, QString());
    const QString html =
        file("d.html",
             "<html><head><style>p{color:red}</style></head><body>"
             "<h2 onmouseover=\"steal()\">Desnutri\xc3\xa7\xc3\xa3o <strong>grave</strong></h2>"
             "<ul><li style=\"font-size:14pt\">edema</li><li>"
             "<img src=\"https://evil.example/track.gif\">anorexia</li></ul>"
             "<script>document.location='https://evil.example/'</script></body></html>");
    const CliRun set = diagnosis("710000000001", {"--set-file", html});
    ASSERT_EQ(set.status, 0) << set.err.toStdString();
    EXPECT_EQ(set.out, QString());
    const QString stored =
        QString::fromUtf8("<p>Desnutri\xc3\xa7\xc3\xa3o <b>grave</b></p>\n"
                          "<ul><li><span style=\"font-size:14pt\">edema</span></li>\n"
                          "<li>anorexia</li></ul>\n");
    EXPECT_EQ(diagnosis("710000000001", {"--show"}).out, stored);
    EXPECT_EQ(diagnosis("710000000001", {}).out, stored);  // showing is the default

    // A second file replaces the text of the same diagnosis.
    ASSERT_EQ(diagnosis("710000000001", {"--set-file", file("e.html", "Eutrofia.")}).status, 0);
    EXPECT_EQ(diagnosis("710000000001", {"--show"}).out, "Eutrofia.\n");
}

TEST_F(DiagnosisCommand, AFileThatCannotBeReadChangesNothing)
{
    ASSERT_EQ(diagnosis("710000000001", {"--set-file", file("a.html", "<p>antes</p>")}).status, 0);
    struct Case
    {
        QString path;
        const char* message;
    };
    const Case cases[] = {
        {m_files.filePath("nao-existe.html"), "não existe"},
        {m_files.path(), "não é um arquivo"},
        {file("latin1.html", "<p>desnutri\xe7\xe3o</p>"), "não é texto UTF-8"},
        {file("grande.html", QByteArray(1024 * 1024 + 1, 'a')), "passa de 1 MB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const CliRun r = diagnosis("710000000001", {"--set-file", c.path});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_EQ(diagnosis("710000000001", {"--show"}).out, "<p>antes</p>\n");
    }

    // A deceased patient's consultation takes no diagnosis.
    const CliRun deceased = diagnosis("710000000002", {"--set-file", file("b.html", "x")});
    EXPECT_EQ(deceased.status, 1);
    EXPECT_TRUE(deceased.err.contains("falecido")) << deceased.err.toStdString();
    EXPECT_EQ(diagnosis("710000000002", {"--show"}).out, QString());

    const CliRun both = diagnosis("710000000001", {"--show", "--set-file", "x.html"});
    EXPECT_EQ(both.status, 2);
    EXPECT_TRUE(both.err.contains("--set-file ou --show")) << both.err.toStdString();
}
