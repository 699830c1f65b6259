#include "token.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace server::api {
namespace {

std::runtime_error tokenError(const QString& text)
{
    return std::runtime_error(text.toStdString());
}

}  // namespace

bool constantTimeEquals(const QByteArray& a, const QByteArray& b)
{
    const qsizetype n = std::max(a.size(), b.size());
    unsigned char diff = a.size() == b.size() ? 0 : 1;
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char x = i < a.size() ? static_cast<unsigned char>(a[i]) : 0;
        const unsigned char y = i < b.size() ? static_cast<unsigned char>(b[i]) : 0;
        diff |= static_cast<unsigned char>(x ^ y);
    }
    return diff == 0;
}

QByteArray bearerToken(const QByteArray& authorization)
{
    const QByteArray value = authorization.trimmed();
    static const QByteArray scheme("bearer ");
    if (value.size() <= scheme.size() || value.left(scheme.size()).toLower() != scheme)
        return {};
    return value.mid(scheme.size()).trimmed();
}

QByteArray generateToken()
{
    std::array<quint32, 8> words;
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    return QByteArray(reinterpret_cast<const char*>(words.data()),
                      static_cast<qsizetype>(words.size() * sizeof(quint32)))
        .toHex();
}

QByteArray loadOrCreateToken(const QString& file)
{
    const QByteArray path = QFile::encodeName(file);
    struct stat st
    {
    };
    if (::stat(path.constData(), &st) != 0) {
        if (errno != ENOENT)
            throw tokenError(QStringLiteral("Não foi possível ler o arquivo de token %1: %2.")
                                 .arg(file, QString::fromLocal8Bit(std::strerror(errno))));
        QDir().mkpath(QFileInfo(file).absolutePath());
        // Created with owner-only permissions from the start: no moment where another
        // user could read it.
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0)
            throw tokenError(QStringLiteral("Não foi possível criar o arquivo de token %1: %2.")
                                 .arg(file, QString::fromLocal8Bit(std::strerror(errno))));
        const QByteArray token = generateToken();
        const QByteArray content = token + '\n';
        const bool written = ::write(fd, content.constData(), content.size()) == content.size();
        const bool synced = ::fsync(fd) == 0;
        ::close(fd);
        if (!written || !synced) {
            ::unlink(path.constData());
            throw tokenError(
                QStringLiteral("Não foi possível gravar o arquivo de token %1.").arg(file));
        }
        return token;
    }
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        throw tokenError(QStringLiteral("O arquivo de token %1 pode ser lido por outros usuários; "
                                        "restrinja-o ao dono (chmod 600).")
                             .arg(file));
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        throw tokenError(QStringLiteral("Não foi possível ler o arquivo de token %1: %2.")
                             .arg(file, f.errorString()));
    const QByteArray token = f.readAll().trimmed();
    if (token.isEmpty())
        throw tokenError(QStringLiteral("O arquivo de token %1 está vazio.").arg(file));
    if (token.contains('\n') || token.contains(' '))
        throw tokenError(
            QStringLiteral("O arquivo de token %1 deve conter uma só linha, sem espaços.")
                .arg(file));
    return token;
}

}  // namespace server::api
