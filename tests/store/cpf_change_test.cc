// The CPF change across the declaration tables: all or none.
#include "store/cpf_change.h"

#include <gtest/gtest.h>

#include "core/ids.h"
#include "store/maintenance_messages.h"
#include "store/maintenance_testutil.h"
#include "store/upgrade.h"

namespace dodu::store {
namespace {

using testing::AppendTo;
using testing::ExpectIndexFresh;

std::string ValidCpf(const std::string& base9) { return base9 + *core::CpfDigits(base9); }

class CpfChangeTest : public testing::OpenerFixture {
 protected:
  CpfChangeTest() : old_cpf(ValidCpf("111444777")), new_cpf(ValidCpf("529982247")) {}

  std::string Path(int n) { return "/data/" + TableFileName(*FindTable(n), ctx.names()) + ".DBF"; }
  // One record of `cpf` in every table 01..21 (two in 21) and one of another.
  void Fill() {
    {
      WorkAreas a;
      for (int n = 1; n <= 21; ++n) OPENER_ASSERT_OK(ABERTURA(ctx, a, n));
    }
    for (int n = 1; n <= 21; ++n) {
      AppendTo(env, Path(n), {{"CPF", old_cpf}});
      AppendTo(env, Path(n), {{"CPF", "00000000191"}});
    }
    AppendTo(env, Path(21), {{"CPF", old_cpf}, {"COD_CONTA", "7"}});
    // Index files made to agree with the records written behind the opener.
    WorkAreas a;
    for (int n = 1; n <= 21; ++n) OPENER_ASSERT_OK(ABERTURA(ctx, a, n));
  }
  int CountOf(int n, const std::string& cpf) {
    int c = 0;
    for (const std::string& img : testing::RecordImages(env, Path(n))) c += img.substr(1, 11) == cpf;
    return c;
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (const auto& b : sink.boxes) out.push_back(b.lines.empty() ? "" : b.lines[0]);
    return out;
  }

  std::string old_cpf, new_cpf;
  WorkAreas areas;
};

TEST_F(CpfChangeTest, ChangesEveryTableTheRuralAccountsIncluded) {
  // Fault: table 21 (the rural bank accounts) was never changed and kept the
  // old CPF, so the declaration lost its accounts.
  Fill();
  Result<CpfChangeResult> r = ChangeCpf(ctx, areas, old_cpf, new_cpf);
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->outcome, CpfChangeOutcome::kChanged);
  EXPECT_EQ(r->records, 22);
  for (int n = 1; n <= 21; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(CountOf(n, old_cpf), 0);
    EXPECT_EQ(CountOf(n, new_cpf), n == 21 ? 2 : 1);
    EXPECT_EQ(CountOf(n, "00000000191"), 1);
  }
  EXPECT_EQ(Texts(), std::vector<std::string>{"Pronto. CPF Trocado!"});
  areas.CloseAll();
  for (int n = 1; n <= 21; ++n) {
    const TableDef* def = FindTable(n);
    for (const IndexFile& f : CatalogueIndexFiles(ctx, *def, Path(n))) {
      ExpectIndexFresh(env, Path(n), f.path, f.expression);
    }
  }
}

TEST_F(CpfChangeTest, OneBusyTableChangesNothing) {
  // Fault: the register was changed first and tables another station held
  // were passed over in silence, leaving the declaration split over two CPFs
  // while the box said "Pronto. CPF Trocado!".
  Fill();
  Result<std::unique_ptr<Table>> other = Table::Open(env, Path(13), Sharing::kShared);
  ASSERT_TRUE(other.ok());
  Result<CpfChangeResult> r = ChangeCpf(ctx, areas, old_cpf, new_cpf);
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->outcome, CpfChangeOutcome::kBusy);
  EXPECT_EQ(r->busy_table, "IMP1320");
  for (int n = 1; n <= 21; ++n) EXPECT_EQ(CountOf(n, new_cpf), 0) << n;
  for (const std::string& t : Texts()) EXPECT_NE(t, msg::CpfChanged());
  // The register record is free again for the next try.
  other->reset();
  r = ChangeCpf(ctx, areas, old_cpf, new_cpf);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->outcome, CpfChangeOutcome::kChanged);
}

TEST_F(CpfChangeTest, RefusesWhatCannotBeChanged) {
  Fill();
  const std::string third = ValidCpf("123456789");
  AppendTo(env, Path(9), {{"CPF", third}});
  struct Case {
    std::string from, to;
    CpfChangeOutcome want;
    std::string box;
  } cases[] = {
      {old_cpf, third, CpfChangeOutcome::kNewExists, msg::NewCpfExists()},
      {ValidCpf("987654321"), new_cpf, CpfChangeOutcome::kOldNotFound, msg::OldCpfNotFound()},
      {old_cpf, "52998224700", CpfChangeOutcome::kInvalidNew, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    sink.boxes.clear();
    Result<CpfChangeResult> r = ChangeCpf(ctx, areas, c.from, c.to);
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    EXPECT_EQ(r->outcome, c.want);
    ASSERT_EQ(sink.boxes.size(), 1u);
    if (!c.box.empty()) {
      EXPECT_EQ(sink.boxes[0].lines[0], c.box);
    }
  }
  EXPECT_EQ(CountOf(2, old_cpf), 1);
}

TEST_F(CpfChangeTest, DeclarationOpenOnARunningStationIsNotChanged) {
  Fill();
  {
    Result<std::unique_ptr<Table>> t = Table::Open(env, Path(9), Sharing::kExclusive);
    ASSERT_TRUE(t.ok());
    Record r = *(*t)->Read(RecNo{1});
    ASSERT_TRUE(r.PutText("NUSUAT", "03").ok());
    ASSERT_TRUE((*t)->Write(RecNo{1}, r).ok());
  }
  OpenerContext other(env, sink, wait);
  other.terminal = "03";
  other.installation_folder = "/inst";
  WorkAreas other_areas;
  OPENER_ASSERT_OK(ABERTURA(other, other_areas, 50));
  Result<CpfChangeResult> r = ChangeCpf(ctx, areas, old_cpf, new_cpf);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->outcome, CpfChangeOutcome::kOpenElsewhere);
  EXPECT_EQ(CountOf(9, old_cpf), 1);
  // Once terminal 03 has stopped, its NUSUAT no longer blocks.
  other_areas.CloseAll();
  r = ChangeCpf(ctx, areas, old_cpf, new_cpf);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->outcome, CpfChangeOutcome::kChanged);
}

}  // namespace
}  // namespace dodu::store
