#include "password.h"

#include "../api/token.h"

#include <QCryptographicHash>
#include <QStringList>

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <stdexcept>

namespace server::auth {
namespace {

const QString kScheme = QStringLiteral("pbkdf2-sha256");
constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;

QByteArray derive(const QByteArray& password, const QByteArray& salt, int iterations)
{
    QByteArray out(kHashBytes, '\0');
    if (PKCS5_PBKDF2_HMAC(password.constData(), static_cast<int>(password.size()),
                          reinterpret_cast<const unsigned char*>(salt.constData()),
                          static_cast<int>(salt.size()), iterations, EVP_sha256(), kHashBytes,
                          reinterpret_cast<unsigned char*>(out.data()))
        != 1)
        throw std::runtime_error("PKCS5_PBKDF2_HMAC failed");
    return out;
}

struct Parsed
{
    int iterations = 0;
    QByteArray salt;
    QByteArray hash;
};

Parsed parse(const QString& stored)
{
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != kScheme)
        return {};
    bool ok = false;
    const int iterations = parts[1].toInt(&ok);
    if (!ok || iterations < 1)
        return {};
    Parsed p{iterations, QByteArray::fromHex(parts[2].toLatin1()),
             QByteArray::fromHex(parts[3].toLatin1())};
    if (p.salt.isEmpty() || p.hash.size() != kHashBytes)
        return {};
    return p;
}

}  // namespace

QString hashPassword(const QString& password, int iterations)
{
    QByteArray salt(kSaltBytes, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(salt.data()), kSaltBytes) != 1)
        throw std::runtime_error("RAND_bytes failed");
    const QByteArray hash = derive(password.toUtf8(), salt, iterations);
    return QStringLiteral("%1$%2$%3$%4")
        .arg(kScheme)
        .arg(iterations)
        .arg(QString::fromLatin1(salt.toHex()), QString::fromLatin1(hash.toHex()));
}

bool verifyPassword(const QString& password, const QString& stored)
{
    const Parsed p = parse(stored);
    if (p.iterations == 0)
        return false;
    return api::constantTimeEquals(derive(password.toUtf8(), p.salt, p.iterations), p.hash);
}

int storedIterations(const QString& stored)
{
    return parse(stored).iterations;
}

QByteArray sha256Hex(const QByteArray& secret)
{
    return QCryptographicHash::hash(secret, QCryptographicHash::Sha256).toHex();
}

}  // namespace server::auth
