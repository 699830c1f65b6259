#include "consultation_session.h"
#include "server_link.h"

#include "energy/basal_rate_family.h"
#include "hostfw/reply_check.h"
#include "records/error.h"
#include "records/packet_codec.h"
#include "records/patient_registry.h"
#include "workspace/module_context.h"

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

// The module context of the command's consultation, as the host sets it on opening.
void setContext(const Command& command)
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
}

}  // namespace

ConsultationSession::ConsultationSession(const Command& command)
{
    setContext(command);
    m_assessment.addRoutines(energy::assessmentTabDispatch());
    m_assessment.install(m_run);
    m_energy.install(m_run);
    m_recommendation.install(m_run);
    recommendation::RecommendationPass::installRoutine(m_form);
    m_form.setCalculationRun(&m_run);
    m_form.FormCreate();
    m_form.FormActivate();
}

ConsultationSession::~ConsultationSession()
{
    m_form.FormClose();
}

void showStoredConsultation(const Command& command, QTextStream& out)
{
    using Kind = Command::Kind;
    if (command.kind == Kind::Patients || command.kind == Kind::PatientAdd
        || command.kind == Kind::Help)
        return;
    ConsultationSession session(command);
    const workspace::AssessmentForm& form = session.form();
    printResultLines(command.kind == Kind::Energy ? form.cdsResuAvalEnerg : form.cdsResuAval,
                     command.json, out);
}

void printResultLines(const records::DataSet& lines, bool json, QTextStream& out)
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

}  // namespace cli
