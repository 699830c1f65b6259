// The consultation remote methods over HTTP, on each engine: what each answers and what
// each write means.

#include "engine_fixture.h"

#include <server/methods/recorded_values.h>

#include <records/packet_codec.h>

using namespace servertest;
using records::Packet;
namespace layouts = records::layouts;

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

records::FieldList fieldsOf(const records::DataSetLayout& layout)
{
    records::FieldList out;
    for (const records::FieldDef& f : layout.fields) {
        records::FieldDef plain;
        plain.name = f.name;
        plain.type = f.type;
        plain.size = f.size;
        out.append(plain);
    }
    return out;
}

}  // namespace

class ConsultationTest : public EngineTest
{
};

TEST_P(ConsultationTest, GetDadosAnswersEightPacketsWithTheLayoutsOfTheDatasets)
{
    const records::Reply reply = app().GetDados(demoKey(), 45.03);
    ASSERT_TRUE(reply.ok) << reply.error.toStdString();
    ASSERT_TRUE(reply.payload.isArray());
    ASSERT_EQ(reply.payload.toArray().size(), 8);
    const QList<const records::DataSetLayout*> expected = {
        &layouts::cdsMetoAval(),    &layouts::cdsMetoAvalEnerg(), &layouts::cdsInsMetoAval(),
        &layouts::cdsInsTipoDado(), &layouts::cdsInsDadoAval(),   &layouts::cdsInfPesoIdeal(),
        &layouts::cdsNutrRefe(),    &layouts::cdsNutrePaci()};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(packetOf(reply, i).fields, fieldsOf(*expected[i])) << "element " << i;

    // The seeded catalogue: 68 methods in entry order, 52 data types, 154 + 2 links.
    const Packet methods = packetOf(reply, 2);
    ASSERT_EQ(methods.rows.size(), 68);
    EXPECT_EQ(methods.value(0, QStringLiteral("CDTBMETOAVAL")), QStringLiteral("00"));
    EXPECT_EQ(methods.value(0, QStringLiteral("IDSEQUMETO")), QStringLiteral("01"));
    EXPECT_EQ(methods.value(67, QStringLiteral("CDTBMETOAVAL")), QStringLiteral("68"));
    EXPECT_EQ(methods.value(67, QStringLiteral("IDSEQUMETO")), QStringLiteral("68"));
    EXPECT_EQ(methods.value(67, QStringLiteral("DSTBMETOAVAL")), s("IMC para Gestantes"));
    EXPECT_EQ(packetOf(reply, 3).rows.size(), 52);
    const Packet links = packetOf(reply, 4);
    EXPECT_EQ(links.rows.size(), 156);
    // Links keep the catalogue's order within a method ("50": "11" before "10").
    const QStringList linkMethods = column(links, QStringLiteral("CDTBMETOAVAL"));
    const QStringList linkTypes = column(links, QStringLiteral("CDTIPODADO"));
    const int first50 = linkMethods.indexOf(QStringLiteral("50"));
    ASSERT_GE(first50, 0);
    EXPECT_EQ(linkTypes.mid(first50, 2), words("11 10"));

    EXPECT_EQ(column(packetOf(reply, 5), QStringLiteral("CDTBMETOAVAL")), words("20 22 23"));
    EXPECT_TRUE(packetOf(reply, 6).isEmpty());
    EXPECT_TRUE(packetOf(reply, 7).isEmpty());
}

TEST_P(ConsultationTest, MethodListsOfferTheCatalogueSplitIntoAnthropometricAndEnergy)
{
    const records::ConsultationKey k = demoKey();
    const Packet anthro = packetOf(app().GetDados(k, 45.03), 0);
    const Packet energy = packetOf(app().GetDados(k, 45.03), 1);
    EXPECT_EQ(anthro.rows.size(), 61);
    EXPECT_EQ(column(energy, QStringLiteral("CDTBMETOAVAL")), words("30 31 32 33 34 35 36"));
    EXPECT_EQ(findRow(anthro, QStringLiteral("CDTBMETOAVAL"), QStringLiteral("30")), -1);
    // Offered rows carry the consultation key (so the module can post them), "N" and the
    // catalogue's columns.
    const int r = findRow(anthro, QStringLiteral("CDTBMETOAVAL"), QStringLiteral("06"));
    ASSERT_GE(r, 0);
    EXPECT_EQ(anthro.value(r, QStringLiteral("CDFILIAL")), k.branch);
    EXPECT_EQ(anthro.value(r, QStringLiteral("CDPACIENTE")), k.patient);
    EXPECT_EQ(anthro.value(r, QStringLiteral("DTCONSPACI")).toDateTime(), k.date);
    EXPECT_EQ(anthro.value(r, QStringLiteral("IDTABELAAV")), QStringLiteral("N"));
    EXPECT_FALSE(anthro.value(r, QStringLiteral("CDTABELACO")).isValid());
    EXPECT_EQ(anthro.value(r, QStringLiteral("IDTBUTILTABE")), QStringLiteral("3"));
    EXPECT_EQ(anthro.value(r, QStringLiteral("NMTBMETOAVAL")), s("Peso Ideal (Metropolitan Life)"));
    EXPECT_EQ(anthro.value(r, QStringLiteral("NRCTMETOAVAL")), QStringLiteral("11190006"));
}

