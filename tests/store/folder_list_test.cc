// The terminal's folder list, the start-up set and the folder switches.
#include "store/folder_list.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "store/opener.h"
#include "store/opener_testutil.h"
#include "store/rec_lock.h"

namespace dodu::store {
namespace {

class FolderListTest : public testing::OpenerFixture {
 protected:
  void AddFolder(const std::string& diretor, const std::string& selec = "N") {
    WorkArea& list = *areas.Get(50);
    OPENER_ASSERT_OK(ADD_REC(ctx, list, 5));
    Result<Record> r = list.Current();
    OPENER_ASSERT_OK(r->PutText("DIRETOR", diretor));
    OPENER_ASSERT_OK(r->PutText("SELEC", selec));
    OPENER_ASSERT_OK(list.WriteCurrent(*r));
    list.table().UnlockRecord(list.recno());
  }

  // DIRETOR + ":" + SELEC of every visible entry, in record order.
  std::vector<std::string> Entries() {
    std::vector<std::string> out;
    WorkArea& list = *areas.Get(50);
    EXPECT_TRUE(list.SetOrder(0).ok());
    EXPECT_TRUE(list.Top().ok());
    while (!list.eof()) {
      Result<Record> r = list.Current();
      out.push_back(*r->GetTrimmed("DIRETOR") + ":" + *r->GetTrimmed("SELEC"));
      EXPECT_TRUE(list.Skip(1).ok());
    }
    return out;
  }

  WorkAreas areas;
};

TEST_F(FolderListTest, NewListStartsWithTheInstallationFolderSelected) {
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 50));
  EXPECT_TRUE(env.Exists("/inst/DIRET01.DBF"));
  EXPECT_TRUE(env.Exists("/inst/DIRET01.CDX"));
  EXPECT_EQ(areas.Get(50)->table().sharing(), Sharing::kExclusive);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"C:\\INST:S"}));
  EXPECT_EQ(sink.status.front(), "Criando DIRETOR.DBF");
}

TEST_F(FolderListTest, ASecondStationWithTheSameTerminalCannotOpenTheList) {
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 0));
  EXPECT_TRUE(IsTerminalRunning(ctx, "01"));
  EXPECT_FALSE(IsTerminalRunning(ctx, "02"));

  WorkAreas second;
  Status st = ABERTURA(ctx, second, 0);
  EXPECT_TRUE(st.IsLocked()) << st.ToString();
  EXPECT_EQ(second.Get(50), nullptr);

  // Another terminal number has a list of its own.
  ctx.terminal = "02";
  OPENER_ASSERT_OK(ABERTURA(ctx, second, 50));
  ctx.terminal = "01";

  areas.CloseAll();
  EXPECT_FALSE(IsTerminalRunning(ctx, "01"));
  OPENER_ASSERT_OK(ABERTURA(ctx, second, 0));
}

TEST_F(FolderListTest, StartUpOpensTheReferenceTablesThatExist) {
  OPENER_ASSERT_OK(CRIA(ctx, 52, "/inst/AUXBENS.DBF"));
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 0));
  EXPECT_NE(areas.Get(50), nullptr);
  EXPECT_NE(areas.Get(52), nullptr);
  EXPECT_NE(areas.Get(53), nullptr);  // created on the way
  EXPECT_EQ(areas.Get(46), nullptr);  // reference table not installed: nothing opened
}

// Fault: the start-up set and option 19 deleted every entry whose folder did not
// answer at that moment, so a network share that was down for a minute silently
// lost its place in every terminal's list. Now an entry goes only when the
// operator says so.
TEST_F(FolderListTest, UnreachableFoldersStayUnlessTheOperatorConfirms) {
  OPENER_ASSERT_OK(env.CreateDir("/srv/clientes"));
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 50));
  AddFolder("C:\\SRV\\CLIENTES");
  AddFolder("C:\\REDE\\FORA");
  const std::vector<std::string> all = {"C:\\INST:S", "C:\\SRV\\CLIENTES:N", "C:\\REDE\\FORA:N"};

  OPENER_ASSERT_OK(CleanFolderList(ctx, *areas.Get(50)));  // no screen
  EXPECT_EQ(Entries(), all);

  std::vector<std::vector<std::string>> asked;
  ctx.confirm = [&](const std::vector<std::string>& lines) {
    asked.push_back(lines);
    return false;
  };
  OPENER_ASSERT_OK(CleanFolderList(ctx, *areas.Get(50)));
  EXPECT_EQ(Entries(), all);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0][0], core::Cp850("A Pasta C:\\REDE\\FORA não foi encontrada!"));

  ctx.confirm = [](const std::vector<std::string>&) { return true; };
  OPENER_ASSERT_OK(CleanFolderList(ctx, *areas.Get(50)));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"C:\\INST:S", "C:\\SRV\\CLIENTES:N"}));
}

