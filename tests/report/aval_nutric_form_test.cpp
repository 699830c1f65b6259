// The report form's core against a real server on loopback: the method list fetched
// once per form, the weekday boxes, "Todos" and "Lista", the checks and their messages in
// their order, and the query parameters handed to the report definition.

#include "loopback_server.h"

#include "hostfw/action.h"
#include "hostfw/busy.h"
#include "hostfw/error_display.h"
#include "hostfw/pick_list.h"
#include "report/aval_nutric_form.h"
#include "workspace/module_context.h"

#include <gtest/gtest.h>

using report::AvalNutricForm;
using Focus = AvalNutricForm::Focus;

namespace {

QDateTime at(const QDate& d)
{
    return QDateTime(d, QTime(0, 0), Qt::UTC);
}

}  // namespace

class ReportForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server.useForHost();
        workspace::setConsultationContext("0001", "000000000001", "Paciente Demo", "0",
                                          at(QDate(1980, 5, 20)), at(QDate(2026, 12, 6)));
        form = std::make_unique<AvalNutricForm>(server.transport());
        form->setBusyIndicator(&busy);
        form->FormActivate();
    }

    // Runs the shared check of Preview, Print and Save As; the message shown, if any.
    QString check()
    {
        hostfw::ErrorRecorder errors;
        hostfw::RunAction([&] { form->CheckSelection(); });
        return errors.last();
    }

    void period(const QString& from, const QString& to)
    {
        form->edtDataIniTyped(from);
        form->edtDataFinTyped(to);
    }

    workspacetest::LoopbackServer server;
    hostfw::BusyRecorder busy;
    std::unique_ptr<AvalNutricForm> form;
};

TEST_F(ReportForm, FetchesTheMethodListOncePerForm)
{
    EXPECT_EQ(form->cdsMetodo.recordCount(), 68);
    EXPECT_EQ(form->cdsMetodo.asStringAt(0, "IDMARCADO"), "N");
    EXPECT_EQ(form->cdsMetodo.asStringAt(0, "CDTBMETOAVAL"), "00");
    EXPECT_FALSE(form->cdsMetodo.asStringAt(0, "NMTBMETOAVAL").isEmpty());
    EXPECT_FALSE(report::boPrimVez);
    EXPECT_GE(busy.showCount(), 1);
    EXPECT_FALSE(busy.visible());

    form->FormActivate();
    form->FormActivate();
    EXPECT_EQ(server.calledMethods().count("GetRelatorio"), 1);

    // A new form fetches it again.
    AvalNutricForm second(server.transport());
    EXPECT_TRUE(report::boPrimVez);
    second.FormActivate();
    EXPECT_EQ(server.calledMethods().count("GetRelatorio"), 2);
}

TEST_F(ReportForm, AFailedFirstLoadPassesTheErrorOnAndIsNotRetried)
{
    AvalNutricForm second(server.transport());
    server.failNext("GetRelatorio");
    hostfw::ErrorRecorder errors;
    EXPECT_FALSE(hostfw::RunAction([&] { second.FormActivate(); }));
    EXPECT_EQ(errors.messages().size(), 1);
    EXPECT_FALSE(busy.visible());
    second.FormActivate();
    EXPECT_TRUE(second.cdsMetodo.isEmpty());
}

TEST_F(ReportForm, WeekdayBoxesFollowThePickedDateAndClearWhenTyping)
{
    EXPECT_EQ(form->edtDataIni(), "");
    form->depDataIniPicked(QDate(2026, 12, 6));
    form->depDataFinPicked(QDate(2026, 12, 12));
    EXPECT_EQ(form->dataIniText(), "06/12/2026");
    EXPECT_EQ(form->edtDataIni(), "dom");
    EXPECT_EQ(form->edtDataFin(), QString::fromUtf8("sáb"));
    form->edtDataIniTyped("07/12/202");
    EXPECT_EQ(form->edtDataIni(), "");
    EXPECT_EQ(form->edtDataFin(), QString::fromUtf8("sáb"));
}

