// The energy tab's pages "Método de Avaliação" and "Avaliação/Resultado": the energy
// methods chosen, the panel and the factors stored as recorded values of the
// consultation.

#include "energy_page.h"
#include "energy_factor_lists.h"
#include "module_context.h"
#include "reference_check.h"
#include "value_fields.h"
#include "workspace_messages.h"

#include "hostfw/error_display.h"
#include "hostfw/errors.h"
#include "hostfw/numbers.h"
#include "hostfw/pick_list.h"
#include "hostfw/reply_check.h"
#include "records/catalogue_descriptors.h"
#include "records/layouts.h"
#include "records/method_codes.h"
#include "records/packet_codec.h"
#include "records/write_through.h"

namespace workspace {

using namespace value_fields;
namespace M = records::method;
namespace T = records::data_type;

namespace {

const QString kMethod = QStringLiteral("CDTBMETOAVAL");
const QString kInjury = QStringLiteral("CDFATOINJU");
const QString kSelection = QStringLiteral("IDTABELAAV");
const QString kReference = QStringLiteral("CDTABELACO");
const QString kUseFlag = QStringLiteral("IDTBUTILTABE");

bool usesReferenceTable(const QString& useFlag)
{
    return !useFlag.isEmpty() && useFlag != u"0";
}

// The data types whose codes mean different things per method: stored only for the
// method of the row.
bool isPerMethodFactor(const QString& type)
{
    return type == T::kFatorTermico || type == T::kFatorAtividade || type == T::kFatorInjuria;
}

}  // namespace

EnergyPage::EnergyPage(AssessmentForm& form)
    : cdsFatoInju(records::layouts::cdsFatoInju()),
      cdsRefeRecom(records::layouts::cdsRefeRecom()),
      cdsGrupNutr(records::layouts::cdsGrupNutr()),
      m_form(form)
{
}

void EnergyPage::prepareDataSets()
{
    records::DataSet& methods = m_form.cdsMetoAvalEnerg;
    methods.beforeInsert = [](records::DataSet&) { throw hostfw::Abort(); };
    methods.beforeEdit = [this](records::DataSet&) {
        if (readOnly())
            throw hostfw::Abort();
    };
    records::DataSet& rows = m_form.cdsDadoAvalEnerg;
    rows.beforeInsert = [](records::DataSet&) { throw hostfw::Abort(); };
    rows.afterPost = [this](records::DataSet&) { storeChosenValue(); };
    rows.setDisplayTextHandler(kValue,
                               [this](const records::DataSet&, int row) { return valueText(row); });
    rows.setDisplayTextHandler(kMethod, [this](const records::DataSet& ds, int row) {
        return methodText(ds.asStringAt(row, kMethod));
    });
}

void EnergyPage::pgcAvalEnergChange()
{
    medPeso.clear();
    medAltura.clear();
    m_form.cbbPesoIdealIndex = -1;
    m_resultGridEntered = false;
    if (m_form.pgcAvalEnerg != EnergPage::tshResulEnerg)
        return;
    loadDataRows();
    if (m_form.medPesoAdRec.isEmpty())
        m_form.medPesoAdRec = QStringLiteral("0");
    if (medPesoAdeq.isEmpty())
        medPesoAdeq = m_form.medPesoAdRec;
    m_form.cdsResuAvalEnerg.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(m_form.netAvalNutrEnerg.GetResuAvalEnerg(m_form.key()), true, 0)));
}

void EnergyPage::dbgResulEnergEnter()
{
    m_resultGridEntered = true;
    m_form.repaint();
}

void EnergyPage::dbgResulEnergExit()
{
    m_resultGridEntered = false;
    m_form.repaint();
}

void EnergyPage::loadDataRows()
{
    records::DataSet& rows = m_form.cdsDadoAvalEnerg;
    rows.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(m_form.netAvalNutrEnerg.GetDadoAvalEnerg(m_form.key()), true, 0)));
    fetchFactorGroups();
    fillPanel();
    fillDefaultFactors();
    rows.first();
}