TEST_F(FolderListTest, TrocasimMakesTheEntryUnderTheCursorTheDataFolder) {
  OPENER_ASSERT_OK(env.CreateDir("/srv/clientes"));
  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 42));
  WorkArea& config = *areas.Get(42);
  OPENER_ASSERT_OK(ADD_REC(ctx, config, 5));
  Result<Record> c = config.Current();
  OPENER_ASSERT_OK(c->PutText("NRO_TERM", "01"));
  OPENER_ASSERT_OK(config.WriteCurrent(*c));
  config.table().UnlockAll();

  OPENER_ASSERT_OK(ABERTURA(ctx, areas, 50));
  AddFolder("C:\\SRV\\CLIENTES");
  OPENER_ASSERT_OK(areas.Get(50)->GoTo(RecNo{2}));
  OPENER_ASSERT_OK(TROCASIM(ctx, areas, 1, "12345678901"));

  EXPECT_EQ(ctx.data_folder, "/srv/clientes");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"C:\\INST:N", "C:\\SRV\\CLIENTES:S"}));
  WorkArea* reg = areas.Get(9);
  ASSERT_NE(reg, nullptr);
  EXPECT_EQ(reg->table().path(), "/srv/clientes/IMP0920.DBF");
  EXPECT_EQ(reg->active_order(), 2);
  OPENER_ASSERT_OK(config.Top());
  EXPECT_EQ(*config.Current()->GetTrimmed("ROTADOANO"), "C:\\SRV\\CLIENTES");
}

TEST_F(FolderListTest, MudadirFindsTheTaxpayerInTheOtherFolder) {
  OPENER_ASSERT_OK(env.CreateDir("/outra"));
  ASSERT_TRUE(MUDADIR(ctx, areas, "/outra", "").ok());
  WorkArea& reg = *areas.Get(9);
  OPENER_ASSERT_OK(reg.SetOrder(1));
  OPENER_ASSERT_OK(PREP_REG(ctx, reg, "12345678901"));
  Result<Record> r = reg.Current();
  OPENER_ASSERT_OK(r->PutText("CPF", "12345678901"));
  OPENER_ASSERT_OK(r->PutText("NOMECONTR", "ANA"));
  OPENER_ASSERT_OK(reg.WriteCurrent(*r));
  reg.table().UnlockAll();

  Result<std::optional<std::string>> name = MUDADIR(ctx, areas, "C:\\OUTRA", "12345678901");
  ASSERT_TRUE(name.ok()) << name.status().ToString();
  ASSERT_TRUE(name->has_value());
  EXPECT_EQ(name->value().substr(0, 3), "ANA");
  name = MUDADIR(ctx, areas, "/outra", "99999999999");
  ASSERT_TRUE(name.ok());
  EXPECT_FALSE(name->has_value());
}

TEST_F(FolderListTest, CriNdirAsksBeforeCreating) {
  EXPECT_TRUE(CRI_NDIR(ctx, "/nova/pasta", kLabelData).IsCancelled());  // no screen: no
  EXPECT_FALSE(env.IsDirectory("/nova/pasta"));

  std::vector<std::string> lines;
  ctx.confirm = [&](const std::vector<std::string>& l) {
    lines = l;
    return true;
  };
  OPENER_ASSERT_OK(CRI_NDIR(ctx, "/nova/pasta", kLabelData));
  EXPECT_TRUE(env.IsDirectory("/nova/pasta"));
  EXPECT_EQ(lines, (std::vector<std::string>{"Pasta nova para  DODU2020?", "Cria a nova pasta?"}));

  // A folder that cannot be made: the error box names it.
  OPENER_ASSERT_OK(env.PutFile("/arquivo", "x"));
  EXPECT_FALSE(CRI_NDIR(ctx, "/arquivo/sub", kLabelOfficial).ok());
  ASSERT_EQ(sink.boxes.size(), 1u);
  EXPECT_EQ(sink.boxes[0].lines[0], "Problemas ao criar a pasta /arquivo/sub");
}

}  // namespace
}  // namespace dodu::store
