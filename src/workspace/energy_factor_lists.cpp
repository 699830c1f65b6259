#include "energy_factor_lists.h"

#include "records/method_codes.h"

namespace workspace::energy_factors {
namespace {

namespace C = records::choice_lists;
namespace M = records::method;
namespace T = records::data_type;

struct FactorList
{
    QLatin1String method;
    QLatin1String dataType;
    const records::ChoiceList& (*list)();
    const char* caption;
};

// The yes/no questions of Ireton-Jones are captioned by what they ask.
const FactorList kLists[] = {
    {M::kHarris, T::kFatorTermico, &C::cdsTrabFatorTer, "Fator Térmico"},
    {M::kHarris, T::kFatorAtividade, &C::cdsTrabAtivHarris, "Atividade Física"},
    {M::kPacienteHospital, T::kInjuria, &C::cdsTrabPaciHosp, "Injúria"},
    {M::kRda, T::kFatorAtividade, &C::cdsTrabAtivRda, "Atividade Física"},
    {M::kDuBois, T::kFatorAtividade, &C::cdsTrabAtivDuBois, "Atividade Física"},
    {M::kIretonJones, T::kDependenteRespirador, &C::cdsTrabStatus, "Dependente de Respirador"},
    {M::kIretonJones, T::kObesidade, &C::cdsTrabStatus, "Obesidade"},
    {M::kIretonJones, T::kTrauma, &C::cdsTrabStatus, "Trauma"},
    {M::kIretonJones, T::kQueimadura, &C::cdsTrabStatus, "Queimadura"},
};

const FactorList* find(const QString& method, const QString& dataType)
{
    for (const FactorList& f : kLists) {
        if (f.method == method && f.dataType == dataType)
            return &f;
    }
    return nullptr;
}

}  // namespace

const records::ChoiceList* listOf(const QString& method, const QString& dataType)
{
    if (const FactorList* f = find(method, dataType))
        return &f->list();
    // Every answer of Ireton-Jones is a yes or a no.
    if (method == M::kIretonJones)
        return &C::cdsTrabStatus();
    return nullptr;
}

QString captionOf(const QString& method, const QString& dataType)
{
    if (method == M::kHarris && dataType == T::kFatorInjuria)
        return QStringLiteral("Fator de Injúria");
    if (method == M::kCatchUp && dataType == T::kRda)
        return QStringLiteral("RDA");
    const FactorList* f = find(method, dataType);
    return f ? QString::fromUtf8(f->caption) : QString();
}

QString nameOf(const records::ChoiceList& list, const QString& code)
{
    for (const records::ChoiceRow& row : list.rows) {
        if (row.code == code)
            return row.text;
    }
    return QString();
}

std::optional<FactorDefault> defaultOf(const QString& method, const QString& dataType)
{
    if (method == M::kHarris && dataType == T::kFatorTermico)
        return FactorDefault{QStringLiteral("4"), {}};  // Normal
    if (method == M::kHarris && dataType == T::kFatorAtividade)
        return FactorDefault{QStringLiteral("2"), {}};  // Ambulante (1,30)
    if (method == M::kHarris && dataType == T::kFatorInjuria)
        return FactorDefault{QStringLiteral("1"), QStringLiteral("29")};  // no injury, 1
    if (method == M::kRda && dataType == T::kFatorAtividade)
        return FactorDefault{QStringLiteral("0"), {}};  // Muito Leve
    if (method == M::kDuBois && dataType == T::kFatorAtividade)
        return FactorDefault{QStringLiteral("0"), {}};  // Sem Atividade (500 Kcal)
    return std::nullopt;
}

}  // namespace workspace::energy_factors
