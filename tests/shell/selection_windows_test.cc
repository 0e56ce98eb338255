// The windows of the selection: the age and birthday notice, the details
// window (F6), the warnings (F11), the status look-up and the progress bar.
#include "shell/selection_windows.h"

#include <gtest/gtest.h>

#include "shell/selection_testutil.h"

namespace dodu::shell {
namespace {

using testing::Cpf;
using testing::SelectionFixture;

core::Date D(const char* dtos) { return *core::Date::FromDtos(dtos); }

TEST(DizanosTest, AgeAndBirthdayNotice) {
  struct Case {
    const char* birth;  // "" for the blank date
    const char* today;
    const char* years;
    const char* months;
    const char* notice;  // UTF-8
  } cases[] = {
      // Two days ahead: the weekday of this year's birthday (31/05/2020, a Sunday).
      {"19800531", "20200529", " 39", " 7", "Aniversário no Domingo"},
      {"19800529", "20200529", " 39", " 7", "Faz Aniversário Hoje  "},
      {"19800530", "20200529", " 39", " 7", "Faz Aniversário Amanha"},
      {"19900602", "20200629", " 29", " 6", ""},  // passed: no notice
      {"19900603", "20200601", " 29", " 6", "Aniversário na Quarta "},
      {"19900606", "20200601", " 29", " 6", "Aniversário no Sábado "},
      {"19800604", "20200529", " 39", " 6", ""},  // next month: no notice
      {"19800531", "20200525", " 39", " 7", ""},  // six days ahead
      {"19801231", "20201227", " 39", " 0", "Aniversário na Quinta "},
      {"", "20200529", "   ", "  ", ""},
      {"20200101", "20200101", "   ", "  ", ""},  // after 31/12 of the base year
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.birth) + " on " + c.today);
    AgeText a = DIZANOS(*c.birth ? D(c.birth) : core::Date(), 2019, D(c.today));
    EXPECT_EQ(a.years, c.years);
    EXPECT_EQ(a.months, c.months);
    EXPECT_EQ(core::Cp850ToUtf8(a.notice), c.notice);
  }
}

// 29 February in a year without one made no date of this year's birthday:
// the birthday is kept on 28 February.
TEST(DizanosTest, LeapDayBirthdayInACommonYear) {
  struct Case {
    const char* today;
    const char* notice;
  } cases[] = {
      {"20210228", "Faz Aniversário Hoje  "},
      {"20210227", "Faz Aniversário Amanha"},
      {"20210225", "Aniversário no Domingo"},  // 28/02/2021 is a Sunday
      {"20200229", "Faz Aniversário Hoje  "},  // a leap year keeps its own day
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.today);
    AgeText a = DIZANOS(D("19880229"), 2019, D(c.today));
    EXPECT_EQ(a.years, " 31");
    EXPECT_EQ(a.months, "10");
    EXPECT_EQ(core::Cp850ToUtf8(a.notice), c.notice);
  }
}

class SelectionWindowsTest : public SelectionFixture {
 protected:
  const std::string ana = Cpf("123456789");
  const std::string bia = Cpf("987654321");

  // Table 11 of the data folder with warnings (CPF, text, deleted).
  void AddWarnings(const std::vector<std::tuple<std::string, std::string, bool>>& rows) {
    ASSERT_OK(store::ABERTURA(ctx, areas, 11));
    store::WorkArea& t = *areas.Get(11);
    for (const auto& [cpf, text, deleted] : rows) {
      ASSERT_OK(AppendFields(
          ctx, t, {CharField("CPF", cpf), CharField("OBSERV", text), NumericField("CODERR", 5)}));
      if (deleted) {
        ASSERT_OK(t.Bottom());
        ASSERT_OK(t.table().LockRecord(t.recno()));
        ASSERT_OK(t.table().SetDeleted(t.recno(), true));
        t.table().UnlockRecord(t.recno());
      }
    }
    areas.Close(11);
  }
};

TEST_F(SelectionWindowsTest, F6ShowsTheDetailsOfTheTypedCpf) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", "", "S", "19800531"}});
  // The CPF field starts with the last CPF of this terminal. F6, F9 takes
  // the picture, a key closes, Esc leaves.
  ult_cpf = ana;
  Result<bool> r = Run(11, "{F6}{F9}{Enter}{Esc}");
  ASSERT_OK(r);
  EXPECT_TRUE(Shown("Detalhes"));
  EXPECT_TRUE(Shown("Tem Rural S"));
  EXPECT_TRUE(Shown("NomeANA SOUZA"));
  EXPECT_TRUE(Shown("Idade 39 anos 7 meses"));
  EXPECT_TRUE(Shown("Nascimento 31/05/1980"));
  EXPECT_TRUE(Shown("Aniversário no Domingo"));
  // The window is gone afterwards.
  EXPECT_EQ(tk.dialog_count(), 1u);
}

TEST_F(SelectionWindowsTest, DetailLinesFitTheWindow) {
  AddTaxpayers(data, {{ana, std::string(53, 'N'), ""}});
  ASSERT_OK(store::MUDADIR(ctx, areas, data, ana).status());
  store::WorkArea& reg = *areas.Get(9);
  ASSERT_OK(reg.SetOrder(1));
  ASSERT_TRUE(*reg.Seek(ana));
  std::vector<std::string> lines = DetailLines(*reg.Current(), AgeText{" 39", " 7", ""});
  ASSERT_EQ(lines.size(), 12u);
  for (const std::string& l : lines) EXPECT_LE(l.size(), 78u) << l;
  // The longest lines are whole: the name and the age, the portal line.
  EXPECT_EQ(lines[1], "Nome" + std::string(53, 'N') + "Idade 39 anos 7 meses");
  EXPECT_EQ(lines[0].substr(0, 18), "CPF 123.456.789-09");
}

