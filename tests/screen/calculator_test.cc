#include "screen/calculator.h"

#include <gtest/gtest.h>

#include "screen/form.h"
#include "screen/virtual_terminal.h"

namespace dodu::screen {
namespace {

using core::Decimal;

Decimal D(const char* t) { return *Decimal::Parse(t); }

class CalculatorTest : public ::testing::Test {
 protected:
  // Runs one opening over `script` and answers its result.
  std::optional<Decimal> Run(const char* script, const CalculatorTarget* target = nullptr) {
    term.Feed(script);
    return calc.Run(tk, 5, 27, target);
  }
  size_t Tones() const { return term.tones().size(); }
  std::string Display() const { return term.Text(calc.top() + 2, calc.left() + 4, 19); }

  VirtualTerminal term;
  Toolkit tk{term};
  Calculator calc;
};

TEST_F(CalculatorTest, ChainsLeftToRightAndHandsBackOnCtrlEnter) {
  struct Case {
    const char* script;
    const char* result;
  } cases[] = {
      {"12+3*2={Ctrl Enter}", "30"},
      {"12+3*2{Ctrl Enter}", "30"},  // Ctrl Enter completes the pending operation
      {"10/4={Ctrl Enter}", "2.5"},
      {"1/3={Ctrl Enter}", "0.3333"},
      {"2/3={Ctrl Enter}", "0.6667"},
      {"1,5*1,5={Ctrl Enter}", "2.25"},
      {"5-8={Ctrl Enter}", "-3"},
      {"5I+1={Ctrl Enter}", "-4"},
      {"99{Backspace}7+1={Ctrl Enter}", "8"},
      {"9+9=C2+2={Ctrl Enter}", "4"},
      {"7{Enter}*2{Enter}{Ctrl Enter}", "14"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    Calculator fresh;
    term.Feed(c.script);
    std::optional<Decimal> r = fresh.Run(tk, 5, 27);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(*r, D(c.result));
  }
  EXPECT_EQ(Tones(), 0u);
}

TEST_F(CalculatorTest, RefusesAnEleventhIntegerDigitAndAFifthDecimal) {
  auto r = Run("12345678901{Ctrl Enter}");
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(*r, D("1234567890"));
  ASSERT_EQ(Tones(), 1u);
  EXPECT_EQ(term.tones()[0].frequency_hz, 800);

  r = Run("C0,123456{Ctrl Enter}");
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(*r, D("0.1234"));
  EXPECT_EQ(Tones(), 3u);  // the fifth and the sixth decimal
}

TEST_F(CalculatorTest, SecondPointIsRefused) {
  auto r = Run("1,2,3{Ctrl Enter}");
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(*r, D("1.23"));
  EXPECT_EQ(Tones(), 1u);
}

TEST_F(CalculatorTest, DivisionByZeroNeverHandsAResultBack) {
  // 7 / 0: the tone, the error shows; Ctrl Enter is refused with the tone too.
  auto r = Run("7/0={Ctrl Enter}{Esc}");
  EXPECT_FALSE(r.has_value());
  EXPECT_EQ(Tones(), 2u);
  // Clearing gives a usable calculator again.
  r = Run("7/0=C6/2={Ctrl Enter}");
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(*r, D("3"));
}

TEST_F(CalculatorTest, OverflowIsAnError) {
  auto r = Run("9999999999*10={Ctrl Enter}{Esc}");
  EXPECT_FALSE(r.has_value());
  EXPECT_EQ(Tones(), 2u);
}

TEST_F(CalculatorTest, EscAndXLeaveWithoutAResult) {
  EXPECT_FALSE(Run("5{Esc}").has_value());
  EXPECT_FALSE(Run("5x").has_value());
}

TEST_F(CalculatorTest, MemoryKeys) {
  // 5 into memory, plus 2 more, recall: 7; the "M" mark shows.
  term.Feed("5M+");
  term.Feed("C2M+");
  term.Feed("CMR");
  EXPECT_THROW((void)calc.Run(tk, 5, 27), ScriptExhausted);
  EXPECT_EQ(calc.memory(), D("7"));
  EXPECT_EQ(term.Text(calc.top() + 2, calc.left() + 1, 1), "M");
  EXPECT_EQ(Display(), "                  7");
  // The memory lasts to the next opening; M- and MC.
  auto r = Run("MR*2={Ctrl Enter}");
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(*r, D("14"));
  (void)Run("3M-{Esc}");
  EXPECT_EQ(calc.memory(), D("4"));
  (void)Run("MC{Esc}");
  EXPECT_TRUE(calc.memory().IsZero());
  // An unknown memory key is refused.
  (void)Run("MQ{Esc}");
  EXPECT_EQ(Tones(), 1u);
}

TEST_F(CalculatorTest, DisplayMasks) {
  term.Feed("1234567");
  EXPECT_THROW((void)calc.Run(tk, 5, 27), ScriptExhausted);
  EXPECT_EQ(Display(), "          1.234.567");
  term.Feed("1234567,5/");
  EXPECT_THROW((void)calc.Run(tk, 5, 27), ScriptExhausted);
  EXPECT_EQ(Display(), "     1.234.567,5000");
  EXPECT_EQ(term.Text(calc.top() + 2, calc.left() + 24, 1), "\xF6");
}

TEST_F(CalculatorTest, MovesInsideTheScreenAndRemembersThePlace) {
  // Far down and right: stops with the window's last row and column on screen.
  std::string script;
  for (int i = 0; i < 30; ++i) script += "{Down}{Right}{Right}";
  script += "{Esc}";
  (void)Run(script.c_str());
  EXPECT_EQ(calc.top(), 11);
  EXPECT_EQ(calc.left(), 54);
  // The next opening starts there, whatever the caller asks.
  (void)Run("{Up}{Esc}");
  EXPECT_EQ(calc.top(), 10);
  Calculator first;
  term.Feed("{Esc}");
  (void)first.Run(tk, 20, 70);
  EXPECT_EQ(first.top(), 11);
  EXPECT_EQ(first.left(), 48);
}

TEST_F(CalculatorTest, ScreenUnderTheWindowIsPutBack) {
  tk.Write(6, 30, "texto sob a calculadora", 0x1E);
  std::string before = term.Row(6);
  (void)Run("12{Down}{Right}{Esc}");
  EXPECT_EQ(term.Row(6), before);
  EXPECT_EQ(term.At(6, 30).attr, 0x1E);
}

// Fault: the result was handed to the field even when it did not fit it.
TEST_F(CalculatorTest, ResultThatDoesNotFitTheFieldIsRefused) {
  CalculatorTarget target{EditKind::kNumber, "@E 999.99", 0, ""};
  auto r = Run("999*2{Ctrl Enter}{Esc}", &target);
  EXPECT_FALSE(r.has_value());
  EXPECT_EQ(Tones(), 1u);
  r = Run("C999-1{Ctrl Enter}", &target);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(*r, D("998"));
}

TEST(CalculatorFit, NumberAndTextTargets) {
  struct Case {
    CalculatorTarget target;
    const char* value;
    bool fits;
  } cases[] = {
      {{EditKind::kNumber, "@Ez 99,999,999.99", 0, ""}, "99999999.99", true},
      {{EditKind::kNumber, "@Ez 99,999,999.99", 0, ""}, "100000000", false},
      {{EditKind::kNumber, "@E 999.99", 0, ""}, "-99", true},
      {{EditKind::kNumber, "@E 999.99", 0, ""}, "-999", false},  // no room for the sign
      {{EditKind::kText, "", 9, "Soma"}, "1", true},             // "Soma 1,00"
      {{EditKind::kText, "", 9, "Soma"}, "10", false},           // "Soma 10,00"
      {{EditKind::kDate, "", 0, ""}, "1", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.target.picture) + " <- " + c.value);
    EXPECT_EQ(CalculatorResultFits(D(c.value), c.target), c.fits);
  }
}

TEST(CalculatorHandOver, ResultGoesIntoTheActiveField) {
  VirtualTerminal term;
  Toolkit tk(term);
  Calculator calc;
  MapVariableStore vars;
  vars.Define("VALOR", Decimal());
  vars.Define("OBS", std::string(15, ' '));
  FormOptions options;
  options.hot_keys.push_back(CalculatorHotKey(Key::Alt('S'), calc));
  term.Feed("{Alt S}12+3*2{Ctrl Enter}{Enter}");
  term.Feed("Total{Alt S}4/8{Ctrl Enter}{PgDn}");
  Form form(tk, vars,
            {{2, 2, "VALOR", "@Ez 99,999,999.99", 0, nullptr, nullptr},
             {3, 2, "OBS", "", 0, nullptr, nullptr}},
            options);
  auto r = form.Read();
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(std::get<Decimal>(*vars.Get("VALOR")), D("30"));
  EXPECT_EQ(std::get<std::string>(*vars.Get("OBS")), "Total 0,50     ");
  EXPECT_EQ(term.Text(2, 2, 13), "        30,00");
}

}  // namespace
}  // namespace dodu::screen
