#include "host/widgets/login_dialog.h"

#include "host/user_session.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace host {

LoginDialog::LoginDialog(UserSession& session, const QString& server, const QString& presetLogin,
                         QWidget* parent)
    : QDialog(parent),
      m_session(session)
{
    setObjectName(QStringLiteral("loginDialog"));
    setWindowTitle(QStringLiteral("avalnutri - Entrar"));

    auto* serverLabel = new QLabel(server, this);
    serverLabel->setObjectName(QStringLiteral("lblServidor"));
    m_login = new QLineEdit(presetLogin, this);
    m_login->setObjectName(QStringLiteral("edtLogin"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("edtSenha"));
    m_password->setEchoMode(QLineEdit::Password);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("lblMensagem"));
    m_message->setWordWrap(true);
    m_message->setStyleSheet(QStringLiteral("color: #b00020;"));
    m_message->hide();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Servidor:"), serverLabel);
    form->addRow(QStringLiteral("&Login:"), m_login);
    form->addRow(QStringLiteral("&Senha:"), m_password);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Entrar"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
    connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &LoginDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_message);
    layout->addWidget(buttons);
    setMinimumWidth(360);

    (presetLogin.isEmpty() ? m_login : m_password)->setFocus();
}

void LoginDialog::setMessage(const QString& text)
{
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

QString LoginDialog::messageText() const
{
    return m_message->text();
}

void LoginDialog::accept()
{
    setMessage({});
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QString refusal = m_session.login(m_login->text(), m_password->text());
    QGuiApplication::restoreOverrideCursor();
    m_password->clear();
    if (!refusal.isEmpty()) {
        setMessage(refusal);
        (m_login->text().trimmed().isEmpty() ? m_login : m_password)->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace host
