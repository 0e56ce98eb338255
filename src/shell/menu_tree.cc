#include "shell/menu_tree.h"

#include <cstdio>
#include <utility>

#include "core/codepage.h"

namespace dodu::shell {
namespace {

MenuNode Item(std::string caption, int code) {
  MenuNode n;
  n.caption = std::move(caption);
  n.command = {ActionKind::kOption, code, 0, 0, 0};
  return n;
}
MenuNode Item(std::string caption, int code, int sub1) {
  MenuNode n = Item(std::move(caption), code);
  n.command.sub1 = sub1;
  n.command.subs = 1;
  return n;
}
MenuNode Item(std::string caption, int code, int sub1, int sub2) {
  MenuNode n = Item(std::move(caption), code, sub1);
  n.command.sub2 = sub2;
  n.command.subs = 2;
  return n;
}
MenuNode Colour(std::string caption, int group) {
  MenuNode n;
  n.caption = std::move(caption);
  n.command = {ActionKind::kColourEditor, 0, group, 0, 1};
  return n;
}
// A line of text inside a pull-down that names the group below it; it runs nothing.
MenuNode Heading(std::string caption) {
  MenuNode n;
  n.kind = MenuNodeKind::kHeading;
  n.caption = std::move(caption);
  n.enabled = false;
  return n;
}
MenuNode Sep() {
  MenuNode n;
  n.kind = MenuNodeKind::kSeparator;
  return n;
}
MenuNode Sub(std::string caption, std::vector<MenuNode> children) {
  MenuNode n;
  n.kind = MenuNodeKind::kSubMenu;
  n.caption = std::move(caption);
  n.children = std::move(children);
  return n;
}
// Items code (first .. first+n-1), one per caption, in order.
void AddRun(std::vector<MenuNode>& to, int code, int first,
            std::initializer_list<const char*> captions) {
  int sub = first;
  for (const char* c : captions) to.push_back(Item(c, code, sub++));
}

std::vector<MenuNode> DeclarationMenu() {
  return {
      Item("&Declaração (Alt I)", 11),
      Item("&Lancamentos", 12),
      Item("&Conferência", 13),
      Item("&E-cac  ", 10),
      Item("&Agenda", 14),
      Item("&Pastas", 15),
      Sub("e&Xclusão",
          {
              Sub("Exclui &Declaração",
                  {Item("&Vários    ", 16, 1, 1), Item("Individual", 16, 1, 2)}),
              Item("Exclui somente o &AAR", 16, 2, 1),
              Item("&Recupera declaração Excluida recentemente", 16, 3),
          }),
      Item("&Importação", 17),
      Sub("&Históricos Anteriores",
          {
              Item("Buscar ano 2019", 20, 0),
              Item("Buscar ano 2018", 20, 1),
              Item("Buscar ano 2017", 20, 2),
              Item("Buscar ano 2016", 20, 3),
              Item("Buscar ano 2015", 20, 4),
              Item("Buscar os últimos 5 anos", 20, 5),
              Item("Observar resultados", 20, 6),
              Sep(),
              Item("Local do programa da Receita", 67),
          }),
      Sep(),
      Item("Atuali&za base dados", 19),
      Sep(),
      Item("&Terminar (Alt T)", 18),
  };
}

std::vector<MenuNode> OptionsMenu() {
  std::vector<MenuNode> copy_part;
  AddRun(copy_part, 31, 1,
         {" Toda a declaração  ", " Declaração dos Bens ", " Declaração das Dívidas",
          " Livro Caixa P. Física ", " Rendime. P.Jurídica", " Pagamentos         ",
          " Ganho de capital   ", " Renda Variavel     "});
  copy_part.push_back(Sep());
  copy_part.push_back(Item(" Bens do Espólio    ", 31, 9));
  copy_part.push_back(Sep());
  AddRun(copy_part, 31, 10,
         {" Toda Atividade Rural", " Bens da A. Rural    ", " Dívidas da A. Rural ",
          " Livro Caixa Rural   ", " Imóveis Rurais      "});

  return {
      Item("&Local de trabalho", 21),
      Item("&Transfere declaração", 22),
      Sub("&Mudar as cores",
          {
              Colour(" &Texto              ", 1),
              Colour(" &Contorno das telas ", 2),
              Colour(" &Item Escolhido     ", 3),
              Colour(" &Entr. de dados     ", 4),
              Colour(" &Mensagens          ", 5),
              Colour(" &Help e Avisos      ", 6),
              Colour(" &Fundo Geral        ", 7),
          }),
      Item("&Valores a Cobrar", 25),
      Sub("&Gravar os dados",
          {
              Item("&Automático a cada {TEMP_SAL} minutos", 26, 1),
              Item("&Manual usando Alt W", 26, 2),
              Item("&Somente no final ", 26, 3),
          }),
      Sub("status da &Declaração",
          {
              Item(" Alterar situação ", 27, 1),
              Item(" Cadastrar status ", 27, 2),
              Item(" Trava alteração  ", 27, 3),
          }),
      Item("cadastro &SELIC", 28),
      Item("&Reindexar Dados", 29),
      Item("Mudar C&PF", 30),
      Sub("copia &Parte declaração", std::move(copy_part)),
      Sub("e&Xporta Arquivo",
          {
              Sub(" declaração de Bens  ",
                  {
                      Item(" declaração Total (TXT)", 32, 1, 1),
                      Item(" Separada por CPF (TXT)", 32, 1, 2),
                      Item(" Separada por CPF (XML)", 32, 1, 3),
                  }),
              Item(" declaração de Dívidas ", 32, 2, 1),
              Item(" Pagamentos       ", 32, 3, 1),
              Item(" Cadastro         ", 32, 4, 1),
              Sep(),
              Item(" Bens Rurais      ", 32, 5, 1),
              Item(" díVidas Rurais   ", 32, 6, 1),
              Item(" Imóveis Rurais   ", 32, 7, 1),
          }),
      Sub("&Boletos",
          {
              Item("Configura emitente", 33, 1),
              Sub("Prepara os Boletos ",
                  {
                      Item("Cria boleto individual", 33, 2),
                      Item("Cria vários boletos   ", 33, 3),
                      Item("Edita os Boletos   ", 33, 4),
                  }),
              Item("Gera o Arquivo    ", 33, 5),
          }),
      Sub("&E-mail",
          {
              Item("Configura Email ", 34, 1),
              Item("Prepara o Email", 34, 2),
              Item("Envia o Email", 34, 3),
          }),
      Sub("&Ajustes da Tela",
          {
              Item("&Menus na declaração", 36, 1),
              Item("&Fechando uma declaração", 36, 2),
          }),
      Sub("&Edita arquivos auxiliares",
          {
              Sub("&Mostre ou Edita ",
                  {
                      Item(" Aux&Banco ", 39, 1),
                      Item(" Aux&Fon   ", 39, 5),
                      Item(" Aux&Pag   ", 39, 7),
                  }),
              Sub("&Retira CNPJ repetido",
                  {
                      Item("do Aux&Banco ", 39, 2),
                      Item("do Aux&Fon   ", 39, 6),
                  }),
              Item("&Trasnfere CNPJ  AuxFon->Auxbanco", 39, 3),
              Item("&Transfere CNPJ  AuxBanco->AuxFon ", 39, 4),
          }),
      Item("&Ver Atualização", 35),
      Item("Retira R$0,01 tela F1", 37),
      Sub("Enviar Celular e Email para IRPF",
          {
              Item("Enviar Todos", 38, 1),
              Item("Não Enviar ", 38, 2),
          }),
      Item("Buscar CEP", 40, 1),
      Item("Preencher Cidades", 40, 2),
  };
}

std::vector<MenuNode> SelectionMenu() {
  std::vector<MenuNode> what;
  AddRun(what, 41, 1,
         {"DArevu modo Receita", "DArevu modo  Vesk  ", "Atividade Rural    ",
          "Livro caixa Rural  ", "Darfes             ", "Ganho de capital   ",
          "Renda variável     ", "carta Personalizada", "Avisos e N.Pessoais",
          "Livro caixa Normal ", "Valores a cobrar   ", "Cadastro           ",
          "Comprovante rendime", "Etiquetas para CD  ", "relatório Usuário  ",
          "Histórico anterior "});

  std::vector<MenuNode> sheet;
  sheet.push_back(Heading("Impressão do Imposto /Outros"));
  sheet.push_back(Item("    na Folha avulsa  ", 42, 1));
  sheet.push_back(Sep());
  sheet.push_back(Heading("Impressão do Darf "));
  AddRun(sheet, 42, 1,
         {"    na Folha Avulsa       ", "    no Formulário Continuo",
          "    no Papel pre-impresso "});
  sheet.push_back(Sep());
  sheet.push_back(Heading("Impressão do cadastro "));
  AddRun(sheet, 42, 1, {"    Em Etiquetas     ", "    Na Folha avulsa  "});
  sheet.push_back(Sep());
  sheet.push_back(Heading("Impressão das Etiquetas do CD"));
  AddRun(sheet, 42, 1,
         {"    8 Eti. 116x37 ", "    12 Eti. 90x24 ", "    2*5 Eti.70x50 ",
          "    Pimaco 8296   "});

  std::vector<MenuNode> pages;
  pages.push_back(Heading("Escolha para o IR  "));
  AddRun(pages, 43, 1,
         {"   Tudo na declaração ", "   Tudo menos Balanço ", "   Só IR s/Bal/Malha  ",
          "   Só IR Sem a Malha  ", "   Rendimentos        ", "   Rendimentos P.Fisica",
          "   Pagamentos/Isentos ", "   Bens e Dívidas     ", "   Resumo c/Balanço   ",
          "   Resumo s/Balanço   ", "   Só a Malha fina    "});
  pages.push_back(Sep());
  pages.push_back(Heading("Escolha para o AAR  "));
  AddRun(pages, 43, 1, {"   Todas páginas ", "   só a página 1 ", "   só a página 2 "});
  pages.push_back(Sep());
  pages.push_back(Heading("Outros Itens  "));
  pages.push_back(Item("   Folha única", 43, 1));

  std::vector<MenuNode> whom;
  AddRun(whom, 44, 1,
         {"Individual       ", "Vários           ", "Todos            ",
          "todas Pastas     ", "Grupo selecionado"});

  return {
      Sub("&1- O que imprimir", std::move(what)),
      Sub("&2 - Tipo de Folha", std::move(sheet)),
      Sub("&3 - Qual pagina", std::move(pages)),
      Sub("&4 - Quem imprimir", std::move(whom)),
      Sub("&5 - Qual Impressora", {Item("{NOMEIMP}", 45, 1)}),
      Item("{ITEM_6A}", 46, 1),
      Item("{ITEM_6B}", 46, 2),
      Item("{ITEM_6C}", 46, 3),
      Item("{ITEM_7}", 47, 1),
      Item("Mostra a Selecao", 48, 1),
  };
}

std::vector<MenuNode> PrintMenu() {
  return {
      Item("Imprime os itens selecionados", 51),
      Item("Mostra a Selecao", 48, 1),
      Sep(),
      Item("Imprime a última impressão NAO-DOS", 52),
      Item("Edita Cartas", 53),
      Item("Número de Linhas na folha ", 54),
  };
}

std::vector<MenuNode> HandOverMenu() {
  return {
      Item("Somente um contribuinte selecionado", 61),
      Item("Todos Cpfs selecionados ", 62),
      Item("Todos os CPFs da pasta atual", 63),
      Sep(),
      Sub("Envia ao terminar só a declaracão com status escolhido",
          {
              Item("SIM - Envia para a receita só com o status indicado", 64, 1),
              Item("NÃO - Não envia ao terminar com o status indicado", 64, 2),
          }),
      Sub("Automático no fim da declaracao ",
          {
              Item("SIM - Envia para a receita ao terminar a declaracão", 65, 1),
              Item("NÃO - Não envia ao terminar uma declaração", 65, 2),
          }),
      Item("Muda ou não Status ao enviar", 66),
      Sep(),
      Item("Local do programa da Receita", 67),
      Item("Recupera Declaração do IRPF ", 68),
  };
}

std::vector<MenuNode> BackupMenu() {
  return {
      Sub("Fazer a cópia   ",
          {
              Sub("Do Vesk 2020    ",
                  {Item("Só uma pasta  ", 71, 1, 1), Item("Todas Pastas  ", 71, 1, 2)}),
              Item("Da Receita 2020", 71, 2, 1),
          }),
      Item("Compacta todos no {XDRIVE}:", 72, 1),
      Sub("Compacta uma Pasta", {Item("Do Vesk 2020", 73, 1), Item("Da Receita 2020", 73, 2)}),
      Sep(),
      Sub("Recuperar a cópia", {Item("Do Vesk 2020", 74, 1), Item("Da Receita 2020", 74, 2)}),
      Item("Descompacta todos do {XDRIVE}:", 75, 1),
      Sub("Descompacta uma Pasta",
          {Item("Do Vesk 2020", 76, 1), Item("Da Receita 2020", 76, 2)}),
      Sep(),
      Item("Informa o processador", 77),
  };
}

std::vector<MenuNode> MakeTree() {
  return {
      Sub("&Declaração", DeclarationMenu()),
      Sub("&Opções", OptionsMenu()),
      Sub("&Selecão", SelectionMenu()),
      Sub("&Impressão", PrintMenu()),
      Sub("&Envia p/ Receita", HandOverMenu()),
      Sub("&Cópia de Segurança", BackupMenu()),
      Item("&Fim", 91),
  };
}

void ReplaceAll(std::string& text, std::string_view what, const std::string& with) {
  for (size_t pos = text.find(what); pos != std::string::npos;
       pos = text.find(what, pos + with.size())) {
    text.replace(pos, what.size(), with);
  }
}

class Walker {
 public:
  Walker(const MenuVariables& vars, MenuBuilder& builder) : vars_(vars), builder_(builder) {}

