// The two declaration menus: the window's pull-down menu (MENU_IRJAN, the
// new style) and the in-screen bar of the old style (CREATEMAINMENU), as
// data, for the taxpayer's conditions when the menu is built.
#include <string>
#include <utility>
#include <vector>

#include "core/codepage.h"
#include "screen/dialog.h"
#include "screen/menu.h"
#include "shell/declaration_menu_window.h"

namespace dodu::shell {

using core::Cp850;
using screen::Key;

namespace {

// A node of the new-style menu: an item (code > 0) or a sub-menu (children).
struct Node {
  std::string caption;  // UTF-8
  int code = 0;
  std::string variant;
  std::vector<Node> children;
  bool separator_after = false;
};

Node Item(std::string caption, int code, std::string variant = {}) {
  return Node{std::move(caption), code, std::move(variant), {}, false};
}
Node Sub(std::string caption, std::vector<Node> children) {
  return Node{std::move(caption), 0, {}, std::move(children), false};
}
Node Sep(Node n) {
  n.separator_after = true;
  return n;
}

std::vector<Node> TitularGains() {
  return {Item("Gcap em bens &Imóveis (F8)   ", 81),
          Sub("Gcap em bens &Moveis         ", {Item("Gcap no Brasil           ", 82, "S"),
                                                Item("Gcap no Exterior         ", 82, "N")}),
          Item("Gcap participação &Societária", 83),
          Sep(Item("Gcap em moeda &Estrangeira   ", 84)),
          Item("Renda Variável &Op.Comum  F9)", 91),
          Item("Renda Variável &Day-Trade    ", 92),
          Item("&Fundos de Investimento      ", 93)};
}

std::vector<Node> RuralItems(bool lcdpr, bool abroad) {
  std::vector<Node> brazil = {Item("&Identificação      ", 101), Item("&Receita e Despesas ", 102),
                              Item("&Apuração           ", 103), Item("&Mov. Rebanho       ", 104),
                              Item("&Bens Rural         ", 105), Item("&Dívidas Rural      ", 106)};
  if (lcdpr) {
    brazil.back().separator_after = true;
    brazil.push_back(Item("&Cadastro dos Bancos", 107));
    brazil.push_back(Item("c&Ontador   ", 108));
    brazil.push_back(Item("&Gera Arquivo LCDPR ", 109));
  }
  if (!abroad) return brazil;
  return {Sub("no Brasil", brazil),
          Sub("no Exterior", {Item("&Identificação ", 201), Item("&Apuração      ", 203),
                              Item("&Mov. Rebanho  ", 204), Item("&Bens Rural    ", 205),
                              Item("&Dívidas Rural ", 206)})};
}

std::vector<Node> NewMenu(bool dependants, bool rural, bool abroad, bool lcdpr) {
  std::vector<Node> bar;
  if (dependants) {
    bar.push_back(Sub(
        "rend. p.&Jur.(F1)",
        {Sub("do &Titular", {Item("&Rendimentos (F1)", 11), Item("recebido &Acumulado", 12)}),
         Sep(Sub(" do &Dependente", {Item("&Rendimentos ", 13), Item("recebido &Acumulado", 14)})),
         Item("&Fim da declaração", 17)}));
    bar.push_back(Sub("Rend. p&Fis(F2)", {Item("rendimento do &Titular (F2)", 21),
                                          Item("rendimento do &Dependente  ", 22)}));
  } else {
    bar.push_back(Sub("Rend. P.&Jur.(&F1)",
                      {Item("&Rendimentos (F1)", 11), Sep(Item("recebido &Acumulado", 12)),
                       Item("&Fim da declaração", 17)}));
    bar.push_back(Item("Rend. p&Fis (F2)", 21));
  }
  bar.push_back(Sub("is&Ento(F3)", {Item("rendimentos &Isentos e não tributáveis (F3)", 31),
                                    Item("rendimentos de &Tributação exclusiva", 32)}));
  bar.push_back(
      Sub("&Dependente(F4)", {Item("&Dependentes  (F4)", 41), Item("&Alimentandos     ", 42),
                              Item("&Herdeiros/Meeiro ", 45)}));
  bar.push_back(Sub("&Pagamentos(Alt F7)",
                    {Item("&Pagamentos/doações(Alt F7)", 43), Item("&Doações diretas ao ECA", 44),
                     Item("&Doações diretas ao Idoso", 46)}));
  bar.push_back(Sub(
      "&Bens e dívidas(F5)",
      {Item("decl. &Bens e dívidas (F5)", 51), Item("&Só a declar. de bens (Alt X)", 52),
       Sep(Item("&Zoom declar. de bens (Alt Z) ", 54)), Item("Só a Declar. de &Dívidas", 53),
       Sep(Item("z&Oom Declar. de Dívidas", 55)), Item("&Informação do cônjugue(Alt F3)", 56)}));
  bar.push_back(Item("&Identificação (F6)", 61));
  bar.push_back(Sub("&Cálculo(F7)", {Item("&Cálculo (F7)", 71), Item("&Balanco (F10)", 72),
                                     Item("&Avisos  (F11) ", 62), Item("&Notas pessoais", 63)}));
  if (dependants) {
    bar.push_back(Sub(
        "&Ganhos de Capital(F8)",
        {Sub("&Ganhos do Titular", TitularGains()),
         Sub("&Ganhos do dependente",
             {Item("Gcap em bens &Imóveis        ", 85),
              Sub("Gcap em bens &Moveis         ", {Item("Gcap no Brasil           ", 86, "S"),
                                                    Item("Gcap no Exterior         ", 86, "N")}),
              Item("Gcap participação &Societária", 87),
              Sep(Item("Gcap em moeda &Estrangeira   ", 88)), Item("Renda Variável &Op.Comum ", 94),
              Item("Renda Variável &Day-Trade", 95), Item("Fundos de Investimento   ", 96)})}));
  } else {
    bar.push_back(Sub("&Ganhos de Capital(F8)", TitularGains()));
  }
  if (rural) bar.push_back(Sub("&Rural (F12)", RuralItems(lcdpr, abroad)));
  bar.push_back(
      Sub("Dec. Final/Dec. &Saída", {Item("&Espólio", 57), Item("&Saída definitiva", 58)}));
  bar.push_back(Sub("&Ajuda", {Item("&Calculadora (Alt K)", 120), Item("&Geral", 121),
                               Item("&Funções", 122), Item("&Sobre", 123)}));
  bar.push_back(Sub("sai&R(alt T)", {Item("Sair salvando alterações ", 111),
                                     Item("Sair sem salvar as alterações", 112)}));
  return bar;
}

void Build(screen::LMenu& menu, const std::vector<Node>& nodes,
           const std::function<void(int, const std::string&)>& choose) {
  for (const Node& n : nodes) {
    if (n.code == 0) {
      menu.subMenu(Cp850(n.caption));
      Build(menu, n.children, choose);
      menu.endMenu();
    } else {
      const int code = n.code;
      const std::string variant = n.variant;
      menu.menuItem(Cp850(n.caption), [choose, code, variant] { choose(code, variant); });
    }
    if (n.separator_after) menu.separator();
  }
}

}  // namespace

void DeclarationWindow::BuildNewMenu() {
  if (window_ == nullptr) return;
  CountDependants();
  menu_with_dependants_ = state_.qtd_dep > 0;
  const bool lcdpr = session_.vars().Number("TIPO_LANCA") == core::Decimal::FromInt(2);
  const bool abroad = session_.vars().Text("AAR_EXTER").starts_with("S");
  screen::LMenu& menu = window_->newMenu();
  // MENUOPC: the item's code through the dispatcher.
  Build(menu, NewMenu(menu_with_dependants_, Rural(), abroad, lcdpr),
        [this](int code, const std::string& variant) { Menucomum(code, variant); });
  menu.create();
}

// ---- the old style ----------------------------------------------------------------

std::pair<int, std::string> ClassicCode(int id) {
  switch (id) {
    case 821:
      return {82, "S"};
    case 822:
      return {82, "N"};
    case 861:
      return {86, "S"};
    case 862:
      return {86, "N"};
    default:
      return {id, ""};
  }
}

namespace {

ClassicItem CI(const char* caption, int id, const char* message,
               std::optional<Key> shortcut = std::nullopt, bool line_before = false) {
  return ClassicItem{Cp850(caption), shortcut, Cp850(message), id, line_before};
}

}  // namespace

std::vector<ClassicMenu> ClassicMenuBar(bool dependants, bool rural, bool rural_abroad,
                                        bool lcdpr) {
  const char* const kGainEstate = "Ganho de capital na venda de bens imóveis ";
  const char* const kGainMovable = "Ganho de capital na venda de bens móveis ";
  const char* const kGainShares = "Ganho de capital na venda de Participação Societária ";
  const char* const kGainCommon = "Ganhos ou perdas na renda variável em Operação comum";
  const char* const kGainDay = "Ganhos ou perdas na renda variável em operação Day Trade";
  const char* const kGainFund = "Ganhos ou perdas em fundo de investimento imobiliário";
  const char* const kGainCurrency = "Ganho de capital na venda de Moeda Estrangeira ";
  std::vector<ClassicMenu> bar;
  bar.push_back(
      {Cp850("p.&Jur"),
       {CI("rendimento do &Titular   ", 11,
           "Rendimentos tributados ou isentos do titular recebidos de Pessoa Jurídica", Key::F(1)),
        CI("&Acumulado  do titular    ", 12,
           "(RRA) Rendimentos Tributáveis recebidos acumuladamente pelo titular"),
        CI("rendimento do &Dependente", 13,
           "Rendimentos tributados ou isentos dos dependentes recebidos de Pessoa "
           "Jurídica"),
        CI("a&Cumulado  do dependente ", 14,
           "(RRA) Rendimentos Tributáveis recebidos acumuladamente pelo Dependente"),
        CI("&Fim da declaração", 17, "Termina a declaração podendo ou não salvar os dados",
           Key::Alt('T'), true)}});
  bar.push_back({Cp850("p.&Fis"),
                 {CI("rendimento do &Titular   ", 21,
                     "Rendimentos do titular recebidos de Pessoa Física", Key::F(2)),
                  CI("rendimento do &Dependente", 22,
                     "Rendimentos dos dependentes recebidos de Pessoa Física")}});
  bar.push_back({Cp850("is&Ento"),
                 {CI("rendimentos &Isentos e não tributáveis", 31,
                     "Rendimentos Isentos e não tributáveis", Key::F(3)),
                  CI("rendimentos de &Tributação exclusiva", 32,
                     "Rendimentos Sujeitos a tributação exclusiva na fonte")}});
  bar.push_back(
      {Cp850("de&Pendente"),
       {CI("De&pendentes     ", 41, "Relação dos dependentes", Key::F(4)),
        CI("&Alimentandos    ", 42, "Relação dos alimentandos que recebem pensão alimentícia"),
        CI("&Pagamentos/doações(AltF7)", 43, "Relação dos Pagamentos e doaçoes efetuadas",
           Key::AltF(7)),
        CI("&Doações diretas ao ECA", 44, "Doações diretas para Estatuto da Criança "),
        CI("&Doações diretas ao Idoso", 46,
           "Doações diretas para Fundos Controlados do Conselho do Idoso"),
        CI("&Herdeiros/Meeiro", 45, "Relação dos herdeiros em uma declaração final")}});
  bar.push_back(
      {Cp850("&Bem"),
       {CI("&Decl. Bens e dívidas   ", 51, "Declaração dos Bens e das dívidas", Key::F(5)),
        CI("Só a Declar. de &Bens   ", 52, "Somente a Declaração dos Bens"),
        CI("Só a Declar. de Dí&vidas", 53, "Somente a Declaração das dívidas e ônus"),
        CI("&Zoom Declar. de Bens   ", 54, "Somente a Declaração dos Bens"),
        CI("Z&oom Declar. de Dívidas", 55, "Somente a Declaração das dívidas e ônus"),
        CI("&Informação do Cônjugue(AltF3)", 56, "Informações do cônjuge", Key::AltF(3), true),
        CI("&Espólio", 57, "Informações do espólio"),
        CI("&Saída definitiva", 58, "Informações para saída definitiva")}});
  bar.push_back({Cp850("&Iden."), {CI("&Identificação ", 61, "Identificação", Key::F(6))}});
  bar.push_back({Cp850("&Cálculo"),
                 {CI("&Cálculo       ", 71, "Cálculo do Imposto", Key::F(7)),
                  CI("&Balanco       ", 72, "Balanço da declaração", Key::F(10)),
                  CI("&Avisos        ", 62, "Avisos do programa", Key::F(11)),
                  CI("&Notas pessoais", 63, "Notas pessoais", Key::AltF(1))}});
  if (dependants) {
    bar.push_back({Cp850("&Ganho"),
                   {CI("GCap.Bens &Imoveis Titular        ", 81, kGainEstate),
                    CI("GCap.Bens &Moveis Titular         ", 821, kGainMovable),
                    CI("G.Cap.Bens &Móveis no Exterior    ", 822, kGainMovable),
                    CI("GCap.Part.&Societaria Titular     ", 83, kGainShares),
                    CI("GCap.Moeda &Estrangeira Titular   ", 84, kGainCurrency),
                    CI("GCap.Bens Imoveis &Dependente     ", 85, kGainEstate, std::nullopt, true),
                    CI("GCap.&Bens Moveis no Brasil do Dep.", 861, kGainMovable),
                    CI("GCap.Bens Moveis no Exterior Dep. ", 862, kGainMovable),
                    CI("GCap.&Part.Societaria Dependente  ", 87, kGainShares),
                    CI("GCap.Moeda &Estrangeira Dependente", 88, kGainCurrency),
                    CI("RVar. &Op.Comum  Titular", 91, kGainCommon, std::nullopt, true),
                    CI("RVar. &Day-Trade Titular", 92, kGainDay),
                    CI("&F.Investimento  Titular", 93, kGainFund),
                    CI("RVar. Op.&Comum  Dependente", 94, kGainCommon, std::nullopt, true),
                    CI("RVar. Day-&Trade Dependente", 95, kGainDay),
                    CI("F.&Investimento  Dependente", 96, kGainFund)}});
  } else {
    bar.push_back(
        {Cp850("&Ganho"),
         {CI("G.Cap.Bens &Imóveis           ", 81, kGainEstate),
          CI("G.Cap.Bens &Móveis no Brasil  ", 821, kGainMovable),
          CI("G.Cap.Bens &Móveis no Exterior", 822, kGainMovable),
          CI("G.Cap.Part.&Societária        ", 83, kGainShares),
          CI("G.Cap.Moeda &Estrangeira      ", 84, kGainCurrency),
          CI("RVar. &Op.Comum  ", 91, kGainCommon, std::nullopt, true),
          CI("RVar. &Day-Trade ", 92, kGainDay), CI("&F.Investimento  ", 93, kGainFund)}});
  }
  if (rural) {
    const char* br = rural_abroad ? "(BR)" : "";
    auto cap = [br](const char* c) { return std::string(c) + br; };
    std::vector<ClassicItem> items = {
        ClassicItem{Cp850(cap("&Identificação      ")), Key::F(12),
                    Cp850("Identificação da Atividade e do imóvel"), 101, false},
        ClassicItem{Cp850(cap("&Receita e Despesas ")), std::nullopt,
                    Cp850("Lançamento das Receitas e Despesas "), 102, false},
        ClassicItem{Cp850(cap("&Apuração           ")), std::nullopt,
                    Cp850("Apuração do Resultado Tributável"), 103, false},
        ClassicItem{Cp850(cap("&Mov. Rebanho       ")), std::nullopt,
                    Cp850("Movimentação do Rebanho"), 104, false},
        ClassicItem{Cp850(cap("&Bens Rural         ")), std::nullopt,
                    Cp850("Bens da Atividade Rural"), 105, false},
        ClassicItem{Cp850(cap("&Dívidas Rural      ")), std::nullopt,
                    Cp850("Dívidas vinculadas a Atividade rural"), 106, false}};
    if (lcdpr) {
      items.push_back(ClassicItem{Cp850("&Cadastro dos Bancos"), std::nullopt,
                                  Cp850("Cadastro do Bancos para o LCDPR"), 107, true});
      items.push_back(ClassicItem{Cp850("c&Ontador   "), std::nullopt,
                                  Cp850("Cadastro do Contador para o LCDPR"), 108, false});
      items.push_back(ClassicItem{Cp850("&Gera Arquivo LCDPR "), std::nullopt,
                                  Cp850("Cria o arquivo do LCDPR para a Receita"), 109, false});
    }
    if (rural_abroad) {
      const std::pair<const char*, int> abroad[] = {{"&Identificação (EX)", 201},
                                                    {"&Apuração      (EX)", 203},
                                                    {"&Mov. Rebanho  (EX)", 204},
                                                    {"&Bens Rural    (EX)", 205},
                                                    {"&Dívidas Rural (EX)", 206}};
      bool first = true;
      for (const auto& [caption, id] : abroad) {
        const ClassicItem& twin = items[id == 201 ? 0 : id - 201];
        items.push_back(ClassicItem{Cp850(caption), std::nullopt, twin.message, id, first});
        first = false;
      }
    }
    bar.push_back({Cp850("&Rural"), std::move(items)});
  }
  bar.push_back({Cp850("&Ajuda"),
                 {CI("&Calculadora", 120, "Calculadora"), CI("&Geral", 121, "Ajudas gerais"),
                  CI("&Funcoes", 122, "Teclas especiais"), CI("&Sobre", 123, "Versão atual")}});
  bar.push_back({Cp850("s&Ai"),
                 {CI("Sai da declaração", 111,
                     "Termina a declaração podendo ou não salvar os dados", Key::Alt('T')),
                  CI("&Fim da declaração", 17,
                     "Termina a declaração podendo ou não salvar os dados", Key::Alt('T'))}});
  return bar;
}

}  // namespace dodu::shell
