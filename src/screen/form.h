// The form runner: READ over a list of input fields, drawn and read through the
// Toolkit (so that windows opened over a form save and restore it, bound keys
// and the status-bar timer keep running while it waits). Each field
// is a variable (by name, through a VariableStore) shown at a row and column
// through a picture, with an optional WHEN (may the field be entered?) and
// VALID (may it be left?).
//
// Keys while a field is active:
// - editing keys go to the field's EditBuffer (screen/edit_buffer.h);
// - Enter, Down and a filled field move to the next field; Up to the previous
//   one. Leaving a field stores its value in the variable and runs VALID: when
//   it answers false (or a date does not exist) the cursor stays. Fields whose
//   WHEN is false are skipped in the direction of travel. Enter or Down on the
//   last field (or skipping past it) ends the form; Up on the first stays;
// - PgDn and Ctrl W end the form, saving (the active field is validated);
// - the exit keys (Tab, Shift Tab and F1..F12 unless configured otherwise) end
//   the form the same way and are reported, so that the caller can move to
//   another screen;
// - Esc ends the form and puts back every variable the form changed;
// - a hot key runs its callback with the active field in reach (the lookup
//   lists open by the field's name, the calculator hands its result over);
// - Ctrl V pastes the clipboard into the field converted to its type, Ctrl C
//   copies the field's value as text (screen/edit_clipboard.h);
// - a menu choice made during the wait (Key::Menu) ends the form like an exit
//   key, without validating, so the caller can unwind for it.
#ifndef DODU_SCREEN_FORM_H_
#define DODU_SCREEN_FORM_H_

#include <functional>
#include <string>
#include <vector>

#include "platform/status.h"
#include "screen/colour.h"
#include "screen/edit_buffer.h"
#include "screen/form_variables.h"
#include "screen/keys.h"
#include "screen/terminal.h"
#include "screen/toolkit.h"

namespace dodu::screen {

class Form;

// The field being edited, as hot keys, WHEN and VALID see it.
class ActiveField {
 public:
  virtual ~ActiveField() = default;
  virtual const std::string& name() const = 0;
  virtual const std::string& picture() const = 0;
  virtual int index() const = 0;  // 0-based position in the form's list
  // The value typed so far (Invalid for a date that does not exist).
  virtual Result<EditValue> value() const = 0;
  // Replaces what is typed (redrawn at once). Invalid when it does not fit.
  virtual Status set_value(const EditValue& v) = 0;
  virtual EditKind kind() const = 0;
  virtual int width() const = 0;
};

struct FormField {
  int row = 0;
  int col = 0;
  std::string name;     // the variable
  std::string picture;  // "" for none
  int width = 0;        // text fields: 0 takes the variable's length
  // WHEN: evaluated on entering; false skips the field. Null: always true.
  std::function<bool(VariableStore&)> when;
  // VALID: evaluated on leaving, after the value was stored. Null: always true.
  std::function<bool(VariableStore&, ActiveField&)> valid;
};

// What a hot key asks the form to do after its callback ran.
enum class HotKeyAction {
  kContinue,  // stay in the field
  kLeave,     // end the form as with an exit key (the hot key is reported)
};

struct HotKey {
  Key key;
  std::function<HotKeyAction(Toolkit&, VariableStore&, ActiveField&)> run;
};

struct FormOptions {
  std::vector<Key> exit_keys = DefaultExitKeys();
  std::vector<HotKey> hot_keys;
  // The colours of the fields waiting and of the field being edited
  // (csColorGet "N/W*" and csColorGetActive "W*/B" of the toolkit).
  Attr inactive_attr = ColourOr("N/W*", 0xF0);
  Attr active_attr = ColourOr("W*/B", 0xF1);
  bool confirm = false;       // typing past the end of a field does not leave it
  int first_field = 0;        // where the cursor starts

  static std::vector<Key> DefaultExitKeys();
};

enum class FormEnd {
  kSaved,     // left past the last field, or with PgDn / Ctrl W
  kExitKey,   // left with an exit key or a hot key that asked to leave
  kMenu,      // a menu choice is pending (Toolkit::menu_request())
  kEscaped,   // Esc: the variables were put back
  kNoFields,  // every WHEN was false: nothing was edited
};

struct FormResult {
  FormEnd end = FormEnd::kSaved;
  Key key;            // the key that ended the form
  int last_field = -1;  // the field that was active when it ended
};

class Form {
 public:
  Form(Toolkit& toolkit, VariableStore& vars, std::vector<FormField> fields,
       FormOptions options = {});

  // Draws every field and runs the input until it ends. Errors: a variable that
  // does not exist (NotFound), a picture that does not suit it (Invalid), a
  // store that refuses a value. ScriptExhausted (virtual terminal) passes
  // through.
  Result<FormResult> Read();

  // Draws every field with the inactive colour (also done by Read).
  Status Draw();

  // The insert mode carries from field to field, and to the next Read.
  bool insert() const { return insert_; }

 private:
  Toolkit& tk_;
  VariableStore& vars_;
  std::vector<FormField> fields_;
  FormOptions options_;
  bool insert_ = false;
};

}  // namespace dodu::screen

#endif  // DODU_SCREEN_FORM_H_
