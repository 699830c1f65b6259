#include "workspace_messages.h"

#include "records/catalogue.h"

namespace workspace {

const hostfw::TMessages& msgPadrao()
{
    static const hostfw::TMessages table = hostfw::TMessages::fromText(QStringLiteral(R"(
        Anos|Anos
        Ano|Ano
        Mes|Mês
        Meses|Meses
        Masculino|Masculino
        Feminino|Feminino
        Defeituoso|Defeituoso
        Indefinido|Indefinido
        Imc_Sele|IMC está selecionado.
        Imc_Amp_Sele|IMC Amputado está selecionado.
        Imc_Ado_Sele|IMC  de Adolescente está selecionado.
        Imc_Oms_Sele|IMC (OMS 1998) está selecionado.
        Imc_Ido_Sele|IMC para Idosos está selecionado.
        IMC_Ges_Sele|IMC para Gestantes está selecionado.
        Refe|Referência
        Refe_NHa|Não há referência cadastrada.
        Refe_Inf|Referência deve ser informada.
        Refe_NCad|Referência não cadastrada.
        Membro_Sup|Dois membros superiores já estão selecionados
        Membro_Inf|Dois membros inferiores já estão selecionados
        Atu_Serv|Atualizando informações no servidor...
        Atu_Tab|Atualizando Tabela...
        Peso_Est|Peso Estimado
        Altura_Est|Altura Estimada
        Peso_Inf|Peso deve ser informado.
        Altura_Inf|Altura deve ser informada.
        peso_inv|Peso deve ser um número.
        alt_inv|Altura deve ser um número.
        peso_adeq_inv|Peso Adequado deve ser um número.
        Fator_Inju|Fator de Injúria
    )"));
    return table;
}

const hostfw::TMessages& MsgTbMeAv()
{
    static const hostfw::TMessages table = hostfw::TMessages::fromText(
        QString::fromUtf8(records::catalogueMessageLines(records::CatalogueMessages::MsgTbMeAv)));
    return table;
}

const hostfw::TMessages& MsgTpDado()
{
    static const hostfw::TMessages table = hostfw::TMessages::fromText(
        QString::fromUtf8(records::catalogueMessageLines(records::CatalogueMessages::MsgTpDado)));
    return table;
}

}  // namespace workspace
