#include "platform/paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory_env.h"
#include "platform/testutil.h"

namespace dodu::platform {
namespace {

PathMap SampleMap() {
  auto map = PathMap::Parse("C=/srv/c;d=/mnt/d/;X=/mnt/d/sub");
  EXPECT_TRUE(map.ok()) << map.status().ToString();
  return *map;
}

struct NativeCase {
  const char* system;
  const char* native;  // nullptr: an error is expected
};

TEST(PathMapTest, ToNative) {
  const NativeCase cases[] = {
      {"C:\\KEVA2019\\", "/srv/c/KEVA2019"},
      {"C:\\KEVA2019", "/srv/c/KEVA2019"},
      {"c:\\keva2019\\Imp0920.dbf", "/srv/c/keva2019/Imp0920.dbf"},
      {"C:", "/srv/c"},
      {"C:\\", "/srv/c"},
      {"C:KEVA", "/srv/c/KEVA"},
      {"D:\\DADOS\\2020\\", "/mnt/d/DADOS/2020"},
      {"d:/dados//2020/", "/mnt/d/dados/2020"},
      {"C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF2020", "/srv/c/ARQUIVOS DE PROGRAMAS RFB/IRPF2020"},
      {"\\KEVA2019\\IMP0920.DBF", "/srv/c/KEVA2019/IMP0920.DBF"},
      {"C:\\KEVA\\.\\SUB\\..\\IMP.DBF", "/srv/c/KEVA/IMP.DBF"},
      // ".." never leaves the drive's mount point.
      {"C:\\..\\..\\etc\\passwd", "/srv/c/etc/passwd"},
      {"KEVA\\IMP0920.DBF", "KEVA/IMP0920.DBF"},
      {"IMP0920.DBF", "IMP0920.DBF"},
      {"..\\OUTRA", "../OUTRA"},
      {".\\", "."},
      // POSIX paths stay as they are, only tidied.
      {"/srv/c/KEVA2019/", "/srv/c/KEVA2019"},
      {"/srv//c/x", "/srv/c/x"},
      {"/srv/c/KEVA2019\\IMP0920.DBF", "/srv/c/KEVA2019/IMP0920.DBF"},
      {"/srv/c/KEVA2019\\", "/srv/c/KEVA2019"},
      {"/", "/"},
      {"E:\\DADOS", nullptr},          // unmapped drive
      {"\\\\server\\share", nullptr},  // network share names
      {"", nullptr},
  };
  PathMap map = SampleMap();
  for (const auto& c : cases) {
    auto got = map.ToNative(c.system);
    if (c.native == nullptr) {
      EXPECT_FALSE(got.ok()) << c.system << " gave " << (got.ok() ? *got : "");
    } else {
      ASSERT_TRUE(got.ok()) << c.system << ": " << got.status().ToString();
      EXPECT_EQ(*got, c.native) << c.system;
    }
  }
  EXPECT_TRUE(map.ToNative("E:\\X").status().IsNotFound());
}

TEST(PathMapTest, ToSystemUsesTheLongestMountPoint) {
  const std::pair<const char*, const char*> cases[] = {
      {"/srv/c/KEVA2019/IMP0920.DBF", "C:\\KEVA2019\\IMP0920.DBF"},
      {"/srv/c", "C:\\"},
      {"/srv/c/", "C:\\"},
      {"/mnt/d/DADOS", "D:\\DADOS"},
      {"/mnt/d/sub/x", "X:\\x"},
      {"/mnt/d/subway", "D:\\subway"},  // a mount point is matched whole
      {"/srv/cc/x", "/srv/cc/x"},       // under no drive: unchanged
      {"relative/x", "relative/x"},
  };
  PathMap map = SampleMap();
  for (const auto& [native, system] : cases) EXPECT_EQ(map.ToSystem(native), system) << native;
  // With the default map every absolute path lies on C:.
  EXPECT_EQ(PathMap().ToSystem("/home/dodu/KEVA"), "C:\\home\\dodu\\KEVA");
}

TEST(PathMapTest, RoundTripThroughNative) {
  PathMap map = SampleMap();
  for (const char* system : {"C:\\KEVA2019", "D:\\DADOS\\2020", "X:\\y"}) {
    auto native = map.ToNative(system);
    ASSERT_OK(native);
    EXPECT_EQ(map.ToSystem(*native), system);
  }
}

TEST(PathMapTest, ParseAndEnvironment) {
  auto def = PathMap::Parse("");
  ASSERT_OK(def);
  EXPECT_EQ(def->DriveRoot('C'), "/");
  EXPECT_EQ(def->DriveRoot('D'), std::nullopt);

  // Naming other drives keeps C: at "/"; a blank around entries is allowed.
  auto only_d = PathMap::Parse(" D=/mnt/d ; ");
  ASSERT_OK(only_d);
  EXPECT_EQ(only_d->DriveRoot('c'), "/");
  EXPECT_EQ(only_d->DriveRoot('d'), "/mnt/d");

  for (const char* bad : {"C", "C=", "C=relative", "1=/x", "CD=/x", "C:/x"}) {
    auto r = PathMap::Parse(bad);
    EXPECT_FALSE(r.ok()) << bad;
    if (!r.ok()) {
      EXPECT_EQ(r.status().code(), StatusCode::kInvalid) << bad;
    }
  }

  MemoryEnv env;
  auto unset = PathMap::FromEnv(env);
  ASSERT_OK(unset);
  EXPECT_EQ(unset->DriveRoot('C'), "/");
  env.SetEnv(kDrivesVariable, "C=/srv/c");
  auto set = PathMap::FromEnv(env);
  ASSERT_OK(set);
  EXPECT_EQ(*set->ToNative("C:\\KEVA2019\\"), "/srv/c/KEVA2019");
}

TEST(PathMapTest, CurrentDriveServesRootedNames) {
  PathMap map = SampleMap();
  map.set_current_drive('d');
  EXPECT_EQ(map.current_drive(), 'D');
  EXPECT_EQ(*map.ToNative("\\DADOS"), "/mnt/d/DADOS");
}

TEST(PathsTest, SameFolder) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  };
  const Case cases[] = {
      {"C:\\KEVA2019\\", "c:\\keva2019", true}, {"C:\\KEVA2019", "C:/KEVA2019/", true},
      {"C:\\\\KEVA2019", "C:\\KEVA2019", true}, {"C:\\DECLARAÇÕES", "c:\\declarações", true},
      {"C:\\KEVA2019", "C:\\KEVA2020", false},  {"C:\\KEVA2019", "D:\\KEVA2019", false},
      {"C:\\KEVA", "C:\\KEVA2019", false},
  };
  for (const auto& c : cases) EXPECT_EQ(SameFolder(c.a, c.b), c.same) << c.a << " vs " << c.b;