TEST_P(ConsultationTest, MethodAgeBandsOfTheCatalogueDecideWhatIsOffered)
{
    // Weech (23) for children up to 12 years 11 months, set through the catalogue write.
    const Packet methods = packetOf(app().GetDados(demoKey(), 45.03), 2);
    const int r = findRow(methods, QStringLiteral("CDTBMETOAVAL"), QStringLiteral("23"));
    const QVariantMap before = rowValues(methods, r);
    QVariantMap after = before;
    after.insert(QStringLiteral("VRIDADEINITB"), 0.0);
    after.insert(QStringLiteral("VRIDADEFINTB"), 12.11);
    ASSERT_TRUE(
        app().SetInsMetoAval(DeltaBuilder(layouts::cdsInsMetoAval()).update(before, after)).ok);

    auto offered = [this](double age) {
        return findRow(packetOf(app().GetDados(demoKey(), age), 0), QStringLiteral("CDTBMETOAVAL"),
                       QStringLiteral("23"))
               >= 0;
    };
    EXPECT_TRUE(offered(5.03));
    EXPECT_TRUE(offered(12.11));
    EXPECT_FALSE(offered(13.0));
    EXPECT_FALSE(offered(45.03));
    // A method already stored for the consultation stays listed whatever the age.
    const QVariantMap stored =
        merged(keyValues(demoKey()), {{QStringLiteral("CDTBMETOAVAL"), QStringLiteral("23")},
                                      {QStringLiteral("IDTABELAAV"), QStringLiteral("S")}});
    ASSERT_TRUE(
        app().SetMetoAval(DeltaBuilder(layouts::cdsMetoAval()).insert(stored), QString()).ok);
    EXPECT_TRUE(offered(45.03));
}

TEST_P(ConsultationTest, AnOfferedRowBecomesAStoredRowWhenFirstPostedAndDeletesOnlyHide)
{
    const records::ConsultationKey k = demoKey();
    EXPECT_TRUE(packetOf(app().GetExistMetoAval(k, QStringLiteral("00"))).isEmpty());

    const Packet list = packetOf(app().GetDados(k, 45.03), 0);
    const int r = findRow(list, QStringLiteral("CDTBMETOAVAL"), QStringLiteral("00"));
    const QVariantMap before = rowValues(list, r);
    QVariantMap after = merged(before, {{QStringLiteral("IDTABELAAV"), QStringLiteral("S")},
                                        {QStringLiteral("CDTABELACO"), QStringLiteral("01")}});
    ASSERT_TRUE(app()
                    .SetMetoAval(DeltaBuilder(layouts::cdsMetoAval()).update(before, after),
                                 QStringLiteral("_CDTBREFMETOA_NMREFEBIBL"))
                    .ok);
    EXPECT_EQ(column(packetOf(app().GetExistMetoAval(k, QStringLiteral("00"))),
                     QStringLiteral("CDPACIENTE")),
              QStringList{k.patient});

    Packet again = packetOf(app().GetDados(k, 45.03), 0);
    int r2 = findRow(again, QStringLiteral("CDTBMETOAVAL"), QStringLiteral("00"));
    EXPECT_EQ(again.value(r2, QStringLiteral("IDTABELAAV")), QStringLiteral("S"));
    EXPECT_EQ(again.value(r2, QStringLiteral("CDTABELACO")), QStringLiteral("01"));

    // Unselecting clears the reference; the stored row follows.
    QVariantMap unselected = merged(after, {{QStringLiteral("IDTABELAAV"), QStringLiteral("N")},
                                            {QStringLiteral("CDTABELACO"), QVariant()}});
    ASSERT_TRUE(
        app()
            .SetMetoAval(DeltaBuilder(layouts::cdsMetoAval()).update(after, unselected), QString())
            .ok);
    again = packetOf(app().GetDados(k, 45.03), 0);
    r2 = findRow(again, QStringLiteral("CDTBMETOAVAL"), QStringLiteral("00"));
    EXPECT_EQ(again.value(r2, QStringLiteral("IDTABELAAV")), QStringLiteral("N"));
    EXPECT_FALSE(again.value(r2, QStringLiteral("CDTABELACO")).isValid());

    // The module's sex and age filter deletes rows it hides; the delete travels with the
    // next write and stores nothing: the list is still offered whole.
    const int r29 = findRow(list, QStringLiteral("CDTBMETOAVAL"), QStringLiteral("29"));
    const QVariantMap hidden = rowValues(list, r29);
    ASSERT_TRUE(
        app()
            .SetMetoAval(DeltaBuilder(layouts::cdsMetoAval()).remove(hidden).remove(unselected),
                         QString())
            .ok);
    again = packetOf(app().GetDados(k, 45.03), 0);
    EXPECT_GE(findRow(again, QStringLiteral("CDTBMETOAVAL"), QStringLiteral("29")), 0);
    EXPECT_FALSE(packetOf(app().GetExistMetoAval(k, QStringLiteral("00"))).isEmpty());
}

