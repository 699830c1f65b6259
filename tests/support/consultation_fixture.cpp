#include "consultation_fixture.h"

#include "records/layouts.h"
#include "records/packet_codec.h"
#include "records/write_through.h"
#include "workspace/module_context.h"

namespace workspacetest {

using workspace::AssessmentForm;

namespace {

// The consultation of the module context; the window suites read the server through it,
// their form core being the window's own.
records::ConsultationKey contextKey()
{
    return {stCdFilial, stCdPaciente, dtConsulta};
}

}  // namespace

QDateTime day(const QDate& d)
{
    return QDateTime(d, QTime(0, 0), Qt::UTC);
}

void openConsultation(const QString& patient, const QString& name, const QString& sexCode,
                      const QDate& birth, const QDate& consultation)
{
    stCdFilial = QStringLiteral("0001");
    stCdPaciente = patient;
    stNmPaciente = name;
    stSexo = sexCode;
    dtNasc = day(birth);
    dtConsulta = day(consultation);
}

void ConsultationTest::SetUp()
{
    workspace::moduleLoaded();
    stCdPacienteAux.clear();
    inMaoMembro = 0;
    inPeMembro = 0;
    server.useForHost();
    addTestReferences();
}

void ConsultationTest::addTestReferences()
{
    // Whatever the server seeds, the lists of "01", "28" and "48" hold these two, and the
    // list of "02" (triceps skinfold) is empty.
    for (const char* owner : {"01", "28", "48"}) {
        server.addReference(QStringLiteral("METO"), QString::fromLatin1(owner),
                            QStringLiteral("90"), QStringLiteral("Referência de teste A"));
        server.addReference(QStringLiteral("METO"), QString::fromLatin1(owner),
                            QStringLiteral("91"), QStringLiteral("Referência de teste B"));
    }
    server.removeReferences(QStringLiteral("METO"), QStringLiteral("02"));
}

void ConsultationTest::TearDown()
{
    if (form)
        form->FormClose();
    workspace::moduleUnloading();
}

void ConsultationTest::admit(const QString& patient, const QString& sexCode, const QDate& birth,
                             bool deceased)
{
    const QString name = QStringLiteral("Paciente ") + patient.right(2);
    server.addPatient(patient, name, sexCode, birth, deceased);
    openConsultation(patient, name, sexCode, birth);
}

AssessmentForm& ConsultationTest::open(const QString& patient, const QString& sexCode,
                                       const QDate& birth, bool deceased)
{
    admit(patient, sexCode, birth, deceased);
    return reopen();
}

AssessmentForm& ConsultationTest::reopen(bool activate)
{
    form = std::make_unique<AssessmentForm>(server.transport());
    form->setBusyIndicator(&busy);
    form->FormCreate();
    if (activate)
        form->FormActivate();
    return *form;
}

QString ConsultationTest::selectionOf(const QString& code) const
{
    const records::DataSet& methods = form->cdsMetoAval;
    for (int row = 0; row < methods.recordCount(); ++row) {
        if (methods.asStringAt(row, QStringLiteral("CDTBMETOAVAL")) == code)
            return methods.asStringAt(row, QStringLiteral("IDTABELAAV"));
    }
    return {};
}

void ConsultationTest::enterResults()
{
    form->showPage(workspace::OuterPage::tshAvalNutr, workspace::InnerPage::tshAvaliacao);
}

void ConsultationTest::enterMethods()
{
    form->showPage(workspace::OuterPage::tshAvalNutr, workspace::InnerPage::tshMetoAval);
}

QMap<QString, ConsultationTest::Recorded> ConsultationTest::recorded(const QString& dataType)
{
    records::DataSet info(records::layouts::cdsInfoAval());
    info.loadPacket(records::decodePacket(
        records::checkReply(server.client().GetInfoAval(contextKey(), dataType))));
    QMap<QString, Recorded> out;
    for (int row = 0; row < info.recordCount(); ++row)
        out.insert(info.asStringAt(row, QStringLiteral("CDTBMETOAVAL")),
                   {info.asStringAt(row, QStringLiteral("DSINFOAVAL")),
                    info.asStringAt(row, QStringLiteral("DSOBSERAVAL"))});
    return out;
}

QString ConsultationTest::reference(const QString& owner, const QString& code, const QString& field)
{
    records::DataSet refs(records::layouts::cdsRefeMeto());
    refs.loadPacket(
        records::decodePacket(records::checkReply(server.client().GetRefeMeto(code, owner))));
    return refs.isEmpty() ? QString() : refs.asString(field);
}

QPair<QString, QString> ConsultationTest::storedMethod(const QString& code)
{
    const QJsonValue payload = records::checkReply(server.client().GetDados(contextKey(), 30.0));
    records::DataSet methods(records::layouts::cdsMetoAval());
    methods.loadPacket(records::packetAt(payload, 0));
    if (!methods.locate(QStringLiteral("CDTBMETOAVAL"), code))
        return {};
    return {methods.asString(QStringLiteral("IDTABELAAV")),
            methods.asString(QStringLiteral("CDTABELACO"))};
}

void ConsultationTest::storeMethod(const QString& code, const QString& selection,
                                   const QString& reference)
{
    records::DataSet methods(records::layouts::cdsMetoAval());
    methods.loadPacket(records::packetAt(
        records::checkReply(server.client().GetDados(form->key(), form->codedAge())), 0));
    ASSERT_TRUE(methods.locate(QStringLiteral("CDTBMETOAVAL"), code)) << code.toStdString();
    methods.edit();
    methods.setValue(QStringLiteral("CDFILIAL"), stCdFilial);
    methods.setValue(QStringLiteral("CDPACIENTE"), stCdPaciente);
    methods.setValue(QStringLiteral("DTCONSPACI"), dtConsulta);
    methods.setValue(QStringLiteral("IDTABELAAV"), selection);
    methods.setValue(QStringLiteral("CDTABELACO"),
                     reference.isEmpty() ? QVariant() : QVariant(reference));
    methods.post();
    records::writeThrough(methods, server.client(), QStringLiteral("SetMetoAval"));
}

void ConsultationTest::storeRecorded(const QString& method, const QString& dataType,
                                     const QString& value, const QString& observation)
{
    records::DataSet info(records::layouts::cdsInfoAval());
    info.append();
    info.setValue(QStringLiteral("CDFILIAL"), stCdFilial);
    info.setValue(QStringLiteral("CDPACIENTE"), stCdPaciente);
    info.setValue(QStringLiteral("DTCONSPACI"), dtConsulta);
    info.setValue(QStringLiteral("CDTBMETOAVAL"), method);
    info.setValue(QStringLiteral("CDTIPODADO"), dataType);
    info.setValue(QStringLiteral("DSINFOAVAL"), value);
    if (!observation.isEmpty())
        info.setValue(QStringLiteral("DSOBSERAVAL"), observation);
    info.post();
    records::writeThrough(info, server.client(), QStringLiteral("SetInfoAval"));
}

QString ConsultationTest::gridValue(const QString& dataType, const QString& field, bool display)
{
    records::DataSet& grid = form->cdsDadosAval;
    for (int row = 0; row < grid.recordCount(); ++row) {
        if (grid.asStringAt(row, QStringLiteral("CDTIPODADO")) == dataType)
            return display ? grid.displayTextAt(row, field) : grid.asStringAt(row, field);
    }
    return QStringLiteral("<sem linha>");
}

}  // namespace workspacetest
