// The calculation screen on the virtual terminal: both layouts, the model
// switch, typed values recomputing the summary, the foreign tax explanation
// and the simulators.
#include "shell/calculation_screen.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "core/codepage.h"
#include "core/picture.h"
#include "screen/virtual_terminal.h"

namespace dodu::shell {
namespace {

using core::Cp850;
using namespace core::literals;

core::VariableMap Declaration() {
  core::VariableMap v;
  char name[8];
  for (int n = 1; n <= 51; ++n) {
    std::snprintf(name, sizeof name, "I13_%02d", n);
    v.Declare(name, core::Decimal());
  }
  for (const char* n : {"DESPADRAO", "IMPPGRE", "IR_EXTER", "I9_2"}) v.Declare(n, core::Decimal());
  v.Declare("QTD_QUOTA", core::Decimal());
  v.Declare("USAPADRAO", std::string("N"));
  v.Declare("DECFINAL", std::string(" "));
  v.Declare("DECSAIDA", std::string(" "));
  return v;
}

class CalculationScreenTest : public ::testing::Test {
 protected:
  CalculationScreenTest() {
    tk.Start("DODU2020");
    tk.BindKey(screen::Key::F(9), [this] {
      snapshot.clear();
      for (int r = 0; r < 25; ++r) snapshot += tk.RowText(r) + "\n";
    });
    Income("50000.00"_dec, "12000.00"_dec, "3000.00"_dec);
    ports.rows = [this]() -> Result<tax::DeclarationRows> { return view; };
  }

  void Income(core::Decimal amount, core::Decimal social, core::Decimal withheld) {
    core::VariableMap& row = store.emplace_back();
    row.Declare("I1_1", std::string("J"));
    row.Declare("I1_11", std::string("S"));
    row.Declare("I1_4", amount);
    row.Declare("I1_5", withheld);
    row.Declare("I1_6", social);
    view.income.push_back(&row);
  }

  CalculationScreenResult Run(const std::string& keys) {
    term.Feed(keys);
    Result<CalculationScreenResult> r = RunCalculationScreen(tk, vars, ports);
    EXPECT_TRUE(r.ok()) << r.status().ToString();
    for (int row = 0; row < 25; ++row) screen_text += tk.RowText(row) + "\n";
    return r.ok() ? *r : CalculationScreenResult{};
  }
  bool Shown(const std::string& utf8) const {
    return screen_text.find(Cp850(utf8)) != std::string::npos;
  }
  // The text at a row and column of the screen as the run left it (or of the
  // snapshot), `width` cells.
  static std::string At(const std::string& text, int row, int col, int width) {
    size_t start = 0;
    for (int r = 0; r < row; ++r) start = text.find('\n', start) + 1;
    return text.substr(start + col, width);
  }
  bool InSnapshot(const std::string& utf8) const {
    return snapshot.find(Cp850(utf8)) != std::string::npos;
  }
  std::vector<std::string> BoxFirstLines() const {
    std::vector<std::string> out;
    for (const auto& b : term.boxes()) out.push_back(b.lines.empty() ? "" : b.lines[0]);
    return out;
  }

