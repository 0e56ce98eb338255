#include "handover/index_recovery.h"

#include <gtest/gtest.h>

#include "handover/testutil.h"
#include "platform/memory_env.h"

namespace dodu::handover {
namespace {

using testing::MemorySeal;
using testing::ScriptedDialog;
using testing::Slurp;

class Registers final : public RegisterLookup {
 public:
  std::unique_ptr<core::Variables> Find(const std::string& cpf) override {
    if (cpf != "22222222222") return nullptr;
    auto v = std::make_unique<core::VariableMap>();
    v->Declare("NOMECONTR", core::Value(std::string("Registered Taxpayer")));
    v->Declare("USAPADRAO", core::Value(std::string("N")));
    v->Declare("RETIFICA", core::Value(std::string("S")));
    return v;
  }
};

constexpr char kCopy[] = "<copiaIdentificador cpf=\"111.111.111-11\" nome=\"A\"/>";

TEST(IndexRecoveryTest, RebuildsFromTheTaxpayerFolders) {
  platform::MemoryEnv env;
  MemorySeal seal;
  seal.Install(env);
  ASSERT_OK(
      env.PutFile("/irpf/11111111111/11111111111-0000000000.xml",
                  std::string("<?xml version=\"1.0\"?><classe><x/>\r\n  ") + kCopy + "</classe>"));
  ASSERT_OK(env.PutFile("/irpf/22222222222/22222222222-0000000000.xml", "<classe><x/></classe>"));
  ASSERT_OK(env.PutFile("/irpf/33333333333/33333333333.xml", "<classe><x/></classe>"));
  ASSERT_OK(env.CreateDir("/irpf/44444444444"));
  ASSERT_OK(env.PutFile("/irpf/55555555555/other.txt", "x"));
  ASSERT_OK(env.CreateDir("/irpf/backup"));
  ScriptedDialog dialog;
  dialog.confirms = {true};
  Registers registers;
  RecoveryRequest req;
  req.official_folder = "/irpf";
  auto counts = RecoverIndex(env, dialog, registers, req);
  ASSERT_TRUE(counts.ok()) << counts.status().ToString();
  EXPECT_EQ(counts->folders, 5);
  EXPECT_EQ(counts->restored, 2);
  EXPECT_EQ(counts->not_registered, 1);
  EXPECT_EQ(counts->empty_folders, 2);
  EXPECT_EQ(counts->unrepairable, 1);
  EXPECT_FALSE(env.Exists("/irpf/44444444444"));  // empty: removed
  EXPECT_TRUE(env.Exists("/irpf/55555555555"));   // other files: kept

  const std::string index = Slurp(env, "/irpf/iddeclaracoes.xml");
  EXPECT_EQ(index.substr(0, 7), "<classe");
  EXPECT_NE(index.find("classeJava=\"serpro.ppgd.irpf.ColecaoIdDeclaracao\" tipoItens="),
            std::string::npos);
  EXPECT_NE(index.find("<item cpf=\"111.111.111-11\" nome=\"A\"/>"), std::string::npos);
  // The repaired document gets the copy of its own taxpayer's identification.
  const std::string repaired = Slurp(env, "/irpf/22222222222/22222222222-0000000000.xml");
  EXPECT_NE(repaired.find("<copiaIdentificador cpf=\"222.222.222-22\""), std::string::npos);
  EXPECT_NE(repaired.find("declaracaoRetificadora=\"1\""), std::string::npos);
  EXPECT_NE(repaired.find("tipoDeclaracao=\"0\""), std::string::npos);
  EXPECT_EQ(repaired.substr(repaired.size() - 9), "</classe>");
  EXPECT_NE(index.find("<item cpf=\"222.222.222-22\""), std::string::npos);
  EXPECT_EQ(index.find("333.333.333-33"), std::string::npos);

  const auto lines = RecoverySummary(*counts, "20");
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "    Do total de 5 pastas foram:",
                       "    Recuperadas 2 declara\x87\xE4"
                       "es",
                       " sendo 1 com o CPF no KEVA2020", "     e 1 com o CPF n\xC6o encontrado",
                       "N\xC6o recuperadas 3 sendo:", "   Pasta Vazia  2 sem arquivo XML",
                       "   Sem o CPF    1 para reparar"}));
}

TEST(IndexRecoveryTest, NothingToRecoverAndNo) {
  platform::MemoryEnv env;
  ASSERT_OK(env.CreateDir("/irpf"));
  Registers registers;
  RecoveryRequest req;
  req.official_folder = "/irpf";
  ScriptedDialog no;
  no.confirms = {false};
  EXPECT_TRUE(RecoverIndex(env, no, registers, req).status().IsCancelled());
  ScriptedDialog yes;
  yes.confirms = {true};
  EXPECT_TRUE(RecoverIndex(env, yes, registers, req).status().IsNotFound());
  EXPECT_NE(yes.AllText().find("recuperados"), std::string::npos);
}

}  // namespace
}  // namespace dodu::handover
