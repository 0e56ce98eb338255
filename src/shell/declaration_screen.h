// The screens of an open declaration and how the screen loop moves between
// them. A screen is known by its number (`TELA`); its routine draws it, runs
// its fields and returns the key that ended it. The registry maps numbers to
// routines (and the few menu actions that are no screen to theirs); a number
// nobody registered shows the placeholder window that Esc leaves.
//
// The next-screen function (NextScreen) is the rule of the screen loop: the
// screen just shown, the key that ended it and the taxpayer's conditions give
// the screen and the declaration option code (`OPCIR_1`) that come next. It is
// pure, so the loop and its tests share it.
//
// Screen numbers: 0 none (back to the menu); 1 income from legal entities and
// accumulated income; 2 income from individuals; 3 exempt and exclusively
// taxed income; 4 dependants, alimony recipients, heirs, payments, donations;
// 5 assets and debts, spouse, estate, departure; 6 identification; 7
// calculation; 8 capital gains; 9 variable income; 10 balance; 11 warnings and
// notes; 12 rural identification; 13 rural revenue and expenses; 14 rural
// result; 15 livestock; 16 rural assets; 17 rural debts; 22 enlarged assets or
// debts; 23 assets only or debts only.
#ifndef DODU_SHELL_DECLARATION_SCREEN_H_
#define DODU_SHELL_DECLARATION_SCREEN_H_

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"
#include "screen/form.h"
#include "screen/keys.h"

namespace dodu::screen {
class Toolkit;
}

