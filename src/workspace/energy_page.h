#pragma once

// The energy tab's core ("Necessidades Nutricionais"): the energy method list
// (cdsMetoAvalEnerg) with its selection and reference, the weight / height /
// ideal-weight / adequate-weight panel (panAltPeso) stored as recorded values, the
// energy data grid (cdsDadoAvalEnerg) whose factors are picked from lists, and the
// energy result lines. The equations and the energy pass are the energy family's.

#include "assessment_form.h"

#include <QJsonValue>

#include <optional>

namespace workspace {

class EnergyPage
{
public:
    explicit EnergyPage(AssessmentForm& form);
    EnergyPage(const EnergyPage&) = delete;
    EnergyPage& operator=(const EnergyPage&) = delete;

    // The hooks and display texts of the tab's datasets.
    void prepareDataSets();

    // Entering a page of the energy tab (pgcAvalEnergChange): the panel cleared, and on
    // "Avaliação/Resultado" the data rows opened (factor groups, panel, defaults), the
    // adequate weight defaulted and the result lines loaded.
    void pgcAvalEnergChange();
    // The data rows from the server (GetDadoAvalEnerg), then the open step: the factor
    // groups fetched (GetRefFatGrup), the panel filled from the recorded values and the
    // empty factors given their defaults.
    void loadDataRows();

    // The weight, height, ideal-weight choice and adequate weight stored as recorded
    // values of every method that needs them (panAltPesoExit); a weight or height for a
    // consultation without any creates the weight method ("01") first. A weight, height
    // or adequate weight that is not a number is refused with its message and nothing
    // is stored.
    void panAltPesoExit();
    // The panel as a calculation needs it: a positive weight (and height when
    // heightNeeded), an adequate weight that is empty or a number. The first fault ends
    // with its message (hostfw::Abort).
    void checkPanel(bool heightNeeded) const;

    // The "Valor" text shown for a data row (an empty value shows empty).
    QString valueText(int row) const;
    // The "Método" text shown for a method code: the energy method's name.
    QString methodText(const QString& code) const;

    // The pick button of the "Valor" column on the current data row: the list of its
    // method and data type; the pick stored and the row posted (its value spread to the
    // recorded values). Nothing on a read-only consultation or when nothing is picked.
    void dbgDadoAvalEnergEditButtonClick();

    // Toggles the selection mark of the current method row (a click in the selection
    // column or the space bar): the result lines closed, the reference cleared or set to
    // the method's default and checked leniently. Nothing when read-only. The row stays
    // in edit until confirmed or cancelled.
    bool toggleMethod();
    // Posts the method row being edited (the strict reference check, then the write).
    void postMethodRow();
    // The reference pick button (catch-up growth only): the method's references.
    void dbgMetoAvalEnergEditButtonClick();
    // Whether a cell of the method grid takes typing: the reference of catch-up growth.
    bool methodCellEditable(int row, const QString& field) const;
    // Whether the reference cell of a method row shows its pick button.
    bool referenceButtonVisible(int row) const;
    // Typing in the reference cell of the current row (catch-up growth only).
    void typeMethodReference(const QString& text);

    // For the command line, as a user would do it: select a method (with a reference
    // for catch-up growth) and post; pick a factor code for a data row of a method (the
    // injury factor by its code, the recommendation reference by its code); type the
    // panel. Messages end the call (hostfw::Abort); false when read-only.
    bool selectMethod(const QString& code, const std::optional<QString>& reference = {});
    bool chooseFactor(const QString& method, const QString& dataType, const QString& code);

    // The reference check of the energy method row being edited: only the methods whose
    // descriptor asks for it, against the ideal-weight references. With
    // referenceRequired a selected method without a reference stops the post.
    void Vd_ReferenciaEnerg(bool referenceRequired);
    // The column of the energy method grid the user is in.
    QString dbgMetoAvalEnergColumn = QStringLiteral("IDTABELAAV");

    // The user enters and leaves the result grid: the edit action is off while there.
    void dbgResulEnergEnter();
    void dbgResulEnergExit();
    bool resultGridEntered() const { return m_resultGridEntered; }

    // The panel as typed: the weight in kg, the height in m, the adequate weight in kg
    // (the ideal-weight choice is the form's cbbPesoIdeal). The ideal-weight methods
    // read weight and height in their silent mode; the energy pass reads all three.
    QString medPeso;
    QString medAltura;
    QString medPesoAdeq;
    // The name of the nutrient-recommendation reference shown for catch-up growth.
    QString referenceNameText;

    // The factor groups of the server (GetRefFatGrup): the injury factors, the
    // nutrient-recommendation references and the nutrient groups.
    records::DataSet cdsFatoInju;
    records::DataSet cdsRefeRecom;
    records::DataSet cdsGrupNutr;
    // The three packets of the factor groups as the server gave them (oleRefFatGrup).
    QJsonValue oleRefFatGrup;

private:
    void fetchFactorGroups();
    QString recordedText(const QString& dataType);
    void fillPanel();
    void fillDefaultFactors();
    void storeChosenValue();
    void storePanelValue(const QString& dataType, const QString& text);
    void insertMissingValues(const QString& dataType, const QVariant& value, const QVariant& injury,
                             const QString& onlyMethod);
    void appendRecordedValue(const QString& method, const QString& dataType, const QVariant& value,
                             const QVariant& injury);
    void recordWeightMethod();
    records::DataSet* pickList(const QString& method, const QString& dataType);
    bool readOnly() const { return m_form.readOnly(); }

    AssessmentForm& m_form;
    bool m_resultGridEntered = false;
};

}  // namespace workspace
