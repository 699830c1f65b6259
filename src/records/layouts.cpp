#include "layouts.h"

namespace records::layouts {
namespace {

// A field definition written as one expression: S("CDFILIAL", 4).hidden().
class F
{
public:
    F(const char* name, FieldType type, int size = 0)
    {
        m_def.name = QString::fromLatin1(name);
        m_def.type = type;
        m_def.size = size;
    }
    F& label(const QString& text)
    {
        m_def.label = text;
        return *this;
    }
    F& hidden()
    {
        m_def.hidden = true;
        return *this;
    }
    F& width(int pixels)
    {
        m_def.displayWidth = pixels;
        return *this;
    }
    F& chars(int count)
    {
        m_def.displayChars = count;
        return *this;
    }
    F& readOnly()
    {
        m_def.readOnly = true;
        return *this;
    }
    F& format(const char* pattern)
    {
        m_def.displayFormat = QString::fromLatin1(pattern);
        return *this;
    }
    F& calculated()
    {
        m_def.calculated = true;
        return *this;
    }
    operator FieldDef() const { return m_def; }

private:
    FieldDef m_def;
};

F S(const char* name, int size)
{
    return F(name, FieldType::String, size);
}
F Date(const char* name)
{
    return F(name, FieldType::DateTime);
}
F Real(const char* name)
{
    return F(name, FieldType::Real);
}
F Blob(const char* name)
{
    return F(name, FieldType::Blob);
}

QString L(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const QStringList kAssessmentKey = {QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"),
                                    QStringLiteral("DTCONSPACI")};

QStringList key(std::initializer_list<const char*> more, bool withAssessmentKey = true)
{
    QStringList out = withAssessmentKey ? kAssessmentKey : QStringList();
    for (const char* name : more)
        out.append(QString::fromLatin1(name));
    return out;
}

DataSetLayout make(const char* name, FieldList fields, QStringList keys = {},
                   const char* writeMethod = "", bool sendsNullFieldList = false)
{
    DataSetLayout l;
    l.name = QString::fromLatin1(name);
    l.fields = std::move(fields);
    l.keyFields = std::move(keys);
    l.writeMethod = QString::fromLatin1(writeMethod);
    l.sendsNullFieldList = sendsNullFieldList;
    return l;
}

// Reference lists share one shape: code and name of the bibliographic reference.
FieldList referenceList()
{
    return {S("CDREFEBIBL", 2).label(L("Código")), S("NMREFEBIBL", 60).label(L("Nome"))};
}

// A nutrient of the catalogue with its group's name.
FieldList nutrientRecord()
{
    return {S("NMGRUPNUTR", 60).label(L("Grupo")), S("CDNUTRIENTE", 3).label(L("Código")),
            S("NMNUTRIENTE", 40).label(L("Nome")), S("SGUNIDADE", 10).hidden(),
            S("CDGRUPNUTR", 2).hidden(),           S("NMREDUZIDO", 4).hidden()};
}

FieldList percentileRecord()
{
    return {Real("VRPERCENTIL"), S("NMPERCENTIL", 30), S("CDPERCENTIL", 3), S("NMREFEBIBL", 60),
            S("CDREFEBIBL", 2)};
}

}  // namespace

#define AN_LAYOUT(fn, ...)                                                                         \
    const DataSetLayout& fn()                                                                      \
    {                                                                                              \
        static const DataSetLayout layout = make(#fn, __VA_ARGS__);                                \
        return layout;                                                                             \
    }

// Anthropometric methods of the consultation: one row per catalogue method offered.
AN_LAYOUT(cdsMetoAval,
          {S("CDFILIAL", 4).hidden(), S("CDPACIENTE", 12).hidden(), Date("DTCONSPACI").hidden(),
           S("IDTABELAAV", 1).width(27).readOnly(),
           S("CDTABELACO", 2).label(L("Referência")).width(111), S("CDTBMETOAVAL", 2).hidden(),
           S("IDTBUTILTABE", 1).hidden(),
           S("NMTBMETOAVAL", 80).label(L("Método de Avaliação")).width(364).readOnly(),
           S("CDTBREFMETOA", 2).hidden(), S("NMREFEBIBL", 60).hidden(),
           S("NRCTMETOAVAL", 10).hidden()},
          key({"CDTBMETOAVAL"}), "SetMetoAval", true)

// Energy methods of the consultation: the same fields in another order.
AN_LAYOUT(cdsMetoAvalEnerg,
          {S("CDFILIAL", 4).hidden(), S("CDPACIENTE", 12).hidden(), Date("DTCONSPACI").hidden(),
           S("CDTBMETOAVAL", 2).hidden(), S("IDTABELAAV", 1).readOnly(),
           S("NMTBMETOAVAL", 80).label(L("Método")).readOnly(),
           S("CDTABELACO", 2).label(L("Referência")), S("NMREFEBIBL", 60).hidden(),
           S("CDTBREFMETOA", 2).hidden(), S("NRCTMETOAVAL", 10).hidden(),
           S("IDTBUTILTABE", 1).hidden()},
          key({"CDTBMETOAVAL"}), "SetMetoAvalEnerg", true)

// Recorded values: one row per data type and method that needs it.
AN_LAYOUT(cdsInfoAval,
          {S("CDFILIAL", 4).hidden(), S("CDPACIENTE", 12), Date("DTCONSPACI"), S("CDTBMETOAVAL", 2),
           S("CDTIPODADO", 2), S("DSINFOAVAL", 30), S("DSOBSERAVAL", 40), S("CDFATOINJU", 2)},
          key({"CDTBMETOAVAL", "CDTIPODADO"}), "SetInfoAval", true)

// Result lines of the anthropometric methods; the grid shows them without editing.
AN_LAYOUT(cdsResuAval,
          {S("CDFILIAL", 4).hidden(),
           S("CDTBMETOAVAL", 2).label(L("Método de Avaliação")).readOnly(),
           S("CDPACIENTE", 12).hidden(), Date("DTCONSPACI").hidden(), S("CDSEQUAVAL", 2).hidden(),
           S("DSRESUAVAL", 40).label(L("Resultado")).chars(40).width(208).readOnly(),
           S("DSCONTRESU", 100).label(L("Descrição ")).chars(100).width(240).readOnly(),
           S("NMTBMETOAVAL", 80).label(L("Método de Avaliação")).width(200).readOnly(),
           S("NRCTMETOAVAL", 10).hidden()},
          key({"CDTBMETOAVAL", "CDSEQUAVAL"}), "SetResuAval")

// Result lines of the energy methods; the grid shows method, description and result.
AN_LAYOUT(cdsResuAvalEnerg,
          {S("CDFILIAL", 4).hidden(), S("CDPACIENTE", 12).hidden(), Date("DTCONSPACI").hidden(),
           S("CDTBMETOAVAL", 2).hidden(), S("CDSEQUAVAL", 2).hidden(),
           S("DSRESUAVAL", 40).label(L("Resultado")).readOnly(),
           S("DSCONTRESU", 100).label(L("Descrição do Resultado")).readOnly(),
           S("NRCTMETOAVAL", 10).hidden(), S("NMTBMETOAVAL", 80).label(L("Método")).readOnly()},
          key({"CDTBMETOAVAL", "CDSEQUAVAL"}), "SetResuAvalEnerg")

// Nutrient recommendation per meal: one row per reference and nutrient group.
AN_LAYOUT(cdsNutrRefe,
          {S("CDFILIAL", 4).hidden(), S("CDPACIENTE", 12).hidden(), Date("DTCONSPACI").hidden(),
           S("CDRFNUTRECOM", 2).label(L("Referência")), S("DSRFNUTRECOM", 60).hidden(),
           S("CDGRUPNUTR", 2).label(L("Grupo de Nutriente")), S("NMGRUPNUTR", 60).hidden(),
           S("IDTPCOMPACI", 1).hidden(), S("NMNUTRESC", 600).label(L("Nutrientes")).calculated(),
           S("CODSNUTRESC", 600).hidden().calculated()},
          key({"CDRFNUTRECOM", "CDGRUPNUTR"}))

// Recommended nutrient amounts, one row per nutrient of a recommendation.
AN_LAYOUT(cdsNutrePaci,
          {S("CDFILIAL", 4), S("CDPACIENTE", 12), Date("DTCONSPACI"), S("CDRFNUTRECOM", 2),
           S("CDNUTRIENTE", 3), S("CDGRUPNUTR", 2), S("NMNUTRIENTE", 40).label(L("Nutriente")),
           S("IDTPCOMPACI", 1), S("DSNUTPEATUAL", 40).label(L("Nutriente Peso Atual")),
           S("DSPESOIDEAL", 40).label(L("Peso Ideal")).hidden(),
           S("DSNUTPEIDEAL", 40).label(L("Nutriente Peso Ideal")),
           S("DSPESOADEQU", 40).label(L("Peso Adeq.")),
           S("DSNUTPEADEQU", 40).label(L("Nutriente Peso Adeq.")),
           S("SGUNIDADE", 10).label(L("UN"))},
          key({"CDRFNUTRECOM", "CDGRUPNUTR", "CDNUTRIENTE"}), "SetNutrePaci")

// The nutritional diagnosis: one rich-text record per consultation.
AN_LAYOUT(cdsDiagNutri,
          {S("CDFILIAL", 4), S("CDPACIENTE", 12), Date("DTCONSPACI"), Blob("DSHISTAVALNUT")},
          kAssessmentKey, "SetDiag")

// Measurements grid of the result page, listed in data type name order.
AN_LAYOUT(cdsDadosAval,
          {S("CDTIPODADO", 2).hidden(),
           S("NMTIPODADO", 40).label(L("Tipo de Dado")).width(213).readOnly(),
           S("DSINFOAVAL", 9).label(L("Valor")).chars(9).width(92),
           S("DSUNIDDADO", 10).label(L("UN")).width(36).readOnly(),
           S("DSOBSERAVAL", 40).label(L("Observação")).width(189).readOnly()},
          key({"CDTIPODADO"}, false))

// Factors grid of the energy page, one row per method and data type.
AN_LAYOUT(cdsDadoAvalEnerg,
          {S("CDTBMETOAVAL", 2).label(L("Método")), S("CDTIPODADO", 2).hidden(),
           S("NMTIPODADO", 40).label(L("Tipo Dado")), Date("DTCONSPACI").hidden(),
           S("DSINFOAVAL", 30).label(L("Valor")), S("CDFATOINJU", 2).hidden()},
          key({"CDTBMETOAVAL", "CDTIPODADO"}, false))

AN_LAYOUT(cdsInsMetoAval,
          {S("CDTBMETOAVAL", 2), S("IDTBUTILTABE", 1), S("NMTBMETOAVAL", 80), S("IDSEQUMETO", 2),
           S("DSTBMETOAVAL", 60), S("NRCTMETOAVAL", 10), Real("VRIDADEINITB"), Real("VRIDADEFINTB"),
           S("CDTBREFMETOA", 2)},
          key({"CDTBMETOAVAL"}, false), "SetInsMetoAval")

AN_LAYOUT(cdsInsTipoDado,
          {S("CDTIPODADO", 2).label(L("Código")), S("NMTIPODADO", 40).label(L("Nome")),
           S("DSUNIDDADO", 10).label(L("Unidade"))},
          key({"CDTIPODADO"}, false), "SetInsTipoDado")

AN_LAYOUT(cdsInsDadoAval, {S("CDTIPODADO", 2), S("CDTBMETOAVAL", 2)},
          key({"CDTIPODADO", "CDTBMETOAVAL"}, false), "SetInsDadoAval")

AN_LAYOUT(cdsExistInfoAval, {S("CDPACIENTE", 12)})
AN_LAYOUT(cdsInfPesoIdeal, {S("CDTBMETOAVAL", 2), S("NMTBMETOAVAL", 80), S("CDTBREFMETOA", 2)})
AN_LAYOUT(cdsPesqDadoAval, {S("CDTIPODADO", 2), S("CDTBMETOAVAL", 2)})
AN_LAYOUT(cdsAtualizaDados, {S("CDTIPODADO", 2), S("NMTIPODADO", 40), S("DSUNIDDADO", 10),
                             S("DSINFOAVAL", 30), S("DSOBSERAVAL", 40)})
AN_LAYOUT(cdsRefeMeto, referenceList())
AN_LAYOUT(cdsRefePeso, referenceList())
AN_LAYOUT(cdsRefeOssa, referenceList())
AN_LAYOUT(cdsPercentilMaior, percentileRecord())
AN_LAYOUT(cdsPercentilMenor, percentileRecord())
AN_LAYOUT(cdsPercentiFix,
          {S("CDREFEBIBL", 2), S("NMREFEBIBL", 60), S("CDTBMETOAVAL", 2), S("CDPERCENTIL", 3),
           Real("VRIDADINIDI"), Real("VRIDADFINDI"), Real("VRSEXOFEMI"), Real("VRSEXOMASC")})
AN_LAYOUT(cdsPesIdAlt, {S("CDPERCENTIL", 2)})
AN_LAYOUT(cdsPesqPer, {S("CDPERCENTIL", 3)})
AN_LAYOUT(cdsPCT, {Real("VRTABEDIET")})
AN_LAYOUT(cdsImcPesoIdeal, {Real("VRTABEDIET")})
AN_LAYOUT(cdsImcPesoTeorico,
          {Real("VRTABEDIET_MED"), Real("VRTABEDIET_MIN"), Real("VRTABEDIET_MAX")})
AN_LAYOUT(cdsCalcOssatura, {Real("VRPESOOSINI"), Real("VRPESOOSFIN")})
AN_LAYOUT(cdsCalcSomaPrega, {Real("VRPEPREGAS")})
AN_LAYOUT(cdsDuBois, {Real("VRDIET")})
AN_LAYOUT(cdsCalcAn, {Real("VRPESOTABE"), Real("VRALTUTABE")})
AN_LAYOUT(cdsPesoIdade, {Real("NRIDADEINI"), Real("NRIDADEFIN"), Real("VRPESO")})
AN_LAYOUT(cdsPesoIdealIdade, {Real("VRPESO")})
AN_LAYOUT(cdsPesoIdealAltura, {Real("VRPESO")})
AN_LAYOUT(cdsPesoIdealAlturaMF, {Real("VRPESO")})
AN_LAYOUT(cdsNutRecCatchUp, {Real("QTNUTRINIC"), Real("QTPROTPESO")})
AN_LAYOUT(cdsCurvaCresc,
          {Real("VREIXO"), S("CDPERCENTIL", 4), S("NMPERCENTIL", 10), Real("VRPERCENTIL")})
AN_LAYOUT(cdsNutRecom,
          {S("CDNUTRIENTE", 3), Real("QTNUTRINIC"), Real("QTNUTRFINA"), S("IDUNCALCNUTR", 1)})
AN_LAYOUT(cdsPesqNutrPaci, {S("CDFILIAL", 4), S("CDPACIENTE", 12), S("CDNUTRIENTE", 3)})
AN_LAYOUT(cdsFatoInju, {S("CDFATOINJU", 2).hidden(), S("NMFATOINJU", 60).label(L("Nome")),
                        Real("VRFATOINJU").label(L("Valor")).format("#,##0.00"),
                        S("DSFATOINJU", 100).label(L("Referência"))})
AN_LAYOUT(cdsPesqFatorInju, {S("CDFATOINJU", 2), S("NMFATOINJU", 60)})
AN_LAYOUT(cdsGrupNutr,
          {S("CDGRUPNUTR", 2).label(L("Código")), S("NMGRUPNUTR", 60).label(L("Nome")).chars(55)})
AN_LAYOUT(cdsRefeRecom,
          {S("CDRFNUTRECOM", 2).label(L("Código")), S("DSRFNUTRECOM", 60).label(L("Descrição"))})
AN_LAYOUT(qryPesNutrientes, nutrientRecord())
AN_LAYOUT(qryPesqNmNutr, nutrientRecord())

// The assessment report.
AN_LAYOUT(cdsMetodo, {S("IDMARCADO", 1).readOnly(), S("CDTBMETOAVAL", 2).label(L("Código")),
                      S("NMTBMETOAVAL", 80).label(L("Nome"))})
AN_LAYOUT(cdsRelPaciente, {S("CDFILIAL", 4), S("CDPACIENTE", 12), S("NMPACIENTE", 60),
                           S("CDSEXO", 1), Date("DTNASC")})
AN_LAYOUT(cdsRelConsulta, {Date("DTCONSPACI"), Blob("DSHISTAVALNUT")})
AN_LAYOUT(cdsRelDadoAval,
          {Date("DTCONSPACI"), S("CDTBMETOAVAL", 2), S("NMTBMETOAVAL", 80), S("CDTIPODADO", 2),
           S("NMTIPODADO", 40), S("DSINFOAVAL", 9), S("DSUNIDDADO", 10)})
AN_LAYOUT(cdsRelResuAval,
          {Date("DTCONSPACI"), S("IDABA", 1), S("CDTBMETOAVAL", 2), S("NMTBMETOAVAL", 80),
           S("CDSEQUAVAL", 2), S("DSRESUAVAL", 40), S("DSCONTRESU", 100)})
AN_LAYOUT(cdsRelNutrePaci,
          {Date("DTCONSPACI"), S("DSRFNUTRECOM", 60), S("NMGRUPNUTR", 60), S("NMNUTRIENTE", 40),
           S("SGUNIDADE", 10), S("DSNUTPEATUAL", 40), S("DSPESOIDEAL", 40), S("DSNUTPEIDEAL", 40),
           S("DSPESOADEQU", 40), S("DSNUTPEADEQU", 40)})

#undef AN_LAYOUT

QList<const DataSetLayout*> all()
{
    static const QList<const DataSetLayout*> list = {
        &cdsMetoAval(),        &cdsMetoAvalEnerg(),
        &cdsInfoAval(),        &cdsResuAval(),
        &cdsResuAvalEnerg(),   &cdsNutrRefe(),
        &cdsNutrePaci(),       &cdsDiagNutri(),
        &cdsDadosAval(),       &cdsDadoAvalEnerg(),
        &cdsInsMetoAval(),     &cdsInsTipoDado(),
        &cdsInsDadoAval(),     &cdsExistInfoAval(),
        &cdsInfPesoIdeal(),    &cdsPesqDadoAval(),
        &cdsAtualizaDados(),   &cdsRefeMeto(),
        &cdsRefePeso(),        &cdsRefeOssa(),
        &cdsPercentilMaior(),  &cdsPercentilMenor(),
        &cdsPercentiFix(),     &cdsPesIdAlt(),
        &cdsPesqPer(),         &cdsPCT(),
        &cdsImcPesoIdeal(),    &cdsImcPesoTeorico(),
        &cdsCalcOssatura(),    &cdsCalcSomaPrega(),
        &cdsDuBois(),          &cdsCalcAn(),
        &cdsPesoIdade(),       &cdsPesoIdealIdade(),
        &cdsPesoIdealAltura(), &cdsPesoIdealAlturaMF(),
        &cdsNutRecCatchUp(),   &cdsNutRecom(),
        &cdsPesqNutrPaci(),    &cdsFatoInju(),
        &cdsPesqFatorInju(),   &cdsGrupNutr(),
        &cdsRefeRecom(),       &qryPesNutrientes(),
        &qryPesqNmNutr(),      &cdsCurvaCresc(),
        &cdsMetodo(),          &cdsRelPaciente(),
        &cdsRelConsulta(),     &cdsRelDadoAval(),
        &cdsRelResuAval(),     &cdsRelNutrePaci(),
    };
    return list;
}

const DataSetLayout* byName(const QString& name)
{
    for (const DataSetLayout* l : all()) {
        if (l->name == name)
            return l;
    }
    return nullptr;
}

}  // namespace records::layouts
