#pragma once

#include "client/http_app_server.h"

#include <QString>

#include <functional>
#include <optional>

namespace host {

// The named user's session of the host: logs in against the server in
// hostfw::hostSettings(), puts the session's token there for the module and the host's
// own calls, and renews it when the server refuses it during a call by asking the user
// again (askLogin, the login dialog in the window).
class UserSession
{
public:
    UserSession();

    // Empty on success; otherwise the server's or the transport's text.
    QString login(const QString& login, const QString& password);
    // Ends the session on the server (when there is one).
    void logout();

    const std::optional<httpclient::SessionUser>& user() const { return m_user; }
    // "Usuário: Ana Souza (CRN-3 12345)"; empty before a login.
    QString statusText() const;

    // Shows the login again and answers whether a login succeeded; set by the window.
    std::function<bool()> askLogin;
    // Called after every successful login (the status bar shows the user).
    std::function<void()> changed;

    // What hostfw::hostSettings().renewSession runs: the current token when the refused
    // one was already replaced, else a new login through askLogin, else nothing.
    std::optional<QByteArray> renew(const QByteArray& refused);
    // Installs renew() as hostfw::hostSettings().renewSession.
    void installRenewal();

private:
    std::optional<httpclient::SessionUser> m_user;
    QByteArray m_token;
    bool m_asking = false;
};

}  // namespace host
