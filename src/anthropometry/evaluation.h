#pragma once

// The evaluation steps every method routine shares, bound to the consultation, to the
// method row being calculated and to the two datasets of its page: reading a
// measurement from the page's data grid or from the recorded values, the coded age,
// writing a numbered result line into the page's result lines, a reference query, and
// the percentile bracket of a measured value. The assessment tab gives cdsDadosAval and
// cdsResuAval, the energy tab cdsDadoAvalEnerg and cdsResuAvalEnerg.

#include "percentile_bracket.h"

#include <QString>

namespace records {
class AppServer;
class DataSet;
class Reply;
struct DataSetLayout;
}  // namespace records
namespace workspace {
class AssessmentForm;
}

namespace anthropometry {

class ReferenceQueries;

// The datasets of the page a method runs on.
struct PageDataSets
{
    records::DataSet& dataEntry;  // the data grid read
    records::DataSet& results;    // the result lines written
};

// The data grid and result lines of the page whose method list holds the method.
PageDataSets pageDataSetsOf(workspace::AssessmentForm& form, const QString& method);

// A measurement as a routine sees it: present when a row of its data type exists and
// its text is not empty; value is then the number (0 when absent).
struct Measure
{
    bool present = false;
    double value = 0;
};

class Evaluation
{
public:
    // method: CDTBMETOAVAL of the method row; reference: its CDTABELACO.
    Evaluation(workspace::AssessmentForm& form, PageDataSets page, ReferenceQueries& queries,
               QString method, QString reference);

    workspace::AssessmentForm& form() { return m_form; }
    ReferenceQueries& queries() { return m_queries; }
    records::AppServer& server();

    const QString& method() const { return m_method; }
    const QString& reference() const { return m_reference; }
    // "M", "F", "D" or "I", as the header derived it.
    const QString& sexLetter() const;

    // Read from the grid: the row of the page's data grid with this data type. A text that is
    // not a number throws hostfw::ConversionError. The grid's cursor does not move.
    Measure readFromGrid(const QString& dataType) const;
    // The same for a whole number (weeks, counts): a text with decimals or letters
    // throws hostfw::ConversionError.
    Measure readWholeFromGrid(const QString& dataType) const;
    // The text of the row as stored (a coded answer's code, an oedema or limb mark "1" or
    // "0"); empty when the grid has no such row.
    QString readTextFromGrid(const QString& dataType) const;
    // The unit text of the row read as a whole number: the number of limbs of a marked
    // amputation. Present when the row exists and its unit text is not empty; a text that
    // is no whole number throws hostfw::ConversionError.
    Measure readLimbCountFromGrid(const QString& dataType) const;

    // Read recorded value: cdsInfoAval is loaded with GetInfoAval (key, data type) and
    // the row of this method read; no row, or an empty text, is not present (value 0).
    // A text that is not a number throws hostfw::ConversionError; a failed reply
    // throws hostfw::ServerError.
    Measure readRecordedValue(const QString& dataType);
    // The same for a coded answer, kept as text: empty when there is no row or its text
    // is empty.
    QString readRecordedText(const QString& dataType);

    // Coded age: whole years and the two-digit months as a real (5 years 3 months is
    // 5.03), the age argument of the reference queries.
    double codedAge() const;
    // The age in whole years as the header shows it (edtIdade), and read as a whole
    // number (0 for an empty or invalid text).
    const QString& ageText() const;
    int ageYears() const;

    // Write result line: line `sequence` ("01" for 1) of this method, unless the
    // result lines already hold one with that key; the post writes it through
    // (SetResuAval). A failed write throws, the line is not kept.
    void writeResultLine(int sequence, const QString& label, const QString& value);

    // The no-classification outcomes, each a single line "01" with the text as its
    // description and an empty result: "Sem classificação" for a patient the method cannot
    // classify, "Sem classificação na referência informada." for a reference without a row.
    void writeNoClassification();
    void writeNoClassificationInReference();
    // Whether the patient is male or female; otherwise the no-classification line is
    // written and the routine stops.
    bool maleOrFemaleElseNoClassification();

    // A reference query: the reply checked and decoded into the dataset of the layout,
    // which is returned (ev.query(layouts::cdsPCT(), ev.server().GetPCT(...))).
    records::DataSet& query(const records::DataSetLayout& layout, const records::Reply& reply);

    // Percentile bracket of the measured value against this method's reference
    // (GetPercentil), loading cdsPesqPer, cdsPercentilMaior and cdsPercentilMenor; rules
    // name the differences a method makes to the shared bracket.
    PercentileBracket percentileBracket(double value,
                                        const BracketRules& rules = kPercentileBracket);

private:
    workspace::AssessmentForm& m_form;
    PageDataSets m_page;
    ReferenceQueries& m_queries;
    QString m_method;
    QString m_reference;
};

// A text read as a whole number, as StrToInt reads it: anything else (decimals, letters,
// an empty text) throws hostfw::ConversionError naming the field.
int wholeNumber(const QString& text, const QString& fieldLabel);

// The two-digit text of a result line number (1 is "01").
QString lineNumber(int sequence);

}  // namespace anthropometry
