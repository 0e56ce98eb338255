#include "screen/edit_buffer.h"

#include <algorithm>

#include "screen/internal/edit_layout.h"

namespace dodu::screen {

using internal::EditLayout;

const char* EditEffectName(EditEffect e) {
  switch (e) {
    case EditEffect::kChanged: return "changed";
    case EditEffect::kMoved: return "moved";
    case EditEffect::kFilled: return "filled";
    case EditEffect::kRefused: return "refused";
    case EditEffect::kNotMine: return "not mine";
  }
  return "?";
}

struct EditState {
  EditLayout layout;
  EditOptions options;
  std::string original_text;
  std::string text;
  int pos = 0;
  int scroll = 0;
  bool clear_pending = false;
  bool changed = false;
  bool past_end = false;  // confirm mode: the last position was typed
  bool insert = false;

  bool Editable(int i) const { return i >= 0 && i < layout.width && layout.editable[i]; }
  int First() const {
    for (int i = 0; i < layout.width; ++i)
      if (Editable(i)) return i;
    return 0;
  }
  int Last() const {
    for (int i = layout.width - 1; i >= 0; --i)
      if (Editable(i)) return i;
    return 0;
  }
  int Next(int i) const {
    for (++i; i < layout.width; ++i)
      if (Editable(i)) return i;
    return -1;
  }
  int Prev(int i) const {
    for (--i; i >= 0; --i)
      if (Editable(i)) return i;
    return -1;
  }
  // Last editable position of the run of editable positions that holds i.
  int RunEnd(int i) const {
    while (Editable(i + 1)) ++i;
    return i;
  }
  void Blank(int from) {
    for (int i = from; i < layout.width; ++i)
      if (Editable(i)) text[i] = ' ';
  }
  // The first-key clearing: every position blank, the literals shown.
  void ClearAll() {
    for (int i = 0; i < layout.width; ++i) text[i] = Editable(i) ? ' ' : layout.literals[i];
  }
  void DeleteAt(int i) {
    int end = RunEnd(i);
    for (int k = i; k < end; ++k) text[k] = text[k + 1];
    text[end] = ' ';
  }
  void Reset(std::string t) {
    text = std::move(t);
    pos = First();
    scroll = 0;
    past_end = false;
  }
  void Scroll() {
    int view = layout.view_width;
    if (pos < scroll) scroll = pos;
    if (pos >= scroll + view) scroll = pos - view + 1;
    scroll = std::clamp(scroll, 0, std::max(0, layout.width - view));
  }
  EditEffect Type(uint8_t byte);
  EditEffect ToDecimals();
  EditEffect End();
};

EditEffect EditState::Type(uint8_t byte) {
  if (layout.kind == EditKind::kNumber && (byte == ',' || byte == '.')) return ToDecimals();
  if (past_end) return EditEffect::kRefused;
  std::optional<uint8_t> ch = internal::AcceptAt(layout, pos, byte);
  if (!ch) return EditEffect::kRefused;
  if (clear_pending) {
    ClearAll();
    pos = First();
    clear_pending = false;
  }
  if (insert) {
    int end = RunEnd(pos);
    if (text[end] != ' ') return EditEffect::kRefused;
    for (int k = end; k > pos; --k) text[k] = text[k - 1];
  }
  text[pos] = static_cast<char>(*ch);
  changed = true;
  int next = Next(pos);
  if (next >= 0) {
    pos = next;
    return EditEffect::kChanged;
  }
  if (options.confirm) {
    past_end = true;
    return EditEffect::kChanged;
  }
  return EditEffect::kFilled;
}

// The decimal key: the integer part typed so far is set right-justified and the
// cursor goes to the first decimal.
EditEffect EditState::ToDecimals() {
  if (layout.decimal_pos < 0) return EditEffect::kRefused;
  if (clear_pending) {
    ClearAll();
    clear_pending = false;
  }
  std::string digits;
  bool negative = false;
  for (int i = 0; i < layout.decimal_pos; ++i) {
    if (!Editable(i)) continue;
    if (text[i] >= '0' && text[i] <= '9') digits += text[i];
    if (text[i] == '-') negative = true;
  }
  core::Decimal whole = digits.empty() ? core::Decimal() : *core::Decimal::Parse(digits);
  if (negative) whole = -whole;
  Result<std::string> formatted = internal::FormatForEdit(layout, whole);
  if (!formatted.ok()) return EditEffect::kRefused;
  std::string integer = formatted->substr(0, layout.decimal_pos);
  // A blank integer part stays blank, as typed; a typed zero shows.
  if (digits.empty() && !negative) {
    for (int i = 0; i < layout.decimal_pos; ++i)
      if (Editable(i)) integer[i] = ' ';
  }
  text.replace(0, layout.decimal_pos, integer);
  if (negative && whole.IsZero()) {
    int last = Prev(layout.decimal_pos);
    if (last >= 0) text[last] = '-';
  }
  int next = Next(layout.decimal_pos);
  if (next >= 0) pos = next;
  past_end = false;
  changed = true;
  return EditEffect::kChanged;
}

EditEffect EditState::End() {
  int last_typed = -1;
  for (int i = 0; i < layout.width; ++i)
    if (Editable(i) && text[i] != ' ') last_typed = i;
  if (last_typed < 0) {
    pos = First();
  } else {
    int next = Next(last_typed);
    pos = next >= 0 ? next : last_typed;
  }
  return EditEffect::kMoved;
}

Result<std::string> FieldDisplay(const EditValue& value, std::string_view picture, int width) {
  if (KindOf(value) == EditKind::kText && width <= 0) {
    width = static_cast<int>(std::get<std::string>(value).size());
  }
  DODU_ASSIGN_OR_RETURN(EditLayout layout, internal::BuildLayout(KindOf(value), picture, width));
  DODU_ASSIGN_OR_RETURN(std::string text, internal::FormatForDisplay(layout, value));
  return text.substr(0, layout.view_width);
}

Result<EditBuffer> EditBuffer::Create(const EditValue& value, std::string_view picture, int width,
                                      EditOptions options) {
  if (KindOf(value) == EditKind::kText && width <= 0) {
    width = static_cast<int>(std::get<std::string>(value).size());
  }
  DODU_ASSIGN_OR_RETURN(EditLayout layout, internal::BuildLayout(KindOf(value), picture, width));
  DODU_ASSIGN_OR_RETURN(std::string text, internal::FormatForEdit(layout, value));
  auto s = std::make_unique<EditState>();
  s->layout = std::move(layout);
  s->options = options;
  s->insert = options.insert;
  s->original_text = text;
  s->Reset(std::move(text));
  s->clear_pending = s->layout.clear_first;
  return EditBuffer(std::move(s));
}

EditBuffer::EditBuffer(std::unique_ptr<EditState> state) : s_(std::move(state)) {}
EditBuffer::EditBuffer(EditBuffer&&) noexcept = default;
EditBuffer& EditBuffer::operator=(EditBuffer&&) noexcept = default;
EditBuffer::~EditBuffer() = default;

EditEffect EditBuffer::Handle(const Key& key) {
  EditState& s = *s_;
  if (s.layout.width == 0) return key.is_char() ? EditEffect::kRefused : EditEffect::kNotMine;
  EditEffect effect = EditEffect::kNotMine;
  if (key.is_char()) {
    effect = s.Type(key.byte());
    s.Scroll();
    return effect;
  }
  bool past_end = s.past_end;
  switch (key.type) {
    case KeyType::kLeft: {
      int prev = s.Prev(s.pos);
      if (past_end) {
        effect = EditEffect::kMoved;
      } else if (prev < 0) {
        effect = EditEffect::kRefused;
      } else {
        s.pos = prev;
        effect = EditEffect::kMoved;
      }
      break;
    }
    case KeyType::kRight: {
      int next = s.Next(s.pos);
      if (next < 0) {
        effect = EditEffect::kRefused;
      } else {
        s.pos = next;
        effect = EditEffect::kMoved;
      }
      break;
    }
    case KeyType::kHome:
      s.pos = s.First();
      effect = EditEffect::kMoved;
      break;
    case KeyType::kEnd:
      effect = s.End();
      break;
    case KeyType::kIns:
      s.insert = !s.insert;
      effect = EditEffect::kMoved;
      break;
    case KeyType::kBackspace: {
      if (past_end) {
        s.text[s.pos] = ' ';
        s.changed = true;
        effect = EditEffect::kChanged;
        break;
      }
      int prev = s.Prev(s.pos);
      if (prev < 0) {
        effect = EditEffect::kRefused;
        break;
      }
      s.pos = prev;
      s.DeleteAt(prev);
      s.changed = true;
      effect = EditEffect::kChanged;
      break;
    }
    case KeyType::kDel:
      s.DeleteAt(s.pos);
      s.changed = true;
      effect = EditEffect::kChanged;
      break;
    case KeyType::kCtrl:
      if (key.code == 'Y') {
        s.Blank(s.pos);
        s.changed = true;
        effect = EditEffect::kChanged;
      } else if (key.code == 'U') {
        Undo();
        effect = EditEffect::kChanged;
      }
      break;
    default:
      break;
  }
  if (effect == EditEffect::kNotMine) return effect;
  if (effect != EditEffect::kRefused) {
    // Moving the cursor gives up the clearing on the first key, as it always did.
    s.clear_pending = false;
    s.past_end = false;
  }
  s.Scroll();
  return effect;
}

Result<EditValue> EditBuffer::Value() const { return internal::ReadBack(s_->layout, s_->text); }

Status EditBuffer::SetValue(const EditValue& value) {
  if (KindOf(value) != s_->layout.kind) return Status::Invalid("value of another kind");
  DODU_ASSIGN_OR_RETURN(std::string text, internal::FormatForEdit(s_->layout, value));
  s_->Reset(std::move(text));
  s_->clear_pending = false;
  s_->changed = true;
  return Status::Ok();
}

void EditBuffer::Undo() {
  s_->Reset(s_->original_text);
  s_->clear_pending = s_->layout.clear_first;
  s_->changed = false;
}

const std::string& EditBuffer::Text() const { return s_->text; }
std::string EditBuffer::Visible() const {
  return s_->text.substr(s_->scroll, s_->layout.view_width);
}
int EditBuffer::Cursor() const { return s_->pos; }
int EditBuffer::CursorColumn() const { return s_->pos - s_->scroll; }
int EditBuffer::Width() const { return s_->layout.width; }
int EditBuffer::VisibleWidth() const { return s_->layout.view_width; }
EditKind EditBuffer::kind() const { return s_->layout.kind; }
bool EditBuffer::insert() const { return s_->insert; }
void EditBuffer::set_insert(bool on) { s_->insert = on; }
bool EditBuffer::changed() const { return s_->changed; }

}  // namespace dodu::screen
