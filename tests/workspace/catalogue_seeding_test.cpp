#include "workspace/catalogue_seeding.h"

#include "records/app_server.h"
#include "records/catalogue.h"
#include "records/error.h"
#include "records/layouts.h"
#include "records/packet_codec.h"
#include "records/write_through.h"

#include <gtest/gtest.h>

#include <functional>

using namespace workspace;
using records::CatalogueLink;
using records::CatalogueMethod;
using records::DataSet;
using records::Delta;
using records::DeltaChange;
using records::Packet;
using records::Reply;
namespace layouts = records::layouts;

namespace {

// A catalogue server: keeps the three tables as packets, applies every delta it is
// sent (one transaction per call, as the real server does), and can fail a chosen call.
class CatalogueServer : public records::AppServer
{
public:
    struct Call
    {
        QString method;
        Delta delta;
    };

    CatalogueServer()
    {
        methods.fields = layouts::cdsInsMetoAval().fields;
        dataTypes.fields = layouts::cdsInsTipoDado().fields;
        links.fields = layouts::cdsInsDadoAval().fields;
    }

    Reply call(const QString& method, const QJsonArray& args) override
    {
        const Delta delta = records::decodeDelta(args.at(0));
        calls.append({method, delta});
        if (calls.size() == failOnCall)
            return Reply::failure(failText);
        apply(table(method), delta);
        return Reply::success(QJsonValue());
    }

    Packet methods, dataTypes, links;
    QList<Call> calls;
    int failOnCall = 0;  // 1-based; 0 never
    QString failText = QStringLiteral("Violação de chave em TBMETOAVAL.");

private:
    Packet& table(const QString& method)
    {
        if (method == "SetInsMetoAval")
            return methods;
        if (method == "SetInsTipoDado")
            return dataTypes;
        if (method == "SetInsDadoAval")
            return links;
        throw records::Error("unexpected method " + method);
    }

