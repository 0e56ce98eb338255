#include "tax/carne_texts.h"

#include <algorithm>

namespace dodu::tax {
namespace {

bool Blank(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

constexpr std::string_view kLiberalOccupations[] = {"225", "226", "229", "241", "255"};
constexpr std::string_view kLiberalNature = "11";

std::string Wrong(char letter) {
  return std::string("O caracter ") + letter + " digitado está errado";
}

constexpr const char* kStatusPrefix =
    "Alt A ou mouse no Número() Muda o modo de preenchimento - Alt N ou mouse no * Muda o "
    "pagamento para ";

}  // namespace

LetterCheck CheckDeclarationType(char letter, FillMode mode, std::string_view codat,
                                 std::string_view cdpro) {
  LetterCheck c;
  if (letter != 'T' && letter != 'O' && letter != 'A') {
    c.accepted = false;
    c.message = {Wrong(letter), "Preencha com a letra T para Trabalho autonomo",
                 "Preencha com a letra A se o rendimento for Aluguel",
                 "Preencha com a letra O se Outros rendimentos"};
    return c;
  }
  const bool typed = mode == FillMode::kTotalsOnly || mode == FillMode::kInverse;
  const std::string_view code = Trim(cdpro);
  const bool liberal = Trim(codat) == kLiberalNature &&
                       std::find(std::begin(kLiberalOccupations), std::end(kLiberalOccupations),
                                 code) != std::end(kLiberalOccupations);
  if (letter == 'T' && typed && liberal) {
    c.message = {"Não deve ser preenchido aqui para Profisionais Liberais",
                 "Com ocupação código " + std::string(code) + " como é esse contribuinte.",
                 "Use o modo 1 ou 3, pois é preciso o CPF do Beneficiário"};
  }
  return c;
}

LetterCheck CheckLineType(char letter, std::string_view payer_cpf,
                          std::string_view beneficiary_cpf) {
  LetterCheck c;
  const bool payer = !Blank(payer_cpf), beneficiary = !Blank(beneficiary_cpf);
  switch (letter) {
    case ' ':
      return c;
    case 'T':
      if (!payer) c.message = {"Para Trabalho Autônomo é necessário ter o CPF do pagador"};
      return c;
    case 'O':
    case 'A': {
      const std::string word = letter == 'O' ? "outros" : "aluguel";
      if (payer) {
        c.message = {"Para " + word + " não é conveniente ter o CPF do pagador"};
        if (beneficiary) c.message.push_back("e nem preenchido o CPF do Beneficiário");
      } else if (beneficiary) {
        c.message = {"Para " + word + " não é conveniente ter o CPF do Beneficiário"};
      }
      return c;
    }
    default:
      c.accepted = false;
      c.message = {Wrong(letter), "Preencha com a letra T para Trabalho autonomo",
                   "Preencha com a letra A para rendimento de Aluguel",
                   "Preencha com a letra O para Outros rendimentos"};
      return c;
  }
}

std::string FillModeText(FillMode mode) {
  switch (mode) {
    case FillMode::kIndividual:
      return "1)INDIVIDUAL  ";
    case FillMode::kTotalsOnly:
      return "2)SÓ OS TOTAIS";
    case FillMode::kCashBookLedger:
      return "3)LIVRO CAIXA ";
    case FillMode::kInverse:
      return "4)CALC.INVERSO";
  }
  return "";
}

std::vector<std::string> FillModeExplanation(FillMode mode) {
  switch (mode) {
    case FillMode::kIndividual:
      return {"Essa é a opção ideal para o preenchimento da",
              "declaração. Deve ser usada principalmente quando",
              "houver mais de uma pessoa física como pagadora."};
    case FillMode::kTotalsOnly:
      return {"Esse modo deve ser usado para um cálculo rápido do Carnê Leão.",
              "Na coluna Depen+Previ deverá ser informado a soma dos valores",
              "O programa separa havendo dependentes o valor da  previdência.",
              "Caso tenha pensão a ser somada NÃO utilize esse modo. Use o modo 1",
              "O valor da pensão deve ser informada mês a mês na Tela F6."};
    case FillMode::kCashBookLedger:
      return {"Essa é a opção ideal para o preenchimento de declarações de",
              "profisionais liberais. Deve ser usada principalmente quando",
              "houver a necessidade de fazer um livro caixa completo."};
    case FillMode::kInverse:
      return {"Essa opção faz a conta ao inverso. Informado o valor do imposto",
              "Dependentes+Previdencia e/ou livro caixa é calculado o valor",
              "do rendimento. Uma vêz calculado recomenda-se mudar a opção."};
  }
  return {};
}

FillMode NextFillMode(FillMode mode) {
  return mode == FillMode::kInverse ? FillMode::kIndividual
                                    : static_cast<FillMode>(static_cast<int>(mode) + 1);
}

std::string DeductionHeading(FillMode mode, bool titular_table, bool has_dependants) {
  if (!titular_table) return "Previdência";
  if (mode == FillMode::kIndividual || mode == FillMode::kCashBookLedger) return "Dep+Pre+Pen";
  return has_dependants ? "Depen+Previ" : "Previdencia";
}

CarriedTexts CarriedValueTexts(bool so_rec) {
  if (so_rec) {
    return {"LEAO PAGO *",
            "L. devido  ",
            "LEAO PAGO * L. Devido  ",
            {"ATENÇÂO! O valor total do Carnê Leão a ser transportado",
             "para a tela 7 será  apenas o VALOR INFORMADO COMO PAGO.",
             "Um valor para menor será detectado pela Receita que poderá",
             "emitir a cobrança posterior da diferença com juros e correções."},
            std::string(kStatusPrefix) + "LEÃO DEVIDO"};
  }
  return {"Leao pago  ",
          "L. DEVIDO *",
          "Leao Pago   L. DEVIDO *",
          {"ATENÇÃO! O valor total do Carnê Leão a ser transportado",
           "para a tela 7 será  a SOMA DOS MAIORES VALORES encontrados",
           "entre o valor informado como pago e o valor devido.",
           "Uma diferença para menor deve ser emitido DARF desse valor"},
          std::string(kStatusPrefix) + "LEÃO PAGO  "};
}

std::optional<TypeFooterValues> TypeFooter(char letter, const Decimal& total) {
  switch (letter) {
    case 'T':
      return TypeFooterValues{total, Decimal(), Decimal()};
    case 'A':
      return TypeFooterValues{Decimal(), total, Decimal()};
    case 'O':
      return TypeFooterValues{Decimal(), Decimal(), total};
    default:
      return std::nullopt;
  }
}

std::string MonthLabel(int row) {
  static const char* const kNames[12] = {"Jan", "Fev", "Mar", "Abr", "Mai", "Jun",
                                         "Jul", "Ago", "Set", "Out", "Nov", "Dez"};
  if (row < 1 || row > 12) return "Totais";
  return (row < 10 ? "0" : "") + std::to_string(row) + "-" + kNames[row - 1];
}

}  // namespace dodu::tax
