// The declaration window on the virtual terminal: both menu styles, the
// screen loop over registered screens, the dispatcher's guards and refusals,
// the help boxes, leaving with its choices, the protected status, Alt W and
// the automatic save, over a real data folder.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "declaration_menu_testutil.h"
#include "shell/declaration_menu_window.h"

namespace dodu::shell::testing {
namespace {

using core::Decimal;

Decimal Num(const char* text) { return *Decimal::Parse(text); }

// ---- the screen loop ----------------------------------------------------------

TEST_F(DeclarationMenuTest, NewStyleFunctionKeysMoveBetweenScreens) {
  AddTaxpayer();
  Open();
  RecordAllScreens();
  // F6 from the window; identification -> Tab -> calculation -> Tab -> balance;
  // F12 without rural activity -> calculation; Esc back to the window; Alt T.
  auto r = Run("{F6}{Tab}{Tab}{F12}{Esc}{Alt T}");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->end, DeclarationEnd::kSaved);
  EXPECT_FALSE(r->selection_ends);
  EXPECT_EQ(shown_, (std::vector<ScreenPos>{{6, 61}, {7, 71}, {10, 72}, {7, 71}}));
  EXPECT_TRUE(Boxes().empty()) << "Alt T leaves saving without a question";
  EXPECT_FALSE(session_->is_open());
}

TEST_F(DeclarationMenuTest, MenuChoiceWhileAScreenRunsMovesThere) {
  AddTaxpayer();
  Open();
  RecordAllScreens();
  // On screen 1 the menu is opened and "is&Ento" > "rendimentos de &Tributação
  // exclusiva" chosen: the screen unwinds and screen 3 opens on its exclusive part.
  auto r = Run("{F1}{Ctrl F10}ET{Shift Tab}{Esc}{Alt T}");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(shown_, (std::vector<ScreenPos>{{1, 11}, {3, 32}, {3, 31}}));
}

TEST_F(DeclarationMenuTest, PlaceholderWindowLeavesWithEsc) {
  AddTaxpayer();
  Open();
  // No screen registered: the placeholder shows and refuses a typed key with
  // a beep (the script ends while it is on the screen).
  EXPECT_THROW((void)Run("{F5}x"), screen::ScriptExhausted);
  std::string text;
  for (int row = 8; row <= 14; ++row) text += vt_.RowUtf8(row) + "\n";
  EXPECT_NE(text.find("Tela 5"), std::string::npos) << text;
  EXPECT_NE(text.find("Esc volta ao menu"), std::string::npos) << text;
  EXPECT_EQ(vt_.tones().size(), 1u);
}

TEST_F(DeclarationMenuTest, PlaceholderWindowLeavesWithEscAndFunctionKeys) {
  AddTaxpayer();
  Open();
  auto r = Run("{F5}{F6}{Esc}{Alt T}");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->end, DeclarationEnd::kSaved);
}

TEST_F(DeclarationMenuTest, ClassicStyleNewTaxpayerStartsOnIdentification) {
  station_.settings.opcirpf = "N";
  Open(LoadKind::kNew);
  std::string index_line;
  RecordAllScreens();
  screens_.RegisterScreen(6, [&](ScreenContext& ctx) {
    shown_.push_back({6, ctx.state.pos.code});
    index_line = vt_.RowUtf8(0);
    return tk_.WaitKey();
  });
  // Enter opens "&Iden." (the first position for a new taxpayer), Enter picks
  // it; Tab after the first identification goes to screen 1.
  auto r = Run("{Enter}{Enter}{Tab}{Esc}{Alt T}");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(shown_, (std::vector<ScreenPos>{{6, 61}, {1, 11}}));
  EXPECT_EQ(index_line, kScreenIndexLine);
}

TEST_F(DeclarationMenuTest, ClassicStyleBarAndShortcuts) {
  station_.settings.opcirpf = "N";
  AddTaxpayer();
  Open();
  RecordAllScreens();
  // "is&Ento" by its letter, Down, Enter: exclusive income; then F4 from the
  // bar (the shortcut of "De&pendentes").
  auto r = Run("E{Down}{Enter}{Esc}{F4}{Esc}{Alt T}");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(shown_, (std::vector<ScreenPos>{{3, 32}, {4, 41}}));
}

// ---- help and version boxes ---------------------------------------------------