    static void apply(Packet& t, const Delta& d)
    {
        QList<int> keys;
        for (const QString& k : d.keyFields)
            keys.append(t.fieldIndex(k));
        const auto find = [&](const QVariantList& old) {
            for (int r = 0; r < t.rows.size(); ++r) {
                bool same = true;
                for (int k : keys)
                    same = same && t.rows[r][k] == old[k];
                if (same)
                    return r;
            }
            throw records::Error("row not found");
        };
        for (const DeltaChange& c : d.changes) {
            switch (c.kind) {
            case DeltaChange::Kind::Insert:
                t.rows.append(c.newValues);
                break;
            case DeltaChange::Kind::Update:
                t.rows[find(c.oldValues)] = c.newValues;
                break;
            case DeltaChange::Kind::Delete:
                t.rows.removeAt(find(c.oldValues));
                break;
            }
        }
    }
};

QString seq(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

QVariantList methodRow(const CatalogueMethod& m, const QString& sequence)
{
    // CDTBMETOAVAL, IDTBUTILTABE, NMTBMETOAVAL, IDSEQUMETO, DSTBMETOAVAL, NRCTMETOAVAL,
    // VRIDADEINITB, VRIDADEFINTB, CDTBREFMETOA
    return {m.CDTBMETOAVAL, m.IDTBUTILTABE, m.NMTBMETOAVAL, sequence,  m.DSTBMETOAVAL,
            m.NRCTMETOAVAL, QVariant(),     QVariant(),     QVariant()};
}

void fillFullCatalogue(CatalogueServer& s, bool withExtra = true)
{
    const QList<CatalogueMethod> methods = records::catalogueMethods();
    for (int i = 0; i < methods.size(); ++i)
        s.methods.rows.append(methodRow(methods[i], seq(i + 1)));
    for (const records::CatalogueDataType& t : records::catalogueDataTypes())
        s.dataTypes.rows.append(
            {t.CDTIPODADO, t.NMTIPODADO, t.DSUNIDDADO.isEmpty() ? QVariant() : t.DSUNIDDADO});
    QList<CatalogueLink> links = records::catalogueLinks();
    if (withExtra)
        links += records::catalogueExtraLinks();
    for (const CatalogueLink& l : links)
        s.links.rows.append({l.CDTIPODADO, l.CDTBMETOAVAL});
}

int rowOf(const Packet& p, const QString& field, const QString& value)
{
    for (int r = 0; r < p.rows.size(); ++r)
        if (p.value(r, field).toString() == value)
            return r;
    return -1;
}

bool hasLink(const Packet& p, const QString& method, const QString& type)
{
    for (int r = 0; r < p.rows.size(); ++r)
        if (p.value(r, "CDTBMETOAVAL") == method && p.value(r, "CDTIPODADO") == type)
            return true;
    return false;
}

// The three catalogue datasets of the form, loaded from the server as GetDados would
// give them and written through to it.
struct Catalogue
{
    explicit Catalogue(CatalogueServer& s) : server(s)
    {
        records::attachWriteThrough(methods, server);
        records::attachWriteThrough(dataTypes, server);
        records::attachWriteThrough(links, server);
        reload();
    }
    void reload()
    {
        methods.loadPacket(server.methods);
        dataTypes.loadPacket(server.dataTypes);
        links.loadPacket(server.links);
    }
    CatalogueSeeder seeder() { return CatalogueSeeder(methods, dataTypes, links, &progress); }

    CatalogueServer& server;
    DataSet methods{layouts::cdsInsMetoAval()};
    DataSet dataTypes{layouts::cdsInsTipoDado()};
    DataSet links{layouts::cdsInsDadoAval()};
    SeedProgressRecorder progress;
};

// The message of the error the action throws; empty when it throws none.
template <typename F> QString errorOf(F&& action)
{
    try {
        action();
    } catch (const records::Error& e) {
        return e.message();
    }
    return {};
}

void expectPanelPutAway(const SeedProgressRecorder& p)
{
    EXPECT_FALSE(p.visible());
    EXPECT_EQ(p.position(), 0);
    ASSERT_FALSE(p.events().isEmpty());
    EXPECT_EQ(p.events().last().kind, SeedProgressRecorder::Event::Kind::Hide);
}

// The calls the server received, run-length coded: table (M methods, T data types,
// L links) and change (I insert, U update, D delete), e.g. "68MI 52TI". Every call must
// carry exactly one change.
QString writesOf(const CatalogueServer& s)
{
    QStringList groups;
    QString last;
    int run = 0;
    for (const CatalogueServer::Call& call : s.calls) {
        EXPECT_EQ(call.delta.changes.size(), 1) << call.method.toStdString();
        const DeltaChange::Kind kind = call.delta.changes.value(0).kind;
        const QString code = QString(call.method.at(6)).replace('D', 'L')
                             + (kind == DeltaChange::Kind::Insert   ? "I"
                                : kind == DeltaChange::Kind::Update ? "U"
                                                                    : "D");
        if (code != last && run > 0) {
            groups << QString::number(run) + last;
            run = 0;
        }
        last = code;
        ++run;
    }
    if (run > 0)
        groups << QString::number(run) + last;
    return groups.join(u' ');
}

// Every show counts 1 .. its maximum, one step per entry; the last returns the bar to 0
// before the panel is hidden. No show at all when nothing was to be done.
void expectEveryShowCounted(const SeedProgressRecorder& p)
{
    using Kind = SeedProgressRecorder::Event::Kind;
    QList<QList<int>> steps, expected;
    for (const SeedProgressRecorder::Event& e : p.events()) {
        if (e.kind == Kind::Show)
            steps.append(QList<int>());
        else if (e.kind == Kind::Step && !steps.isEmpty())
            steps.last().append(e.value);
    }
    for (int maximum : p.shownMaxima()) {
        expected.append(QList<int>());
        for (int i = 1; i <= maximum; ++i)
            expected.last().append(i);
    }
    if (expected.isEmpty()) {
        EXPECT_TRUE(p.events().isEmpty());
        return;
    }
    expected.last().append(0);
    EXPECT_EQ(steps, expected);
    expectPanelPutAway(p);
}

}  // namespace

// The load-time seed: the server's starting state and what it is sent.
TEST(CatalogueSeeding, SeedWritesOnlyWhatTheServerLacks)
{
    using Setup = std::function<void(CatalogueServer&)>;
    using Check = std::function<void(CatalogueServer&, Catalogue&)>;
    struct Case
    {
        const char* name;
        Setup setup;
        const char* writes;
        CatalogueSeedReport report;  // inserted/rewritten methods, types, inserted links
        QList<int> maxima;           // the bar's shows
        Check check;
    };
    const auto methodAt = [](CatalogueServer& s, const char* code) -> QVariantList& {
        return s.methods.rows[rowOf(s.methods, "CDTBMETOAVAL", code)];
    };
    const auto sequenceOf = [](CatalogueServer& s, const char* code) {
        return s.methods.value(rowOf(s.methods, "CDTBMETOAVAL", code), "IDSEQUMETO");
    };
    const QList<CatalogueMethod> methods = records::catalogueMethods();
    QVariantList ownBefore;
    // clang-format off
    const Case cases[] = {
        // One insert per row, tables in order: methods "01".."68" in entry order with the
        // server's own fields null, types with their units, the 154 links then the three
        // extra links. The next load has nothing to do and shows nothing.
        {"empty server", [](CatalogueServer&) {}, "68MI 52TI 157LI", {68, 0, 52, 0, 157}, {68, 52, 154, 3},
         [](CatalogueServer& s, Catalogue& c) {
             CatalogueServer full;
             fillFullCatalogue(full);
             EXPECT_EQ(s.methods.rows, full.methods.rows);
             EXPECT_EQ(s.dataTypes.rows, full.dataTypes.rows);
             EXPECT_EQ(s.links.rows, full.links.rows);
             EXPECT_EQ(c.progress.caption(), "Atualizando Tabela...");
             s.calls.clear(); c.progress.clear(); c.reload();
             EXPECT_EQ(c.seeder().seed(), CatalogueSeedReport{});
             EXPECT_TRUE(s.calls.isEmpty() && c.progress.events().isEmpty());
         }},
        // Missing methods in entry order, numbered on from the last row, not the highest.
        {"two methods missing", [&](CatalogueServer& s) {
             fillFullCatalogue(s);
             s.methods.rows.removeAt(rowOf(s.methods, "CDTBMETOAVAL", "60"));
             s.methods.rows.removeAt(rowOf(s.methods, "CDTBMETOAVAL", "02"));
             s.methods.rows[0][3] = "90"; s.methods.rows.last()[3] = "7";
         }, "2MI", {2, 0, 0, 0, 0}, {68},
         [&](CatalogueServer& s, Catalogue&) { EXPECT_EQ(sequenceOf(s, "02"), "08"); EXPECT_EQ(sequenceOf(s, "60"), "09"); }},
        // A null control number: every method rewritten from the module's tables, keeping
        // its sequence, reference ages and default reference.
        {"null control number", [](CatalogueServer& s) {
             fillFullCatalogue(s);
             for (int r = 0; r < s.methods.rows.size(); ++r) {
                 QVariantList& row = s.methods.rows[r];
                 row[1] = "0"; row[2] = "Antigo"; row[3] = seq(99 - r); row[6] = 2.5; row[8] = "07";
             }
             s.methods.rows[10][5] = QVariant();
         }, "68MU", {0, 68, 0, 0, 0}, {68},
         [&](CatalogueServer& s, Catalogue&) {
             for (int r = 0; r < 68; ++r) {
                 QVariantList expected = methodRow(methods[r], seq(99 - r));
                 expected[6] = 2.5; expected[8] = "07";
                 EXPECT_EQ(s.methods.rows[r], expected) << r;
             }
         }},
        // Enough rows in every table: nothing compared, nothing sent, even with 154 links
        // of which one is the server's own.
        {"full tables that differ", [](CatalogueServer& s) {
             fillFullCatalogue(s);
             for (QVariantList& row : s.methods.rows) row[2] = "Outro nome";
             for (QVariantList& row : s.dataTypes.rows) row[1] = "Outro tipo";
             s.links.rows[3] = {"53", "00"};
         }, "", {}, {},
         [](CatalogueServer& s, Catalogue& c) { EXPECT_EQ(s.methods.value(0, "NMTBMETOAVAL"), "Outro nome"); EXPECT_EQ(c.methods.changeCount(), 0); }},
        {"no extra links", [](CatalogueServer& s) { fillFullCatalogue(s, false); }, "3LI", {0, 0, 0, 0, 3}, {3},
         [](CatalogueServer& s, Catalogue&) { EXPECT_TRUE(hasLink(s.links, "05", "04") && hasLink(s.links, "05", "08") && hasLink(s.links, "25", "01")); }},
        // 155 rows of which three are the extra links: those do not count towards the
        // module's 154, so the two missing module links are found.
        {"155 links with the extra ones", [](CatalogueServer& s) {
             fillFullCatalogue(s);
             s.links.rows.removeAt(rowOf(s.links, "CDTIPODADO", "53"));  // "53"/"68"
             s.links.rows.removeFirst();                                 // "01"/"00"
         }, "2LI", {0, 0, 0, 0, 2}, {154},
         [](CatalogueServer& s, Catalogue&) { EXPECT_TRUE(hasLink(s.links, "00", "01") && hasLink(s.links, "68", "53")); }},
        // No method "05": not sent the links it would refuse; the one of "25" is.
        {"no method 05", [&](CatalogueServer& s) { fillFullCatalogue(s, false); methodAt(s, "05")[0] = "99"; }, "1LI", {0, 0, 0, 0, 1}, {1}, nullptr},
        // The missing method first (numbered on from "68"), then the repair goes over every
        // method, the one just added included; rows already right send nothing.
        {"a method missing and a null control number", [&](CatalogueServer& s) {
             fillFullCatalogue(s);
             s.methods.rows.removeAt(rowOf(s.methods, "CDTBMETOAVAL", "40"));
             methodAt(s, "04")[2] = "CB antigo"; methodAt(s, "04")[5] = QVariant();
         }, "1MI 1MU", {1, 68, 0, 0, 0}, {68, 68},
         [&](CatalogueServer& s, Catalogue&) {
             EXPECT_EQ(methodAt(s, "40"), methodRow(*records::findCatalogueMethod(u"40"), "69"));
             EXPECT_EQ(methodAt(s, "04"), methodRow(*records::findCatalogueMethod(u"04"), "05"));
         }},
        // 68 rows are not searched for missing methods: "33" stays missing, the server's
        // own "07" (null control number) is left as it is, every method found rewritten.
        {"68 rows with one of the server's own", [&](CatalogueServer& s) {
             fillFullCatalogue(s);
             QVariantList& own = methodAt(s, "33");
             own[0] = "07"; own[2] = "RCQ"; own[5] = QVariant();
             ownBefore = own;
             s.methods.rows[0][2] = "IMC antigo";
         }, "1MU", {0, 67, 0, 0, 0}, {68},
         [&](CatalogueServer& s, Catalogue&) {
             EXPECT_EQ(rowOf(s.methods, "CDTBMETOAVAL", "33"), -1);
             EXPECT_EQ(methodAt(s, "07"), ownBefore);
             EXPECT_EQ(s.methods.value(0, "NMTBMETOAVAL"), QStringLiteral("IMC/Peso Teórico"));
         }},
        // Fewer data types: only the missing ones, the server's own texts kept.
        {"two data types missing", [](CatalogueServer& s) {
             fillFullCatalogue(s);
             s.dataTypes.rows.removeAt(rowOf(s.dataTypes, "CDTIPODADO", "53"));
             s.dataTypes.rows.removeAt(rowOf(s.dataTypes, "CDTIPODADO", "23"));
             s.dataTypes.rows[0] = {"01", "Peso antigo", "g"};
         }, "2TI", {0, 0, 2, 0, 0}, {52},
         [](CatalogueServer& s, Catalogue&) {
             EXPECT_EQ(s.dataTypes.rows[0], (QVariantList{"01", "Peso antigo", "g"}));
             EXPECT_EQ(s.dataTypes.rows[50], (QVariantList{"23", "Fator Térmico", QVariant()}));
             EXPECT_EQ(s.dataTypes.rows[51], (QVariantList{"53", "Semana Gestacional", QVariant()}));
         }},
    };
    // clang-format on
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        CatalogueServer server;
        t.setup(server);
        Catalogue c(server);
        EXPECT_EQ(c.seeder().seed(), t.report);
        EXPECT_EQ(writesOf(server), QString::fromLatin1(t.writes));
        EXPECT_EQ(c.progress.shownMaxima(), t.maxima);
        expectEveryShowCounted(c.progress);
        if (t.check)
            t.check(server, c);
    }
}

