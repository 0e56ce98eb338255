#include "print/dispatch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/codepage.h"
#include "platform/testutil.h"
#include "print/print_output.h"

namespace dodu::print {
namespace {

using core::Cp850;

struct Submitted {
  std::string queue, file, job;
  bool raw;
  int copies;
  std::string head;  // the first bytes of the file when it was sent
};

class FakePrinters final : public PrinterSystem {
 public:
  explicit FakePrinters(platform::Env& env) : env_(env) {}
  Result<PrinterList> List() override { return list; }
  Status Submit(const std::string& queue, const std::string& file, bool raw,
                const std::string& job, int copies) override {
    std::string bytes = platform::ReadWholeFile(env_, file).value_or("");
    sent.push_back({queue, file, job, raw, copies, bytes.substr(0, 5)});
    return refuse ? Status::IoError("lp failed") : Status::Ok();
  }
  PrinterList list{{"Laser", "Matricial"}, "Laser"};
  std::vector<Submitted> sent;
  bool refuse = false;

 private:
  platform::Env& env_;
};

class FakePorts final : public DispatchPorts {
 public:
  std::optional<std::string> Choose(const std::vector<std::string>& destinations,
                                    const std::string&) override {
    offered = destinations;
    return choice;
  }
  void View(const std::string& path) override { viewed.push_back(path); }
  void Tell(const std::vector<std::string>& lines) override { told.push_back(lines); }
  std::optional<std::string> choice;
  std::vector<std::string> offered, viewed;
  std::vector<std::vector<std::string>> told;
};

class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_ = platform::NewPosixEnv();
    folders_ = {dir_.path(), dir_.path()};
    printers_ = std::make_unique<FakePrinters>(*env_);
  }
  void WriteJob(const std::string& bytes) {
    ASSERT_OK(platform::WriteFileAtomic(*env_, dir_ / kJobFile, bytes));
  }
  Result<Dispatched> Dispatch(const PrintOptions& options, bool one = true) {
    return DispatchPrintFile(*env_, *printers_, ports_, options, folders_, "12345678909", one);
  }
  testing::TempDir dir_;
  std::unique_ptr<platform::Env> env_;
  PrintFolders folders_;
  std::unique_ptr<FakePrinters> printers_;
  FakePorts ports_;
};

TEST_F(DispatchTest, AnEmptyOrMissingJobIsNeverSent) {
  PrintOptions options;
  options.destination = "Laser";
  for (bool one : {true, false}) {
    ASSERT_OK(Dispatch(options, one));
    WriteJob("");
    ASSERT_OK(Dispatch(options, one));
    (void)env_->Remove(dir_ / kJobFile);
  }
  EXPECT_TRUE(printers_->sent.empty());
  // Said only when one taxpayer was asked for, once per attempt.
  ASSERT_EQ(ports_.told.size(), 2u);
  EXPECT_EQ(ports_.told[0], std::vector<std::string>{"Nada para imprimir!!"});
}

TEST_F(DispatchTest, ASystemPrinterGetsAPdfWithTheCopies) {
  WriteJob("linha\r\n\x0C\r");
  PrintOptions options;
  options.destination = "Laser";
  options.copies = 0;  // counts as one
  ASSERT_OK(Dispatch(options));
  ASSERT_EQ(printers_->sent.size(), 1u);
  EXPECT_EQ(printers_->sent[0].queue, "Laser");
  EXPECT_EQ(printers_->sent[0].head, "%PDF-");
  EXPECT_FALSE(printers_->sent[0].raw);
  EXPECT_EQ(printers_->sent[0].job, "12345678909");
  EXPECT_FALSE(env_->Exists(printers_->sent[0].file));  // the temporary PDF is gone
  // The final page break was dropped from the work file, which stays for a reprint.
  EXPECT_EQ(*platform::ReadWholeFile(*env_, dir_ / kJobFile), "linha\r\n \r");
}

TEST_F(DispatchTest, ChoosingAgainOffersEveryDestination) {
  WriteJob("x");
  PrintOptions options;
  options.destination = "Laser";
  options.choose_each_time = true;
  ports_.choice = "Matricial";
  ASSERT_OK(Dispatch(options));
  EXPECT_EQ(ports_.offered, (std::vector<std::string>{"Laser", "Matricial", "NAO DOS",
                                                      "Sem Impressora", "Arquivo PDF"}));
  ASSERT_EQ(printers_->sent.size(), 1u);
  EXPECT_EQ(printers_->sent[0].queue, "Matricial");
}

TEST_F(DispatchTest, AFailedSubmitIsToldAndReturned) {
  WriteJob("x");
  printers_->refuse = true;
  PrintOptions options;
  options.destination = "Laser";
  EXPECT_FALSE(Dispatch(options).ok());
  ASSERT_EQ(ports_.told.size(), 1u);
  EXPECT_EQ(ports_.told[0][1], Cp850("Verifique se a Impressora está ligada."));
}