TEST_F(DeclarationMenuTest, HelpAndVersionBoxes) {
  AddTaxpayer();
  Open();
  auto r = Run("{Ctrl F10}AG{Enter}{Ctrl F10}AF{Enter}{Ctrl F10}AS{Enter}{Alt T}");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  const auto& boxes = vt_.boxes();
  ASSERT_EQ(boxes.size(), 3u);
  ASSERT_EQ(boxes[0].lines.size(), 16u);
  EXPECT_EQ(core::Cp850ToUtf8(boxes[0].lines[0]),
            "Alt   No menu inicial (fora da declaração) marca ou desmarca a letra sublinhada no "
            "menu.");
  EXPECT_EQ(core::Cp850ToUtf8(boxes[0].lines[15]),
            "Ctrl setas direita ou esquerda - pula palavras conforme a direção da seta.");
  ASSERT_EQ(boxes[1].lines.size(), 42u);
  EXPECT_EQ(core::Cp850ToUtf8(boxes[1].lines[11]), "Alt K Abre a calculadora do Windows");
  EXPECT_EQ(core::Cp850ToUtf8(boxes[1].lines[41]),
            "Ctrl Enter na senha do Ecac acessa site receita. No Beneficio acessa o INSS");
  EXPECT_EQ(boxes[0].style, 1);
  EXPECT_EQ(boxes[1].style, 1);
  EXPECT_GE(vt_.tones().size(), 2u);
  EXPECT_EQ(core::Cp850ToUtf8(boxes[2].title), "Sobre o IR");
  EXPECT_EQ(core::Cp850ToUtf8(boxes[2].lines[0]), std::string("DODU2020 Versão ") + kVersao);
  EXPECT_EQ(core::Cp850ToUtf8(boxes[2].lines[1]), std::string("de ") + kCultimaver);
}

TEST_F(DeclarationMenuTest, CalculatorOfCode120WithoutDisplay) {
  AddTaxpayer();
  Open();
  // No outside program configured: the toolkit's calculator opens; Esc leaves it.
  auto r = Run("{Ctrl F10}AC{Esc}{Alt K}{Esc}{Alt T}");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_TRUE(vt_.launches().empty());
}

// ---- leaving ----------------------------------------------------------------------

struct LeaveCase {
  const char* name;
  const char* script;
  DeclarationEnd want;
  const char* want_box;  // "" none
};

void PrintTo(const LeaveCase& c, std::ostream* os) { *os << c.name; }

class LeaveTest : public DeclarationMenuTest, public ::testing::WithParamInterface<LeaveCase> {};

TEST_P(LeaveTest, Choices) {
  const LeaveCase& c = GetParam();
  AddTaxpayer();
  Open();
  auto r = Run(c.script);
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->end, c.want);
  if (*c.want_box == '\0') {
    EXPECT_TRUE(Boxes().empty());
  } else {
    EXPECT_TRUE(ShowedBox(c.want_box)) << ::testing::PrintToString(Boxes());
  }
  // Saved or discarded, the register no longer names this terminal.
  EXPECT_EQ(SharedText(9, "NUSUAT"), "");
  // Leaving without saving ends the selection; saving follows OPCFIM (0).
  EXPECT_EQ(r->selection_ends, c.want == DeclarationEnd::kDiscarded);
}

const LeaveCase kLeaves[] = {
    {"alt_t", "{Alt T}", DeclarationEnd::kSaved, ""},
    {"menu_leave_saving", "{Ctrl F10}R{Enter}", DeclarationEnd::kSaved, ""},
    {"end_yes", "{Ctrl F10}JFS", DeclarationEnd::kSaved, "Termina a Declaração?"},
    {"end_no_stays", "{Ctrl F10}JFN{Alt T}", DeclarationEnd::kSaved, "Termina a Declaração?"},
    {"end_cancel_confirmed", "{Ctrl F10}JFCS", DeclarationEnd::kDiscarded,
     "Confirme a sair sem salvar!"},
    {"end_cancel_refused", "{Ctrl F10}JFCN{Alt T}", DeclarationEnd::kSaved,
     "Confirme a sair sem salvar!"},
    {"without_saving_yes", "{Ctrl F10}R{Down}{Enter}S", DeclarationEnd::kDiscarded,
     "Sai da declação sem Salvar as alterações?"},
    {"without_saving_no", "{Ctrl F10}R{Down}{Enter}N{Alt T}", DeclarationEnd::kSaved,
     "Sai da declação sem Salvar as alterações?"},
};

