#include "dataset_test_support.h"
#include "recording_app_server.h"

#include "records/error.h"
#include "records/layouts.h"
#include "records/write_through.h"

#include <gtest/gtest.h>

using namespace records;
using namespace records::testing;

namespace {

// Three recorded values: weight for methods 01 and 02, height for method 01.
void loadInfo(DataSet& ds)
{
    ds.loadPacket(packetOf(ds.fields(), {infoRow("01", "01", "70,5"), infoRow("02", "01", "70,5"),
                                         infoRow("01", "02", "1,75")}));
}

void setInfoValue(DataSet& ds, const char* method, const char* type, const char* value)
{
    ASSERT_TRUE(ds.locate(QStringLiteral("CDTBMETOAVAL;CDTIPODADO"),
                          {QString::fromLatin1(method), QString::fromLatin1(type)}));
    ds.edit();
    ds.setValue(QStringLiteral("DSINFOAVAL"), QString::fromLatin1(value));
    ds.post();
}

}  // namespace

// ---------------------------------------------------------------- change log

TEST(ChangeLog, RepeatedEditsOfARowStayOneUpdateWithTheOriginalValues)
{
    DataSet ds(layouts::cdsInfoAval());
    loadInfo(ds);
    setInfoValue(ds, "01", "01", "71");
    setInfoValue(ds, "01", "01", "72");
    ASSERT_EQ(ds.changeCount(), 1);
    EXPECT_EQ(ds.delta().changes[0].oldValues[col(ds, "DSINFOAVAL")].toString(),
              QStringLiteral("70,5"));

    // Edited back to where it was: no change left.
    setInfoValue(ds, "01", "01", "70,5");
    EXPECT_EQ(ds.changeCount(), 0);
}

TEST(ChangeLog, InsertThenEditStaysAnInsertAndInsertThenDeleteVanishes)
{
    DataSet ds(layouts::cdsInfoAval());
    loadInfo(ds);
    ds.append();
    ds.setValue(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("03"));
    ds.setValue(QStringLiteral("CDTIPODADO"), QStringLiteral("05"));
    ds.post();
    setInfoValue(ds, "03", "05", "12");
    ASSERT_EQ(ds.changeCount(), 1);
    EXPECT_EQ(ds.delta().changes[0].kind, DeltaChange::Kind::Insert);
    EXPECT_EQ(ds.delta().changes[0].newValues[col(ds, "DSINFOAVAL")].toString(),
              QStringLiteral("12"));

    ds.remove();
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(ds.recordCount(), 3);
}

TEST(ChangeLog, EditThenDeleteSendsTheOriginalRowAndChangesKeepTheirOrder)
{
    DataSet ds(layouts::cdsInfoAval());
    loadInfo(ds);
    setInfoValue(ds, "02", "01", "80");  // update, later deleted
    ds.append();
    ds.setValue(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("04"));
    ds.setValue(QStringLiteral("CDTIPODADO"), QStringLiteral("01"));
    ds.post();
    setInfoValue(ds, "01", "02", "1,80");
    ASSERT_TRUE(ds.locate(QStringLiteral("CDTBMETOAVAL;CDTIPODADO"), {"02", "01"}));
    ds.remove();

    const Delta d = ds.delta();
    ASSERT_EQ(d.changes.size(), 3);
    EXPECT_EQ(d.changes[0].kind, DeltaChange::Kind::Delete);
    EXPECT_EQ(d.changes[0].oldValues[col(ds, "DSINFOAVAL")].toString(), QStringLiteral("70,5"));
    EXPECT_EQ(d.changes[0].oldValues[col(ds, "CDTBMETOAVAL")].toString(), QStringLiteral("02"));
    EXPECT_EQ(d.changes[1].kind, DeltaChange::Kind::Insert);
    EXPECT_EQ(d.changes[2].kind, DeltaChange::Kind::Update);
}

