#include "hostfw/access_token.h"

#include "records/error.h"

#include <QFile>
#include <QFileInfo>

namespace hostfw {

namespace {

// Tokens are short; anything much longer is not a token file.
constexpr qint64 kMaxTokenFileSize = 4096;

const QString kHint =
    QStringLiteral(" Inicie o servidor (ele grava o token) ou indique o arquivo com --token-file.");

}  // namespace

QString readAccessToken(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw records::Error(QStringLiteral("O arquivo de token %1 não existe.").arg(path) + kHint);

    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw records::Error(QStringLiteral("O arquivo de token %1 não pode ser lido.").arg(path));
    if (file.size() > kMaxTokenFileSize)
        throw records::Error(
            QStringLiteral("O arquivo de token %1 não contém um token válido.").arg(path));

    const QString token = QString::fromUtf8(file.readAll()).trimmed();
    if (token.isEmpty())
        throw records::Error(QStringLiteral("O arquivo de token %1 está vazio.").arg(path) + kHint);
    for (const QChar c : token) {
        if (c.isSpace() || c.category() == QChar::Other_Control || c.unicode() > 0x7e)
            throw records::Error(
                QStringLiteral("O arquivo de token %1 não contém um token válido.").arg(path));
    }
    return token;
}

}  // namespace hostfw
