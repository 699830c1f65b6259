#include "dataset_test_support.h"

#include "records/error.h"
#include "records/layouts.h"

#include <gtest/gtest.h>

using namespace records;
using namespace records::testing;

namespace {

QVariantMap nutrient(const char* reference, const char* group, const char* code)
{
    return {{"CDRFNUTRECOM", reference}, {"CDGRUPNUTR", group}, {"CDNUTRIENTE", code}};
}

void loadNutrients(DataSet& ds)
{
    ds.loadPacket(
        packetOf(ds.fields(), {nutrient("01", "02", "001"), nutrient("01", "03", "002"),
                               nutrient("01", "02", "017"), nutrient("02", "02", "003")}));
}

// Every visible row once, from the first, the way the forms walk a dataset.
QStringList walk(DataSet& ds, const char* field)
{
    QStringList out;
    for (ds.first(); !ds.eof(); ds.next())
        out.append(ds.asString(QString::fromLatin1(field)));
    return out;
}

}  // namespace

// ---------------------------------------------------------------- cursor

TEST(Cursor, EmptyDatasetIsBofAndEofAndRefusesToDelete)
{
    DataSet ds(layouts::cdsResuAval());
    ds.clear();
    EXPECT_EQ(ds.recNo(), -1);
    ds.first();
    ds.next();
    ds.prior();
    ds.last();
    EXPECT_TRUE(ds.eof() && ds.bof());
    EXPECT_TRUE(ds.isNull(QStringLiteral("DSRESUAVAL")));
    EXPECT_EQ(ds.asString(QStringLiteral("DSRESUAVAL")), QString());
    EXPECT_THROW(ds.remove(), Error);
    EXPECT_THROW(ds.setValue(QStringLiteral("DSRESUAVAL"), QStringLiteral("x")), Error);
    EXPECT_FALSE(ds.moveTo(0));
    // Editing an empty dataset inserts.
    ds.edit();
    EXPECT_EQ(ds.state(), DataSetState::Insert);
}

// Forwards the filter and write-through tests walk already.
TEST(Cursor, WalksBackwardsEveryRowOnce)
{
    DataSet ds(layouts::cdsNutrePaci());
    loadNutrients(ds);
    ds.last();
    EXPECT_TRUE(ds.eof());
    QStringList back;
    while (!ds.bof()) {
        back.append(ds.asString(QStringLiteral("CDNUTRIENTE")));
        ds.prior();
    }
    EXPECT_EQ(back.join(QLatin1Char(',')), QStringLiteral("003,017,002,001"));
}

TEST(Cursor, DeletingWhileWalkingVisitsEveryRowAndEnds)
{
    DataSet ds(layouts::cdsNutrePaci());
    loadNutrients(ds);
    ds.first();
    while (!ds.eof()) {
        if (ds.asString(QStringLiteral("CDGRUPNUTR")) == QStringLiteral("02"))
            ds.remove();
        else
            ds.next();
    }
    EXPECT_EQ(column(ds, QStringLiteral("CDNUTRIENTE")), QStringList{QStringLiteral("002")});
    EXPECT_EQ(ds.changeCount(), 3);
}

TEST(Cursor, InsertGoesBeforeTheCurrentRowAndAppendAtTheEnd)
{
    DataSet ds(layouts::cdsNutrePaci());
    loadNutrients(ds);
    ds.moveTo(1);
    ds.insert();
    ds.setValue(QStringLiteral("CDNUTRIENTE"), QStringLiteral("100"));
    ds.post();
    EXPECT_EQ(ds.asString(QStringLiteral("CDNUTRIENTE")), QStringLiteral("100"));
    EXPECT_EQ(ds.recNo(), 1);
    ds.append();
    ds.setValue(QStringLiteral("CDNUTRIENTE"), QStringLiteral("200"));
    ds.post();
    EXPECT_EQ(column(ds, QStringLiteral("CDNUTRIENTE")).join(QLatin1Char(',')),
              QStringLiteral("001,100,002,017,003,200"));
}

// ---------------------------------------------------------------- filter

