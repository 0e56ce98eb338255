// Declaration tables 01 to 08: the declaration values, income, dependants,
// assets, debts, payments and the capital-gain tables.
#include <string>
#include <vector>

#include "store/internal/layout_builder.h"

namespace dodu::store::internal {
namespace {

Layout Table01() {
  LayoutBuilder b;
  b.C({"CPF"}, 11);
  // I3_01, I4_01 ... I3_12, I4_12, then I3_13 ... I3_24.
  for (int mm = 1; mm <= 24; ++mm) {
    b.MoneyField("I3_" + Mm(mm));
    if (mm <= 12) b.MoneyField("I4_" + Mm(mm));
  }
  b.Money({"I3_04GCPV", "I3_04UNIC", "I3_04REDU", "I3_04EXTR", "I3_04GCPVC", "I3_04UNICC",
           "I3_04REDUC", "I3_04EXTRC"})
      .C({"DESPINST"}, 1)
      .N({"DESPALIM"}, 1)
      .C({"RELDEPEN"}, 20)
      .C({"CPFINVENT"}, 11)
      .C({"NOMINVENT"}, 40)
      .C({"ENDINVENT"}, 70)
      .D({"DATAPARTI", "DATADECIS"})
      .C({"NROPROCES"}, 25)
      .C({"VARACIVIL"}, 4)
      .C({"COMARCA"}, 25)
      .C({"UFPROCES"}, 2)
      .N({"ANOOBITO"}, 4)
      .C({"DECFINAL", "DECSAIDA"}, 1)
      .D({"DATASAIDA"})
      .C({"DECJUDI"}, 1)
      .D({"DATALAVRA"})
      .C({"NOMECARTO"}, 80)
      .C({"CNPJCARTO"}, 14)
      .C({"MUNICARTO"}, 30)
      .N({"LIVRCARTO", "FOLHCARTO"}, 7)
      .C({"MORTE2", "INVCONJ", "MEEIRO"}, 1)
      .C({"CPFCOMPA"}, 11)
      .C({"NOMCOMPA"}, 40);
  for (int mm = 1; mm <= 51; ++mm) b.MoneyField("I13_" + Mm(mm));
  b.Money({"IR_EXTER"})
      .N({"QTD_QUOTA"}, 1)
      .Money({"CARNEINSS", "CARNEDEPEN", "PREVIDENC"})
      .C({"TIPO_PF"}, 1)
      .Money({"TOTTRABT", "TOTALUGT", "TOTOUTRT", "TOTTRABD", "TOTALUGD", "TOTOUTRD", "EMPRUR",
              "AMORUR", "OUTREC", "VALFUTUR", "OUTRDES", "PREJVEN", "PREJVEN1", "PREJRUR",
              "PREJRVA", "LUCRRVA", "DESPNAO", "EMPREST", "DESPDECLA", "DESPADRAO"})
      .N({"INDALERTA"}, 2)
      .Money({"IMPOANTER", "CUSTOANT", "CUSTOANO", "ENTRADGP", "ISENTNAO"})
      .N({"CAL_AUTO"}, 1)
      .L({"SO_REC", "NOVREG"});
  return b.Build();
}

Layout Table02() {
  LayoutBuilder b;
  b.C({"CPF"}, 11)
      .C({"I1_1"}, 1)
      .C({"I1_2"}, 60)
      .C({"I1_3"}, 18)
      .Money({"I1_4", "I1_5", "I1_6", "I1_7"})
      .C({"I1_8"}, 11)
      .C({"TIPOCR"}, 1)
      .D({"DT_LC"})
      .Money({"I1_9", "I1_10"})
      .C({"I1_11"}, 1);
  for (int n = 12; n <= 20; ++n) b.MoneyField("I1_" + std::to_string(n));
  b.N({"I1_21"}, 5, 1).C({"I1_22"}, 11);
  for (int n = 23; n <= 34; ++n) b.MoneyField("I1_" + std::to_string(n));
  b.C({"I1_35"}, 50)
      .C({"I1_36"}, 2)
      .Money({"I1_37", "I1_38", "I1_39"})
      .C({"I1_40"}, 11)
      .C({"I1_41"}, 1)
      .L({"NEW1"});
  for (int mm = 1; mm <= 12; ++mm) {
    b.MoneyField("I1_4" + Mm(mm)).MoneyField("I1_5" + Mm(mm)).MoneyField("I1_6" + Mm(mm));
  }
  return b.Build();
}

Layout Table03() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"NOMEDEPEN"}, 41)
      .N({"CODIDEPEN"}, 3)
      .D({"DATADEPEN"})
      .C({"CPFDEPEN"}, 11)
      .N({"NRODEPEN"}, 2)
      .C({"CPFHERDE"}, 18)
      .C({"NITDEPEN"}, 11)
      .C({"SAIUJUNT"}, 1)
      .Build();
}

