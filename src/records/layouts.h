#pragma once

#include "field.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace records {

// The fixed shape of one dataset: its fields in order with their display attributes,
// the fields that identify a row, and the remote method that stores its change log.
// Declared once here and used by the client datasets and by the server alike.
struct DataSetLayout
{
    QString name;  // "cdsMetoAval"
    FieldList fields;
    QStringList keyFields;            // fields identifying a row; empty when none
    QString writeMethod;              // "SetMetoAval"; empty when the dataset is not written
    bool sendsNullFieldList = false;  // cdsMetoAval, cdsMetoAvalEnerg, cdsInfoAval
};

namespace layouts {

// Consultation records the module stores on the server.
const DataSetLayout& cdsMetoAval();
const DataSetLayout& cdsMetoAvalEnerg();
const DataSetLayout& cdsInfoAval();
const DataSetLayout& cdsResuAval();
const DataSetLayout& cdsResuAvalEnerg();
const DataSetLayout& cdsNutrRefe();
const DataSetLayout& cdsNutrePaci();
const DataSetLayout& cdsDiagNutri();

// Working grids of the measurements.
const DataSetLayout& cdsDadosAval();
const DataSetLayout& cdsDadoAvalEnerg();

// Catalogue and query datasets.
const DataSetLayout& cdsInsMetoAval();
const DataSetLayout& cdsInsTipoDado();
const DataSetLayout& cdsInsDadoAval();
const DataSetLayout& cdsExistInfoAval();
const DataSetLayout& cdsInfPesoIdeal();
const DataSetLayout& cdsPesqDadoAval();
const DataSetLayout& cdsAtualizaDados();
const DataSetLayout& cdsRefeMeto();
const DataSetLayout& cdsRefePeso();
const DataSetLayout& cdsRefeOssa();
const DataSetLayout& cdsPercentilMaior();
const DataSetLayout& cdsPercentilMenor();
const DataSetLayout& cdsPercentiFix();
const DataSetLayout& cdsPesIdAlt();
const DataSetLayout& cdsPesqPer();
const DataSetLayout& cdsPCT();
const DataSetLayout& cdsImcPesoIdeal();
const DataSetLayout& cdsImcPesoTeorico();
const DataSetLayout& cdsCalcOssatura();
const DataSetLayout& cdsCalcSomaPrega();
const DataSetLayout& cdsDuBois();
const DataSetLayout& cdsCalcAn();
const DataSetLayout& cdsPesoIdade();
const DataSetLayout& cdsPesoIdealIdade();
const DataSetLayout& cdsPesoIdealAltura();
const DataSetLayout& cdsPesoIdealAlturaMF();
const DataSetLayout& cdsNutRecCatchUp();
// The percentile curves of a growth method (GetCurvaCrescimento): one row per point and
// percentile, along the method's axis (months of age or centimetres).
const DataSetLayout& cdsCurvaCresc();
const DataSetLayout& cdsNutRecom();
const DataSetLayout& cdsPesqNutrPaci();
const DataSetLayout& cdsFatoInju();
const DataSetLayout& cdsPesqFatorInju();
const DataSetLayout& cdsGrupNutr();
const DataSetLayout& cdsRefeRecom();
// The nutrient catalogue queries of the recommendation page (GetPesNutrientes,
// GetPesqNmNutr): the same columns, shown as "Grupo", "Código", "Nome".
const DataSetLayout& qryPesNutrientes();
const DataSetLayout& qryPesqNmNutr();

// The assessment report: the method list of the report window (GetRelatorio) and the
// packets of GetDadosRelatorio, in their order: patient, consultations (with the
// diagnosis), recorded values, result lines (IDABA "A" assessment tab, "E" energy tab)
// and nutrient amounts.
const DataSetLayout& cdsMetodo();
const DataSetLayout& cdsRelPaciente();
const DataSetLayout& cdsRelConsulta();
const DataSetLayout& cdsRelDadoAval();
const DataSetLayout& cdsRelResuAval();
const DataSetLayout& cdsRelNutrePaci();

// The layout called name (exact spelling), or nullptr when there is none.
const DataSetLayout* byName(const QString& name);
// Every layout above, in the order declared.
QList<const DataSetLayout*> all();

}  // namespace layouts
}  // namespace records
