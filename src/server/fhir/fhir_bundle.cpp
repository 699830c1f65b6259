#include "fhir_bundle.h"

#include "fhir_codes.h"

#include <records/rich_text.h>

#include <QDateTime>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <QUuid>

#include <cmath>

namespace server::fhir {
namespace {

// Ids are name-based (UUID version 5) under this namespace: the same record gets the same
// id at every export, so a system pulling twice can tell a record it already has.
const QUuid kIdNamespace(QStringLiteral("{5b0e7c7a-3f7e-4c1b-9a57-61a1d3c0f2e4}"));

QString uuidOf(const QStringList& parts)
{
    return QUuid::createUuidV5(kIdNamespace, parts.join(QChar(0x1f)))
        .toString(QUuid::WithoutBraces);
}

QJsonObject coding(const QString& system, const QString& code, const QString& display)
{
    QJsonObject c{{QStringLiteral("system"), system}, {QStringLiteral("code"), code}};
    if (!display.trimmed().isEmpty())
        c.insert(QStringLiteral("display"), display.trimmed());
    return c;
}

// The consultation day as a FHIR date ("2026-12-06"); empty when the stored text is not
// a date.
QString dayOf(const QString& stored)
{
    const QDate d = QDate::fromString(stored.left(10), Qt::ISODate);
    return d.isValid() ? d.toString(Qt::ISODate) : QString();
}

QString genderOf(const QString& sexCode)
{
    if (sexCode == u"0")
        return QStringLiteral("male");
    if (sexCode == u"1")
        return QStringLiteral("female");
    if (sexCode == u"2")
        return QStringLiteral("other");
    return QStringLiteral("unknown");
}

QJsonObject patientResource(const PatientRecord& p, const QString& id)
{
    const QString system =
        kPatientIdentifierPrefix + QString::fromLatin1(QUrl::toPercentEncoding(p.branch));
    QJsonObject patient{
        {QStringLiteral("resourceType"), QStringLiteral("Patient")},
        {QStringLiteral("id"), id},
        {QStringLiteral("identifier"),
         QJsonArray{QJsonObject{{QStringLiteral("use"), QStringLiteral("usual")},
                                {QStringLiteral("system"), system},
                                {QStringLiteral("value"), p.code}}}},
    };
    if (!p.registered)
        return patient;
    if (!p.name.trimmed().isEmpty())
        patient.insert(QStringLiteral("name"),
                       QJsonArray{QJsonObject{{QStringLiteral("text"), p.name.trimmed()}}});
    patient.insert(QStringLiteral("gender"), genderOf(p.sexCode));
    if (p.birth.isValid())
        patient.insert(QStringLiteral("birthDate"), p.birth.toString(Qt::ISODate));
    if (p.deceased)
        patient.insert(QStringLiteral("deceasedBoolean"), true);
    return patient;
}

QJsonObject quantity(double value, const std::optional<QString>& ucum, const QString& shown)
{
    QJsonObject q{{QStringLiteral("value"), value}};
    if (ucum) {
        q.insert(QStringLiteral("unit"), *ucum);
        q.insert(QStringLiteral("system"), kUcumSystem);
        q.insert(QStringLiteral("code"), *ucum);
    } else if (!shown.isEmpty()) {
        q.insert(QStringLiteral("unit"), shown);
    }
    return q;
}

// Builds the entries as it goes: the patient first (when an observation needs it).
class BundleWriter
{
public:
    explicit BundleWriter(const PatientRecord& patient)
        : m_patient(patient),
          m_patientId(uuidOf({QStringLiteral("paciente"), patient.branch, patient.code}))
    {
    }

    // An observation of the consultation day with its code; the caller adds the value.
    QJsonObject observation(const QStringList& idParts, const QString& day, Category category,
                            const QJsonArray& codings, const QString& text)
    {
        const QString id = uuidOf(
            QStringList{QStringLiteral("observacao"), m_patient.branch, m_patient.code} + idParts);
        QJsonObject code{{QStringLiteral("coding"), codings}};
        if (!text.trimmed().isEmpty())
            code.insert(QStringLiteral("text"), text.trimmed());
        return {
            {QStringLiteral("resourceType"), QStringLiteral("Observation")},
            {QStringLiteral("id"), id},
            {QStringLiteral("status"), QStringLiteral("final")},
            {QStringLiteral("category"),
             QJsonArray{QJsonObject{{QStringLiteral("coding"),
                                     QJsonArray{coding(kCategorySystem, categoryCode(category),
                                                       categoryDisplay(category))}}}}},
            {QStringLiteral("code"), code},
            {QStringLiteral("subject"),
             QJsonObject{{QStringLiteral("reference"), urn(m_patientId)}}},
            {QStringLiteral("effectiveDateTime"), day},
        };
    }

    void add(const QJsonObject& resource)
    {
        if (m_entries.isEmpty())
            append(patientResource(m_patient, m_patientId));
        append(resource);
    }

