// The taxpayer selection on the virtual terminal over real registers: each
// outcome of one selection, the name search, the function keys and the
// options' differences.
#include "shell/selection.h"

#include <gtest/gtest.h>

#include "shell/selection_testutil.h"
#include "shell/station.h"
#include "shell/testutil.h"
#include "store/rec_lock.h"

namespace dodu::shell {
namespace {

using testing::Cpf;
using testing::SelectionFixture;
using testing::Taxpayer;

class SelectionTest : public SelectionFixture {
 protected:
  const std::string ana = Cpf("123456789");
  const std::string bia = Cpf("987654321");
  const std::string caio = Cpf("111444777");
};

TEST_F(SelectionTest, FoundInTheCurrentFolderIsLoadedAndOpened) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}, {bia, "BIA LIMA", ""}});
  Result<bool> r = Run(11, ana);
  ASSERT_OK(r);
  EXPECT_TRUE(*r);
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].kind, LoadKind::kExisting);
  EXPECT_EQ(loads[0].cpf, ana);
  EXPECT_EQ(core::Cp850ToUtf8(loads[0].name).substr(0, 9), "ANA SOUZA");
  EXPECT_EQ(loads[0].menu_option, 11);
  EXPECT_EQ(declarations, 1);
  EXPECT_EQ(ult_cpf, ana);
  EXPECT_TRUE(term.boxes().empty());
  EXPECT_FALSE(s.frame.is_open());
}

TEST_F(SelectionTest, EscInTheCpfFieldEndsWithoutChoosing) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  Result<bool> r = Run(11, "{Esc}");
  ASSERT_OK(r);
  EXPECT_FALSE(*r);
  EXPECT_TRUE(loads.empty());
  EXPECT_EQ(declarations, 0);
}

TEST_F(SelectionTest, WrongCheckDigitsKeepTheCursorInTheCpfField) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  std::string wrong = ana;
  wrong[10] = wrong[10] == '0' ? '1' : '0';
  // The error box, then the CPF typed again over the wrong one.
  Result<bool> r = Run(11, wrong + "{Enter}{Home}" + ana);
  ASSERT_OK(r);
  ASSERT_EQ(BoxFirstLines().size(), 1u);
  EXPECT_NE(BoxFirstLines()[0].find("está incorreto"), std::string::npos);
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].cpf, ana);
}

// A declaration whose register still names this terminal: the recovery is
// asked only when the work copy of the register holds the same taxpayer.
TEST_F(SelectionTest, RecoveryQuestionDependsOnTheWorkCopy) {
  struct Case {
    const char* label;
    bool copy_is_same;
    const char* answer;  // "" when no question is expected
    LoadKind kind;
  } cases[] = {
      {"same CPF, yes", true, "S", LoadKind::kRecovery},
      {"same CPF, no", true, "N", LoadKind::kExisting},
      {"other CPF", false, "", LoadKind::kExisting},
  };
  AddTaxpayers(data, {{ana, "ANA SOUZA", "01"}, {bia, "BIA LIMA", ""}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    loads.clear();
    const size_t boxes = term.boxes().size();
    WriteRegisterCopy(c.copy_is_same ? ana : bia);
    s.state = SelectionState();
    Result<bool> r = Run(11, ana + c.answer);
    ASSERT_OK(r);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].kind, c.kind);
    const bool asked = term.boxes().size() > boxes;
    EXPECT_EQ(asked, *c.answer != '\0');
    if (asked) {
      EXPECT_EQ(core::Cp850ToUtf8(term.boxes().back().lines[0]), kRecoverLine1);
    }
  }
}

TEST_F(SelectionTest, OpenOnAnotherTerminalAsksWhetherToGoOn) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", "07"}});
  Result<bool> r = Run(11, ana + "N");
  ASSERT_OK(r);
  EXPECT_FALSE(*r);
  EXPECT_TRUE(loads.empty());
  ASSERT_EQ(BoxFirstLines().size(), 1u);
  EXPECT_EQ(BoxFirstLines()[0], std::string(kElsewhereLine1) + "07");

  r = Run(11, ana + "S");
  ASSERT_OK(r);
  EXPECT_TRUE(*r);
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].kind, LoadKind::kExisting);
}

