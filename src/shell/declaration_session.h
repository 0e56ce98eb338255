// The open declaration of this station: the declaration variables, the work
// copies of the taxpayer's records (private tables "TMP_" + nn + terminal in
// the work folder, open in areas nn + 20 with their index keys), the grids the
// screens edit and the timing of the working period.
//
// Lifecycle. Closed -> Load (the taxpayer's live records copied from the
// shared tables of the data folder into the work copies, the variables filled,
// the register marked with this terminal in `NUSUAT`) -> open (the screens
// change work copies and variables; SaveAll(kPartial) writes everything back
// and keeps it open) -> SaveAll(kFinal) (the register's `NUSUAT` cleared only
// once every table is replaced, the usage log written, the work copies closed)
// or Discard (nothing written but the register's mark). A station killed while
// a declaration is open leaves `NUSUAT` = its terminal and the work copies on
// disk: the next selection offers Load(kRecovery), which reads the variables
// from the work copies of the register and of table 01 and reuses every work
// copy as it is.
//
// Saving replaces the taxpayer's records of each shared table in place
// (store/replace.h): the cost follows the taxpayer's records, not the folder,
// the records of other taxpayers (deleted ones included) are never touched,
// and a kill at any moment leaves each table with the old or the new records.
//
// Waits. Every exclusive open of a shared table waits as store/replace_wait.h
// says: on loading the operator is asked "Outro terminal esta usando o arquivo
// IMPnnyy.DBF" / "Aguarde ?" ("Não" or Esc give up the load); on saving the
// waiting text shows and, after a while, the operator is asked whether to keep
// waiting. A save given up keeps the declaration open and reports which tables
// were saved; the next save completes it (each save replaces every table).
// Register records are written only under their record lock (PREP_REG,
// retried); when it cannot be had the save is abandoned with a message.
//
// Texts given to the display are code page 850.
#ifndef DODU_SHELL_DECLARATION_SESSION_H_
#define DODU_SHELL_DECLARATION_SESSION_H_

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/decimal.h"
#include "platform/status.h"
#include "shell/declaration_vars.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::shell {

class DeclarationSession;

// The routines of the computations, the hand-over and the checks that loading
// and saving call. Every default does nothing and succeeds, so a declaration
// loads and saves before those routines exist. A failure returned by a hook
// is reported by the load or save that called it (which then stops).
class DeclarationHooks {
 public:
  virtual ~DeclarationHooks() = default;
  // The full base recalculation ending with the cash balance (on load and save).
  virtual Status BALANCO(DeclarationSession&) { return Status::Ok(); }
  // CALC(what, arg): the carnê-leão (1, 0) and (2, 0) on load; the whole
  // calculation (7, 0) on save.
  virtual Status CALC(DeclarationSession&, int /*what*/, int /*arg*/) { return Status::Ok(); }
  // The capital-gain totals (mode 0 on load).
  virtual Status SOMA_NTRIB(DeclarationSession&, int /*mode*/) { return Status::Ok(); }
  // The variable-income figures.
  virtual Status CALC_GRV(DeclarationSession&) { return Status::Ok(); }
  // The spouse's figures from the spouse's declaration (on load, when `I9_4` is
  // "S" and the load is not part of a hand-over).
  virtual Status BUSCA_CONJU(DeclarationSession&) { return Status::Ok(); }
  // The rural debts summed for the activity about to be shown (`CATVATUAL`).
  virtual Status RuralDebts(DeclarationSession&) { return Status::Ok(); }
  // The rural totals summed (on load with rural activity and `TIPO_LANCA` 0).
  virtual Status RuralTotals(DeclarationSession&) { return Status::Ok(); }
  // LIMDOA(fund): the amount still available for a direct donation (1 the
  // children's fund, 2 the elderly fund).
  virtual core::Decimal LIMDOA(DeclarationSession&, int /*fund*/) { return core::Decimal(); }
  // The hand-over to the official program after a final save, when the
  // station's `OPTTRAN` asks for it (AVISOSRF guard included).
  virtual Status HandOver(DeclarationSession&) { return Status::Ok(); }
  // The declaration check of code 62.
  virtual Status CheckDeclaration(DeclarationSession&) { return Status::Ok(); }
  // The receipts of F5.
  virtual Status Receipts(DeclarationSession&) { return Status::Ok(); }
};