  // Through the map a system name and a POSIX one may denote one folder.
  PathMap map = SampleMap();
  EXPECT_TRUE(map.SameFolder("C:\\KEVA2019\\", "/srv/c/keva2019"));
  EXPECT_TRUE(map.SameFolder("X:\\A", "/mnt/d/sub/a/"));
  EXPECT_FALSE(map.SameFolder("C:\\KEVA2019", "/mnt/d/KEVA2019"));
}

TEST(PathsTest, FoldCaseCoversLatinLettersOnly) {
  EXPECT_EQ(FoldCase("imp0920.dbf"), "IMP0920.DBF");
  EXPECT_EQ(FoldCase("ação ÿ ÷"), "AÇÃO ÿ ÷");  // ÿ has no one-byte upper case; ÷ is no letter
  EXPECT_TRUE(EqualsIgnoreCase("Declarações", "DECLARAÇÕES"));
  EXPECT_FALSE(EqualsIgnoreCase("IMP0920", "IMP0920 "));
}

TEST(PathsTest, JoinParentBase) {
  EXPECT_EQ(JoinPath("/srv/c", "IMP.DBF"), "/srv/c/IMP.DBF");
  EXPECT_EQ(JoinPath("/srv/c/", "/IMP.DBF"), "/srv/c/IMP.DBF");
  EXPECT_EQ(JoinPath("/", "x"), "/x");
  EXPECT_EQ(JoinPath("", "x"), "x");
  EXPECT_EQ(ParentPath("/srv/c/IMP.DBF"), "/srv/c");
  EXPECT_EQ(ParentPath("/IMP.DBF"), "/");
  EXPECT_EQ(ParentPath("IMP.DBF"), "");
  EXPECT_EQ(ParentPath("/srv/c/"), "/srv");
  EXPECT_EQ(BaseName("/srv/c/IMP.DBF"), "IMP.DBF");
  EXPECT_EQ(BaseName("/srv/c/"), "c");
  EXPECT_EQ(BaseName("/"), "");
}