TEST_F(ReportForm, ChecksEndWithTheFirstFailingMessageAndFocusItsControl)
{
    const QString ini = QString::fromUtf8("Data inicial deve ser informada.");
    const QString fin = QString::fromUtf8("Data final deve ser informada.");
    const QString order = QString::fromUtf8("Data final deve ser maior ou igual à data inicial.");
    const QString method = QString::fromUtf8("Método deve ser infomado.");
    struct Case
    {
        const char* from;
        const char* to;
        bool lista;
        QString message;
        Focus focus;
    } cases[] = {
        {"", "", false, ini, Focus::depDataIni},
        {"", "01/12/2026", true, ini, Focus::depDataIni},
        {"01/12/2026", "", true, fin, Focus::depDataFin},
        {"02/12/2026", "01/12/2026", true, order, Focus::depDataFin},
        {"01/12/2026", "01/12/2026", true, method, Focus::rbtListaMet},
        {"31/02/2026", "", false, QString::fromUtf8("'31/02/2026' não é uma data válida."),
         Focus::depDataIni},
        {"01/12/2026", "3/1/2026", false, QString::fromUtf8("'3/1/2026' não é uma data válida."),
         Focus::depDataFin},
        // the same start and end date pass
        {"01/12/2026", "01/12/2026", false, QString(), Focus::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " .. " + c.to);
        period(c.from, c.to);
        c.lista ? form->rbtListaMetClick() : form->rbtTodosMetClick();
        EXPECT_EQ(check(), c.message);
        EXPECT_EQ(form->focus(), c.focus);
    }
}

TEST_F(ReportForm, TodosForgetsTheChosenMethodsAndListaAsksAgain)
{
    EXPECT_FALSE(form->btpMetodoEnabled());
    form->rbtListaMetClick();
    EXPECT_TRUE(form->btpMetodoEnabled());
    {
        hostfw::PickScript picks({hostfw::PickAnswer::codes({"01", "00"})});
        form->btpMetodoClick();
        ASSERT_EQ(picks.requests().size(), 1);
        EXPECT_EQ(picks.requests()[0].caption, QString::fromUtf8("Método"));
        EXPECT_EQ(picks.requests()[0].emptyMessage, QString::fromUtf8("Não há método cadastrado."));
        EXPECT_EQ(picks.requests()[0].keyField, "CDTBMETOAVAL");
    }
    EXPECT_EQ(form->chosenMethods(), "_00_01_");
    period("01/12/2026", "06/12/2026");
    EXPECT_EQ(check(), "");

    form->rbtTodosMetClick();
    EXPECT_EQ(form->chosenMethods(), "");
    EXPECT_FALSE(form->btpMetodoEnabled());
    form->rbtListaMetClick();
    EXPECT_EQ(check(), QString::fromUtf8("Método deve ser infomado."));
}

TEST_F(ReportForm, FillsOnlyTheParametersTheDefinitionHas)
{
    period("01/12/2026", "06/12/2026");
    report::QueryParams all = form->report.newParams();
    form->rpddPadraoBeforeGetQueryParams(all);
    EXPECT_EQ(all.value(report::P_CDFILIAL), "0001");
    EXPECT_EQ(all.value(report::P_CDPACIENTE), "000000000001");
    EXPECT_EQ(all.value(report::P_DTINI).toDate(), QDate(2026, 12, 1));
    EXPECT_EQ(all.value(report::P_DTFIN).toDate(), QDate(2026, 12, 6));
    EXPECT_EQ(all.value(report::P_CDMETODO), "T");

    report::QueryParams some({report::P_CDPACIENTE, report::P_CDMETODO});
    form->rbtListaMetClick();
    hostfw::PickScript picks({hostfw::PickAnswer::codes({"17"})});
    form->btpMetodoClick();
    form->rpddPadraoBeforeGetQueryParams(some);
    EXPECT_FALSE(some.isSet(report::P_CDFILIAL));
    EXPECT_FALSE(some.isSet(report::P_DTINI));
    EXPECT_EQ(some.value(report::P_CDMETODO), "_17_");
}

TEST_F(ReportForm, TheSameStartAndEndDateReportThatOneDay)
{
    for (const QDate& d : {QDate(2026, 12, 5), QDate(2026, 12, 6), QDate(2026, 12, 7)}) {
        const records::ConsultationKey k{"0001", "000000000001", at(d)};
        ASSERT_TRUE(
            servertest::recordValue(server.client(), k, "00", "01", QString::number(80 + d.day()))
                .ok);
    }
    period("06/12/2026", "06/12/2026");
    report::ReportData data;
    ASSERT_TRUE(hostfw::RunAction([&] { data = form->PrepareReport(); }));
    ASSERT_EQ(data.consultations.size(), 1);
    EXPECT_EQ(data.consultations[0].date, QDate(2026, 12, 6));
    ASSERT_EQ(data.consultations[0].measurements.size(), 1);
    EXPECT_EQ(data.consultations[0].measurements[0].value, "86");
    EXPECT_EQ(data.patientName, QString::fromUtf8("José Carlos da Silva"));
}
