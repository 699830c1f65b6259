// The calculation run against a real application server on loopback with its SQLite
// file: what is deleted, run, written and reloaded on each page, the order of the
// server calls, and the error path.

#include "../workspace/loopback_server.h"

#include "anthropometry/anthropometric_run.h"
#include "hostfw/busy.h"
#include "records/error.h"
#include "records/packet_codec.h"
#include "records/write_through.h"
#include "workspace/assessment_form.h"
#include "workspace/module_context.h"

#include <gtest/gtest.h>

using namespace workspace;
using anthropometry::AnthropometricRun;
using workspacetest::LoopbackServer;

namespace {

const QDate kConsultation(2026, 12, 6);

// Every call the form makes, by method name; a call of failMethod after the first
// allowedBeforeFailure ones fails as the server would.
struct CallLog
{
    QStringList methods;
    QString failMethod;
    int allowedBeforeFailure = 0;
};

class LoggingServer : public records::AppServer
{
public:
    LoggingServer(std::unique_ptr<records::AppServer> inner, std::shared_ptr<CallLog> log)
        : m_inner(std::move(inner)), m_log(std::move(log))
    {
    }
    records::Reply call(const QString& method, const QJsonArray& args) override
    {
        m_log->methods.append(method);
        if (method == m_log->failMethod && m_log->allowedBeforeFailure-- <= 0)
            return records::Reply::failure(QStringLiteral("Falha de gravação no servidor"));
        return m_inner->call(method, args);
    }

private:
    std::unique_ptr<records::AppServer> m_inner;
    std::shared_ptr<CallLog> m_log;
};

struct StoredLine
{
    QString method;
    QString number;
    QString label;
    QString value;
    bool operator==(const StoredLine&) const = default;
};

std::ostream& operator<<(std::ostream& os, const StoredLine& l)
{
    return os << l.method.toStdString() << "/" << l.number.toStdString() << " "
              << l.label.toStdString() << " = " << l.value.toStdString();
}

QList<StoredLine> linesOf(const records::Packet& p)
{
    QList<StoredLine> out;
    for (int row = 0; row < p.rows.size(); ++row)
        out.append({p.value(row, "CDTBMETOAVAL").toString(), p.value(row, "CDSEQUAVAL").toString(),
                    p.value(row, "DSCONTRESU").toString(), p.value(row, "DSRESUAVAL").toString()});
    return out;
}

class CalculateAction : public ::testing::Test
{
protected:
    void SetUp() override
    {
        moduleLoaded();
        stCdPacienteAux.clear();
        server.useForHost();
        auto inner = server.transport();
        auto log = this->log;
        form = std::make_unique<AssessmentForm>(
            [inner, log](const QString& host, int port, const QString& token) {
                return std::make_unique<LoggingServer>(inner(host, port, token), log);
            });
        form->setBusyIndicator(&busy);
        form->setCalculationRun(&run);
        run.setRecordedValuesRefresh([log](AssessmentForm&) { log->methods.append("refresh"); });
        form->FormCreate();

        // A woman of 30 at the consultation.
        const QDate birth(1996, 6, 1);
        server.addPatient("900000000200", "Helena Prado", "1", birth);
        setConsultationContext("0001", "900000000200", "Helena Prado", "1",
                               QDateTime(birth, QTime(0, 0), Qt::UTC),
                               QDateTime(kConsultation, QTime(0, 0), Qt::UTC));
        form->FormActivate();
        ASSERT_TRUE(form->loaded());
    }
    void TearDown() override
    {
        form->FormClose();
        moduleUnloading();
    }

