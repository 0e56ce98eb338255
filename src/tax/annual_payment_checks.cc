#include "tax/annual_payment_checks.h"

#include "tax/annual_rows.h"
#include "tax/annual_totals.h"

namespace dodu::tax {

PaidColumnCheck CheckPaidColumn(int code, const Decimal& paid, const Decimal& line09) {
  PaidColumnCheck c;
  if (code >= payment::kEducation && code <= payment::kEducationLast) {
    c.not_deductible = EducationNotDeductible(paid);
  }
  if ((code == payment::kPrivatePension || code == payment::kPrivatePensionFapi) &&
      line09.IsZero()) {
    c.message = {"Atenção! As contribuições de previdência complementar cujo o ônus ",
                 "seja do próprio contribuinte fica condicionado a contribuição para",
                 "a previdência oficial, exceto se já aposentado. Na previdência dos",
                 "dependentes menores de 16 anos só podem ser deduzidas se o titular",
                 "contribuir a P. Oficial e se maior de 16 o próprio dependente deve",
                 "recolher a Previdência. Lei 10.887 de 18/06/04 artigo 13.   "};
  } else if (code == payment::kFunpresp) {
    c.message = {"Lance nessa Coluna o pago pelo contribuinte.   ",
                 "na Coluna Não Dedutível a Contribuição feita   ",
                 "do ente público patrocinador, mesmo sendo igual."};
  }
  c.recompute_line22 = code >= payment::kChildrenFundDirect && code <= payment::kProgrammeB;
  return c;
}

NotDeductibleCheck CheckNotDeductibleColumn(int code, const Decimal& paid, const Decimal& value) {
  NotDeductibleCheck c;
  c.value = value;
  if (code == payment::kFunpresp) {
    c.message = {"Lance nesse campo o valor limite do patrocinador"};
  } else if (code > payment::kDeedAlimonyAbroad) {
    c.value = Decimal();
    c.message = {"Valores não dedutíveis só deve ser preenchido para convênios",
                 "hospitalares ou médicos quando o contribuinte é reembolsado. ",
                 "Esse campo será preenchido pelo programa nas situações onde",
                 "os valores ultrapassam o limite permitido"};
  } else if (code >= payment::kMedicalFirst && code <= 28 && value > paid) {
    c.value = Decimal();
    c.refused = true;
    c.message = {"O valor não dedutível ou reembolsado", "não pode ser maior que o valor pago "};
  }
  return c;
}

}  // namespace dodu::tax
