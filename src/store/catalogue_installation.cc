// Installation tables 42 to 94: settings, defaults, the reference lists
// installed with the program, auxiliary lists, agenda, logs and the per-terminal
// tables, all in the installation folder.
#include <string>
#include <vector>

#include "store/internal/layout_builder.h"

namespace dodu::store::internal {
namespace {

TableDef Installation(int number, std::string name, ShareMode mode, Layout layout,
                      std::vector<IndexDef> keys, bool created = true,
                      NameRule rule = NameRule::kFixed) {
  TableDef t;
  t.number = number;
  t.name = std::move(name);
  t.rule = rule;
  t.folder = Folder::kInstallation;
  t.mode = mode;
  t.created = created;
  t.layout = std::move(layout);
  t.keys = std::move(keys);
  return t;
}

// A reference table: installed with the program, never created. Its layout is
// the fields the system reads.
TableDef Reference(int number, std::string name, Layout layout, std::vector<IndexDef> keys,
                   ShareMode mode = ShareMode::kShared) {
  return Installation(number, std::move(name), mode, std::move(layout), std::move(keys), false);
}

constexpr ShareMode kShared = ShareMode::kShared;
constexpr ShareMode kExclusive = ShareMode::kExclusive;
constexpr ShareMode kCaller = ShareMode::kCaller;

Layout Config() {
  return LayoutBuilder()
      .C({"NRO_TERM"}, 2)
      .C({"ROTAANTER", "ROTADOANO", "ROTAREANT", "ROTARECEI", "ROTAJAVA", "ROTABACK", "DIRTRAB",
          "DIRPROV", "DIRINST"},
         80)
      .N({"QUEIMP"}, 2)
      .N({"QUEMOD"}, 1)
      .N({"QUEPAG"}, 2)
      .N({"QUECON", "ENV_STAT"}, 1)
      .N({"MARESQ", "INIFOL", "LINETI", "NRO_LIN", "OPC_TRAN"}, 2)
      .N({"COMPAGA"}, 1)
      .C({"IMPBEM", "IMPBAL", "MOSIMP", "MOSTEL", "MOSCPF"}, 1)
      .N({"ULT_TER", "ULT_MOD"}, 1)
      .C({"ULT_CPF"}, 11)
      .C({"XDRIVE"}, 1)
      .N({"SOESTE"}, 2)
      .N({"OPTTRAN"}, 1)
      .N({"NOVOIT"}, 2)
      .D({"ULTBACK"})
      .C({"OPCIRPF"}, 1)
      .C({"NOMEAG"}, 22)
      .N({"OPCFIM"}, 1)
      .Build();
}

Layout Define() {
  LayoutBuilder b;
  for (int k = 1; k <= 8; ++k) b.Field("VCTO" + std::to_string(k), FieldType::kDate, 8);
  b.N({"VAL_SEG", "VAL_BYTE"}, 5, 2)
      .N({"VAL_MIN"}, 8, 2)
      .N({"COMO_SAL"}, 1)
      .N({"TEMP_SAL", "TEMP_DES"}, 2)
      .N({"VAL_CPMF", "VAL_DOLAR"}, 8, 4)
      .C({"BOL_BANCO", "BOL_AGENCI"}, 4)
      .C({"BOL_CONTA"}, 6)
      .C({"BOL_NOME"}, 30)
      .C({"BOL_CNPJ"}, 14)
      .C({"BOL_CPF"}, 11)
      .C({"BOL_CARTEI"}, 3)
      .N({"BOL_NOSNRO"}, 8)
      .C({"SER_SMTP"}, 47)
      .C({"NOM_USUA", "EMA_USUA"}, 40)
      .C({"SEN_USUA"}, 19)
      .C({"MEMORIZ", "VER_ATUAL", "PROCESSA", "PROGCOMP"}, 1)
      .N({"STATRAVA"}, 2);
  return b.Build();
}

Layout Corrig() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"NOMECONTR"}, 53)
      .D({"NASCIMENTO"})
      .Money({"IMPPGRE"})
      .N({"QTD_QUOTA"}, 1)
      .Money({"IMPOSTO", "RESTITU", "CORRIGI"})
      .Build();
}

