#include "screen/keys.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace dodu::screen {
namespace {

struct NamedKey {
  KeyType type;
  const char* name;
};

// Names of the keys that carry no code. Order matters only for printing.
constexpr NamedKey kNamed[] = {
    {KeyType::kEnter, "Enter"},         {KeyType::kEsc, "Esc"},
    {KeyType::kTab, "Tab"},             {KeyType::kShiftTab, "Shift Tab"},
    {KeyType::kBackspace, "Backspace"}, {KeyType::kDel, "Del"},
    {KeyType::kIns, "Ins"},             {KeyType::kHome, "Home"},
    {KeyType::kEnd, "End"},             {KeyType::kPgUp, "PgUp"},
    {KeyType::kPgDn, "PgDn"},           {KeyType::kUp, "Up"},
    {KeyType::kDown, "Down"},           {KeyType::kLeft, "Left"},
    {KeyType::kRight, "Right"},         {KeyType::kCtrlPgUp, "Ctrl PgUp"},
    {KeyType::kCtrlPgDn, "Ctrl PgDn"},  {KeyType::kCtrlHome, "Ctrl Home"},
    {KeyType::kCtrlEnd, "Ctrl End"},    {KeyType::kCtrlLeft, "Ctrl Left"},
    {KeyType::kCtrlRight, "Ctrl Right"}, {KeyType::kAltUp, "Alt Up"},
    {KeyType::kAltDown, "Alt Down"},    {KeyType::kAltEnd, "Alt End"},
    {KeyType::kCtrlEnter, "Ctrl Enter"}, {KeyType::kResize, "Resize"},
};

struct Alias {
  const char* alias;
  const char* name;
};
constexpr Alias kAliases[] = {
    {"return", "enter"},      {"escape", "esc"},     {"delete", "del"},
    {"insert", "ins"},        {"pageup", "pgup"},    {"pagedown", "pgdn"},
    {"ctrl pageup", "ctrl pgup"}, {"ctrl pagedown", "ctrl pgdn"},
    {"backtab", "shift tab"}, {"bs", "backspace"},
};

std::string Lower(std::string_view s) {
  std::string out;
  // Collapse runs of blanks so "Alt  W" and "Alt W" are one name.
  bool blank = false;
  for (char c : s) {
    if (c == ' ' || c == '\t' || c == '+') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

// "12" -> 12 when the whole text is a number in [lo, hi].
std::optional<int> Number(std::string_view s, int lo, int hi) {
  if (s.empty() || s.size() > 6) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (v < lo || v > hi) return std::nullopt;
  return v;
}

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

}  // namespace

uint8_t Key::upper_byte() const {
  if (!is_char()) return 0;
  uint8_t b = byte();
  if (b >= 'a' && b <= 'z') return static_cast<uint8_t>(b - 'a' + 'A');
  switch (b) {  // code page 850 lower -> upper for the letters Portuguese uses
    case 0x87: return 0x80;  // ç
    case 0x82: return 0x90;  // é
    case 0x83: return 0xB6;  // â
    case 0x85: return 0xB7;  // à
    case 0x88: return 0xD2;  // ê
    case 0xA0: return 0xB5;  // á
    case 0xA1: return 0xD6;  // í
    case 0xA2: return 0xE0;  // ó
    case 0xA3: return 0xE9;  // ú
    case 0x93: return 0xE2;  // ô
    case 0xC6: return 0xC7;  // ã
    case 0xE4: return 0xE5;  // õ
    case 0x81: return 0x9A;  // ü
    default: return b;
  }
}

std::string Key::Name() const {
  for (const NamedKey& n : kNamed) {
    if (n.type == type) return n.name;
  }
  char buf[40];
  switch (type) {
    case KeyType::kChar:
      if (code > 32 && code < 127 && code != '{' && code != '}') return std::string(1, static_cast<char>(code));
      if (code == ' ') return "Space";
      std::snprintf(buf, sizeof buf, "Char 0x%02X", code & 0xFF);
      return buf;
    case KeyType::kF: return "F" + std::to_string(code);
    case KeyType::kShiftF: return "Shift F" + std::to_string(code);
    case KeyType::kCtrlF: return "Ctrl F" + std::to_string(code);
    case KeyType::kAltF: return "Alt F" + std::to_string(code);
    case KeyType::kAlt: return std::string("Alt ") + static_cast<char>(code);
    case KeyType::kCtrl: return std::string("Ctrl ") + static_cast<char>(code);
    case KeyType::kMenu: return "Menu " + std::to_string(code);
    case KeyType::kClick:
      std::snprintf(buf, sizeof buf, "Click %d,%d", row, col);
      return buf;
    case KeyType::kDoubleClick:
      std::snprintf(buf, sizeof buf, "DoubleClick %d,%d", row, col);
      return buf;
    default: return "None";
  }
}

std::optional<Key> ParseKey(std::string_view name) {
  if (name.size() == 1) return Key::Char(static_cast<uint8_t>(name[0]));
  std::string s = Lower(name);
  for (const Alias& a : kAliases) {
    if (s == a.alias) s = a.name;
  }
  if (s == "space") return Key::Char(' ');
  for (const NamedKey& n : kNamed) {
    if (s == Lower(n.name)) return Key::Named(n.type);
  }
  if (StartsWith(s, "char 0x")) {
    std::string hex = s.substr(7);
    char* end = nullptr;
    long v = std::strtol(hex.c_str(), &end, 16);
    if (!hex.empty() && *end == '\0' && v >= 0 && v <= 255) return Key::Char(static_cast<uint8_t>(v));
    return std::nullopt;
  }
  struct Prefixed {
    const char* prefix;
    KeyType type;
  };
  constexpr Prefixed kFunc[] = {{"shift f", KeyType::kShiftF},
                                {"ctrl f", KeyType::kCtrlF},
                                {"alt f", KeyType::kAltF},
                                {"f", KeyType::kF}};
  for (const Prefixed& p : kFunc) {
    if (StartsWith(s, p.prefix)) {
      if (auto n = Number(std::string_view(s).substr(std::string_view(p.prefix).size()), 1, 12)) {
        return Key(p.type, *n);
      }
    }
  }
  if (StartsWith(s, "alt ") && s.size() == 5 && std::isalnum(static_cast<unsigned char>(s[4]))) {
    return Key::Alt(s[4]);
  }
  if (StartsWith(s, "ctrl ") && s.size() == 6 && std::isalpha(static_cast<unsigned char>(s[5]))) {
    return Key::Ctrl(s[5]);
  }
  if (StartsWith(s, "menu ")) {
    if (auto n = Number(std::string_view(s).substr(5), 0, 99999)) return Key::Menu(*n);
    return std::nullopt;
  }
  for (const auto& [prefix, type] :
       {std::pair{"click ", KeyType::kClick}, std::pair{"doubleclick ", KeyType::kDoubleClick}}) {
    if (StartsWith(s, prefix)) {
      // "click 3,10" was collapsed to "click 3,10" (comma kept).
      std::string_view rest = std::string_view(s).substr(std::string_view(prefix).size());
      size_t comma = rest.find(',');
      if (comma == std::string_view::npos) return std::nullopt;
      std::string_view r = rest.substr(0, comma), c = rest.substr(comma + 1);
      while (!c.empty() && c.front() == ' ') c.remove_prefix(1);
      bool neg = !r.empty() && r.front() == '-';
      if (neg) r.remove_prefix(1);
      auto rn = Number(r, 0, 999);
      auto cn = Number(c, 0, 999);
      if (!rn || !cn) return std::nullopt;
      return Key(type, 0, neg ? -*rn : *rn, *cn);
    }
  }
  return std::nullopt;
}

}  // namespace dodu::screen
