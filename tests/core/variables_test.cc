#include "core/variables.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace dodu::core {
namespace {

using literals::operator""_dec;

VariableMap Sample() {
  VariableMap v;
  v.Declare("CPF", std::string("12345678909"));
  v.Declare("I13_01", "10.50"_dec);
  v.Declare("NASCIMENTO", *Date::FromYmd(1970, 5, 17));
  v.Declare("SO_REC", true);
  return v;
}

TEST(VariablesTest, TypedReadsAndWritesAnyCase) {
  VariableMap v = Sample();
  EXPECT_EQ(v.Text("cpf"), "12345678909");
  EXPECT_EQ(v.Number("i13_01"), "10.50"_dec);
  EXPECT_EQ(v.DateOf("Nascimento"), *Date::FromYmd(1970, 5, 17));
  EXPECT_TRUE(v.Logical("SO_REC"));
  v.SetNumber("I13_01", "-3.25"_dec);
  v.SetText("CPF", "");
  EXPECT_EQ(v.Number("I13_01"), "-3.25"_dec);
  EXPECT_EQ(v.Text("CPF"), "");
  EXPECT_EQ(v.Type("NASCIMENTO"), ValueType::kDate);
  EXPECT_TRUE(v.Has("so_rec"));
  EXPECT_FALSE(v.Has("SO_RE"));
}

// A misspelt name is a programming error: it must throw, for reads and writes
// alike, instead of creating a variable nobody saves.
TEST(VariablesTest, UnknownNameThrows) {
  VariableMap v = Sample();
  EXPECT_THROW(v.Get("I13_52"), std::logic_error);
  EXPECT_THROW(v.Number("I13_52"), std::logic_error);
  EXPECT_THROW(v.SetNumber("I13_52", "1"_dec), std::logic_error);
  EXPECT_THROW(v.Type("X"), std::logic_error);
  EXPECT_FALSE(v.Has("I13_52"));
  try {
    v.Text("NOMECONTRX");
  } catch (const std::logic_error& e) {
    EXPECT_NE(std::string(e.what()).find("NOMECONTRX"), std::string::npos);
  }
}

TEST(VariablesTest, WrongTypeThrowsAndKeepsTheValue) {
  VariableMap v = Sample();
  EXPECT_THROW(v.Text("I13_01"), std::logic_error);
  EXPECT_THROW(v.Number("CPF"), std::logic_error);
  EXPECT_THROW(v.Logical("NASCIMENTO"), std::logic_error);
  EXPECT_THROW(v.SetText("I13_01", "10"), std::logic_error);
  EXPECT_THROW(v.Declare("SO_REC", std::string("S")), std::logic_error);
  EXPECT_EQ(v.Number("I13_01"), "10.50"_dec);
}

TEST(VariablesTest, EmptyValuesPerType) {
  EXPECT_EQ(std::get<std::string>(EmptyValue(ValueType::kText)), "");
  EXPECT_EQ(std::get<Decimal>(EmptyValue(ValueType::kNumber)), Decimal());
  EXPECT_TRUE(std::get<Date>(EmptyValue(ValueType::kDate)).IsBlank());
  EXPECT_FALSE(std::get<bool>(EmptyValue(ValueType::kLogical)));
}

}  // namespace
}  // namespace dodu::core
