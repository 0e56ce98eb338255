#include "handover/declaration_index.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "handover/testutil.h"
#include "platform/memory_env.h"

namespace dodu::handover {
namespace {

using testing::MemorySeal;
using testing::ScriptedDialog;
using testing::Slurp;

const platform::CivilTime kNow{2020, 4, 7, 22, 34, 49};
const std::string kHeader = FreshIndexHeader(kNow);
constexpr char kNew[] = " cpf=\"222.222.223-03\" nome=\"NEW\"/>";
const std::string kNewItem = std::string("<item") + kNew;

std::string Merge(std::string_view old, bool exists = true) {
  return MergeIndex(old, exists, "222.222.223-03", kNew, kNow);
}

TEST(DeclarationIndexTest, ChunksEndAtEachGreaterThanOrZeroByte) {
  EXPECT_EQ(SplitChunks("<a x=\"1\"><b/>tail"),
            (std::vector<std::string>{"<a x=\"1\">", "<b/>", "tail"}));
  EXPECT_EQ(SplitChunks(std::string("<a>\0<b>", 7)), (std::vector<std::string>{"<a>", "<b>"}));
}

struct MergeCase {
  const char* what;
  std::string old;
  bool exists;
  std::string expected;
};

TEST(DeclarationIndexTest, Merges) {
  const std::string other = "<item cpf=\"111.111.111-11\" nome=\"A\"/>";
  const std::string old_item = "<item cpf=\"222.222.223-03\" nome=\"OLD\"/>";
  const std::string recovered_header =
      "<classe xmlns=\"http://www.receita.fazenda.gov.br/declaracao\" "
      "classeJava=\"serpro.ppgd.irpf."
      "ColecaoIdDeclaracao\" tipoItens=\"serpro.ppgd.irpf.IdentificadorDeclaracao\">";
  const MergeCase cases[] = {
      {"no index", "", false, kHeader + kNewItem + "</classe>"},
      {"empty index", "", true, kHeader + kNewItem + "</classe>"},
      {"new declaration goes last", kHeader + other + "</classe>", true,
       kHeader + other + kNewItem + "</classe>"},
      {"replaced declaration", kHeader + old_item + other + "</classe>", true,
       kHeader + other + kNewItem + "</classe>"},
      {"own header kept", recovered_header + other + "</classe>", true,
       recovered_header + other + kNewItem + "</classe>"},
      // Written by the official program: line breaks and indentation.
      {"official layout", recovered_header + "\n  " + old_item + "\n  " + other + "\n</classe>\n",
       true, recovered_header + "\n  " + other + kNewItem + "</classe>"},
      {"empty self-closing root",
       "<?xml version=\"1.0\"?><classe classeJava=\"serpro.ppgd.irpf.ColecaoIdDeclaracao\"/>", true,
       kHeader + kNewItem + "</classe>"},
      // Fault: a truncated index was taken whole, partial item included.
      {"truncated", recovered_header + other + old_item + "<item cpf=\"333.3", true,
       kHeader + other + kNewItem + "</classe>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Merge(c.old, c.exists), c.expected) << c.what;
  }
}

class IndexUpdateTest : public ::testing::Test {
 protected:
  IndexUpdateTest() {
    seal_.Install(env_);
    update_.folder = "/irpf";
    update_.cpf_masked = "222.222.223-03";
    update_.identification = kNew;
    update_.seal.start_folder = "/prog";
    (void)env_.CreateDir("/irpf");
  }
  platform::MemoryEnv env_;
  MemorySeal seal_;
  ScriptedDialog dialog_;
  IndexUpdate update_;
};

TEST_F(IndexUpdateTest, WritesAndSealsTheIndex) {
  ASSERT_OK(UpdateIndex(env_, dialog_, update_));
  EXPECT_EQ(Slurp(env_, "/irpf/iddeclaracoes.xml"),
            FreshIndexHeader(env_.clock().Now()) + kNewItem + "</classe>");
  ASSERT_EQ(env_.spawned().size(), 1u);
  EXPECT_EQ(env_.spawned()[0].argv, (std::vector<std::string>{"java", "-jar", "/prog/IHash.jar",
                                                              "/irpf/iddeclaracoes.xml"}));
}

TEST_F(IndexUpdateTest, HeldIndexWaitsTenSecondsThenGivesUp) {
  auto other = env_.Open("/irpf/iddeclaracoes.xml.lck", platform::OpenMode::kCreate);
  ASSERT_OK((*other)->TryLock(0, 1, platform::LockType::kExclusive));
  const int64_t start = env_.clock().MonotonicMillis();
  Status st = UpdateIndex(env_, dialog_, update_);
  EXPECT_TRUE(st.IsLocked()) << st.ToString();
  EXPECT_GE(env_.clock().MonotonicMillis() - start, 10000);
  EXPECT_FALSE(env_.Exists("/irpf/iddeclaracoes.xml"));
  EXPECT_NE(dialog_.AllText().find("Dado n"), std::string::npos);
  ASSERT_FALSE(dialog_.status.empty());
  EXPECT_EQ(dialog_.status.front().substr(0, 10), "Aguardando");
}

TEST_F(IndexUpdateTest, IndexGoneAfterTheSealIsAFailure) {
  env_.SetSpawnHandler("java",
                       [](platform::MemoryEnv& e, const std::vector<std::string>& argv,
                          const platform::SpawnOptions&) -> Result<platform::SpawnResult> {
                         (void)e.Remove(argv.back());
                         return platform::SpawnResult{1, 0};
                       });
  EXPECT_TRUE(UpdateIndex(env_, dialog_, update_).IsNotFound());
  EXPECT_NE(dialog_.AllText().find("Confira a instala"), std::string::npos);
}

TEST_F(IndexUpdateTest, FailedWriteLeavesTheOldIndex) {
  const std::string old = kHeader + "<item cpf=\"111.111.111-11\"/></classe>";
  ASSERT_OK(env_.PutFile("/irpf/iddeclaracoes.xml", old));
  platform::FaultEnv faulty(env_);
  faulty.FailNth(platform::FaultEnv::Op::kWrite, 1);
  EXPECT_FALSE(UpdateIndex(faulty, dialog_, update_).ok());
  EXPECT_EQ(Slurp(env_, "/irpf/iddeclaracoes.xml"), old);
}

#ifdef DODU_SEAL_STUB_DIR
// Two stations handing over into one folder at the same moment keep both items.
TEST(IndexUpdateProcessTest, TwoStationsAtOnceKeepBothItems) {
  char tmpl[] = "/tmp/dodu_index_XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string folder = tmpl;
  pid_t kids[2];
  for (int k = 0; k < 2; ++k) {
    kids[k] = fork();
    ASSERT_GE(kids[k], 0);
    if (kids[k] == 0) {
      auto env = platform::NewPosixEnv();
      ScriptedDialog dialog;
      IndexUpdate u;
      u.folder = folder;
      u.cpf_masked = k == 0 ? "111.111.111-11" : "222.222.222-22";
      u.identification = " cpf=\"" + u.cpf_masked + "\"/>";
      u.seal.start_folder = DODU_SEAL_STUB_DIR;
      for (int round = 0; round < 2; ++round) {
        if (!UpdateIndex(*env, dialog, u).ok()) _exit(1);
      }
      _exit(0);
    }
  }
  for (pid_t kid : kids) {
    int status = 0;
    waitpid(kid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  auto env = platform::NewPosixEnv();
  std::string text = Slurp(*env, folder + "/iddeclaracoes.xml");
  EXPECT_NE(text.find("cpf=\"111.111.111-11\""), std::string::npos) << text;
  EXPECT_NE(text.find("cpf=\"222.222.222-22\""), std::string::npos) << text;
  EXPECT_EQ(text.find("111.111.111-11"), text.rfind("111.111.111-11"))
      << "one item per declaration";
  std::system(("rm -rf " + folder).c_str());
}
#endif

}  // namespace
}  // namespace dodu::handover
