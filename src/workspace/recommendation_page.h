#pragma once

// The core of the energy tab's page "Recomendação de Nutriente" (tshNutrRecom): the
// recommendations of the consultation (cdsNutrRefe, one per reference of recommended
// intakes and nutrient group) with their reference, group and chosen nutrients, the
// computed nutrient amounts of the recommendation under the cursor (cdsNutrePaci,
// filtered), and the panel panDados (current weight and height shown, the ideal-weight
// choice, the adequate weight, the patient type). Posting a recommendation checks it
// against the server and has its nutrient amounts computed by the routine the
// recommendation engine installs (Calcula_RecomNutri).

#include "assessment_form.h"

#include <QJsonValue>
#include <QStringList>

#include <functional>
#include <utility>

namespace workspace {

class RecommendationPage
{
public:
    explicit RecommendationPage(AssessmentForm& form);
    RecommendationPage(const RecommendationPage&) = delete;
    RecommendationPage& operator=(const RecommendationPage&) = delete;

    // The hooks of the two datasets (post checks, delete, filter, calculated fields).
    void prepareDataSets();

    // The routine that computes and stores the nutrient rows of the current
    // recommendation (Calcula_RecomNutri); the module and the command line install it.
    using Routine = std::function<void(AssessmentForm&)>;
    void setCalcula_RecomNutri(Routine routine) { m_calculate = std::move(routine); }
    void Calcula_RecomNutri();

    // Entering the page: the adequate weight defaulted to "0", the recommendations and
    // their nutrient rows loaded from the consultation packet, the current weight and
    // height shown, the nutrient filter applied.
    void enterPage();
    // The nutrient rows of the recommendation under the cursor only.
    void applyNutrientFilter();

    // --- the panel ---
    QString medPesoRec;    // "Peso Atual", the first recorded weight (display only)
    QString medAlturaRec;  // "Altura", the first recorded height as a number (display only)
    // "Tipo de Paciente": "Normal" and "Atleta", and for a woman "Gestante" and "Nutriz".
    QStringList cbbTipoPaci;
    int cbbTipoPaciIndex = -1;
    // The code the server knows the chosen patient type by ("0" normal, "3" athlete, "1"
    // pregnant, "2" lactating; empty for none).
    QString patientTypeCode() const;
    // "Peso Ideal" of the current nutrient row (dbePesoIdeal).
    QString dbePesoIdeal() const;
    // Sets the patient type by its text; false for a text the list does not hold.
    bool choosePatientType(const QString& text);

    // The chosen-nutrient codes of the recommendation being edited ("_001_017_"), sent
    // to the server and to the names query.
    QString chosenCodes;

    // --- the upper grid ---
    // The pick button of a column of the current recommendation: "CDRFNUTRECOM" the
    // references, "CDGRUPNUTR" the groups, "NMNUTRESC" the multiple choice of the
    // group's nutrients. Nothing on a read-only consultation or when nothing is picked.
    void dbgRefeRecomEditButtonClick(const QString& column);
    // Leaving a column of a recommendation being edited: a typed reference or group
    // code is padded and looked up; an unknown one ends with its message.
    void dbgRefeRecomColExit(const QString& column);
    // Include: a new recommendation row. Delete: asks "Confirma exclusão?" and deletes
    // the recommendation with its nutrient rows. Both nothing on a read-only consultation
    // (Delete answers false then, and when the user says no).
    void include();
    bool deleteRecommendation();
    // Confirm and cancel of the recommendation being edited.
    void post();
    void cancel();

    // For the command line, as a user would type and choose: a reference and a group
    // code typed into the current row (checked on leaving the column), and the nutrients
    // chosen by code from the group's list. Codes that are not three digits of the
    // group's list are refused with a message and nothing changes.
    void typeCode(const QString& column, const QString& code);
    void chooseNutrients(const QStringList& codes);

    // The lists behind the picks and the server's answers kept by the page.
    records::DataSet cdsRefeRecom;
    records::DataSet cdsGrupNutr;
    records::DataSet qryPesNutrientes;
    records::DataSet qryPesqNmNutr;
    records::DataSet cdsPesqNutrPaci;
    records::DataSet cdsNutRecom;
    QJsonValue oleNutr;

    // The control that the last check asked to focus ("CDRFNUTRECOM", "CDGRUPNUTR",
    // "NMNUTRESC"); the widgets follow focusRequested.
    QString focusedColumn;

private:
    void openRecommendations();
    void rebuildPatientTypes();
    void computeCalculatedFields();
    void fetchFactorGroups(const QString& reference, const QString& group);
    void beforePost();
    void reloadConsultation();
    QString nutrientNames(records::DataSet& nutrients) const;
    void focusColumn(const QString& column);
    bool readOnly() const { return m_form.readOnly(); }

    AssessmentForm& m_form;
    Routine m_calculate;
    std::pair<QString, QString> m_editedKey;  // reference and group when the edit began
    QString m_nutrientGroupLoaded;            // the group qryPesNutrientes was opened for
    bool m_walking = false;                   // the calculated fields are being filled
};

}  // namespace workspace
