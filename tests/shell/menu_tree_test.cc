#include "shell/menu_tree.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "core/codepage.h"
#include "shell/dispatcher.h"

namespace dodu::shell {
namespace {

const char kGoldenPath[] = DODU_SOURCE_DIR "/tests/golden/menu_tree/expected.txt";

MenuVariables GoldenVariables() {
  MenuVariables v;
  v.temp_sal = 15;
  v.xdrive = "C";
  v.nomeimp = "NAO DOS";
  return v;
}

// The whole tree, caption by caption, against the reviewed listing. Run with
// DODU_UPDATE_GOLDEN=1 to rewrite the expected file after a deliberate change.
TEST(MenuTreeTest, MatchesGoldenListing) {
  std::string listing = MenuListing(MainMenuTree(), GoldenVariables());
  const char* update = std::getenv("DODU_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream out(kGoldenPath, std::ios::binary);
    out << listing;
    ASSERT_TRUE(out.good()) << kGoldenPath;
  }
  std::ifstream in(kGoldenPath, std::ios::binary);
  ASSERT_TRUE(in.good()) << "missing " << kGoldenPath << " (DODU_UPDATE_GOLDEN=1 writes it)";
  std::stringstream expected;
  expected << in.rdbuf();
  EXPECT_EQ(listing, expected.str());
}

struct Call {
  std::string what;  // "menu", "item", "sep", "end"
  int id = 0;
  std::string caption;  // as received: cp850
  bool enabled = true;
};

class RecordingBuilder : public MenuBuilder {
 public:
  void SubMenu(int id, const std::string& caption, bool enabled) override {
    calls.push_back({"menu", id, caption, enabled});
  }
  void MenuItem(int id, const std::string& caption, bool enabled) override {
    calls.push_back({"item", id, caption, enabled});
  }
  void Separator() override { calls.push_back({"sep", 0, "", true}); }
  void EndMenu() override { calls.push_back({"end", 0, "", true}); }
  std::vector<Call> calls;
};

TEST(MenuTreeTest, EntriesAreNumberedFrom1001InOrderAndMenusBalance) {
  RecordingBuilder b;
  MenuCommands commands = BuildMenu(MainMenuTree(), GoldenVariables(), b);
  int expected_id = MenuCommands::kFirstId;
  int depth = 0;
  for (const Call& c : b.calls) {
    if (c.what == "item") {
      EXPECT_EQ(c.id, expected_id++);
    } else if (c.what == "menu") {
      EXPECT_EQ(c.id, expected_id++);
      EXPECT_EQ(commands.Find(c.id).kind, ActionKind::kNone);
      ++depth;
    } else if (c.what == "end") {
      ASSERT_GE(--depth, 0);
    }
  }
  EXPECT_EQ(depth, 0);
  // "&Fim" is the last item, on the bar itself.
  ASSERT_FALSE(b.calls.empty());
  EXPECT_EQ(b.calls.back().what, "item");
  EXPECT_EQ(commands.Find(b.calls.back().id), (MenuCommand{ActionKind::kOption, 91, 0, 0, 0}));
  // 1001 is the pull-down "&Declaração", 1002 its first item.
  EXPECT_EQ(commands.Find(MenuCommands::kFirstId + 1),
            (MenuCommand{ActionKind::kOption, 11, 0, 0, 0}));
  EXPECT_EQ(commands.Find(99999).kind, ActionKind::kNone);
}

TEST(MenuTreeTest, CaptionsReachTheToolkitInCp850) {
  RecordingBuilder b;
  BuildMenu(MainMenuTree(), GoldenVariables(), b);
  ASSERT_EQ(b.calls[0].what, "menu");
  EXPECT_EQ(b.calls[0].caption, "&Declara\x87\xC6o");
}

TEST(MenuTreeTest, HeadingsAreDisabledItemsWithoutCommand) {
  RecordingBuilder b;
  MenuCommands commands = BuildMenu(MainMenuTree(), GoldenVariables(), b);
  int headings = 0;
  for (const Call& c : b.calls) {
    if (c.what == "item" && !c.enabled) {
      ++headings;
      EXPECT_EQ(commands.Find(c.id).kind, ActionKind::kNone) << core::Cp850ToUtf8(c.caption);
    }
  }
  EXPECT_EQ(headings, 7);  // 4 under "Tipo de Folha", 3 under "Qual pagina"
}

TEST(MenuTreeTest, CaptionPlaceholders) {
  struct Case {
    const char* caption;
    int temp_sal;
    const char* xdrive;
    const char* expected;
  } cases[] = {
      {"&Automático a cada {TEMP_SAL} minutos", 15, "C", "&Automático a cada 15 minutos"},
      {"&Automático a cada {TEMP_SAL} minutos", 0, "C", "&Automático a cada  0 minutos"},
      {"&Automático a cada {TEMP_SAL} minutos", 5, "C", "&Automático a cada  5 minutos"},
      {"Compacta todos no {XDRIVE}:", 15, "E", "Compacta todos no E:"},
      {"Descompacta todos do {XDRIVE}:", 15, "F", "Descompacta todos do F:"},
      {"Sem marcas", 15, "C", "Sem marcas"},
  };
  for (const Case& c : cases) {
    MenuVariables v;
    v.temp_sal = c.temp_sal;
    v.xdrive = c.xdrive;
    EXPECT_EQ(ExpandCaption(c.caption, v), c.expected) << c.caption << " " << c.temp_sal;
  }
}

void CollectCodes(const std::vector<MenuNode>& nodes, std::set<int>& codes) {
  for (const MenuNode& n : nodes) {
    if (n.kind == MenuNodeKind::kItem && n.command.kind == ActionKind::kOption) {
      codes.insert(n.command.code);
    }
    CollectCodes(n.children, codes);
  }
}

// The dispatcher's table and the menu must name the same option codes: a code only
// in the menu would be silently ignored, one only in the table is unreachable.
TEST(MenuTreeTest, MenuAndDispatcherTableNameTheSameCodes) {
  std::set<int> in_menu;
  CollectCodes(MainMenuTree(), in_menu);
  std::set<int> in_table;
  for (const OptionInfo& o : OptionTable()) in_table.insert(o.code);
  EXPECT_EQ(in_menu, in_table);
}

}  // namespace
}  // namespace dodu::shell
