// What the start-up takes from outside the tables: the terminal number (command
// line, TERMINAL, or the operator's answer on a network drive) and the
// installation folder (the variable "DIR" + "20" + year, DIR2020 in this build).
//
// A terminal number names per-station files ("DIRET07", "TMP_0907") and the
// settings record; it is two digits "00".."99". A value given on the command line
// or in TERMINAL must be one or two digits (blanks around it are ignored) and is
// zero-padded; anything else ("7a", "123", "-1") stops the start-up with a message
// instead of naming files after it.
//
// Message texts returned here are UTF-8; the caller converts them where they reach
// the screen.
#ifndef DODU_SHELL_STARTUP_ARGS_H_
#define DODU_SHELL_STARTUP_ARGS_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/paths.h"
#include "platform/status.h"

namespace dodu::shell {

inline constexpr char kTerminalVariable[] = "TERMINAL";
inline constexpr char kOperatorVariable[] = "USUAR";
inline constexpr char kProposedTerminalVariable[] = "EQUIP";

// "DIR" + "20" + year: "DIR2020" for year "20".
std::string InstallFolderVariable(std::string_view canoatual);

// "7" -> "07", " 12 " -> "12"; nullopt for anything that is not one or two digits.
std::optional<std::string> NormaliseTerminal(std::string_view text);

// The terminal number from the command-line argument and TERMINAL (which wins
// when set and not blank). Neither given: nullopt (the start-up asks QUAL_USUR).
// kInvalid, with the message for the operator, when the value that counts is not
// one or two digits.
Result<std::optional<std::string>> TerminalFromArgs(std::optional<std::string> command_line,
                                                     std::optional<std::string> terminal_env);

// The answer of QUAL_USUR as a terminal number: two digits, "00" when empty or
// not a number of one or two digits.
std::string TerminalFromAnswer(std::string_view answer);

// The window QUAL_USUR shows on a network drive.
struct TerminalQuestion {
  std::string title;     // "Terminal"
  std::string operator_name;
  std::string prompt;    // " Informe o nro. do terminal." or " Confirme o nro. do terminal."
  std::string proposal;  // two digits, or "" when EQUIP gives none
};
TerminalQuestion MakeTerminalQuestion(std::optional<std::string> usuar,
                                      std::optional<std::string> equip);

// The installation folder: ROTADEF, ARQDEF (with its closing separator) and DIRDEF
// (the variable as read). An empty or unset variable gives the current folder; a
// variable naming a folder that does not exist gives the current folder and the
// status-bar message "<Dir> " + folder + "não encontrado. Assumindo o padrão!".
struct InstallFolder {
  std::string rotadef;
  std::string arqdef;
  std::string dirdef;
  std::optional<std::string> status_message;
};
InstallFolder ResolveInstallFolder(std::optional<std::string> variable,
                                   const std::function<bool(const std::string&)>& folder_exists,
                                   const std::string& current_folder);
// The same over an Env: the variable from the environment, existence from the
// disk. The variable may hold a native path or a system one ("D:\DODU2020"), which
// reaches the disk through `drives` (case-insensitively, as the tables name folders).
InstallFolder ResolveInstallFolder(platform::Env& env, const platform::PathMap& drives,
                                   const std::string& current_folder);

}  // namespace dodu::shell

#endif  // DODU_SHELL_STARTUP_ARGS_H_
