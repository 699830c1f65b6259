#pragma once

#include <records/app_server.h>
#include <records/delta.h>

#include <QDateTime>
#include <QJsonArray>
#include <QList>
#include <QString>

namespace server::api {

// The JSON kind of one argument of a remote method.
enum class ArgType
{
    Text,
    Number,
    Boolean,
    Date,
    Delta
};

struct Argument
{
    ArgType type;
    QString name;  // shown in error messages: "tipo de dado"
};

using Signature = QList<Argument>;

namespace arg {
inline Argument text(const QString& name)
{
    return {ArgType::Text, name};
}
inline Argument number(const QString& name)
{
    return {ArgType::Number, name};
}
inline Argument boolean(const QString& name)
{
    return {ArgType::Boolean, name};
}
inline Argument date(const QString& name)
{
    return {ArgType::Date, name};
}
inline Argument delta()
{
    return {ArgType::Delta, QStringLiteral("delta")};
}
// The consultation key: branch, patient, consultation date.
Signature key();
}  // namespace arg

// Signature a + b.
Signature operator+(Signature a, const Signature& b);

// The arguments of one call, already checked against the method's signature (count and
// JSON kind). The accessors convert and check contents; every failure is an
// ApiError::BadRequest naming the method and the argument.
class Params
{
public:
    Params(const QString& method, const Signature& signature, const QJsonArray& args);

    const QString& method() const { return m_method; }
    int size() const { return m_args.size(); }

    QString text(int index) const;
    // A text of at most maxSize characters.
    QString code(int index, int maxSize) const;
    double number(int index) const;
    bool boolean(int index) const;
    QDateTime date(int index) const;
    // The consultation key at index, index + 1, index + 2, with its sizes checked.
    records::ConsultationKey key(int index = 0) const;
    records::Delta delta(int index) const;

    [[noreturn]] void fail(int index, const QString& problem) const;

private:
    QString m_method;
    Signature m_signature;
    QJsonArray m_args;
};

}  // namespace server::api
