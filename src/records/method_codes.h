#pragma once

// The codes of the catalogue's methods (CDTBMETOAVAL) and data types (CDTIPODADO), named
// once for the client, the server and the command line. The catalogue tables
// (catalogue_data.cpp) and the method and data type descriptors are the only other
// places where the two-character texts stand.

#include <QLatin1String>

namespace records {

namespace method {
// Assessment tab, in code order
inline constexpr QLatin1String kImc("00");                 // IMC/Peso Teórico
inline constexpr QLatin1String kImcMust("01");             // IMC/Peso Teórico - Must
inline constexpr QLatin1String kPct("02");                 // PCT
inline constexpr QLatin1String kCmb("03");                 // CMB
inline constexpr QLatin1String kCb("04");                  // CB
inline constexpr QLatin1String kAmb("05");                 // AMB
inline constexpr QLatin1String kPesoIdeal("06");           // Peso Ideal (Metropolitan Life)
inline constexpr QLatin1String kRcq("07");                 // no catalogue method; dispatched
inline constexpr QLatin1String kAgb("08");                 // AGB
inline constexpr QLatin1String kPesoIdealMust("09");       // Peso Ideal (Must)
inline constexpr QLatin1String kPesoIdealBurrPhi("10");    // Peso Ideal (Burr Phillips)
inline constexpr QLatin1String kCircunfCintura("11");      // Circunferência da Cintura
inline constexpr QLatin1String kAnGomez("12");             // P/I (Gomez)
inline constexpr QLatin1String kAnWaterlow("13");          // A/I e P/A (Waterlow/Batista)
inline constexpr QLatin1String kPesoIdealFrisancho("14");  // Peso Ideal (Frisancho)
inline constexpr QLatin1String kPerCefalico("15");         // Perímetro Cefálico
inline constexpr QLatin1String kSomaPrega("16");           // Soma 4 Pregas
inline constexpr QLatin1String kBiaGordura("17");          // Bia - Gordura Ideal
inline constexpr QLatin1String kImcAmputado("18");         // IMC - Amputado (Tzamaloukas)
inline constexpr QLatin1String kPesoIdealGrant("19");      // Peso Ideal (Grant)
inline constexpr QLatin1String kPesoIdealLorenz("20");     // Peso Ideal (Lorenz)
inline constexpr QLatin1String kPtPc("21");                // PT / PC
inline constexpr QLatin1String kPesoIdealImc("22");        // Peso Ideal (IMC-OMS)
inline constexpr QLatin1String kPesoIdealWeech("23");      // Peso Ideal (Weech)
inline constexpr QLatin1String kPesoIdealIdade("24");      // Peso Ideal para Idade (NCHS)
inline constexpr QLatin1String kPesoIdealAltura("25");     // Peso Ideal para Altura (NCHS)
inline constexpr QLatin1String kPerdaPeso("26");           // % Perda de Peso
inline constexpr QLatin1String kPesoAjustadoOb("27");      // Peso Ajustado para Obesos (Wilkens)
inline constexpr QLatin1String kMaturacaoSexual("28");     // Maturação Sexual
inline constexpr QLatin1String kSiri("29");                // Equação de Siri
// Energy tab
inline constexpr QLatin1String kHarris("30");            // Harris-Benedict/Long
inline constexpr QLatin1String kPacienteHospital("31");  // VCT Pacientes Hospitalizados (Ogawa)
inline constexpr QLatin1String kRda("32");               // RDA
inline constexpr QLatin1String kDuBois("33");            // Du Bois/Escudero
inline constexpr QLatin1String kIretonJones("34");       // Ireton - Jones (1991)
inline constexpr QLatin1String kCatchUp("35");           // Catch-up Growth (Peterson)
inline constexpr QLatin1String kPacienteObesos("36");    // VCT Pacientes Obesos (Halpern)
// Assessment tab: growth against the 1977 and 2006 references
inline constexpr QLatin1String kPesoIdade036Nchs("37");     // Peso por Idade de 0 a 36 meses
inline constexpr QLatin1String kPesoIdade210Nchs("38");     // Peso por Idade de 2 a 10 anos
inline constexpr QLatin1String kAlturaIdade036Nchs("39");   // Altura por Idade de 0 a 36 meses
inline constexpr QLatin1String kAlturaIdade210Nchs("40");   // Altura por Idade de 2 a 10 anos
inline constexpr QLatin1String kPesoAltura49103Nchs("41");  // Peso por Altura de 49 a 103 cm
inline constexpr QLatin1String kPesoAltura55145Nchs("42");  // Peso por Altura de 55 a 145 cm
inline constexpr QLatin1String kPesoIdade060Oms("43");      // Peso por Idade de 0 a 60 meses
inline constexpr QLatin1String kAlturaIdade024Oms("44");    // Altura por Idade de 0 a 24 Meses
inline constexpr QLatin1String kAlturaIdade2460Oms("45");   // Altura por Idade de 24 a 60 Meses
inline constexpr QLatin1String kPesoAltura45110Oms("46");   // Peso por Altura de 45 a 110 cm
inline constexpr QLatin1String kPesoAltura65120Oms("47");   // Peso por Altura de 65 a 120 cm
inline constexpr QLatin1String kImcAdolescente("48");       // IMC de Adolescente
inline constexpr QLatin1String kImcOms98("49");             // IMC (OMS 1998)
inline constexpr QLatin1String kRcqOms98("50");             // RCQ (OMS 1998)
inline constexpr QLatin1String kCircCintOms98("51");        // Circunferência Cintura (OMS 1998)
inline constexpr QLatin1String kPesoChumlea85("52");        // Peso Estimado (Chumlea 1985)
inline constexpr QLatin1String kAlturaChumlea85("53");      // Altura Estimada (Chumlea 1985)
inline constexpr QLatin1String kCompOsseaML83("54");  // Compleição Óssea (Metropolitan Life 1983)
inline constexpr QLatin1String kAdeqPes("55");        // Adequação do Peso
inline constexpr QLatin1String kPerPes("56");         // Perda de Peso
inline constexpr QLatin1String kPesAjust("57");       // Peso Ajustado
inline constexpr QLatin1String kPesEdema("58");       // Peso corrigido de Paciente com Edema
inline constexpr QLatin1String kPesAmpu("59");        // Estimativa de Peso na Amputação
inline constexpr QLatin1String kAmbc("60");           // AMBC
inline constexpr QLatin1String kTmbHb1919("61");      // TMB (Harris Benedict 1919)
inline constexpr QLatin1String kTmbFao("62");         // TMB (FAO)
inline constexpr QLatin1String kPesoObeso("63");      // Peso Ajustado para Obesos
inline constexpr QLatin1String kEer("64");            // EER
inline constexpr QLatin1String kEerGest("65");        // EER para Gestantes
inline constexpr QLatin1String kEerLac("66");         // EER para Lactantes
inline constexpr QLatin1String kImcIdoso("67");       // IMC para Idosos
inline constexpr QLatin1String kImcGestante("68");    // IMC para Gestantes
}  // namespace method

namespace data_type {
inline constexpr QLatin1String kPeso("01");                  // Peso (kg)
inline constexpr QLatin1String kAltura("02");                // Altura (m)
inline constexpr QLatin1String kPcb("03");                   // Prega Cutânea Biciptal (mm)
inline constexpr QLatin1String kPct("04");                   // Prega Cutânea Triciptal (mm)
inline constexpr QLatin1String kPcse("05");                  // Prega Cutânea Subescapular (mm)
inline constexpr QLatin1String kPcsi("06");                  // Prega Cutânea Suprailíaca (mm)
inline constexpr QLatin1String kOssaturaPunho("07");         // Circunferência do Punho (cm)
inline constexpr QLatin1String kCircBraco("08");             // CB - Circunferência do Braço (cm)
inline constexpr QLatin1String kAlturaJoelho("09");          // Altura do Joelho (cm)
inline constexpr QLatin1String kCircQuadril("10");           // Circunferência do Quadril (cm)
inline constexpr QLatin1String kCircCintura("11");           // Circunferência da Cintura (cm)
inline constexpr QLatin1String kCircPanturrilha("12");       // Circunferência da Panturrilha (cm)
inline constexpr QLatin1String kPesoHabitual("13");          // Peso Habitual (kg)
inline constexpr QLatin1String kBiaGorduraAtual("14");       // Bia Gordura Atual (%)
inline constexpr QLatin1String kPesoAntesAmputacao("15");    // Peso Antes Amputação (kg)
inline constexpr QLatin1String kPercentualAmputacao("16");   // Percentual Amputação (%)
inline constexpr QLatin1String kPesoIdeal("17");             // Peso Ideal (kg)
inline constexpr QLatin1String kPesoAdequado("18");          // Peso Adequado (kg)
inline constexpr QLatin1String kCircTorax("20");             // Circunferência do Tórax (cm)
inline constexpr QLatin1String kCircBronquio("21");          // Circunferência do Brônquio (cm)
inline constexpr QLatin1String kPerimetroCefalico("22");     // Perímetro Cefálico (cm)
inline constexpr QLatin1String kFatorTermico("23");          // Fator Térmico
inline constexpr QLatin1String kFatorAtividade("24");        // Fator Atividade
inline constexpr QLatin1String kFatorInjuria("25");          // Fator Injúria
inline constexpr QLatin1String kTrimestreGravidez("26");     // Trimestre Gravidez (code)
inline constexpr QLatin1String kSemestreLactacao("27");      // Semestre Lactação
inline constexpr QLatin1String kReferenciaRda("28");         // Referência RDA
inline constexpr QLatin1String kDependenteRespirador("29");  // Dependente de Respirador
inline constexpr QLatin1String kObesidade("30");             // Obesidade
inline constexpr QLatin1String kTrauma("31");                // Trauma
inline constexpr QLatin1String kQueimadura("32");            // Queimadura
inline constexpr QLatin1String kRda("33");                   // RDA
inline constexpr QLatin1String kInjuria("34");               // Injúria
inline constexpr QLatin1String kPesoUsual("35");             // Peso Usual (kg)
inline constexpr QLatin1String kTempo("36");                 // Tempo (code)
inline constexpr QLatin1String kMaturacaoSexual("37");  // Maturação Sexual - Estágio observado
inline constexpr QLatin1String kPccx("38");             // Prega cutânea da coxa (mm)
inline constexpr QLatin1String kPesoAtual("39");        // Peso Atual (kg)
inline constexpr QLatin1String kEdemaTornozelo("40");   // Edema - Tornozelo (0/1)
inline constexpr QLatin1String kEdemaJoelho("41");      // Edema - Joelho
inline constexpr QLatin1String kEdemaRaizCoxa("42");    // Edema - Raiz da Coxa
inline constexpr QLatin1String kEdemaAnasarca("43");    // Edema - Anasarca
inline constexpr QLatin1String kMembroMao("44");        // Membro - Mão (0/1, limbs in unit)
inline constexpr QLatin1String kMembroAntebraco("45");  // Membro - Antebraço
inline constexpr QLatin1String kMembroBraco("46");      // Membro - Braço até o ombro
inline constexpr QLatin1String kMembroPe("47");         // Membro - Pé
inline constexpr QLatin1String kMembroPernaAbaixoJoelho("48");  // Membro - Perna abaixo do joelho
inline constexpr QLatin1String kMembroPernaAcimaJoelho("49");   // Membro - Perna acima do joelho
inline constexpr QLatin1String kMembroPernaInteira("50");       // Membro - Perna inteira
inline constexpr QLatin1String kNaf("51");                      // NAF (activity level code)
inline constexpr QLatin1String kTrimestreLactacao("52");        // Trimestre Lactação (code)
inline constexpr QLatin1String kSemanaGestacional("53");        // Semana Gestacional (whole weeks)
}  // namespace data_type

}  // namespace records
