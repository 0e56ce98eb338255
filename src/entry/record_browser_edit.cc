// The cell edit of the record browser: DOGET, EXITKEY, FRESHORDER, F_TROCA
// and the writes behind them.
#include <algorithm>

#include "core/picture.h"
#include "entry/adic_reg.h"
#include "entry/record_browser.h"
#include "entry/record_write.h"
#include "screen/edit_buffer.h"

namespace dodu::entry {

using screen::Attr;
using screen::EditEffect;
using screen::Key;
using screen::KeyType;

namespace {

constexpr int kPopupWidth = 64;

bool EndsEdit(const Key& k) {
  switch (k.type) {
    case KeyType::kEnter:
    case KeyType::kEsc:
    case KeyType::kUp:
    case KeyType::kDown:
    case KeyType::kPgUp:
    case KeyType::kPgDn:
    case KeyType::kTab:
    case KeyType::kShiftTab:
      return true;
    default:
      return false;
  }
}

}  // namespace

Result<store::RecNo> RecordBrowser::NewRecord() {
  DODU_ASSIGN_OR_RETURN(store::RecNo n, ADIC_REG(ec_, area_, profile_.number));
  if (profile_.hooks.preset) {
    Status st = [&]() -> Status {
      DODU_ASSIGN_OR_RETURN(store::Record rec, area_.table().Read(n));
      DODU_RETURN_IF_ERROR(profile_.hooks.preset(*this, rec, n));
      return area_.table().Write(n, rec);
    }();
    if (!st.ok()) {
      area_.table().UnlockRecord(n);
      return st;
    }
  }
  return n;
}

std::string RecordBrowser::OrderKeyOf(const store::Record& r) const {
  if (temp_) return "";  // the temporary order is read again after every write
  const int order = area_.active_order();
  if (order <= 0) return "";
  return const_cast<store::WorkArea&>(area_).order(order - 1).expr().EvaluateImage(r.bytes());
}

Status RecordBrowser::WriteCell(const screen::EditValue& value, bool* key_changed) {
  const CompiledColumn& c = cols_[col_];
  if (!c.editable()) return Status::Invalid("the column only shows");
  if (key_changed) *key_changed = false;
  std::optional<store::RecNo> n = current_recno();
  std::string before_key, after_key;
  if (!n) {
    // The append row: the record comes to exist with its first value.
    DODU_ASSIGN_OR_RETURN(store::RecNo added, NewRecord());
    Status st =
        ChangeRecord(ec_, area_, added, [&](store::Record& rec) { return c.Set(rec, value); });
    area_.table().UnlockRecord(added);
    DODU_RETURN_IF_ERROR(st);
    appending_ = false;
    rows_.push_back(added);
    cur_ = static_cast<int>(rows_.size()) - 1;
    n = added;
    if (key_changed) *key_changed = true;
  } else {
    DODU_RETURN_IF_ERROR(ChangeRecord(ec_, area_, *n, [&](store::Record& rec) {
      before_key = OrderKeyOf(rec);
      DODU_RETURN_IF_ERROR(c.Set(rec, value));
      after_key = OrderKeyOf(rec);
      return Status::Ok();
    }));
    if (key_changed && (before_key != after_key || temp_)) *key_changed = true;
  }
  if (profile_.hooks.after_write) profile_.hooks.after_write(*this, col_);
  return FRESHORDER(*n);
}

Status RecordBrowser::FRESHORDER(store::RecNo n) {
  appending_ = false;
  DODU_RETURN_IF_ERROR(Reload());
  auto it = std::find(rows_.begin(), rows_.end(), n);
  if (it != rows_.end()) {
    cur_ = static_cast<int>(it - rows_.begin());
    appending_ = false;
  }
  EnsureVisible();
  SyncState();
  return Status::Ok();
}

std::vector<Key> RecordBrowser::EXITKEY(Key end, bool appending) const {
  const int ult = profile_.ult_pos > 0 ? profile_.ult_pos - 1 : column_count() - 1;
  switch (end.type) {
    case KeyType::kPgDn:
      return appending ? std::vector<Key>{} : std::vector<Key>{Key(KeyType::kDown)};
    case KeyType::kPgUp:
      return appending ? std::vector<Key>{} : std::vector<Key>{Key(KeyType::kUp)};
    case KeyType::kEnter:
    case KeyType::kChar:  // the field was filled by typing
      if (col_ == ult) return {Key(KeyType::kCtrlHome), Key(KeyType::kDown)};
      return {Key(KeyType::kRight)};
    case KeyType::kUp:
    case KeyType::kDown:
      return {end};
    default:
      return {};
  }
}

void RecordBrowser::ShowPopup(const std::string& text, int row) {
  screen::Toolkit& tk = ec_.tk;
  const int lines =
      std::max<int>(1, (static_cast<int>(text.size()) + kPopupWidth - 1) / kPopupWidth);
  const int left = std::max(0, (screen::kScreenCols - kPopupWidth - 2) / 2);
  const int right = left + kPopupWidth + 1;
  int top = row - lines - 2;
  if (top < 0) top = row + 1;  // no room above: below the row
  const int bottom = std::min(screen::kScreenRows - 1, top + lines + 1);
  if (!popup_) popup_ = tk.Save(top, left, bottom, right);
  const Attr a = static_cast<Attr>(tk.colours().COR_MENS);
  tk.Fill(top, left, bottom, right, ' ', a);
  tk.Frame(top, left, bottom, right, a);
  for (int i = 0; i < lines && top + 1 + i < bottom; ++i) {
    tk.Write(top + 1 + i, left + 1, text.substr(i * kPopupWidth, kPopupWidth), a);
  }
}

Result<std::vector<Key>> RecordBrowser::DOGET(Key first) {
  ec_.state.LASTECLA = first;
  const CompiledColumn& c = cols_[col_];
  if (!c.editable()) {
    ec_.tk.Beep();
    return std::vector<Key>{};
  }
  if (profile_.hooks.pre_edit && !profile_.hooks.pre_edit(*this, col_)) return std::vector<Key>{};
  DODU_ASSIGN_OR_RETURN(store::Record rec, CurrentRecord());
  DODU_ASSIGN_OR_RETURN(screen::EditValue value, c.Get(rec));
  const store::FieldSpec* spec = c.edit_spec();
  const int text_width = spec->type == store::FieldType::kChar ? spec->length : 0;
  // A column narrower than its field scrolls.
  std::string picture = c.column().mask;
  if (text_width > c.width() && picture.find('S') == std::string::npos &&
      picture.find('s') == std::string::npos) {
    picture = picture.empty() ? "@S" + std::to_string(c.width())
                              : "@S" + std::to_string(c.width()) + picture.substr(1);
  }
  screen::EditOptions opts;
  opts.confirm = profile_.confirm_edits;
  Result<screen::EditBuffer> made = screen::EditBuffer::Create(value, picture, text_width, opts);
  if (!made.ok()) made = screen::EditBuffer::Create(value, "", text_width, opts);
  DODU_RETURN_IF_ERROR(made.status());
  screen::EditBuffer buf = std::move(*made);

  std::vector<Placed> p = Layout();
  int x = rect_.left + 1;
  for (const Placed& q : p)
    if (q.column == col_) x = q.x;
  const int row = rect_.top + 3 + ((appending_ ? static_cast<int>(rows_.size()) : cur_) - top_);
  const bool popup = c.column().popup && first.type == KeyType::kEnter;
  screen::Toolkit& tk = ec_.tk;
  const Attr active = static_cast<Attr>(tk.colours().COR_PEGA);
  Key end;
  bool filled = false;
  std::optional<screen::EditValue> confirmed;
  if (first.is_char()) {
    EditEffect e = buf.Handle(first);
    if (e == EditEffect::kFilled) filled = true;
  }
  for (;;) {
    if (!filled) {
      if (popup) ShowPopup(buf.Text(), row);
      std::string vis = buf.Visible();
      vis.resize(std::max<int>(static_cast<int>(vis.size()), c.width()), ' ');
      tk.Write(row, x, vis.substr(0, c.width()), active);
      tk.SetCursor(row, x + std::min(buf.CursorColumn(), c.width() - 1));
      tk.ShowCursor(true);
      tk.Flush();
      end = tk.WaitKey();
      EditEffect e = buf.Handle(end);
      if (e == EditEffect::kFilled) {
        filled = true;
      } else if (e == EditEffect::kRefused) {
        tk.Beep();
        continue;
      } else if (e != EditEffect::kNotMine || !EndsEdit(end)) {
        continue;
      }
    }
    if (filled) end = Key::Char(' ');
    filled = false;
    if (end.type == KeyType::kEsc) break;
    Result<screen::EditValue> typed = buf.Value();
    if (!typed.ok()) {  // a date that does not exist: the field is not left
      tk.Beep();
      continue;
    }
    screen::EditValue v = *typed;
    if (profile_.hooks.validate && !profile_.hooks.validate(*this, col_, v)) continue;
    confirmed = std::move(v);  // as the validation left it
    break;
  }
  tk.ShowCursor(false);
  if (popup_) {
    tk.Restore(*popup_);
    popup_.reset();
  }
  if (end.type == KeyType::kEsc) return std::vector<Key>{};
  const bool was_appending = appending_;
  if (was_appending && !buf.changed()) {
    // Nothing typed on the append row: no record.
    return EXITKEY(end, true);
  }
  bool key_changed = false;
  Status st = WriteCell(*confirmed, &key_changed);
  if (st.IsLocked() || st.IsCancelled()) return std::vector<Key>{};  // the box was shown
  DODU_RETURN_IF_ERROR(st);
  if (key_changed && !was_appending) return std::vector<Key>{};
  return EXITKEY(end, was_appending);
}

Status RecordBrowser::F_TROCA(const screen::EditValue& value) {
  if (profile_.hooks.f_troca) return profile_.hooks.f_troca(*this, value);
  std::optional<store::RecNo> n = current_recno();
  if (!n) return Status::NotFound("F_TROCA: no current record");
  const CompiledColumn& c = cols_[col_];
  const bool stamp =
      IsOwnWorkCopy(ec_.store, area_.table()) && area_.table().layout().Find("CPF") != nullptr;
  return ChangeRecord(ec_, area_, *n, [&](store::Record& rec) {
    DODU_RETURN_IF_ERROR(c.Set(rec, value));
    if (stamp) DODU_RETURN_IF_ERROR(rec.PutText("CPF", ec_.state.cpf));
    return Status::Ok();
  });
}

}  // namespace dodu::entry
