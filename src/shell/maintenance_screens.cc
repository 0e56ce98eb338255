// The folder prompts, the CPF change dialog and the wiring of the
// maintenance options into the dispatcher.
#include "shell/maintenance_screens.h"

#include <algorithm>

#include "core/codepage.h"
#include "entry/lookup.h"
#include "screen/dialog.h"
#include "screen/form.h"
#include "screen/form_variables.h"
#include "screen/message_box.h"
#include "store/cpf_change.h"
#include "store/folder_list.h"
#include "store/maintenance_messages.h"
#include "store/opener.h"
#include "store/reindex.h"
#include "store/upgrade.h"

namespace dodu::shell {
namespace {

using core::Cp850;

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

std::string Pad(std::string s, int width) {
  if (static_cast<int>(s.size()) < width) s.append(width - s.size(), ' ');
  if (static_cast<int>(s.size()) > width) s.resize(width);
  return s;
}

std::string WithBackslash(const std::string& folder) {
  if (folder.empty() || folder.back() == '\\') return folder;
  return folder + "\\";
}

using screen::ScopedDialog;

void Info(screen::Toolkit& tk, const std::string& cp850, const std::string& title = "") {
  (void)screen::AVISOSN(tk, std::vector<std::string>{cp850}, 0, {}, title);
}

}  // namespace

std::string DIRPADRAO(const std::string& year) {
  return "C:\\ARQUIVOS DE PROGRAMAS RFB\\IRPF20" + year + "\\APLICACAO\\DADOS";
}

FolderRule ApplyFolderRule(FolderKind kind, bool escaped, const std::string& answer) {
  FolderRule r;
  if (escaped) return r;
  const std::string v = Trim(answer);
  if (v.empty()) {
    if (kind == FolderKind::kWork) return r;
    r.verdict = FolderRule::kAccept;
    r.warn_empty = true;
    return r;
  }
  if (v.size() == 2) {
    r.verdict = FolderRule::kAccept;
    r.value = v + "\\";
    return r;
  }
  r.value = v;
  r.verdict = v.size() <= 3 ? FolderRule::kAccept : FolderRule::kCheck;
  return r;
}

Result<std::optional<std::string>> NOVA_ROTA(MaintenanceContext& m, FolderKind kind,
                                             const std::string& current, int width) {
  screen::Toolkit& tk = m.tk;
  const bool official = kind == FolderKind::kOfficial;
  const std::string title =
      official ? "Local do programa da Receita" : "Pasta de Trabalho dos arquivos auxiliares";
  const std::string label = official ? store::kLabelOfficial : store::kLabelData;
  ScopedDialog dialog(tk, 1, 1, 5, 78, title);
  tk.LSBDRAW({screen::Toolkit::PartSpec(
      official ? Cp850("Pasta vazia não transfere p/a Receita. ALT P preenche com o Padrão") : "")});
  tk.Write(2, 2, current.substr(0, std::min<size_t>(current.size(), 76)),
           screen::ColourOr(tk.colours().COR_2_CLI, 0x1F));

  screen::MapVariableStore vars;
  vars.Define("ROTA", Pad(current, width));
  screen::FormField field;
  field.row = 4;
  field.col = 2;
  field.name = "ROTA";
  field.picture = "@S76";
  field.width = width;
  screen::FormOptions options;
  options.exit_keys = {};
  if (official) {
    options.hot_keys.push_back(
        {screen::Key::Alt('P'),
         [&](screen::Toolkit&, screen::VariableStore&, screen::ActiveField& f) {
           (void)f.set_value(Pad(DIRPADRAO(m.ctx.year), width));
           return screen::HotKeyAction::kContinue;
         }});
  }
  for (;;) {
    screen::Form form(tk, vars, {field}, options);
    DODU_ASSIGN_OR_RETURN(screen::FormResult res, form.Read());
    std::string answer;
    if (Result<screen::EditValue> v = vars.Get("ROTA"); v.ok()) {
      answer = std::get<std::string>(*v);
    }
    FolderRule rule = ApplyFolderRule(kind, res.end == screen::FormEnd::kEscaped, answer);
    if (rule.warn_empty) {
      Info(tk, Cp850("Ao deixar em branco NÃO haverá transferência para o programa da receita!"));
    }
    if (rule.verdict == FolderRule::kKeep) return std::optional<std::string>();
    if (rule.verdict == FolderRule::kAccept) return std::optional<std::string>(Pad(rule.value, width));
    Status ok = store::CRI_NDIR(m.ctx, rule.value, label);
    if (ok.ok()) return std::optional<std::string>(Pad(rule.value, width));
    vars.Define("ROTA", Pad(rule.value, width));
  }
}

Status SELAREA(MaintenanceContext& m, MainMenuState& state, SettingsTables* tables, int which) {
  const FolderKind kind = which == 1 ? FolderKind::kWork : FolderKind::kOfficial;
  std::string current;
  if (kind == FolderKind::kWork) {
    current = m.ctx.paths.ToSystem(m.ctx.work_folder);
  } else {
    current = state.locirpf;
    if (!current.empty() && current.back() == '\\' && current.size() > 3) current.pop_back();
  }
  DODU_ASSIGN_OR_RETURN(std::optional<std::string> chosen, NOVA_ROTA(m, kind, current, 80));
  if (!chosen) return Status::Cancelled();
  const std::string value = Trim(*chosen);
  if (kind == FolderKind::kWork) {
    Result<std::string> native = m.ctx.paths.ToNative(value);
    if (native.ok()) {
      std::string n = *native;
      while (n.size() > 1 && (n.back() == '/' || n.back() == '\\')) n.pop_back();
      m.ctx.work_folder = n;
    }
    if (tables != nullptr) return tables->WriteConfig({CharField("DIRTRAB", Pad(value, 80))});
    return Status::Ok();
  }
  state.locirpf = value.empty() ? "" : WithBackslash(value);
  if (tables != nullptr) return tables->WriteConfig({CharField("ROTAJAVA", state.locirpf)});
  return Status::Ok();
}

Status MUDA_CPF(MaintenanceContext& m) {
  screen::Toolkit& tk = m.tk;
  {
    ScopedDialog dialog(tk, 8, 20, 13, 60, "Muda CPF");
    tk.LSBDRAW({screen::Toolkit::PartSpec("F1 Contribuintes por Nome F2 Contribuintes por CPF ")});
    screen::MapVariableStore vars;
    vars.Define("CPFANT", std::string(11, ' '));
    vars.Define("CPFNOVO", std::string(11, ' '));
    tk.Write(9, 22, "CPF original:", screen::ColourOr(tk.colours().COR_SAY, 0x70));
    tk.Write(11, 22, "CPF novo    :", screen::ColourOr(tk.colours().COR_SAY, 0x70));
    std::vector<screen::FormField> fields(2);
    fields[0].row = 9;
    fields[0].col = 36;
    fields[0].name = "CPFANT";
    fields[0].picture = "@r 999.999.999-99";
    fields[1].row = 11;
    fields[1].col = 36;
    fields[1].name = "CPFNOVO";
    fields[1].picture = "@r 999.999.999-99";
    screen::FormOptions options;
    options.exit_keys = {};
    // F1 and F2: the register by name and by CPF; the CPF picked goes into
    // the field being typed.
    if (m.areas.Get(9) == nullptr) (void)store::ABERTURA(m.ctx, m.areas, 9);
    entry::EntryState state;
    entry::EntryContext ec{tk, m.ctx, m.areas, state};
    auto pick_into = [&ec](entry::RegisterOrder order) {
      return [&ec, order](screen::Toolkit&, screen::VariableStore&, screen::ActiveField& field) {
        Result<std::optional<entry::RegisterPick>> pick =
            entry::RegisterList(ec, {order, "", false, false});
        if (pick.ok() && pick->has_value()) (void)field.set_value((*pick)->cpf);
        return screen::HotKeyAction::kContinue;
      };
    };
    options.hot_keys = {{screen::Key::F(1), pick_into(entry::RegisterOrder::kName)},
                        {screen::Key::F(2), pick_into(entry::RegisterOrder::kCpf)}};
    for (;;) {
      screen::Form form(tk, vars, fields, options);
      DODU_ASSIGN_OR_RETURN(screen::FormResult res, form.Read());
      if (res.end == screen::FormEnd::kEscaped) break;
      const std::string from = Trim(std::get<std::string>(*vars.Get("CPFANT")));
      const std::string to = Trim(std::get<std::string>(*vars.Get("CPFNOVO")));
      Result<store::CpfChangeResult> r = store::ChangeCpf(m.ctx, m.areas, from, to);
      if (!r.ok()) {
        (void)screen::AVISOSN(tk, std::vector<std::string>{r.status().message()}, 8);
      }
    }
  }
  Result<store::ReorgReport> re = store::REORG(m.ctx, m.areas, m.ctx.data_folder, 3);
  (void)store::MUDADIR(m.ctx, m.areas, m.ctx.data_folder, m.cpf);
  return re.ok() ? Status::Ok() : re.status();
}

void RegisterMaintenanceOptions(ActionRegistry& registry, MaintenanceContext& m) {
  registry.Register(19, [&m](ActionContext& c) {
    for (int n : m.areas.OpenNumbers()) {
      if (n != 50) m.areas.Close(n);
    }
    if (m.areas.Get(50) == nullptr && !store::ABERTURA(m.ctx, m.areas, 50).ok()) return false;
    store::WorkArea& list = *m.areas.Get(50);
    (void)store::CleanFolderList(m.ctx, list);
    const std::string current = m.ctx.data_folder;
    int upgraded = 0;
    for (Status s = list.Top(); s.ok() && !list.eof(); s = list.Skip()) {
      Result<store::Record> r = list.Current();
      if (!r.ok()) break;
      Result<std::string> folder = store::FolderFromList(m.ctx, r->GetText("DIRETOR").value_or(""));
      if (!folder.ok()) continue;
      Result<std::string> on_disk = platform::ResolveExisting(m.ctx.env, *folder);
      if (!on_disk.ok() || !m.ctx.env.IsDirectory(*on_disk)) continue;
      m.ctx.data_folder = *on_disk;
      upgraded += store::CORRECAO(m.ctx, 0);
    }
    m.ctx.data_folder = current;
    if (upgraded == 0) {
      c.sink.Box(0, {Cp850("Todos Arquivos já estão atualizados")}, "Atualizar a base de dados");
    }
    for (int n = 1; n <= 21; ++n) {
      char name[16];
      std::snprintf(name, sizeof name, "TMP_%02d%s", n, m.ctx.terminal.c_str());
      for (const char* ext : {".DBF", ".CDX"}) {
        Result<std::string> p =
            platform::ResolveExisting(m.ctx.env, platform::JoinPath(m.ctx.work_folder, name + std::string(ext)));
        if (p.ok() && m.ctx.env.Exists(*p)) (void)m.ctx.env.Remove(*p);
      }
    }
    (void)store::MUDADIR(m.ctx, m.areas, m.ctx.data_folder, m.cpf);
    return true;
  });
  registry.Register(21, [&m](ActionContext& c) {
    return SELAREA(m, c.state, c.tables, 1).ok();
  });
  registry.Register(67, [&m](ActionContext& c) {
    return SELAREA(m, c.state, c.tables, 2).ok();
  });
  registry.Register(27, [&m](ActionContext& c) {
    return MUDA_ESTATUS(m, c.tables, c.sub1 == 0 ? 1 : c.sub1).ok();
  });
  registry.Register(28, [&m](ActionContext&) { return CAD_UFIR(m).ok(); });
  registry.Register(29, [&m](ActionContext&) {
    Result<store::ReindexReport> r = store::REINDEXA(m.ctx, m.areas, m.cpf);
    return r.ok() && r->asked;
  });
  registry.Register(30, [&m](ActionContext&) { return MUDA_CPF(m).ok(); });
}

}  // namespace dodu::shell
