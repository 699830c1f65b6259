// The rules every write obeys, on each engine: texts are Unicode without control
// characters, a change made on values another user changed since (or a row another user
// stored meanwhile) is refused whole (409), and a delta belongs to one consultation.

#include "engine_fixture.h"

#include <records/error.h>
#include <records/packet_codec.h>
#include <records/write_through.h>

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;
using namespace servertest;
namespace layouts = records::layouts;

namespace {

const QString kStale =
    u"Registro alterado por outro usuário. Atualize a consulta e tente novamente."_s;

// A client dataset loaded from a packet, as the window holds it.
std::unique_ptr<records::DataSet> loaded(const records::DataSetLayout& layout,
                                         const records::Packet& packet)
{
    auto ds = std::make_unique<records::DataSet>(layout);
    ds->loadPacket(packet);
    ds->first();
    return ds;
}

// Edits the row whose field holds key: sets field to value, posts and writes through.
void editAndWrite(records::DataSet& ds, records::AppServer& server, const QString& keyField,
                  const QVariant& key, const QString& field, const QVariant& value)
{
    ASSERT_TRUE(ds.locate(keyField, key)) << key.toString().toStdString();
    ds.edit();
    ds.setValue(field, value);
    ds.post();
    records::writeThrough(ds, server, ds.layout()->writeMethod);
}

}  // namespace

class WriteRulesTest : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (!server)
            return;
        ASSERT_TRUE(recordValue(app(), demoKey(), u"00"_s, u"01"_s, u"70"_s).ok);
    }

    QStringList storedValues(const QString& type)
    {
        return column(packetOf(app().GetInfoAval(demoKey(), type)), u"DSINFOAVAL"_s);
    }

    // Posts the SetInfoAval body that inserts a value of type 02, with the raw JSON text
    // of the value spliced in as the client would send it ("\u0000" stays an escape);
    // answers status and error text.
    std::pair<int, QString> postValue(const QByteArray& rawValue)
    {
        const records::Delta delta = DeltaBuilder(layouts::cdsInfoAval())
                                         .insert(infoRow(demoKey(), u"00"_s, u"02"_s, u"@@"_s));
        const QByteArray body =
            QJsonDocument(
                QJsonObject{{u"args"_s, QJsonArray{records::encodeDelta(delta), QString()}}})
                .toJson(QJsonDocument::Compact)
                .replace("@@", rawValue);
        const LoginAnswer a = server->post("/rpc/SetInfoAval", server->token(), body);
        return {a.status, a.body.value(u"error"_s).toString()};
    }
};

TEST_P(WriteRulesTest, ControlCharactersAndBrokenUnicodeAreRefusedAndNothingIsWritten)
{
    struct Row
    {
        const char* what;
        QByteArray raw;     // inside the JSON string
        const char* named;  // what the refusal names
    };
    // clang-format off
    const Row rows[] = {
        {"NUL escaped", R"(a\u0000b)", "U+0000"},
        {"backspace short escape", R"(a\bb)", "U+0008"},
        {"unit separator raw", QByteArray("a\x1f" "b"), "U+001F"},
        {"lone high surrogate", R"(a\ud800b)", "U+D800"},
        {"high surrogate then another escape", R"(\ud83d\u0041)", "U+D83D"},
        {"lone low surrogate", R"(\udc00)", "U+DC00"},
        {"invalid UTF-8 byte", QByteArray("a\xff" "b"), "UTF-8"},
        {"overlong UTF-8", QByteArray("\xc0\xaf"), "UTF-8"},
        {"surrogate encoded in UTF-8", QByteArray("\xed\xa0\x80"), "UTF-8"},
        {"truncated UTF-8", QByteArray("a\xc3"), "UTF-8"},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto [status, error] = postValue(row.raw);
        EXPECT_EQ(status, 400);
        EXPECT_TRUE(error.startsWith(u"SetInfoAval: texto recusado"_s)) << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(row.named))) << error.toStdString();
        EXPECT_TRUE(storedValues(u"02"_s).isEmpty());
    }

    // A text argument, not only a delta value: the patient is not registered.
    const int patients = packetOf(app().GetPacientes()).rows.size();
    const records::Reply r =
        app().SetPaciente(u"0001"_s, u"77"_s, u"Ana\u0000Maria"_s, u"1"_s,
                          QDateTime(QDate(1990, 1, 1), QTime(0, 0), Qt::UTC), false);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(u"U+0000"_s)) << r.error.toStdString();
    EXPECT_EQ(packetOf(app().GetPacientes()).rows.size(), patients);

    // The diagnosis travels as bytes: its text is held to the same rules.
    const records::Reply diag =
        app().SetDiag(DeltaBuilder(layouts::cdsDiagNutri())
                          .insert(merged(keyValues(demoKey()),
                                         {{u"DSHISTAVALNUT"_s, QByteArray("<p>a\x07</p>")}})));
    EXPECT_FALSE(diag.ok);
    EXPECT_TRUE(diag.error.contains(u"U+0007"_s)) << diag.error.toStdString();
}

