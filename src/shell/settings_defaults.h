// The records the start-up creates when they are missing, and the rules it
// applies to what it reads from them:
//
//   table 42 CONFIG    the terminal's settings         ConfigDefaults
//   table 43 DEFINE    the installation's defaults      DefineDefaults, due-date refresh,
//                                                       ReadInstallationSettings
//   table 56 CORES     the terminal's colours           ColourDefaults, composites
//   table 57 ListaIMP  the terminal's printer           PrinterDefaults
//
// Records are FieldValues: field name -> value, in the order of the table's layout,
// ready to be written through the store. Character values are code page 850 bytes
// as they go into the table (all the fixed defaults are ASCII); folder names are in
// the form the tables keep (system or native, see FolderStyle).
#ifndef DODU_SHELL_SETTINGS_DEFAULTS_H_
#define DODU_SHELL_SETTINGS_DEFAULTS_H_

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"

namespace dodu::shell {

// Year constants of this build.
inline constexpr char kCanoAtual[] = "20";
inline constexpr char kCanoAnter[] = "19";
inline constexpr char kCanoAntes[] = "18";
inline constexpr int kNanoAtual = 2020;

using FieldData = std::variant<std::string, core::Decimal, core::Date, bool>;

struct FieldValue {
  std::string name;  // upper case, as in the layout
  FieldData value;
  bool operator==(const FieldValue&) const = default;
};
using FieldValues = std::vector<FieldValue>;

FieldValue CharField(std::string name, std::string text);
FieldValue NumericField(std::string name, int64_t whole);
FieldValue NumericField(std::string name, core::Decimal value);
FieldValue DateField(std::string name, core::Date date);
FieldValue LogicalField(std::string name, bool value);

// The value of `name` (exact, upper case), or nullptr.
const FieldValue* FindField(const FieldValues& record, std::string_view name);
// Typed reads: the default when the field is absent or of another kind. Character
// values come back without their trailing blanks (as a C field pads them).
std::string CharOf(const FieldValues& record, std::string_view name, std::string fallback = "");
int64_t IntOf(const FieldValues& record, std::string_view name, int64_t fallback = 0);
core::Decimal DecimalOf(const FieldValues& record, std::string_view name,
                        core::Decimal fallback = {});
core::Date DateOf(const FieldValues& record, std::string_view name, core::Date fallback = {});
// Replaces the fields of `record` named in `changes`, appending those it lacks.
void ApplyFields(FieldValues& record, const FieldValues& changes);

// ---- Table 42, CONFIG ------------------------------------------------------

// How the folders that point outside the installation are written in a new
// settings record. kWindows: the drive-letter names of the original installation
// ("C:\KEVA2019"), which reach the disk through the drive map. kNative: absolute
// native paths under a base folder (the operator's home), the default here.
enum class FolderStyle { kWindows, kNative };

struct OutsideFolders {
  std::string rotaanter;  // previous year's program folder
  std::string rotarecei;  // official program's data folder as created (has "APLICACAO")
  std::string rotareant;  // previous year's transmitted declarations
  std::string dirinst;    // this program's folder
  bool operator==(const OutsideFolders&) const = default;
};

OutsideFolders WindowsOutsideFolders();
// base "/home/ana" -> "/home/ana/KEVA2019", "/home/ana/ProgramasRFB/IRPF2020/APLICACAO/DADOS",
// "/home/ana/ProgramasRFB/IRPF2019/TRANSMITIDAS"; dirinst is `program_folder`.
OutsideFolders NativeOutsideFolders(std::string_view base, std::string_view program_folder);

struct ConfigInput {
  std::string terminal;  // "00".."99"
  std::string rotadef;   // installation folder
  std::string dirdef;    // the installation variable as read (may be empty)
  core::Date today;
  OutsideFolders outside;
};

// The record appended for a terminal seen for the first time.
FieldValues ConfigDefaults(const ConfigInput& in);

// The operator name: NOMEAG, or "USUARIO DO TERMINAL " + terminal when it is blank.
std::string OperatorName(std::string_view nomeag, std::string_view terminal);

// A folder name with its closing separator, as the LOC... variables and ARQDEF are
// kept: "\" for system names, "/" for native ones ("/srv/x" -> "/srv/x/"). Trailing
// blanks are dropped first; an existing closing separator is kept as it is.
std::string WithFolderSeparator(std::string_view folder);
// LOCIRPF: ROTAJAVA with its separator, or "" when it is blank (no hand-over).
std::string LocIrpf(std::string_view rotajava);
// The part of the official program's folder before its component "APLICACAO"
// (found without regard to case), separator included:
// "C:\ARQUIVOS DE PROGRAMAS RFB\IRPF2020\aplicacao\dados" -> "C:\ARQUIVOS DE PROGRAMAS RFB\IRPF2020\".
// nullopt when there is no such component.
std::optional<std::string> OfficialProgramRoot(std::string_view folder);

// ---- Table 43, DEFINE -------------------------------------------------------

// The one record appended when the table is created.
FieldValues DefineDefaults();

// The record still carries the first quota due date of the old calendar.
bool NeedsDueDateRefresh(const FieldValues& define_record);
// The fields the refresh rewrites (VCTO1..VCTO8 and VAL_DOLAR).
FieldValues DueDateRefresh();

// The bank of the fee slips, whatever the record says.
inline constexpr int kBolBanco = 341;

// What the start-up keeps from table 43.
struct InstallationSettings {
  core::Decimal val_seg, val_byte, val_min;
  int como_sal = 0, temp_sal = 0, temp_des = 0;
  core::Decimal val_cpmf;
  int bol_banco = kBolBanco;
  int64_t bol_nosnro = 0;
  std::string ser_smtp, nom_usua, ema_usua, sen_usua, memoriz, ver_atual, processa, progcomp;
  int statrava = 0;
  std::vector<core::Date> adatvenc;  // quota 1..8 due dates (index 0 = quota 1)
  core::Decimal nvaldolar;
  std::string cvaldolar;  // NVALDOLAR in 6 characters with 4 decimals ("4.0301")
};
InstallationSettings ReadInstallationSettings(const FieldValues& define_record);

// ---- Table 57, ListaIMP -------------------------------------------------------

FieldValues PrinterDefaults(std::string_view terminal, std::string_view default_printer);

// ---- Table 56, CORES ----------------------------------------------------------

FieldValues ColourDefaults(std::string_view terminal);

// The colour settings built from the record at start.
struct CompositeColours {
  std::string cornorm, corlimp, corsele, invisivel, cormenu, coraten;
  bool operator==(const CompositeColours&) const = default;
};
CompositeColours BuildCompositeColours(const FieldValues& colours);

}  // namespace dodu::shell

#endif  // DODU_SHELL_SETTINGS_DEFAULTS_H_
