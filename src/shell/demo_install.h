// A demonstration installation: a folder the program can be started in at
// once, holding the reference tables, the declaration tables of the data
// folder (created empty with their indexes, as the opener creates them) and
// one demonstration taxpayer in the register.
//
// The folder is both the installation folder and the data folder: a new
// terminal's settings take the installation folder as their data folder, so
// the taxpayer is there on the first start. Start the program with the
// installation-folder variable (DIR2020) naming the folder.
//
// Installing is idempotent: existing tables are kept as they are (the office
// may have worked in them) and the taxpayer is added only when its CPF is not
// in the register yet. Nothing here shows anything to the operator; the
// caller prints the report.
#ifndef DODU_SHELL_DEMO_INSTALL_H_
#define DODU_SHELL_DEMO_INSTALL_H_

#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"
#include "shell/reference_tables.h"

namespace dodu::shell {

// The demonstration taxpayer (CPF with valid check digits; name in UTF-8).
inline constexpr char kDemoTaxpayerCpf[] = "38491756264";
inline constexpr char kDemoTaxpayerName[] = "MARIA JOSÉ DA CONCEIÇÃO";

struct DemoInstallation {
  std::string installation_folder;  // native
  std::string data_folder;          // native; the same folder
  ReferenceReport reference;        // what the reference build did
  bool taxpayer_added = false;      // false: already in the register
};

// Installs the demonstration into `folder` (native; created when missing, its
// parent must exist). The reference lists are read from `reference_folder`, or
// from the folder DODU_REFDATA names when it is empty; when neither is there
// the tables that need them are reported missing and the rest goes on.
// Errors: kNotFound when `folder` cannot be made (missing parent); kLocked when
// another station holds a declaration table or the register exclusively; file
// errors. A missing or damaged list is never an error: see the report.
Result<DemoInstallation> InstallDemo(platform::Env& env, const std::string& folder,
                                     const std::string& reference_folder = "");

// Lines for the terminal (UTF-8) that say what the installation did and what
// is missing: one line per table not built, then the taxpayer line.
std::vector<std::string> DemoReportLines(const DemoInstallation& demo);

}  // namespace dodu::shell

#endif  // DODU_SHELL_DEMO_INSTALL_H_