TEST(PathsTest, GlobMatch) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"*.DBF", "IMP0920.DBF", true},
      {"*.DBF", "imp0920.dbf", true},
      {"*.DBF", "IMP0920.CDX", false},
      {"*.DBF", "IMP0920.DBF.BAK", false},
      {"IMP??20.*", "IMP0920.DBF", true},
      {"IMP??20.*", "imp1120.cdx", true},
      {"IMP??20.*", "IMP920.DBF", false},
      {"IMP??20.*", "IMP09200.DBF", false},
      {"*.DEC", "12345678901-IRPF-A-2020-2019-ORIGI.DEC", true},
      {"*.DEC", "x.dec~", false},
      {"*.*", "LEIAME", true},  // as DOS: every name
      {"*", "LEIAME", true},
      {"*", "", true},
      {"?", "Ç", true},  // one character, two bytes
      {"??", "Ç", false},
      {"A*B*C", "AxxBxxBxC", true},
      {"A*B*C", "AxxBxxBxD", false},
      {"DIRET??.DBF", "DIRET01.DBF", true},
      {"", "", true},
      {"", "X", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GlobMatch(c.pattern, c.name), c.match) << c.pattern << " ~ " << c.name;
}

class ResolveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_OK(env_.PutFile("/srv/c/KEVA2019/IMP0920.DBF", "a"));
    ASSERT_OK(env_.PutFile("/srv/c/KEVA2019/imp0120.dbf", "b"));
    ASSERT_OK(env_.PutFile("/srv/c/KEVA2019/Imp0220.Dbf", "c"));
    ASSERT_OK(env_.PutFile("/srv/c/Dados/2020/imp0920.dbf", "d"));
    ASSERT_OK(env_.PutFile("/srv/c/Dados/2020/IMP0920.CDX", "e"));
    // Two case-variants made outside the system: the exact name wins, else byte order.
    ASSERT_OK(env_.PutFile("/srv/c/TWIN/config.dbf", "lower"));
    ASSERT_OK(env_.PutFile("/srv/c/TWIN/CONFIG.DBF", "upper"));
    ASSERT_OK(env_.PutFile("/srv/c/afile", "f"));
  }
  MemoryEnv env_;
};

TEST_F(ResolveTest, ResolvesExistingNamesWithoutCase) {
  struct Case {
    const char* asked;
    const char* found;  // nullptr: kNotFound
  };
  const Case cases[] = {
      {"/srv/c/KEVA2019/IMP0920.DBF", "/srv/c/KEVA2019/IMP0920.DBF"},
      {"/srv/c/keva2019/Imp0920.dbf", "/srv/c/KEVA2019/IMP0920.DBF"},
      {"/srv/c/KEVA2019/IMP0120.DBF", "/srv/c/KEVA2019/imp0120.dbf"},
      {"/SRV/C/KEVA2019/IMP0220.DBF", "/srv/c/KEVA2019/Imp0220.Dbf"},
      {"/srv/c/DADOS/2020/IMP0920.DBF", "/srv/c/Dados/2020/imp0920.dbf"},
      {"/srv/c/dados/2020", "/srv/c/Dados/2020"},
      {"/srv/c/dados/2020/", "/srv/c/Dados/2020"},
      {"/srv/c/TWIN/CONFIG.DBF", "/srv/c/TWIN/CONFIG.DBF"},
      {"/srv/c/TWIN/config.dbf", "/srv/c/TWIN/config.dbf"},
      {"/srv/c/TWIN/Config.Dbf", "/srv/c/TWIN/CONFIG.DBF"},  // byte order: 'C' < 'c'
      {"/srv/c/KEVA2019/IMP0320.DBF", nullptr},
      {"/srv/c/NADA/IMP0920.DBF", nullptr},
      {"/srv/c/AFILE/x", nullptr},  // a file is no folder
      {"", nullptr},
  };
  for (const auto& c : cases) {
    auto got = ResolveExisting(env_, c.asked);
    if (c.found == nullptr) {
      EXPECT_TRUE(got.status().IsNotFound()) << c.asked << " -> " << (got.ok() ? *got : "");
    } else {
      ASSERT_TRUE(got.ok()) << c.asked << ": " << got.status().ToString();
      EXPECT_EQ(*got, c.found) << c.asked;
    }
  }
}

TEST_F(ResolveTest, SystemNameThroughTheMap) {
  auto map = PathMap::Parse("C=/srv/c");
  ASSERT_OK(map);
  auto native = map->ToNative("C:\\keva2019\\Imp0920.dbf");
  ASSERT_OK(native);
  auto found = ResolveExisting(env_, *native);
  ASSERT_OK(found);
  EXPECT_EQ(*found, "/srv/c/KEVA2019/IMP0920.DBF");
}

