#include "shell/calculation_screen.h"

#include <optional>
#include <utility>

#include "core/codepage.h"
#include "core/picture.h"
#include "screen/message_box.h"
#include "shell/internal/calculation_layout.h"
#include "tax/annual_simulator.h"

namespace dodu::shell {
namespace {

using core::Cp850;
using namespace internal;

// The screen's own fields (the switch, the simulator) beside the declaration
// variables.
class ScreenVariables final : public screen::VariableStore {
 public:
  explicit ScreenVariables(core::Variables& vars) : vars_(vars) {
    local_.Define("MUDAMOD", std::string(" "));
    local_.Define("SIMULA", std::string(" "));
    local_.Define("SALDODES", core::Decimal());
    local_.Define("ABATEXTRA", core::Decimal());
  }
  Result<screen::EditValue> Get(std::string_view name) const override {
    if (vars_.Has(name)) return vars_.Get(name);
    return local_.Get(name);
  }
  Status Set(std::string_view name, const screen::EditValue& value) override {
    if (!vars_.Has(name)) return local_.Set(name, value);
    if (static_cast<int>(vars_.Type(name)) != static_cast<int>(screen::KindOf(value))) {
      return Status::Invalid("variable " + std::string(name) + " is of another kind");
    }
    vars_.Set(name, value);
    return Status::Ok();
  }
  screen::MapVariableStore& local() { return local_; }

 private:
  core::Variables& vars_;
  screen::MapVariableStore local_;
};

std::string LocalText(const ScreenVariables& store, const char* name) {
  auto v = store.Get(name);
  if (!v.ok() || !std::holds_alternative<std::string>(*v)) return "";
  std::string s = std::get<std::string>(*v);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

core::Decimal LocalNumber(const ScreenVariables& store, const char* name) {
  auto v = store.Get(name);
  if (!v.ok() || !std::holds_alternative<core::Decimal>(*v)) return core::Decimal();
  return std::get<core::Decimal>(*v);
}

std::vector<std::string> ToCp850(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& l : lines) out.push_back(Cp850(l));
  return out;
}

std::string Money(const core::Decimal& d) { return core::Transform(d, kMoneyPicture); }

class CalculationScreen {
 public:
  CalculationScreen(screen::Toolkit& tk, core::Variables& vars, CalculationScreenPorts& ports)
      : tk_(tk), vars_(vars), ports_(ports), store_(vars) {}

  Result<CalculationScreenResult> Run() {
    tax::EnforceCompleteModel(vars_);
    bool first = true;
    for (;;) {
      switched_ = false;
      DODU_RETURN_IF_ERROR(Recompute(first));
      first = false;
      screen::Form form(tk_, store_, Fields());
      DODU_ASSIGN_OR_RETURN(screen::FormResult r, form.Read());
      if (!failure_.ok()) return failure_;
      switch (r.end) {
        case screen::FormEnd::kExitKey:
          return CalculationScreenResult{CalculationScreenEnd::kExitKey, r.key};
        case screen::FormEnd::kEscaped:
          // Esc put back what was typed: the summary follows it again.
          DODU_RETURN_IF_ERROR(Silent());
          return CalculationScreenResult{CalculationScreenEnd::kEscaped, r.key};
        case screen::FormEnd::kMenu:
          return CalculationScreenResult{CalculationScreenEnd::kMenu, r.key};
        default:
          break;  // past the last field or a model switch: the screen again
      }
    }
  }

 private:
  bool Simplified() const { return vars_.Has("USAPADRAO") && vars_.Text("USAPADRAO") == "S"; }
  bool Foreign() const {
    auto n = [&](const char* name) {
      return vars_.Has(name) ? vars_.Number(name) : core::Decimal();
    };
    return (n("I13_49") + n("I13_50")).Sign() > 0;
  }

