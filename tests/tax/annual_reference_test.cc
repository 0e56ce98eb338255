// The real declaration written by the official program (simplified model, one
// dependant, one alimony recipient, company income, exempt and exclusive
// income, education and medical payments, assets and debts): its figures,
// read from its XML document, entered as work-copy rows give the summary the
// official program computed, under both models.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "annual_fixture.h"
#include "tax/annual_calc.h"
#include "tax/annual_rate.h"

namespace dodu::tax {
namespace {

using namespace core::literals;
using testing::DeclarationVariables;
using testing::Rows;

using Attributes = std::map<std::string, std::string>;

const char kReference[] = DODU_SHARED_DIR "/reference/22222222303-0000000000.xml";

// The attributes of the start tag that begins at `at` ("<name a="1" ...>").
Attributes AttributesAt(const std::string& xml, size_t at) {
  Attributes out;
  size_t end = xml.find('>', at);
  size_t p = xml.find(' ', at);
  while (p != std::string::npos && p < end) {
    size_t eq = xml.find('=', p);
    if (eq == std::string::npos || eq > end) break;
    size_t open = xml.find('"', eq), close = xml.find('"', open + 1);
    std::string name = xml.substr(p + 1, eq - p - 1);
    out[name] = xml.substr(open + 1, close - open - 1);
    p = xml.find(' ', close);
  }
  return out;
}

size_t StartOf(const std::string& xml, const std::string& tag, size_t from = 0) {
  for (size_t p = xml.find("<" + tag, from); p != std::string::npos;
       p = xml.find("<" + tag, p + 1)) {
    char next = xml[p + 1 + tag.size()];
    if (next == ' ' || next == '>' || next == '/') return p;
  }
  return std::string::npos;
}

Attributes Element(const std::string& xml, const std::string& tag) {
  size_t at = StartOf(xml, tag);
  return at == std::string::npos ? Attributes() : AttributesAt(xml, at);
}

// The attributes of each <item> inside the element `tag`.
std::vector<Attributes> Items(const std::string& xml, const std::string& tag) {
  std::vector<Attributes> out;
  size_t begin = StartOf(xml, tag);
  if (begin == std::string::npos) return out;
  size_t end = xml.find("</" + tag + ">", begin);
  for (size_t p = StartOf(xml, "item", begin); p != std::string::npos && p < end;
       p = StartOf(xml, "item", p + 1)) {
    out.push_back(AttributesAt(xml, p));
  }
  return out;
}

// "97.623,52" -> 97623.52; blank -> 0.
Decimal Amount(const Attributes& a, const std::string& name) {
  auto it = a.find(name);
  if (it == a.end()) return Decimal();
  std::string s;
  for (char c : it->second) {
    if (c == ',')
      s += '.';
    else if (c != '.')
      s += c;
  }
  auto d = Decimal::Parse(s);
  return d ? *d : Decimal();
}

class AnnualReferenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(kReference, std::ios::binary);
    if (!in) GTEST_SKIP() << "no reference declaration at " << kReference;
    std::stringstream ss;
    ss << in.rdbuf();
    xml_ = ss.str();
    // People in table order: dependants, then alimony recipients.
    std::vector<std::string> people;
    for (const Attributes& d : Items(xml_, "dependentes")) {
      rows_.Person({{"CODIDEPEN", std::stoi(d.at("codigo"))}});
      people.push_back(d.at("cpfDependente"));
    }
    for (const Attributes& a : Items(xml_, "alimentandos")) {
      rows_.Person({{"CODIDEPEN", a.at("residente") == "0" ? 99 : 98}});
      people.push_back(a.at("cpf"));
    }
    for (const char* who : {"colecaoRendPJTitular", "colecaoRendPJDependente"}) {
      bool titular = std::string(who) == "colecaoRendPJTitular";
      for (const Attributes& i : Items(xml_, who)) {
        rows_.Income({{"I1_1", titular ? "J" : "D"},
                      {"I1_11", titular ? "S" : "N"},
                      {"I1_3", i.at("NIFontePagadora").c_str()},
                      {"I1_4", Amount(i, "rendRecebidoPJ")},
                      {"I1_5", Amount(i, "impostoRetidoFonte")},
                      {"I1_6", Amount(i, "contribuicaoPrevOficial")},
                      {"I1_7", Amount(i, "decimoTerceiro")},
                      {"I1_39", Amount(i, "IRRFDecimoTerceiro")}});
      }
    }
    // Exempt and exclusive income enter as an income line with the columns
    // that feed those lines.
    Attributes exempt = Element(xml_, "rendIsentos");
    Attributes exclusive = Element(xml_, "rendTributacaoExclusiva");
    rows_.Income({{"I1_1", "J"},
                  {"I1_11", "S"},
                  {"I1_15", Amount(exempt, "lucroRecebido")},
                  {"I1_9", Amount(exempt, "outros")},
                  {"I1_32", Amount(exclusive, "jurosCapitalProprio")},
                  {"I1_33", Amount(exclusive, "participacaoLucrosResultados")},
                  {"I1_34", Amount(exclusive, "outros")}});
    for (const Attributes& p : Items(xml_, "pagamentos")) {
      int person = 0;
      for (size_t k = 0; k < people.size(); ++k) {
        if (p.at("tipo") != "T" &&
            (people[k] == p.at("cpfDependente") || people[k] == p.at("cpfAlimentando"))) {
          person = static_cast<int>(k) + 1;
        }
      }
      rows_.Pay(std::stoi(p.at("codigo")), Amount(p, "valorPago"), Amount(p, "parcelaNaoDedutivel"),
                person);
    }
    for (const Attributes& b : Items(xml_, "bens")) {
      rows_.Asset({{"I7_3", Amount(b, "valorExercicioAnterior")},
                   {"I7_4", Amount(b, "valorExercicioAtual")}});
    }
    for (const Attributes& d : Items(xml_, "dividas")) {
      rows_.Debt({{"I8_3", Amount(d, "valorExercicioAnterior")},
                  {"I8_4", Amount(d, "valorExercicioAtual")},
                  {"I8_7", Amount(d, "valorPgtoAnual")}});
    }
  }

