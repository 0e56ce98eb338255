#include "darf/darf_slip.h"

#include <gtest/gtest.h>

#include <functional>

#include "darf/darf_run.h"
#include "darf/testutil.h"
#include "platform/memory_env.h"

namespace dodu::darf {
namespace {

using testing::D;
using testing::Dec;

class SlipTest : public ::testing::Test {
 protected:
  SlipTest() : vars_(testing::DeclarationVars()), src_(testing::Sources(vars_)) {}
  void SetUp() override { ASSERT_OK(env_.CreateDir("/w")); }

  // The print work file after `write` ran over a fresh output.
  std::string Printed(const std::function<void(print::PrintOutput&)>& write) {
    auto out = print::PrintOutput::Create(env_, "/w/NAO-DOS.TXT");
    EXPECT_TRUE(out.ok());
    write(**out);
    EXPECT_OK((*out)->Close());
    return *platform::ReadWholeFile(env_, "/w/NAO-DOS.TXT");
  }
  // The set `d` printed on `paper`; `written` receives the number of slips.
  std::string Set(const Darf& d, Paper paper, int nro_vias, int offset = 0, int* written = nullptr) {
    return Printed([&](print::PrintOutput& out) {
      SlipWriter writer(out, paper, nro_vias, offset);
      auto n = PrintSet(writer, d, src_, testing::Selic2020(), testing::Today());
      ASSERT_OK(n);
      if (written) *written = *n;
    });
  }
  Darf Range(Kind kind, int first, int last, const Date& payment) {
    Darf d = testing::HolderDarf(kind, payment);
    d.number = d.first = first;
    d.last = last;
    return d;
  }

  platform::MemoryEnv env_;
  core::VariableMap vars_;
  DarfSources src_;
};

TEST_F(SlipTest, BlankSheetQuotaWithTwoCopies) {
  int written = 0;
  const std::string bytes = Set(Range(Kind::kQuota, 2, 2, D(2020, 7, 15)), Paper::kBlankSheet, 1, 0,
                                &written);
  EXPECT_EQ(written, 1);
  testing::ExpectGolden("blank_quota.txt", bytes);
}

TEST_F(SlipTest, BlankSheetRangeOfFutureQuotasLeavesInterestAndTotalBlank) {
  Darf d = Range(Kind::kQuota, 2, 3, D(2020, 7, 15));
  d.same_month = false;
  int written = 0;
  const std::string bytes = Set(d, Paper::kBlankSheet, 2, 0, &written);
  EXPECT_EQ(written, 2);
  EXPECT_NE(bytes.find("|09-Valor dos juros    |                  |"), std::string::npos);
  EXPECT_NE(bytes.find("|10-Valor Total        |                  |"), std::string::npos);
  testing::ExpectGolden("blank_quota_range.txt", bytes);
}

TEST_F(SlipTest, ContinuousFormsCarneLeaoWithOneBelowTheMinimum) {
  tax::CarneRow row;
  row.at(tax::kFromIndividuals, 3) = Dec("6000.00");
  row.at(tax::kDue, 3) = Dec("700.00");
  row.at(tax::kDue, 4) = Dec("8.00");
  src_.carne = {row};
  int written = 0;
  const std::string bytes =
      Set(Range(Kind::kCarneLeao, 2, 4, D(2019, 4, 30)), Paper::kContinuous, 1, 0, &written);
  EXPECT_EQ(written, 2);  // February has nothing due
  testing::ExpectGolden("continuous_carne.txt", bytes);
}

TEST_F(SlipTest, PreprintedDonationMovedDown) {
  src_.payments = {{"Fundo Nacional da Crianca", "00000000000191", 39, Dec("300.00"), Dec("0")}};
  const std::string bytes =
      Set(Range(Kind::kChildrenFund, 1, 1, D(2020, 6, 10)), Paper::kPreprinted, 0, 3);
  testing::ExpectGolden("preprinted_donation.txt", bytes);
}

TEST_F(SlipTest, SecondSlipStartsAPageOnSheets) {
  for (Paper paper : {Paper::kBlankSheet, Paper::kPreprinted}) {
    const std::string bytes = Set(Range(Kind::kQuota, 1, 2, D(2020, 6, 30)), paper, 1);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), print::kFormFeed), 1);
  }
  const std::string forms = Set(Range(Kind::kQuota, 1, 2, D(2020, 6, 30)), Paper::kContinuous, 1);
  EXPECT_EQ(std::count(forms.begin(), forms.end(), print::kFormFeed), 0);
}

TEST_F(SlipTest, ZeroPrincipalWritesNothing) {
  const std::string bytes = Printed([](print::PrintOutput& out) {
    SlipWriter writer(out, Paper::kBlankSheet, 2);
    Darf d = testing::HolderDarf(Kind::kFree, D(2020, 7, 1));
    EXPECT_FALSE(writer.Write(d));
  });
  EXPECT_EQ(bytes, "");
}

TEST(CopiesTest, AtLeastTwoOnSheetsAndOneOnForms) {
  struct Case {
    Paper paper;
    int nro_vias, copies;
  } cases[] = {{Paper::kBlankSheet, 0, 2}, {Paper::kBlankSheet, 3, 3}, {Paper::kPreprinted, 1, 2},
               {Paper::kContinuous, 1, 1}, {Paper::kContinuous, 3, 3}, {Paper::kContinuous, 0, 1}};
  for (const Case& c : cases) EXPECT_EQ(CopiesOf(c.paper, c.nro_vias), c.copies);
}

TEST(BatchTest, NoticeAndDispatchByPrinter) {
  EXPECT_TRUE(SharedSheetNotice("NAO DOS", 1, Kind::kQuota).empty());
  EXPECT_TRUE(SharedSheetNotice("NAO DOS", 2, Kind::kCarneLeao).empty());
  EXPECT_TRUE(SharedSheetNotice("HP_LaserJet", 2, Kind::kQuota).empty());
  EXPECT_EQ(SharedSheetNotice("Sem Impressora", 2, Kind::kQuota),
            (std::vector<std::string>{"Usando a impressora \"Sem Impressora\" todos Darfs serão ",
                                      "impressos juntos em uma única folha. Para imprimir ",
                                      "os Darfs individuais troque para uma impressora PDF."}));
  EXPECT_TRUE(DispatchesEachTaxpayer("Arquivo PDF"));
  EXPECT_TRUE(DispatchesEachTaxpayer("cups-pdf"));
  EXPECT_FALSE(DispatchesEachTaxpayer("NAO DOS"));
  EXPECT_TRUE(PrintsInBatch(Kind::kLateFilingFine, "S"));
  EXPECT_FALSE(PrintsInBatch(Kind::kQuota, "S"));
}

}  // namespace
}  // namespace dodu::darf