  screen::ManualClock clock;
  screen::VirtualTerminal term{clock};
  screen::Toolkit tk{term};
  core::VariableMap vars = Declaration();
  std::deque<core::VariableMap> store;
  tax::DeclarationRows view;
  CalculationScreenPorts ports;
  std::string screen_text, snapshot;
};

TEST_F(CalculationScreenTest, CompleteLayoutShowsTheSummaryAndEscLeaves) {
  CalculationScreenResult r = Run("{Esc}");
  EXPECT_EQ(r.end, CalculationScreenEnd::kEscaped);
  EXPECT_TRUE(Shown("RENDIME.TRIBUTÁVEIS"));
  EXPECT_TRUE(Shown("Rend. PJ Titular"));
  EXPECT_EQ(At(screen_text, 3, 23, 14), "     50.000,00");
  EXPECT_EQ(At(screen_text, 3, 63, 14), "     38.000,00");   // base
  EXPECT_EQ(At(screen_text, 4, 63, 14), "      1.442,43");   // tax
  EXPECT_EQ(At(screen_text, 22, 63, 14), "      1.557,57");  // refund
  EXPECT_EQ(vars.Number("I13_38"), "1557.57"_dec);
}

TEST_F(CalculationScreenTest, SwitchToTheSimplifiedLayoutShowsItsHint) {
  CalculationScreenResult r = Run("S{F9}{F2}");
  EXPECT_EQ(r.end, CalculationScreenEnd::kExitKey);
  EXPECT_EQ(r.key, screen::Key::F(2));
  EXPECT_EQ(vars.Text("USAPADRAO"), "S");
  EXPECT_TRUE(InSnapshot("Declaração Simplificada"));
  EXPECT_TRUE(InSnapshot("Base de Cálculo do Imposto"));
  EXPECT_EQ(At(snapshot, 11, 46, 14), "     40.000,00") << snapshot;
  EXPECT_TRUE(InSnapshot(" Melhor opção"));
}

TEST_F(CalculationScreenTest, ExitDeclarationStaysComplete) {
  vars.SetText("USAPADRAO", "S");
  vars.SetText("DECSAIDA", "S");
  Run("{Enter}S{Enter}{Esc}");
  EXPECT_EQ(vars.Text("USAPADRAO"), "N");
  std::vector<std::string> boxes = BoxFirstLines();
  // The missing exit date, then the refused switch.
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], Cp850("Na declaração de saída o cálculo do Imposto"));
  EXPECT_EQ(boxes[1], Cp850("A declaração de saída definitiva só pode ser uma completa"));
}

TEST_F(CalculationScreenTest, TypedComplementaryTaxIsPaid) {
  CalculationScreenResult r = Run("{Enter}100{Enter}{F1}");
  EXPECT_EQ(r.key, screen::Key::F(1));
  EXPECT_EQ(vars.Number("I13_31"), "100.00"_dec);
  EXPECT_EQ(vars.Number("I13_35"), "3100.00"_dec);
  EXPECT_EQ(vars.Number("I13_38"), "1657.57"_dec);
  EXPECT_EQ(At(screen_text, 19, 63, 14), "      3.100,00");  // tax paid
}

TEST_F(CalculationScreenTest, EscPutsBackTheTypedValueAndItsSummary) {
  Run("{Enter}100{Enter}{Esc}");
  EXPECT_EQ(vars.Number("I13_31"), "0"_dec);
  EXPECT_EQ(vars.Number("I13_35"), "3000.00"_dec);
  EXPECT_EQ(vars.Number("I13_38"), "1557.57"_dec);
}

TEST_F(CalculationScreenTest, ForeignTaxAboveItsLimitIsExplained) {
  vars.SetNumber("I13_49", "20000.00"_dec);
  Run("{Enter}{Enter}9000{Enter}{Enter}{F1}");
  EXPECT_EQ(vars.Number("IR_EXTER"), "9000.00"_dec);
  ASSERT_EQ(term.boxes().size(), 1u);
  EXPECT_EQ(term.boxes()[0].lines.back(),
            Cp850("       O limite Legal assumido é de.....:") +
                core::Transform(vars.Number("I13_32"), "@E 999,999,999.99"));
  EXPECT_LT(vars.Number("I13_32"), "9000.00"_dec);
}

TEST_F(CalculationScreenTest, SimplifiedSimulatorFindsTheIncome) {
  vars.SetText("USAPADRAO", "S");
  Run("{Enter}{Enter}{Enter}{Enter}5000{Up}{F9}{F1}");  // 8,000.00 of tax
  EXPECT_TRUE(InSnapshot("83.780,96"));
}

TEST_F(CalculationScreenTest, SimulatorQuestionAcceptsOnlySOrN) {
  Run("{Enter}{Enter}{Enter}{Enter}X{Enter}N{F1}");
  ASSERT_EQ(term.boxes().size(), 1u);
  EXPECT_EQ(term.boxes()[0].lines[0], Cp850("Digite S (sim) ou N (não) se deseja simular   "));
}

TEST_F(CalculationScreenTest, CompleteSimulatorAnswersBalanceAndIncome) {
  Run("{Enter}{Enter}{Enter}{Enter}S1000{Enter}{F9}{Esc}{F1}");
  // Base 38,000.00 less 1,000.00: tax 1,292.43 less the 3,000.00 paid.
  EXPECT_TRUE(InSnapshot("1.707,57")) << snapshot;
}

}  // namespace
}  // namespace dodu::shell
