#include "darf/darf_texts.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "darf/testutil.h"

namespace dodu::darf {
namespace {

using testing::D;
using testing::Dec;

std::string L(std::string s) {
  s.resize(35, ' ');
  return s;
}
std::array<std::string, 5> Lines(std::initializer_list<const char*> five) {
  std::array<std::string, 5> out;
  int i = 0;
  for (const char* s : five) out[i++] = L(s);
  return out;
}

TEST(ReferenceDigitsTest, ModuloElevenWithTenAndElevenAsOne) {
  EXPECT_EQ(ReferenceDigits("00000000000191"), "19");  // 33 mod 11 = 0 gives 1
  EXPECT_EQ(ReferenceDigits("00000000000006"), "12");  // 12 mod 11 = 1 gives 1
  EXPECT_EQ(ReferenceDigits("00000000000100"), "73");
}

class PreencheTest : public ::testing::Test {
 protected:
  PreencheTest() : vars_(testing::DeclarationVars()), src_(testing::Sources(vars_)) {}
  Darf Filled(Darf d) {
    d.first = d.last = d.number;
    EXPECT_TRUE(BusImpo(d, src_, Mode::kSilent).found);
    EXPECT_OK(CalcJu(d, testing::Selic2020(), testing::Today()));
    Preenche(d, src_);
    return d;
  }
  core::VariableMap vars_;
  DarfSources src_;
};

TEST_F(PreencheTest, LinesOfEachKind) {
  tax::CarneRow row;
  row.at(tax::kFromIndividuals, 3) = Dec("6000.00");
  row.at(tax::kCashBook, 3) = Dec("200.00");
  row.at(tax::kDeductions, 3) = Dec("189.59");
  row.at(tax::kDue, 3) = Dec("700.00");
  row.at(tax::kDue, 4) = Dec("700.00");
  row.at(tax::kPaid, 4) = Dec("250.00");
  src_.carne = {row};
  GainRow gain;
  gain.tipo_bem = 2;
  gain.bem_brasil = false;
  gain.bem_nro = 7;
  gain.data_ali = D(2019, 5, 10);
  gain.val_tribu = Dec("8000.00");
  gain.val_imposv = Dec("1200.00");
  GainRow cash;
  cash.tipo_bem = 5;
  cash.val_imposv = Dec("30.00");
  src_.gains = {gain, cash};

  struct Case {
    const char* what;
    Kind kind;
    int number;
    Date payment;
    std::array<std::string, 5> lines;
  } cases[] = {
      {"quota", Kind::kQuota, 2, D(2020, 7, 31),
       Lines({"", "Imposto devido..... R$     1.000,00", "", "",
              "Pagto. da quota 2 de 3 do IRPF/2019"})},
      {"carne-leao, nothing paid", Kind::kCarneLeao, 3, D(2019, 4, 30),
       Lines({"Rendimentos....... R$      6.000,00", "Livro Caixa....... R$        200,00",
              "Deducoes.......... R$        189,59", "Imposto........... R$        700,00",
              "Carne Leao do mes de Marco    /2019"})},
      {"carne-leao, partly paid", Kind::kCarneLeao, 4, D(2019, 5, 31),
       Lines({"", "Valor Devido...... R$        700,00", "V. Recolhido...... R$        250,00",
              "Diferenca......... R$        450,00", "Diferenca no C.Leao de Abril  /2019"})},
      {"capital gain abroad", Kind::kCapitalGain, 5, D(2019, 6, 28),
       Lines({"Ganho em Movel no Exterior", "Base de calculo.....R$     8.000,00",
              "Imposto.............R$     1.200,00", "", "GCAP nro 07 em Maio     /2019"})},
      {"late-filing fine", Kind::kLateFilingFine, 1, D(2020, 12, 1),
       Lines({"Multa maxima pelo atraso   2.000,00", "Multa minima pelo atraso     165,74",
              "06 meses de atraso  =        600,00", "Valor da multa........       600,00",
              "Multa pelo atraso na entrega"})},
      {"foreign cash", Kind::kForeignCash, 1, D(2020, 6, 30),
       Lines({"Ganho capital moeda especie", "", "", "", "Declaracao Ajuste Anual"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Darf d = testing::HolderDarf(c.kind, c.payment);
    d.number = c.number;
    d.gain_number = 7;
    d = Filled(d);
    EXPECT_EQ(d.lines, c.lines);
    EXPECT_EQ(d.reference, std::string(16, ' '));
  }
}

TEST_F(PreencheTest, DonationsCarryTheirFundAndReference) {
  src_.payments = {
      {"Fundo Nacional da Crianca", "00.000.000/0001-91", 39, Dec("300.00"), Dec("0")},
      {"FUNDO EST. SP - Estadual", "00000000000006", 39, Dec("100.00"), Dec("0")},
      {core::Cp850("FMDCA São José dos Campos - SP"), "00000000000100", 39, Dec("50.00"), Dec("0")},
  };
  struct Case {
    int number;
    std::string reference;
    std::array<std::string, 5> lines;
  } cases[] = {
      {1, "0000000000019119",
       Lines({"Doacao Fundo Direito da Crianca", "Fundo Nacional", "", "", "Declaracao Ajuste Anual"})},
      {2, "0000000000000612",
       Lines({"Doacao Fundo Direito da Crianca", "Fundo Estadual - SP", "", "",
              "Declaracao Ajuste Anual"})},
      {3, "0000000000010073",
       Lines({"Doacao Fundo Direito da Crianca", "Fundo Municipal", "CA Sao Jose dos Campos - SP", "",
              "Declaracao Ajuste Anual"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    Darf d = testing::HolderDarf(Kind::kChildrenFund, D(2020, 6, 10));
    d.number = c.number;
    d = Filled(d);
    EXPECT_EQ(d.reference, c.reference);
    EXPECT_EQ(d.lines, c.lines);
  }
}

TEST(DonationRefusalTest, AfterTheDeadlineOrWithoutDonation) {
  const core::VariableMap vars = testing::DeclarationVars();
  DarfSources src = testing::Sources(vars);
  EXPECT_EQ(DonationRefusal(src, Kind::kElderlyFund, D(2020, 6, 10)),
            std::vector<std::string>{"Não existe doação para o Idoso nesse CPF!"});
  src.payments = {{"Fundo Nacional", "00000000000191", 49, Dec("10.00"), Dec("0")}};
  EXPECT_TRUE(DonationRefusal(src, Kind::kElderlyFund, D(2020, 6, 30)).empty());
  const auto late = DonationRefusal(src, Kind::kElderlyFund, D(2020, 7, 1));
  ASSERT_EQ(late.size(), 4u);
  EXPECT_EQ(late[0], "O pagamento do Darf de doação para o Idoso só é permitido");
  EXPECT_EQ(late[1], "até 30/06/2020. Caso tenha entregue a declaração com");
}

TEST(FazONomeTest, JobNames) {
  struct Case {
    Kind kind;
    int first, last;
    Date period;
    const char* person;
    const char* name;
  } cases[] = {
      {Kind::kQuota, 1, 1, D(2019, 12, 31), "MARIA DA SILVA SOUZA",
       "Darf Quota 1 - do IRPF2020 - MARIA SOUZA"},
      {Kind::kQuota, 2, 4, D(2019, 12, 31), "MARIA DA SILVA SOUZA",
       "Darf Quotas 2 ate 4 - do IRPF2020 - MARIA SOUZA"},
      {Kind::kCarneLeao, 3, 3, D(2019, 3, 29), "JOAO PEREIRA", "Darf CLeao - 03-2019 - JOAO PEREIRA"},
      {Kind::kVariableIncome, 1, 3, D(2019, 1, 31), "JOAO PEREIRA",
       "Darf RVar - do mes 01 ate 03 - JOAO PEREIRA"},
      {Kind::kChildrenFund, 1, 1, D(2019, 12, 31), "MARIA", "Darf ECA - 12-2019 - MARIA"},
  };
  for (const Case& c : cases) {
    Darf d;
    d.kind = c.kind;
    d.number = d.first = c.first;
    d.last = c.last;
    d.period = c.period;
    EXPECT_EQ(FazONome(d, c.person), c.name);
  }
}

}  // namespace
}  // namespace dodu::darf