TEST(Filter, TheRecommendationFilterShowsOnlyItsNutrientsAndFollowsPostedRows)
{
    DataSet ds(layouts::cdsNutrePaci());
    loadNutrients(ds);
    ds.setFilter(QStringLiteral("CDRFNUTRECOM ='01' and CDGRUPNUTR   ='02'"));
    EXPECT_EQ(ds.recordCount(), 4);  // not yet switched on
    ds.setFiltered(true);
    EXPECT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(walk(ds, "CDNUTRIENTE").join(QLatin1Char(',')), QStringLiteral("001,017"));
    EXPECT_FALSE(ds.locate(QStringLiteral("CDNUTRIENTE"), QStringLiteral("003")));

    // A filter that matches nothing is an empty dataset.
    ds.setFilter(QStringLiteral("CDRFNUTRECOM ='09' AND CDGRUPNUTR='02'"));
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_TRUE(ds.bof() && ds.eof());
    EXPECT_EQ(ds.recNo(), -1);

    ds.setFiltered(false);
    EXPECT_EQ(ds.recordCount(), 4);
    EXPECT_FALSE(ds.eof());

    // A posted row outside the filter leaves the view; one inside joins it.
    ds.setFilter(QStringLiteral("CDGRUPNUTR='02'"));
    ds.setFiltered(true);
    ds.first();
    ds.edit();
    ds.setValue(QStringLiteral("CDGRUPNUTR"), QStringLiteral("05"));
    ds.post();
    EXPECT_EQ(ds.recordCount(), 2);
    ds.append();
    ds.setValue(QStringLiteral("CDGRUPNUTR"), QStringLiteral("02"));
    ds.setValue(QStringLiteral("CDNUTRIENTE"), QStringLiteral("050"));
    ds.post();
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.asString(QStringLiteral("CDNUTRIENTE")), QStringLiteral("050"));
}

TEST(Filter, TextsThatCannotBeReadAreRefusedAndTheOldFilterStays)
{
    DataSet ds(layouts::cdsNutrePaci());
    loadNutrients(ds);
    ds.setFilter(QStringLiteral("CDGRUPNUTR = '03'"));
    ds.setFiltered(true);
    for (const char* bad : {"CDGRUPNUTR = 02", "CDGRUPNUTR ='02' or CDRFNUTRECOM='01'",
                            "CDGRUPNUTR ='02", "='02'", "CDGRUPNUTR '02'", "CDGRUPNUTR ='02' and",
                            "NAOEXISTE ='1'", "CDGRUPNUTR ='02' CDRFNUTRECOM='01'"}) {
        EXPECT_THROW(ds.setFilter(QString::fromLatin1(bad)), Error) << bad;
    }
    EXPECT_EQ(ds.filter(), QStringLiteral("CDGRUPNUTR = '03'"));
    EXPECT_EQ(ds.recordCount(), 1);

    // A doubled quote is a quote; a blank filter shows every row.
    EXPECT_EQ(parseFilter(QStringLiteral("NMNUTRIENTE='Vitamina D''Agua'")).first().literal,
              QStringLiteral("Vitamina D'Agua"));
    ds.setFilter(QStringLiteral("   "));
    EXPECT_EQ(ds.recordCount(), 4);
}

// ---------------------------------------------------------------- index and locate

TEST(Index, MeasurementsAreListedByNameWhateverOrderTheyArrive)
{
    DataSet ds(layouts::cdsDadosAval());
    ds.setIndexFieldNames(QStringLiteral("NMTIPODADO"));
    const auto type = [](const char* code, const char* name) {
        return QVariantMap{{"CDTIPODADO", code}, {"NMTIPODADO", QString::fromUtf8(name)}};
    };
    ds.loadPacket(
        packetOf(ds.fields(),
                 {type("01", "Peso"), type("02", "Altura"), type("05", "Circunferência do Braço"),
                  type("09", "Área Muscular"), type("03", "dobra Tricipital")}));
    EXPECT_EQ(column(ds, QStringLiteral("CDTIPODADO")).join(QLatin1Char(',')),
              QStringLiteral("02,09,05,03,01"));

    // A row added later takes its place by name, and the cursor follows it.
    ds.append();
    ds.setValue(QStringLiteral("CDTIPODADO"), QStringLiteral("04"));
    ds.setValue(QStringLiteral("NMTIPODADO"), QStringLiteral("Estatura Estimada"));
    ds.post();
    EXPECT_EQ(column(ds, QStringLiteral("CDTIPODADO")).join(QLatin1Char(',')),
              QStringLiteral("02,09,05,03,04,01"));
    EXPECT_EQ(ds.recNo(), 4);
    EXPECT_THROW(ds.setIndexFieldNames(QStringLiteral("NAOEXISTE")), Error);
}