  void Walk(const std::vector<MenuNode>& nodes) {
    for (const MenuNode& n : nodes) {
      switch (n.kind) {
        case MenuNodeKind::kSubMenu:
          builder_.SubMenu(next_id_++, Text(n.caption), n.enabled);
          Walk(n.children);
          builder_.EndMenu();
          break;
        case MenuNodeKind::kSeparator:
          builder_.Separator();
          break;
        case MenuNodeKind::kItem:
        case MenuNodeKind::kHeading: {
          int id = next_id_++;
          builder_.MenuItem(id, Text(n.caption), n.enabled);
          if (n.kind == MenuNodeKind::kItem) commands_.Add(id, n.command);
          break;
        }
      }
    }
  }
  MenuCommands Take() { return std::move(commands_); }

 private:
  std::string Text(const std::string& caption) const {
    return core::Cp850(ExpandCaption(caption, vars_));
  }

  const MenuVariables& vars_;
  MenuBuilder& builder_;
  MenuCommands commands_;
  int next_id_ = MenuCommands::kFirstId;
};

// Writes the walk as text; captions are turned back into UTF-8 for reading. The
// command of an item is known only once the walk has ended, so item lines are
// completed by Finish.
class ListingBuilder : public MenuBuilder {
 public:
  void SubMenu(int id, const std::string& caption, bool enabled) override {
    Line(std::to_string(id) + " menu \"" + core::Cp850ToUtf8(caption) + "\"" +
         (enabled ? "" : " disabled"));
    ++depth_;
  }
  void MenuItem(int id, const std::string& caption, bool enabled) override {
    items_.push_back({lines_.size(), id});
    Line(std::to_string(id) + " \"" + core::Cp850ToUtf8(caption) + "\" = ");
    if (!enabled) suffix_[lines_.size() - 1] = " disabled";
  }
  void Separator() override { Line("----"); }
  void EndMenu() override { --depth_; }

