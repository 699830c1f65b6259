#pragma once

#include <QDateTime>
#include <QJsonValue>
#include <QString>
#include <QtGlobal>

// The module-wide variables of the assessment module, exported under their own names
// so the host may read them. They hold the context of the consultation the host opened
// last (set by CriaMedAntro) and the last payloads some routines keep between calls.
// Dates are held as naive calendar values (QDateTime in UTC).

class QWidget;

extern "C" {

Q_DECL_EXPORT extern QString stCdFilial;    // branch code of the consultation
Q_DECL_EXPORT extern QString stCdPaciente;  // patient code
Q_DECL_EXPORT extern QString stNmPaciente;  // patient name
Q_DECL_EXPORT extern QString stSexo;        // host sex code "0" to "3"
Q_DECL_EXPORT extern QDateTime dtNasc;      // birth date
Q_DECL_EXPORT extern QDateTime dtConsulta;  // consultation date

Q_DECL_EXPORT extern QWidget* frmAvalNutrEnerg;  // the one main form, or none
Q_DECL_EXPORT extern bool boStCriado;            // the main form exists
Q_DECL_EXPORT extern QString stCdPacienteAux;    // patient of the last completed load

Q_DECL_EXPORT extern qint32 inMaoMembro;  // upper-limb amputation answers marked
Q_DECL_EXPORT extern qint32 inPeMembro;   // lower-limb amputation answers marked
// Exported for the host; the module never assigns them.
Q_DECL_EXPORT extern QString stMaoMembro1;
Q_DECL_EXPORT extern QString stMaoMembro2;
Q_DECL_EXPORT extern QString stPeMembro1;
Q_DECL_EXPORT extern QString stPeMembro2;

// Payloads kept between calls: the consultation packets, and the last answers of the
// percentile, weight-table, age-table, nutrient and factor-group queries.
Q_DECL_EXPORT extern QJsonValue oleDados;
Q_DECL_EXPORT extern QJsonValue olePercentil;
Q_DECL_EXPORT extern QJsonValue olePesCalc;
Q_DECL_EXPORT extern QJsonValue oleIdade;
Q_DECL_EXPORT extern QJsonValue oleNutr;
Q_DECL_EXPORT extern QJsonValue oleRefFatGrup;

}  // extern "C"

namespace workspace {

// Module load: no form yet.
void moduleLoaded();
// Module unload: the payloads and the module-wide texts are released.
void moduleUnloading();

// The consultation the host opened: the six values of CriaMedAntro into the module-wide
// variables.
void setConsultationContext(const QString& branch, const QString& patient, const QString& name,
                            const QString& sexCode, const QDateTime& birth,
                            const QDateTime& consultation);

}  // namespace workspace
