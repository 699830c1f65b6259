#include "growth_chart.h"

#include "assessment_form.h"
#include "module_context.h"

#include "hostfw/reply_check.h"
#include "records/catalogue_descriptors.h"
#include "records/error.h"
#include "records/growth_methods.h"
#include "records/packet_codec.h"

#include <QMap>

#include <cmath>

namespace workspace {
namespace {

using records::GrowthIndex;
namespace data_type = records::data_type;

// WHO's days per month (365.25 / 12): the age in months of a day count.
constexpr double kDaysPerMonth = 30.4375;

records::Packet packetOf(const records::Reply& reply)
{
    return records::decodePacket(hostfw::CheckResultServ(reply, true, 0));
}

QString axisTitle(GrowthIndex index)
{
    switch (index) {
    case GrowthIndex::WeightForLength:
        return QStringLiteral("Comprimento (cm)");
    case GrowthIndex::WeightForHeight:
        return QStringLiteral("Altura (cm)");
    default:
        return QStringLiteral("Idade (meses)");
    }
}

QString valueTitle(GrowthIndex index)
{
    switch (index) {
    case GrowthIndex::HeightForAge:
        return QStringLiteral("Comprimento/Altura (cm)");
    case GrowthIndex::HeadCircumferenceForAge:
        return QStringLiteral("Perímetro Cefálico (cm)");
    default:
        return QStringLiteral("Peso (kg)");
    }
}

// The data type drawn up the chart and, for weight for length or height, the one along it.
QString measuredType(GrowthIndex index)
{
    switch (index) {
    case GrowthIndex::HeightForAge:
        return data_type::kAltura;
    case GrowthIndex::HeadCircumferenceForAge:
        return data_type::kPerimetroCefalico;
    default:
        return data_type::kPeso;
    }
}

// A recorded text as a number ("0,92" or "0.92"); nothing for an empty or non-positive
// value, or a text that is no number.
std::optional<double> recordedNumber(const QString& text)
{
    bool ok = false;
    const double value =
        QString(text).replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&ok);
    if (!ok || !(value > 0))
        return std::nullopt;
    return value;
}

// A height recorded in metres, in centimetres settled to the millimetre.
double centimetres(double metres)
{
    return std::round(metres * 1000) / 10;
}

// The value of a data type at each of the patient's consultations up to the key's date: the
// value recorded for the chart's method when there is one, else the first by method code.
QMap<QDate, double> history(records::AppServer& server, const records::ConsultationKey& key,
                            const QString& dataType, const QString& method)
{
    const records::Packet packet = packetOf(server.GetHistInfoAval(key, dataType));
    QMap<QDate, double> byDate;
    QMap<QDate, bool> ofMethod;
    for (int row = 0; row < packet.rows.size(); ++row) {
        const auto value =
            recordedNumber(packet.value(row, QStringLiteral("DSINFOAVAL")).toString());
        if (!value)
            continue;
        const QDate date =
            records::parseDateTime(packet.value(row, QStringLiteral("DTCONSPACI")).toString())
                .date();
        const bool own = packet.value(row, QStringLiteral("CDTBMETOAVAL")).toString() == method;
        if (!byDate.contains(date) || (own && !ofMethod.value(date))) {
            byDate.insert(date, *value);
            ofMethod.insert(date, own);
        }
    }
    return byDate;
}

double ageInMonths(const QDate& birth, const QDate& date)
{
    return birth.daysTo(date) / kDaysPerMonth;
}

QString percentileLabel(const QString& code)
{
    bool ok = false;
    const int whole = code.toInt(&ok);
    return QStringLiteral("P") + (ok ? QString::number(whole) : code);
}

}  // namespace

QString GrowthChart::heading() const
{
    return title + QStringLiteral("\nReferência: ") + referenceName + QStringLiteral("\nPaciente: ")
           + patientName;
}

const QStringList& drawnPercentiles()
{
    static const QStringList codes = {
        QStringLiteral("003"), QStringLiteral("010"), QStringLiteral("025"), QStringLiteral("050"),
        QStringLiteral("075"), QStringLiteral("090"), QStringLiteral("097")};
    return codes;
}

bool isGrowthMethod(const QString& method)
{
    return records::findGrowthMethod(method) != nullptr;
}

