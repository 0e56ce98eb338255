// The narrow seams through which the main-menu dispatcher reaches what it does
// not own: the operator's answers (the message box and one-field prompts of the
// screen toolkit) and the terminal's settings tables (through the table opener).
// The screen and the start-up implement them; tests use scripted fakes.
//
// Texts passed through these interfaces are code page 850 bytes.
#ifndef DODU_SHELL_DISPATCHER_PORTS_H_
#define DODU_SHELL_DISPATCHER_PORTS_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/status.h"
#include "shell/settings_defaults.h"

namespace dodu::shell {

class Prompts {
 public:
  virtual ~Prompts() = default;
  // A yes/no box ("S"/"N"). true yes, false no, nullopt when the operator left it
  // with Esc (the caller then changes nothing).
  virtual std::optional<bool> YesNo(const std::vector<std::string>& lines,
                                    const std::string& title) = 0;
  // A one-field window asking a whole number of at most `digits` digits, starting
  // at `initial`. nullopt on Esc.
  virtual std::optional<int> Number(const std::string& prompt, const std::string& title,
                                    int digits, int initial) = 0;
};

// The terminal's settings record (table 42) and the installation defaults
// (table 43), as the dispatcher needs them.
class SettingsTables {
 public:
  virtual ~SettingsTables() = default;
  // Opens tables 43 and 42 and finds the terminal's settings record; run before
  // the actions 21 to 36. A failure has already been told to the operator (the
  // opener does so); the action is then not run.
  virtual Status Open() = 0;
  // Closes both again, after the action.
  virtual void Close() = 0;
  // Writes fields of the terminal's settings record under a record lock with a
  // 5-second wait. kLocked when refused: the values are then simply not stored.
  virtual Status WriteConfig(const FieldValues& fields) = 0;
  // The same for the single record of table 43.
  virtual Status WriteDefine(const FieldValues& fields) = 0;
  // True when `code` is in the status table (table 66).
  virtual bool StatusCodeExists(int code) = 0;
};

}  // namespace dodu::shell

#endif  // DODU_SHELL_DISPATCHER_PORTS_H_
