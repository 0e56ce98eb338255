#include "entry/lookup_list.h"

#include <cctype>
#include <map>

#include "core/codepage.h"
#include "screen/colour.h"

namespace dodu::entry {

using screen::Key;
using screen::KeyType;

namespace {

// The one list that may be open (the re-entry guard).
bool list_open = false;

class OpenGuard {
 public:
  OpenGuard() { list_open = true; }
  ~OpenGuard() { list_open = false; }
  OpenGuard(const OpenGuard&) = delete;
  OpenGuard& operator=(const OpenGuard&) = delete;
};

// The browser draws its lines in COR_TEL1 and the current one in COR_ESCOL;
// a list draws them in its own colours, and the normal ones come back after.
class ListColours {
 public:
  ListColours(screen::ColourSettings& cs, bool gains)
      : cs_(cs), tel1_(cs.COR_TEL1), escol_(cs.COR_ESCOL) {
    if (gains) {
      cs.COR_TEL1 = screen::ColourOr(cs.COR_1_CLI, static_cast<screen::Attr>(tel1_));
      cs.COR_ESCOL = screen::ColourOr(cs.COR_GET, static_cast<screen::Attr>(escol_));
      return;
    }
    const std::string& selected = cs.COR_ESC_CL == cs.COR_CLI_HE ? cs.COR_2_CLI : cs.COR_ESC_CL;
    cs.COR_TEL1 = screen::ColourOr(cs.COR_CLI_HE, static_cast<screen::Attr>(tel1_));
    cs.COR_ESCOL = screen::ColourOr(selected, static_cast<screen::Attr>(escol_));
  }
  ~ListColours() {
    cs_.COR_TEL1 = tel1_;
    cs_.COR_ESCOL = escol_;
  }
  ListColours(const ListColours&) = delete;
  ListColours& operator=(const ListColours&) = delete;

 private:
  screen::ColourSettings& cs_;
  int tel1_, escol_;
};

bool Printable(const Key& k) { return k.type == KeyType::kChar && k.byte() >= 32; }

bool Movement(const Key& k) {
  switch (k.type) {
    case KeyType::kDown:
    case KeyType::kUp:
    case KeyType::kPgDn:
    case KeyType::kPgUp:
    case KeyType::kCtrlPgUp:
    case KeyType::kCtrlPgDn:
    case KeyType::kLeft:
    case KeyType::kRight:
    case KeyType::kHome:
    case KeyType::kEnd:
    case KeyType::kCtrlLeft:
    case KeyType::kCtrlRight:
    case KeyType::kCtrlHome:
    case KeyType::kCtrlEnd:
    case KeyType::kClick:
    case KeyType::kEsc:
      return true;
    default:
      return false;
  }
}

// Puts the browser's area in `order` (when the table has it) and reads the
// lines again in it.
Status UseOrder(RecordBrowser& b, int order) {
  store::WorkArea& a = b.area();
  if (order > static_cast<int>(a.order_count()) || a.active_order() == order) return Status::Ok();
  DODU_RETURN_IF_ERROR(a.SetOrder(order));
  return b.Reload();
}

Status SeekTyped(RecordBrowser& b, uint8_t ch) {
  store::WorkArea& a = b.area();
  const char up = static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch);
  const bool digit = std::isdigit(ch) != 0;
  const int order = (digit || a.order_count() < 2) ? 1 : 2;
  if (a.order_count() == 0) return Status::Ok();
  DODU_RETURN_IF_ERROR(UseOrder(b, order));
  DODU_ASSIGN_OR_RETURN(int row, SeekRow(b, std::string(1, up)));
  b.SetCursor(row, b.column());
  return Status::Ok();
}

}  // namespace

bool LookupListOpen() { return list_open; }

Result<int> SeekRow(RecordBrowser& b, std::string_view key) {
  const std::vector<store::RecNo>& rows = b.rows();
  if (rows.empty()) return 0;
  std::map<uint32_t, int> listed;
  for (size_t i = 0; i < rows.size(); ++i) listed[rows[i].value] = static_cast<int>(i);
  store::WorkArea& a = b.area();
  DODU_ASSIGN_OR_RETURN(bool hit, a.Seek(key, true));
  (void)hit;
  while (!a.eof()) {
    auto it = listed.find(a.recno().value);
    if (it != listed.end()) return it->second;
    DODU_RETURN_IF_ERROR(a.Skip(1));
  }
  return static_cast<int>(rows.size()) - 1;
}

