// export: the patient's consultations as a FHIR R4 Bundle. The server builds it
// (GetFhirBundle, the same bundle other systems pull); the command writes it to the file
// whole or not at all.

#include "commands.h"
#include "server_link.h"

#include "hostfw/error_display.h"
#include "hostfw/reply_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace cli {

int exportFhir(const Command& command, QTextStream& out)
{
    const std::unique_ptr<records::AppServer> server = connect(command.connection);
    const QJsonValue payload = hostfw::CheckResultServ(
        server->GetFhirBundle(command.branch, command.patient, command.from.value_or(QString()),
                              command.to.value_or(QString())),
        true, 0);
    const QJsonObject bundle = payload.toObject();
    if (bundle.value(u"resourceType").toString() != u"Bundle")
        hostfw::MensErro(QStringLiteral("O servidor não respondeu um Bundle FHIR."), true);
    QSaveFile file(command.fhir);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QJsonDocument(bundle).toJson(QJsonDocument::Indented)) < 0 || !file.commit())
        hostfw::MensErro(
            QStringLiteral("Não foi possível gravar %1: %2").arg(command.fhir, file.errorString()),
            true);
    const qsizetype entries = bundle.value(u"entry").toArray().size();
    out << command.fhir << ": " << (entries > 0 ? entries - 1 : 0) << " observação(ões)\n";
    return 0;
}

}  // namespace cli
