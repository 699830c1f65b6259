#include "user_store.h"

#include "password.h"

#include <QRegularExpression>

#include <stdexcept>

namespace server::auth {
namespace {

[[noreturn]] void refuse(const QString& text)
{
    throw std::invalid_argument(text.toStdString());
}

void checkPassword(const QString& password)
{
    if (password.size() < users::kMinPasswordLength)
        refuse(QStringLiteral("A senha deve ter ao menos %1 caracteres.")
                   .arg(users::kMinPasswordLength));
}

void requireUser(storage::Transaction& tx, const QString& login)
{
    if (!tx.exists(QStringLiteral("SELECT 1 FROM usuario WHERE DSLOGIN = ?"), {login}))
        refuse(QStringLiteral("Usuário '%1' não cadastrado.").arg(login));
}

User userOf(const storage::SqlRow& r)
{
    User u;
    u.login = r[0].toString();
    u.name = r[1].toString();
    u.registration = r[2].toString();
    u.role = r[3].toString();
    u.active = r[4].toInt() != 0;
    u.failures = r[5].toInt();
    if (!r[6].isNull())
        u.lockedUntil = fromUtcText(r[6].toString());
    return u;
}

const QString kColumns =
    QStringLiteral("DSLOGIN, NMUSUARIO, DSREGISTRO, DSPERFIL, IDATIVO, NRFALHAS, DTBLOQUEIO");

}  // namespace

bool isRole(const QString& text)
{
    return text == role::nutritionist || text == role::readOnly || text == role::admin;
}

bool roleMayWrite(const QString& r)
{
    return r == role::nutritionist || r == role::admin;
}

QString utcText(const QDateTime& t)
{
    return t.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QDateTime fromUtcText(const QString& text)
{
    QDateTime t = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (t.isValid() && t.timeSpec() == Qt::LocalTime)
        t.setTimeSpec(Qt::UTC);
    return t.toUTC();
}

namespace users {

bool validLogin(const QString& login)
{
    static const QRegularExpression re(QStringLiteral("^[a-z0-9][a-z0-9._-]{0,31}$"));
    return re.match(login).hasMatch();
}

void add(storage::Transaction& tx, const User& user, const QString& password, int iterations)
{
    if (!validLogin(user.login))
        refuse(QStringLiteral("Login inválido '%1': use de 1 a 32 letras minúsculas, dígitos, "
                              "'.', '_' ou '-', começando por letra ou dígito.")
                   .arg(user.login));
    if (user.name.trimmed().isEmpty())
        refuse(QStringLiteral("Informe o nome completo do usuário (--name)."));
    if (!isRole(user.role))
        refuse(QStringLiteral("Perfil inválido '%1': use nutricionista, consulta ou admin.")
                   .arg(user.role));
    checkPassword(password);
    if (tx.exists(QStringLiteral("SELECT 1 FROM usuario WHERE DSLOGIN = ?"), {user.login}))
        refuse(QStringLiteral("Usuário '%1' já cadastrado.").arg(user.login));
    tx.execute(QStringLiteral("INSERT INTO usuario (DSLOGIN, NMUSUARIO, DSREGISTRO, DSPERFIL, "
                              "DSSENHA, IDATIVO, NRFALHAS, DTBLOQUEIO) "
                              "VALUES (?, ?, COALESCE(?, ''), ?, ?, 1, 0, NULL)"),
               {user.login, user.name.trimmed(), user.registration.trimmed(), user.role,
                hashPassword(password, iterations)});
}

void setPassword(storage::Transaction& tx, const QString& login, const QString& password,
                 int iterations)
{
    requireUser(tx, login);
    checkPassword(password);
    tx.execute(QStringLiteral("UPDATE usuario SET DSSENHA = ?, NRFALHAS = 0, DTBLOQUEIO = NULL "
                              "WHERE DSLOGIN = ?"),
               {hashPassword(password, iterations), login});
    // A new password ends the sessions opened with the old one.
    tx.execute(QStringLiteral("DELETE FROM sessao WHERE DSLOGIN = ?"), {login});
}

void disable(storage::Transaction& tx, const QString& login)
{
    requireUser(tx, login);
    tx.execute(QStringLiteral("UPDATE usuario SET IDATIVO = 0 WHERE DSLOGIN = ?"), {login});
    tx.execute(QStringLiteral("DELETE FROM sessao WHERE DSLOGIN = ?"), {login});
}

std::optional<User> find(storage::Transaction& tx, const QString& login)
{
    const QList<storage::SqlRow> rows = tx.select(
        QStringLiteral("SELECT %1 FROM usuario WHERE DSLOGIN = ?").arg(kColumns), {login});
    if (rows.isEmpty())
        return std::nullopt;
    return userOf(rows.first());
}

QString passwordHash(storage::Transaction& tx, const QString& login)
{
    return tx.scalar(QStringLiteral("SELECT DSSENHA FROM usuario WHERE DSLOGIN = ?"), {login})
        .toString();
}

QList<User> list(storage::Transaction& tx)
{
    QList<User> out;
    for (const storage::SqlRow& r :
         tx.select(QStringLiteral("SELECT %1 FROM usuario ORDER BY DSLOGIN").arg(kColumns)))
        out.append(userOf(r));
    return out;
}

bool any(storage::Transaction& tx)
{
    return tx.exists(QStringLiteral("SELECT 1 FROM usuario"));
}

void recordFailure(storage::Transaction& tx, const QString& login, int failures,
                   const QDateTime& lockedUntil)
{
    tx.execute(QStringLiteral("UPDATE usuario SET NRFALHAS = ?, DTBLOQUEIO = ? WHERE DSLOGIN = ?"),
               {failures,
                lockedUntil.isValid() ? QVariant(utcText(lockedUntil))
                                      : QVariant(QMetaType::fromType<QString>()),
                login});
}

void clearFailures(storage::Transaction& tx, const QString& login)
{
    tx.execute(
        QStringLiteral("UPDATE usuario SET NRFALHAS = 0, DTBLOQUEIO = NULL WHERE DSLOGIN = ?"),
        {login});
}

}  // namespace users
}  // namespace server::auth
