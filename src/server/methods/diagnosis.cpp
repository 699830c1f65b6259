#include "diagnosis.h"

#include "../api/text_check.h"
#include "../model/delta_writer.h"

#include <records/rich_text.h>

namespace server::methods {
namespace {

// The diagnosis is stored only in the form the formatting bar produces, which is what
// the window and the command line send: anything else (scripts, event handlers, remote
// images, styles, text that is not UTF-8) is refused, and the whole change log with it.
void checkDiagnosisText(Transaction&, const model::RowValues& row)
{
    const QVariant value = row.value(QStringLiteral("DSHISTAVALNUT"));
    if (model::isNull(value))
        return;
    const QByteArray bytes = value.toByteArray();
    if (const std::optional<QString> problem = api::utf8TextProblem(bytes))
        throw ApiError::badRequest(QStringLiteral("o texto do diagnóstico %1.").arg(*problem));
    const QString text = QString::fromUtf8(bytes);
    const records::CleanRichText clean = records::cleanRichText(text);
    if (clean.html.toUtf8() == bytes)
        return;
    if (!clean.removed.isEmpty()) {
        const QStringList shown = clean.removed.mid(0, 5);
        throw ApiError::badRequest(
            QStringLiteral("o texto do diagnóstico traz marcação que a barra de formatação não "
                           "produz (%1).")
                .arg(shown.join(QStringLiteral(", "))));
    }
    throw ApiError::badRequest(
        QStringLiteral("o texto do diagnóstico não está no formato gravado pela barra de "
                       "formatação (HTML com parágrafos, listas, negrito, itálico, sublinhado "
                       "e tamanho da fonte)."));
}

}  // namespace

void registerDiagnosis(RouteTable& routes, Database& db)
{
    routes.add(QStringLiteral("GetDiag"), api::arg::key(), [&db](const Params& p) -> QJsonValue {
        const records::ConsultationKey k = p.key();
        return storage::inTransaction(db, Access::ReadOnly, [&](Transaction& tx) -> QJsonValue {
            const QList<SqlRow> rows =
                tx.select(QStringLiteral("SELECT CDFILIAL, CDPACIENTE, DTCONSPACI, DSHISTAVALNUT "
                                         "FROM diagnutri WHERE ")
                              + keyCondition(),
                          keyParams(k));
            return model::PacketBuilder(records::layouts::cdsDiagNutri())
                .rows(rows, {QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"),
                             QStringLiteral("DTCONSPACI"), QStringLiteral("DSHISTAVALNUT")})
                .json();
        });
    });

    model::TableBinding b;
    b.method = QStringLiteral("SetDiag");
    b.table = QStringLiteral("diagnutri");
    b.layout = &records::layouts::cdsDiagNutri();
    b.columns = {QStringLiteral("CDFILIAL"), QStringLiteral("CDPACIENTE"),
                 QStringLiteral("DTCONSPACI"), QStringLiteral("DSHISTAVALNUT")};
    b.checkRow = checkDiagnosisText;
    addDeltaMethod(routes, db, b);
}

}  // namespace server::methods