GrowthChart buildGrowthChart(records::AppServer& server, const GrowthChartSubject& subject)
{
    const records::GrowthMethod* method = records::findGrowthMethod(subject.method);
    if (!method)
        throw records::Error(
            QStringLiteral("O método %1 não tem curva de crescimento (métodos 15 e 37 a 47).")
                .arg(subject.method));
    GrowthChart chart;
    chart.method = subject.method;
    chart.title = subject.methodName;
    chart.referenceName = subject.referenceName;
    chart.patientName =
        subject.patientName + QStringLiteral(" (") + subject.key.patient + QStringLiteral(")");
    chart.xTitle = axisTitle(method->index);
    chart.yTitle = valueTitle(method->index);
    chart.xMin = method->from;
    chart.xMax = method->to;

    // The curves: one series per drawn percentile, along the axis.
    const records::Packet curves =
        packetOf(server.GetCurvaCrescimento(subject.reference, subject.method, subject.sexLetter));
    QMap<QString, QList<QPointF>> byCode;
    for (int row = 0; row < curves.rows.size(); ++row) {
        const QString code = curves.value(row, QStringLiteral("CDPERCENTIL")).toString();
        if (drawnPercentiles().contains(code))
            byCode[code].append({curves.value(row, QStringLiteral("VREIXO")).toDouble(),
                                 curves.value(row, QStringLiteral("VRPERCENTIL")).toDouble()});
    }
    if (byCode.isEmpty())
        throw records::Error(QStringLiteral("A referência %1 não tem as curvas do método %2 para "
                                            "o sexo '%3'.")
                                 .arg(subject.reference, subject.method, subject.sexLetter));
    for (auto it = byCode.cbegin(); it != byCode.cend(); ++it)
        chart.curves.append({it.key(), percentileLabel(it.key()), it.value()});

    // The measurements of each consultation up to this one.
    QMap<QDate, QPointF> points;
    if (method->alongAge()) {
        const bool inCm = method->index == GrowthIndex::HeightForAge;
        const QMap<QDate, double> values =
            history(server, subject.key, measuredType(method->index), subject.method);
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (subject.birth.isValid() && subject.birth <= it.key())
                points.insert(it.key(), {ageInMonths(subject.birth, it.key()),
                                         inCm ? centimetres(it.value()) : it.value()});
        }
    } else {
        const QMap<QDate, double> heights =
            history(server, subject.key, data_type::kAltura, subject.method);
        const QMap<QDate, double> weights =
            history(server, subject.key, data_type::kPeso, subject.method);
        for (auto it = weights.cbegin(); it != weights.cend(); ++it) {
            if (heights.contains(it.key()))
                points.insert(it.key(), {centimetres(heights.value(it.key())), it.value()});
        }
    }
    const QDate current = subject.key.date.date();
    for (auto it = points.cbegin(); it != points.cend(); ++it) {
        if (it.value().x() < method->from || it.value().x() > method->to) {
            ++chart.measuresOutOfRange;
            continue;
        }
        chart.measures.append({it.key(), it.value(), it.key() == current});
    }
    return chart;
}

QStringList selectedGrowthMethods(const AssessmentForm& form)
{
    QStringList methods;
    const records::DataSet& list = form.cdsMetoAval;
    for (int row = 0; row < list.recordCount(); ++row) {
        const QString code = list.asStringAt(row, QStringLiteral("CDTBMETOAVAL"));
        if (list.asStringAt(row, QStringLiteral("IDTABELAAV")) == u"S" && isGrowthMethod(code))
            methods.append(code);
    }
    return methods;
}

GrowthChartSubject growthChartSubject(AssessmentForm& form, const QString& method)
{
    const records::DataSet& list = form.cdsMetoAval;
    int found = -1;
    for (int row = 0; row < list.recordCount() && found < 0; ++row) {
        if (list.asStringAt(row, QStringLiteral("CDTBMETOAVAL")) == method)
            found = row;
    }
    if (found < 0)
        throw records::Error(
            QStringLiteral("A consulta não oferece o método %1 a este paciente.").arg(method));
    GrowthChartSubject s;
    s.key = form.key();
    s.patientName = stNmPaciente;
    s.sexLetter = form.sexLetter();
    s.birth = dtNasc.date();
    s.method = method;
    s.methodName = list.asStringAt(found, QStringLiteral("NMTBMETOAVAL"));
    s.reference = list.asStringAt(found, QStringLiteral("CDTABELACO"));
    s.referenceName = list.asStringAt(found, QStringLiteral("NMREFEBIBL"));
    // No reference chosen: the method's default.
    if (s.reference.isEmpty()) {
        s.reference = list.asStringAt(found, QStringLiteral("CDTBREFMETOA"));
        s.referenceName.clear();
    }
    if (s.referenceName.isEmpty() && !s.reference.isEmpty()) {
        // Named by the method's reference list.
        const records::MethodDescriptor* descriptor = records::findMethodDescriptor(method);
        const records::Packet names = packetOf(form.netAvalNutrEnerg.GetRefeMeto(
            s.reference, descriptor ? descriptor->referenceOwner() : method));
        for (int row = 0; row < names.rows.size(); ++row) {
            if (names.value(row, QStringLiteral("CDREFEBIBL")).toString() == s.reference)
                s.referenceName = names.value(row, QStringLiteral("NMREFEBIBL")).toString();
        }
    }
    return s;
}

}  // namespace workspace
