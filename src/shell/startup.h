// The start-up of a station, from the open screen to the first display of the
// main menu, in this order:
//
//   the main window's caption and status bar; the terminal number (command line,
//   TERMINAL over it, QUAL_USUR on a network drive, "00" otherwise); the
//   installation folder (DIR2020; missing: the status-bar message and the
//   current folder); the colours (table 56, created with their defaults);
//   CONFIGURA (table 42 shared, the terminal's record created with its
//   defaults); the settings copied into the station; the main screen with its
//   banner; the days since the last full backup; table 43 read with the
//   due-date refresh (BOL_BANCO is always 341); the data-folder question; the
//   work-folder fall-back; the printer record (table 57); the start-up set of
//   tables with the folder list held exclusively; the data folder registered in
//   the folder list; the update check; the register of the data folder; the
//   upgrade check; the backup reminder.
//
// The operator has been told about every failure before StartUp returns; the
// answer then says why the program ends (for the log):
//   OK          go on with the main loop
//   kInvalid    the terminal number or the drive map (DODU_DRIVES) is not valid
//   kLocked     the settings table could not be opened, or a station with this
//               terminal number is running ("... está em uso")
//   kCancelled  the operator would not use the installation folder as data folder
//   others      a table could not be read or written
//
// Every folder kept in the station's OpenerContext is a native path; the
// settings record keeps folders as written there (code page 850).
#ifndef DODU_SHELL_STARTUP_H_
#define DODU_SHELL_STARTUP_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"
#include "screen/toolkit.h"
#include "shell/station.h"

namespace dodu::shell {

struct StartupOptions {
  std::optional<std::string> terminal_arg;  // the command-line terminal number
  std::string current_folder;               // native; the process's folder at start
  // Base of the native defaults of the folders outside the installation (the
  // previous year's program, the official program's folders); empty: the
  // installation folder.
  std::string home_folder;
  // Name of the system's default printer, kept in a new printer record.
  std::string default_printer;
};

// What later parts of the system fill in; the defaults do what the start-up
// needs until then.
struct StartupHooks {
  // The silent update check, run unless VER_ATUAL is "N". Default: nothing.
  std::function<void(Station&)> update_check;
  // The upgrade check of declaration table `number` (1..21): creates the table
  // when it is missing and answers true when its layout is older than the
  // current one. Default: creates a missing table, never outdated.
  std::function<Result<bool>(Station&, int number)> upgrade_check;
};
StartupHooks DefaultStartupHooks();

Status StartUp(Station& station, const StartupOptions& options,
               const StartupHooks& hooks = DefaultStartupHooks());

// Pieces of the start-up that other parts run again.

// CRIACOR: reads the terminal's colour record (creating it with the defaults)
// into the toolkit's colour settings and the station.
Status LoadColours(Station& station);
// The colour record's fields of the toolkit's colour settings.
FieldValues ColourFields(const screen::ColourSettings& colours);
void ApplyColours(const FieldValues& record, screen::ColourSettings& colours);
// The printer record of a new terminal: "NAO DOS", the default printer, and the
// pitch codes as the characters 18 and 15 (written <018> and <015>).
FieldValues NewPrinterRecord(const std::string& terminal, const std::string& default_printer);
// The existing native folder a folder name of the settings record stands for
// (code page 850, system or native form, any case), or nullopt.
std::optional<std::string> ExistingFolder(Station& station, const std::string& cp850_name);
// The operator's alarms of today still to come (table 72, when it exists):
// AVISAG set, NOMEAG the operator, DATAG today, HORAG after the current "hhmm".
Status LoadAlarms(Station& station);
// VE_AGEN: each alarm whose HORAG is this minute is shown in the error box
// "ATENÇÃO - " + "HH:MM" + " " + ANOTAG and dropped from the list.
void VE_AGEN(Station& station);
// The banner line under the emblem of the main screen (code page 850).
std::string BannerLine(const Station& station);
// The backup reminder's question, or nothing when no reminder is due today.
std::optional<std::vector<std::string>> BackupReminder(const core::Date& today, int ndiasem);

// Texts (UTF-8).
inline constexpr char kConfigBusy[] = "Arquivo de configuração sendo usado no momento";
inline constexpr char kUpgradeTitle[] = "ATUALIZAÇÃO NECESSÁRIA";
inline constexpr char kUpgrade1[] = "ATENÇÃ0!!! Antes de usar o programa em qualquer";
inline constexpr char kUpgrade2[] = "função é preciso atualizar a base de dados.";
inline constexpr char kUpgrade3[] = "Vá no item Declaração/Atualiza base de dados.";
// "O programa DODU2020 no terminal " + number + " está em uso"
std::string TerminalInUseText(const std::string& terminal);

}  // namespace dodu::shell

#endif  // DODU_SHELL_STARTUP_H_
