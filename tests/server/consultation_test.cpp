// The consultation remote methods over HTTP, on each engine: what each answers and what
// each write means.

#include "engine_fixture.h"

#include <server/methods/recorded_values.h>

#include <records/packet_codec.h>

#include <tuple>

using namespace Qt::StringLiterals;

using namespace servertest;
using records::Packet;
namespace layouts = records::layouts;

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

// "a/b" for each row: the values of two fields.
QStringList pairsOf(const Packet& p, const QString& a, const QString& b)
{
    QStringList out;
    for (int r = 0; r < p.rows.size(); ++r)
        out.append(p.value(r, a).toString() + u'/' + p.value(r, b).toString());
    return out;
}

}  // namespace

class ConsultationTest : public EngineTest
{
protected:
    // A change log of the anthropometric method list.
    static DeltaBuilder meto() { return DeltaBuilder(layouts::cdsMetoAval()); }
    records::Reply setMeto(const records::Delta& d, const QString& nulls = QString())
    {
        return app().SetMetoAval(d, nulls);
    }
    // Packet i of GetDados for the demo consultation at 45 years 3 months.
    Packet dados(int i) { return packetOf(app().GetDados(demoKey(), 45.03), i); }
};

TEST_P(ConsultationTest, MethodListsOfferTheCatalogueSplitIntoAnthropometricAndEnergy)
{
    const records::ConsultationKey k = demoKey();
    const Packet anthro = dados(0);
    const Packet energy = dados(1);
    EXPECT_EQ(anthro.rows.size(), 61);
    EXPECT_EQ(column(energy, u"CDTBMETOAVAL"_s), words("30 31 32 33 34 35 36"));
    EXPECT_EQ(findRow(anthro, u"CDTBMETOAVAL"_s, u"30"_s), -1);
    // Offered rows carry the consultation key (so the module can post them) and "N".
    const int r = findRow(anthro, u"CDTBMETOAVAL"_s, u"06"_s);
    ASSERT_GE(r, 0);
    EXPECT_EQ(anthro.value(r, u"CDFILIAL"_s), k.branch);
    EXPECT_EQ(anthro.value(r, u"CDPACIENTE"_s), k.patient);
    EXPECT_EQ(anthro.value(r, u"DTCONSPACI"_s).toDateTime(), k.date);
    EXPECT_EQ(anthro.value(r, u"IDTABELAAV"_s), u"N"_s);
    EXPECT_FALSE(anthro.value(r, u"CDTABELACO"_s).isValid());
}

TEST_P(ConsultationTest, MethodAgeBandsOfTheCatalogueDecideWhatIsOffered)
{
    // Weech (23) for children up to 12 years 11 months, set through the catalogue write.
    const Packet methods = dados(2);
    const int r = findRow(methods, u"CDTBMETOAVAL"_s, u"23"_s);
    const QVariantMap before = rowValues(methods, r);
    const QVariantMap after =
        merged(before, {{u"VRIDADEINITB"_s, 0.0}, {u"VRIDADEFINTB"_s, 12.11}});
    ASSERT_TRUE(
        app().SetInsMetoAval(DeltaBuilder(layouts::cdsInsMetoAval()).update(before, after)).ok);

    auto offered = [this](double age) {
        return findRow(packetOf(app().GetDados(demoKey(), age), 0), u"CDTBMETOAVAL"_s, u"23"_s)
               >= 0;
    };
    EXPECT_TRUE(offered(5.03));
    EXPECT_TRUE(offered(12.11));
    EXPECT_FALSE(offered(13.0));
    EXPECT_FALSE(offered(45.03));
    // A method already stored for the consultation stays listed whatever the age.
    const QVariantMap stored =
        merged(keyValues(demoKey()), {{u"CDTBMETOAVAL"_s, u"23"_s}, {u"IDTABELAAV"_s, u"S"_s}});
    ASSERT_TRUE(setMeto(meto().insert(stored)).ok);
    EXPECT_TRUE(offered(45.03));
}