TEST_F(SelectionTest, CpfOnlyInASecondFolderSwitchesToIt) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  AddTaxpayers(data2, {{caio, "CAIO PRADO", ""}});
  Result<bool> r = Run(11, caio);
  ASSERT_OK(r);
  EXPECT_TRUE(*r);
  // No question about a new taxpayer.
  EXPECT_TRUE(term.boxes().empty());
  EXPECT_EQ(ctx.data_folder, *platform::ResolveExisting(*env, data2));
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].kind, LoadKind::kExisting);
  EXPECT_EQ(core::Cp850ToUtf8(loads[0].name).substr(0, 10), "CAIO PRADO");
  // The folder list now selects the second folder only.
  store::WorkArea& list = *areas.Get(50);
  std::vector<std::string> selected;
  for (Status st = list.Top(); st.ok() && !list.eof(); st = list.Skip()) {
    if (list.Current()->GetText("SELEC").value_or("") == "S") {
      selected.push_back(list.Current()->GetTrimmed("DIRETOR").value_or(""));
    }
  }
  EXPECT_EQ(selected, std::vector<std::string>{store::FolderListName(ctx, data2)});
}

TEST_F(SelectionTest, SecondFolderOpenElsewhereIsAskedToo) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  AddTaxpayers(data2, {{caio, "CAIO PRADO", "05"}});
  Result<bool> r = Run(11, caio + "N");
  ASSERT_OK(r);
  EXPECT_FALSE(*r);
  EXPECT_TRUE(loads.empty());
  ASSERT_EQ(BoxFirstLines().size(), 1u);
  EXPECT_EQ(BoxFirstLines()[0], std::string(kElsewhereLine1) + "05");
}

TEST_F(SelectionTest, NotFoundAnywhereOffersANewTaxpayer) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  Result<bool> r = Run(11, caio + "S");
  ASSERT_OK(r);
  EXPECT_TRUE(*r);
  ASSERT_EQ(BoxFirstLines().size(), 1u);
  EXPECT_EQ(BoxFirstLines()[0], kIncludeLine1);
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].kind, LoadKind::kNew);
  EXPECT_EQ(loads[0].cpf, caio);
  EXPECT_TRUE(s.state.pvez);
  EXPECT_EQ(s.state.resp, "S");
  // The search of the other folders came back to the current one.
  EXPECT_EQ(ctx.data_folder, data);

  loads.clear();
  r = Run(11, caio + "N");
  ASSERT_OK(r);
  EXPECT_FALSE(*r);
  EXPECT_TRUE(loads.empty());
}

TEST_F(SelectionTest, NotFoundForTheLedgerIsAnError) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  bool ledger = false;
  s.hooks.ledger = [&] { ledger = true; };
  Result<bool> r = Run(12, caio + "{Enter}");
  ASSERT_OK(r);
  EXPECT_FALSE(*r);
  EXPECT_FALSE(ledger);
  EXPECT_TRUE(loads.empty());
  ASSERT_EQ(term.boxes().size(), 1u);
  EXPECT_EQ(term.boxes()[0].style, 8);
  EXPECT_EQ(BoxFirstLines()[0], kNowhereLine1);
}