TEST(Locate, FindsByTheFullResultKeyAndStaysPutWhenNothingMatches)
{
    DataSet ds(layouts::cdsResuAval());
    const auto line = [](const char* method, const char* seq) {
        return QVariantMap{{"CDFILIAL", "0001"},
                           {"CDPACIENTE", "000000000042"},
                           {"DTCONSPACI", consultationDate()},
                           {"CDTBMETOAVAL", method},
                           {"CDSEQUAVAL", seq}};
    };
    ds.loadPacket(packetOf(ds.fields(), {line("01", "01"), line("01", "02"), line("03", "01")}));
    const QString key = QStringLiteral("CDFILIAL;CDPACIENTE;DTCONSPACI;CDTBMETOAVAL;CDSEQUAVAL");
    EXPECT_TRUE(ds.locate(key, {"0001", "000000000042", consultationDate(), "01", "02"}));
    EXPECT_EQ(ds.recNo(), 1);
    // The date may come as text too.
    EXPECT_TRUE(ds.locate(key, {"0001", "000000000042", "2026-03-10", "03", "01"}));
    EXPECT_EQ(ds.recNo(), 2);
    EXPECT_FALSE(ds.locate(key, {"0001", "000000000042", consultationDate(), "01", "03"}));
    EXPECT_EQ(ds.recNo(), 2);
    // A null matches a null only.
    EXPECT_FALSE(ds.locate(QStringLiteral("DSRESUAVAL"), QStringLiteral("")));
    EXPECT_TRUE(ds.locate(QStringLiteral("DSRESUAVAL"), QVariant()));

    EXPECT_THROW(ds.locate(key, QVariantList{"0001"}), Error);
    EXPECT_THROW(ds.locate(QStringLiteral("NAOEXISTE"), QStringLiteral("1")), Error);
    EXPECT_THROW(ds.locate(QStringLiteral("DTCONSPACI"), QStringLiteral("ontem")), Error);
}

TEST(Locate, PostsAPendingEditFirst)
{
    DataSet ds(layouts::cdsNutrePaci());
    loadNutrients(ds);
    ds.edit();
    ds.setValue(QStringLiteral("DSNUTPEATUAL"), QStringLiteral("12,000"));
    EXPECT_TRUE(ds.locate(QStringLiteral("CDNUTRIENTE"), QStringLiteral("003")));
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.changeCount(), 1);
}

// ---------------------------------------------------------------- hooks

TEST(Hooks, ABeforeHookThatThrowsAbortsAndLeavesTheDatasetAsItWas)
{
    DataSet ds(layouts::cdsNutrePaci());
    loadNutrients(ds);
    ds.beforePost = [](DataSet& d) {
        if (d.asString(QStringLiteral("CDRFNUTRECOM")).isEmpty())
            throw Error(QStringLiteral("Referencia deve ser informada."));
    };
    ds.append();
    EXPECT_THROW(ds.post(), Error);
    EXPECT_EQ(ds.state(), DataSetState::Insert);
    ds.setValue(QStringLiteral("CDRFNUTRECOM"), QStringLiteral("01"));
    ds.post();  // what a before hook fills: HookOrder
    EXPECT_EQ(ds.recordCount(), 5);

    ds.beforeInsert = [](DataSet&) { throw Error(QStringLiteral("Consulta somente leitura.")); };
    EXPECT_THROW(ds.append(), Error);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    ds.beforeDelete = ds.beforeInsert;
    EXPECT_THROW(ds.remove(), Error);
    EXPECT_EQ(ds.recordCount(), 5);
}

TEST(Hooks, EventsFireWhereTheFormsExpectThem)
{
    DataSet ds(layouts::cdsNutrePaci());
    QStringList events;
    ds.afterOpen = [&](DataSet&) { events << QStringLiteral("open"); };
    ds.afterScroll = [&](DataSet& d) {
        events << QStringLiteral("scroll:") + d.asString(QStringLiteral("CDNUTRIENTE"));
        d.next();  // moving from within AfterScroll does not fire it again
    };
    ds.afterCancel = [&](DataSet&) { events << QStringLiteral("cancel"); };
    ds.beforeEdit = [&](DataSet&) { events << QStringLiteral("edit"); };
    loadNutrients(ds);
    EXPECT_EQ(events.join(QLatin1Char(' ')), QStringLiteral("open scroll:001"));
    EXPECT_EQ(ds.recNo(), 1);
    events.clear();
    ds.edit();
    ds.cancel();
    ds.cancel();  // nothing to cancel: no event
    EXPECT_EQ(events.join(QLatin1Char(' ')), QStringLiteral("edit cancel"));
}

TEST(Hooks, ReentrantCallsFromTheHooksAreStopped)
{
    DataSet ds(layouts::cdsNutrePaci());
    loadNutrients(ds);
    // A dataset refuses to move or change state from its own before hooks.
    ds.beforePost = [](DataSet& d) { d.post(); };
    ds.edit();
    EXPECT_THROW(ds.post(), Error);
    ds.beforePost = [](DataSet& d) { d.next(); };
    EXPECT_THROW(ds.post(), Error);
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    ds.beforePost = nullptr;

    // An AfterPost that posts its own dataset for ever is stopped.
    int runs = 0;
    ds.afterPost = [&](DataSet& d) {
        ++runs;
        d.edit();
        d.setValue(QStringLiteral("DSNUTPEATUAL"), QString::number(runs));
        d.post();
    };
    ds.setValue(QStringLiteral("DSNUTPEATUAL"), QStringLiteral("0"));
    EXPECT_THROW(ds.post(), Error);
    EXPECT_LE(runs, 9);
}
