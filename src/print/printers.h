// The printers a station can send a job to, and the destinations it offers.
//
// Besides the operating system's printers (CUPS queues) there are always:
//   "NAO DOS"         the small text-printing program beside dodu2020 (nodosimp)
//   "Sem Impressora"  no printer: the job is shown on the screen
//   "Arquivo PDF"     the job is saved as a PDF file in the work folder; it
//                     counts as a PDF printer wherever the name is asked
//                     whether it contains "PDF"
// so a station without any printer installed still prints somewhere.
#ifndef DODU_PRINT_PRINTERS_H_
#define DODU_PRINT_PRINTERS_H_

#include <memory>
#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"

namespace dodu::print {

inline constexpr char kNaoDos[] = "NAO DOS";
inline constexpr char kSemImpressora[] = "Sem Impressora";
inline constexpr char kPdfFile[] = "Arquivo PDF";

struct PrinterList {
  std::vector<std::string> names;  // the queues, in the system's order
  std::string default_name;        // empty: no default
};

// The operating system's printing. Tests use a fake.
class PrinterSystem {
 public:
  virtual ~PrinterSystem() = default;
  virtual Result<PrinterList> List() = 0;
  // Sends `file` to `queue`: a PDF, or with `raw` the bytes as they are (a
  // dot-matrix printer reading the pitch characters itself).
  virtual Status Submit(const std::string& queue, const std::string& file, bool raw,
                        const std::string& job, int copies) = 0;
};

// CUPS through its commands (lpstat, lp), spawned with argument vectors.
// `scratch_folder` holds the commands' output while it is read.
std::unique_ptr<PrinterSystem> NewCupsPrinters(platform::Env& env, std::string scratch_folder);

// ESC_IMP's list: the system's printers, then the three destinations above.
std::vector<std::string> Destinations(const PrinterList& printers);

// True for a destination that makes PDF files ("PDF" in its name).
bool IsPdfDestination(const std::string& name);

// Reads `lpstat -e` and `lpstat -d` output (for tests of the parsing).
PrinterList ParseLpstat(const std::string& queues, const std::string& default_line);

}  // namespace dodu::print

#endif  // DODU_PRINT_PRINTERS_H_
