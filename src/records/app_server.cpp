#include "app_server.h"

#include "field.h"
#include "packet_codec.h"

namespace records {
namespace {

QJsonValue toJson(const QString& s)
{
    return s;
}
QJsonValue toJson(double d)
{
    return d;
}
QJsonValue toJson(int i)
{
    return i;
}
QJsonValue toJson(bool b)
{
    return b;
}
QJsonValue toJson(const QDateTime& dt)
{
    return formatDateTime(dt);
}
QJsonValue toJson(const Delta& d)
{
    return encodeDelta(d);
}

template <typename... Args> QJsonArray args(const Args&... a)
{
    return QJsonArray{toJson(a)...};
}

}  // namespace

Reply AppServer::callK(const QString& method, const ConsultationKey& k, QJsonArray more)
{
    QJsonArray a = args(k.branch, k.patient, k.date);
    for (const QJsonValue& v : more)
        a.append(v);
    return call(method, a);
}

#define AN_METHOD(name) QStringLiteral(#name)

Reply AppServer::GetObito(const QString& patient, const QString& branch)
{
    return call(AN_METHOD(GetObito), args(patient, branch));
}
Reply AppServer::GetDados(const ConsultationKey& k, double codedAge)
{
    return callK(AN_METHOD(GetDados), k, args(codedAge));
}
Reply AppServer::GetResuAval(const ConsultationKey& k)
{
    return callK(AN_METHOD(GetResuAval), k);
}
Reply AppServer::GetResuAvalEnerg(const ConsultationKey& k)
{
    return callK(AN_METHOD(GetResuAvalEnerg), k);
}
Reply AppServer::DelResuAval(const ConsultationKey& k)
{
    return callK(AN_METHOD(DelResuAval), k);
}
Reply AppServer::DelResuAvalEnerg(const ConsultationKey& k)
{
    return callK(AN_METHOD(DelResuAvalEnerg), k);
}
Reply AppServer::GetDadoAval(const ConsultationKey& k)
{
    return callK(AN_METHOD(GetDadoAval), k);
}
Reply AppServer::GetDadoAvalEnerg(const ConsultationKey& k)
{
    return callK(AN_METHOD(GetDadoAvalEnerg), k);
}
Reply AppServer::GetInfoAval(const ConsultationKey& k, const QString& dataType)
{
    return callK(AN_METHOD(GetInfoAval), k, args(dataType));
}
Reply AppServer::GetPesqDadoAval(const ConsultationKey& k, const QString& dataType)
{
    return callK(AN_METHOD(GetPesqDadoAval), k, args(dataType));
}
Reply AppServer::GetAtualizaDados(const ConsultationKey& k, const QString& filter)
{
    return callK(AN_METHOD(GetAtualizaDados), k, args(filter));
}
Reply AppServer::GetExistMetoAval(const ConsultationKey& k, const QString& method)
{
    return callK(AN_METHOD(GetExistMetoAval), k, args(method));
}
Reply AppServer::GetDiag(const ConsultationKey& k)
{
    return callK(AN_METHOD(GetDiag), k);
}
Reply AppServer::SetAtuPesIde(const ConsultationKey& k, const QString& description,
                              const QString& weight)
{
    return callK(AN_METHOD(SetAtuPesIde), k, args(description, weight));
}
Reply AppServer::DelNutrePaci(const ConsultationKey& k, const QString& reference,
                              const QString& group)
{
    return callK(AN_METHOD(DelNutrePaci), k, args(reference, group));
}

Reply AppServer::GetRefeMeto(const QString& reference, const QString& owner)
{
    return call(AN_METHOD(GetRefeMeto), args(reference, owner));
}
Reply AppServer::GetRefePeso(const QString& reference)
{
    return call(AN_METHOD(GetRefePeso), args(reference));
}
Reply AppServer::GetRefeOssa(const QString& reference)
{
    return call(AN_METHOD(GetRefeOssa), args(reference));
}
Reply AppServer::GetRelatorio()
{
    return call(AN_METHOD(GetRelatorio), {});
}
Reply AppServer::GetRefFatGrup(const QString& a, const QString& b, const QString& c)
{
    return call(AN_METHOD(GetRefFatGrup), args(a, b, c));
}

Reply AppServer::GetPercentil(const QString& reference, const QString& method, double codedAge,
                              const QString& sex, const QString& reference2, double value)
{
    return call(AN_METHOD(GetPercentil), args(reference, method, codedAge, sex, reference2, value));
}
Reply AppServer::GetPCT(const QString& sex, const QString& reference, const QString& method,
                        double codedAge)
{
    return call(AN_METHOD(GetPCT), args(sex, reference, method, codedAge));
}
Reply AppServer::GetCalcSomaPrega(const QString& sex, const QString& reference, double ageYears,
                                  double sum)
{
    return call(AN_METHOD(GetCalcSomaPrega), args(sex, reference, ageYears, sum));
}
Reply AppServer::GetPercentFix(const QString& reference, const QString& percentile,
                               const QString& method, const QString& ageText)
{
    return call(AN_METHOD(GetPercentFix), args(reference, percentile, method, ageText));
}
Reply AppServer::GetImcPesoTeorico(const QString& reference, double codedAge, const QString& sex)
{
    return call(AN_METHOD(GetImcPesoTeorico), args(reference, codedAge, sex));
}
Reply AppServer::GetImcPesoIdeal(const QString& sex, const QString& reference, double codedAge)
{
    return call(AN_METHOD(GetImcPesoIdeal), args(sex, reference, codedAge));
}
Reply AppServer::GetCalcOssatura(const QString& reference, const QString& sex, const QString& frame,
                                 double heightCm)
{
    return call(AN_METHOD(GetCalcOssatura), args(reference, sex, frame, heightCm));
}
Reply AppServer::GetPesoIdealAltura(const QString& reference, double years, double months,
                                    double heightCm, const QString& sex)
{
    return call(AN_METHOD(GetPesoIdealAltura), args(reference, years, months, heightCm, sex));
}
Reply AppServer::GetPesoIdade(const QString& sex, const QString& reference,
                              const QString& percentile, int years, int months, double weight)
{
    return call(AN_METHOD(GetPesoIdade), args(sex, reference, percentile, years, months, weight));
}
Reply AppServer::GetPesCalcAltura(const QString& sex, const QString& reference,
                                  const QString& percentile, double heightCm, double years,
                                  double months)
{
    return call(AN_METHOD(GetPesCalcAltura),
                args(sex, reference, percentile, heightCm, years, months));
}
Reply AppServer::GetPesIdAlt(const QString& reference, double weight, const QString& weightLetter,
                             double heightCm, const QString& heightLetter, double years,
                             double months, const QString& sex)
{
    return call(AN_METHOD(GetPesIdAlt),
                args(reference, weight, weightLetter, heightCm, heightLetter, years, months, sex));
}
Reply AppServer::GetPesoAlt(const QString& reference, double weight, double heightCm,
                            const QString& sex)
{
    return call(AN_METHOD(GetPesoAlt), args(reference, weight, heightCm, sex));
}
Reply AppServer::GetNutRecCatchUp(const QString& rda, const QString& sex, double weightAge)
{
    return call(AN_METHOD(GetNutRecCatchUp), args(rda, sex, weightAge));
}
Reply AppServer::GetDuBois(const QString& sex, const QString& table, double codedAge)
{
    return call(AN_METHOD(GetDuBois), args(sex, table, codedAge));
}
Reply AppServer::GetPesqNutrPaci(const ConsultationKey& k, const QString& reference,
                                 const QString& group, const QString& sex,
                                 const QString& patientType, double codedAge,
                                 const QString& nutrientCodes)
{
    return callK(AN_METHOD(GetPesqNutrPaci), k,
                 args(reference, group, sex, patientType, codedAge, nutrientCodes));
}

Reply AppServer::SetMetoAval(const Delta& delta, const QString& nullFields)
{
    return call(AN_METHOD(SetMetoAval), args(delta, nullFields));
}
Reply AppServer::SetMetoAvalEnerg(const Delta& delta, const QString& nullFields)
{
    return call(AN_METHOD(SetMetoAvalEnerg), args(delta, nullFields));
}
Reply AppServer::SetInfoAval(const Delta& delta, const QString& nullFields)
{
    return call(AN_METHOD(SetInfoAval), args(delta, nullFields));
}
Reply AppServer::SetResuAval(const Delta& delta)
{
    return call(AN_METHOD(SetResuAval), args(delta));
}
Reply AppServer::SetResuAvalEnerg(const Delta& delta)
{
    return call(AN_METHOD(SetResuAvalEnerg), args(delta));
}
Reply AppServer::SetNutrePaci(const Delta& delta)
{
    return call(AN_METHOD(SetNutrePaci), args(delta));
}
Reply AppServer::SetDiag(const Delta& delta)
{
    return call(AN_METHOD(SetDiag), args(delta));
}
Reply AppServer::SetInsMetoAval(const Delta& delta)
{
    return call(AN_METHOD(SetInsMetoAval), args(delta));
}
Reply AppServer::SetInsTipoDado(const Delta& delta)
{
    return call(AN_METHOD(SetInsTipoDado), args(delta));
}
Reply AppServer::SetInsDadoAval(const Delta& delta)
{
    return call(AN_METHOD(SetInsDadoAval), args(delta));
}

Reply AppServer::GetPacientes()
{
    return call(AN_METHOD(GetPacientes), {});
}
Reply AppServer::SetPaciente(const QString& branch, const QString& patient, const QString& name,
                             const QString& sexCode, const QDateTime& birth, bool deceased)
{
    return call(AN_METHOD(SetPaciente), args(branch, patient, name, sexCode, birth, deceased));
}

#undef AN_METHOD

}  // namespace records
