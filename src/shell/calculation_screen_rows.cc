#include "shell/calculation_screen_rows.h"

#include <memory>
#include <string>

#include "store/rec_lock.h"
#include "tax/annual_incentives.h"

namespace dodu::shell {
namespace {

// Tables 02 .. 06 and where their rows go.
constexpr int kIncome = 2, kPeople = 3, kAssets = 4, kDebts = 5, kPayments = 6;

int TableOf(tax::RowTable t) {
  switch (t) {
    case tax::RowTable::kIncome:
      return kIncome;
    case tax::RowTable::kPeople:
      return kPeople;
    case tax::RowTable::kPayments:
      return kPayments;
  }
  return 0;
}

Result<core::VariableMap> RowOf(const store::Record& record) {
  core::VariableMap row;
  for (const store::FieldSlot& slot : record.layout().slots()) {
    const std::string& name = slot.spec.name;
    switch (slot.spec.type) {
      case store::FieldType::kChar: {
        DODU_ASSIGN_OR_RETURN(std::string text, record.GetText(name));
        row.Declare(name, text);
        break;
      }
      case store::FieldType::kNumeric: {
        DODU_ASSIGN_OR_RETURN(core::Decimal number, record.GetNumber(name));
        row.Declare(name, number);
        break;
      }
      case store::FieldType::kDate: {
        DODU_ASSIGN_OR_RETURN(core::Date date, record.GetDate(name));
        row.Declare(name, date);
        break;
      }
      case store::FieldType::kLogical: {
        DODU_ASSIGN_OR_RETURN(bool flag, record.GetLogical(name));
        row.Declare(name, flag);
        break;
      }
      case store::FieldType::kMemo:
        break;
    }
  }
  return row;
}

Status PutValue(store::Record& record, const std::string& field, const core::Value& value) {
  switch (core::TypeOf(value)) {
    case core::ValueType::kText:
      return record.PutText(field, std::get<std::string>(value));
    case core::ValueType::kNumber:
      return record.PutNumber(field, std::get<core::Decimal>(value));
    case core::ValueType::kDate:
      return record.PutDate(field, std::get<core::Date>(value));
    case core::ValueType::kLogical:
      return record.PutLogical(field, std::get<bool>(value));
  }
  return Status::Invalid("field " + field);
}

}  // namespace

Result<CalculationRows> CalculationRows::Read(const WorkCopyLookup& work_copy) {
  CalculationRows out;
  for (int table : {kIncome, kPeople, kAssets, kDebts, kPayments}) {
    store::WorkArea* area = work_copy ? work_copy(table) : nullptr;
    if (!area) continue;
    store::Table& t = area->table();
    DODU_ASSIGN_OR_RETURN(uint32_t count, t.RefreshCount());
    for (uint32_t n = 1; n <= count; ++n) {
      DODU_ASSIGN_OR_RETURN(store::Record record, t.Read(store::RecNo{n}));
      if (record.deleted()) continue;
      DODU_ASSIGN_OR_RETURN(core::VariableMap row, RowOf(record));
      const core::Variables* kept = &out.rows_.emplace_back(std::move(row));
      switch (table) {
        case kIncome:
          out.view_.income.push_back(kept);
          out.recnos_[0].push_back(store::RecNo{n});
          break;
        case kPeople:
          out.view_.people.push_back(kept);
          out.recnos_[1].push_back(store::RecNo{n});
          break;
        case kAssets:
          out.view_.assets.push_back(kept);
          break;
        case kDebts:
          out.view_.debts.push_back(kept);
          break;
        case kPayments:
          out.view_.payments.push_back(kept);
          out.recnos_[2].push_back(store::RecNo{n});
          break;
      }
    }
  }
  return out;
}

Status CalculationRows::Write(store::OpenerContext& ctx, const WorkCopyLookup& work_copy,
                              const std::vector<tax::RowChange>& changes) const {
  for (const tax::RowChange& c : changes) {
    const auto& recnos = recnos_[static_cast<size_t>(c.table)];
    store::WorkArea* area = work_copy ? work_copy(TableOf(c.table)) : nullptr;
    if (!area || c.row >= recnos.size()) {
      return Status::Invalid("no row " + std::to_string(c.row) + " for " + c.field);
    }
    const store::RecNo recno = recnos[c.row];
    DODU_RETURN_IF_ERROR(area->GoTo(recno));
    DODU_RETURN_IF_ERROR(store::REC_LOCK(ctx, *area, 5));
    Status written = [&]() -> Status {
      DODU_ASSIGN_OR_RETURN(store::Record record, area->Current());
      DODU_RETURN_IF_ERROR(PutValue(record, c.field, c.value));
      return area->WriteCurrent(record);
    }();
    area->table().UnlockRecord(recno);
    DODU_RETURN_IF_ERROR(written);
  }
  return Status::Ok();
}

CalculationScreenPorts WorkCopyPorts(store::OpenerContext& ctx, WorkCopyLookup work_copy,
                                     tax::CalcHooks hooks) {
  auto last = std::make_shared<CalculationRows>();
  CalculationScreenPorts ports;
  ports.rows = [last, work_copy]() -> Result<tax::DeclarationRows> {
    DODU_ASSIGN_OR_RETURN(*last, CalculationRows::Read(work_copy));
    return last->view();
  };
  ports.write_changes = [last, work_copy, &ctx](const std::vector<tax::RowChange>& changes) {
    return last->Write(ctx, work_copy, changes);
  };
  ports.hooks = std::move(hooks);
  return ports;
}

Status AnnualBalanco(core::Variables& vars, store::OpenerContext& ctx,
                     const WorkCopyLookup& work_copy, const tax::CalcHooks& hooks) {
  DODU_ASSIGN_OR_RETURN(CalculationRows rows, CalculationRows::Read(work_copy));
  tax::AnnualOutcome out = tax::AnnualCalculation(vars, rows.view(), hooks).Balanco();
  return rows.Write(ctx, work_copy, out.changes);
}

Status AnnualCalc(core::Variables& vars, store::OpenerContext& ctx, const WorkCopyLookup& work_copy,
                  int screen, int mode, const tax::CalcHooks& hooks) {
  DODU_ASSIGN_OR_RETURN(CalculationRows rows, CalculationRows::Read(work_copy));
  tax::AnnualOutcome out = tax::AnnualCalculation(vars, rows.view(), hooks).Calc(screen, mode);
  return rows.Write(ctx, work_copy, out.changes);
}

core::Decimal AnnualLimdoa(const core::Variables& vars, const WorkCopyLookup& work_copy, int fund) {
  Result<CalculationRows> rows = CalculationRows::Read(work_copy);
  if (!rows.ok()) return core::Decimal();
  core::Decimal line21 = vars.Has("I13_21") ? vars.Number("I13_21") : core::Decimal();
  return tax::DirectDonationAvailable(
      rows->view().payments, line21,
      fund == 2 ? tax::DirectFund::kElderly : tax::DirectFund::kChildren);
}

}  // namespace dodu::shell