  std::string Finish(const MenuCommands& commands) {
    for (const auto& [line, id] : items_) {
      lines_[line] += DescribeCommand(commands.Find(id)) + suffix_[line];
    }
    std::string out;
    for (const std::string& l : lines_) out += l + "\n";
    return out;
  }

 private:
  void Line(const std::string& text) {
    lines_.push_back(std::string(static_cast<size_t>(depth_) * 2, ' ') + text);
  }

  std::vector<std::string> lines_;
  std::vector<std::pair<size_t, int>> items_;  // line, item number
  std::map<size_t, std::string> suffix_;
  int depth_ = 0;
};

}  // namespace

const std::vector<MenuNode>& MainMenuTree() {
  static const std::vector<MenuNode> tree = MakeTree();
  return tree;
}

std::string ExpandCaption(std::string_view caption, const MenuVariables& vars) {
  std::string text(caption);
  if (text.find('{') == std::string::npos) return text;
  char temp_sal[16];
  std::snprintf(temp_sal, sizeof temp_sal, "%2d", vars.temp_sal);
  ReplaceAll(text, "{TEMP_SAL}", temp_sal);
  ReplaceAll(text, "{XDRIVE}", vars.xdrive);
  ReplaceAll(text, "{NOMEIMP}", vars.nomeimp);
  ReplaceAll(text, "{ITEM_6A}", vars.item_6a);
  ReplaceAll(text, "{ITEM_6B}", vars.item_6b);
  ReplaceAll(text, "{ITEM_6C}", vars.item_6c);
  ReplaceAll(text, "{ITEM_7}", vars.item_7);
  return text;
}

MenuCommand MenuCommands::Find(int id) const {
  auto it = by_id_.find(id);
  return it == by_id_.end() ? MenuCommand() : it->second;
}

MenuCommands BuildMenu(const std::vector<MenuNode>& tree, const MenuVariables& vars,
                       MenuBuilder& builder) {
  Walker walker(vars, builder);
  walker.Walk(tree);
  return walker.Take();
}

std::string DescribeCommand(const MenuCommand& command) {
  switch (command.kind) {
    case ActionKind::kNone:
      return "-";
    case ActionKind::kColourEditor:
      return "colour editor " + std::to_string(command.sub1);
    case ActionKind::kOption:
      break;
  }
  std::string text = std::to_string(command.code);
  if (command.subs >= 1) text += " (" + std::to_string(command.sub1);
  if (command.subs >= 2) text += ", " + std::to_string(command.sub2);
  if (command.subs >= 1) text += ")";
  return text;
}

std::string MenuListing(const std::vector<MenuNode>& tree, const MenuVariables& vars) {
  ListingBuilder listing;
  MenuCommands commands = BuildMenu(tree, vars, listing);
  return listing.Finish(commands);
}

}  // namespace dodu::shell
