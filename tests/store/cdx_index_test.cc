#include "store/cdx_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/memory_env.h"
#include "platform/testutil.h"
#include "store/key_expr.h"

namespace dodu::store {
namespace {

using platform::Env;

const Layout kLayout = {{"CPF", FieldType::kChar, 11, 0},
                        {"NOMECONTR", FieldType::kChar, 53, 0},
                        {"VALOR", FieldType::kNumeric, 12, 2},
                        {"COD", FieldType::kChar, 5, 0}};

KeyExpr Expr(const std::string& text) {
  auto e = KeyExpr::Compile(text, kLayout);
  EXPECT_TRUE(e.ok()) << e.status().ToString();
  return std::move(e).value();
}

std::string Pad(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

// Random keys of one kind: CPF digits, names with shared prefixes, amounts.
std::string RandomKey(const KeyExpr& e, std::mt19937& rng) {
  if (e.type() == KeyType::kNumeric) {
    int64_t cents = static_cast<int64_t>(rng() % 2000001) - 1000000;
    return NumericKeyFromInt(cents / 100 + (cents % 7 == 0 ? 0 : 1));
  }
  static const char* kNames[] = {"MARIA", "MARIA DA SILVA", "JOSE", "JOAO", "ANA", "ANTONIO", "FRANCISCO"};
  if (e.length() == 53) {
    std::string s = std::string(kNames[rng() % 7]) + " " + std::to_string(rng() % 5000);
    return Pad(s, 53);
  }
  std::string s;
  for (int i = 0; i < e.length(); ++i) s.push_back(static_cast<char>('0' + rng() % 10));
  if (rng() % 10 == 0) s.replace(s.size() - 3, 3, "   ");
  return s;
}

std::vector<CdxEntry> Sorted(std::vector<CdxEntry> v) {
  std::sort(v.begin(), v.end(), [](const CdxEntry& a, const CdxEntry& b) {
    return a.key != b.key ? a.key < b.key : a.recno < b.recno;
  });
  return v;
}

class CdxIndexTest : public ::testing::Test {
 protected:
  void WriteFile(const std::string& path, std::string_view bytes) {
    auto f = env_->Open(path, platform::OpenMode::kTruncate);
    ASSERT_OK(f);
    ASSERT_OK((*f)->WriteAt(0, std::span<const std::byte>(reinterpret_cast<const std::byte*>(bytes.data()),
                                                          bytes.size())));
  }
  CdxIndex Build(const std::string& name, const KeyExpr& e, std::vector<CdxEntry> entries,
                 uint32_t gen = 1) {
    uint32_t count = 0;
    for (const auto& x : entries) count = std::max(count, x.recno);
    auto idx = CdxIndex::Create(*env_, dir_ / name, e, std::move(entries), gen, count);
    EXPECT_TRUE(idx.ok()) << idx.status().ToString();
    return std::move(idx).value();
  }
  std::vector<CdxEntry> All(CdxIndex& idx) {
    auto all = idx.ReadAll();
    EXPECT_TRUE(all.ok()) << all.status().ToString();
    return all.ok() ? *all : std::vector<CdxEntry>{};
  }
  // Cursor walks forward and backward must agree with the tree walk.
  void ExpectCursorWalks(CdxIndex& idx, const std::vector<CdxEntry>& want) {
    auto cur = idx.NewCursor();
    std::vector<CdxEntry> fwd, back;
    ASSERT_OK(cur.Top());
    while (!cur.eof()) {
      fwd.push_back({cur.key(), cur.recno()});
      ASSERT_OK(cur.Next());
    }
    EXPECT_EQ(fwd, want);
    ASSERT_OK(cur.Bottom());
    while (!cur.eof()) {
      back.push_back({cur.key(), cur.recno()});
      ASSERT_OK(cur.Prev());
      if (cur.bof()) break;
    }
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(back, want);
  }

  std::unique_ptr<Env> env_ = platform::NewPosixEnv();
  testing::TempDir dir_;
};

TEST_F(CdxIndexTest, EmptyIndexAndFirstInsert) {
  KeyExpr e = Expr("CPF");
  CdxIndex idx = Build("EMPTY.CDX", e, {});
  EXPECT_EQ(idx.tag(), "EMPTY");
  EXPECT_TRUE(All(idx).empty());
  auto cur = idx.NewCursor();
  ASSERT_OK(cur.Top());
  EXPECT_TRUE(cur.eof());
  auto f = cur.Seek("1", true);
  ASSERT_OK(f);
  EXPECT_FALSE(*f);
  EXPECT_TRUE(cur.eof());
  ASSERT_OK(idx.Insert("12345678901", 1));
  EXPECT_EQ(All(idx), (std::vector<CdxEntry>{{"12345678901", 1}}));
  EXPECT_EQ(idx.Insert("12345678901", 1).code(), StatusCode::kInvalid);
  EXPECT_EQ(idx.Insert("123", 2).code(), StatusCode::kInvalid);
  EXPECT_EQ(idx.Remove("12345678901", 2).code(), StatusCode::kNotFound);
  ASSERT_OK(idx.Remove("12345678901", 1));
  EXPECT_TRUE(All(idx).empty());
  ASSERT_OK(idx.Check());
}

struct KindCase {
  const char* expr;
};

class CdxKinds : public CdxIndexTest, public ::testing::WithParamInterface<KindCase> {};

// 3000+ keys give trees of three levels and more for each kind of key.
TEST_P(CdxKinds, BulkBuildEqualsIncrementalBuild) {
  KeyExpr e = Expr(GetParam().expr);
  std::mt19937 rng(7);
  std::vector<CdxEntry> entries;
  for (uint32_t r = 1; r <= 3500; ++r) entries.push_back({RandomKey(e, rng), r});
  CdxIndex bulk = Build("BULK.CDX", e, entries);
  ASSERT_OK(bulk.Check());
  std::vector<CdxEntry> want = Sorted(entries);
  EXPECT_EQ(All(bulk), want);

  CdxIndex inc = Build("INC.CDX", e, {});
  std::shuffle(entries.begin(), entries.end(), rng);
  for (const auto& x : entries) ASSERT_OK(inc.Insert(x.key, x.recno));
  ASSERT_OK(inc.Check());
  EXPECT_EQ(All(inc), want);
  EXPECT_EQ(inc.stamp().record_count, 3500u);
  ExpectCursorWalks(inc, want);

  // Reopened by name, as another station would.
  auto again = CdxIndex::Open(*env_, dir_ / "INC.CDX", kLayout);
  ASSERT_OK(again);
  EXPECT_EQ(again->expr().text(), GetParam().expr);
  EXPECT_EQ(All(*again), want);

  // Removing everything in random order shrinks the tree back to one leaf.
  std::shuffle(entries.begin(), entries.end(), rng);
  for (size_t i = 0; i < entries.size(); ++i) {
    ASSERT_OK(inc.Remove(entries[i].key, entries[i].recno));
    if (i % 500 == 0) ASSERT_OK(inc.Check());
  }
  EXPECT_TRUE(All(inc).empty());
  ASSERT_OK(inc.Check());
}

INSTANTIATE_TEST_SUITE_P(Keys, CdxKinds,
                         ::testing::Values(KindCase{"CPF"}, KindCase{"UPPER(NOMECONTR)"}, KindCase{"VALOR"}));

// 10,000 random appends, key changes, deletes and recalls (and removals of
// keys, as a pack drops records) leave the same index as a fresh bulk build.
TEST_F(CdxIndexTest, RandomChangesEqualAFreshBuild) {
  for (const char* text : {"CPF", "UPPER(NOMECONTR)", "VALOR"}) {
    SCOPED_TRACE(text);
    KeyExpr e = Expr(text);
    std::mt19937 rng(2020);
    std::map<uint32_t, std::string> table;  // recno -> key; deleted records keep theirs
    std::map<uint32_t, bool> deleted;
    uint32_t last = 0;
    CdxIndex idx = Build("RAND.CDX", e, {});
    for (int op = 0; op < 10000; ++op) {
      int what = static_cast<int>(rng() % 10);
      if (what < 4 || table.empty()) {
        std::string key = RandomKey(e, rng);
        table[++last] = key;
        ASSERT_OK(idx.Insert(key, last));
      } else if (what < 7) {
        auto it = std::next(table.begin(), static_cast<long>(rng() % table.size()));
        std::string key = rng() % 4 == 0 ? it->second : RandomKey(e, rng);
        ASSERT_OK(idx.Update(it->second, key, it->first));
        it->second = key;
      } else if (what < 9) {
        auto it = std::next(table.begin(), static_cast<long>(rng() % table.size()));
        deleted[it->first] = !deleted[it->first];  // delete / recall: keys stay
      } else {
        auto it = std::next(table.begin(), static_cast<long>(rng() % table.size()));
        ASSERT_OK(idx.Remove(it->second, it->first));
        table.erase(it);
      }
    }
    ASSERT_OK(idx.Check());
    std::vector<CdxEntry> entries;
    for (const auto& [r, k] : table) entries.push_back({k, r});
    CdxIndex fresh = Build("FRESH.CDX", e, entries);
    EXPECT_EQ(All(idx), All(fresh));
    EXPECT_EQ(All(idx), Sorted(entries));
    ExpectCursorWalks(idx, Sorted(entries));
    EXPECT_FALSE(idx.stamp().interrupted);
  }
}

struct SeekCase {
  const char* sought;
  bool soft;
  bool found;
  int recno;  // 0: eof
};

class CdxSeek : public CdxIndexTest, public ::testing::WithParamInterface<SeekCase> {};

TEST_P(CdxSeek, PositionsAsXbaseDoes) {
  KeyExpr e = Expr("COD");
  CdxIndex idx = Build("SEEK.CDX", e,
                       {{"AB   ", 4}, {"ABC  ", 2}, {"ABC  ", 1}, {"ABD  ", 3}, {"B    ", 5}, {"BA   ", 6},
                        {"\x80XY  ", 7}});
  const SeekCase& c = GetParam();
  auto cur = idx.NewCursor();
  auto found = cur.Seek(c.sought, c.soft);
  ASSERT_OK(found);
  EXPECT_EQ(*found, c.found);
  EXPECT_EQ(cur.found(), c.found);
  if (c.recno == 0) {
    EXPECT_TRUE(cur.eof());
  } else {
    ASSERT_FALSE(cur.eof());
    EXPECT_EQ(cur.recno(), static_cast<uint32_t>(c.recno));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CdxSeek,
    ::testing::Values(SeekCase{"ABC", false, true, 1},      // duplicates: lowest record first
                      SeekCase{"AB", false, true, 4},       // partial match
                      SeekCase{"AB ", false, true, 4},      // blanks count
                      SeekCase{"ABC  ", false, true, 1},    // whole key
                      SeekCase{"ABC    ", false, true, 1},  // longer, blank excess
                      SeekCase{"ABCD", false, false, 0},    // not found: eof
                      SeekCase{"ABCD", true, false, 3},     // soft: next greater key
                      SeekCase{"AA", true, false, 4},
                      SeekCase{"B", false, true, 5},
                      SeekCase{"BB", true, false, 7},       // code page 850 bytes sort high
                      SeekCase{"\x80", false, true, 7},
                      SeekCase{"\xFF", true, false, 0},     // soft past the end: eof
                      SeekCase{"", false, true, 4}));       // empty key: the first

TEST_F(CdxIndexTest, NumericSeekAndCursorMoves) {
  KeyExpr e = Expr("VALOR");
  std::vector<CdxEntry> entries;
  for (int v = -50; v <= 50; v += 5) entries.push_back({NumericKeyFromInt(v), static_cast<uint32_t>(v + 100)});
  CdxIndex idx = Build("NUM.CDX", e, entries);
  auto cur = idx.NewCursor();
  auto f = cur.Seek(NumericKeyFromInt(-5));
  ASSERT_OK(f);
  EXPECT_TRUE(*f);
  EXPECT_EQ(cur.recno(), 95u);
  f = cur.Seek(*NumericKeyFromText("-4.99"), true);
  EXPECT_FALSE(*f);
  EXPECT_EQ(cur.recno(), 100u);  // 0
  ASSERT_OK(cur.Prev());
  EXPECT_EQ(cur.recno(), 95u);
  ASSERT_OK(cur.Top());
  ASSERT_OK(cur.Prev());
  EXPECT_TRUE(cur.bof());
  EXPECT_EQ(cur.recno(), 50u);  // stays on the first
  ASSERT_OK(cur.Bottom());
  ASSERT_OK(cur.Next());
  EXPECT_TRUE(cur.eof());
  ASSERT_OK(cur.Next());
  EXPECT_TRUE(cur.eof());
  ASSERT_OK(cur.Prev());  // from eof: the last
  EXPECT_EQ(cur.recno(), 150u);
}

// A cursor whose index changed under it continues from its (key, recno).
TEST_F(CdxIndexTest, CursorFollowsChangesUnderIt) {
  KeyExpr e = Expr("CPF");
  std::vector<CdxEntry> entries;
  for (uint32_t r = 1; r <= 2000; ++r) entries.push_back({Pad(std::to_string(r * 10), 11), r});
  CdxIndex idx = Build("MOVE.CDX", e, entries);
  auto cur = idx.NewCursor();
  ASSERT_TRUE(*cur.Seek("1000"));
  EXPECT_EQ(cur.recno(), 100u);
  // Remove the current entry and the one after it; put one in between.
  ASSERT_OK(idx.Remove(Pad("1000", 11), 100));
  ASSERT_OK(idx.Remove(Pad("10000", 11), 1000));
  ASSERT_OK(idx.Insert(Pad("10000", 11), 5000));
  ASSERT_OK(cur.Next());
  EXPECT_EQ(cur.key(), Pad("10000", 11));
  EXPECT_EQ(cur.recno(), 5000u);
  ASSERT_OK(idx.Remove(Pad("10000", 11), 5000));
  ASSERT_OK(cur.Prev());
  EXPECT_EQ(cur.key(), Pad("100", 11));
  EXPECT_EQ(cur.recno(), 10u);
}

// Two stations: an append through one handle is found by seek through the other.
TEST_F(CdxIndexTest, SecondHandleSeesChangesWithoutReopening) {
  KeyExpr e = Expr("CPF");
  std::vector<CdxEntry> entries;
  for (uint32_t r = 1; r <= 1500; ++r) entries.push_back({Pad(std::to_string(100000 + r * 7), 11), r});
  CdxIndex a = Build("TWO.CDX", e, entries, 9);
  auto b = CdxIndex::Open(*env_, dir_ / "TWO.CDX", kLayout);
  ASSERT_OK(b);
  auto cur = b->NewCursor();
  ASSERT_FALSE(*cur.Seek("99999999999"));
  for (uint32_t r = 1501; r <= 1600; ++r) ASSERT_OK(a.Insert(Pad(std::to_string(200000 + r), 11), r));
  ASSERT_TRUE(*cur.Seek("201555"));
  EXPECT_EQ(cur.recno(), 1555u);
  ASSERT_OK(b->Refresh());
  EXPECT_EQ(b->stamp().record_count, 1600u);
  EXPECT_EQ(b->stamp().generation, 9u);
  ASSERT_OK(b->Insert(Pad("1", 11), 1601));
  auto ca = a.NewCursor();
  ASSERT_OK(ca.Top());
  EXPECT_EQ(ca.recno(), 1601u);
  EXPECT_EQ(All(a), All(*b));
}

// Two stations must not write their nodes into one index at the same time (two
// records changed under their own record locks): every change holds the index's
// own lock, and a reader waits for a change to end instead of reading half of it.
TEST(CdxIndexLock, ChangesAndReadsWaitForTheIndexLock) {
  platform::MemoryEnv env;  // its clock advances when waited on
  auto e = KeyExpr::Compile("CPF", kLayout);
  ASSERT_OK(e);
  auto idx = CdxIndex::Create(env, "/LOCK.CDX", *e, {{Pad("1", 11), 1}}, 1, 1);
  ASSERT_OK(idx);
  auto other = env.Open("/LOCK.CDX", platform::OpenMode::kReadWrite);  // another station inside a change
  ASSERT_OK(other);
  ASSERT_OK((*other)->TryLock(0x7FFFFF00, 1, platform::LockType::kExclusive));
  EXPECT_EQ(idx->Insert(Pad("2", 11), 2).code(), StatusCode::kLocked);
  auto cur = idx->NewCursor();
  EXPECT_EQ(cur.Seek("1").status().code(), StatusCode::kLocked);
  ASSERT_OK((*other)->Unlock(0x7FFFFF00, 1));
  ASSERT_OK(idx->Insert(Pad("2", 11), 2));
  ASSERT_OK((*other)->TryLock(0x7FFFFF00, 1, platform::LockType::kShared));  // readers share it
  EXPECT_TRUE(*cur.Seek("2"));
  EXPECT_EQ(idx->Remove(Pad("2", 11), 2).code(), StatusCode::kLocked);
}

TEST_F(CdxIndexTest, StampAndInterruptedChange) {
  KeyExpr e = Expr("CPF");
  CdxIndex idx = Build("STAMP.CDX", e, {{Pad("1", 11), 1}, {Pad("2", 11), 2}}, 41);
  EXPECT_TRUE(idx.stamp().present);
  EXPECT_EQ(idx.stamp().generation, 41u);
  EXPECT_EQ(idx.stamp().record_count, 2u);
  ASSERT_OK(idx.SetStamp(42, 7));
  auto again = CdxIndex::Open(*env_, dir_ / "STAMP.CDX", kLayout);
  ASSERT_OK(again);
  EXPECT_EQ(again->stamp().generation, 42u);
  EXPECT_EQ(again->stamp().record_count, 7u);
  EXPECT_FALSE(again->stamp().interrupted);

  // A process killed inside a change leaves the "being written" mark.
  auto f = env_->Open(dir_ / "STAMP.CDX", platform::OpenMode::kReadWrite);
  ASSERT_OK(f);
  std::byte one{1};
  ASSERT_OK((*f)->WriteAt(0x30, std::span<const std::byte>(&one, 1)));
  auto cut = CdxIndex::Open(*env_, dir_ / "STAMP.CDX", kLayout);
  ASSERT_OK(cut);
  EXPECT_TRUE(cut->stamp().interrupted);
}

TEST_F(CdxIndexTest, OpenRefusesWhatDoesNotFit) {
  KeyExpr e = Expr("UPPER(NOMECONTR)");
  Build("FIT.CDX", e, {{Pad("A", 53), 1}});
  EXPECT_EQ(CdxIndex::Open(*env_, dir_ / "NONE.CDX", kLayout).status().code(), StatusCode::kNotFound);
  Layout other = {{"CPF", FieldType::kChar, 11, 0}};
  EXPECT_EQ(CdxIndex::Open(*env_, dir_ / "FIT.CDX", other).status().code(), StatusCode::kCorrupt);
  Layout shorter = {{"NOMECONTR", FieldType::kChar, 40, 0}};
  EXPECT_EQ(CdxIndex::Open(*env_, dir_ / "FIT.CDX", shorter).status().code(), StatusCode::kCorrupt);
}

// Every prefix of an index file fails cleanly, and damaged bytes never crash.
TEST_F(CdxIndexTest, EveryPrefixFailsCleanly) {
  KeyExpr e = Expr("CPF");
  std::vector<CdxEntry> entries;
  for (uint32_t r = 1; r <= 300; ++r) entries.push_back({Pad(std::to_string(r * 37 % 1000), 11), r});
  Build("FULL.CDX", e, entries);
  auto whole = platform::ReadWholeFile(*env_, dir_ / "FULL.CDX");
  ASSERT_OK(whole);
  ASSERT_GT(whole->size(), 4096u);
  // Cut from the end: truncating the one file keeps the disk out of it.
  WriteFile(dir_ / "CUT.CDX", *whole);
  auto cut = env_->Open(dir_ / "CUT.CDX", platform::OpenMode::kReadWrite);
  ASSERT_OK(cut);
  for (size_t n = whole->size(); n-- > 0;) {
    ASSERT_OK((*cut)->Truncate(n));
    auto idx = CdxIndex::Open(*env_, dir_ / "CUT.CDX", kLayout);
    Status st = idx.ok() ? idx->ReadAll().status() : idx.status();
    ASSERT_EQ(st.code(), StatusCode::kCorrupt) << "prefix " << n << ": " << st.ToString();
  }

  WriteFile(dir_ / "BAD.CDX", *whole);
  auto bad = env_->Open(dir_ / "BAD.CDX", platform::OpenMode::kReadWrite);
  ASSERT_OK(bad);
  auto put = [&](size_t at, char c) {
    std::byte b{static_cast<unsigned char>(c)};
    ASSERT_OK((*bad)->WriteAt(at, std::span<const std::byte>(&b, 1)));
  };
  std::mt19937 rng(5);
  for (int round = 0; round < 300; ++round) {
    std::vector<size_t> spots;
    for (int k = 0; k < 4; ++k) {
      spots.push_back(rng() % whole->size());
      put(spots.back(), static_cast<char>(rng()));
    }
    auto idx = CdxIndex::Open(*env_, dir_ / "BAD.CDX", kLayout);
    if (idx.ok()) {
      (void)idx->ReadAll();
      (void)idx->Check();
      auto cur = idx->NewCursor();
      if (cur.Top().ok()) {
        for (int i = 0; i < 400 && !cur.eof(); ++i) {
          if (!cur.Next().ok()) break;
        }
      }
      (void)cur.Seek("5", true);
    }
    for (size_t at : spots) put(at, (*whole)[at]);
  }
}

}  // namespace
}  // namespace dodu::store
