#include "entry/lookup.h"

#include <cstdio>
#include <map>

#include "core/codepage.h"
#include "core/decimal.h"
#include "entry/lookup_list.h"

namespace dodu::entry {

namespace {

constexpr int kRegisterArea = 9;
constexpr int kStatusArea = 66;
constexpr char kCpfMask[] = "@R 999.999.999-99";
constexpr char kMoneyMask[] = "@Ez 9999,999.99";

std::string Field(const store::Record& r, const char* name) {
  Result<std::string> t = r.GetText(name);
  return t.ok() ? *t : std::string();
}

int NumberOf(const store::Record& r, const char* name) {
  Result<core::Decimal> d = r.GetNumber(name);
  if (!d.ok()) return 0;
  return static_cast<int>(d->ToScaled(0));
}

std::string RightAligned(int n, int width) {
  std::string s = std::to_string(n);
  if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), ' ');
  return s;
}

// S/T x 100 as "99.99", rounded to the cent.
std::string Percent(int part, int total) {
  const long long hundredths = (part * 10000LL * 2 + total) / (2LL * total);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%2lld.%02lld", hundredths / 100, hundredths % 100);
  return buf;
}

std::function<std::string(const std::string&)> StatusTexts(EntryContext& ec,
                                                           const RegisterListHooks& hooks) {
  if (hooks.status_text) return hooks.status_text;
  std::function<std::string(int)> of = StatusDescriptions(ec.areas);
  return [of](const std::string& code) { return of(std::atoi(code.c_str())); };
}

Column Shown(std::string heading, std::string expression, std::string mask = "") {
  Column c;
  c.heading = core::Cp850(heading);
  c.expression = std::move(expression);
  c.mask = std::move(mask);
  return c;
}

std::vector<Column> RegisterColumns(bool short_list,
                                    const std::function<std::string(const std::string&)>& status) {
  Column status_column;
  status_column.heading = core::Cp850(short_list ? "status" : "Descrição");
  status_column.text = [status](const store::Record& r) {
    return status(std::to_string(NumberOf(r, "ESTATUS")));
  };
  if (short_list) {
    return {Shown("Nome do Contribuinte", "substr(NOMECONTR,1,50)"), Shown("CPF", "CPF", kCpfMask),
            status_column};
  }
  return {Shown("Nome do Contribuinte", "substr(NOMECONTR,1,21)"),
          Shown("CPF", "CPF", kCpfMask),
          status_column,
          Shown("AAR", "TEMRURAL"),
          Shown("Sim", "USAPADRAO"),
          Shown("Impo/Rest.", "IMPPGRE", kMoneyMask),
          Shown("Ret", "NRETIF"),
          Shown("Qt", "NRQUOTA"),
          Shown("Quota IR", "DFQUOTA", kMoneyMask),
          Shown("Qt", "NRCLEAO"),
          Shown("Carnê Leao", "DFCLEAO", kMoneyMask),
          Shown("Qt", "NRGCAPIT"),
          Shown("Gan.Capital", "DFGCAPIT", kMoneyMask),
          Shown("Qt", "NRRVARIV"),
          Shown("R.Variável", "DFRVARIV", kMoneyMask),
          Shown("Sobra", "INDGAS", "@z 999.99"),
          Shown("Operador", "NOMEAG")};
}

// Where the list starts: the first listed record at or after `key` in the
// area's active order (the status order compares the code as a number).
Result<std::optional<store::RecNo>> StartAt(store::WorkArea& a, const RegisterListRequest& req) {
  auto listed = [&](const store::Record& r) {
    return !req.rural_only || Field(r, "TEMRURAL") == "S";
  };
  if (req.key.empty()) return std::optional<store::RecNo>();
  if (req.order == RegisterOrder::kStatus) {
    DODU_RETURN_IF_ERROR(a.Top());
  } else {
    std::string key = req.key;
    if (req.order == RegisterOrder::kName) {
      for (char& c : key) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      }
    }
    DODU_ASSIGN_OR_RETURN(bool hit, a.Seek(key, true));
    (void)hit;
  }
  const int want = req.order == RegisterOrder::kStatus ? std::atoi(req.key.c_str()) : 0;
  while (!a.eof()) {
    DODU_ASSIGN_OR_RETURN(store::Record r, a.Current());
    const bool at_key = req.order != RegisterOrder::kStatus || NumberOf(r, "ESTATUS") >= want;
    if (at_key && listed(r)) return std::optional<store::RecNo>(a.recno());
    DODU_RETURN_IF_ERROR(a.Skip(1));
  }
  return std::optional<store::RecNo>();
}

}  // namespace

