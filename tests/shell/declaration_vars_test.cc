#include "shell/declaration_vars.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "store/catalogue.h"

namespace dodu::shell {
namespace {

using core::Decimal;
using store::FieldType;
using store::Record;
using store::RecordLayout;

std::shared_ptr<const RecordLayout> LayoutOf(int table) {
  auto l = RecordLayout::Make(store::FindTable(table)->layout);
  EXPECT_TRUE(l.ok());
  return std::make_shared<const RecordLayout>(std::move(l).value());
}

// A record whose every field holds a non-blank value that differs from field
// to field: the widest number the field takes (negative every other field), a
// text filling the field, a date, true.
Record FullRecord(int table) {
  Record r = Record::Blank(LayoutOf(table));
  int i = 0;
  for (const store::FieldSpec& f : r.layout().fields()) {
    ++i;
    Status st;
    switch (f.type) {
      case FieldType::kChar: {
        std::string text;
        for (int k = 0; k < f.length; ++k) text.push_back(static_cast<char>('A' + (i + k) % 26));
        st = r.PutText(f.name, text);
        break;
      }
      case FieldType::kNumeric: {
        const int room = f.length - (f.decimals > 0 ? f.decimals + 1 : 0);
        const bool negative = i % 2 == 0 && room >= 2;
        int whole = room - (negative ? 1 : 0);
        whole = std::min(whole, 9);
        std::string text = negative ? "-" : "";
        for (int k = 0; k < whole; ++k) text.push_back(static_cast<char>('1' + (i + k) % 9));
        if (f.decimals > 0) {
          text += ".";
          for (int k = 0; k < f.decimals; ++k) text.push_back(static_cast<char>('1' + (i + k) % 9));
        }
        st = r.PutNumber(f.name, *Decimal::Parse(text));
        break;
      }
      case FieldType::kDate: st = r.PutDate(f.name, *core::Date::FromYmd(2019, 1 + i % 12, 1 + i % 28)); break;
      case FieldType::kLogical: st = r.PutLogical(f.name, true); break;
      case FieldType::kMemo: ADD_FAILURE() << f.name; break;
    }
    EXPECT_TRUE(st.ok()) << f.name << ": " << st.ToString();
  }
  return r;
}

// A field forgotten by a hand-written list is lost on every save: each of the
// three tables must come back byte for byte through the variables.
TEST(DeclarationVarsTest, EveryFieldRoundTrips) {
  for (auto [source, table] : {std::pair{DeclarationSource::kRegister, 9},
                               std::pair{DeclarationSource::kDeclaration, 1},
                               std::pair{DeclarationSource::kMonthly, 12}}) {
    SCOPED_TRACE("table " + std::to_string(table));
    DeclarationVars vars;
    Record full = FullRecord(table);
    ASSERT_TRUE(vars.Load(source, full).ok());
    // CPF and NOMEAG keep the open taxpayer's and the operator's values.
    vars.SetText("CPF", *full.GetText("CPF"));
    if (table == 9) vars.SetText("NOMEAG", *full.GetText("NOMEAG"));
    Record out = Record::Blank(LayoutOf(table));
    Status st = vars.Store(source, out);
    ASSERT_TRUE(st.ok()) << st.ToString();
    EXPECT_EQ(out.bytes(), full.bytes());
    EXPECT_EQ(vars.SourceFields(source).size(), full.layout().fields().size());
  }
}

TEST(DeclarationVarsTest, LoadKeepsTaxpayerAndOperator) {
  DeclarationVars vars;
  vars.SetText("CPF", "12345678909");
  vars.SetText("NOMEAG", "MARIA");
  vars.SetText("ATV_BRASIL", "S");
  ASSERT_TRUE(vars.Load(DeclarationSource::kRegister, FullRecord(9)).ok());
  EXPECT_EQ(vars.Text("CPF"), "12345678909");
  EXPECT_EQ(vars.Text("NOMEAG"), "MARIA");
  vars.SetText("ATV_BRASIL", "S");
  // Loading the rural record of the activity abroad must not turn the
  // register's ATV_BRASIL into "N" (the register would be saved so).
  Record rural = Record::Blank(LayoutOf(15));
  ASSERT_TRUE(rural.PutText("ATV_BRASIL", "N").ok());
  ASSERT_TRUE(rural.PutNumber("I4R_01", Decimal::FromInt(7)).ok());
  ASSERT_TRUE(vars.Load(DeclarationSource::kRural, rural).ok());
  EXPECT_EQ(vars.Text("ATV_BRASIL"), "S");
  EXPECT_EQ(vars.Number("I4R_01"), Decimal::FromInt(7));
}

TEST(DeclarationVarsTest, EveryCatalogueFieldIsAVariableOfItsType) {
  DeclarationVars vars;
  for (int table : {9, 1, 12, 15}) {
    for (const store::FieldSpec& f : store::FindTable(table)->layout) {
      ASSERT_TRUE(vars.Has(f.name)) << f.name;
      EXPECT_EQ(vars.Field(f.name).type, f.type) << f.name;
    }
  }
  // Start values: blanks of the field's width, 0, the blank date, false.
  EXPECT_EQ(vars.Text("NOMECONTR"), std::string(53, ' '));
  EXPECT_EQ(vars.Number("I13_01"), Decimal());
  EXPECT_TRUE(vars.DateOf("NASCIMENTO").IsBlank());
  EXPECT_FALSE(vars.Logical("SO_REC"));
}

TEST(DeclarationVarsTest, DynamicMonthlyNamesResolveUnknownNamesThrow) {
  DeclarationVars vars;
  for (int k = 1; k <= 7; ++k) {
    for (int mm = 1; mm <= 13; ++mm) {
      EXPECT_EQ(vars.Type(MonthlyFieldName(k, mm)), core::ValueType::kNumber) << k << "/" << mm;
    }
  }
  EXPECT_EQ(MonthlyFieldName(3, 7), "I2_307");
  EXPECT_THROW(vars.Number(MonthlyFieldName(8, 1)), std::logic_error);
  EXPECT_THROW(vars.Number(MonthlyFieldName(1, 14)), std::logic_error);
  EXPECT_THROW(vars.SetText("NOMECONTRA", "X"), std::logic_error);
  EXPECT_THROW(vars.SetText("I13_01", "1"), std::logic_error);
}

// A value too wide for its field was cut or written as asterisks; the store
// must refuse it and say which field.
TEST(DeclarationVarsTest, ValuesThatDoNotFitAreReportedByField) {
  DeclarationVars vars;
  Record r = FullRecord(9);
  const std::string before = r.bytes();
  vars.SetNumber("NRETIF", Decimal::FromInt(1000));        // N(3)
  vars.SetText("UF", "SPX");                               // C(2)
  vars.SetNumber("I13_20", *Decimal::Parse("1000000000"));  // N(12,2)
  Status st = vars.Store(DeclarationSource::kRegister, r);
  EXPECT_EQ(st.code(), StatusCode::kInvalid);
  for (const char* f : {"NRETIF", "UF", "I13_20"}) EXPECT_NE(st.message().find(f), std::string::npos) << f;
  EXPECT_EQ(r.bytes(), before);
}

TEST(DeclarationVarsTest, VeLimNegClampsIndgasAndSaldo) {
  struct Case {
    const char* field;
    const char* value;
    const char* expected;
  } cases[] = {
      {"INDGAS", "1234.5", "999"},     {"INDGAS", "999.99", "999.99"}, {"INDGAS", "999.991", "999"},
      {"INDGAS", "-150", "-99.99"},    {"INDGAS", "-99.99", "-99.99"}, {"INDGAS", "12.5", "12.5"},
      {"SALDO", "-100000000", "-99999999.99"}, {"SALDO", "-99999999.99", "-99999999.99"},
      {"SALDO", "999999999.99", "999999999.99"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.value);
    DeclarationVars vars;
    vars.SetNumber(c.field, *Decimal::Parse(c.value));
    VE_LIM_NEG(vars);
    EXPECT_EQ(vars.Number(c.field), *Decimal::Parse(c.expected));
    Record r = Record::Blank(LayoutOf(9));
    EXPECT_TRUE(vars.Store(DeclarationSource::kRegister, r).ok());
  }
}

TEST(DeclarationVarsTest, StoreRuralWritesTheActivitysFields) {
  DeclarationVars vars;
  vars.SetText("CPF", "12345678909");
  vars.SetNumber("I3_01OR", Decimal::FromInt(100));
  vars.SetNumber("I4R_03", Decimal::FromInt(5));
  vars.SetNumber("I7_5V1", Decimal::FromInt(12));
  vars.SetText("NOME_CONT", "NOT FROM HERE");
  Record abroad = Record::Blank(LayoutOf(15));
  ASSERT_TRUE(abroad.PutText("NOME_CONT", "CONTADOR").ok());
  ASSERT_TRUE(vars.StoreRural(abroad, "N").ok());
  EXPECT_EQ(*abroad.GetTrimmed("ATV_BRASIL"), "N");
  EXPECT_EQ(*abroad.GetTrimmed("CPF"), "12345678909");
  EXPECT_EQ(*abroad.GetNumber("I3_01OR"), Decimal());  // monthly figures are Brazil's
  EXPECT_EQ(*abroad.GetNumber("I4R_03"), Decimal::FromInt(5));
  EXPECT_EQ(*abroad.GetNumber("I7_5V1"), Decimal::FromInt(12));
  EXPECT_EQ(*abroad.GetTrimmed("NOME_CONT"), "CONTADOR");
  Record brazil = Record::Blank(LayoutOf(15));
  ASSERT_TRUE(vars.StoreRural(brazil, "S").ok());
  EXPECT_EQ(*brazil.GetNumber("I3_01OR"), Decimal::FromInt(100));
}

}  // namespace
}  // namespace dodu::shell
