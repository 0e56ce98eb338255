#include "handover/handover.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "handover/declaration_index.h"
#include "handover/official_folder.h"
#include "handover/testutil.h"
#include "platform/fault_env.h"
#include "platform/memory_env.h"

namespace dodu::handover {
namespace {

using testing::MemorySeal;
using testing::ScriptedDialog;
using testing::Slurp;

constexpr char kCpf[] = "22222222303";
constexpr char kXml[] = "/irpf/22222222303/22222222303-0000000000.xml";
constexpr char kConf[] = "/irpf/22222222303/22222222303-0000000000.conf";
constexpr char kIndex[] = "/irpf/iddeclaracoes.xml";

class RecordingRegister final : public RegisterWriter {
 public:
  Status Apply(const std::vector<RegisterChange>& changes) override {
    for (const auto& c : changes) fields.push_back(c.field);
    return Status::Ok();
  }
  std::vector<std::string> fields;
};

class HandoverTest : public ::testing::Test {
 protected:
  HandoverTest() : vars_(testing::BaseVars()), in_(testing::BaseSnapshot(kCpf)) {
    vars_.N("SALDO", "100").T("RECIBOATU", "");
    seal_.Install(env_);
    (void)env_.CreateDir("/irpf");
    (void)env_.CreateDir("/work");
    settings_.official_folder = "/irpf";
    settings_.work_folder = "/work";
    settings_.terminal = "03";
    settings_.set_status = true;
    settings_.transmitted_status = 7;
    settings_.seal.start_folder = "/prog";
  }
  HandoverReport Run(platform::Env& env) {
    return HandOver(env, dialog_, in_, vars_.map, settings_, register_, session_);
  }
  HandoverReport Run() { return Run(env_); }