void EnergyPage::fetchFactorGroups()
{
    oleRefFatGrup = hostfw::CheckResultServ(
        m_form.netAvalNutrEnerg.GetRefFatGrup(QString(), QString(), QString()), true, 0);
    cdsFatoInju.loadPacket(records::packetAt(oleRefFatGrup, 0));
    cdsRefeRecom.loadPacket(records::packetAt(oleRefFatGrup, 1));
    cdsGrupNutr.loadPacket(records::packetAt(oleRefFatGrup, 2));
}

QString EnergyPage::recordedText(const QString& dataType)
{
    records::DataSet& values = m_form.cdsInfoAval;
    values.loadPacket(records::decodePacket(hostfw::CheckResultServ(
        m_form.netAvalNutrEnerg.GetInfoAval(m_form.key(), dataType), true, 0)));
    values.first();
    return values.isEmpty() ? QString() : values.asString(kValue);
}

void EnergyPage::fillPanel()
{
    medPeso = recordedText(T::kPeso);
    medAltura = recordedText(T::kAltura);
    bool isNumber = false;
    const int choice = recordedText(T::kPesoIdeal).toInt(&isNumber);
    m_form.cbbPesoIdealIndex = isNumber && choice < m_form.cbbPesoIdeal.size() ? choice : -1;
    medPesoAdeq = recordedText(T::kPesoAdequado);
}

void EnergyPage::fillDefaultFactors()
{
    records::DataSet& rows = m_form.cdsDadoAvalEnerg;
    for (; !rows.eof(); rows.next()) {
        const QString method = rows.asString(kMethod);
        const QString type = rows.asString(kType);
        if (method == M::kCatchUp && type == T::kRda) {
            cdsRefeRecom.first();
            referenceNameText = cdsRefeRecom.asString(QStringLiteral("DSRFNUTRECOM"));
            continue;
        }
        const std::optional<FactorDefault> initial = energy_factors::defaultOf(method, type);
        if (!initial || !rows.asString(kValue).isEmpty())
            continue;
        rows.edit();
        rows.setValue(kValue, initial->value);
        if (!initial->injuryFactor.isEmpty())
            rows.setValue(kInjury, initial->injuryFactor);
        rows.post();
    }
}

QString EnergyPage::valueText(int row) const
{
    const records::DataSet& rows = m_form.cdsDadoAvalEnerg;
    const QString value = rows.asStringAt(row, kValue);
    if (value.isEmpty())
        return QString();
    const QString method = rows.asStringAt(row, kMethod);
    const QString type = rows.asStringAt(row, kType);
    if (method == M::kHarris && (type == T::kPeso || type == T::kAltura))
        return value;
    if (method == M::kHarris && type == T::kFatorInjuria) {
        const QString code = rows.asStringAt(row, kInjury);
        for (int r = 0; !code.isEmpty() && r < cdsFatoInju.recordCount(); ++r) {
            if (cdsFatoInju.asStringAt(r, kInjury) == code)
                return cdsFatoInju.asStringAt(r, QStringLiteral("NMFATOINJU"));
        }
        return QString();
    }
    if (method == M::kCatchUp && type == T::kRda) {
        // The reference stored, by name; the one picked last while it is not listed.
        for (int r = 0; r < cdsRefeRecom.recordCount(); ++r) {
            if (cdsRefeRecom.asStringAt(r, QStringLiteral("CDRFNUTRECOM")) == value)
                return cdsRefeRecom.asStringAt(r, QStringLiteral("DSRFNUTRECOM"));
        }
        return referenceNameText;
    }
    if (const records::ChoiceList* list = energy_factors::listOf(method, type))
        return energy_factors::nameOf(*list, value);
    return QString();
}