TEST(CatalogueSeeding, FailedWriteStopsWithTheServersErrorAndTheNextLoadCompletes)
{
    CatalogueServer server;
    server.failOnCall = 30;
    Catalogue c(server);
    EXPECT_EQ(errorOf([&] { c.seeder().seed(); }), "Violação de chave em TBMETOAVAL.");
    EXPECT_EQ(server.calls.size(), 30);
    EXPECT_EQ(server.methods.rows.size(), 29);
    EXPECT_TRUE(server.dataTypes.rows.isEmpty());
    // The refused row is gone from the dataset too; nothing is left pending.
    EXPECT_EQ(c.methods.recordCount(), 29);
    EXPECT_EQ(c.methods.changeCount(), 0);
    EXPECT_FALSE(c.methods.isEditing());
    expectPanelPutAway(c.progress);

    // The next load completes the rest with the fewer-rows rules.
    server.failOnCall = 0;
    server.calls.clear();
    c.reload();
    const CatalogueSeedReport report = c.seeder().seed();
    EXPECT_EQ(report.methodsInserted, 39);
    EXPECT_EQ(report.dataTypesInserted, 52);
    EXPECT_EQ(report.linksInserted, 157);
    CatalogueServer full;
    fillFullCatalogue(full);
    EXPECT_EQ(server.methods.rows, full.methods.rows);

    // A failure among the links stops there as well; the links already written stay.
    CatalogueServer late;
    late.failOnCall = 68 + 52 + 100;
    Catalogue c2(late);
    EXPECT_THROW(c2.seeder().seed(), records::Error);
    EXPECT_EQ(late.links.rows.size(), 99);
    expectPanelPutAway(c2.progress);
    late.failOnCall = 0;
    c2.reload();
    EXPECT_EQ(c2.seeder().seed().linksInserted, 154 - 99 + 3);
    EXPECT_EQ(late.links.rows.size(), 157);
}

