#include "records/catalogue.h"
#include "records/error.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

using namespace records;

namespace {

QString code2(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QSet<QString> codesFrom(int first, int last, int missing)
{
    QSet<QString> out;
    for (int n = first; n <= last; ++n)
        if (n != missing)
            out.insert(code2(n));
    return out;
}

CatalogueMethod method(const char* code)
{
    const auto m = findCatalogueMethod(QString::fromLatin1(code));
    if (!m)
        throw Error(QStringLiteral("no method %1").arg(QString::fromLatin1(code)));
    return *m;
}

CatalogueDataType dataType(const char* code)
{
    const auto t = findCatalogueDataType(QString::fromLatin1(code));
    if (!t)
        throw Error(QStringLiteral("no data type %1").arg(QString::fromLatin1(code)));
    return *t;
}

QStringList linkedTypes(const QList<CatalogueLink>& links, const QString& methodCode)
{
    QStringList out;
    for (const CatalogueLink& l : links)
        if (l.CDTBMETOAVAL == methodCode)
            out.append(l.CDTIPODADO);
    return out;
}

}  // namespace

TEST(Catalogue, CountsAndCodesAreThoseOfTheCatalogue)
{
    const auto methods = catalogueMethods();
    const auto types = catalogueDataTypes();
    const auto links = catalogueLinks();
    ASSERT_EQ(methods.size(), 68);
    ASSERT_EQ(types.size(), 52);
    ASSERT_EQ(links.size(), 154);

    QSet<QString> methodCodes, typeCodes;
    for (const auto& m : methods)
        methodCodes.insert(m.CDTBMETOAVAL);
    for (const auto& t : types)
        typeCodes.insert(t.CDTIPODADO);
    // Unique, "00".."68" without "07"; "01".."53" without "19".
    EXPECT_EQ(methodCodes, codesFrom(0, 68, 7));
    EXPECT_EQ(typeCodes, codesFrom(1, 53, 19));
    EXPECT_FALSE(findCatalogueMethod(u"07"));
    EXPECT_FALSE(findCatalogueDataType(u"19"));
    EXPECT_FALSE(findCatalogueMethod(u"69"));

    // Entry order: methods and types ascending by code, links grouped by method in
    // method order.
    for (qsizetype i = 1; i < methods.size(); ++i)
        EXPECT_LT(methods[i - 1].CDTBMETOAVAL, methods[i].CDTBMETOAVAL);
    for (qsizetype i = 1; i < types.size(); ++i)
        EXPECT_LT(types[i - 1].CDTIPODADO, types[i].CDTIPODADO);
    for (qsizetype i = 1; i < links.size(); ++i)
        EXPECT_LE(links[i - 1].CDTBMETOAVAL, links[i].CDTBMETOAVAL) << i;
    EXPECT_EQ(links.first(), (CatalogueLink{QStringLiteral("01"), QStringLiteral("00")}));
    EXPECT_EQ(links.last(), (CatalogueLink{QStringLiteral("53"), QStringLiteral("68")}));
}

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

    // Its two links come separately, known, and absent from the exported table.
    const auto amb = catalogueAmbLinks();
    ASSERT_EQ(amb.size(), 2);
    EXPECT_EQ(amb[0], (CatalogueLink{QStringLiteral("04"), QStringLiteral("05")}));
    EXPECT_EQ(amb[1], (CatalogueLink{QStringLiteral("08"), QStringLiteral("05")}));
    for (const auto& l : amb)
        EXPECT_FALSE(pairs.contains(l.CDTBMETOAVAL + l.CDTIPODADO));
}

TEST(Catalogue, LinksKeepTheirTableOrderWithinAMethod)
{
    const auto links = catalogueLinks();
    auto of = [&](const char* m) { return linkedTypes(links, QString::fromLatin1(m)).join(u' '); };
    EXPECT_EQ(of("50"), QLatin1String("11 10"));
    EXPECT_EQ(of("29"), QLatin1String("01 03 04 05 06 38"));
    EXPECT_EQ(of("30"), QLatin1String("01 02 17 18 23 24 25"));
    EXPECT_EQ(of("34"), QLatin1String("01 17 18 29 30 31 32"));
    EXPECT_EQ(of("59"), QLatin1String("01 44 45 46 47 48 49 50"));
    EXPECT_EQ(of("65"), QLatin1String("01 02 26 51"));
    EXPECT_EQ(of("52"), QLatin1String("05 08 09 12"));
}