Layout Cores() {
  return LayoutBuilder()
      .C({"NRO_TERM"}, 2)
      .N({"COR_TEL1", "COR_TEL2", "COR_TEL3", "COR_MENS", "COR_PEGA", "COR_HELP", "COR_FERID",
          "COR_ESCOL", "COR_ENCHE"},
         3)
      .C({"COR_1_CLI", "COR_2_CLI", "COR_INI", "COR_SAY", "COR_GET", "COR_CLI_HE", "COR_ESC_CL",
          "COR_ENCH_C"},
         10)
      .Build();
}

Layout FolhaPg() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"NOMECONTR"}, 47)
      .C({"NOMEFONTE"}, 40)
      .C({"CNPJFONTE"}, 18)
      .Money({"RENDIMENT", "PREVOFICA", "PREVPRIVA", "PENSAOPAG", "IRRETIDO", "ISENTOAPO",
              "DIARIAS", "PENSAOREC", "LUCRODIV", "SOCIO", "IDENIZA", "DECIMO3RO"})
      .C({"COMPLENTA", "OUTROS", "OUTROSEXC"}, 40)
      .Money({"VALOUTRO", "VALOUTRE", "IRRF13", "VALRENRRA", "VALACAO", "VALPRERRA", "VALPENRRA",
              "VALIRFRRA", "VALMOLRRA"})
      .N({"QTDMES"}, 5, 1)
      .Build();
}

Layout DecBens() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"I7_1"}, 3)
      .C({"I7_2"}, 512)
      .C({"I7_3", "I7_4"}, 14)
      .C({"I7_5"}, 3)
      .C({"ENDEIMO"}, 30)
      .C({"NUMIMO"}, 6)
      .C({"COMPIMO", "BAIRIMO"}, 30)
      .C({"CEPIMO"}, 8)
      .C({"MUNICIMO"}, 30)
      .C({"UFIMO"}, 2)
      .C({"I7_8"}, 3)
      .C({"REG_IPTU"}, 20)
      .C({"REG_NIRF"}, 8)
      .C({"DATA_IMO", "AREAIMO"}, 10)
      .C({"UNIDADE", "REGISTRO"}, 1)
      .C({"MATRICU", "LIVRORG", "CARTORIO"}, 40)
      .C({"REG_AVI"}, 30)
      .C({"RENAVAM"}, 11)
      .C({"REG_BAR"}, 30)
      .C({"AGENCBAN"}, 4)
      .C({"CONTABAN"}, 13)
      .C({"DVBAN"}, 2)
      .C({"CPF_CNPJ"}, 18)
      .Build();
}

Layout UltAnos() {
  return LayoutBuilder()
      .C({"CPF"}, 11)
      .C({"ANOBASE"}, 4)
      .C({"NOMECONTR"}, 53)
      .C({"COMPLETA"}, 1)
      .N({"RESULTAD"}, 1)
      .Money({"TOTIMPOS", "TOTRTRIB", "TOTRISEN", "TOTRTRIE", "TOTPAGTO", "BASECALC", "ABATIMEN"})
      .N({"ALIQEFET"}, 5, 2)
      .Money({"BENSANA", "BENSBASE", "DIVANA", "DIVBASE", "VALIRPF"})
      .Build();
}

Layout CodeList(const char* code, int code_width, const char* description, int width) {
  return LayoutBuilder().N({code}, code_width).C({description}, width).Build();
}

Layout Municipalities() {
  return LayoutBuilder()
      .C({"NOMEMUNI"}, 40)
      .C({"UNIFED"}, 2)
      .C({"NROMUNI"}, 4)
      .C({"CODCID"}, 7)
      .Build();
}

}  // namespace

