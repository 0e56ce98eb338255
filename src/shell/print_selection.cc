#include "shell/print_selection.h"

#include <algorithm>

namespace dodu::shell {
namespace {

const std::string& Entry(const std::vector<std::string>& list, int index) {
  return list[static_cast<size_t>(ClampToRange(index, 1, static_cast<int>(list.size())) - 1)];
}

}  // namespace

const std::vector<std::string>& Alistimp() {
  static const std::vector<std::string> list = {
      "DArevu modo Receita ", "DArevu modo  Vesk  ", "Atividade Rural     ",
      "Livro caixa Rural  ",  "Darfes              ", "Ganho de capital   ",
      "Renda variável      ", "carta Personalizada", "Avisos e N.Pessoais ",
      "Livro caixa Normal ",  "Valores a cobrar    ", "Cadastro           ",
      "Comprovante rendime ", "Etiquetas para CD  ",  "Relatório do Usuário",
      "Historicos"};
  return list;
}
const std::vector<std::string>& Nomcont() {
  static const std::vector<std::string> list = {"Folha avulsa  "};
  return list;
}
const std::vector<std::string>& Modo1op() {
  static const std::vector<std::string> list = {"folha Avulsa       ", "Formulário Contínuo",
                                                "Darf pré-impresso  "};
  return list;
}
const std::vector<std::string>& Modoeti() {
  static const std::vector<std::string> list = {"Etiquetas          ", "Folha avulsa  "};
  return list;
}
const std::vector<std::string>& Modetid() {
  static const std::vector<std::string> list = {"8 Eti. 116x37 ", "12 Eti. 90x24 ",
                                                "2*5 Eti.70x50 ", "Pimaco 8296   "};
  return list;
}
const std::vector<std::string>& Modouni() {
  static const std::vector<std::string> list = {"Folha única"};
  return list;
}
const std::vector<std::string>& Nomepagr() {
  static const std::vector<std::string> list = {
      "Tudo na declaração  ", "Tudo menos Balanço ", "Só IR s/Bal e Malha ",
      "Só IR Sem a Malha  ",  "Rendimentos         ", "Rendimentos PFisica",
      "Pagamentos/Isentos ",  "Bens e Dívidas      ", "Resumo c/Balanço   ",
      "Resumo s/Balanço    ", "Só a Malha fina    "};
  return list;
}
const std::vector<std::string>& Nomeprur() {
  static const std::vector<std::string> list = {"Todas pag. ", "página 1   ", "página 2   "};
  return list;
}
const std::vector<std::string>& Nomecon() {
  static const std::vector<std::string> list = {"Individual  ", "Vários      ", "Todos       ",
                                                "todas Pastas", "Grupo selec."};
  return list;
}
const std::vector<std::string>& Nomepags() {
  static const std::vector<std::string> list = {
      "Toda a declaração", "Toda s/Balanço",   "IR s/MF e Balanço",    "IR  sem a Malha ",
      "Rendimentos     ",  "Rendimentos P.Fisica", "Pagamentos/Isento", "Bens/Divida ",
      "Resumo c/Balanço",  "Resumo s/Balanço", "Malha Fina  ",         "Pag.1 Rural",
      "Pag.2 Rural"};
  return list;
}
const std::vector<std::string>& Nomepagcv() {
  static const std::vector<std::string> list = {"declar.Bens/Div"};
  return list;
}

int ClampToRange(int value, int low, int high) { return std::clamp(value, low, high); }

int SheetLimit(int queimp) {
  // AQUEIT2, with kind 16 added as single sheets.
  static constexpr int kLimits[kReportKinds] = {1, 1, 1, 1, 3, 1, 1, 1, 1, 1, 1, 2, 1, 4, 1, 1};
  return kLimits[ClampToRange(queimp, 1, kReportKinds) - 1];
}

int PageLimit(int queimp) {
  // AQUEIT3, with kind 16 added as one page set.
  static constexpr int kLimits[kReportKinds] = {11, 11, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  return kLimits[ClampToRange(queimp, 1, kReportKinds) - 1];
}

bool SelectPrintItem(PrintSelection& sel, int code, int choice) {
  switch (code) {
    case 41:
      sel.queimp = ClampToRange(choice, 1, kReportKinds);
      return true;
    case 42:
      sel.quemod = ClampToRange(choice, 1, SheetLimit(sel.queimp));
      return true;
    case 43:
      sel.quepag = ClampToRange(choice, 1, PageLimit(sel.queimp));
      return true;
    case 44:
      sel.quecon = ClampToRange(choice, 1, kWhomKinds);
      return true;
    case 47:
      sel.nro_vias = ClampToRange(choice, 1, 9);
      return true;
    default:
      return false;
  }
}

bool SetPrintFlag(PrintSelection& sel, int which, bool yes) {
  std::string value = yes ? "S" : "N";
  switch (which) {
    case 1:
      sel.mosimp = value;
      return true;
    case 2:
      sel.mostel = value;
      return true;
    case 3:
      sel.moscpf = value;
      return true;
    default:
      return false;
  }
}

std::string PrintFlagQuestion(int which) {
  switch (which) {
    case 1:
      return "Mostre as Impressoras Existentes antes de imprimir ?";
    case 2:
      return "Mostre no video o texto a ser impresso antes de imprimir ?";
    case 3:
      return "Cria uma cópia (TXT) do texto a ser impresso?";
    default:
      return "";
  }
}

PrintCaptions MontaItens(PrintSelection& sel) {
  sel.queimp = ClampToRange(sel.queimp, 1, kReportKinds);
  sel.quecon = ClampToRange(sel.quecon, 1, kWhomKinds);
  sel.nro_vias = ClampToRange(sel.nro_vias, 1, 9);

  std::string item2 = Nomcont()[0];
  std::string item3 = Modouni()[0];
  switch (sel.queimp) {
    case 1:
    case 2:
      sel.quemod = 1;
      sel.quepag = ClampToRange(sel.quepag, 1, 11);
      item3 = Entry(Nomepagr(), sel.quepag);
      break;
    case 3:
      sel.quemod = 1;
      sel.quepag = ClampToRange(sel.quepag, 1, 3);
      item3 = Entry(Nomeprur(), sel.quepag);
      break;
    case 4:
      sel.quemod = 1;
      sel.quepag = ClampToRange(sel.quepag, 1, 3);
      break;
    case 5:
      sel.quemod = ClampToRange(sel.quemod, 1, 3);
      sel.quepag = 1;
      item2 = Entry(Modo1op(), sel.quemod);
      break;
    case 12:
      sel.quemod = ClampToRange(sel.quemod, 1, 2);
      sel.quepag = 1;
      item2 = Entry(Modoeti(), sel.quemod);
      break;
    case 14:
      // The sheet kind is kept as it is, but inside the list of label sheets.
      sel.quemod = ClampToRange(sel.quemod, 1, static_cast<int>(Modetid().size()));
      sel.quepag = 1;
      item2 = Entry(Modetid(), sel.quemod);
      break;
    default:  // 6..11, 13, 15 and 16
      sel.quemod = 1;
      sel.quepag = 1;
      break;
  }

  PrintCaptions c;
  c.item1 = "1 " + Entry(Alistimp(), sel.queimp);
  c.item2 = "2 " + item2;
  c.item3 = "3 " + item3;
  c.item4 = "4 " + Entry(Nomecon(), sel.quecon);
  c.item5 = "5  - Seleção da Impressora";
  c.item6a = "6a - Mostra as Impressoras ";
  c.item6b = "6b - Mostra o texto antes  ";
  c.item6c = "6c - Copia o texto impresso";
  c.item7 = "7  - Número de Vias ";
  return c;
}

std::vector<std::string> MosConfimpLines(const PrintSelection& sel,
                                         const PrintCaptions& captions) {
  return {
      captions.item1,
      captions.item2,
      captions.item3,
      captions.item4,
      "Impressora " + sel.nomeimp,
      captions.item6a + "= " + sel.mosimp,
      captions.item6b + "= " + sel.mostel,
      captions.item6c + "= " + sel.moscpf,
      captions.item7 + std::to_string(sel.nro_vias),
  };
}

FieldValues PrintSelectionFields(const PrintSelection& sel) {
  return {
      NumericField("QUEIMP", sel.queimp), NumericField("QUEMOD", sel.quemod),
      NumericField("QUEPAG", sel.quepag), NumericField("QUECON", sel.quecon),
      NumericField("COMPAGA", sel.compaga), CharField("IMPBEM", sel.impbem),
      CharField("IMPBAL", sel.impbal),    CharField("MOSIMP", sel.mosimp),
      CharField("MOSTEL", sel.mostel),    CharField("MOSCPF", sel.moscpf),
      NumericField("MARESQ", sel.maresq), NumericField("INIFOL", sel.inifol),
      NumericField("LINETI", sel.lineti), NumericField("NRO_LIN", sel.nro_lin),
  };
}

}  // namespace dodu::shell
