#pragma once

#include "nutrition_report.h"

#include "hostfw/messages.h"
#include "records/dataset.h"
#include "workspace/net_connection.h"

#include <QDate>
#include <QString>

namespace hostfw {
class BusyIndicator;
}

namespace report {

// Messages of the report form.
const hostfw::TMessages& msgAvalNutric();

// Module-wide state of the report: true from the creation of a report form until its
// first activation has loaded the method list.
extern bool boPrimVez;

// The non-widget core of TfrmAvalNutric, the nutritional assessment report form: the
// period of consultation dates with their weekday boxes, "Todos" or a list of chosen
// methods, the checks made before Preview, Print and Save As, and the query parameters
// handed to the report definition.
class AvalNutricForm
{
public:
    // The control that takes the focus when a check fails.
    enum class Focus
    {
        None,
        depDataIni,
        depDataFin,
        rbtListaMet
    };

    explicit AvalNutricForm(workspace::NetConnection::Transport transport = {});

    workspace::NetConnection netAvalNutric;
    records::DataSet cdsMetodo;
    NutritionReport report;

    void setBusyIndicator(hostfw::BusyIndicator* indicator) { m_busy = indicator; }

    // Creation: weekdays of the two dates, no method chosen, the list to be loaded.
    void FormCreate();
    // Activation: the first one connects and loads the method list (GetRelatorio); a
    // failure passes the error on and is not retried by later activations.
    void FormActivate();
    // Closing: disconnects.
    void FormClose();

    // The date boxes: typing (the text as shown, "" for an empty box) clears the weekday;
    // picking a date shows it and its weekday; leaving validates the text as a date.
    void edtDataIniTyped(const QString& text);
    void edtDataFinTyped(const QString& text);
    void depDataIniPicked(const QDate& date);
    void depDataFinPicked(const QDate& date);
    void depDataIniExit();
    void depDataFinExit();

    QString dataIniText() const { return m_iniText; }
    QString dataFinText() const { return m_finText; }
    QString edtDataIni() const { return m_iniWeekday; }  // "seg"
    QString edtDataFin() const { return m_finWeekday; }

    // "Todos" forgets the chosen methods; "Lista" enables the search button.
    void rbtTodosMetClick();
    void rbtListaMetClick();
    bool listaSelected() const { return m_lista; }
    bool btpMetodoEnabled() const { return m_lista; }
    // The multiple-choice dialog over the method list; the codes chosen replace the text.
    void btpMetodoClick();
    const QString& chosenMethods() const { return m_chosen; }

    // The check shared by Preview, Print and Save As; a failure focuses its control and
    // ends the action with its message (hostfw::Abort).
    void CheckSelection();
    Focus focus() const { return m_focus; }

    // Fills the query parameters the report definition has.
    void rpddPadraoBeforeGetQueryParams(QueryParams& params) const;

    // The base form's Preview, Print and Save As start here: the check, the parameters
    // and the report's query.
    ReportData PrepareReport();

    // The weekday abbreviation of a date ("ddd" in Portuguese: "dom" ... "sáb").
    static QString weekday(const QDate& date);

private:
    void checkDate(const QString& text, Focus focus);
    QDate dateOf(const QString& text) const;

    QString m_iniText;
    QString m_finText;
    QString m_iniWeekday;
    QString m_finWeekday;
    bool m_lista = false;
    QString m_chosen;
    Focus m_focus = Focus::None;
    hostfw::BusyIndicator* m_busy = nullptr;
};

}  // namespace report
