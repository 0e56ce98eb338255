#include "screen/colour.h"

#include <cctype>

namespace dodu::screen {
namespace {

constexpr const char* kLetters[8] = {"N", "B", "G", "BG", "R", "BR", "GR", "W"};

std::string Side(int c) {
  std::string s = kLetters[c & 7];
  if (c & 8) s += '+';
  return s;
}

// One side of a pair: letters then marks. Returns the colour 0..7 plus 8 for "+",
// and tells whether a "*" was seen.
std::optional<int> ParseSide(std::string_view s, bool* star) {
  std::string letters;
  int bright = 0;
  for (char ch : s) {
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (c == ' ') continue;
    if (c == '+') {
      bright = 8;
    } else if (c == '*') {
      *star = true;
    } else if (std::isalpha(static_cast<unsigned char>(c))) {
      letters += c;
    } else {
      return std::nullopt;
    }
  }
  if (letters.empty()) return bright;  // "+/B": black made bright
  if (letters == "RB") letters = "BR";
  if (letters == "RG") letters = "GR";
  if (letters == "GB") letters = "BG";
  if (letters == "U") letters = "B";  // underline shows as blue on colour screens
  for (int i = 0; i < 8; ++i) {
    if (letters == kLetters[i]) return i + bright;
  }
  return std::nullopt;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '"' || s.front() == '\'')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '"' || s.back() == '\'')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::string ACHACOR(int attr) {
  attr &= 0xFF;
  return Side(attr & 15) + "/" + Side(attr >> 4);
}

std::optional<Attr> ParseColour(std::string_view text) {
  text = Trim(text);
  if (text.empty()) return std::nullopt;
  if (text == "I" || text == "i") return MakeAttr(0, 7);
  size_t slash = text.find('/');
  std::string_view fg_text = text.substr(0, slash);
  std::string_view bg_text = slash == std::string_view::npos ? "N" : text.substr(slash + 1);
  bool star = false;
  std::optional<int> fg = ParseSide(fg_text, &star);
  std::optional<int> bg = ParseSide(bg_text, &star);
  if (!fg || !bg) return std::nullopt;
  int b = *bg;
  if (star) b |= 8;
  return MakeAttr(*fg, b);
}

Attr ColourOr(std::string_view text, Attr fallback) {
  return ParseColour(text).value_or(fallback);
}

std::vector<std::string> SplitColourList(std::string_view text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (true) {
    size_t comma = text.find(',', start);
    std::string_view part = text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
    out.emplace_back(Trim(part));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return out;
}

std::optional<ColourSet> ParseColourSet(std::string_view text) {
  std::vector<std::string> parts = SplitColourList(text);
  ColourSet set;
  Attr* slots[5] = {&set.standard, &set.enhanced, &set.border, &set.background, &set.unselected};
  bool unselected_given = false;
  for (size_t i = 0; i < parts.size() && i < 5; ++i) {
    if (parts[i].empty()) continue;
    std::optional<Attr> a = ParseColour(parts[i]);
    if (!a) return std::nullopt;
    *slots[i] = *a;
    if (i == 4) unselected_given = true;
  }
  if (!unselected_given) set.unselected = set.standard;
  return set;
}

}  // namespace dodu::screen