TEST(ChangeLog, CancelUndoesInsertsEditsAndDeletesAndMergeMakesTheNewBase)
{
    DataSet ds(layouts::cdsInfoAval());
    loadInfo(ds);
    const Packet before = ds.toPacket();
    ds.edit();  // a cancelled edit or insert logs nothing
    ds.setValue(QStringLiteral("DSINFOAVAL"), QStringLiteral("99"));
    ds.cancel();
    ds.insert();
    ds.cancel();
    EXPECT_EQ(ds.changeCount(), 0);
    ds.first();
    ds.remove();
    setInfoValue(ds, "01", "02", "1,80");
    ds.append();
    ds.setValue(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("09"));
    ds.post();
    ds.cancelUpdates();
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(ds.toPacket().rows, before.rows);  // same rows, same order

    // A row still being edited is dropped too.
    setInfoValue(ds, "01", "01", "99");
    ds.append();
    ds.setValue(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("02"));
    ds.cancelUpdates();
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.toPacket().rows, before.rows);

    setInfoValue(ds, "01", "02", "1,80");
    ds.mergeChangeLog();
    EXPECT_EQ(ds.changeCount(), 0);
    ds.first();
    ds.remove();
    ds.cancelUpdates();
    ASSERT_TRUE(ds.locate(QStringLiteral("CDTBMETOAVAL;CDTIPODADO"), {"01", "02"}));
    EXPECT_EQ(ds.asString(QStringLiteral("DSINFOAVAL")), QStringLiteral("1,80"));
    EXPECT_EQ(ds.recordCount(), 3);
}

// ---------------------------------------------------------------- write-through

TEST(WriteThrough, APostSendsTheDeltaWithEarlierDeletionsAndTheNullFieldListAndMerges)
{
    RecordingAppServer server;
    DataSet ds(layouts::cdsInfoAval());
    attachWriteThrough(ds, server);
    loadInfo(ds);
    // A deletion is not sent on its own but travels, first, with the next write.
    ASSERT_TRUE(ds.locate(QStringLiteral("CDTBMETOAVAL;CDTIPODADO"), {"02", "01"}));
    ds.remove();
    EXPECT_TRUE(server.calls.isEmpty());
    setInfoValue(ds, "01", "02", "1,80");

    ASSERT_EQ(server.calls.size(), 1);
    EXPECT_EQ(server.calls[0].args[1].toString(), QStringLiteral("_DSOBSERAVAL_CDFATOINJU"));
    const Delta sent = server.lastDelta();
    ASSERT_EQ(sent.changes.size(), 2);
    EXPECT_EQ(sent.changes[0].kind, DeltaChange::Kind::Delete);
    EXPECT_EQ(sent.changes[0].oldValues[col(ds, "CDTBMETOAVAL")].toString(), QStringLiteral("02"));
    EXPECT_EQ(sent.changes[1].kind, DeltaChange::Kind::Update);
    EXPECT_EQ(ds.changeCount(), 0);

    // Posting the row again with the same text is no change and sends nothing.
    setInfoValue(ds, "01", "02", "1,80");
    EXPECT_EQ(server.calls.size(), 1);
}