TEST_F(DispatchTest, NoPrinterShowsTheFile) {
  WriteJob("x");
  PrintOptions options;
  options.destination = kSemImpressora;
  Result<Dispatched> d = Dispatch(options);
  ASSERT_OK(d);
  EXPECT_EQ(d->result, DispatchResult::kViewed);
  EXPECT_EQ(ports_.viewed, std::vector<std::string>{dir_ / kJobFile});
}

TEST_F(DispatchTest, APdfFileNeverOverwritesAnotherJob) {
  WriteJob("primeiro");
  PrintOptions options;
  options.destination = kPdfFile;
  Result<Dispatched> a = Dispatch(options);
  Result<Dispatched> b = Dispatch(options);
  ASSERT_OK(a);
  ASSERT_OK(b);
  EXPECT_EQ(a->pdf_path, dir_ / "12345678909.pdf");
  EXPECT_EQ(b->pdf_path, dir_ / "12345678909-2.pdf");
  EXPECT_EQ(platform::ReadWholeFile(*env_, b->pdf_path)->substr(0, 5), "%PDF-");
  EXPECT_TRUE(IsPdfDestination(kPdfFile));
}

TEST_F(DispatchTest, NaoDosStartsTheProgramWithAnArgumentVector) {
  // The work folder has a blank in its name: the file is one argument.
  const std::string work = dir_ / "pasta de trabalho";
  ASSERT_OK(env_->CreateDir(work));
  const std::string program = dir_ / "nodosimp";
  ASSERT_OK(platform::WriteFileAtomic(
      *env_, program, "#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > \"$(dirname \"$0\")/args\"\n"));
  ASSERT_EQ(chmod(program.c_str(), 0755), 0);
  folders_ = {work, dir_.path()};
  ASSERT_OK(platform::WriteFileAtomic(*env_, work + "/" + kJobFile, "x"));
  PrintOptions options;  // NAO DOS
  options.show_first = true;
  ASSERT_OK(Dispatch(options));
  EXPECT_EQ(*platform::ReadWholeFile(*env_, dir_ / "args"),
            "[" + work + "/NAO-DOS.TXT]\n[96]\n[pre]\n");
}

TEST(NaoDosArgumentsTest, FollowTheTwoSettings) {
  EXPECT_EQ(NaoDosArguments(true, true), (std::vector<std::string>{"96", "pre/sel"}));
  EXPECT_EQ(NaoDosArguments(true, false), (std::vector<std::string>{"96", "pre"}));
  EXPECT_EQ(NaoDosArguments(false, true), (std::vector<std::string>{"96", "sel"}));
  EXPECT_EQ(NaoDosArguments(false, false), (std::vector<std::string>{"96"}));
}

TEST(FileNamesTest, NamesFromTextAreSafe) {
  const std::pair<std::string, std::string> cases[] = {
      {"JOSE DA SILVA", "JOSE DA SILVA"},
      {"../../etc/passwd", "____etc_passwd"},
      {"A\\B/C", "A_B_C"},
      {"tab\there", "tab_here"},
      {"..", "_"},
      {"   ", "_"},
      {Cp850("JOÃO"), "JOÃO"},  // code page 850 becomes UTF-8 on disk
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(SafeFileName(in), want) << in;
  EXPECT_EQ(TaxpayerCopyName("12345678909", "JOSE DA SILVA     "), "12345678909JOSE SILVA.TXT");
  EXPECT_EQ(TaxpayerCopyName("12345678909", "MARIA"), "12345678909MARIA.TXT");
  EXPECT_EQ(TaxpayerCopyName("12345678909", "ANA/../X B"), "12345678909ANA___X B.TXT");
}

TEST_F(DispatchTest, ATaxpayerCopyJoinsTheRunAndReplacesAnOlderCopy) {
  WriteJob("first;");
  ASSERT_OK(platform::WriteFileAtomic(*env_, dir_ / "12345678909JOSE SILVA.TXT", "old copy"));
  ASSERT_OK(platform::WriteFileAtomic(*env_, dir_ / kTaxpayerFile, "jose"));
  ASSERT_OK(KeepTaxpayerCopy(*env_, dir_.path(), "12345678909", "JOSE DA SILVA"));
  EXPECT_EQ(*platform::ReadWholeFile(*env_, dir_ / kJobFile), "first;jose");
  EXPECT_EQ(*platform::ReadWholeFile(*env_, dir_ / "12345678909JOSE SILVA.TXT"), "jose");
  EXPECT_FALSE(env_->Exists(dir_ / kTaxpayerFile));
}

TEST(LpstatTest, QueuesAndDefault) {
  PrinterList l = ParseLpstat("Laser\nPDF_Virtual\n\n", "system default destination: Laser\n");
  EXPECT_EQ(l.names, (std::vector<std::string>{"Laser", "PDF_Virtual"}));
  EXPECT_EQ(l.default_name, "Laser");
  EXPECT_EQ(ParseLpstat("", "no system default destination\n").default_name, "");
  EXPECT_EQ(Destinations({}), (std::vector<std::string>{"NAO DOS", "Sem Impressora", "Arquivo PDF"}));
}

}  // namespace
}  // namespace dodu::print