TEST_P(WriteRulesTest, TabsLineBreaksAccentsAndSurrogatePairsAreKept)
{
    // The size counts characters: 30 accented letters fit a 30-character value.
    const QString values[] = {u"a\tb\nc\r\nd"_s, u"Avaliação nutricional: ótima"_s, u"sorriso 😀"_s,
                              QString(30, u'ç')};
    int n = 0;
    for (const QString& value : values) {
        SCOPED_TRACE(value.toStdString());
        const QString type = u"%1"_s.arg(10 + n++);
        records::Reply r = recordValue(app(), demoKey(), u"00"_s, type, value);
        ASSERT_TRUE(r.ok) << r.error.toStdString();
        EXPECT_EQ(storedValues(type), QStringList{value});
    }
    // The same pair written as escapes.
    const auto [status, error] = postValue(R"(\ud83d\ude00)");
    EXPECT_EQ(status, 200) << error.toStdString();
    EXPECT_EQ(storedValues(u"02"_s), QStringList{u"😀"_s});
}

TEST_P(WriteRulesTest, AStaleUpdateOrDeleteIsRefusedWholeAndTheFreshOneApplies)
{
    auto other = server->newClient(server->token());
    const records::Packet info = packetOf(app().GetInfoAval(demoKey(), u"01"_s));
    auto mine = loaded(layouts::cdsInfoAval(), info);
    auto theirs = loaded(layouts::cdsInfoAval(), info);

    // They change the value first; my change of the same row, made on what I read before,
    // is refused and nothing of it is written.
    editAndWrite(*theirs, *other, u"CDTBMETOAVAL"_s, u"00"_s, u"DSINFOAVAL"_s, u"71"_s);
    EXPECT_THROW(editAndWrite(*mine, app(), u"CDTBMETOAVAL"_s, u"00"_s, u"DSINFOAVAL"_s, u"72"_s),
                 records::StaleDataError);
    EXPECT_EQ(storedValues(u"01"_s), QStringList{u"71"_s});

    // A delta that also inserts a fresh row is refused whole.
    records::Delta mixed = DeltaBuilder(layouts::cdsInfoAval())
                               .insert(infoRow(demoKey(), u"00"_s, u"02"_s, u"5"_s))
                               .update(infoRow(demoKey(), u"00"_s, u"01"_s, u"70"_s),
                                       infoRow(demoKey(), u"00"_s, u"01"_s, u"73"_s));
    const records::Reply r = app().SetInfoAval(mixed, QString());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.stale);
    EXPECT_EQ(r.error, kStale);
    EXPECT_TRUE(storedValues(u"02"_s).isEmpty());

    // A stale delete likewise; a delete of what is stored applies.
    mine = loaded(layouts::cdsInfoAval(), info);
    ASSERT_TRUE(mine->locate(u"CDTBMETOAVAL"_s, u"00"_s));
    mine->remove();
    EXPECT_THROW(records::writeThrough(*mine, app(), u"SetInfoAval"_s), records::StaleDataError);
    EXPECT_EQ(storedValues(u"01"_s), QStringList{u"71"_s});
    theirs = loaded(layouts::cdsInfoAval(), packetOf(app().GetInfoAval(demoKey(), u"01"_s)));
    theirs->remove();
    records::writeThrough(*theirs, *other, u"SetInfoAval"_s);
    EXPECT_TRUE(storedValues(u"01"_s).isEmpty());
}

TEST_P(WriteRulesTest, AFirstSaveMeetingARowStoredMeanwhileIsStaleAndWritesNothing)
{
    // Another user's transaction stores the same method row between this save's look for
    // it and its insert (on PostgreSQL writes run side by side): a trigger plays that user.
    const char* const row = "(CDFILIAL, CDPACIENTE, DTCONSPACI, CDTBMETOAVAL, IDTABELAAV) "
                            "VALUES (NEW.CDFILIAL, NEW.CDPACIENTE, NEW.DTCONSPACI, "
                            "NEW.CDTBMETOAVAL, 'N')";
    const QStringList statements =
        GetParam() == Engine::Postgres
            ? QStringList{u"CREATE FUNCTION outro_usuario() RETURNS trigger LANGUAGE plpgsql AS "
                          u"$$ BEGIN INSERT INTO metoaval %1; RETURN NEW; END $$"_s.arg(row),
                          u"CREATE TRIGGER outro_usuario BEFORE INSERT ON metoaval FOR EACH ROW "
                          u"WHEN (NEW.IDTABELAAV = 'S') EXECUTE FUNCTION outro_usuario()"_s}
            : QStringList{
                u"CREATE TRIGGER outro_usuario BEFORE INSERT ON metoaval "
                u"WHEN NEW.IDTABELAAV = 'S' BEGIN INSERT INTO metoaval %1; END"_s.arg(row)};
    server->schema(statements);

    const records::Packet list = packetOf(app().GetDados(demoKey(), 45.03), 0);
    const QVariantMap offered = rowValues(list, findRow(list, u"CDTBMETOAVAL"_s, u"00"_s));
    const records::Reply r =
        app().SetMetoAval(DeltaBuilder(layouts::cdsMetoAval())
                              .update(offered, merged(offered, {{u"IDTABELAAV"_s, u"S"_s}})),
                          QString());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.stale) << r.error.toStdString();
    EXPECT_EQ(r.error, kStale);
    EXPECT_TRUE(packetOf(app().GetExistMetoAval(demoKey(), u"00"_s)).isEmpty());
}

