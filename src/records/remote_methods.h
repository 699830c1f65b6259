#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <string_view>

namespace records {

// Every remote method the client calls, with the number of JSON arguments it sends (a
// consultation key counts three: branch, patient, date). The list is the one place a
// method's name is written on the client side: AppServer's typed calls take their name
// and argument count from it, and the server's tests compare it with the route table.
#define AVALNUTRI_REMOTE_METHODS(M)                                                                \
    /* Consultation */                                                                             \
    M(GetObito, 2)                                                                                 \
    M(GetDados, 4)                                                                                 \
    M(GetResuAval, 3)                                                                              \
    M(GetResuAvalEnerg, 3)                                                                         \
    M(DelResuAval, 3)                                                                              \
    M(DelResuAvalEnerg, 3)                                                                         \
    M(GetDadoAval, 3)                                                                              \
    M(GetDadoAvalEnerg, 3)                                                                         \
    M(GetInfoAval, 4)                                                                              \
    M(GetHistInfoAval, 4)                                                                          \
    M(GetPesqDadoAval, 4)                                                                          \
    M(GetAtualizaDados, 4)                                                                         \
    M(GetExistMetoAval, 4)                                                                         \
    M(GetDiag, 3)                                                                                  \
    M(SetAtuPesIde, 5)                                                                             \
    M(DelNutrePaci, 5)                                                                             \
    /* Reference lists */                                                                          \
    M(GetRefeMeto, 2)                                                                              \
    M(GetRefePeso, 1)                                                                              \
    M(GetRefeOssa, 1)                                                                              \
    M(GetRelatorio, 0)                                                                             \
    M(GetDadosRelatorio, 5)                                                                        \
    M(GetFhirBundle, 4)                                                                            \
    M(GetRefFatGrup, 3)                                                                            \
    M(GetPesNutrientes, 1)                                                                         \
    M(GetPesqNmNutr, 2)                                                                            \
    /* Reference tables */                                                                         \
    M(GetPercentil, 6)                                                                             \
    M(GetPCT, 4)                                                                                   \
    M(GetCalcSomaPrega, 4)                                                                         \
    M(GetPercentFix, 4)                                                                            \
    M(GetImcPesoTeorico, 3)                                                                        \
    M(GetImcPesoIdeal, 3)                                                                          \
    M(GetCalcOssatura, 4)                                                                          \
    M(GetPesoIdealAltura, 5)                                                                       \
    M(GetPesoIdade, 6)                                                                             \
    M(GetPesCalcAltura, 6)                                                                         \
    M(GetPesIdAlt, 8)                                                                              \
    M(GetPesoAlt, 4)                                                                               \
    M(GetNutRecCatchUp, 3)                                                                         \
    M(GetCurvaCrescimento, 3)                                                                      \
    M(GetDuBois, 3)                                                                                \
    M(GetPesqNutrPaci, 9)                                                                          \
    /* Writes: a change log, with the null-field list where the dataset has one */                 \
    M(SetMetoAval, 2)                                                                              \
    M(SetMetoAvalEnerg, 2)                                                                         \
    M(SetInfoAval, 2)                                                                              \
    M(SetResuAval, 1)                                                                              \
    M(SetResuAvalEnerg, 1)                                                                         \
    M(SetNutrePaci, 1)                                                                             \
    M(SetDiag, 1)                                                                                  \
    M(SetInsMetoAval, 1)                                                                           \
    M(SetInsTipoDado, 1)                                                                           \
    M(SetInsDadoAval, 1)                                                                           \
    /* The host's patient registry */                                                              \
    M(GetPacientes, 0)                                                                             \
    M(SetPaciente, 6)                                                                              \
    /* The audit trail of a patient's changes */                                                   \
    M(GetHistAlteracoes, 4)

enum class Remote
{
#define AVALNUTRI_REMOTE_ENUM(name, count) name,
    AVALNUTRI_REMOTE_METHODS(AVALNUTRI_REMOTE_ENUM)
#undef AVALNUTRI_REMOTE_ENUM
};

struct RemoteMethod
{
    std::string_view name;
    int argCount;
};

constexpr auto remoteMethods()
{
#define AVALNUTRI_REMOTE_ROW(name, count) RemoteMethod{#name, count},
    return std::array{AVALNUTRI_REMOTE_METHODS(AVALNUTRI_REMOTE_ROW)};
#undef AVALNUTRI_REMOTE_ROW
}

constexpr RemoteMethod remoteMethod(Remote m)
{
    return remoteMethods()[static_cast<std::size_t>(m)];
}

inline QString remoteName(Remote m)
{
    const std::string_view name = remoteMethod(m).name;
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace records