TEST_F(SelectionTest, OptionsDifferAfterTheSelection) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", "07"}});
  AddTaxpayers(data2, {{caio, "CAIO PRADO", ""}});
  struct Case {
    int code;
    std::string cpf;
    size_t loads;   // 12 and 13 load only what another folder held; 61 loads itself
    bool question;  // the open-elsewhere question: options 11 and 13 only
  } cases[] = {
      {12, ana, 0, false}, {12, caio, 1, false}, {13, ana, 1, true},
      {16, ana, 0, false}, {61, ana, 1, false},  {10, ana, 0, false},
  };
  std::vector<int> ran;
  s.hooks.ledger = [&] { ran.push_back(12); };
  s.hooks.conference = [&] { ran.push_back(13); };
  s.hooks.remove = [&](const std::string& cpf) {
    EXPECT_EQ(cpf, ana);
    ran.push_back(16);
  };
  s.hooks.handover = [&] { ran.push_back(61); };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ran.clear();
    loads.clear();
    not_available.clear();
    ctx.data_folder = data;
    const size_t boxes = term.boxes().size();
    Result<bool> r = Run(c.code, c.cpf + (c.question ? "S" : ""));
    ASSERT_OK(r);
    EXPECT_TRUE(*r);
    EXPECT_EQ(loads.size(), c.loads);
    EXPECT_EQ(term.boxes().size() - boxes, c.question ? 1u : 0u);
    if (c.code == 10) {
      // Without a portal the dispatcher's box says it is not there yet.
      EXPECT_EQ(not_available, std::vector<int>{10});
    } else {
      EXPECT_EQ(ran, std::vector<int>{c.code});
    }
    EXPECT_FALSE(s.frame.is_open());
  }
}

TEST_F(SelectionTest, PartialNameOpensTheListAtThatName) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}, {bia, "SILVIA MATOS", ""}, {caio, "SILVA", ""}});
  picks.push_back({bia, "SILVIA MATOS"});
  // An empty CPF moves to the name; the name is typed in lower case.
  Result<bool> r = Run(11, "{Enter}sil{Enter}");
  ASSERT_OK(r);
  EXPECT_TRUE(*r);
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(lists[0].order, entry::RegisterOrder::kName);
  EXPECT_EQ(lists[0].key, "SIL");
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].cpf, bia);
}

TEST_F(SelectionTest, WholeNamePicksWithoutTheList) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}, {caio, "SILVA", ""}, {bia, "SILVIA MATOS", ""}});
  Result<bool> r = Run(11, "{Enter}silva{Enter}");
  ASSERT_OK(r);
  EXPECT_TRUE(lists.empty());
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].cpf, caio);
}

TEST_F(SelectionTest, NameSearchLeftWithoutAPickStaysInTheNameField) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  // Nothing picked: the cursor stays; Esc then ends the selection.
  Result<bool> r = Run(11, "{Enter}ZE{Enter}{Esc}");
  ASSERT_OK(r);
  EXPECT_FALSE(*r);
  EXPECT_EQ(lists.size(), 1u);
  EXPECT_TRUE(loads.empty());
}

TEST_F(SelectionTest, F1F2F3OpenTheListInTheirOrders) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  Result<bool> r = Run(11, "{F1}{F2}{F3}{Esc}");
  ASSERT_OK(r);
  ASSERT_EQ(lists.size(), 3u);
  EXPECT_EQ(lists[0].order, entry::RegisterOrder::kName);
  EXPECT_EQ(lists[1].order, entry::RegisterOrder::kCpf);
  EXPECT_EQ(lists[2].order, entry::RegisterOrder::kStatus);

  picks.push_back({ana, "ANA SOUZA"});
  r = Run(11, "{F2}");
  ASSERT_OK(r);
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].cpf, ana);
}

TEST_F(SelectionTest, F8TwiceRemovesTheRuralFilterAgain) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", "", "S"}});
  Result<bool> r = Run(11, "{F8}{F8}{Esc}");
  ASSERT_OK(r);
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(lists[0].order, entry::RegisterOrder::kCpf);
  EXPECT_TRUE(lists[0].rural_only);
  EXPECT_FALSE(lists[1].rural_only);
}

TEST_F(SelectionTest, F4ReopensTheLastDeclarationOfThisTerminal) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", "01"}});
  WriteRegisterCopy(ana, "ANA SOUZA");
  // The register still names this terminal: the recovery question, yes.
  Result<bool> r = Run(11, "{F4}S");
  ASSERT_OK(r);
  EXPECT_TRUE(*r);
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].kind, LoadKind::kRecovery);
  EXPECT_EQ(loads[0].cpf, ana);
  ASSERT_EQ(BoxFirstLines().size(), 1u);
  EXPECT_EQ(BoxFirstLines()[0], kRecoverLine1);
}

