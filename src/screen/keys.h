// The key map shared by every screen. A Key is what a terminal back end hands
// to the toolkit after decoding: a typed character (a code page 850 byte), a
// named key, a function key with its modifier, Alt or Ctrl with a letter, a menu
// event, a mouse click at a cell, or a resize.
//
// Every key has a symbolic name ("F2", "Alt W", "Ctrl Enter", "Shift Tab",
// "Click 3,10") used by key scripts and by the key probe; Name() and ParseKey()
// are inverse for every key except typed characters, whose name is the
// character itself.
//
// Ctrl Enter: most terminals send the same byte for Enter and Ctrl Enter. The
// decoder accepts what does exist (xterm's modifyOtherKeys sequence, a bare line
// feed) and Alt Enter (ESC then CR) as the alternative that works everywhere;
// all of them arrive as Key::CtrlEnter().
#ifndef DODU_SCREEN_KEYS_H_
#define DODU_SCREEN_KEYS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dodu::screen {

enum class KeyType : uint8_t {
  kNone = 0,
  kChar,        // code: the code page 850 byte (32..255)
  kEnter,
  kEsc,
  kTab,
  kShiftTab,
  kBackspace,
  kDel,
  kIns,
  kHome,
  kEnd,
  kPgUp,
  kPgDn,
  kUp,
  kDown,
  kLeft,
  kRight,
  kCtrlPgUp,
  kCtrlPgDn,
  kCtrlHome,
  kCtrlEnd,
  kCtrlLeft,
  kCtrlRight,
  kAltUp,
  kAltDown,
  kAltEnd,
  kCtrlEnter,
  kF,           // code: 1..12
  kShiftF,      // code: 1..12
  kCtrlF,       // code: 1..12
  kAltF,        // code: 1..12
  kAlt,         // code: 'A'..'Z' or '0'..'9'
  kCtrl,        // code: 'A'..'Z' (Ctrl C, Ctrl V, Ctrl Y ... as keys)
  kMenu,        // code: the menu item identifier (the event the key code 1024 stands for)
  kClick,       // row, col: the cell, in application coordinates
  kDoubleClick, // row, col
  kResize,
};

struct Key {
  // A click on the menu bar row reports this row; columns are the terminal's.
  static constexpr int kMenuBarRow = -1;
  // A click on the status bar row.
  static constexpr int kStatusBarRow = 25;

  KeyType type = KeyType::kNone;
  int code = 0;
  int row = 0;
  int col = 0;

  constexpr Key() = default;
  constexpr explicit Key(KeyType t, int c = 0, int r = 0, int co = 0)
      : type(t), code(c), row(r), col(co) {}

  static constexpr Key Char(uint8_t byte) { return Key(KeyType::kChar, byte); }
  static constexpr Key Named(KeyType t) { return Key(t); }
  static constexpr Key Enter() { return Key(KeyType::kEnter); }
  static constexpr Key Esc() { return Key(KeyType::kEsc); }
  static constexpr Key CtrlEnter() { return Key(KeyType::kCtrlEnter); }
  static constexpr Key F(int n) { return Key(KeyType::kF, n); }
  static constexpr Key ShiftF(int n) { return Key(KeyType::kShiftF, n); }
  static constexpr Key CtrlF(int n) { return Key(KeyType::kCtrlF, n); }
  static constexpr Key AltF(int n) { return Key(KeyType::kAltF, n); }
  // letter_or_digit is upper-cased: Alt('w') == Alt('W').
  static constexpr Key Alt(char letter_or_digit) {
    return Key(KeyType::kAlt, Upper(letter_or_digit));
  }
  static constexpr Key Ctrl(char letter) { return Key(KeyType::kCtrl, Upper(letter)); }
  static constexpr Key Menu(int id) { return Key(KeyType::kMenu, id); }
  static constexpr Key Click(int r, int c) { return Key(KeyType::kClick, 0, r, c); }
  static constexpr Key DoubleClick(int r, int c) { return Key(KeyType::kDoubleClick, 0, r, c); }
  static constexpr Key Resize() { return Key(KeyType::kResize); }

  constexpr bool is_char() const { return type == KeyType::kChar; }
  constexpr bool is_mouse() const {
    return type == KeyType::kClick || type == KeyType::kDoubleClick;
  }
  // The typed byte, or 0 when this is not a typed character.
  constexpr uint8_t byte() const { return is_char() ? static_cast<uint8_t>(code) : 0; }
  // The typed character upper-cased (ASCII letters and the cp850 accented
  // lower-case letters used in Portuguese), or 0.
  uint8_t upper_byte() const;

  // "F2", "Alt W", "Ctrl Enter", "Click 3,10", "Menu 1003"; a typed character
  // is itself when printable ASCII, otherwise "Char 0x87".
  std::string Name() const;

  constexpr bool operator==(const Key& o) const {
    return type == o.type && code == o.code && row == o.row && col == o.col;
  }

 private:
  static constexpr int Upper(char c) {
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : static_cast<unsigned char>(c);
  }
};

// Parses a symbolic name as Name() prints it (case-insensitive for the words:
// "alt w", "ctrl pgdn", "shift f3"). A single character is a typed character.
// Accepts the aliases "Return" (Enter), "Escape" (Esc), "Delete" (Del),
// "Insert" (Ins), "PageUp"/"PageDown", "Space". nullopt when not a key name.
std::optional<Key> ParseKey(std::string_view name);

}  // namespace dodu::screen

#endif  // DODU_SCREEN_KEYS_H_