Result<std::optional<LookupPick>> HBROWSE(EntryContext& ec, LookupList& list) {
  if (list_open) return std::optional<LookupPick>();
  OpenGuard guard;
  const int before = ec.areas.current();
  const int number = list.area != 0 ? list.area : before;
  store::WorkArea* wa = ec.areas.Get(number);
  if (wa == nullptr) return Status::NotFound("work area " + std::to_string(number) + " is empty");
  const bool hid = wa->hide_deleted;
  const store::RecNo was = wa->eof() ? store::RecNo{0} : wa->recno();
  wa->hide_deleted = true;
  ec.areas.Select(number);

  Profile p;
  p.number = kLookupProfile;
  p.area = number;
  p.rect = list.rect;
  p.order = list.order;
  p.filter = list.filter;
  p.columns = list.columns;
  for (Column& c : p.columns) c.field.clear();
  if (list.footers) p.footing.per_column = list.footers(*wa);

  std::optional<store::RecNo> picked;
  Status failed;
  p.hooks.key = [&](RecordBrowser& b, Key k) -> KeyOutcome {
    if (list.key) {
      KeyOutcome o = list.key(b, k);
      if (o != KeyOutcome::kNotMine) return o;
    }
    if (k.type == KeyType::kEnter || k.type == KeyType::kCtrlEnter ||
        k.type == KeyType::kDoubleClick) {
      picked = b.current_recno();
      return KeyOutcome::kLeave;
    }
    if (Movement(k)) return KeyOutcome::kNotMine;
    Status st;
    if (k.type == KeyType::kF && k.code >= 1 && k.code <= 3 && list.order_keys) {
      static constexpr int kOrderOf[] = {0, 2, 1, 3};
      st = UseOrder(b, kOrderOf[k.code]);
    } else if (Printable(k) && list.seek_by_typing) {
      st = SeekTyped(b, k.byte());
    }
    if (!st.ok() && failed.ok()) failed = st;
    return KeyOutcome::kHandled;
  };

  screen::Toolkit& tk = ec.tk;
  screen::ColourSettings& cs = tk.colours();
  const int window = list.gains_window ? 8 : 6;
  const BrowseRect& r = list.rect;
  if (list.gains_window) {
    tk.REDEFJAN(window, cs.COR_HELP, cs.COR_TEL2, cs.COR_TEL3, r.top, r.left, r.bottom, r.right, 2);
  } else {
    tk.REDEFJAN(window, screen::ColourOr(cs.COR_CLI_HE, static_cast<screen::Attr>(cs.COR_TEL1)),
                cs.COR_TEL2, cs.COR_TEL3, r.top, r.left, r.bottom, r.right, 2);
  }
  tk.ABREJAN(window);
  const std::string title = list.title.empty()
                                ? core::Cp850("F1- Ordena pelo nome Nro F2 - Ordena pelo Número")
                                : list.title;
  tk.Frame(r.top, r.left, r.bottom, r.right, static_cast<screen::Attr>(cs.COR_TEL2), title);

  Result<Key> left = Key();
  {
    ListColours colours(cs, list.gains_window);
    RecordBrowser browser(ec, p, *wa, r);
    Status st = browser.Init();
    if (st.ok() && list.start) {
      const auto& rows = browser.rows();
      for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] == *list.start) browser.SetCursor(static_cast<int>(i), browser.column());
      }
    }
    left = st.ok() ? browser.Run() : Result<Key>(st);
  }
  tk.FECHAJAN(window);
  tk.DropPendingKeys();
  wa->hide_deleted = hid;
  ec.areas.Select(before);
  ec.state.TECLAMUDA = false;
  if (!left.ok()) return left.status();
  if (!failed.ok()) return failed;

  std::optional<LookupPick> out;
  if (picked) {
    DODU_ASSIGN_OR_RETURN(store::Record rec, wa->table().Read(*picked));
    DODU_RETURN_IF_ERROR(wa->GoTo(*picked));
    out = LookupPick{*picked, std::move(rec)};
  } else if (was.value != 0) {
    DODU_RETURN_IF_ERROR(wa->GoTo(was));
  }
  return out;
}

}  // namespace dodu::entry
