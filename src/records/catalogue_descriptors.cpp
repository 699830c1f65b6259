#include "catalogue_descriptors.h"

#include <algorithm>

namespace records {
namespace {

namespace M = method;
namespace D = data_type;

// clang-format off
const MethodDescriptor kMethods[] = {
    {.code = M::kImc, .routineName = "Calcula_IMC"},
    {.code = M::kImcMust, .routineName = "Calcula_IMC_Must", .group = ExclusiveGroup::BodyMassIndex, .groupMessageKey = "Imc_Sele"},
    {.code = M::kPct, .routineName = "Calcula_PCT"},
    {.code = M::kCmb, .routineName = "Calcula_CMB"},
    {.code = M::kCb, .routineName = "Calcula_CB"},
    {.code = M::kAmb, .routineName = "Calcula_AMB"},
    {.code = M::kPesoIdeal, .routineName = "Calcula_PesoIdeal"},
    {.code = M::kRcq, .routineName = "Calcula_RCQ"},
    {.code = M::kAgb, .routineName = "Calcula_AGB"},
    {.code = M::kPesoIdealMust, .routineName = "Calcula_PesoIdeal_Must", .sharesReferencesOf = M::kImcMust},
    {.code = M::kPesoIdealBurrPhi, .routineName = "Calcula_PesoIdeal_BurrPhi", .sharesReferencesOf = M::kImcMust},
    {.code = M::kCircunfCintura, .routineName = "Calcula_CircunfCintura"},
    {.code = M::kAnGomez, .routineName = "Calcula_AN_GOMEZ"},
    {.code = M::kAnWaterlow, .routineName = "Calcula_AN_Waterlow"},
    {.code = M::kPesoIdealFrisancho, .routineName = "Calcula_PesoIdeal_Frisancho", .sharesReferencesOf = M::kImcMust},
    {.code = M::kPerCefalico, .routineName = "Calcula_PerCefalico"},
    {.code = M::kSomaPrega, .routineName = "Calcula_SomaPrega"},
    {.code = M::kBiaGordura, .routineName = "Calcula_BiaGordura"},
    {.code = M::kImcAmputado, .routineName = "Calcula_IMC_Amputado", .group = ExclusiveGroup::BodyMassIndex, .groupMessageKey = "Imc_Amp_Sele"},
    {.code = M::kPesoIdealGrant, .routineName = "Calcula_PesoIdeal_Grant"},
    {.code = M::kPesoIdealLorenz, .routineName = "Calcula_PesoIdeal_Lorenz"},
    {.code = M::kPtPc, .routineName = "Calcula_PT_PC"},
    {.code = M::kPesoIdealImc, .routineName = "Calcula_PesoIdeal_Imc"},
    {.code = M::kPesoIdealWeech, .routineName = "Calcula_PesoIdeal_Weech"},
    {.code = M::kPesoIdealIdade, .routineName = "Calcula_PesoIdeal_Idade"},
    {.code = M::kPesoIdealAltura, .routineName = "Calcula_PesoIdeal_Altura"},
    {.code = M::kPerdaPeso, .routineName = "Calcula_PerdaPeso"},
    {.code = M::kPesoAjustadoOb, .routineName = "Calcula_PesoAjustado_Ob"},
    {.code = M::kMaturacaoSexual, .routineName = "Calcula_MaturacaoSexual", .audience = Audience::WomenAndBoysUnder18},
    {.code = M::kSiri, .routineName = "Calcula_Siri", .audience = Audience::NotMenOver34},
    {.code = M::kHarris, .routineName = "Calcula_Harris", .page = MethodPage::Energy, .idealWeightPass = true},
    {.code = M::kPacienteHospital, .routineName = "Calcula_PacienteHospital", .page = MethodPage::Energy},
    {.code = M::kRda, .routineName = "Calcula_RDA", .page = MethodPage::Energy, .idealWeightPass = true},
    {.code = M::kDuBois, .routineName = "Calcula_DuBois", .page = MethodPage::Energy, .idealWeightPass = true},
    {.code = M::kIretonJones, .routineName = "Calcula_IretonJones", .page = MethodPage::Energy, .idealWeightPass = true},
    {.code = M::kCatchUp, .routineName = "Calcula_Catch_up", .page = MethodPage::Energy, .energyReferenceChecked = true},
    {.code = M::kPacienteObesos, .routineName = "Calcula_PacienteObesos", .page = MethodPage::Energy},
    {.code = M::kPesoIdade036Nchs, .routineName = "Calcula_PesoIdadeAltura"},
    {.code = M::kPesoIdade210Nchs, .routineName = "Calcula_PesoIdadeAltura"},
    {.code = M::kAlturaIdade036Nchs, .routineName = "Calcula_PesoIdadeAltura"},
    {.code = M::kAlturaIdade210Nchs, .routineName = "Calcula_PesoIdadeAltura"},
    {.code = M::kPesoAltura49103Nchs, .routineName = "Calcula_PesoIdadeAltura"},
    {.code = M::kPesoAltura55145Nchs, .routineName = "Calcula_PesoIdadeAltura"},
    {.code = M::kPesoIdade060Oms, .routineName = "Calcula_PesoIdadeAltura"},
    {.code = M::kAlturaIdade024Oms, .routineName = "Calcula_PesoIdadeAltura"},
    {.code = M::kAlturaIdade2460Oms, .routineName = "Calcula_PesoIdadeAltura"},
    {.code = M::kPesoAltura45110Oms, .routineName = "Calcula_PesoIdadeAltura"},
    {.code = M::kPesoAltura65120Oms, .routineName = "Calcula_PesoIdadeAltura"},
    {.code = M::kImcAdolescente, .routineName = "Calcula_IMCAdolescente", .group = ExclusiveGroup::BodyMassIndex, .groupMessageKey = "Imc_Ado_Sele"},
    {.code = M::kImcOms98, .routineName = "Calcula_IMCOms98", .group = ExclusiveGroup::BodyMassIndex, .groupMessageKey = "Imc_Oms_Sele"},
    {.code = M::kRcqOms98, .routineName = "Calcula_RCQOms98"},
    {.code = M::kCircCintOms98, .routineName = "Calcula_CircCintOms98"},
    {.code = M::kPesoChumlea85, .routineName = "Calcula_PesoChumlea85"},
    {.code = M::kAlturaChumlea85, .routineName = "Calcula_AlturaChumlea85"},
    {.code = M::kCompOsseaML83, .routineName = "Calcula_Comp_OsseaML83"},
    {.code = M::kAdeqPes, .routineName = "Calcula_AdeqPes"},
    {.code = M::kPerPes, .routineName = "Calcula_PerPes"},
    {.code = M::kPesAjust, .routineName = "Calcula_PesAjust"},
    {.code = M::kPesEdema, .routineName = "Calcula_PesEdema"},
    {.code = M::kPesAmpu, .routineName = "Calcula_PesAmpu"},
    {.code = M::kAmbc, .routineName = "Calcula_AMBC"},
    {.code = M::kTmbHb1919, .routineName = "Calcula_TMB_HB1919"},
    {.code = M::kTmbFao, .routineName = "Calcula_TMB_FAO"},
    {.code = M::kPesoObeso, .routineName = "Calcula_PesoObeso"},
    {.code = M::kEer, .routineName = "Calcula_EER"},
    {.code = M::kEerGest, .routineName = "Calcula_EERGest", .audience = Audience::NotMen},
    {.code = M::kEerLac, .routineName = "Calcula_EERLac", .audience = Audience::NotMen},
    {.code = M::kImcIdoso, .routineName = "Calcula_IMCIdoso", .group = ExclusiveGroup::BodyMassIndex, .groupMessageKey = "Imc_Ido_Sele"},
    {.code = M::kImcGestante, .routineName = "Calcula_IMCGestante", .group = ExclusiveGroup::BodyMassIndex, .groupMessageKey = "IMC_Ges_Sele", .audience = Audience::NotMen},
};

const DataTypeDescriptor kDataTypes[] = {
    {.code = D::kPeso, .entry = DataEntry::Number, .estimable = true},
    {.code = D::kAltura, .entry = DataEntry::Number, .estimable = true},
    {.code = D::kPcb, .entry = DataEntry::Number},
    {.code = D::kPct, .entry = DataEntry::Number},
    {.code = D::kPcse, .entry = DataEntry::Number},
    {.code = D::kPcsi, .entry = DataEntry::Number},
    {.code = D::kOssaturaPunho, .entry = DataEntry::Number},
    {.code = D::kCircBraco, .entry = DataEntry::Number},
    {.code = D::kAlturaJoelho, .entry = DataEntry::Number},
    {.code = D::kCircQuadril, .entry = DataEntry::Number},
    {.code = D::kCircCintura, .entry = DataEntry::Number},
    {.code = D::kCircPanturrilha},
    {.code = D::kPesoHabitual},
    {.code = D::kBiaGorduraAtual, .entry = DataEntry::Number},
    {.code = D::kPesoAntesAmputacao, .entry = DataEntry::Number},
    {.code = D::kPercentualAmputacao, .entry = DataEntry::Number},
    {.code = D::kPesoIdeal},
    {.code = D::kPesoAdequado},
    {.code = D::kCircTorax},
    {.code = D::kCircBronquio},
    {.code = D::kPerimetroCefalico},
    {.code = D::kFatorTermico, .energyFactor = true},
    {.code = D::kFatorAtividade, .energyFactor = true},
    {.code = D::kFatorInjuria, .energyFactor = true},
    {.code = D::kTrimestreGravidez, .entry = DataEntry::Answer, .answers = AnswerList::PregnancyTrimester, .energyFactor = true},
    {.code = D::kSemestreLactacao, .energyFactor = true},
    {.code = D::kReferenciaRda, .energyFactor = true},
    {.code = D::kDependenteRespirador, .energyFactor = true},
    {.code = D::kObesidade, .energyFactor = true},
    {.code = D::kTrauma, .energyFactor = true},
    {.code = D::kQueimadura, .energyFactor = true},
    {.code = D::kRda, .energyFactor = true},
    {.code = D::kInjuria, .energyFactor = true},
    {.code = D::kPesoUsual, .entry = DataEntry::Number},
    {.code = D::kTempo, .entry = DataEntry::Answer, .answers = AnswerList::Time},
    {.code = D::kMaturacaoSexual, .entry = DataEntry::Stage},
    {.code = D::kPccx},
    {.code = D::kPesoAtual},
    {.code = D::kEdemaTornozelo, .entry = DataEntry::Answer, .answers = AnswerList::Edema},
    {.code = D::kEdemaJoelho, .entry = DataEntry::Answer, .answers = AnswerList::Edema},
    {.code = D::kEdemaRaizCoxa, .entry = DataEntry::Answer, .answers = AnswerList::Edema},
    {.code = D::kEdemaAnasarca, .entry = DataEntry::Answer, .answers = AnswerList::Edema},
    {.code = D::kMembroMao, .entry = DataEntry::Answer, .answers = AnswerList::Limb, .limb = Limb::Upper},
    {.code = D::kMembroAntebraco, .entry = DataEntry::Answer, .answers = AnswerList::Limb, .limb = Limb::Upper},
    {.code = D::kMembroBraco, .entry = DataEntry::Answer, .answers = AnswerList::Limb, .limb = Limb::Upper},
    {.code = D::kMembroPe, .entry = DataEntry::Answer, .answers = AnswerList::Limb, .limb = Limb::Lower},
    {.code = D::kMembroPernaAbaixoJoelho, .entry = DataEntry::Answer, .answers = AnswerList::Limb, .limb = Limb::Lower},
    {.code = D::kMembroPernaAcimaJoelho, .entry = DataEntry::Answer, .answers = AnswerList::Limb, .limb = Limb::Lower},
    {.code = D::kMembroPernaInteira, .entry = DataEntry::Answer, .answers = AnswerList::Limb, .limb = Limb::Lower},
    {.code = D::kNaf, .entry = DataEntry::Answer, .answers = AnswerList::ActivityLevel},
    {.code = D::kTrimestreLactacao, .entry = DataEntry::Answer, .answers = AnswerList::LactationTrimester},
    {.code = D::kSemanaGestacional, .entry = DataEntry::WholeNumber},
};
// clang-format on

template <typename T> const T* findByCode(std::span<const T> table, QAnyStringView code)
{
    const auto it = std::find_if(table.begin(), table.end(),
                                 [&](const T& d) { return QAnyStringView::equal(d.code, code); });
    return it == table.end() ? nullptr : &*it;
}

}  // namespace

QString MethodDescriptor::referenceOwner() const
{
    return sharesReferencesOf.isEmpty() ? QString(code) : QString(sharesReferencesOf);
}

std::span<const MethodDescriptor> methodDescriptors()
{
    return kMethods;
}

const MethodDescriptor* findMethodDescriptor(QAnyStringView code)
{
    return findByCode(methodDescriptors(), code);
}

bool isEnergyMethod(QAnyStringView code)
{
    const MethodDescriptor* method = findMethodDescriptor(code);
    return method && method->page == MethodPage::Energy;
}

bool offeredTo(const MethodDescriptor& method, QAnyStringView sexLetter, int ageYears)
{
    const bool man = QAnyStringView::equal(sexLetter, u"M");
    switch (method.audience) {
    case Audience::Everyone:
        return true;
    case Audience::NotMen:
        return !man;
    case Audience::NotMenOver34:
        return !(man && ageYears > 34);
    case Audience::WomenAndBoysUnder18:
        return QAnyStringView::equal(sexLetter, u"F") || (man && ageYears < 18);
    }
    return true;
}

std::span<const DataTypeDescriptor> dataTypeDescriptors()
{
    return kDataTypes;
}

const DataTypeDescriptor& dataTypeDescriptor(QAnyStringView code)
{
    static const DataTypeDescriptor unknown{};
    const DataTypeDescriptor* found = findByCode(dataTypeDescriptors(), code);
    return found ? *found : unknown;
}

}  // namespace records