TEST_P(ConsultationTest, MethodListsKeepTheirOwnMethods)
{
    const records::ConsultationKey k = demoKey();
    const QVariantMap energyRow =
        merged(keyValues(k), {{QStringLiteral("CDTBMETOAVAL"), QStringLiteral("30")},
                              {QStringLiteral("IDTABELAAV"), QStringLiteral("S")}});
    records::Reply reply =
        app().SetMetoAval(DeltaBuilder(layouts::cdsMetoAval()).insert(energyRow), QString());
    EXPECT_FALSE(reply.ok);
    EXPECT_TRUE(reply.error.contains(QStringLiteral("'30'"))) << reply.error.toStdString();

    const QVariantMap unknown =
        merged(keyValues(k), {{QStringLiteral("CDTBMETOAVAL"), QStringLiteral("07")}});
    reply = app().SetMetoAval(DeltaBuilder(layouts::cdsMetoAval()).insert(unknown), QString());
    EXPECT_FALSE(reply.ok);
    EXPECT_TRUE(reply.error.contains(s("não está no catálogo"))) << reply.error.toStdString();

    const QVariantMap badMark =
        merged(keyValues(k), {{QStringLiteral("CDTBMETOAVAL"), QStringLiteral("00")},
                              {QStringLiteral("IDTABELAAV"), QStringLiteral("X")}});
    EXPECT_FALSE(
        app().SetMetoAval(DeltaBuilder(layouts::cdsMetoAval()).insert(badMark), QString()).ok);

    // The energy page inserts the weight method "01" when a consultation has none.
    const QVariantMap weightMethod =
        merged(keyValues(k), {{QStringLiteral("CDTBMETOAVAL"), QStringLiteral("01")}});
    ASSERT_TRUE(
        app().SetMetoAval(DeltaBuilder(layouts::cdsMetoAval()).insert(weightMethod), QString()).ok);
    EXPECT_FALSE(packetOf(app().GetExistMetoAval(k, QStringLiteral("01"))).isEmpty());
    ASSERT_TRUE(app()
                    .SetMetoAvalEnerg(DeltaBuilder(layouts::cdsMetoAvalEnerg()).insert(energyRow),
                                      QString())
                    .ok);
    EXPECT_EQ(packetOf(app().GetDados(k, 45.03), 1).value(0, QStringLiteral("IDTABELAAV")),
              QStringLiteral("S"));
}

TEST_P(ConsultationTest, DataGridListsWhatTheSelectedMethodsNeedWithTheRecordedValues)
{
    const records::ConsultationKey k = demoKey();
    selectMethods(app(), k, {QStringLiteral("00"), QStringLiteral("49"), QStringLiteral("50")});

    Packet grid = packetOf(app().GetDadoAval(k));
    EXPECT_EQ(grid.fields, fieldsOf(layouts::cdsDadosAval()));
    EXPECT_EQ(column(grid, QStringLiteral("CDTIPODADO")), words("01 02 10 11"));
    EXPECT_EQ(column(grid, QStringLiteral("DSINFOAVAL")), QStringList(4, QStringLiteral("<null>")));
    EXPECT_EQ(grid.value(0, QStringLiteral("NMTIPODADO")), QStringLiteral("Peso"));
    EXPECT_EQ(grid.value(0, QStringLiteral("DSUNIDDADO")), QStringLiteral("kg"));

    // The weight typed for "00" shows in the grid and is found by type.
    ASSERT_TRUE(app()
                    .SetInfoAval(DeltaBuilder(layouts::cdsInfoAval())
                                     .insert(infoRow(k, QStringLiteral("00"), QStringLiteral("01"),
                                                     QStringLiteral("70,5"))),
                                 QStringLiteral("_DSOBSERAVAL_CDFATOINJU"))
                    .ok);
    grid = packetOf(app().GetDadoAval(k));
    EXPECT_EQ(grid.value(0, QStringLiteral("DSINFOAVAL")), QStringLiteral("70,5"));

    const Packet info = packetOf(app().GetInfoAval(k, QStringLiteral("01")));
    EXPECT_EQ(info.fields, fieldsOf(layouts::cdsInfoAval()));
    EXPECT_EQ(column(info, QStringLiteral("CDTBMETOAVAL")), QStringList{QStringLiteral("00")});
    EXPECT_EQ(info.value(0, QStringLiteral("DTCONSPACI")).toDateTime(), k.date);

    // The methods of the consultation that need the type: the selected ones only.
    const Packet needing = packetOf(app().GetPesqDadoAval(k, QStringLiteral("01")));
    EXPECT_EQ(column(needing, QStringLiteral("CDTBMETOAVAL")), words("00 49"));
    EXPECT_EQ(column(needing, QStringLiteral("CDTIPODADO")), QStringList(2, QStringLiteral("01")));

    // A consultation on another date is another consultation.
    records::ConsultationKey other = k;
    other.date = k.date.addDays(1);
    EXPECT_TRUE(packetOf(app().GetDadoAval(other)).isEmpty());
    EXPECT_TRUE(packetOf(app().GetInfoAval(other, QStringLiteral("01"))).isEmpty());
}

