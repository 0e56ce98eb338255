// Declaration tables 09 to 21: the taxpayer register, the monthly values, the
// ledger, losses, the rural activity tables, the estate and the bank accounts.
#include <string>
#include <vector>

#include "store/internal/layout_builder.h"

namespace dodu::store::internal {
namespace {

Layout Table09() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"RETIFICA"}, 1)
      .C({"NOMECONTR"}, 53)
      .C({"TIPOEND"}, 11)
      .C({"ENDERECO"}, 37)
      .C({"NUMERO"}, 6)
      .C({"COMPLEM"}, 21)
      .C({"BAIRRO"}, 20)
      .C({"CEP"}, 9)
      .C({"CODMUNI"}, 4)
      .C({"MUNICIPIO"}, 30)
      .C({"UF"}, 2)
      .C({"CODPAIS", "CODEMB"}, 3)
      .C({"DDDTEL"}, 4)
      .C({"TELEFO"}, 9)
      .C({"DDDFAX"}, 4)
      .C({"NROFAX"}, 9)
      .C({"EMAIL"}, 40)
      .D({"NASCIMENTO"})
      .C({"TITULO"}, 13)
      .C({"CGCPAGADOR"}, 18)
      .C({"OCUPACAO"}, 69)
      .C({"CDPRO"}, 3)
      .C({"CODAT"}, 2)
      .C({"DESCRAT"}, 58)
      .C({"NRORECIBO", "RECIBOATU", "RECIBOANT", "CODACESSO"}, 12)
      .C({"SENACESSO"}, 15)
      .D({"VALIDSENA", "DENTREGA"})
      .C({"EMPRESA"}, 40)
      .N({"NRETIF"}, 3)
      .C({"TEMRURAL", "ATV_BRASIL", "AAR_EXTER", "E_INVALIDO"}, 1)
      .C({"REGPROF"}, 17)
      .C({"NIT_TIT", "PROCBRASIL"}, 11)
      .C({"EBRASIL", "EXTERIOR"}, 1)
      .C({"CPFCONJU"}, 11)
      .C({"NOVOEND"}, 1)
      .N({"TEM_USO", "TAM_USO"}, 6)
      .C({"IMPRE"}, 1)
      .N({"ESTATUS", "ORDEM"}, 2)
      .C({"SOMAG"}, 1)
      .Money({"I9_2", "I9_3"})
      .C({"I9_4", "I9_5", "I9_6"}, 1)
      .C({"DIRCONJU"}, 80)
      .Money({"VALOREC"})
      .C({"BANCO"}, 3)
      .C({"AGENCIA"}, 6)
      .C({"CONTACO"}, 15)
      .C({"DEBITAUT"}, 1)
      .Money({"SALDO"})
      .N({"INDGAS"}, 6, 2)
      .C({"USAPADRAO", "CONJPAD"}, 1)
      .Money({"IMPPGRE", "I13_20", "I13_24", "I13_27", "I13_28", "I13_35", "I13_44", "I13_45",
              "EXGSUSP"})
      .N({"QTD_QUOTA"}, 1)
      .Money({"I13_1C", "I13_2C", "I13_3C", "I13_4C", "I13_5C"})
      .C({"NUSUAT"}, 2)
      .C({"SO_SIMPLES", "NOVO"}, 1)
      .C({"TELCELU", "TELESCR", "TELSECR"}, 9)
      .D({"ULTRESI", "ULTIMOV"})
      .C({"NROBEN1", "NROBEN2"}, 11)
      .N({"NRQUOTA"}, 1)
      .Money({"DFQUOTA"})
      .N({"NRCLEAO"}, 2)
      .Money({"DFCLEAO"})
      .N({"NRGCAPIT"}, 2)
      .Money({"DFGCAPIT"})
      .N({"NRRVARIV"}, 2)
      .Money({"DFRVARIV"})
      .Money({"TRIB_EX", "NTRIB_EX", "PREJU_EX", "DIVAD_EX", "DIVPG_EX", "TRIB_BR", "NTRIB_BR",
              "PREJU_BR", "DIVAD_BR", "DIVPG_BR"})
      .C({"NOMEAG"}, 22)
      .Build();
}

