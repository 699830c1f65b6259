// diagnosis: the tab "Diagnóstico Nutricional" of one consultation: the stored text
// shown, or a file's HTML typed over it and confirmed as a user would in the window.

#include "commands.h"
#include "consultation_session.h"

#include "hostfw/error_display.h"
#include "workspace/diagnosis_page.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace cli {
namespace {

// A diagnosis is a page or two of text; a file far beyond that is not one.
constexpr qint64 kMaxFileBytes = 1024 * 1024;

// The file's text. A file that cannot be read as UTF-8 text ends the command with its
// message before anything is opened or written.
QString readHtmlFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        hostfw::MensErro(QStringLiteral("O arquivo '%1' não existe.").arg(path), true);
    if (!info.isFile())
        hostfw::MensErro(QStringLiteral("'%1' não é um arquivo.").arg(path), true);
    if (info.size() > kMaxFileBytes)
        hostfw::MensErro(
            QStringLiteral("O arquivo '%1' passa de 1 MB: não é um diagnóstico.").arg(path), true);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        hostfw::MensErro(QStringLiteral("Não foi possível ler o arquivo '%1': %2.")
                             .arg(path, file.errorString()),
                         true);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        hostfw::MensErro(QStringLiteral("Não foi possível ler o arquivo '%1': %2.")
                             .arg(path, file.errorString()),
                         true);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        hostfw::MensErro(QStringLiteral("O arquivo '%1' não é texto UTF-8.").arg(path), true);
    return text;
}

}  // namespace

int diagnosis(const Command& command, QTextStream& out)
{
    const std::optional<QString> html =
        command.diagnosisFile ? std::optional<QString>(readHtmlFile(*command.diagnosisFile))
                              : std::nullopt;

    ConsultationSession session(command);
    workspace::AssessmentForm& form = session.form();
    workspace::DiagnosisPage& page = form.diagnosisPage();
    form.showPage(workspace::OuterPage::tshDiagNutri);
    if (html) {
        if (form.readOnly() || !page.storeText(*html))
            hostfw::MensErro(
                QStringLiteral("A consulta é de um paciente falecido: nada foi gravado."), true);
        return 0;
    }
    out << page.storedText();
    if (!page.storedText().isEmpty() && !page.storedText().endsWith(QLatin1Char('\n')))
        out << '\n';
    return 0;
}

}  // namespace cli