// What loading and saving show. Every default shows nothing.
class SessionDisplay {
 public:
  virtual ~SessionDisplay() = default;
  // The selection frame's line (window 3, row 6, column 2): "Criando os
  // dados.", "Reprocessando...", "Salvando Dados..".
  virtual void FrameText(const std::string& /*text*/) {}
  // The progress bar: emptied, then `marks` more marks.
  virtual void ProgressReset() {}
  virtual void ProgressAdd(int /*marks*/) {}
  // The message window of an intermediate save ("Salvando" /
  // "      Salvando as informaçoes"), opened and closed.
  virtual void SavingWindow(bool /*open*/) {}
  // The status bar ("Salvando IMP" + nn, "" clears it).
  virtual void StatusText(const std::string& /*text*/) {}
  // An error box (the protected status, an abandoned save).
  virtual void ErrorBox(const std::vector<std::string>& /*lines*/) {}
  // An information message left open while the hand-over runs; "" closes it.
  virtual void InfoText(const std::string& /*text*/) {}
};

enum class LoadKind {
  kExisting,  // INIC_VAR(1, 1): a taxpayer of the register
  kNew,       // INIC_VAR(1, 0): a new taxpayer, blank variables, empty work copies
  kRecovery,  // the work copies left by an interrupted declaration, as they are
};

struct LoadRequest {
  LoadKind kind = LoadKind::kExisting;
  std::string cpf;   // `CPF`, as the register stores it (11 characters)
  std::string name;  // `NOMECONTR` as the selection found it (kept for kExisting)
  // The main-menu option the load runs for: 11 (entry) marks the register's
  // `NUSUAT` with this terminal; 61 and above (the hand-overs) skip the spouse's
  // figures; 63 (the hand-over of every declaration of the folder) takes the
  // register in area 9 as the selection left it, positioned on the taxpayer's
  // first record, copies table 09 from there and leaves the register open.
  // Otherwise the register record is area 9's current one when the selection
  // left it on the taxpayer (else it is sought), and area 9 is closed.
  int menu_option = 11;
};

enum class SaveMode {
  kFinal,    // SALVATUDO(1): the declaration is being closed
  kPartial,  // SALVATUDO(0): Alt W, the automatic save
};

struct SaveReport {
  // OK: every table saved. kCancelled: the operator gave up waiting.
  // kLocked: a record lock could not be had. Otherwise the store's error.
  Status status;
  bool register_saved = false;  // the register record and table 01 written
  std::vector<int> saved;       // the declaration tables replaced, in order
  std::vector<int> not_saved;   // those still to be replaced
  // A final save that handed the declaration over: the hand-over's outcome
  // (the data are saved and the declaration closed whatever it says).
  Status hand_over;
  bool ok() const { return status.ok(); }
};

// Start values of the station a session needs.
struct SessionSettings {
  std::string operator_name;      // `NOMEAG` of this terminal
  int opttran = 0;                // `OPTTRAN`: 1 always hand over, 2 when `ESTATUS` is `SOESTE`
  int soeste = 0;                 // `SOESTE`
  int statrava = -1;              // `STATRAVA`: the protected status (-1: none)
  int temp_sal = 0;               // `TEMP_SAL`: 98 Alt W saves nothing
  int save_ask_after_ms = 30000;  // how long a save waits before asking to keep waiting
  int lock_attempts = 3;          // PREP_REG attempts before a save is abandoned
};

// 13 rows x 9 text cells: month label, the seven columns of table 12, a spare.
using MonthlyGrid = std::array<std::array<std::string, 9>, 13>;
// 12 rows x 2 text cells: the rural revenue and expenses in Brazil.
using RuralGrid = std::array<std::array<std::string, 2>, 12>;

class DeclarationSession {
 public:
  // `ctx`, `areas` and the hooks and display must outlive the session. The
  // session opens and closes the areas of the declaration (9, 1..21, 21..41)
  // and table 73; it leaves the others alone.
  DeclarationSession(store::OpenerContext& ctx, store::WorkAreas& areas, SessionSettings settings,
                     DeclarationHooks& hooks, SessionDisplay& display);
  ~DeclarationSession();
  DeclarationSession(const DeclarationSession&) = delete;
  DeclarationSession& operator=(const DeclarationSession&) = delete;

  // INIC_VAR: loads the taxpayer. OK: the declaration is open. kCancelled: the
  // operator gave up waiting for a table (nothing is open; the shared tables
  // are unchanged). kLocked: the register record could not be marked with this
  // terminal (the load is undone). Other codes: a work copy or table failed.
  Status Load(const LoadRequest& request);

  // SALVATUDO: see SaveReport. A final save that succeeded closes the
  // declaration; any other outcome leaves it open.
  SaveReport SaveAll(SaveMode mode);

  // SAL_DEC: the intermediate save of Alt W and of the automatic save. With the
  // protected status the protection box is shown and nothing is saved (nullopt);
  // with `TEMP_SAL` 98 nothing is saved either (nullopt). Otherwise SaveAll
  // (kPartial), with the current area, its record and its filter put back.
  std::optional<SaveReport> SAL_DEC();

