// HBROWSE: the pop-up list every lookup runs. A list is a read-only record
// browser over one work area (its order, an optional filter on the lines, its
// columns and footers) in the lookup window, drawn in the lookup colours.
//
// Keys: Enter, Ctrl Enter and a double click pick the line under the cursor;
// Esc leaves without a pick; the movement keys and a click move as in the
// browser; F1, F2, F3 switch to orders 2, 1, 3 when the list allows it; a
// printable character soft-seeks it in upper case when the list allows it
// (digits, or any character when the table has a single order, in order 1;
// letters in order 2; past the last key the last line); keys of the list's own
// (F6, F11, Ctrl G, Ctrl V) go to its key hook. Nothing in the list edits.
//
// A list never opens inside another: while one runs, a second answers
// nullopt at once.
#ifndef DODU_ENTRY_LOOKUP_LIST_H_
#define DODU_ENTRY_LOOKUP_LIST_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "entry/entry_context.h"
#include "entry/profile.h"
#include "entry/record_browser.h"
#include "platform/status.h"
#include "screen/keys.h"
#include "store/workarea.h"

namespace dodu::entry {

// The profile number the lookup lists run under: no append row, no Del, no Ins.
inline constexpr int kLookupProfile = 99;

// The default rectangle (rows 8-21, columns 6-70).
inline constexpr BrowseRect kLookupRect{8, 6, 21, 70};

struct LookupList {
  int area = 0;  // the work area shown (0: the current one)
  BrowseRect rect = kLookupRect;
  // Code page 850; empty takes "F1- Ordena pelo nome Nro F2 - Ordena pelo Número".
  std::string title;
  std::vector<Column> columns;  // read only: their `field` is ignored
  std::function<bool(const store::Record&)> filter;
  int order = -1;               // the area's order to set first; -1 keeps it
  bool seek_by_typing = false;  // printable characters seek
  bool order_keys = false;      // F1/F2/F3 switch the order
  // The footers, one text per column, computed when the list opens.
  std::function<std::vector<std::string>(store::WorkArea&)> footers;
  // Keys of the list's own, with the line under the cursor current.
  std::function<KeyOutcome(RecordBrowser&, screen::Key)> key;
  // The capital-gains list draws in window 8 with the help colours.
  bool gains_window = false;
  // Where the highlight starts: the record, when it is listed.
  std::optional<store::RecNo> start;
};

struct LookupPick {
  store::RecNo recno{0};
  store::Record record;
};

// Runs the list. nullopt: left with Esc, another list is open, or a key hook
// left. The area is left on the picked record (or where it was); the
// selected area is the one that was selected before. kNotFound: the area is
// empty; the browser's errors.
Result<std::optional<LookupPick>> HBROWSE(EntryContext& ec, LookupList& list);

// True while a list is shown.
bool LookupListOpen();

// The row a soft seek of `key` lands on in the rows of the browser: the first
// listed record at or after the seek position, the last line past the end.
// Leaves the area's order as it found it.
Result<int> SeekRow(RecordBrowser& browser, std::string_view key);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_LOOKUP_LIST_H_
