#include "module_context.h"

extern "C" {

QString stCdFilial;
QString stCdPaciente;
QString stNmPaciente;
QString stSexo;
QDateTime dtNasc;
QDateTime dtConsulta;

QWidget* frmAvalNutrEnerg = nullptr;
bool boStCriado = false;
QString stCdPacienteAux;

qint32 inMaoMembro = 0;
qint32 inPeMembro = 0;
QString stMaoMembro1;
QString stMaoMembro2;
QString stPeMembro1;
QString stPeMembro2;

QJsonValue oleDados;
QJsonValue olePercentil;
QJsonValue olePesCalc;
QJsonValue oleIdade;
QJsonValue oleNutr;
QJsonValue oleRefFatGrup;

}  // extern "C"

namespace {

// Releases the module-wide values when the module is unloaded. Defined after them in
// this file, so it runs before their own destructors.
struct ReleaseAtUnload
{
    ~ReleaseAtUnload();
} releaseAtUnload;

}  // namespace

namespace workspace {

void moduleLoaded()
{
    boStCriado = false;
}

void moduleUnloading()
{
    for (QJsonValue* payload :
         {&oleDados, &olePercentil, &olePesCalc, &oleIdade, &oleNutr, &oleRefFatGrup})
        *payload = QJsonValue();
    for (QString* text : {&stCdFilial, &stCdPaciente, &stNmPaciente, &stSexo, &stCdPacienteAux,
                          &stMaoMembro1, &stMaoMembro2, &stPeMembro1, &stPeMembro2})
        text->clear();
    frmAvalNutrEnerg = nullptr;
}

void setConsultationContext(const QString& branch, const QString& patient, const QString& name,
                            const QString& sexCode, const QDateTime& birth,
                            const QDateTime& consultation)
{
    stCdFilial = branch;
    stCdPaciente = patient;
    stNmPaciente = name;
    stSexo = sexCode;
    dtNasc = birth;
    dtConsulta = consultation;
}

}  // namespace workspace

ReleaseAtUnload::~ReleaseAtUnload()
{
    workspace::moduleUnloading();
}