    void setSelected(const QString& code, bool selected)
    {
        records::DataSet& m = form->cdsMetoAval;
        ASSERT_TRUE(m.locate("CDTBMETOAVAL", code)) << code.toStdString();
        m.edit();
        m.setValue("IDTABELAAV", selected ? "S" : "N");
        m.post();
    }
    // A measurement recorded for one method, as the data entry stores it.
    void record(const QString& method, const QString& type, const QString& text)
    {
        records::DataSet& info = form->cdsInfoAval;
        info.append();
        info.setValue("CDPACIENTE", stCdPaciente);
        info.setValue("DTCONSPACI", dtConsulta);
        info.setValue("CDTBMETOAVAL", method);
        info.setValue("CDTIPODADO", type);
        info.setValue("DSINFOAVAL", text);
        info.post();
    }
    void showResultPage()
    {
        form->pgcPadrao = OuterPage::tshAvalNutr;
        form->pgcAvalNutr = InnerPage::tshAvaliacao;
        form->pgcAvalNutrChange();
    }
    // Methods "00" and "68" with weight 62 kg, height 1,58 m and week 20.
    void pregnantPatientWithTwoMethods()
    {
        setSelected("00", true);
        setSelected("68", true);
        for (const char* method : {"00", "68"}) {
            record(method, "01", "62");
            record(method, "02", "1,58");
        }
        record("68", "53", "20");
        showResultPage();
    }
    QList<StoredLine> stored()
    {
        return linesOf(records::decodePacket(records::checkReply(
            server.client().GetResuAval({stCdFilial, stCdPaciente, dtConsulta}))));
    }
    QList<StoredLine> shown() const { return linesOf(form->cdsResuAval.toPacket()); }

    // 62 / 1,58² = 62 / 2,4964 = 24,835763 ("00": adequate; "68" week 20: 21,6 to
    // 26,3, adequate); theoretical weights 2,4964 x 18,5 = 46,1834; x 21,7 = 54,17188;
    // x 24,9 = 62,16036.
    const QList<StoredLine> kExpected = {
        {"00", "01", "IMC Resultado", "24,836"},
        {"00", "02", "IMC Classificação", "Adequado ou Eutrófico"},
        {"00", "05", "IMC Peso teórico mínimo", "46,18 Kg"},
        {"00", "06", "IMC Peso teórico médio", "54,17 Kg"},
        {"00", "07", "IMC Peso teórico máximo", "62,16 Kg"},
        {"68", "01", "Adequado", "24,836"},
    };

    LoopbackServer server;
    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
    hostfw::BusyRecorder busy;
    AnthropometricRun run;
    std::unique_ptr<AssessmentForm> form;
};

// The calls from the first one named `from` on.
QStringList callsFrom(const QStringList& calls, int from)
{
    return calls.mid(from);
}

}  // namespace

TEST_F(CalculateAction, RunsEverySelectedMethodAndShowsWhatTheServerStored)
{
    pregnantPatientWithTwoMethods();
    const int before = log->methods.size();
    form->cdsMetoAval.last();
    form->sbtCalcularClick();

    EXPECT_EQ(stored(), kExpected);
    EXPECT_EQ(shown(), kExpected);
    const QStringList expectedCalls = {
        "GetResuAval", "refresh", "DelResuAval", "GetResuAval",          // cleared
        "SetResuAval", "SetResuAval", "SetResuAval", "SetResuAval", "SetResuAval",  // "00"
        "SetResuAval",                                                   // "68"
        "GetResuAval",                                                   // reloaded
        "GetDados", "GetDadoAval",                                       // the page check
    };
    EXPECT_EQ(callsFrom(log->methods, before), expectedCalls);
    EXPECT_EQ(form->cdsMetoAval.recNo(), 0);  // back on the first method
    EXPECT_FALSE(form->cdsDadosAval.controlsDisabled());
    EXPECT_FALSE(form->cdsResuAval.controlsDisabled());
    EXPECT_GE(busy.showCount(), 1);
    EXPECT_FALSE(busy.visible());
}

TEST_F(CalculateAction, CalculatingTwiceWritesEachLineOnce)
{
    pregnantPatientWithTwoMethods();
    form->sbtCalcularClick();
    form->sbtCalcularClick();
    EXPECT_EQ(stored(), kExpected);
    EXPECT_EQ(shown(), kExpected);
}

TEST_F(CalculateAction, UnselectedMethodsLoseTheirLinesAndNoSelectionDeletesEveryLine)
{
    pregnantPatientWithTwoMethods();
    form->sbtCalcularClick();
    ASSERT_EQ(stored().size(), 6);

    setSelected("68", false);
    form->sbtCalcularClick();
    EXPECT_EQ(stored(), kExpected.mid(0, 5));

    setSelected("00", false);
    form->sbtCalcularClick();
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_TRUE(form->cdsResuAval.isEmpty());
    EXPECT_FALSE(busy.visible());
}