QString EnergyPage::methodText(const QString& code) const
{
    const records::DataSet& methods = m_form.cdsMetoAvalEnerg;
    if (code.isEmpty() || !records::isEnergyMethod(code))
        return QString();
    for (int row = 0; row < methods.recordCount(); ++row) {
        if (methods.asStringAt(row, kMethod) == code)
            return methods.asStringAt(row, QStringLiteral("NMTBMETOAVAL"));
    }
    return QString();
}

void EnergyPage::dbgDadoAvalEnergEditButtonClick()
{
    records::DataSet& rows = m_form.cdsDadoAvalEnerg;
    if (readOnly() || rows.isEmpty())
        return;
    const QString method = rows.asString(kMethod);
    const QString type = rows.asString(kType);
    if (method == M::kCatchUp && type == T::kRda) {
        cdsRefeRecom.loadPacket(records::packetAt(oleRefFatGrup, 1));
        const QString caption = msgPadrao().Msg(QStringLiteral("Refe")) + u'|'
                                + msgPadrao().Msg(QStringLiteral("Refe_NHa"));
        if (!hostfw::Pesquisar(cdsRefeRecom, caption, false, true))
            return;
        referenceNameText = cdsRefeRecom.asString(QStringLiteral("DSRFNUTRECOM"));
        rows.edit();
        rows.setValue(kValue, cdsRefeRecom.value(QStringLiteral("CDRFNUTRECOM")));
    } else if (method == M::kHarris && type == T::kFatorInjuria) {
        cdsFatoInju.loadPacket(records::packetAt(oleRefFatGrup, 0));
        if (!hostfw::Pesquisar(cdsFatoInju, msgPadrao().Msg(QStringLiteral("Fator_Inju")), false,
                               true))
            return;
        rows.edit();
        rows.setValue(kInjury, cdsFatoInju.value(kInjury));
        // The factor as the user reads it (decimal comma); the equation reads it back.
        rows.setValue(kValue,
                      hostfw::FloatToStr(cdsFatoInju.asFloat(QStringLiteral("VRFATOINJU"))));
    } else {
        records::DataSet* list = pickList(method, type);
        if (!list)
            return;
        list->first();
        if (!hostfw::Pesquisar(*list, energy_factors::captionOf(method, type), false, true))
            return;
        rows.edit();
        rows.setValue(kValue, list->value(QStringLiteral("CDFATOR")));
    }
    rows.post();
    m_form.repaint();
}

records::DataSet* EnergyPage::pickList(const QString& method, const QString& dataType)
{
    const records::ChoiceList* list = energy_factors::listOf(method, dataType);
    if (!list)
        return nullptr;
    for (records::DataSet* ds :
         {&m_form.cdsTrabFatorTer, &m_form.cdsTrabAtivHarris, &m_form.cdsTrabAtivRda,
          &m_form.cdsTrabAtivDuBois, &m_form.cdsTrabStatus, &m_form.cdsTrabPaciHosp}) {
        if (ds->name() == list->name)
            return ds;
    }
    return nullptr;
}

void EnergyPage::storeChosenValue()
{
    records::DataSet& rows = m_form.cdsDadoAvalEnerg;
    // The grid is a working copy: nothing sends its own change log.
    rows.mergeChangeLog();
    const QString method = rows.asString(kMethod);
    const QString type = rows.asString(kType);
    const QVariant value = rows.value(kValue);
    const QVariant injury = rows.value(kInjury);
    hostfw::BusyGuard busy(m_form.busyIndicator(), hostfw::AviKind::Saving,
                           msgPadrao().Msg(QStringLiteral("Atu_Serv")));
    records::DataSet& values = m_form.cdsInfoAval;
    values.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(m_form.netAvalNutrEnerg.GetInfoAval(m_form.key(), type), true, 0)));
    const bool perMethod = isPerMethodFactor(type);
    for (values.first(); !values.eof(); values.next()) {
        if (perMethod && values.asString(kMethod) != method)
            continue;
        values.edit();
        values.setValue(kValue, value);
        values.setValue(kInjury, injury);
        values.post();
    }
    // A factor whose codes mean different things per method goes to no other method.
    insertMissingValues(type, value, injury, perMethod ? method : QString());
}

