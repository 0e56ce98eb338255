#include "entry/record_browser.h"

#include <algorithm>

#include "core/codepage.h"
#include "core/picture.h"
#include "entry/browse_keys.h"
#include "screen/message_box.h"

namespace dodu::entry {

using screen::Attr;
using screen::Key;
using screen::KeyType;

namespace {

constexpr uint8_t kVertical = 0xB3;    // │
constexpr uint8_t kHorizontal = 0xC4;  // ─
constexpr uint8_t kCross = 0xC5;       // ┼

}  // namespace

RecordBrowser::RecordBrowser(EntryContext& ec, Profile& profile, store::WorkArea& area,
                             BrowseRect rect)
    : ec_(ec), profile_(profile), area_(area), rect_(rect) {}

RecordBrowser::~RecordBrowser() {
  if (popup_) ec_.tk.Restore(*popup_);
}

Status RecordBrowser::Init() {
  const int shown = profile_.shown_columns();
  if (static_cast<int>(profile_.columns.size()) < shown || shown == 0) {
    return Status::Invalid("profile " + std::to_string(profile_.number) +
                           ": fewer column definitions than N_CAM");
  }
  cols_.clear();
  for (int i = 0; i < shown; ++i) {
    DODU_ASSIGN_OR_RETURN(CompiledColumn c, CompiledColumn::Compile(profile_.columns[i],
                                                                    area_.table().shared_layout()));
    cols_.push_back(std::move(c));
  }
  if (profile_.order >= 0) DODU_RETURN_IF_ERROR(area_.SetOrder(profile_.order));
  frozen_ = profile_.frozen;
  col_ = std::clamp(std::max(profile_.first_column, profile_.frozen), 0, shown - 1);
  left_ = frozen_;
  DODU_RETURN_IF_ERROR(Reload());
  cur_ = 0;
  appending_ = rows_.empty();
  if (appending_) cur_ = 0;
  EntryState& s = ec_.state;
  if (s.LTEMERR) {
    // A jump from the warnings list: the record and column asked for first.
    for (size_t i = 0; i < rows_.size(); ++i) {
      if (static_cast<int>(rows_[i].value) == s.NPOSIATU) cur_ = static_cast<int>(i);
    }
    if (s.NQCOL > 0) MoveColumn(std::min(s.NQCOL - 1, shown - 1));
    s.LTEMERR = false;
  }
  EnsureVisible();
  SyncState();
  return Status::Ok();
}

std::optional<store::RecNo> RecordBrowser::current_recno() const {
  if (appending_ || cur_ < 0 || cur_ >= static_cast<int>(rows_.size())) return std::nullopt;
  return rows_[cur_];
}

Result<store::Record> RecordBrowser::CurrentRecord() {
  std::optional<store::RecNo> n = current_recno();
  if (!n) return store::Record::Blank(area_.table().shared_layout());
  return area_.table().Read(*n);
}

Status RecordBrowser::Reload() {
  std::optional<store::RecNo> keep = current_recno();
  std::vector<store::RecNo> rows;
  auto take = [&](store::RecNo n, const store::Record& r) {
    if (r.deleted() && area_.hide_deleted) return;
    if (profile_.filter && !profile_.filter(r)) return;
    rows.push_back(n);
  };
  if (temp_) {
    DODU_ASSIGN_OR_RETURN(std::vector<store::RecNo> order, temp_->Order());
    for (store::RecNo n : order) {
      DODU_ASSIGN_OR_RETURN(store::Record r, area_.table().Read(n));
      take(n, r);
    }
  } else {
    DODU_RETURN_IF_ERROR(area_.Top());
    while (!area_.eof()) {
      DODU_ASSIGN_OR_RETURN(store::Record r, area_.Current());
      take(area_.recno(), r);
      DODU_RETURN_IF_ERROR(area_.Skip(1));
    }
  }
  rows_ = std::move(rows);
  if (keep) {
    auto it = std::find(rows_.begin(), rows_.end(), *keep);
    if (it != rows_.end()) cur_ = static_cast<int>(it - rows_.begin());
  }
  if (rows_.empty()) {
    appending_ = true;
    cur_ = 0;
  } else if (!appending_) {
    cur_ = std::clamp(cur_, 0, static_cast<int>(rows_.size()) - 1);
  } else {
    cur_ = static_cast<int>(rows_.size());
  }
  EnsureVisible();
  return Status::Ok();
}

void RecordBrowser::SetCursor(int row_index, int column) {
  if (row_index >= static_cast<int>(rows_.size())) {
    appending_ = true;
    cur_ = static_cast<int>(rows_.size());
  } else {
    appending_ = false;
    cur_ = std::max(0, row_index);
  }
  MoveColumn(column);
  EnsureVisible();
  SyncState();
}

int RecordBrowser::FootRows() const {
  return (profile_.footing_separator || profile_.footing.any()) ? 2 : 0;
}

int RecordBrowser::DataRows() const {
  // Inside the frame: headings, their separator, the rows, the footing.
  return std::max(1, (rect_.bottom - 1) - (rect_.top + 1) + 1 - 2 - FootRows());
}

std::vector<RecordBrowser::Placed> RecordBrowser::Layout() const {
  std::vector<Placed> out;
  const int first = rect_.left + 1, last = rect_.right - 1;
  int x = first;
  auto place = [&](int c) {
    if (x > last) return false;
    int w = std::min(cols_[c].width(), last - x + 1);
    if (w < cols_[c].width() && !out.empty() && c >= frozen_ && c != col_) return false;
    out.push_back({c, x, w});
    x += w + 1;
    return true;
  };
  for (int c = 0; c < frozen_ && c < column_count(); ++c) place(c);
  for (int c = std::max(left_, frozen_); c < column_count(); ++c) {
    if (!place(c)) break;
  }
  return out;
}

void RecordBrowser::EnsureVisible() {
  const int n = static_cast<int>(rows_.size());
  const int pos = appending_ ? n : cur_;
  const int h = DataRows();
  if (pos < top_) top_ = pos;
  if (pos >= top_ + h) top_ = pos - h + 1;
  top_ = std::max(0, top_);
  if (left_ < frozen_) left_ = frozen_;
  if (col_ >= frozen_ && col_ < left_) left_ = col_;
  for (;;) {
    std::vector<Placed> p = Layout();
    bool shown = std::any_of(p.begin(), p.end(), [&](const Placed& q) {
      return q.column == col_ && q.width == cols_[col_].width();
    });
    if (shown || left_ >= col_) break;
    ++left_;
  }
}

void RecordBrowser::MoveColumn(int to) {
  const int min_col = profile_.frozen;
  col_ = std::clamp(to, min_col, column_count() - 1);
  if (profile_.dynamic_frozen > 0) {
    // Profiles 1 and 2 keep the payer at the left only while the cursor is
    // right of the third column.
    if (col_ > 2) frozen_ = profile_.dynamic_frozen;
    if (col_ < 3) frozen_ = 0;
  }
  EnsureVisible();
}

void RecordBrowser::Move(Key key) {
  const int n = static_cast<int>(rows_.size());
  const int h = DataRows();
  auto leave_append = [&] {
    if (n > 0) {
      appending_ = false;
      cur_ = n - 1;
    }
  };
  auto down_to = [&](int to) {
    if (appending_) return;
    if (to >= n) {
      if (cur_ >= n - 1 && AppendRowAllowed(profile_.number)) {
        appending_ = true;
        cur_ = n;
      } else {
        cur_ = std::max(0, n - 1);
      }
    } else {
      cur_ = to;
    }
  };
  switch (key.type) {
    case KeyType::kDown:
      down_to(cur_ + 1);
      break;
    case KeyType::kPgDn:
      down_to(cur_ >= n - 1 ? n : std::min(n - 1, cur_ + h));
      break;
    case KeyType::kUp:
      if (appending_)
        leave_append();
      else if (cur_ > 0)
        --cur_;
      break;
    case KeyType::kPgUp:
      if (appending_)
        leave_append();
      else
        cur_ = std::max(0, cur_ - h);
      break;
    case KeyType::kCtrlPgUp:
      if (appending_)
        leave_append();
      else
        cur_ = 0;
      break;
    case KeyType::kCtrlPgDn:
      if (appending_)
        leave_append();
      else
        cur_ = std::max(0, n - 1);
      break;
    case KeyType::kRight:
      MoveColumn(col_ + 1);
      break;
    case KeyType::kLeft:
      MoveColumn(col_ - 1);
      break;
    case KeyType::kCtrlHome:
      MoveColumn(0);
      left_ = frozen_;
      EnsureVisible();
      break;
    case KeyType::kCtrlEnd:
      MoveColumn(column_count() - 1);
      break;
    case KeyType::kHome: {
      std::vector<Placed> p = Layout();
      for (const Placed& q : p) {
        if (q.column >= frozen_) {
          MoveColumn(q.column);
          break;
        }
      }
      break;
    }
    case KeyType::kEnd: {
      std::vector<Placed> p = Layout();
      if (!p.empty()) MoveColumn(p.back().column);
      break;
    }
    case KeyType::kCtrlRight: {
      std::vector<Placed> p = Layout();
      int shown = std::max<int>(1, static_cast<int>(p.size()) - frozen_);
      MoveColumn(col_ + shown);
      break;
    }
    case KeyType::kCtrlLeft: {
      std::vector<Placed> p = Layout();
      int shown = std::max<int>(1, static_cast<int>(p.size()) - frozen_);
      MoveColumn(col_ - shown);
      break;
    }
    default:
      break;
  }
  EnsureVisible();
}

void RecordBrowser::SyncState() {
  EntryState& s = ec_.state;
  s.OPC = profile_.number;
  s.PONTEIRO = col_ + 1;
  s.PONTVERT = (appending_ ? static_cast<int>(rows_.size()) : cur_) - top_ + 1;
  s.LAPPEND = appending_;
  s.EDI_CAMPO = cols_.empty() ? std::string() : cols_[col_].column().field;
}

// ---- drawing ----

void RecordBrowser::DrawFrameAndHeadings() {
  screen::Toolkit& tk = ec_.tk;
  const screen::ColourSettings& cs = tk.colours();
  const Attr text = static_cast<Attr>(cs.COR_TEL1);
  const int l = rect_.left + 1, r = rect_.right - 1, t = rect_.top + 1;
  tk.Fill(t, l, rect_.bottom - 1, r, ' ', text);
  std::vector<Placed> p = Layout();
  std::string sep_line(r - l + 1, static_cast<char>(kHorizontal));
  for (const Placed& q : p) {
    std::string head = cols_[q.column].column().heading;
    head.resize(q.width, ' ');
    tk.Write(t, q.x, head, text);
    if (q.x + q.width <= r) {
      tk.Put(t, q.x + q.width, screen::Cell{kVertical, text});
      sep_line[q.x + q.width - l] = static_cast<char>(kCross);
    }
  }
  tk.Write(t + 1, l, sep_line, text);
  if (FootRows() > 0) tk.Write(rect_.bottom - 2, l, sep_line, text);
}

void RecordBrowser::DrawFooting() {
  if (!profile_.footing.any()) return;
  screen::Toolkit& tk = ec_.tk;
  const Attr text = static_cast<Attr>(tk.colours().COR_TEL1);
  const int row = rect_.bottom - 1, l = rect_.left + 1, r = rect_.right - 1;
  const Footing& f = profile_.footing;
  std::vector<Placed> p = Layout();
  tk.Fill(row, l, row, r, ' ', text);
  for (const Placed& q : p) {
    if (q.column < static_cast<int>(f.per_column.size())) {
      std::string s = f.per_column[q.column];
      s.resize(q.width, ' ');
      tk.Write(row, q.x, s, text);
    }
    if (q.x + q.width <= r) tk.Put(row, q.x + q.width, screen::Cell{kVertical, text});
  }
  if (!f.total_field.empty()) {
    core::Decimal sum;
    for (store::RecNo n : rows_) {
      Result<store::Record> rec = area_.table().Read(n);
      if (!rec.ok()) continue;
      Result<core::Decimal> v = rec->GetNumber(f.total_field);
      if (v.ok()) sum += *v;
    }
    if (!p.empty()) tk.Write(row, p.front().x, f.total_label.substr(0, p.front().width), text);
    for (const Placed& q : p) {
      if (cols_[q.column].column().field == f.total_field) {
        std::string s = core::Transform(sum, f.total_mask);
        if (static_cast<int>(s.size()) > q.width) s = s.substr(s.size() - q.width);
        s.insert(0, q.width - s.size(), ' ');
        tk.Write(row, q.x, s, text);
      }
    }
  }
  if (!f.count_label.empty()) {
    std::string s = f.count_label + std::to_string(rows_.size());
    tk.Write(row, l, s.substr(0, r - l + 1), text);
  }
}

void RecordBrowser::DrawRow(int slot) {
  screen::Toolkit& tk = ec_.tk;
  const screen::ColourSettings& cs = tk.colours();
  const Attr text = static_cast<Attr>(cs.COR_TEL1);
  const Attr current = static_cast<Attr>(cs.COR_ESCOL);
  const Attr append = static_cast<Attr>(cs.COR_ENCHE);
  const int row = rect_.top + 3 + slot, l = rect_.left + 1, r = rect_.right - 1;
  const int index = top_ + slot;
  const int n = static_cast<int>(rows_.size());
  tk.Fill(row, l, row, r, ' ', text);
  std::vector<Placed> p = Layout();
  std::optional<store::Record> rec;
  if (index < n) {
    Result<store::Record> got = area_.table().Read(rows_[index]);
    if (got.ok()) rec = std::move(*got);
  }
  const bool is_append_row = appending_ && index == n;
  const bool is_current = is_append_row || (!appending_ && index == cur_);
  for (const Placed& q : p) {
    std::string cell(q.width, ' ');
    if (rec) cell = cols_[q.column].Display(*rec).substr(0, q.width);
    Attr a = text;
    if (is_append_row) a = append;
    if (is_current && q.column == col_) a = current;
    if (rec || is_append_row) tk.Write(row, q.x, cell, a);
    if (q.x + q.width <= r) tk.Put(row, q.x + q.width, screen::Cell{kVertical, text});
  }
}

void RecordBrowser::Draw(bool interruptible) {
  DrawFrameAndHeadings();
  DrawFooting();
  const int h = DataRows();
  // The current row first, so what the user looks at is there when a key
  // cuts the redraw short.
  const int pos = (appending_ ? static_cast<int>(rows_.size()) : cur_) - top_;
  DrawRow(pos);
  for (int slot = 0; slot < h; ++slot) {
    if (slot == pos) continue;
    if (interruptible) {
      std::optional<Key> k = ec_.tk.PollKey();
      if (k) {
        pending_.push_back(*k);
        break;
      }
    }
    DrawRow(slot);
  }
  ec_.tk.Flush();
}

// ---- the loop ----

Result<std::optional<Key>> RecordBrowser::Leave(Key key) {
  EntryState& s = ec_.state;
  s.ULTTECLA = key;
  s.TECLAMUDA = true;
  return std::optional<Key>(key);
}

bool RecordBrowser::Confirm(const std::vector<std::string>& lines) {
  return screen::AVISOSN(ec_.tk, lines, 2) == "S";
}

Result<Key> RecordBrowser::Run() {
  EntryState& s = ec_.state;
  s.TECLAMUDA = false;
  if (s.SO_MOS == 0) {
    Draw(false);
    return Key();
  }
  for (;;) {
    Draw(true);
    if (s.LSAI) return Leave(Key::Esc()).value().value();
    Key key;
    if (!pending_.empty()) {
      key = pending_.front();
      pending_.pop_front();
    } else {
      std::optional<Key> k = ec_.tk.ReadKey(1000);
      if (!k) continue;  // the exit request is looked at once a second
      key = *k;
    }
    DODU_ASSIGN_OR_RETURN(std::optional<Key> left, Handle(key));
    if (left) return *left;
  }
}

Result<std::optional<Key>> RecordBrowser::Handle(Key key) {
  std::deque<Key> next{key};
  while (!next.empty()) {
    Key k = next.front();
    next.pop_front();
    if (k.type == KeyType::kMenu) return Leave(k);
    if (profile_.hooks.key) {
      KeyOutcome o = profile_.hooks.key(*this, k);
      if (o == KeyOutcome::kLeave) return Leave(k);
      if (o == KeyOutcome::kHandled) continue;
    }
    BrowseAction a = ClassifyKey(profile_.number, k, {ec_.state.has_rural});
    if (a == BrowseAction::kLeave) return Leave(k);
    if (a == BrowseAction::kEndDeclaration) {
      if (ec_.state.hot_keys.end_declaration) ec_.state.hot_keys.end_declaration();
      return Leave(k);
    }
    Status st = HandleAction(k, next);
    if (!st.ok() && !st.IsLocked() && !st.IsCancelled()) return st;
    SyncState();
  }
  return std::optional<Key>();
}

int IncomeLineEntryCount(const store::Record& record) {
  int count = 0;
  for (int i = 4; i <= 39; ++i) {
    if (i == 8 || i == 11 || i == 22 || i == 35 || i == 36) continue;
    Result<core::Decimal> v = record.GetNumber("I1_" + std::to_string(i));
    if (v.ok() && v->Sign() > 0) ++count;
  }
  return count;
}

}  // namespace dodu::entry
