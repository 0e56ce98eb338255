// The station's side of printing: the destination chooser (ESC_IMP, option 45),
// the reprint of the last job (option 52), the read-only viewer of a print file
// ("Sem Impressora" and "show the text before printing"), and the dispatch of
// a finished job with the terminal's settings.
#ifndef DODU_SHELL_PRINT_SCREENS_H_
#define DODU_SHELL_PRINT_SCREENS_H_

#include <optional>
#include <string>
#include <vector>

#include "print/dispatch.h"
#include "print/printers.h"
#include "screen/toolkit.h"
#include "shell/dispatcher.h"
#include "shell/station.h"

namespace dodu::shell {

// The list window "   Seleção da impressora": at most 15 rows shown, the
// current entry highlighted (the third when `current` is not listed). Arrows,
// PgUp/PgDn, Home/End move, Enter chooses. With `required` Esc does nothing,
// otherwise it gives nullopt. Entries and the answer are code page 850.
std::optional<std::string> ChooseDestination(screen::Toolkit& tk,
                                             const std::vector<std::string>& destinations,
                                             const std::string& current, bool required);

// Shows a print file read-only: pages one after another with a rule between
// them, pitch characters left out, overprinted text merged. Arrows, PgUp/PgDn,
// Home/End scroll; Esc leaves. The screen is restored.
void ViewPrintFile(screen::Toolkit& tk, platform::Env& env, const std::string& path);

// The dispatch ports on the station's screen.
class ToolkitDispatchPorts final : public print::DispatchPorts {
 public:
  ToolkitDispatchPorts(screen::Toolkit& tk, platform::Env& env) : tk_(tk), env_(env) {}
  std::optional<std::string> Choose(const std::vector<std::string>& destinations,
                                    const std::string& current) override;
  void View(const std::string& path) override { ViewPrintFile(tk_, env_, path); }
  void Tell(const std::vector<std::string>& lines) override;

 private:
  screen::Toolkit& tk_;
  platform::Env& env_;
};

// The terminal's print options from its settings.
print::PrintOptions PrintOptionsOf(const PrintSelection& selection);
// Where the job files are and where nodosimp lives.
print::PrintFolders PrintFoldersOf(const Station& st);

// ESC_IMP: the destination chosen from the system's printers and the three that
// need none (no printer installed is said, never the end of the program), stored
// as NOMEIMP in the terminal's printer record under its record lock.
Status ChoosePrinter(Station& st, print::PrinterSystem& printers);

// Dispatches the terminal's NAO-DOS.TXT with its settings (IMP_TXT).
Result<print::Dispatched> DispatchJob(Station& st, print::PrinterSystem& printers,
                                      const std::string& job, bool one_taxpayer);

// Options 45 (the printer choice) and 52 (the last job again). `printers` must
// outlive the registry.
void RegisterPrintOptions(ActionRegistry& registry, Station& st, print::PrinterSystem& printers);

}  // namespace dodu::shell

#endif  // DODU_SHELL_PRINT_SCREENS_H_