TEST_P(WriteRulesTest, AnUnchangedRowAlwaysMatchesWhateverItsFieldTypes)
{
    // Each table's dataset, loaded as the window loads it and changed twice in a row (the
    // second change's originals are the first change's values): text with and without
    // nulls, dates of the key, the diagnosis bytes, real numbers of the catalogue, and the
    // method list whose rows may never have been stored.
    selectMethods(app(), demoKey(), {u"00"_s});
    struct Step
    {
        const char* what;
        std::function<records::Packet()> load;
        const records::DataSetLayout* layout;
        QString keyField;
        QVariant key;
        QString field;
        QVariant first;
        QVariant second;
    };
    ASSERT_TRUE(app()
                    .SetDiag(DeltaBuilder(layouts::cdsDiagNutri())
                                 .insert(merged(keyValues(demoKey()),
                                                {{u"DSHISTAVALNUT"_s, QByteArray("<p>a</p>")}})))
                    .ok);
    const Step steps[] = {
        {"recorded value", [&] { return packetOf(app().GetInfoAval(demoKey(), u"01"_s)); },
         &layouts::cdsInfoAval(), u"CDTBMETOAVAL"_s, u"00"_s, u"DSOBSERAVAL"_s, u"obs"_s,
         QVariant()},
        {"diagnosis", [&] { return packetOf(app().GetDiag(demoKey())); }, &layouts::cdsDiagNutri(),
         u"CDPACIENTE"_s, demoKey().patient, u"DSHISTAVALNUT"_s, QByteArray("<p>b</p>"),
         QByteArray("<p>Avalia\xc3\xa7\xc3\xa3o</p>")},
        {"catalogue real", [&] { return packetOf(app().GetDados(demoKey(), 45.03), 2); },
         &layouts::cdsInsMetoAval(), u"CDTBMETOAVAL"_s, u"00"_s, u"VRIDADEINITB"_s, 0.1 + 0.2,
         1.0 / 3.0},
        {"stored method choice", [&] { return packetOf(app().GetDados(demoKey(), 45.03), 0); },
         &layouts::cdsMetoAval(), u"CDTBMETOAVAL"_s, u"00"_s, u"IDTABELAAV"_s, u"N"_s, u"S"_s},
        {"offered method choice", [&] { return packetOf(app().GetDados(demoKey(), 45.03), 0); },
         &layouts::cdsMetoAval(), u"CDTBMETOAVAL"_s, u"01"_s, u"IDTABELAAV"_s, u"S"_s, u"N"_s},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        auto ds = loaded(*step.layout, step.load());
        // Twice in a row, then once more loaded afresh.
        for (int round = 0; round < 3; ++round) {
            if (round == 2)
                ds = loaded(*step.layout, step.load());
            EXPECT_NO_THROW(editAndWrite(*ds, app(), step.keyField, step.key, step.field,
                                         round == 1 ? step.second : step.first));
        }
    }
    // A method choice stored without a mark is shown as "N" and still matches.
    server->sql({u"UPDATE metoaval SET IDTABELAAV = NULL WHERE CDTBMETOAVAL = '00'"_s});
    auto methods = loaded(layouts::cdsMetoAval(), packetOf(app().GetDados(demoKey(), 45.03), 0));
    EXPECT_NO_THROW(
        editAndWrite(*methods, app(), u"CDTBMETOAVAL"_s, u"00"_s, u"IDTABELAAV"_s, u"S"_s));
}

TEST_P(WriteRulesTest, ADeltaOfTwoConsultationsIsRefusedAndGetDadosChecksTheCodedAge)
{
    const records::ConsultationKey k = demoKey();
    records::ConsultationKey later = k;
    later.date = k.date.addDays(1);
    const records::Delta delta = DeltaBuilder(layouts::cdsInfoAval())
                                     .insert(infoRow(k, u"00"_s, u"02"_s, u"1"_s))
                                     .insert(infoRow(later, u"00"_s, u"02"_s, u"1"_s));
    const records::Reply r = app().SetInfoAval(delta, QString());
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.stale);
    EXPECT_TRUE(r.error.contains(u"mais de uma consulta"_s)) << r.error.toStdString();
    EXPECT_TRUE(storedValues(u"02"_s).isEmpty());

    // The coded age goes through the check the reference tables' tests try in full.
    EXPECT_TRUE(app().GetDados(k, 45.12).error.contains(u"idade codificada"_s));
    EXPECT_TRUE(app().GetDados(k, 45.11).ok);
}

SERVERTEST_BOTH_ENGINES(WriteRulesTest);
