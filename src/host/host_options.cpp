#include "host/host_options.h"

#include "host/host_error.h"

#include "client/server_url.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace host {

namespace {

QString absoluteFrom(const QString& baseDir, const QString& path)
{
    return QDir::cleanPath(QDir(baseDir).absoluteFilePath(path));
}

// The values the settings file gives; empty strings where it gives none.
struct SettingsValues
{
    QString file;
    QString address;
    QString tokenFile;
    QString caFile;
    QString modulePath;
};

SettingsValues readSettingsFile(const QString& path, bool required)
{
    SettingsValues values;
    const QFileInfo info(path);
    if (!info.exists()) {
        if (required)
            throw HostError(QStringLiteral("O arquivo de configurações %1 não existe.").arg(path));
        return values;
    }
    if (!info.isFile() || !info.isReadable())
        throw HostError(
            QStringLiteral("O arquivo de configurações %1 não pode ser lido.").arg(path));

    QSettings settings(path, QSettings::IniFormat);
    values.address =
        settings.value(QLatin1String(settings_keys::kServerAddress)).toString().trimmed();
    values.tokenFile =
        settings.value(QLatin1String(settings_keys::kTokenFile)).toString().trimmed();
    values.modulePath =
        settings.value(QLatin1String(settings_keys::kModulePath)).toString().trimmed();
    values.caFile = settings.value(QLatin1String(settings_keys::kCaFile)).toString().trimmed();
    if (settings.status() != QSettings::NoError)
        throw HostError(QStringLiteral("O arquivo de configurações %1 não pode ser lido (formato "
                                       "INI inválido).")
                            .arg(path));
    values.file = info.absoluteFilePath();

    const QString dir = info.absolutePath();
    if (!values.tokenFile.isEmpty())
        values.tokenFile = absoluteFrom(dir, values.tokenFile);
    if (!values.modulePath.isEmpty())
        values.modulePath = absoluteFrom(dir, values.modulePath);
    if (!values.caFile.isEmpty())
        values.caFile = absoluteFrom(dir, values.caFile);
    return values;
}

QString defaultTokenFile(const HostEnvironment& env)
{
    if (!env.tokenFileVariable.isEmpty())
        return absoluteFrom(env.currentDir, env.tokenFileVariable);
    return {};
}

// The address as written into the options; false when it is not one.
bool setServer(HostOptions& options, const QString& text)
{
    const auto url = httpclient::parseServerUrl(text);
    if (!url)
        return false;
    options.server = url->address;
    options.tls = url->tls;
    return true;
}

QString defaultModulePath(const HostEnvironment& env)
{
    return absoluteFrom(env.applicationDir, QStringLiteral("../lib/libavalnutr.so"));
}

}  // namespace

QString HostOptions::serverText() const
{
    return httpclient::ServerUrl{server, tls}.toString();
}

HostEnvironment HostEnvironment::fromProcess()
{
    HostEnvironment env;
    env.applicationDir = QCoreApplication::applicationDirPath();
    env.currentDir = QDir::currentPath();
    env.tokenFileVariable = qEnvironmentVariable("AVALNUTRI_TOKEN_FILE");
    env.defaultSettingsFile =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/avalnutri/host.ini");
    return env;
}

