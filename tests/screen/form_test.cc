#include "screen/form.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "screen/toolkit.h"
#include "screen/virtual_terminal.h"

namespace dodu::screen {
namespace {

using core::Date;
using core::Decimal;

EditValue Num(const char* text) { return *Decimal::Parse(text); }

class FormTest : public ::testing::Test {
 protected:
  FormTest() {
    vars.Define("VALOR", Num("0"));
    vars.Define("DATA", Date());
    vars.Define("CPF", std::string(11, ' '));
    vars.Define("NOME", std::string(20, ' '));
  }

  std::vector<FormField> Fields() {
    return {
        {2, 10, "VALOR", "@Ez 99,999,999.99", 0, nullptr, nullptr},
        {3, 10, "DATA", "", 0, nullptr, nullptr},
        {4, 10, "CPF", "@R 999.999.999-99", 0, nullptr, nullptr},
        {5, 10, "NOME", "@!", 0, nullptr, nullptr},
    };
  }

  EditValue Var(const char* name) { return *vars.Get(name); }

  VirtualTerminal term;
  Toolkit tk{term};
  MapVariableStore vars;
};

TEST_F(FormTest, TypedFieldsAreReadBack) {
  // The date and the CPF fill their last positions and move on by themselves.
  term.Feed("1234,5{Enter}3006202012345678909joão da silva{Enter}");
  Form form(tk, vars, Fields());
  auto r = form.Read();
  ASSERT_TRUE(r.ok()) << r.status().ToString();
  EXPECT_EQ(r->end, FormEnd::kSaved);
  EXPECT_EQ(r->last_field, 3);
  EXPECT_TRUE(Var("VALOR") == Num("1234.50"));
  EXPECT_TRUE(Var("DATA") == EditValue(*Date::FromYmd(2020, 6, 30)));
  EXPECT_TRUE(Var("CPF") == EditValue(std::string("12345678909")));
  EXPECT_TRUE(Var("NOME") == EditValue(core::Cp850("JOãO DA SILVA       ")));
  // Shown again through their pictures, in the colour of a waiting field.
  EXPECT_EQ(term.Text(2, 10, 13), "     1.234,50");
  EXPECT_EQ(term.Text(4, 10, 14), "123.456.789-09");
  EXPECT_EQ(term.At(2, 10).attr, FormOptions().inactive_attr);
}

TEST_F(FormTest, ActiveFieldHasTheActiveColourAndCursor) {
  term.Feed("12");
  Form form(tk, vars, Fields());
  EXPECT_THROW((void)form.Read(), ScriptExhausted);
  EXPECT_EQ(term.At(2, 10).attr, FormOptions().active_attr);
  EXPECT_EQ(term.At(3, 10).attr, FormOptions().inactive_attr);
  EXPECT_EQ(term.cursor_row(), 2);
  // "12" took positions 0 and 1; the cursor stepped over the separator.
  EXPECT_EQ(term.cursor_col(), 13);
}

TEST_F(FormTest, RefusingValidKeepsTheCursor) {
  std::vector<FormField> fields = Fields();
  int asked = 0;
  fields[0].valid = [&](VariableStore& v, ActiveField& f) {
    ++asked;
    EXPECT_EQ(f.name(), "VALOR");
    return !std::get<Decimal>(*v.Get("VALOR")).IsZero();
  };
  // Enter on a zero is refused; the field stays and takes the next keys.
  term.Feed("{Enter}7{Enter}{PgDn}");
  Form form(tk, vars, fields);
  auto r = form.Read();
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(Var("VALOR") == Num("7"));
  EXPECT_EQ(r->last_field, 1);
  EXPECT_EQ(r->key, Key::Named(KeyType::kPgDn));
}

TEST_F(FormTest, FalseWhenSkipsTheField) {
  std::vector<FormField> fields = Fields();
  fields[1].when = [](VariableStore&) { return false; };
  term.Feed("5{Enter}111{Up}");
  Form form(tk, vars, fields);
  EXPECT_THROW((void)form.Read(), ScriptExhausted);
  // "111" went into the CPF, and Up skipped the date back to the value.
  EXPECT_TRUE(Var("CPF") == EditValue(std::string("111        ")));
  EXPECT_EQ(term.cursor_row(), 2);
}

TEST_F(FormTest, NoEnterableFieldEndsAtOnce) {
  std::vector<FormField> fields = Fields();
  for (FormField& f : fields) f.when = [](VariableStore&) { return false; };
  Form form(tk, vars, fields);
  auto r = form.Read();
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->end, FormEnd::kNoFields);
}

TEST_F(FormTest, LeavingKeysAreReported) {
  struct Case {
    const char* script;
    FormEnd end;
    Key key;
  } cases[] = {
      {"{Tab}", FormEnd::kExitKey, Key::Named(KeyType::kTab)},
      {"{Shift Tab}", FormEnd::kExitKey, Key::Named(KeyType::kShiftTab)},
      {"{F5}", FormEnd::kExitKey, Key::F(5)},
      {"{Ctrl W}", FormEnd::kSaved, Key::Ctrl('W')},
      {"{PgDn}", FormEnd::kSaved, Key::Named(KeyType::kPgDn)},
      {"{Esc}", FormEnd::kEscaped, Key::Esc()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    VirtualTerminal t;
    Toolkit k(t);
    t.Feed(std::string("{Down}{Down}9") + c.script);
    Form form(k, vars, Fields());
    auto r = form.Read();
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->end, c.end);
    EXPECT_EQ(r->key, c.key);
    EXPECT_EQ(r->last_field, 2);
  }
}

TEST_F(FormTest, EscPutsBackEveryChangedVariable) {
  term.Feed("55{Enter}01012020{Enter}{Esc}");
  Form form(tk, vars, Fields());
  auto r = form.Read();
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->end, FormEnd::kEscaped);
  EXPECT_TRUE(Var("VALOR") == Num("0"));
  EXPECT_TRUE(Var("DATA") == EditValue(Date()));
}

