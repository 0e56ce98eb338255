// Options 15 and 39: the folder list, the auxiliary lists and their CNPJ
// tidying, through the dispatcher over real tables in an in-memory Env.
#include "shell/option_lists.h"

#include <gtest/gtest.h>

#include <map>

#include "core/codepage.h"
#include "platform/memory_env.h"
#include "screen/toolkit_sink.h"
#include "screen/virtual_terminal.h"
#include "shell/testutil.h"
#include "store/opener.h"
#include "store/table.h"

namespace dodu::shell {
namespace {

using Row = std::map<std::string, std::string>;

class OptionListsTest : public ::testing::Test {
 protected:
  OptionListsTest()
      : screen_sink(tk),
        ctx(env, screen_sink, wait),
        m{tk, ctx, areas, ""},
        clock({2020, 6, 15, 10, 30, 0}),
        dispatcher(state, sink, prompts, nullptr, clock) {
    ctx.terminal = "01";
    ctx.installation_folder = "/inst";
    ctx.data_folder = "/data";
    ctx.work_folder = "/work";
    for (const char* f : {"/inst", "/data", "/work"}) EXPECT_TRUE(env.CreateDir(f).ok());
    tk.Start("DODU2020");
    RegisterListOptions(dispatcher.registry(), m);
  }

  // Installation table `number` with one line per row.
  void Table(int number, const std::vector<Row>& rows) {
    const store::TableDef* def = store::FindTable(number);
    const std::string path = "/inst/" + store::TableFileName(*def, ctx.names()) + ".DBF";
    auto t = store::Table::Create(env, path, def->layout, store::Sharing::kExclusive);
    ASSERT_TRUE(t.ok()) << t.status().ToString();
    for (const Row& row : rows) {
      store::Record r = (*t)->BlankRecord();
      for (const auto& [field, value] : row) {
        if (field == "I7_5") {
          ASSERT_TRUE(r.PutNumber(field, *core::Decimal::Parse(value)).ok());
        } else {
          ASSERT_TRUE(r.PutText(field, value).ok()) << field;
        }
      }
      ASSERT_TRUE((*t)->Append(r).ok());
    }
  }

  // The live lines of table `number`: `field` of each, in record order.
  std::vector<std::string> Lines(int number, const char* field) {
    const store::TableDef* def = store::FindTable(number);
    auto t = store::Table::Open(env, "/inst/" + store::TableFileName(*def, ctx.names()) + ".DBF",
                                store::Sharing::kShared);
    EXPECT_TRUE(t.ok()) << t.status().ToString();
    std::vector<std::string> out;
    if (!t.ok()) return out;
    for (uint32_t i = 1; i <= (*t)->record_count(); ++i) {
      store::Record r = *(*t)->Read(store::RecNo{i});
      if (r.deleted()) continue;
      Result<core::Decimal> n = r.GetNumber(field);
      out.push_back(n.ok() ? n->ToString() : *r.GetTrimmed(field));
    }
    return out;
  }

  std::vector<std::string> LastBox() const {
    return sink.boxes.empty() ? std::vector<std::string>{}
                              : testing::Utf8Lines(sink.boxes.back().lines);
  }