CommandLine parseCommandLine(const QStringList& arguments, const HostEnvironment& env)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("avalnutri: aplicação hospedeira do módulo de avaliação nutricional."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Mostra esta ajuda."));
    const QCommandLineOption serverOption(
        QStringLiteral("server"),
        QStringLiteral("Endereço do servidor de aplicação, https:// para TLS (padrão %1:%2).")
            .arg(QLatin1String(kDefaultServerHost))
            .arg(kDefaultServerPort),
        QStringLiteral("[https://]HOST:PORTA"));
    const QCommandLineOption caOption(
        QStringLiteral("ca-file"),
        QStringLiteral("Certificado da autoridade que assina o do servidor https:// (padrão: as "
                       "autoridades do sistema)."),
        QStringLiteral("ARQUIVO"));
    const QCommandLineOption userOption(QStringLiteral("user"),
                                        QStringLiteral("Login sugerido no diálogo de entrada."),
                                        QStringLiteral("LOGIN"));
    const QCommandLineOption tokenOption(
        QStringLiteral("token-file"),
        QStringLiteral("Arquivo com o token de serviço do servidor, em vez de login e senha "
                       "(padrão: $AVALNUTRI_TOKEN_FILE)."),
        QStringLiteral("ARQUIVO"));
    const QCommandLineOption moduleOption(
        QStringLiteral("module"),
        QStringLiteral("Módulo a carregar (padrão: ../lib/libavalnutr.so junto ao executável)."),
        QStringLiteral("CAMINHO"));
    const QCommandLineOption settingsOption(
        QStringLiteral("settings"),
        QStringLiteral("Arquivo de configurações INI (padrão %1).").arg(env.defaultSettingsFile),
        QStringLiteral("ARQUIVO"));
    parser.addOption(helpOption);
    parser.addOption(serverOption);
    parser.addOption(tokenOption);
    parser.addOption(caOption);
    parser.addOption(userOption);
    parser.addOption(moduleOption);
    parser.addOption(settingsOption);

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty())
            throw HostError(
                QStringLiteral("Opção desconhecida: %1. Use --help para ver as opções.")
                    .arg((unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--"))
                         + unknown.first()));
        throw HostError(QStringLiteral("Linha de comando inválida: %1").arg(parser.errorText()));
    }

    CommandLine result;
    if (parser.isSet(helpOption)) {
        result.helpRequested = true;
        result.helpText = parser.helpText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        throw HostError(QStringLiteral("Argumento inesperado: %1. Use --help para ver as opções.")
                            .arg(parser.positionalArguments().first()));

    for (const QCommandLineOption* option :
         {&tokenOption, &caOption, &moduleOption, &settingsOption}) {
        if (parser.isSet(*option) && parser.value(*option).trimmed().isEmpty())
            throw HostError(
                QStringLiteral("A opção --%1 precisa de um caminho.").arg(option->names().first()));
    }

    const bool settingsGiven = parser.isSet(settingsOption);
    const QString settingsPath = settingsGiven
                                     ? absoluteFrom(env.currentDir, parser.value(settingsOption))
                                     : env.defaultSettingsFile;
    const SettingsValues fromFile =
        settingsPath.isEmpty() ? SettingsValues{} : readSettingsFile(settingsPath, settingsGiven);

    HostOptions& options = result.options;
    options.settingsFile = fromFile.file;

    if (parser.isSet(serverOption)) {
        const QString text = parser.value(serverOption);
        if (!setServer(options, text))
            throw HostError(httpclient::badServerUrlText(QStringLiteral("--server"), text));
    } else if (!fromFile.address.isEmpty()) {
        if (!setServer(options, fromFile.address))
            throw HostError(httpclient::badServerUrlText(
                QStringLiteral("%1 (%2)").arg(fromFile.file,
                                              QLatin1String(settings_keys::kServerAddress)),
                fromFile.address));
    } else {
        options.server = {QLatin1String(kDefaultServerHost), kDefaultServerPort};
    }

    if (parser.isSet(tokenOption))
        options.tokenFile = absoluteFrom(env.currentDir, parser.value(tokenOption));
    else if (!fromFile.tokenFile.isEmpty())
        options.tokenFile = fromFile.tokenFile;
    else
        options.tokenFile = defaultTokenFile(env);

    if (parser.isSet(caOption))
        options.caFile = absoluteFrom(env.currentDir, parser.value(caOption));
    else
        options.caFile = fromFile.caFile;
    options.user = parser.value(userOption).trimmed();

    if (parser.isSet(moduleOption))
        options.modulePath = absoluteFrom(env.currentDir, parser.value(moduleOption));
    else if (!fromFile.modulePath.isEmpty())
        options.modulePath = fromFile.modulePath;
    else
        options.modulePath = defaultModulePath(env);

    return result;
}

}  // namespace host