TEST_P(ConsultationTest, EnergyDataRowsArePerMethodAndDataType)
{
    const records::ConsultationKey k = demoKey();
    selectMethods(app(), k, {QStringLiteral("30"), QStringLiteral("32")});
    DeltaBuilder values(layouts::cdsInfoAval());
    values.insert(infoRow(k, QStringLiteral("30"), QStringLiteral("24"), QStringLiteral("2")))
        .insert(infoRow(k, QStringLiteral("32"), QStringLiteral("24"), QStringLiteral("3")))
        .insert(merged(infoRow(k, QStringLiteral("30"), QStringLiteral("25"), QStringLiteral("1")),
                       {{QStringLiteral("CDFATOINJU"), QStringLiteral("29")}}));
    ASSERT_TRUE(app().SetInfoAval(values, QString()).ok);

    const Packet rows = packetOf(app().GetDadoAvalEnerg(k));
    EXPECT_EQ(rows.fields, fieldsOf(layouts::cdsDadoAvalEnerg()));
    QStringList pairs;
    for (int r = 0; r < rows.rows.size(); ++r)
        pairs.append(rows.value(r, QStringLiteral("CDTBMETOAVAL")).toString() + QLatin1Char('/')
                     + rows.value(r, QStringLiteral("CDTIPODADO")).toString());
    EXPECT_EQ(pairs, words("30/01 30/02 30/17 30/18 30/23 30/24 30/25 32/01 32/17 32/18 32/24"));
    EXPECT_EQ(rows.value(pairs.indexOf(QStringLiteral("30/24")), QStringLiteral("DSINFOAVAL")),
              QStringLiteral("2"));
    EXPECT_EQ(rows.value(pairs.indexOf(QStringLiteral("32/24")), QStringLiteral("DSINFOAVAL")),
              QStringLiteral("3"));
    EXPECT_EQ(rows.value(pairs.indexOf(QStringLiteral("30/25")), QStringLiteral("CDFATOINJU")),
              QStringLiteral("29"));
    EXPECT_EQ(rows.value(0, QStringLiteral("DTCONSPACI")).toDateTime(), k.date);
}

TEST_P(ConsultationTest, GetAtualizaDadosAnswersOneValuePerDataTypeOfThePage)
{
    const records::ConsultationKey k = demoKey();
    selectMethods(
        app(), k,
        {QStringLiteral("00"), QStringLiteral("49"), QStringLiteral("30"), QStringLiteral("32")});
    DeltaBuilder values(layouts::cdsInfoAval());
    values.insert(infoRow(k, QStringLiteral("00"), QStringLiteral("01"), QStringLiteral("70,5")))
        .insert(infoRow(k, QStringLiteral("00"), QStringLiteral("02"), QStringLiteral("1,75")))
        .insert(infoRow(k, QStringLiteral("30"), QStringLiteral("23"), QStringLiteral("4")))
        .insert(infoRow(k, QStringLiteral("30"), QStringLiteral("24"), QStringLiteral("2")))
        .insert(infoRow(k, QStringLiteral("32"), QStringLiteral("24"), QStringLiteral("0")));
    ASSERT_TRUE(app().SetInfoAval(values, QString()).ok);

    const Packet anthro = packetOf(
        app().GetAtualizaDados(k, QString::fromLatin1(server::methods::kAnthropometricFilter)));
    EXPECT_EQ(anthro.fields, fieldsOf(layouts::cdsAtualizaDados()));
    EXPECT_EQ(column(anthro, QStringLiteral("CDTIPODADO")), words("01 02"));
    EXPECT_EQ(column(anthro, QStringLiteral("DSINFOAVAL")), words("70,5 1,75"));
    EXPECT_EQ(anthro.value(0, QStringLiteral("NMTIPODADO")), QStringLiteral("Peso"));

    // On the energy page the factor "24" means different things to Harris-Benedict and
    // RDA, so it is not handed back for spreading; "23" (Harris-Benedict only) is.
    const Packet energy =
        packetOf(app().GetAtualizaDados(k, QString::fromLatin1(server::methods::kEnergyFilter)));
    EXPECT_EQ(column(energy, QStringLiteral("CDTIPODADO")), QStringList{QStringLiteral("23")});

    // The filter is recognised whatever its spacing, and only then.
    QString spaced = QString::fromLatin1(server::methods::kEnergyFilter);
    spaced.replace(QStringLiteral(" AND"), QStringLiteral("  AND"));
    EXPECT_TRUE(app().GetAtualizaDados(k, spaced).ok);
    for (const QString& filter : {QString(), QStringLiteral("AND 1=1"),
                                  QString::fromLatin1(server::methods::kEnergyFilter)
                                      + QStringLiteral("; DROP TABLE infoaval"),
                                  QStringLiteral("AND (DA.CDTIPODADO < '23')")}) {
        const records::Reply reply = app().GetAtualizaDados(k, filter);
        EXPECT_FALSE(reply.ok) << filter.toStdString();
        EXPECT_TRUE(reply.error.contains(s("filtro não reconhecido"))) << reply.error.toStdString();
    }
    EXPECT_EQ(packetOf(app().GetInfoAval(k, QStringLiteral("24"))).rows.size(), 2);
}