INSTANTIATE_TEST_SUITE_P(Table, LeaveTest, ::testing::ValuesIn(kLeaves),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeclarationMenuTest, OpcfimOneEndsTheSelectionAfterSaving) {
  station_.settings.opcfim = 1;
  AddTaxpayer();
  Open();
  auto r = Run("{Alt T}");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->end, DeclarationEnd::kSaved);
  EXPECT_TRUE(r->selection_ends);
}

// ---- saving: Alt W, the automatic save, the protected status ---------------------

// A screen 6 that edits the declaration: the register's name and a new asset
// in the work copy of table 04.
ScreenRoutine EditingScreen(screen::Toolkit& tk, std::vector<ScreenPos>& shown) {
  return [&tk, &shown](ScreenContext& ctx) {
    shown.push_back({6, ctx.state.pos.code});
    ctx.session.vars().SetText("NOMECONTR", "ANA MARIA DOS SANTOS");
    if (store::WorkArea* assets = ctx.session.WorkCopy(4)) {
      store::Record rec = assets->table().BlankRecord();
      EXPECT_TRUE(rec.PutText("CPF", kCpf).ok());
      EXPECT_TRUE(rec.PutNumber("I7_0", Decimal::FromInt(10)).ok());
      EXPECT_TRUE(rec.PutText("I7_2", "CASA NOVA").ok());
      auto n = assets->table().Append(rec);
      EXPECT_TRUE(n.ok());
      if (n.ok()) assets->table().UnlockRecord(*n);
    } else {
      ADD_FAILURE() << "no work copy of table 04";
    }
    return tk.WaitKey();
  };
}

TEST_F(DeclarationMenuTest, ScriptedRunWithAltWAndLeavingSaved) {
  AddTaxpayer({}, {{"I13_37", "77.5"}});
  Open();
  RecordAllScreens();
  screens_.RegisterScreen(6, EditingScreen(tk_, shown_));
  std::string name_after_alt_w;
  screens_.RegisterScreen(7, [&](ScreenContext& ctx) {
    shown_.push_back({7, ctx.state.pos.code});
    name_after_alt_w = SharedText(9, "NOMECONTR");
    return tk_.WaitKey();
  });
  // Identification (edit, Alt W inside the screen), Tab to the calculation,
  // F1, Shift Tab to screen 11, Esc, leave saving.
  auto r = Run("{F6}{Alt W}{Tab}{F1}{Shift Tab}{Esc}{Alt T}");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(shown_, (std::vector<ScreenPos>{{6, 61}, {7, 71}, {1, 11}, {11, 62}}));
  EXPECT_EQ(name_after_alt_w, "ANA MARIA DOS SANTOS") << "Alt W wrote the register";
  EXPECT_EQ(SharedText(9, "NOMECONTR"), "ANA MARIA DOS SANTOS");
  EXPECT_EQ(SharedText(4, "I7_2"), "CASA NOVA");
  EXPECT_EQ(SharedText(9, "NUSUAT"), "");
  EXPECT_TRUE(Boxes().empty()) << ::testing::PrintToString(Boxes());
}

TEST_F(DeclarationMenuTest, AutomaticSaveAfterTheInterval) {
  station_.installation.temp_sal = 1;
  AddTaxpayer();
  Open();
  RecordAllScreens();
  screens_.RegisterScreen(6, EditingScreen(tk_, shown_));
  std::string name_seen_on_7;
  screens_.RegisterScreen(7, [&](ScreenContext&) {
    name_seen_on_7 = SharedText(9, "NOMECONTR");
    return tk_.WaitKey();
  });
  // A minute passes on screen 6: leaving it saves. Then leave without saving:
  // what the automatic save wrote stays.
  auto r = Run("{F6}{Wait 61000}{Tab}{Esc}{Ctrl F10}R{Down}{Enter}S");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->end, DeclarationEnd::kDiscarded);
  EXPECT_EQ(name_seen_on_7, "ANA MARIA DOS SANTOS");
  EXPECT_EQ(SharedText(4, "I7_2"), "CASA NOVA");
}

TEST_F(DeclarationMenuTest, NoAutomaticSaveBeforeTheInterval) {
  station_.installation.temp_sal = 2;
  AddTaxpayer();
  Open();
  RecordAllScreens();
  screens_.RegisterScreen(6, EditingScreen(tk_, shown_));
  auto r = Run("{F6}{Wait 61000}{Tab}{Esc}{Ctrl F10}R{Down}{Enter}S");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(SharedText(9, "NOMECONTR"), "ANA DOS SANTOS");
  EXPECT_EQ(SharedText(4, "I7_2"), "<none>");
}