  // The whole calculation, its row changes written, the layout drawn; the
  // explanation of a foreign tax above its limit and, on entry, the warnings.
  Status Recompute(bool show_warnings) {
    tax::DeclarationRows rows;
    if (ports_.rows) {
      DODU_ASSIGN_OR_RETURN(rows, ports_.rows());
    }
    tax::AnnualCalculation calc(vars_, rows, ports_.hooks);
    outcome_ = calc.Calc(tax::kCalcWhole, Simplified() ? 2 : 1);
    if (!outcome_.changes.empty() && ports_.write_changes) {
      Status s = ports_.write_changes(outcome_.changes);
      if (!s.ok()) {
        screen::AVISOSN(tk_, std::vector<std::string>{Cp850(s.message())}, 8);
        return s;
      }
    }
    DrawCalculationScreen(tk_, vars_);
    const auto attr = static_cast<screen::Attr>(tk_.colours().COR_TEL1);
    if (!outcome_.hint.lines.empty()) {
      if (Simplified()) {
        for (size_t i = 0; i < outcome_.hint.lines.size(); ++i) {
          tk_.Write(16 + static_cast<int>(i), kBoxLeft, Cp850(outcome_.hint.lines[i]), attr);
        }
      } else {
        tk_.Write(23, kLeftHeading, Cp850(outcome_.hint.lines[0]), attr);
      }
    }
    if (show_warnings) {
      for (const auto& w : outcome_.warnings) screen::AVISOSN(tk_, ToCp850(w), 1);
    }
    if (!outcome_.foreign_explanation.empty()) {
      screen::AVISOSN(tk_, ToCp850(outcome_.foreign_explanation), 1);
    }
    return Status::Ok();
  }

  // The whole calculation without drawing or messages.
  Status Silent() {
    tax::DeclarationRows rows;
    if (ports_.rows) {
      DODU_ASSIGN_OR_RETURN(rows, ports_.rows());
    }
    tax::AnnualOutcome out =
        tax::AnnualCalculation(vars_, rows, ports_.hooks).Calc(tax::kCalcWhole, 0);
    if (!out.changes.empty() && ports_.write_changes) return ports_.write_changes(out.changes);
    return Status::Ok();
  }

  // VALID of a summary value: recompute and redraw.
  std::function<bool(screen::VariableStore&, screen::ActiveField&)> Recomputes() {
    return [this](screen::VariableStore&, screen::ActiveField&) {
      failure_ = Recompute(false);
      return true;
    };
  }
  // WHEN: nothing more after a model switch.
  std::function<bool(screen::VariableStore&)> Open(std::function<bool()> extra = nullptr) {
    return [this, extra](screen::VariableStore&) {
      return !switched_ && failure_.ok() && (!extra || extra());
    };
  }

  bool SwitchValid() {
    const std::string answer = LocalText(store_, "MUDAMOD");
    if (answer.empty() || answer == "N") return true;
    if (answer != "S") {
      screen::AVISOSN(tk_, std::vector<std::string>{Cp850("Digite S (sim) ou N (não)")}, 1);
      return false;
    }
    (void)store_.local().Set("MUDAMOD", std::string(" "));
    if (!Simplified()) {
      std::string refusal = tax::ModelSwitchRefusal(vars_);
      if (!refusal.empty()) {
        screen::AVISOSN(tk_, std::vector<std::string>{Cp850(refusal)}, 1);
        return true;
      }
    }
    vars_.SetText("USAPADRAO", Simplified() ? "N" : "S");
    switched_ = true;
    return true;
  }

  bool SimulateValid() {
    const std::string answer = LocalText(store_, "SIMULA");
    if (answer.empty() || answer == "N") return true;
    if (answer != "S") {
      std::vector<std::string> help(std::begin(tax::kSimulationQuestionHelp),
                                    std::end(tax::kSimulationQuestionHelp));
      screen::AVISOSN(tk_, ToCp850(help), 1);
      return false;
    }
    (void)store_.local().Set("SIMULA", std::string(" "));
    CompleteSimulation();
    return true;
  }