Layout Table05() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .N({"I8_0"}, 4)
      .N({"I8_1"}, 3)
      .C({"I8_2"}, 512)
      .Money({"I8_3", "I8_4"})
      .N({"I8_5"}, 3)
      .Money({"I8_6", "I8_7"})
      .Build();
}

Layout Table06() {
  LayoutBuilder b;
  b.C({"CPF"}, 11)
      .C({"I6_1"}, 50)
      .C({"I6_2"}, 18)
      .N({"I6_3"}, 2)
      .Money({"I6_4", "I6_5"})
      .N({"I6_6"}, 2)
      .Money({"I6_8"});
  for (int mm = 1; mm <= 12; ++mm) b.Field("I6_4" + Mm(mm), FieldType::kNumeric, 14, 2);
  return b.Build();
}

Layout Table07() {
  LayoutBuilder b;
  b.C({"CPF", "CPFALIEN"}, 11)
      .N({"BEM_NRO", "RVAR_NRO"}, 2)
      .C({"DAY_TRADE"}, 1)
      .N({"TIPO_BEM"}, 1)
      .N({"NRO_ITEM"}, 3)
      .C({"CPF_DEPE"}, 11)
      .C({"CPFADQ"}, 18)
      .C({"MAISDE1"}, 1)
      .C({"CPFNOME"}, 250)
      .N({"PER_TRI"}, 10, 6)
      .C({"NOME_ADQ"}, 53)
      .C({"ESPC_BEM"}, 152)
      .C({"RUAIMO"}, 11)
      .C({"ENDEIMO"}, 30)
      .C({"NUMIMO"}, 6)
      .C({"COMPIMO"}, 21)
      .C({"BAIRIMO"}, 20)
      .C({"CEPIMO"}, 8)
      .C({"MUNICIMO"}, 30)
      .C({"UFIMO"}, 2)
      .D({"DATA_ALI", "DATA_ADQ"})
      .C({"NOME_SOCIE"}, 32)
      .C({"CGC_SOCIE"}, 14)
      .C({"CID_SOCIE"}, 30)
      .C({"EST_SOCIE"}, 2)
      .N({"IND_ALI"}, 11, 4)
      .Money({"VAL_ALI", "CUS_ATUAL", "VAL_CORR", "VAL_RECOL", "VAL_RECUS", "VAL_TRIBU",
              "VAL_NAOTRI", "VAL_IMPOSV", "VAL_IMPOSP", "IMPPAGO"})
      .C({"VEN_PRAZO", "PEQ_VALOR", "UNIC_IMOV", "USU_440"}, 1)
      .N({"CODNATUR"}, 2)
      .C({"NATUOPER"}, 30)
      .N({"COD_OPER"}, 1)
      .C({"PARCOMPRA", "VENDAANT", "USA_ART31"}, 1)
      .Money({"VAL_PARTE", "LEI_11083", "IMP_PAGEX"})
      .N({"PERART31"}, 10, 6)
      .N({"TIPOPART"}, 1)
      .N({"FR1", "FR2"}, 18, 8)
      .Money({"REDUCAO", "FATOR1", "FATOR2", "GAN_TRIV", "GAN_TRIP", "VAL_ANTE", "VAL_DIFE",
              "IMP_ANTE", "IMP_DIFE"})
      .C({"FOIDIFE", "SUJREG"}, 1)
      .L({"NEW"})
      .C({"REFIRPF"}, 3)
      .D({"DATA_PAR"})
      .N({"PERIMP"}, 10, 6)
      .C({"CAUSA"}, 1)
      .Money({"GANHOAN"})
      .C({"OUTRAVEN"}, 1)
      .Money({"VALALIUS"})
      .N({"DOLARAQU", "DOLARVEN"}, 10, 4)
      .Money({"AQUI_US", "AQUI_BR", "ALIE_US", "ALIE_BR", "GCAP_US", "GCAP_BR"})
      .C({"CODEXTE"}, 3)
      .C({"BEMBRASIL"}, 1)
      .Money({"CORR_ANTE", "APLI_ANTE"})
      .N({"CM_PONDER"}, 15, 6)
      .N({"MOV_ACAO"}, 9);
  for (int mm = 1; mm <= 12; ++mm) {
    const std::string m = Mm(mm);
    b.MoneyField("REC_MES" + m)
        .MoneyField("VAL_TRI" + m)
        .Field("DIA_REC" + m, FieldType::kNumeric, 2)
        .MoneyField("IMP_DEV" + m)
        .MoneyField("IMP_PAG" + m)
        .MoneyField("IMP_LEI" + m)
        .MoneyField("REC_USA" + m)
        .Field("VAL_USA" + m, FieldType::kNumeric, 10, 4)
        .MoneyField("VAL_COR" + m)
        .MoneyField("VAL_A31" + m);
  }
  return b.Build();
}