TEST_F(DeclarationMenuTest, ProtectedStatusRefusesEverySave) {
  station_.installation.statrava = 5;
  AddTaxpayer({{"ESTATUS", "5"}});
  Open();
  RecordAllScreens();
  screens_.RegisterScreen(6, EditingScreen(tk_, shown_));
  // Alt W on the edited screen: refused. Alt T: "Sim" stays; Alt T again,
  // "Não": left without saving.
  auto r = Run("{F6}{Alt W}{Enter}{Esc}{Alt T}S{Alt T}N");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->end, DeclarationEnd::kDiscarded);
  EXPECT_TRUE(ShowedBox("Configurado para não salvar qualquer modificação!"));
  EXPECT_TRUE(ShowedBox("Deseja mesmo alterar? Mude o Status tela 11"));
  EXPECT_EQ(SharedText(9, "NOMECONTR"), "ANA DOS SANTOS");
  EXPECT_EQ(SharedText(4, "I7_2"), "<none>");
  EXPECT_EQ(SharedText(9, "NUSUAT"), "");
}

// Regression: a protected status of 0 (the value of a new installation) made
// every declaration without a status (ESTATUS 0) refuse to save.
TEST_F(DeclarationMenuTest, ProtectedStatusZeroProtectsNothing) {
  station_.installation.statrava = 0;
  AddTaxpayer();
  Open();
  RecordAllScreens();
  screens_.RegisterScreen(6, EditingScreen(tk_, shown_));
  auto r = Run("{F6}{Esc}{Alt T}");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->end, DeclarationEnd::kSaved);
  EXPECT_EQ(SharedText(9, "NOMECONTR"), "ANA MARIA DOS SANTOS");
}

// Regression: a final save that could not complete (another station held a
// table and the operator stopped waiting) must not close the declaration as if
// it were saved; it stays open and leaving again completes the save.
TEST_F(DeclarationMenuTest, UnfinishedFinalSaveKeepsTheDeclarationOpen) {
  AddTaxpayer();
  Open();
  session_.reset();
  SessionSettings s;
  s.operator_name = "OPERADOR";
  s.save_ask_after_ms = 100;
  session_ =
      std::make_unique<DeclarationSession>(station_.ctx, station_.areas, s, hooks_, display_);
  LoadRequest req;
  req.cpf = kCpf;
  req.name = "ANA DOS SANTOS";
  DM_ASSERT_OK(session_->Load(req));
  // Another station holds the assets table.
  const store::TableDef* def = store::FindTable(4);
  store::NameContext names;
  auto holder =
      store::Table::Open(*env_, root_ + "/data/" + store::TableFileName(*def, names) + ".DBF",
                         store::Sharing::kExclusive);
  ASSERT_TRUE(holder.ok()) << holder.status().ToString();
  RecordAllScreens();
  screens_.RegisterScreen(6, EditingScreen(tk_, shown_));
  bool open_after_failed_save = false;
  screens_.RegisterScreen(7, [&](ScreenContext& ctx) {
    open_after_failed_save = ctx.session.is_open();
    holder->reset();  // the other station lets go
    return tk_.WaitKey();
  });
  // Edit, leave saving, "Não" to waiting, the box; then F7, Esc, leave again.
  // The waiting station polls the keyboard, so the rest of the script is typed
  // once the operator answers "Não" to waiting.
  std::vector<std::string> asked;
  station_.ctx.confirm = [&](const std::vector<std::string>& lines) {
    asked.push_back(core::Cp850ToUtf8(lines.at(0)));
    vt_.Feed("{Enter}{F7}{Esc}{Alt T}");
    return false;
  };
  // Edit, Esc, leave saving: the wait gives up; the box; then F7, Esc, leave again.
  auto r = Run("{F6}{Esc}{Alt T}");
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(asked, std::vector<std::string>{"Outro terminal esta usando o arquivo IMP0420.DBF"});
  EXPECT_TRUE(ShowedBox("A declaração não foi salva por completo"));
  EXPECT_TRUE(open_after_failed_save);
  EXPECT_EQ(r->end, DeclarationEnd::kSaved);
  EXPECT_EQ(SharedText(4, "I7_2"), "CASA NOVA");
  EXPECT_EQ(SharedText(9, "NUSUAT"), "");
}

