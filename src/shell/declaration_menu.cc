#include "shell/declaration_menu.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/codepage.h"
#include "core/id_format.h"
#include "screen/dialog.h"
#include "screen/message_box.h"
#include "shell/declaration_menu_window.h"

namespace dodu::shell {

using core::Cp850;
using screen::Key;
using screen::KeyType;

namespace {

std::string Trimmed(const core::Variables& vars, std::string_view name) {
  std::string s = vars.Text(name);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string TableNames(const std::vector<int>& tables) {
  std::string out;
  for (int t : tables) {
    if (!out.empty()) out += ", ";
    out += (t < 10 ? "IMP0" : "IMP") + std::to_string(t);
  }
  return out.empty() ? "nenhuma" : out;
}

}  // namespace

DeclarationWindow::DeclarationWindow(Station& station, DeclarationSession& session,
                                     const DeclarationRunOptions& options)
    : st_(station),
      session_(session),
      options_(options),
      hooks_(options.hooks != nullptr ? *options.hooks : default_hooks_) {}

DeclarationWindow::~DeclarationWindow() { Unbind(); }

ScreenContext DeclarationWindow::Context() { return ScreenContext{st_, session_, state_, *this}; }

bool DeclarationWindow::Rural() const { return Trimmed(session_.vars(), "TEMRURAL") == "S"; }
bool DeclarationWindow::RuralAbroad() const { return Rural() && session_.CATVATUAL() == "N"; }

ScreenConditions DeclarationWindow::Conditions() const {
  return ScreenConditions{.rural = Rural(),
                          .rural_abroad = RuralAbroad(),
                          .new_taxpayer = state_.new_taxpayer,
                          .key_changed = state_.key_changed};
}

// A status of 0 is the one every new register record has: taking it for the
// protected status would refuse to save every declaration never given a status.
bool DeclarationWindow::Protected() const {
  const int statrava = st_.installation.statrava;
  if (statrava <= 0) return false;
  return session_.vars().Number("ESTATUS") == core::Decimal::FromInt(statrava);
}

void DeclarationWindow::ErrorBox(const std::vector<std::string>& utf8_lines,
                                 std::string_view title) {
  std::vector<std::string> lines;
  for (const auto& l : utf8_lines) lines.push_back(Cp850(l));
  screen::AVISOSN(st_.tk, lines, 8, {}, Cp850(title));
}

void DeclarationWindow::Info(const std::vector<std::string>& utf8_lines, std::string_view title) {
  std::vector<std::string> lines;
  for (const auto& l : utf8_lines) lines.push_back(Cp850(l));
  screen::AVISOSN(st_.tk, lines, 1, {}, Cp850(title));
}

// ---- hot keys -------------------------------------------------------------------

void DeclarationWindow::Bind() {
  if (bound_) return;
  bound_ = true;
  screen::Toolkit& tk = st_.tk;
  auto bind = [&](Key k, screen::Toolkit::KeyAction a) {
    saved_bindings_.emplace_back(k, tk.BindKey(k, std::move(a)));
  };
  // The main window's Alt I and Alt T are let go: inside a declaration Alt T
  // leaves the declaration, and the main menu's actions are refused anyway.
  bind(Key::Alt('I'), nullptr);
  bind(Key::Alt('T'), nullptr);
  if (st_.installation.temp_sal < 99) bind(Key::Alt('W'), [this] { PartialSave(); });
  bind(Key::Alt('K'), [this] { OutsideCalculator(); });
  bind(Key::Alt('H'), [this] {
    clock_off_ = !clock_off_;
    session_.SetClockOff(clock_off_);
  });
}

void DeclarationWindow::Unbind() {
  if (!bound_) return;
  bound_ = false;
  // Alt I, Alt T, Alt W, Alt K and Alt H go back to what they did before.
  for (auto it = saved_bindings_.rbegin(); it != saved_bindings_.rend(); ++it) {
    (void)st_.tk.BindKey(it->first, std::move(it->second));
  }
  saved_bindings_.clear();
}

std::vector<screen::HotKey> DeclarationWindow::FormHotKeys() {
  std::vector<screen::HotKey> keys;
  keys.push_back(
      {Key::Alt('U'), [this](screen::Toolkit&, screen::VariableStore&, screen::ActiveField& f) {
         Converter(f);
         return screen::HotKeyAction::kContinue;
       }});
  keys.push_back(screen::CalculatorHotKey(Key::Alt('S'), calculator_));
  keys.push_back(
      {Key::Alt('T'), [this](screen::Toolkit&, screen::VariableStore&, screen::ActiveField&) {
         SaiDaDec(111);
         return state_.lsai ? screen::HotKeyAction::kLeave : screen::HotKeyAction::kContinue;
       }});
  for (Key k :
       {Key::Alt('X'), Key::Alt('Z'), Key::AltF(1), Key::AltF(2), Key::AltF(3), Key::AltF(7)}) {
    keys.push_back({k, [this, k](screen::Toolkit&, screen::VariableStore&, screen::ActiveField&) {
                      return Mudatel(k) ? screen::HotKeyAction::kLeave
                                        : screen::HotKeyAction::kContinue;
                    }});
  }
  return keys;
}

bool DeclarationWindow::Mudatel(Key key) {
  if (key == Key::Alt('W')) {
    PartialSave();
    return false;
  }
  if (key == Key::Alt('K')) {
    OutsideCalculator();
    return false;
  }
  if (key == Key::Alt('T')) {
    SaiDaDec(111);
    return state_.lsai;
  }
  const auto pos = ScreenForKey(key, Conditions());
  if (!pos) return false;
  state_.key_changed = false;
  Menucomum(pos->code);
  return state_.key_changed || state_.lsai;
}

void DeclarationWindow::Quetel(int tela, bool force) {
  if (tela == state_.pos.tela) return;
  int code = tela * 10 + 1;
  if (code == 91) code = 85;
  state_.pos = {tela, code};
  state_.key_changed = true;
  if (force) state_.ulttecla = Key::Named(KeyType::kPgDn);
}

Status DeclarationWindow::Mudatel1() {
  store::WorkArea* area = session_.WorkCopy(1);
  if (area == nullptr) return Status::Invalid("a cópia de trabalho da tabela 01 não está aberta");
  DODU_RETURN_IF_ERROR(area->Top());
  DODU_ASSIGN_OR_RETURN(store::Record rec, area->Current());
  DODU_RETURN_IF_ERROR(session_.vars().Store(DeclarationSource::kDeclaration, rec));
  DODU_RETURN_IF_ERROR(area->WriteCurrent(rec));
  Menucomum(11);
  return Status::Ok();
}

// ---- saving and leaving -----------------------------------------------------------

void DeclarationWindow::PartialSave() {
  if (Protected()) {
    ErrorBox({"Declaração com Status de proteção contra alteração.",
              "Configurado para não salvar qualquer modificação!",
              "Se desejar salvar mude o Status na tela F11"});
    return;
  }
  const std::optional<SaveReport> report = session_.SAL_DEC();
  last_save_ms_ = st_.tk.clock().MonotonicMillis();
  if (report && !report->ok()) {
    ErrorBox({"A gravação não foi completada: " + report->status.message(),
              "Tabelas gravadas: " + TableNames(report->saved),
              "Faltam: " + TableNames(report->not_saved),
              "A declaração continua aberta; a próxima gravação completa."});
  }
}

void DeclarationWindow::MaybeAutoSave() {
  const int minutes = st_.installation.temp_sal;
  if (minutes < 1 || minutes > 97) return;
  const int64_t now = st_.tk.clock().MonotonicMillis();
  if (now - last_save_ms_ >= int64_t{minutes} * 60 * 1000) PartialSave();
}

void DeclarationWindow::SaiDaDec(int code) {
  screen::Toolkit& tk = st_.tk;
  auto leave = [this](bool discard) {
    state_.lsai = true;
    state_.discard = discard;
    state_.ulttecla = Key::Esc();
  };
  if (Protected()) {
    const std::string a =
        screen::AVISOSN(tk,
                        {Cp850("Declaração com Status de proteção contra alteração."),
                         Cp850("Não é permitido salvar qualquer modificação!      "),
                         Cp850("Deseja mesmo alterar? Mude o Status tela 11")},
                        2);
    if (a != "S") leave(true);
    return;
  }
  if (code == 17) {
    const std::string a = screen::AVISOSN(
        tk,
        {Cp850("Termina a Declaração?"), Cp850("Sim....... Salva tudo e sai.       "),
         Cp850("Não....... Volte para a declaração."),
         Cp850("Cancelar.. Sai sem salvar as alterações.")},
        3);
    if (a == "S") {
      leave(false);
    } else if (a == "I") {
      if (screen::AVISOSN(tk, Cp850("Confirme a sair sem salvar!"), 2) == "S") leave(true);
    }
    return;
  }
  if (code == 112) {
    if (screen::AVISOSN(tk, Cp850("Sai da declação sem Salvar as alterações?"), 2) == "S") {
      leave(true);
    }
    return;
  }
  leave(false);
}

// ---- the screen loop ----------------------------------------------------------------

Key DeclarationWindow::RunScreen(int tela) {
  if (options_.screens != nullptr) {
    if (const ScreenRoutine* routine = options_.screens->FindScreen(tela)) {
      ScreenContext ctx = Context();
      return (*routine)(ctx);
    }
  }
  return PlaceholderScreen(st_.tk, tela);
}

void DeclarationWindow::Giro() {
  while (!state_.lsai && state_.pos.tela != kScreenNone) {
    const ScreenConditions cond = Conditions();
    const std::optional<ScreenPos> in = BringIntoRange(state_.pos, cond);
    if (!in) {
      if (state_.pos.tela == kScreenRuralFirst && !cond.rural) (void)RefuseRural();
      state_.pos.tela = kScreenNone;
      break;
    }
    state_.pos = *in;
    state_.key_changed = false;
    if (classic_) MOS_IND(st_.tk);
    session_.SetScreen(state_.pos.tela);
    const int shown = state_.pos.tela;
    const Key k = RunScreen(shown);
    state_.ulttecla = k;
    (void)session_.VETEMPO();
    (void)session_.VETAMHO();
    MaybeAutoSave();
    if (state_.lsai) break;
    const bool first_identification = state_.new_taxpayer && shown == kScreenIdentification;
    if (k.type == KeyType::kMenu) {
      // A menu choice unwound the screen: it runs now; a choice that opens no
      // screen (a help box) shows the same screen again.
      state_.key_changed = false;
      st_.tk.RunMenuRequest();
      continue;
    }
    if (k == Key::Alt('T')) {
      SaiDaDec(111);
      continue;
    }
    if (state_.key_changed) continue;  // a hot key chose the next screen
    const ScreenPos next = NextScreen(state_.pos, k, Conditions());
    if (first_identification) state_.new_taxpayer = false;
    if (next.tela == kScreenNone) {
      state_.pos = next;
      break;
    }
    Menucomum(next.code);
  }
  if (state_.lsai) state_.pos.tela = kScreenNone;
}

void DeclarationWindow::RunNewStyle() {
  BuildNewMenu();
  while (!state_.lsai) {
    st_.tk.SetStatusLine(Cp850("F1..F12 telas   Ctrl F10 menu   Alt W grava   Alt T sai"));
    const Key k = st_.tk.WaitKey();
    state_.key_changed = false;
    if (k.type == KeyType::kMenu) {
      st_.tk.RunMenuRequest();
    } else if (k == Key::Alt('T')) {
      SaiDaDec(111);
    } else if (!Mudatel(k)) {
      continue;
    }
    if (state_.key_changed && state_.pos.tela != kScreenNone) Giro();
    if ((state_.qtd_dep > 0) != menu_with_dependants_) BuildNewMenu();
  }
}

void DeclarationWindow::RunClassicStyle() {
  int first = state_.new_taxpayer ? 5 : 0;  // "&Iden." for a new taxpayer
  while (!state_.lsai) {
    CountDependants();
    const bool lcdpr = session_.vars().Number("TIPO_LANCA") == core::Decimal::FromInt(2);
    const auto bar = ClassicMenuBar(state_.qtd_dep > 0, Rural(),
                                    Trimmed(session_.vars(), "AAR_EXTER") == "S", lcdpr);
    const ClassicChoice c = RunClassicMenu(st_.tk, bar, first);
    state_.key_changed = false;
    if (c.id != 0) {
      const auto [code, variant] = ClassicCode(c.id);
      Menucomum(code, variant);
    } else if (c.key && *c.key == Key::Alt('T')) {
      SaiDaDec(111);
    } else if (c.key) {
      (void)Mudatel(*c.key);
    }
    if (state_.key_changed && state_.pos.tela != kScreenNone) Giro();
    first = c.bar_index;
  }
}

Result<DeclarationResult> DeclarationWindow::Run() {
  if (!session_.is_open()) return Status::Invalid("nenhuma declaração aberta");
  screen::Toolkit& tk = st_.tk;
  classic_ = st_.settings.opcirpf != "J";
  state_ = DeclarationState{};
  state_.pos = {kScreenNone, 11};
  state_.new_taxpayer = session_.is_new();
  last_save_ms_ = tk.clock().MonotonicMillis();
  Bind();

  core::Variables& vars = session_.vars();
  const std::string name = Trimmed(vars, "NOMECONTR");
  window_ =
      tk.LDLGSHOW(0, 0, 24, 79, Cp850("CPF:") + core::PoePonto(session_.cpf()) + " - " + name);
  tk.Fill(0, 0, 24, 79, ' ', static_cast<screen::Attr>(tk.colours().COR_TEL1));
  tk.LSBDRAW({screen::Toolkit::PartSpec("")});

  if (!Rural()) {
    if (vars.Has("I13_07")) vars.SetNumber("I13_07", core::Decimal());
  } else {
    Status s = session_.PRENCHEAAR("S");
    if (s.ok() && Trimmed(vars, "AAR_EXTER") == "S") s = session_.PRENCHEAAR("N");
    if (!s.ok()) ErrorBox({"Erro ao ler a atividade rural: " + s.message()});
  }
  CountDependants();

  DeclarationResult result;
  Status failure;
  while (true) {
    if (classic_) {
      RunClassicStyle();
    } else {
      RunNewStyle();
    }
    if (state_.discard) {
      failure = session_.Discard();
      result.end = DeclarationEnd::kDiscarded;
      result.selection_ends = true;
      break;
    }
    const SaveReport report = session_.SaveAll(SaveMode::kFinal);
    if (report.ok()) {
      result.end = DeclarationEnd::kSaved;
      result.selection_ends = st_.settings.opcfim == 1;
      break;
    }
    // The declaration stays open: leaving again saves again.
    ErrorBox({"A declaração não foi salva por completo: " + report.status.message(),
              "Tabelas gravadas: " + TableNames(report.saved),
              "Faltam: " + TableNames(report.not_saved),
              "A declaração continua aberta; saia de novo para completar."});
    state_.lsai = false;
    state_.discard = false;
  }

  Unbind();
  if (window_ != nullptr) tk.LDLGCLOSE();
  window_ = nullptr;
  tk.Flush();
  if (!failure.ok()) return failure;
  return result;
}

Result<DeclarationResult> RunDeclaration(Station& station, DeclarationSession& session,
                                         const DeclarationRunOptions& options) {
  DeclarationWindow window(station, session, options);
  return window.Run();
}

}  // namespace dodu::shell