TEST(CatalogueSeeding, UnreadableLastSequenceChangesNothing)
{
    const auto attempt = [](const QVariant& lastSequence, int missing) {
        CatalogueServer server;
        fillFullCatalogue(server);
        for (int i = 0; i < missing; ++i)
            server.methods.rows.removeAt(1);
        server.methods.rows.last()[3] = lastSequence;
        Catalogue c(server);
        const QString message = errorOf([&] { c.seeder().seed(); });
        if (!message.isEmpty()) {
            EXPECT_TRUE(server.calls.isEmpty());
            EXPECT_EQ(c.methods.recordCount(), 68 - missing);
            EXPECT_EQ(c.methods.changeCount(), 0);
        }
        return message;
    };
    EXPECT_TRUE(attempt("ab", 1).contains("não é um número"));
    EXPECT_TRUE(attempt(QVariant(), 1).contains("não é um número"));
    // "98" with two methods to add would need "100", which the field cannot hold.
    EXPECT_TRUE(attempt("98", 2).contains("não cabe em 2 dígitos"));
    EXPECT_TRUE(attempt("98", 1).isEmpty());  // "99" fits
}

TEST(CatalogueSeeding, DataSetsThatCannotBeSeededAreRefusedBeforeAnyWrite)
{
    CatalogueServer server;
    Catalogue c(server);
    DataSet wrongMethods(layouts::cdsInsMetoAval().fields.mid(0, 4), "cdsInsMetoAval");
    CatalogueSeeder seeder(wrongMethods, c.dataTypes, c.links, &c.progress);
    EXPECT_THROW(seeder.seed(), records::Error);
    EXPECT_THROW(seeder.updateMethods(), records::Error);

    c.links.append();
    EXPECT_THROW(c.seeder().seed(), records::Error);
    EXPECT_TRUE(server.calls.isEmpty());
    EXPECT_TRUE(c.progress.events().isEmpty());
}

