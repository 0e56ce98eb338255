// Small declarations for the writer's golden files, one per branch family.
#ifndef DODU_TESTS_HANDOVER_DECLARATION_FIXTURES_H_
#define DODU_TESTS_HANDOVER_DECLARATION_FIXTURES_H_

#include "handover/testutil.h"

namespace dodu::handover::testing {

struct Fixture {
  Vars vars;
  Snapshot in;
  std::deque<int> choices;  // the automatic-debit question, when asked
};

inline Row R() { return Row(); }

// Simplified model, nothing but the taxpayer.
inline Fixture Simplified() { return {BaseVars(), BaseSnapshot(), {}}; }

// Complete model: a dependant, an alimony receiver, income from companies for
// both, carnê-leão by individual entries (mode 1), payments of every kind and
// three quotas without automatic debit.
inline Fixture CompleteWithDependants() {
  Fixture f{BaseVars(), BaseSnapshot(), {2}};
  f.vars.map.Declare("USAPADRAO", core::Value(std::string("N")));
  f.vars.map.Declare("QTD_QUOTA", core::Value(*core::Decimal::Parse("3")));
  for (auto [n, v] :
       std::initializer_list<std::pair<const char*, const char*>>{{"I13_01", "97623.52"},
                                                                  {"I13_02", "13000"},
                                                                  {"I13_08", "110623.52"},
                                                                  {"I13_09", "3317.94"},
                                                                  {"I13_19", "10388.52"},
                                                                  {"I13_20", "100235"},
                                                                  {"I13_21", "17092.35"},
                                                                  {"I13_23", "17132.30"},
                                                                  {"I13_27", "15421.65"},
                                                                  {"I13_35", "15421.65"},
                                                                  {"I13_36", "1710.65"},
                                                                  {"I13_37", "570.21"}}) {
    f.vars.map.Declare(n, core::Value(*core::Decimal::Parse(v)));
  }
  auto& deps = f.in.rows[Schedule::kDependants];
  deps.push_back(R().Text("NOMEDEPEN", "Ana Furirezu")
                     .Num("CODIDEPEN", "11")
                     .Text("CPFDEPEN", "33333333414")
                     .Num("NRODEPEN", "1")
                     .Day("DATADEPEN", Day(1991, 2, 3))
                     .Text("NITDEPEN", "12345678901"));
  deps.push_back(R().Text("NOMEDEPEN", "Artur Syonay")
                     .Num("CODIDEPEN", "99")
                     .Text("CPFDEPEN", "44444444525")
                     .Num("NRODEPEN", "2")
                     .Day("DATADEPEN", Day(2006, 5, 4)));
  auto& inc = f.in.rows[Schedule::kIncome];
  inc.push_back(R().Text("I1_1", "J")
                    .Text("I1_2", "AAA Seguros & Cia LTDA")
                    .Text("I1_3", "99.111.111/0001-32")
                    .Num("I1_4", "97623.52")
                    .Num("I1_5", "15421.65")
                    .Num("I1_6", "2931.67")
                    .Num("I1_7", "7509.46")
                    .Num("I1_39", "1014.73")
                    .Text("I1_11", "S")
                    .Num("I1_38", "250.10"));
  inc.push_back(R().Text("I1_1", "D")
                    .Text("I1_2", "BBB LTDA")
                    .Text("I1_3", "99.222.222/0001-16")
                    .Num("I1_4", "13000")
                    .Num("I1_6", "386.27")
                    .Num("I1_7", "1000")
                    .Text("I1_8", "33333333414")
                    .Text("I1_11", "N")
                    .Num("I1_20", "120"));
  Row persons = R().Text("I1_1", "F")
                    .Text("I1_2", "Jose")
                    .Text("I1_3", "12345678909")
                    .Text("I1_41", "T")
                    .Text("I1_11", "S");
  persons.Num("I1_403", "1500").Num("I1_411", "800");
  inc.push_back(persons);
  f.vars.map.Declare("I4_04", core::Value(*core::Decimal::Parse("250.10")));
  auto& pay = f.in.rows[Schedule::kPayments];
  pay.push_back(R().Text("I6_1", "Escola A. B. C.")
                    .Text("I6_2", "99.555.555/0001-67")
                    .Num("I6_3", "1")
                    .Num("I6_4", "3561.50"));
  pay.push_back(R().Text("I6_1", "Hospital")
                    .Text("I6_2", "99.111.111/0001-32")
                    .Num("I6_3", "26")
                    .Num("I6_4", "1434")
                    .Num("I6_5", "200")
                    .Num("I6_6", "1"));
  Row alimony = R().Text("I6_1", "Artur Syonay")
                    .Text("I6_2", "44444444525")
                    .Num("I6_3", "30")
                    .Num("I6_4", "2400")
                    .Num("I6_6", "2");
  for (int mm = 1; mm <= 12; ++mm)
    alimony.Num("I6_4" + std::string(mm < 10 ? "0" : "") + std::to_string(mm), "200");
  pay.push_back(alimony);
  pay.push_back(R().Text("I6_1", "").Num("I6_3", "10").Num("I6_4", "50"));
  pay.push_back(R().Text("I6_1", "Clinica").Num("I6_3", "91").Num("I6_4", "300"));
  pay.push_back(R().Text("I6_1", "Partido")
                    .Text("I6_2", "11.111.111/0001-11")
                    .Num("I6_3", "98")
                    .Num("I6_4", "100"));
  pay.push_back(R().Text("I6_1", "Fundo Cultura")
                    .Text("I6_2", "22.222.222/0001-22")
                    .Num("I6_3", "41")
                    .Num("I6_4", "75"));
  pay.push_back(R().Text("I6_1", "FIA  Campinas - SP")
                    .Text("I6_2", "12.345.678/0001-95")
                    .Num("I6_3", "39")
                    .Num("I6_4", "90")
                    .Num("I6_5", "10"));
  return f;
}

// Assets and debts of a final estate declaration with heirs' shares.
inline Fixture EstateWithAssets() {
  Fixture f{BaseVars(), BaseSnapshot(), {}};
  auto set = [&](const char* n, core::Value v) { f.vars.map.Declare(n, std::move(v)); };
  f.vars.map.Declare("DECFINAL", core::Value(std::string("S")));
  f.vars.map.Declare("I13_39", core::Value(*core::Decimal::Parse("158024.67")));
  f.vars.map.Declare("I13_40", core::Value(*core::Decimal::Parse("158024.99")));
  set("CPFINVENT", std::string("55555555555"));
  set("NOMINVENT", std::string("Jo\x84o Inventariante"));
  set("ENDINVENT", std::string("Rua das Flores 10"));
  set("ANOOBITO", *core::Decimal::Parse("2019"));
  set("COMARCA", std::string("Campinas"));
  set("MEEIRO", std::string("S"));
  set("MORTE2", std::string("N"));
  set("INVCONJ", std::string("N"));
  set("DECJUDI", std::string("S"));
  set("DATAPARTI", Day(2019, 8, 1));
  set("DATADECIS", Day(2019, 9, 2));
  set("VARACIVIL", std::string("3"));
  set("NOMCOMPA", std::string("Pedro"));
  set("NROPROCES", std::string("0001234-56.2019"));
  set("UFPROCES", std::string("SP"));
  set("CNPJCARTO", std::string("12345678000195"));
  set("DATALAVRA", Day(2019, 10, 3));
  set("FOLHCARTO", *core::Decimal::Parse("12"));
  set("LIVRCARTO", *core::Decimal::Parse("7"));
  set("MUNICARTO", std::string("Campinas"));
  set("NOMECARTO", std::string("1o Tabeliao"));
  auto& assets = f.in.rows[Schedule::kAssets];
  assets.push_back(R().Num("I7_1", "1")
                       .Text("I7_2", "APTO COD 11 AQ 01/01/2000")
                       .Num("I7_3", "123456.78")
                       .Num("I7_4", "123456.99")
                       .Num("I7_5", "11")
                       .Num("I7_6", "1")
                       .Text("I7_7", "N")
                       .Text("ENDEIMO", "Jardim Bot\x83nico")
                       .Text("NUMIMO", "414")
                       .Text("COMPIMO", "APT 123")
                       .Text("BAIRIMO", "Jardim")
                       .Text("CEPIMO", "22460000")
                       .Text("MUNICIMO", "Rio de Janeiro")
                       .Text("UFIMO", "RJ")
                       .Text("CODMIMO", "6001")
                       .Text("MATRICU", "MATR_001")
                       .Text("CARTORIO", "CARTORIO_RJ")
                       .Num("AREAIMO", "56.7")
                       .Text("UNIDADE", "S")
                       .Text("REGISTRO", "S")
                       .Day("DATA_IMO", Day(2000, 1, 1))
                       .Text("REG_IPTU", "IPTU_APT_001"));
  assets.push_back(R().Num("I7_1", "2")
                       .Text("I7_2", "Conta corrente")
                       .Num("I7_3", "1000")
                       .Num("I7_4", "1200")
                       .Num("I7_5", "61")
                       .Num("I7_6", "2")
                       .Text("NROBANCO", "104")
                       .Text("CONTABAN", "001  12345678")
                       .Text("AGENCBAN", "1234")
                       .Text("DVBAN", "5")
                       .Text("CPFDEP", "22222222303"));
  assets.push_back(R().Num("I7_1", "3")
                       .Text("I7_2", "Terreno em Miami")
                       .Num("I7_4", "5000")
                       .Num("I7_5", "14")
                       .Text("I7_7", "S")
                       .Text("I7_8", "249")
                       .Text("MUNICIMO", "Miami")
                       .Text("REG_NIRF", "00000000")
                       .Text("CPFDEP", "33333333414"));
  assets.push_back(R().Num("I7_1", "4"));  // no description: passed over
  auto& heirs = f.in.rows[Schedule::kHeirShares];
  heirs.push_back(R().Num("REFEREN", "1")
                      .Text("NOMEDEPEN", "Filho Um")
                      .Text("CPFHERDE", "666.666.666-66")
                      .Num("PERCENT", "50"));
  heirs.push_back(R().Num("REFEREN", "1")
                      .Text("NOMEDEPEN", "Filha Dois")
                      .Text("CPFHERDE", "777.777.777-77")
                      .Num("PERCENT", "50"));
  f.in.rows[Schedule::kDependants].push_back(
      R().Text("NOMEDEPEN", "Filho Um").Num("CODIDEPEN", "100").Text("CPFHERDE", "666.666.666-66"));
  auto& debts = f.in.rows[Schedule::kDebts];
  debts.push_back(R().Num("I8_1", "1")
                      .Text("I8_2", "DIVIDA DE PF 123456")
                      .Num("I8_3", "2000")
                      .Num("I8_4", "1000")
                      .Num("I8_5", "14")
                      .Num("I8_7", "400"));
  debts.push_back(R().Num("I8_1", "2")
                      .Text("I8_2", "EMPRESTIMO XYZ")
                      .Num("I8_3", "2000")
                      .Num("I8_4", "1900")
                      .Num("I8_5", "13")
                      .Num("I8_7", "500"));
  return f;
}

// A taxpayer living abroad, leaving the country (departure declaration).
inline Fixture DepartureAbroad() {
  Fixture f{BaseVars(), BaseSnapshot(), {}};
  auto& m = f.vars.map;
  m.Declare("DECSAIDA", core::Value(std::string("S")));
  m.Declare("EXTERIOR", core::Value(std::string("S")));
  m.Declare("EBRASIL", core::Value(std::string("N")));
  m.Declare("CODPAIS", core::Value(std::string("249")));
  m.Declare("CODEMB", core::Value(std::string("12")));
  m.Declare("DDDTEL", core::Value(std::string("1")));
  m.Declare("CEP", core::Value(std::string("33101")));
  m.Declare("MUNICIPIO", core::Value(std::string("Miami")));
  m.Declare("PROCBRASIL", core::Value(std::string("55555555555")));
  m.Declare("CPFINVENT", core::Value(std::string("55555555555")));
  m.Declare("NOMINVENT", core::Value(std::string("Procurador")));
  m.Declare("ENDINVENT", core::Value(std::string("Av. Paulista, 1000")));
  m.Declare("DATASAIDA", core::Value(Day(2019, 7, 15)));
  return f;
}

// Rural activity in Brazil and abroad, and variable income of the taxpayer
// and of a dependant (stock market and investment funds).
inline Fixture RuralAndVariableIncome() {
  Fixture f{BaseVars(), BaseSnapshot(), {}};
  f.vars.map.Declare("TEMRURAL", core::Value(std::string("S")));
  f.in.rows[Schedule::kDependants].push_back(R().Text("NOMEDEPEN", "Ana")
                                                 .Num("CODIDEPEN", "11")
                                                 .Text("CPFDEPEN", "33333333414")
                                                 .Num("NRODEPEN", "1"));
  Row br = R().Text("ATV_BRASIL", "S")
               .Num("I4R_01", "50000")
               .Num("I4R_02", "20000")
               .Num("I4R_03", "30000")
               .Num("I4R_07", "30000")
               .Text("OPT_20", "N")
               .Num("I7_1B", "10")
               .Num("I7_2B", "5")
               .Num("I7_5B", "3");
  br.Num("I3_01OR", "5000").Num("I3_01OD", "2000");
  Row ex = R().Text("ATV_BRASIL", "N")
               .Num("I4R_02", "1000")
               .Num("I4R_03", "5000")
               .Num("I4R_07", "-10")
               .Text("OPT_20E", "S");
  f.in.rows[Schedule::kRuralResults] = {br, ex};
  f.in.rows[Schedule::kRuralProperties] = {
      R().Text("ATV_BRASIL", "N")
          .Text("I2R_01", "Estancia")
          .Text("CODPAIS", "063")
          .Num("RECEXT", "8000")
          .Num("DESEXT", "3000")
          .Num("RESUS", "1000")
          .Num("I2R_02", "1200.5")
          .Num("I2R_04", "100"),
      R().Text("ATV_BRASIL", "S")
          .Text("I2R_01", "Sitio Boa Vista")
          .Num("I2R_02", "1000.5")
          .Text("I2R_03", "12345678")
          .Num("I2R_04", "100")
          .Num("I2R_05", "1")
          .Text("I2R_06", "Estrada Municipal km 3")
          .Num("I2R_07", "1"),
  };
  f.in.rows[Schedule::kRuralAssets] = {
      R().Text("ATV_BRASIL", "S")
          .Num("ITEM", "1")
          .Num("CODIGO", "0")
          .Text("I8R_1", "Trator")
          .Num("I8R_2", "80000"),
      R().Text("ATV_BRASIL", "N")
          .Num("ITEM", "2")
          .Num("CODIGO", "12")
          .Text("I8R_1", "Galp\x84o")
          .Text("I8R_3", "063")
          .Num("I8R_2", "15000"),
  };
  f.in.rows[Schedule::kRuralDebts] = {R().Text("ATV_BRASIL", "S")
                                          .Text("I9R_1", "Custeio safra")
                                          .Num("I9R_2", "1000")
                                          .Num("I9R_3", "500")};
  auto& gains = f.in.rows[Schedule::kGains];
  gains.push_back(R().Num("TIPO_BEM", "4")
                      .Text("DAY_TRADE", "1")
                      .Num("RVAR_NRO", "1")
                      .Num("REC_MES03", "1500"));
  gains.push_back(R().Num("TIPO_BEM", "4")
                      .Text("DAY_TRADE", "1")
                      .Num("RVAR_NRO", "17")
                      .Num("REC_MES03", "-200"));
  gains.push_back(R().Num("TIPO_BEM", "4")
                      .Text("DAY_TRADE", "2")
                      .Num("RVAR_NRO", "21")
                      .Num("REC_MES05", "12.34"));
  gains.push_back(R().Num("TIPO_BEM", "4")
                      .Text("DAY_TRADE", "3")
                      .Num("RVAR_NRO", "2")
                      .Num("REC_MES02", "-500"));
  gains.push_back(R().Num("TIPO_BEM", "4")
                      .Text("DAY_TRADE", "1")
                      .Num("RVAR_NRO", "14")
                      .Text("CPF_DEPE", "33333333414")
                      .Num("REC_MES01", "700"));
  gains.push_back(R().Num("TIPO_BEM", "4")
                      .Text("DAY_TRADE", "3")
                      .Num("RVAR_NRO", "1")
                      .Text("CPF_DEPE", "33333333414")
                      .Num("REC_MES12", "42"));
  return f;
}

}  // namespace dodu::handover::testing

#endif  // DODU_TESTS_HANDOVER_DECLARATION_FIXTURES_H_
