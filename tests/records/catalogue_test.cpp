#include "records/catalogue.h"
#include "records/error.h"

#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

using namespace records;

TEST(Catalogue, LinksAreUniqueAndNameKnownMethodsAndTypes)
{
    QSet<QString> pairs, linkedMethods;
    for (const auto& l : catalogueLinks()) {
        EXPECT_TRUE(findCatalogueMethod(l.CDTBMETOAVAL)) << l.CDTBMETOAVAL.toStdString();
        EXPECT_TRUE(findCatalogueDataType(l.CDTIPODADO)) << l.CDTIPODADO.toStdString();
        const QString pair = l.CDTBMETOAVAL + l.CDTIPODADO;
        EXPECT_FALSE(pairs.contains(pair)) << pair.toStdString();
        pairs.insert(pair);
        linkedMethods.insert(l.CDTBMETOAVAL);
    }
    // Every method but the arm muscle area has links in the exported table.
    for (const auto& m : catalogueMethods())
        EXPECT_EQ(linkedMethods.contains(m.CDTBMETOAVAL), m.CDTBMETOAVAL != QLatin1String("05"))
            << m.CDTBMETOAVAL.toStdString();

    // The extra links name known codes and are absent from the exported table.
    for (const auto& l : catalogueExtraLinks()) {
        EXPECT_TRUE(findCatalogueMethod(l.CDTBMETOAVAL) && findCatalogueDataType(l.CDTIPODADO));
        EXPECT_FALSE(pairs.contains(l.CDTBMETOAVAL + l.CDTIPODADO));
    }
}

TEST(CatalogueMessages, EveryKeyHasOneTextAndIsMatchedWithoutCase)
{
    // Keys match whatever their case; the waist-to-hip ratio of method "07" has a text
    // though no catalogue entry.
    EXPECT_EQ(catalogueMessage(CatalogueMessages::MsgTbMeAv, u"imc_calc"),
              catalogueMessage(CatalogueMessages::MsgTbMeAv, u"IMC_CALC"));
    EXPECT_FALSE(catalogueMessage(CatalogueMessages::MsgTbMeAv, u"imc_calc").isEmpty());
    EXPECT_TRUE(findCatalogueMessage(CatalogueMessages::MsgTbMeAv, u"RCQ_Calc"));

    // Unknown keys, and keys of the other table, have no text.
    EXPECT_FALSE(findCatalogueMessage(CatalogueMessages::MsgTbMeAv, u"Pes_Calc"));
    EXPECT_FALSE(findCatalogueMessage(CatalogueMessages::MsgTpDado, u"IMC_Calc"));
    EXPECT_FALSE(findCatalogueMessage(CatalogueMessages::MsgTpDado, u""));
    EXPECT_EQ(catalogueMessage(CatalogueMessages::MsgTpDado, u"kg "), QString());
}

TEST(CatalogueDecoders, MalformedEntriesAreRefusedWithTheirText)
{
    const QString good = QString::fromUtf8(astTbMetoAval[0]);
    EXPECT_EQ(decodeMethodEntry(good).NMTBMETOAVAL, QStringLiteral("IMC/Peso Teórico"));

    auto replaced = [&](qsizetype pos, const char* with) {
        QString e = good;
        e.replace(pos, qsizetype(qstrlen(with)), QString::fromLatin1(with));
        return e;
    };
    const QStringList bad = {
        good.left(73),              // no name
        replaced(0, "4"),           // flag out of range
        replaced(1, "0A"),          // code not digits
        replaced(3, "1119000 "),    // control number of seven digits
        replaced(11, "x"),          // no blanks after the control number
        replaced(13, "        "),   // blank key
        replaced(13, "NoSuchKey"),  // key without a text
    };
    for (const QString& e : bad) {
        try {
            decodeMethodEntry(e);
            ADD_FAILURE() << "accepted: " << e.toStdString();
        } catch (const Error& err) {
            EXPECT_TRUE(err.message().contains(e)) << err.message().toStdString();
        }
    }

    EXPECT_EQ(decodeDataTypeEntry(u"01kgPes_Calc").NMTIPODADO, QLatin1String("Peso"));
    EXPECT_THROW(decodeDataTypeEntry(u"01kg"), Error);           // no name key
    EXPECT_THROW(decodeDataTypeEntry(u"1 kgPes_Calc"), Error);   // code not digits
    EXPECT_THROW(decodeDataTypeEntry(u"01xxPes_Calc"), Error);   // unknown unit
    EXPECT_THROW(decodeDataTypeEntry(u"01  Nada_Calc"), Error);  // unknown name

    EXPECT_EQ(decodeLinkEntry(u"0405"),
              (CatalogueLink{QStringLiteral("04"), QStringLiteral("05")}));
    EXPECT_THROW(decodeLinkEntry(u"040"), Error);
    EXPECT_THROW(decodeLinkEntry(u"04055"), Error);
    EXPECT_THROW(decodeLinkEntry(u"04 5"), Error);
}
