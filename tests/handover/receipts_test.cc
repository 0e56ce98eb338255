#include "handover/receipts.h"

#include <gtest/gtest.h>

#include "core/ids.h"
#include "handover/testutil.h"
#include "platform/memory_env.h"

namespace dodu::handover {
namespace {

using testing::ScriptedDialog;

std::string Place(std::string line, size_t pos, std::string_view text) {
  if (line.size() < pos - 1 + text.size()) line.resize(pos - 1 + text.size(), ' ');
  line.replace(pos - 1, text.size(), text);
  return line;
}

std::string Header(bool rectifying) {
  std::string h(230, ' ');
  h = Place(h, 1, "IRPF    2020");
  h = Place(h, 21, rectifying ? "1" : "0");
  h = Place(h, 102, "0987654321");
  h = Place(h, 124, "1234567890");
  h = Place(h, 165, "2345678901");
  h = Place(h, 204, "3456789012");
  return h + "\r\n";
}

TEST(ReceiptsTest, CheckDigitsAreModulus11OfTheDigitsBefore) {
  const std::string r = ReceiptWithDigits("2345678901");
  ASSERT_EQ(r.size(), 12u);
  EXPECT_EQ(r.substr(10, 1), core::Modulo11("2345678901", '0'));
  EXPECT_EQ(r.substr(11, 1), core::Modulo11(r.substr(0, 11), '0'));
}

TEST(ReceiptsTest, ReceiptsAndNoticesOfATransmittedDeclaration) {
  platform::MemoryEnv env;
  const std::string folder = "/IRPF2020/TRANSMITIDAS";
  ASSERT_OK(
      env.PutFile(folder + "/22222222303-IRPF-A-2020-2019-RETIF.DEC", Header(true) + "16...\r\n"));
  std::string nc =
      Place(Place(Place(Place(Place("NC001", 130, "2020"), 134, "07"), 136, "31"), 138, "02"), 140,
            "00000000016523");
  std::string rec = "HC22222222303\n" + Place("RC", 17, "15062020") + "\n" + nc + "\n" +
                    "VC101000021100320201\n" + "MCLeve a declaracao ao posto" +
                    std::string(12, ' ') + "\n" + "TC\n" + Place("RC", 17, "01011999") + "\n";
  ASSERT_OK(env.PutFile(folder + "/22222222303-IRPF-A-2020-2019-RETIF.REC", rec));
  ScriptedDialog dialog;
  auto info = FindReceipts(env, dialog, folder, "22222222303", ReceiptMode::kThisDeclaration);
  ASSERT_TRUE(info.ok()) << info.status().ToString();
  EXPECT_EQ(info->nrorecibo, ReceiptWithDigits("1234567890"));
  EXPECT_EQ(info->reciboatu, ReceiptWithDigits("2345678901"));
  EXPECT_EQ(info->reciboant, ReceiptWithDigits("3456789012"));
  EXPECT_EQ(info->delivered, testing::Day(2020, 6, 15));  // the line after "TC" is not read
  EXPECT_EQ(info->rectifications, 2);
  EXPECT_EQ(
      info->notes,
      (std::vector<std::string>{
          "Existe multa de R$ 165,23 datado de 31/07/2020 com 02 meses de atraso",
          "Existe pendencia na declaracao de       2019",
          "Existe pendencia na declaracao de       2017", "Existe debito Pendente em 10/03/2020",
          "Existe Saldo de Restituicao na Receita nao resgatado em 10/03/2020",
          "Leve a declaracao ao posto"}));

  core::VariableMap vars;
  vars.Declare("RECIBOATU", core::Value(std::string()));
  vars.Declare("RETIFICA", core::Value(std::string()));
  vars.Declare("NRETIF", core::Value(core::Decimal()));
  vars.Declare("DENTREGA", core::Value(core::Date()));
  ApplyReceipts(*info, vars);
  EXPECT_EQ(vars.Text("RECIBOATU"), info->reciboatu);
  EXPECT_EQ(vars.Text("RETIFICA"), "S");
  EXPECT_EQ(vars.Number("NRETIF"), core::Decimal::FromInt(2));
  EXPECT_EQ(vars.DateOf("DENTREGA"), testing::Day(2020, 6, 15));

  auto before = FindReceipts(env, dialog, folder, "22222222303", ReceiptMode::kTwoYearsBefore);
  ASSERT_TRUE(before.ok());
  EXPECT_EQ(before->reciboate, "0987654321");
}

TEST(ReceiptsTest, NotARectificationAndNoFiles) {
  platform::MemoryEnv env;
  ASSERT_OK(env.PutFile("/T/11111111111-IRPF.DEC", Header(false)));
  ASSERT_OK(env.PutFile("/T/33333333333-IRPF.DEC", ""));
  ScriptedDialog dialog;
  auto info = FindReceipts(env, dialog, "/T", "11111111111", ReceiptMode::kThisDeclaration);
  ASSERT_TRUE(info.ok());
  EXPECT_EQ(info->nrorecibo, "");  // no rectification: blank
  EXPECT_FALSE(info->delivered.has_value());
  EXPECT_TRUE(FindReceipts(env, dialog, "/T", "22222222222", ReceiptMode::kThisDeclaration)
                  .status()
                  .IsNotFound());
  EXPECT_TRUE(FindReceipts(env, dialog, "/T", "33333333333", ReceiptMode::kThisDeclaration)
                  .status()
                  .IsNotFound());
}

}  // namespace
}  // namespace dodu::handover
