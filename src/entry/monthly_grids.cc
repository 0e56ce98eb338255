#include "entry/monthly_grids.h"

#include "core/codepage.h"

namespace dodu::entry {

namespace {

MonthFieldName LeaoKind(int k) { return MonthFieldFamily("I2_" + std::to_string(k)); }

}  // namespace

GridModel MakeRecMensal(const std::string& deduction_heading) {
  const char* headings[kLeaoKinds] = {"Pes.Física", "Exterior",  "Livro Caixa", nullptr,
                                      "Leão Pago",  "L. Devido", "Corrigido"};
  std::vector<GridColumn> columns;
  for (int k = 1; k <= kLeaoKinds; ++k) {
    const std::string heading = headings[k - 1] ? core::Cp850(headings[k - 1]) : deduction_heading;
    columns.push_back(MoneyColumn(heading, k < kLeaoDueColumn));
  }
  return MonthlyGrid(core::Cp850("Mês "), std::move(columns));
}

Status LoadRecMensal(GridModel& grid, const store::Record& row) {
  GridModel probe = grid;
  for (int k = 1; k <= kLeaoKinds; ++k) {
    DODU_RETURN_IF_ERROR(LoadMonthFields(probe, k, row, LeaoKind(k), /*with_year_row=*/true));
  }
  grid = std::move(probe);
  return Status::Ok();
}

Status StoreRecMensal(const GridModel& grid, store::Record& row) {
  store::Record out = row;  // all or nothing
  for (int k = 1; k <= kLeaoKinds; ++k) {
    DODU_RETURN_IF_ERROR(StoreMonthFields(grid, k, out, LeaoKind(k), /*with_year_row=*/true));
  }
  row = std::move(out);
  return Status::Ok();
}

void ClearRecMensal(GridModel& grid) {
  for (int k = 1; k <= kLeaoKinds && k < grid.cols(); ++k) grid.ClearColumn(k);
}

GridModel MakeRendRural() {
  GridColumn receipts = MoneyColumn("Receitas");
  GridColumn expenses = MoneyColumn("Despesas");
  return GridModel({receipts, expenses}, 12);
}

Status LoadRendRural(GridModel& grid, const store::Record& rural) {
  GridModel probe = grid;
  DODU_RETURN_IF_ERROR(
      LoadMonthFields(probe, kRuralReceipts, rural, MonthFieldFamily("I3_", "OR")));
  DODU_RETURN_IF_ERROR(
      LoadMonthFields(probe, kRuralExpenses, rural, MonthFieldFamily("I3_", "OD")));
  grid = std::move(probe);
  return Status::Ok();
}

Status StoreRendRural(const GridModel& grid, store::Record& rural) {
  store::Record out = rural;
  DODU_RETURN_IF_ERROR(StoreMonthFields(grid, kRuralReceipts, out, MonthFieldFamily("I3_", "OR")));
  DODU_RETURN_IF_ERROR(StoreMonthFields(grid, kRuralExpenses, out, MonthFieldFamily("I3_", "OD")));
  rural = std::move(out);
  return Status::Ok();
}

}  // namespace dodu::entry