TEST_P(ConsultationTest, AnOfferedRowBecomesAStoredRowWhenFirstPostedAndDeletesOnlyHide)
{
    const records::ConsultationKey k = demoKey();
    EXPECT_TRUE(packetOf(app().GetExistMetoAval(k, u"00"_s)).isEmpty());

    const Packet list = dados(0);
    const int r = findRow(list, u"CDTBMETOAVAL"_s, u"00"_s);
    const QVariantMap before = rowValues(list, r);
    QVariantMap after = merged(before, {{u"IDTABELAAV"_s, u"S"_s}, {u"CDTABELACO"_s, u"01"_s}});
    ASSERT_TRUE(setMeto(meto().update(before, after), u"_CDTBREFMETOA_NMREFEBIBL"_s).ok);
    EXPECT_EQ(column(packetOf(app().GetExistMetoAval(k, u"00"_s)), u"CDPACIENTE"_s),
              QStringList{k.patient});

    // The offered row "00" as GetDados answers it now.
    auto offered = [&] {
        const Packet again = dados(0);
        return rowValues(again, findRow(again, u"CDTBMETOAVAL"_s, u"00"_s));
    };
    EXPECT_EQ(offered().value(u"IDTABELAAV"_s), u"S"_s);
    EXPECT_EQ(offered().value(u"CDTABELACO"_s), u"01"_s);

    // Unselecting clears the reference; the stored row follows.
    QVariantMap unselected =
        merged(after, {{u"IDTABELAAV"_s, u"N"_s}, {u"CDTABELACO"_s, QVariant()}});
    ASSERT_TRUE(setMeto(meto().update(after, unselected)).ok);
    EXPECT_EQ(offered().value(u"IDTABELAAV"_s), u"N"_s);
    EXPECT_FALSE(offered().value(u"CDTABELACO"_s).isValid());

    // The module's sex and age filter deletes rows it hides; the delete travels with the
    // next write and stores nothing: the list is still offered whole.
    const QVariantMap hidden = rowValues(list, findRow(list, u"CDTBMETOAVAL"_s, u"29"_s));
    ASSERT_TRUE(setMeto(meto().remove(hidden).remove(unselected)).ok);
    EXPECT_GE(findRow(dados(0), u"CDTBMETOAVAL"_s, u"29"_s), 0);
    EXPECT_FALSE(packetOf(app().GetExistMetoAval(k, u"00"_s)).isEmpty());
}

TEST_P(ConsultationTest, MethodListsKeepTheirOwnMethods)
{
    // The anthropometric list refuses an energy method, a code the catalogue lacks and a
    // selection mark other than "S" or "N".
    const records::ConsultationKey k = demoKey();
    auto row = [&k](const char* method, const char* mark) {
        return merged(keyValues(k), {{u"CDTBMETOAVAL"_s, QString::fromLatin1(method)},
                                     {u"IDTABELAAV"_s, QString::fromLatin1(mark)}});
    };
    const QVariantMap energyRow = row("30", "S");
    const std::pair<QVariantMap, const char*> refused[] = {
        {energyRow, "'30'"}, {row("07", "N"), "não está no catálogo"}, {row("00", "X"), ""}};
    for (const auto& [values, reason] : refused) {
        const records::Reply reply = setMeto(meto().insert(values));
        EXPECT_FALSE(reply.ok) << reason;
        EXPECT_TRUE(reply.error.contains(s(reason))) << reply.error.toStdString();
    }

    // The energy page inserts the weight method "01" when a consultation has none.
    const QVariantMap weightMethod = merged(keyValues(k), {{u"CDTBMETOAVAL"_s, u"01"_s}});
    ASSERT_TRUE(setMeto(meto().insert(weightMethod)).ok);
    EXPECT_FALSE(packetOf(app().GetExistMetoAval(k, u"01"_s)).isEmpty());
    const records::Delta energyDelta = DeltaBuilder(layouts::cdsMetoAvalEnerg()).insert(energyRow);
    ASSERT_TRUE(app().SetMetoAvalEnerg(energyDelta, QString()).ok);
    EXPECT_EQ(dados(1).value(0, u"IDTABELAAV"_s), u"S"_s);
}

