// The taxpayer selection that every per-taxpayer action of the main menu
// starts with (options 10, 11, 12, 13, 16, 51, 61): the operator types a CPF,
// or a name, or picks from the register lists; the taxpayer is sought in the
// register of the current data folder, then in the other folders of the
// terminal's folder list; a declaration left open by a crash is offered for
// recovery, one open on another terminal is warned about, and a new taxpayer
// is created on request.
//
// The selection reads the register (shared) and this terminal's own work
// files (exclusive); it writes nothing but the folder list's selected folder
// (TROCASIM) when the taxpayer is found in another folder. Loading the
// declaration, the lists and the actions after the selection belong to other
// parts of the program and are reached through SelectionHooks; an unset hook
// is skipped (loading) or shows the "not available" box (actions).
//
// Texts on the screen and in tables are code page 850.
#ifndef DODU_SHELL_SELECTION_H_
#define DODU_SHELL_SELECTION_H_

#include <functional>
#include <optional>
#include <string>

#include "core/date.h"
#include "entry/entry_context.h"
#include "entry/lookup.h"
#include "entry/profile.h"
#include "platform/status.h"
#include "screen/toolkit.h"
#include "shell/declaration_session.h"
#include "shell/dispatcher.h"
#include "shell/selection_frame.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::shell {

// What the portal of option 10 is given from the register record.
struct PortalAccess {
  std::string cpf;
  std::string codacesso;  // CODACESSO
  std::string senacesso;  // SENACESSO
  core::Date validsena;   // VALIDSENA
  core::Date nascimento;  // NASCIMENTO
};

// What the selection calls outside itself. Every hook may be left unset.
struct SelectionHooks {
  // Loads the declaration of the chosen taxpayer. Unset: nothing is loaded and
  // the selection goes on as if it had been. A failure ends the selection.
  std::function<Status(const LoadRequest&)> load;
  // F4's check before work copies are reused: answers false when the operator
  // will not go on (the selection then ends). Unset: the box
  // "Os dados de trabalho deste terminal podem estar desatualizados." /
  // "Outro terminal pode ter salvo essa declaração depois. Continua?" is asked
  // when RecoveryNeedsWarning would say so (see selection.cc).
  std::function<bool(const std::string& cpf, const std::string& nusuat)> recovery_check;
  // The register list (F1, F2, F3, F8 and the name search). Unset: nothing is
  // picked.
  std::function<Result<std::optional<entry::RegisterPick>>(const entry::RegisterListRequest&)>
      register_list;
  // The status list of VE_STAT modes 1 and 5: the code picked, nullopt when
  // left with Esc. Unset: nothing is picked.
  std::function<std::optional<int>()> status_list;
  // Option 11 after loading: the open declaration. Answers OPCFIM (1 ends the
  // selection, 0 selects the next taxpayer).
  std::function<int()> run_declaration;
  std::function<bool(const PortalAccess&)> portal;     // 10: true when the portal opened
  std::function<void()> ledger;                        // 12
  std::function<void()> conference;                    // 13
  std::function<void(const std::string& cpf)> remove;  // 16: the caller's deletion
  std::function<void()> print;                         // 51 after each taxpayer (GET_CODIGO)
  std::function<void()> print_selection;               // 51 from the main menu
  std::function<void()> handover;                      // 61, 62, 63 after loading
  std::function<void()> corrected_list;                // F5
};

// The selection's run state (the globals of the same names).
struct SelectionState {
  std::string cpf;          // CPF, 11 characters
  std::string nomecontr;    // NOMECONTR, 53 characters
  bool lrecupera = false;   // reopen from this terminal's work copies
  bool pvez = false;        // a taxpayer created in this selection
  std::string resp = "N";   // "S" when the operator agreed to create it
  bool only_rural = false;  // F8's filter on the register
  std::string bar;          // MOSTRADOR's progress bar
};

// Everything the selection works with. The references outlive it.
struct SelectionContext {
  SelectionContext(screen::Toolkit& tk, store::OpenerContext& ctx, store::WorkAreas& areas,
                   MainMenuState& menu, std::string& ult_cpf);

  screen::Toolkit& tk;
  store::OpenerContext& ctx;
  store::WorkAreas& areas;
  MainMenuState& menu;   // OPCAO_1 and OPCFIM
  std::string& ult_cpf;  // ULT_CPF of the terminal's settings
  int base_year = 2019;  // NANOATUAL - 1, for the ages of the details window
  SelectionHooks hooks;
  // Called with the option code when an action has no hook (the dispatcher's
  // "not available" box). Unset: nothing is shown.
  std::function<void(int code)> not_available;
  SelectionState state;
  SelectionFrame frame;
  // The browser's state for the folder list (F7) and the warnings (F11).
  entry::EntryState entry_state;
  entry::ProfileRegistry profiles;
};

// ---- texts (UTF-8; converted to code page 850 where shown) ----
inline constexpr char kRecoverLine1[] =
    "A declaração desse contribuinte não terminou corretamente.";
