// The pieces of the conversion, one per kind of destination row.
#ifndef DODU_IMPORT_INTERNAL_CONVERT_PARTS_H_
#define DODU_IMPORT_INTERNAL_CONVERT_PARTS_H_

#include <string>
#include <vector>

#include "import/conversion.h"
#include "import/declaration_file.h"
#include "import/row.h"

namespace dodu::import::internal {

// A holder's or dependant's monthly grid of record 22 (and of the carnê-leão
// file): six columns by twelve months.
struct MonthlyGrid {
  std::string dependant_cpf;  // blank for the holder
  core::Decimal value[6][12];
  bool any = false;
  void Add(int column, int month, core::Decimal v);
};
// The grid's income lines: `holder_order` writes columns 4, 5, 6 first, then 1,
// 2, 3 (the holder's grid); otherwise 1 to 6. `column_kinds` says, for each
// column, its description, kind and whether it gets per-month lines.
struct GridColumn {
  const char* description;
  const char* kind;
  bool per_month;
  const char* tipocr;  // per-month lines
  const char* i1_41;   // per-month lines
};
void WriteGrid(const std::string& cpf, const MonthlyGrid& grid, const GridColumn (&columns)[6],
               bool holder_order, std::vector<Row>& out);
// Record 22, the whole run: the holder's grid after the last record, each
// dependant's grid when the dependant changes, at December and at the end.
void ConvertMonthly(const std::string& cpf, const std::vector<const ParsedRecord*>& records,
                    std::vector<Row>& out);
// Record 49: one work-income line each.
Row CashBookWork(const std::string& cpf, const ParsedRecord& rec);

// Income lines of the body and of records 80 to 92.
void ConvertIncome(const DeclarationFile& file, ImportMode mode, std::vector<Row>& out);

// Dependants (25), alimony recipients (35), heirs (58) into table 03, payments
// (26, 34, 90, 91, 92) into table 06; the person list links the two.
void ConvertPeople(const DeclarationFile& file, const ConversionInputs& in,
                   std::vector<Row>& people, std::vector<Row>& payments, std::vector<Row>& shares,
                   std::vector<std::string>& notes);

// Assets (27) and debts (28).
void ConvertAssets(const DeclarationFile& file, const ConversionInputs& in, std::vector<Row>& out);
void ConvertDebts(const DeclarationFile& file, std::vector<Row>& out);

}  // namespace dodu::import::internal

#endif  // DODU_IMPORT_INTERNAL_CONVERT_PARTS_H_