TEST_P(ConsultationTest, DataGridListsWhatTheSelectedMethodsNeedWithTheRecordedValues)
{
    const records::ConsultationKey k = demoKey();
    selectMethods(app(), k, {u"00"_s, u"49"_s, u"50"_s});

    Packet grid = packetOf(app().GetDadoAval(k));
    EXPECT_EQ(column(grid, u"CDTIPODADO"_s), words("01 02 10 11"));
    EXPECT_EQ(column(grid, u"DSINFOAVAL"_s), QStringList(4, u"<null>"_s));

    // The weight typed for "00" shows in the grid and is found by type.
    ASSERT_TRUE(
        recordValue(app(), k, u"00"_s, u"01"_s, u"70,5"_s, u"_DSOBSERAVAL_CDFATOINJU"_s).ok);
    grid = packetOf(app().GetDadoAval(k));
    EXPECT_EQ(grid.value(0, u"DSINFOAVAL"_s), u"70,5"_s);

    const Packet info = packetOf(app().GetInfoAval(k, u"01"_s));
    EXPECT_EQ(column(info, u"CDTBMETOAVAL"_s), QStringList{u"00"_s});

    // The methods of the consultation that need the type: the selected ones only.
    const Packet needing = packetOf(app().GetPesqDadoAval(k, u"01"_s));
    EXPECT_EQ(column(needing, u"CDTBMETOAVAL"_s), words("00 49"));

    // A consultation on another date is another consultation.
    records::ConsultationKey other = k;
    other.date = k.date.addDays(1);
    EXPECT_TRUE(packetOf(app().GetDadoAval(other)).isEmpty());
    EXPECT_TRUE(packetOf(app().GetInfoAval(other, u"01"_s)).isEmpty());
}

TEST_P(ConsultationTest, EnergyDataRowsArePerMethodAndDataType)
{
    const records::ConsultationKey k = demoKey();
    selectMethods(app(), k, {u"30"_s, u"32"_s});
    DeltaBuilder values(layouts::cdsInfoAval());
    values.insert(infoRow(k, u"30"_s, u"24"_s, u"2"_s))
        .insert(infoRow(k, u"32"_s, u"24"_s, u"3"_s))
        .insert(merged(infoRow(k, u"30"_s, u"25"_s, u"1"_s), {{u"CDFATOINJU"_s, u"29"_s}}));
    ASSERT_TRUE(app().SetInfoAval(values, QString()).ok);

    const Packet rows = packetOf(app().GetDadoAvalEnerg(k));
    const QStringList pairs = pairsOf(rows, u"CDTBMETOAVAL"_s, u"CDTIPODADO"_s);
    EXPECT_EQ(pairs, words("30/01 30/02 30/17 30/18 30/23 30/24 30/25 32/01 32/17 32/18 32/24"));
    EXPECT_EQ(rows.value(pairs.indexOf(u"30/24"_s), u"DSINFOAVAL"_s), u"2"_s);
    EXPECT_EQ(rows.value(pairs.indexOf(u"32/24"_s), u"DSINFOAVAL"_s), u"3"_s);
    EXPECT_EQ(rows.value(pairs.indexOf(u"30/25"_s), u"CDFATOINJU"_s), u"29"_s);
}

