// The rules the forms rely on when rows reach the server: what the change log holds,
// when the hooks run, and what each write method is sent.
#include "dataset_test_support.h"
#include "recording_app_server.h"

#include "records/error.h"
#include "records/layouts.h"
#include "records/write_through.h"

#include <gtest/gtest.h>

using namespace records;
using namespace records::testing;

namespace {

const QString kBranch = QStringLiteral("0001");
const QString kPatient = QStringLiteral("000000000042");

QVariantMap methodRow(const char* code, const char* selected = "N")
{
    return {{"CDFILIAL", kBranch},
            {"CDPACIENTE", kPatient},
            {"DTCONSPACI", consultationDate()},
            {"IDTABELAAV", selected},
            {"CDTBMETOAVAL", code},
            {"IDTBUTILTABE", "1"},
            {"NMTBMETOAVAL", QStringLiteral("Método %1").arg(QString::fromLatin1(code))},
            {"NRCTMETOAVAL", "11190000"}};
}

// The preparation the form runs before a method row is posted: key fields from the
// consultation, then empty texts to null.
void prepareLikeTheForm(DataSet& ds)
{
    ds.beforePost = [](DataSet& d) {
        d.setValue(QStringLiteral("CDFILIAL"), kBranch);
        d.setValue(QStringLiteral("CDPACIENTE"), kPatient);
        d.setValue(QStringLiteral("DTCONSPACI"), consultationDate());
        Seta_Campo_Null(d);
    };
}

}  // namespace

// ---------------------------------------------------------------- change log

TEST(ChangeLogRules, AnUpdateCarriesTheOriginalKeySoTheServerFindsTheRow)
{
    DataSet ds(layouts::cdsInfoAval());
    ds.loadPacket(packetOf(ds.fields(), {infoRow("01", "01", "70"), infoRow("01", "02", "1,75")}));
    ASSERT_TRUE(ds.locate(QStringLiteral("CDTBMETOAVAL;CDTIPODADO"), {"01", "02"}));
    ds.edit();
    ds.setValue(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("07"));
    ds.setValue(QStringLiteral("DSINFOAVAL"), QStringLiteral("1,80"));
    ds.post();
    ds.edit();
    ds.setValue(QStringLiteral("CDTIPODADO"), QStringLiteral("03"));
    ds.post();

    const Delta d = ds.delta();
    ASSERT_EQ(d.changes.size(), 1);
    const DeltaChange& c = d.changes[0];
    EXPECT_EQ(c.kind, DeltaChange::Kind::Update);
    EXPECT_EQ(c.oldValues[col(ds, "CDTBMETOAVAL")].toString(), QStringLiteral("01"));
    EXPECT_EQ(c.oldValues[col(ds, "CDTIPODADO")].toString(), QStringLiteral("02"));
    EXPECT_EQ(c.newValues[col(ds, "CDTIPODADO")].toString(), QStringLiteral("03"));
}

TEST(ChangeLogRules, LoadingAPacketStartsAFreshLogThatCannotBeCancelledBack)
{
    DataSet ds(layouts::cdsInfoAval());
    ds.loadPacket(packetOf(ds.fields(), {infoRow("01", "01", "70"), infoRow("02", "01", "70")}));
    ds.first();
    ds.remove();
    ds.append();
    ds.setValue(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("05"));
    ds.post();
    ds.first();
    ds.edit();
    ds.setValue(QStringLiteral("DSINFOAVAL"), QStringLiteral("71"));
    ASSERT_EQ(ds.changeCount(), 2);  // the edit is still pending

    ds.loadPacket(packetOf(ds.fields(), {infoRow("03", "04", "12")}));
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_TRUE(ds.delta().isEmpty());
    ds.cancelUpdates();
    EXPECT_EQ(column(ds, QStringLiteral("CDTBMETOAVAL")), QStringList{QStringLiteral("03")});
}

