#include "host/user_session.h"

#include "hostfw/host_settings.h"

namespace host {
namespace {

httpclient::HttpAppServer::Options serverOptions()
{
    const hostfw::HostSettings& settings = hostfw::hostSettings();
    httpclient::HttpAppServer::Options options;
    options.host = settings.webUrl;
    options.port = settings.webPort;
    options.tls = settings.tls;
    options.caFile = settings.caFile;
    options.readTimeoutMs = 30000;
    return options;
}

}  // namespace

UserSession::UserSession() = default;

QString UserSession::login(const QString& login, const QString& password)
{
    if (login.trimmed().isEmpty())
        return QStringLiteral("Informe o login.");
    httpclient::HttpAppServer server(serverOptions());
    const httpclient::LoginResult result = server.login(login.trimmed(), password);
    if (!result.session)
        return result.error;
    m_token = result.session->token;
    m_user = result.session->user;
    hostfw::hostSettings().accessToken = QString::fromLatin1(m_token);
    if (changed)
        changed();
    return {};
}

void UserSession::logout()
{
    if (m_token.isEmpty())
        return;
    httpclient::HttpAppServer::Options options = serverOptions();
    options.token = m_token;
    options.readTimeoutMs = 5000;
    httpclient::HttpAppServer(options).logout();
    m_token.clear();
}

QString UserSession::statusText() const
{
    if (!m_user)
        return {};
    const QString name = m_user->name.isEmpty() ? m_user->login : m_user->name;
    return m_user->registration.isEmpty()
               ? QStringLiteral("Usuário: %1").arg(name)
               : QStringLiteral("Usuário: %1 (%2)").arg(name, m_user->registration);
}

std::optional<QByteArray> UserSession::renew(const QByteArray& refused)
{
    // Another connection already logged in again: its token serves this one too.
    if (!m_token.isEmpty() && refused != m_token)
        return m_token;
    // One question at a time: a call made while the dialog is open is refused.
    if (m_asking || !askLogin)
        return std::nullopt;
    m_asking = true;
    const QByteArray before = m_token;
    const bool renewed = askLogin();
    m_asking = false;
    if (!renewed || m_token == before)
        return std::nullopt;
    return m_token;
}

void UserSession::installRenewal()
{
    hostfw::hostSettings().renewSession = [this](const QByteArray& refused) {
        return renew(refused);
    };
}

}  // namespace host