TEST_P(ConsultationTest, GetAtualizaDadosAnswersOneValuePerDataTypeOfThePage)
{
    const records::ConsultationKey k = demoKey();
    selectMethods(app(), k, {u"00"_s, u"49"_s, u"30"_s, u"32"_s});
    DeltaBuilder values(layouts::cdsInfoAval());
    values.insert(infoRow(k, u"00"_s, u"01"_s, u"70,5"_s))
        .insert(infoRow(k, u"00"_s, u"02"_s, u"1,75"_s))
        .insert(infoRow(k, u"30"_s, u"23"_s, u"4"_s))
        .insert(infoRow(k, u"30"_s, u"24"_s, u"2"_s))
        .insert(infoRow(k, u"32"_s, u"24"_s, u"0"_s));
    ASSERT_TRUE(app().SetInfoAval(values, QString()).ok);

    const Packet anthro = packetOf(
        app().GetAtualizaDados(k, QString::fromLatin1(server::methods::kAnthropometricFilter)));
    EXPECT_EQ(column(anthro, u"CDTIPODADO"_s), words("01 02"));
    EXPECT_EQ(column(anthro, u"DSINFOAVAL"_s), words("70,5 1,75"));

    // On the energy page the factor "24" means different things to Harris-Benedict and
    // RDA, so it is not handed back for spreading; "23" (Harris-Benedict only) is.
    const QString energyFilter = QString::fromLatin1(server::methods::kEnergyFilter);
    const Packet energy = packetOf(app().GetAtualizaDados(k, energyFilter));
    EXPECT_EQ(column(energy, u"CDTIPODADO"_s), QStringList{u"23"_s});

    // The filter is recognised whatever its spacing, and only then.
    EXPECT_TRUE(app().GetAtualizaDados(k, QString(energyFilter).replace(u" AND"_s, u"  AND"_s)).ok);
    for (const QString& filter :
         {QString(), u"AND 1=1"_s, energyFilter + u"; DROP TABLE infoaval"_s,
          u"AND (DA.CDTIPODADO < '23')"_s}) {
        const records::Reply reply = app().GetAtualizaDados(k, filter);
        EXPECT_FALSE(reply.ok) << filter.toStdString();
        EXPECT_TRUE(reply.error.contains(s("filtro não reconhecido"))) << reply.error.toStdString();
    }
    EXPECT_EQ(packetOf(app().GetInfoAval(k, u"24"_s)).rows.size(), 2);
}

