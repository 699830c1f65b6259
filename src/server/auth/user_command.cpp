#include "user_command.h"

#include "password.h"
#include "user_store.h"

#include "../app/server_config.h"
#include "../storage/database_location.h"
#include "../storage/schema.h"
#include "../storage/sql_database.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>

namespace server::auth {
namespace {

bool readLine(QString* line)
{
    std::string s;
    if (!std::getline(std::cin, s))
        return false;
    if (!s.empty() && s.back() == '\r')
        s.pop_back();
    *line = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    return true;
}

}  // namespace

PasswordReader terminalPasswordReader()
{
    return [](const QString& prompt, QString* password) {
        if (!::isatty(STDIN_FILENO))
            return readLine(password);
        auto ask = [](const QString& text, QString* answer) {
            std::fputs(text.toUtf8().constData(), stderr);
            std::fflush(stderr);
            termios old{};
            ::tcgetattr(STDIN_FILENO, &old);
            termios quiet = old;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
            const bool ok = readLine(answer);
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &old);
            std::fputs("\n", stderr);
            return ok;
        };
        QString again;
        if (!ask(prompt, password) || !ask(QStringLiteral("Repita a senha: "), &again))
            return false;
        if (*password != again) {
            std::fputs("As senhas não conferem.\n", stderr);
            return false;
        }
        return true;
    };
}

QString userUsageText()
{
    return QStringLiteral(
               "Uso: avalnutri-server user COMANDO [opções] [--data DIR | --db URL]\n"
               "Usuários do servidor, no banco de dados do servidor (as mesmas --data/--db dele).\n"
               "\n"
               "  add LOGIN --name \"Nome completo\" --registration \"CRN-3 12345\" --role PERFIL\n"
               "                        cadastra um usuário; PERFIL: nutricionista (lê e altera),\n"
               "                        consulta (só lê) ou admin (administra usuários, lê e "
               "altera)\n"
               "  passwd LOGIN          troca a senha (encerra as sessões abertas)\n"
               "  disable LOGIN         desativa o usuário (encerra as sessões abertas)\n"
               "  list                  lista os usuários\n"
               "\n"
               "A senha é lida do terminal sem eco (duas vezes), ou de uma linha da entrada "
               "padrão\n"
               "quando ela não é um terminal. Mínimo de %1 caracteres.\n")
        .arg(users::kMinPasswordLength);
}

