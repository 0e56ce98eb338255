#include "core/text_helpers.h"

#include <gtest/gtest.h>

#include "core/alerts.h"
#include "core/time_helpers.h"

namespace dodu::core {
namespace {

Decimal D(std::string_view s) { return Decimal::Parse(s).value(); }

TEST(CarToVal, TypedAmounts) {
  struct Case {
    const char* text;
    const char* value;
  } cases[] = {
      {"1.234.567,89", "1234567.89"},
      {"12,5,0", "12.5"},  // only the first comma is the decimal point
      {"", "0"},
      {"   ", "0"},
      {"abc", "0"},
      {"-1.234,56", "-1234.56"},
      {"  12,50  ", "12.5"},
      {"1234", "1234"},
      {"12x", "12"},
      {",5", "0.5"},
      {"0,123456785", "0.12345679"},
      {"-0,000000005", "-0.00000001"},
  };
  for (const auto& c : cases) EXPECT_EQ(CarToVal(c.text), D(c.value)) << c.text;
  EXPECT_FALSE(CarToVal("999999999999999999,00").has_value());
}

TEST(TrazMes, NamesArePaddedToNine) {
  const char* expected[] = {"Janeiro  ", "Fevereiro", "Marco    ", "Abril    ",
                            "Maio     ", "Junho    ", "Julho    ", "Agosto   ",
                            "Setembro ", "Outubro  ", "Novembro ", "Dezembro "};
  for (int m = 1; m <= 12; ++m) {
    ASSERT_TRUE(TrazMes(m).has_value());
    EXPECT_EQ(*TrazMes(m), expected[m - 1]);
  }
  // A bad month leaves QMES as it was.
  std::string qmes = *TrazMes(3);
  for (int bad : {0, 13, -1}) {
    EXPECT_FALSE(TrazMes(bad).has_value());
    qmes = TrazMes(bad).value_or(qmes);
    EXPECT_EQ(qmes, "Marco    ");
  }
}

TEST(DiaSemana, Names) {
  const char* expected[] = {"Domingo",     "Segunda feira", "Terca feira", "Quarta feira",
                            "Quinta feira", "Sexta feira",  "Sabado"};
  Date sunday = Date::FromYmd(2019, 12, 29).value();
  for (int i = 0; i < 7; ++i) EXPECT_EQ(DiaSemana(sunday.AddDays(i)), expected[i]);
  EXPECT_EQ(DiaSemana(Date()), "");
}

TEST(TimeHelpers, Conversions) {
  EXPECT_EQ(HoraSeg("01:02:03"), 3723);
  EXPECT_EQ(HoraSeg("23:59:59"), 86399);
  EXPECT_EQ(HoraSeg(""), 0);
  EXPECT_EQ(HoraSeg("xx:10:00"), 600);
  EXPECT_EQ(SegHora(3723), "01:02:03");
  EXPECT_EQ(SegHora(86400 + 61), "00:01:01");  // hours modulo 24
  EXPECT_EQ(SegHora(-1), "23:59:59");
  EXPECT_EQ(SegHor2(90061), "01D01h01m");
  EXPECT_EQ(SegHor2(99 * 86400 + 3600), "00D01h00m");  // days modulo 99
  EXPECT_EQ(SegHor2(59), "00D00h00m");
}

TEST(TimeHelpers, TempoPas) {
  EXPECT_EQ(TempoPas("23:59:00", "00:01:00"), 120);  // midnight passed
  EXPECT_EQ(TempoPas("08:00:00", "09:30:15"), 5415);
  EXPECT_EQ(TempoPas("08:00:00", "08:00:00"), 0);
  EXPECT_EQ(TempoPasText("23:59:00", "00:01:00"), "00:02:00");
  EXPECT_EQ(TempoPasText("08:00:00", "09:30:15"), "01:30:15");
}

TEST(BeepErro, TwoPairsOfTonesPerRepetition) {
  using Tone = platform::RecordingSink::ToneRecord;
  platform::RecordingSink sink;
  BeepErro(sink);
  EXPECT_EQ(sink.tones, (std::vector<Tone>{{300, 55}, {499, 55}, {300, 55}, {499, 55}}));
  sink.tones.clear();
  BeepErro(sink, 3);
  EXPECT_EQ(sink.tones.size(), 12u);
  sink.tones.clear();
  BeepErro(sink, 0);
  EXPECT_TRUE(sink.tones.empty());
}

}  // namespace
}  // namespace dodu::core