TEST_F(ResolveTest, CreatingNeverAddsASecondCaseVariant) {
  // Creating "IMP0120.DBF" must reuse "imp0120.dbf" rather than make a twin.
  auto file = OpenResolved(env_, "/srv/c/keva2019/IMP0120.DBF", OpenMode::kTruncate);
  ASSERT_OK(file);
  EXPECT_EQ((*file)->path(), "/srv/c/KEVA2019/imp0120.dbf");
  const std::string data = "new";
  ASSERT_OK((*file)->WriteAt(0, std::as_bytes(std::span(data))));
  file->reset();
  auto list = env_.ListDir("/srv/c/KEVA2019");
  ASSERT_OK(list);
  std::vector<std::string> names;
  for (const auto& e : *list) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"IMP0920.DBF", "Imp0220.Dbf", "imp0120.dbf"}));
  EXPECT_EQ(*ReadWholeFile(env_, "/srv/c/KEVA2019/imp0120.dbf"), "new");

  // A name with no variant is created as given, in the folder's real case.
  auto fresh = ResolveForCreate(env_, "/srv/c/KEVA2019/NovoArq.TXT");
  ASSERT_OK(fresh);
  EXPECT_EQ(*fresh, "/srv/c/KEVA2019/NovoArq.TXT");
  auto in_variant_folder = ResolveForCreate(env_, "/srv/c/DADOS/2020/IMP0920.FPT");
  ASSERT_OK(in_variant_folder);
  EXPECT_EQ(*in_variant_folder, "/srv/c/Dados/2020/IMP0920.FPT");

  // kCreateNew refuses when a case-variant exists.
  auto again = OpenResolved(env_, "/srv/c/KEVA2019/IMP0120.DBF", OpenMode::kCreateNew);
  EXPECT_EQ(again.status().code(), StatusCode::kInvalid);

  EXPECT_TRUE(ResolveForCreate(env_, "/srv/c/NADA/X.DBF").status().IsNotFound());
  EXPECT_EQ(ResolveForCreate(env_, "/").status().code(), StatusCode::kInvalid);
}

TEST_F(ResolveTest, ReadModesNeedAnExistingFile) {
  auto missing = OpenResolved(env_, "/srv/c/KEVA2019/IMP0320.DBF", OpenMode::kRead);
  EXPECT_TRUE(missing.status().IsNotFound());
  auto found = OpenResolved(env_, "/srv/c/KEVA2019/imp0920.DBF", OpenMode::kReadWrite);
  ASSERT_OK(found);
  EXPECT_EQ((*found)->path(), "/srv/c/KEVA2019/IMP0920.DBF");
}

TEST_F(ResolveTest, GlobIsCaseInsensitiveAndSortedWithoutCase) {
  auto dbf = Glob(env_, "/srv/c/keva2019", "*.DBF");
  ASSERT_OK(dbf);
  std::vector<std::string> names;
  for (const auto& e : *dbf) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"imp0120.dbf", "Imp0220.Dbf", "IMP0920.DBF"}));

  auto twins = Glob(env_, "/srv/c/TWIN", "config.*");
  ASSERT_OK(twins);
  ASSERT_EQ(twins->size(), 2u);
  EXPECT_EQ((*twins)[0].name, "CONFIG.DBF");  // equal without case: byte order decides
  EXPECT_EQ((*twins)[1].name, "config.dbf");

  auto dirs = Glob(env_, "/srv/c", "*");
  ASSERT_OK(dirs);
  names.clear();
  for (const auto& e : *dirs) names.push_back(e.name + (e.is_dir ? "/" : ""));
  EXPECT_EQ(names, (std::vector<std::string>{"afile", "Dados/", "KEVA2019/", "TWIN/"}));

  EXPECT_TRUE(Glob(env_, "/srv/c/NADA", "*").status().IsNotFound());
}

TEST(PathsPosixTest, ResolvesOnTheRealDisk) {
  dodu::testing::TempDir dir;
  auto env = NewPosixEnv();
  ASSERT_OK(env->CreateDir(dir / "KEVA2019"));
  {
    auto f = env->Open(dir / "KEVA2019/IMP0920.DBF", OpenMode::kCreate);
    ASSERT_OK(f);
  }
  auto found = ResolveExisting(*env, dir / "keva2019/imp0920.dbf");
  ASSERT_OK(found);
  EXPECT_EQ(*found, dir / "KEVA2019/IMP0920.DBF");
  auto created = OpenResolved(*env, dir / "Keva2019/Imp0920.Dbf", OpenMode::kCreate);
  ASSERT_OK(created);
  auto list = env->ListDir(dir / "KEVA2019");
  ASSERT_OK(list);
  EXPECT_EQ(list->size(), 1u);
}

}  // namespace
}  // namespace dodu::platform