// F4 reused the work copies after a normal close even when another station had
// saved newer data since: the reuse is now warned about unless the register
// still names this terminal.
TEST_F(SelectionTest, F4AfterANormalCloseWarnsOfStaleWorkCopies) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  WriteRegisterCopy(ana, "ANA SOUZA");
  Result<bool> r = Run(11, "{F4}N");
  ASSERT_OK(r);
  EXPECT_FALSE(*r);
  EXPECT_TRUE(loads.empty());
  ASSERT_EQ(BoxFirstLines().size(), 1u);
  EXPECT_EQ(BoxFirstLines()[0], kStaleLine1);

  r = Run(11, "{F4}S");
  ASSERT_OK(r);
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].kind, LoadKind::kRecovery);
}

TEST_F(SelectionTest, F4WithABlankOrMissingWorkCopy) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  // No work copy: nothing happens.
  Result<bool> r = Run(11, "{F4}{Esc}");
  ASSERT_OK(r);
  EXPECT_TRUE(term.boxes().empty());
  WriteRegisterCopy("");
  r = Run(11, "{F4}{Enter}{Esc}");
  ASSERT_OK(r);
  EXPECT_FALSE(*r);
  ASSERT_EQ(BoxFirstLines().size(), 1u);
  EXPECT_EQ(BoxFirstLines()[0], kNoLastCpf);
  EXPECT_TRUE(loads.empty());
}

TEST_F(SelectionTest, FailedLoadEndsTheSelection) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  load_status = Status::Cancelled("gave up waiting");
  Result<bool> r = Run(11, ana);
  ASSERT_OK(r);
  EXPECT_FALSE(*r);
  EXPECT_EQ(declarations, 0);
}

TEST_F(SelectionTest, Option11SelectsTheNextTaxpayerUntilOpcfimIsOne) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}, {bia, "BIA LIMA", ""}});
  int runs = 0;
  s.hooks.run_declaration = [&] { return ++runs == 2 ? 1 : 0; };
  // The second CPF field starts with the first taxpayer's CPF: typed over.
  Result<bool> r = Run(11, ana + "{Home}" + bia);
  ASSERT_OK(r);
  EXPECT_EQ(runs, 2);
  ASSERT_EQ(loads.size(), 2u);
  EXPECT_EQ(loads[1].cpf, bia);
  EXPECT_EQ(ult_cpf, bia);
}

// The end of the selection wrote ORDEM 0 to whatever record the register's
// seek left it on, also when the last CPF (a new taxpayer left unsaved) had no
// record: only the record of the last CPF, when there is one, is written.
TEST_F(SelectionTest, EndOfTheSelectionClearsOrdemOfTheLastCpfOnly) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}, {bia, "BIA LIMA", ""}});
  ASSERT_OK(store::MUDADIR(ctx, areas, data, ""));
  store::WorkArea& reg = *areas.Get(9);
  ASSERT_OK(reg.SetOrder(1));
  for (const std::string& cpf : {ana, bia}) {
    ASSERT_TRUE(*reg.Seek(cpf));
    ASSERT_OK(WriteCurrentFields(ctx, reg, {NumericField("ORDEM", 3)}));
  }
  auto ordem = [&](const std::string& cpf) {
    EXPECT_TRUE(store::MUDADIR(ctx, areas, data, "").ok());
    store::WorkArea& r = *areas.Get(9);
    EXPECT_TRUE(r.SetOrder(1).ok());
    EXPECT_TRUE(*r.Seek(cpf));
    return r.Current()->GetNumber("ORDEM")->ToScaled(0);
  };
  // A new taxpayer, left without saving: nothing is written anywhere.
  ASSERT_OK(Run(11, caio + "S"));
  EXPECT_EQ(ordem(ana), 3);
  EXPECT_EQ(ordem(bia), 3);
  EXPECT_EQ(areas.Get(9)->table().record_count(), 2u);
  ASSERT_OK(Run(11, "{Home}" + bia));
  EXPECT_EQ(ordem(bia), 0);
  EXPECT_EQ(ordem(ana), 3);
}