TEST(Catalogue, MethodEntriesKeepTheirFixedPositions)
{
    for (const char* raw : astTbMetoAval) {
        const QString e = QString::fromUtf8(raw);
        SCOPED_TRACE(e.toStdString());
        ASSERT_GE(e.size(), 74);
        EXPECT_TRUE(QStringLiteral("0123").contains(e[0]));
        EXPECT_EQ(e.mid(3, 10).size(), 10);
        EXPECT_EQ(e.mid(11, 2), QLatin1String("  "));
        EXPECT_TRUE(e.mid(3, 8).toULongLong() >= 11190000);
        // The key fills positions 14 to 73 with its trailing blanks; the name follows.
        const QString keyField = e.mid(13, 60);
        EXPECT_NE(keyField[0], QLatin1Char(' '));
        EXPECT_EQ(keyField.trimmed().size(), keyField.indexOf(QLatin1Char(' ')));
        EXPECT_NE(e[73], QLatin1Char(' '));
    }
    const QString first = QString::fromUtf8(astTbMetoAval.front());
    EXPECT_EQ(first.left(13), QLatin1String("00011190000  "));
    EXPECT_EQ(first.mid(13, 8), QLatin1String("IMC_Calc"));
    EXPECT_EQ(first.mid(73), QStringLiteral("IMC/Peso Teórico"));
}

TEST(Catalogue, DataTypeAndLinkEntriesKeepTheirFixedPositions)
{
    EXPECT_EQ(QString::fromUtf8(astTipoDado[1]), QLatin1String("02m_Alt_Calc"));
    EXPECT_EQ(QString::fromUtf8(astTipoDado[21]), QLatin1String("23  FTco_Calc"));
    EXPECT_EQ(QString::fromUtf8(astTipoDado[7]), QStringLiteral("08cmCBço_Calc"));
    for (const char* raw : astTipoDado) {
        const QString e = QString::fromUtf8(raw);
        const QString unit = e.mid(2, 2);
        EXPECT_TRUE(unit == QLatin1String("  ") || !unit.contains(QLatin1Char(' ')))
            << e.toStdString();
    }
    for (const char* raw : astDadoAval)
        EXPECT_EQ(QString::fromLatin1(raw).size(), 4) << raw;
}

TEST(Catalogue, SharedDescriptionKeysGiveTheSameDescription)
{
    EXPECT_EQ(method("06").descriptionKey, QLatin1String("PICF_Calc"));
    EXPECT_EQ(method("19").descriptionKey, QLatin1String("PICF_Calc"));
    EXPECT_EQ(method("06").DSTBMETOAVAL, QStringLiteral("Peso Ideal (Compleição Física)"));
    EXPECT_EQ(method("19").DSTBMETOAVAL, QStringLiteral("Peso Ideal (Compleição Física)"));
    EXPECT_EQ(method("30").descriptionKey, QLatin1String("GEB_Calc"));
    EXPECT_EQ(method("32").descriptionKey, QLatin1String("GEB_Calc"));
    EXPECT_EQ(method("32").DSTBMETOAVAL, QStringLiteral("Gasto Energético Basal"));
    EXPECT_EQ(method("00").descriptionKey, QLatin1String("IMC_Calc"));
    EXPECT_EQ(method("01").descriptionKey, QLatin1String("IMC_Calc"));
    EXPECT_EQ(method("01").DSTBMETOAVAL, QStringLiteral("Índice de Massa Corpórea"));
    // Different key, same text.
    EXPECT_EQ(method("18").descriptionKey, QLatin1String("IMCA_Calc"));
    EXPECT_EQ(method("18").DSTBMETOAVAL, QStringLiteral("Índice de Massa Corpórea"));
}