// ---- the dispatcher's guards ------------------------------------------------------

struct GuardCase {
  const char* name;
  int code;
  const char* variant;
  FieldList reg;     // register fields
  FieldList decl;    // table 01 fields
  FieldList spouse;  // a dependant record (table 03) when not empty
  int day = 2;       // of March 2020, or 100 + day of July
  const char* limit = "0";
  const char* want_box;  // "" none
  ScreenPos want;        // {0, 11}: nothing moved
};

// The case by its name in test listings (not its bytes).
void PrintTo(const GuardCase& c, std::ostream* os) { *os << c.name; }

class GuardTest : public DeclarationMenuTest, public ::testing::WithParamInterface<GuardCase> {};

TEST_P(GuardTest, Dispatch) {
  const GuardCase& c = GetParam();
  AddTaxpayer(c.reg, c.decl);
  if (!c.spouse.empty()) Put(3, kCpf, c.spouse);
  Open();
  station_.today = c.day > 100 ? *core::Date::FromYmd(2020, 7, c.day - 100)
                               : *core::Date::FromYmd(2020, 3, c.day);
  hooks_.limit = Num(c.limit);
  vt_.Feed("{Enter}{Enter}{Enter}");
  DeclarationRunOptions o;
  o.hooks = &hooks_;
  DeclarationWindow w(station_, *session_, o);
  w.state().pos = {0, 11};
  w.Menucomum(c.code, c.variant);
  if (*c.want_box == '\0') {
    EXPECT_TRUE(Boxes().empty()) << ::testing::PrintToString(Boxes());
  } else {
    EXPECT_TRUE(ShowedBox(c.want_box)) << ::testing::PrintToString(Boxes());
  }
  EXPECT_EQ(w.state().pos, c.want);
}

const FieldList kSpouse = {{"CODIDEPEN", "11"}, {"CPFDEPEN", "33333333333"}};
const FieldList kChild = {{"CODIDEPEN", "21"}, {"CPFDEPEN", "44444444444"}};