TEST_P(ConsultationTest, ResultLinesAreStoredInMethodListOrderAndDeletedPerConsultation)
{
    const records::ConsultationKey k = demoKey();
    DeltaBuilder lines(layouts::cdsResuAval());
    lines.insert(resultLine(k, u"49"_s, u"01"_s, u"IMC"_s, u"23,02"_s))
        .insert(resultLine(k, u"00"_s, u"02"_s, s("Classificação"), u"Eutrofia"_s))
        .insert(resultLine(k, u"00"_s, u"01"_s, u"IMC"_s, u"23,02"_s));
    ASSERT_TRUE(app().SetResuAval(lines).ok);
    DeltaBuilder energyLines(layouts::cdsResuAvalEnerg());
    energyLines.insert(resultLine(k, u"30"_s, u"01"_s, u"GEB"_s, u"1.650,00"_s));
    ASSERT_TRUE(app().SetResuAvalEnerg(energyLines).ok);

    const Packet stored = packetOf(app().GetResuAval(k));
    EXPECT_EQ(pairsOf(stored, u"CDTBMETOAVAL"_s, u"CDSEQUAVAL"_s), words("00/01 00/02 49/01"));
    EXPECT_EQ(stored.value(1, u"DSCONTRESU"_s), s("Classificação"));

    // A line with the same key and number is not written twice.
    EXPECT_FALSE(app()
                     .SetResuAval(DeltaBuilder(layouts::cdsResuAval())
                                      .insert(resultLine(k, u"00"_s, u"01"_s, u"IMC"_s, u"1"_s)))
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
    // The text's checks and its read-back are the diagnosis tests'; here the record's key.
    const auto diag = [] { return DeltaBuilder(layouts::cdsDiagNutri()); };
    const QVariantMap row =
        merged(keyValues(demoKey()), {{u"DSHISTAVALNUT"_s, QByteArray("<p>a</p>")}});
    ASSERT_TRUE(app().SetDiag(diag().insert(row)).ok);
    EXPECT_FALSE(app().SetDiag(diag().insert(row)).ok);  // a second one for the consultation
    const QVariantMap edited = merged(row, {{u"DSHISTAVALNUT"_s, QByteArray("novo")}});
    ASSERT_TRUE(app().SetDiag(diag().update(row, edited)).ok);
    EXPECT_EQ(packetOf(app().GetDiag(demoKey())).value(0, u"DSHISTAVALNUT"_s).toByteArray(),
              QByteArray("novo"));
    ASSERT_TRUE(app().SetDiag(diag().remove(edited)).ok);
    EXPECT_TRUE(packetOf(app().GetDiag(demoKey())).isEmpty());
}

TEST_P(ConsultationTest, RecommendationsAreTheReferenceAndGroupPairsOfTheNutrientRows)
{
    // References "01" (RDA 1989) and "02" (DRI) and groups "02" (vitamins) and "03"
    // (minerals) are seeded, with nutrients "009" (Vitamina A), "017" and "023" (Cálcio).
    const records::ConsultationKey k = demoKey();
    DeltaBuilder rows(layouts::cdsNutrePaci());
    rows.insert(nutrientRow(k, u"01"_s, u"02"_s, u"009"_s, u"1"_s, u"48,000"_s))
        .insert(nutrientRow(k, u"01"_s, u"02"_s, u"017"_s, u"1"_s, u"48,000"_s))
        .insert(nutrientRow(k, u"02"_s, u"03"_s, u"023"_s, u"1"_s, u"48,000"_s));
    ASSERT_TRUE(app().SetNutrePaci(rows).ok);

    const Packet recommendations = dados(6);
    ASSERT_EQ(recommendations.rows.size(), 2);
    EXPECT_EQ(recommendations.value(0, u"CDGRUPNUTR"_s), u"02"_s);
    EXPECT_TRUE(recommendations.value(0, u"DSRFNUTRECOM"_s).toString().startsWith(u"RDA 1989"_s));
    EXPECT_EQ(recommendations.value(0, u"NMGRUPNUTR"_s), u"Vitaminas"_s);
    EXPECT_EQ(recommendations.value(1, u"NMGRUPNUTR"_s), u"Minerais"_s);

    const Packet amounts = dados(7);
    ASSERT_EQ(amounts.rows.size(), 3);
    EXPECT_EQ(amounts.value(0, u"NMNUTRIENTE"_s), u"Vitamina A"_s);
    EXPECT_EQ(amounts.value(0, u"DSNUTPEATUAL"_s), u"48,000"_s);
}

TEST_P(ConsultationTest, SetAtuPesIdeRecordsTheIdealWeightForTheMethodsThatNeedIt)
{
    const records::ConsultationKey k = demoKey();
    const QString description = s("Peso Ideal (Metropolitan Life).");
    ASSERT_TRUE(app().SetAtuPesIde(k, description, u"68,5"_s).ok);
    Packet weights = packetOf(app().GetInfoAval(k, u"17"_s));
    EXPECT_EQ(column(weights, u"CDTBMETOAVAL"_s), words("55 57 63"));
    EXPECT_EQ(column(weights, u"DSINFOAVAL"_s), QStringList(3, u"68,5"_s));

    // A later calculation replaces it.
    ASSERT_TRUE(app().SetAtuPesIde(k, description, u"70"_s).ok);
    weights = packetOf(app().GetInfoAval(k, u"17"_s));
    EXPECT_EQ(column(weights, u"DSINFOAVAL"_s), QStringList(3, u"70"_s));

    // Selecting "57" afterwards finds the weight in its data grid.
    selectMethods(app(), k, {u"57"_s});
    const Packet grid = packetOf(app().GetDadoAval(k));
    EXPECT_EQ(grid.value(findRow(grid, u"CDTIPODADO"_s, u"17"_s), u"DSINFOAVAL"_s), u"70"_s);

    EXPECT_FALSE(app().SetAtuPesIde(k, description, u"setenta"_s).ok);
    EXPECT_FALSE(app().SetAtuPesIde(k, QString(), u"70"_s).ok);
}

TEST_P(ConsultationTest, ReferenceListsAnswerTheWholeListOrOneReference)
{
    // Lists of this test's own, without the references the server seeds.
    server->sql({u"DELETE FROM refecurva"_s, u"DELETE FROM refepercentil"_s,
                 u"DELETE FROM refepadrao"_s, u"DELETE FROM refedensidade"_s,
                 u"DELETE FROM refelista"_s, u"DELETE FROM refebibl"_s,
                 u"INSERT INTO refebibl VALUES ('01', 'Frisancho 1990')"_s,
                 u"INSERT INTO refebibl VALUES ('02', 'NCHS 1977')"_s,
                 u"INSERT INTO refebibl VALUES ('03', 'Metropolitan Life 1983')"_s,
                 u"INSERT INTO refelista VALUES ('METO', '02', '01')"_s,
                 u"INSERT INTO refelista VALUES ('METO', '02', '02')"_s,
                 u"INSERT INTO refelista VALUES ('PESO', '', '02')"_s,
                 u"INSERT INTO refelista VALUES ('OSSA', '', '03')"_s});
    EXPECT_EQ(column(packetOf(app().GetRefeMeto(QString(), u"02"_s)), u"CDREFEBIBL"_s),
              words("01 02"));
    const Packet one = packetOf(app().GetRefeMeto(u"02"_s, u"02"_s));
    EXPECT_EQ(column(one, u"NMREFEBIBL"_s), QStringList{u"NCHS 1977"_s});
    EXPECT_TRUE(packetOf(app().GetRefeMeto(u"03"_s, u"02"_s)).isEmpty());
    EXPECT_TRUE(packetOf(app().GetRefeMeto(QString(), u"03"_s)).isEmpty());
    EXPECT_EQ(column(packetOf(app().GetRefePeso(QString())), u"CDREFEBIBL"_s),
              QStringList{u"02"_s});
    EXPECT_EQ(column(packetOf(app().GetRefeOssa(u"03"_s)), u"NMREFEBIBL"_s),
              QStringList{u"Metropolitan Life 1983"_s});
}

TEST_P(ConsultationTest, CatalogueWritesKeepLinksOrderedAndUsedEntriesInPlace)
{
    auto linksOf50 = [this] {
        const Packet links = dados(4);
        return pairsOf(links, u"CDTBMETOAVAL"_s, u"CDTIPODADO"_s).filter(u"50/"_s);
    };
    EXPECT_EQ(linksOf50(), words("50/11 50/10"));
    const QVariantMap type = {
        {u"CDTIPODADO"_s, u"54"_s}, {u"NMTIPODADO"_s, u"Teste"_s}, {u"DSUNIDDADO"_s, u"cm"_s}};
    ASSERT_TRUE(app().SetInsTipoDado(DeltaBuilder(layouts::cdsInsTipoDado()).insert(type)).ok);
    const QVariantMap link = {{u"CDTIPODADO"_s, u"54"_s}, {u"CDTBMETOAVAL"_s, u"50"_s}};
    ASSERT_TRUE(app().SetInsDadoAval(DeltaBuilder(layouts::cdsInsDadoAval()).insert(link)).ok);
    EXPECT_EQ(linksOf50(), words("50/11 50/10 50/54"));
    // A change made beside this server (another server process, an operator) shows too.
    server->sql({u"UPDATE tipodado SET NMTIPODADO = 'Outro' WHERE CDTIPODADO = '54'"_s});
    const Packet types = dados(3);
    EXPECT_EQ(types.value(findRow(types, u"CDTIPODADO"_s, u"54"_s), u"NMTIPODADO"_s), u"Outro"_s);

    // A link to a data type the catalogue does not have is refused.
    const QVariantMap dangling = {{u"CDTIPODADO"_s, u"99"_s}, {u"CDTBMETOAVAL"_s, u"50"_s}};
    EXPECT_FALSE(app().SetInsDadoAval(DeltaBuilder(layouts::cdsInsDadoAval()).insert(dangling)).ok);
    // A data type still linked cannot go; once unlinked it can.
    EXPECT_FALSE(app().SetInsTipoDado(DeltaBuilder(layouts::cdsInsTipoDado()).remove(type)).ok);
    ASSERT_TRUE(app().SetInsDadoAval(DeltaBuilder(layouts::cdsInsDadoAval()).remove(link)).ok);
    EXPECT_EQ(linksOf50(), words("50/11 50/10"));
    EXPECT_TRUE(app()
                    .SetInsTipoDado(DeltaBuilder(layouts::cdsInsTipoDado())
                                        .remove(merged(type, {{u"NMTIPODADO"_s, u"Outro"_s}})))
                    .ok);
}

TEST_P(ConsultationTest, RegistryListsAddsAndUpdatesPatients)
{
    Packet patients = packetOf(app().GetPacientes());
    ASSERT_EQ(patients.rows.size(), 6);
    EXPECT_EQ(column(patients, u"IDOBITO"_s).count(u"S"_s), 1);

    EXPECT_TRUE(app().GetObito(u"000000000006"_s, u"0001"_s).payload.toBool());
    EXPECT_FALSE(app().GetObito(u"000000000001"_s, u"0001"_s).payload.toBool());
    EXPECT_FALSE(app().GetObito(u"999999999999"_s, u"0001"_s).payload.toBool());

    const QDateTime birth(QDate(1990, 2, 28), QTime(0, 0), Qt::UTC);
    ASSERT_TRUE(app().SetPaciente(u"0002"_s, u"123"_s, s("João Teste"), u"0"_s, birth, false).ok);
    ASSERT_TRUE(app().SetPaciente(u"0002"_s, u"123"_s, s("João Teste"), u"0"_s, birth, true).ok);
    patients = packetOf(app().GetPacientes());
    ASSERT_EQ(patients.rows.size(), 7);
    EXPECT_EQ(patients.value(6, u"NMPACIENTE"_s), s("João Teste"));
    EXPECT_EQ(patients.value(6, u"DTNASC"_s).toDateTime(), birth);
    EXPECT_TRUE(app().GetObito(u"123"_s, u"0002"_s).payload.toBool());

    // Patients that do not fit the registry are refused with the reason: a sex code, a
    // birth date in the future, a branch over its size, an empty name.
    // clang-format off
    const std::tuple<QString, QString, QString, QDateTime, QString> refused[] = {
        {u"0002"_s, u"X"_s, u"M"_s, birth, u"código de sexo"_s},
        {u"0002"_s, u"X"_s, u"1"_s, QDateTime::currentDateTimeUtc().addYears(1), QString()},
        {u"00020"_s, u"X"_s, u"1"_s, birth, QString()},
        {u"0002"_s, QString(), u"1"_s, birth, QString()},
    };
    // clang-format on
    for (const auto& [branch, name, sex, birthDate, reason] : refused) {
        const records::Reply r = app().SetPaciente(branch, u"124"_s, name, sex, birthDate, false);
        EXPECT_FALSE(r.ok) << branch.toStdString() << " " << name.toStdString();
        EXPECT_TRUE(r.error.contains(reason)) << r.error.toStdString();
    }
    EXPECT_EQ(packetOf(app().GetPacientes()).rows.size(), 7);
}

SERVERTEST_BOTH_ENGINES(ConsultationTest);
