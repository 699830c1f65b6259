#pragma once

#include "delta.h"
#include "reply.h"

#include <QDateTime>
#include <QJsonArray>
#include <QString>

namespace records {

// The consultation key every consultation method takes: branch, patient, date.
struct ConsultationKey
{
    QString branch;
    QString patient;
    QDateTime date;
};

// The application server's remote data module: one call per remote method, with the
// arguments in the order the module passes them; the names and argument counts come from
// the list in remote_methods.h. Every typed call builds the argument
// list and goes through call(), which a transport implements (HTTP for the real
// server, a recording fake in tests). A transport failure comes back as a failed
// reply, never as an exception, so every caller checks one thing.
class AppServer
{
public:
    virtual ~AppServer() = default;

    virtual Reply call(const QString& method, const QJsonArray& args) = 0;

    // Consultation
    Reply GetObito(const QString& patient, const QString& branch);
    Reply GetDados(const ConsultationKey& k, double codedAge);
    Reply GetResuAval(const ConsultationKey& k);
    Reply GetResuAvalEnerg(const ConsultationKey& k);
    Reply DelResuAval(const ConsultationKey& k);
    Reply DelResuAvalEnerg(const ConsultationKey& k);
    Reply GetDadoAval(const ConsultationKey& k);
    Reply GetDadoAvalEnerg(const ConsultationKey& k);
    Reply GetInfoAval(const ConsultationKey& k, const QString& dataType);
    // The recorded values of the data type at the patient's consultations up to k's date.
    Reply GetHistInfoAval(const ConsultationKey& k, const QString& dataType);
    Reply GetPesqDadoAval(const ConsultationKey& k, const QString& dataType);
    Reply GetAtualizaDados(const ConsultationKey& k, const QString& filter);
    Reply GetExistMetoAval(const ConsultationKey& k, const QString& method);
    Reply GetDiag(const ConsultationKey& k);
    Reply SetAtuPesIde(const ConsultationKey& k, const QString& description, const QString& weight);
    Reply DelNutrePaci(const ConsultationKey& k, const QString& reference, const QString& group);

    // Reference lists
    Reply GetRefeMeto(const QString& reference, const QString& owner);
    Reply GetRefePeso(const QString& reference);
    Reply GetRefeOssa(const QString& reference);
    Reply GetRelatorio();
    // The assessment report of a patient over a period of consultation dates, for all
    // methods ("T") or for the chosen ones ("_01_17_").
    Reply GetDadosRelatorio(const QString& branch, const QString& patient, const QDateTime& from,
                            const QDateTime& to, const QString& methods);
    // The patient's consultations from one day to another (ISO dates "2026-12-06", both
    // included; an empty text leaves that end open) as a FHIR R4 Bundle.
    Reply GetFhirBundle(const QString& branch, const QString& patient, const QString& from,
                        const QString& to);
    Reply GetRefFatGrup(const QString& a, const QString& b, const QString& c);
    // The nutrient catalogue: the nutrients of a group, and those of a group among the
    // chosen codes ("_001_017_").
    Reply GetPesNutrientes(const QString& group);
    Reply GetPesqNmNutr(const QString& group, const QString& chosenCodes);

    // Reference tables
    Reply GetPercentil(const QString& reference, const QString& method, double codedAge,
                       const QString& sex, const QString& reference2, double value);
    Reply GetPCT(const QString& sex, const QString& reference, const QString& method,
                 double codedAge);
    Reply GetCalcSomaPrega(const QString& sex, const QString& reference, double ageYears,
                           double sum);
    Reply GetPercentFix(const QString& reference, const QString& percentile, const QString& method,
                        const QString& ageText);
    Reply GetImcPesoTeorico(const QString& reference, double codedAge, const QString& sex);
    Reply GetImcPesoIdeal(const QString& sex, const QString& reference, double codedAge);
    Reply GetCalcOssatura(const QString& reference, const QString& sex, const QString& frame,
                          double heightCm);
    Reply GetPesoIdealAltura(const QString& reference, double years, double months, double heightCm,
                             const QString& sex);
    Reply GetPesoIdade(const QString& sex, const QString& reference, const QString& percentile,
                       int years, int months, double weight);
    Reply GetPesCalcAltura(const QString& sex, const QString& reference, const QString& percentile,
                           double heightCm, double years, double months);
    Reply GetPesIdAlt(const QString& reference, double weight, const QString& weightLetter,
                      double heightCm, const QString& heightLetter, double years, double months,
                      const QString& sex);
    Reply GetPesoAlt(const QString& reference, double weight, double heightCm, const QString& sex);
    Reply GetNutRecCatchUp(const QString& rda, const QString& sex, double weightAge);
    Reply GetCurvaCrescimento(const QString& reference, const QString& method, const QString& sex);
    Reply GetDuBois(const QString& sex, const QString& table, double codedAge);
    Reply GetPesqNutrPaci(const ConsultationKey& k, const QString& reference, const QString& group,
                          const QString& sex, const QString& patientType, double codedAge,
                          const QString& nutrientCodes);

    // Writes: the change log of a dataset, with the null-field list where it has one
    Reply SetMetoAval(const Delta& delta, const QString& nullFields);
    Reply SetMetoAvalEnerg(const Delta& delta, const QString& nullFields);
    Reply SetInfoAval(const Delta& delta, const QString& nullFields);
    Reply SetResuAval(const Delta& delta);
    Reply SetResuAvalEnerg(const Delta& delta);
    Reply SetNutrePaci(const Delta& delta);
    Reply SetDiag(const Delta& delta);
    Reply SetInsMetoAval(const Delta& delta);
    Reply SetInsTipoDado(const Delta& delta);
    Reply SetInsDadoAval(const Delta& delta);

    // The host's patient registry (used by the host and the command line)
    Reply GetPacientes();
    Reply SetPaciente(const QString& branch, const QString& patient, const QString& name,
                      const QString& sexCode, const QDateTime& birth, bool deceased);
};

}  // namespace records
