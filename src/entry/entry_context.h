// What every browse profile runs with: the toolkit, the station's opener
// context and work areas, and the shared variables of the entry screens (the
// current profile, cursor, append mode, the key the user left with, the copy
// buffer, the open taxpayer and what new records are preset with).
//
// One EntryState lives as long as the screen loop; EDITA and the browsers read
// and set it, the screen loop reads what they leave in it.
#ifndef DODU_ENTRY_ENTRY_CONTEXT_H_
#define DODU_ENTRY_ENTRY_CONTEXT_H_

#include <functional>
#include <optional>
#include <string>

#include "core/date.h"
#include "core/decimal.h"
#include "entry/clip_text.h"
#include "screen/keys.h"
#include "screen/toolkit.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::entry {

// Which of the three lists of the dependants table profile 3 shows.
enum class DependantList { kDependants, kAlimony, kHeirs };

// What ADIC_REG presets besides CPF: the item the screen is editing.
struct AppendPresets {
  std::string income_kind;     // I1_1: "J", "D", "A", "F", "E", "L", "P", "I"
  std::string titular = "S";   // I1_11: "S" titular, "N" dependant
  std::string dependant_cpf;   // I1_8 for a dependant's line
  std::string rural_activity;  // ATV_BRASIL of the rural tables: "S" Brazil, "N" abroad
  DependantList dependant_list = DependantList::kDependants;
  int asset_number = 0;      // BEM_NRO of the cost items (profile 10)
  int variable_item = 0;     // RVAR_NRO (profiles 14, 19)
  std::string day_trade;     // DAY_TRADE (profiles 14, 19)
  std::string credit_debit;  // TIPOCR "C" or "D" (profiles 18, 38)
  int asset_line = 0;        // REFEREN (profile 27)
  core::Date agenda_day;     // DATAG (profiles 48, 49)
  std::string agenda_owner;  // NOMEAG
};

// A jump request of the warnings list: the screen, option, record and column to show.
struct JumpRequest {
  int screen = 0;
  int option = 0;
  int record = 0;
  int column = 0;
};

// The hot keys the browser hands to the rest of the program.
struct HotKeyHooks {
  std::function<std::optional<core::Decimal>()> calculator;  // Alt S: nullopt when left
  std::function<void()> save_declaration;                    // Alt W
  std::function<void()> end_declaration;                     // Alt T
  std::function<void()> toggle_use_clock;                    // Alt H
  std::function<void()> monthly_values;                      // Alt U outside the browser
};

struct EntryState {
  int OPC = 0;             // the profile running
  int PONTEIRO = 1;        // current column (1-based)
  int PONTVERT = 1;        // current row on the screen (1-based)
  std::string EDI_CAMPO;   // field of the current column
  bool LAPPEND = false;    // on the append row
  screen::Key LASTECLA;    // the key that started the last edit
  screen::Key ULTTECLA;    // the key the user left with
  bool TECLAMUDA = false;  // the screen loop is asked to change screen
  bool LTEMERR = false;    // a jump request: record NPOSIATU, column NQCOL first
  int NPOSIATU = 0;
  int NQCOL = 0;
  int SO_MOS = 1;     // 0: draw once and return
  bool LSAI = false;  // the program's exit request
  ClipText CLIPTEX;

  std::string cpf;  // the open taxpayer (11 digits)
  bool declaration_open = false;
  bool has_rural = false;      // Alt F2 / F12 lead to the rural screens
  bool saving_allowed = true;  // Alt W
  int base_year = 2019;
  AppendPresets presets;
  std::optional<JumpRequest> jump;
  HotKeyHooks hot_keys;
};

struct EntryContext {
  screen::Toolkit& tk;
  store::OpenerContext& store;
  store::WorkAreas& areas;
  EntryState& state;
};

}  // namespace dodu::entry

#endif  // DODU_ENTRY_ENTRY_CONTEXT_H_
