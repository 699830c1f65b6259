// calc: one consultation run on the assessment tab as a user would run it in the window.

#include "commands.h"
#include "consultation_session.h"

#include "workspace/data_types.h"
#include "workspace/method_page.h"
#include "workspace/result_page.h"

namespace cli {

int calculate(const Command& command, QTextStream& out)
{
    ConsultationSession session(command);
    workspace::AssessmentForm& form = session.form();

    // The method page: select each method as the user would.
    for (const MethodChoice& method : command.methods)
        form.methodPage().selectMethod(method.code, method.reference);

    // The result page: type each value or pick each coded answer from its list, give the
    // limbs of the marked amputations, then Calculate.
    form.pgcAvalNutr = workspace::InnerPage::tshAvaliacao;
    form.pgcAvalNutrChange();
    workspace::ResultPage& page = form.resultPage();
    for (const TypedValue& value : command.values) {
        if (workspace::data_types::isCoded(value.dataType))
            page.recordAnswer(value.dataType, value.text);
        else
            page.recordValue(value.dataType, value.text);
    }
    for (const TypedValue& limbs : command.limbs)
        page.recordLimbCount(limbs.dataType, limbs.text);
    form.sbtCalcularClick();

    printResultLines(form.cdsResuAval, command.json, out);
    return 0;
}

}  // namespace cli
