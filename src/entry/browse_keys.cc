#include "entry/browse_keys.h"

namespace dodu::entry {

using screen::Key;
using screen::KeyType;

bool AppendRowAllowed(int profile) { return profile < 50 || profile == 59; }

BrowseAction ClassifyKey(int profile, const Key& key, const KeyConditions& cond) {
  const bool selection = profile >= 51 && profile <= 56;
  switch (key.type) {
    case KeyType::kEnter:
    case KeyType::kDoubleClick:
      return BrowseAction::kEdit;
    case KeyType::kClick:
      return BrowseAction::kClick;
    case KeyType::kChar:
      return key.byte() >= 32 ? BrowseAction::kTypeEdit : BrowseAction::kIgnore;
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
      return BrowseAction::kMove;
    case KeyType::kTab:
    case KeyType::kShiftTab:
    case KeyType::kEsc:
      return BrowseAction::kLeave;
    case KeyType::kF:
      if (key.code <= 3) {
        if (profile == 40 || profile == 45) return BrowseAction::kIgnore;
        if (selection) {
          if (key.code == 3 && profile != 51 && profile != 52) return BrowseAction::kIgnore;
          return BrowseAction::kSelectOrder;
        }
        return BrowseAction::kLeave;
      }
      if (key.code == 12) return cond.has_rural ? BrowseAction::kLeave : BrowseAction::kIgnore;
      return profile < 40 ? BrowseAction::kLeave : BrowseAction::kIgnore;
    case KeyType::kAltF:
      if (key.code == 2) return cond.has_rural ? BrowseAction::kLeave : BrowseAction::kIgnore;
      if (key.code == 3 || key.code == 7) {
        return profile < 40 ? BrowseAction::kLeave : BrowseAction::kIgnore;
      }
      return BrowseAction::kIgnore;
    case KeyType::kDel:
      return (profile < 51 || profile == 59) ? BrowseAction::kDelete : BrowseAction::kIgnore;
    case KeyType::kIns:
      return profile < 46 ? BrowseAction::kInsert : BrowseAction::kIgnore;
    case KeyType::kAltUp:
      return BrowseAction::kAddToBuffer;
    case KeyType::kAltEnd:
      return BrowseAction::kBufferToClip;
    case KeyType::kAltDown:
      return BrowseAction::kPasteClipboard;
    case KeyType::kAlt:
      switch (key.code) {
        case 'L':
          return BrowseAction::kInsertMany;
        case 'R':
          return BrowseAction::kRenumber;
        case 'O':
          return BrowseAction::kOrder;
        case 'M':
          return BrowseAction::kCopy;
        case 'C':
          return BrowseAction::kPaste;
        case 'J':
          return BrowseAction::kAppendText;
        case 'S':
          return BrowseAction::kCalculator;
        case 'K':
          return BrowseAction::kWindowsCalc;
        case 'W':
          return BrowseAction::kSave;
        case 'T':
          return BrowseAction::kEndDeclaration;
        case 'H':
          return BrowseAction::kUseClock;
        case 'Z':
        case 'X':
          return BrowseAction::kLeave;
        default:
          return BrowseAction::kIgnore;
      }
    default:
      return BrowseAction::kIgnore;
  }
}

}  // namespace dodu::entry