Layout Table08() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .N({"BEM_NRO", "RVAR_NRO"}, 2)
      .C({"DAY_TRADE"}, 1)
      .Money({"VALOR_REDU", "VALOR_CUST"})
      .D({"DATA_CUST"})
      .N({"IND_CUST"}, 10, 4)
      .N({"PER_RED"}, 3)
      .N({"PER_RED1", "PER_RED2"}, 11, 8)
      .N({"PER_CUST"}, 12, 6)
      .Money({"RESUL_2", "RESUL_3"})
      .N({"SALDO_COEF"}, 14, 4)
      .N({"CM_PONDER"}, 15, 6)
      .N({"SALDO_ACAO", "MOV_ACAO"}, 9)
      .Money({"CUST_UNI"})
      .N({"CMED_COEF"}, 18, 4)
      .N({"TIPO_OPER", "TIPO_ACAO"}, 1)
      .C({"LOTE"}, 17)
      .Build();
}

}  // namespace

Layout AssetLayout() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .N({"I7_0"}, 4)
      .N({"I7_1"}, 3)
      .C({"I7_2"}, 512)
      .Money({"I7_3", "I7_4"})
      .N({"I7_5"}, 3)
      .N({"I7_6"}, 4)
      .C({"I7_7"}, 1)
      .C({"I7_8"}, 3)
      .Money({"I7_9"})
      .C({"I7_10"}, 1)
      .C({"ENDEIMO"}, 30)
      .C({"NUMIMO"}, 6)
      .C({"COMPIMO", "BAIRIMO"}, 30)
      .C({"CEPIMO"}, 8)
      .C({"MUNICIMO"}, 30)
      .C({"UFIMO"}, 2)
      .C({"CODMIMO"}, 4)
      .C({"MATRICU", "LIVRORG", "CARTORIO"}, 40)
      .N({"AREAIMO"}, 9, 1)
      .C({"UNIDADE", "REGISTRO"}, 1)
      .C({"CPF_CNPJ"}, 18)
      .D({"DATA_IMO"})
      .C({"RENAVAM"}, 11)
      .C({"REG_NIRF"}, 8)
      .C({"REG_IPTU"}, 20)
      .C({"REG_AVI", "REG_BAR"}, 30)
      .C({"AGENCBAN"}, 4)
      .C({"CONTABAN"}, 13)
      .C({"DVBAN"}, 2)
      .C({"JA_FEZ"}, 1)
      .L({"FLAG1"})
      .C({"CPFDEP"}, 11)
      .C({"NROBANCO"}, 3)
      .Build();
}

std::vector<TableDef> DeclarationTablesFirst() {
  std::vector<TableDef> t;
  t.push_back(Declaration(1, Table01(), {Key("CPF")}));
  t.push_back(Declaration(2, Table02(), {Key("CPF")}));
  t.push_back(Declaration(3, Table03(), {Key("CPF")}));
  t.push_back(Declaration(4, AssetLayout(), {Key("CPF+str(I7_0,4)")}, "str(I7_0)"));
  t.push_back(Declaration(5, Table05(), {Key("CPF+STR(I8_0,4)")}, "str(I8_0)"));
  t.push_back(Declaration(6, Table06(), {Key("CPF+str(I6_3,2)")}));
  t.push_back(Declaration(7, Table07(), {Key("CPF")},
                          "STRZERO(BEM_NRO,2)+STRZERO(RVAR_NRO,2)+DAY_TRADE"));
  t.push_back(Declaration(8, Table08(), {Key("CPF")}, "BEM_NRO"));
  return t;
}

}  // namespace dodu::store::internal
