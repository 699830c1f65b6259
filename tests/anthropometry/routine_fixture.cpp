#include "routine_fixture.h"

#include "records/layouts.h"
#include "records/packet_codec.h"
#include "workspace/module_context.h"

#include <algorithm>

namespace anthropometrytest {

namespace {

// The form's connection hands every call to the test's fake.
class Forward : public records::AppServer
{
public:
    explicit Forward(records::AppServer& target) : m_target(target) {}
    records::Reply call(const QString& method, const QJsonArray& args) override
    {
        return m_target.call(method, args);
    }

private:
    records::AppServer& m_target;
};

const QDate kConsultation(2026, 12, 6);

QVariantList percentileRecord(const PercentileRow& row, const QString& referenceName,
                              const QString& referenceCode)
{
    return {row.value, row.name, row.code, referenceName, referenceCode};
}

}  // namespace

records::Packet packetOf(const records::DataSetLayout& layout, const QList<QVariantList>& rows)
{
    records::Packet packet;
    packet.fields = layout.fields;
    packet.rows = rows;
    for (QVariantList& row : packet.rows)
        row.resize(std::max(row.size(), layout.fields.size()));
    return packet;
}

QJsonValue percentilePayload(const QList<PercentileRow>& rows, double measured,
                             const QString& referenceName, const QString& referenceCode)
{
    QList<QVariantList> codes, atOrBelow, atOrAbove;
    for (const PercentileRow& row : rows) {
        codes.append({row.code});
        if (row.value <= measured)
            atOrBelow = {percentileRecord(row, referenceName, referenceCode)};
        if (row.value >= measured && atOrAbove.isEmpty())
            atOrAbove = {percentileRecord(row, referenceName, referenceCode)};
    }
    namespace L = records::layouts;
    return QJsonArray{records::encodePacket(packetOf(L::cdsPesqPer(), codes)),
                      records::encodePacket(packetOf(L::cdsPercentilMaior(), atOrBelow)),
                      records::encodePacket(packetOf(L::cdsPercentilMenor(), atOrAbove))};
}

void RoutineTest::SetUp()
{
    workspace::moduleLoaded();
    form = std::make_unique<workspace::AssessmentForm>(
        [this](const QString&, int, const QString&) { return std::make_unique<Forward>(server); });
    form->FormCreate();
    patient(QStringLiteral("1"), 30);
    form->netAvalNutrEnerg.Open();
}

void RoutineTest::TearDown()
{
    form->FormClose();
    workspace::moduleUnloading();
}

void RoutineTest::patient(const QString& sexCode, int years, int months)
{
    const QDate birth = kConsultation.addYears(-years).addMonths(-months);
    workspace::setConsultationContext(QStringLiteral("0001"), QStringLiteral("900000000100"),
                                      QStringLiteral("Paciente de Teste"), sexCode,
                                      QDateTime(birth, QTime(0, 0), Qt::UTC),
                                      QDateTime(kConsultation, QTime(0, 0), Qt::UTC));
    // The same patient as the last load: the activation refreshes the header (age, sex
    // letter) and calls no server.
    stCdPacienteAux = stCdPaciente;
    form->FormActivate();
}

void RoutineTest::grid(const QList<std::pair<QString, QString>>& values)
{
    QList<QVariantList> rows;
    for (const auto& [type, text] : values)
        rows.append({type, QStringLiteral("Tipo ") + type, text, QString(), QString()});
    form->cdsDadosAval.loadPacket(packetOf(records::layouts::cdsDadosAval(), rows));
}

anthropometry::Evaluation RoutineTest::evaluation(const QString& method, const QString& reference)
{
    return anthropometry::Evaluation(*form, anthropometry::pageDataSetsOf(*form, method), queries,
                                     method, reference);
}

QMap<QString, ResultLine> RoutineTest::lines(const QString& method,
                                             const records::DataSet* results) const
{
    QMap<QString, ResultLine> out;
    const records::DataSet& ds = results ? *results : form->cdsResuAval;
    for (int row = 0; row < ds.recordCount(); ++row) {
        if (ds.asStringAt(row, QStringLiteral("CDTBMETOAVAL")) != method)
            continue;
        out.insert(ds.asStringAt(row, QStringLiteral("CDSEQUAVAL")),
                   {ds.asStringAt(row, QStringLiteral("DSCONTRESU")),
                    ds.asStringAt(row, QStringLiteral("DSRESUAVAL"))});
    }
    return out;
}

int RoutineTest::callsOf(const QString& method) const
{
    int n = 0;
    for (const auto& c : server.calls)
        n += c.method == method ? 1 : 0;
    return n;
}

QJsonArray RoutineTest::lastArgs(const QString& method) const
{
    for (auto it = server.calls.crbegin(); it != server.calls.crend(); ++it) {
        if (it->method == method)
            return it->args;
    }
    return {};
}

}  // namespace anthropometrytest