const GuardCase kGuards[] = {
    {"dependants_income_none",
     13,
     "",
     {},
     {},
     {},
     2,
     "0",
     "Sem dependentes para usar essa opção",
     {0, 11}},
    {"dependants_income", 14, "", {}, {}, kChild, 2, "0", "", {1, 14}},
    {"dependants_gain_none", 85, "", {}, {}, {}, 2, "0", "Sem dependentes", {0, 11}},
    {"dependants_variable_none", 94, "", {}, {}, {}, 2, "0", "Sem dependentes", {0, 11}},
    {"donation_simplified",
     44,
     "",
     {{"USAPADRAO", "S"}},
     {},
     {},
     2,
     "100",
     "Para fazer doação direta só na Declaração Completa.",
     {0, 11}},
    {"donation_no_model",
     44,
     "",
     {},
     {},
     {},
     2,
     "100",
     "Defina o tipo de declaração na tela F7",
     {0, 11}},
    {"donation_no_limit",
     46,
     "",
     {{"USAPADRAO", "N"}},
     {},
     {},
     2,
     "0",
     "Não há valor disponível para a doação direta na declaração",
     {0, 11}},
    {"donation_children_late",
     44,
     "",
     {{"USAPADRAO", "N"}},
     {},
     {},
     101,
     "100",
     "A doação direta só é permitida até 30/06/2020 / Caso já tenha entregue a declaração com "
     "doações diretas / e não foi pago o Darf no prazo deve-se retificar a declaração / retirando "
     "a doação nos pagamentos efetuados. Código 39",
     {0, 11}},
    {"donation_elderly_late",
     46,
     "",
     {{"USAPADRAO", "N"}},
     {},
     {},
     101,
     "100",
     "efetuados. Código 49",
     {0, 11}},
    {"donation_allowed", 46, "", {{"USAPADRAO", "N"}}, {}, {}, 30, "100", "", {4, 46}},
    {"heirs_not_final",
     45,
     "",
     {},
     {},
     {},
     2,
     "0",
     "Herdeiros só em declaração final de espólio",
     {0, 11}},
    {"heirs_final", 45, "", {}, {{"DECFINAL", "S"}}, {}, 2, "0", "", {4, 45}},
    {"estate_in_departure",
     57,
     "",
     {},
     {{"DECSAIDA", "S"}},
     {},
     2,
     "0",
     "Declaração de saída definitiva do país ",
     {0, 11}},
    {"departure_in_estate",
     58,
     "",
     {},
     {{"DECFINAL", "S"}},
     {},
     2,
     "0",
     " e não pode, portanto, ser uma de Saída definitiva",
     {0, 11}},
    {"departure", 58, "", {}, {}, {}, 2, "0", "", {5, 58}},
    {"spouse_joint",
     56,
     "",
     {{"CPFCONJU", "33333333333"}},
     {},
     kSpouse,
     2,
     "0",
     "Essa declaração é uma declaração em conjunto!",
     {0, 11}},
    {"spouse_joint_other_cpf",
     56,
     "",
     {{"CPFCONJU", "55555555555"}},
     {},
     kSpouse,
     2,
     "0",
     "Atenção! O cpf do conjuge nos dependentes está diferente",
     {0, 11}},
    {"spouse_in_estate",
     56,
     "",
     {},
     {{"DECFINAL", "S"}},
     {},
     2,
     "0",
     "Declaração final de espólio e não pode",
     {0, 11}},
    {"spouse", 56, "", {}, {}, kChild, 2, "0", "", {5, 56}},
    {"rural_without_activity",
     101,
     "",
     {},
     {},
     {},
     2,
     "0",
     "Esse contribuinte não esta selecionado que tenha necessidade da Atividade Rural.",
     {0, 11}},
    {"rural_abroad_without_activity", 203, "", {}, {}, {}, 2, "0", "Atividade Rural", {0, 11}},
    {"lcdpr_banks_not_used",
     107,
     "",
     {{"TEMRURAL", "S"}},
     {},
     {},
     2,
     "0",
     "Esse cadastro só é necessário para o / Livro Caixa Digital do Produtor Rural (LCDPR)",
     {0, 11}},
    {"lcdpr_file_not_used",
     109,
     "",
     {{"TEMRURAL", "S"}},
     {},
     {},
     2,
     "0",
     "Esse arquivo só é gerado para quem usa o",
     {0, 11}},
    {"rural_result_abroad", 203, "", {{"TEMRURAL", "S"}}, {}, {}, 2, "0", "", {14, 203}},
    {"gain_movable_abroad", 82, "N", {}, {}, {}, 2, "0", "", {8, 82}},
    {"zoom_debts", 55, "", {}, {}, {}, 2, "0", "", {22, 55}},
    {"balance", 72, "", {}, {}, {}, 2, "0", "", {10, 72}},
};

INSTANTIATE_TEST_SUITE_P(Table, GuardTest, ::testing::ValuesIn(kGuards),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeclarationMenuTest, SpouseGuardClearsTheSpouseFields) {
  AddTaxpayer({{"CPFCONJU", "33333333333"}, {"I9_4", "S"}, {"I13_2C", "10"}});
  Put(3, kCpf, kSpouse);
  Open();
  vt_.Feed("{Enter}");
  DeclarationRunOptions o;
  DeclarationWindow w(station_, *session_, o);
  w.Menucomum(56);
  EXPECT_EQ(session_->vars().Text("I9_4"), "N");
  EXPECT_EQ(session_->vars().Number("I13_2C"), Decimal());
}

TEST_F(DeclarationMenuTest, GainCodesSetTheKindOfAsset) {
  AddTaxpayer();
  Put(3, kCpf, kChild);
  Open();
  DeclarationRunOptions o;
  DeclarationWindow w(station_, *session_, o);
  struct Row {
    int code;
    const char* variant;
    int tipo_bem;
    const char* bembrasil;
    const char* day_trade;
  };
  // Foreign currency is kind 5 for the dependants too (88 - 84 would be 4,
  // the variable income's kind).
  for (const Row& row : {Row{81, "", 1, "S", ""}, Row{82, "N", 2, "N", ""}, Row{84, "", 5, "N", ""},
                         Row{86, "S", 2, "S", ""}, Row{88, "", 5, "S", ""},
                         Row{92, "", 4, "S", "2"}, Row{96, "", 4, "S", "3"}}) {
    w.Menucomum(row.code, row.variant);
    EXPECT_EQ(w.state().tipo_bem, row.tipo_bem) << row.code;
    EXPECT_EQ(w.state().bembrasil, row.bembrasil) << row.code;
    if (*row.day_trade != '\0') {
      EXPECT_EQ(w.state().day_trade, row.day_trade) << row.code;
    }
  }
}

}  // namespace
}  // namespace dodu::shell::testing