void EnergyPage::insertMissingValues(const QString& dataType, const QVariant& value,
                                     const QVariant& injury, const QString& onlyMethod)
{
    records::DataSet& values = m_form.cdsInfoAval;
    records::DataSet& needing = m_form.cdsPesqDadoAval;
    needing.loadPacket(records::decodePacket(hostfw::CheckResultServ(
        m_form.netAvalNutrEnerg.GetPesqDadoAval(m_form.key(), dataType), true, 0)));
    for (needing.first(); !needing.eof(); needing.next()) {
        const QString method = needing.asString(kMethod);
        if ((!onlyMethod.isEmpty() && method != onlyMethod) || values.locate(kMethod, method))
            continue;
        appendRecordedValue(method, dataType, value, injury);
    }
}

void EnergyPage::appendRecordedValue(const QString& method, const QString& dataType,
                                     const QVariant& value, const QVariant& injury)
{
    records::DataSet& values = m_form.cdsInfoAval;
    values.append();
    values.setValue(QStringLiteral("CDPACIENTE"), stCdPaciente);
    values.setValue(QStringLiteral("DTCONSPACI"), dtConsulta);
    values.setValue(kMethod, method);
    values.setValue(kType, dataType);
    values.setValue(kValue, value);
    values.setValue(kInjury, injury);
    values.post();
}

void EnergyPage::checkPanel(bool heightNeeded) const
{
    const auto check = [](const QString& text, const char* emptyKey, const char* invalidKey) {
        if (text.trimmed().isEmpty())
            hostfw::MensErro(msgPadrao().Msg(QString::fromLatin1(emptyKey)), true);
        const std::optional<double> number =
            hostfw::TryStrToFloat(hostfw::NormalizeTypedNumber(text));
        if (!number)
            hostfw::MensErro(msgPadrao().Msg(QString::fromLatin1(invalidKey)), true);
        if (*number <= 0)
            hostfw::MensErro(msgPadrao().Msg(QString::fromLatin1(emptyKey)), true);
    };
    check(medPeso, "Peso_Inf", "peso_inv");
    if (heightNeeded)
        check(medAltura, "Altura_Inf", "alt_inv");
    if (!medPesoAdeq.trimmed().isEmpty()
        && !hostfw::TryStrToFloat(hostfw::NormalizeTypedNumber(medPesoAdeq)))
        hostfw::MensErro(msgPadrao().Msg(QStringLiteral("peso_adeq_inv")), true);
}

void EnergyPage::panAltPesoExit()
{
    // A weight, height or adequate weight that is not a number is refused before
    // anything is stored.
    const std::pair<const QString*, const char*> numbers[] = {
        {&medPeso, "peso_inv"}, {&medAltura, "alt_inv"}, {&medPesoAdeq, "peso_adeq_inv"}};
    for (const auto& [text, key] : numbers) {
        if (!text->trimmed().isEmpty()
            && !hostfw::TryStrToFloat(hostfw::NormalizeTypedNumber(*text)))
            hostfw::MensErro(msgPadrao().Msg(QString::fromLatin1(key)), true);
    }
    // The edits show their numbers with two decimals, and that text is what is kept.
    for (QString* text : {&medPeso, &medAltura, &medPesoAdeq}) {
        if (const auto number = hostfw::TryStrToFloat(hostfw::NormalizeTypedNumber(*text)))
            *text = hostfw::FormatFloat(QStringLiteral("0.00"), *number);
    }
    hostfw::BusyGuard busy(m_form.busyIndicator(), hostfw::AviKind::Saving,
                           msgPadrao().Msg(QStringLiteral("Atu_Serv")));
    storePanelValue(T::kPeso, medPeso.trimmed());
    storePanelValue(T::kAltura, medAltura.trimmed());
    storePanelValue(T::kPesoIdeal, QString::number(m_form.cbbPesoIdealIndex));
    storePanelValue(T::kPesoAdequado, medPesoAdeq.trimmed());
}