TEST_P(ConsultationTest, ResultLinesAreStoredInMethodListOrderAndDeletedPerConsultation)
{
    const records::ConsultationKey k = demoKey();
    auto line = [&k](const QString& method, const QString& seq, const QString& label,
                     const QString& value) {
        return merged(keyValues(k), {{QStringLiteral("CDTBMETOAVAL"), method},
                                     {QStringLiteral("CDSEQUAVAL"), seq},
                                     {QStringLiteral("DSCONTRESU"), label},
                                     {QStringLiteral("DSRESUAVAL"), value}});
    };
    DeltaBuilder lines(layouts::cdsResuAval());
    lines
        .insert(line(QStringLiteral("49"), QStringLiteral("01"), QStringLiteral("IMC"),
                     QStringLiteral("23,02")))
        .insert(line(QStringLiteral("00"), QStringLiteral("02"), s("Classificação"),
                     QStringLiteral("Eutrofia")))
        .insert(line(QStringLiteral("00"), QStringLiteral("01"), QStringLiteral("IMC"),
                     QStringLiteral("23,02")));
    ASSERT_TRUE(app().SetResuAval(lines).ok);
    DeltaBuilder energyLines(layouts::cdsResuAvalEnerg());
    energyLines.insert(line(QStringLiteral("30"), QStringLiteral("01"), QStringLiteral("GEB"),
                            QStringLiteral("1.650,00")));
    ASSERT_TRUE(app().SetResuAvalEnerg(energyLines).ok);

    const Packet stored = packetOf(app().GetResuAval(k));
    EXPECT_EQ(stored.fields, fieldsOf(layouts::cdsResuAval()));
    QStringList keys;
    for (int r = 0; r < stored.rows.size(); ++r)
        keys.append(stored.value(r, QStringLiteral("CDTBMETOAVAL")).toString() + QLatin1Char('/')
                    + stored.value(r, QStringLiteral("CDSEQUAVAL")).toString());
    EXPECT_EQ(keys, words("00/01 00/02 49/01"));
    EXPECT_EQ(stored.value(0, QStringLiteral("NMTBMETOAVAL")), s("IMC/Peso Teórico"));
    EXPECT_EQ(stored.value(0, QStringLiteral("NRCTMETOAVAL")), QStringLiteral("11190000"));
    EXPECT_EQ(stored.value(1, QStringLiteral("DSCONTRESU")), s("Classificação"));

    // A line with the same key and number is not written twice.
    EXPECT_FALSE(app()
                     .SetResuAval(DeltaBuilder(layouts::cdsResuAval())
                                      .insert(line(QStringLiteral("00"), QStringLiteral("01"),
                                                   QStringLiteral("IMC"), QStringLiteral("1"))))
                     .ok);

    const records::Reply deleted = app().DelResuAval(k);
    ASSERT_TRUE(deleted.ok);
    EXPECT_EQ(deleted.payload.toInt(), 3);
    EXPECT_TRUE(packetOf(app().GetResuAval(k)).isEmpty());
    // The energy lines are another table.
    EXPECT_EQ(packetOf(app().GetResuAvalEnerg(k)).rows.size(), 1);
    EXPECT_EQ(app().DelResuAvalEnerg(k).payload.toInt(), 1);
    EXPECT_TRUE(packetOf(app().GetResuAvalEnerg(k)).isEmpty());
}

