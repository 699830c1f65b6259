#pragma once

// The method page's core (dbgMetoAval over cdsMetoAval): choosing the methods of the
// consultation, their references and the rules of the body mass index group.

#include "assessment_form.h"

#include <functional>

namespace workspace {

class MethodPage
{
public:
    explicit MethodPage(AssessmentForm& form);
    MethodPage(const MethodPage&) = delete;
    MethodPage& operator=(const MethodPage&) = delete;

    // The hooks of cdsMetoAval: nobody adds methods to a consultation, and a deceased
    // patient's list is read-only once loaded.
    void prepareMethodList();
    // The method filter over cdsMetoAval for the patient shown (method_filter.h).
    void applyMethodFilter();

    // Toggles the current method, as a click in the selection column or the space bar
    // do: nothing for a deceased patient, an empty list or when the current column is
    // not IDTABELAAV. The result list is closed first. Unselecting clears the reference;
    // selecting a member of the body mass index group while another member is selected
    // is refused with the message naming the selected one; otherwise the method's
    // default reference is put in and checked. The row stays in edit until it is left
    // or confirmed. Returns whether the row was toggled.
    bool toggleMethod();
    // Moves the method list to a visible row, posting the row being edited first (the
    // user leaving a row). A refused post stays on the edited row and passes the error.
    void moveMethodRow(int row);
    // The column of dbgMetoAval the user moves to; leaving the reference column checks
    // the reference typed (reference not required). A refused reference keeps the
    // reference column.
    void setMethodColumn(const QString& field);
    // Whether a cell of dbgMetoAval takes typing: only the reference of a method that
    // uses a reference table, never for a deceased patient.
    bool methodCellEditable(int row, const QString& field) const;
    // Whether the reference cell of a row shows its ellipsis button.
    bool referenceButtonVisible(int row) const;
    // Typing in the reference cell of the current row (ignored for a method without a
    // reference table and for a deceased patient); checked when the column is left.
    void typeMethodReference(const QString& text);
    // The ellipsis of the reference cell: the pick list of every reference of the
    // method; the one picked goes into CDTABELACO and NMREFEBIBL.
    void dbgMetoAvalEditButtonClick();
    // Posts the method row being edited (check of the reference, write to the server).
    void postMethodRow();

    // For the command line, as a user would do it: locate the method, select it when it
    // is not selected, type the reference when one is given (a method without a
    // reference table refuses one), post. unselectMethod unselects and posts. Messages
    // are shown and end the call (hostfw::Abort); false when the consultation is
    // read-only and nothing changed.
    bool selectMethod(const QString& code, const std::optional<QString>& reference = {});
    bool unselectMethod(const QString& code);

    // The reference check of the method row being edited (reference_check.h). With
    // referenceRequired a selected method without a reference stops the post; a refusal
    // puts the user back in the reference column.
    void Vd_Referencia(bool referenceRequired);
    // The column of dbgMetoAval the user is in (the widgets keep it up to date).
    QString dbgMetoAvalColumn = QStringLiteral("IDTABELAAV");

private:
    void locateMethodRow(const QString& code);
    void refuseBodyMassIndexConflict(const QString& code);
    // Runs step; whether it succeeds or throws, the enabled actions and the views follow.
    void repaintAfter(const std::function<void()>& step);
    bool readOnly() const { return m_form.readOnly(); }

    AssessmentForm& m_form;
    records::DataSet& cdsMetoAval;
};

}  // namespace workspace