// The update asked for by the user: every method and data type rewritten from the
// module's tables, the missing ones inserted, the server's own fields kept, no links.
TEST(CatalogueSeeding, UpdateMethodsRewritesFromTheModuleTables)
{
    CatalogueServer server;
    fillFullCatalogue(server);
    server.methods.rows.removeLast();  // no "68"
    server.methods.rows[0] = {"00",       "3",        "IMC antigo", "42",      "Descrição local",
                              "00000000", QVariant(), QVariant(),   QVariant()};
    QVariantList& pct = server.methods.rows[rowOf(server.methods, "CDTBMETOAVAL", "02")];
    pct[2] = "PCT antiga";
    pct[6] = 1.5;
    pct[7] = 18.0;
    pct[8] = "03";
    server.dataTypes.rows.removeLast();  // no "53"
    server.dataTypes.rows[0] = {"01", "Peso antigo", "g"};
    server.links.rows.removeLast();
    Catalogue c(server);

    int refreshes = 0;
    bool panelUpDuringRefresh = false;
    const CatalogueSeedReport report = c.seeder().updateMethods([&] {
        ++refreshes;
        panelUpDuringRefresh = c.progress.visible();
    });
    EXPECT_EQ(refreshes, 1);
    EXPECT_TRUE(panelUpDuringRefresh);
    EXPECT_EQ(report, (CatalogueSeedReport{1, 67, 0, 51, 0}));
    // Rows that were already right send nothing.
    EXPECT_EQ(writesOf(server), "2MU 1MI 1TU");  // entry order: "00", "02", then "68"

    EXPECT_EQ(server.methods.rows[rowOf(server.methods, "CDTBMETOAVAL", "68")],
              (QVariantList{"68", "0", "IMC para Gestantes", "68", "IMC para Gestantes", "11190068",
                            QVariant(), QVariant(), QVariant()}));
    // A present method keeps its sequence, description, reference ages and reference.
    EXPECT_EQ(server.methods.rows[0],
              (QVariantList{"00", "0", "IMC/Peso Teórico", "42", "Descrição local", "11190000",
                            QVariant(), QVariant(), QVariant()}));
    QVariantList expected = methodRow(*records::findCatalogueMethod(u"02"), "03");
    expected[6] = 1.5;
    expected[7] = 18.0;
    expected[8] = "03";
    EXPECT_EQ(server.methods.rows[rowOf(server.methods, "CDTBMETOAVAL", "02")], expected);
    EXPECT_EQ(server.dataTypes.rows[0], (QVariantList{"01", "Peso", "kg"}));
    EXPECT_EQ(rowOf(server.dataTypes, "CDTIPODADO", "53"), -1);
    EXPECT_EQ(server.links.rows.size(), 156);
    EXPECT_EQ(c.progress.shownMaxima(), (QList<int>{68, 52}));
    expectEveryShowCounted(c.progress);

    // On an empty catalogue every method is inserted, numbered by its code and described
    // by its name; the data types and links stay empty.
    CatalogueServer empty;
    Catalogue e(empty);
    EXPECT_EQ(e.seeder().updateMethods(), (CatalogueSeedReport{68, 0, 0, 0, 0}));
    ASSERT_EQ(empty.methods.rows.size(), 68);
    for (const QVariantList& row : empty.methods.rows) {
        const CatalogueMethod m = *records::findCatalogueMethod(row[0].toString());
        EXPECT_EQ(row, (QVariantList{m.CDTBMETOAVAL, m.IDTBUTILTABE, m.NMTBMETOAVAL, m.CDTBMETOAVAL,
                                     m.NMTBMETOAVAL, m.NRCTMETOAVAL, QVariant(), QVariant(),
                                     QVariant()}));
    }
    EXPECT_TRUE(empty.dataTypes.rows.isEmpty() && empty.links.rows.isEmpty());
    EXPECT_EQ(e.progress.shownMaxima(), (QList<int>{68, 52}));
    expectEveryShowCounted(e.progress);
}

TEST(CatalogueSeeding, UpdateMethodsFailureStillRefreshesAndHidesThePanel)
{
    CatalogueServer server;
    fillFullCatalogue(server);
    for (QVariantList& row : server.methods.rows)
        row[2] = "Antigo";
    server.failOnCall = 5;
    Catalogue c(server);

    int refreshes = 0;
    EXPECT_THROW(c.seeder().updateMethods([&] { ++refreshes; }), records::Error);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(server.calls.size(), 5);
    EXPECT_EQ(c.methods.changeCount(), 0);
    expectPanelPutAway(c.progress);

    // The update's error is the one passed on, even when the refresh fails as well.
    server.calls.clear();
    server.failOnCall = 1;
    c.reload();
    EXPECT_EQ(errorOf([&] { c.seeder().updateMethods([] { throw records::Error("refresh"); }); }),
              server.failText);
    // A refresh that fails after a good update is passed on.
    server.failOnCall = 0;
    c.reload();
    EXPECT_THROW(c.seeder().updateMethods([] { throw records::Error("refresh"); }), records::Error);
    EXPECT_FALSE(c.progress.visible());
}