TEST_F(FormTest, ImpossibleDateHoldsTheCursor) {
  term.Feed("{Down}31022020{Enter}");
  Form form(tk, vars, Fields());
  EXPECT_THROW((void)form.Read(), ScriptExhausted);
  EXPECT_EQ(term.cursor_row(), 3);
  EXPECT_TRUE(Var("DATA") == EditValue(Date()));
}

TEST_F(FormTest, HotKeyReachesTheActiveField) {
  FormOptions options;
  std::string seen;
  options.hot_keys.push_back(
      {Key::F(2), [&](Toolkit&, VariableStore&, ActiveField& f) {
         seen = f.name();
         EXPECT_TRUE(f.set_value(Num("42")).ok());
         return HotKeyAction::kContinue;
       }});
  // F2 is also an exit key by default: the hot key comes first.
  term.Feed("{F2}{PgDn}");
  Form form(tk, vars, Fields(), options);
  auto r = form.Read();
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(seen, "VALOR");
  EXPECT_TRUE(Var("VALOR") == Num("42"));
}

TEST_F(FormTest, PasteAndCopy) {
  // Pasted text is cut to the field's width; a number is read by its value.
  term.set_clipboard_text("1.234,56");
  term.Feed("{Ctrl V}{Ctrl C}{Down}{Down}{Down}");
  term.Feed("{Ctrl V}{PgDn}");
  Form form(tk, vars, Fields());
  // The second paste (into NOME) comes after the clipboard was replaced by the copy.
  auto r = form.Read();
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(Var("VALOR") == Num("1234.56"));
  ASSERT_EQ(term.clipboard_sets().size(), 1u);
  EXPECT_EQ(term.clipboard_sets()[0], "1234,56");
  EXPECT_TRUE(Var("NOME") == EditValue(std::string("1234,56             ")));
}

}  // namespace
}  // namespace dodu::screen
