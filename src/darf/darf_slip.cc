#include "darf/darf_slip.h"

#include <algorithm>

#include "core/id_format.h"
#include "core/picture.h"
#include "darf/darf_texts.h"

namespace dodu::darf {
namespace {

const std::string kB1 = "+" + std::string(35, '-') + "+" + std::string(22, '-') + "+" +
                        std::string(18, '-') + "+";
const std::string kB2 = "+" + std::string(22, '-') + "+" + std::string(18, '-') + "+";
const std::string kB3 = "+" + std::string(35, '-') + "+" + std::string(41, '-') + "+";
const std::string kLeft35 = std::string(35, ' ');
const std::string kRight41 = std::string(41, ' ');

std::string Name35(const std::string& name) {
  std::string s = name.substr(0, 35);
  s.resize(35, ' ');
  return s;
}

std::string Phone(const std::string& digits) {
  const std::string d = core::TiraPonto(digits);
  return d.empty() ? std::string() : core::Transform(d, "@R 99999-9999");
}

std::string Row(const std::string& left, const std::string& right = kRight41) {
  return "|" + left + "|" + right + "|";
}

}  // namespace

int CopiesOf(Paper paper, int nro_vias) {
  // A setting of no copies still prints the slip once on continuous forms.
  return paper == Paper::kContinuous ? std::max(1, nro_vias) : std::max(2, nro_vias);
}

std::string SlipCpfCnpj(const std::string& digits) {
  std::string s = core::ContaPonto(core::TiraPonto(digits));
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

void SlipWriter::StartPage() {
  if (out_.row() > 0 || out_.col() > 0) out_.Eject();
}

bool SlipWriter::Write(const Darf& darf) {
  if (darf.principal.IsZero()) return false;
  switch (paper_) {
    case Paper::kBlankSheet: {
      StartPage();
      int top = 4;
      for (int copy = 1; copy <= copies_; ++copy) {
        const int end = BlankSheetCopy(darf, top);  // the empty row after the border
        top = end + (copy == 1 ? 8 : 5);
      }
      break;
    }
    case Paper::kContinuous:
      for (int copy = 1; copy <= copies_; ++copy) {
        const int s = out_.col() > 0 ? out_.row() + 1 : out_.row();
        ContinuousCopy(darf, s);
        out_.MoveTo(s + 24, 0);
      }
      break;
    case Paper::kPreprinted: {
      StartPage();
      int r = offset_ + 10;
      for (int copy = 1; copy <= copies_; ++copy) {
        PreprintedCopy(darf, r);
        r += 18 + 9;
      }
      break;
    }
  }
  return true;
}

int SlipWriter::BlankSheetCopy(const Darf& darf, int top) {
  const bool blank_future = darf.BlankFuture();
  auto say = [&](int row, int col, const std::string& text) { out_.Say(top + row, col, text); };
  say(0, 1, kB1);
  say(1, 1, "|    MINISTERIO DA FAZENDA          |02-Periodo de apuracao|");
  say(1, 66, darf.period.ToDmy());
  say(1, 79, "|");
  say(2, 1, "|    Secretaria da Receita Federal  " + kB2);
  say(3, 1, "|Doc. Arrecada. de Receitas Federais|03-Numero do CPF/CNPJ |");
  say(3, 61, SlipCpfCnpj(darf.cpf_cnpj));
  say(3, 79, "|");
  say(4, 1, "|           D  A  R  F              " + kB2);
  say(5, 1, "|                                   |04-Codigo da receita  |");
  say(5, 66, darf.code);
  say(5, 79, "|");
  say(6, 1, kB1);
  say(7, 1, "|01-Nome / Telefone                 |05-Nro de referencia  |");
  say(7, 62, darf.reference);
  say(7, 79, "|");
  say(8, 1, "|" + Name35(darf.name));
  say(8, 37, kB2);
  say(9, 1, "|");
  say(9, 2, Phone(darf.phone));
  say(9, 37, "|06-Data de Vencimento |");
  say(9, 66, darf.due.ToDmy());
  say(9, 79, "|");
  say(10, 1, "|" + darf.lines[4]);
  say(10, 37, kB2);
  say(11, 1, "|" + darf.lines[0]);
  say(11, 37, "|07-Valor do principal |");
  say(11, 64, Amount(darf.principal));
  say(11, 79, "|");
  say(12, 1, kB1);
  say(13, 1, "|" + kLeft35 + "|08-Valor da Multa     |");
  say(13, 64, Amount(darf.fine));
  say(13, 79, "|");
  say(14, 1, "|" + darf.lines[1]);
  say(14, 37, kB2);
  say(15, 1, "|" + darf.lines[2]);
  say(15, 37, "|09-Valor dos juros    |");
  if (!blank_future) say(15, 64, Amount(darf.interest));
  say(15, 79, "|");
  say(16, 1, "|");
  say(16, 37, kB2);
  say(17, 1, "|" + darf.lines[3]);
  say(17, 37, "|10-Valor Total        |");
  if (!blank_future) say(17, 64, Amount(darf.total));
  say(17, 79, "|");
  say(18, 1, "|" + kLeft35 + kB2);
  const ValidUntil valid = ValidUntilOf(darf);
  say(19, 1, "|Valido p/ pagamento ");
  say(19, 22, valid.word);
  say(19, 26, valid.date.ToDmy());
  say(19, 37, "|11-Autenticacao bancaria" + std::string(17, ' ') + "|");
  int row = 20;
  if (BelowMinimum(darf)) {
    say(row++, 1, Row("VALOR INFERIOR R$ 10,00 - NAO PAGAR"));
    say(row++, 1, Row("SOME C/OUTROS DARFS DO MESMO CODIGO"));
  } else {
    say(row++, 1, Row(kLeft35));
    if (darf.kind == Kind::kQuota && darf.same_month && darf.interest.IsZero()) {
      say(row++, 1, Row("DESDE QUE COLOQUE NO VALOR DOS     "));
      say(row++, 1, Row("JUROS A CORRECAO DA SELIC          "));
    } else {
      say(row++, 1, Row(kLeft35));
      say(row++, 1, Row(kLeft35));
    }
  }
  say(row++, 1, Row("Modelo Aprovado pela IN/SRF 81/96  "));
  say(row++, 1, kB3);
  out_.MoveTo(top + row, 0);
  return top + row;
}

void SlipWriter::ContinuousCopy(const Darf& darf, int s) {
  const bool blank_future = darf.BlankFuture();
  out_.MoveTo(s, 0);
  out_.Pitch(false);
  out_.Say(s, 65, darf.period.ToDmy());
  out_.Say(s + 2, 61, SlipCpfCnpj(darf.cpf_cnpj));
  out_.Say(s + 4, 66, darf.code);
  out_.Say(s + 7, 1, Name35(darf.name));
  out_.Say(s + 8, 1, Phone(darf.phone));
  out_.Say(s + 8, 65, darf.due.ToDmy());
  out_.Say(s + 10, 63, Amount(darf.principal));
  out_.Say(s + 12, 1, darf.lines[4]);
  if (!blank_future) {
    out_.Say(s + 12, 63, Amount(darf.fine));
    out_.Say(s + 14, 63, Amount(darf.interest));
    out_.Say(s + 16, 63, Amount(darf.total));
  }
  if (BelowMinimum(darf)) {
    out_.Say(s + 19, 40, "VALOR INFERIOR A R$ 10,00 - NAO PAGAR");
    out_.Say(s + 20, 40, " SOME C/OUTROS DARFS DO MESMO CODIGO ");
  }
}

void SlipWriter::PreprintedCopy(const Darf& darf, int r) {
  const bool blank_future = darf.BlankFuture();
  out_.MoveTo(r, 0);
  out_.Pitch(false);
  out_.Say(r, 66, darf.period.ToDmy());
  out_.Say(r + 2, 61, SlipCpfCnpj(darf.cpf_cnpj));
  out_.Say(r + 4, 66, darf.code);
  out_.Say(r + 7, 15, Phone(darf.phone));
  out_.Say(r + 7, 61, darf.reference);
  out_.Say(r + 8, 3, darf.lines[4]);
  out_.Say(r + 9, 3, Name35(darf.name));
  out_.Say(r + 9, 66, darf.due.ToDmy());
  out_.Say(r + 11, 61, Amount(darf.principal));
  if (!blank_future) {
    out_.Say(r + 13, 61, Amount(darf.fine));
    out_.Say(r + 15, 61, Amount(darf.interest));
    out_.Say(r + 17, 61, Amount(darf.total));
  }
  out_.MoveTo(r + 18, 0);
}

}  // namespace dodu::darf
