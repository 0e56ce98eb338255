#include "entry/clip_text.h"

namespace dodu::entry {
namespace {

std::string TrimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && (s[e - 1] == ' ' || s[e - 1] == '\0')) --e;
  return std::string(s.substr(0, e));
}

std::string ValueLine(const core::Decimal& v) {
  std::string t = v.ToFixed(2);
  if (t.size() < 12) t.insert(0, 12 - t.size(), ' ');
  return t + "\r\n";
}

}  // namespace

void ClipText::Copy(const screen::EditValue& value) {
  if (const auto* s = std::get_if<std::string>(&value)) {
    value_ = TrimRight(*s);
  } else if (const auto* d = std::get_if<core::Decimal>(&value)) {
    value_ = *d;
  } else if (const auto* date = std::get_if<core::Date>(&value)) {
    value_ = date->IsBlank() ? std::string() : date->ToDmy();
  } else {
    value_ = std::string(std::get<bool>(value) ? "T" : "F");
  }
}

void ClipText::AddLine(std::string_view description) {
  std::string line = TrimRight(description) + "\r\n";
  if (is_text()) {
    value_ = text() + line;
  } else if (is_number()) {
    value_ = ValueLine(number()) + line;
  } else {
    value_ = line;
  }
}

void ClipText::AddValue(const core::Decimal& value) {
  if (is_number()) {
    value_ = number() + value;
  } else if (is_text()) {
    value_ = text() + ValueLine(value);
  } else {
    value_ = value;
  }
}

std::string ClipText::Take() {
  std::string out;
  if (is_text()) out = text();
  if (is_number()) out = number().ToFixed(2);
  Clear();
  return out;
}

std::variant<std::monostate, screen::EditValue> ClipText::PasteFor(screen::EditKind kind,
                                                                   int width) const {
  if (kind == screen::EditKind::kText && is_text()) {
    std::string t = text();
    // A buffer of several lines pastes its first line into a single field.
    size_t cr = t.find_first_of("\r\n");
    if (cr != std::string::npos) t.resize(cr);
    if (width > 0 && static_cast<int>(t.size()) > width) t.resize(width);
    if (width > 0) t.append(width - t.size(), ' ');
    return screen::EditValue(t);
  }
  if (kind == screen::EditKind::kNumber && is_number()) return screen::EditValue(number());
  return std::monostate{};
}

std::vector<std::string> ClipboardLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string cur;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(cur);
      cur.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  while (!lines.empty() && TrimRight(lines.back()).empty()) lines.pop_back();
  return lines;
}

std::vector<std::string> NotePieces(std::string_view line) {
  std::vector<std::string> out;
  if (line.empty()) return {std::string()};
  for (size_t i = 0; i < line.size(); i += kNotePieceWidth) {
    out.emplace_back(line.substr(i, kNotePieceWidth));
  }
  return out;
}

}  // namespace dodu::entry
