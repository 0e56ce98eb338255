#include "darf/darf_print_run.h"

#include <gtest/gtest.h>

#include "darf/testutil.h"
#include "platform/paths.h"

namespace dodu::darf {
namespace {

using testing::D;
using testing::Dec;

class FakePrinters final : public print::PrinterSystem {
 public:
  Result<print::PrinterList> List() override { return print::PrinterList{{"Laser", "PDF_Laser"}, "Laser"}; }
  Status Submit(const std::string& queue, const std::string&, bool, const std::string& job,
                int) override {
    jobs.push_back(queue + ": " + job);
    return Status::Ok();
  }
  std::vector<std::string> jobs;
};

class FakePorts final : public print::DispatchPorts {
 public:
  std::optional<std::string> Choose(const std::vector<std::string>&, const std::string&) override {
    return std::nullopt;
  }
  void View(const std::string&) override {}
  void Tell(const std::vector<std::string>& lines) override { told.push_back(lines); }
  std::vector<std::vector<std::string>> told;
};

// Two marked taxpayers: the second pays its quotas by automatic debit.
class PrintRunTest : public ::testing::Test {
 protected:
  PrintRunTest()
      : env_(platform::NewPosixEnv()), first_(testing::DeclarationVars()),
        second_(testing::DeclarationVars()) {
    second_.SetText("DEBITAUT", "S");
    second_.SetNumber("I13_37", Dec("250.00"));
  }

  // Runs `kind` over both taxpayers to `destination`; the work file as it stood
  // before the end of the run goes to `file`.
  void Run(Kind kind, const std::string& destination, int taxpayers, std::string* file = nullptr,
           Date payment = D(2020, 6, 30)) {
    RunSettings settings;
    settings.paper = Paper::kBlankSheet;
    settings.options.destination = destination;
    settings.folders = {dir_.path(), dir_.path()};
    auto run = DarfPrintRun::Start(*env_, printers_, ports_, settings, taxpayers);
    ASSERT_OK(run);
    Darf set = testing::HolderDarf(kind, payment);
    for (int i = 0; i < taxpayers; ++i) {
      const core::VariableMap& vars = i == 0 ? first_ : second_;
      set.name = i == 0 ? "MARIA DA SILVA SOUZA" : "JOAO PEREIRA";
      set.cpf_cnpj = i == 0 ? "12345678909" : "11144477735";
      ASSERT_OK((*run)->Taxpayer(set, testing::Sources(vars), testing::Selic2020(), testing::Today()));
    }
    if (file) *file = *platform::ReadWholeFile(*env_, platform::JoinPath(dir_.path(), print::kJobFile));
    ASSERT_OK((*run)->Finish("Darfes"));
  }

  ::dodu::testing::TempDir dir_;
  std::unique_ptr<platform::Env> env_;
  core::VariableMap first_, second_;
  FakePrinters printers_;
  FakePorts ports_;
};

TEST_F(PrintRunTest, OtherPrintersGetOneJobAtTheEnd) {
  std::string file;
  Run(Kind::kQuota, "Laser", 2, &file);
  EXPECT_EQ(printers_.jobs, std::vector<std::string>{"Laser: Darfes"});
  EXPECT_NE(file.find("MARIA DA SILVA SOUZA"), std::string::npos);
  EXPECT_EQ(file.find("JOAO PEREIRA"), std::string::npos);  // quotas paid by debit
  testing::ExpectGolden("run_two_taxpayers.txt", file);
}

TEST_F(PrintRunTest, PdfPrintersGetOneJobPerTaxpayer) {
  Run(Kind::kLateFilingFine, "PDF_Laser", 2, nullptr, D(2020, 8, 20));
  EXPECT_EQ(printers_.jobs,
            (std::vector<std::string>{"PDF_Laser: Darf Multa - 12-2019 - MARIA SOUZA",
                                      "PDF_Laser: Darf Multa - 12-2019 - JOAO PEREIRA"}));
}

TEST_F(PrintRunTest, OneTaxpayerIsDispatchedAtOnce) {
  Run(Kind::kQuota, "Laser", 1);
  EXPECT_EQ(printers_.jobs, std::vector<std::string>{"Laser: Darf Quota 1 - do IRPF2020 - MARIA SOUZA"});
}

}  // namespace
}  // namespace dodu::darf