  // The window of the complete layout's simulator: an extra deduction and a
  // desired balance, each answered beside it.
  void CompleteSimulation() {
    const auto attr = static_cast<screen::Attr>(tk_.colours().COR_TEL2);
    screen::SavedRegion under = tk_.Save(8, 10, 15, 70);
    tk_.Fill(8, 10, 15, 70, ' ', attr);
    tk_.Frame(8, 10, 15, 70, attr, Cp850("Simulação"));
    tk_.Write(10, 12, Cp850("Novo abatimento"), attr);
    tk_.Write(12, 12, Cp850("Saldo desejado"), attr);
    std::vector<screen::FormField> fields = {
        {10, 30, "ABATEXTRA", kMoneyPicture, 0, nullptr,
         [this, attr](screen::VariableStore&, screen::ActiveField&) {
           core::Decimal balance =
               tax::CompleteBalanceWith(vars_, outcome_.figures, LocalNumber(store_, "ABATEXTRA"));
           tk_.Write(11, 12, Cp850("Saldo: ") + Money(balance), attr);
           return true;
         }},
        {12, 30, "SALDODES", kMoneyPicture, 0, nullptr,
         [this, attr](screen::VariableStore&, screen::ActiveField&) {
           tax::InverseResult r =
               tax::CompleteIncomeFor(vars_, outcome_.figures, LocalNumber(store_, "SALDODES"));
           if (r.refused) {
             screen::AVISOSN(tk_, std::vector<std::string>{Cp850(r.message)}, 1);
             return false;
           }
           tk_.Write(13, 12, Cp850("Renda: ") + Money(r.income), attr);
           return true;
         }},
    };
    screen::Form form(tk_, store_, std::move(fields));
    auto r = form.Read();
    if (!r.ok()) failure_ = r.status();
    tk_.Restore(under);
  }

  bool DesiredValid() {
    tax::InverseResult r = tax::SimplifiedIncomeFor(vars_, LocalNumber(store_, "SALDODES"));
    if (r.refused) {
      screen::AVISOSN(tk_, std::vector<std::string>{Cp850(r.message)}, 1);
      return false;
    }
    tk_.Write(kRowIncome, kBoxLeft, Money(r.income),
              static_cast<screen::Attr>(tk_.colours().COR_TEL1));
    return true;
  }

  std::vector<screen::FormField> Fields() {
    using screen::FormField;
    auto switch_valid = [this](screen::VariableStore&, screen::ActiveField&) {
      return SwitchValid();
    };
    auto foreign = [this] { return Foreign(); };
    if (Simplified()) {
      const int line = kSimpleFirstRow;
      return {
          {kRowSwitch, kBoxLeft + 9, "MUDAMOD", "!", 1, Open(), switch_valid},
          {line + 15, kSimpleValue, "I13_31", kMoneyPicture, 0, Open(), Recomputes()},
          {line + 16, kSimpleValue, "IR_EXTER", kMoneyPicture, 0, Open(foreign), Recomputes()},
          {line + 17, kSimpleValue, "I13_33", kMoneyPicture, 0, Open(), Recomputes()},
          {line + 21, kSimpleHeading + 33, "QTD_QUOTA", "9", 0, Open(), Recomputes()},
          {kRowDesired, kBoxLeft, "SALDODES", kMoneyPicture, 0, Open(),
           [this](screen::VariableStore&, screen::ActiveField&) { return DesiredValid(); }},
      };
    }
    return {
        {kRowFooter, kColSwitch, "MUDAMOD", "!", 1, Open(), switch_valid},
        {kRowLine31, kRightValue, "I13_31", kMoneyPicture, 0, Open(), Recomputes()},
        {kRowFooter, kColForeign, "IR_EXTER", kMoneyPicture, 0, Open(foreign), Recomputes()},
        {kRowLine33, kRightValue, "I13_33", kMoneyPicture, 0, Open(), Recomputes()},
        {kRowQuotas, kRightHeading + 3, "QTD_QUOTA", "9", 0, Open(), Recomputes()},
        {kRowFooter, kColSimulate, "SIMULA", "!", 1, Open(),
         [this](screen::VariableStore&, screen::ActiveField&) { return SimulateValid(); }},
    };
  }

  screen::Toolkit& tk_;
  core::Variables& vars_;
  CalculationScreenPorts& ports_;
  ScreenVariables store_;
  tax::AnnualOutcome outcome_;
  bool switched_ = false;
  Status failure_;
};

}  // namespace

Result<CalculationScreenResult> RunCalculationScreen(screen::Toolkit& tk, core::Variables& vars,
                                                     CalculationScreenPorts& ports) {
  return CalculationScreen(tk, vars, ports).Run();
}

}  // namespace dodu::shell