TEST(ChangeLogRules, CalculatedFieldsNeverMakeAChange)
{
    DataSet ds(layouts::cdsNutrRefe());
    ds.loadPacket(packetOf(ds.fields(), {{{"CDRFNUTRECOM", "01"}, {"CDGRUPNUTR", "02"}}}));
    // Set while the row is being edited, as after the nutrient dialog.
    ds.edit();
    ds.setValue(QStringLiteral("NMNUTRESC"), QStringLiteral("Cálcio | Ferro "));
    ds.setValue(QStringLiteral("CODSNUTRESC"), QStringLiteral("_001_017_"));
    ds.post();
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(ds.asString(QStringLiteral("CODSNUTRESC")), QStringLiteral("_001_017_"));

    // A real change is logged, and a later change of the calculated text alone does not
    // keep or drop it.
    ds.edit();
    ds.setValue(QStringLiteral("CDGRUPNUTR"), QStringLiteral("03"));
    ds.post();
    ASSERT_EQ(ds.changeCount(), 1);
    ds.edit();
    ds.setValue(QStringLiteral("CDGRUPNUTR"), QStringLiteral("02"));
    ds.setValue(QStringLiteral("CODSNUTRESC"), QStringLiteral("_003_"));
    ds.post();
    EXPECT_EQ(ds.changeCount(), 0);  // back to the loaded group

    // Undoing the changes undoes the data, not what the row shows as calculated.
    ds.edit();
    ds.setValue(QStringLiteral("CDGRUPNUTR"), QStringLiteral("04"));
    ds.setValue(QStringLiteral("NMNUTRESC"), QStringLiteral("Zinco "));
    ds.post();
    ds.cancelUpdates();
    EXPECT_EQ(ds.asString(QStringLiteral("CDGRUPNUTR")), QStringLiteral("02"));
    EXPECT_EQ(ds.asString(QStringLiteral("NMNUTRESC")), QStringLiteral("Zinco "));
}

// ---------------------------------------------------------------- hooks

TEST(HookOrder, BeforePostRunsOnTheUnpostedRowAndAfterPostOnThePostedOne)
{
    DataSet ds(layouts::cdsMetoAval());
    ds.loadPacket(packetOf(ds.fields(), {methodRow("01")}));
    QStringList seen;
    const auto describe = [](const DataSet& d, const char* when) {
        return QStringLiteral("%1 state=%2 changes=%3 rows=%4 mark=%5")
            .arg(QString::fromLatin1(when))
            .arg(int(d.state()))
            .arg(d.changeCount())
            .arg(d.recordCount())
            .arg(d.asStringAt(0, QStringLiteral("IDTABELAAV")));
    };
    ds.beforePost = [&](DataSet& d) { seen << describe(d, "before"); };
    ds.afterPost = [&](DataSet& d) { seen << describe(d, "after"); };

    ds.edit();
    ds.setValue(QStringLiteral("IDTABELAAV"), QStringLiteral("S"));
    ds.post();
    ds.append();
    ds.setValue(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("02"));
    ds.post();
    // Before the edit's post the grid already reads the edit buffer; the row count and
    // the log change only once the row is posted.
    EXPECT_EQ(seen, (QStringList{
                        QStringLiteral("before state=1 changes=0 rows=1 mark=S"),
                        QStringLiteral("after state=0 changes=1 rows=1 mark=S"),
                        QStringLiteral("before state=2 changes=1 rows=1 mark=S"),
                        QStringLiteral("after state=0 changes=2 rows=2 mark=S"),
                    }));
}

