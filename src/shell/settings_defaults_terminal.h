// The terminal's settings record (table 42) as the run uses it: what the start-up
// copies into the run state (ReadTerminalSettings) and what leaving the program
// writes back (ExitFields, the fields ROTSAIDA stores under its record lock).
#ifndef DODU_SHELL_SETTINGS_DEFAULTS_TERMINAL_H_
#define DODU_SHELL_SETTINGS_DEFAULTS_TERMINAL_H_

#include <string>
#include <string_view>

#include "shell/print_selection.h"
#include "shell/settings_defaults.h"

namespace dodu::shell {

struct TerminalSettings {
  std::string terminal;
  std::string rotaanter, rotadoano, rotarecei, rotajava, rotaback, dirtrab, dirprov;
  std::string locirpf;  // ROTAJAVA with its separator, "" when blank
  PrintSelection print;  // QUEIMP..NRO_LIN, brought inside their lists
  int env_stat = 2, opc_tran = 7, soeste = 9, opttran = 0, opcfim = 0;
  std::string ult_cpf, xdrive = "C", opcirpf = "J", nomeag;
  core::Date ultback;
};

// Step 8 of the start-up: the record's values, trailing blanks dropped; a blank
// NOMEAG becomes "USUARIO DO TERMINAL " + terminal. Fields the record lacks keep
// the defaults of a new record.
TerminalSettings ReadTerminalSettings(const FieldValues& config, std::string_view terminal);

// The fields written back on leaving: NOMEAG, ROTADOANO, ROTARECEI, ROTAJAVA,
// ULT_CPF, DIRTRAB, OPTTRAN, SOESTE, ULTBACK, OPCIRPF, ENV_STAT, MARESQ, INIFOL,
// LINETI, NRO_LIN, OPC_TRAN, XDRIVE.
FieldValues ExitFields(const TerminalSettings& s);

}  // namespace dodu::shell

#endif  // DODU_SHELL_SETTINGS_DEFAULTS_TERMINAL_H_
