// Fixtures of the table-engine tests: layouts, filled records, and a view of a
// table's records for comparisons.
#ifndef DODU_TESTS_STORE_DBF_TESTUTIL_H_
#define DODU_TESTS_STORE_DBF_TESTUTIL_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/decimal.h"
#include "platform/testutil.h"
#include "store/field.h"
#include "store/table.h"

namespace dodu::store::testing {

inline FieldSpec C(const std::string& name, int len) { return {name, FieldType::kChar, len, 0}; }
inline FieldSpec N(const std::string& name, int len, int dec = 0) {
  return {name, FieldType::kNumeric, len, dec};
}
inline FieldSpec D(const std::string& name) { return {name, FieldType::kDate, 8, 0}; }
inline FieldSpec L(const std::string& name) { return {name, FieldType::kLogical, 1, 0}; }
inline FieldSpec M(const std::string& name) { return {name, FieldType::kMemo, 10, 0}; }

// A small layout with one field of each stored type and a C(512).
inline Layout SmallLayout() {
  return {C("CPF", 11), C("NOME", 40), N("VALOR", 12, 2), N("QTD", 3), D("DATA"), L("ATIVO"),
          C("DESCR", 512)};
}

// `count` generated fields "F0001".. of mixed types.
inline Layout WideLayout(int count) {
  Layout l{C("CPF", 11)};
  for (int i = 1; l.size() < static_cast<size_t>(count); ++i) {
    char name[12];
    snprintf(name, sizeof name, "F%04d", i);
    switch (i % 4) {
      case 0: l.push_back(N(name, 12, 2)); break;
      case 1: l.push_back(C(name, 1 + i % 7)); break;
      case 2: l.push_back(D(name)); break;
      default: l.push_back(L(name)); break;
    }
  }
  return l;
}

inline core::Decimal Dec(const char* text) { return *core::Decimal::Parse(text); }

// Record i of the small layout, with cp850 text ("Ç" is 0x80, "ã" 0xC6).
inline Record SmallRecord(const Table& t, int i) {
  Record r = t.BlankRecord();
  char cpf[12];
  snprintf(cpf, sizeof cpf, "%011d", 10000 + i);
  EXPECT_TRUE(r.PutText("CPF", cpf).ok());
  EXPECT_TRUE(r.PutText("NOME", std::string("JO\xC6O DA CONCEI\x80\xC6O ") + std::to_string(i)).ok());
  EXPECT_TRUE(r.PutNumber("VALOR", core::Decimal::FromScaled(123456 * i - 50000, 2)).ok());
  EXPECT_TRUE(r.PutNumber("QTD", core::Decimal::FromInt(i % 1000)).ok());
  EXPECT_TRUE(r.PutDate("DATA", *core::Date::FromYmd(2019, 1 + i % 12, 1 + i % 28)).ok());
  EXPECT_TRUE(r.PutLogical("ATIVO", i % 2 == 0).ok());
  EXPECT_TRUE(r.PutText("DESCR", std::string(300, 'x') + std::to_string(i) + std::string(150, 'y')).ok());
  return r;
}

// Every record's bytes, in order.
inline std::vector<std::string> AllRecords(Table& t) {
  std::vector<std::string> out;
  auto count = t.RefreshCount();
  EXPECT_TRUE(count.ok()) << count.status().ToString();
  if (!count.ok()) return out;
  for (uint32_t i = 1; i <= *count; ++i) {
    auto r = t.Read(RecNo{i});
    EXPECT_TRUE(r.ok()) << r.status().ToString();
    if (r.ok()) out.push_back(r->bytes());
  }
  return out;
}

}  // namespace dodu::store::testing

#endif  // DODU_TESTS_STORE_DBF_TESTUTIL_H_
