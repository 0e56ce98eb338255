// The key table of the record browser: what a key does in a profile, with the
// profile-number thresholds that switch keys on or off (F4..F11 and Alt F3 /
// Alt F7 leave only below 40, Del works below 51 and in 59, Ins below 46, the
// append row exists below 50 and in 59, F1..F3 are ignored in 40 and 45 and
// change the order in the selection lists 51..56).
#ifndef DODU_ENTRY_BROWSE_KEYS_H_
#define DODU_ENTRY_BROWSE_KEYS_H_

#include "screen/keys.h"

namespace dodu::entry {

enum class BrowseAction {
  kIgnore,
  kLeave,           // set ULTTECLA / TECLAMUDA and return
  kMove,            // a movement key
  kEdit,            // Enter, double click: DOGET
  kTypeEdit,        // a printable character starts the edit with it
  kClick,           // moves the highlight to the clicked cell
  kDelete,          // Del
  kInsert,          // Ins
  kInsertMany,      // Alt L
  kRenumber,        // Alt R
  kOrder,           // Alt O
  kSelectOrder,     // F1..F3 of the selection lists
  kCopy,            // Alt M
  kPaste,           // Alt C
  kAppendText,      // Alt J
  kAddToBuffer,     // Alt Up
  kBufferToClip,    // Alt End
  kPasteClipboard,  // Alt Down
  kCalculator,      // Alt S
  kWindowsCalc,     // Alt K
  kSave,            // Alt W
  kEndDeclaration,  // Alt T
  kUseClock,        // Alt H
};

struct KeyConditions {
  bool has_rural = false;  // the taxpayer has rural activity (Alt F2, F12)
};

BrowseAction ClassifyKey(int profile, const screen::Key& key, const KeyConditions& cond = {});

// May the highlight go below the last row onto the append row?
bool AppendRowAllowed(int profile);

}  // namespace dodu::entry

#endif  // DODU_ENTRY_BROWSE_KEYS_H_
