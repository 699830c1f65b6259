#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace cli {

// Where the application server is and how to prove who we are. The server comes from
// --server, else AVALNUTRI_SERVER, else the stored session, else 127.0.0.1:8512; the
// proof is the service token of --token-file (else AVALNUTRI_TOKEN_FILE) for unattended
// tools, else the session avalnutri login stored in sessionFile.
struct Connection
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 8512;
    bool tls = false;          // https://
    bool serverGiven = false;  // by --server or AVALNUTRI_SERVER
    QString tokenFile;         // empty: the stored session
    QString caFile;            // --ca-file or AVALNUTRI_CA_FILE: the authority of the certificate
    QString sessionFile;       // $XDG_RUNTIME_DIR/avalnutri/session.json, else ~/.cache/...

    // "https://host:port" or "host:port"
    QString serverText() const;
};

struct MethodChoice
{
    QString code;
    std::optional<QString> reference;  // "01@02": method 01 with reference 02
};

struct TypedValue
{
    QString dataType;
    QString text;
};

// A factor of the energy data grid picked from its list: "30:24=2" picks the code 2 for
// the activity (24) of Harris-Benedict (30).
struct FactorChoice
{
    QString method;
    QString dataType;
    QString code;
};

// One command line, read.
struct Command
{
    enum class Kind
    {
        Patients,
        PatientAdd,
        Calc,
        Energy,
        Estimate,
        Maturation,
        Diagnosis,
        Recommend,
        Chart,
        Report,
        Export,
        Login,
        Logout,
        Audit,
        Help
    };
    Kind kind = Kind::Help;
    Connection connection;

    // login: the user's login (asked when not given)
    QString user;

    // patient-add
    QString branch;
    QString code;
    QString name;
    QString sex;
    QString birth;  // YYYY-MM-DD
    bool deceased = false;

    // calc and energy (branch above)
    QString patient;
    QString date;  // YYYY-MM-DD
    QList<MethodChoice> methods;
    bool json = false;
    // calc: values typed, or the code of an answer picked from its list; then the number of
    // limbs of marked amputations ("46=2")
    QList<TypedValue> values;
    QList<TypedValue> limbs;
    // energy: the panel as typed (what is not given stays as recorded) and the factors
    std::optional<QString> weight;
    std::optional<QString> height;
    std::optional<QString> idealMethod;  // a name of the ideal-weight chooser; "" for none
    std::optional<QString> adequateWeight;
    QList<FactorChoice> factors;
    // estimate: the Chumlea set ("1987" or "1988") and the measurements as typed
    QString chumleaSet;
    QString knee;
    QString calf;
    QString arm;
    QString subscapular;
    // maturation: the stages as typed (1 to 5)
    std::optional<QString> breast;
    std::optional<QString> genital;
    std::optional<QString> pubic;
    // diagnosis: the HTML file to store (--set-file); without it the stored text is shown
    std::optional<QString> diagnosisFile;
    // recommend: the reference, the nutrient group, the nutrient codes ("001,017"), the
    // patient type (its text or item index); the adequate weight and ideal-weight method
    // above
    QString reference;
    QString group;
    QString nutrients;
    std::optional<QString> patientType;
    // chart: the file written (.png or .pdf)
    QString out;
    // report: the period (YYYY-MM-DD), the methods ("T" or codes "01,17"), the PDF
    std::optional<QString> from;
    std::optional<QString> to;
    QString reportMethods = QStringLiteral("T");
    QString pdf;
    // export: the FHIR bundle file (the period above, each end optional)
    QString fhir;
};

// The command, or the usage error text (exit status 2).
struct ParseResult
{
    std::optional<Command> command;
    QString error;
};

ParseResult parseCommandLine(const QStringList& arguments, const QStringList& environment);
QString usageText();

}  // namespace cli
