// Status maintenance and the SELIC register screen.
#include <cstdio>

#include "core/codepage.h"
#include "screen/dialog.h"
#include "screen/form.h"
#include "screen/form_variables.h"
#include "screen/message_box.h"
#include "shell/maintenance_screens.h"
#include "store/maintenance_messages.h"
#include "store/opener.h"
#include "store/rec_lock.h"
#include "store/selic_register.h"

namespace dodu::shell {
namespace {

using core::Cp850;

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

class ScopedDialog {
 public:
  ScopedDialog(screen::Toolkit& tk, int top, int left, int bottom, int right,
               const std::string& title)
      : d_(tk.LDLGSHOW(top, left, bottom, right, title)) {}
  ~ScopedDialog() {
    if (d_ != nullptr) d_->close();
  }
  ScopedDialog(const ScopedDialog&) = delete;
  ScopedDialog& operator=(const ScopedDialog&) = delete;

 private:
  screen::LDialog* d_;
};

void Error(screen::Toolkit& tk, const std::string& cp850) {
  (void)screen::AVISOSN(tk, std::vector<std::string>{cp850}, 8);
}

// One column of a list: a field shown in `width` cells; `editable` columns are
// edited on Enter (numbers as whole numbers of `width` digits).
struct Column {
  const char* field;
  int width;
  bool editable;
};

std::string Cell(const store::Record& r, const Column& c) {
  Result<std::string> text = r.GetText(c.field);
  std::string s = text.ok() ? *text : "";
  if (const store::FieldSlot* slot = r.layout().Find(c.field);
      slot != nullptr && slot->spec.type == store::FieldType::kNumeric) {
    s = Trim(s);
    if (s == "0") s.clear();
    if (static_cast<int>(s.size()) < c.width) s.insert(0, c.width - s.size(), ' ');
  }
  s.resize(c.width, ' ');
  return s;
}

// A list over a work area in its active order, in the rectangle given: Up,
// Down, Home and End move, Enter edits the editable columns of the current
// record under a 5-second lock, Ins appends one (when `can_add`), Esc ends.
Status RunList(MaintenanceContext& m, store::WorkArea& area, int top, int left, int bottom,
               int right, const std::string& title, const std::vector<Column>& columns,
               bool can_add) {
  screen::Toolkit& tk = m.tk;
  ScopedDialog dialog(tk, top, left, bottom, right, title);
  const int rows = bottom - top - 1;
  const screen::Attr normal = screen::ColourOr(tk.colours().COR_SAY, 0x70);
  const screen::Attr chosen = screen::ColourOr(tk.colours().COR_ESC_CL, 0x4F);
  std::vector<store::RecNo> recnos;
  size_t cursor = 0;
  auto load = [&]() -> Status {
    recnos.clear();
    for (Status s = area.Top(); s.ok() && !area.eof(); s = area.Skip()) recnos.push_back(area.recno());
    if (cursor >= recnos.size()) cursor = recnos.empty() ? 0 : recnos.size() - 1;
    return Status::Ok();
  };
  auto draw = [&] {
    size_t first = cursor >= static_cast<size_t>(rows) ? cursor - rows + 1 : 0;
    for (int i = 0; i < rows; ++i) {
      std::string line;
      size_t k = first + i;
      if (k < recnos.size() && area.GoTo(recnos[k]).ok()) {
        if (Result<store::Record> r = area.Current(); r.ok()) {
          for (const Column& c : columns) line += Cell(*r, c) + " ";
        }
      }
      line.resize(right - left - 1, ' ');
      tk.Write(top + 1 + i, left + 1, line, k == cursor && k < recnos.size() ? chosen : normal);
    }
  };
  auto edit = [&](bool fresh) -> Status {
    if (fresh) {
      DODU_RETURN_IF_ERROR(store::ADD_REC(m.ctx, area, 5));
    } else {
      if (recnos.empty()) return Status::Ok();
      DODU_RETURN_IF_ERROR(area.GoTo(recnos[cursor]));
      DODU_RETURN_IF_ERROR(store::REC_LOCK(m.ctx, area, 5));
    }
    const store::RecNo n = area.recno();
    Status st = [&]() -> Status {
      DODU_ASSIGN_OR_RETURN(store::Record r, area.Current());
      screen::MapVariableStore vars;
      std::vector<screen::FormField> fields;
      int col = left + 1;
      const size_t shown = fresh ? recnos.size() : cursor;
      const size_t first = shown >= static_cast<size_t>(rows) ? shown - rows + 1 : 0;
      const int row = top + 1 + static_cast<int>(std::min(shown - first, static_cast<size_t>(rows - 1)));
      for (const Column& c : columns) {
        if (c.editable) {
          vars.Define(c.field, Cell(r, c));
          screen::FormField f;
          f.row = row;
          f.col = col;
          f.name = c.field;
          f.width = c.width;
          fields.push_back(f);
        }
        col += c.width + 1;
      }
      screen::FormOptions options;
      options.exit_keys = {};
      screen::Form form(tk, vars, fields, options);
      DODU_ASSIGN_OR_RETURN(screen::FormResult res, form.Read());
      if (res.end == screen::FormEnd::kEscaped) return fresh ? area.table().SetDeleted(n, true) : Status::Ok();
      for (const Column& c : columns) {
        if (!c.editable) continue;
        const std::string v = Trim(std::get<std::string>(*vars.Get(c.field)));
        const store::FieldSlot* slot = r.layout().Find(c.field);
        if (slot != nullptr && slot->spec.type == store::FieldType::kNumeric) {
          std::optional<core::Decimal> d = core::Decimal::Parse(v.empty() ? "0" : v);
          if (!d) {
            Error(tk, Cp850("Número inválido."));
            return fresh ? area.table().SetDeleted(n, true) : Status::Ok();
          }
          DODU_RETURN_IF_ERROR(r.PutNumber(c.field, *d));
        } else {
          DODU_RETURN_IF_ERROR(r.PutText(c.field, v));
        }
      }
      return area.WriteCurrent(r);
    }();
    area.table().UnlockRecord(n);
    return st;
  };
  DODU_RETURN_IF_ERROR(load());
  for (;;) {
    draw();
    screen::Key k = tk.WaitKey();
    switch (k.type) {
      case screen::KeyType::kEsc:
        return Status::Ok();
      case screen::KeyType::kUp:
        if (cursor > 0) --cursor;
        break;
      case screen::KeyType::kDown:
        if (cursor + 1 < recnos.size()) ++cursor;
        break;
      case screen::KeyType::kHome:
        cursor = 0;
        break;
      case screen::KeyType::kEnd:
        cursor = recnos.empty() ? 0 : recnos.size() - 1;
        break;
      case screen::KeyType::kEnter:
        (void)edit(false);
        DODU_RETURN_IF_ERROR(load());
        break;
      case screen::KeyType::kIns:
        if (can_add) {
          (void)edit(true);
          DODU_RETURN_IF_ERROR(load());
        }
        break;
      default:
        break;
    }
  }
}

const char* const kMonthNames[12] = {"Janeiro", "Fevereiro", "Março",    "Abril",
                                     "Maio",    "Junho",     "Julho",    "Agosto",
                                     "Setembro", "Outubro",  "Novembro", "Dezembro"};

std::string TwoDigits(int n) {
  char b[8];
  std::snprintf(b, sizeof b, "%02d", n);
  return b;
}

std::string RateText(const core::Decimal& d) {
  // "@Ez 999.99": six cells, blank when zero.
  if (d.IsZero()) return std::string(6, ' ');
  std::string s = d.ToString();
  size_t dot = s.find('.');
  if (dot == std::string::npos) s += ".00";
  else if (s.size() - dot == 2) s += "0";
  else if (s.size() - dot > 3) s.resize(dot + 3);
  if (s.size() < 6) s.insert(0, 6 - s.size(), ' ');
  return s;
}

}  // namespace

Status MUDA_ESTATUS(MaintenanceContext& m, SettingsTables* tables, int mode) {
  if (mode == 3) {
    ScopedDialog dialog(m.tk, 0, 0, 5, 65, Cp850("Status para travar alteração"));
    m.tk.Write(2, 2, Cp850("Informe o status onde uma declaração passa ser inalteravel:"),
               screen::ColourOr(m.tk.colours().COR_SAY, 0x70));
    screen::MapVariableStore vars;
    vars.Define("STATRAVA", std::string(2, ' '));
    screen::FormField f;
    f.row = 2;
    f.col = 62;
    f.name = "STATRAVA";
    f.width = 2;
    f.valid = [&](screen::VariableStore& v, screen::ActiveField&) {
      const std::string t = Trim(std::get<std::string>(*v.Get("STATRAVA")));
      for (char c : t) {
        if (c < '0' || c > '9') return false;
      }
      return true;
    };
    screen::FormOptions options;
    options.exit_keys = {};
    screen::Form form(m.tk, vars, {f}, options);
    DODU_ASSIGN_OR_RETURN(screen::FormResult res, form.Read());
    if (res.end == screen::FormEnd::kEscaped) return Status::Cancelled();
    const std::string t = Trim(std::get<std::string>(*vars.Get("STATRAVA")));
    const int64_t code = t.empty() ? 0 : std::stoll(t);
    if (tables != nullptr) return tables->WriteDefine({NumericField("STATRAVA", code)});
    return Status::Ok();
  }
  if (mode == 2) {
    DODU_RETURN_IF_ERROR(store::ABERTURA(m.ctx, m.areas, 66, true));
    store::WorkArea* status = m.areas.Get(66);
    if (status == nullptr) return Status::NotFound("STATUS.DBF");
    Status st = RunList(m, *status, 5, 2, 17, 22, "Estatus",
                        {{"COD", 2, true}, {"DESCRICAO", 13, true}}, true);
    m.areas.Close(66);
    return st;
  }
  // Mode 1: each declaration's status in the register of the data folder.
  if (m.areas.Get(9) == nullptr) DODU_RETURN_IF_ERROR(store::ABERTURA(m.ctx, m.areas, 9));
  store::WorkArea& reg = *m.areas.Get(9);
  return RunList(m, reg, 3, 1, 21, 78, Cp850("Estatus das declarações"),
                 {{"CPF", 11, false}, {"NOMECONTR", 40, false}, {"ESTATUS", 2, true},
                  {"VALOREC", 12, true}},
                 false);
}

Status CAD_UFIR(MaintenanceContext& m) {
  screen::Toolkit& tk = m.tk;
  DODU_RETURN_IF_ERROR(store::ABERTURA(m.ctx, m.areas, 51));
  store::WorkArea* selic = m.areas.Get(51);
  if (selic == nullptr) {
    Error(tk, Cp850("Arquivo UFIRM.DBF não existe!"));
    return Status::NotFound("UFIRM.DBF");
  }
  platform::CivilTime today = m.ctx.env.clock().Now();
  core::YearMonth month = *core::YearMonth::Of(today.year, today.month);
  DODU_ASSIGN_OR_RETURN(std::optional<core::YearMonth> proposed, store::ProposedMonth(*selic));
  if (proposed) month = *proposed;

  ScopedDialog dialog(tk, 0, 0, 3, 24, "Cadastro da Selic Mensal");
  const screen::Attr say = screen::ColourOr(tk.colours().COR_SAY, 0x70);
  tk.Write(1, 1, "Mes:", say);
  tk.Write(2, 1, "Ano:", say);
  tk.Write(2, 11, "Taxa:", say);
  screen::MapVariableStore vars;
  vars.Define("MES", TwoDigits(month.month()));
  vars.Define("ANO", std::to_string(month.year()));
  auto show_rate = [&](screen::VariableStore& v) {
    const std::string mm = Trim(std::get<std::string>(*v.Get("MES")));
    const std::string yy = Trim(std::get<std::string>(*v.Get("ANO")));
    std::optional<core::YearMonth> ym = store::ParseAnoMes(yy + (mm.size() == 1 ? "0" + mm : mm));
    if (!ym) return false;
    tk.Write(1, 9, std::string(12, ' '), say);
    tk.Write(1, 9, Cp850(kMonthNames[ym->month() - 1]), say);
    Result<core::Decimal> rate = store::RateOf(*selic, *ym);
    (void)v.Set("TAXA", RateText(rate.ok() ? *rate : core::Decimal::FromInt(1)));
    return true;
  };
  vars.Define("TAXA", std::string(6, ' '));
  (void)show_rate(vars);

  std::vector<screen::FormField> fields(3);
  fields[0] = {1, 6, "MES", "", 2, nullptr,
               [&](screen::VariableStore& v, screen::ActiveField&) {
                 const std::string t = Trim(std::get<std::string>(*v.Get("MES")));
                 int n = -1;
                 if (!t.empty() && t.find_first_not_of("0123456789") == std::string::npos) n = std::stoi(t);
                 if (!store::BUSMES(n)) {
                   Error(tk, store::msg::SelicMonthInvalid());
                   return false;
                 }
                 (void)show_rate(v);
                 return true;
               }};
  fields[1] = {2, 6, "ANO", "", 4, nullptr,
               [&](screen::VariableStore& v, screen::ActiveField&) {
                 const std::string t = Trim(std::get<std::string>(*v.Get("ANO")));
                 int n = -1;
                 if (t.size() == 4 && t.find_first_not_of("0123456789") == std::string::npos) n = std::stoi(t);
                 if (!store::BUSANO(n) || !show_rate(v)) {
                   Error(tk, store::msg::SelicMonthInvalid());
                   return false;
                 }
                 return true;
               }};
  fields[2] = {2, 17, "TAXA", "", 6, nullptr,
               [&](screen::VariableStore& v, screen::ActiveField&) {
                 if (!store::ParseRate(std::get<std::string>(*v.Get("TAXA"))).ok()) {
                   Error(tk, store::msg::SelicRateInvalid());
                   return false;
                 }
                 return true;
               }};
  screen::FormOptions options;
  options.exit_keys = {};
  for (;;) {
    screen::Form form(tk, vars, fields, options);
    DODU_ASSIGN_OR_RETURN(screen::FormResult res, form.Read());
    if (res.end == screen::FormEnd::kEscaped) return Status::Cancelled();
    const std::string answer =
        screen::AVISOSN(tk, std::vector<std::string>{Cp850("Confirma a alteração?")}, 3);
    if (answer == "N") continue;
    if (answer != "S") return Status::Cancelled();
    const std::string mm = Trim(std::get<std::string>(*vars.Get("MES")));
    const std::string yy = Trim(std::get<std::string>(*vars.Get("ANO")));
    std::optional<core::YearMonth> ym = store::ParseAnoMes(yy + (mm.size() == 1 ? "0" + mm : mm));
    Result<core::Decimal> rate = store::ParseRate(std::get<std::string>(*vars.Get("TAXA")));
    if (!ym || !rate.ok()) {
      Error(tk, !ym ? store::msg::SelicMonthInvalid() : store::msg::SelicRateInvalid());
      continue;
    }
    return store::SaveRate(m.ctx, *selic, *ym, *rate);
  }
}

}  // namespace dodu::shell
