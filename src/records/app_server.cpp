#include "app_server.h"

#include "field.h"
#include "packet_codec.h"
#include "remote_methods.h"

namespace records {
namespace {

void append(QJsonArray& a, const QString& s)
{
    a.append(s);
}
void append(QJsonArray& a, double d)
{
    a.append(d);
}
void append(QJsonArray& a, int i)
{
    a.append(i);
}
void append(QJsonArray& a, bool b)
{
    a.append(b);
}
void append(QJsonArray& a, const QDateTime& dt)
{
    a.append(formatDateTime(dt));
}
void append(QJsonArray& a, const Delta& d)
{
    a.append(encodeDelta(d));
}
void append(QJsonArray& a, const ConsultationKey& k)
{
    append(a, k.branch);
    append(a, k.patient);
    append(a, k.date);
}

// How many JSON arguments a value of type T becomes.
template <typename T> constexpr int width = 1;
template <> constexpr int width<ConsultationKey> = 3;

// Calls method M with the arguments in order; the argument count is checked against the
// list of remote methods when the call is compiled.
template <Remote M, typename... Args> Reply send(AppServer& server, const Args&... a)
{
    static_assert((0 + ... + width<Args>) == remoteMethod(M).argCount,
                  "the arguments do not match the method's entry in remote_methods.h");
    QJsonArray args;
    (append(args, a), ...);
    return server.call(remoteName(M), args);
}

}  // namespace

Reply AppServer::GetObito(const QString& patient, const QString& branch)
{
    return send<Remote::GetObito>(*this, patient, branch);
}
Reply AppServer::GetDados(const ConsultationKey& k, double codedAge)
{
    return send<Remote::GetDados>(*this, k, codedAge);
}
Reply AppServer::GetResuAval(const ConsultationKey& k)
{
    return send<Remote::GetResuAval>(*this, k);
}
Reply AppServer::GetResuAvalEnerg(const ConsultationKey& k)
{
    return send<Remote::GetResuAvalEnerg>(*this, k);
}
Reply AppServer::DelResuAval(const ConsultationKey& k)
{
    return send<Remote::DelResuAval>(*this, k);
}
Reply AppServer::DelResuAvalEnerg(const ConsultationKey& k)
{
    return send<Remote::DelResuAvalEnerg>(*this, k);
}
Reply AppServer::GetDadoAval(const ConsultationKey& k)
{
    return send<Remote::GetDadoAval>(*this, k);
}
Reply AppServer::GetDadoAvalEnerg(const ConsultationKey& k)
{
    return send<Remote::GetDadoAvalEnerg>(*this, k);
}
Reply AppServer::GetInfoAval(const ConsultationKey& k, const QString& dataType)
{
    return send<Remote::GetInfoAval>(*this, k, dataType);
}
Reply AppServer::GetHistInfoAval(const ConsultationKey& k, const QString& dataType)
{
    return send<Remote::GetHistInfoAval>(*this, k, dataType);
}
Reply AppServer::GetPesqDadoAval(const ConsultationKey& k, const QString& dataType)
{
    return send<Remote::GetPesqDadoAval>(*this, k, dataType);
}
Reply AppServer::GetAtualizaDados(const ConsultationKey& k, const QString& filter)
{
    return send<Remote::GetAtualizaDados>(*this, k, filter);
}
Reply AppServer::GetExistMetoAval(const ConsultationKey& k, const QString& method)
{
    return send<Remote::GetExistMetoAval>(*this, k, method);
}
Reply AppServer::GetDiag(const ConsultationKey& k)
{
    return send<Remote::GetDiag>(*this, k);
}
Reply AppServer::SetAtuPesIde(const ConsultationKey& k, const QString& description,
                              const QString& weight)
{
    return send<Remote::SetAtuPesIde>(*this, k, description, weight);
}
Reply AppServer::DelNutrePaci(const ConsultationKey& k, const QString& reference,
                              const QString& group)
{
    return send<Remote::DelNutrePaci>(*this, k, reference, group);
}

Reply AppServer::GetRefeMeto(const QString& reference, const QString& owner)
{
    return send<Remote::GetRefeMeto>(*this, reference, owner);
}
Reply AppServer::GetRefePeso(const QString& reference)
{
    return send<Remote::GetRefePeso>(*this, reference);
}
Reply AppServer::GetRefeOssa(const QString& reference)
{
    return send<Remote::GetRefeOssa>(*this, reference);
}
Reply AppServer::GetRelatorio()
{
    return send<Remote::GetRelatorio>(*this);
}
Reply AppServer::GetDadosRelatorio(const QString& branch, const QString& patient,
                                   const QDateTime& from, const QDateTime& to,
                                   const QString& methods)
{
    return send<Remote::GetDadosRelatorio>(*this, branch, patient, from, to, methods);
}
Reply AppServer::GetFhirBundle(const QString& branch, const QString& patient, const QString& from,
                               const QString& to)
{
    return send<Remote::GetFhirBundle>(*this, branch, patient, from, to);
}
Reply AppServer::GetRefFatGrup(const QString& a, const QString& b, const QString& c)
{
    return send<Remote::GetRefFatGrup>(*this, a, b, c);
}
Reply AppServer::GetPesNutrientes(const QString& group)
{
    return send<Remote::GetPesNutrientes>(*this, group);
}
Reply AppServer::GetPesqNmNutr(const QString& group, const QString& chosenCodes)
{
    return send<Remote::GetPesqNmNutr>(*this, group, chosenCodes);
}

Reply AppServer::GetPercentil(const QString& reference, const QString& method, double codedAge,
                              const QString& sex, const QString& reference2, double value)
{
    return send<Remote::GetPercentil>(*this, reference, method, codedAge, sex, reference2, value);
}
Reply AppServer::GetPCT(const QString& sex, const QString& reference, const QString& method,
                        double codedAge)
{
    return send<Remote::GetPCT>(*this, sex, reference, method, codedAge);
}
Reply AppServer::GetCalcSomaPrega(const QString& sex, const QString& reference, double ageYears,
                                  double sum)
{
    return send<Remote::GetCalcSomaPrega>(*this, sex, reference, ageYears, sum);
}
Reply AppServer::GetPercentFix(const QString& reference, const QString& percentile,
                               const QString& method, const QString& ageText)
{
    return send<Remote::GetPercentFix>(*this, reference, percentile, method, ageText);
}
Reply AppServer::GetImcPesoTeorico(const QString& reference, double codedAge, const QString& sex)
{
    return send<Remote::GetImcPesoTeorico>(*this, reference, codedAge, sex);
}
Reply AppServer::GetImcPesoIdeal(const QString& sex, const QString& reference, double codedAge)
{
    return send<Remote::GetImcPesoIdeal>(*this, sex, reference, codedAge);
}
Reply AppServer::GetCalcOssatura(const QString& reference, const QString& sex, const QString& frame,
                                 double heightCm)
{
    return send<Remote::GetCalcOssatura>(*this, reference, sex, frame, heightCm);
}
Reply AppServer::GetPesoIdealAltura(const QString& reference, double years, double months,
                                    double heightCm, const QString& sex)
{
    return send<Remote::GetPesoIdealAltura>(*this, reference, years, months, heightCm, sex);
}
Reply AppServer::GetPesoIdade(const QString& sex, const QString& reference,
                              const QString& percentile, int years, int months, double weight)
{
    return send<Remote::GetPesoIdade>(*this, sex, reference, percentile, years, months, weight);
}
Reply AppServer::GetPesCalcAltura(const QString& sex, const QString& reference,
                                  const QString& percentile, double heightCm, double years,
                                  double months)
{
    return send<Remote::GetPesCalcAltura>(*this, sex, reference, percentile, heightCm, years,
                                          months);
}
Reply AppServer::GetPesIdAlt(const QString& reference, double weight, const QString& weightLetter,
                             double heightCm, const QString& heightLetter, double years,
                             double months, const QString& sex)
{
    return send<Remote::GetPesIdAlt>(*this, reference, weight, weightLetter, heightCm, heightLetter,
                                     years, months, sex);
}
Reply AppServer::GetCurvaCrescimento(const QString& reference, const QString& method,
                                     const QString& sex)
{
    return send<Remote::GetCurvaCrescimento>(*this, reference, method, sex);
}
Reply AppServer::GetPesoAlt(const QString& reference, double weight, double heightCm,
                            const QString& sex)
{
    return send<Remote::GetPesoAlt>(*this, reference, weight, heightCm, sex);
}
Reply AppServer::GetNutRecCatchUp(const QString& rda, const QString& sex, double weightAge)
{
    return send<Remote::GetNutRecCatchUp>(*this, rda, sex, weightAge);
}
Reply AppServer::GetDuBois(const QString& sex, const QString& table, double codedAge)
{
    return send<Remote::GetDuBois>(*this, sex, table, codedAge);
}
Reply AppServer::GetPesqNutrPaci(const ConsultationKey& k, const QString& reference,
                                 const QString& group, const QString& sex,
                                 const QString& patientType, double codedAge,
                                 const QString& nutrientCodes)
{
    return send<Remote::GetPesqNutrPaci>(*this, k, reference, group, sex, patientType, codedAge,
                                         nutrientCodes);
}

Reply AppServer::SetMetoAval(const Delta& delta, const QString& nullFields)
{
    return send<Remote::SetMetoAval>(*this, delta, nullFields);
}
Reply AppServer::SetMetoAvalEnerg(const Delta& delta, const QString& nullFields)
{
    return send<Remote::SetMetoAvalEnerg>(*this, delta, nullFields);
}
Reply AppServer::SetInfoAval(const Delta& delta, const QString& nullFields)
{
    return send<Remote::SetInfoAval>(*this, delta, nullFields);
}
Reply AppServer::SetResuAval(const Delta& delta)
{
    return send<Remote::SetResuAval>(*this, delta);
}
Reply AppServer::SetResuAvalEnerg(const Delta& delta)
{
    return send<Remote::SetResuAvalEnerg>(*this, delta);
}
Reply AppServer::SetNutrePaci(const Delta& delta)
{
    return send<Remote::SetNutrePaci>(*this, delta);
}
Reply AppServer::SetDiag(const Delta& delta)
{
    return send<Remote::SetDiag>(*this, delta);
}
Reply AppServer::SetInsMetoAval(const Delta& delta)
{
    return send<Remote::SetInsMetoAval>(*this, delta);
}
Reply AppServer::SetInsTipoDado(const Delta& delta)
{
    return send<Remote::SetInsTipoDado>(*this, delta);
}
Reply AppServer::SetInsDadoAval(const Delta& delta)
{
    return send<Remote::SetInsDadoAval>(*this, delta);
}

Reply AppServer::GetPacientes()
{
    return send<Remote::GetPacientes>(*this);
}
Reply AppServer::SetPaciente(const QString& branch, const QString& patient, const QString& name,
                             const QString& sexCode, const QDateTime& birth, bool deceased)
{
    return send<Remote::SetPaciente>(*this, branch, patient, name, sexCode, birth, deceased);
}

}  // namespace records
