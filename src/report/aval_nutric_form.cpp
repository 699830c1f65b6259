#include "aval_nutric_form.h"

#include "hostfw/busy.h"
#include "hostfw/error_display.h"
#include "hostfw/host_settings.h"
#include "hostfw/pick_list.h"
#include "hostfw/reply_check.h"
#include "records/layouts.h"
#include "records/packet_codec.h"
#include "workspace/module_context.h"

namespace report {

bool boPrimVez = false;

namespace {
const QString kDateFormat = QStringLiteral("dd/MM/yyyy");
}

const hostfw::TMessages& msgAvalNutric()
{
    static const hostfw::TMessages table = hostfw::TMessages::fromText(QStringLiteral(R"(
        DataIni_inf|Data inicial deve ser informada.
        DataFin_inf|Data final deve ser informada.
        DataFin>=DataIni|Data final deve ser maior ou igual à data inicial.
        Metodo|Método
        Metodo_nc|Não há método cadastrado.
        Metodo_inf|Método deve ser infomado.
    )"));
    return table;
}

AvalNutricForm::AvalNutricForm(workspace::NetConnection::Transport transport)
    : netAvalNutric(std::move(transport)),
      cdsMetodo(records::layouts::cdsMetodo())
{
    netAvalNutric.BeforeConnect = [](workspace::NetConnection& net) {
        net.host = hostfw::WebURL();
        net.port = hostfw::WebPort();
        net.token = hostfw::AccessToken();
    };
    FormCreate();
}

QString AvalNutricForm::weekday(const QDate& date)
{
    static const char* const names[] = {"seg", "ter", "qua", "qui", "sex", "sáb", "dom"};
    return date.isValid() ? QString::fromUtf8(names[date.dayOfWeek() - 1]) : QString();
}

void AvalNutricForm::FormCreate()
{
    m_iniWeekday = weekday(dateOf(m_iniText));
    m_finWeekday = weekday(dateOf(m_finText));
    m_chosen.clear();
    boPrimVez = true;
}

void AvalNutricForm::FormActivate()
{
    if (!boPrimVez)
        return;
    boPrimVez = false;
    hostfw::BusyGuard busy(m_busy, hostfw::AviKind::Searching);
    netAvalNutric.Open();
    cdsMetodo.loadPacket(
        records::decodePacket(hostfw::CheckResultServ(netAvalNutric.GetRelatorio(), true, 0)));
}

void AvalNutricForm::FormClose()
{
    netAvalNutric.Close();
}

QDate AvalNutricForm::dateOf(const QString& text) const
{
    return QDate::fromString(text, kDateFormat);
}

void AvalNutricForm::edtDataIniTyped(const QString& text)
{
    m_iniText = text;
    m_iniWeekday.clear();
}
void AvalNutricForm::edtDataFinTyped(const QString& text)
{
    m_finText = text;
    m_finWeekday.clear();
}
void AvalNutricForm::depDataIniPicked(const QDate& date)
{
    m_iniText = date.toString(kDateFormat);
    m_iniWeekday = weekday(date);
}
void AvalNutricForm::depDataFinPicked(const QDate& date)
{
    m_finText = date.toString(kDateFormat);
    m_finWeekday = weekday(date);
}

void AvalNutricForm::checkDate(const QString& text, Focus focus)
{
    if (text.isEmpty() || dateOf(text).isValid())
        return;
    m_focus = focus;
    hostfw::MensErro(QStringLiteral("'%1' não é uma data válida.").arg(text), true);
}
void AvalNutricForm::depDataIniExit()
{
    checkDate(m_iniText, Focus::depDataIni);
}
void AvalNutricForm::depDataFinExit()
{
    checkDate(m_finText, Focus::depDataFin);
}

void AvalNutricForm::rbtTodosMetClick()
{
    m_lista = false;
    m_chosen.clear();
}
void AvalNutricForm::rbtListaMetClick()
{
    m_lista = true;
}

void AvalNutricForm::btpMetodoClick()
{
    if (!m_lista)
        return;
    const hostfw::TMessages& m = msgAvalNutric();
    hostfw::PesquisaLista(
        cdsMetodo, m.Msg(QStringLiteral("Metodo")) + u'|' + m.Msg(QStringLiteral("Metodo_nc")),
        QStringLiteral("CDTBMETOAVAL"), false, m_chosen);
}

void AvalNutricForm::CheckSelection()
{
    const hostfw::TMessages& m = msgAvalNutric();
    m_focus = Focus::None;
    depDataIniExit();
    depDataFinExit();
    auto fail = [&](Focus focus, const char* key) {
        m_focus = focus;
        hostfw::MensErro(m.Msg(QLatin1String(key)), true);
    };
    if (m_iniText.isEmpty())
        fail(Focus::depDataIni, "DataIni_inf");
    if (m_finText.isEmpty())
        fail(Focus::depDataFin, "DataFin_inf");
    if (dateOf(m_iniText) > dateOf(m_finText))
        fail(Focus::depDataFin, "DataFin>=DataIni");
    if (m_lista && m_chosen.isEmpty())
        fail(Focus::rbtListaMet, "Metodo_inf");
}

void AvalNutricForm::rpddPadraoBeforeGetQueryParams(QueryParams& params) const
{
    params.set(P_CDFILIAL, stCdFilial);
    params.set(P_CDPACIENTE, stCdPaciente);
    params.set(P_DTINI, dateOf(m_iniText));
    params.set(P_DTFIN, dateOf(m_finText));
    params.set(P_CDMETODO, m_lista ? m_chosen : kTodosMetodos);
}

ReportData AvalNutricForm::PrepareReport()
{
    CheckSelection();
    QueryParams params = report.newParams();
    rpddPadraoBeforeGetQueryParams(params);
    hostfw::BusyGuard busy(m_busy, hostfw::AviKind::Searching);
    netAvalNutric.Open();
    return report.load(netAvalNutric, params);
}

}  // namespace report
