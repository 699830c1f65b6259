// The page "Recomendação de Nutriente": which nutrient recommendations the dietitian
// wants for the consultation, checked against the server before the nutrient amounts
// are computed and stored.

#include "recommendation_page.h"
#include "energy_page.h"
#include "module_context.h"
#include "workspace_messages.h"

#include "hostfw/confirm.h"
#include "hostfw/error_display.h"
#include "hostfw/errors.h"
#include "hostfw/numbers.h"
#include "hostfw/pick_list.h"
#include "hostfw/reply_check.h"
#include "hostfw/text.h"
#include "records/layouts.h"
#include "records/packet_codec.h"

#include <QRegularExpression>

namespace workspace {

namespace {

const QString kReference = QStringLiteral("CDRFNUTRECOM");
const QString kReferenceName = QStringLiteral("DSRFNUTRECOM");
const QString kGroup = QStringLiteral("CDGRUPNUTR");
const QString kGroupName = QStringLiteral("NMGRUPNUTR");
const QString kNames = QStringLiteral("NMNUTRESC");
const QString kCodes = QStringLiteral("CODSNUTRESC");
const QString kPatientType = QStringLiteral("IDTPCOMPACI");
const QString kNutrient = QStringLiteral("CDNUTRIENTE");
const QString kNutrientName = QStringLiteral("NMNUTRIENTE");

const hostfw::TMessages& msgRecom()
{
    static const hostfw::TMessages table = hostfw::TMessages::fromText(QStringLiteral(R"(
        Refe|Referência
        Refe_NHa|Não há referência cadastrada.
        Refe_NCad|Referência não cadastrada.
        Grupo|Grupo de Nutriente
        Grupo_NHa|Não há grupo de nutriente cadastrado.
        Grupo_NCad|Grupo de nutriente não cadastrado.
        Nutr|Nutrientes
        Nutr_NHa|Não há nutriente cadastrado.
        REF_INF|Referencia deve ser informada.
        GRUP_INF|Grupo de nutrientes deve ser informado.
        Refer_JCad|Referência já cadastrada.
        Refer_NExist|Não existe nutriente cadastrado para referência e grupo de nutriente informado.
        Conf_Excl|Confirma exclusão?
        Normal|Normal
        Atleta|Atleta
        Gestante|Gestante
        Nutriz|Nutriz
    )"));
    return table;
}

QString msg(const char* key)
{
    return msgRecom().Msg(QString::fromLatin1(key));
}

// A literal of a dataset filter (a quote inside is doubled).
QString literal(const QString& text)
{
    return QStringLiteral("'") + QString(text).replace(u'\'', QStringLiteral("''"))
           + QStringLiteral("'");
}

// The item index of each patient type and the code the server knows it by.
const char* const kTypeCodes[] = {"0", "3", "1", "2"};

}  // namespace

RecommendationPage::RecommendationPage(AssessmentForm& form)
    : cdsRefeRecom(records::layouts::cdsRefeRecom()),
      cdsGrupNutr(records::layouts::cdsGrupNutr()),
      qryPesNutrientes(records::layouts::qryPesNutrientes()),
      qryPesqNmNutr(records::layouts::qryPesqNmNutr()),
      cdsPesqNutrPaci(records::layouts::cdsPesqNutrPaci()),
      cdsNutRecom(records::layouts::cdsNutRecom()),
      m_form(form)
{
}

void RecommendationPage::prepareDataSets()
{
    records::DataSet& recs = m_form.cdsNutrRefe;
    recs.beforeInsert = [this](records::DataSet&) {
        if (readOnly())
            throw hostfw::Abort();
        chosenCodes.clear();
    };
    recs.afterInsert = [this](records::DataSet&) { focusColumn(kReference); };
    recs.beforeEdit = [this](records::DataSet& ds) {
        if (readOnly())
            throw hostfw::Abort();
        chosenCodes = ds.asString(kCodes);
        m_editedKey = {ds.asString(kReference), ds.asString(kGroup)};
    };
    recs.beforePost = [this](records::DataSet&) { beforePost(); };
    recs.afterPost = [this](records::DataSet&) {
        applyNutrientFilter();
        Calcula_RecomNutri();
        reloadConsultation();
    };
    recs.afterCancel = [this](records::DataSet&) {
        reloadConsultation();
        applyNutrientFilter();
    };
    recs.beforeDelete = [this](records::DataSet& ds) {
        if (readOnly())
            throw hostfw::Abort();
        if (ds.state() == records::DataSetState::Insert)
            return;  // nothing of it is on the server yet
        hostfw::CheckResultServ(m_form.netAvalNutrEnerg.DelNutrePaci(
                                    m_form.key(), ds.asString(kReference), ds.asString(kGroup)),
                                true, 0);
    };
    recs.afterScroll = [this](records::DataSet&) {
        if (!m_walking)
            applyNutrientFilter();
    };
    recs.afterOpen = [this](records::DataSet&) { openRecommendations(); };
    // Reference and group are shown by name except while their cell is being edited.
    recs.setDisplayTextHandler(kReference, [](const records::DataSet& ds, int row) {
        const QString name = ds.asStringAt(row, kReferenceName);
        return name.isEmpty() ? ds.asStringAt(row, kReference) : name;
    });
    recs.setDisplayTextHandler(kGroup, [](const records::DataSet& ds, int row) {
        const QString name = ds.asStringAt(row, kGroupName);
        return name.isEmpty() ? ds.asStringAt(row, kGroup) : name;
    });
}

void RecommendationPage::Calcula_RecomNutri()
{
    if (m_calculate)
        m_calculate(m_form);
}

void RecommendationPage::enterPage()
{
    if (m_form.medPesoAdRec.isEmpty())
        m_form.medPesoAdRec = QStringLiteral("0");
    m_form.cdsNutrePaci.loadPacket(records::packetAt(oleDados, 7));
    m_form.cdsNutrRefe.loadPacket(records::packetAt(oleDados, 6));
    const auto firstRecorded = [this](const QString& type) {
        const records::Packet values = records::decodePacket(hostfw::CheckResultServ(
            m_form.netAvalNutrEnerg.GetInfoAval(m_form.key(), type), true, 0));
        if (values.rows.isEmpty())
            return QString();
        records::DataSet ds(records::layouts::cdsInfoAval());
        ds.loadPacket(values);
        return ds.asString(QStringLiteral("DSINFOAVAL"));
    };
    medPesoRec = firstRecorded(QStringLiteral("01"));
    const QString height = firstRecorded(QStringLiteral("02"));
    const std::optional<double> number =
        hostfw::TryStrToFloat(hostfw::NormalizeTypedNumber(height));
    medAlturaRec = number ? hostfw::FloatToStr(*number) : QString();
    applyNutrientFilter();
    focusColumn(QStringLiteral("dbgRefeRecom"));
}

void RecommendationPage::openRecommendations()
{
    rebuildPatientTypes();
    records::DataSet& recs = m_form.cdsNutrRefe;
    bool isNumber = false;
    const int index = recs.asString(kPatientType).toInt(&isNumber);
    cbbTipoPaciIndex = !isNumber ? 0 : index >= 0 && index < cbbTipoPaci.size() ? index : -1;
    computeCalculatedFields();
}

void RecommendationPage::rebuildPatientTypes()
{
    cbbTipoPaci = {msg("Normal"), msg("Atleta")};
    if (m_form.sexLetter() == u"F")
        cbbTipoPaci << msg("Gestante") << msg("Nutriz");
}

QString RecommendationPage::patientTypeCode() const
{
    if (cbbTipoPaciIndex < 0 || cbbTipoPaciIndex >= cbbTipoPaci.size())
        return QString();
    return QString::fromLatin1(kTypeCodes[cbbTipoPaciIndex]);
}

bool RecommendationPage::choosePatientType(const QString& text)
{
    const int index = cbbTipoPaci.indexOf(text);
    if (index < 0)
        return false;
    cbbTipoPaciIndex = index;
    m_form.repaint();
    return true;
}

QString RecommendationPage::dbePesoIdeal() const
{
    const records::DataSet& rows = m_form.cdsNutrePaci;
    return rows.isEmpty() ? QString() : rows.asString(QStringLiteral("DSPESOIDEAL"));
}

void RecommendationPage::applyNutrientFilter()
{
    records::DataSet& recs = m_form.cdsNutrRefe;
    records::DataSet& rows = m_form.cdsNutrePaci;
    rows.setFiltered(false);
    rows.setFilter(QStringLiteral("CDRFNUTRECOM =") + literal(recs.asString(kReference))
                   + QStringLiteral(" and CDGRUPNUTR   =") + literal(recs.asString(kGroup)));
    rows.setFiltered(true);
}

// Each recommendation's codes ("_001_017_") and names ("Cálcio | Ferro ") from its
// nutrient rows.
void RecommendationPage::computeCalculatedFields()
{
    records::DataSet& recs = m_form.cdsNutrRefe;
    records::DataSet& rows = m_form.cdsNutrePaci;
    if (recs.isEditing() || rows.isEditing())
        return;
    const bool wasFiltered = rows.filtered();
    rows.setFiltered(false);
    m_walking = true;
    try {
        for (recs.first(); !recs.eof(); recs.next()) {
            QString codes;
            QString names;
            for (int r = 0; r < rows.recordCount(); ++r) {
                if (rows.asStringAt(r, kReference) != recs.asString(kReference)
                    || rows.asStringAt(r, kGroup) != recs.asString(kGroup))
                    continue;
                codes += u'_' + rows.asStringAt(r, kNutrient);
                names += rows.asStringAt(r, kNutrientName) + QStringLiteral(" | ");
            }
            codes += u'_';
            if (!names.isEmpty())
                names.chop(2);
            recs.setValue(kNames, names.isEmpty() ? QVariant() : QVariant(names));
            recs.setValue(kCodes, codes == u"_" ? QVariant() : QVariant(codes));
        }
    } catch (...) {
        m_walking = false;
        rows.setFiltered(wasFiltered);
        throw;
    }
    m_walking = false;
    rows.setFiltered(wasFiltered);
    recs.first();
}

void RecommendationPage::fetchFactorGroups(const QString& reference, const QString& group)
{
    const QJsonValue groups = hostfw::CheckResultServ(
        m_form.netAvalNutrEnerg.GetRefFatGrup(QString(), reference, group), true, 0);
    cdsRefeRecom.loadPacket(records::packetAt(groups, 1));
    cdsGrupNutr.loadPacket(records::packetAt(groups, 2));
}

QString RecommendationPage::nutrientNames(records::DataSet& nutrients) const
{
    QString names;
    for (int r = 0; r < nutrients.recordCount(); ++r)
        names += nutrients.asStringAt(r, kNutrientName) + QStringLiteral(" | ");
    if (!names.isEmpty())
        names.chop(2);
    return names;
}

void RecommendationPage::dbgRefeRecomEditButtonClick(const QString& column)
{
    records::DataSet& recs = m_form.cdsNutrRefe;
    if (readOnly())
        return;
    fetchFactorGroups(QString(), QString());
    if (column == kReference) {
        if (!hostfw::Pesquisar(cdsRefeRecom, msg("Refe") + u'|' + msg("Refe_NHa"), false, true))
            return;
        recs.edit();
        recs.setValue(kReferenceName, cdsRefeRecom.value(kReferenceName));
        recs.setValue(kReference, cdsRefeRecom.value(kReference));
    } else if (column == kGroup) {
        if (!hostfw::Pesquisar(cdsGrupNutr, msg("Grupo") + u'|' + msg("Grupo_NHa"), false, true))
            return;
        recs.edit();
        recs.setValue(kGroupName, cdsGrupNutr.value(kGroupName));
        recs.setValue(kGroup, cdsGrupNutr.value(kGroup));
    } else if (column == kNames) {
        const QString group = recs.asString(kGroup);
        if (group != m_nutrientGroupLoaded || group.isEmpty()) {
            // No group yet: an empty list, whose message says so.
            qryPesNutrientes.loadPacket(
                group.isEmpty() ? records::Packet()
                                : records::decodePacket(hostfw::CheckResultServ(
                                    m_form.netAvalNutrEnerg.GetPesNutrientes(group), true, 0)));
            m_nutrientGroupLoaded = group;
        }
        if (!recs.isEditing())
            chosenCodes = recs.asString(kCodes);
        QString chosen = chosenCodes;
        if (!hostfw::PesquisaLista(qryPesNutrientes, msg("Nutr") + u'|' + msg("Nutr_NHa"),
                                   kNutrient, false, chosen))
            return;
        recs.edit();
        chosenCodes = chosen;
        oleDados = hostfw::CheckResultServ(
            m_form.netAvalNutrEnerg.GetDados(m_form.key(), m_form.codedAge()), true, 0);
        m_form.cdsNutrePaci.loadPacket(records::packetAt(oleDados, 7));
        qryPesqNmNutr.loadPacket(records::decodePacket(hostfw::CheckResultServ(
            m_form.netAvalNutrEnerg.GetPesqNmNutr(group, chosenCodes), true, 0)));
        const QString names = nutrientNames(qryPesqNmNutr);
        recs.setValue(kNames, names.isEmpty() ? QVariant() : QVariant(names));
        recs.setValue(kCodes, chosenCodes.isEmpty() ? QVariant() : QVariant(chosenCodes));
    }
    m_form.repaint();
}

void RecommendationPage::dbgRefeRecomColExit(const QString& column)
{
    records::DataSet& recs = m_form.cdsNutrRefe;
    if (!recs.isEditing() || (column != kReference && column != kGroup))
        return;
    const QString typed = recs.asString(column).trimmed();
    if (typed.isEmpty())
        return;
    const bool reference = column == kReference;
    // A code longer than the field is no code of the list.
    const QString code = hostfw::Ajusta(typed, 2);
    if (code.size() > 2) {
        focusColumn(column);
        hostfw::MensErro(msg(reference ? "Refe_NCad" : "Grupo_NCad"), true);
    }
    fetchFactorGroups(reference ? code : QString(), reference ? QString() : code);
    records::DataSet& list = reference ? cdsRefeRecom : cdsGrupNutr;
    list.first();
    if (list.isEmpty() || list.asString(column) != code) {
        focusColumn(column);
        hostfw::MensErro(msg(reference ? "Refe_NCad" : "Grupo_NCad"), true);
    }
    const QString nameField = reference ? kReferenceName : kGroupName;
    recs.setValue(nameField, list.value(nameField));
    recs.setValue(column, code);
    m_form.repaint();
}

void RecommendationPage::beforePost()
{
    records::DataSet& recs = m_form.cdsNutrRefe;
    const QString reference = recs.asString(kReference);
    const QString group = recs.asString(kGroup);
    if (reference.isEmpty()) {
        focusColumn(kReference);
        hostfw::MensErro(msg("REF_INF"), true);
    }
    if (group.isEmpty()) {
        focusColumn(kGroup);
        hostfw::MensErro(msg("GRUP_INF"), true);
    }
    if (recs.asString(kNames).isEmpty())
        focusColumn(kNames);
    // The amounts are computed after the rows are deleted: an adequate weight they could
    // not be computed for is refused before.
    const QString adequate = m_form.medPesoAdRec.trimmed();
    const std::optional<double> weight =
        hostfw::TryStrToFloat(hostfw::NormalizeTypedNumber(adequate));
    if (!adequate.isEmpty() && (!weight || *weight < 0))
        hostfw::MensErro(msgPadrao().Msg(QStringLiteral("peso_adeq_inv")), true);
    // A recommendation moved to another reference or group is a new one there.
    const bool isNew =
        recs.state() == records::DataSetState::Insert || m_editedKey != std::pair(reference, group);
    const QString sex = m_form.sexLetter();
    const records::Packet existing =
        records::packetAt(hostfw::CheckResultServ(m_form.netAvalNutrEnerg.GetPesqNutrPaci(
                                                      m_form.key(), reference, group, sex,
                                                      QString(), m_form.codedAge(), QString()),
                                                  true, 0),
                          0);
    if (!existing.rows.isEmpty() && isNew) {
        focusColumn(kReference);
        hostfw::MensErro(msg("Refer_JCad"), true);
    }
    const QJsonValue ranges = hostfw::CheckResultServ(
        m_form.netAvalNutrEnerg.GetPesqNutrPaci(m_form.key(), reference, group, sex,
                                                patientTypeCode(), m_form.codedAge(), chosenCodes),
        true, 0);
    if (records::packetAt(ranges, 1).rows.isEmpty()) {
        focusColumn(kReference);
        hostfw::MensErro(msg("Refer_NExist"), true);
    }
    hostfw::CheckResultServ(m_form.netAvalNutrEnerg.DelNutrePaci(m_form.key(), reference, group),
                            true, 0);
    // The rows of the place the recommendation left go with it.
    if (recs.state() == records::DataSetState::Edit && isNew && !m_editedKey.first.isEmpty())
        hostfw::CheckResultServ(m_form.netAvalNutrEnerg.DelNutrePaci(
                                    m_form.key(), m_editedKey.first, m_editedKey.second),
                                true, 0);
    recs.setValue(kCodes, chosenCodes.isEmpty() ? QVariant() : QVariant(chosenCodes));
}

void RecommendationPage::reloadConsultation()
{
    m_form.sbtVerificarClick();
}

void RecommendationPage::include()
{
    if (readOnly())
        return;
    m_form.cdsNutrRefe.append();
    m_form.repaint();
}

bool RecommendationPage::deleteRecommendation()
{
    records::DataSet& recs = m_form.cdsNutrRefe;
    if (readOnly() || recs.isEmpty())
        return false;
    if (!hostfw::Confirm(msg("Conf_Excl")))
        return false;
    {
        hostfw::BusyGuard busy(m_form.busyIndicator(), hostfw::AviKind::Processing);
        recs.remove();
        reloadConsultation();
    }
    return true;
}

void RecommendationPage::post()
{
    try {
        m_form.cdsNutrRefe.post();
    } catch (...) {
        m_form.repaint();
        throw;
    }
    m_form.repaint();
}

void RecommendationPage::cancel()
{
    m_form.cdsNutrRefe.cancel();
    m_form.repaint();
}

void RecommendationPage::typeCode(const QString& column, const QString& code)
{
    records::DataSet& recs = m_form.cdsNutrRefe;
    if (readOnly())
        return;
    if (!recs.isEditing())
        recs.edit();
    // The cell takes at most two characters; more is no code of the list.
    if (code.size() > 2) {
        focusColumn(column);
        hostfw::MensErro(msg(column == kReference ? "Refe_NCad" : "Grupo_NCad"), true);
    }
    recs.setValue(column, code.isEmpty() ? QVariant() : QVariant(code));
    dbgRefeRecomColExit(column);
}

void RecommendationPage::chooseNutrients(const QStringList& codes)
{
    static const QRegularExpression shape(QStringLiteral("^[0-9]{3}$"));
    const QString group = m_form.cdsNutrRefe.asString(kGroup);
    if (group.isEmpty()) {
        focusColumn(kGroup);
        hostfw::MensErro(msg("GRUP_INF"), true);
    }
    for (const QString& code : codes) {
        if (!shape.match(code).hasMatch())
            hostfw::MensErro(
                QStringLiteral("'%1' não é um código de nutriente (três algarismos).").arg(code),
                true);
    }
    // The group's list as the pick dialog shows it; a code it lacks is refused.
    records::DataSet list(records::layouts::qryPesNutrientes());
    list.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(m_form.netAvalNutrEnerg.GetPesNutrientes(group), true, 0)));
    for (const QString& code : codes) {
        if (!list.locate(kNutrient, code))
            hostfw::MensErro(QStringLiteral("O nutriente '%1' não é do grupo de nutriente '%2'.")
                                 .arg(code, group),
                             true);
    }
    hostfw::PickScript pick({hostfw::PickAnswer::codes(codes)});
    dbgRefeRecomEditButtonClick(kNames);
}

void RecommendationPage::focusColumn(const QString& column)
{
    focusedColumn = column;
    emit m_form.focusRequested(column);
}

}  // namespace workspace