TEST(Catalogue, MethodRowsMatchTheCatalogue)
{
    const CatalogueMethod pt = method("21");
    EXPECT_EQ(pt.NRCTMETOAVAL, QLatin1String("11190024"));
    EXPECT_EQ(pt.IDTBUTILTABE, QLatin1String("0"));
    EXPECT_EQ(pt.NMTBMETOAVAL, QLatin1String("PT / PC"));
    EXPECT_EQ(pt.DSTBMETOAVAL, QStringLiteral("Perímetro Toráxico / Perímetro Cefálico"));

    // "29" and "37" share a control number; "30" and "32" sit out of code order.
    EXPECT_EQ(method("29").NRCTMETOAVAL, QLatin1String("11190037"));
    EXPECT_EQ(method("37").NRCTMETOAVAL, QLatin1String("11190037"));
    EXPECT_EQ(method("30").NRCTMETOAVAL, QLatin1String("11190021"));
    EXPECT_EQ(method("32").NRCTMETOAVAL, QLatin1String("11190023"));
    EXPECT_EQ(method("28").NRCTMETOAVAL, QLatin1String("11190036"));

    EXPECT_EQ(method("06").IDTBUTILTABE, QLatin1String("3"));
    EXPECT_EQ(method("12").IDTBUTILTABE, QLatin1String("2"));
    EXPECT_EQ(method("33").IDTBUTILTABE, QLatin1String("1"));
    EXPECT_EQ(method("26").descriptionKey, QLatin1String("%PP_Calc"));
    EXPECT_EQ(method("26").DSTBMETOAVAL, QLatin1String("% Perda de Peso"));
    EXPECT_EQ(method("30").NMTBMETOAVAL, QLatin1String("Harris-Benedict/Long"));
    EXPECT_EQ(method("68").NMTBMETOAVAL, QLatin1String("IMC para Gestantes"));
    EXPECT_EQ(method("66").NMTBMETOAVAL,
              QLatin1String("EER para Lactantes com Idade entre 19 e 50 anos de Idade"));
    EXPECT_EQ(method("54").NMTBMETOAVAL,
              QStringLiteral("Compleição Óssea (Metropolitan Life 1983)"));

    // The decoded rows fit the server's fields.
    for (const auto& m : catalogueMethods()) {
        EXPECT_EQ(m.NRCTMETOAVAL.size(), 8);
        EXPECT_LE(m.DSTBMETOAVAL.size(), 60) << m.CDTBMETOAVAL.toStdString();
        EXPECT_LE(m.NMTBMETOAVAL.size(), 80) << m.CDTBMETOAVAL.toStdString();
        EXPECT_FALSE(m.DSTBMETOAVAL.isEmpty());
    }
}

TEST(Catalogue, EveryMethodHasItsTableUseFlagAndControlNumber)
{
    // The flag decides which reference list a method offers, so each one is pinned,
    // ten entries per group in entry order.
    const QStringList flagGroups = {
        QStringLiteral("0111113111"), QStringLiteral("0221110030"), QStringLiteral("0002200110"),
        QStringLiteral("0010202222"), QStringLiteral("2222222100"), QStringLiteral("0000000001"),
        QStringLiteral("00000000"),
    };
    QString flags;
    for (const auto& m : catalogueMethods())
        flags += m.IDTBUTILTABE;
    EXPECT_EQ(flags, flagGroups.join(QString()));

    // Control numbers follow the code up to "20" and from "37" on; in between they
    // are out of code order.
    const QHash<QString, QString> outOfOrder = {
        {"21", "11190024"}, {"22", "11190025"}, {"23", "11190026"}, {"24", "11190029"},
        {"25", "11190030"}, {"26", "11190031"}, {"27", "11190032"}, {"28", "11190036"},
        {"29", "11190037"}, {"30", "11190021"}, {"31", "11190033"}, {"32", "11190023"},
        {"33", "11190027"}, {"34", "11190028"}, {"35", "11190034"}, {"36", "11190035"},
    };
    for (const auto& m : catalogueMethods()) {
        const QString expected =
            outOfOrder.value(m.CDTBMETOAVAL, QStringLiteral("111900") + m.CDTBMETOAVAL);
        EXPECT_EQ(m.NRCTMETOAVAL, expected) << m.CDTBMETOAVAL.toStdString();
    }
}

