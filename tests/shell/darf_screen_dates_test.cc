#include "shell/darf_screen_dates.h"

#include <gtest/gtest.h>

#include "platform/memory_env.h"
#include "platform/message_sink.h"
#include "platform/testutil.h"
#include "shell/station.h"
#include "shell/testutil.h"
#include "store/opener.h"

namespace dodu::shell {
namespace {

core::Date D(int y, int m, int d) { return *core::Date::FromYmd(y, m, d); }

DarfDates NewDates() {
  DarfDates d;
  for (int i = 0; i < 8; ++i) d.due[i] = D(2020, 7, 15).AddDays(30 * i);
  d.dollar = *core::Decimal::Parse("5.1234");
  return d;
}

TEST(DarfDatesTest, WrittenToTheInstallationRecordAndKeptForTheRun) {
  platform::MemoryEnv env;
  ASSERT_OK(env.CreateDir("/inst"));
  platform::RecordingSink sink;
  store::RecordingWaitObserver wait;
  store::OpenerContext ctx(env, sink, wait);
  ctx.installation_folder = ctx.data_folder = ctx.work_folder = "/inst";
  store::WorkAreas areas;
  ASSERT_OK(store::ABERTURA(ctx, areas, 43));
  ASSERT_OK(AppendFields(ctx, *areas.Get(43), DefineDefaults()));
  areas.Close(43);

  InstallationSettings run;
  StationTables tables(ctx, areas);
  ASSERT_OK(SaveDarfDates(tables, run, NewDates()));
  EXPECT_EQ(DarfDatesOf(run), NewDates());
  EXPECT_EQ(run.cvaldolar, "5.1234");

  ASSERT_OK(store::ABERTURA(ctx, areas, 43));
  ASSERT_OK(areas.Get(43)->Top());
  auto record = areas.Get(43)->Current();
  ASSERT_OK(record);
  EXPECT_EQ(DarfDatesOf(ReadInstallationSettings(RecordFields(*record))), NewDates());
}

class RefusingTables : public testing::RecordingTables {
 public:
  Status WriteDefine(const FieldValues&) override { return Status::Locked("DEFINE record 1"); }
};

TEST(DarfDatesTest, RefusedLockKeepsTheDatesForThisRunOnly) {
  RefusingTables tables;
  InstallationSettings run;
  EXPECT_EQ(SaveDarfDates(tables, run, NewDates()).code(), StatusCode::kLocked);
  EXPECT_EQ(DarfDatesOf(run), NewDates());
}

TEST(DarfDatesTest, WindowLabels) {
  EXPECT_EQ(QuotaDateLabel(1), "1a quota");
  EXPECT_EQ(QuotaDateLabel(8), "8a quota");
}

}  // namespace
}  // namespace dodu::shell
