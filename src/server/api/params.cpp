#include "params.h"

#include "api_error.h"

#include <records/error.h>
#include <records/field.h>
#include <records/packet_codec.h>

#include <cmath>

namespace server::api {
namespace {

QString typeWord(ArgType type)
{
    switch (type) {
    case ArgType::Text:
        return QStringLiteral("um texto");
    case ArgType::Number:
        return QStringLiteral("um número");
    case ArgType::Boolean:
        return QStringLiteral("verdadeiro ou falso");
    case ArgType::Date:
        return QStringLiteral("uma data (texto ISO-8601)");
    case ArgType::Delta:
        return QStringLiteral("um delta (objeto)");
    }
    return {};
}

bool matches(ArgType type, const QJsonValue& v)
{
    switch (type) {
    case ArgType::Text:
        return v.isString();
    case ArgType::Number:
        return v.isDouble() && std::isfinite(v.toDouble());
    case ArgType::Boolean:
        return v.isBool();
    case ArgType::Date:
        return v.isString();
    case ArgType::Delta:
        return v.isObject();
    }
    return false;
}

}  // namespace

Signature arg::key()
{
    return {text(QStringLiteral("filial")), text(QStringLiteral("paciente")),
            date(QStringLiteral("data da consulta"))};
}

Signature operator+(Signature a, const Signature& b)
{
    a.append(b);
    return a;
}

Params::Params(const QString& method, const Signature& signature, const QJsonArray& args)
    : m_method(method),
      m_signature(signature),
      m_args(args)
{
    if (args.size() != signature.size())
        throw ApiError::badRequest(QStringLiteral("%1 espera %2 argumento(s) e recebeu %3.")
                                       .arg(method)
                                       .arg(signature.size())
                                       .arg(args.size()));
    for (int i = 0; i < signature.size(); ++i) {
        if (!matches(signature[i].type, args[i]))
            fail(i, QStringLiteral("deve ser %1").arg(typeWord(signature[i].type)));
    }
}

void Params::fail(int index, const QString& problem) const
{
    const QString name =
        index >= 0 && index < m_signature.size() ? m_signature[index].name : QString();
    throw ApiError::badRequest(QStringLiteral("%1: o argumento %2 (%3) %4.")
                                   .arg(m_method)
                                   .arg(index + 1)
                                   .arg(name, problem));
}

QString Params::text(int index) const
{
    return m_args.at(index).toString();
}

QString Params::code(int index, int maxSize) const
{
    const QString value = text(index);
    if (value.size() > maxSize)
        fail(index, QStringLiteral("tem mais de %1 caracteres").arg(maxSize));
    return value;
}

double Params::number(int index) const
{
    return m_args.at(index).toDouble();
}

bool Params::boolean(int index) const
{
    return m_args.at(index).toBool();
}

QDateTime Params::date(int index) const
{
    const QString value = text(index);
    const QDateTime dt = records::parseDateTime(value);
    if (!dt.isValid())
        fail(index, QStringLiteral("não é uma data válida: '%1'").arg(value));
    return dt;
}

records::ConsultationKey Params::key(int index) const
{
    records::ConsultationKey k;
    k.branch = code(index, 4);
    k.patient = code(index + 1, 12);
    k.date = date(index + 2);
    if (k.branch.isEmpty())
        fail(index, QStringLiteral("está vazio"));
    if (k.patient.isEmpty())
        fail(index + 1, QStringLiteral("está vazio"));
    return k;
}

records::Delta Params::delta(int index) const
{
    try {
        return records::decodeDelta(m_args.at(index));
    } catch (const records::Error& e) {
        fail(index, QStringLiteral("é inválido: %1").arg(e.message()));
    }
}

}  // namespace server::api
