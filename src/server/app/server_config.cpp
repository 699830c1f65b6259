#include "server_config.h"

#include <records/server_address.h>

#include <QDir>
#include <QStandardPaths>

namespace server::app {

QString defaultDataDir()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(base.isEmpty() ? QDir::homePath() : base)
        .filePath(QStringLiteral("avalnutri-server"));
}

QString ServerConfig::effectiveDataDir() const
{
    return dataDir.isEmpty() ? defaultDataDir() : QDir(dataDir).absolutePath();
}

QString ServerConfig::effectiveServiceTokenFile() const
{
    return serviceTokenFile.isEmpty() ? QString() : QDir().absoluteFilePath(serviceTokenFile);
}

QString ServerConfig::sqliteFile() const
{
    return QDir(effectiveDataDir()).filePath(QStringLiteral("avalnutri.sqlite"));
}

QString usageText()
{
    return QStringLiteral(
               "Uso: avalnutri-server [opções]\n"
               "     avalnutri-server user add|passwd|disable|list ... (--help para detalhes)\n"
               "Servidor de aplicação da avaliação nutricional (métodos remotos em HTTP/JSON).\n"
               "\n"
               "  --listen HOST:PORTA   endereço de escuta (padrão 127.0.0.1:8512; porta 0 = "
               "livre)\n"
               "  --data DIR            diretório de dados: banco SQLite (padrão %1)\n"
               "  --db URL              PostgreSQL em vez de SQLite:\n"
               "                        postgresql://usuario@servidor:porta/banco[?schema=nome]\n"
               "  --session-hours N     duração de uma sessão em horas (padrão 8)\n"
               "  --service-token-file ARQ\n"
               "                        aceita também o token de serviço deste arquivo (criado\n"
               "                        se faltar, legível só pelo dono), para ferramentas sem\n"
               "                        usuário; age como o usuário 'servico' (nutricionista)\n"
               "  --workers N           chamadas atendidas ao mesmo tempo (padrão: 2 por núcleo,\n"
               "                        no mínimo 4; --threads é o mesmo)\n"
               "  --max-connections-per-address N\n"
               "                        conexões abertas por endereço de cliente (padrão 64)\n"
               "  --request-timeout S   prazo para receber cabeçalhos e corpo (padrão 10)\n"
               "  --idle-timeout S      fecha conexões ociosas após S segundos (padrão 30)\n"
               "  --tls-cert ARQ --tls-key ARQ\n"
               "                        HTTPS com este certificado (cadeia PEM) e sua chave\n"
               "                        privada PEM; sem eles, HTTP\n"
               "  --max-body BYTES      tamanho máximo do corpo de uma requisição (padrão "
               "8388608)\n"
               "  --no-demo-patients    não cadastrar os pacientes de demonstração na primeira "
               "partida\n"
               "  --quiet               sem a linha de registro por requisição\n"
               "  --help                mostra esta ajuda\n")
        .arg(defaultDataDir());
}

ParsedArguments parseArguments(const QStringList& arguments)
{
    ServerConfig config;
    auto error = [](const QString& text) {
        ParsedArguments out;
        out.message = text + QStringLiteral("\nUse --help para ver as opções.\n");
        out.exitCode = 2;
        return out;
    };
    for (int i = 1; i < arguments.size(); ++i) {
        const QString option = arguments[i];
        auto value = [&](QString& out) {
            if (i + 1 >= arguments.size())
                return false;
            out = arguments[++i];
            return true;
        };
        QString v;
        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            ParsedArguments out;
            out.message = usageText();
            return out;
        } else if (option == QLatin1String("--listen")) {
            if (!value(v))
                return error(QStringLiteral("--listen precisa de HOST:PORTA."));
            const auto address = records::parseServerAddress(v, records::PortZero::Allowed);
            if (!address)
                return error(records::badServerAddressText(QStringLiteral("--listen"), v));
            config.listenHost = address->host;
            config.port = address->port;
        } else if (option == QLatin1String("--data")) {
            if (!value(v) || v.isEmpty())
                return error(QStringLiteral("--data precisa de um diretório."));
            config.dataDir = v;
        } else if (option == QLatin1String("--db")) {
            if (!value(v) || v.isEmpty())
                return error(QStringLiteral("--db precisa de um endereço postgresql://..."));
            config.database = v;
        } else if (option == QLatin1String("--service-token-file")) {
            if (!value(v) || v.isEmpty())
                return error(QStringLiteral("--service-token-file precisa de um arquivo."));
            config.serviceTokenFile = v;
        } else if (option == QLatin1String("--token-file")) {
            return error(QStringLiteral("--token-file não existe mais: os usuários entram com "
                                        "login e senha; para ferramentas sem usuário use "
                                        "--service-token-file."));
        } else if (option == QLatin1String("--session-hours")) {
            bool ok = false;
            const int n = value(v) ? v.toInt(&ok) : 0;
            if (!ok || n < 1 || n > 24 * 7)
                return error(QStringLiteral("--session-hours precisa de um número de 1 a 168."));
            config.sessionHours = n;
        } else if (option == QLatin1String("--workers") || option == QLatin1String("--threads")) {
            bool ok = false;
            const int n = value(v) ? v.toInt(&ok) : 0;
            if (!ok || n < 1 || n > 256)
                return error(QStringLiteral("%1 precisa de um número de 1 a 256.").arg(option));
            config.workers = n;
        } else if (option == QLatin1String("--max-connections-per-address")) {
            bool ok = false;
            const int n = value(v) ? v.toInt(&ok) : 0;
            if (!ok || n < 1 || n > 100000)
                return error(QStringLiteral("%1 precisa de um número de 1 a 100000.").arg(option));
            config.maxConnectionsPerAddress = n;
        } else if (option == QLatin1String("--request-timeout")
                   || option == QLatin1String("--idle-timeout")) {
            bool ok = false;
            const int n = value(v) ? v.toInt(&ok) : 0;
            if (!ok || n < 1 || n > 3600)
                return error(
                    QStringLiteral("%1 precisa de um número de segundos de 1 a 3600.").arg(option));
            (option == QLatin1String("--request-timeout") ? config.requestTimeoutMs
                                                          : config.idleTimeoutMs) = n * 1000;
        } else if (option == QLatin1String("--max-body")) {
            bool ok = false;
            const qlonglong n = value(v) ? v.toLongLong(&ok) : 0;
            if (!ok || n < 1024 || n > qlonglong(1) << 30)
                return error(QStringLiteral(
                    "--max-body precisa de um número de bytes de 1024 a 1073741824."));
            config.maxBodyBytes = n;
        } else if (option == QLatin1String("--tls-cert") || option == QLatin1String("--tls-key")) {
            if (!value(v) || v.isEmpty())
                return error(QStringLiteral("%1 precisa de um arquivo PEM.").arg(option));
            (option == QLatin1String("--tls-cert") ? config.tlsCertFile : config.tlsKeyFile) =
                QDir().absoluteFilePath(v);
        } else if (option == QLatin1String("--no-demo-patients")) {
            config.demoPatients = false;
        } else if (option == QLatin1String("--quiet")) {
            config.logRequests = false;
        } else {
            return error(QStringLiteral("Opção desconhecida '%1'.").arg(option));
        }
    }
    if (config.tlsCertFile.isEmpty() != config.tlsKeyFile.isEmpty())
        return error(QStringLiteral("--tls-cert e --tls-key vão juntos: o certificado e a sua "
                                    "chave privada."));
    return ParsedArguments{std::make_optional(std::move(config)), QString(), 0};
}

}  // namespace server::app