int runUserCommand(const QStringList& arguments, const PasswordReader& readPassword,
                   const std::function<void(const QString&)>& out,
                   const std::function<void(const QString&)>& err)
{
    auto usage = [&](const QString& problem) {
        err(QStringLiteral("avalnutri-server user: %1\n\n%2").arg(problem, userUsageText()));
        return 2;
    };
    app::ServerConfig config;
    QString name, registration, roleText;
    bool haveName = false, haveRole = false;
    QStringList positional;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString a = arguments[i];
        auto value = [&](QString* v) {
            if (i + 1 >= arguments.size())
                return false;
            *v = arguments[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            out(userUsageText());
            return 0;
        } else if (a == QLatin1String("--data")) {
            if (!value(&v) || v.isEmpty())
                return usage(QStringLiteral("--data precisa de um diretório."));
            config.dataDir = v;
        } else if (a == QLatin1String("--db")) {
            if (!value(&v) || v.isEmpty())
                return usage(QStringLiteral("--db precisa de um endereço postgresql://..."));
            config.database = v;
        } else if (a == QLatin1String("--name")) {
            if (!value(&name))
                return usage(QStringLiteral("--name precisa do nome completo."));
            haveName = true;
        } else if (a == QLatin1String("--registration")) {
            if (!value(&registration))
                return usage(QStringLiteral("--registration precisa do registro profissional."));
        } else if (a == QLatin1String("--role")) {
            if (!value(&roleText))
                return usage(QStringLiteral("--role precisa de um perfil."));
            haveRole = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage(QStringLiteral("opção desconhecida '%1'.").arg(a));
        } else {
            positional.append(a);
        }
    }
    if (positional.isEmpty())
        return usage(QStringLiteral("falta o comando (add, passwd, disable ou list)."));
    const QString command = positional.takeFirst();
    const bool needsLogin = command != QLatin1String("list");
    if (command != QLatin1String("add") && command != QLatin1String("passwd")
        && command != QLatin1String("disable") && command != QLatin1String("list"))
        return usage(QStringLiteral("comando desconhecido '%1'.").arg(command));
    if (positional.size() != (needsLogin ? 1 : 0))
        return usage(needsLogin ? QStringLiteral("%1 precisa de um LOGIN (e só um).").arg(command)
                                : QStringLiteral("list não leva argumentos."));
    const QString login = needsLogin ? positional.first() : QString();
    if (command == QLatin1String("add")) {
        if (!haveName)
            return usage(QStringLiteral("add precisa de --name."));
        if (!haveRole)
            return usage(QStringLiteral("add precisa de --role (nutricionista, consulta ou "
                                        "admin)."));
        if (!isRole(roleText))
            return usage(QStringLiteral("perfil inválido '%1': use nutricionista, consulta ou "
                                        "admin.")
                             .arg(roleText));
        if (!users::validLogin(login))
            return usage(QStringLiteral("login inválido '%1': use de 1 a 32 letras minúsculas, "
                                        "dígitos, '.', '_' ou '-'.")
                             .arg(login));
    } else if (haveName || haveRole || !registration.isEmpty()) {
        return usage(QStringLiteral("--name, --registration e --role valem só para add."));
    }

    try {
        if (!config.database && !QDir(config.effectiveDataDir()).exists())
            throw std::runtime_error(
                QStringLiteral("o diretório de dados %1 não existe (inicie o servidor uma vez, "
                               "ou informe --data/--db).")
                    .arg(config.effectiveDataDir())
                    .toStdString());
        const storage::DatabaseLocation location =
            config.database ? storage::DatabaseLocation::postgres(*config.database)
                            : storage::DatabaseLocation::sqlite(config.sqliteFile());
        storage::SqlDatabase db(location);
        storage::upgradeSchema(db);

        QString password;
        if (command == QLatin1String("add") || command == QLatin1String("passwd")) {
            if (!readPassword(QStringLiteral("Senha de %1: ").arg(login), &password)) {
                err(QStringLiteral("avalnutri-server user: nenhuma senha lida; nada mudou.\n"));
                return 1;
            }
        }
        storage::inTransaction(db, storage::Access::ReadWrite, [&](storage::Transaction& tx) {
            if (command == QLatin1String("add")) {
                users::add(tx, User{login, name, registration, roleText}, password,
                           kDefaultIterations);
                out(QStringLiteral("Usuário '%1' cadastrado (perfil %2).\n").arg(login, roleText));
            } else if (command == QLatin1String("passwd")) {
                users::setPassword(tx, login, password, kDefaultIterations);
                out(QStringLiteral("Senha de '%1' trocada; as sessões abertas foram "
                                   "encerradas.\n")
                        .arg(login));
            } else if (command == QLatin1String("disable")) {
                users::disable(tx, login);
                out(QStringLiteral("Usuário '%1' desativado.\n").arg(login));
            } else {
                for (const User& u : users::list(tx))
                    out(QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                            .arg(u.login, u.role,
                                 u.active ? QStringLiteral("ativo") : QStringLiteral("desativado"),
                                 u.name, u.registration));
            }
        });
        return 0;
    } catch (const storage::StorageError& e) {
        err(QStringLiteral("avalnutri-server user: %1\n").arg(e.message()));
    } catch (const std::exception& e) {
        err(QStringLiteral("avalnutri-server user: %1\n").arg(QString::fromLocal8Bit(e.what())));
    }
    return 1;
}

}  // namespace server::auth