inline constexpr char kRecoverLine2[] = "Deseja recuperar as últimas informações trabalhadas?";
inline constexpr char kElsewhereLine1[] =
    "A declaração desse contribuinte está ou ficou aberta no terminal ";
inline constexpr char kElsewhereLine2[] =
    "Caso tenha outra pessoa utilizando os dados daquele que salvar por último que";
inline constexpr char kElsewhereLine3[] =
    "prevalecera. Isso pode alterar o feito naquele terminal. Continua?";
inline constexpr char kNowhereLine1[] = "O contribuinte não foi localizado em nenhum das pastas ";
inline constexpr char kNowhereLine2[] = "indicadas. Confira o CPF e/ou a lista das pastas   ";
inline constexpr char kIncludeLine1[] = " Esse Contribuinte não está cadastrado  ";
inline constexpr char kIncludeLine2[] = "em nenhuma das Pastas indicadas. Inclui?";
inline constexpr char kNoLastCpf[] = "Impossível recuperar o último CPF.";
inline constexpr char kStaleLine1[] =
    "Os dados de trabalho deste terminal podem estar desatualizados.";
inline constexpr char kStaleLine2[] =
    "Outro terminal pode ter salvo essa declaração depois. Continua?";

// DECLARA(): the selection loop of main-menu option `code`, followed by its
// action. Before the loop the work copies are closed. 51 runs the print
// selection instead; 62 and 63 load the current CPF and hand it over without
// any selection. Otherwise taxpayers are selected until GET_CODIGO answers
// false or the action ends the loop (every option but 11 after one taxpayer;
// 11 when the declaration ends with OPCFIM 1). OK with true when at least one
// taxpayer was chosen. When option 11 opened a declaration, the end of the
// selection gives the register record of the last CPF `ORDEM` 0 (only a
// record that exists). Errors of the tables and the screen pass through
// (ScriptExhausted of the virtual terminal too).
Result<bool> DECLARA(SelectionContext& s, int code);

// GET_CODIGO(): one selection for option `code`. The CPF field (wrong check
// digits keep the cursor there) or, with the CPF empty, the name field (the
// name search; nothing picked keeps the cursor there); Esc ends with false.
// The CPF is then sought in the register (area 9, which must be open):
//   found (or F4 chose to recover): options 11 and 13 check NUSUAT (this
//     terminal and a work copy of the same CPF: the recovery question; another
//     terminal: whether to go on, "no" ends with false; F4 after a normal
//     close: the stale-copy question) and load (recovery or existing); 51
//     prints; true.
//   not found, 12 13 16 51 61: the other folders (BUSCA_OUTRO); nowhere: the
//     error box and false; found: 12, 13 and 61 load, 51 prints; true.
//   not found, 11: the other folders; nowhere: "Inclui?" (yes: a new taxpayer,
//     pvez, resp "S", loaded; no: false); found: the NUSUAT check and the load.
//   not found, any other option: true with nothing loaded.
// A load that fails ends with false (the loader has told the operator).
Result<bool> GET_CODIGO(SelectionContext& s, int code);

// BNOME2(name): the name search. Soft seek of the upper-cased name in the
// name order; without an exact match the register list opens there. The
// found or picked CPF and name become the selection (true); false when
// nothing was picked. The register's order returns to CPF.
Result<bool> BNOME2(SelectionContext& s, const std::string& name);

// BUSCA_OUTRO(value, order, mode): seeks `value` (order 1 a CPF, 2 a name,
// soft) in the register of each folder of the folder list that holds one. On
// a hit: with mode 1 state.cpf/state.nomecontr take the record's (order 1) or
// its name (order 2); the folder becomes the current data folder and, unless
// `spouse`, the selected folder of the list (TROCASIM(mode)); the register is
// positioned on the record; true. Without a hit the register goes back to the
// folder it was in, mode 1 blanks state.nomecontr, the order is CPF; false.
Result<bool> BUSCA_OUTRO(SelectionContext& s, const std::string& value, int order, int mode,
                         bool spouse = false);

// DIRETO() (F4): the CPF of this terminal's work copy of the register. OK
// with nullopt when the work copy cannot be opened (nothing happens); the
// error box and nullopt when its CPF is blank.
Result<std::optional<std::string>> DIRETO(SelectionContext& s);

// SO_AAR() (F8): toggles the register's rural filter and opens the register
// list in CPF order; the pick, if any.
Result<std::optional<entry::RegisterPick>> SO_AAR(SelectionContext& s);

// MOS_DIR() (F7): the folder list "Pastas" in the record browser.
Status MOS_DIR(SelectionContext& s);

// Registers options 10, 11, 12, 13, 16, 51 and 61 with the dispatcher (their
// actions run DECLARA). `s` must outlive the registry. `s.not_available` is
// set to the dispatcher's box when unset.
void RegisterSelectionOptions(ActionRegistry& registry, SelectionContext& s,
                              Dispatcher& dispatcher);

}  // namespace dodu::shell

#endif  // DODU_SHELL_SELECTION_H_
