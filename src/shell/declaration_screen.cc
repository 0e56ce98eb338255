#include "shell/declaration_screen.h"

#include <array>
#include <string>

#include "core/codepage.h"
#include "screen/message_box.h"
#include "screen/toolkit.h"

namespace dodu::shell {

using screen::Key;
using screen::KeyType;

int TelaMax(bool rural) { return rural ? 17 : 11; }

int CodeOfScreen(int tela, bool rural_abroad) {
  switch (tela) {
    case 10:
      return 72;
    case 11:
      return 62;
    case kScreenZoom:
      return 54;
    case kScreenAssetsOnly:
      return 52;
    default:
      break;
  }
  if (tela >= 12 && tela <= 17) return (rural_abroad ? 200 : 100) + tela - 11;
  return tela * 10 + 1;
}

namespace {

ScreenPos At(int tela, const ScreenConditions& c) {
  return {tela, CodeOfScreen(tela, c.rural_abroad)};
}

bool IsBack(const Key& k) { return k.type == KeyType::kShiftTab || k.type == KeyType::kPgUp; }
bool IsForward(const Key& k) { return k.type == KeyType::kTab || k.type == KeyType::kPgDn; }

// One screen forward, over the rural revenue screen when the activity abroad
// is shown (it has no monthly revenue of its own).
int OneForward(int tela, const ScreenConditions& c) {
  int next = tela + 1;
  if (next == 13 && c.rural_abroad) next = 14;
  return next;
}

ScreenPos Previous(const ScreenPos& from, const ScreenConditions& c) {
  const int t = from.tela;
  if (t == 1) return At(11, c);
  if (t == 3) return from.code == 32 ? ScreenPos{3, 31} : At(2, c);
  if (t == kScreenZoom) return from.code == 55 ? ScreenPos{kScreenZoom, 54} : ScreenPos{4, 43};
  if (t == kScreenAssetsOnly) {
    return from.code == 53 ? ScreenPos{kScreenAssetsOnly, 52} : ScreenPos{4, 43};
  }
  if (t >= 8 && t <= 10) return At(7, c);
  if (t >= 2 && t <= TelaMax(c.rural)) {
    int prev = t - 1;
    if (prev == 13 && c.rural_abroad) prev = 12;
    if (prev == 4) return {4, 43};
    return At(prev, c);
  }
  return {kScreenNone, from.code};
}

ScreenPos Following(const ScreenPos& from, const ScreenConditions& c) {
  const int t = from.tela;
  if (c.new_taxpayer && t == kScreenIdentification) return At(1, c);
  switch (t) {
    case 3:
      return from.code == 31 ? ScreenPos{3, 32} : ScreenPos{4, 41};
    case 4:
      if (from.code == 41) return {4, 42};
      if (from.code == 42) return {4, 43};
      return At(5, c);
    case 7:
      return At(10, c);
    case 8:
    case 9:
      return At(7, c);
    case 10:
      return At(11, c);
    case 11:
      return c.rural ? At(12, c) : At(1, c);
    case kScreenZoom:
      return from.code == 54 ? ScreenPos{kScreenZoom, 55} : At(6, c);
    case kScreenAssetsOnly:
      return from.code == 52 ? ScreenPos{kScreenAssetsOnly, 53} : At(6, c);
    default:
      break;
  }
  if (t == TelaMax(c.rural)) return At(1, c);
  if (t < 1 || t > TelaMax(c.rural)) return {kScreenNone, from.code};
  return At(OneForward(t, c), c);
}

// Enter on the last field, and the part of "any other ending" it shares.
std::optional<ScreenPos> EnterMove(const ScreenPos& from, const ScreenConditions& c) {
  if (c.new_taxpayer && from.tela == kScreenIdentification) return At(1, c);
  if (from.tela == 3) return from.code == 31 ? ScreenPos{3, 32} : ScreenPos{4, 41};
  return std::nullopt;
}

}  // namespace

std::optional<ScreenPos> ScreenForKey(Key key, const ScreenConditions& c) {
  const ScreenPos rural_or_calc = c.rural ? ScreenPos{12, 101} : At(7, c);
  switch (key.type) {
    case KeyType::kF:
      if (key.code == 11) return ScreenPos{11, 62};
      if (key.code == 12) return rural_or_calc;
      if (key.code >= 1 && key.code <= 10) return At(key.code, c);
      return std::nullopt;
    case KeyType::kAltF:
      if (key.code == 1) return ScreenPos{11, 62};
      if (key.code == 2) return rural_or_calc;
      if (key.code == 3) return ScreenPos{5, 56};
      if (key.code == 7) return ScreenPos{4, 43};
      return std::nullopt;
    case KeyType::kAlt:
      if (key.code == 'X') return ScreenPos{kScreenAssetsOnly, 52};
      if (key.code == 'Z') return ScreenPos{kScreenZoom, 54};
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

ScreenPos NextScreen(const ScreenPos& from, Key key, const ScreenConditions& c) {
  if (key.type == KeyType::kEsc) return {kScreenNone, from.code};
  if (IsBack(key)) return Previous(from, c);
  if (IsForward(key)) return Following(from, c);
  // The spouse's screen belongs to the income screens (codes below 40).
  const bool spouse_refused = key == Key::AltF(3) && from.code >= 40;
  if (!spouse_refused && key.type != KeyType::kAlt) {
    if (auto pos = ScreenForKey(key, c)) return *pos;
  }
  if (key.type == KeyType::kEnter) {
    if (auto pos = EnterMove(from, c)) return *pos;
    return {kScreenNone, from.code};
  }
  // Any other ending (a field's own exit, a menu choice): when a hot key or the
  // menu already chose the screen, that choice stands.
  if (c.key_changed) return from;
  if (auto pos = EnterMove(from, c)) return *pos;
  const int t = from.tela;
  if (t >= 7 && t <= 10) return {kScreenNone, from.code};
  if (t == kScreenZoom || t == kScreenAssetsOnly) return {kScreenNone, from.code};
  if (t == 11 && !c.rural) return At(10, c);
  if (t == TelaMax(c.rural) && c.rural) return At(12, c);
  if (t < 1 || t > TelaMax(c.rural)) return {kScreenNone, from.code};
  return At(OneForward(t, c), c);
}

std::optional<ScreenPos> BringIntoRange(const ScreenPos& pos, const ScreenConditions& c) {
  if (pos.tela <= TelaMax(c.rural)) return pos;
  if (pos.tela == kScreenZoom || pos.tela == kScreenAssetsOnly) return pos;
  if (pos.tela == 18 && c.rural) return At(12, c);
  return std::nullopt;
}

std::optional<ScreenPos> ZoomFor(int zoom_screen, int browser_mode) {
  const bool assets = browser_mode == 5 || browser_mode == 30;
  const bool debts = browser_mode == 6 || browser_mode == 31;
  if (!assets && !debts) return std::nullopt;
  if (zoom_screen == kScreenZoom) return ScreenPos{kScreenZoom, assets ? 54 : 55};
  if (zoom_screen == kScreenAssetsOnly) return ScreenPos{kScreenAssetsOnly, assets ? 52 : 53};
  return std::nullopt;
}

// ---- registry -----------------------------------------------------------------

void ScreenRegistry::RegisterScreen(int tela, ScreenRoutine routine) {
  screens_[tela] = std::move(routine);
}
void ScreenRegistry::RegisterAction(int code, ActionRoutine routine) {
  actions_[code] = std::move(routine);
}
const ScreenRoutine* ScreenRegistry::FindScreen(int tela) const {
  auto it = screens_.find(tela);
  return it == screens_.end() || !it->second ? nullptr : &it->second;
}
const ActionRoutine* ScreenRegistry::FindAction(int code) const {
  auto it = actions_.find(code);
  return it == actions_.end() || !it->second ? nullptr : &it->second;
}

// ---- placeholder --------------------------------------------------------------

namespace {

std::string ScreenName(int tela) {
  static const std::array<const char*, 18> kNames = {
      "",
      "Rendimentos recebidos de Pessoa Jurídica",
      "Rendimentos recebidos de Pessoa Física",
      "Rendimentos isentos e de tributação exclusiva",
      "Dependentes, alimentandos, pagamentos e doações",
      "Bens e dívidas",
      "Identificação",
      "Cálculo do imposto",
      "Ganhos de capital",
      "Renda variável",
      "Balanço da declaração",
      "Avisos e notas",
      "Atividade rural: identificação",
      "Atividade rural: receitas e despesas",
      "Atividade rural: apuração",
      "Atividade rural: movimentação do rebanho",
      "Atividade rural: bens",
      "Atividade rural: dívidas"};
  if (tela >= 0 && tela < static_cast<int>(kNames.size())) return kNames[tela];
  if (tela == kScreenZoom) return "Bens e dívidas ampliados";
  if (tela == kScreenAssetsOnly) return "Só bens ou só dívidas";
  return "";
}

bool EndsScreen(const Key& k) {
  switch (k.type) {
    case KeyType::kEsc:
    case KeyType::kEnter:
    case KeyType::kTab:
    case KeyType::kShiftTab:
    case KeyType::kPgUp:
    case KeyType::kPgDn:
    case KeyType::kF:
    case KeyType::kAltF:
    case KeyType::kMenu:
      return true;
    case KeyType::kAlt:
      return k.code == 'X' || k.code == 'Z' || k.code == 'T';
    default:
      return false;
  }
}

}  // namespace

Key PlaceholderScreen(screen::Toolkit& tk, int tela) {
  const auto& col = tk.colours();
  const screen::SavedRegion under = tk.Save(8, 10, 14, 69);
  tk.Fill(8, 10, 14, 69, ' ', static_cast<screen::Attr>(col.COR_TEL1));
  tk.Frame(8, 10, 14, 69, static_cast<screen::Attr>(col.COR_TEL1),
           core::Cp850(" Tela " + std::to_string(tela) + " "));
  tk.Write(10, 12, core::Cp850(ScreenName(tela)), static_cast<screen::Attr>(col.COR_TEL1));
  tk.Write(12, 12, core::Cp850("Tela ainda não disponível. Esc volta ao menu."),
           static_cast<screen::Attr>(col.COR_TEL1));
  tk.Flush();
  Key k;
  for (;;) {
    k = tk.WaitKey();
    if (EndsScreen(k)) break;
    tk.Beep();
  }
  tk.Restore(under);
  tk.Flush();
  return k;
}

}  // namespace dodu::shell
