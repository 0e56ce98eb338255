// Private to the declaration menu: the open declaration's window, shared by
// the files that make it up (declaration_menu.cc the run, the screen loop and
// the leaving; declaration_menu_dispatch.cc MENUCOMUM; declaration_menu_items.cc
// both menus; declaration_menu_classic.cc the in-screen menu bar;
// declaration_menu_tools.cc the converter, the help boxes and the calculator).
#ifndef DODU_SHELL_DECLARATION_MENU_WINDOW_H_
#define DODU_SHELL_DECLARATION_MENU_WINDOW_H_

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/decimal.h"
#include "screen/calculator.h"
#include "screen/dialog.h"
#include "screen/form.h"
#include "screen/keys.h"
#include "screen/toolkit.h"
#include "shell/declaration_menu.h"
#include "shell/declaration_screen.h"

namespace dodu::shell {

// One item of the in-screen menu bar: caption ("&" before the accelerator),
// the shortcut key shown and accepted on the bar, the status-line message and
// the identifier (the option code; 821, 822, 861, 862 carry the variant).
struct ClassicItem {
  std::string caption;
  std::optional<screen::Key> shortcut;
  std::string message;
  int id = 0;
  bool line_before = false;  // a line separates it from the item above
};
struct ClassicMenu {
  std::string caption;
  std::vector<ClassicItem> items;
};

// CREATEMAINMENU's bar for the taxpayer's conditions (texts in code page 850).
std::vector<ClassicMenu> ClassicMenuBar(bool dependants, bool rural, bool rural_abroad, bool lcdpr);
// An identifier of the bar as (code, variant): 821 -> (82, "S"), 822 -> (82, "N"),
// 861 -> (86, "S"), 862 -> (86, "N"); anything else (id, "").
std::pair<int, std::string> ClassicCode(int id);

// The in-screen menu bar on row 0: Left/Right, Enter or Down opening the list,
// Up/Down, Enter, accelerator letters, the shortcut keys, Esc closing the list.
// Returns the identifier chosen, or the key it could not use on the bar itself
// (Alt T, Alt W and the like are the caller's). `first` is the bar position
// highlighted first.
struct ClassicChoice {
  int id = 0;                      // 0: no item chosen
  std::optional<screen::Key> key;  // the key that left the bar
  int bar_index = 0;               // the bar position last highlighted
};
ClassicChoice RunClassicMenu(screen::Toolkit& tk, const std::vector<ClassicMenu>& bar, int first);

// MOS_IND: the index line of the old style on row 0.
inline constexpr char kScreenIndexLine[] =
    "1=PJ 2=PF 3=Ise 4=Pgto 5=Bem 6=Iden 7=Cal 8=GCap 9=RVar 10=Balan 11=notas 12=AAR";
void MOS_IND(screen::Toolkit& tk);

// The help boxes (texts in UTF-8 as the system shows them).
const std::vector<std::string>& HelpGeneralLines();
const std::vector<std::string>& HelpKeysLines();

// CALC_UFIR's arithmetic: US$ from R$ and back at the month's rate of the base
// year, truncated to cents. month 1..12.
core::Decimal ReaisToDollars(const core::Decimal& reais, int month);
core::Decimal DollarsToReais(const core::Decimal& dollars, int month);

class DeclarationWindow final : public DeclarationControl {
 public:
  DeclarationWindow(Station& station, DeclarationSession& session,
                    const DeclarationRunOptions& options);
  ~DeclarationWindow() override;
  DeclarationWindow(const DeclarationWindow&) = delete;
  DeclarationWindow& operator=(const DeclarationWindow&) = delete;

  Result<DeclarationResult> Run();

  // MENUCOMUM(code, variant).
  void Menucomum(int code, std::string_view variant = {});
  // SAI_DA_DEC(code).
  void SaiDaDec(int code);
  // Alt W and the automatic save (SAL_DEC): a failed save is told and the
  // declaration stays open.
  void PartialSave();
  // CALC_UFIR on the field being edited (Alt U).
  void Converter(screen::ActiveField& field);
  // Code 120 and Alt K.
  void OutsideCalculator();
  void HelpGeneral();
  void HelpKeys();
  void About();

  // DeclarationControl
  std::vector<screen::HotKey> FormHotKeys() override;
  bool Mudatel(screen::Key key) override;
  void Quetel(int tela, bool force) override;
  Status Mudatel1() override;

  DeclarationState& state() { return state_; }
  ScreenConditions Conditions() const;

 private:
  // The screen loop (GIRO) from state_.pos.
  void Giro();
  screen::Key RunScreen(int tela);
  void RunNewStyle();
  void RunClassicStyle();
  void BuildNewMenu();
  void ApplyCode(int code);
  bool RefuseRural();
  void CountDependants();
  bool Rural() const;
  bool RuralAbroad() const;
  bool DirectDonationAllowed(int code);
  void SpouseInformation();
  void ChooseCapitalGain(int code, std::string_view variant);
  void ErrorBox(const std::vector<std::string>& utf8_lines, std::string_view title = {});
  void Info(const std::vector<std::string>& utf8_lines, std::string_view title);
  bool Protected() const;
  void MaybeAutoSave();
  void Bind();
  void Unbind();
  ScreenContext Context();

  Station& st_;
  DeclarationSession& session_;
  screen::LDialog* window_ = nullptr;
  const DeclarationRunOptions& options_;
  DeclarationHooks default_hooks_;
  DeclarationHooks& hooks_;
  DeclarationState state_;
  screen::Calculator calculator_;
  bool converter_running_ = false;
  bool clock_off_ = false;
  bool menu_with_dependants_ = false;
  bool classic_ = false;
  int64_t last_save_ms_ = 0;
  std::vector<std::pair<screen::Key, screen::Toolkit::KeyAction>> saved_bindings_;
  bool bound_ = false;
};

}  // namespace dodu::shell

#endif  // DODU_SHELL_DECLARATION_MENU_WINDOW_H_
