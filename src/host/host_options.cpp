#include "host/host_options.h"

#include "host/host_error.h"

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
    return values;
}

QString defaultTokenFile(const HostEnvironment& env)
{
    if (!env.tokenFileVariable.isEmpty())
        return absoluteFrom(env.currentDir, env.tokenFileVariable);
    return absoluteFrom(env.currentDir, QStringLiteral("var/server/token"));
}

QString defaultModulePath(const HostEnvironment& env)
{
    return absoluteFrom(env.applicationDir, QStringLiteral("../lib/libavalnutr.so"));
}

}  // namespace

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
        QStringLiteral("Endereço do servidor de aplicação (padrão %1:%2).")
            .arg(QLatin1String(kDefaultServerHost))
            .arg(kDefaultServerPort),
        QStringLiteral("HOST:PORTA"));
    const QCommandLineOption tokenOption(
        QStringLiteral("token-file"),
        QStringLiteral("Arquivo com o token de acesso ao servidor (padrão: $AVALNUTRI_TOKEN_FILE, "
                       "ou var/server/token no diretório atual)."),
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

    for (const QCommandLineOption* option : {&tokenOption, &moduleOption, &settingsOption}) {
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
        const auto address = records::parseServerAddress(text);
        if (!address)
            throw HostError(records::badServerAddressText(QStringLiteral("--server"), text));
        options.server = *address;
    } else if (!fromFile.address.isEmpty()) {
        const auto address = records::parseServerAddress(fromFile.address);
        if (!address)
            throw HostError(records::badServerAddressText(
                QStringLiteral("%1 (%2)").arg(fromFile.file,
                                              QLatin1String(settings_keys::kServerAddress)),
                fromFile.address));
        options.server = *address;
    } else {
        options.server = {QLatin1String(kDefaultServerHost), kDefaultServerPort};
    }

    if (parser.isSet(tokenOption))
        options.tokenFile = absoluteFrom(env.currentDir, parser.value(tokenOption));
    else if (!fromFile.tokenFile.isEmpty())
        options.tokenFile = fromFile.tokenFile;
    else
        options.tokenFile = defaultTokenFile(env);

    if (parser.isSet(moduleOption))
        options.modulePath = absoluteFrom(env.currentDir, parser.value(moduleOption));
    else if (!fromFile.modulePath.isEmpty())
        options.modulePath = fromFile.modulePath;
    else
        options.modulePath = defaultModulePath(env);

    return result;
}

}  // namespace host
