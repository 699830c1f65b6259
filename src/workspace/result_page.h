#pragma once

// The result page's core (dbgDadosAval over cdsDadosAval): entering the page, typing
// values and coded answers, the checks before a row is posted, and the spreading of a
// posted value to the recorded values of the methods that need it (propagation.cpp).

#include "assessment_form.h"

#include <optional>

namespace workspace {

class ResultPage
{
public:
    explicit ResultPage(AssessmentForm& form);
    ResultPage(const ResultPage&) = delete;
    ResultPage& operator=(const ResultPage&) = delete;

    // The hooks and display texts of cdsDadosAval.
    void prepareDataGrid();
    // Entering the page: the grid loaded (its separators brought to the comma), the
    // result lines loaded, the focus on the grid.
    void enterPage();
    // The grid from the server, back on the row it was on; normalise brings the
    // separators to the comma (spread, not refused).
    void loadDataGrid(bool normalise);
    // The data type of the current row (empty for an empty grid).
    QString currentDataType() const;

    // The key filter of the current data row for a key typed in the column: the key to
    // put in the cell, or nothing when it is ignored. A refused second limb shows its
    // message and stops (hostfw::Abort).
    std::optional<QChar> dbgDadosAvalKeyPress(const QString& field, QChar key);
    // Whether a cell of dbgDadosAval takes typing: the value except on edema,
    // amputation and maturation rows; the unit of a marked amputation row.
    bool dataCellEditable(int row, const QString& field) const;
    // Whether the value cell of a row shows the button of its answer list.
    bool answerButtonVisible(int row) const;
    // The text typed in a cell of the current data row goes into the row being edited
    // (the row is put in edit). Leaving the value column checks the number: a value that
    // is neither empty nor a number shows the message and keeps the row in edit.
    void setDataCell(const QString& field, const QString& text);
    void dbgDadosAvalColExit(const QString& field);
    // Moves the data grid to a visible row, posting the row being edited first.
    void moveDataRow(int row);
    // The button of a coded value: the limb checks, the answer list, the code picked
    // stored and the row posted.
    void dbgDadosAvalEditButtonClick();
    // Posts the data row being edited: the checks before the post, then the value goes
    // to the recorded value of every method that needs it.
    void postDataRow();

    // For the command line, on the result page (showPage). recordValue types the text
    // into the value of the data type as the key filter lets it through (a point or a
    // comma becomes the decimal comma), refusing what could not be typed, then posts;
    // recordAnswer stores the code of a coded answer as the answer list would (marking
    // a limb checks the count of limbs); recordLimbCount types the number of limbs
    // ("1" or "2") of a marked amputation row. Messages are shown and end the call
    // (hostfw::Abort), the row left in edit (sbtCancelarClick gives it up); a failed
    // server call raises its records::Error. false when the consultation is read-only
    // and nothing changed.
    bool recordValue(const QString& dataType, const QString& typed);
    bool recordAnswer(const QString& dataType, const QString& code);
    bool recordLimbCount(const QString& dataType, const QString& count);

    // Set by the estimate dialog while it writes weight and height: the post of the
    // data row keeps the observation it wrote.
    bool estimateFlag = false;

    // Before a calculation: the recorded values of the page's methods (anthropometric
    // or energy, by the page shown) are spread again to every method that needs them.
    void Atualiza_DadosInf();
    // The texts of the two filters of GetAtualizaDados.
    static QString anthropometricFilter();
    static QString energyFilter();

private:
    // The grid's own edits: the user's (checked and spread to the recorded values), the
    // separators brought to the comma when the page is entered (spread, not refused),
    // and those of a read-only consultation, which change only what the grid shows.
    enum class DataEdit
    {
        User,
        Normalise,
        Quiet
    };
    void normaliseDataRow(bool separators, DataEdit mode);
    void checkDataRowBeforePost(records::DataSet& ds);
    void propagateDataRow(records::DataSet& ds);
    void propagateRecordedValue(const QString& dataType, const QVariant& value,
                                const QVariant& observation);
    void recountLimbs();
    void checkLimbForAnswer(const QString& dataType) const;
    void storeAnswer(const QString& code);
    records::DataSet* answerList(const QString& dataType);
    void locateDataRow(const QString& dataType);
    bool readOnly() const { return m_form.readOnly(); }
    records::ConsultationKey key() const { return m_form.key(); }

    AssessmentForm& m_form;
    records::DataSet& cdsDadosAval;
    NetConnection& netAvalNutrEnerg;
    DataEdit m_dataEdit = DataEdit::User;
};

}  // namespace workspace