std::vector<TableDef> InstallationTables() {
  using B = LayoutBuilder;
  std::vector<TableDef> t;
  t.push_back(Installation(42, "CONFIG", kShared, Config(), {Key("NRO_TERM")}));
  t.push_back(Installation(43, "DEFINE", kShared, Define(), {}));
  t.push_back(Installation(44, "IMPCORRIG", kExclusive, Corrig(),
                           {Key("CPF"), Key("IMPCORRIGB", "UPPER(NOMECONTR)")}));
  TableDef help =
      Reference(45, "HELPTXT", B().C({"NOME"}, 10).M({"TEXTO"}).Build(), {Key("UPPER(NOME)")});
  help.has_memo = true;
  t.push_back(std::move(help));
  t.push_back(
      Reference(46, "CODBENS",
                // TIPO: the detail the asset screen asks for the code (1 property, 2 vehicle,
                // 3 aircraft, 4 boat, 5 bank account, 6 company, 7 person; 0 none).
                B().N({"CODBEM"}, 3).C({"DESCBENS"}, 60).C({"DESPBEM"}, 25).N({"TIPO"}, 1).Build(),
                {Key("CODBEM")}));
  t.push_back(Reference(47, "CODEPEN", CodeList("CODDEP", 3, "DESCRICAO", 60), {Key("CODDEP")}));
  t.push_back(Reference(48, "CODDIVI", CodeList("CODDIV", 3, "DESCDIV", 60), {Key("CODDIV")}));
  t.push_back(Reference(49, "DESPESA", CodeList("CODDES", 2, "DESCDOA", 60), {Key("CODDES")}));
  t.push_back(Installation(50, "DIRET", kExclusive, B().C({"SELEC"}, 1).C({"DIRETOR"}, 80).Build(),
                           {Key("upper(DIRETOR)")}, true, NameRule::kPerTerminal));
  t.push_back(Reference(51, "UFIRM",
                        B().C({"ANOMES"}, 6).N({"TJM"}, 8, 4).C({"SIMB_MOED"}, 4).Build(),
                        {Key("ANOMES")}));
  t.push_back(Installation(52, "AUXBENS", kShared,
                           B().C({"DESCRICAO"}, 512).N({"CODIGO"}, 3).Build(), {Key("DESCRICAO")}));
  t.push_back(Installation(53, "AUXPAG", kShared,
                           B().C({"NOME"}, 50).C({"CGCCPF"}, 18).N({"CODIGO"}, 2).Build(),
                           {Key("NOME")}));
  t.push_back(
      Installation(54, "LisErro", kShared,
                   B().N({"CODERR"}, 2).C({"DESCRI"}, 60).N({"GRAU"}, 1).N({"PAGINA"}, 2).Build(),
                   {Key("CODERR")}));
  t.push_back(
      Reference(55, "BANCOS",
                // DEBAUTO / DEPOSITO: "S" when the bank takes automatic debit of quotas /
                // refund deposits; the bank check of the identification screen reads them.
                B().C({"NUMBAN"}, 3)
                    .C({"NOMEBAN"}, 60)
                    .C({"CNPJBAN"}, 18)
                    .C({"DEBAUTO", "DEPOSITO"}, 1)
                    .Build(),
                {Key("NUMBAN"), Key("BANCOSB", "upper(NOMEBAN)"), Key("BANCOSC", "CNPJBAN")}));
  t.push_back(Installation(56, "CORES", kShared, Cores(), {Key("NRO_TERM")}));
  t.push_back(Installation(
      57, "ListaIMP", kShared,
      B().C({"NRO_TERM"}, 2).C({"NOMEIMP", "IPADRAO"}, 60).C({"SEQ0", "SEQ1"}, 2).Build(),
      {Key("NRO_TERM")}));
  t.push_back(Reference(58, "OCUPACAO", B().C({"CDPRO"}, 3).C({"OCUPACAO"}, 69).Build(),
                        {Key("CDPRO"), Key("OCUPACAB", "upper(OCUPACAO)")}));
  t.push_back(Reference(59, "CODNATUR", B().C({"CODAT"}, 2).C({"DESCRAT"}, 58).Build(),
                        {Key("CODAT"), Key("CODNATB", "UPPER(DESCRAT)")}));
  t.push_back(
      Reference(60, "TABPAIS", B().C({"CODPAIS"}, 3).C({"NOMPAIS"}, 40).Build(), {Key("CODPAIS")}));
  t.push_back(Reference(
      61, "TABEMBA", B().C({"CD_EX"}, 3).C({"NM_CIDADE", "NM_PAIS"}, 40).C({"NM_REP"}, 60).Build(),
      {Key("CD_EX")}));
  t.push_back(Reference(62, "CONTAS",
                        B().C({"CDCONTA"}, 4)
                            .C({"NMDESCRICA"}, 80)
                            .C({"CDSTATUS"}, 1)
                            .N({"PAGINA", "LINHA"}, 2)
                            .C({"TEMCPF", "TEMCGC", "LIVROCX", "TEMDESCR", "TEMOBSV"}, 1)
                            .Build(),
                        {Key("CDCONTA")}));
  t.push_back(Installation(63, "FOLHAPG", kCaller, FolhaPg(), {Key("CPF")}));
  t.push_back(Reference(64, "TABMUNI", Municipalities(), {}));
  t.push_back(
      Reference(65, "TABLOGR", B().C({"NOMELOGRA"}, 20).Build(), {Key("upper(nomelogra)")}));
  t.push_back(Reference(66, "STATUS", B().N({"COD"}, 2).C({"DESCRICAO"}, 13).Build(), {Key("cod")},
                        kCaller));
  t.push_back(Installation(67, "BOLETO", kCaller,
                           B().N({"NRODOCUM"}, 5)
                               .N({"NOSSONRO"}, 8)
                               .D({"DATADOC"})
                               .Money({"VALORDOC"})
                               .C({"NOMESAC"}, 30)
                               .C({"CPFSAC"}, 11)
                               .Build(),
                           {Key("NOSSONRO")}));
  t.push_back(Installation(
      68, "DETALH", kExclusive,
      B().C({"DESCRICAO"}, 40).Money({"VALORDOC"}).N({"PERCDESP", "PERCRECE"}, 9, 2).Build(), {},
      true, NameRule::kPerTerminal));
  t.push_back(
      Reference(69, "CODABENS", B().N({"CODBEM"}, 3).C({"DESCBENS"}, 60).Build(), {Key("CODBEM")}));
  t.push_back(Installation(70, "LISNOME", kExclusive,
                           B().C({"CPF"}, 11)
                               .C({"NOMECONTR"}, 40)
                               .C({"NOMEARQ"}, 80)
                               .C({"TIPO", "ORIGEM"}, 12)
                               .C({"IMPRE"}, 1)
                               .Build(),
                           {Key("NOMECONTR"), Key("LISNOMEB", "CPF")}));
  t.push_back(Installation(
      72, "AGENDA", kShared,
      B().C({"NOMEAG"}, 22).C({"HORAG"}, 5).C({"ANOTAG"}, 60).D({"DATAG"}).L({"AVISAG"}).Build(),
      {Key("NOMEAG"), Key("AGENDAB", "HORAG+DTOC(DATAG)"), Key("AGENDAC", "ANOTAG")}));
  t.push_back(Installation(73, "USOLOG", kShared,
                           B().C({"NOMEAG"}, 22)
                               .C({"CPF"}, 11)
                               .C({"NOMECONTR"}, 53)
                               .D({"DATAUSO"})
                               .C({"INIUSO", "FIMUSO", "TEMUSO"}, 8)
                               .Build(),
                           {Key("NOMEAG"), Key("USOLOGB", "CPF")}));
  t.push_back(Installation(74, "AUXFON", kCaller, B().C({"NOME"}, 50).C({"CGCCPF"}, 18).Build(),
                           {Key("NOME")}));
  // The file is ECACIDAD or IDOCIDAD as the declaration option says (TableFileName).
  t.push_back(Reference(75, "IDOCIDAD",
                        B().C({"NOME"}, 60).C({"CIDADE"}, 40).C({"CNPJ"}, 18).Build(),
                        {Key("NOME")}));
  t.push_back(Reference(76, "PRINTS", {}, {}));
  t.push_back(Installation(77, "AuxBanco", kCaller,
                           B().C({"NOME"}, 30)
                               .C({"CNPJ"}, 18)
                               .N({"I7_5"}, 3)
                               .C({"AGENCBAN"}, 4)
                               .C({"CONTABAN"}, 13)
                               .C({"DVBAN"}, 2)
                               .Build(),
                           {Key("CNPJ"), Key("AUXBANCOB", "NOME")}));
  t.push_back(Installation(78, "DECBENS", kExclusive, DecBens(), {Key("CPF")}));
  t.push_back(Installation(80, "ULTANOS", kExclusive, UltAnos(), {Key("CPF+ANOBASE")}));
  t.push_back(Reference(94, "TAB_MUNI", Municipalities(), {}));
  return t;
}

}  // namespace dodu::store::internal
