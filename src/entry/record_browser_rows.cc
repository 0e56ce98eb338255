// The row operations and the copy buffer of the record browser: delete with
// its cascade, the two kinds of insert, renumbering, ordering by a column, the
// copy buffer and the clipboard, the hot keys.
#include <algorithm>

#include "core/codepage.h"
#include "core/picture.h"
#include "entry/adic_reg.h"
#include "entry/browse_keys.h"
#include "entry/record_browser.h"
#include "entry/record_write.h"
#include "screen/mens.h"
#include "screen/message_box.h"
#include "store/rec_lock.h"

namespace dodu::entry {

using screen::Key;
using screen::KeyType;

namespace {

bool IsDescriptionField(const std::string& f) {
  return f == "I7_2" || f == "I8_2" || f == "OBSERV" || f == "NOTAS";
}
bool IsValueField(const std::string& f) {
  return f == "I7_3" || f == "I7_4" || f == "I8_3" || f == "I8_4";
}

std::string TrimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

Result<core::Decimal> NumberOf(store::Table& t, store::RecNo n, const std::string& field) {
  DODU_ASSIGN_OR_RETURN(store::Record r, t.Read(n));
  return r.GetNumber(field);
}

}  // namespace

Status RecordBrowser::HandleAction(Key k, std::deque<Key>& next) {
  const BrowseAction a = ClassifyKey(profile_.number, k, {ec_.state.has_rural});
  screen::Toolkit& tk = ec_.tk;
  switch (a) {
    case BrowseAction::kMove:
      Move(k);
      return Status::Ok();
    case BrowseAction::kClick:
    case BrowseAction::kEdit: {
      if (k.is_mouse()) {
        const int slot = k.row - (rect_.top + 3);
        if (slot < 0 || slot >= DataRows()) return Status::Ok();
        const int index = top_ + slot;
        if (index > static_cast<int>(rows_.size()) ||
            (index == static_cast<int>(rows_.size()) && !appending_)) {
          return Status::Ok();
        }
        for (const Placed& q : Layout()) {
          if (k.col >= q.x && k.col < q.x + q.width && q.column >= profile_.frozen) {
            SetCursor(index, q.column);
          }
        }
        if (a == BrowseAction::kClick) return Status::Ok();
        k = Key::Enter();
      }
      DODU_ASSIGN_OR_RETURN(std::vector<Key> after, DOGET(k));
      for (const Key& x : after) next.push_back(x);
      return Status::Ok();
    }
    case BrowseAction::kTypeEdit: {
      DODU_ASSIGN_OR_RETURN(std::vector<Key> after, DOGET(k));
      for (const Key& x : after) next.push_back(x);
      return Status::Ok();
    }
    case BrowseAction::kDelete:
      return DeleteCurrent();
    case BrowseAction::kInsert:
      return InsertCurrent();
    case BrowseAction::kInsertMany: {
      if (profile_.insert != InsertMode::kAfterLine || appending_) return Status::Ok();
      screen::MapVariableStore vars;
      vars.Define("NLINHAS", core::Decimal());
      screen::MensArgs args;
      args.text = core::Cp850("Insere    linhas após esse Item.");
      args.variable = "NLINHAS";
      args.vars = &vars;
      args.picture = "9";
      args.length = 1;
      DODU_ASSIGN_OR_RETURN(screen::MensResult r, screen::MENS(tk, 4, args));
      if (r.cancelled || !r.value) return Status::Ok();
      const auto* d = std::get_if<core::Decimal>(&*r.value);
      if (d == nullptr || d->Sign() <= 0) return Status::Ok();
      return InsertMany(static_cast<int>(d->ToScaled(0)));
    }
    case BrowseAction::kRenumber:
      return Renumber();
    case BrowseAction::kOrder:
      return OrderByCurrentColumn();
    case BrowseAction::kSelectOrder:
      // The selection lists order by name, CPF or status: their first orders.
      DODU_RETURN_IF_ERROR(area_.SetOrder(k.code));
      temp_.reset();
      return Reload();
    case BrowseAction::kCopy: {
      if (!cols_[col_].editable()) return Status::Ok();
      DODU_ASSIGN_OR_RETURN(store::Record rec, CurrentRecord());
      DODU_ASSIGN_OR_RETURN(screen::EditValue v, cols_[col_].Get(rec));
      ec_.state.CLIPTEX.Copy(v);
      return Status::Ok();
    }
    case BrowseAction::kAddToBuffer: {
      const std::string& f = cols_[col_].column().field;
      if (!current_recno() || (!IsDescriptionField(f) && !IsValueField(f))) {
        tk.Beep();
        return Status::Ok();
      }
      DODU_ASSIGN_OR_RETURN(store::Record rec, CurrentRecord());
      if (IsDescriptionField(f)) {
        DODU_ASSIGN_OR_RETURN(std::string t, rec.GetText(f));
        ec_.state.CLIPTEX.AddLine(t);
      } else {
        DODU_ASSIGN_OR_RETURN(core::Decimal v, rec.GetNumber(f));
        ec_.state.CLIPTEX.AddValue(v);
      }
      return Status::Ok();
    }
    case BrowseAction::kBufferToClip:
      tk.CopyToClipboard(ec_.state.CLIPTEX.Take());
      return Status::Ok();
    case BrowseAction::kPaste: {
      const store::FieldSpec* spec = cols_[col_].edit_spec();
      if (spec == nullptr) return Status::Ok();
      screen::EditKind kind = spec->type == store::FieldType::kNumeric ? screen::EditKind::kNumber
                              : spec->type == store::FieldType::kChar  ? screen::EditKind::kText
                                                                       : screen::EditKind::kDate;
      auto v = ec_.state.CLIPTEX.PasteFor(kind, spec->length);
      if (std::holds_alternative<std::monostate>(v)) {
        tk.Beep();
        return Status::Ok();
      }
      return WriteCell(std::get<screen::EditValue>(v), nullptr);
    }
    case BrowseAction::kAppendText: {
      const std::string& f = cols_[col_].column().field;
      if (!current_recno() || (f != "I7_2" && f != "I8_2") || !ec_.state.CLIPTEX.is_text()) {
        return Status::Ok();
      }
      if (!Confirm({core::Cp850("Essa opção acrescenta os dados copiados com ALT M"),
                    core::Cp850(" para o fim dessa descrição.Confirma?")})) {
        return Status::Ok();
      }
      DODU_ASSIGN_OR_RETURN(store::Record rec, CurrentRecord());
      DODU_ASSIGN_OR_RETURN(std::string t, rec.GetText(f));
      std::string add = ec_.state.CLIPTEX.text();
      while (!add.empty() && (add.back() == '\n' || add.back() == '\r')) add.pop_back();
      return WriteCell(screen::EditValue(TrimRight(t) + " " + add), nullptr);
    }
    case BrowseAction::kPasteClipboard:
      return PasteClipboard();
    case BrowseAction::kCalculator: {
      if (!ec_.state.hot_keys.calculator || !cols_[col_].editable()) return Status::Ok();
      std::optional<core::Decimal> r = ec_.state.hot_keys.calculator();
      if (!r) return Status::Ok();
      const store::FieldSpec* spec = cols_[col_].edit_spec();
      if (spec->type == store::FieldType::kNumeric) return WriteCell(*r, nullptr);
      if (spec->type != store::FieldType::kChar) return Status::Ok();
      DODU_ASSIGN_OR_RETURN(store::Record rec, CurrentRecord());
      DODU_ASSIGN_OR_RETURN(std::string t, rec.GetText(spec->name));
      std::string s = TrimRight(t) + core::Transform(*r, "@EZ 9999,999,999.99");
      if (static_cast<int>(s.size()) > spec->length) return Status::Ok();  // it does not fit
      return WriteCell(screen::EditValue(s), nullptr);
    }
    case BrowseAction::kWindowsCalc: {
      platform::SpawnOptions o;
      o.wait = false;
      (void)tk.terminal().Launch({"calc.exe"}, o);
      return Status::Ok();
    }
    case BrowseAction::kSave:
      if (ec_.state.saving_allowed && ec_.state.hot_keys.save_declaration) {
        ec_.state.hot_keys.save_declaration();
      }
      return Status::Ok();
    case BrowseAction::kUseClock:
      if (ec_.state.hot_keys.toggle_use_clock) ec_.state.hot_keys.toggle_use_clock();
      return Status::Ok();
    default:
      return Status::Ok();
  }
}

Status RecordBrowser::DeleteCurrent() {
  std::optional<store::RecNo> n = current_recno();
  if (!n) return Status::Ok();  // the append row is never deleted
  DODU_RETURN_IF_ERROR(area_.GoTo(*n));
  // Without the lock nothing goes: not the row, not what belongs to it.
  DODU_RETURN_IF_ERROR(store::REC_LOCK(ec_.store, area_, kBrowserLockSeconds));
  Status st = [&]() -> Status {
    DODU_ASSIGN_OR_RETURN(store::Record rec, area_.table().Read(*n));
    bool yes = false;
    if (profile_.hooks.confirm_delete) {
      yes = profile_.hooks.confirm_delete(*this, rec);
    } else if (profile_.number == 1 || profile_.number == 2) {
      const int count = IncomeLineEntryCount(rec);
      if (count > 0) {
        std::string c = std::to_string(count);
        if (c.size() < 2) c.insert(0, 2 - c.size(), ' ');
        yes = Confirm({core::Cp850("Essa linha contem " + c + " lançamentos"),
                       core::Cp850("Confirma a Exclusão dessa linha?")});
      } else {
        yes = Confirm({core::Cp850("Confirma a Exclusão dessa linha?")});
      }
    } else {
      yes = Confirm({core::Cp850("Confirma a Exclusão dessa linha?")});
    }
    if (!yes) return Status::Cancelled();
    if (profile_.hooks.cascade_delete)
      DODU_RETURN_IF_ERROR(profile_.hooks.cascade_delete(*this, rec));
    return area_.table().SetDeleted(*n, true);
  }();
  area_.table().UnlockRecord(*n);
  if (!st.ok()) return st.IsCancelled() ? Status::Ok() : st;
  if (profile_.hooks.after_delete) profile_.hooks.after_delete(*this);
  const int was = cur_;
  rows_.erase(rows_.begin() + was);
  DODU_RETURN_IF_ERROR(Reload());
  if (rows_.empty()) {
    appending_ = true;
    cur_ = 0;
  } else {
    appending_ = false;
    cur_ = std::min(was, static_cast<int>(rows_.size()) - 1);
  }
  EnsureVisible();
  return Status::Ok();
}

Status RecordBrowser::InsertCurrent() {
  if (profile_.insert == InsertMode::kNone) return Status::Ok();
  if (appending_) {
    // Ins on the append row makes the record right away.
    DODU_ASSIGN_OR_RETURN(store::RecNo added, NewRecord());
    area_.table().UnlockRecord(added);
    return FRESHORDER(added);
  }
  if (profile_.insert == InsertMode::kAfterLine) {
    if (!Confirm({core::Cp850("Insere uma linha após esse Item?")})) return Status::Ok();
    return InsertMany(1);
  }
  if (!Confirm({core::Cp850("Insere uma linha ANTES desse Item?")})) return Status::Ok();
  // The rows from the current one on move one record down, every field of
  // them, into a record appended at the end; the current record is emptied.
  std::vector<store::RecNo> chain(rows_.begin() + cur_, rows_.end());
  DODU_ASSIGN_OR_RETURN(store::RecNo added, NewRecord());
  chain.push_back(added);
  Status st;
  for (size_t j = chain.size() - 1; j >= 1 && st.ok(); --j) {
    Result<store::Record> from = area_.table().Read(chain[j - 1]);
    if (!from.ok()) {
      st = from.status();
      break;
    }
    std::string bytes = from->bytes();
    st = ChangeRecord(ec_, area_, chain[j], [&](store::Record& rec) {
      std::string b = bytes;
      b[0] = rec.bytes()[0];
      rec = store::Record(rec.shared_layout(), std::move(b));
      return Status::Ok();
    });
  }
  if (st.ok()) {
    st = ChangeRecord(ec_, area_, chain[0], [&](store::Record& rec) {
      store::Record emptied = store::Record::Blank(rec.shared_layout());
      if (profile_.hooks.clear_for_insert) {
        profile_.hooks.clear_for_insert(emptied, rec);
      } else if (rec.layout().Find("CPF") != nullptr) {
        DODU_ASSIGN_OR_RETURN(std::string cpf, rec.GetText("CPF"));
        DODU_RETURN_IF_ERROR(emptied.PutText("CPF", cpf));
      }
      rec = std::move(emptied);
      return Status::Ok();
    });
  }
  area_.table().UnlockRecord(added);
  DODU_RETURN_IF_ERROR(st);
  return FRESHORDER(chain[0]);
}

Status RecordBrowser::InsertMany(int count) {
  std::optional<store::RecNo> n = current_recno();
  if (!n || profile_.line_field.empty()) return Status::Ok();
  const std::string& lf = profile_.line_field;
  DODU_ASSIGN_OR_RETURN(core::Decimal line, NumberOf(area_.table(), *n, lf));
  const int64_t base = line.ToScaled(0);
  // The rows that follow keep steps of 10 behind the new ones.
  std::vector<store::RecNo> after(rows_.begin() + cur_ + 1, rows_.end());
  // (Alt L leaves them: its new lines fit between current and current + 10.)
  int64_t next = base + 11;
  for (store::RecNo r : count == 1 ? after : std::vector<store::RecNo>{}) {
    DODU_RETURN_IF_ERROR(WriteField(ec_, area_, r, lf, core::Decimal::FromInt(next)));
    next += 10;
  }
  store::RecNo last = *n;
  for (int i = 1; i <= count; ++i) {
    DODU_ASSIGN_OR_RETURN(store::RecNo added, NewRecord());
    Status st = ChangeRecord(ec_, area_, added, [&](store::Record& rec) {
      return rec.PutNumber(lf, core::Decimal::FromInt(base + i));
    });
    area_.table().UnlockRecord(added);
    DODU_RETURN_IF_ERROR(st);
    last = added;
  }
  return FRESHORDER(count == 1 ? last : *n);
}

Status RecordBrowser::Renumber() {
  const std::string& f = cols_[col_].column().field;
  const bool item = !profile_.item_field.empty() && f == profile_.item_field;
  const bool line = !profile_.line_field.empty() && f == profile_.line_field;
  if (profile_.item_field.empty() && profile_.line_field.empty()) return Status::Ok();
  std::optional<store::RecNo> n = current_recno();
  if (!n) return Status::Ok();
  if (!item && !line) {
    screen::AVISOSN(ec_.tk, "Posicione o cursor sobre a coluna Item ou Linha");
    return Status::Ok();
  }
  DODU_ASSIGN_OR_RETURN(core::Decimal cur, NumberOf(area_.table(), *n, f));
  if (item && cur.IsZero()) {
    screen::AVISOSN(ec_.tk,
                    core::Cp850("Só é possível reorganizar a partir de um item diferente de Zero"));
    return Status::Ok();
  }
  const std::string q = item ? "Reorganiza os nros dos Bens/dividas após esse Item?"
                             : "Reorganiza os nros das Linhas após esse Item?";
  if (!Confirm({core::Cp850(q)})) return Status::Ok();
  const int64_t step = item ? 1 : 10;
  int64_t next = cur.ToScaled(0) + step;
  std::vector<store::RecNo> after(rows_.begin() + cur_ + 1, rows_.end());
  for (store::RecNo r : after) {
    DODU_ASSIGN_OR_RETURN(core::Decimal v, NumberOf(area_.table(), r, f));
    if (v.IsZero()) continue;
    DODU_RETURN_IF_ERROR(WriteField(ec_, area_, r, f, core::Decimal::FromInt(next)));
    next += step;
  }
  return FRESHORDER(*n);
}

Status RecordBrowser::OrderByCurrentColumn() {
  const std::string& key = cols_[col_].column().order_key;
  if (key.empty()) {
    ec_.tk.Beep();
    return Status::Ok();
  }
  temp_.reset();  // the file is this terminal's: a new order replaces it
  DODU_ASSIGN_OR_RETURN(temp_, TempIndex::Build(ec_.store, area_.table(), key));
  appending_ = false;
  cur_ = 0;
  top_ = 0;
  return Reload();
}

Status RecordBrowser::PasteClipboard() {
  const std::string& f = profile_.description_field;
  if (f.empty() || area_.table().layout().Find(f) == nullptr) return Status::Ok();
  std::vector<std::string> lines = ClipboardLines(ec_.tk.terminal().GetClipboard());
  std::optional<store::RecNo> last;
  for (const std::string& line : lines) {
    std::vector<std::string> pieces;
    if (profile_.paste_piece_width > 0) {
      pieces = NotePieces(line);
    } else {
      pieces = {line};
    }
    for (const std::string& piece : pieces) {
      DODU_ASSIGN_OR_RETURN(store::RecNo added, NewRecord());
      Status st = ChangeRecord(ec_, area_, added, [&](store::Record& rec) {
        if (profile_.hooks.paste_row) DODU_RETURN_IF_ERROR(profile_.hooks.paste_row(rec));
        return rec.PutText(f, piece);
      });
      area_.table().UnlockRecord(added);
      DODU_RETURN_IF_ERROR(st);
      last = added;
    }
  }
  if (!last) return Status::Ok();
  return FRESHORDER(*last);
}

}  // namespace dodu::entry
