#include "report_data.h"

#include "hostfw/numbers.h"
#include "records/error.h"
#include "records/layouts.h"
#include "records/method_codes.h"
#include "records/packet_codec.h"

#include <QJsonArray>

#include <map>

namespace report {
namespace {

namespace layouts = records::layouts;

// The packet at index, checked to carry every field of its layout.
records::Packet packet(const QJsonValue& payload, int index, const records::DataSetLayout& layout)
{
    if (!payload.isArray() || payload.toArray().size() != 5)
        throw records::Error(QStringLiteral("O relatório esperava cinco tabelas do servidor."));
    records::Packet p = records::packetAt(payload, index);
    for (const records::FieldDef& f : layout.fields)
        if (p.fieldIndex(f.name) < 0)
            throw records::Error(QStringLiteral("A tabela %1 do relatório não tem o campo %2.")
                                     .arg(layout.name, f.name));
    return p;
}

QString str(const records::Packet& p, int r, const char* field)
{
    const QVariant v = p.value(r, QLatin1String(field));
    if (v.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(v.toByteArray());
    return v.isValid() ? v.toString() : QString();
}

QDate day(const records::Packet& p, int r, const char* field)
{
    return p.value(r, QLatin1String(field)).toDateTime().date();
}

}  // namespace

std::optional<double> Consultation::number(const QString& dataType) const
{
    for (const Measurement& m : measurements)
        if (m.dataType == dataType)
            if (const auto v = hostfw::TryStrToFloat(m.value))
                return v;
    return std::nullopt;
}

ReportData decodeReport(const QJsonValue& payload)
{
    ReportData d;
    const records::Packet patient = packet(payload, 0, layouts::cdsRelPaciente());
    if (!patient.isEmpty()) {
        d.branch = str(patient, 0, "CDFILIAL");
        d.patient = str(patient, 0, "CDPACIENTE");
        d.patientName = str(patient, 0, "NMPACIENTE");
        d.sexCode = str(patient, 0, "CDSEXO");
        d.birth = day(patient, 0, "DTNASC");
    }
    std::map<QDate, Consultation> byDate;
    const records::Packet cons = packet(payload, 1, layouts::cdsRelConsulta());
    for (int r = 0; r < cons.rows.size(); ++r) {
        Consultation& c = byDate[day(cons, r, "DTCONSPACI")];
        c.date = day(cons, r, "DTCONSPACI");
        c.diagnosisHtml = str(cons, r, "DSHISTAVALNUT");
    }
    // Rows of a consultation the consultations packet does not list are dropped.
    auto consultation = [&](const records::Packet& p, int r) -> Consultation* {
        const auto it = byDate.find(day(p, r, "DTCONSPACI"));
        return it == byDate.end() ? nullptr : &it->second;
    };
    const records::Packet values = packet(payload, 2, layouts::cdsRelDadoAval());
    for (int r = 0; r < values.rows.size(); ++r)
        if (Consultation* c = consultation(values, r))
            c->measurements.append({str(values, r, "CDTBMETOAVAL"), str(values, r, "NMTBMETOAVAL"),
                                    str(values, r, "CDTIPODADO"), str(values, r, "NMTIPODADO"),
                                    str(values, r, "DSINFOAVAL"), str(values, r, "DSUNIDDADO")});
    const records::Packet lines = packet(payload, 3, layouts::cdsRelResuAval());
    for (int r = 0; r < lines.rows.size(); ++r)
        if (Consultation* c = consultation(lines, r))
            c->lines.append({str(lines, r, "IDABA") == QLatin1String("E"),
                             str(lines, r, "CDTBMETOAVAL"), str(lines, r, "NMTBMETOAVAL"),
                             str(lines, r, "DSRESUAVAL"), str(lines, r, "DSCONTRESU")});
    const records::Packet nutr = packet(payload, 4, layouts::cdsRelNutrePaci());
    for (int r = 0; r < nutr.rows.size(); ++r)
        if (Consultation* c = consultation(nutr, r))
            c->nutrients.append({str(nutr, r, "DSRFNUTRECOM"), str(nutr, r, "NMGRUPNUTR"),
                                 str(nutr, r, "NMNUTRIENTE"), str(nutr, r, "SGUNIDADE"),
                                 str(nutr, r, "DSNUTPEATUAL"), str(nutr, r, "DSPESOIDEAL"),
                                 str(nutr, r, "DSNUTPEIDEAL"), str(nutr, r, "DSPESOADEQU"),
                                 str(nutr, r, "DSNUTPEADEQU")});
    for (auto& [date, c] : byDate)
        d.consultations.append(std::move(c));
    return d;
}

QJsonObject reportToJson(const ReportData& d)
{
    QJsonArray consultations;
    for (const Consultation& c : d.consultations) {
        QJsonArray measurements;
        for (const Measurement& m : c.measurements)
            measurements.append(QJsonObject{{"method", m.method},
                                            {"methodName", m.methodName},
                                            {"dataType", m.dataType},
                                            {"name", m.name},
                                            {"value", m.value},
                                            {"unit", m.unit}});
        QJsonArray lines;
        for (const ResultLine& l : c.lines)
            lines.append(QJsonObject{{"tab", l.energy ? "energy" : "assessment"},
                                     {"method", l.method},
                                     {"methodName", l.methodName},
                                     {"result", l.result},
                                     {"description", l.description}});
        QJsonArray nutrients;
        for (const NutrientAmount& n : c.nutrients)
            nutrients.append(QJsonObject{{"reference", n.reference},
                                         {"group", n.group},
                                         {"nutrient", n.nutrient},
                                         {"unit", n.unit},
                                         {"currentWeight", n.currentWeight},
                                         {"idealWeight", n.idealWeight},
                                         {"atIdealWeight", n.atIdealWeight},
                                         {"adequateWeight", n.adequateWeight},
                                         {"atAdequateWeight", n.atAdequateWeight}});
        consultations.append(QJsonObject{{"date", c.date.toString(Qt::ISODate)},
                                         {"measurements", measurements},
                                         {"results", lines},
                                         {"nutrients", nutrients},
                                         {"diagnosisHtml", c.diagnosisHtml}});
    }
    QJsonArray trend;
    for (const TrendPoint& t : trendPoints(d)) {
        QJsonObject point{{"date", t.date.toString(Qt::ISODate)}, {"weight", t.weight}};
        if (t.bmi)
            point.insert(QStringLiteral("bmi"), *t.bmi);
        trend.append(point);
    }
    return QJsonObject{{"report", "Vex122"},
                       {"branch", d.branch},
                       {"patient", d.patient},
                       {"patientName", d.patientName},
                       {"sexCode", d.sexCode},
                       {"birth", d.birth.toString(Qt::ISODate)},
                       {"from", d.from.toString(Qt::ISODate)},
                       {"to", d.to.toString(Qt::ISODate)},
                       {"methods", d.methods},
                       {"consultations", consultations},
                       {"trend", trend}};
}

QList<TrendPoint> trendPoints(const ReportData& d)
{
    QList<TrendPoint> out;
    for (const Consultation& c : d.consultations) {
        const auto weight = c.number(records::data_type::kPeso);
        if (!weight || *weight <= 0)
            continue;
        TrendPoint t{c.date, *weight, std::nullopt};
        // Heights are recorded in metres.
        if (const auto height = c.number(records::data_type::kAltura); height && *height > 0)
            t.bmi = hostfw::RoundDec(*weight / (*height * *height), 2);
        out.append(t);
    }
    return out;
}

}  // namespace report
