#include "records/choice_lists.h"
#include "records/layouts.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace records;

namespace {

QStringList names(const FieldList& fields)
{
    QStringList out;
    for (const FieldDef& f : fields)
        out.append(f.name);
    return out;
}

}  // namespace

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
        // Only the three datasets whose writes carry the null-field list say so.
        const bool nullList = l->name == QStringLiteral("cdsMetoAval")
                              || l->name == QStringLiteral("cdsMetoAvalEnerg")
                              || l->name == QStringLiteral("cdsInfoAval");
        EXPECT_EQ(l->sendsNullFieldList, nullList) << where;
        if (!l->writeMethod.isEmpty()) {
            EXPECT_FALSE(l->keyFields.isEmpty()) << where;
        }
    }
}

TEST(Layouts, MethodRecordsKeepTheirFieldOrderLabelsAndGridAttributes)
{
    const DataSetLayout& m = layouts::cdsMetoAval();
    EXPECT_EQ(names(m.fields).join(QLatin1Char(',')),
              QStringLiteral("CDFILIAL,CDPACIENTE,DTCONSPACI,IDTABELAAV,CDTABELACO,CDTBMETOAVAL,"
                             "IDTBUTILTABE,NMTBMETOAVAL,CDTBREFMETOA,NMREFEBIBL,NRCTMETOAVAL"));
    EXPECT_EQ(m.keyFields.join(QLatin1Char(';')),
              QStringLiteral("CDFILIAL;CDPACIENTE;DTCONSPACI;CDTBMETOAVAL"));
    EXPECT_EQ(m.writeMethod, QStringLiteral("SetMetoAval"));
    const FieldDef& name = m.fields[indexOfField(m.fields, QStringLiteral("NMTBMETOAVAL"))];
    EXPECT_EQ(name.label, QStringLiteral("Método de Avaliação"));
    EXPECT_EQ(name.displayWidth, 364);
    EXPECT_TRUE(name.readOnly);
    EXPECT_EQ(m.fields[2].type, FieldType::DateTime);
    EXPECT_TRUE(m.fields[2].hidden);

    EXPECT_EQ(names(layouts::cdsMetoAvalEnerg().fields).join(QLatin1Char(',')),
              QStringLiteral("CDFILIAL,CDPACIENTE,DTCONSPACI,CDTBMETOAVAL,IDTABELAAV,NMTBMETOAVAL,"
                             "CDTABELACO,NMREFEBIBL,CDTBREFMETOA,NRCTMETOAVAL,IDTBUTILTABE"));

    const DataSetLayout& r = layouts::cdsResuAval();
    EXPECT_EQ(r.keyFields.join(QLatin1Char(';')),
              QStringLiteral("CDFILIAL;CDPACIENTE;DTCONSPACI;CDTBMETOAVAL;CDSEQUAVAL"));
    // The description label keeps its trailing blank.
    EXPECT_EQ(r.fields[indexOfField(r.fields, QStringLiteral("DSCONTRESU"))].label,
              QStringLiteral("Descrição "));
    EXPECT_EQ(layouts::cdsDiagNutri().fields.last().type, FieldType::Blob);
}

TEST(ChoiceLists, RowsAndMessageKeysAsBuiltAtFormCreation)
{
    ASSERT_EQ(choice_lists::all().size(), 10);
    QStringList keys;
    for (const ChoiceList* l : choice_lists::all()) {
        EXPECT_EQ(choice_lists::byName(l->name), l);
        EXPECT_EQ(l->fields[0].name, QStringLiteral("CDFATOR"));
        EXPECT_TRUE(l->fields[0].hidden);
        EXPECT_EQ(l->fields[1].name, QStringLiteral("NMFATOR"));
        for (const ChoiceRow& row : l->rows) {
            EXPECT_LE(row.text.size(), l->fields[1].size) << row.text.toStdString();
            if (!keys.contains(row.messageKey))
                keys.append(row.messageKey);
        }
    }
    EXPECT_EQ(keys.join(QLatin1Char(',')),
              QStringLiteral("Normal,38,39,40,41,Acamado,AcamadoMovel,Ambulante,MuitoLeve,Leve,"
                             "Moderada,Pesada,MuitoPesada,SemAtividade,AtivLeve,AtivModerada,"
                             "AtivIntensa,AtivMuito,Sim,Nao,Obesidade_Morb,Marasmo,"
                             "Cirurgia_N_Comp,Sepse,Trauma_Esq,Queimadura<30,Queimadura>30,"
                             "1Semana,1Mes,3Meses,6Meses,Inten,Mod,Lev,Seden,1trim,2trim,3trim"));

    const ChoiceList& thermal = choice_lists::cdsTrabFatorTer();
    EXPECT_EQ(thermal.rows.first().code, QStringLiteral("4"));
    EXPECT_EQ(thermal.rows[1].text, QStringLiteral("38ºC"));
    EXPECT_EQ(choice_lists::cdsTrabStatus().fields[1].label, QStringLiteral(" "));
    EXPECT_EQ(choice_lists::cdsTrimestreGesta().fields[1].label,
              QStringLiteral("Trimestre Gravidez "));

    const Packet hosp = choice_lists::cdsTrabPaciHosp().toPacket();
    ASSERT_EQ(hosp.fields.size(), 3);
    ASSERT_EQ(hosp.rows.size(), 7);
    EXPECT_EQ(hosp.value(5, QStringLiteral("NMFATOR")).toString(),
              QStringLiteral("Queimadura ( < 30% superfície ), anabolismo"));
    EXPECT_EQ(hosp.value(5, QStringLiteral("VRFATOR")).toString(), QStringLiteral("30-35"));
    EXPECT_EQ(choice_lists::cdsNaf().toPacket().rows.first().size(), 2);
}
