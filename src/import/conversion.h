// The conversion of a declaration read whole (declaration_file.h) into the rows
// of the destination tables: pure, no table and no screen. The questions it has
// to ask (the dependant age check) and the reference lists it reads (occupations,
// activities, banks, asset codes) come in through `ConversionInputs`.
//
// The result, a `TaxpayerPlan`, says for one taxpayer which fields of the
// register (table 09) and of the declaration record (table 01) change, and for
// each multi-record table the taxpayer's complete new set of rows: a whole
// import replaces the income lines, dependants, payments, assets, debts, heirs'
// shares and upkeep rows even when the file has no records of a kind. Modes
// that add (8, 10, the notes of 3) list the rows to be appended instead.
#ifndef DODU_IMPORT_CONVERSION_H_
#define DODU_IMPORT_CONVERSION_H_

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "import/declaration_file.h"
#include "import/row.h"
#include "platform/status.h"

namespace dodu::import {

// Import modes (the menu entries of the import).
enum class ImportMode {
  kWhole = 1,        // the whole declaration
  kGains = 2,        // capital gains: read, not imported yet
  kReceipts = 3,     // receipt numbers, delivery date and notices
  kRural = 4,        // rural activity: read, not imported yet
  kPrefilled = 5,    // the whole declaration, from a pre-filled file
  kIndividuals = 8,  // monthly income from individuals and cash-book work income
  kLeao = 10,        // the carnê-leão export file
  kRuralBook = 11,   // the rural cash book: not imported yet
};

// Destination tables by catalogue number.
inline constexpr int kDeclarationTable = 1;
inline constexpr int kIncomeTable = 2;
inline constexpr int kPeopleTable = 3;
inline constexpr int kAssetTable = 4;
inline constexpr int kDebtTable = 5;
inline constexpr int kPaymentTable = 6;
inline constexpr int kRegisterTable = 9;
inline constexpr int kUpkeepTable = 10;
inline constexpr int kNoteTable = 11;
inline constexpr int kShareTable = 20;

// Education limit of payment codes 1 and 2.
inline constexpr int64_t kEducationLimitCents = 356150;

struct ConversionInputs {
  // Table 58: the occupation of a code ("" when not found).
  std::function<std::string(const std::string& cdpro)> occupation;
  // Table 59: the description of an activity code ("" when not found).
  std::function<std::string(const std::string& codat)> activity;
  // Table 55: the bank's name by its punctuated CNPJ, or by its number.
  std::function<std::optional<std::string>(const std::string& cnpj)> bank_by_cnpj;
  std::function<std::optional<std::string>(const std::string& number)> bank_by_number;
  // Table 46: the upkeep description (DESPBEM) of an asset code ("" for none).
  std::function<std::string(int code)> upkeep_description;
  // A yes/no question; true for "S". Unset: every answer is "N".
  std::function<bool(const std::vector<std::string>& lines)> confirm;
};

// What the destination holds of the taxpayer before the import.
struct Existing {
  bool registered = false;  // a register record exists
  int estatus = 0;          // its ESTATUS
};

struct TaxpayerPlan {
  std::string cpf;
  std::string name;
  Row register_fields;               // written into the register record (added when missing)
  bool register_must_exist = false;  // modes 3, 8 and 10 write only into a registered taxpayer
  std::string missing_message;       // what the refusal says when it is not (cp850)
  Row declaration_fields;            // table 01; empty: not touched
  Row declaration_new_fields;        // also set when table 01 has no record yet
  bool declaration_only_if_present = false;  // table 01 is not added for these fields
  // Complete new sets of the taxpayer's rows, by table.
  std::map<int, std::vector<Row>> replace;
  // Rows added after the taxpayer's existing ones, by table.
  std::map<int, std::vector<Row>> append;
  // For the import summary: texts cut to their field, records read but not
  // imported (capital gains, variable income, rural activity), shares without heir.
  std::vector<std::string> notes;
};

// Modes 1 and 5. kInvalid (with the operator's message) when the file cannot be
// imported for this taxpayer: a previous-exercise file of a registered taxpayer.
Result<TaxpayerPlan> ConvertDeclaration(const DeclarationFile& file, ImportMode mode,
                                        const Existing& existing, const ConversionInputs& in);

// Mode 3: receipts from the header, and the notes and register fields of the
// receipt complement when there is one (nullptr otherwise).
Result<TaxpayerPlan> ConvertReceipts(const DeclarationFile& file, const ReceiptFile* receipt,
                                     const Existing& existing);

// Mode 8: records 22 and 49 appended. kInvalid "Essa opção é valida só para o
// ANO 2020" for a previous-exercise file; kNotFound "Esse contribuinte não tem
// Rendimento de Pessoa Física" when there is none.
Result<TaxpayerPlan> ConvertIndividuals(const DeclarationFile& file, const Existing& existing);

// Mode 10: the carnê-leão export file appended.
Result<TaxpayerPlan> ConvertLeao(const LeaoFile& file, const Existing& existing);

// The upkeep estimate (AJUS_DESP) over a taxpayer's asset rows in order: the
// upkeep rows and their monthly total.
struct UpkeepEstimate {
  std::vector<Row> rows;
  core::Decimal monthly;
};
UpkeepEstimate EstimateUpkeep(const std::string& cpf, const std::vector<Row>& assets,
                              const std::function<std::string(int code)>& upkeep_description);

// The marks-only pass of the asset check over the taxpayer's asset rows: an item
// with a country other than "105" and no mark is marked abroad, and the
// completeness mark JA_FEZ is set by the asset's code.
void MarkAssets(std::vector<Row>& assets);

}  // namespace dodu::import

#endif  // DODU_IMPORT_CONVERSION_H_
