// The method catalogue as fixed data: the three exported tables and the two message
// tables their keys refer to. Positions in the entries are fixed; see catalogue.h.

#include "catalogue.h"

namespace records {

// clang-format off
const std::array<const char*, kCatalogueMethodCount> astTbMetoAval = {
    "00011190000  IMC_Calc                                                    IMC/Peso Teórico",
    "10111190001  IMC_Calc                                                    IMC/Peso Teórico - Must",
    "10211190002  PCT_Calc                                                    PCT",
    "10311190003  CMB_Calc                                                    CMB",
    "10411190004  CBo_Calc                                                    CB",
    "10511190005  AMB_Calc                                                    AMB",
    "30611190006  PICF_Calc                                                   Peso Ideal (Metropolitan Life)",
    "10811190008  AGB_Calc                                                    AGB",
    "10911190009  PIM_Calc                                                    Peso Ideal (Must)",
    "11011190010  PIB_Calc                                                    Peso Ideal (Burr Phillips)",
    "01111190011  CCa_Calc                                                    Circunferência da Cintura",
    "21211190012  PIG_Calc                                                    P/I (Gomez)",
    "21311190013  APW_Calc                                                    A/I e P/A (Waterlow/Batista)",
    "11411190014  PIF_Calc                                                    Peso Ideal (Frisancho)",
    "11511190015  PCo_Calc                                                    Perímetro Cefálico",
    "11611190016  S4P_Calc                                                    Soma 4 Pregas",
    "01711190017  BGI_Calc                                                    Bia - Gordura Ideal",
    "01811190018  IMCA_Calc                                                   IMC - Amputado (Tzamaloukas)",
    "31911190019  PICF_Calc                                                   Peso Ideal (Grant)",
    "02011190020  PIL_Calc                                                    Peso Ideal (Lorenz)",
    "02111190024  PTPC_Calc                                                   PT / PC",
    "02211190025  PIO_Calc                                                    Peso Ideal (IMC-OMS)",
    "02311190026  PIW_Calc                                                    Peso Ideal (Weech)",
    "22411190029  PII_Calc                                                    Peso Ideal para Idade (NCHS)",
    "22511190030  PIA_Calc                                                    Peso Ideal para Altura (NCHS)",
    "02611190031  %PP_Calc                                                    % Perda de Peso",
    "02711190032  PAO_Calc                                                    Peso Ajustado para Obesos (Wilkens)",
    "12811190036  MTSX_Calc                                                   Maturação Sexual",
    "12911190037  EQSR_Calc                                                   Equação de Siri",
    "03011190021  GEB_Calc                                                    Harris-Benedict/Long",
    "03111190033  VCTO_Calc                                                   VCT Pacientes Hospitalizados (Ogawa)",
    "03211190023  GEB_Calc                                                    RDA",
    "13311190027  DBE_Calc                                                    Du Bois/Escudero",
    "03411190028  IJs_Calc                                                    Ireton - Jones (1991)",
    "23511190034  CGP_Calc                                                    Catch-up Growth (Peterson)",
    "03611190035  VCTH_Calc                                                   VCT Pacientes Obesos (Halpern)",
    "23711190037  PI036_Calc                                                  Peso por Idade de 0 a 36 meses (NCHS 1977)",
    "23811190038  PI210_Calc                                                  Peso por Idade de 2 a 10 anos (NCHS 1977)",
    "23911190039  AI036_Calc                                                  Altura por Idade de 0 a 36 meses (NCHS 1977)",
    "24011190040  AI210_Calc                                                  Altura por Idade de 2 a 10 anos (NCHS 1977)",
    "24111190041  PA49103_Calc                                                Peso por Altura de 49 a 103 cm (NCHS 1977)",
    "24211190042  PA55145_Calc                                                Peso por Altura de 55 a 145 cm (NCHS 1977)",
    "24311190043  PI060_Calc                                                  Peso por Idade de 0 a 60 meses (OMS 2006)",
    "24411190044  AI024_Calc                                                  Altura por Idade de 0 a 24 Meses (OMS 2006)",
    "24511190045  AI2460_Calc                                                 Altura por Idade de 24 a 60 Meses (OMS 2006)",
    "24611190046  PA45110_Calc                                                Peso por Altura de 45 a 110 cm (OMS 2006)",
    "24711190047  PA65120_Calc                                                Peso por Altura de 65 a 120 cm (OMS 2006)",
    "14811190048  IMCAdo_Calc                                                 IMC de Adolescente",
    "04911190049  IMCOms_Calc                                                 IMC (OMS 1998)",
    "05011190050  RCQOms_Calc                                                 RCQ (OMS 1998)",
    "05111190051  CCOms_Calc                                                  Circunferência Cintura (OMS 1998)",
    "05211190052  PEC_Calc                                                    Peso Estimado (Chumlea 1985)",
    "05311190053  AEC_Calc                                                    Altura Estimada (Chumlea 1985)",
    "05411190054  CoO_Calc                                                    Compleição Óssea (Metropolitan Life 1983)",
    "05511190055  AdP_Calc                                                    Adequação do Peso",
    "05611190056  PeP_Calc                                                    Perda de Peso",
    "05711190057  PeA_Calc                                                    Peso Ajustado",
    "05811190058  PEd_Calc                                                    Peso corrigido de Paciente com Edema",
    "05911190059  EPA_Calc                                                    Estimativa de Peso na Amputação",
    "16011190060  AMBC_Calc                                                   AMBC",
    "06111190061  TMBhb_Calc                                                  TMB (Harris Benedict 1919)",
    "06211190062  TMBfao_Calc                                                 TMB (FAO)",
    "06311190063  PApO_Calc                                                   Peso Ajustado para Obesos",
    "06411190064  EER_Calc                                                    EER",
    "06511190065  EERG_Calc                                                   EER para Gestantes com Idade entre 19 e 50 anos de Idade",
    "06611190066  EERL_Calc                                                   EER para Lactantes com Idade entre 19 e 50 anos de Idade",
    "06711190067  IMCI_Calc                                                   IMC para Idosos",
    "06811190068  IMCG_Calc                                                   IMC para Gestantes",
};

const std::array<const char*, kCatalogueDataTypeCount> astTipoDado = {
    "01kgPes_Calc",
    "02m_Alt_Calc",
    "03mmPCB_Calc",
    "04mmPCTr_Calc",
    "05mmPCSE_Calc",
    "06mmPCSI_Calc",
    "07cmOsCP_Calc",
    "08cmCBço_Calc",
    "09cmAlJo_Calc",
    "10cmCQil_Calc",
    "11cmCCra_Calc",
    "12cmCPha_Calc",
    "13kgPHal_Calc",
    "14%_BGAl_Calc",
    "15kgPAAo_Calc",
    "16%_PlAo_Calc",
    "17kgPIal_Calc",
    "18kgPAdo_Calc",
    "20cmCTax_Calc",
    "21cmCBio_Calc",
    "22cmPCco_Calc",
    "23  FTco_Calc",
    "24  FAde_Calc",
    "25  FInj_Calc",
    "26  TGez_Calc",
    "27  SeLa_Calc",
    "28  RRDA_Calc",
    "29  DeRe_Calc",
    "30  Obde_Calc",
    "31  Trma_Calc",
    "32  Qmra_Calc",
    "33  RDA_Calc",
    "34  Inju_Calc",
    "35kgPeUs_Calc",
    "36  Tmpo_Calc",
    "37  Matu_Calc",
    "38mmPCCX_Calc",
    "39kgPAtu_Calc",
    "40  EdTo_Calc",
    "41  EdJo_Calc",
    "42  EdRC_Calc",
    "43  EdAn_Calc",
    "44  Mao__Calc",
    "45  Antb_Calc",
    "46  BrOm_Calc",
    "47  Pe___Calc",
    "48  PAbJ_Calc",
    "49  PAcJ_Calc",
    "50  PeIn_Calc",
    "51  NAF__Calc",
    "52  TrLa_Calc",
    "53  SeGr_Calc",
};

const std::array<const char*, kCatalogueLinkCount> astDadoAval = {
    "0100", "0200",
    "0101", "0201",
    "0402",
    "0403", "0803",
    "0804",
    "0106", "0206", "0706",
    "0408", "0808",
    "0209",
    "0210",
    "1111",
    "0112",
    "0113", "0213",
    "0214",
    "2215",
    "0316", "0416", "0516", "0616",
    "1417",
    "0118", "0218", "1518",
    "0119", "0219", "0719",
    "0120", "0220",
    "2021", "2221",
    "0122", "0222",
    "0123", "0223",
    "0124",
    "0225",
    "0126", "3526", "3626",
    "0127", "0227",
    "3728",
    "0129", "0329", "0429", "0529", "0629", "3829",
    "0130", "0230", "1730", "1830", "2330", "2430", "2530",
    "0131", "3431",
    "0132", "1732", "1832", "2432",
    "0133", "0233", "1733", "1833", "2433",
    "0134", "1734", "1834", "2934", "3034", "3134", "3234",
    "0135", "3335",
    "0136",
    "0137",
    "0138",
    "0239",
    "0240",
    "0141", "0241",
    "0142", "0242",
    "0143",
    "0244",
    "0245",
    "0146", "0246",
    "0147", "0247",
    "0148", "0248",
    "0149", "0249",
    "1150", "1050",
    "1151",
    "0552", "0852", "0952", "1252",
    "0953",
    "0254", "0754",
    "1755", "3955",
    "3556", "3656", "3956",
    "1757", "3957",
    "0158", "4058", "4158", "4258", "4358",
    "0159", "4459", "4559", "4659", "4759", "4859", "4959", "5059",
    "0460", "0860",
    "0161", "0261",
    "0162",
    "1763", "3963",
    "0164", "0264", "5164",
    "0165", "0265", "2665", "5165",
    "0166", "0266", "5166", "5266",
    "0167", "0267",
    "0168", "0268", "5368",
};

const std::array<const char*, 3> astDadoAvalExtra = {"0405", "0805", "0125"};
// clang-format on

namespace {

// Method descriptions. RCQ_Calc names the waist-to-hip ratio routine of method "07",
// which has no catalogue entry but is still calculated when a record carries it.
const char kMsgTbMeAv[] = R"msg(
IMC_Calc|Índice de Massa Corpórea
PCT_Calc|Prega Cutânea Triciptal
CMB_Calc|Circunferência Muscular do Braço
CBo_Calc|Circunferência do Braço
AMB_Calc|Área Muscular do Braço
PICF_Calc|Peso Ideal (Compleição Física)
AGB_Calc|AGB (Área Gordurosa do Braço)
PIM_Calc|Peso Ideal (Must)
PIB_Calc|Peso Ideal (Burr Phillips)
CCa_Calc|Circunferência da Cintura
PIG_Calc|P/I (Gomez)
APW_Calc|A/I e P/A (Waterlow/Batista)
PIF_Calc|Peso Ideal (Frisancho)
PCo_Calc|Perímetro Cefálico
S4P_Calc|Soma 4 Pregas
BGI_Calc|Bia - Gordura Ideal
IMCA_Calc|Índice de Massa Corpórea
PIL_Calc|Peso Ideal (Lorenz)
PTPC_Calc|Perímetro Toráxico / Perímetro Cefálico
PIO_Calc|Peso Ideal (IMC-OMS)
PIW_Calc|Peso Ideal (Weech)
PII_Calc|Peso Ideal para Idade (NCHS)
PIA_Calc|Peso Ideal para Altura (NCHS)
%PP_Calc|% Perda de Peso
PAO_Calc|Peso Ajustado para Obesos (Wilkens)
MTSX_Calc|Maturação Sexual
EQSR_Calc|Equação de Siri
GEB_Calc|Gasto Energético Basal
VCTO_Calc|VCT Pacientes Hospitalizados (Ogawa)
DBE_Calc|Du Bois/Escudero
IJs_Calc|Ireton - Jones (1991)
CGP_Calc|Catch-up Growth (Peterson)
VCTH_Calc|VCT Pacientes Obesos (Halpern)
PI036_Calc|Peso por Idade de 0 a 36 meses (NCHS 1977)
PI210_Calc|Peso por Idade de 2 a 10 anos (NCHS 1977)
AI036_Calc|Altura por Idade de 0 a 36 meses (NCHS 1977)
AI210_Calc|Altura por Idade de 2 a 10 anos (NCHS 1977)
PA49103_Calc|Peso por Altura de 49 a 103 cm (NCHS 1977)
PA55145_Calc|Peso por Altura de 55 a 145 cm (NCHS 1977)
PI060_Calc|Peso por Idade de 0 a 60 meses (OMS 2006)
AI024_Calc|Altura por Idade de 0 a 24 Meses (OMS 2006)
AI2460_Calc|Altura por Idade de 24 a 60 Meses (OMS 2006)
PA45110_Calc|Peso por Altura de 45 a 110 cm (OMS 2006)
PA65120_Calc|Peso por Altura de 65 a 120 cm (OMS 2006)
IMCAdo_Calc|IMC de Adolescente
IMCOms_Calc|IMC (OMS 1998)
RCQOms_Calc|RCQ (OMS 1998)
CCOms_Calc|Circunferência Cintura (OMS 1998)
PEC_Calc|Peso Estimado (Chumlea 1985)
AEC_Calc|Altura Estimada (Chumlea 1985)
CoO_Calc|Compleição Óssea (Metropolitan Life 1983)
AdP_Calc|Adequação do Peso
PeP_Calc|Perda de Peso
PeA_Calc|Peso Ajustado
PEd_Calc|Peso corrigido de Paciente com Edema
EPA_Calc|Estimativa de Peso na Amputação
AMBC_Calc|AMBC
TMBhb_Calc|TMB (Harris Benedict 1919)
TMBfao_Calc|TMB (FAO)
PApO_Calc|Peso Ajustado para Obesos
EER_Calc|EER
EERG_Calc|EER para Gestantes com Idade entre 19 e 50 anos de Idade
EERL_Calc|EER para Lactantes com Idade entre 19 e 50 anos de Idade
IMCI_Calc|IMC para Idosos
IMCG_Calc|IMC para Gestantes
RCQ_Calc|Relação Cintura Quadril
)msg";

// Data type units (first) and names.
const char kMsgTpDado[] = R"msg(
kg|kg
m_|m
mm|mm
cm|cm
%_|%
Pes_Calc|Peso
Alt_Calc|Altura
PCB_Calc|PCB - Prega Cutânea Biciptal
PCTr_Calc|PCT - Prega Cutânea Triciptal
PCSE_Calc|PCSE - Prega Cutânea Subescapular
PCSI_Calc|PCSI - Prega Cutânea Suprailíaca
OsCP_Calc|Ossatura - Circunferência do Punho
CBço_Calc|CB - Circunferência do Braço
AlJo_Calc|Altura do Joelho
CQil_Calc|Circunferência do Quadril
CCra_Calc|Circunferência da Cintura
CPha_Calc|Circunferência da Panturrilha
PHal_Calc|Peso Habitual
BGAl_Calc|Bia Gordura Atual
PAAo_Calc|Peso Antes Amputação
PlAo_Calc|Percentual Amputação
PIal_Calc|Peso Ideal
PAdo_Calc|Peso Adequado
CTax_Calc|Circunferência do Tórax
CBio_Calc|Circunferência do Brônquio
PCco_Calc|Perímetro Cefálico
FTco_Calc|Fator Térmico
FAde_Calc|Fator Atividade
FInj_Calc|Fator Injúria
TGez_Calc|Trimestre Gravidez
SeLa_Calc|Semestre Lactação
RRDA_Calc|Referência RDA
DeRe_Calc|Dependente de Respirador
Obde_Calc|Obesidade
Trma_Calc|Trauma
Qmra_Calc|Queimadura
RDA_Calc|RDA
Inju_Calc|Injúria
PeUs_Calc|Peso Usual
Tmpo_Calc|Tempo
Matu_Calc|Maturação Sexual - Estágio observado
PCCX_Calc|PCCX - Prega cutânea da coxa
PAtu_Calc|Peso Atual
EdTo_Calc|Edema - Tornozelo
EdJo_Calc|Edema - Joelho
EdRC_Calc|Edema - Raiz da Coxa
EdAn_Calc|Edema - Anasarca
Mao__Calc|Membro - Mão
Antb_Calc|Membro - Antebraço
BrOm_Calc|Membro - Braço até o ombro
Pe___Calc|Membro - Pé
PAbJ_Calc|Membro - Perna abaixo do joelho
PAcJ_Calc|Membro - Perna acima do joelho
PeIn_Calc|Membro - Perna inteira
NAF__Calc|NAF
TrLa_Calc|Trimestre Lactação
SeGr_Calc|Semana Gestacional
)msg";

}  // namespace

const char* catalogueMessageLines(CatalogueMessages table)
{
    // Skip the line break that opens each literal.
    return (table == CatalogueMessages::MsgTbMeAv ? kMsgTbMeAv : kMsgTpDado) + 1;
}

}  // namespace records
