// The currency converter of Alt U: its arithmetic at the base year's dollar
// rates, the window over the sale value, the hint on the foreign tax field,
// and the fields it leaves alone.
#include <gtest/gtest.h>

#include <string>

#include "declaration_menu_testutil.h"
#include "shell/declaration_menu_window.h"

namespace dodu::shell::testing {
namespace {

using core::Decimal;

Decimal Num(const char* text) { return *Decimal::Parse(text); }

// The field being edited, as a form hands it to a hot key.
class FakeField : public screen::ActiveField {
 public:
  FakeField(std::string name, screen::EditKind kind, int width, screen::EditValue v)
      : name_(std::move(name)), kind_(kind), width_(width), value_(std::move(v)) {}
  const std::string& name() const override { return name_; }
  const std::string& picture() const override { return picture_; }
  int index() const override { return 0; }
  Result<screen::EditValue> value() const override { return value_; }
  Status set_value(const screen::EditValue& v) override {
    value_ = v;
    ++sets;
    return Status::Ok();
  }
  screen::EditKind kind() const override { return kind_; }
  int width() const override { return width_; }
  Decimal number() const { return std::get<Decimal>(value_); }
  int sets = 0;

 private:
  std::string name_;
  std::string picture_ = "@Ez 999,999,999.99";
  screen::EditKind kind_;
  int width_;
  screen::EditValue value_;
};

TEST(ConverterArithmeticTest, MonthRatesTruncatedToCents) {
  struct Row {
    const char* reais;
    int month;
    const char* dollars;
  } rows[] = {
      {"1000", 1, "273.83"},  // 1000 / 3.6519 = 273.8300...
      {"1000", 8, "241.63"},  // 1000 / 4.1385 = 241.6334...
      {"100", 12, "24.80"},   // 100 / 4.0307 = 24.8096...: cut, not rounded
      {"0", 5, "0"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ReaisToDollars(Num(r.reais), r.month), Num(r.dollars)) << r.reais << " " << r.month;
  }
  EXPECT_EQ(DollarsToReais(Num("100"), 1), Num("365.19"));
  EXPECT_EQ(DollarsToReais(Num("100"), 12), Num("403.07"));
}

class ConverterTest : public DeclarationMenuTest {
 protected:
  void SetUp() override {
    AddTaxpayer();
    Open();
    window_ = std::make_unique<DeclarationWindow>(station_, *session_, options_);
  }
  DeclarationRunOptions options_;
  std::unique_ptr<DeclarationWindow> window_;
};

TEST_F(ConverterTest, DollarsTypedGiveTheReais) {
  FakeField f("VAL_ALI", screen::EditKind::kNumber, 14, Num("0"));
  // R$ left as it is, 100 typed as US$, month 1 kept, Esc: R$ 365.19 to the field.
  vt_.Feed("{Enter}100{Enter}{Esc}");
  window_->Converter(f);
  EXPECT_EQ(f.number(), Num("365.19"));
}

TEST_F(ConverterTest, MonthChangeRecomputesTheDollars) {
  FakeField f("I13_04", screen::EditKind::kNumber, 14, Num("1000"));
  // Month 8 typed: the window, still open when the script ends, shows the
  // August dollars of R$ 1000 and the month's name.
  vt_.Feed("{Enter}{Enter}08{Enter}");
  EXPECT_THROW(window_->Converter(f), screen::ScriptExhausted);
  std::string screen_text;
  for (int row = 8; row <= 13; ++row) screen_text += vt_.RowUtf8(row) + "\n";
  EXPECT_NE(screen_text.find("241,63"), std::string::npos) << screen_text;
  EXPECT_NE(screen_text.find("1.000,00"), std::string::npos) << screen_text;
  EXPECT_NE(screen_text.find("Agosto"), std::string::npos) << screen_text;
}

TEST_F(ConverterTest, ForeignTaxFieldOnlyShowsTheHint) {
  window_->state().pos = {kScreenCalculation, 71};
  FakeField f("I13_31", screen::EditKind::kNumber, 14, Num("5"));
  vt_.Feed("{Enter}");
  window_->Converter(f);
  EXPECT_TRUE(ShowedBox("Tecle antes CTRL ENTER para acionar o conversor mensal do DOLAR"));
  EXPECT_EQ(f.sets, 0);
}

TEST_F(ConverterTest, NarrowAndTextFieldsAreLeftAlone) {
  FakeField narrow("I13_04", screen::EditKind::kNumber, 9, Num("5"));
  FakeField text("NOMECONTR", screen::EditKind::kText, 60, std::string("ANA"));
  window_->Converter(narrow);
  window_->Converter(text);
  EXPECT_EQ(narrow.sets + text.sets, 0);
  EXPECT_TRUE(vt_.boxes().empty());
}

TEST_F(ConverterTest, OtherFieldsGetTheMonthlyTotal) {
  FakeField f("I1_4", screen::EditKind::kNumber, 14, Num("0"));
  // The monthly values window: 100 in January and 50 in February, Esc.
  vt_.Feed("100{Enter}50{Enter}{Esc}");
  window_->Converter(f);
  EXPECT_EQ(f.number(), Num("150"));
}

}  // namespace
}  // namespace dodu::shell::testing
