#include "import/folder_settings.h"

#include "import/store_fixture.h"

namespace dodu::import {
namespace {

class FolderSettingsTest : public testing::StoreFixture {};

TEST_F(FolderSettingsTest, DefaultsAndWhatIsStoredByMenuCode) {
  // A terminal without a settings record: the official folder for codes 4, 6,
  // 7 and 8, the (empty) previous origin for the others.
  Result<ImportFolders> fresh = ReadImportFolders(ctx, areas, 7);
  ASSERT_TRUE(fresh.ok()) << fresh.status().ToString();
  EXPECT_EQ(fresh->origin, kOfficialSavedFolder);
  EXPECT_EQ(ReadImportFolders(ctx, areas, 3)->origin, "");

  ASSERT_TRUE(
      StoreImportFolders(ctx, areas, 3, {"C:\\ORIGEM\\", "C:\\DESTINO\\", "C:\\INST"}).ok());
  ASSERT_TRUE(StoreImportFolders(ctx, areas, 6, {"C:\\PROV\\", "C:\\DEST2\\", "C:\\INST\\"}).ok());
  struct Case {
    int menu_code;
    const char* origin;
  } cases[] = {{3, "C:\\ORIGEM\\"}, {5, "C:\\ORIGEM\\"}, {4, "C:\\PROV\\"}, {8, "C:\\PROV\\"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.menu_code);
    Result<ImportFolders> f = ReadImportFolders(ctx, areas, c.menu_code);
    ASSERT_TRUE(f.ok());
    EXPECT_EQ(f->origin, c.origin);
    EXPECT_EQ(f->installation, "C:\\INST\\");
  }
}

}  // namespace
}  // namespace dodu::import
