// recommend: one nutrient recommendation of a consultation recorded on the page
// "Recomendação de Nutriente" as a user would record it in the window.

#include "commands.h"
#include "consultation_session.h"

#include "hostfw/error_display.h"
#include "hostfw/text.h"
#include "workspace/recommendation_page.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace cli {
namespace {

// The item of a chooser with this name; an empty name chooses none.
int itemNamed(const QStringList& items, const QString& name, const QString& what)
{
    if (name.isEmpty())
        return -1;
    const int item = items.indexOf(name);
    if (item < 0)
        hostfw::MensErro(QStringLiteral("%1 desconhecido: '%2'. Os itens são: %3.")
                             .arg(what, name, items.join(QStringLiteral("; "))),
                         true);
    return item;
}

// The patient type by its text or its item index.
QString patientTypeText(const QStringList& items, const QString& typed)
{
    bool isNumber = false;
    const int index = typed.toInt(&isNumber);
    if (isNumber && index >= 0 && index < items.size())
        return items[index];
    itemNamed(items, typed, QStringLiteral("Tipo de paciente"));
    return typed;
}

void printNutrients(const records::DataSet& rows, bool json, QTextStream& out)
{
    static const char* const fields[] = {"NMNUTRIENTE",  "SGUNIDADE",    "DSNUTPEATUAL",
                                         "DSPESOIDEAL",  "DSNUTPEIDEAL", "DSPESOADEQU",
                                         "DSNUTPEADEQU", "CDNUTRIENTE"};
    static const char* const names[] = {"nutrient", "unit",           "current",  "idealWeight",
                                        "ideal",    "adequateWeight", "adequate", "code"};
    QJsonArray array;
    for (int row = 0; row < rows.recordCount(); ++row) {
        QJsonObject object;
        QStringList line;
        for (std::size_t f = 0; f < std::size(fields); ++f) {
            const QString text = rows.asStringAt(row, QString::fromLatin1(fields[f]));
            object.insert(QString::fromLatin1(names[f]), text);
            if (f + 1 < std::size(fields))
                line << text;
        }
        if (json)
            array.append(object);
        else
            out << line.join(u'\t') << '\n';
    }
    if (json)
        out << QJsonDocument(array).toJson(QJsonDocument::Indented);
}

}  // namespace

int recommend(const Command& command, QTextStream& out)
{
    ConsultationSession session(command);
    workspace::AssessmentForm& form = session.form();
    workspace::RecommendationPage& page = form.recommendationPage();
    form.showPage(workspace::OuterPage::tshPadrao, std::nullopt,
                  workspace::EnergPage::tshNutrRecom);
    if (form.readOnly())
        hostfw::MensErro(
            QStringLiteral("A consulta de um paciente em óbito não pode ser alterada."), true);

    // The panel, as typed and chosen.
    if (command.adequateWeight)
        form.medPesoAdRec = command.adequateWeight->trimmed();
    if (command.idealMethod)
        form.cbbPesoIdealRecIndex = itemNamed(form.cbbPesoIdealRec, *command.idealMethod,
                                              QStringLiteral("Método de peso ideal"));
    if (command.patientType)
        page.choosePatientType(patientTypeText(page.cbbTipoPaci, *command.patientType));

    // The recommendation of this reference and group when there is one, else a new row.
    const QStringList codes =
        command.nutrients.split(QRegularExpression(QStringLiteral("[,_\\s]+")), Qt::SkipEmptyParts);
    records::DataSet& recs = form.cdsNutrRefe;
    const QString reference = command.reference.trimmed();
    const QString group = command.group.trimmed();
    if (reference.size() <= 2 && group.size() <= 2 && !reference.isEmpty() && !group.isEmpty()
        && recs.locate(QStringLiteral("CDRFNUTRECOM;CDGRUPNUTR"),
                       {hostfw::Ajusta(reference, 2), hostfw::Ajusta(group, 2)}))
        recs.edit();
    else
        page.include();
    page.typeCode(QStringLiteral("CDRFNUTRECOM"), reference);
    page.typeCode(QStringLiteral("CDGRUPNUTR"), group);
    page.chooseNutrients(codes);
    const QVariantList key = {recs.asString(QStringLiteral("CDRFNUTRECOM")),
                              recs.asString(QStringLiteral("CDGRUPNUTR"))};
    page.post();

    // What the page shows for it once the consultation is read again (nothing when no
    // nutrient had a weight to be computed for).
    if (!recs.locate(QStringLiteral("CDRFNUTRECOM;CDGRUPNUTR"), key))
        return 0;
    page.applyNutrientFilter();
    printNutrients(form.cdsNutrePaci, command.json, out);
    return 0;
}

}  // namespace cli