Layout Table10() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .N({"CODDESP"}, 3)
      .C({"DESCDESP"}, 25)
      .Money({"VALODESP"})
      .C({"DESCRITEM"}, 25)
      .Build();
}

Layout Table11() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"OBSERV"}, 75)
      .N({"CODERR", "PAGINA"}, 2)
      .C({"NOTAS"}, 75)
      .C({"IMPRE"}, 1)
      .N({"REGIS", "OPCIR"}, 3)
      .N({"COLUN"}, 2)
      .Build();
}

Layout Table12() {
  LayoutBuilder b;
  b.C({"CPF", "CPFDEPEN"}, 11);
  // Month (13 columns) outside, kind (7) inside: I2_101, I2_201 ... I2_701, I2_102 ...
  for (int mm = 1; mm <= 13; ++mm) {
    for (int k = 1; k <= 7; ++k) b.MoneyField("I2_" + std::to_string(k) + Mm(mm));
  }
  return b.Build();
}

Layout Table13() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"CDCONTA"}, 4)
      .C({"DESCONTA"}, 60)
      .N({"VALODESP"}, 13, 2)
      .N({"NROITEM"}, 3)
      .C({"NROCGCCPF"}, 18)
      .L({"LANCADO"})
      .N({"MESINI", "MESFIM"}, 2)
      .C({"CPFDEPEN"}, 11)
      .C({"DESCRI"}, 50)
      .Build();
}

Layout Table14() {
  return LayoutBuilder().C({"CPF"}, 11).C({"DESCRICAO"}, 40).Money({"PREJUIZO"}).Build();
}

Layout Table15() {
  LayoutBuilder b;
  b.C({"CPF"}, 11).C({"ATV_BRASIL"}, 1);
  for (int mm = 1; mm <= 12; ++mm) {
    b.MoneyField("I3_" + Mm(mm) + "OR").MoneyField("I3_" + Mm(mm) + "OD");
  }
  for (int mm = 1; mm <= 7; ++mm) b.MoneyField("I4R_" + Mm(mm));
  b.Money({"I5_08", "I5_09", "I5_10", "I6_10"}).C({"OPT_20", "OPT_20E"}, 1);
  for (int k = 1; k <= 5; ++k) {
    const std::string p = "I7_" + std::to_string(k);
    for (const char* s : {"A", "B", "C", "S", "V1"}) b.Field(p + s, FieldType::kNumeric, 6);
  }
  b.C({"I7_V1"}, 22)
      .L({"SO_TOTAL"})
      .N({"TIPO_LANCA"}, 1)
      .C({"NOME_CONT"}, 50)
      .C({"CPFCNPJ_CO"}, 18)
      .C({"CRC_CONT"}, 15)
      .C({"EMAIL_CONT"}, 80)
      .C({"FONE_CONT"}, 11);
  return b.Build();
}

Layout Table16() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"ATV_BRASIL"}, 1)
      .N({"I2R_00"}, 3)
      .C({"I2R_01"}, 60)
      .N({"I2R_02"}, 9, 2)
      .C({"I2R_03"}, 8)
      .N({"I2R_04"}, 6, 2)
      .N({"I2R_05"}, 1)
      .C({"I2R_06"}, 55)
      .N({"I2R_07"}, 2)
      .Money({"VALITR"})
      .C({"CODPAIS"}, 3)
      .Money({"RECEXT", "DESEXT"})
      .N({"VALUSE"}, 7, 2)
      .Money({"RESUS", "OPC20US", "OPC20RS"})
      .C({"CAEPF", "INSCR_ES"}, 14)
      .C({"NUM_IMR"}, 6)
      .C({"COMP_IMR"}, 50)
      .C({"DISTR_IMR"}, 30)
      .C({"UF_IMR"}, 2)
      .C({"CODM_IMR"}, 7)
      .N({"CEP_IMR"}, 8)
      .N({"TIPO_CONTR"}, 1)
      .C({"CPF_CONTR"}, 11)
      .C({"NOME_CONTR"}, 50)
      .N({"PERC_CONTR"}, 5, 2)
      .C({"CPFPJ_CONT"}, 18)
      .Build();
}

