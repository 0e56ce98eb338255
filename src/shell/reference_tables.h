// The reference tables of an installation (asset, dependency, debt and payment
// codes, SELIC rates, banks, occupations, countries, municipalities, warning
// texts, status codes and the short lists kept by the office) built as DBF
// tables with their index files from the public lists in a folder of CSV files.
//
// Where the lists come from. The folder is the one given to the builder; the
// program takes it from the command line or, when none is given, from the
// environment variable DODU_REFDATA. The files and their columns:
//   bens.csv (codigo,descricao)               46 CODBENS
//   dependentes.csv (codigo,descricao)        47 CODEPEN
//   dividas.csv (codigo,descricao)            48 CODDIVI
//   pagamentos.csv (codigo,descricao,ficha)   49 DESPESA
//   selic.csv (anomes,taxa)                   51 UFIRM
//   bancos.csv (numero,nome,cnpj,ispb,inicio_operacao)  55 BANCOS, only the
//       institutions operating by 30/04/2020 (or without a start date)
//   ocupacoes.csv (codigo,descricao)          58 OCUPACAO
//   natureza_ocupacao.csv (codigo,descricao)  59 CODNATUR
//   paises.csv (codigo,nome,...,codigo_bacen) 60 TABPAIS, only countries that
//       still have a central-bank code (current ones)
//   municipios.csv (tom,ibge,nome,uf) and ufs.csv (ibge,uf,nome)
//       64 TABMUNI (names with accents) and 94 TAB_MUNI (the same names without
//       accents, for names typed without them); each also has one record per
//       state, "SP - SÃO PAULO", with a blank state field.
// The system's own lists: warning texts (54 LisErro), status codes (66 STATUS),
// street types (65 TABLOGR), the chart of accounts (62 CONTAS). Tables without a
// public list start empty for the office to fill: help texts (45 HELPTXT),
// consulates (61 TABEMBA), rural asset codes (69 CODABENS), the funds that may
// receive direct donations (75 ECACIDAD and IDOCIDAD); and so do the auxiliary
// lists 52 AUXBENS and 53 AUXPAG.
//
// Text is written in code page 850 (a character it lacks becomes "?"), cut to
// the field's width; codes keep their leading zeros in character fields; rates
// are exact decimals. Each table is written with the fields its catalogue
// layout has: values for fields the layout lacks are left out, so new fields in
// the catalogue are filled without touching this builder.
//
// Safety. An existing table is never touched (the office may have edited it).
// A new table is built with its indexes in a staging folder inside the
// installation folder and moved into place index files first, the table last,
// so a table that exists is complete. A missing or damaged list never stops the
// build: its table is not created and the report says which file is missing.
#ifndef DODU_SHELL_REFERENCE_TABLES_H_
#define DODU_SHELL_REFERENCE_TABLES_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"
#include "store/catalogue.h"

namespace dodu::shell {

// The environment variable naming the folder of the reference lists.
inline constexpr char kReferenceDataVariable[] = "DODU_REFDATA";

// One record to write: field name and value as UTF-8 text (numbers as decimal
// text with "." as the decimal point, logicals "S"/"N", dates "yyyymmdd").
// An empty value leaves the field blank.
struct ReferenceRow {
  std::vector<std::pair<std::string, std::string>> fields;
  ReferenceRow& Set(std::string name, std::string value) {
    fields.emplace_back(std::move(name), std::move(value));
    return *this;
  }
};

enum class ReferenceOutcome {
  kBuilt,    // created now
  kKept,     // already there, left as it was
  kMissing,  // a list it needs is missing: not created
  kFailed,   // a list could not be read or a write failed: not created
};

struct ReferenceTableResult {
  int number = 0;
  std::string file;     // base name: "CODBENS"
  std::string source;   // the CSV file(s), or "" for the system's own list
  ReferenceOutcome outcome = ReferenceOutcome::kBuilt;
  uint32_t rows = 0;    // records written (kBuilt)
  Status status;        // why, for kMissing and kFailed
};

struct ReferenceReport {
  std::vector<ReferenceTableResult> tables;
  // Lists that were looked for and not found, in the order met ("bancos.csv").
  std::vector<std::string> missing_files;
  // True when every table was built or kept.
  bool complete() const;
  const ReferenceTableResult* Find(int number, std::string_view file = "") const;
};

// The folder of the reference lists: `argument` when not empty, else the
// variable DODU_REFDATA. kNotFound when neither names a folder that exists.
Result<std::string> ReferenceDataFolder(platform::Env& env, std::string_view argument);

// Builds every reference table missing from `installation_folder` (native
// path, must exist) from the lists in `csv_folder` (empty: no lists at all, so
// only the tables of the system's own lists are built). Never fails as a whole:
// each table's outcome is in the report. Tables are opened exclusively while
// built; nothing else may use the installation folder meanwhile.
ReferenceReport BuildReferenceTables(platform::Env& env, const std::string& installation_folder,
                                     const std::string& csv_folder);

// Writes one table `folder`/`file_name`.DBF with the layout and index keys of
// `table` and the records `rows`, through the staging folder described above.
// Answers the number of records. kInvalid when a value does not suit its field
// (naming the field and the record), or when the table already exists; file
// errors otherwise (nothing is left in `folder` then).
Result<uint32_t> WriteReferenceTable(platform::Env& env, const std::string& folder,
                                     const store::TableDef& table, const std::string& file_name,
                                     const std::vector<ReferenceRow>& rows);

// Operator lines (code page 850) for what the report says is missing, one per
// table not built: "Tabela BANCOS não criada: falta bancos.csv".
std::vector<std::string> ReferenceReportLines(const ReferenceReport& report);

}  // namespace dodu::shell

#endif  // DODU_SHELL_REFERENCE_TABLES_H_
