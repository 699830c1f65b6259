// The method and data type descriptors against the catalogue tables, and the rules the
// client and the server read from them.

#include "records/catalogue.h"
#include "records/catalogue_descriptors.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace records;

TEST(CatalogueDescriptors, OneDescriptorPerCatalogueCodeAndNoOther)
{
    QSet<QString> methods;
    for (const CatalogueMethod& m : catalogueMethods())
        methods.insert(m.CDTBMETOAVAL);
    QSet<QString> described;
    for (const MethodDescriptor& d : methodDescriptors()) {
        EXPECT_FALSE(described.contains(QString(d.code))) << d.code.data();
        described.insert(QString(d.code));
    }
    // the catalogue's 68 and the dispatched code without a catalogue entry
    EXPECT_EQ(described, methods + QSet<QString>{QString(method::kRcq)});

    QSet<QString> types;
    for (const CatalogueDataType& t : catalogueDataTypes())
        types.insert(t.CDTIPODADO);
    QSet<QString> describedTypes;
    for (const DataTypeDescriptor& d : dataTypeDescriptors())
        describedTypes.insert(QString(d.code));
    EXPECT_EQ(describedTypes, types);
}

TEST(CatalogueDescriptors, GroupsReferencesAndPagesHoldTogether)
{
    for (const MethodDescriptor& d : methodDescriptors()) {
        SCOPED_TRACE(d.code.data());
        // a group member names itself in the refusal; no one else has a key
        EXPECT_EQ(d.group == ExclusiveGroup::BodyMassIndex, d.groupMessageKey != nullptr);
        // a shared reference list belongs to a method that has its own
        if (!d.sharesReferencesOf.isEmpty()) {
            const MethodDescriptor* owner = findMethodDescriptor(d.sharesReferencesOf);
            ASSERT_NE(owner, nullptr);
            EXPECT_TRUE(owner->sharesReferencesOf.isEmpty());
        }
        // energy-only facts only on the energy tab
        if (d.energyReferenceChecked || d.idealWeightPass) {
            EXPECT_EQ(d.page, MethodPage::Energy);
        }
        EXPECT_EQ(isEnergyMethod(d.code), d.page == MethodPage::Energy);
    }
    EXPECT_EQ(findMethodDescriptor(method::kPesoIdealMust)->referenceOwner(), method::kImcMust);
    EXPECT_EQ(findMethodDescriptor(method::kImcAdolescente)->referenceOwner(),
              method::kImcAdolescente);
    EXPECT_EQ(findMethodDescriptor(u"1"), nullptr);
    EXPECT_EQ(findMethodDescriptor(u"01 "), nullptr);
    EXPECT_FALSE(isEnergyMethod(u"99"));
}

TEST(CatalogueDescriptors, MethodsOfferedBySexAndAge)
{
    struct Case
    {
        QLatin1String method;
        const char16_t* sex;
        int age;
        bool offered;
    };
    const Case cases[] = {
        {method::kSiri, u"M", 34, true},
        {method::kSiri, u"M", 35, false},
        {method::kSiri, u"F", 60, true},
        {method::kMaturacaoSexual, u"M", 17, true},
        {method::kMaturacaoSexual, u"M", 18, false},
        {method::kMaturacaoSexual, u"F", 40, true},
        {method::kMaturacaoSexual, u"D", 10, false},
        {method::kMaturacaoSexual, u"I", 10, false},
        {method::kEerGest, u"M", 30, false},
        {method::kImcGestante, u"M", 30, false},
        {method::kImcGestante, u"F", 30, true},
        {method::kImcGestante, u"D", 30, true},
        {method::kImc, u"M", 90, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(offeredTo(*findMethodDescriptor(c.method), QStringView(c.sex), c.age), c.offered)
            << c.method.data() << " " << QString::fromUtf16(c.sex).toStdString() << " " << c.age;
}

TEST(CatalogueDescriptors, DataTypeEntriesHoldTogether)
{
    for (const DataTypeDescriptor& d : dataTypeDescriptors()) {
        SCOPED_TRACE(d.code.data());
        EXPECT_EQ(d.entry == DataEntry::Answer, d.answers != AnswerList::None);
        EXPECT_EQ(d.limb != Limb::None, d.answers == AnswerList::Limb);
        EXPECT_TRUE(!d.estimable || d.entry == DataEntry::Number);
    }
    EXPECT_EQ(dataTypeDescriptor(u"19").entry, DataEntry::Text);  // no such type
}