Layout Table17() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"ATV_BRASIL"}, 1)
      .N({"ITEM", "CODIGO"}, 3)
      .N({"I8R_0"}, 4)
      .C({"I8R_1"}, 512)
      .Money({"I8R_2"})
      .C({"I8R_3"}, 3)
      .N({"I8R_4"}, 1)
      .Build();
}

Layout Table18() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"ATV_BRASIL"}, 1)
      .N({"I9R_0"}, 4)
      .N({"ITEM"}, 3)
      .C({"I9R_1"}, 512)
      .Money({"I9R_2", "I9R_3", "I9R_4", "I9R_5"})
      .Build();
}

Layout Table19() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"ATV_BRASIL"}, 1)
      .D({"DT_LC"})
      .C({"DESCR"}, 41)
      .N({"VALOR"}, 14, 2)
      .N({"NROIMO"}, 2)
      .C({"TIPOCR", "TEMITR"}, 1)
      .C({"ID_PARTIC"}, 18)
      .N({"TIPODOC"}, 1)
      .N({"COD_CONTA"}, 3)
      .C({"NUM_DOC"}, 20)
      .Build();
}

Layout Table20() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .N({"REFEREN"}, 4)
      .C({"NOMEDEPEN"}, 41)
      .N({"NRODEPEN"}, 2)
      .C({"CPFHERDE"}, 18)
      .N({"PERCENT"}, 6, 2)
      .Money({"VALORBEM"})
      .C({"DESCRBEM"}, 512)
      .N({"CODIGBEM"}, 3)
      .C({"I7_7"}, 1)
      .C({"I7_8"}, 3)
      .Money({"VALPARCE"})
      .D({"DATPARCE"})
      .L({"PARCELAN"})
      .CopyRange(AssetLayout(), "ENDEIMO", "REG_BAR")
      .Build();
}

Layout Table21() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"ATV_BRASIL"}, 1)
      .N({"COD_CONTA"}, 3)
      .C({"NRO_BANCO"}, 3)
      .C({"NOM_BANCO"}, 30)
      .N({"NRO_AGENC"}, 4)
      .N({"NRO_CONTA"}, 16)
      .C({"PAIS_CTA"}, 3)
      .Build();
}

}  // namespace

std::vector<TableDef> DeclarationTablesSecond() {
  std::vector<TableDef> t;
  t.push_back(Declaration(
      9, Table09(), {Key("CPF"), Key("+B", "UPPER(NOMECONTR)"), Key("+C", "ESTATUS")}));
  t.push_back(Declaration(10, Table10(), {Key("CPF")}, "coddesp"));
  t.push_back(Declaration(11, Table11(), {Key("CPF")}, "codERR"));
  t.push_back(Declaration(12, Table12(), {Key("CPF")}));
  t.push_back(Declaration(13, Table13(), {Key("CPF")}, ""));
  t.push_back(Declaration(14, Table14(), {Key("CPF")}));
  t.push_back(Declaration(15, Table15(), {Key("CPF+ATV_BRASIL")}));
  t.push_back(Declaration(16, Table16(), {Key("CPF+ATV_BRASIL")}));
  t.push_back(Declaration(17, Table17(), {Key("CPF+ATV_BRASIL")}, "I8R_0"));
  t.push_back(Declaration(18, Table18(), {Key("CPF+ATV_BRASIL")}, "I9R_0"));
  t.push_back(Declaration(19, Table19(), {Key("CPF+ATV_BRASIL+DTOS(DT_LC)")}));
  t.push_back(Declaration(20, Table20(), {Key("CPF"), Key("+B", "CPF+CPFHERDE")}));
  t.push_back(Declaration(21, Table21(), {Key("CPF"), Key("+B", "COD_CONTA")}));
  return t;
}

}  // namespace dodu::store::internal