  screen::ManualClock term_clock;
  screen::VirtualTerminal term{term_clock};
  screen::Toolkit tk{term};
  screen::ToolkitMessageSink screen_sink;
  platform::MemoryEnv env;
  store::RecordingWaitObserver wait;
  store::OpenerContext ctx;
  store::WorkAreas areas;
  MaintenanceContext m;
  MainMenuState state;
  platform::RecordingSink sink;
  testing::ScriptedPrompts prompts;
  testing::StillClock clock;
  Dispatcher dispatcher;
};

TEST(BlankCnpjTest, NoDigitsOrOnlyZeros) {
  for (const char* blank : {"", "   ", "  .   .   /    -  ", "00.000.000/0000-00", "0"}) {
    EXPECT_TRUE(BlankCnpj(blank)) << blank;
  }
  for (const char* real : {"12.345.678/0001-95", "00000000000191", "1"}) {
    EXPECT_FALSE(BlankCnpj(real)) << real;
  }
}

// Fault mended: the removal compared every CNPJ with the one remembered, so
// the lines typed without a CNPJ were all "repetitions" of the first such line
// and were deleted; and it used the asset code I7_5 of the bank lines as its
// working mark, overwriting it in every line. Blank and all-zero CNPJs are now
// never repetitions, and the kept lines keep their I7_5.
TEST_F(OptionListsTest, RepeatedBankCnpjsGoBlankOnesStayAndAssetCodesAreKept) {
  Table(77, {{{"NOME", "BANCO A"}, {"CNPJ", "12.345.678/0001-95"}, {"I7_5", "61"}},
             {{"NOME", "SEM CNPJ 1"}},
             {{"NOME", "SEM CNPJ 2"}},
             {{"NOME", "BANCO A DE NOVO"}, {"CNPJ", "12.345.678/0001-95"}, {"I7_5", "62"}},
             {{"NOME", "ZEROS 1"}, {"CNPJ", "00.000.000/0000-00"}},
             {{"NOME", "ZEROS 2"}, {"CNPJ", "00.000.000/0000-00"}},
             {{"NOME", "BANCO B"}, {"CNPJ", "11.111.111/0001-11"}, {"I7_5", "45"}},
             {{"NOME", "BANCO B OUTRA"}, {"CNPJ", "11.111.111/0001-11"}}});
  prompts.yes_no = {true};
  EXPECT_TRUE(dispatcher.MenuSelect(39, 2));
  EXPECT_EQ(prompts.asked.at(0).lines,
            std::vector<std::string>{"Confirma a Exclusão dos CNPJs Repetidos"});
  EXPECT_EQ(prompts.asked.at(0).title, "Retira repetição de CNPJ");
  EXPECT_EQ(LastBox(), std::vector<std::string>{"Excluidos   2 CNPJs"});
  EXPECT_EQ(Lines(77, "NOME"), (std::vector<std::string>{"BANCO A", "SEM CNPJ 1", "SEM CNPJ 2",
                                                         "ZEROS 1", "ZEROS 2", "BANCO B"}));
  EXPECT_EQ(Lines(77, "I7_5"), (std::vector<std::string>{"61", "0", "0", "0", "0", "45"}));
}

TEST_F(OptionListsTest, RepeatedPayerCnpjsAndAnAnswerOfNo) {
  Table(74, {{{"NOME", "PADARIA"}, {"CGCCPF", "12.345.678/0001-95"}},
             {{"NOME", "SEM"}},
             {{"NOME", "PADARIA 2"}, {"CGCCPF", "12.345.678/0001-95"}},
             {{"NOME", "SEM 2"}}});
  prompts.yes_no = {false};
  EXPECT_FALSE(dispatcher.MenuSelect(39, 6));
  EXPECT_EQ(Lines(74, "NOME").size(), 4u) << "no: nothing removed";
  prompts.yes_no = {true};
  EXPECT_TRUE(dispatcher.MenuSelect(39, 6));
  EXPECT_EQ(LastBox(), std::vector<std::string>{"Excluidos   1 CNPJs"});
  EXPECT_EQ(Lines(74, "NOME"), (std::vector<std::string>{"PADARIA", "SEM", "SEM 2"}));
}

TEST_F(OptionListsTest, RemovalWhileAnotherStationHasTheListOpenChangesNothing) {
  Table(77, {{{"NOME", "A"}, {"CNPJ", "11"}}, {{"NOME", "B"}, {"CNPJ", "11"}}});
  auto other = store::Table::Open(env, "/inst/AuxBanco.DBF", store::Sharing::kShared);
  ASSERT_TRUE(other.ok()) << other.status().ToString();
  prompts.yes_no = {true};
  term.Feed("{Enter}{Enter}{Enter}");  // the opener's box about the busy table
  EXPECT_FALSE(dispatcher.MenuSelect(39, 2));
  other->reset();
  EXPECT_EQ(Lines(77, "NOME"), (std::vector<std::string>{"A", "B"}));
}

TEST_F(OptionListsTest, CnpjsCopiedBetweenPayersAndBanks) {
  Table(74,
        {{{"NOME", "PADARIA DO BAIRRO COM UM NOME MUITO LONGO"}, {"CGCCPF", "22.222.222/0001-22"}},
         {{"NOME", "JOSE"}, {"CGCCPF", "123.456.789-09"}},  // a CPF: not a bank
         {{"NOME", "SEM"}},
         {{"NOME", "ZEROS"}, {"CGCCPF", "00.000.000/0000-00"}},
         {{"NOME", "JA EXISTE"}, {"CGCCPF", "12.345.678/0001-95"}}});
  Table(77,
        {{{"NOME", "BANCO"}, {"CNPJ", "12345678000195"}}, {{"NOME", "CURTO"}, {"CNPJ", "1234"}}});
  prompts.yes_no = {true};
  EXPECT_TRUE(dispatcher.MenuSelect(39, 3));
  EXPECT_EQ(prompts.asked.back().lines,
            (std::vector<std::string>{"Confirma a Inclusão dos CNPJs Do AUXfon",
                                      "Para a lista dos CNPJ dos Bancos?"}));
  EXPECT_EQ(LastBox(), std::vector<std::string>{"Incluidos   1 CNPJs"});
  EXPECT_EQ(Lines(77, "NOME"),
            (std::vector<std::string>{"BANCO", "CURTO", "PADARIA DO BAIRRO COM UM NOME"}));
  EXPECT_EQ(Lines(77, "CNPJ").back(), "22.222.222/0001-22");

  prompts.yes_no = {true};
  EXPECT_TRUE(dispatcher.MenuSelect(39, 4));
  EXPECT_EQ(prompts.asked.back().lines,
            (std::vector<std::string>{"Confirma Inclusão dos CNPJ dos Bancos no",
                                      "Arquivo auxiliar dos Rendimentos?"}));
  // Every bank CNPJ is among the payers already (by its digits); "1234" is no CNPJ.
  EXPECT_EQ(LastBox(), std::vector<std::string>{"Incluidos   0 CNPJs"});
  EXPECT_EQ(Lines(74, "NOME").size(), 5u);
}

TEST_F(OptionListsTest, BankCnpjBecomesAPunctuatedPayer) {
  Table(74, {});
  Table(77, {{{"NOME", "BANCO"}, {"CNPJ", "12345678000195"}}});
  prompts.yes_no = {true};
  EXPECT_TRUE(dispatcher.MenuSelect(39, 4));
  EXPECT_EQ(Lines(74, "CGCCPF"), std::vector<std::string>{"12.345.678/0001-95"});
  EXPECT_EQ(Lines(74, "NOME"), std::vector<std::string>{"BANCO"});
}

TEST_F(OptionListsTest, AuxiliaryListIsEditedInTheBrowser) {
  Table(53, {{{"NOME", "DENTISTA"}, {"CGCCPF", "123.456.789-09"}}});
  // Down onto the append row, a new payee, then Esc.
  term.Feed("{Down}MEDICO{Enter}{Esc}");
  EXPECT_TRUE(dispatcher.MenuSelect(39, 7));
  EXPECT_EQ(Lines(53, "NOME"), (std::vector<std::string>{"DENTISTA", "MEDICO"}));
  EXPECT_EQ(areas.Get(53), nullptr) << "opened for the list, closed after it";
}

TEST_F(OptionListsTest, FolderListIsEditedThenTheTablesAreChecked) {
  ASSERT_TRUE(store::ABERTURA(ctx, areas, 50).ok());
  term.Feed("{Esc}");
  EXPECT_TRUE(dispatcher.MenuSelect(15));
  EXPECT_NE(areas.Get(50), nullptr) << "the folder list stays open";
  // The check created the missing declaration tables of the data folder.
  EXPECT_TRUE(env.Exists("/data/IMP0120.DBF"));
}

}  // namespace
}  // namespace dodu::shell