void EnergyPage::storePanelValue(const QString& dataType, const QString& text)
{
    records::DataSet& values = m_form.cdsInfoAval;
    values.loadPacket(records::decodePacket(hostfw::CheckResultServ(
        m_form.netAvalNutrEnerg.GetInfoAval(m_form.key(), dataType), true, 0)));
    const QVariant value = text.isEmpty() ? QVariant() : QVariant(text);
    if (!values.isEmpty()) {
        for (values.first(); !values.eof(); values.next()) {
            values.edit();
            values.setValue(kValue, value);
            values.post();
        }
    } else if (text.isEmpty()) {
        return;  // nothing typed and nothing recorded: nothing to keep
    } else if (dataType == T::kPeso || dataType == T::kAltura) {
        // The weight and height of a consultation are kept under the body mass index
        // method "01" (Must), recorded (unselected) when the consultation has none.
        const records::Packet exists = records::decodePacket(hostfw::CheckResultServ(
            m_form.netAvalNutrEnerg.GetExistMetoAval(m_form.key(), M::kImcMust), true, 0));
        if (exists.rows.isEmpty())
            recordWeightMethod();
        appendRecordedValue(M::kImcMust, dataType, value, QVariant());
    }
    insertMissingValues(dataType, value, QVariant(), QString());
}

void EnergyPage::recordWeightMethod()
{
    // Written on its own rather than into the method list shown, which offers the
    // method already (unstored) and must not hold it twice.
    records::DataSet method(records::layouts::cdsMetoAval());
    records::attachWriteThrough(method, m_form.netAvalNutrEnerg);
    method.append();
    method.setValue(QStringLiteral("CDFILIAL"), stCdFilial);
    method.setValue(QStringLiteral("CDPACIENTE"), stCdPaciente);
    method.setValue(QStringLiteral("DTCONSPACI"), dtConsulta);
    method.setValue(kMethod, QString(M::kImcMust));
    method.setValue(kSelection, QStringLiteral("N"));
    method.post();
}

bool EnergyPage::toggleMethod()
{
    records::DataSet& methods = m_form.cdsMetoAvalEnerg;
    if (readOnly() || methods.isEmpty())
        return false;
    // The result lines no longer match the methods until the page is entered again.
    m_form.cdsResuAvalEnerg.clear();
    methods.edit();
    if (methods.asString(kSelection) == u"S") {
        methods.setValue(kSelection, QStringLiteral("N"));
        methods.setValue(kReference, QVariant());
        m_form.repaint();
        return true;
    }
    methods.setValue(kSelection, QStringLiteral("S"));
    methods.setValue(kReference, methods.value(QStringLiteral("CDTBREFMETOA")));
    try {
        Vd_ReferenciaEnerg(false);
    } catch (...) {
        m_form.repaint();
        throw;
    }
    m_form.repaint();
    return true;
}

void EnergyPage::postMethodRow()
{
    try {
        m_form.cdsMetoAvalEnerg.post();
    } catch (...) {
        m_form.repaint();
        throw;
    }
    m_form.repaint();
}

bool EnergyPage::methodCellEditable(int row, const QString& field) const
{
    return !readOnly() && field == kReference
           && m_form.cdsMetoAvalEnerg.asStringAt(row, kMethod) == M::kCatchUp;
}

bool EnergyPage::referenceButtonVisible(int row) const
{
    return usesReferenceTable(m_form.cdsMetoAvalEnerg.asStringAt(row, kUseFlag));
}

void EnergyPage::typeMethodReference(const QString& text)
{
    records::DataSet& methods = m_form.cdsMetoAvalEnerg;
    if (readOnly() || methods.isEmpty() || methods.asString(kMethod) != M::kCatchUp)
        return;
    methods.edit();
    try {
        methods.setValue(kReference, text.isEmpty() ? QVariant() : QVariant(text));
    } catch (const records::Error& e) {
        hostfw::MensErro(e.message(), true);
    }
    m_form.repaint();
}

