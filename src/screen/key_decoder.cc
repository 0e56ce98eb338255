#include "screen/key_decoder.h"

#include <cctype>
#include <string>
#include <vector>

#include "screen/internal/cp850.h"

namespace dodu::screen {
namespace {

constexpr char kEsc = 0x1B;

Decoded Got(Key k, size_t n) { return {Decoded::kKey, k, n}; }
Decoded Skip(size_t n) { return {Decoded::kSkip, Key(), n}; }
Decoded More() { return {Decoded::kNeedMore, Key(), 0}; }

enum Mod { kPlain = 1, kShift = 2, kAlt = 3, kCtrl = 5 };

// Arrows and the editing block with a modifier parameter (1 when absent).
std::optional<Key> CursorKey(char final_char, int mod) {
  KeyType plain, ctrl = KeyType::kNone, alt = KeyType::kNone;
  switch (final_char) {
    case 'A': plain = KeyType::kUp; alt = KeyType::kAltUp; break;
    case 'B': plain = KeyType::kDown; alt = KeyType::kAltDown; break;
    case 'C': plain = KeyType::kRight; ctrl = KeyType::kCtrlRight; break;
    case 'D': plain = KeyType::kLeft; ctrl = KeyType::kCtrlLeft; break;
    case 'H': plain = KeyType::kHome; ctrl = KeyType::kCtrlHome; break;
    case 'F': plain = KeyType::kEnd; ctrl = KeyType::kCtrlEnd; alt = KeyType::kAltEnd; break;
    default: return std::nullopt;
  }
  if (mod == kCtrl && ctrl != KeyType::kNone) return Key::Named(ctrl);
  if (mod == kAlt && alt != KeyType::kNone) return Key::Named(alt);
  return Key::Named(plain);  // other modifiers fall back to the plain key
}

std::optional<Key> FunctionKey(int n, int mod) {
  if (n < 1 || n > 12) return std::nullopt;
  switch (mod) {
    case kShift: return Key::ShiftF(n);
    case kCtrl: return Key::CtrlF(n);
    case kAlt: return Key::AltF(n);
    default: return Key::F(n);
  }
}

// ESC [ number ~ forms.
std::optional<Key> TildeKey(int n, int mod) {
  switch (n) {
    case 1: case 7: return CursorKey('H', mod);
    case 4: case 8: return CursorKey('F', mod);
    case 2: return Key::Named(KeyType::kIns);
    case 3: return Key::Named(KeyType::kDel);
    case 5: return Key::Named(mod == kCtrl ? KeyType::kCtrlPgUp : KeyType::kPgUp);
    case 6: return Key::Named(mod == kCtrl ? KeyType::kCtrlPgDn : KeyType::kPgDn);
    case 11: case 12: case 13: case 14: case 15: return FunctionKey(n == 15 ? 5 : n - 10, mod);
    case 17: case 18: case 19: case 20: case 21: return FunctionKey(n - 11, mod);
    case 23: case 24: return FunctionKey(n - 12, mod);
    default: return std::nullopt;
  }
}

Key WithAlt(Key k) {
  // ESC before a sequence is how many terminals send Alt with that key.
  switch (k.type) {
    case KeyType::kUp: return Key::Named(KeyType::kAltUp);
    case KeyType::kDown: return Key::Named(KeyType::kAltDown);
    case KeyType::kEnd: return Key::Named(KeyType::kAltEnd);
    case KeyType::kF: return Key::AltF(k.code);
    default: return k;
  }
}

// A CSI sequence starting at bytes[0] == ESC, bytes[1] == '['.
Decoded Csi(std::string_view b, bool final) {
  size_t i = 2;
  if (i < b.size() && b[i] == '<') {  // SGR mouse
    size_t j = i + 1;
    std::vector<int> params(1, 0);
    while (j < b.size() && ((b[j] >= '0' && b[j] <= '9') || b[j] == ';')) {
      if (b[j] == ';') params.push_back(0);
      else params.back() = params.back() * 10 + (b[j] - '0');
      ++j;
    }
    if (j >= b.size()) return final ? Skip(b.size()) : More();
    if ((b[j] != 'M' && b[j] != 'm') || params.size() != 3) return Skip(j + 1);
    int button = params[0];
    // Left button press, no motion, no wheel; modifiers (4, 8, 16) ignored.
    if (b[j] == 'M' && (button & ~(4 | 8 | 16)) == 0) {
      return Got(Key::Click(params[2] - 1, params[1] - 1), j + 1);
    }
    return Skip(j + 1);
  }
  if (i < b.size() && b[i] == '[') {  // Linux console F1..F5: ESC [ [ A..E
    if (i + 1 >= b.size()) return final ? Skip(b.size()) : More();
    char c = b[i + 1];
    if (c >= 'A' && c <= 'E') return Got(Key::F(c - 'A' + 1), i + 2);
    return Skip(i + 2);
  }
  std::vector<int> params;
  int cur = -1;
  size_t j = i;
  while (j < b.size() && ((b[j] >= '0' && b[j] <= '9') || b[j] == ';')) {
    if (b[j] == ';') {
      params.push_back(cur < 0 ? 1 : cur);
      cur = -1;
    } else {
      cur = (cur < 0 ? 0 : cur * 10) + (b[j] - '0');
    }
    ++j;
  }
  if (cur >= 0) params.push_back(cur);
  if (j >= b.size()) return final ? Skip(b.size()) : More();
  char f = b[j];
  size_t n = j + 1;
  if (f < 0x40 || f > 0x7E) return Skip(n);
  int mod = params.size() >= 2 ? params[1] : kPlain;
  if (f == '~') {
    if (params.size() >= 3 && params[0] == 27) {  // modifyOtherKeys: ESC [ 27 ; mod ; code ~
      int code = params[2];
      if (code == 13 && (mod == kCtrl || mod == 6)) return Got(Key::CtrlEnter(), n);
      if (code == 13) return Got(Key::Enter(), n);
      if (code == 9 && mod == kShift) return Got(Key::Named(KeyType::kShiftTab), n);
      if (code >= 32 && code < 127) {
        char c = static_cast<char>(code);
        if (mod == kAlt && std::isalnum(static_cast<unsigned char>(c))) return Got(Key::Alt(c), n);
        if (mod == kCtrl && std::isalpha(static_cast<unsigned char>(c))) return Got(Key::Ctrl(c), n);
        return Got(Key::Char(static_cast<uint8_t>(c)), n);
      }
      return Skip(n);
    }
    if (params.empty()) return Skip(n);
    if (auto k = TildeKey(params[0], mod)) return Got(*k, n);
    return Skip(n);
  }
  if (f == 'u') {  // CSI u: ESC [ code ; mod u
    if (!params.empty() && params[0] == 13) return Got(mod == kCtrl ? Key::CtrlEnter() : Key::Enter(), n);
    return Skip(n);
  }
  if (f == 'Z') return Got(Key::Named(KeyType::kShiftTab), n);
  if (f >= 'P' && f <= 'S') {  // ESC [ 1 ; mod P  = F1..F4 with a modifier
    if (auto k = FunctionKey(f - 'P' + 1, mod)) return Got(*k, n);
  }
  if (auto k = CursorKey(f, mod)) return Got(*k, n);
  return Skip(n);
}

// ESC O x (SS3): application cursor keys, F1..F4, keypad Enter.
Decoded Ss3(std::string_view b, bool final) {
  size_t i = 2;
  int mod = kPlain;
  // Some terminals put a modifier digit here: ESC O 5 P.
  if (i < b.size() && b[i] >= '1' && b[i] <= '9') {
    mod = b[i] - '0';
    ++i;
  }
  if (i >= b.size()) return final ? Skip(b.size()) : More();
  char c = b[i];
  if (c >= 'P' && c <= 'S') return Got(*FunctionKey(c - 'P' + 1, mod), i + 1);
  if (c == 'M') return Got(Key::Enter(), i + 1);
  if (auto k = CursorKey(c, mod)) return Got(*k, i + 1);
  return Skip(i + 1);
}

Decoded Single(std::string_view b, bool final) {
  uint8_t c = static_cast<uint8_t>(b[0]);
  switch (c) {
    case 0x0D: return Got(Key::Enter(), 1);
    case 0x0A: return Got(Key::CtrlEnter(), 1);
    case 0x09: return Got(Key::Named(KeyType::kTab), 1);
    case 0x08: case 0x7F: return Got(Key::Named(KeyType::kBackspace), 1);
    case 0x00: return Skip(1);  // Ctrl Space / Ctrl @
    default: break;
  }
  if (c < 0x20) {
    if (c <= 26) return Got(Key::Ctrl(static_cast<char>('A' + c - 1)), 1);
    return Skip(1);  // Ctrl \ ] ^ _
  }
  if (c < 0x80) return Got(Key::Char(c), 1);
  // UTF-8 text.
  size_t len = (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (len == 0) return Got(Key::Char('?'), 1);
  if (b.size() < len) {
    for (size_t k = 1; k < b.size(); ++k) {
      if ((static_cast<uint8_t>(b[k]) & 0xC0) != 0x80) return Got(Key::Char('?'), 1);
    }
    return final ? Got(Key::Char('?'), b.size()) : More();
  }
  std::string cp = internal::Utf8ToCp850(b.substr(0, len));
  uint8_t byte = cp.size() == 1 ? static_cast<uint8_t>(cp[0]) : '?';
  return Got(Key::Char(byte), len);
}

}  // namespace

Decoded DecodeKey(std::string_view b, bool final) {
  if (b.empty()) return More();
  if (b[0] != kEsc) return Single(b, final);
  if (b.size() == 1) return final ? Got(Key::Esc(), 1) : More();
  char c = b[1];
  if (c == '[') return Csi(b, final);
  if (c == 'O') {
    // ESC O is also Alt O; only a following byte tells them apart.
    if (b.size() == 2) return final ? Got(Key::Alt('O'), 2) : More();
    return Ss3(b, final);
  }
  if (c == kEsc) {
    // ESC ESC [ ... : Alt with a special key (old xterm, PuTTY); a bare ESC ESC is one Esc.
    if (b.size() == 2) return final ? Got(Key::Esc(), 1) : More();
    if (b[2] == '[' || b[2] == 'O') {
      Decoded inner = DecodeKey(b.substr(1), final);
      if (inner.kind == Decoded::kKey) return Got(WithAlt(inner.key), inner.consumed + 1);
      if (inner.kind == Decoded::kSkip) return Skip(inner.consumed + 1);
      return inner;
    }
    return Got(Key::Esc(), 1);
  }
  if (c == 0x0D) return Got(Key::CtrlEnter(), 2);  // Alt Enter: the documented Ctrl Enter alternative
  if (std::isalnum(static_cast<unsigned char>(c))) return Got(Key::Alt(c), 2);
  // ESC followed by something else: the Esc key, then that byte on its own.
  return Got(Key::Esc(), 1);
}

}  // namespace dodu::screen
