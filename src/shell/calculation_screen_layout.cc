// Drawing the two layouts of the calculation screen.
#include <string>
#include <vector>

#include "core/codepage.h"
#include "core/picture.h"
#include "screen/colour.h"
#include "shell/calculation_screen.h"
#include "shell/internal/calculation_layout.h"
#include "tax/annual_rate.h"

namespace dodu::shell {
namespace {

using core::Cp850;
using namespace internal;

struct Shown {
  int row, col;
  const char* heading;
  // One or two summary names added together; "" for none.
  const char* first;
  const char* second;
};

// Complete layout: left, the taxable income and the deductions; right, the
// tax due and the tax paid.
const Shown kComplete[] = {
    {2, kLeftHeading, "RENDIME.TRIBUTÁVEIS", "", ""},
    {3, kLeftHeading, "Rend. PJ Titular", "I13_01", ""},
    {4, kLeftHeading, "Rend. PJ Dependente", "I13_02", ""},
    {5, kLeftHeading, "Rend. PF/Ext.Titular", "I13_03", "I13_49"},
    {6, kLeftHeading, "Rend. PF/Ext.Depend.", "I13_04", "I13_50"},
    {7, kLeftHeading, "Acumulados do titular", "I13_05", ""},
    {8, kLeftHeading, "Acumulados do Depend.", "I13_06", ""},
    {9, kLeftHeading, "Resul.Trib.Ativ.Rural", "I13_07", ""},
    {10, kLeftHeading, "TOTAL...............", "I13_08", ""},
    {11, kLeftHeading, "DEDUÇÕES", "", ""},
    {12, kLeftHeading, "Prev.Oficial/Funpresp", "I13_09", ""},
    {13, kLeftHeading, "Prev.oficial no RRA  ", "I13_10", ""},
    {14, kLeftHeading, "Prev.Privada/FAPI    ", "I13_11", ""},
    {15, kLeftHeading, "Dependentes          ", "I13_12", ""},
    {16, kLeftHeading, "Despesas c/ Instrução", "I13_13", ""},
    {17, kLeftHeading, "Despesas médicas     ", "I13_14", ""},
    {18, kLeftHeading, "Pensão Judicial      ", "I13_15", ""},
    {19, kLeftHeading, "Pensão Escritura Pub.", "I13_16", ""},
    {20, kLeftHeading, "Pensão Judicial (RRA)", "I13_17", ""},
    {21, kLeftHeading, "Livro Caixa          ", "I13_18", ""},
    {22, kLeftHeading, "TOTAL................", "I13_19", ""},
    {2, kRightHeading, "IMPOSTO DEVIDO", "", ""},
    {3, kRightHeading, "Base de cálculo     ", "I13_20", ""},
    {4, kRightHeading, "Imposto devido      ", "I13_21", ""},
    {5, kRightHeading, "Deduções  Incentivo ", "I13_22", ""},
    {6, kRightHeading, "Imposto devido I    ", "I13_23", ""},
    {7, kRightHeading, "Imposto devido RRA  ", "I13_25", ""},
    {8, kRightHeading, "TOTAL IMPOSTO DEVIDO", "I13_26", ""},
    {10, kRightHeading, "IMPOSTO PAGO", "", ""},
    {11, kRightHeading, "Imp.Retido Titular  ", "I13_27", ""},
    {12, kRightHeading, "Imp.Retido Dependen.", "I13_28", ""},
    {13, kRightHeading, "Carne Leão Titular  ", "I13_29", ""},
    {14, kRightHeading, "Carne Leão Dependen.", "I13_30", ""},
    {kRowLine31, kRightHeading, "Imposto Complementar", "I13_31", ""},
    {16, kRightHeading, "Imposto pg. Exterior", "I13_32", ""},
    {kRowLine33, kRightHeading, "IR Retido Lei 11.003", "I13_33", ""},
    {18, kRightHeading, "Imposto Retido RRA  ", "I13_34", ""},
    {19, kRightHeading, "TOTAL IMPOSTO PAGO  ", "I13_35", ""},
    {20, kRightHeading, "Imposto a PAGAR", "I13_36", ""},
    {kRowQuotas, kRightHeading, "Em   Quotas  de     ", "I13_37", ""},
    {22, kRightHeading, "Imposto a Restituir", "I13_38", ""},
};

const char* const kSimpleHeadings[] = {
    "Rend.Tributável P.Jurídica do Titular",
    "Rend.Tributável P.Jurídica dependentes",
    "Rend.Tributável P.Física/Exterior do Titular",
    "Rend.Tributável P.Física/Exterior do Depend.",
    "Rend.Recebidos Acumuladamente do Titular",
    "Rend.Recebidos Acumuladamente do Dependente",
    "Rend.Tributável da Atividade Rural",
    "TOTAL DOS RENDIMENTOS",
    "Desconto Simplificado",
    "Base de Cálculo do Imposto",
    "Imposto devido Recebido Acumuladamente",
    "TOTAL DO IMPOSTO DEVIDO",
    "Imp.Renda Retido na fonte do titular",
    "Imp.Renda Retido na fonte dos dependentes",
    "Carnê Leão recolhido do titular+dependentes",
    "Imposto complementar",
    "Imposto pago no Exterior",
    "Imposto Lei 11.033/2004",
    "Imposto retido RRA",
    "TOTAL DO IMPOSTO PAGO",
    "Imposto  a  PAGAR",
    " quotas (até 8) ... no valor de",
    "Imposto  a  Restituir",
};
const char* const kSimpleFields[][2] = {
    {"I13_01", ""},    {"I13_02", ""}, {"I13_03", "I13_49"}, {"I13_04", "I13_50"},
    {"I13_05", ""},    {"I13_06", ""}, {"I13_07", ""},       {"I13_08", ""},
    {"DESPADRAO", ""}, {"I13_20", ""}, {"I13_25", ""},       {"I13_26", ""},
    {"I13_27", ""},    {"I13_28", ""}, {"I13_29", "I13_30"}, {"I13_31", ""},
    {"I13_32", ""},    {"I13_33", ""}, {"I13_34", ""},       {"I13_35", ""},
    {"I13_36", ""},    {"I13_37", ""}, {"I13_38", ""},
};

core::Decimal Value(const core::Variables& v, const char* name) {
  if (!*name || !v.Has(name) || v.Type(name) != core::ValueType::kNumber) return core::Decimal();
  return v.Number(name);
}

std::string Money(const core::Decimal& d) { return core::Transform(d, kMoneyPicture); }

void DrawComplete(screen::Toolkit& tk, const core::Variables& vars, screen::Attr attr) {
  for (const Shown& s : kComplete) {
    tk.Write(s.row, s.col, Cp850(s.heading), attr);
    if (*s.first) {
      int col = s.col == kLeftHeading ? kLeftValue : kRightValue;
      tk.Write(s.row, col, Money(Value(vars, s.first) + Value(vars, s.second)), attr);
    }
  }
  tax::EffectiveRate rate = tax::EffectiveRateOf(vars);
  tk.Write(23, kRightHeading, Cp850("A.Efetiva " + rate.text + " " + rate.label), attr);
  tk.Write(kRowFooter, 1, "Simulador", attr);
  tk.Write(kRowFooter, kColSimulate + 2, "Mudar para Simples", attr);
  tk.Write(kRowFooter, kColSwitch + 2, "IR exterior", attr);
}

void DrawSimplified(screen::Toolkit& tk, const core::Variables& vars, screen::Attr attr) {
  tk.Write(1, 1, Cp850("Declaração Simplificada"), attr);
  for (int i = 0; i < 23; ++i) {
    int row = kSimpleFirstRow + i;
    tk.Write(row, kSimpleHeading, Cp850(kSimpleHeadings[i]), attr);
    tk.Write(row, kSimpleValue,
             Money(Value(vars, kSimpleFields[i][0]) + Value(vars, kSimpleFields[i][1])), attr);
  }
  tax::EffectiveRate rate = tax::EffectiveRateOf(vars);
  tk.Write(kSimpleFirstRow + 20, kBoxLeft, Cp850("A.Efetiva " + rate.text), attr);
  tk.Write(kSimpleFirstRow + 22, kBoxLeft, Cp850("A.Efetiva " + rate.text), attr);
  tk.Frame(2, kBoxLeft - 1, 10, 78, attr, Cp850("Simulação"));
  tk.Write(4, kBoxLeft, "Para pagar", attr);
  tk.Write(5, kBoxLeft, "um imposto de", attr);
  tk.Write(7, kBoxLeft, "A renda devera", attr);
  tk.Write(8, kBoxLeft, "ser de", attr);
  tk.Write(kRowSwitch - 1, kBoxLeft, "Mudar para o", attr);
  tk.Write(kRowSwitch, kBoxLeft, "completo", attr);
}

}  // namespace

void DrawCalculationScreen(screen::Toolkit& tk, const core::Variables& vars) {
  const auto attr = static_cast<screen::Attr>(tk.colours().COR_TEL1);
  tk.Fill(1, 0, 24, 79, ' ', attr);
  bool simplified = vars.Has("USAPADRAO") && vars.Text("USAPADRAO") == "S";
  if (simplified) {
    DrawSimplified(tk, vars, attr);
  } else {
    DrawComplete(tk, vars, attr);
  }
}

}  // namespace dodu::shell
