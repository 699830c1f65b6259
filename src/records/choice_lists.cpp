#include "choice_lists.h"

namespace records {

Packet ChoiceList::toPacket() const
{
    Packet packet;
    packet.fields = fields;
    const bool withValue = indexOfField(fields, QStringLiteral("VRFATOR")) >= 0;
    for (const ChoiceRow& row : rows) {
        QVariantList values{row.code, row.text};
        if (withValue)
            values.append(row.value);
        packet.rows.append(values);
    }
    return packet;
}

namespace choice_lists {
namespace {

QString L(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct Row
{
    const char* code;
    const char* key;
    const char* text;
    const char* value = "";
};

// CDFATOR (hidden) and NMFATOR of the given size, label and width in characters.
ChoiceList make(const char* name, int size, const char* label, int chars,
                std::initializer_list<Row> rows)
{
    ChoiceList list;
    list.name = QString::fromLatin1(name);
    FieldDef code;
    code.name = QStringLiteral("CDFATOR");
    code.size = 2;
    code.hidden = true;
    FieldDef text;
    text.name = QStringLiteral("NMFATOR");
    text.size = size;
    text.label = L(label);
    text.displayChars = chars;
    list.fields = {code, text};
    for (const Row& r : rows)
        list.rows.append({L(r.code), L(r.key), L(r.text), L(r.value)});
    return list;
}

}  // namespace

const ChoiceList& cdsTrabFatorTer()
{
    static const ChoiceList l = make("cdsTrabFatorTer", 10, "Fator Térmico", 0,
                                     {{"4", "Normal", "Normal"},
                                      {"0", "38", "38ºC"},
                                      {"1", "39", "39ºC"},
                                      {"2", "40", "40ºC"},
                                      {"3", "41", "41ºC"}});
    return l;
}

const ChoiceList& cdsTrabAtivHarris()
{
    static const ChoiceList l = make("cdsTrabAtivHarris", 30, "Atividade Física", 0,
                                     {{"0", "Acamado", "Acamado (1,20)"},
                                      {"1", "AcamadoMovel", "Acamado + Móvel (1,25)"},
                                      {"2", "Ambulante", "Ambulante (1,30)"}});
    return l;
}

const ChoiceList& cdsTrabAtivRda()
{
    static const ChoiceList l = make("cdsTrabAtivRda", 30, "Fator de Atividade", 0,
                                     {{"0", "MuitoLeve", "Muito Leve"},
                                      {"1", "Leve", "Leve"},
                                      {"2", "Moderada", "Moderada"},
                                      {"3", "Pesada", "Pesada"},
                                      {"4", "MuitoPesada", "Muito Pesada"}});
    return l;
}

const ChoiceList& cdsTrabAtivDuBois()
{
    // 31 characters: the longest text, "Ativ. Muito Intensa (2500 Kcal)", must fit whole.
    static const ChoiceList l = make("cdsTrabAtivDuBois", 31, "Fator de Atividade", 0,
                                     {{"0", "SemAtividade", "Sem Atividade (500 Kcal)"},
                                      {"1", "AtivLeve", "Ativ. Leve (720 Kcal)"},
                                      {"2", "AtivModerada", "Ativ. Moderada (1200 Kcal)"},
                                      {"3", "AtivIntensa", "Ativ. Intensa (2200 Kcal)"},
                                      {"4", "AtivMuito", "Ativ. Muito Intensa (2500 Kcal)"}});
    return l;
}

const ChoiceList& cdsTrabStatus()
{
    static const ChoiceList l =
        make("cdsTrabStatus", 10, " ", 0, {{"1", "Sim", "Sim"}, {"0", "Nao", "Não"}});
    return l;
}

const ChoiceList& cdsTrabPaciHosp()
{
    static const ChoiceList l = [] {
        ChoiceList list =
            make("cdsTrabPaciHosp", 48, "Injúria", 44,
                 {{"0", "Obesidade_Morb", "Obesidade Mórbida", "20-22"},
                  {"1", "Marasmo", "Marasmo", "22-25"},
                  {"2", "Cirurgia_N_Comp", "Cirurgia não complicada, doença prolongada", "25-27"},
                  {"3", "Sepse", "Sepse, trauma, penetrante", "27-30"},
                  {"4", "Trauma_Esq", "Trauma esquelético, trauma de crânio", "30-33"},
                  {"5", "Queimadura<30", "Queimadura ( < 30% superfície ), anabolismo", "30-35"},
                  {"6", "Queimadura>30", "Queimadura ( > 30% superfície )", "35-40"}});
        FieldDef value;
        value.name = QStringLiteral("VRFATOR");
        value.size = 5;
        value.label = QStringLiteral("Valor");
        value.displayChars = 7;
        list.fields.append(value);
        return list;
    }();
    return l;
}

const ChoiceList& cdsTrabPerda()
{
    static const ChoiceList l = make("cdsTrabPerda", 15, "Tempo", 0,
                                     {{"1", "1Semana", "Uma Semana"},
                                      {"2", "1Mes", "Um Mês"},
                                      {"3", "3Meses", "Três Meses"},
                                      {"4", "6Meses", "Seis Meses"}});
    return l;
}

const ChoiceList& cdsNaf()
{
    static const ChoiceList l = make("cdsNaf", 31, "NAF", 31,
                                     {{"1", "Inten", "Intenso (> ou = 1,9 e < 2,5)"},
                                      {"2", "Mod", "Moderado (> ou = 1,6 e < 1,9)"},
                                      {"3", "Lev", "Leve (> ou = 1,4 e < 1,6)"},
                                      {"4", "Seden", "Sedentarismo (> ou = 1 e < 1,4)"}});
    return l;
}

const ChoiceList& cdsTrimestreGesta()
{
    static const ChoiceList l = make("cdsTrimestreGesta", 31, "Trimestre Gravidez ", 31,
                                     {{"1", "1trim", "Primeiro Trimestre"},
                                      {"2", "2trim", "Segundo Trimestre"},
                                      {"3", "3trim", "Terceiro Trimestre"}});
    return l;
}

const ChoiceList& cdsTrimestreLac()
{
    static const ChoiceList l =
        make("cdsTrimestreLac", 31, "Trimestre Lactação", 31,
             {{"1", "1trim", "Primeiro Trimestre"}, {"2", "2trim", "Segundo Trimestre"}});
    return l;
}

QList<const ChoiceList*> all()
{
    static const QList<const ChoiceList*> list = {
        &cdsTrabFatorTer(),   &cdsTrabAtivHarris(), &cdsTrabAtivRda(), &cdsTrabAtivDuBois(),
        &cdsTrabStatus(),     &cdsTrabPaciHosp(),   &cdsTrabPerda(),   &cdsNaf(),
        &cdsTrimestreGesta(), &cdsTrimestreLac(),
    };
    return list;
}

const ChoiceList* byName(const QString& name)
{
    for (const ChoiceList* l : all()) {
        if (l->name == name)
            return l;
    }
    return nullptr;
}

}  // namespace choice_lists
}  // namespace records
