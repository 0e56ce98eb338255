// The DBF codec: layouts that round-trip through a header, the header checks,
// field values as the file stores them, and damaged files.
#include <gtest/gtest.h>

#include "dbf_testutil.h"
#include "platform/memory_env.h"
#include "store/dbf_file.h"
#include "store/dbf_format.h"
#include "store/dbf_header.h"
#include "store/dbf_record.h"

namespace dodu::store {
namespace {

using testing::C;
using testing::D;
using testing::Dec;
using testing::L;
using testing::M;
using testing::N;

TEST(DbfHeaderTest, LayoutsRoundTrip) {
  struct Case {
    const char* what;
    Layout layout;
  };
  const Case cases[] = {
      {"one of each type", {C("CPF", 11), N("V", 12, 2), D("DT"), L("OK"), M("TEXTO")}},
      {"C(512) across two descriptor bytes", {C("CPF", 11), C("I7_2", 512), N("I7_3", 12, 2)}},
      {"C(256) and C(65000)", {C("A", 256), C("B", 65000)}},
      {"159 fields", testing::WideLayout(159)},
      {"209 fields", testing::WideLayout(209)},
      {"widest numbers", {N("FR1", 18, 8), N("W", 20), N("ONE", 1)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DbfHeader h;
    h.fields = c.layout;
    h.record_count = 7;
    h.generation = 0x01020304;
    h.update_year = 2019;
    h.update_month = 12;
    h.update_day = 31;
    auto bytes = EncodeDbfHeader(h);
    ASSERT_OK(bytes);
    EXPECT_EQ(bytes->size(), 32 + 32 * c.layout.size() + 1);
    EXPECT_EQ(static_cast<uint8_t>((*bytes)[dbf::kOffLanguageDriver]), 0x02);
    auto back = DecodeDbfHeader(*bytes, "T.DBF");
    ASSERT_OK(back);
    EXPECT_EQ(back->fields, c.layout);
    EXPECT_EQ(back->record_count, 7u);
    EXPECT_EQ(back->generation, 0x01020304u);
    EXPECT_EQ(back->update_year, 2019);
    EXPECT_EQ(back->record_length, h.record_length);
  }
}

TEST(DbfHeaderTest, ClipperLongTextStoresHighByteInDecimals) {
  DbfHeader h;
  h.fields = {C("I7_2", 512)};
  auto bytes = EncodeDbfHeader(h);
  ASSERT_OK(bytes);
  EXPECT_EQ(static_cast<uint8_t>((*bytes)[32 + dbf::kDescLength]), 0x00);
  EXPECT_EQ(static_cast<uint8_t>((*bytes)[32 + dbf::kDescDecimals]), 0x02);
  EXPECT_EQ(h.record_length, 513);
}

TEST(DbfHeaderTest, RefusesLayoutsItCannotStore) {
  const Layout bad[] = {
      {},
      {C("NAME_TOO_LONG", 1)},
      {C("A", 1), C("a", 2)},
      {N("N", 21)},
      {N("N", 5, 4)},
      {D("D") , {"X", FieldType::kDate, 6, 0}},
      {C("A", 65000), C("B", 600)},
  };
  for (const Layout& l : bad) {
    DbfHeader h;
    h.fields = l;
    auto r = EncodeDbfHeader(h);
    EXPECT_EQ(r.status().code(), StatusCode::kInvalid) << (l.empty() ? "(empty)" : l[0].name);
  }
}

TEST(DbfHeaderTest, DecoderRejectsDamagedHeaders) {
  DbfHeader h;
  h.fields = {C("CPF", 11), N("V", 12, 2)};
  std::string good = *EncodeDbfHeader(h);
  struct Case {
    const char* what;
    size_t offset;
    uint8_t value;
  };
  const Case cases[] = {
      {"unknown version", 0, 0x42},
      {"record length disagrees", dbf::kOffRecordLength, 99},
      {"header length too small", dbf::kOffHeaderLength, 40},
      {"unknown field type", 32 + dbf::kDescType, 'X'},
      {"terminator missing", 32 + 64, 'Z'},
      {"numeric width out of range", 64 + dbf::kDescLength, 30},
  };
  for (const Case& c : cases) {
    std::string b = good;
    b[c.offset] = static_cast<char>(c.value);
    EXPECT_EQ(DecodeDbfHeader(b, "T.DBF").status().code(), StatusCode::kCorrupt) << c.what;
  }
}

TEST(DbfValueTest, NumbersAreRightAlignedAndRefusedWhenTooWide) {
  struct Case {
    const char* value;
    int width, decimals;
    const char* stored;  // nullptr: refused
  };
  const Case cases[] = {
      {"12.34", 12, 2, "       12.34"},
      {"-0.5", 5, 2, "-0.50"},
      {"0.125", 6, 2, "  0.13"},
      {"-0.125", 6, 2, " -0.13"},
      {"999999999.99", 12, 2, "999999999.99"},
      {"1000000000", 12, 2, nullptr},
      {"-99999999.99", 12, 2, "-99999999.99"},
      {"-999999999.99", 12, 2, nullptr},
      {"7", 1, 0, "7"},
      {"10", 1, 0, nullptr},
      {"0.00000001", 18, 8, "        0.00000001"},
  };
  for (const Case& c : cases) {
    FieldSpec f = N("V", c.width, c.decimals);
    auto r = EncodeNumber(Dec(c.value), f);
    if (c.stored == nullptr) {
      EXPECT_EQ(r.status().code(), StatusCode::kInvalid) << c.value;
    } else {
      ASSERT_OK(r);
      EXPECT_EQ(*r, c.stored) << c.value;
      auto back = DecodeNumber(*r, f);
      ASSERT_OK(back);
      EXPECT_EQ(*back, Dec(c.value).RoundHalfAway(c.decimals)) << c.value;
    }
  }
}

TEST(DbfValueTest, NumbersReadAsOtherToolsWriteThem) {
  FieldSpec f = N("V", 8, 2);
  EXPECT_EQ(*DecodeNumber("        ", f), core::Decimal());
  EXPECT_EQ(*DecodeNumber("   12.5 ", f), Dec("12.5"));
  EXPECT_EQ(*DecodeNumber("00001234", f), Dec("1234"));
  EXPECT_EQ(DecodeNumber("********", f).status().code(), StatusCode::kCorrupt);
  EXPECT_EQ(DecodeNumber("  12,50 ", f).status().code(), StatusCode::kCorrupt);
}

TEST(RecordTest, TypedAccessByNameInAnyCase) {
  auto layout = std::make_shared<const RecordLayout>(*RecordLayout::Make(testing::SmallLayout()));
  Record r = Record::Blank(layout);
  ASSERT_OK(r.PutText("cpf", "12345678901"));
  ASSERT_OK(r.PutText("Nome", "JOS\x90"));  // "É" in cp850
  ASSERT_OK(r.PutNumber("valor", Dec("-1234.5")));
  ASSERT_OK(r.PutDate("DATA", *core::Date::FromYmd(2020, 6, 30)));
  ASSERT_OK(r.PutLogical("ativo", true));
  EXPECT_EQ(*r.GetText("CPF"), "12345678901");
  EXPECT_EQ(*r.GetTrimmed("NOME"), "JOS\x90");
  EXPECT_EQ(r.GetText("NOME")->size(), 40u);
  EXPECT_EQ(*r.GetNumber("VALOR"), Dec("-1234.50"));
  EXPECT_EQ(*r.Raw("VALOR"), "    -1234.50");
  EXPECT_EQ(*r.Raw("DATA"), "20200630");
  EXPECT_EQ(r.GetDate("data")->Dtos(), "20200630");
  EXPECT_TRUE(*r.GetLogical("ATIVO"));
  EXPECT_TRUE(r.GetDate("DATA").ok());
  EXPECT_TRUE(r.GetDate("QTD").status().code() == StatusCode::kInvalid);
  EXPECT_TRUE(r.GetText("NOPE").status().IsNotFound());
  // A blank record reads as blank text, zero, blank date, false.
  Record b = Record::Blank(layout);
  EXPECT_EQ(*b.GetNumber("VALOR"), core::Decimal());
  EXPECT_TRUE(b.GetDate("DATA")->IsBlank());
  EXPECT_FALSE(*b.GetLogical("ATIVO"));
  EXPECT_FALSE(b.deleted());
}

TEST(RecordTest, FailedPutLeavesTheRecordAsItWas) {
  auto layout = std::make_shared<const RecordLayout>(*RecordLayout::Make(testing::SmallLayout()));
  Record r = Record::Blank(layout);
  ASSERT_OK(r.PutNumber("QTD", Dec("12")));
  std::string before = r.bytes();
  EXPECT_EQ(r.PutNumber("QTD", Dec("1000")).code(), StatusCode::kInvalid);
  EXPECT_EQ(r.PutRaw("QTD", "1").code(), StatusCode::kInvalid);
  EXPECT_EQ(r.bytes(), before);
  // Text longer than its field is cut, as the xBase REPLACE does.
  ASSERT_OK(r.PutText("CPF", "123456789012345"));
  EXPECT_EQ(*r.GetText("CPF"), "12345678901");
}

// Every prefix of a small table file: the open fails with kCorrupt, or succeeds
// with exactly the records the prefix holds whole, each as written.
TEST(DbfFileTest, EveryPrefixFailsCleanly) {
  platform::MemoryEnv env;
  std::vector<std::string> records;
  std::string whole;
  {
    auto t = Table::Create(env, "/T.DBF", {C("CPF", 11), N("V", 6, 2), D("DT"), L("OK")},
                           Sharing::kExclusive);
    ASSERT_OK(t);
    for (int i = 1; i <= 3; ++i) {
      Record r = (*t)->BlankRecord();
      ASSERT_OK(r.PutText("CPF", std::to_string(i * 111)));
      ASSERT_OK(r.PutNumber("V", Dec("1.5")));
      ASSERT_OK((*t)->Append(r));
      records.push_back(r.bytes());
    }
  }
  auto full = platform::ReadWholeFile(env, "/T.DBF");
  ASSERT_OK(full);
  whole = *full;
  size_t header = 32 + 4 * 32 + 1;
  size_t reclen = 1 + 11 + 6 + 8 + 1;
  ASSERT_EQ(whole.size(), header + 3 * reclen + 1);
  for (size_t len = 0; len < whole.size(); ++len) {
    SCOPED_TRACE("prefix of " + std::to_string(len) + " bytes");
    ASSERT_OK(platform::WriteFileAtomic(env, "/P.DBF", std::string_view(whole).substr(0, len)));
    auto f = DbfFile::Open(env, "/P.DBF", false);
    if (!f.ok()) {
      EXPECT_EQ(f.status().code(), StatusCode::kCorrupt) << f.status().ToString();
      EXPECT_LT(len, header);
      continue;
    }
    size_t expect = (len - header) / reclen;
    ASSERT_EQ((*f)->record_count(), expect);
    for (size_t i = 0; i < expect; ++i) EXPECT_EQ(*(*f)->ReadRecord(RecNo{uint32_t(i + 1)}), records[i]);
    EXPECT_TRUE((*f)->ReadRecord(RecNo{uint32_t(expect + 1)}).status().IsNotFound());
  }
}

TEST(DbfFileTest, RecordWithoutDeletionFlagIsCorrupt) {
  platform::MemoryEnv env;
  {
    auto t = Table::Create(env, "/T.DBF", {C("A", 2)}, Sharing::kExclusive);
    ASSERT_OK(t);
    ASSERT_OK((*t)->AppendBlank());
  }
  auto bytes = *platform::ReadWholeFile(env, "/T.DBF");
  bytes[32 + 32 + 1] = 'Q';
  ASSERT_OK(platform::WriteFileAtomic(env, "/T.DBF", bytes));
  auto f = DbfFile::Open(env, "/T.DBF", false);
  ASSERT_OK(f);
  EXPECT_EQ((*f)->ReadRecord(RecNo{1}).status().code(), StatusCode::kCorrupt);
}

}  // namespace
}  // namespace dodu::store