TEST(WriteThrough, AFailedWriteUndoesEveryUnmergedChangeAndOnlyLaterOnesAreSentNext)
{
    // The server refuses, or the transport throws on the way: the same for the dataset;
    // the failing post is an update or an insert, with an earlier deletion pending and an
    // earlier write already merged, which stays.
    // clang-format off
    const struct { bool throws; bool insert; } rows[] = {{false, false}, {true, false}, {false, true}};
    // clang-format on
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.throws ? "thrown" : "refused") + (r.insert ? " insert" : ""));
        RecordingAppServer server;
        bool fail = false;
        server.answer = [&fail, throws = r.throws](const QString&, const QJsonArray&) -> Reply {
            if (fail && throws)
                throw Error(QStringLiteral("Conexão recusada."));
            return fail ? Reply::failure(QStringLiteral("Violação de chave primária."))
                        : Reply::success(QJsonValue());
        };
        DataSet ds(layouts::cdsInfoAval());
        attachWriteThrough(ds, server);
        loadInfo(ds);
        setInfoValue(ds, "01", "01", "68");  // accepted and merged
        const Packet before = ds.toPacket();

        fail = true;
        ASSERT_TRUE(ds.locate(QStringLiteral("CDTBMETOAVAL;CDTIPODADO"), {"02", "01"}));
        ds.remove();  // not sent on its own
        EXPECT_EQ(server.calls.size(), 1);
        if (r.insert) {
            ds.append();
            ds.setValue(QStringLiteral("CDTBMETOAVAL"), QStringLiteral("05"));
            EXPECT_THROW(ds.post(), Error);
        } else {
            EXPECT_THROW(setInfoValue(ds, "01", "02", "1,80"), Error);
        }
        ASSERT_EQ(server.calls.size(), 2);
        EXPECT_EQ(server.lastDelta().changes.size(), 2);
        EXPECT_EQ(ds.state(), DataSetState::Browse);
        EXPECT_EQ(ds.changeCount(), 0);
        EXPECT_EQ(ds.toPacket().rows, before.rows);

        fail = false;
        setInfoValue(ds, "01", "01", "69");
        ASSERT_EQ(server.calls.size(), 3);
        EXPECT_EQ(server.lastDelta().changes.size(), 1);
    }
}

TEST(WriteThrough, APostFromWithinAnotherDatasetsAfterPostWritesThrough)
{
    RecordingAppServer server;
    DataSet grid(layouts::cdsDadosAval());
    DataSet recorded(layouts::cdsInfoAval());
    attachWriteThrough(recorded, server);
    loadInfo(recorded);
    // A value typed in the grid is carried to every method row of its type.
    grid.afterPost = [&recorded](DataSet& g) {
        const QString type = g.asString(QStringLiteral("CDTIPODADO"));
        for (recorded.first(); !recorded.eof(); recorded.next()) {
            if (recorded.asString(QStringLiteral("CDTIPODADO")) != type)
                continue;
            recorded.edit();
            recorded.setValue(QStringLiteral("DSINFOAVAL"), g.value(QStringLiteral("DSINFOAVAL")));
            recorded.post();
        }
    };
    grid.loadPacket(packetOf(
        grid.fields(), {{{"CDTIPODADO", "01"}, {"NMTIPODADO", "Peso"}, {"DSINFOAVAL", "70,5"}}}));
    grid.edit();
    grid.setValue(QStringLiteral("DSINFOAVAL"), QStringLiteral("68"));
    grid.post();

    ASSERT_EQ(server.calls.size(), 2);  // one per method row of type 01
    EXPECT_EQ(recorded.changeCount(), 0);
    ASSERT_TRUE(recorded.locate(QStringLiteral("CDTBMETOAVAL;CDTIPODADO"), {"02", "01"}));
    EXPECT_EQ(recorded.asString(QStringLiteral("DSINFOAVAL")), QStringLiteral("68"));
}

TEST(WriteThrough, RunsBeforeTheAfterPostHandlerItWrapsAndRefusesBadSetups)
{
    RecordingAppServer server;
    DataSet ds(layouts::cdsInfoAval());
    int changesSeenByHandler = -1;
    ds.afterPost = [&](DataSet& d) { changesSeenByHandler = d.changeCount(); };
    attachWriteThrough(ds, server);
    loadInfo(ds);
    setInfoValue(ds, "01", "01", "71");
    EXPECT_EQ(changesSeenByHandler, 0);  // already merged

    DataSet scratch(layouts::cdsDadosAval());
    EXPECT_THROW(attachWriteThrough(scratch, server), Error);
    EXPECT_THROW(attachWriteThrough(scratch, server, QStringLiteral("SetNada")), Error);
    EXPECT_FALSE(bool(scratch.afterPost));
}