TEST_P(ConsultationTest, DiagnosisIsOneRichTextRecordPerConsultation)
{
    const records::ConsultationKey k = demoKey();
    EXPECT_TRUE(packetOf(app().GetDiag(k)).isEmpty());
    const QByteArray text =
        QStringLiteral("<p>Desnutrição <b>leve</b>; avaliar ingestão.</p>").toUtf8()
        + QByteArray("\x00\xff", 2);
    const QVariantMap row = merged(keyValues(k), {{QStringLiteral("DSHISTAVALNUT"), text}});
    const records::Reply set = app().SetDiag(DeltaBuilder(layouts::cdsDiagNutri()).insert(row));
    ASSERT_TRUE(set.ok) << set.error.toStdString();
    EXPECT_EQ(set.payload.toString(), QString());

    Packet diag = packetOf(app().GetDiag(k));
    EXPECT_EQ(diag.fields, fieldsOf(layouts::cdsDiagNutri()));
    ASSERT_EQ(diag.rows.size(), 1);
    EXPECT_EQ(diag.value(0, QStringLiteral("DSHISTAVALNUT")).toByteArray(), text);

    // A second diagnosis for the same consultation is refused.
    EXPECT_FALSE(app().SetDiag(DeltaBuilder(layouts::cdsDiagNutri()).insert(row)).ok);
    const QVariantMap edited = merged(row, {{QStringLiteral("DSHISTAVALNUT"), QByteArray("novo")}});
    ASSERT_TRUE(app().SetDiag(DeltaBuilder(layouts::cdsDiagNutri()).update(row, edited)).ok);
    EXPECT_EQ(packetOf(app().GetDiag(k)).value(0, QStringLiteral("DSHISTAVALNUT")).toByteArray(),
              QByteArray("novo"));
    ASSERT_TRUE(app().SetDiag(DeltaBuilder(layouts::cdsDiagNutri()).remove(edited)).ok);
    EXPECT_TRUE(packetOf(app().GetDiag(k)).isEmpty());
}

TEST_P(ConsultationTest, RecommendationsAreTheReferenceAndGroupPairsOfTheNutrientRows)
{
    server->sql(
        {QStringLiteral(
             "INSERT INTO refenutr (CDRFNUTRECOM, DSRFNUTRECOM) VALUES ('01', 'RDA 1989')"),
         QStringLiteral("INSERT INTO grupnutr (CDGRUPNUTR, NMGRUPNUTR) VALUES ('02', 'Vitaminas')"),
         QStringLiteral("INSERT INTO nutriente (CDNUTRIENTE, NMNUTRIENTE, SGUNIDADE, CDGRUPNUTR) "
                        "VALUES ('001', 'Vitamina A', 'mcg', '02')")});
    const records::ConsultationKey k = demoKey();
    auto nutrient = [&k](const QString& ref, const QString& group, const QString& code) {
        return merged(keyValues(k), {{QStringLiteral("CDRFNUTRECOM"), ref},
                                     {QStringLiteral("CDGRUPNUTR"), group},
                                     {QStringLiteral("CDNUTRIENTE"), code},
                                     {QStringLiteral("IDTPCOMPACI"), QStringLiteral("1")},
                                     {QStringLiteral("DSNUTPEATUAL"), QStringLiteral("48,000")}});
    };
    DeltaBuilder rows(layouts::cdsNutrePaci());
    rows.insert(nutrient(QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("001")))
        .insert(nutrient(QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("017")))
        .insert(nutrient(QStringLiteral("01"), QStringLiteral("03"), QStringLiteral("005")));
    ASSERT_TRUE(app().SetNutrePaci(rows).ok);

    const records::Reply dados = app().GetDados(k, 45.03);
    const Packet recommendations = packetOf(dados, 6);
    ASSERT_EQ(recommendations.rows.size(), 2);
    EXPECT_EQ(recommendations.value(0, QStringLiteral("CDGRUPNUTR")), QStringLiteral("02"));
    EXPECT_EQ(recommendations.value(0, QStringLiteral("DSRFNUTRECOM")), QStringLiteral("RDA 1989"));
    EXPECT_EQ(recommendations.value(0, QStringLiteral("NMGRUPNUTR")), QStringLiteral("Vitaminas"));
    EXPECT_EQ(recommendations.value(0, QStringLiteral("IDTPCOMPACI")), QStringLiteral("1"));
    EXPECT_EQ(recommendations.value(0, QStringLiteral("DTCONSPACI")).toDateTime(), k.date);
    EXPECT_FALSE(recommendations.value(1, QStringLiteral("NMGRUPNUTR")).isValid());

    const Packet amounts = packetOf(dados, 7);
    ASSERT_EQ(amounts.rows.size(), 3);
    EXPECT_EQ(amounts.value(0, QStringLiteral("NMNUTRIENTE")), QStringLiteral("Vitamina A"));
    EXPECT_EQ(amounts.value(0, QStringLiteral("SGUNIDADE")), QStringLiteral("mcg"));
    EXPECT_EQ(amounts.value(0, QStringLiteral("DSNUTPEATUAL")), QStringLiteral("48,000"));

    const records::Reply deleted =
        app().DelNutrePaci(k, QStringLiteral("01"), QStringLiteral("02"));
    ASSERT_TRUE(deleted.ok);
    EXPECT_EQ(deleted.payload.toInt(), 2);
    EXPECT_EQ(column(packetOf(app().GetDados(k, 45.03), 6), QStringLiteral("CDGRUPNUTR")),
              QStringList{QStringLiteral("03")});
}

