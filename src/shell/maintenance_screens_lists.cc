// Status maintenance and the SELIC register screen.
#include <cstdio>

#include "core/codepage.h"
#include "entry/edita.h"
#include "entry/lookup.h"
#include "entry/record_browser.h"
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

using screen::ScopedDialog;

void Error(screen::Toolkit& tk, const std::string& cp850) {
  (void)screen::AVISOSN(tk, std::vector<std::string>{cp850}, 8);
}

entry::Column Shown(std::string heading, std::string expression, std::string mask) {
  entry::Column c;
  c.heading = Cp850(heading);
  c.expression = std::move(expression);
  c.mask = std::move(mask);
  return c;
}

entry::Column Edited(std::string heading, const char* field, std::string mask) {
  entry::Column c = Shown(std::move(heading), field, std::move(mask));
  c.field = field;
  return c;
}

// Profile 29: the status codes (table 66), code and description edited in
// place, new codes on the append row.
Result<entry::Profile> BuildStatusCodes(entry::EntryContext&, int) {
  entry::Profile p;
  p.number = 29;
  p.area = 66;
  p.order = 1;
  p.rect = {5, 2, 17, 22};
  p.frame = 1;
  p.title = "Estatus";
  p.columns = {Edited("Cod.", "COD", "@z 99"), Edited("Estatus", "DESCRICAO", "@S13")};
  return p;
}

// Profile 52: per taxpayer of the register, the status with its description,
// the fee, the time of use, the receipt numbers and the portal access; name,
// CPF and description stay at the left. F1, F2, F3 order by name, CPF, status.
Result<entry::Profile> BuildDeclarationStatus(entry::EntryContext& ec, int) {
  entry::Profile p;
  p.number = 52;
  p.area = 9;
  p.rect = {3, 1, 21, 78};
  p.frame = 1;
  p.title = Cp850("Estatus das declarações");
  entry::Column description;
  description.heading = Cp850("Descrição");
  description.text = [of = entry::StatusDescriptions(ec.areas)](const store::Record& r) {
    Result<core::Decimal> code = r.GetNumber("ESTATUS");
    return of(code.ok() ? static_cast<int>(code->ToScaled(0)) : 0);
  };
  p.columns = {Shown("Nome do Contribuinte", "substr(NOMECONTR,1,30)", ""),
               Shown("CPF", "CPF", "@R 999.999.999-99"),
               description,
               Edited("St", "ESTATUS", "@z 99"),
               Edited("Cobrar", "VALOREC", "@Ez 9999,999.99"),
               Edited("Tempo", "TEM_USO", "@z 999999"),
               Edited("Recibo", "NRORECIBO", ""),
               Edited("Recibo Atual", "RECIBOATU", ""),
               Edited("Recibo Ant.", "RECIBOANT", ""),
               Edited("Cód. Acesso", "CODACESSO", ""),
               Edited("Senha", "SENACESSO", ""),
               Edited("Validade", "VALIDSENA", "")};
  p.frozen = 3;
  p.hooks.key = [](entry::RecordBrowser& b, screen::Key k) {
    if (k.type != screen::KeyType::kF || k.code < 1 || k.code > 3) {
      return entry::KeyOutcome::kNotMine;
    }
    static constexpr int kOrderOf[] = {0, 2, 1, 3};  // name, CPF, status
    if (b.area().SetOrder(kOrderOf[k.code]).ok()) (void)b.Reload();
    return entry::KeyOutcome::kHandled;
  };
  return p;
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
  entry::ProfileRegistry profiles;
  RegisterStatusProfiles(profiles);
  entry::EntryState state;
  entry::EntryContext ec{m.tk, m.ctx, m.areas, state};
  const int before = m.areas.current();
  if (mode == 2) {
    DODU_RETURN_IF_ERROR(store::ABERTURA(m.ctx, m.areas, 66, true));
    if (m.areas.Get(66) == nullptr) return Status::NotFound("STATUS.DBF");
    Result<screen::Key> k = entry::EDITA(ec, profiles, 29);
    m.areas.Close(66);
    // Shared again, as the start-up left it, for the status descriptions.
    (void)store::ABERTURA(m.ctx, m.areas, 66);
    m.areas.Select(before);
    return k.ok() ? Status::Ok() : k.status();
  }
  // Mode 1: each declaration's status in the register of the data folder.
  if (m.areas.Get(9) == nullptr) DODU_RETURN_IF_ERROR(store::ABERTURA(m.ctx, m.areas, 9));
  Result<screen::Key> k = entry::EDITA(ec, profiles, 52);
  m.areas.Select(before);
  return k.ok() ? Status::Ok() : k.status();
}

void RegisterStatusProfiles(entry::ProfileRegistry& registry) {
  registry.Register(29, BuildStatusCodes);
  registry.Register(52, BuildDeclarationStatus);
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
