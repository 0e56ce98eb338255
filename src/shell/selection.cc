// GET_CODIGO and its outcomes, the name search, the search in the other
// folders and the selection loop of DECLARA.
#include "shell/selection.h"

#include "core/codepage.h"
#include "core/ids.h"
#include "entry/edita.h"
#include "screen/dialog.h"
#include "screen/form.h"
#include "screen/form_variables.h"
#include "screen/message_box.h"
#include "shell/selection_windows.h"
#include "shell/station.h"
#include "store/folder_list.h"
#include "store/opener.h"

namespace dodu::shell {
namespace {

using core::Cp850;

constexpr int kRegisterArea = 9;
constexpr int kRegisterCopyArea = 29;
constexpr int kFolderListArea = 50;

std::string Pad(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

bool Blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

bool YesNo(screen::Toolkit& tk, const std::vector<std::string>& utf8_lines) {
  std::vector<std::string> lines;
  for (const std::string& l : utf8_lines) lines.push_back(Cp850(l));
  return screen::AVISOSN(tk, lines, 2) == "S";
}

void ErrorBox(screen::Toolkit& tk, const std::vector<std::string>& utf8_lines) {
  std::vector<std::string> lines;
  for (const std::string& l : utf8_lines) lines.push_back(Cp850(l));
  (void)screen::AVISOSN(tk, lines, 8);
}

std::string FolderShown(const SelectionContext& s) {
  return core::Utf8ToCp850(s.ctx.paths.ToSystem(s.ctx.data_folder));
}

Result<store::WorkArea*> Register(SelectionContext& s) {
  store::WorkArea* reg = s.areas.Get(kRegisterArea);
  if (reg == nullptr) return Status::NotFound("the register is not open");
  return reg;
}

// The register record of `cpf` in CPF order, or nullopt.
Result<std::optional<store::Record>> SeekCpf(store::WorkArea& reg, const std::string& cpf) {
  DODU_RETURN_IF_ERROR(reg.SetOrder(1));
  DODU_ASSIGN_OR_RETURN(bool found, reg.Seek(cpf));
  if (!found) return std::optional<store::Record>();
  DODU_ASSIGN_OR_RETURN(store::Record r, reg.Current());
  return std::optional<store::Record>(std::move(r));
}

// Does this terminal's work copy of the register exist (TMP_09 + terminal)?
bool RegisterCopyExists(const store::OpenerContext& ctx) {
  const std::string path =
      platform::JoinPath(ctx.work_folder, WorkCopyName(9, ctx.terminal) + ".DBF");
  Result<std::string> on_disk = platform::ResolveExisting(ctx.env, path);
  return on_disk.ok() && ctx.env.Exists(*on_disk);
}

// The CPF and name of this terminal's work copy of the register, opened
// exclusively and closed again; nullopt when it cannot be opened or is empty.
std::optional<std::pair<std::string, std::string>> ReadRegisterCopy(SelectionContext& s) {
  if (!RegisterCopyExists(s.ctx)) return std::nullopt;
  const int selected = s.areas.current();
  if (!store::OpenWorkCopy(s.ctx, s.areas, 9, true).ok()) return std::nullopt;
  std::optional<std::pair<std::string, std::string>> out;
  store::WorkArea* copy = s.areas.Get(kRegisterCopyArea);
  if (copy != nullptr && copy->Top().ok() && !copy->eof()) {
    if (Result<store::Record> r = copy->Current(); r.ok()) {
      out.emplace(r->GetText("CPF").value_or(""), r->GetText("NOMECONTR").value_or(""));
    }
  }
  if (!out) out.emplace(std::string(11, ' '), std::string(53, ' '));
  s.areas.Close(kRegisterCopyArea);
  s.areas.Select(selected);
  return out;
}

// The open-elsewhere and recovery check of a register record whose NUSUAT is
// `nusuat`. False when the operator will not go on.
bool CheckOpenElsewhere(SelectionContext& s, const std::string& nusuat) {
  const std::string terminal = Trim(nusuat);
  if (terminal.empty()) return true;
  if (terminal == s.ctx.terminal) {
    std::optional<std::pair<std::string, std::string>> copy = ReadRegisterCopy(s);
    if (copy && copy->first == s.state.cpf) {
      s.state.lrecupera = YesNo(s.tk, {kRecoverLine1, kRecoverLine2});
      if (s.state.lrecupera) s.tk.DropPendingKeys();
    }
    return true;
  }
  return YesNo(s.tk, {kElsewhereLine1 + terminal, kElsewhereLine2, kElsewhereLine3});
}

// Loads the chosen declaration through the hook (skipped when unset).
bool Load(SelectionContext& s, LoadKind kind, int code) {
  if (!s.hooks.load) return true;
  LoadRequest req;
  req.kind = kind;
  req.cpf = s.state.cpf;
  req.name = s.state.nomecontr;
  req.menu_option = code;
  return s.hooks.load(req).ok();
}

LoadKind ExistingKind(const SelectionContext& s) {
  return s.state.lrecupera ? LoadKind::kRecovery : LoadKind::kExisting;
}

// F4's warning before reusing work copies that a later save elsewhere may
// have made stale.
bool RecoveryCheck(SelectionContext& s, const std::string& nusuat) {
  if (s.hooks.recovery_check) return s.hooks.recovery_check(s.state.cpf, nusuat);
  if (!RecoveryNeedsWarning(nusuat, s.ctx.terminal)) return true;
  return YesNo(s.tk, {kStaleLine1, kStaleLine2});
}

// The end of a selection in which a declaration was opened: the register
// record of the last CPF gets ORDEM 0 (5-second lock). Only a record the seek
// found is written: a new taxpayer left without saving has none, and the
// record the register happened to be on is someone else's.
void EndDeclarationSelection(SelectionContext& s) {
  if (Blank(s.ult_cpf)) return;
  if (!store::MUDADIR(s.ctx, s.areas, s.ctx.data_folder, s.ult_cpf).ok()) return;
  store::WorkArea* reg = s.areas.Get(kRegisterArea);
  if (reg == nullptr) return;
  Result<std::optional<store::Record>> rec = SeekCpf(*reg, Pad(s.ult_cpf, 11));
  if (!rec.ok() || !*rec) return;
  (void)WriteCurrentFields(s.ctx, *reg, {NumericField("ORDEM", 0)}, 5);
}

void NotAvailable(SelectionContext& s, int code) {
  if (s.not_available) s.not_available(code);
}

// ---- the input of the CPF or the name ----

enum class InputEnd { kEscaped, kChosen };

// Puts a CPF and a name into the form: the active field through its editor,
// the other through the variables.
void FillForm(screen::VariableStore& vars, screen::ActiveField& f, const std::string& cpf,
              const std::string& name) {
  if (f.name() == "CPF") {
    (void)f.set_value(Pad(cpf, 11));
    (void)vars.Set("NOMECONTR", Pad(name, 53));
  } else {
    (void)f.set_value(Pad(name, 53));
    (void)vars.Set("CPF", Pad(cpf, 11));
  }
}

std::string TextOf(const screen::VariableStore& vars, const char* name) {
  Result<screen::EditValue> v = vars.Get(name);
  if (!v.ok()) return "";
  const std::string* s = std::get_if<std::string>(&*v);
  return s != nullptr ? *s : "";
}

Result<InputEnd> ReadInput(SelectionContext& s, int code) {
  screen::Toolkit& tk = s.tk;
  screen::MapVariableStore vars;
  vars.Define("CPF", Pad(s.state.cpf, 11));
  vars.Define("NOMECONTR", Pad(s.state.nomecontr, 53));
  // Set when a key has chosen the taxpayer: leaving the name field then runs
  // no name search.
  bool chosen_by_key = false;

  std::vector<screen::FormField> fields(2);
  fields[0].row = kCpfRow;
  fields[0].col = kCpfCol;
  fields[0].name = "CPF";
  fields[0].picture = "@R 999.999.999-99";
  fields[0].valid = [&s](screen::VariableStore& v, screen::ActiveField&) {
    return core::ValCpf(s.ctx.sink, TextOf(v, "CPF"), true, core::CpfMode::kSelection,
                        [&v](const std::string& name) { (void)v.Set("NOMECONTR", name); });
  };
  fields[1].row = kCpfRow;
  fields[1].col = kNameCol;
  fields[1].name = "NOMECONTR";
  fields[1].picture = "@!";
  fields[1].when = [](screen::VariableStore& v) { return Blank(TextOf(v, "CPF")); };
  fields[1].valid = [&s, &chosen_by_key](screen::VariableStore& v, screen::ActiveField& f) {
    if (chosen_by_key) return true;
    Result<bool> picked = BNOME2(s, Trim(TextOf(v, "NOMECONTR")));
    if (!picked.ok() || !*picked) return false;
    FillForm(v, f, s.state.cpf, s.state.nomecontr);
    return true;
  };

  screen::FormOptions options;
  options.exit_keys = {};
  auto pick = [&](std::function<Result<std::optional<entry::RegisterPick>>()> list) {
    return [&, list](screen::Toolkit&, screen::VariableStore& v, screen::ActiveField& f) {
      Result<std::optional<entry::RegisterPick>> p = list();
      if (!p.ok() || !*p) return screen::HotKeyAction::kContinue;
      FillForm(v, f, (*p)->cpf, (*p)->name);
      chosen_by_key = true;
      return screen::HotKeyAction::kLeave;
    };
  };
  auto list_in = [&s](entry::RegisterOrder order) {
    return [&s, order]() -> Result<std::optional<entry::RegisterPick>> {
      if (!s.hooks.register_list) return std::optional<entry::RegisterPick>();
      entry::RegisterListRequest req;
      req.order = order;
      req.rural_only = s.state.only_rural;
      return s.hooks.register_list(req);
    };
  };
  options.hot_keys.push_back({screen::Key::F(1), pick(list_in(entry::RegisterOrder::kName))});
  options.hot_keys.push_back({screen::Key::F(2), pick(list_in(entry::RegisterOrder::kCpf))});
  options.hot_keys.push_back({screen::Key::F(3), pick(list_in(entry::RegisterOrder::kStatus))});
  options.hot_keys.push_back(
      {screen::Key::F(7),
       [&s, code](screen::Toolkit&, screen::VariableStore&, screen::ActiveField&) {
         (void)MOS_DIR(s);
         if (code == 11) s.frame.ShowKeyLine();
         return screen::HotKeyAction::kContinue;
       }});
  options.hot_keys.push_back({screen::Key::F(8), pick([&s] { return SO_AAR(s); })});
  if (code == 11) {
    options.hot_keys.push_back({screen::Key::F(4), [&](screen::Toolkit&, screen::VariableStore& v,
                                                       screen::ActiveField& f) {
                                  Result<std::optional<std::string>> last = DIRETO(s);
                                  if (!last.ok() || !*last) return screen::HotKeyAction::kContinue;
                                  FillForm(v, f, **last, s.state.nomecontr);
                                  s.state.lrecupera = true;
                                  chosen_by_key = true;
                                  return screen::HotKeyAction::kLeave;
                                }});
    options.hot_keys.push_back(
        {screen::Key::F(5), [&s](screen::Toolkit&, screen::VariableStore&, screen::ActiveField&) {
           if (s.hooks.corrected_list) s.hooks.corrected_list();
           return screen::HotKeyAction::kContinue;
         }});
    options.hot_keys.push_back({screen::Key::F(6), [&s](screen::Toolkit&, screen::VariableStore& v,
                                                        screen::ActiveField& f) {
                                  std::string cpf = TextOf(v, "CPF");
                                  if (f.name() == "CPF") {
                                    if (Result<screen::EditValue> typed = f.value(); typed.ok()) {
                                      if (const auto* t = std::get_if<std::string>(&*typed))
                                        cpf = *t;
                                    }
                                  }
                                  (void)MOS_DETAL(s, cpf);
                                  return screen::HotKeyAction::kContinue;
                                }});
    options.hot_keys.push_back({screen::Key::F(11), [&s](screen::Toolkit&, screen::VariableStore& v,
                                                         screen::ActiveField& f) {
                                  std::string cpf = TextOf(v, "CPF");
                                  if (f.name() == "CPF") {
                                    if (Result<screen::EditValue> typed = f.value(); typed.ok()) {
                                      if (const auto* t = std::get_if<std::string>(&*typed))
                                        cpf = *t;
                                    }
                                  }
                                  // A CPF in the field names the taxpayer whose warnings are meant.
                                  if (!Blank(cpf)) {
                                    if (Result<store::WorkArea*> reg = Register(s); reg.ok()) {
                                      (void)SeekCpf(**reg, Pad(cpf, 11));
                                    }
                                  }
                                  (void)MOS_PEND(s);
                                  return screen::HotKeyAction::kContinue;
                                }});
  }

  screen::Form form(tk, vars, fields, options);
  DODU_ASSIGN_OR_RETURN(screen::FormResult res, form.Read());
  if (res.end == screen::FormEnd::kEscaped || res.end == screen::FormEnd::kMenu) {
    return InputEnd::kEscaped;
  }
  s.state.cpf = Pad(TextOf(vars, "CPF"), 11);
  s.state.nomecontr = Pad(TextOf(vars, "NOMECONTR"), 53);
  return InputEnd::kChosen;
}

}  // namespace

SelectionContext::SelectionContext(screen::Toolkit& tk, store::OpenerContext& ctx,
                                   store::WorkAreas& areas, MainMenuState& menu,
                                   std::string& ult_cpf)
    : tk(tk), ctx(ctx), areas(areas), menu(menu), ult_cpf(ult_cpf), frame(tk) {
  entry::RegisterEngineProfiles(profiles);
}

Result<bool> BNOME2(SelectionContext& s, const std::string& name) {
  DODU_ASSIGN_OR_RETURN(store::WorkArea * reg, Register(s));
  std::string upper;
  for (char c : name) {
    upper += static_cast<char>(screen::Key::Char(static_cast<uint8_t>(c)).upper_byte());
  }
  DODU_RETURN_IF_ERROR(reg->SetOrder(2));
  DODU_ASSIGN_OR_RETURN(bool found, reg->Seek(upper, true));
  std::optional<entry::RegisterPick> pick;
  // The seek matches a name that starts with the text typed; only the whole
  // name picks the taxpayer without the list.
  if (found && !upper.empty()) {
    DODU_ASSIGN_OR_RETURN(store::Record r, reg->Current());
    const std::string stored = Trim(r.GetText("NOMECONTR").value_or(""));
    std::string stored_upper;
    for (char c : stored) {
      stored_upper += static_cast<char>(screen::Key::Char(static_cast<uint8_t>(c)).upper_byte());
    }
    if (stored_upper == upper) pick = entry::RegisterPick{r.GetText("CPF").value_or(""), stored};
  }
  if (!pick && s.hooks.register_list) {
    entry::RegisterListRequest req;
    req.order = entry::RegisterOrder::kName;
    req.key = upper;
    req.rural_only = s.state.only_rural;
    req.short_list = true;
    DODU_ASSIGN_OR_RETURN(pick, s.hooks.register_list(req));
  }
  if (store::WorkArea* r = s.areas.Get(kRegisterArea)) (void)r->SetOrder(1);
  if (!pick) return false;
  s.state.cpf = Pad(pick->cpf, 11);
  s.state.nomecontr = Pad(pick->name, 53);
  return true;
}

Result<bool> BUSCA_OUTRO(SelectionContext& s, const std::string& value, int order, int mode,
                         bool spouse) {
  const std::string dirorig = s.ctx.data_folder;
  store::WorkArea* list = s.areas.Get(kFolderListArea);
  const std::string register_file = "IMP09" + s.ctx.year + ".DBF";
  if (list != nullptr) {
    for (Status st = list->Top(); !list->eof(); st = list->Skip()) {
      DODU_RETURN_IF_ERROR(st);
      DODU_ASSIGN_OR_RETURN(store::Record entry, list->Current());
      Result<std::string> folder =
          store::FolderFromList(s.ctx, entry.GetText("DIRETOR").value_or(""));
      if (!folder.ok() || Blank(*folder)) continue;
      Result<std::string> on_disk = platform::ResolveExisting(s.ctx.env, *folder);
      if (!on_disk.ok()) continue;
      Result<std::string> table =
          platform::ResolveExisting(s.ctx.env, platform::JoinPath(*on_disk, register_file));
      if (!table.ok() || !s.ctx.env.Exists(*table)) continue;
      if (!store::MUDADIR(s.ctx, s.areas, *on_disk, "").ok()) continue;
      DODU_ASSIGN_OR_RETURN(store::WorkArea * reg, Register(s));
      DODU_RETURN_IF_ERROR(reg->SetOrder(order == 2 ? 2 : 1));
      DODU_ASSIGN_OR_RETURN(bool hit, reg->Seek(value, order == 2));
      if (!hit) continue;
      DODU_ASSIGN_OR_RETURN(store::Record r, reg->Current());
      const std::string cpf = r.GetText("CPF").value_or("");
      if (mode == 1) {
        s.state.nomecontr = Pad(r.GetText("NOMECONTR").value_or(""), 53);
        if (order != 2) s.state.cpf = Pad(cpf, 11);
      }
      s.ctx.data_folder = *on_disk;
      if (!spouse) DODU_RETURN_IF_ERROR(store::TROCASIM(s.ctx, s.areas, mode, cpf));
      // The register of the folder found, on the record.
      DODU_ASSIGN_OR_RETURN(reg, Register(s));
      DODU_RETURN_IF_ERROR(reg->SetOrder(order == 2 ? 2 : 1));
      DODU_ASSIGN_OR_RETURN(hit, reg->Seek(order == 2 ? value : cpf, order == 2));
      return true;
    }
  }
  s.ctx.data_folder = dirorig;
  DODU_RETURN_IF_ERROR(store::MUDADIR(s.ctx, s.areas, dirorig, s.state.cpf).status());
  if (mode == 1) s.state.nomecontr = std::string(53, ' ');
  DODU_ASSIGN_OR_RETURN(store::WorkArea * reg, Register(s));
  DODU_RETURN_IF_ERROR(reg->SetOrder(1));
  return false;
}

Result<std::optional<std::string>> DIRETO(SelectionContext& s) {
  std::optional<std::pair<std::string, std::string>> copy = ReadRegisterCopy(s);
  if (!copy) return std::optional<std::string>();
  if (Blank(copy->first)) {
    ErrorBox(s.tk, {kNoLastCpf});
    return std::optional<std::string>();
  }
  s.state.nomecontr = Pad(copy->second, 53);
  return std::optional<std::string>(Pad(copy->first, 11));
}

Result<std::optional<entry::RegisterPick>> SO_AAR(SelectionContext& s) {
  s.state.only_rural = !s.state.only_rural;
  if (store::WorkArea* reg = s.areas.Get(kRegisterArea)) (void)reg->Top();
  if (!s.hooks.register_list) return std::optional<entry::RegisterPick>();
  entry::RegisterListRequest req;
  req.order = entry::RegisterOrder::kCpf;
  req.rural_only = s.state.only_rural;
  return s.hooks.register_list(req);
}

Status MOS_DIR(SelectionContext& s) {
  if (s.areas.Get(kFolderListArea) == nullptr) return Status::Ok();
  const int selected = s.areas.current();
  screen::LDialog* d = s.tk.LDLGSHOW(4, 9, 20, 70, "Pastas");
  entry::EntryContext ec{s.tk, s.ctx, s.areas, s.entry_state};
  Result<screen::Key> k = screen::Key();
  try {
    k = entry::EDITA(ec, s.profiles, 40);
  } catch (...) {
    if (d != nullptr) d->close();
    throw;
  }
  if (d != nullptr) d->close();
  s.areas.Select(selected);
  return k.status();
}

Result<bool> GET_CODIGO(SelectionContext& s, int code) {
  DODU_ASSIGN_OR_RETURN(InputEnd end, ReadInput(s, code));
  if (end == InputEnd::kEscaped) return false;
  const bool by_f4 = s.state.lrecupera;
  s.state.only_rural = false;
  DODU_ASSIGN_OR_RETURN(store::WorkArea * reg, Register(s));
  DODU_ASSIGN_OR_RETURN(std::optional<store::Record> rec, SeekCpf(*reg, s.state.cpf));

  if (rec || s.state.lrecupera) {
    std::string nusuat;
    if (rec) {
      nusuat = rec->GetText("NUSUAT").value_or("");
      if (!s.state.lrecupera) s.state.nomecontr = Pad(rec->GetText("NOMECONTR").value_or(""), 53);
    }
    s.frame.Show(s.state.cpf, s.state.nomecontr, FolderShown(s));
    if (code == 11 || code == 13) {
      if (!CheckOpenElsewhere(s, nusuat)) return false;
      if (by_f4 && s.state.lrecupera && !RecoveryCheck(s, nusuat)) return false;
      if (!Load(s, ExistingKind(s), code)) return false;
    }
    if (code == 51 && s.hooks.print) s.hooks.print();
    s.state.resp = "N";
    return true;
  }

  switch (code) {
    case 12:
    case 13:
    case 16:
    case 51:
    case 61: {
      DODU_ASSIGN_OR_RETURN(bool found, BUSCA_OUTRO(s, s.state.cpf, 1, 1));
      if (!found) {
        ErrorBox(s.tk, {kNowhereLine1, kNowhereLine2});
        return false;
      }
      s.frame.FreeLine(5, "");
      s.frame.Show(s.state.cpf, s.state.nomecontr, FolderShown(s));
      if ((code == 12 || code == 13 || code == 61) && !Load(s, LoadKind::kExisting, code)) {
        return false;
      }
      if (code == 51 && s.hooks.print) s.hooks.print();
      return true;
    }
    case 11: {
      DODU_ASSIGN_OR_RETURN(bool found, BUSCA_OUTRO(s, s.state.cpf, 1, 1));
      if (!found) {
        if (!YesNo(s.tk, {kIncludeLine1, kIncludeLine2})) return false;
        s.state.pvez = true;
        s.state.resp = "S";
        return Load(s, LoadKind::kNew, code);
      }
      s.frame.Show(s.state.cpf, s.state.nomecontr, FolderShown(s));
      DODU_ASSIGN_OR_RETURN(reg, Register(s));
      DODU_ASSIGN_OR_RETURN(rec, SeekCpf(*reg, s.state.cpf));
      if (!CheckOpenElsewhere(s, rec ? rec->GetText("NUSUAT").value_or("") : "")) return false;
      return Load(s, ExistingKind(s), code);
    }
    default:
      return true;
  }
}

Result<bool> DECLARA(SelectionContext& s, int code) {
  store::FECHA_PROV(s.areas);
  if (code == 51) {
    if (s.hooks.print_selection) {
      s.hooks.print_selection();
    } else {
      NotAvailable(s, code);
    }
    return true;
  }
  if (code == 62 || code == 63) {
    if (!s.hooks.handover) {
      NotAvailable(s, code);
      return false;
    }
    if (!Load(s, LoadKind::kExisting, code)) return false;
    s.hooks.handover();
    return true;
  }
  if (Blank(s.state.cpf)) s.state.cpf = Pad(s.ult_cpf, 11);
  bool chosen = false;
  bool opened = false;  // a declaration was opened (option 11)
  for (;;) {
    DODU_RETURN_IF_ERROR(store::MUDADIR(s.ctx, s.areas, s.ctx.data_folder, s.state.cpf).status());
    s.state.lrecupera = false;
    s.state.pvez = false;
    s.frame.Open(FolderShown(s), code == 11);
    Result<bool> got = [&]() -> Result<bool> {
      try {
        return GET_CODIGO(s, code);
      } catch (...) {
        s.frame.Close();
        throw;
      }
    }();
    if (!got.ok() || !*got) {
      s.frame.Close();
      if (!got.ok()) return got.status();
      if (opened) EndDeclarationSelection(s);
      return chosen;
    }
    chosen = true;
    s.ult_cpf = s.state.cpf;
    switch (code) {
      case 10: {
        s.frame.Close();
        if (!s.hooks.portal) {
          NotAvailable(s, code);
          return true;
        }
        PortalAccess access;
        access.cpf = s.state.cpf;
        DODU_ASSIGN_OR_RETURN(store::WorkArea * reg, Register(s));
        DODU_ASSIGN_OR_RETURN(std::optional<store::Record> rec, SeekCpf(*reg, s.state.cpf));
        if (rec) {
          access.codacesso = rec->GetTrimmed("CODACESSO").value_or("");
          access.senacesso = rec->GetTrimmed("SENACESSO").value_or("");
          access.validsena = rec->GetDate("VALIDSENA").value_or(core::Date());
          access.nascimento = rec->GetDate("NASCIMENTO").value_or(core::Date());
        }
        if (s.hooks.portal(access)) (void)s.tk.WaitKey();
        return true;
      }
      case 12:
      case 13:
      case 16: {
        s.frame.Close();
        const auto& hook = code == 12   ? s.hooks.ledger
                           : code == 13 ? s.hooks.conference
                                        : std::function<void()>();
        if (code == 16 && s.hooks.remove) {
          s.hooks.remove(s.state.cpf);
        } else if (hook) {
          hook();
        } else {
          NotAvailable(s, code);
        }
        return true;
      }
      case 61: {
        store::FECHA_PROV(s.areas);
        if (!s.hooks.handover) {
          s.frame.Close();
          NotAvailable(s, code);
          return true;
        }
        const bool loaded = Load(s, LoadKind::kExisting, code);
        if (loaded) s.hooks.handover();
        store::FECHA_PROV(s.areas);
        s.frame.Close();
        return true;
      }
      case 11: {
        s.frame.Close();
        if (!s.hooks.run_declaration) {
          NotAvailable(s, code);
          return true;
        }
        opened = true;
        s.menu.opcfim = s.hooks.run_declaration();
        if (s.menu.opcfim == 1) {
          EndDeclarationSelection(s);
          return true;
        }
        s.state.nomecontr = std::string(53, ' ');
        continue;
      }
      default:
        s.frame.Close();
        return true;
    }
  }
}

void RegisterSelectionOptions(ActionRegistry& registry, SelectionContext& s,
                              Dispatcher& dispatcher) {
  if (!s.not_available) {
    s.not_available = [&dispatcher](int code) {
      const OptionInfo* info = FindOption(code);
      dispatcher.NotAvailable(info != nullptr ? info->title : "");
    };
  }
  for (int code : {10, 11, 12, 13, 16, 51, 61}) {
    registry.Register(code, [&s, code](ActionContext&) {
      Result<bool> r = DECLARA(s, code);
      return r.ok() && *r;
    });
  }
}

}  // namespace dodu::shell
