#include "shell/startup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/codepage.h"
#include "platform/paths.h"
#include "screen/colour.h"
#include "screen/dialog.h"
#include "screen/form_variables.h"
#include "screen/mens.h"
#include "screen/message_box.h"
#include "shell/startup_args.h"
#include "store/catalogue.h"
#include "store/folder_list.h"
#include "store/opener.h"
#include "store/upgrade.h"

namespace dodu::shell {
namespace {

using core::Cp850;
using screen::Toolkit;

constexpr int kInfo = 0;
constexpr int kQuestion = 2;
constexpr int kError = 8;

void ErrorBox(Station& st, const std::string& cp850) {
  screen::AVISOSN(st.tk, std::vector<std::string>{cp850}, kError);
}

std::string RightTrimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

// The native form of a folder name as the station keeps it (UTF-8).
std::string NativeText(const std::string& cp850) { return core::Cp850ToUtf8(RightTrimmed(cp850)); }

// Step 5. Only on a network drive is the operator asked.
std::string QualUsur(Station& st, const std::string& current_folder) {
  Result<bool> network = st.env.IsNetworkFilesystem(current_folder);
  if (!network.ok() || !*network) return "00";
  TerminalQuestion q = MakeTerminalQuestion(st.env.GetEnv(kOperatorVariable),
                                            st.env.GetEnv(kProposedTerminalVariable));
  screen::MapVariableStore vars;
  std::string proposal = q.proposal;
  proposal.resize(2, ' ');
  vars.Define("TERMINAL", proposal);
  screen::MensArgs a;
  a.text = Cp850(q.operator_name + q.prompt);
  a.title = Cp850(q.title);
  a.column = "C";
  a.variable = "TERMINAL";
  a.vars = &vars;
  a.picture = "99";
  Result<screen::MensResult> r = screen::MENS(st.tk, 74, a);
  std::string answer;
  if (r.ok() && r->value) {
    if (const auto* s = std::get_if<std::string>(&*r->value)) answer = *s;
  }
  return TerminalFromAnswer(answer);
}

// Opens per-terminal table `number` and puts it on the terminal's record,
// appending `defaults` when there is none. Leaves the area open.
Result<FieldValues> TerminalRecord(Station& st, int number, const FieldValues& defaults) {
  DODU_RETURN_IF_ERROR(store::ABERTURA(st.ctx, st.areas, number));
  store::WorkArea* area = st.areas.Get(number);
  if (area == nullptr) return Status::NotFound("table " + std::to_string(number) + " not opened");
  DODU_ASSIGN_OR_RETURN(bool found, SeekTerminal(*area, st.ctx.terminal));
  if (!found) {
    DODU_RETURN_IF_ERROR(AppendFields(st.ctx, *area, defaults, 5));
  }
  DODU_ASSIGN_OR_RETURN(store::Record r, area->Current());
  return RecordFields(r);
}

// Step 11: the installation defaults, with the due-date refresh.
Status ReadDefine(Station& st) {
  DODU_RETURN_IF_ERROR(store::ABERTURA(st.ctx, st.areas, 43));
  store::WorkArea* define = st.areas.Get(43);
  if (define == nullptr) return Status::NotFound("DEFINE not opened");
  DODU_RETURN_IF_ERROR(define->Top());
  if (define->eof()) DODU_RETURN_IF_ERROR(AppendFields(st.ctx, *define, DefineDefaults(), 5));
  DODU_ASSIGN_OR_RETURN(store::Record r, define->Current());
  FieldValues record = RecordFields(r);
  if (NeedsDueDateRefresh(record)) {
    // A refused lock leaves the old dates on disk; this run uses the new ones.
    (void)WriteCurrentFields(st.ctx, *define, DueDateRefresh(), 5);
    ApplyFields(record, DueDateRefresh());
  }
  st.installation = ReadInstallationSettings(record);
  st.areas.Close(43);
  return Status::Ok();
}

// Step 12.
Status CheckDataFolder(Station& st) {
  if (std::optional<std::string> data = ExistingFolder(st, st.settings.rotadoano)) {
    st.ctx.data_folder = *data;
    return Status::Ok();
  }
  const std::string inst = core::Utf8ToCp850(st.ctx.installation_folder);
  std::vector<std::string> lines = {
      Cp850("A Pasta ") + RightTrimmed(st.settings.rotadoano) + Cp850(" não foi encontrada!"),
      Cp850("Sim - Assume: ") + inst, Cp850("Não - Sai do programa!")};
  if (screen::AVISOSN(st.tk, lines, kQuestion) != "S") {
    return Status::Cancelled("data folder " + NativeText(st.settings.rotadoano) + " refused");
  }
  st.settings.rotadoano = inst;
  st.ctx.data_folder = st.ctx.installation_folder;
  if (store::WorkArea* config = st.areas.Get(42)) {
    // Refused lock: not stored, the run goes on.
    if (SeekTerminal(*config, st.ctx.terminal).value_or(false)) {
      (void)WriteCurrentFields(st.ctx, *config, {CharField("ROTADOANO", inst)}, 5);
    }
  }
  return Status::Ok();
}

// Step 17: the data folder must be in the terminal's folder list.
Status RegisterDataFolder(Station& st) {
  store::WorkArea* list = st.areas.Get(50);
  if (list == nullptr) return Status::NotFound("folder list not open");
  const std::string name = store::FolderListName(st.ctx, st.ctx.data_folder);
  DODU_RETURN_IF_ERROR(list->Top());
  while (!list->eof()) {
    DODU_ASSIGN_OR_RETURN(store::Record r, list->Current());
    DODU_ASSIGN_OR_RETURN(std::string diretor, r.GetTrimmed("DIRETOR"));
    if (platform::EqualsIgnoreCase(diretor, name)) {
      DODU_ASSIGN_OR_RETURN(std::string selec, r.GetTrimmed("SELEC"));
      if (selec == "S") return Status::Ok();
      return store::TROCASIM(st.ctx, st.areas, 0, st.settings.ult_cpf);
    }
    DODU_RETURN_IF_ERROR(list->Skip(1));
  }
  return AppendFields(st.ctx, *list, {CharField("SELEC", "S"), CharField("DIRETOR", name)}, 5);
}

// Step 21.
void UpgradeCheck(Station& st, const StartupHooks& hooks) {
  if (!hooks.upgrade_check) return;
  for (int n = 1; n <= 21; ++n) {
    Result<bool> outdated = hooks.upgrade_check(st, n);
    if (outdated.ok() && *outdated) {
      screen::AVISOSN(
          st.tk, std::vector<std::string>{Cp850(kUpgrade1), Cp850(kUpgrade2), Cp850(kUpgrade3)},
          kInfo, {}, Cp850(kUpgradeTitle));
      return;
    }
  }
}

// Step 22.
void BackupReminderStep(Station& st) {
  std::optional<std::vector<std::string>> question = BackupReminder(st.today, st.ndiasem);
  if (!question) return;
  std::vector<std::string> lines;
  for (const std::string& l : *question) lines.push_back(Cp850(l));
  if (screen::AVISOSN(st.tk, lines, kQuestion) == "S") {
    screen::AVISOSN(
        st.tk,
        std::vector<std::string>{Cp850("Deve ser informado a seguir a letra do PenDrive"),
                                 Cp850("ou do HD externo/interno diferente de onde está"),
                                 Cp850("instalado a sua base de dados. Havendo mais de "),
                                 Cp850("uma pasta programa fará a cópia de todas elas. ")},
        kInfo);
    const std::string locarq = st.ctx.data_folder;
    st.dispatcher->MenuSelect(71, 1, 2);
    st.ctx.data_folder = locarq;
    return;
  }
  st.menu.ultback = st.today;
  st.settings.ultback = st.today;
  // Refused lock: the reminder simply comes back at the next start.
  (void)st.tables.WriteConfig({DateField("ULTBACK", st.today)});
}

// Step 9: the whole screen in COR_ENCH_C and the banner window.
void DrawMainScreen(Station& st) {
  Toolkit& tk = st.tk;
  const screen::ColourSettings& c = tk.colours();
  const screen::Attr fill = screen::ColourOr(c.COR_ENCH_C, 0x1F);
  tk.Fill(0, 0, screen::kScreenRows - 1, screen::kScreenCols - 1, ' ', fill);
  const screen::Attr frame = static_cast<screen::Attr>(c.COR_TEL2);
  const screen::Attr text = static_cast<screen::Attr>(c.COR_TEL1);
  const int top = 5, left = 2, bottom = 17, right = 77;
  tk.Fill(top, left, bottom, right, ' ', text);
  tk.Frame(top, left, bottom, right, frame);
  static const char* const kEmblem[] = {
      "╔═══╗ ╔═══╗ ╔═══╗ ╦   ╦   ╔═══╗ ╔═══╗ ╔═══╗ ╔═══╗",
      "║   ║ ║   ║ ║   ║ ║   ║       ║ ║  ╔╝     ║ ║  ╔╝",
      "║   ║ ║   ║ ║   ║ ║   ║   ╔═══╝ ║ ╔╝║ ╔═══╝ ║ ╔╝║",
      "║   ║ ║   ║ ║   ║ ║   ║   ║     ║╔╝ ║ ║     ║╔╝ ║",
      "╚═══╝ ╚═══╝ ╚═══╝ ╚═══╝   ╚═══╝ ╚═══╝ ╚═══╝ ╚═══╝",
  };
  int row = top + 2;
  for (const char* line : kEmblem) {
    std::string l = Cp850(line);
    tk.Write(row++, left + (right - left + 1 - static_cast<int>(l.size())) / 2, l, text);
  }
  const std::string title = Cp850("Imposto de Renda Pessoa Física 2020");
  tk.Write(row + 1, left + (right - left + 1 - static_cast<int>(title.size())) / 2, title, text);
  std::string banner = BannerLine(st);
  if (static_cast<int>(banner.size()) > right - left - 1) banner.resize(right - left - 1);
  tk.Write(bottom - 1, left + (right - left + 1 - static_cast<int>(banner.size())) / 2, banner,
           text);
  tk.Flush();
}

Status DefaultUpgradeCheck(Station& st, int number) {
  const store::TableDef* def = store::FindTable(number);
  if (def == nullptr || !def->created) return Status::Ok();
  const std::string base = store::TableFileName(*def, st.ctx.names());
  if (store::FindExisting(st.ctx, platform::JoinPath(st.ctx.data_folder, base + ".DBF"))) {
    return Status::Ok();
  }
  return store::CRIA(st.ctx, number, platform::JoinPath(st.ctx.data_folder, base + ".DBF"));
}

}  // namespace

Status LoadAlarms(Station& st) {
  st.aagen.clear();
  if (!store::FindExisting(st.ctx, platform::JoinPath(st.ctx.installation_folder, "AGENDA.DBF"))) {
    return Status::Ok();  // no agenda yet: no alarms
  }
  DODU_RETURN_IF_ERROR(store::ABERTURA(st.ctx, st.areas, 72));
  store::WorkArea* agenda = st.areas.Get(72);
  if (agenda == nullptr) return Status::Ok();
  const platform::CivilTime now = st.env.clock().Now();
  char hhmm[16];
  std::snprintf(hhmm, sizeof hhmm, "%02d%02d", now.hour % 100, now.minute % 100);
  Status result = [&]() -> Status {
    DODU_RETURN_IF_ERROR(agenda->SetOrder(0));
    DODU_RETURN_IF_ERROR(agenda->Top());
    while (!agenda->eof()) {
      DODU_ASSIGN_OR_RETURN(store::Record r, agenda->Current());
      FieldValues f = RecordFields(r);
      const FieldValue* avisag = FindField(f, "AVISAG");
      const bool on = avisag != nullptr && std::get_if<bool>(&avisag->value) != nullptr &&
                      std::get<bool>(avisag->value);
      const std::string horag = CharOf(f, "HORAG");
      if (on && CharOf(f, "NOMEAG") == st.settings.nomeag && DateOf(f, "DATAG") == st.today &&
          horag > std::string(hhmm)) {
        st.aagen.push_back({horag, CharOf(f, "ANOTAG")});
      }
      DODU_RETURN_IF_ERROR(agenda->Skip(1));
    }
    return Status::Ok();
  }();
  st.areas.Close(72);
  return result;
}

void VE_AGEN(Station& st) {
  const platform::CivilTime now = st.env.clock().Now();
  const int current = now.hour * 100 + now.minute;
  char shown[16];
  std::snprintf(shown, sizeof shown, "%02d:%02d", now.hour % 100, now.minute % 100);
  for (auto it = st.aagen.begin(); it != st.aagen.end();) {
    if (std::atoi(it->horag.c_str()) == current) {
      ErrorBox(st, Cp850("ATENÇÃO - ") + shown + " " + it->anotag);
      it = st.aagen.erase(it);
    } else {
      ++it;
    }
  }
}

std::string TerminalInUseText(const std::string& terminal) {
  return "O programa DODU2020 no terminal " + terminal + " está em uso";
}

StartupHooks DefaultStartupHooks() {
  StartupHooks h;
  h.update_check = [](Station&) {};
  h.upgrade_check = [](Station& st, int number) -> Result<bool> {
    DODU_RETURN_IF_ERROR(DefaultUpgradeCheck(st, number));
    // A table of an older layout asks for option 19 (the notice is the caller's).
    return store::TableNeedsUpgrade(st.ctx, number);
  };
  return h;
}

FieldValues ColourFields(const screen::ColourSettings& c) {
  return {
      NumericField("COR_TEL1", c.COR_TEL1),   NumericField("COR_TEL2", c.COR_TEL2),
      NumericField("COR_TEL3", c.COR_TEL3),   NumericField("COR_MENS", c.COR_MENS),
      NumericField("COR_PEGA", c.COR_PEGA),   NumericField("COR_HELP", c.COR_HELP),
      NumericField("COR_FERID", c.COR_FERID), NumericField("COR_ESCOL", c.COR_ESCOL),
      NumericField("COR_ENCHE", c.COR_ENCHE), CharField("COR_1_CLI", c.COR_1_CLI),
      CharField("COR_2_CLI", c.COR_2_CLI),    CharField("COR_INI", c.COR_INI),
      CharField("COR_SAY", c.COR_SAY),        CharField("COR_GET", c.COR_GET),
      CharField("COR_CLI_HE", c.COR_CLI_HE),  CharField("COR_ESC_CL", c.COR_ESC_CL),
      CharField("COR_ENCH_C", c.COR_ENCH_C),
  };
}

void ApplyColours(const FieldValues& r, screen::ColourSettings& c) {
  auto num = [&](const char* name, int& out) { out = static_cast<int>(IntOf(r, name, out)); };
  auto text = [&](const char* name, std::string& out) {
    std::string v = CharOf(r, name);
    if (!v.empty()) out = v;
  };
  num("COR_TEL1", c.COR_TEL1);
  num("COR_TEL2", c.COR_TEL2);
  num("COR_TEL3", c.COR_TEL3);
  num("COR_MENS", c.COR_MENS);
  num("COR_PEGA", c.COR_PEGA);
  num("COR_HELP", c.COR_HELP);
  num("COR_FERID", c.COR_FERID);
  num("COR_ESCOL", c.COR_ESCOL);
  num("COR_ENCHE", c.COR_ENCHE);
  text("COR_1_CLI", c.COR_1_CLI);
  text("COR_2_CLI", c.COR_2_CLI);
  text("COR_INI", c.COR_INI);
  text("COR_SAY", c.COR_SAY);
  text("COR_GET", c.COR_GET);
  text("COR_CLI_HE", c.COR_CLI_HE);
  text("COR_ESC_CL", c.COR_ESC_CL);
  text("COR_ENCH_C", c.COR_ENCH_C);
  c.RebuildComposites();
}

Status LoadColours(Station& st) {
  Result<FieldValues> r = TerminalRecord(st, 56, ColourDefaults(st.ctx.terminal));
  st.areas.Close(56);
  DODU_RETURN_IF_ERROR(r.status());
  st.colours = *r;
  ApplyColours(st.colours, st.tk.colours());
  return Status::Ok();
}

FieldValues NewPrinterRecord(const std::string& terminal, const std::string& default_printer) {
  return PrinterDefaults(terminal, core::Utf8ToCp850(default_printer));
}

std::optional<std::string> ExistingFolder(Station& st, const std::string& cp850_name) {
  const std::string name = NativeText(cp850_name);
  if (name.empty()) return std::nullopt;
  Result<std::string> native = st.ctx.paths.ToNative(name);
  if (!native.ok()) return std::nullopt;
  Result<std::string> found = platform::ResolveExisting(st.env, *native);
  if (!found.ok() || !st.env.IsDirectory(*found)) return std::nullopt;
  return *found;
}

std::string BannerLine(const Station& st) {
  return "Terminal " + st.ctx.terminal + Cp850(" IR Versão ") + kVersao + std::string(7, ' ') +
         st.settings.nomeag + std::string(5, ' ') + " de " + kCultimaver;
}

std::optional<std::vector<std::string>> BackupReminder(const core::Date& today, int ndiasem) {
  if (today.IsBlank() || today.year() != kNanoAtual || today.month() >= 7) return std::nullopt;
  // The month of DDIAENTRA (30/06/2020) asks every two days.
  const int interval = today.month() == 6 ? 2 : 5;
  if (ndiasem < interval) return std::nullopt;
  char days[16];
  if (ndiasem > 999)
    std::snprintf(days, sizeof days, "***");
  else
    std::snprintf(days, sizeof days, "%3d", ndiasem);
  return std::vector<std::string>{
      " Atenção " + std::string(days) + " dias sem fazer o Backup completo.",
      " Sim - Faça o Backup agora. ",
      " Não - Avise novamente em " + std::to_string(interval) + " dias. "};
}

Status StartUp(Station& st, const StartupOptions& opt, const StartupHooks& hooks) {
  Toolkit& tk = st.tk;
  platform::Env& env = st.env;

  // 1-3. The main window and its status bar of one wide part.
  tk.Start(kProgramCaption);
  tk.LSBDRAW({Toolkit::PartSpec(std::string(250, ' '))});
  st.today = DateOfCivil(env.clock().Now());

  // 4. The station: terminal number, installation folder, colours.
  Result<std::optional<std::string>> term =
      TerminalFromArgs(opt.terminal_arg, env.GetEnv(kTerminalVariable));
  if (!term.ok()) {
    ErrorBox(st, Cp850(term.status().message()));
    return term.status();
  }
  Result<platform::PathMap> drives = platform::PathMap::FromEnv(env);
  if (!drives.ok()) {
    ErrorBox(st, Cp850(std::string(platform::kDrivesVariable) + ": " + drives.status().message()));
    return drives.status();
  }
  st.ctx.paths = *drives;
  InstallFolder inst = ResolveInstallFolder(env, st.ctx.paths, opt.current_folder);
  if (inst.status_message) tk.SetStatusLine(Cp850(*inst.status_message));
  std::string rotadef = opt.current_folder;
  if (auto found = ExistingFolder(st, Cp850(inst.rotadef))) rotadef = *found;
  st.ctx.installation_folder = rotadef;
  st.ctx.data_folder = rotadef;
  st.ctx.work_folder = rotadef;
  st.dirdef = inst.dirdef;
  st.dirinst = opt.current_folder;
  st.ctx.terminal = term->has_value() ? **term : QualUsur(st, opt.current_folder);
  if (Status s = LoadColours(st); !s.ok()) {
    ErrorBox(st, Cp850("Cores do terminal: " + s.message()));
    return s;
  }

  // 7. CONFIGURA.
  ConfigInput in;
  in.terminal = st.ctx.terminal;
  in.rotadef = core::Utf8ToCp850(rotadef);
  in.dirdef = core::Utf8ToCp850(inst.dirdef);
  in.today = st.today;
  in.outside =
      NativeOutsideFolders(opt.home_folder.empty() ? rotadef : opt.home_folder, opt.current_folder);
  for (std::string* f :
       {&in.outside.rotaanter, &in.outside.rotarecei, &in.outside.rotareant, &in.outside.dirinst}) {
    *f = core::Utf8ToCp850(*f);
  }
  Result<FieldValues> config = TerminalRecord(st, 42, ConfigDefaults(in));
  if (!config.ok()) {
    ErrorBox(st, Cp850(kConfigBusy));
    return Status::Locked("CONFIG: " + config.status().ToString());
  }

  // 8. The settings into the station.
  st.settings = ReadTerminalSettings(*config, st.ctx.terminal);

  // 9-10.
  DrawMainScreen(st);
  st.ndiasem = st.settings.ultback.IsBlank()
                   ? 9999
                   : static_cast<int>(
                         std::clamp<int64_t>(st.today.DaysSince(st.settings.ultback), -9999, 9999));

  // 11.
  if (Status s = ReadDefine(st); !s.ok()) {
    ErrorBox(st, Cp850("DEFINE: " + s.message()));
    return s;
  }

  // 12-13. Data and work folders.
  DODU_RETURN_IF_ERROR(CheckDataFolder(st));
  st.ctx.work_folder = ExistingFolder(st, st.settings.dirtrab).value_or(st.ctx.data_folder);
  screen::ColourSettings& c = tk.colours();
  tk.REDEFJAN(10, c.COR_TEL2, c.COR_TEL1, c.COR_TEL2, 20, 10, 20, 70, 7);

  // 14-15. The printer and the print selection.
  Result<FieldValues> printer =
      TerminalRecord(st, 57, NewPrinterRecord(st.ctx.terminal, opt.default_printer));
  st.areas.Close(57);
  if (printer.ok()) st.printer = *printer;  // without it the printer name stays blank
  st.menu = MainMenuStateFrom(st.settings, st.installation);
  st.menu.print.nomeimp = core::Cp850ToUtf8(CharOf(st.printer, "NOMEIMP"));
  st.dispatcher =
      std::make_unique<Dispatcher>(st.menu, st.sink, st.prompts, &st.tables, env.clock());

  // 16. The start-up set: the folder list held exclusively by this station.
  if (Status s = store::ABERTURA(st.ctx, st.areas, 0); !s.ok()) {
    if (s.IsLocked()) {
      ErrorBox(st, Cp850(TerminalInUseText(st.ctx.terminal)));
    } else {
      ErrorBox(st, Cp850("Arquivos do sistema não puderam ser abertos: " + s.message()));
    }
    tk.Fill(0, 0, screen::kScreenRows - 1, screen::kScreenCols - 1, ' ', 0x07);
    tk.Flush();
    st.areas.CloseAll();
    return s;
  }

  // 17-18.
  if (Status s = RegisterDataFolder(st); !s.ok()) {
    // Not fatal: the folder is only missing from the list of this terminal.
    tk.SetStatusLine(Cp850("Lista de pastas: " + s.message()));
  }
  if (st.installation.ver_atual != "N" && hooks.update_check) hooks.update_check(st);

  // 19. The operator's alarms of today (a damaged agenda only loses them).
  if (Status s = LoadAlarms(st); !s.ok()) tk.SetStatusLine(Cp850("Agenda: " + s.message()));

  // 20. The register of the data folder (its failure has been told).
  (void)store::MUDADIR(st.ctx, st.areas, st.ctx.data_folder, st.settings.ult_cpf);

  // 21-22.
  UpgradeCheck(st, hooks);
  BackupReminderStep(st);
  // The waits of the opener clear the status line; the warning of step 4 stays.
  if (inst.status_message) tk.SetStatusLine(Cp850(*inst.status_message));
  return Status::Ok();
}

}  // namespace dodu::shell
