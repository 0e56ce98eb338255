#include "screen/form.h"

#include <map>
#include <optional>

#include "screen/edit_clipboard.h"

namespace dodu::screen {

std::vector<Key> FormOptions::DefaultExitKeys() {
  std::vector<Key> keys = {Key::Named(KeyType::kTab), Key::Named(KeyType::kShiftTab)};
  for (int n = 1; n <= 12; ++n) keys.push_back(Key::F(n));
  return keys;
}

namespace {

bool Contains(const std::vector<Key>& keys, const Key& k) {
  for (const Key& x : keys)
    if (x == k) return true;
  return false;
}

void PutText(Toolkit& t, int row, int col, const std::string& text, Attr attr) {
  for (size_t i = 0; i < text.size(); ++i) {
    t.Put(row, col + static_cast<int>(i), Cell{static_cast<uint8_t>(text[i]), attr});
  }
}

// The field being edited, handed to hot keys and VALID.
class Active : public ActiveField {
 public:
  Active(Toolkit& term, const FormField& field, int index, EditBuffer& buf, Attr attr)
      : tk_(term), field_(field), index_(index), buf_(buf), attr_(attr) {}

  const std::string& name() const override { return field_.name; }
  const std::string& picture() const override { return field_.picture; }
  int index() const override { return index_; }
  Result<EditValue> value() const override { return buf_.Value(); }
  Status set_value(const EditValue& v) override {
    DODU_RETURN_IF_ERROR(buf_.SetValue(v));
    Draw();
    return Status::Ok();
  }
  EditKind kind() const override { return buf_.kind(); }
  int width() const override { return buf_.Width(); }

  void Draw() {
    PutText(tk_, field_.row, field_.col, buf_.Visible(), attr_);
    tk_.SetCursor(field_.row, field_.col + buf_.CursorColumn());
    tk_.ShowCursor(true);
    tk_.Flush();
  }

