// calc: one consultation run as a user would run it in the window.

#include "commands.h"
#include "server_link.h"

#include "anthropometry/assessment_pass.h"
#include "hostfw/reply_check.h"
#include "records/error.h"
#include "records/packet_codec.h"
#include "records/patient_registry.h"
#include "workspace/assessment_form.h"
#include "workspace/calculation_run.h"
#include "workspace/method_page.h"
#include "workspace/module_context.h"
#include "workspace/result_page.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace cli {
namespace {

// The registry row of the consultation's patient.
struct PatientRow
{
    QString name;
    QString sexCode;
    QDateTime birth;
};

PatientRow findPatient(records::AppServer& server, const QString& branch, const QString& code)
{
    const QList<records::RegistryPatient> patients = records::decodePatients(
        records::decodePacket(hostfw::CheckResultServ(server.GetPacientes(), true, 0)));
    for (const records::RegistryPatient& p : patients) {
        if (p.branch == branch && p.code == code)
            return {p.name, p.sexCode,
                    p.birth.isValid() ? QDateTime(p.birth, QTime(0, 0), Qt::UTC) : QDateTime()};
    }
    throw records::Error(
        QStringLiteral("Paciente %1 não cadastrado na filial %2.").arg(code, branch));
}

void printLines(records::DataSet& lines, bool json, QTextStream& out)
{
    QJsonArray array;
    for (int row = 0; row < lines.recordCount(); ++row) {
        const QString method = lines.asStringAt(row, QStringLiteral("CDTBMETOAVAL"));
        const QString sequence = lines.asStringAt(row, QStringLiteral("CDSEQUAVAL"));
        const QString description = lines.asStringAt(row, QStringLiteral("DSCONTRESU"));
        const QString result = lines.asStringAt(row, QStringLiteral("DSRESUAVAL"));
        if (json) {
            array.append(QJsonObject{{QStringLiteral("method"), method},
                                     {QStringLiteral("sequence"), sequence},
                                     {QStringLiteral("description"), description},
                                     {QStringLiteral("result"), result}});
        } else {
            out << method << '\t' << sequence << '\t' << description << '\t' << result << '\n';
        }
    }
    if (json)
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
}

}  // namespace

int calculate(const Command& command, QTextStream& out)
{
    const auto server = connect(command.connection);
    const PatientRow patient = findPatient(*server, command.branch, command.patient);
    const QDateTime consultation(QDate::fromString(command.date, Qt::ISODate), QTime(0, 0),
                                 Qt::UTC);
    if (patient.birth.isValid() && patient.birth > consultation)
        throw records::Error(
            QStringLiteral("A data da consulta é anterior ao nascimento do paciente."));

    workspace::setConsultationContext(command.branch, command.patient, patient.name,
                                      patient.sexCode, patient.birth, consultation);
    stCdPacienteAux.clear();
    workspace::AssessmentForm form;
    anthropometry::AssessmentPass assessment;
    workspace::CalculationRun run;
    assessment.install(run);
    form.setCalculationRun(&run);
    form.FormCreate();
    form.FormActivate();

    // The method page: select each method as the user would.
    for (const MethodChoice& method : command.methods)
        form.methodPage().selectMethod(method.code, method.reference);

    // The result page: type each value, then Calculate.
    form.pgcAvalNutr = workspace::InnerPage::tshAvaliacao;
    form.pgcAvalNutrChange();
    for (const TypedValue& value : command.values)
        form.resultPage().recordValue(value.dataType, value.text);
    form.sbtCalcularClick();

    printLines(form.cdsResuAval, command.json, out);
    form.FormClose();
    return 0;
}

}  // namespace cli
