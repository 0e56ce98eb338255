// One running station: the screen it draws on, the opener context with its
// folders and terminal number, the open work areas, the terminal's settings and
// the installation's defaults as read at start, the main menu's run state and
// the dispatcher. The start-up (startup.h) fills it; the main loop
// (main_loop.h) runs on it; leaving writes its settings back.
//
// Also here: the seams the dispatcher reaches the operator and the settings
// tables through (ToolkitPrompts, StationTables), and the moves between table
// records and FieldValues.
#ifndef DODU_SHELL_STATION_H_
#define DODU_SHELL_STATION_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/date.h"
#include "platform/env.h"
#include "platform/status.h"
#include "screen/toolkit.h"
#include "screen/toolkit_sink.h"
#include "shell/dispatcher.h"
#include "shell/dispatcher_ports.h"
#include "shell/settings_defaults.h"
#include "shell/settings_defaults_terminal.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::shell {

// Build constants shown on the main screen and in "Sobre".
inline constexpr char kVersao[] = "Lib  ";
inline constexpr char kCultimaver[] = "22/07/21";
inline constexpr char kProgramCaption[] = "DODU2020 - Vesk";

// ---- records and FieldValues ------------------------------------------------

// Every field of the record (memo fields left out) as a FieldValue: character
// fields as stored (blank padded), numbers, dates, logicals.
FieldValues RecordFields(const store::Record& record);
// Puts `fields` into `record`; names the layout lacks are skipped. kInvalid
// (record unchanged from that field on) when a value does not fit its field.
Status PutFields(store::Record& record, const FieldValues& fields);

// Finds the record of `terminal` in `area` by walking it (NRO_TERM, the
// per-terminal tables 42, 56 and 57). True when found: the area is on it.
Result<bool> SeekTerminal(store::WorkArea& area, const std::string& terminal);
// Writes `fields` into the current record under REC_LOCK(seconds); the lock is
// let go afterwards. The lock's status (after its box) when refused.
Status WriteCurrentFields(store::OpenerContext& ctx, store::WorkArea& area,
                          const FieldValues& fields, int seconds = 5);
// Appends a record holding `fields` under ADD_REC(seconds), then lets it go.
Status AppendFields(store::OpenerContext& ctx, store::WorkArea& area, const FieldValues& fields,
                    int seconds = 5);

// ---- seams over the screen and the tables -----------------------------------

// A timed wait's messages on the status line; Esc read without waiting.
class ToolkitWaitObserver : public store::WaitObserver {
 public:
  explicit ToolkitWaitObserver(screen::Toolkit& tk) : tk_(tk) {}
  void StatusText(const std::string& text) override { tk_.SetStatusLine(text); }
  bool EscPressed() override;

 private:
  screen::Toolkit& tk_;
};

// The dispatcher's questions as message boxes (AVISOSN style 2) and one-field
// prompts (MENS kind 4). AVISOSN answers "N" to Esc, so YesNo never gives nullopt.
class ToolkitPrompts : public Prompts {
 public:
  explicit ToolkitPrompts(screen::Toolkit& tk) : tk_(tk) {}
  std::optional<bool> YesNo(const std::vector<std::string>& lines,
                            const std::string& title) override;
  std::optional<int> Number(const std::string& prompt, const std::string& title, int digits,
                            int initial) override;

 private:
  screen::Toolkit& tk_;
};

// Tables 42 and 43 through the opener, for the dispatcher and for leaving.
// Writes open the table themselves when it is not open (and close it again).
class StationTables : public SettingsTables {
 public:
  StationTables(store::OpenerContext& ctx, store::WorkAreas& areas) : ctx_(ctx), areas_(areas) {}
  Status Open() override;
  void Close() override;
  Status WriteConfig(const FieldValues& fields) override;
  Status WriteDefine(const FieldValues& fields) override;
  bool StatusCodeExists(int code) override;

 private:
  store::OpenerContext& ctx_;
  store::WorkAreas& areas_;
};

// ---- the station --------------------------------------------------------------

struct Station {
  // `env` and `tk` must outlive the station.
  Station(platform::Env& env, screen::Toolkit& tk);
  Station(const Station&) = delete;
  Station& operator=(const Station&) = delete;

  platform::Env& env;
  screen::Toolkit& tk;
  screen::ToolkitMessageSink sink;
  ToolkitWaitObserver wait;
  store::OpenerContext ctx;  // NUSU, ROTADEF, ROTADOANO, DIRTRAB as native folders
  store::WorkAreas areas;
  ToolkitPrompts prompts;
  StationTables tables;

  core::Date today;                   // HOJE
  std::string dirdef;                 // the installation variable as read
  std::string dirinst;                // the program's folder at start
  TerminalSettings settings;          // table 42 as read (folders as the record keeps them)
  InstallationSettings installation;  // table 43 as read
  FieldValues colours;                // table 56 as read
  FieldValues printer;                // table 57 as read
  int ndiasem = 0;                    // days since the last full backup
  struct Alarm {
    std::string horag;   // "hhmm", as the agenda keeps it
    std::string anotag;  // the note, code page 850
  };
  std::vector<Alarm> aagen;                // the operator's alarms still due today
  MainMenuState menu;                      // OPCAO_1, print selection, hand-over options...
  std::unique_ptr<Dispatcher> dispatcher;  // made once the settings are read
  bool leaving = false;                    // ROTSAIDA has run: the main loop ends
};

// The date of a civil time (the clock's today).
core::Date DateOfCivil(const platform::CivilTime& t);

}  // namespace dodu::shell

#endif  // DODU_SHELL_STATION_H_
