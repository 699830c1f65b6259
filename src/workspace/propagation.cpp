// A posted value of the data grid becomes the recorded value of every method of the
// consultation that needs its data type; the same spreading runs before a calculation.

#include "data_types.h"
#include "module_context.h"
#include "result_page.h"
#include "value_fields.h"
#include "workspace_messages.h"

#include "hostfw/reply_check.h"
#include "records/packet_codec.h"

namespace workspace {

using namespace value_fields;

namespace {

const QString kMethod = QStringLiteral("CDTBMETOAVAL");

}  // namespace

QString ResultPage::anthropometricFilter()
{
    return QStringLiteral("AND (DA.CDTIPODADO < '23' OR DA.CDTIPODADO > '34') "
                          "AND (ME.CDTBMETOAVAL < '30' OR ME.CDTBMETOAVAL > '36')");
}

QString ResultPage::energyFilter()
{
    return QStringLiteral("AND (DA.CDTIPODADO >= '23' AND DA.CDTIPODADO <= '34') "
                          "AND (ME.CDTBMETOAVAL >= '30' AND ME.CDTBMETOAVAL <= '36')");
}

void ResultPage::propagateDataRow(records::DataSet& ds)
{
    // The grid is a working copy: nothing sends its own change log.
    ds.mergeChangeLog();
    if (m_dataEdit == DataEdit::Quiet)
        return;
    hostfw::BusyGuard busy(m_form.busyIndicator(), hostfw::AviKind::Saving,
                           msgPadrao().Msg(QStringLiteral("Atu_Serv")));
    propagateRecordedValue(ds.asString(kType), ds.value(kValue), ds.value(kObservation));
    recountLimbs();
}

void ResultPage::propagateRecordedValue(const QString& dataType, const QVariant& value,
                                        const QVariant& observation)
{
    records::DataSet& cdsInfoAval = m_form.cdsInfoAval;
    records::DataSet& cdsPesqDadoAval = m_form.cdsPesqDadoAval;
    // Every method that has the value already gets the new text...
    cdsInfoAval.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(netAvalNutrEnerg.GetInfoAval(key(), dataType), true, 0)));
    for (cdsInfoAval.first(); !cdsInfoAval.eof(); cdsInfoAval.next()) {
        cdsInfoAval.edit();
        cdsInfoAval.setValue(kValue, value);
        cdsInfoAval.setValue(kObservation, observation);
        cdsInfoAval.post();
    }
    // ...and every selected method that needs it and has none gets one.
    cdsPesqDadoAval.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(netAvalNutrEnerg.GetPesqDadoAval(key(), dataType), true, 0)));
    for (cdsPesqDadoAval.first(); !cdsPesqDadoAval.eof(); cdsPesqDadoAval.next()) {
        const QString method = cdsPesqDadoAval.asString(kMethod);
        if (cdsInfoAval.locate(kMethod, method))
            continue;
        cdsInfoAval.append();
        cdsInfoAval.setValue(QStringLiteral("CDPACIENTE"), stCdPaciente);
        cdsInfoAval.setValue(QStringLiteral("DTCONSPACI"), dtConsulta);
        cdsInfoAval.setValue(kMethod, method);
        cdsInfoAval.setValue(kType, dataType);
        cdsInfoAval.setValue(kValue, value);
        cdsInfoAval.setValue(kObservation, observation);
        cdsInfoAval.post();
    }
}

void ResultPage::recountLimbs()
{
    inMaoMembro = 0;
    inPeMembro = 0;
    for (int row = 0; row < cdsDadosAval.recordCount(); ++row) {
        const QString type = cdsDadosAval.asStringAt(row, kType);
        const QString unit = cdsDadosAval.asStringAt(row, kUnit);
        if (!data_types::isAmputation(type) || cdsDadosAval.asStringAt(row, kValue) != u"1"
            || unit.isEmpty())
            continue;
        if (data_types::isUpperLimb(type))
            inMaoMembro += unit.toInt();
        else
            inPeMembro += unit.toInt();
    }
}

void ResultPage::Atualiza_DadosInf()
{
    records::DataSet& cdsAtualizaDados = m_form.cdsAtualizaDados;
    const QString filter =
        m_form.pgcPadrao == OuterPage::tshPadrao ? energyFilter() : anthropometricFilter();
    cdsAtualizaDados.loadPacket(records::decodePacket(
        hostfw::CheckResultServ(netAvalNutrEnerg.GetAtualizaDados(key(), filter), true, 0)));
    for (cdsAtualizaDados.first(); !cdsAtualizaDados.eof(); cdsAtualizaDados.next())
        propagateRecordedValue(cdsAtualizaDados.asString(kType), cdsAtualizaDados.value(kValue),
                               cdsAtualizaDados.value(kObservation));
}

}  // namespace workspace