TEST_F(SelectionTest, FrameShowsTheKeyLineAndTheFolder) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  Result<bool> r = Run(11, "{F9}{Esc}");
  ASSERT_OK(r);
  EXPECT_TRUE(Shown(kKeyLine11));
  EXPECT_TRUE(Shown("Pasta atual....C:\\"));
  EXPECT_TRUE(Shown("C P F"));
}

TEST_F(SelectionTest, F7ShowsTheFolderListThenTheKeyLineAgain) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  // The list draws until a key is typed: the picture once it waits.
  Result<bool> r = Run(11, "{F7}{Wait 10}{F9}{Esc}{Esc}");
  ASSERT_OK(r);
  EXPECT_TRUE(Shown("Pastas"));
  EXPECT_TRUE(Shown(core::Cp850ToUtf8(store::FolderListName(ctx, data2))));
  // Back in the CPF field after it.
  r = Run(11, "{F7}{Wait 10}{Esc}{F9}{Esc}");
  ASSERT_OK(r);
  EXPECT_TRUE(Shown(kKeyLine11));
  EXPECT_FALSE(Shown("Pastas"));
}

TEST_F(SelectionTest, PortalGetsTheAccessFieldsOfTheRegister) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", "", "N", "19800531"}});
  ASSERT_OK(store::MUDADIR(ctx, areas, data, ana).status());
  ASSERT_OK(areas.Get(9)->SetOrder(1));
  ASSERT_TRUE(*areas.Get(9)->Seek(ana));
  ASSERT_OK(
      WriteCurrentFields(ctx, *areas.Get(9),
                         {CharField("CODACESSO", "112233445566"), CharField("SENACESSO", "SEGREDO"),
                          DateField("VALIDSENA", *core::Date::FromDtos("20210131"))}));
  std::vector<PortalAccess> opened;
  bool open_result = true;
  s.hooks.portal = [&](const PortalAccess& a) {
    opened.push_back(a);
    return open_result;
  };
  // The portal opened: a key is waited for before the end.
  Result<bool> r = Run(10, ana + "{Enter}");
  ASSERT_OK(r);
  EXPECT_TRUE(term.script_empty());
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].codacesso, "112233445566");
  EXPECT_EQ(opened[0].senacesso, "SEGREDO");
  EXPECT_EQ(opened[0].validsena.Dtos(), "20210131");
  EXPECT_EQ(opened[0].nascimento.Dtos(), "19800531");
  // Not opened: no key is waited for.
  open_result = false;
  r = Run(10, ana);
  ASSERT_OK(r);
  EXPECT_EQ(opened.size(), 2u);
}

TEST_F(SelectionTest, RegisteredOptionsRunTheSelection) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  screen::ToolkitMessageSink box_sink(tk);
  testing::ScriptedPrompts prompts;
  testing::StillClock still({2020, 5, 29, 9, 0, 0});
  Dispatcher dispatcher(menu, box_sink, prompts, nullptr, still);
  s.not_available = nullptr;
  RegisterSelectionOptions(dispatcher.registry(), s, dispatcher);
  for (int code : {10, 11, 12, 13, 16, 51, 61}) {
    EXPECT_NE(dispatcher.registry().Find(code, 0), nullptr) << code;
  }
  // The ledger is not built yet: its box follows the selection.
  term.Feed(ana + "{Enter}");
  EXPECT_TRUE(dispatcher.MenuSelect(12));
  ASSERT_EQ(term.boxes().size(), 1u);
  EXPECT_NE(core::Cp850ToUtf8(term.boxes()[0].lines[0]).find("não disponível"), std::string::npos);
}

}  // namespace
}  // namespace dodu::shell