TEST_P(ConsultationTest, SetAtuPesIdeRecordsTheIdealWeightForTheMethodsThatNeedIt)
{
    const records::ConsultationKey k = demoKey();
    const QString description = s("Peso Ideal (Metropolitan Life).");
    ASSERT_TRUE(app().SetAtuPesIde(k, description, QStringLiteral("68,5")).ok);
    Packet weights = packetOf(app().GetInfoAval(k, QStringLiteral("17")));
    EXPECT_EQ(column(weights, QStringLiteral("CDTBMETOAVAL")), words("55 57 63"));
    EXPECT_EQ(column(weights, QStringLiteral("DSINFOAVAL")),
              QStringList(3, QStringLiteral("68,5")));

    // A later calculation replaces it; the stored ideal weight is one per consultation.
    ASSERT_TRUE(app().SetAtuPesIde(k, description, QStringLiteral("70")).ok);
    weights = packetOf(app().GetInfoAval(k, QStringLiteral("17")));
    EXPECT_EQ(column(weights, QStringLiteral("DSINFOAVAL")), QStringList(3, QStringLiteral("70")));
    const QVariant stored = server::storage::inTransaction(
        server->instance().database(), server::storage::Access::ReadOnly,
        [](server::storage::Transaction& tx) {
            return tx.scalar(QStringLiteral("SELECT COUNT(*) FROM pesoideal"));
        });
    EXPECT_EQ(stored.toInt(), 1);

    // Selecting "57" afterwards finds the weight in its data grid.
    selectMethods(app(), k, {QStringLiteral("57")});
    const Packet grid = packetOf(app().GetDadoAval(k));
    EXPECT_EQ(grid.value(findRow(grid, QStringLiteral("CDTIPODADO"), QStringLiteral("17")),
                         QStringLiteral("DSINFOAVAL")),
              QStringLiteral("70"));

    EXPECT_FALSE(app().SetAtuPesIde(k, description, QStringLiteral("setenta")).ok);
    EXPECT_FALSE(app().SetAtuPesIde(k, QString(), QStringLiteral("70")).ok);
}

TEST_P(ConsultationTest, ReferenceListsAnswerTheWholeListOrOneReference)
{
    // Lists of this test's own, without the references the server seeds.
    server->sql({QStringLiteral("DELETE FROM refepercentil"),
                 QStringLiteral("DELETE FROM refelista"), QStringLiteral("DELETE FROM refebibl"),
                 QStringLiteral("INSERT INTO refebibl VALUES ('01', 'Frisancho 1990')"),
                 QStringLiteral("INSERT INTO refebibl VALUES ('02', 'NCHS 1977')"),
                 QStringLiteral("INSERT INTO refebibl VALUES ('03', 'Metropolitan Life 1983')"),
                 QStringLiteral("INSERT INTO refelista VALUES ('METO', '02', '01')"),
                 QStringLiteral("INSERT INTO refelista VALUES ('METO', '02', '02')"),
                 QStringLiteral("INSERT INTO refelista VALUES ('PESO', '', '02')"),
                 QStringLiteral("INSERT INTO refelista VALUES ('OSSA', '', '03')")});
    EXPECT_EQ(column(packetOf(app().GetRefeMeto(QString(), QStringLiteral("02"))),
                     QStringLiteral("CDREFEBIBL")),
              words("01 02"));
    const Packet one = packetOf(app().GetRefeMeto(QStringLiteral("02"), QStringLiteral("02")));
    EXPECT_EQ(one.fields, fieldsOf(layouts::cdsRefeMeto()));
    EXPECT_EQ(column(one, QStringLiteral("NMREFEBIBL")), QStringList{QStringLiteral("NCHS 1977")});
    EXPECT_TRUE(packetOf(app().GetRefeMeto(QStringLiteral("03"), QStringLiteral("02"))).isEmpty());
    EXPECT_TRUE(packetOf(app().GetRefeMeto(QString(), QStringLiteral("03"))).isEmpty());
    EXPECT_EQ(column(packetOf(app().GetRefePeso(QString())), QStringLiteral("CDREFEBIBL")),
              QStringList{QStringLiteral("02")});
    EXPECT_EQ(
        column(packetOf(app().GetRefeOssa(QStringLiteral("03"))), QStringLiteral("NMREFEBIBL")),
        QStringList{QStringLiteral("Metropolitan Life 1983")});
}

