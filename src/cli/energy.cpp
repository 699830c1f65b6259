// energy: one consultation run on the energy tab ("Necessidades Nutricionais") as a
// user would run it in the window.

#include "commands.h"
#include "consultation_session.h"

#include "hostfw/error_display.h"
#include "workspace/energy_page.h"

namespace cli {
namespace {

// The item of the ideal-weight chooser with this name; an empty name chooses none.
int idealWeightItem(const workspace::AssessmentForm& form, const QString& name)
{
    if (name.isEmpty())
        return -1;
    const int item = form.cbbPesoIdeal.indexOf(name);
    if (item < 0)
        hostfw::MensErro(QStringLiteral("Método de peso ideal desconhecido: '%1'. Os métodos "
                                        "são: %2.")
                             .arg(name, form.cbbPesoIdeal.join(QStringLiteral("; "))),
                         true);
    return item;
}

}  // namespace

int calculateEnergy(const Command& command, QTextStream& out)
{
    ConsultationSession session(command);
    workspace::AssessmentForm& form = session.form();
    workspace::EnergyPage& page = form.energyPage();

    // The method page of the energy tab: select each method as the user would.
    form.showPage(workspace::OuterPage::tshPadrao, std::nullopt,
                  workspace::EnergPage::tshMetodoEnerg);
    for (const MethodChoice& method : command.methods)
        page.selectMethod(method.code, method.reference);

    // The result page: the factors picked, the panel typed, then Calculate.
    form.showPage(workspace::OuterPage::tshPadrao, std::nullopt,
                  workspace::EnergPage::tshResulEnerg);
    for (const FactorChoice& factor : command.factors)
        page.chooseFactor(factor.method, factor.dataType, factor.code);
    if (command.weight)
        page.medPeso = *command.weight;
    if (command.height)
        page.medAltura = *command.height;
    if (command.idealMethod)
        form.cbbPesoIdealIndex = idealWeightItem(form, *command.idealMethod);
    if (command.adequateWeight)
        page.medPesoAdeq = *command.adequateWeight;
    form.sbtCalcularClick();

    printResultLines(form.cdsResuAvalEnerg, command.json, out);
    return 0;
}

}  // namespace cli
