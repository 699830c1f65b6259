#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace host {

class UserSession;

// "Entrar": login and password for the server named on it. OK logs in through the
// session and closes only when the server accepted; a refusal is shown on the dialog,
// which stays open with the password cleared. Cancel gives up.
class LoginDialog : public QDialog
{
    Q_OBJECT

public:
    LoginDialog(UserSession& session, const QString& server, const QString& presetLogin,
                QWidget* parent = nullptr);

    QLineEdit* loginEdit() const { return m_login; }
    QLineEdit* passwordEdit() const { return m_password; }
    // Why the dialog is shown again ("Sessão expirada. Entre novamente."), or the refusal.
    void setMessage(const QString& text);
    QString messageText() const;

public slots:
    void accept() override;

private:
    UserSession& m_session;
    QLineEdit* m_login = nullptr;
    QLineEdit* m_password = nullptr;
    QLabel* m_message = nullptr;
};

}  // namespace host
