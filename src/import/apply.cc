#include "import/apply.h"

#include <algorithm>
#include <memory>
#include <set>

#include "core/codepage.h"
#include "platform/message_sink.h"
#include "platform/paths.h"
#include "store/catalogue.h"
#include "store/opener.h"
#include "store/rec_lock.h"
#include "store/replace_wait.h"

namespace dodu::import {
namespace {

using store::OpenerContext;
using store::Record;
using store::WorkArea;
using store::WorkAreas;

std::string Trim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

class QuietSink : public platform::MessageSink {
 public:
  void Box(int, const std::vector<std::string>&, const std::string&) override {}
  void Tone(int, int) override {}
  void StatusText(const std::string&) override {}
};

// Opens declaration table `number` of the destination in its own area, with
// its index keys, without the opener's box (a refusal is the caller's to tell).
Status OpenQuiet(OpenerContext& ctx, WorkAreas& areas, int number, bool exclusive) {
  const store::TableDef* def = store::FindTable(number);
  if (def == nullptr) return Status::Invalid("no table " + std::to_string(number));
  const std::string base = store::TableFileName(*def, ctx.names());
  store::OpenRequest req;
  req.area = number;
  req.number = number;
  req.table = def;
  req.file = platform::JoinPath(ctx.data_folder, base + ".DBF");
  req.exclusive = exclusive;
  for (const store::IndexDef& k : def->keys) {
    req.keys.push_back(
        {platform::JoinPath(ctx.data_folder, store::IndexFileName(k, base)), k.expression});
  }
  QuietSink quiet_sink;
  OpenerContext quiet(ctx.env, quiet_sink, ctx.wait);
  quiet.paths = ctx.paths;
  quiet.terminal = ctx.terminal;
  quiet.year = ctx.year;
  quiet.installation_folder = ctx.installation_folder;
  quiet.data_folder = ctx.data_folder;
  quiet.work_folder = ctx.work_folder;
  Status st = store::ABREARQ(quiet, areas, req);
  if (st.ok() && areas.Get(number) == nullptr) return Status::NotFound(base);
  return st;
}

Status OpenExclusiveWaiting(OpenerContext& ctx, WorkAreas& areas, int number) {
  store::ExclusiveWaitRule rule = store::SaveWaitRule(number, ctx.year, kImportAskAfterMs);
  rule.esc_cancels = true;
  return store::WaitForExclusive(ctx, rule, [&] { return OpenQuiet(ctx, areas, number, true); });
}

// The taxpayer's live records in the area, by its CPF order.
Result<std::vector<Record>> TaxpayerRecords(WorkArea& area, const std::string& cpf) {
  std::vector<Record> out;
  area.hide_deleted = true;
  DODU_RETURN_IF_ERROR(area.SetOrder(1));
  DODU_ASSIGN_OR_RETURN(bool hit, area.Seek(cpf));
  if (!hit) return out;
  while (!area.eof()) {
    DODU_ASSIGN_OR_RETURN(Record r, area.Current());
    DODU_ASSIGN_OR_RETURN(std::string c, r.GetTrimmed("CPF"));
    if (c != cpf) break;
    out.push_back(std::move(r));
    DODU_RETURN_IF_ERROR(area.Skip(1));
  }
  return out;
}

// The current record of a one-record-per-taxpayer table, or nullopt.
Result<std::optional<Record>> FindOne(WorkArea& area, const std::string& cpf) {
  area.hide_deleted = true;
  DODU_RETURN_IF_ERROR(area.SetOrder(1));
  DODU_ASSIGN_OR_RETURN(bool hit, area.Seek(cpf));
  if (!hit) return std::optional<Record>();
  DODU_ASSIGN_OR_RETURN(Record r, area.Current());
  return std::optional<Record>(std::move(r));
}

// Everything the apply holds while it writes; released in every case.
struct Held {
  WorkAreas& areas;
  std::vector<int> exclusive;
  std::vector<std::pair<int, store::RecNo>> record_locks;
  explicit Held(WorkAreas& a) : areas(a) {}
  ~Held() {
    for (auto [n, rec] : record_locks) {
      if (WorkArea* a = areas.Get(n)) a->table().UnlockRecord(rec);
    }
    for (int n : exclusive) areas.Close(n);
  }
};

}  // namespace

Status FillRecord(Record& record, const Row& row, std::vector<std::string>& notes) {
  for (const auto& [name, cell] : row.cells()) {
    const store::FieldSlot* slot = record.layout().Find(name);
    if (slot == nullptr) return Status::Invalid("campo " + name + " inexistente");
    Status st;
    if (const auto* s = std::get_if<std::string>(&cell)) {
      if (slot->spec.type != store::FieldType::kChar)
        return Status::Invalid("campo " + name + " não é texto");
      if (Trim(*s).size() > static_cast<size_t>(slot->spec.length)) {
        notes.push_back(core::Cp850("Campo " + name + " cortado: ") + Trim(*s));
      }
      st = record.PutText(name, *s);
    } else if (const auto* d = std::get_if<core::Decimal>(&cell)) {
      st = record.PutNumber(name, *d);
    } else if (const auto* t = std::get_if<core::Date>(&cell)) {
      st = record.PutDate(name, *t);
    } else {
      st = record.PutLogical(name, std::get<bool>(cell));
    }
    if (!st.ok())
      return Status::Invalid(core::Cp850("valor fora do campo " + name + ": ") + st.message());
  }
  return Status::Ok();
}

Result<Existing> ReadExisting(OpenerContext& ctx, WorkAreas& areas, const std::string& cpf) {
  DODU_RETURN_IF_ERROR(OpenQuiet(ctx, areas, kRegisterTable, false));
  DODU_ASSIGN_OR_RETURN(std::optional<Record> r, FindOne(*areas.Get(kRegisterTable), cpf));
  Existing e;
  if (!r) return e;
  e.registered = true;
  DODU_ASSIGN_OR_RETURN(core::Decimal st, r->GetNumber("ESTATUS"));
  e.estatus = static_cast<int>(st.ToScaled(0));
  return e;
}

Result<ApplyReport> ApplyPlan(OpenerContext& ctx, WorkAreas& areas, const TaxpayerPlan& plan) {
  ApplyReport report;
  Held held(areas);

  // The register first: is the taxpayer there, and free?
  DODU_RETURN_IF_ERROR(OpenQuiet(ctx, areas, kRegisterTable, false));
  WorkArea& reg_area = *areas.Get(kRegisterTable);
  DODU_ASSIGN_OR_RETURN(std::optional<Record> reg, FindOne(reg_area, plan.cpf));
  if (!reg && plan.register_must_exist) {
    if (!plan.missing_message.empty()) return Status::NotFound(plan.missing_message);
    return Status::NotFound(
        core::Cp850("O contribuinte " + Trim(plan.name) + " não foi localizado no cadastro"));
  }
  if (reg) {
    DODU_ASSIGN_OR_RETURN(std::string at, reg->GetTrimmed("NUSUAT"));
    if (!at.empty() && at != ctx.terminal) {
      return Status::Locked(core::Cp850("A declaração de " + Trim(plan.name) +
                                        " está aberta no terminal " + at + ". Nada foi gravado."));
    }
  }

  // Every multi-record table, exclusively, with the taxpayer's old records.
  std::set<int> tables;
  for (const auto& [n, rows] : plan.replace) tables.insert(n);
  for (const auto& [n, rows] : plan.append) tables.insert(n);
  std::map<int, std::vector<Record>> old_records, new_records;
  for (int n : tables) {
    Status st = OpenExclusiveWaiting(ctx, areas, n);
    if (!st.ok()) return st.IsCancelled() ? Status::Locked(st.message()) : st;
    held.exclusive.push_back(n);
    WorkArea& area = *areas.Get(n);
    DODU_ASSIGN_OR_RETURN(old_records[n], TaxpayerRecords(area, plan.cpf));
    std::vector<Record>& out = new_records[n];
    if (plan.append.count(n)) out = old_records[n];
    auto rows_it = plan.replace.count(n) ? plan.replace.find(n) : plan.append.find(n);
    for (const Row& row : rows_it->second) {
      Record r = area.table().BlankRecord();
      DODU_RETURN_IF_ERROR(FillRecord(r, row, report.notes));
      out.push_back(std::move(r));
    }
  }

  // The declaration record and the register record, prepared and locked.
  std::optional<Record> decl;
  bool decl_new = false;
  const bool touches_decl = !plan.declaration_fields.empty();
  if (touches_decl) {
    DODU_RETURN_IF_ERROR(OpenQuiet(ctx, areas, kDeclarationTable, false));
    WorkArea& d = *areas.Get(kDeclarationTable);
    DODU_ASSIGN_OR_RETURN(decl, FindOne(d, plan.cpf));
    if (decl) {
      DODU_RETURN_IF_ERROR(store::REC_LOCK(ctx, d, 5));
      held.record_locks.push_back({kDeclarationTable, d.recno()});
      DODU_ASSIGN_OR_RETURN(decl, d.Current());  // as it is now, under the lock
    } else if (!plan.declaration_only_if_present) {
      decl = d.table().BlankRecord();
      decl_new = true;
      DODU_RETURN_IF_ERROR(decl->PutText("CPF", plan.cpf));
      DODU_RETURN_IF_ERROR(FillRecord(*decl, plan.declaration_new_fields, report.notes));
    }
    if (decl) DODU_RETURN_IF_ERROR(FillRecord(*decl, plan.declaration_fields, report.notes));
  }
  Record reg_record = reg_area.table().BlankRecord();
  if (reg) {
    DODU_RETURN_IF_ERROR(store::REC_LOCK(ctx, reg_area, 5));
    held.record_locks.push_back({kRegisterTable, reg_area.recno()});
    DODU_ASSIGN_OR_RETURN(reg_record, reg_area.Current());
    DODU_ASSIGN_OR_RETURN(std::string at, reg_record.GetTrimmed("NUSUAT"));
    if (!at.empty() && at != ctx.terminal) {
      return Status::Locked(core::Cp850("A declaração de " + Trim(plan.name) +
                                        " está aberta no terminal " + at + ". Nada foi gravado."));
    }
  } else {
    DODU_RETURN_IF_ERROR(reg_record.PutText("CPF", plan.cpf));
  }
  DODU_RETURN_IF_ERROR(FillRecord(reg_record, plan.register_fields, report.notes));

  // Writing. A failure puts back what was written before it.
  std::vector<int> written;
  std::vector<std::pair<int, store::RecNo>> appended;
  auto undo = [&](Status why) {
    for (int n : written) {
      (void)store::ReplaceTaxpayerRecords(ctx.env, *areas.Get(n), plan.cpf, old_records[n]);
    }
    for (auto [n, rec] : appended) (void)areas.Get(n)->table().SetDeleted(rec, true);
    return why;
  };
  for (int n : tables) {
    Result<store::ReplaceStats> st =
        store::ReplaceTaxpayerRecords(ctx.env, *areas.Get(n), plan.cpf, new_records[n]);
    if (!st.ok()) return undo(st.status());
    report.tables[n] = *st;
    written.push_back(n);
  }
  if (decl) {
    WorkArea& d = *areas.Get(kDeclarationTable);
    if (decl_new) {
      Status st = store::ADD_REC(ctx, d, 5);
      if (!st.ok()) return undo(st);
      held.record_locks.push_back({kDeclarationTable, d.recno()});
      appended.push_back({kDeclarationTable, d.recno()});
    }
    Status st = d.WriteCurrent(*decl);
    if (!st.ok()) return undo(st);
  }
  if (!reg) {
    Status st = store::ADD_REC(ctx, reg_area, 5);
    if (!st.ok()) return undo(st);
    held.record_locks.push_back({kRegisterTable, reg_area.recno()});
    appended.push_back({kRegisterTable, reg_area.recno()});
    report.register_added = true;
  }
  Status st = reg_area.WriteCurrent(reg_record);
  if (!st.ok()) return undo(st);
  return report;
}

}  // namespace dodu::import