  // Leaves without saving: the register's `NUSUAT` is cleared when the record
  // exists and still names this terminal (a new taxpayer writes nothing), the
  // work copies are closed and left on disk.
  Status Discard();

  bool is_open() const { return open_; }
  const std::string& cpf() const { return cpf_; }
  bool is_new() const { return new_taxpayer_; }
  int menu_option() const { return menu_option_; }

  DeclarationVars& vars() { return vars_; }
  const DeclarationVars& vars() const { return vars_; }
  store::WorkAreas& areas() { return areas_; }
  store::OpenerContext& ctx() { return ctx_; }
  // The work copy of declaration table n (1..21, not 13) in area n + 20;
  // nullptr when not open.
  store::WorkArea* WorkCopy(int table_number);

  MonthlyGrid& REC_MENSAL() { return rec_mensal_; }
  RuralGrid& REND_RURAL() { return rend_rural_; }
  // `CATVATUAL`: the rural activity the rural variables hold, "S" or "N".
  const std::string& CATVATUAL() const { return catvatual_; }

  // PRENCHEAAR(activity): the rural variables from the work-copy record of the
  // activity (appended blank when missing). `CATVATUAL` becomes `activity`.
  Status PRENCHEAAR(std::string_view activity);
  // SALVE35(activity): the rural variables into the work-copy record of the
  // activity (found or appended).
  Status SALVE35(std::string_view activity);

  // The screen the declaration shows (7: the calculation screen, where VETAMHO
  // also writes the variables into the work copies of tables 01 and 09).
  void SetScreen(int screen) { screen_ = screen; }
  // `SEMHORA`: the operator switched the clock off.
  void SetClockOff(bool off) { clock_off_ = off; }
  // VETEMPO(1): `TEMGAST`, the working seconds so far (mode 3, the usage log,
  // is the final save's).
  int64_t VETEMPO();
  // VETAMHO(0): `TAM_USO`, the size of the work copies (at most 999999).
  Result<int64_t> VETAMHO();
  // `SEM_SALV`: "hh:mm:ss" of the last save (of the load at first).
  const std::string& SEM_SALV() const { return sem_salv_; }

 private:
  friend class DeclarationLoader;
  friend class DeclarationSaver;

  store::OpenerContext& ctx_;
  store::WorkAreas& areas_;
  SessionSettings settings_;
  DeclarationHooks& hooks_;
  SessionDisplay& display_;

  DeclarationVars vars_;
  MonthlyGrid rec_mensal_{};
  RuralGrid rend_rural_{};
  std::string catvatual_ = "S";
  bool open_ = false;
  bool new_taxpayer_ = false;
  std::string cpf_;
  int menu_option_ = 11;
  int screen_ = 0;
  bool clock_off_ = false;
  int64_t ini_decla_ = 0;  // `INI_DECLA`, seconds since midnight
  int64_t fim_decla_ = 0;  // `FIM_DECLA`
  std::string sem_salv_;
  bool display_open_ = false;  // the intermediate save's window is shown
};

// The work-copy file base name of declaration table n: "TMP_" + nn + terminal.
std::string WorkCopyName(int table_number, const std::string& terminal);

// Whether F4 "Rec" (reusing the work copies left on this terminal) must warn:
// true unless the register's `NUSUAT` is this terminal, i.e. unless the
// declaration was left open here by an interruption.
bool RecoveryNeedsWarning(std::string_view register_nusuat, std::string_view terminal);

// Whether this terminal holds the work copies a recovery reads (the register's
// and table 01's).
bool RecoveryFilesExist(const store::OpenerContext& ctx);
// The same, and the work copy of the register belongs to taxpayer `cpf` (a
// later load of another taxpayer on this terminal overwrote them otherwise).
// Load(kRecovery) refuses work copies of another taxpayer with kNotFound.
bool RecoveryFilesExist(store::OpenerContext& ctx, std::string_view cpf);

// VETEMPO's period: seconds from `start` to `end` (seconds since midnight); an
// end before the start crossed midnight (23:59:00 -> 00:01:00 is 120).
int64_t ElapsedSeconds(int64_t start, int64_t end);

// Asset and debt renumbering of a save: `numbers` in file order -> the new
// numbers. Each line gets its rank (ties in file order) x 10 while every rank
// x 10 fits four digits (n <= 999 lines), else its rank 1..n. kInvalid beyond
// 9999 lines (they cannot be numbered in N(4)).
Result<std::vector<int>> RenumberLines(const std::vector<int>& numbers);

}  // namespace dodu::shell

#endif  // DODU_SHELL_DECLARATION_SESSION_H_