  core::VariableMap Compute(const char* model) {
    core::VariableMap v = DeclarationVariables();
    v.SetText("USAPADRAO", model);
    AnnualCalculation calc(v, rows_.view());
    calc.Balanco();
    calc.Calc(kCalcWhole, 0);
    return v;
  }

  std::string xml_;
  Rows rows_;
};

TEST_F(AnnualReferenceTest, SimplifiedModelGivesTheOfficialSummary) {
  core::VariableMap v = Compute("S");
  const Attributes calc = Element(xml_, "calculoImposto");
  ASSERT_FALSE(calc.empty());
  EXPECT_EQ(v.Number("I13_01"), Amount(calc, "rendPJRecebidoTitular"));
  EXPECT_EQ(v.Number("I13_02"), Amount(calc, "rendPJRecebidoDependentes"));
  EXPECT_EQ(v.Number("I13_08"), Amount(calc, "totalResultadosTributaveis"));
  EXPECT_EQ(v.Number("DESPADRAO"), Amount(calc, "descontoSimplificado"));
  EXPECT_EQ(v.Number("I13_20"), Amount(calc, "baseCalculo"));
  EXPECT_EQ(v.Number("I13_26"), Amount(calc, "impostoDevido"));
  EXPECT_EQ(v.Number("I13_27"), Amount(calc, "impostoRetidoFonteTitular"));
  EXPECT_EQ(v.Number("I13_28"), Amount(calc, "impostoRetidoFonteDependentes"));
  EXPECT_EQ(v.Number("I13_35"), Amount(calc, "totalImpostoPago"));
  EXPECT_EQ(v.Number("I13_36"), Amount(calc, "saldoImpostoPagar"));
  EXPECT_EQ(v.Number("I13_38"), Amount(calc, "impostoRestituir"));
  EXPECT_EQ(EffectiveRateOf(v).rate, Amount(calc, "aliquotaEfetiva"));

  const Attributes other = Element(xml_, "outrasInformacoes");
  EXPECT_EQ(v.Number("I13_44"), Amount(other, "rendIsentosNaoTributaveis"));
  EXPECT_EQ(v.Number("I13_45"), Amount(other, "rendIsentosTributacaoExclusiva"));
  EXPECT_EQ(v.Number("I13_39"), Amount(other, "bensDireitosExercicioAnterior"));
  EXPECT_EQ(v.Number("I13_40"), Amount(other, "bensDireitosExercicioAtual"));
  EXPECT_EQ(v.Number("I13_41"), Amount(other, "dividasOnusReaisExercicioAnterior"));
  EXPECT_EQ(v.Number("I13_42"), Amount(other, "dividasOnusReaisExercicioAtual"));
  EXPECT_EQ(v.Text("CGCPAGADOR"), Element(xml_, "colecaoRendPJTitular").at("niMaiorFontePagadora"));
}

TEST_F(AnnualReferenceTest, BothModelsOfTheComparison) {
  const Attributes cmp = Element(xml_, "comparativo");
  ASSERT_FALSE(cmp.empty());
  core::VariableMap simplified = Compute("S");
  EXPECT_EQ(simplified.Number("I13_08"), Amount(cmp, "totalRendTribSimplificada"));
  EXPECT_EQ(simplified.Number("I13_20"), Amount(cmp, "baseCalcSimplificada"));
  EXPECT_EQ(simplified.Number("I13_36"), Amount(cmp, "saldoPagarSimplificada"));
  EXPECT_EQ(simplified.Number("I13_38"), Amount(cmp, "impRestituirSimplificada"));

  core::VariableMap complete = Compute("N");
  EXPECT_EQ(complete.Number("I13_08"), Amount(cmp, "totalRendTribCompleta"));
  EXPECT_EQ(complete.Number("I13_20"), Amount(cmp, "baseCalcCompleta"));
  EXPECT_EQ(complete.Number("I13_36"), Amount(cmp, "saldoPagarCompleta"));
  EXPECT_EQ(complete.Number("I13_38"), Amount(cmp, "impRestituirCompleta"));
  // The deductions the official program lists: education capped, medical,
  // one dependant, official social security of titular and dependant.
  const Attributes pay = Element(xml_, "pagamentos");
  EXPECT_EQ(complete.Number("I13_13"), Amount(pay, "totalDeducoesInstrucao"));
  EXPECT_EQ(complete.Number("I13_14"), Amount(pay, "totalDespesasMedicas"));
  EXPECT_EQ(complete.Number("I13_12"), "2275.08"_dec);
  EXPECT_EQ(complete.Number("I13_19"),
            Amount(Element(xml_, "rendimentosTributaveisDeducoes"), "totalDeducoes"));
}

}  // namespace
}  // namespace dodu::tax
