#include "shell/station.h"

#include <variant>

#include "core/codepage.h"
#include "screen/form_variables.h"
#include "screen/mens.h"
#include "screen/message_box.h"
#include "store/opener.h"
#include "store/rec_lock.h"

namespace dodu::shell {

core::Date DateOfCivil(const platform::CivilTime& t) {
  return core::Date::FromYmd(t.year, t.month, t.day).value_or(core::Date());
}

// ---- records and FieldValues ------------------------------------------------

FieldValues RecordFields(const store::Record& record) {
  FieldValues out;
  for (const store::FieldSpec& f : record.layout().fields()) {
    switch (f.type) {
      case store::FieldType::kChar:
        if (auto v = record.GetText(f.name); v.ok()) out.push_back(CharField(f.name, *v));
        break;
      case store::FieldType::kNumeric:
        if (auto v = record.GetNumber(f.name); v.ok()) out.push_back(NumericField(f.name, *v));
        break;
      case store::FieldType::kDate:
        if (auto v = record.GetDate(f.name); v.ok()) out.push_back(DateField(f.name, *v));
        break;
      case store::FieldType::kLogical:
        if (auto v = record.GetLogical(f.name); v.ok()) out.push_back(LogicalField(f.name, *v));
        break;
      case store::FieldType::kMemo:
        break;
    }
  }
  return out;
}

Status PutFields(store::Record& record, const FieldValues& fields) {
  for (const FieldValue& f : fields) {
    if (record.layout().Find(f.name) == nullptr) continue;
    Status st;
    if (const auto* s = std::get_if<std::string>(&f.value))
      st = record.PutText(f.name, *s);
    else if (const auto* d = std::get_if<core::Decimal>(&f.value))
      st = record.PutNumber(f.name, *d);
    else if (const auto* t = std::get_if<core::Date>(&f.value))
      st = record.PutDate(f.name, *t);
    else if (const auto* b = std::get_if<bool>(&f.value))
      st = record.PutLogical(f.name, *b);
    DODU_RETURN_IF_ERROR(st);
  }
  return Status::Ok();
}

Result<bool> SeekTerminal(store::WorkArea& area, const std::string& terminal) {
  DODU_RETURN_IF_ERROR(area.Top());
  while (!area.eof()) {
    DODU_ASSIGN_OR_RETURN(store::Record r, area.Current());
    DODU_ASSIGN_OR_RETURN(std::string term, r.GetTrimmed("NRO_TERM"));
    if (term == terminal) return true;
    DODU_RETURN_IF_ERROR(area.Skip(1));
  }
  return false;
}

Status WriteCurrentFields(store::OpenerContext& ctx, store::WorkArea& area,
                          const FieldValues& fields, int seconds) {
  DODU_RETURN_IF_ERROR(store::REC_LOCK(ctx, area, seconds));
  const store::RecNo n = area.recno();
  Status st = [&]() -> Status {
    // Read again under the lock: another station may have written it meanwhile.
    DODU_ASSIGN_OR_RETURN(store::Record r, area.Current());
    DODU_RETURN_IF_ERROR(PutFields(r, fields));
    return area.WriteCurrent(r);
  }();
  area.table().UnlockRecord(n);
  return st;
}

Status AppendFields(store::OpenerContext& ctx, store::WorkArea& area, const FieldValues& fields,
                    int seconds) {
  DODU_RETURN_IF_ERROR(store::ADD_REC(ctx, area, seconds));
  const store::RecNo n = area.recno();
  Status st = [&]() -> Status {
    DODU_ASSIGN_OR_RETURN(store::Record r, area.Current());
    DODU_RETURN_IF_ERROR(PutFields(r, fields));
    return area.WriteCurrent(r);
  }();
  area.table().UnlockRecord(n);
  return st;
}

// ---- seams ------------------------------------------------------------------

bool ToolkitWaitObserver::EscPressed() {
  std::optional<screen::Key> k = tk_.PollKey();
  return k && k->type == screen::KeyType::kEsc;
}

std::optional<bool> ToolkitPrompts::YesNo(const std::vector<std::string>& lines,
                                          const std::string& title) {
  return screen::AVISOSN(tk_, lines, 2, {}, title) == "S";
}

std::optional<int> ToolkitPrompts::Number(const std::string& prompt, const std::string& title,
                                          int digits, int initial) {
  screen::MapVariableStore vars;
  vars.Define("NUMERO", core::Decimal::FromInt(initial));
  screen::MensArgs a;
  a.text = prompt;
  a.title = title;
  a.column = "C";
  a.variable = "NUMERO";
  a.vars = &vars;
  a.length = digits;
  a.picture = std::string(static_cast<size_t>(digits > 0 ? digits : 1), '9');
  Result<screen::MensResult> r = screen::MENS(tk_, 74, a);
  if (!r.ok() || r->cancelled || !r->value) return std::nullopt;
  const auto* d = std::get_if<core::Decimal>(&*r->value);
  if (d == nullptr) return std::nullopt;
  return static_cast<int>(d->ToScaled(0, core::Rounding::kTruncate));
}

namespace {

// Opens `number` when it is not open; tells whether it did.
Result<bool> EnsureOpen(store::OpenerContext& ctx, store::WorkAreas& areas, int number) {
  if (areas.Get(number) != nullptr) return false;
  DODU_RETURN_IF_ERROR(store::ABERTURA(ctx, areas, number));
  if (areas.Get(number) == nullptr) return Status::NotFound("table " + std::to_string(number));
  return true;
}

}  // namespace

Status StationTables::Open() {
  DODU_RETURN_IF_ERROR(store::ABERTURA(ctx_, areas_, 43));
  DODU_RETURN_IF_ERROR(store::ABERTURA(ctx_, areas_, 42));
  store::WorkArea* config = areas_.Get(42);
  if (config == nullptr) return Status::NotFound("CONFIG");
  DODU_ASSIGN_OR_RETURN(bool found, SeekTerminal(*config, ctx_.terminal));
  if (!found) return Status::NotFound("CONFIG: no record of terminal " + ctx_.terminal);
  return Status::Ok();
}

void StationTables::Close() {
  areas_.Close(42);
  areas_.Close(43);
}

Status StationTables::WriteConfig(const FieldValues& fields) {
  DODU_ASSIGN_OR_RETURN(bool opened, EnsureOpen(ctx_, areas_, 42));
  store::WorkArea& config = *areas_.Get(42);
  Status st = [&]() -> Status {
    DODU_ASSIGN_OR_RETURN(bool found, SeekTerminal(config, ctx_.terminal));
    if (!found) return Status::NotFound("CONFIG: no record of terminal " + ctx_.terminal);
    return WriteCurrentFields(ctx_, config, fields, 5);
  }();
  if (opened) areas_.Close(42);
  return st;
}

Status StationTables::WriteDefine(const FieldValues& fields) {
  DODU_ASSIGN_OR_RETURN(bool opened, EnsureOpen(ctx_, areas_, 43));
  store::WorkArea& define = *areas_.Get(43);
  Status st = [&]() -> Status {
    DODU_RETURN_IF_ERROR(define.Top());
    if (define.eof()) return Status::NotFound("DEFINE is empty");
    return WriteCurrentFields(ctx_, define, fields, 5);
  }();
  if (opened) areas_.Close(43);
  return st;
}

bool StationTables::StatusCodeExists(int code) {
  Result<bool> opened = EnsureOpen(ctx_, areas_, 66);
  if (!opened.ok()) return false;
  store::WorkArea& status = *areas_.Get(66);
  bool found = false;
  if (status.Top().ok()) {
    while (!status.eof() && !found) {
      Result<store::Record> r = status.Current();
      if (!r.ok()) break;
      Result<core::Decimal> cod = r->GetNumber("COD");
      found = cod.ok() && cod->ToScaled(0, core::Rounding::kTruncate) == code;
      if (!status.Skip(1).ok()) break;
    }
  }
  if (*opened) areas_.Close(66);
  return found;
}

// ---- the station --------------------------------------------------------------

Station::Station(platform::Env& e, screen::Toolkit& t)
    : env(e), tk(t), sink(t), wait(t), ctx(e, sink, wait), prompts(t), tables(ctx, areas) {
  ctx.year = kCanoAtual;
  ctx.confirm = [this](const std::vector<std::string>& lines) {
    return screen::AVISOSN(tk, lines, 2) == "S";
  };
}

}  // namespace dodu::shell
