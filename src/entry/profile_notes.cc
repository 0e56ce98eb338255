// Profile 11: the warnings of a declaration and the personal notes, over the
// work copy of table 11 (area 31). Option 0 is the program's warnings with the
// hint about the notes, 1 the warnings of a declaration chosen in the
// selection, 2 the personal notes.
#include "core/codepage.h"
#include "entry/profile.h"
#include "entry/record_browser.h"
#include "screen/mens.h"

namespace dodu::entry {
namespace {

constexpr int kNotesArea = 31;

bool IsBlank(const store::Record& r, std::string_view field) {
  Result<std::string> t = r.GetTrimmed(field);
  return !t.ok() || t->empty();
}

int NumberField(const store::Record& r, std::string_view field) {
  Result<core::Decimal> v = r.GetNumber(field);
  return v.ok() ? static_cast<int>(v->ToScaled(0)) : 0;
}

Result<Profile> BuildNotes(EntryContext& ec, int option) {
  Profile p;
  p.area = kNotesArea;
  p.rect = {2, 1, 22, 78};
  p.insert = InsertMode::kBefore;
  p.paste_piece_width = static_cast<int>(kNotePieceWidth);
  const bool notes = option == 2;
  if (notes) {
    p.columns = {
        {"NOTAS", "NOTAS", "", "  Notas Pessoais", "", false},
        {"IMPRE", "IMPRE", "@!", "OK", "", false},
    };
    p.filter = [](const store::Record& r) { return NumberField(r, "CODERR") == 0; };
    p.description_field = "NOTAS";
  } else {
    p.columns = {{"OBSERV", "OBSERV", "",
                  option == 0 ? "  Avisos do programa . Para notas pessoais use o TAB"
                              : "  Avisos do programa ",
                  "", false}};
    p.filter = [](const store::Record& r) { return !IsBlank(r, "OBSERV"); };
    p.description_field = "OBSERV";
  }
  p.hooks.clear_for_insert = [](store::Record& emptied, const store::Record& was) {
    // The emptied line keeps only its taxpayer; text, code and screen go blank.
    Result<std::string> cpf = was.GetText("CPF");
    if (cpf.ok()) (void)emptied.PutText("CPF", *cpf);
  };
  p.hooks.paste_row = [notes](store::Record& r) -> Status {
    DODU_RETURN_IF_ERROR(r.PutNumber("CODERR", core::Decimal::FromInt(notes ? 0 : 99)));
    return r.PutNumber("PAGINA", core::Decimal());
  };
  EntryState* state = &ec.state;
  p.hooks.key = [option, state](RecordBrowser& b, screen::Key k) {
    if (option == 0 && k.is_char() && k.byte() >= 32) {
      screen::MENS(b.ec().tk, core::Cp850("Mudando para a tela de notas pessoais..."));
      return KeyOutcome::kLeave;
    }
    if (option != 2 && k.type == screen::KeyType::kCtrlEnter && state->declaration_open) {
      Result<store::Record> r = b.CurrentRecord();
      if (!r.ok() || !b.current_recno()) return KeyOutcome::kHandled;
      JumpRequest j{NumberField(*r, "PAGINA"), NumberField(*r, "OPCIR"), NumberField(*r, "REGIS"),
                    NumberField(*r, "COLUN")};
      if (j.screen == 0) return KeyOutcome::kHandled;  // the warning names no screen
      state->jump = j;
      state->LTEMERR = true;
      state->NPOSIATU = j.record;
      state->NQCOL = j.column;
      return KeyOutcome::kLeave;
    }
    return KeyOutcome::kNotMine;
  };
  return p;
}

}  // namespace

void RegisterNotesProfile(ProfileRegistry& registry) { registry.Register(11, BuildNotes); }

}  // namespace dodu::entry
