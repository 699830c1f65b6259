#pragma once

// One consultation opened as the window opens it: the patient looked up in the
// registry, the module context set, the form core created and activated with the
// calculation pass of every page installed. The commands then act on its pages as a
// user would.

#include "cli_options.h"

#include "anthropometry/assessment_pass.h"
#include "energy/energy_pass.h"
#include "recommendation/nutrient_amounts.h"
#include "records/dataset.h"
#include "workspace/assessment_form.h"
#include "workspace/calculation_run.h"

#include <QTextStream>

namespace cli {

class ConsultationSession
{
public:
    // Throws records::Error for an unknown patient or a consultation before the birth.
    explicit ConsultationSession(const Command& command);
    ~ConsultationSession();
    ConsultationSession(const ConsultationSession&) = delete;
    ConsultationSession& operator=(const ConsultationSession&) = delete;

    workspace::AssessmentForm& form() { return m_form; }

private:
    anthropometry::AssessmentPass m_assessment;
    energy::EnergyPass m_energy;
    recommendation::RecommendationPass m_recommendation;
    workspace::CalculationRun m_run;
    workspace::AssessmentForm m_form;
};

// After a change the server refused because another user changed the consultation: the
// consultation is opened again and the result lines it stores for the command's tab are
// printed, so the user sees what is stored (the refusal itself goes to the error
// presenter). Does nothing for a command without a consultation.
void showStoredConsultation(const Command& command, QTextStream& out);

// The result lines of a page: method, sequence, description and result, one line each
// separated by tabs, or a JSON array of objects.
void printResultLines(const records::DataSet& lines, bool json, QTextStream& out);

}  // namespace cli
