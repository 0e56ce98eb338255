#include "handover/document_writer.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "core/codepage.h"
#include "handover/declaration_fixtures.h"
#include "handover/testutil.h"

namespace dodu::handover {
namespace {

using testing::BaseSnapshot;
using testing::BaseVars;
using testing::R;
using testing::ScriptedDialog;

struct Written {
  std::string text;
  pugi::xml_document doc;
  WriteOutcome outcome;
  std::string At(const char* xpath) const {
    auto n = doc.select_node(xpath);
    return n ? (n.attribute() ? n.attribute().value() : n.node().name()) : "<none>";
  }
  size_t Count(const char* xpath) const { return doc.select_nodes(xpath).size(); }
};

std::unique_ptr<Written> WriteDoc(const Snapshot& in, testing::Vars& vars, ScriptedDialog& dialog,
                                  WriteOptions options = {}) {
  auto w = std::make_unique<Written>();
  auto r = WriteDeclaration(
      in, vars.map, dialog,
      [&](std::string_view piece) {
        w->text += piece;
        return Status::Ok();
      },
      options);
  EXPECT_TRUE(r.ok()) << r.status().ToString();
  if (r.ok()) w->outcome = *r;
  EXPECT_TRUE(w->doc.load_string(w->text.c_str())) << testing::XmlError(w->text);
  return w;
}

TEST(DocumentWriterTest, PaymentCodesExclusionsAndMessages) {
  auto vars = BaseVars();
  Snapshot in = BaseSnapshot();
  auto& pay = in.rows[Schedule::kPayments];
  for (int code = 91; code <= 97; ++code) {
    pay.push_back(R().Text("I6_1", "Benef " + std::to_string(code))
                      .Num("I6_3", core::Decimal::FromInt(code))
                      .Num("I6_4", "10"));
  }
  pay.push_back(R().Text("I6_1", "").Num("I6_3", "10").Num("I6_4", "10"));  // line 8: no name
  pay.push_back(R().Text("I6_1", "Zero code").Num("I6_3", "0").Num("I6_4", "10"));  // line 9
  pay.push_back(R().Text("I6_1", "No value").Num("I6_3", "10"));                    // line 10
  pay.push_back(R().Text("I6_1", "Dr. House").Num("I6_3", "10").Num("I6_4", "5"));
  pay.push_back(R().Text("I6_1", "Donation").Num("I6_3", "89").Num("I6_4", "7"));
  ScriptedDialog dialog;
  auto w = WriteDoc(in, vars, dialog);
  std::vector<std::string> codes, indices;
  for (auto n : w->doc.select_nodes("//pagamentos/item")) {
    codes.push_back(n.node().attribute("codigo").value());
    indices.push_back(n.node().attribute("indice").value());
  }
  EXPECT_EQ(codes, (std::vector<std::string>{"60", "61", "62", "66", "70", "76", "99", "10"}));
  EXPECT_EQ(indices, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"}));
  EXPECT_EQ(w->At("//pagamentos/@ultimoIndiceGerado"), "8");
  EXPECT_EQ(w->At("//pagamentos/item[8]/@nomeBeneficiario"), "Dr  House");
  EXPECT_EQ(w->At("//doacoes/item/@codigo"), "99");
  ASSERT_EQ(dialog.boxes.size(), 3u);
  EXPECT_EQ(dialog.boxes[0][0],
            core::Cp850("ATENÇÃO! Falta nome do beneficiado nos Pagamentos Efetuados! Item  8"));
  EXPECT_EQ(dialog.boxes[1][0],
            core::Cp850("ATENÇÃO! Código em branco (0) nos Pagamentos Efetuados!Item  9"));
  EXPECT_EQ(dialog.boxes[2][0],
            core::Cp850("ATENÇÃO! Falta valor nos Pagamentos Efetuados!Item 10"));
}

// Donations of the simplified model are listed but add nothing.
TEST(DocumentWriterTest, SimplifiedModelDonations) {
  auto vars = BaseVars();
  Snapshot in = BaseSnapshot();
  in.rows[Schedule::kPayments] = {
      R().Text("I6_1", "Fundo").Num("I6_3", "41").Num("I6_4", "75"),
      R().Text("I6_1", "FIA Nacional").Num("I6_3", "39").Num("I6_4", "20")};
  ScriptedDialog dialog;
  auto w = WriteDoc(in, vars, dialog);
  EXPECT_EQ(w->At("//doacoes/@totalDeducaoIncentivo"), "0,00");
  EXPECT_EQ(w->Count("//doacoes/item"), 1u);
  EXPECT_EQ(w->Count("//colecaoEstatutoCriancaAdolescente/item"), 0u);
}

struct AreaCodeCase {
  const char* stored;
  const char* written;
  bool cleared;
};

TEST(DocumentWriterTest, AreaCodes) {
  const AreaCodeCase cases[] = {
      {"11", "11", false},
      {" 021", "21", false},
      {"", "", false},
      {"0", "", false},
      {"5", "", true},
      // Fault: 100 passed the check ("above 100" was the limit) and went out as a
      // three-digit area code.
      {"100", "", true},
  };
  for (const auto& c : cases) {
    auto vars = BaseVars();
    vars.T("DDDTEL", c.stored);
    ScriptedDialog dialog;
    auto w = WriteDoc(BaseSnapshot(), vars, dialog);
    EXPECT_EQ(w->At("//contribuinte/@ddd"), c.written) << c.stored;
    bool cleared = false;
    for (const auto& ch : w->outcome.register_changes) cleared = cleared || ch.field == "DDDTEL";
    EXPECT_EQ(cleared, c.cleared) << c.stored;
    EXPECT_EQ(dialog.AllText().find("DDD") != std::string::npos, c.cleared) << c.stored;
  }
}

TEST(DocumentWriterTest, TaxpayerAbroadHasNoMobileAreaCode) {
  auto f = testing::DepartureAbroad();
  ScriptedDialog dialog;
  auto w = WriteDoc(f.in, f.vars, dialog);
  EXPECT_EQ(w->At("//contribuinte/@dddCelular"), "<none>");
  size_t n = 0;
  for (auto a : w->doc.child("classe").child("contribuinte").attributes()) n += a ? 1 : 0;
  EXPECT_EQ(n, 33u);
  EXPECT_EQ(w->At("//contribuinte/@pais"), "249");
  EXPECT_EQ(w->At("//identificadorDeclaracao/@tipoDeclaracaoAES"), "S");
}

struct DebitCase {
  const char* what;
  const char* debitaut;
  const char* quotas;
  platform::CivilTime now;
  std::deque<int> answers;
  const char* indicator;
  const char* first_quota;
  const char* bank;     // banco written
  const char* message;  // part of a box, "" for none
  bool ask_again;
};

TEST(DocumentWriterTest, AutomaticDebit) {
  const platform::CivilTime early{2020, 5, 2, 10, 0, 0}, late{2020, 6, 20, 10, 0, 0};
  const DebitCase cases[] = {
      // Fault: answer 2 showed the question again and again.
      {"answer 2 asked once", "", "3", early, {2}, "N", "", "", "", true},
      {"answer 3 stops asking", "", "3", early, {3}, "N", "", "", "", false},
      {"answer 1 marks it", "", "3", early, {1}, "autorizado", "1", "001", "", true},
      {"marked, late, three quotas",
       "S",
       "3",
       late,
       {},
       "autorizado",
       "0",
       "001",
       "As demais 2 quotas estar",
       true},
      {"marked, late, two quotas",
       "S",
       "2",
       late,
       {},
       "autorizado",
       "0",
       "001",
       "A segunda quota",
       true},
      {"marked, late, single quota", "S", "1", late, {}, "N", "", "", "quota \xA3nica", true},
      {"single quota, late: not asked", "", "1", late, {}, "N", "", "", "", true},
      {"refund keeps its bank", "", "0", early, {}, "N", "", "001", "", true},
  };
  for (const auto& c : cases) {
    auto vars = BaseVars();
    vars.T("DEBITAUT", c.debitaut).N("QTD_QUOTA", c.quotas);
    Snapshot in = BaseSnapshot();
    in.now = c.now;
    ScriptedDialog dialog;
    dialog.choices = c.answers;
    auto w = WriteDoc(in, vars, dialog);
    EXPECT_EQ(dialog.questions, static_cast<int>(c.answers.size())) << c.what;
    EXPECT_EQ(w->At("//parcelamento/@debitoAutomatico"), c.indicator) << c.what;
    EXPECT_EQ(w->At("//parcelamento/@indicadorPrimeiraQuota"), c.first_quota) << c.what;
    EXPECT_EQ(w->At("//calculoImposto/@banco"), c.bank) << c.what;
    if (*c.message) {
      EXPECT_NE(dialog.AllText().find(c.message), std::string::npos) << c.what;
    }
    EXPECT_EQ(w->outcome.ask_debit_again, c.ask_again) << c.what;
  }
  // Once told not to ask again, the run does not ask.
  auto vars = BaseVars();
  vars.N("QTD_QUOTA", "3");
  ScriptedDialog dialog;
  WriteOptions quiet;
  quiet.ask_debit = false;
  WriteDoc(BaseSnapshot(), vars, dialog, quiet);
  EXPECT_EQ(dialog.questions, 0);
}

TEST(DocumentWriterTest, DependantWithCode97IsAlsoAnAlimonyReceiver) {
  auto vars = BaseVars();
  Snapshot in = BaseSnapshot();
  in.rows[Schedule::kDependants] = {
      R().Text("NOMEDEPEN", "Both").Num("CODIDEPEN", "97").Text("CPFDEPEN", "33333333414")};
  ScriptedDialog dialog;
  auto w = WriteDoc(in, vars, dialog);
  EXPECT_EQ(w->At("//dependentes/item/@nome"), "Both");
  EXPECT_EQ(w->At("//alimentandos/item/@residente"), "0");
}

// Carnê-leão as a cash book (mode 3): a line without a date adds nothing, a
// dated one goes to its month; the monthly deduction follows the dependants.
TEST(DocumentWriterTest, CashBookModeUsesTheLineDates) {
  auto vars = BaseVars();
  vars.N("CAL_AUTO", "3");
  Snapshot in = BaseSnapshot();
  in.rows[Schedule::kIncome] = {
      R().Text("I1_1", "F").Text("I1_11", "S").Text("I1_3", "12345678909").Num("I1_4", "900"),
      R().Text("I1_1", "F")
          .Text("I1_11", "S")
          .Text("I1_3", "12345678909")
          .Num("I1_4", "400")
          .Day("DT_LC", testing::Day(2019, 4, 9)),
  };
  ScriptedDialog dialog;
  auto w = WriteDoc(in, vars, dialog);
  EXPECT_EQ(w->At("//rendPFTitular/@totalPessoaFisica"), "400,00");
  EXPECT_EQ(w->At("//rendPFTitular/abril/@pessoaFisica"), "400,00");
  EXPECT_EQ(w->At("//contasAno/abril/item/@valor"), "400,00");
  EXPECT_EQ(w->Count("//contasAno//item"), 1u);
}

TEST(DocumentWriterTest, CumulativeIncomeWithAlimony) {
  auto vars = BaseVars();
  Snapshot in = BaseSnapshot();
  in.rows[Schedule::kDependants] = {
      R().Text("NOMEDEPEN", "Receiver").Num("CODIDEPEN", "99").Text("CPFDEPEN", "44444444525")};
  in.rows[Schedule::kIncome] = {R().Text("I1_1", "A")
                                    .Text("I1_11", "S")
                                    .Text("I1_2", "INSS")
                                    .Text("TIPOCR", "S")
                                    .Num("I1_4", "1000")
                                    .Num("I1_17", "200")
                                    .Num("I1_25", "1000")
                                    .Num("I1_12", "150")
                                    .Text("I1_22", "44444444525")
                                    .Text("I1_36", "3")
                                    .Num("I1_21", "12.5")};
  ScriptedDialog dialog;
  auto w = WriteDoc(in, vars, dialog);
  EXPECT_EQ(w->At("//colecaoRendAcmTitular/@totaisRendRecebidosAjuste"), "1.000,00");
  EXPECT_EQ(w->At("//colecaoRendAcmTitular/item/@rendRecebidos"), "1.200,00");
  EXPECT_EQ(w->At("//colecaoRendAcmTitular/item/@mesRecebimento"), "03");
  EXPECT_EQ(w->At("//colecaoRendAcmTitular/item/@numMeses"), "12,5");
  EXPECT_EQ(w->At("//colecaoRendAcmTitular/item/@opcaoTributacao"), "A");
  EXPECT_EQ(w->At("//pensaoAlimenticiaQuadroAuxiliar/item/@alimentando"), "Receiver");
  EXPECT_EQ(w->Count("//colecaoRendAcmDependente/item"), 0u);
}

TEST(DocumentWriterTest, SeriousIllnessPensionTable) {
  auto vars = BaseVars();
  vars.N("I3_07", "5000");
  Snapshot in = BaseSnapshot();
  in.rows[Schedule::kIncome] = {R().Text("I1_1", "J")
                                    .Text("I1_2", "Previdencia")
                                    .Text("I1_3", "11.111.111/0001-11")
                                    .Num("I1_18", "5000")
                                    .Num("I1_7", "400")
                                    .Num("I1_5", "10")};
  ScriptedDialog dialog;
  auto w = WriteDoc(in, vars, dialog);
  EXPECT_EQ(w->At("//pensaoQuadroAuxiliar/@totais"), "5.400,00");
  EXPECT_EQ(w->At("//pensaoQuadroAuxiliar/@totalIRRFTitular"), "10,00");
  EXPECT_EQ(w->At("//pensaoQuadroAuxiliar/item/@valorTotal"), "5.400,00");
  // A serious-illness line is no taxable income line and adds no 13th salary.
  EXPECT_EQ(w->Count("//colecaoRendPJTitular/item"), 0u);
  EXPECT_EQ(w->At("//rendTributacaoExclusiva/@decimoTerceiro"), "0,00");
}

// Fault: the pieces were appended without looking at the result; a full disk
// left a document cut short that was handed over as if whole.
TEST(DocumentWriterTest, AFailedAppendFailsTheDocument) {
  auto vars = BaseVars();
  ScriptedDialog dialog;
  int pieces = 0;
  auto r = WriteDeclaration(BaseSnapshot(), vars.map, dialog, [&](std::string_view) {
    return ++pieces == 2 ? Status::IoError("Decla01.xml: no space left") : Status::Ok();
  });
  EXPECT_EQ(r.status().code(), StatusCode::kIoError);
  EXPECT_EQ(pieces, 2);
}

TEST(DocumentWriterTest, RecomputedValuesAreLeftInTheVariables) {
  auto f = testing::CompleteWithDependants();
  ScriptedDialog dialog;
  dialog.choices = f.choices;
  WriteDoc(f.in, f.vars, dialog);
  EXPECT_EQ(f.vars.map.Number("I4_01"), *core::Decimal::Parse("7509.46"));
  EXPECT_EQ(f.vars.map.Number("I13_13T"), *core::Decimal::Parse("3561.50"));
  EXPECT_EQ(f.vars.map.Number("I13_14"), *core::Decimal::Parse("1234"));
  EXPECT_EQ(f.vars.map.Number("DESPADRAO"), *core::Decimal::Parse("16754.34"));
}

}  // namespace
}  // namespace dodu::handover