TEST(Catalogue, EveryDataTypeHasItsUnit)
{
    const QHash<QString, QString> units = {
        {"01", "kg"}, {"02", "m"},  {"03", "mm"}, {"04", "mm"}, {"05", "mm"}, {"06", "mm"},
        {"07", "cm"}, {"08", "cm"}, {"09", "cm"}, {"10", "cm"}, {"11", "cm"}, {"12", "cm"},
        {"13", "kg"}, {"14", "%"},  {"15", "kg"}, {"16", "%"},  {"17", "kg"}, {"18", "kg"},
        {"20", "cm"}, {"21", "cm"}, {"22", "cm"}, {"35", "kg"}, {"38", "mm"}, {"39", "kg"},
    };
    for (const auto& t : catalogueDataTypes()) {
        // Every other type (factors, answers, limbs) has no unit.
        EXPECT_EQ(t.DSUNIDDADO, units.value(t.CDTIPODADO)) << t.CDTIPODADO.toStdString();
    }
}

TEST(Catalogue, DataTypeRowsMatchTheCatalogue)
{
    EXPECT_EQ(dataType("01").DSUNIDDADO, QLatin1String("kg"));
    EXPECT_EQ(dataType("01").NMTIPODADO, QLatin1String("Peso"));
    EXPECT_EQ(dataType("02").unitKey, QLatin1String("m_"));
    EXPECT_EQ(dataType("02").DSUNIDDADO, QLatin1String("m"));
    EXPECT_EQ(dataType("14").DSUNIDDADO, QLatin1String("%"));
    EXPECT_EQ(dataType("14").NMTIPODADO, QLatin1String("Bia Gordura Atual"));
    EXPECT_EQ(dataType("23").unitKey, QString());
    EXPECT_EQ(dataType("23").DSUNIDDADO, QString());
    EXPECT_EQ(dataType("23").NMTIPODADO, QStringLiteral("Fator Térmico"));
    EXPECT_EQ(dataType("08").nameKey, QStringLiteral("CBço_Calc"));
    EXPECT_EQ(dataType("08").NMTIPODADO, QStringLiteral("CB - Circunferência do Braço"));
    EXPECT_EQ(dataType("38").DSUNIDDADO, QLatin1String("mm"));
    EXPECT_EQ(dataType("44").NMTIPODADO, QStringLiteral("Membro - Mão"));
    EXPECT_EQ(dataType("47").NMTIPODADO, QStringLiteral("Membro - Pé"));
    EXPECT_EQ(dataType("53").NMTIPODADO, QLatin1String("Semana Gestacional"));

    for (const auto& t : catalogueDataTypes()) {
        EXPECT_FALSE(t.NMTIPODADO.isEmpty());
        EXPECT_LE(t.NMTIPODADO.size(), 40) << t.CDTIPODADO.toStdString();
        EXPECT_LE(t.DSUNIDDADO.size(), 10);
        EXPECT_EQ(t.unitKey.isEmpty(), t.DSUNIDDADO.isEmpty());
    }
}

TEST(CatalogueMessages, EveryKeyHasOneTextAndIsMatchedWithoutCase)
{
    for (const auto table : {CatalogueMessages::MsgTbMeAv, CatalogueMessages::MsgTpDado}) {
        QSet<QString> keys;
        const QStringList lines = QString::fromUtf8(catalogueMessageLines(table))
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        EXPECT_GT(lines.size(), 50);
        for (const QString& line : lines) {
            const qsizetype bar = line.indexOf(QLatin1Char('|'));
            ASSERT_GT(bar, 0) << line.toStdString();
            EXPECT_FALSE(line.mid(bar + 1).trimmed().isEmpty()) << line.toStdString();
            const QString key = line.left(bar).toLower();
            EXPECT_FALSE(keys.contains(key)) << line.toStdString();
            keys.insert(key);
        }
    }

    EXPECT_EQ(catalogueMessage(CatalogueMessages::MsgTbMeAv, u"imc_calc"),
              QStringLiteral("Índice de Massa Corpórea"));
    EXPECT_EQ(catalogueMessage(CatalogueMessages::MsgTbMeAv, u"GEB_CALC"),
              QStringLiteral("Gasto Energético Basal"));
    EXPECT_EQ(catalogueMessage(CatalogueMessages::MsgTpDado, u"CBÇO_CALC"),
              QStringLiteral("CB - Circunferência do Braço"));
    EXPECT_EQ(catalogueMessage(CatalogueMessages::MsgTpDado, u"M_"), QLatin1String("m"));
    // The waist-to-hip ratio of method "07" has a description though no catalogue entry.
    EXPECT_EQ(catalogueMessage(CatalogueMessages::MsgTbMeAv, u"RCQ_Calc"),
              QStringLiteral("Relação Cintura Quadril"));

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
