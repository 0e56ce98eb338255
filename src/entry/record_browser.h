// The record browser `CL5BROWSE`: a list over the table of a work area, its
// filter and its order, in a rectangle of the screen with headings, column
// separators, frozen columns, horizontal panning, an optional footing and the
// append row, driven by the key table of browse_keys.h.
//
// Writing through. Every confirmed cell goes into its record at once under
// the record lock (record_write.h). The append row is only a display state: a
// record is created (ADIC_REG) by the first confirmed edit on it, a paste or
// Ins; leaving it creates nothing. After an edit that changed the key of the
// order in use, the list is read again and the highlight follows the record
// (FRESHORDER).
//
// Run() is the loop; Handle() and Draw() are its steps, for callers (and
// tests) that drive the browser key by key.
#ifndef DODU_ENTRY_RECORD_BROWSER_H_
#define DODU_ENTRY_RECORD_BROWSER_H_

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "entry/entry_context.h"
#include "entry/profile.h"
#include "entry/profile_column.h"
#include "entry/temp_index.h"
#include "platform/status.h"
#include "screen/keys.h"
#include "store/workarea.h"

namespace dodu::entry {

class RecordBrowser {
 public:
  // `profile` must outlive the browser. The rectangle is the frame's; the
  // list is drawn one cell inside it.
  RecordBrowser(EntryContext& ec, Profile& profile, store::WorkArea& area, BrowseRect rect);
  // Removes the temporary index of Alt O.
  ~RecordBrowser();
  RecordBrowser(const RecordBrowser&) = delete;
  RecordBrowser& operator=(const RecordBrowser&) = delete;

  // Compiles the columns and reads the rows. kInvalid when the profile has
  // fewer columns than N_CAM or a column does not fit the table.
  Status Init();

  // CL5BROWSE: runs until the user leaves; answers the key he left with (also
  // left in ULTTECLA, with TECLAMUDA set). With SO_MOS 0 it draws once and
  // answers an empty key.
  Result<screen::Key> Run();

  // One key, as the loop handles it. Answers the key that leaves, if it left.
  Result<std::optional<screen::Key>> Handle(screen::Key key);
  // Draws the whole list. `interruptible`: stops when a key is typed (the key
  // is kept and handled next).
  void Draw(bool interruptible = false);

  // DOGET: edits the current cell, started with `first` (Enter, a typed
  // character, a double click). Answers the keys the browser acts on next.
  Result<std::vector<screen::Key>> DOGET(screen::Key first);
  // EXITKEY: the movement after an edit that ended with `end`.
  std::vector<screen::Key> EXITKEY(screen::Key end, bool appending) const;
  // FRESHORDER: reads the rows again and puts the highlight on record `n`.
  Status FRESHORDER(store::RecNo n);
  // F_TROCA: writes `value` into the current column's field of the current
  // record under its lock, and stamps CPF on it when the table is one of this
  // terminal's work copies.
  Status F_TROCA(const screen::EditValue& value);

  // Row operations of the key table.
  Status DeleteCurrent();
  Status InsertCurrent();
  Status InsertMany(int count);
  Status Renumber();
  Status OrderByCurrentColumn();
  Status PasteClipboard();

  // ---- state, for profiles' hooks ----
  EntryContext& ec() { return ec_; }
  Profile& profile() { return profile_; }
  store::WorkArea& area() { return area_; }
  const std::vector<store::RecNo>& rows() const { return rows_; }
  bool appending() const { return appending_; }
  int column() const { return col_; }         // 0-based
  int current_index() const { return cur_; }  // rows().size() on the append row
  std::optional<store::RecNo> current_recno() const;
  Result<store::Record> CurrentRecord();
  const CompiledColumn& compiled(int column) const { return cols_[column]; }
  int column_count() const { return static_cast<int>(cols_.size()); }
  int left_column() const { return left_; }
  int frozen_now() const { return frozen_; }
  const TempIndex* temp_index() const { return temp_.get(); }

  // Reads the rows again, keeping the highlight on the same record when it is
  // still listed (else on the same position).
  Status Reload();
  // Moves the highlight (tests, jump requests).
  void SetCursor(int row_index, int column);
  // The record of a new row: ADIC_REG plus the profile's presets, left locked.
  Result<store::RecNo> NewRecord();

 private:
  struct Placed {
    int column;
    int x;
    int width;
  };
  int DataRows() const;
  int FootRows() const;
  std::vector<Placed> Layout() const;
  void EnsureVisible();
  void Move(screen::Key key);
  void MoveColumn(int to);
  void DrawRow(int slot);
  void DrawFrameAndHeadings();
  void DrawFooting();
  Result<std::optional<screen::Key>> Leave(screen::Key key);
  Status WriteCell(const screen::EditValue& value, bool* key_changed);
  std::string OrderKeyOf(const store::Record& r) const;
  Status HandleAction(screen::Key key, std::deque<screen::Key>& next);
  void ShowPopup(const std::string& text, int row);
  void SyncState();
  bool Confirm(const std::vector<std::string>& lines);

  EntryContext& ec_;
  Profile& profile_;
  store::WorkArea& area_;
  BrowseRect rect_;
  std::vector<CompiledColumn> cols_;
  std::vector<store::RecNo> rows_;
  int cur_ = 0, top_ = 0, col_ = 0, left_ = 0, frozen_ = 0;
  bool appending_ = false;
  std::deque<screen::Key> pending_;
  std::unique_ptr<TempIndex> temp_;
  std::optional<screen::SavedRegion> popup_;
};

// Profiles 1 and 2 ask with a count of the amounts a line holds: the numeric
// fields I1_4 .. I1_39 above zero, I1_8, I1_11, I1_22, I1_35 and I1_36 aside.
int IncomeLineEntryCount(const store::Record& record);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_RECORD_BROWSER_H_