TEST_F(SelectionWindowsTest, F11ShowsTheLiveWarningsOfTheCpf) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}, {bia, "BIA LIMA", ""}});
  AddWarnings(
      {{ana, "FALTA O RECIBO", false}, {ana, "APAGADO", true}, {bia, "DE OUTRA PESSOA", false}});
  ult_cpf = ana;
  // The list draws until a key is typed: the picture is taken once it waits.
  Result<bool> r = Run(11, "{F11}{Wait 10}{F9}{Esc}{Esc}");
  ASSERT_OK(r);
  EXPECT_TRUE(Shown("Pendências do CPf 123.456.789-09 ANA SOUZA"));
  EXPECT_TRUE(Shown("FALTA O RECIBO"));
  EXPECT_FALSE(Shown("APAGADO"));
  EXPECT_FALSE(Shown("DE OUTRA PESSOA"));
  EXPECT_TRUE(term.boxes().empty());
  // Both tables are closed again.
  EXPECT_EQ(areas.Get(11), nullptr);
  EXPECT_EQ(areas.Get(31), nullptr);
}

TEST_F(SelectionWindowsTest, F11WithoutWarningsSaysSo) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}, {bia, "BIA LIMA", ""}});
  AddWarnings({{bia, "DE OUTRA PESSOA", false}});
  ult_cpf = ana;
  Result<bool> r = Run(11, "{F11}{Enter}{Esc}");
  ASSERT_OK(r);
  ASSERT_EQ(BoxFirstLines().size(), 1u);
  EXPECT_EQ(BoxFirstLines()[0], kNoWarnings1);
  EXPECT_EQ(term.boxes()[0].style, 0);
}

// The warnings work file is this terminal's; while another open holds it F11
// shows no list (the opener says the file is not available) and leaves table
// 11 closed.
TEST_F(SelectionWindowsTest, F11WithTheWorkFileBusyShowsNoList) {
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  AddWarnings({{ana, "FALTA O RECIBO", false}});
  store::WorkAreas other;
  ASSERT_OK(store::OpenWorkCopy(ctx, other, 11, true));
  ult_cpf = ana;
  Result<bool> r = Run(11, "{F11}{Enter}{Esc}");
  ASSERT_OK(r);
  ASSERT_EQ(BoxFirstLines().size(), 1u);
  EXPECT_NE(BoxFirstLines()[0].find("TMP_1101.DBF"), std::string::npos);
  EXPECT_EQ(areas.Get(11), nullptr);
}

TEST_F(SelectionWindowsTest, StatusDescriptionsByMode) {
  WriteStatusTable({{1, "EM ANDAMENTO"}, {7, "TRANSMITIDA"}});
  AddTaxpayers(data, {{ana, "ANA SOUZA", ""}});
  ASSERT_OK(store::MUDADIR(ctx, areas, data, ana).status());

  Result<StatusAnswer> a = VE_STAT(s, 7, 3);
  ASSERT_OK(a);
  EXPECT_TRUE(a->found);
  EXPECT_EQ(a->description, "TRANSMITIDA  ");
  EXPECT_EQ(areas.current(), 9);

  // Mode 2: shown at row 2, column 14, with the warnings' work copy selected.
  a = VE_STAT(s, 7, 2);
  ASSERT_OK(a);
  EXPECT_EQ(core::Cp850ToUtf8(term.Text(2, 14, 13)), "TRANSMITIDA  ");
  EXPECT_EQ(areas.current(), 31);

  a = VE_STAT(s, 4, 4);
  ASSERT_OK(a);
  EXPECT_FALSE(a->found);
  EXPECT_EQ(a->description, std::string(13, ' '));
  EXPECT_EQ(areas.current(), 29);

  // Mode 1: an unknown code offers the status list; the pick is described at
  // row 2, column 14.
  int offered = 0;
  s.hooks.status_list = [&]() -> std::optional<int> {
    ++offered;
    return 1;
  };
  a = VE_STAT(s, 4, 1);
  ASSERT_OK(a);
  EXPECT_EQ(offered, 1);
  EXPECT_TRUE(a->found);
  EXPECT_EQ(a->code, 1);
  EXPECT_EQ(core::Cp850ToUtf8(term.Text(2, 14, 13)), "EM ANDAMENTO ");
  // A known code asks nothing.
  a = VE_STAT(s, 7, 5);
  ASSERT_OK(a);
  EXPECT_EQ(offered, 1);
}

TEST_F(SelectionWindowsTest, StatusWithoutTheTableReadsBlank) {
  Result<StatusAnswer> a = VE_STAT(s, 7, 3);
  ASSERT_OK(a);
  EXPECT_FALSE(a->found);
  EXPECT_EQ(a->description, std::string(13, ' '));
}

TEST_F(SelectionWindowsTest, ProgressBarStopsAtItsWidth) {
  s.frame.Open("C:\\DADOS", false);
  std::string bar;
  s.frame.MOSTRADOR(bar, 50, 1);
  EXPECT_EQ(bar.size(), 50u);
  s.frame.MOSTRADOR(bar, 10, 1);
  EXPECT_EQ(bar, std::string(kBarWidth, kBarChar));
  EXPECT_EQ(term.Text(kFrameTop + 4, kFrameLeft + 1, kBarWidth), bar);
  // Elsewhere: the message window at row 20.
  s.frame.MOSTRADOR(bar, 1, 0);
  EXPECT_EQ(term.Text(20, 13, kBarWidth), bar);
  s.frame.Close();
  EXPECT_NE(term.Text(20, 13, 1), std::string(1, kBarChar));
}

}  // namespace
}  // namespace dodu::shell