  platform::MemoryEnv env_;
  MemorySeal seal_;
  testing::Vars vars_;
  Snapshot in_;
  HandoverSettings settings_;
  ScriptedDialog dialog_;
  RecordingRegister register_;
  WriteOptions session_;
};

TEST_F(HandoverTest, SealedDocumentIndexAndDeliveryDate) {
  ASSERT_OK(env_.PutFile("/irpf/22222222303/22222222303-0000000000.BKP", "old"));
  HandoverReport r = Run();
  ASSERT_TRUE(r.transferred) << r.status.ToString();
  EXPECT_EQ(Slurp(env_, kXml), Slurp(env_, "/work/Decla03.xml"));
  EXPECT_TRUE(env_.Exists(kConf));
  EXPECT_FALSE(env_.Exists("/irpf/22222222303/22222222303-0000000000.BKP"));
  EXPECT_NE(Slurp(env_, kIndex).find("<item cpf=\"222.222.223-03\""), std::string::npos);
  EXPECT_EQ(register_.fields, (std::vector<std::string>{"DENTREGA", "ESTATUS"}));
  EXPECT_NE(dialog_.AllText().find("foi transferida"), std::string::npos);
}

// Fault: a failing seal deleted the document (the previous one was already
// overwritten), the index had already been rewritten, and the status and the
// delivery date were stamped as if the declaration had been handed over.
TEST_F(HandoverTest, FailingSealLeavesThePreviousPairIndexAndStatus) {
  ASSERT_OK(env_.PutFile(kXml, "previous document"));
  ASSERT_OK(env_.PutFile(kConf, "previous seal"));
  ASSERT_OK(env_.PutFile(kIndex, "index before"));
  seal_.fail = true;
  HandoverReport r = Run();
  EXPECT_FALSE(r.transferred);
  EXPECT_EQ(Slurp(env_, kXml), "previous document");
  EXPECT_EQ(Slurp(env_, kConf), "previous seal");
  EXPECT_EQ(Slurp(env_, kIndex), "index before");
  EXPECT_TRUE(register_.fields.empty());
  EXPECT_NE(dialog_.AllText().find("transferida"), std::string::npos);
}

// Fault: an old ".conf" left from an earlier hand-over counted as the proof
// that this seal had worked.
TEST_F(HandoverTest, OnlyASealFileMadeNowCounts) {
  ASSERT_OK(env_.PutFile(kConf, "old seal"));
  seal_.fail = true;
  EXPECT_FALSE(Run().transferred);
  EXPECT_FALSE(env_.Exists(kXml));
  EXPECT_EQ(Slurp(env_, kConf), "old seal");
}

TEST_F(HandoverTest, NonZeroSealExitWithASealFileIsReportedNotFailed) {
  seal_.exit_status = 3;
  HandoverReport r = Run();
  EXPECT_TRUE(r.transferred);
  EXPECT_EQ(r.seal_exit_status, 3);
}

TEST_F(HandoverTest, MissingJavaFailsWithThePreviousDocumentBack) {
  ASSERT_OK(env_.PutFile(kXml, "previous document"));
  settings_.seal.java = "no-such-java";
  EXPECT_FALSE(Run().transferred);
  EXPECT_EQ(Slurp(env_, kXml), "previous document");
  EXPECT_FALSE(env_.Exists(kIndex));
}

// Fault: writes of the work document were not checked; a document cut short
// was copied and sealed.
TEST_F(HandoverTest, FailedWorkDocumentWriteIsNeverCopied) {
  platform::FaultEnv faulty(env_);
  faulty.FailNth(platform::FaultEnv::Op::kWrite, 2);
  HandoverReport r = Run(faulty);
  EXPECT_FALSE(r.transferred);
  EXPECT_FALSE(env_.Exists(kXml));
  EXPECT_EQ(seal_.calls, 0);
  EXPECT_NE(dialog_.AllText().find("Os dados n"), std::string::npos);
}

TEST_F(HandoverTest, TruncatedWorkDocumentIsNeverCopied) {
  ASSERT_OK(env_.PutFile("/work/Decla03.xml", "<?xml version=\"1.0\"?><classe><contribuinte"));
  ASSERT_OK(env_.CreateDir("/irpf/22222222303"));
  auto placed = PlaceDocument(env_, dialog_, "/irpf", kCpf, "/work/Decla03.xml", settings_.seal);
  EXPECT_TRUE(placed.status().IsCorrupt());
  EXPECT_FALSE(env_.Exists(kXml));
  EXPECT_EQ(seal_.calls, 0);
}

struct QuestionCase {
  const char* what;
  const char* saldo;
  const char* receipt;
  std::deque<bool> answers;
  bool transferred;
};

TEST_F(HandoverTest, Questions) {
  const QuestionCase cases[] = {
      {"negative balance, stop", "-1", "", {false}, false},
      {"negative balance, go on", "-1", "", {true}, true},
      {"delivered before, stop", "0", "1234567890", {false}, false},
      {"both, go on", "-0.01", "1234567890", {true, true}, true},
  };
  for (const auto& c : cases) {
    testing::Vars v = testing::BaseVars();
    v.N("SALDO", c.saldo).T("RECIBOATU", c.receipt);
    ScriptedDialog dialog;
    dialog.confirms = c.answers;
    RecordingRegister reg;
    HandoverReport r = HandOver(env_, dialog, in_, v.map, settings_, reg, session_);
    EXPECT_EQ(r.transferred, c.transferred) << c.what;
    EXPECT_TRUE(dialog.confirms.empty()) << c.what;
    if (!c.transferred) {
      EXPECT_TRUE(r.status.IsCancelled()) << c.what;
    }
  }
}

TEST_F(HandoverTest, NoOfficialFolderIsRefused) {
  settings_.official_folder = "";
  settings_.option_code = 61;
  EXPECT_FALSE(Run().transferred);
  EXPECT_NE(dialog_.AllText().find("Preencha em Env Receita"), std::string::npos);
}

#ifdef DODU_SEAL_STUB_DIR
// The real seal tool stand-in, through the operating system: the document's
// path travels as one argument whatever it holds.
TEST(HandoverProcessTest, RealSealWithAnAwkwardFolderName) {
  char tmpl[] = "/tmp/dodu_handover_XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string root = std::string(tmpl) + "/Meus Documentos \"IRPF\" $(x) & 1";
  auto env = platform::NewPosixEnv();
  ASSERT_OK(env->CreateDir(root));
  ASSERT_OK(env->CreateDir(std::string(tmpl) + "/work"));
  const std::string log = std::string(tmpl) + "/calls.log";
  HandoverSettings settings;
  settings.official_folder = root;
  settings.work_folder = std::string(tmpl) + "/work";
  settings.terminal = "01";
  settings.seal.start_folder = DODU_SEAL_STUB_DIR;
  settings.seal.extra_env = {{"IHASH_STUB_LOG", log}};
  testing::Vars v = testing::BaseVars();
  Snapshot in = testing::BaseSnapshot(kCpf);
  ScriptedDialog dialog;
  RecordingRegister reg;
  WriteOptions session;
  HandoverReport r = HandOver(*env, dialog, in, v.map, settings, reg, session);
  ASSERT_TRUE(r.transferred) << r.status.ToString();
  EXPECT_TRUE(env->Exists(root + "/22222222303/22222222303-0000000000.conf"));
  EXPECT_EQ(Slurp(*env, log),
            root + "/22222222303/22222222303-0000000000.xml\n" + root + "/iddeclaracoes.xml\n");
  std::system(("rm -rf '" + std::string(tmpl) + "'").c_str());
}
#endif

struct FolderCase {
  const char* setting;
  std::optional<std::string> transmitted;
};

TEST(OfficialFolderTest, FoldersFromTheSetting) {
  const FolderCase cases[] = {
      {"C:\\Arquivos de Programas RFB\\IRPF2020\\aplicacao\\dados\\",
       "C:\\Arquivos de Programas RFB\\IRPF2020\\TRANSMITIDAS"},
      {"C:\\IRPF2020\\APLICACAO\\", "C:\\IRPF2020\\TRANSMITIDAS"},
      {"C:\\IRPF2020\\", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TransmittedFolder(c.setting), c.transmitted) << c.setting;
    EXPECT_EQ(HasApplicationComponent(c.setting), c.transmitted.has_value()) << c.setting;
  }
}

// Fault: the first "20" of the whole path and the three characters after it
// were replaced, so a folder like "C:\2020 Clientes\IRPF2020\" was broken.
TEST(OfficialFolderTest, OtherExerciseChangesOnlyTheIrpfComponent) {
  EXPECT_EQ(OtherExerciseFolder("C:\\2020 Clientes\\IRPF2020\\TRANSMITIDAS", "2018"),
            "C:\\2020 Clientes\\IRPF2018\\TRANSMITIDAS");
  EXPECT_EQ(OtherExerciseFolder("C:\\IRPF2020", "2018"), "C:\\IRPF2018");
  EXPECT_EQ(OtherExerciseFolder("C:\\ProgramasIRPF2020\\X", "2018"), "C:\\ProgramasIRPF2020\\X");
}

}  // namespace
}  // namespace dodu::handover

namespace dodu::handover {
namespace {

TEST(OfficialFolderTest, FileErrorTexts) {
  struct Case {
    Status status;
    bool folder;
    std::string text;
  } cases[] = {
      {Status::NotFound("x"), true, core::Cp850("Erro! Arquivo Decla01.xml não encontrado")},
      {Status::NotFound("x"), false, core::Cp850("Erro! Caminho não encontrado")},
      {Status::Locked("x"), true, "Erro! Acesso negado. Outro terminal usando? "},
      {Status::IoError("x"), true, "Erro nro:   4"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileErrorText(c.status, "Decla01.xml", c.folder), c.text) << c.status.ToString();
  }
}

TEST_F(HandoverTest, MissingWorkFolderIsAPathError) {
  settings_.work_folder = "/no/such/work";
  EXPECT_FALSE(Run().transferred);
  EXPECT_NE(dialog_.AllText().find("Caminho n"), std::string::npos);
}

}  // namespace
}  // namespace dodu::handover
