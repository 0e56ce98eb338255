// The configuration table of the lookup lists: field -> table, window,
// columns. What choosing a line does is in lookup_fields.cc.
#include <algorithm>
#include <set>

#include "core/codepage.h"
#include "entry/lookup_fields.h"

namespace dodu::entry {

namespace {

constexpr char kCpfMask[] = "@R 999.999.999-99";
constexpr char kMoneyMask[] = "@Ez 9999,999.99";

Column Col(std::string_view heading, std::string expression, std::string mask = "") {
  Column c;
  c.heading = core::Cp850(heading);
  c.expression = std::move(expression);
  c.mask = std::move(mask);
  return c;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool In(const std::string& field, std::initializer_list<const char*> names) {
  return std::any_of(names.begin(), names.end(), [&](const char* n) { return field == n; });
}

std::string TextOf(const store::Record& r, const char* field) {
  Result<std::string> t = r.GetTrimmed(field);
  return t.ok() ? *t : std::string();
}

int NumberOf(const store::Record& r, const char* field) {
  Result<core::Decimal> d = r.GetNumber(field);
  return d.ok() ? static_cast<int>(d->ToScaled(0)) : 0;
}

// A reference table of the installation, in the area of its number.
LookupConfig Reference(int table, std::vector<Column> columns, BrowseRect rect = kLookupRect) {
  LookupConfig c;
  c.table = table;
  c.area = table;
  c.rect = rect;
  c.columns = std::move(columns);
  c.opened_here = true;
  return c;
}

// A work copy of the open declaration (table n in area n + 20).
LookupConfig WorkCopy(int table, std::vector<Column> columns, BrowseRect rect = kLookupRect) {
  LookupConfig c;
  c.table = table;
  c.area = table == 21 ? 41 : table + 20;
  c.rect = rect;
  c.columns = std::move(columns);
  return c;
}

LookupConfig Gains(const LookupTarget& t) {
  // Kind 4 (variable income) is edited on the screen of kind 1.
  const int kind = t.gains_kind == 4 ? 1 : t.gains_kind;
  std::vector<Column> cols;
  if (kind == 5) {
    cols = {Col("Nro.", "BEM_NRO"), Col("Nome da Moeda Estrangeira", "substr(ESPC_BEM,1,40)"),
            Col("Tributado", "VAL_TRIBU", kMoneyMask), Col("Imposto", "VAL_IMPOSV", kMoneyMask)};
  } else {
    cols = {Col("Nr", "BEM_NRO"),
            Col("Item", "NRO_ITEM"),
            Col(kind == 3 ? "Nome da Sociedade" : "Descrição do Bem",
                kind == 3 ? "NOME_SOCIE" : "substr(ESPC_BEM,1,30)"),
            Col("Tributado", "VAL_TRIBU", kMoneyMask),
            Col("Nao Tribu.", "VAL_NAOTRI", kMoneyMask),
            Col("Imposto", "VAL_IMPOSV", kMoneyMask)};
  }
  LookupConfig c = WorkCopy(7, std::move(cols), {6, 6, 19, 70});
  c.gains = true;
  const std::string brazil = t.gains_in_brazil;
  c.filter = [kind, brazil](const store::Record& r) {
    if (NumberOf(r, "TIPO_BEM") != kind) return false;
    return kind != 2 || brazil.empty() || TextOf(r, "BEMBRASIL") == brazil;
  };
  return c;
}

}  // namespace

std::optional<LookupConfig> FindLookup(const LookupTarget& t) {
  const std::string f = Upper(t.field);
  const bool line = t.line != nullptr;
  if (In(f, {"CPF", "NOMECONTR", "CPF1", "CPF2", "DIRCONJU", "CPFEMAIL"})) {
    LookupConfig c;
    c.table = c.area = 9;
    c.register_list = true;
    c.seek_by_typing = true;
    c.rect = t.mode == 1 ? BrowseRect{1, 1, 14, 79} : BrowseRect{3, 1, 16, 78};
    return c;
  }
  if (f == "CPFSAC") {
    LookupConfig c;
    c.table = c.area = 9;
    c.columns = {Col("Nome do Contribuinte", "substr(NOMECONTR,1,30)"), Col("CPF", "CPF", kCpfMask),
                 Col("Cobrar", "VALOREC", kMoneyMask)};
    c.seek_by_typing = true;
    return c;
  }
  if (f == "CGCPAGADOR") {
    LookupConfig c = WorkCopy(2,
                              {Col(" Firma pagadora ", "substr(I1_2,1,28)"), Col("CGC/CPF", "I1_3"),
                               Col("Valor", "I1_4", kMoneyMask)},
                              {8, 6, 18, 70});
    c.filter = [](const store::Record& r) { return TextOf(r, "I1_1") == "J"; };
    return c;
  }
  if (In(f, {"CDPRO", "OCUPACAO"})) {
    LookupConfig c =
        Reference(58, {Col("Cód", "CDPRO"), Col(" Nome da Ocupacao ", "OCUPACAO")}, {8, 1, 18, 76});
    c.close_after = true;
    return c;
  }
  if (In(f, {"CODAT", "DESCRAT"})) {
    LookupConfig c = Reference(59, {Col("Cód", "CODAT"), Col(" Nome da Ocupacao ", "DESCRAT")});
    c.close_after = true;
    return c;
  }
  if (In(f, {"CPFDEPEN", "CPFALIEN", "CPFDEP", "NROBEN2"}) || (f == "I1_8" && line)) {
    return WorkCopy(
        3, {Col("Nome Dependente ", "substr(NOMEDEPEN,1,28)"), Col("CPF", "CPFDEPEN", kCpfMask)},
        {8, 6, 18, 70});
  }
  if (In(f, {"I1_2", "I1_3"}) && line) {
    LookupConfig c = Reference(
        55, {Col("Nro.", "NUMBAN"), Col(" Nome do Banco ", "NOMEBAN"), Col("CNPJ", "CNPJBAN")},
        {8, 6, 18, 70});
    c.order = f == "I1_3" ? 2 : -1;
    return c;
  }
  if (In(f, {"BANCO", "NROBANCO"}) || (In(f, {"NRO_BANCO", "NOM_BANCO"}) && line)) {
    LookupConfig c = Reference(55, {Col("Nro.", "NUMBAN"), Col(" Nome do Banco ", "NOMEBAN")});
    c.order = 2;
    return c;
  }
  if (f == "LISTABANCO") {
    LookupConfig c = Reference(
        77, {Col("Banco / Empresa", "substr(NOME,1,30)"), Col("CNPJ", "CNPJ")}, {9, 29, 22, 78});
    c.order = 2;
    return c;
  }
  if (f == "CODIDEPEN" && line) {
    return Reference(47, {Col("Cod.", "CODDEP"), Col("Relação de dependência", "DESCRICAO")},
                     {8, 6, 22, 70});
  }
  if ((f == "I7_5" && line) || In(f, {"NDESINI", "NDESFIM"})) {
    return Reference(46, {Col("Cod.", "CODBEM"), Col("Bens e Direitos", "DESCBENS")});
  }
  if (f == "I8_5" && line) {
    return Reference(48, {Col("Cod.", "CODDIV"), Col("Dividas e Onus", "DESCDIV")});
  }
  if ((f == "I6_3" || f == "CODIGO") && line) {
    // The asset list of profile 30 has a CODIGO of its own, without a list.
    if (f == "CODIGO" && t.line->profile().number == 30) return std::nullopt;
    return Reference(49, {Col("Cod.", "CODDES"), Col("Doação ou Pagamento", "DESCDOA")});
  }
  if (f == "CODIGOA") {
    return Reference(69, {Col("Cod.", "CODBEM"), Col("  Tipo  ", "DESCBENS")}, {5, 20, 19, 71});
  }
  if (f == "AUXPAG") {
    LookupConfig c =
        Reference(53, {Col("Descrição", "NOME"), Col("CPF/CNPJ", "CGCCPF"), Col("Cod.", "CODIGO")},
                  {3, 2, 14, 77});
    c.seek_by_typing = true;
    return c;
  }
  if (f == "AUXFON") {
    LookupConfig c =
        Reference(74, {Col("Fonte Pagadora", "NOME"), Col("CPF/CNPJ", "CGCCPF")}, {3, 2, 14, 77});
    c.seek_by_typing = true;
    return c;
  }
  if (In(f, {"ORIGEM", "DESTINO"})) {
    return Reference(50, {Col("Nome dos diretórios", "substr(DIRETOR,1,40)")});
  }
  if (In(f, {"CODPAIS", "CODEXTE"}) || (In(f, {"I7_8", "I8R_3"}) && line)) {
    return Reference(60, {Col("Cod.", "CODPAIS"), Col("Nome do País", "NOMPAIS")});
  }
  if (f == "CODEMB") {
    return Reference(61, {Col("Cod.", "CD_EX"), Col("Cidade", "NM_CIDADE"),
                          Col("Nome do País", "NM_PAIS"), Col("Representaçao", "NM_REP")});
  }
  if (In(f, {"ESTATUS", "OPC_TRAN"})) {
    return Reference(66, {Col("Cod.", "COD"), Col("Estatus", "DESCRICAO")});
  }
  if (In(f, {"TIPOEND", "RUAIMO"})) {
    LookupConfig c = Reference(65, {Col("Tipo Endereço", "NOMELOGRA")}, {8, 16, 21, 29});
    c.close_after = true;
    c.seek_by_typing = true;
    return c;
  }
  if (In(f, {"MUNICIPIO", "MUNICIMO", "CID_SOCIE", "DISTR_IMR"})) {
    LookupConfig c =
        Reference(64, {Col(t.editing_state ? "Nome dos Estados" : "Nome dos municípios",
                           "substr(NOMEMUNI,1,30)")});
    c.seek_by_typing = t.identification_screen || (f == "MUNICIMO" && line);
    return c;
  }
  if (f == "CIDDOA") {
    return Reference(75, {Col("Nome dos municípios", "CIDADE"), Col("CNPJ", "CNPJ")});
  }
  if (f == "CDCONTA") {
    return Reference(62, {Col("Código", "CDCONTA"), Col("Descriçao", "substr(NMDESCRICA,1,60)")},
                     {6, 8, 19, 76});
  }
  if (f == "TIPO_BEM" && t.gains_kind >= 1 && t.gains_kind <= 5) return Gains(t);
  if (In(f, {"I3_04", "I4_02"}) && t.prepared != nullptr) {
    LookupConfig c;
    c.area = t.prepared->area;
    c.rect = t.prepared->rect;
    c.columns = t.prepared->columns;
    return c;
  }
  return std::nullopt;
}

}  // namespace dodu::entry
