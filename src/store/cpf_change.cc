// MUDA_CPF: the CPF of one declaration changed in every table, or in none.
#include "store/cpf_change.h"

#include "core/ids.h"
#include "platform/paths.h"
#include "store/catalogue.h"
#include "store/folder_list.h"
#include "store/maintenance_messages.h"
#include "store/opener.h"
#include "store/rec_lock.h"

namespace dodu::store {
namespace {

constexpr int kErrorBox = static_cast<int>(platform::BoxStyle::kError);
constexpr int kInfoBox = static_cast<int>(platform::BoxStyle::kInfo);

// Areas the exclusive opens use, away from the register and the work copies.
constexpr int kFirstArea = 100;

// Changes every record of `from` to `to` in the area's table; answers how many.
Result<int> ChangeRecords(WorkArea& area, const std::string& from, const std::string& to) {
  Table& t = area.table();
  DODU_ASSIGN_OR_RETURN(uint32_t count, t.RefreshCount());
  int changed = 0;
  for (uint32_t n = 1; n <= count; ++n) {
    DODU_ASSIGN_OR_RETURN(Record r, t.Read(RecNo{n}));
    DODU_ASSIGN_OR_RETURN(std::string cpf, r.GetTrimmed("CPF"));
    if (cpf != from) continue;
    DODU_RETURN_IF_ERROR(r.PutText("CPF", to));
    DODU_RETURN_IF_ERROR(t.Write(RecNo{n}, r));
    ++changed;
  }
  return changed;
}

}  // namespace

Result<CpfChangeResult> ChangeCpf(OpenerContext& ctx, WorkAreas& areas, const std::string& old_cpf,
                                  const std::string& new_cpf) {
  CpfChangeResult result;
  auto fail = [&](CpfChangeOutcome o, const std::string& text) {
    if (!text.empty()) ctx.sink.Box(kErrorBox, {text}, "");
    result.outcome = o;
    return result;
  };
  if (!core::ValCpf(ctx.sink, new_cpf, true)) return fail(CpfChangeOutcome::kInvalidNew, "");

  if (areas.Get(9) == nullptr) DODU_RETURN_IF_ERROR(ABERTURA(ctx, areas, 9));
  WorkArea& reg = *areas.Get(9);
  const int order = reg.active_order();
  DODU_RETURN_IF_ERROR(reg.SetOrder(1));
  auto restore = [&] { (void)reg.SetOrder(order); };
  DODU_ASSIGN_OR_RETURN(bool exists, reg.Seek(new_cpf));
  if (exists) {
    restore();
    return fail(CpfChangeOutcome::kNewExists, msg::NewCpfExists());
  }
  DODU_ASSIGN_OR_RETURN(bool found, reg.Seek(old_cpf));
  if (!found) {
    restore();
    return fail(CpfChangeOutcome::kOldNotFound, msg::OldCpfNotFound());
  }
  const RecNo reg_rec = reg.recno();
  if (Status st = REC_LOCK(ctx, reg, 5); !st.ok()) {
    restore();
    return st;
  }
  auto unlock = [&] {
    reg.table().UnlockRecord(reg_rec);
    restore();
  };
  {
    DODU_ASSIGN_OR_RETURN(Record r, reg.Current());
    DODU_ASSIGN_OR_RETURN(std::string nusuat, r.GetTrimmed("NUSUAT"));
    if (!nusuat.empty() && nusuat != ctx.terminal && IsTerminalRunning(ctx, nusuat)) {
      unlock();
      return fail(CpfChangeOutcome::kOpenElsewhere, msg::CpfDeclarationOpen(nusuat));
    }
  }

  // Every other declaration table exclusively, before anything is written.
  for (int n = 1; n <= 21; ++n) {
    if (n != 9) areas.Close(n);
  }
  std::vector<int> opened;
  auto close_all = [&] {
    for (int a : opened) areas.Close(a);
  };
  for (int n = 1; n <= 21; ++n) {
    if (n == 9) continue;
    const TableDef* def = FindTable(n);
    OpenRequest req;
    req.area = kFirstArea + n;
    req.number = n;
    req.file = platform::JoinPath(ctx.data_folder, TableFileName(*def, ctx.names()));
    req.exclusive = true;
    for (const IndexDef& k : def->keys) {
      req.keys.push_back({k.file.empty() ? "" : IndexFileName(k, TableFileName(*def, ctx.names())),
                          k.expression});
    }
    ctx.alias = TableFileName(*def, ctx.names()) + "X";
    Status st = ABREARQ(ctx, areas, req);
    ctx.alias.clear();
    if (!st.ok()) {
      close_all();
      unlock();
      if (st.IsLocked()) {
        result.busy_table = TableFileName(*def, ctx.names());
        return fail(CpfChangeOutcome::kBusy, msg::CpfTableBusy(result.busy_table));
      }
      return st;
    }
    opened.push_back(req.area);
  }

  for (int a : opened) {
    Result<int> n = ChangeRecords(*areas.Get(a), old_cpf, new_cpf);
    if (!n.ok()) {
      close_all();
      unlock();
      return n.status();
    }
    result.records += *n;
  }
  close_all();
  {
    DODU_RETURN_IF_ERROR(reg.GoTo(reg_rec));
    DODU_ASSIGN_OR_RETURN(Record r, reg.Current());
    DODU_RETURN_IF_ERROR(r.PutText("CPF", new_cpf));
    Status st = reg.WriteCurrent(r);
    unlock();
    DODU_RETURN_IF_ERROR(st);
    ++result.records;
  }
  ctx.sink.Box(kInfoBox, {msg::CpfChanged()}, "");
  result.outcome = CpfChangeOutcome::kChanged;
  return result;
}

}  // namespace dodu::store
