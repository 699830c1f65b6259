#include "records/choice_lists.h"
#include "records/layouts.h"
#include "records/write_through.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace records;

TEST(Layouts, NamesAreUniqueAndFoundByName)
{
    QSet<QString> seen;
    for (const DataSetLayout* l : layouts::all()) {
        EXPECT_FALSE(seen.contains(l->name)) << l->name.toStdString();
        seen.insert(l->name);
        EXPECT_EQ(layouts::byName(l->name), l);
    }
    EXPECT_EQ(layouts::byName(QStringLiteral("cdsNaoExiste")), nullptr);
    EXPECT_EQ(layouts::byName(QStringLiteral("cdsMetoAval")), &layouts::cdsMetoAval());
}

TEST(Layouts, FieldNamesUniqueKeysExistAndStringsHaveASize)
{
    for (const DataSetLayout* l : layouts::all()) {
        const std::string where = l->name.toStdString();
        EXPECT_FALSE(l->fields.isEmpty()) << where;
        QSet<QString> fieldNames;
        for (const FieldDef& f : l->fields) {
            EXPECT_FALSE(fieldNames.contains(f.name)) << where << " " << f.name.toStdString();
            fieldNames.insert(f.name);
            if (f.type == FieldType::String) {
                EXPECT_GT(f.size, 0) << where << " " << f.name.toStdString();
            }
        }
        for (const QString& k : l->keyFields)
            EXPECT_GE(indexOfField(l->fields, k), 0) << where << " key " << k.toStdString();
        // The client's and the server's idea of which writes carry the null-field list agree.
        if (!l->writeMethod.isEmpty()) {
            EXPECT_FALSE(l->keyFields.isEmpty()) << where;
            EXPECT_EQ(takesNullFieldList(l->writeMethod), l->sendsNullFieldList) << where;
        }
    }
}

TEST(ChoiceLists, AreFoundByNameAndTheirTextsFitTheTextField)
{
    for (const ChoiceList* l : choice_lists::all()) {
        SCOPED_TRACE(l->name.toStdString());
        EXPECT_EQ(choice_lists::byName(l->name), l);
        for (const ChoiceRow& row : l->rows)
            EXPECT_LE(row.text.size(), l->fields[1].size) << row.text.toStdString();
    }
    // A list with a value column gives it in the packet, one without gives two fields.
    const Packet hosp = choice_lists::cdsTrabPaciHosp().toPacket();
    ASSERT_EQ(hosp.fields.size(), 3);
    EXPECT_EQ(hosp.value(5, QStringLiteral("VRFATOR")).toString(), QStringLiteral("30-35"));
    EXPECT_EQ(choice_lists::cdsNaf().toPacket().rows.first().size(), 2);
}