TEST_P(ConsultationTest, CatalogueWritesKeepLinksOrderedAndUsedEntriesInPlace)
{
    const QVariantMap type = {{QStringLiteral("CDTIPODADO"), QStringLiteral("54")},
                              {QStringLiteral("NMTIPODADO"), QStringLiteral("Teste")},
                              {QStringLiteral("DSUNIDDADO"), QStringLiteral("cm")}};
    ASSERT_TRUE(app().SetInsTipoDado(DeltaBuilder(layouts::cdsInsTipoDado()).insert(type)).ok);
    const QVariantMap link = {{QStringLiteral("CDTIPODADO"), QStringLiteral("54")},
                              {QStringLiteral("CDTBMETOAVAL"), QStringLiteral("50")}};
    ASSERT_TRUE(app().SetInsDadoAval(DeltaBuilder(layouts::cdsInsDadoAval()).insert(link)).ok);
    const Packet links = packetOf(app().GetDados(demoKey(), 45.03), 4);
    QStringList of50;
    for (int r = 0; r < links.rows.size(); ++r) {
        if (links.value(r, QStringLiteral("CDTBMETOAVAL")) == QStringLiteral("50"))
            of50.append(links.value(r, QStringLiteral("CDTIPODADO")).toString());
    }
    EXPECT_EQ(of50, words("11 10 54"));

    // A link to a data type the catalogue does not have is refused.
    const QVariantMap dangling = {{QStringLiteral("CDTIPODADO"), QStringLiteral("99")},
                                  {QStringLiteral("CDTBMETOAVAL"), QStringLiteral("50")}};
    EXPECT_FALSE(app().SetInsDadoAval(DeltaBuilder(layouts::cdsInsDadoAval()).insert(dangling)).ok);
    // A data type still linked cannot go; once unlinked it can.
    EXPECT_FALSE(app().SetInsTipoDado(DeltaBuilder(layouts::cdsInsTipoDado()).remove(type)).ok);
    ASSERT_TRUE(app().SetInsDadoAval(DeltaBuilder(layouts::cdsInsDadoAval()).remove(link)).ok);
    EXPECT_TRUE(app().SetInsTipoDado(DeltaBuilder(layouts::cdsInsTipoDado()).remove(type)).ok);
}

TEST_P(ConsultationTest, RegistryListsAddsAndUpdatesPatients)
{
    Packet patients = packetOf(app().GetPacientes());
    ASSERT_EQ(patients.rows.size(), 6);
    EXPECT_EQ(column(patients, QStringLiteral("CDSEXO")), words("0 1 0 1 0 1"));
    EXPECT_EQ(column(patients, QStringLiteral("IDOBITO")).count(QStringLiteral("S")), 1);

    // Ages of the demo patients as of today: a man, a woman, an elderly patient, an
    // adolescent, a young child.
    const QDate today = QDate::currentDate();
    auto years = [&](int r) {
        const QDate birth = patients.value(r, QStringLiteral("DTNASC")).toDateTime().date();
        int y = today.year() - birth.year();
        if (today < birth.addYears(y))
            --y;
        return y;
    };
    EXPECT_EQ(years(0), 45);
    EXPECT_EQ(years(2), 78);
    EXPECT_EQ(years(3), 15);
    EXPECT_LT(years(4), 5);

    EXPECT_TRUE(
        app().GetObito(QStringLiteral("000000000006"), QStringLiteral("0001")).payload.toBool());
    EXPECT_FALSE(
        app().GetObito(QStringLiteral("000000000001"), QStringLiteral("0001")).payload.toBool());
    EXPECT_FALSE(
        app().GetObito(QStringLiteral("999999999999"), QStringLiteral("0001")).payload.toBool());

    const QDateTime birth(QDate(1990, 2, 28), QTime(0, 0), Qt::UTC);
    ASSERT_TRUE(app()
                    .SetPaciente(QStringLiteral("0002"), QStringLiteral("123"), s("João Teste"),
                                 QStringLiteral("0"), birth, false)
                    .ok);
    ASSERT_TRUE(app()
                    .SetPaciente(QStringLiteral("0002"), QStringLiteral("123"), s("João Teste"),
                                 QStringLiteral("0"), birth, true)
                    .ok);
    patients = packetOf(app().GetPacientes());
    ASSERT_EQ(patients.rows.size(), 7);
    EXPECT_EQ(patients.value(6, QStringLiteral("NMPACIENTE")), s("João Teste"));
    EXPECT_EQ(patients.value(6, QStringLiteral("DTNASC")).toDateTime(), birth);
    EXPECT_TRUE(app().GetObito(QStringLiteral("123"), QStringLiteral("0002")).payload.toBool());

    // Patients that do not fit the registry are refused with the reason: a sex code, a
    // birth date in the future, a branch over its size, an empty name.
    struct Refused
    {
        const char* branch;
        const char* name;
        const char* sex;
        QDateTime birth;
        const char* reason;
    };
    const Refused refused[] = {
        {"0002", "X", "M", birth, "código de sexo"},
        {"0002", "X", "1", QDateTime::currentDateTimeUtc().addYears(1), ""},
        {"00020", "X", "1", birth, ""},
        {"0002", "", "1", birth, ""},
    };
    for (const Refused& p : refused) {
        const records::Reply r =
            app().SetPaciente(QLatin1String(p.branch), QStringLiteral("124"), QLatin1String(p.name),
                              QLatin1String(p.sex), p.birth, false);
        EXPECT_FALSE(r.ok) << p.branch << " " << p.name << " " << p.sex;
        EXPECT_TRUE(r.error.contains(s(p.reason))) << r.error.toStdString();
    }
    EXPECT_EQ(packetOf(app().GetPacientes()).rows.size(), 7);
}

SERVERTEST_BOTH_ENGINES(ConsultationTest);
