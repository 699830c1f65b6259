#include "workspace/catalogue_seeding.h"

#include "records/app_server.h"
#include "records/catalogue.h"
#include "records/error.h"
#include "records/layouts.h"
#include "records/packet_codec.h"
#include "records/write_through.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

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

    int count(const QString& method) const
    {
        return int(std::count_if(calls.begin(), calls.end(),
                                 [&](const Call& c) { return c.method == method; }));
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

void fillFullCatalogue(CatalogueServer& s, bool withAmb = true)
{
    const QList<CatalogueMethod> methods = records::catalogueMethods();
    for (int i = 0; i < methods.size(); ++i)
        s.methods.rows.append(methodRow(methods[i], seq(i + 1)));
    for (const records::CatalogueDataType& t : records::catalogueDataTypes())
        s.dataTypes.rows.append(
            {t.CDTIPODADO, t.NMTIPODADO, t.DSUNIDDADO.isEmpty() ? QVariant() : t.DSUNIDDADO});
    QList<CatalogueLink> links = records::catalogueLinks();
    if (withAmb)
        links += records::catalogueAmbLinks();
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

void expectPanelPutAway(const SeedProgressRecorder& p)
{
    EXPECT_FALSE(p.visible());
    EXPECT_EQ(p.position(), 0);
    ASSERT_FALSE(p.events().isEmpty());
    EXPECT_EQ(p.events().last().kind, SeedProgressRecorder::Event::Kind::Hide);
}

// The bar positions set after the show with index showIndex, up to the next show or
// the hide.
QList<int> stepsOfShow(const SeedProgressRecorder& p, int showIndex)
{
    using Kind = SeedProgressRecorder::Event::Kind;
    QList<int> out;
    int shows = -1;
    for (const SeedProgressRecorder::Event& e : p.events()) {
        if (e.kind != Kind::Step) {
            if (shows == showIndex)
                break;
            if (e.kind == Kind::Show)
                ++shows;
            continue;
        }
        if (shows == showIndex)
            out.append(e.value);
    }
    return out;
}

// 1, 2, .. n, then the position the bar returns to when the run ends, if given.
QList<int> counting(int n, std::optional<int> last = std::nullopt)
{
    QList<int> out;
    for (int i = 1; i <= n; ++i)
        out.append(i);
    if (last)
        out.append(*last);
    return out;
}

}  // namespace

TEST(CatalogueSeeding, EmptyServerGetsTheWholeCatalogueOneRowPerWrite)
{
    CatalogueServer server;
    Catalogue c(server);
    const CatalogueSeedReport report = c.seeder().seed();

    EXPECT_EQ(report.methodsInserted, 68);
    EXPECT_EQ(report.dataTypesInserted, 52);
    EXPECT_EQ(report.linksInserted, 156);
    EXPECT_EQ(report.methodsRewritten, 0);

    // Every post went out on its own, as one insert, tables in order.
    ASSERT_EQ(server.calls.size(), 68 + 52 + 156);
    for (int i = 0; i < server.calls.size(); ++i) {
        const QString expected = i < 68    ? "SetInsMetoAval"
                                 : i < 120 ? "SetInsTipoDado"
                                           : "SetInsDadoAval";
        ASSERT_EQ(server.calls[i].method, expected) << i;
        ASSERT_EQ(server.calls[i].delta.changes.size(), 1) << i;
        ASSERT_EQ(server.calls[i].delta.changes[0].kind, DeltaChange::Kind::Insert) << i;
    }

    // Methods in entry order, sequences "01".."68", the server's own fields left null.
    const QList<CatalogueMethod> methods = records::catalogueMethods();
    ASSERT_EQ(server.methods.rows.size(), 68);
    for (int i = 0; i < 68; ++i) {
        EXPECT_EQ(server.methods.rows[i], methodRow(methods[i], seq(i + 1))) << i;
    }
    // Data types with their unit texts; a type without unit has none.
    const QList<records::CatalogueDataType> types = records::catalogueDataTypes();
    ASSERT_EQ(server.dataTypes.rows.size(), types.size());
    for (int i = 0; i < types.size(); ++i)
        EXPECT_EQ(server.dataTypes.rows[i],
                  (QVariantList{types[i].CDTIPODADO, types[i].NMTIPODADO,
                                types[i].DSUNIDDADO.isEmpty() ? QVariant() : types[i].DSUNIDDADO}))
            << i;

    // The 154 links in table order, then the two arm muscle area links.
    ASSERT_EQ(server.links.rows.size(), 156);
    EXPECT_EQ(server.links.rows[0], (QVariantList{"01", "00"}));
    EXPECT_EQ(server.links.rows[154], (QVariantList{"04", "05"}));
    EXPECT_EQ(server.links.rows[155], (QVariantList{"08", "05"}));

    // The panel: one show per table that needed work, every entry counted.
    EXPECT_EQ(c.progress.shownMaxima(), (QList<int>{68, 52, 154, 2}));
    EXPECT_EQ(c.progress.caption(), "Atualizando Tabela...");
    for (int show = 0; show < 4; ++show)
        EXPECT_EQ(c.progress.highestPositionOfShow(show), c.progress.shownMaxima()[show]);
    expectPanelPutAway(c.progress);

    // The next load finds nothing to do and shows nothing.
    server.calls.clear();
    c.progress.clear();
    c.reload();
    EXPECT_EQ(c.seeder().seed(), CatalogueSeedReport{});
    EXPECT_TRUE(server.calls.isEmpty());
    EXPECT_TRUE(c.progress.events().isEmpty());
}

TEST(CatalogueSeeding, MissingMethodsAreNumberedOnFromTheLastRow)
{
    // Two missing: entry order, one sequence each; the last row decides, not the highest.
    // (One missing method and the bar it shows: FewerMethodsWithANullControlNumber...)
    CatalogueServer two;
    fillFullCatalogue(two);
    two.methods.rows.removeAt(rowOf(two.methods, "CDTBMETOAVAL", "60"));
    two.methods.rows.removeAt(rowOf(two.methods, "CDTBMETOAVAL", "02"));
    two.methods.rows[0][3] = "90";
    two.methods.rows.last()[3] = "7";
    Catalogue c2(two);
    c2.seeder().seed();
    ASSERT_EQ(two.calls.size(), 2);
    EXPECT_EQ(two.methods.value(rowOf(two.methods, "CDTBMETOAVAL", "02"), "IDSEQUMETO"), "08");
    EXPECT_EQ(two.methods.value(rowOf(two.methods, "CDTBMETOAVAL", "60"), "IDSEQUMETO"), "09");
}

TEST(CatalogueSeeding, NullControlNumberRewritesEveryMethodKeepingItsSequence)
{
    CatalogueServer server;
    fillFullCatalogue(server);
    // An older catalogue: other names and flags, sequences of its own, reference ages set.
    for (int r = 0; r < server.methods.rows.size(); ++r) {
        QVariantList& row = server.methods.rows[r];
        row[1] = "0";
        row[2] = "Antigo " + row[0].toString();
        row[3] = seq(99 - r);
        row[6] = 2.5;
        row[8] = "07";
    }
    server.methods.rows[10][5] = QVariant();
    Catalogue c(server);
    const CatalogueSeedReport report = c.seeder().seed();

    EXPECT_EQ(report.methodsInserted, 0);
    EXPECT_EQ(report.methodsRewritten, 68);
    ASSERT_EQ(server.calls.size(), 68);
    for (const CatalogueServer::Call& call : server.calls) {
        ASSERT_EQ(call.method, "SetInsMetoAval");
        ASSERT_EQ(call.delta.changes.size(), 1);
        EXPECT_EQ(call.delta.changes[0].kind, DeltaChange::Kind::Update);
    }
    ASSERT_EQ(server.methods.rows.size(), 68);
    const QList<CatalogueMethod> methods = records::catalogueMethods();
    for (int r = 0; r < 68; ++r) {
        QVariantList expected = methodRow(methods[r], seq(99 - r));
        expected[6] = 2.5;
        expected[8] = "07";
        EXPECT_EQ(server.methods.rows[r], expected) << r;
    }
    EXPECT_EQ(c.progress.shownMaxima(), QList<int>{68});
    expectPanelPutAway(c.progress);
}

TEST(CatalogueSeeding, TablesWithEnoughRowsAreLeftAloneEvenWhenTheyDiffer)
{
    CatalogueServer server;
    fillFullCatalogue(server);
    for (QVariantList& row : server.methods.rows)
        row[2] = "Outro nome";
    for (QVariantList& row : server.dataTypes.rows)
        row[1] = "Outro tipo";
    // 154 links, but not the module's: one swapped for a link of the server's own.
    server.links.rows[3] = {"53", "00"};
    Catalogue c(server);
    EXPECT_EQ(c.seeder().seed(), CatalogueSeedReport{});
    EXPECT_TRUE(server.calls.isEmpty());
    EXPECT_TRUE(c.progress.events().isEmpty());
    EXPECT_EQ(server.methods.value(0, "NMTBMETOAVAL"), "Outro nome");
    EXPECT_EQ(c.methods.changeCount(), 0);
}

TEST(CatalogueSeeding, ArmMuscleAreaLinksReachEveryServerWithoutHidingModuleLinks)
{
    // 154 module links and no arm muscle area links: only those two are added.
    CatalogueServer server;
    fillFullCatalogue(server, false);
    Catalogue c(server);
    EXPECT_EQ(c.seeder().seed().linksInserted, 2);
    ASSERT_EQ(server.calls.size(), 2);
    EXPECT_TRUE(hasLink(server.links, "05", "04"));
    EXPECT_TRUE(hasLink(server.links, "05", "08"));
    EXPECT_EQ(c.progress.shownMaxima(), QList<int>{2});

    // 154 rows of which two are the arm muscle area links: two module links are missing
    // and are found, since those two rows do not count towards the module's 154.
    CatalogueServer short2;
    fillFullCatalogue(short2);
    short2.links.rows.removeAt(rowOf(short2.links, "CDTIPODADO", "53"));  // "53"/"68"
    short2.links.rows.removeFirst();                                      // "01"/"00"
    ASSERT_EQ(short2.links.rows.size(), 154);
    Catalogue c2(short2);
    EXPECT_EQ(c2.seeder().seed().linksInserted, 2);
    EXPECT_TRUE(hasLink(short2.links, "00", "01"));
    EXPECT_TRUE(hasLink(short2.links, "68", "53"));
    EXPECT_EQ(c2.progress.shownMaxima(), QList<int>{154});

    // A server whose catalogue lacks method "05" is not sent links it would refuse.
    CatalogueServer noAmb;
    fillFullCatalogue(noAmb, false);
    noAmb.methods.rows[rowOf(noAmb.methods, "CDTBMETOAVAL", "05")][0] = "99";
    Catalogue c3(noAmb);
    EXPECT_EQ(c3.seeder().seed(), CatalogueSeedReport{});
    EXPECT_TRUE(noAmb.calls.isEmpty());
}

TEST(CatalogueSeeding, FailedWriteStopsWithTheServersErrorAndTheNextLoadCompletes)
{
    CatalogueServer server;
    server.failOnCall = 30;
    Catalogue c(server);
    try {
        c.seeder().seed();
        FAIL() << "no error";
    } catch (const records::Error& e) {
        EXPECT_EQ(e.message(), "Violação de chave em TBMETOAVAL.");
    }
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
    EXPECT_EQ(report.linksInserted, 156);
    const QList<CatalogueMethod> methods = records::catalogueMethods();
    ASSERT_EQ(server.methods.rows.size(), 68);
    for (int i = 0; i < 68; ++i)
        EXPECT_EQ(server.methods.rows[i], methodRow(methods[i], seq(i + 1))) << i;

    // A failure among the links stops there as well; the links already written stay.
    CatalogueServer late;
    late.failOnCall = 68 + 52 + 100;
    Catalogue c2(late);
    EXPECT_THROW(c2.seeder().seed(), records::Error);
    EXPECT_EQ(late.links.rows.size(), 99);
    expectPanelPutAway(c2.progress);
    late.failOnCall = 0;
    c2.reload();
    EXPECT_EQ(c2.seeder().seed().linksInserted, 154 - 99 + 2);
    EXPECT_EQ(late.links.rows.size(), 156);
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
        QString message;
        try {
            c.seeder().seed();
        } catch (const records::Error& e) {
            message = e.message();
        }
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
    try {
        seeder.seed();
        FAIL() << "no error";
    } catch (const records::Error& e) {
        EXPECT_EQ(e.message(), "A tabela cdsInsMetoAval não tem o campo DSTBMETOAVAL; o "
                               "catálogo de métodos não foi atualizado.");
    }
    EXPECT_THROW(seeder.updateMethods(), records::Error);

    c.links.append();
    EXPECT_THROW(c.seeder().seed(), records::Error);
    EXPECT_TRUE(server.calls.isEmpty());
    EXPECT_TRUE(c.progress.events().isEmpty());
}

TEST(CatalogueSeeding, UpdateMethodsRewritesFromTheModuleTables)
{
    CatalogueServer server;
    fillFullCatalogue(server);
    server.methods.rows.removeLast();            // no "68"
    QVariantList& imc = server.methods.rows[0];  // "00"
    imc[0] = "00";
    imc[1] = "3";
    imc[2] = "IMC antigo";
    imc[3] = "42";
    imc[4] = "Descrição local";
    imc[5] = "00000000";
    server.dataTypes.rows.removeLast();  // no "53"
    server.dataTypes.rows[0][1] = "Peso antigo";
    server.dataTypes.rows[0][2] = "g";
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
    EXPECT_EQ(report.methodsInserted, 1);
    EXPECT_EQ(report.methodsRewritten, 67);
    EXPECT_EQ(report.dataTypesRewritten, 51);
    EXPECT_EQ(report.dataTypesInserted, 0);
    EXPECT_EQ(report.linksInserted, 0);

    const int added = rowOf(server.methods, "CDTBMETOAVAL", "68");
    ASSERT_GE(added, 0);
    EXPECT_EQ(server.methods.rows[added],
              (QVariantList{"68", "0", "IMC para Gestantes", "68", "IMC para Gestantes", "11190068",
                            QVariant(), QVariant(), QVariant()}));
    // A present method keeps its sequence and description.
    EXPECT_EQ(server.methods.rows[0],
              (QVariantList{"00", "0", "IMC/Peso Teórico", "42", "Descrição local", "11190000",
                            QVariant(), QVariant(), QVariant()}));
    EXPECT_EQ(server.dataTypes.rows[0], (QVariantList{"01", "Peso", "kg"}));
    EXPECT_EQ(rowOf(server.dataTypes, "CDTIPODADO", "53"), -1);
    EXPECT_EQ(server.count("SetInsDadoAval"), 0);
    EXPECT_EQ(server.links.rows.size(), 155);
    // Rows that were already right send nothing.
    EXPECT_EQ(server.count("SetInsMetoAval"), 2);
    EXPECT_EQ(server.count("SetInsTipoDado"), 1);

    EXPECT_EQ(c.progress.shownMaxima(), (QList<int>{68, 52}));
    EXPECT_EQ(c.progress.highestPositionOfShow(0), 68);
    EXPECT_EQ(c.progress.highestPositionOfShow(1), 52);
    expectPanelPutAway(c.progress);
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
    try {
        c.seeder().updateMethods([] { throw records::Error("refresh"); });
        FAIL() << "no error";
    } catch (const records::Error& e) {
        EXPECT_EQ(e.message(), server.failText);
    }
    // A refresh that fails after a good update is passed on.
    server.failOnCall = 0;
    c.reload();
    EXPECT_THROW(c.seeder().updateMethods([] { throw records::Error("refresh"); }), records::Error);
    EXPECT_FALSE(c.progress.visible());
}

TEST(CatalogueSeeding, FewerMethodsWithANullControlNumberAreCompletedThenRewritten)
{
    CatalogueServer server;
    fillFullCatalogue(server);
    server.methods.rows.removeAt(rowOf(server.methods, "CDTBMETOAVAL", "40"));
    const int pcb = rowOf(server.methods, "CDTBMETOAVAL", "04");
    server.methods.rows[pcb][2] = "CB antigo";
    server.methods.rows[pcb][5] = QVariant();
    Catalogue c(server);
    const CatalogueSeedReport report = c.seeder().seed();

    // The missing method first, numbered on from the last row ("68"); then the repair
    // goes over every method, the one just added included. Rows already right send
    // nothing.
    EXPECT_EQ(report.methodsInserted, 1);
    EXPECT_EQ(report.methodsRewritten, 68);
    ASSERT_EQ(server.calls.size(), 2);
    EXPECT_EQ(server.calls[0].delta.changes[0].kind, DeltaChange::Kind::Insert);
    EXPECT_EQ(server.calls[1].delta.changes[0].kind, DeltaChange::Kind::Update);
    EXPECT_EQ(server.methods.rows[rowOf(server.methods, "CDTBMETOAVAL", "40")],
              methodRow(*records::findCatalogueMethod(u"40"), "69"));
    EXPECT_EQ(server.methods.rows[pcb], methodRow(*records::findCatalogueMethod(u"04"), "05"));

    // Each pass shows the bar again from 0, one step per entry.
    EXPECT_EQ(c.progress.shownMaxima(), (QList<int>{68, 68}));
    EXPECT_EQ(stepsOfShow(c.progress, 0), counting(68));
    EXPECT_EQ(stepsOfShow(c.progress, 1), counting(68, 0));
    expectPanelPutAway(c.progress);
}

TEST(CatalogueSeeding, RepairSkipsWhatEitherSideLacks)
{
    CatalogueServer server;
    fillFullCatalogue(server);
    // 68 rows, but "33" is missing and the server has a method "07" of its own with no
    // control number; another row has an old name.
    QVariantList& own = server.methods.rows[rowOf(server.methods, "CDTBMETOAVAL", "33")];
    own[0] = "07";
    own[2] = "RCQ";
    own[5] = QVariant();
    const QVariantList ownBefore = own;
    server.methods.rows[0][2] = "IMC antigo";
    Catalogue c(server);
    const CatalogueSeedReport report = c.seeder().seed();

    // A table of 68 rows is not searched for missing methods: "33" stays missing, the
    // server's own row is left as it is, every method found is rewritten.
    EXPECT_EQ(report.methodsInserted, 0);
    EXPECT_EQ(report.methodsRewritten, 67);
    EXPECT_EQ(rowOf(server.methods, "CDTBMETOAVAL", "33"), -1);
    EXPECT_EQ(server.methods.rows[rowOf(server.methods, "CDTBMETOAVAL", "07")], ownBefore);
    EXPECT_EQ(server.methods.value(0, "NMTBMETOAVAL"), QStringLiteral("IMC/Peso Teórico"));
    ASSERT_EQ(server.calls.size(), 1);
    // The skipped entry still moves the bar.
    EXPECT_EQ(c.progress.shownMaxima(), QList<int>{68});
    EXPECT_EQ(stepsOfShow(c.progress, 0), counting(68, 0));
    expectPanelPutAway(c.progress);
}

TEST(CatalogueSeeding, FewerDataTypesGetOnlyTheMissingOnesAndKeepTheirOwn)
{
    CatalogueServer server;
    fillFullCatalogue(server);
    server.dataTypes.rows.removeAt(rowOf(server.dataTypes, "CDTIPODADO", "53"));
    server.dataTypes.rows.removeAt(rowOf(server.dataTypes, "CDTIPODADO", "23"));
    server.dataTypes.rows[0] = {"01", "Peso antigo", "g"};
    Catalogue c(server);
    const CatalogueSeedReport report = c.seeder().seed();

    EXPECT_EQ(report.dataTypesInserted, 2);
    EXPECT_EQ(report.dataTypesRewritten, 0);
    ASSERT_EQ(server.calls.size(), 2);
    for (const CatalogueServer::Call& call : server.calls) {
        EXPECT_EQ(call.method, "SetInsTipoDado");
        EXPECT_EQ(call.delta.changes[0].kind, DeltaChange::Kind::Insert);
    }
    EXPECT_EQ(server.dataTypes.rows[0], (QVariantList{"01", "Peso antigo", "g"}));
    EXPECT_EQ(server.dataTypes.rows[50], (QVariantList{"23", "Fator Térmico", QVariant()}));
    EXPECT_EQ(server.dataTypes.rows[51], (QVariantList{"53", "Semana Gestacional", QVariant()}));
    EXPECT_EQ(c.progress.shownMaxima(), QList<int>{52});
    EXPECT_EQ(stepsOfShow(c.progress, 0), counting(52, 0));
    expectPanelPutAway(c.progress);
}

TEST(CatalogueSeeding, UpdateMethodsKeepsTheServersOwnFieldsAndInsertsNoDataType)
{
    // A present method keeps its reference ages and default reference.
    CatalogueServer server;
    fillFullCatalogue(server);
    QVariantList& pct = server.methods.rows[rowOf(server.methods, "CDTBMETOAVAL", "02")];
    pct[2] = "PCT antiga";
    pct[6] = 1.5;
    pct[7] = 18.0;
    pct[8] = "03";
    Catalogue c(server);
    c.seeder().updateMethods();
    QVariantList expected = methodRow(*records::findCatalogueMethod(u"02"), "03");
    expected[6] = 1.5;
    expected[7] = 18.0;
    expected[8] = "03";
    EXPECT_EQ(server.methods.rows[rowOf(server.methods, "CDTBMETOAVAL", "02")], expected);

    // On an empty catalogue every method is inserted, numbered by its code and described
    // by its name; the data types and links stay empty.
    CatalogueServer empty;
    Catalogue e(empty);
    const CatalogueSeedReport report = e.seeder().updateMethods();
    EXPECT_EQ(report, (CatalogueSeedReport{68, 0, 0, 0, 0}));
    ASSERT_EQ(empty.methods.rows.size(), 68);
    for (const QVariantList& row : empty.methods.rows) {
        const CatalogueMethod m = *records::findCatalogueMethod(row[0].toString());
        EXPECT_EQ(row, (QVariantList{m.CDTBMETOAVAL, m.IDTBUTILTABE, m.NMTBMETOAVAL, m.CDTBMETOAVAL,
                                     m.NMTBMETOAVAL, m.NRCTMETOAVAL, QVariant(), QVariant(),
                                     QVariant()}));
    }
    EXPECT_TRUE(empty.dataTypes.rows.isEmpty());
    EXPECT_TRUE(empty.links.rows.isEmpty());
    EXPECT_EQ(e.progress.shownMaxima(), (QList<int>{68, 52}));
    EXPECT_EQ(stepsOfShow(e.progress, 0), counting(68));
    EXPECT_EQ(stepsOfShow(e.progress, 1), counting(52, 0));
    expectPanelPutAway(e.progress);
}