TEST_F(CalculateAction, MethodPageCalculatesNothingAndOnlyRunsThePageCheck)
{
    pregnantPatientWithTwoMethods();
    form->sbtCalcularClick();
    form->pgcAvalNutr = InnerPage::tshMetoAval;
    form->pgcAvalNutrChange();
    int preparations = 0;
    run.setPreparation([&](AssessmentForm&) { ++preparations; });

    const int before = log->methods.size();
    form->sbtCalcularClick();
    EXPECT_EQ(callsFrom(log->methods, before), QStringList{"GetDados"});
    EXPECT_EQ(preparations, 1);  // the preparation runs on every page
    EXPECT_EQ(stored(), kExpected);
    EXPECT_FALSE(busy.visible());

    form->pgcPadrao = OuterPage::tshDiagNutri;
    const int diag = log->methods.size();
    form->sbtCalcularClick();
    EXPECT_EQ(callsFrom(log->methods, diag), QStringList{"GetDiag"});
}

TEST_F(CalculateAction, EnergyPagesRunTheirInstalledPasses)
{
    QStringList passes;
    run.setEnergyPass([&](AssessmentForm& f) {
        EXPECT_TRUE(busy.visible());
        EXPECT_EQ(&f, form.get());
        passes << "energy";
    });
    run.setRecommendationPass([&](AssessmentForm&) { passes << "recommendation"; });
    form->pgcPadrao = OuterPage::tshPadrao;
    for (EnergPage page : {EnergPage::tshMetodoEnerg, EnergPage::tshResulEnerg,
                           EnergPage::tshNutrRecom}) {
        form->pgcAvalEnerg = page;
        form->sbtCalcularClick();
    }
    EXPECT_EQ(passes, (QStringList{"energy", "recommendation"}));
    EXPECT_FALSE(log->methods.contains("DelResuAval"));
    EXPECT_FALSE(busy.visible());
}

TEST_F(CalculateAction, FailedWriteEndsTheRunAndKeepsTheLinesWrittenBefore)
{
    pregnantPatientWithTwoMethods();
    log->failMethod = "SetResuAval";
    log->allowedBeforeFailure = 2;
    const int before = log->methods.size();
    try {
        form->sbtCalcularClick();
        FAIL() << "the failed write went unnoticed";
    } catch (const records::Error& e) {
        EXPECT_EQ(e.message(), "Falha de gravação no servidor");
    }
    EXPECT_EQ(stored(), kExpected.mid(0, 2));
    EXPECT_FALSE(busy.visible());
    EXPECT_FALSE(form->cdsDadosAval.controlsDisabled());
    EXPECT_FALSE(form->cdsResuAval.controlsDisabled());
    EXPECT_FALSE(callsFrom(log->methods, before).contains("GetDados"));  // no page check

    // the next run, with the server writing again, rewrites everything
    log->failMethod.clear();
    form->sbtCalcularClick();
    EXPECT_EQ(stored(), kExpected);
}

TEST_F(CalculateAction, ServerDownEndsTheRunWithItsError)
{
    pregnantPatientWithTwoMethods();
    log->failMethod = "DelResuAval";
    EXPECT_THROW(form->sbtCalcularClick(), records::Error);
    EXPECT_FALSE(busy.visible());
    EXPECT_FALSE(form->cdsResuAval.controlsDisabled());
}

TEST_F(CalculateAction, DeceasedPatientCalculatesNothing)
{
    form->FormClose();
    form = std::make_unique<AssessmentForm>(server.transport());
    form->setCalculationRun(&run);
    form->FormCreate();
    server.addPatient("900000000201", "Falecido", "0", QDate(1940, 1, 1), true);
    setConsultationContext("0001", "900000000201", "Falecido", "0",
                           QDateTime(QDate(1940, 1, 1), QTime(0, 0), Qt::UTC),
                           QDateTime(kConsultation, QTime(0, 0), Qt::UTC));
    form->FormActivate();
    ASSERT_TRUE(form->deceased());
    showResultPage();
    const int calls = server.calls();
    form->sbtCalcularClick();
    EXPECT_EQ(server.calls(), calls);
}
