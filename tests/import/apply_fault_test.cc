// A write that fails anywhere in an import leaves the taxpayer as it was
// before, in every table, or as the file says, in every table; never a mix.
#include "import/import_file.h"
#include "import/store_fixture.h"
#include "import/testutil.h"
#include "platform/fault_env.h"
#include "store/opener.h"

namespace dodu::import {
namespace {

using testing::kCpf;
using testing::Rec;

Rec Asset(std::string_view text) {
  Rec r(std::string_view("27"), 1110, kCpf, ' ');
  r.Num(14, 2, 11).Put(16, "0").Put(17, "105").Text(20, 512, text).Cents(532, 100).Cents(545, 200);
  return r;
}

Rec Payment(std::string_view name) {
  Rec r(std::string_view("26"), 156, kCpf, ' ');
  r.Num(14, 2, 10).Text(35, 50, name).Cents(106, 5000);
  return r;
}

std::string Declaration(const std::vector<Rec>& body) {
  std::vector<Rec> recs = {testing::Header(2020), testing::Identification()};
  recs.insert(recs.end(), body.begin(), body.end());
  recs.push_back(testing::End());
  return testing::File(recs);
}

class ApplyFaultTest : public testing::StoreFixture {
 protected:
  // The first letters of the taxpayer's asset descriptions and payees, read
  // after an exclusive open (which rolls back an interrupted replacement).
  std::string State() {
    std::string out;
    store::WorkAreas fresh;
    for (auto [table, field] : {std::pair{4, "I7_2"}, std::pair{6, "I6_1"}}) {
      if (!store::ABERTURA(ctx, fresh, table, true).ok()) return "<open failed>";
      store::WorkArea& a = *fresh.Get(table);
      (void)a.SetOrder(1);
      Result<bool> hit = a.Seek(kCpf);
      out += "|";
      while (hit.ok() && *hit && !a.eof()) {
        Result<store::Record> r = a.Current();
        if (!r.ok() || r->GetTrimmed("CPF").value_or("") != kCpf) break;
        out += r->GetTrimmed(field).value_or("?").substr(0, 2) + " ";
        if (!a.Skip(1).ok()) break;
      }
      fresh.Close(table);
    }
    return out;
  }
};

TEST_F(ApplyFaultTest, FailedWriteLeavesOldOrNewNeverAMix) {
  WriteFile("/src/OLD.DEC", Declaration({Payment("P1"), Asset("A1"), Asset("A2")}));
  WriteFile("/src/NEW.DEC",
            Declaration({Payment("Q1"), Payment("Q2"), Asset("B1"), Asset("B2"), Asset("B3")}));
  ASSERT_TRUE(ImportFile(ctx, areas, "/src/OLD.DEC", ImportMode::kWhole, {}).ok());
  areas.CloseAll();
  const std::string old_state = State();
  ASSERT_EQ(old_state, "|A1 A2 |P1 ");
  const std::string new_state = "|B1 B2 B3 |Q1 Q2 ";
  bool finished = false;
  for (int n = 1; n < 400 && !finished; ++n) {
    SCOPED_TRACE(n);
    ASSERT_TRUE(ImportFile(ctx, areas, "/src/OLD.DEC", ImportMode::kWhole, {}).ok());
    areas.CloseAll();
    platform::FaultEnv faulty(env);
    store::OpenerContext fctx(faulty, sink, wait);
    fctx.terminal = ctx.terminal;
    fctx.installation_folder = ctx.installation_folder;
    fctx.data_folder = ctx.data_folder;
    fctx.work_folder = ctx.work_folder;
    faulty.FailNth(platform::FaultEnv::Op::kWrite, n);
    {
      store::WorkAreas fareas;
      Result<ImportOutcome> r = ImportFile(fctx, fareas, "/src/NEW.DEC", ImportMode::kWhole, {});
      finished = r.ok() && faulty.count(platform::FaultEnv::Op::kWrite) < n;
      fareas.CloseAll();
      const std::string now = State();
      if (r.ok()) {
        EXPECT_EQ(now, new_state);
      } else {
        EXPECT_EQ(now, old_state) << r.status().ToString();
      }
    }
  }
  EXPECT_TRUE(finished) << "the import never ran without a failure";
}

}  // namespace
}  // namespace dodu::import
