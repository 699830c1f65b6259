#include "dataset_test_support.h"

#include "records/error.h"
#include "records/layouts.h"

#include <gtest/gtest.h>

using namespace records;
using namespace records::testing;

namespace {

FieldList mixedFields()
{
    return {{QStringLiteral("CDTIPODADO"), FieldType::String, 2},
            {QStringLiteral("QTLINHAS"), FieldType::Integer},
            {QStringLiteral("VRPESO"), FieldType::Real},
            {QStringLiteral("DTCONSPACI"), FieldType::DateTime},
            {QStringLiteral("DSHISTAVALNUT"), FieldType::Blob},
            {QStringLiteral("DSINFOAVAL"), FieldType::String, 30}};
}

}  // namespace

TEST(Values, AreCoercedToTheFieldTypeRefusedWhenTheyDoNotFitAndReadInEachForm)
{
    DataSet ds(mixedFields(), QStringLiteral("cdsTeste"));
    ds.append();
    ds.setValue(QStringLiteral("QTLINHAS"), QStringLiteral("12"));
    ds.setValue(QStringLiteral("VRPESO"), QStringLiteral("70,5"));
    ds.setValue(QStringLiteral("DTCONSPACI"), QStringLiteral("2026-03-10"));
    ds.setValue(QStringLiteral("DSHISTAVALNUT"), QStringLiteral("<p>Eutrófico</p>"));
    EXPECT_EQ(ds.value(QStringLiteral("QTLINHAS")).toLongLong(), 12);
    EXPECT_EQ(ds.value(QStringLiteral("VRPESO")).toDouble(), 70.5);
    EXPECT_EQ(ds.value(QStringLiteral("DTCONSPACI")).toDateTime(), consultationDate());
    EXPECT_EQ(ds.asString(QStringLiteral("DSHISTAVALNUT")), QStringLiteral("<p>Eutrófico</p>"));

    // Refused values leave the field as it was.
    EXPECT_THROW(ds.setValue(QStringLiteral("QTLINHAS"), QStringLiteral("doze")), Error);
    EXPECT_THROW(ds.setValue(QStringLiteral("QTLINHAS"), 1.5), Error);
    EXPECT_THROW(ds.setValue(QStringLiteral("VRPESO"), QStringLiteral("70 kg")), Error);
    EXPECT_THROW(ds.setValue(QStringLiteral("DTCONSPACI"), QStringLiteral("31/02/2026")), Error);
    EXPECT_THROW(ds.setValue(QStringLiteral("CDTIPODADO"), QStringLiteral("123")), Error);
    EXPECT_THROW(ds.setValue(QStringLiteral("NAOEXISTE"), 1), Error);
    EXPECT_EQ(ds.value(QStringLiteral("QTLINHAS")).toLongLong(), 12);
    EXPECT_EQ(ds.value(QStringLiteral("VRPESO")).toDouble(), 70.5);
    EXPECT_TRUE(ds.isNull(QStringLiteral("CDTIPODADO")));
    ds.setValue(QStringLiteral("CDTIPODADO"), QStringLiteral("12"));
    ds.post();

    // Outside edit or insert nothing can be set.
    EXPECT_THROW(ds.setValue(QStringLiteral("QTLINHAS"), 3), Error);

    // Read as text, number and integer.
    ds.edit();
    ds.setValue(QStringLiteral("QTLINHAS"), QVariant());
    ds.setValue(QStringLiteral("VRPESO"), 70.25);
    ds.setValue(QStringLiteral("DSINFOAVAL"), QStringLiteral("1.5"));
    ds.post();
    EXPECT_EQ(ds.asString(QStringLiteral("VRPESO")), QStringLiteral("70,25"));
    EXPECT_EQ(ds.asString(QStringLiteral("DTCONSPACI")), QStringLiteral("10/03/2026"));
    EXPECT_EQ(ds.asInteger(QStringLiteral("VRPESO")), 70);
    EXPECT_EQ(ds.asFloat(QStringLiteral("DSINFOAVAL")), 1.5);
    EXPECT_EQ(ds.asFloat(QStringLiteral("QTLINHAS")), 0.0);  // null
    EXPECT_EQ(ds.asString(QStringLiteral("QTLINHAS")), QString());
    ds.edit();
    ds.setValue(QStringLiteral("DSINFOAVAL"), QStringLiteral("2,"));
    EXPECT_EQ(ds.asFloat(QStringLiteral("DSINFOAVAL")), 2.0);
    ds.setValue(QStringLiteral("DSINFOAVAL"), QStringLiteral("S"));
    EXPECT_THROW(ds.asFloat(QStringLiteral("DSINFOAVAL")), Error);
    EXPECT_THROW(ds.asInteger(QStringLiteral("DSINFOAVAL")), Error);
    EXPECT_THROW(ds.asFloat(QStringLiteral("DTCONSPACI")), Error);
}

TEST(Values, LoadingMatchesFieldsByNameAndABadPacketChangesNothing)
{
    DataSet ds(mixedFields());
    Packet p;
    p.fields = {{QStringLiteral("VRPESO"), FieldType::Real},
                {QStringLiteral("CDTIPODADO"), FieldType::String, 2},
                {QStringLiteral("EXTRA"), FieldType::String, 5}};
    p.rows = {{70.5, QStringLiteral("01"), QStringLiteral("x")}};
    ds.loadPacket(p);
    EXPECT_EQ(ds.asString(QStringLiteral("CDTIPODADO")), QStringLiteral("01"));
    EXPECT_EQ(ds.asFloat(QStringLiteral("VRPESO")), 70.5);
    EXPECT_TRUE(ds.isNull(QStringLiteral("DTCONSPACI")));
    EXPECT_FALSE(ds.hasField(QStringLiteral("EXTRA")));

    ds.edit();
    ds.setValue(QStringLiteral("CDTIPODADO"), QStringLiteral("02"));
    ds.post();
    Packet bad;
    bad.fields = {{QStringLiteral("DTCONSPACI"), FieldType::String, 10}};
    bad.rows = {{QStringLiteral("amanhã")}};
    EXPECT_THROW(ds.loadPacket(bad), Error);
    EXPECT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ds.changeCount(), 1);
    EXPECT_EQ(ds.asString(QStringLiteral("CDTIPODADO")), QStringLiteral("02"));

    // A dataset built without fields takes the packet's.
    DataSet open(FieldList{}, QStringLiteral("cdsAberto"));
    open.loadPacket(p);
    EXPECT_EQ(open.fields().size(), 3);
}

TEST(Values, DisplayHandlersShapeTheTextAndCalculatedFieldsAreSetWhileBrowsing)
{
    DataSet ds(layouts::cdsNutrRefe());
    ds.loadPacket(packetOf(ds.fields(), {{{"CDRFNUTRECOM", "01"}, {"DSRFNUTRECOM", "RDA 1989"}}}));
    ds.setDisplayTextHandler(QStringLiteral("CDRFNUTRECOM"), [](const DataSet& d, int row) {
        return d.asStringAt(row, QStringLiteral("DSRFNUTRECOM"));
    });
    EXPECT_EQ(ds.displayText(QStringLiteral("CDRFNUTRECOM")), QStringLiteral("RDA 1989"));
    EXPECT_EQ(ds.asString(QStringLiteral("CDRFNUTRECOM")), QStringLiteral("01"));
    ds.setValue(QStringLiteral("NMNUTRESC"), QStringLiteral("Cálcio | Ferro "));
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(ds.changeCount(), 0);
}
