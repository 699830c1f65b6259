#include "session_file.h"

#include "records/error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cli {
namespace {

// Sessions are small; anything much longer is not one.
constexpr qint64 kMaxSessionFileSize = 16384;

std::optional<QString> environmentValue(const QStringList& environment, const QString& name)
{
    const QString prefix = name + QLatin1Char('=');
    for (const QString& entry : environment) {
        if (entry.startsWith(prefix) && entry.size() > prefix.size())
            return entry.mid(prefix.size());
    }
    return std::nullopt;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The directory of the file, made when missing and closed to everyone but its owner.
void prepareDirectory(const QString& dir)
{
    if (!QDir().mkpath(dir))
        throw records::Error(
            QStringLiteral("Não foi possível criar o diretório da sessão %1.").arg(dir));
    if (::chmod(QFile::encodeName(dir).constData(), S_IRWXU) != 0)
        throw records::Error(QStringLiteral("Não foi possível proteger o diretório da sessão "
                                            "%1: %2.")
                                 .arg(dir, systemError()));
}

}  // namespace

QString defaultSessionFile(const QStringList& environment)
{
    const QString name = QStringLiteral("/avalnutri/session.json");
    if (const auto runtime = environmentValue(environment, QStringLiteral("XDG_RUNTIME_DIR")))
        return QDir::cleanPath(*runtime + name);
    if (const auto home = environmentValue(environment, QStringLiteral("HOME")))
        return QDir::cleanPath(*home + QStringLiteral("/.cache") + name);
    return {};
}

void writeSession(const QString& path, const StoredSession& stored)
{
    const httpclient::Session& s = stored.session;
    const QJsonObject json{
        {QStringLiteral("server"), stored.server},
        {QStringLiteral("caFile"), stored.caFile},
        {QStringLiteral("token"), QString::fromLatin1(s.token)},
        {QStringLiteral("expires"), s.expires.toUTC().toString(Qt::ISODate)},
        {QStringLiteral("user"), QJsonObject{{QStringLiteral("login"), s.user.login},
                                             {QStringLiteral("name"), s.user.name},
                                             {QStringLiteral("registration"), s.user.registration},
                                             {QStringLiteral("role"), s.user.role}}}};
    const QByteArray text = QJsonDocument(json).toJson();

    const QFileInfo info(path);
    prepareDirectory(info.absolutePath());
    // A new file made 0600 by mkstemp, then renamed over the old one: the token is never
    // in a file others may read, and a reader never sees half a session.
    QByteArray temp = QFile::encodeName(info.absoluteFilePath()) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw records::Error(
            QStringLiteral("Não foi possível gravar a sessão em %1: %2.").arg(path, systemError()));
    bool written = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    for (qsizetype done = 0; written && done < text.size();) {
        const ssize_t n = ::write(fd, text.constData() + done, size_t(text.size() - done));
        written = n > 0;
        done += n > 0 ? n : 0;
    }
    written = written && ::fsync(fd) == 0;
    const QString failure = written ? QString() : systemError();
    ::close(fd);
    if (!written || ::rename(temp.constData(), QFile::encodeName(path).constData()) != 0) {
        const QString why = failure.isEmpty() ? systemError() : failure;
        ::unlink(temp.constData());
        throw records::Error(
            QStringLiteral("Não foi possível gravar a sessão em %1: %2.").arg(path, why));
    }
}

std::optional<StoredSession> readSession(const QString& path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    if (!S_ISREG(st.st_mode) || st.st_size > kMaxSessionFileSize)
        throw records::Error(
            QStringLiteral("O arquivo de sessão %1 não é uma sessão do avalnutri.").arg(path));
    if (st.st_uid != ::getuid() || (st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        throw records::Error(QStringLiteral("O arquivo de sessão %1 pode ser lido por outros "
                                            "usuários: apague-o e entre de novo com avalnutri "
                                            "login.")
                                 .arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw records::Error(QStringLiteral("O arquivo de sessão %1 não pode ser lido.").arg(path));
    const QJsonObject json = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject user = json.value(QStringLiteral("user")).toObject();
    StoredSession stored;
    stored.server = json.value(QStringLiteral("server")).toString();
    stored.caFile = json.value(QStringLiteral("caFile")).toString();
    stored.session.token = json.value(QStringLiteral("token")).toString().toLatin1();
    stored.session.expires =
        QDateTime::fromString(json.value(QStringLiteral("expires")).toString(), Qt::ISODate);
    stored.session.user = {user.value(QStringLiteral("login")).toString(),
                           user.value(QStringLiteral("name")).toString(),
                           user.value(QStringLiteral("registration")).toString(),
                           user.value(QStringLiteral("role")).toString()};
    if (stored.server.isEmpty() || stored.session.token.isEmpty()
        || !stored.session.expires.isValid())
        throw records::Error(
            QStringLiteral("O arquivo de sessão %1 não é uma sessão do avalnutri.").arg(path));
    return stored;
}

bool removeSession(const QString& path)
{
    return QFile::remove(path);
}

}  // namespace cli
