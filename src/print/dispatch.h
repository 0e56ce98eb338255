// The end of a print job: the terminal's work file goes to its destination
// once (IMP_TXT), the per-taxpayer copies of a run are kept, and the names of
// the files a job leaves behind are made safe for the file system.
#ifndef DODU_PRINT_DISPATCH_H_
#define DODU_PRINT_DISPATCH_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"
#include "print/printers.h"

namespace dodu::print {

// The terminal's print settings (tables 42 and 57).
struct PrintOptions {
  std::string destination = kNaoDos;  // NOMEIMP
  bool choose_each_time = false;      // MOSIMP "S"
  bool show_first = false;            // MOSTEL "S"
  bool keep_copies = false;           // MOSCPF "S"
  int copies = 1;                     // NRO_VIAS; 0 counts as 1
  int lines_per_page = 60;            // NROLINHAS
};

struct PrintFolders {
  std::string work;     // LOCTRAB: the work files and saved PDFs
  std::string program;  // where nodosimp lives (beside dodu2020)
};

// What dispatching needs from the operator; the screen implements it.
class DispatchPorts {
 public:
  virtual ~DispatchPorts() = default;
  // The destination chosen again (MOSIMP); nullopt keeps `current`.
  virtual std::optional<std::string> Choose(const std::vector<std::string>& destinations,
                                            const std::string& current) = 0;
  // Shows the print file read-only until the operator leaves it.
  virtual void View(const std::string& path) = 0;
  // A message box (code page 850 lines).
  virtual void Tell(const std::vector<std::string>& lines) = 0;
};

enum class DispatchResult { kNothing, kPrinted, kViewed, kSaved };

struct Dispatched {
  DispatchResult result = DispatchResult::kNothing;
  std::string pdf_path;  // kSaved: the file written
};

// IMP_TXT(job): sends work + "NAO-DOS.TXT" to `options.destination`. An empty or
// missing file is never sent ("Nada para imprimir!!" when `one_taxpayer`); the
// final page break is dropped first. A system printer gets an A4 PDF; "NAO DOS"
// starts nodosimp with the file and its arguments, waiting; "Sem Impressora"
// shows the file; "Arquivo PDF" writes `job`.pdf into the work folder, never over
// another job's file. Failures are told through `ports` and returned.
Result<Dispatched> DispatchPrintFile(platform::Env& env, PrinterSystem& printers,
                                     DispatchPorts& ports, const PrintOptions& options,
                                     const PrintFolders& folders, const std::string& job,
                                     bool one_taxpayer);

// nodosimp's arguments after the file: "96", then "pre/sel", "pre" or "sel"
// as MOSTEL and MOSIMP say.
std::vector<std::string> NaoDosArguments(bool show_first, bool choose_each_time);

// A file name from text the operator or a taxpayer's name supplied (code page
// 850): converted to UTF-8, without "/", "\", control characters or "..";
// blank names become "_".
std::string SafeFileName(const std::string& cp850);

// The per-taxpayer copy: CPF (11 digits) + the first word of the name with its
// trailing blank + the last word + ".TXT", made safe.
std::string TaxpayerCopyName(const std::string& cpf, const std::string& name_cp850);

// After one taxpayer of a run with copies kept: "PROV-DOS.TXT" is appended to
// "NAO-DOS.TXT" and renamed to the taxpayer's copy (an older copy is replaced).
Status KeepTaxpayerCopy(platform::Env& env, const std::string& work_folder,
                        const std::string& cpf, const std::string& name_cp850);

// `folder`/`stem`.pdf, or `stem`-2.pdf, -3... when that exists.
std::string UnusedPdfPath(platform::Env& env, const std::string& folder, const std::string& stem);

}  // namespace dodu::print

#endif  // DODU_PRINT_DISPATCH_H_