std::function<std::string(int code)> StatusDescriptions(store::WorkAreas& areas) {
  auto texts = std::make_shared<std::map<int, std::string>>();
  if (store::WorkArea* st = areas.Get(kStatusArea)) {
    Result<uint32_t> count = st->table().RefreshCount();
    for (uint32_t i = 1; count.ok() && i <= *count; ++i) {
      Result<store::Record> r = st->table().Read(store::RecNo{i});
      if (!r.ok() || r->deleted()) continue;
      std::string d = Field(*r, "DESCRICAO");
      d.resize(13, ' ');
      texts->emplace(NumberOf(*r, "COD"), d);
    }
  }
  return [texts](int code) {
    auto it = texts->find(code);
    return it == texts->end() ? std::string(13, ' ') : it->second;
  };
}

Result<RegisterCounts> CountRegister(store::WorkArea& area) {
  RegisterCounts c;
  Result<uint32_t> count = area.table().RefreshCount();
  if (!count.ok()) return count.status();
  for (uint32_t i = 1; i <= *count; ++i) {
    DODU_ASSIGN_OR_RETURN(store::Record r, area.table().Read(store::RecNo{i}));
    if (r.deleted()) continue;
    ++c.total;
    const std::string simple = Field(r, "USAPADRAO");
    if (simple == "S") ++c.simplified;
    if (simple == "N") ++c.complete;
    if (Field(r, "TEMRURAL") == "S") ++c.rural;
  }
  return c;
}

std::vector<std::string> RegisterFooters(const RegisterCounts& c, int columns) {
  std::vector<std::string> f(std::max(columns, 6));
  f[0] = RightAligned(c.total, 4) + core::Cp850(" Declaraçöes");
  // Nothing to divide by on an empty register: the percentages stay blank.
  f[1] = (c.total > 0 ? Percent(c.simplified, c.total) : std::string(5, ' ')) + "% Simples";
  f[2] = (c.total > 0 ? Percent(c.complete, c.total) : std::string(5, ' ')) + "% Compl";
  f[3] = RightAligned(c.rural, 3);
  f[4] = RightAligned(c.simplified, 3);
  f[5] = "simp. " + RightAligned(c.complete, 3) + " comp.";
  f.resize(columns);
  return f;
}

Result<std::optional<RegisterPick>> RegisterList(EntryContext& ec,
                                                 const RegisterListRequest& request,
                                                 const RegisterListHooks& hooks) {
  if (LookupListOpen()) return std::optional<RegisterPick>();
  store::WorkArea* reg = ec.areas.Get(kRegisterArea);
  if (reg == nullptr) return Status::NotFound("the register is not open (area 9)");
  const bool hid = reg->hide_deleted;
  reg->hide_deleted = true;
  DODU_RETURN_IF_ERROR(reg->SetOrder(static_cast<int>(request.order)));
  Result<std::optional<store::RecNo>> start = StartAt(*reg, request);
  reg->hide_deleted = hid;
  if (!start.ok()) return start.status();

  LookupList list;
  list.area = kRegisterArea;
  list.rect = request.short_list ? BrowseRect{1, 1, 14, 79} : BrowseRect{3, 1, 16, 78};
  list.columns = RegisterColumns(request.short_list, StatusTexts(ec, hooks));
  list.seek_by_typing = true;
  list.order_keys = true;
  list.start = *start;
  if (request.rural_only) {
    list.filter = [](const store::Record& r) { return Field(r, "TEMRURAL") == "S"; };
  }
  if (!request.short_list) {
    const int columns = static_cast<int>(list.columns.size());
    list.footers = [columns](store::WorkArea& a) {
      Result<RegisterCounts> c = CountRegister(a);
      return RegisterFooters(c.ok() ? *c : RegisterCounts{}, columns);
    };
  }
  list.key = [&hooks](RecordBrowser& b, screen::Key k) {
    if (k.type != screen::KeyType::kF || (k.code != 6 && k.code != 11)) {
      return KeyOutcome::kNotMine;
    }
    const auto& hook = k.code == 6 ? hooks.details : hooks.warnings;
    if (hook && b.current_recno()) {
      Result<store::Record> r = b.CurrentRecord();
      if (r.ok()) hook(*r);
    }
    return KeyOutcome::kHandled;
  };

  DODU_ASSIGN_OR_RETURN(std::optional<LookupPick> pick, HBROWSE(ec, list));
  // The register is left in name order after the CPF list, in CPF order after
  // the others, on the picked record.
  const store::RecNo at = reg->eof() ? store::RecNo{0} : reg->recno();
  DODU_RETURN_IF_ERROR(reg->SetOrder(request.order == RegisterOrder::kCpf ? 2 : 1));
  if (at.value != 0) DODU_RETURN_IF_ERROR(reg->GoTo(at));
  if (!pick) return std::optional<RegisterPick>();
  RegisterPick out;
  out.cpf = Field(pick->record, "CPF");
  out.name = Field(pick->record, "NOMECONTR");
  while (!out.name.empty() && out.name.back() == ' ') out.name.pop_back();
  while (!out.cpf.empty() && out.cpf.back() == ' ') out.cpf.pop_back();
  return std::optional<RegisterPick>(std::move(out));
}

}  // namespace dodu::entry
