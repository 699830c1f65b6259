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
