#pragma once

// A form core whose connection goes to a recording fake server, with the patient's sex
// and age set as an activation sets them, and helpers to fill the data grid and to read
// the result lines a routine wrote. The fake answers what each test says; the result
// writes succeed unless told otherwise.

#include "recording_app_server.h"

#include "anthropometry/evaluation.h"
#include "anthropometry/reference_queries.h"
#include "workspace/assessment_form.h"

#include <QMap>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include <ostream>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace anthropometrytest {

struct ResultLine
{
    QString label;  // DSCONTRESU
    QString value;  // DSRESUAVAL
    bool operator==(const ResultLine&) const = default;
};

inline void PrintTo(const ResultLine& line, std::ostream* os)
{
    *os << '{' << line.label.toStdString() << " | " << line.value.toStdString() << '}';
}

// The GetPercentil answer as the server reads a reference: the percentile rows with
// their values, lowest first; the payload lists the codes, the row with the highest
// value not above the measured one and the row with the lowest value not below it.
struct PercentileRow
{
    QString code;
    QString name;
    double value;
};
QJsonValue percentilePayload(const QList<PercentileRow>& rows, double measured,
                             const QString& referenceName = QStringLiteral("Referência de teste"),
                             const QString& referenceCode = QStringLiteral("01"));

// A packet of one data set layout with the given rows (values in field order; the fields
// a row leaves out are null).
records::Packet packetOf(const records::DataSetLayout& layout, const QList<QVariantList>& rows);

class RoutineTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The patient: host sex code "0" to "3", age in years and months at the consultation.
    void patient(const QString& sexCode, int years, int months = 0);
    // The data grid holds these data types and texts (cdsDadosAval).
    void grid(const QList<std::pair<QString, QString>>& values);
    // An evaluation of a method row.
    anthropometry::Evaluation evaluation(const QString& method, const QString& reference = {});
    // The lines of one method in a result set (cdsResuAval unless said), by line number.
    QMap<QString, ResultLine> lines(const QString& method,
                                    const records::DataSet* results = nullptr) const;
    // How often the fake was called with this method.
    int callsOf(const QString& method) const;
    // The arguments of the last call of this method.
    QJsonArray lastArgs(const QString& method) const;

    records::testing::RecordingAppServer server;
    std::unique_ptr<workspace::AssessmentForm> form;
    anthropometry::ReferenceQueries queries;
};

}  // namespace anthropometrytest