    QJsonObject bundle() const
    {
        QJsonObject b{
            {QStringLiteral("resourceType"), QStringLiteral("Bundle")},
            {QStringLiteral("type"), QStringLiteral("collection")},
            {QStringLiteral("timestamp"),
             QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"))},
        };
        // FHIR has no empty arrays: an empty bundle has no "entry" at all.
        if (!m_entries.isEmpty())
            b.insert(QStringLiteral("entry"), m_entries);
        return b;
    }

private:
    static QString urn(const QString& id) { return QStringLiteral("urn:uuid:") + id; }

    void append(const QJsonObject& resource)
    {
        m_entries.append(QJsonObject{{QStringLiteral("fullUrl"), urn(resource[u"id"].toString())},
                                     {QStringLiteral("resource"), resource}});
    }

    const PatientRecord& m_patient;
    QString m_patientId;
    QJsonArray m_entries;
};

// A recorded value of a measurement type; one observation per data type and value at a
// consultation, however many methods recorded it.
void addMeasurements(BundleWriter& w, const QList<RecordedValue>& values)
{
    QSet<QString> seen;
    for (const RecordedValue& v : values) {
        const std::optional<ObservationCoding> c = measurementCoding(v.dataType);
        const QString day = dayOf(v.date);
        if (!c || day.isEmpty() || v.text.trimmed().isEmpty())
            continue;
        const std::optional<ShownNumber> n = parseShownNumber(v.text);
        const QString sameness = v.date + u'|' + v.dataType + u'|'
                                 + (n ? QString::number(n->value, 'g', 17) : v.text.trimmed());
        if (seen.contains(sameness))
            continue;
        seen.insert(sameness);
        QJsonArray codings;
        if (!c->loinc.isEmpty())
            codings.append(coding(kLoincSystem, c->loinc, c->loincDisplay));
        codings.append(coding(kDataTypeSystem, v.dataType, v.dataTypeName));
        QJsonObject o = w.observation({QStringLiteral("medida"), v.date, v.method, v.dataType}, day,
                                      c->category, codings, v.dataTypeName);
        // A measurement stored as something other than a number (typed by hand elsewhere)
        // goes as the text it is rather than being lost.
        if (n && (n->unit.isEmpty() || ucumOfShownUnit(n->unit) == QString(c->unit)))
            o.insert(QStringLiteral("valueQuantity"), quantity(n->value, QString(c->unit), {}));
        else
            o.insert(QStringLiteral("valueString"), v.text.trimmed());
        w.add(o);
    }
}

QString resultCode(const ResultLine& l)
{
    return l.method + u'-' + l.line;
}

// Result lines: a number becomes a quantity, with its classification as interpretation
// where the table says where it stands; any other text (a classification, a percentile
// band) an observation of its own with the text as its value.
void addResults(BundleWriter& w, const QList<ResultLine>& lines)
{
    QSet<int> consumed;
    for (int i = 0; i < lines.size(); ++i) {
        if (consumed.contains(i))
            continue;
        const ResultLine& l = lines[i];
        const QString day = dayOf(l.date);
        const QString value = l.value.trimmed();
        if (day.isEmpty() || value.isEmpty())
            continue;
        const std::optional<ResultCoding> known = resultCoding(l.method, l.line);
        const std::optional<ShownNumber> n = parseShownNumber(value);
        // The table's lines show 0 when there was nothing to calculate with.
        if (known && n && n->value == 0)
            continue;
        const bool labelClassifies = known && n && known->classification == ClassificationAt::Label;
        const QString label = l.label.trimmed();
        const QString text = labelClassifies || label.isEmpty() ? l.methodName : label;
        QJsonArray codings;
        if (known && n && !known->coding.loinc.isEmpty())
            codings.append(coding(kLoincSystem, known->coding.loinc, known->coding.loincDisplay));
        codings.append(coding(kResultSystem, resultCode(l), text));
        const Category category = known && n ? known->coding.category : Category::Exam;
        QJsonObject o = w.observation({QStringLiteral("resultado"), l.date, l.method, l.line}, day,
                                      category, codings, text);
        if (!n) {
            o.insert(QStringLiteral("valueString"), value);
            w.add(o);
            continue;
        }
        const std::optional<QString> ucum =
            known ? std::optional<QString>(QString(known->coding.unit)) : ucumOfShownUnit(n->unit);
        o.insert(QStringLiteral("valueQuantity"), quantity(n->value, ucum, n->unit));
        QString classification;
        if (labelClassifies) {
            classification = label;
        } else if (known && known->classification == ClassificationAt::NextLine
                   && i + 1 < lines.size()) {
            const ResultLine& next = lines[i + 1];
            if (next.date == l.date && next.method == l.method
                && next.line.toInt() == l.line.toInt() + 1 && !parseShownNumber(next.value)) {
                classification = next.value.trimmed();
                consumed.insert(i + 1);
            }
        }
        if (!classification.isEmpty())
            o.insert(QStringLiteral("interpretation"),
                     QJsonArray{QJsonObject{{QStringLiteral("text"), classification}}});
        w.add(o);
    }
}

void addDiagnoses(BundleWriter& w, const QList<DiagnosisText>& diagnoses)
{
    for (const DiagnosisText& d : diagnoses) {
        const QString day = dayOf(d.date);
        const QString text = plainTextOfRichText(QString::fromUtf8(d.html));
        if (day.isEmpty() || text.isEmpty())
            continue;
        const QString name = QStringLiteral("Diagnóstico nutricional");
        QJsonObject o =
            w.observation({QStringLiteral("diagnostico"), d.date}, day, Category::Exam,
                          QJsonArray{coding(kAssessmentSystem, kDiagnosisCode, name)}, name);
        o.insert(QStringLiteral("valueString"), text);
        w.add(o);
    }
}

// Appends the text of the stored form to the line being built, blanks collapsed as a
// browser shows them.
void appendText(QString& line, const QString& text)
{
    for (const QChar c : text) {
        if (c.isSpace()) {
            if (!line.isEmpty() && !line.endsWith(u' '))
                line += u' ';
        } else {
            line += c;
        }
    }
}

QString decodeStoredEntities(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    out.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    out.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return out;
}

}  // namespace

std::optional<ShownNumber> parseShownNumber(const QString& text)
{
    // Thousands points only before a decimal comma, as the display patterns write them;
    // "1.800" alone is a decimal point.
    static const QRegularExpression comma(
        QStringLiteral("^\\s*([+-]?)(\\d{1,3}(?:\\.\\d{3})+|\\d+),(\\d+)(.*)$"));
    static const QRegularExpression point(QStringLiteral("^\\s*([+-]?)(\\d+)(?:\\.(\\d+))?(.*)$"));
    QRegularExpressionMatch m = comma.match(text);
    QString whole;
    if (m.hasMatch()) {
        whole = m.captured(2).remove(u'.');
    } else {
        m = point.match(text);
        if (!m.hasMatch())
            return std::nullopt;
        whole = m.captured(2);
    }
    // What follows must be a unit after a blank (or a percent sign), not more of a number.
    const QString rest = m.captured(4);
    const QString unit = rest.trimmed();
    if (!unit.isEmpty()) {
        const bool spaced =
            rest[0].isSpace() && !unit[0].isDigit() && !QStringLiteral(".,+-").contains(unit[0]);
        if (!spaced && !rest.startsWith(u'%'))
            return std::nullopt;
    }
    const QString decimal =
        m.captured(1) + whole + (m.captured(3).isEmpty() ? QString() : u'.' + m.captured(3));
    bool ok = false;
    const double value = decimal.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return ShownNumber{value, unit};
}

QString plainTextOfRichText(const QString& html)
{
    const QString clean = records::cleanRichText(html).html;
    static const QRegularExpression tag(QStringLiteral("<(/?)([a-z]+)[^>]*>"));
    QStringList lines;
    QString line;
    QList<int> lists;  // 0 a bulleted list, else the next number of a numbered one
    auto endLine = [&] {
        const QString done = line.trimmed();
        if (!done.isEmpty())
            lines.append(QString(qMax(0, int(lists.size()) - 1) * 2, u' ') + done);
        line.clear();
    };
    qsizetype at = 0;
    QRegularExpressionMatchIterator it = tag.globalMatch(clean);
    while (true) {
        const bool more = it.hasNext();
        const QRegularExpressionMatch m = more ? it.next() : QRegularExpressionMatch();
        const qsizetype end = more ? m.capturedStart() : clean.size();
        appendText(line, decodeStoredEntities(clean.mid(at, end - at)));
        if (!more)
            break;
        at = m.capturedEnd();
        const bool closing = !m.captured(1).isEmpty();
        const QString name = m.captured(2);
        if (name == u"br" || name == u"p") {
            endLine();
        } else if (name == u"ul" || name == u"ol") {
            endLine();
            if (closing) {
                if (!lists.isEmpty())
                    lists.removeLast();
            } else {
                lists.append(name == u"ol" ? 1 : 0);
            }
        } else if (name == u"li") {
            endLine();
            if (!closing && !lists.isEmpty()) {
                int& next = lists.last();
                line = next == 0 ? QStringLiteral("- ") : QStringLiteral("%1. ").arg(next++);
            }
        }
    }
    endLine();
    return lines.join(u'\n');
}

QJsonObject buildBundle(const BundleRecords& records)
{
    BundleWriter w(records.patient);
    addMeasurements(w, records.values);
    addResults(w, records.lines);
    addDiagnoses(w, records.diagnoses);
    return w.bundle();
}

}  // namespace server::fhir