void EnergyPage::dbgMetoAvalEnergEditButtonClick()
{
    records::DataSet& methods = m_form.cdsMetoAvalEnerg;
    if (readOnly() || methods.isEmpty() || methods.asString(kMethod) != M::kCatchUp)
        return;
    records::DataSet& references =
        fetchReferences(m_form, QStringLiteral("2"), QString(), methods.asString(kMethod));
    const QString caption = msgPadrao().Msg(QStringLiteral("Refe")) + u'|'
                            + msgPadrao().Msg(QStringLiteral("Refe_NHa"));
    if (!hostfw::Pesquisar(references, caption, false, true))
        return;
    methods.edit();
    methods.setValue(QStringLiteral("NMREFEBIBL"), references.value(QStringLiteral("NMREFEBIBL")));
    methods.setValue(kReference, references.value(QStringLiteral("CDREFEBIBL")));
    methods.setValue(kSelection, QStringLiteral("S"));
    m_form.repaint();
}

void EnergyPage::Vd_ReferenciaEnerg(bool referenceRequired)
{
    records::DataSet& methods = m_form.cdsMetoAvalEnerg;
    const records::MethodDescriptor* method =
        records::findMethodDescriptor(methods.asString(kMethod));
    if (!method || !method->energyReferenceChecked)
        return;
    // The energy methods checked here use the ideal-weight references whatever their flag.
    checkReference(m_form, methods, referenceRequired, dbgMetoAvalEnergColumn == kReference,
                   QStringLiteral("2"));
}

bool EnergyPage::selectMethod(const QString& code, const std::optional<QString>& reference)
{
    if (readOnly())
        return false;
    records::DataSet& methods = m_form.cdsMetoAvalEnerg;
    if (!methods.locate(kMethod, code))
        hostfw::MensErro(
            QStringLiteral("O método '%1' não está na lista de métodos de energia desta consulta.")
                .arg(code),
            true);
    if (reference && code != M::kCatchUp)
        hostfw::MensErro(QStringLiteral("O método '%1' não usa tabela de referência.").arg(code),
                         true);
    dbgMetoAvalEnergColumn = kSelection;
    if (methods.asString(kSelection) != u"S")
        toggleMethod();
    if (reference) {
        dbgMetoAvalEnergColumn = kReference;
        typeMethodReference(*reference);
        Vd_ReferenciaEnerg(false);
        dbgMetoAvalEnergColumn = kSelection;
    }
    postMethodRow();
    return true;
}

bool EnergyPage::chooseFactor(const QString& method, const QString& dataType, const QString& code)
{
    if (readOnly())
        return false;
    records::DataSet& rows = m_form.cdsDadoAvalEnerg;
    if (!rows.locate(QStringLiteral("CDTBMETOAVAL;CDTIPODADO"), {method, dataType}))
        hostfw::MensErro(QStringLiteral("O método '%1' não pede o dado '%2' nesta consulta.")
                             .arg(method, dataType),
                         true);
    // The pick the user would make: the row of the list with this code.
    const records::DataSet* list = nullptr;
    QString field = QStringLiteral("CDFATOR");
    if (method == M::kCatchUp && dataType == T::kRda) {
        list = &cdsRefeRecom;
        field = QStringLiteral("CDRFNUTRECOM");
    } else if (method == M::kHarris && dataType == T::kFatorInjuria) {
        list = &cdsFatoInju;
        field = kInjury;
    } else {
        list = pickList(method, dataType);
    }
    bool listed = false;
    for (int row = 0; list && row < list->recordCount(); ++row)
        listed = listed || list->asStringAt(row, field) == code;
    if (!listed)
        hostfw::MensErro(QStringLiteral("'%1' não está na lista do dado '%2' do método '%3'.")
                             .arg(code, dataType, method),
                         true);
    hostfw::PickScript pick({hostfw::PickAnswer::where(field, code)});
    dbgDadoAvalEnergEditButtonClick();
    return true;
}

}  // namespace workspace
