#include "evaluation.h"

#include "evaluation_messages.h"
#include "reference_queries.h"

#include "hostfw/errors.h"
#include "hostfw/numbers.h"
#include "hostfw/reply_check.h"
#include "hostfw/text.h"
#include "records/catalogue_descriptors.h"
#include "records/layouts.h"
#include "records/packet_codec.h"
#include "workspace/assessment_form.h"
#include "workspace/module_context.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace anthropometry {

namespace {

const QString kDataType = QStringLiteral("CDTIPODADO");
const QString kMethod = QStringLiteral("CDTBMETOAVAL");
const QString kText = QStringLiteral("DSINFOAVAL");
const QString kUnit = QStringLiteral("DSUNIDDADO");
// The label of the value column, named by the conversion error.
const QString kValueLabel = QStringLiteral("Valor");

// The text of the grid row of a data type; nothing when the grid has no such row. A grid
// with a row per method and data type (the energy tab's) is read on the method's rows.
std::optional<QString> gridText(const records::DataSet& grid, const QString& dataType,
                                const QString& method, const QString& field = kText)
{
    if (!grid.hasField(field))
        return std::nullopt;
    const bool perMethod = grid.hasField(kMethod);
    for (int row = 0; row < grid.recordCount(); ++row) {
        if (grid.asStringAt(row, kDataType) == dataType
            && (!perMethod || grid.asStringAt(row, kMethod) == method))
            return grid.asStringAt(row, field);
    }
    return std::nullopt;
}

Measure realMeasure(const std::optional<QString>& text)
{
    if (!text || hostfw::EmptyString(*text))
        return {};
    return {true, hostfw::StrToFloat(*text, kValueLabel)};
}

}  // namespace

int wholeNumber(const QString& text, const QString& fieldLabel)
{
    static const QRegularExpression whole(QStringLiteral("^\\s*[+-]?\\d{1,9}\\s*$"));
    if (!whole.match(text).hasMatch())
        throw hostfw::ConversionError(
            QStringLiteral("'%1' não é um valor inteiro válido para o campo '%2'.")
                .arg(text, fieldLabel));
    return text.trimmed().toInt();
}

QString lineNumber(int sequence)
{
    return QStringLiteral("%1").arg(sequence, 2, 10, QLatin1Char('0'));
}

PageDataSets pageDataSetsOf(workspace::AssessmentForm& form, const QString& method)
{
    if (records::isEnergyMethod(method))
        return {form.cdsDadoAvalEnerg, form.cdsResuAvalEnerg};
    return {form.cdsDadosAval, form.cdsResuAval};
}

Evaluation::Evaluation(workspace::AssessmentForm& form, PageDataSets page,
                       ReferenceQueries& queries, QString method, QString reference)
    : m_form(form),
      m_page(page),
      m_queries(queries),
      m_method(std::move(method)),
      m_reference(std::move(reference))
{
}

records::AppServer& Evaluation::server()
{
    return m_form.netAvalNutrEnerg;
}

const QString& Evaluation::sexLetter() const
{
    return m_form.sexLetter();
}

Measure Evaluation::readFromGrid(const QString& dataType) const
{
    return realMeasure(gridText(m_page.dataEntry, dataType, m_method));
}

Measure Evaluation::readWholeFromGrid(const QString& dataType) const
{
    const std::optional<QString> text = gridText(m_page.dataEntry, dataType, m_method);
    if (!text || hostfw::EmptyString(*text))
        return {};
    return {true, double(wholeNumber(*text, kValueLabel))};
}

QString Evaluation::readTextFromGrid(const QString& dataType) const
{
    return gridText(m_page.dataEntry, dataType, m_method).value_or(QString());
}

Measure Evaluation::readLimbCountFromGrid(const QString& dataType) const
{
    const std::optional<QString> unit = gridText(m_page.dataEntry, dataType, m_method, kUnit);
    if (!unit || hostfw::EmptyString(*unit))
        return {};
    return {true, double(wholeNumber(*unit, kValueLabel))};
}

Measure Evaluation::readRecordedValue(const QString& dataType)
{
    const QString text = readRecordedText(dataType);
    if (text.isEmpty())
        return {};
    return realMeasure(text);
}

QString Evaluation::readRecordedText(const QString& dataType)
{
    records::DataSet& info = m_form.cdsInfoAval;
    info.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(server().GetInfoAval(m_form.key(), dataType), true, 0)));
    if (!info.locate(kMethod, m_method))
        return {};
    return info.asString(kText);
}

double Evaluation::codedAge() const
{
    return m_form.codedAge();
}

void Evaluation::writeResultLine(int sequence, const QString& label, const QString& value)
{
    records::DataSet& lines = m_page.results;
    const records::ConsultationKey key = m_form.key();
    const QString number = lineNumber(sequence);
    if (lines.locate(QStringLiteral("CDFILIAL;CDPACIENTE;DTCONSPACI;CDTBMETOAVAL;CDSEQUAVAL"),
                     {key.branch, key.patient, key.date, m_method, number}))
        return;
    lines.append();
    lines.setValue(kMethod, m_method);
    lines.setValue(QStringLiteral("CDPACIENTE"), key.patient);
    lines.setValue(QStringLiteral("DTCONSPACI"), key.date);
    lines.setValue(QStringLiteral("CDSEQUAVAL"), number);
    lines.setValue(QStringLiteral("DSCONTRESU"), label);
    lines.setValue(QStringLiteral("DSRESUAVAL"), value);
    try {
        lines.post();  // fills CDFILIAL and writes through with SetResuAval
    } catch (...) {
        if (lines.isEditing())
            lines.cancel();
        throw;
    }
}

void Evaluation::writeNoClassification()
{
    writeResultLine(1, msgAvaliacao().Msg(QStringLiteral("S_Class")), QString());
}

void Evaluation::writeNoClassificationInReference()
{
    writeResultLine(1, msgAvaliacao().Msg(QStringLiteral("N_Class_Ref")), QString());
}

bool Evaluation::maleOrFemaleElseNoClassification()
{
    if (sexLetter() == u"M" || sexLetter() == u"F")
        return true;
    writeNoClassification();
    return false;
}

records::DataSet& Evaluation::query(const records::DataSetLayout& layout,
                                    const records::Reply& reply)
{
    return m_queries.load(layout, reply);
}

const QString& Evaluation::ageText() const
{
    return m_form.edtIdade;
}

int Evaluation::ageYears() const
{
    return m_form.ageYears();
}

PercentileBracket Evaluation::percentileBracket(double value, const BracketRules& rules)
{
    namespace L = records::layouts;
    olePercentil = QJsonArray{QJsonValue(), QJsonValue(), QJsonValue()};
    olePercentil = m_queries.loadEach(
        {&L::cdsPesqPer(), &L::cdsPercentilMaior(), &L::cdsPercentilMenor()},
        server().GetPercentil(m_reference, m_method, codedAge(), sexLetter(), m_reference, value));
    return bracketOf(m_queries.dataSet(L::cdsPesqPer()), m_queries.dataSet(L::cdsPercentilMaior()),
                     m_queries.dataSet(L::cdsPercentilMenor()), value, rules);
}

}  // namespace anthropometry