TEST(HookOrder, WhatBeforePostFillsIsWhatTheWriteSends)
{
    RecordingAppServer server;
    DataSet ds(layouts::cdsMetoAval());
    prepareLikeTheForm(ds);
    attachWriteThrough(ds, server);
    ds.clear();
    ds.append();
    for (const FieldDef& f : ds.fields()) {
        if (f.type == FieldType::String)
            ds.setValue(f.name, QStringLiteral("1"));
    }
    ds.setValue(QStringLiteral("CDTABELACO"), QString());  // empty texts, null once posted
    ds.setValue(QStringLiteral("CDTBREFMETOA"), QStringLiteral("  "));
    ds.post();

    ASSERT_EQ(server.calls.size(), 1);
    const Delta sent = server.lastDelta();
    ASSERT_EQ(sent.changes.size(), 1);
    const QVariantList& row = sent.changes[0].newValues;
    EXPECT_EQ(row[col(ds, "CDFILIAL")].toString(), kBranch);
    EXPECT_EQ(row[col(ds, "CDPACIENTE")].toString(), kPatient);
    EXPECT_EQ(row[col(ds, "DTCONSPACI")].toDateTime(), consultationDate());
    EXPECT_TRUE(row[col(ds, "CDTBREFMETOA")].isNull());
}

// ---------------------------------------------------------------- write-through

// Every dataset with a write method: one post is one call, with the null-field list
// exactly when the server's binding of that dataset expects it.
TEST(WriteThroughRules, EachWritableDatasetSendsWhatItsServerMethodTakes)
{
    for (const DataSetLayout* l : layouts::all()) {
        if (l->writeMethod.isEmpty())
            continue;
        SCOPED_TRACE(l->name.toStdString());
        RecordingAppServer server;
        DataSet ds(*l);
        attachWriteThrough(ds, server);
        ds.clear();
        ds.append();
        ds.setValue(ds.fields().first().name, QStringLiteral("01"));
        ds.post();
        ASSERT_EQ(server.calls.size(), 1);
        EXPECT_EQ(server.calls[0].method, l->writeMethod);
        EXPECT_EQ(server.calls[0].args.size(), l->sendsNullFieldList ? 2 : 1);
        // the server's binding of the method agrees
        EXPECT_EQ(takesNullFieldList(l->writeMethod), l->sendsNullFieldList);
        ASSERT_EQ(server.lastDelta().changes.size(), 1);
        EXPECT_EQ(server.lastDelta().changes[0].kind, DeltaChange::Kind::Insert);
        EXPECT_EQ(ds.changeCount(), 0);
    }
}

TEST(WriteThroughRules, TheNullFieldListNamesTheNullFieldsInTheDatasetsOwnOrder)
{
    QVariantMap full = infoRow("01", "01", "70");
    full.insert(QStringLiteral("DSOBSERAVAL"), QStringLiteral("em jejum"));
    full.insert(QStringLiteral("CDFATOINJU"), QStringLiteral("03"));
    struct Row
    {
        const DataSetLayout* layout;
        QVariantMap loaded;
        const char* field;
        const char* value;
        QString nullList;
    };
    const Row rows[] = {
        // The two method datasets hold the same fields in different orders.
        {&layouts::cdsMetoAval(), methodRow("30"), "IDTABELAAV", "S",
         QStringLiteral("_CDTABELACO_CDTBREFMETOA_NMREFEBIBL")},
        {&layouts::cdsMetoAvalEnerg(), methodRow("30"), "IDTABELAAV", "S",
         QStringLiteral("_CDTABELACO_NMREFEBIBL_CDTBREFMETOA")},
        // Every field filled: the list is sent, empty.
        {&layouts::cdsInfoAval(), full, "DSINFOAVAL", "71", QString()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.layout->name.toStdString());
        RecordingAppServer server;
        DataSet ds(*r.layout);
        attachWriteThrough(ds, server);
        ds.loadPacket(packetOf(ds.fields(), {r.loaded}));
        ds.edit();
        ds.setValue(QString::fromLatin1(r.field), QString::fromLatin1(r.value));
        ds.post();
        ASSERT_EQ(server.calls.size(), 1);
        ASSERT_EQ(server.calls[0].args.size(), 2);
        EXPECT_TRUE(server.calls[0].args[1].isString());
        EXPECT_EQ(server.calls[0].args[1].toString(), r.nullList);
    }
}
