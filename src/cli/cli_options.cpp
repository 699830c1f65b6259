#include "cli_options.h"

#include "cli/session_file.h"
#include "client/server_url.h"

#include <QDate>
#include <QRegularExpression>

namespace cli {
namespace {

std::optional<QString> environmentValue(const QStringList& environment, const QString& name)
{
    const QString prefix = name + QLatin1Char('=');
    for (const QString& entry : environment) {
        if (entry.startsWith(prefix))
            return entry.mid(prefix.size());
    }
    return std::nullopt;
}

// "HOST:PORT" or "https://HOST:PORT" into the connection; false when it is not one.
bool setServer(Connection& c, const QString& text)
{
    const auto url = httpclient::parseServerUrl(text);
    if (!url)
        return false;
    c.host = url->address.host;
    c.port = url->address.port;
    c.tls = url->tls;
    c.serverGiven = true;
    return true;
}

bool isDate(const QString& text)
{
    return QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$")).match(text).hasMatch()
           && QDate::fromString(text, Qt::ISODate).isValid();
}

// Walks the arguments of one command.
class Reader
{
public:
    explicit Reader(const QStringList& args) : m_args(args) {}
    bool atEnd() const { return m_pos >= m_args.size(); }
    QString take() { return m_args.at(m_pos++); }
    std::optional<QString> value(const QString& option)
    {
        if (atEnd()) {
            m_error = QStringLiteral("a opção %1 precisa de um valor").arg(option);
            return std::nullopt;
        }
        return take();
    }
    QString m_error;

private:
    QStringList m_args;
    int m_pos = 0;
};

ParseResult fail(const QString& text)
{
    return {std::nullopt, text};
}

}  // namespace

QString Connection::serverText() const
{
    return httpclient::ServerUrl{{host, port}, tls}.toString();
}

QString usageText()
{
    return QStringLiteral(
        "uso: avalnutri [--server [https://]HOST:PORTA] [--ca-file ARQUIVO] [--token-file "
        "ARQUIVO]\n"
        "               COMANDO ...\n"
        "\n"
        "comandos:\n"
        "  login [--server [https://]HOST:PORTA] [--user LOGIN]\n"
        "      pede a senha (sem eco no terminal; da entrada padrão quando não é um terminal)\n"
        "      e guarda a sessão, só para o seu usuário, em $XDG_RUNTIME_DIR/avalnutri/\n"
        "      session.json (ou ~/.cache/avalnutri/session.json); os outros comandos a usam\n"
        "  logout\n"
        "      encerra a sessão no servidor e apaga o arquivo da sessão\n"
        "  audit --branch B --patient C [--from AAAA-MM-DD] [--to AAAA-MM-DD] [--json]\n"
        "      histórico de alterações do paciente: data e hora (UTC), login, nome, método,\n"
        "      data da consulta, alteração enviada\n"
        "  patients\n"
        "      lista os pacientes: filial, código, nome, sexo, nascimento, óbito (S/N)\n"
        "  patient-add --branch B --code C --name NOME --sex 0|1|2|3 --birth AAAA-MM-DD "
        "[--deceased]\n"
        "      cadastra ou altera um paciente\n"
        "  calc --branch B --patient C --date AAAA-MM-DD --method COD[@REF] ... --value TIPO=TEXTO "
        "...\n"
        "       [--limbs TIPO=N] ... [--json]\n"
        "      abre a consulta, seleciona os métodos, registra os valores, calcula e\n"
        "      mostra as linhas de resultado (método, sequência, descrição, resultado);\n"
        "      num tipo de dado respondido por lista (tempo, edema, membros ...) o valor é o\n"
        "      código da resposta, como se escolhido na lista; --limbs dá o número de membros\n"
        "      (1 ou 2) de uma amputação marcada\n"
        "  energy --branch B --patient C --date AAAA-MM-DD --method COD[@REF] ... [--weight P]\n"
        "         [--height A] [--ideal-method NOME] [--adequate-weight P]\n"
        "         [--factor METODO:TIPO=COD] ... [--json]\n"
        "      a aba Necessidades Nutricionais: seleciona os métodos de energia, escolhe os\n"
        "      fatores, preenche peso, altura, método de peso ideal e peso adequado, calcula\n"
        "      e mostra as linhas de resultado; o que não for informado fica como registrado\n"
        "  estimate --branch B --patient C --date AAAA-MM-DD --set 1987|1988 --knee CM\n"
        "           [--calf CM] [--arm CM] [--subscapular MM] [--json]\n"
        "      o diálogo Altura/Peso Estimado: grava a altura (do joelho) e o peso (do braço e,\n"
        "      em 1988, da panturrilha e da prega subscapular) estimados por Chumlea no peso\n"
        "      e na altura da consulta, e mostra tipo de dado, valor e observação\n"
        "  maturation --branch B --patient C --date AAAA-MM-DD --breast|--genital N [--pubic N]\n"
        "             [--json]\n"
        "      o diálogo Maturação Sexual: seleciona a Maturação Sexual e grava o estágio\n"
        "      observado (Tanner, 1 a 5) de mama (feminino) ou genitália (masculino) e de\n"
        "      pêlos pubianos; mostra tipo de dado, valor e observação\n"
        "  diagnosis --branch B --patient C --date AAAA-MM-DD [--set-file ARQUIVO.html | --show]\n"
        "      a aba Diagnóstico Nutricional: grava o HTML do arquivo como o diagnóstico da\n"
        "      consulta (só a formatação da barra: negrito, itálico, sublinhado, listas e\n"
        "      tamanho da fonte) ou mostra o diagnóstico gravado (o padrão)\n"
        "  recommend --branch B --patient C --date AAAA-MM-DD --reference R --group G\n"
        "            --nutrients COD,COD... [--patient-type N] [--adequate-weight P]\n"
        "            [--ideal-method NOME] [--json]\n"
        "      a Recomendação de Nutriente: grava a recomendação da referência e do grupo\n"
        "      com os nutrientes escolhidos (tipo de paciente pelo nome ou pelo número do item)\n"
        "      e mostra nutriente, unidade e as quantidades para o peso atual, o peso ideal e\n"
        "      o peso adequado\n"
        "  chart --branch B --patient C [--date AAAA-MM-DD] --method COD --out ARQUIVO\n"
        "      a curva de crescimento de um método (15, 37 a 47): as curvas de percentis da\n"
        "      referência e as medidas do paciente até a consulta (sem --date, hoje), gravadas\n"
        "      em ARQUIVO .png ou .pdf\n"
        "  report --branch B --patient C --from AAAA-MM-DD --to AAAA-MM-DD [--methods "
        "T|COD,COD...]\n"
        "         (--pdf ARQUIVO | --json)\n"
        "      o relatório Avaliação Nutricional (Vex122) do período, em PDF (A4) ou em JSON\n"
        "  export --branch B --patient C [--from AAAA-MM-DD] [--to AAAA-MM-DD] --fhir "
        "ARQUIVO.json\n"
        "      as consultas do período (sem --from/--to, todas) como um Bundle FHIR R4: o\n"
        "      paciente, as medidas registradas, os resultados e o diagnóstico\n"
        "\n"
        "O servidor também vem de AVALNUTRI_SERVER (senão, o da sessão); --ca-file (ou\n"
        "AVALNUTRI_CA_FILE) é a autoridade que assina o certificado de um servidor https://.\n"
        "--token-file (ou AVALNUTRI_TOKEN_FILE) usa o token de serviço do servidor em vez da\n"
        "sessão, para ferramentas sem usuário.\n");
}

namespace {

// The options of a command on one patient's consultations over a period: --branch,
// --patient, --from, --to, --json when the command prints JSON, and the command's own
// options (own answers where an option's value goes, or nothing when it has none). Checks
// the patient and that the dates given are dates; the command checks what it requires
// besides.
using OwnOptions = QString* (*)(Command& cmd, const QString& arg);

ParseResult parsePatientPeriod(Command cmd, Reader& r, const QString& name, bool takesJson,
                               OwnOptions own)
{
    while (!r.atEnd()) {
        const QString arg = r.take();
        if (takesJson && arg == u"--json") {
            cmd.json = true;
            continue;
        }
        QString* target = arg == u"--branch"    ? &cmd.branch
                          : arg == u"--patient" ? &cmd.patient
                          : arg == u"--from"    ? &cmd.from.emplace()
                          : arg == u"--to"      ? &cmd.to.emplace()
                                                : own(cmd, arg);
        if (!target)
            return fail(QStringLiteral("opção desconhecida para %1: %2").arg(name, arg));
        const auto v = r.value(arg);
        if (!v)
            return fail(r.m_error);
        *target = *v;
    }
    if (cmd.branch.isEmpty() || cmd.patient.isEmpty())
        return fail(QStringLiteral("%1 precisa de --branch e --patient").arg(name));
    for (const auto& [option, value] : {std::pair{"--from", cmd.from}, std::pair{"--to", cmd.to}})
        if (value && !isDate(*value))
            return fail(QStringLiteral("%1 deve ser uma data AAAA-MM-DD: '%2'")
                            .arg(QLatin1String(option), *value));
    return {cmd, {}};
}

// A period whose end comes before its start is refused here (report leaves that to the
// server, whose text names the server's argument).
ParseResult inOrder(ParseResult p)
{
    if (p.command && p.command->from && p.command->to && *p.command->from > *p.command->to)
        return fail(QStringLiteral("--to é anterior a --from"));
    return p;
}

// report --branch B --patient C --from D --to D [--methods CODES] --pdf FILE | --json
ParseResult parseReport(Command cmd, Reader& r)
{
    cmd.kind = Command::Kind::Report;
    ParseResult p = parsePatientPeriod(
        cmd, r, QStringLiteral("report"), true, [](Command& c, const QString& arg) -> QString* {
            return arg == u"--methods" ? &c.reportMethods : arg == u"--pdf" ? &c.pdf : nullptr;
        });
    if (!p.command)
        return p;
    for (const auto& [option, value] :
         {std::pair{"--from", p.command->from}, std::pair{"--to", p.command->to}})
        if (!value)
            return fail(
                QStringLiteral("%1 deve ser uma data AAAA-MM-DD: ''").arg(QLatin1String(option)));
    if (p.command->pdf.isEmpty() && !p.command->json)
        return fail(QStringLiteral("report precisa de --pdf ARQUIVO ou de --json"));
    return p;
}

// export --branch B --patient C [--from D] [--to D] --fhir FILE
ParseResult parseExport(Command cmd, Reader& r)
{
    cmd.kind = Command::Kind::Export;
    ParseResult p = parsePatientPeriod(cmd, r, QStringLiteral("export"), false,
                                       [](Command& c, const QString& arg) -> QString* {
                                           return arg == u"--fhir" ? &c.fhir : nullptr;
                                       });
    if (p.command && p.command->fhir.isEmpty())
        return fail(QStringLiteral("export precisa de --fhir ARQUIVO.json"));
    return inOrder(p);
}

// audit --branch B --patient C [--from D] [--to D] [--json]
ParseResult parseAudit(Command cmd, Reader& r)
{
    cmd.kind = Command::Kind::Audit;
    return inOrder(
        parsePatientPeriod(cmd, r, QStringLiteral("audit"), true,
                           [](Command&, const QString&) -> QString* { return nullptr; }));
}

// login [--server URL] [--user LOGIN] | logout
ParseResult parseLogin(Command cmd, bool login, Reader& r)
{
    cmd.kind = login ? Command::Kind::Login : Command::Kind::Logout;
    while (!r.atEnd()) {
        const QString arg = r.take();
        if (!login || (arg != u"--server" && arg != u"--user"))
            return fail(QStringLiteral("opção desconhecida para %1: %2")
                            .arg(login ? QStringLiteral("login") : QStringLiteral("logout"), arg));
        const auto v = r.value(arg);
        if (!v)
            return fail(r.m_error);
        if (arg == u"--user")
            cmd.user = v->trimmed();
        else if (!setServer(cmd.connection, *v))
            return fail(httpclient::badServerUrlText(QStringLiteral("--server"), *v));
    }
    if (cmd.connection.sessionFile.isEmpty())
        return fail(QStringLiteral("não há onde guardar a sessão: defina XDG_RUNTIME_DIR ou HOME"));
    return {cmd, {}};
}

}  // namespace

ParseResult parseCommandLine(const QStringList& arguments, const QStringList& environment)
{
    Command cmd;
    if (const auto server = environmentValue(environment, QStringLiteral("AVALNUTRI_SERVER"))) {
        if (!setServer(cmd.connection, *server))
            return fail(httpclient::badServerUrlText(QStringLiteral("AVALNUTRI_SERVER"), *server));
    }
    if (const auto token = environmentValue(environment, QStringLiteral("AVALNUTRI_TOKEN_FILE")))
        cmd.connection.tokenFile = *token;
    if (const auto ca = environmentValue(environment, QStringLiteral("AVALNUTRI_CA_FILE")))
        cmd.connection.caFile = *ca;
    cmd.connection.sessionFile = defaultSessionFile(environment);

    Reader r(arguments);
    QString commandName;
    while (!r.atEnd()) {
        const QString arg = r.take();
        if (arg == u"--server") {
            const auto v = r.value(arg);
            if (!v)
                return fail(r.m_error);
            if (!setServer(cmd.connection, *v))
                return fail(httpclient::badServerUrlText(QStringLiteral("--server"), *v));
        } else if (arg == u"--token-file" || arg == u"--ca-file") {
            const auto v = r.value(arg);
            if (!v)
                return fail(r.m_error);
            if (v->isEmpty())
                return fail(QStringLiteral("a opção %1 precisa de um caminho").arg(arg));
            (arg == u"--token-file" ? cmd.connection.tokenFile : cmd.connection.caFile) = *v;
        } else if (arg == u"--help" || arg == u"-h") {
            cmd.kind = Command::Kind::Help;
            return {cmd, {}};
        } else if (arg.startsWith(u"-")) {
            return fail(QStringLiteral("opção desconhecida: %1").arg(arg));
        } else {
            commandName = arg;
            break;
        }
    }
    if (commandName.isEmpty())
        return fail(QStringLiteral("falta o comando"));

    if (commandName == u"patients") {
        cmd.kind = Command::Kind::Patients;
        if (!r.atEnd())
            return fail(QStringLiteral("patients não aceita argumentos: %1").arg(r.take()));
        return {cmd, {}};
    }

    if (commandName == u"report")
        return parseReport(cmd, r);
    if (commandName == u"export")
        return parseExport(cmd, r);
    if (commandName == u"audit")
        return parseAudit(cmd, r);
    if (commandName == u"login" || commandName == u"logout")
        return parseLogin(cmd, commandName == u"login", r);

    const bool add = commandName == u"patient-add";
    const bool energy = commandName == u"energy";
    const bool estimate = commandName == u"estimate";
    const bool maturation = commandName == u"maturation";
    const bool diagnosis = commandName == u"diagnosis";
    const bool recommend = commandName == u"recommend";
    bool show = false;
    const bool chart = commandName == u"chart";
    // What calc and energy share: the consultation and its methods.
    const bool calc = commandName == u"calc" || energy;
    // What they share with the other commands of a consultation: the consultation.
    const bool consultation = calc || estimate || maturation || diagnosis || recommend || chart;
    if (!add && !consultation)
        return fail(QStringLiteral("comando desconhecido: %1").arg(commandName));
    cmd.kind = add          ? Command::Kind::PatientAdd
               : energy     ? Command::Kind::Energy
               : estimate   ? Command::Kind::Estimate
               : maturation ? Command::Kind::Maturation
               : diagnosis  ? Command::Kind::Diagnosis
               : recommend  ? Command::Kind::Recommend
               : chart      ? Command::Kind::Chart
                            : Command::Kind::Calc;

    while (!r.atEnd()) {
        const QString arg = r.take();
        auto need = [&](QString& target) -> bool {
            const auto v = r.value(arg);
            if (v)
                target = *v;
            return v.has_value();
        };
        bool ok = true;
        if (arg == u"--branch")
            ok = need(cmd.branch);
        else if (add && arg == u"--code")
            ok = need(cmd.code);
        else if (add && arg == u"--name")
            ok = need(cmd.name);
        else if (add && arg == u"--sex")
            ok = need(cmd.sex);
        else if (add && arg == u"--birth")
            ok = need(cmd.birth);
        else if (add && arg == u"--deceased")
            cmd.deceased = true;
        else if (consultation && arg == u"--patient")
            ok = need(cmd.patient);
        else if (consultation && arg == u"--date")
            ok = need(cmd.date);
        else if (consultation && arg == u"--json")
            cmd.json = true;
        else if (chart && arg == u"--out")
            ok = need(cmd.out);
        else if ((calc || chart) && arg == u"--method") {
            QString text;
            ok = need(text);
            if (ok) {
                const int at = text.indexOf(QLatin1Char('@'));
                MethodChoice choice{at < 0 ? text : text.left(at), std::nullopt};
                if (at >= 0)
                    choice.reference = text.mid(at + 1);
                if (choice.code.isEmpty())
                    return fail(QStringLiteral("--method sem código: '%1'").arg(text));
                cmd.methods.append(choice);
            }
        } else if (energy && arg == u"--weight") {
            ok = need(cmd.weight.emplace());
        } else if (energy && arg == u"--height") {
            ok = need(cmd.height.emplace());
        } else if ((energy || recommend) && arg == u"--ideal-method") {
            ok = need(cmd.idealMethod.emplace());
        } else if ((energy || recommend) && arg == u"--adequate-weight") {
            ok = need(cmd.adequateWeight.emplace());
        } else if (energy && arg == u"--factor") {
            QString text;
            ok = need(text);
            if (ok) {
                static const QRegularExpression form(QStringLiteral("^(\\d{2}):(\\d{2})=(.+)$"));
                const QRegularExpressionMatch m = form.match(text);
                if (!m.hasMatch())
                    return fail(
                        QStringLiteral("--factor deve ser METODO:TIPO=COD: '%1'").arg(text));
                cmd.factors.append({m.captured(1), m.captured(2), m.captured(3)});
            }
        } else if (maturation && arg == u"--breast") {
            ok = need(cmd.breast.emplace());
        } else if (maturation && arg == u"--genital") {
            ok = need(cmd.genital.emplace());
        } else if (maturation && arg == u"--pubic") {
            ok = need(cmd.pubic.emplace());
        } else if (recommend && arg == u"--reference") {
            ok = need(cmd.reference);
        } else if (recommend && arg == u"--group") {
            ok = need(cmd.group);
        } else if (recommend && arg == u"--nutrients") {
            ok = need(cmd.nutrients);
        } else if (recommend && arg == u"--patient-type") {
            ok = need(cmd.patientType.emplace());
        } else if (estimate && arg == u"--set") {
            ok = need(cmd.chumleaSet);
        } else if (estimate && arg == u"--knee") {
            ok = need(cmd.knee);
        } else if (estimate && arg == u"--calf") {
            ok = need(cmd.calf);
        } else if (estimate && arg == u"--arm") {
            ok = need(cmd.arm);
        } else if (estimate && arg == u"--subscapular") {
            ok = need(cmd.subscapular);
        } else if (diagnosis && arg == u"--set-file") {
            ok = need(cmd.diagnosisFile.emplace());
        } else if (diagnosis && arg == u"--show") {
            show = true;
        } else if (calc && !energy && (arg == u"--value" || arg == u"--limbs")) {
            QString text;
            ok = need(text);
            if (ok) {
                const bool limbs = arg == u"--limbs";
                const int eq = text.indexOf(QLatin1Char('='));
                if (eq <= 0)
                    return fail(
                        QStringLiteral("%1 deve ser TIPO=%2: '%3'")
                            .arg(arg, limbs ? QStringLiteral("N") : QStringLiteral("TEXTO"), text));
                (limbs ? cmd.limbs : cmd.values).append({text.left(eq), text.mid(eq + 1)});
            }
        } else {
            return fail(QStringLiteral("opção desconhecida para %1: %2").arg(commandName, arg));
        }
        if (!ok)
            return fail(r.m_error);
    }

    if (cmd.branch.isEmpty())
        return fail(QStringLiteral("falta --branch"));
    if (add) {
        if (cmd.code.isEmpty() || cmd.name.isEmpty())
            return fail(QStringLiteral("patient-add precisa de --code e --name"));
        if (!QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                         QStringLiteral("3")}
                 .contains(cmd.sex))
            return fail(QStringLiteral("--sex deve ser 0, 1, 2 ou 3"));
        if (!isDate(cmd.birth))
            return fail(
                QStringLiteral("--birth deve ser uma data AAAA-MM-DD: '%1'").arg(cmd.birth));
    } else {
        if (cmd.patient.isEmpty())
            return fail(QStringLiteral("falta --patient"));
        if (!(chart && cmd.date.isEmpty()) && !isDate(cmd.date))
            return fail(QStringLiteral("--date deve ser uma data AAAA-MM-DD: '%1'").arg(cmd.date));
    }
    if (chart) {
        if (cmd.methods.size() != 1 || cmd.methods.first().reference)
            return fail(QStringLiteral("chart precisa de um --method COD (sem @REF)"));
        if (cmd.out.isEmpty())
            return fail(QStringLiteral("falta --out"));
    }
    if (estimate) {
        if (cmd.chumleaSet != u"1987" && cmd.chumleaSet != u"1988")
            return fail(QStringLiteral("--set deve ser 1987 ou 1988"));
        if (cmd.knee.isEmpty())
            return fail(QStringLiteral("falta --knee"));
        if (cmd.chumleaSet == u"1987" && (!cmd.calf.isEmpty() || !cmd.subscapular.isEmpty()))
            return fail(QStringLiteral("--calf e --subscapular só valem com --set 1988"));
    }
    if (diagnosis && show && cmd.diagnosisFile)
        return fail(QStringLiteral("use --set-file ou --show, não os dois"));
    if (recommend && (cmd.reference.isEmpty() || cmd.group.isEmpty() || cmd.nutrients.isEmpty()))
        return fail(QStringLiteral("recommend precisa de --reference, --group e --nutrients"));
    return {cmd, {}};
}

}  // namespace cli