namespace dodu::shell {

struct Station;
class DeclarationSession;

inline constexpr int kScreenNone = 0;
inline constexpr int kScreenIdentification = 6;
inline constexpr int kScreenCalculation = 7;
inline constexpr int kScreenBalance = 10;
inline constexpr int kScreenWarnings = 11;
inline constexpr int kScreenRuralFirst = 12;
inline constexpr int kScreenZoom = 22;        // enlarged assets (code 54) or debts (55)
inline constexpr int kScreenAssetsOnly = 23;  // assets only (52) or debts only (53)

// `TELAMAX`: 17 with rural activity, else 11.
int TelaMax(bool rural);

// A place in the declaration: the screen and the option code that reached it
// (the code tells the part of a screen: 31 exempt, 32 exclusive; 41, 42, 43 of
// screen 4; 52/53 and 54/55 assets or debts of screens 23 and 22).
struct ScreenPos {
  int tela = kScreenNone;  // TELA
  int code = 0;            // OPCIR_1
  bool operator==(const ScreenPos&) const = default;
};

// The taxpayer's conditions the moves depend on.
struct ScreenConditions {
  bool rural = false;         // `TEMRURAL` "S"
  bool rural_abroad = false;  // the rural globals hold the activity abroad (`CATVATUAL` "N")
  bool new_taxpayer = false;  // `PVEZ`: the first identification screen leads to screen 1
  bool key_changed = false;   // `TECLAMUDA`: a hot key or the menu already chose the next screen
};

// The code a move to `tela` sets: screen x 10 + 1, except 10 (72), 11 (62),
// the rural screens 12..17 (101..106, or 201, 203..206 abroad), 22 (54), 23 (52).
int CodeOfScreen(int tela, bool rural_abroad = false);

// MUDATEL's map of a screen-change key: F1..F12, Alt F1, Alt F2, Alt F3,
// Alt F7, Alt X, Alt Z. nullopt for any other key. F12 and Alt F2 reach the
// rural identification only with rural activity, else the calculation.
std::optional<ScreenPos> ScreenForKey(screen::Key key, const ScreenConditions& c);

// GIRO's next screen after `from` ended with `key` (see the table in the
// .cc). tela 0: back to the menu.
ScreenPos NextScreen(const ScreenPos& from, screen::Key key, const ScreenConditions& c);

// GIRO's check before a screen is drawn, for a number above TELAMAX: 12
// without rural activity -> nullopt (the caller shows the rural refusal and
// the loop ends); 22 and 23 stay; 18 becomes 12; anything else ends (nullopt).
std::optional<ScreenPos> BringIntoRange(const ScreenPos& pos, const ScreenConditions& c);

// ---- the state the screens share with the loop ------------------------------

// The run state of the open declaration beyond its variables.
struct DeclarationState {
  ScreenPos pos;                 // TELA and OPCIR_1
  bool lsai = false;             // LSAI: the declaration is being left
  bool discard = false;          // CIGNORE "I": left without saving
  bool key_changed = false;      // TECLAMUDA
  screen::Key ulttecla;          // ULTTECLA: the key that ended the last screen
  int qtd_dep = 0;               // QTD_DEP, recounted on each menu action
  bool new_taxpayer = false;     // PVEZ
  int tipo_bem = 0;              // TIPO_BEM of the capital-gain and variable-income screens
  std::string bembrasil = "S";   // BEMBRASIL: movable assets in Brazil ("S") or abroad ("N")
  std::string day_trade;         // DAY_TRADE "1".."3" (code - 90) or dependants' (code - 93)
  bool dependants_gain = false;  // codes 85..88 and 94..96: the dependants' gains
  bool zoom_bem = false, zoom_div = false;    // ZOOM_BEM, ZOOM_DIV (screen 22)
  bool zoom_bem2 = false, zoom_div2 = false;  // ZOOM_BEM2, ZOOM_DIV2 (screen 23)
  // The filter of screen 1's lists: `I1_1` "J" income from legal entities or
  // "A" accumulated, `I1_11` "S" the taxpayer's or "N" the dependants'.
  std::string i1_1 = "J", i1_11 = "S";
};

// What the declaration window offers the screens while they run.
class DeclarationControl {
 public:
  virtual ~DeclarationControl() = default;
  // CHAMA_SET for a form: the hot keys every field of a declaration screen
  // has (Alt U the converter and Alt S the calculator on the active field,
  // Alt T leaving, Alt X, Alt Z, Alt F1, Alt F2, Alt F3 and Alt F7 changing
  // screen). Alt W, Alt K and Alt H are bound on the toolkit for every wait.
  virtual std::vector<screen::HotKey> FormHotKeys() = 0;
  // MUDATEL: the screen a screen-change key asks for becomes the next one
  // (TECLAMUDA set); Alt T leaves saving (code 111, no question), Alt W
  // saves, Alt K the calculator. True when the current screen must end.
  virtual bool Mudatel(screen::Key key) = 0;
  // QUETEL(screen, force): moves to `tela` unless it is the current one (code
  // tela x 10 + 1; 91 becomes 85); with `force` the move counts as a PgDn.
  virtual void Quetel(int tela, bool force) = 0;
  // MUDATEL1: writes the variables back to the work copy of table 01, then
  // moves to screen 1.
  virtual Status Mudatel1() = 0;
};

// MUDATEL12 (zoom 22) and MUDATEL14 (23): the place screen 5 switches to from
// the browser mode being edited (5 or 30 the assets, 6 or 31 the debts).
// nullopt for another mode.
std::optional<ScreenPos> ZoomFor(int zoom_screen, int browser_mode);

// What a screen routine works with.
struct ScreenContext {
  Station& station;
  DeclarationSession& session;
  DeclarationState& state;
  DeclarationControl& control;
};

// A screen: runs until a key ends it and returns that key (Esc, Enter on the
// last field, Tab, PgDn, an F-key, or Key::Menu when a menu choice unwound it).
using ScreenRoutine = std::function<screen::Key(ScreenContext&)>;
// A menu action that is no screen (63 notes, 107 banks, 108 accountant, 109
// the LCDPR file): runs and comes back to the menu.
using ActionRoutine = std::function<void(ScreenContext&)>;

class ScreenRegistry {
 public:
  // Replaces what was registered under the number.
  void RegisterScreen(int tela, ScreenRoutine routine);
  void RegisterAction(int code, ActionRoutine routine);
  // nullptr when nothing is registered.
  const ScreenRoutine* FindScreen(int tela) const;
  const ActionRoutine* FindAction(int code) const;

 private:
  std::map<int, ScreenRoutine> screens_;
  std::map<int, ActionRoutine> actions_;
};

// The window a screen not yet built shows: its number and name in a frame;
// any key but Esc is refused with a beep except the screen-change keys, which
// end it like a built screen. Returns the key that ended it.
screen::Key PlaceholderScreen(screen::Toolkit& tk, int tela);

}  // namespace dodu::shell

#endif  // DODU_SHELL_DECLARATION_SCREEN_H_