 private:
  Toolkit& tk_;
  const FormField& field_;
  int index_;
  EditBuffer& buf_;
  Attr attr_;
};

}  // namespace

Form::Form(Toolkit& toolkit, VariableStore& vars, std::vector<FormField> fields,
           FormOptions options)
    : tk_(toolkit), vars_(vars), fields_(std::move(fields)), options_(std::move(options)) {}

Status Form::Draw() {
  for (const FormField& f : fields_) {
    DODU_ASSIGN_OR_RETURN(EditValue v, vars_.Get(f.name));
    DODU_ASSIGN_OR_RETURN(std::string text, FieldDisplay(v, f.picture, f.width));
    PutText(tk_, f.row, f.col, text, options_.inactive_attr);
  }
  tk_.Flush();
  return Status::Ok();
}

Result<FormResult> Form::Read() {
  // What Esc puts back: the value of every variable as the form found it.
  std::map<std::string, EditValue> originals;
  for (const FormField& f : fields_) {
    DODU_ASSIGN_OR_RETURN(EditValue v, vars_.Get(f.name));
    originals.emplace(f.name, std::move(v));
  }
  DODU_RETURN_IF_ERROR(Draw());
  const int n = static_cast<int>(fields_.size());
  auto enterable = [&](int i) { return !fields_[i].when || fields_[i].when(vars_); };

  int current = -1;
  for (int i = std::max(0, options_.first_field); i < n; ++i) {
    if (enterable(i)) {
      current = i;
      break;
    }
  }
  if (current < 0) return FormResult{FormEnd::kNoFields, Key(), -1};

  while (true) {
    const FormField& field = fields_[current];
    DODU_ASSIGN_OR_RETURN(EditValue start, vars_.Get(field.name));
    DODU_ASSIGN_OR_RETURN(EditBuffer buf,
                          EditBuffer::Create(start, field.picture, field.width,
                                             EditOptions{options_.confirm, insert_}));
    Active active(tk_, field, current, buf, options_.active_attr);
    active.Draw();

    // Leaving the field: store what was typed and ask VALID. False keeps the
    // cursor in the field.
    auto leave = [&]() -> Result<bool> {
      Result<EditValue> typed = buf.Value();
      if (!typed.ok()) return false;  // a date that does not exist
      DODU_RETURN_IF_ERROR(vars_.Set(field.name, *typed));
      if (field.valid && !field.valid(vars_, active)) {
        active.Draw();
        return false;
      }
      DODU_ASSIGN_OR_RETURN(EditValue stored, vars_.Get(field.name));
      DODU_ASSIGN_OR_RETURN(std::string text, FieldDisplay(stored, field.picture, field.width));
      PutText(tk_, field.row, field.col, text, options_.inactive_attr);
      return true;
    };

    std::optional<FormResult> done;
    int move = 0;  // +1 next field, -1 previous
    Key move_key;
    while (!done && move == 0) {
      const Key key = tk_.WaitKey();
      move_key = key;
      insert_ = buf.insert();

      const HotKey* hot = nullptr;
      for (const HotKey& h : options_.hot_keys)
        if (h.key == key) hot = &h;
      if (hot) {
        HotKeyAction action = hot->run(tk_, vars_, active);
        active.Draw();
        if (action == HotKeyAction::kLeave) {
          DODU_ASSIGN_OR_RETURN(bool left, leave());
          if (left) done = FormResult{FormEnd::kExitKey, key, current};
        }
        continue;
      }
      if (key.type == KeyType::kMenu) {
        done = FormResult{FormEnd::kMenu, key, current};
        continue;
      }
      if (key == Key::Ctrl('V')) {
        std::optional<EditValue> v =
            PasteValue(tk_.terminal().GetClipboard(), buf.kind(), field.picture, buf.Width());
        // A value that does not fit the field changes nothing either.
        if (v) (void)buf.SetValue(*v);
        active.Draw();
        continue;
      }
      if (key == Key::Ctrl('C')) {
        Result<EditValue> v = buf.Value();
        if (v.ok()) tk_.CopyToClipboard(CopyText(*v));
        continue;
      }

      EditEffect effect = buf.Handle(key);
      insert_ = buf.insert();
      if (effect == EditEffect::kFilled) {
        active.Draw();
        DODU_ASSIGN_OR_RETURN(bool left, leave());
        if (left) move = +1;
        continue;
      }
      if (effect != EditEffect::kNotMine) {
        active.Draw();
        continue;
      }
      switch (key.type) {
        case KeyType::kEnter:
        case KeyType::kDown: {
          DODU_ASSIGN_OR_RETURN(bool left, leave());
          if (left) move = +1;
          break;
        }
        case KeyType::kUp: {
          DODU_ASSIGN_OR_RETURN(bool left, leave());
          if (left) move = -1;
          break;
        }
        case KeyType::kPgDn: {
          DODU_ASSIGN_OR_RETURN(bool left, leave());
          if (left) done = FormResult{FormEnd::kSaved, key, current};
          break;
        }
        case KeyType::kEsc: {
          for (const auto& [name, value] : originals) {
            DODU_RETURN_IF_ERROR(vars_.Set(name, value));
          }
          DODU_RETURN_IF_ERROR(Draw());
          return FormResult{FormEnd::kEscaped, key, current};
        }
        default:
          if (key == Key::Ctrl('W')) {
            DODU_ASSIGN_OR_RETURN(bool left, leave());
            if (left) done = FormResult{FormEnd::kSaved, key, current};
          } else if (Contains(options_.exit_keys, key)) {
            DODU_ASSIGN_OR_RETURN(bool left, leave());
            if (left) done = FormResult{FormEnd::kExitKey, key, current};
          }
          break;
      }
    }
    if (move == +1) {
      int next = current + 1;
      while (next < n && !enterable(next)) ++next;
      // Past the last field the form ends, as with PgDn.
      if (next >= n) done = FormResult{FormEnd::kSaved, move_key, current};
      else current = next;
    } else if (move == -1) {
      int prev = current - 1;
      while (prev >= 0 && !enterable(prev)) --prev;
      // Up on the first field enters it again.
      if (prev >= 0) current = prev;
    }
    if (done) {
      tk_.ShowCursor(false);
      tk_.Flush();
      return *done;
    }
  }
}

}  // namespace dodu::screen
