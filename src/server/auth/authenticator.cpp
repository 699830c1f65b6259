#include "authenticator.h"

#include "password.h"

#include "../api/api_error.h"
#include "../api/token.h"

#include <thread>

namespace server::auth {
namespace {

using api::ApiError;

const QString kWrongLogin = QStringLiteral("Login ou senha inválidos.");

ApiError unauthorized(const QString& text)
{
    return {ApiError::Kind::Unauthorized, text};
}

}  // namespace

Authenticator::Authenticator(storage::Database& db, AuthOptions options)
    : m_db(db),
      m_options(std::move(options))
{
}

const QString& Authenticator::dummyHash()
{
    std::call_once(m_dummyOnce, [this] {
        m_dummyHash = hashPassword(QStringLiteral("senha-inexistente"), kDefaultIterations);
    });
    return m_dummyHash;
}

void Authenticator::refuseLogin(const QString& message, int status)
{
    if (m_options.failureDelay.count() > 0) {
        if (m_options.wait)
            m_options.wait(m_options.failureDelay);
        else
            std::this_thread::sleep_for(m_options.failureDelay);
    }
    throw ApiError(status == 429 ? ApiError::Kind::TooManyRequests : ApiError::Kind::Unauthorized,
                   message);
}

Session Authenticator::login(const QString& login, const QString& password)
{
    const QDateTime now = m_options.now();
    QString refusal;
    int status = 401;
    std::optional<Session> session;
    storage::inTransaction(m_db, storage::Access::ReadWrite, [&](storage::Transaction& tx) {
        const std::optional<User> user = users::find(tx, login);
        if (!user) {
            verifyPassword(password, dummyHash());
            refusal = kWrongLogin;
            return;
        }
        if (user->lockedUntil.isValid() && now < user->lockedUntil) {
            const qint64 seconds = now.secsTo(user->lockedUntil);
            refusal = QStringLiteral("Login '%1' bloqueado por excesso de tentativas; tente "
                                     "novamente em %2 minuto(s).")
                          .arg(login)
                          .arg((seconds + 59) / 60);
            status = 429;
            return;
        }
        if (!verifyPassword(password, users::passwordHash(tx, login))) {
            int failures = user->failures + 1;
            QDateTime lockedUntil;
            if (failures >= m_options.lockAfterFailures) {
                lockedUntil = now.addSecs(
                    std::chrono::duration_cast<std::chrono::seconds>(m_options.lockLength).count());
                failures = 0;
            }
            users::recordFailure(tx, login, failures, lockedUntil);
            refusal = kWrongLogin;
            return;
        }
        if (!user->active) {
            refusal =
                QStringLiteral("Usuário '%1' desativado; procure o administrador.").arg(login);
            return;
        }
        users::clearFailures(tx, login);
        Session s;
        s.token = api::generateToken();
        s.expires = now.addSecs(
            std::chrono::duration_cast<std::chrono::seconds>(m_options.sessionLength).count());
        s.user = Caller{user->login, user->name, user->registration, user->role};
        // Expired sessions of anyone go as new ones come.
        tx.execute(QStringLiteral("DELETE FROM sessao WHERE DTEXPIRA < ?"), {utcText(now)});
        tx.execute(
            QStringLiteral("INSERT INTO sessao (DSTOKENHASH, DSLOGIN, DTCRIACAO, DTEXPIRA) "
                           "VALUES (?, ?, ?, ?)"),
            {QString::fromLatin1(sha256Hex(s.token)), login, utcText(now), utcText(s.expires)});
        session = s;
    });
    if (!session)
        refuseLogin(refusal, status);
    return *session;
}

Caller Authenticator::authenticate(const QByteArray& token)
{
    if (token.isEmpty())
        throw unauthorized(
            QStringLiteral("Acesso negado: falta o token de acesso (Authorization: Bearer)."));
    if (!m_options.serviceToken.isEmpty() && api::constantTimeEquals(token, m_options.serviceToken))
        return Caller{kServiceLogin, QStringLiteral("Serviço (token de serviço)"), QString(),
                      role::nutritionist};
    const QDateTime now = m_options.now();
    const QList<storage::SqlRow> rows =
        storage::inTransaction(m_db, storage::Access::ReadOnly, [&](storage::Transaction& tx) {
            return tx.select(
                QStringLiteral("SELECT s.DTEXPIRA, u.DSLOGIN, u.NMUSUARIO, u.DSREGISTRO, "
                               "u.DSPERFIL, u.IDATIVO FROM sessao s "
                               "JOIN usuario u ON u.DSLOGIN = s.DSLOGIN "
                               "WHERE s.DSTOKENHASH = ?"),
                {QString::fromLatin1(sha256Hex(token))});
        });
    if (rows.isEmpty() || rows.first()[5].toInt() == 0)
        throw unauthorized(QStringLiteral("Acesso negado: token de acesso inválido."));
    const storage::SqlRow& r = rows.first();
    if (!(now < fromUtcText(r[0].toString())))
        throw unauthorized(QStringLiteral("Sessão expirada. Entre novamente."));
    return Caller{r[1].toString(), r[2].toString(), r[3].toString(), r[4].toString()};
}

void Authenticator::logout(const QByteArray& token)
{
    const Caller caller = authenticate(token);
    if (caller.login == kServiceLogin && token == m_options.serviceToken)
        throw ApiError::badRequest(
            QStringLiteral("O token de serviço não é uma sessão; não há o que encerrar."));
    storage::inTransaction(m_db, storage::Access::ReadWrite, [&](storage::Transaction& tx) {
        tx.execute(QStringLiteral("DELETE FROM sessao WHERE DSTOKENHASH = ?"),
                   {QString::fromLatin1(sha256Hex(token))});
    });
}

}  // namespace server::auth
