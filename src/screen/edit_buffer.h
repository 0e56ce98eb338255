// The edit buffer of one input field: the text under the cursor while a field
// is being typed into, over a picture and the kind of value it edits. Pure
// logic, no terminal: the form runner (screen/form.h) feeds it keys, draws
// Visible() at the field's cell and places the cursor at CursorColumn().
//
// Behaviour, as the system's input fields have always had it:
// - Typing overwrites, or inserts when insert mode is on (Ins toggles it). An
//   insertion shifts the characters up to the next literal of the picture and is
//   refused when the last of them is not blank (nothing is pushed out).
// - Every typed character is checked against the picture's template character
//   at the cursor ("9" digits, "A" letters, "!" upper case...); "@!" upper-cases
//   everything. Literals of the template ("." and "-" of "@R 999.999.999-99",
//   the separators of a number, the "/" of a date) are stepped over.
// - Numbers: the first typed key clears the field; "," or "." moves to the
//   decimals with the integer part typed so far set right-justified. The field
//   is formatted again when the value is taken. "@K" clears text on the first
//   typed key too.
// - Typing into the last position fills the field: Handle answers kFilled (the
//   form moves on) unless confirm mode is on, where the cursor stays and the next
//   character is refused.
// - Left/Right step over literals, Home/End go to the first position and past
//   the last typed character, Backspace deletes to the left, Del under the
//   cursor, Ctrl Y clears from the cursor to the end.
// - "@S<n>" shows n characters and scrolls horizontally with the cursor.
#ifndef DODU_SCREEN_EDIT_BUFFER_H_
#define DODU_SCREEN_EDIT_BUFFER_H_

#include <memory>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "screen/edit_value.h"
#include "screen/keys.h"

namespace dodu::screen {

namespace internal {
struct EditLayout;
}

// What a key did to the buffer.
enum class EditEffect {
  kChanged,   // the text changed
  kMoved,     // only the cursor moved (or the insert mode toggled)
  kFilled,    // a typed character filled the last position: leave the field
  kRefused,   // not taken (the caller may sound a tone); nothing changed
  kNotMine,   // not an editing key: the form decides (Enter, Up, Esc, F-keys...)
};

const char* EditEffectName(EditEffect e);

struct EditOptions {
  bool confirm = false;  // typing past the end is refused instead of leaving
  bool insert = false;   // start in insert mode
};

// The text a field shows while it is not being edited ("@Z" blanks a zero,
// "@S<n>" shows the first n characters). Invalid as for EditBuffer::Create.
Result<std::string> FieldDisplay(const EditValue& value, std::string_view picture, int width = 0);

class EditBuffer {
 public:
  // An editor for `value` shown through `picture` ("" for none). `width` is the
  // width of a text value's field; 0 takes the value's own length (text) or the
  // picture's. Invalid when the picture does not suit the value's kind (a text
  // template on a date...) or the value does not fit the picture.
  static Result<EditBuffer> Create(const EditValue& value, std::string_view picture,
                                   int width = 0, EditOptions options = {});

  EditBuffer(EditBuffer&&) noexcept;
  EditBuffer& operator=(EditBuffer&&) noexcept;
  ~EditBuffer();

  // Applies one key.
  EditEffect Handle(const Key& key);

  // The typed value. Numbers and dates are read from the text: Invalid for a
  // date that does not exist (the field must not be left); text comes back with
  // the literals of "@R" taken out and padded to the field width.
  Result<EditValue> Value() const;
  // Replaces the whole text by `value` formatted (a paste, a calculator result,
  // a lookup list's choice); the cursor goes to the first position and the
  // first-key clearing is off. Invalid when it does not fit.
  Status SetValue(const EditValue& value);
  // Puts the text back to the value the buffer was created with.
  void Undo();

  // Whole text (the template's width) and the part of it on screen ("@S").
  const std::string& Text() const;
  std::string Visible() const;
  // Cursor position in Text(), and its column inside Visible().
  int Cursor() const;
  int CursorColumn() const;
  int Width() const;         // Text() width
  int VisibleWidth() const;  // columns on the screen
  EditKind kind() const;
  bool insert() const;
  void set_insert(bool on);
  // True once a key changed the text.
  bool changed() const;

 private:
  explicit EditBuffer(std::unique_ptr<struct EditState> state);
  std::unique_ptr<struct EditState> s_;
};

}  // namespace dodu::screen

#endif  // DODU_SCREEN_EDIT_BUFFER_H_
