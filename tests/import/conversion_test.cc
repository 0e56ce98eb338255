#include "import/conversion.h"

#include <fstream>
#include <sstream>

#include "core/codepage.h"
#include "import/testutil.h"

namespace dodu::import {
namespace {

using core::Date;
using core::Decimal;
using testing::End;
using testing::File;
using testing::Header;
using testing::Identification;
using testing::kCpf;
using testing::Rec;

Decimal Cents(int64_t c) { return Decimal::FromScaled(c, 2); }
Decimal N(int64_t v) { return Decimal::FromInt(v); }

// A body record with blanks where the test writes nothing.
Rec Body(std::string_view type, int length) { return Rec(type, length, kCpf, ' '); }

DeclarationFile ParseOk(int exercise, const std::vector<Rec>& body) {
  std::vector<Rec> recs = {Header(exercise), Identification()};
  recs.insert(recs.end(), body.begin(), body.end());
  recs.push_back(End());
  Result<DeclarationFile> f = ParseDeclarationFile("X.DEC", File(recs));
  EXPECT_TRUE(f.ok()) << f.status().ToString();
  return f.ok() ? std::move(f).value() : DeclarationFile();
}

TaxpayerPlan Convert(int exercise, const std::vector<Rec>& body, ConversionInputs in = {}) {
  Result<TaxpayerPlan> p = ConvertDeclaration(ParseOk(exercise, body), ImportMode::kWhole, {}, in);
  EXPECT_TRUE(p.ok()) << p.status().ToString();
  return p.ok() ? std::move(p).value() : TaxpayerPlan();
}

Rec Payment(int code, int64_t paid, int64_t reimbursed, char kind = 'T', int person = 0) {
  Rec r = Body("26", 156);
  r.Num(14, 2, code).Num(16, 5, person).Put(21, "11222333000181").Text(35, 50, "ESCOLA");
  r.Cents(106, paid).Cents(119, reimbursed).Put(146, std::string(1, kind));
  return r;
}

Rec Dependant(int number, int code, std::string_view born, std::string_view name = "FILHO") {
  Rec r = Body("25", 121);
  r.Num(14, 5, number).Num(19, 2, code).Text(21, 41, name).Put(81, born);
  return r;
}

Rec Asset(int code, int64_t before, int64_t after, std::string_view text = "BEM") {
  Rec r = Body("27", 1110);
  r.Num(14, 2, code).Put(16, "0").Put(17, "105").Text(20, 512, text).Cents(532, before);
  r.Cents(545, after);
  return r;
}

TEST(Conversion, EducationExcessIsTheLargerOfFileAndLimit) {
  // The excess over the education limit is max(the file's I6_5, I6_4 - 3561.50).
  struct Case {
    int code;
    int64_t paid, reimbursed, expected;
  } cases[] = {
      {1, 500000, 10000, 143850},   // 5000.00 paid, 100.00 reimbursed: 1438.50
      {2, 500000, 200000, 200000},  // the file's part is larger
      {1, 356150, 0, 0},            // at the limit
      {10, 500000, 10000, 10000},   // not education
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    TaxpayerPlan p = Convert(2020, {Payment(c.code, c.paid, c.reimbursed)});
    ASSERT_EQ(p.replace[kPaymentTable].size(), 1u);
    const Row& row = p.replace[kPaymentTable][0];
    EXPECT_EQ(row.NumberOf("I6_4"), Cents(c.paid));
    EXPECT_EQ(row.NumberOf("I6_5"), Cents(c.expected));
  }
}

TEST(Conversion, DependantAgeQuestions) {
  struct Case {
    const char* what;
    int code;
    const char* born;
    bool answer;
    bool kept;
    bool asked;
  } cases[] = {
      {"son born 1996 removed", 21, "01011996", true, false, true},
      {"son born 1996 kept", 21, "01011996", false, true, true},
      {"son born 1997 no question", 21, "01011997", true, true, false},
      {"poor minor born 1996 always leaves", 41, "31121996", false, false, true},
      {"student born 1993 leaves", 22, "01011993", false, false, true},
      {"student born 1994 stays", 25, "01011994", false, true, false},
      // An empty birth date must not count as born before 1997.
      {"no birth date", 21, "        ", true, true, false},
      {"invalid birth date", 21, "31021990", true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int asked = 0;
    ConversionInputs in;
    in.confirm = [&](const std::vector<std::string>& lines) {
      ++asked;
      EXPECT_EQ(lines[0].rfind("Dependente:", 0), 0u);
      EXPECT_NE(lines[0].find("FILHO"), std::string::npos);
      return c.answer;
    };
    TaxpayerPlan p = Convert(2020, {Dependant(1, c.code, c.born)}, in);
    EXPECT_EQ(p.replace[kPeopleTable].size(), c.kept ? 1u : 0u);
    EXPECT_EQ(asked, c.asked ? 1 : 0);
  }
}

TEST(Conversion, PersonListLinksPaymentsToDependantsAndRecipients) {
  Rec recipient = Body("35", 109);
  recipient.Put(14, "0").Num(15, 5, 1).Text(20, 40, "ARTUR").Put(80, "04052006");
  TaxpayerPlan p =
      Convert(2020, {Dependant(7, 21, "01012005", "ANA"), Dependant(9, 21, "01012006", "BIA"),
                     Payment(1, 100, 0, 'D', 9), Payment(1, 100, 0, 'D', 4),
                     Payment(1, 100, 0, 'A', 1), Payment(1, 100, 0, 'T', 3), recipient});
  const std::vector<Row>& pay = p.replace[kPaymentTable];
  ASSERT_EQ(pay.size(), 4u);
  EXPECT_EQ(pay[0].NumberOf("I6_6"), N(2));  // dependant number 9 is second in the list
  EXPECT_EQ(pay[1].NumberOf("I6_6"), N(4));  // no such dependant: the file's number
  EXPECT_EQ(pay[2].NumberOf("I6_6"), N(3));  // recipient 1 is third in the list
  EXPECT_EQ(pay[2].TextOf("I6_1"), "ARTUR");
  EXPECT_EQ(pay[3].NumberOf("I6_6"), N(0));
  const std::vector<Row>& people = p.replace[kPeopleTable];
  ASSERT_EQ(people.size(), 3u);
  EXPECT_EQ(people[2].NumberOf("CODIDEPEN"), N(99));
  EXPECT_EQ(people[2].NumberOf("NRODEPEN"), N(3));  // 1 + two dependants
}

TEST(Conversion, AssetItemsContinuationsAndExerciseRules) {
  // Current: values as read; a record after one with both values zero continues
  // its description (item 0, no code).
  TaxpayerPlan cur = Convert(2020, {Asset(11, 100, 200), Asset(41, 0, 0, "CONTA"),
                                    Asset(99, 3, 4, "CONTINUACAO"), Asset(21, 5, 6)});
  const std::vector<Row>& a = cur.replace[kAssetTable];
  ASSERT_EQ(a.size(), 4u);
  struct Expect {
    int line, item, code;
  } want[] = {{1, 1, 11}, {11, 2, 41}, {21, 0, 0}, {31, 3, 21}};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(a[i].NumberOf("I7_0"), N(want[i].line));
    EXPECT_EQ(a[i].NumberOf("I7_1"), N(want[i].item));
    EXPECT_EQ(a[i].NumberOf("I7_5"), N(want[i].code));
  }
  EXPECT_EQ(a[0].NumberOf("I7_3"), Cents(100));
  EXPECT_EQ(a[0].NumberOf("I7_9"), Cents(100));
  EXPECT_EQ(a[0].NumberOf("I7_4"), Cents(200));
  // Previous: a disposed asset is left out; values carried at the base year's;
  // a savings account comes with 0.01 to be typed again.
  TaxpayerPlan prev = Convert(2019, {Asset(11, 100, 0), Asset(41, 300, 400), Asset(12, 1, 7)});
  const std::vector<Row>& b = prev.replace[kAssetTable];
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(b[0].NumberOf("I7_3"), Cents(400));
  EXPECT_EQ(b[0].NumberOf("I7_9"), Cents(400));
  EXPECT_EQ(b[0].NumberOf("I7_4"), Cents(1));
  EXPECT_EQ(b[1].NumberOf("I7_4"), Cents(7));
  EXPECT_EQ(b[1].NumberOf("I7_1"), N(2));
}

TEST(Conversion, BankNameByCnpjThenByNumber) {
  ConversionInputs in;
  in.bank_by_cnpj = [](const std::string& cnpj) -> std::optional<std::string> {
    if (cnpj == "60.746.948/0001-12") return "BANCO BRADESCO";
    return std::nullopt;
  };
  in.bank_by_number = [](const std::string& n) -> std::optional<std::string> {
    if (n == "001") return "BANCO DO BRASIL";
    return std::nullopt;
  };
  Rec by_cnpj = Asset(41, 1, 1);
  by_cnpj.Put(1042, "60746948000112");
  Rec by_number = Asset(41, 1, 1);
  by_number.Put(1042, "99999999000191").Put(1086, "001");
  Rec none = Asset(41, 1, 1);
  TaxpayerPlan p = Convert(2020, {by_cnpj, by_number, none}, in);
  const std::vector<Row>& a = p.replace[kAssetTable];
  EXPECT_EQ(a[0].TextOf("REG_AVI"), "BANCO BRADESCO");
  EXPECT_EQ(a[0].TextOf("CPF_CNPJ"), "60.746.948/0001-12");
  EXPECT_EQ(a[1].TextOf("REG_AVI"), "BANCO DO BRASIL");
  EXPECT_EQ(a[2].TextOf("REG_AVI"), "");
}

TEST(Conversion, DebtsPreviousExerciseCarryTheBaseYearValue) {
  Rec d1 = Body("28", 576);
  d1.Num(14, 2, 11).Text(16, 512, "EMPRESTIMO").Cents(528, 100).Cents(541, 80).Cents(554, 20);
  Rec d2 = Body("28", 576);
  d2.Num(14, 2, 11).Cents(528, 100).Cents(541, 0);
  TaxpayerPlan prev = Convert(2019, {d1, d2});
  ASSERT_EQ(prev.replace[kDebtTable].size(), 1u);
  const Row& r = prev.replace[kDebtTable][0];
  EXPECT_EQ(r.NumberOf("I8_3"), Cents(80));
  EXPECT_EQ(r.NumberOf("I8_6"), Cents(80));
  EXPECT_EQ(r.NumberOf("I8_7"), Cents(0));
  TaxpayerPlan cur = Convert(2020, {d1, d2});
  ASSERT_EQ(cur.replace[kDebtTable].size(), 2u);
  EXPECT_EQ(cur.replace[kDebtTable][1].NumberOf("I8_0"), N(11));
  EXPECT_EQ(cur.replace[kDebtTable][1].NumberOf("I8_1"), N(2));
  EXPECT_EQ(cur.replace[kDebtTable][0].NumberOf("I8_6"), Cents(100));
  EXPECT_EQ(cur.replace[kDebtTable][0].NumberOf("I8_7"), Cents(20));
}

TEST(Conversion, FinalEstateFlagsAndTheSpousesCpf) {
  // CPFCOMPA was read at 447-457, over filler and the heir-half flag at 457.
  Rec r38 = Body("38", 458);
  r38.Num(14, 4, 2019).Put(386, "1").Text(387, 40, "MARIA").Put(447, "0000000000").Put(457, "1");
  r38.Put(458, "0").Put(170, "J");
  std::vector<Rec> recs = {Header(2020, "ESPL    "), Identification().Put(337, "33333333414"), r38,
                           End()};
  Result<DeclarationFile> f = ParseDeclarationFile("E.DEC", File(recs));
  ASSERT_TRUE(f.ok()) << f.status().ToString();
  TaxpayerPlan p = *ConvertDeclaration(*f, ImportMode::kWhole, {}, {});
  const Row& d = p.declaration_fields;
  EXPECT_EQ(d.TextOf("MORTE2"), "S");
  EXPECT_EQ(d.TextOf("MEEIRO"), "S");
  EXPECT_EQ(d.TextOf("INVCONJ"), "N");
  EXPECT_EQ(d.TextOf("CPFCOMPA"), "33333333414");
  EXPECT_EQ(d.TextOf("NOMCOMPA"), "MARIA");
  EXPECT_EQ(d.TextOf("DECJUDI"), "S");
  EXPECT_EQ(d.TextOf("DECFINAL"), "S");
  EXPECT_EQ(d.NumberOf("ANOOBITO"), N(2019));
}

TEST(Conversion, ExemptAmountsKeepTheLastRecordOfTheRun) {
  // Record 23 was read one record ahead and its last record dropped.
  Rec a = Body("23", 40), b = Body("23", 40);
  a.Put(16, "03").Cents(18, 111);
  b.Put(16, "23").Cents(18, 222);
  TaxpayerPlan p = Convert(2020, {a, b});
  EXPECT_EQ(p.declaration_fields.NumberOf("I3_02"), Cents(111));
  EXPECT_EQ(p.declaration_fields.NumberOf("I3_21"), Cents(222));
}

Rec Monthly(bool dependant, std::string_view dep_cpf, int month, int64_t rent, int64_t abroad) {
  Rec r = Body("22", 157);
  r.Put(14, dependant ? "S" : "N").Put(15, dep_cpf).Num(26, 2, month).Cents(41, rent);
  r.Cents(67, abroad);
  return r;
}

TEST(Conversion, MonthlyGridsOfHolderAndDependants) {
  // A dependant's grid was written only at its December record: a dependant
  // without December lost its months. It is now written when the dependant
  // changes, at December and at the end of the run.
  TaxpayerPlan p = Convert(
      2020, {Monthly(false, "", 1, 1000, 50), Monthly(false, "", 3, 0, 70),
             Monthly(true, "33333333414", 5, 300, 0), Monthly(true, "44444444525", 12, 400, 0),
             Monthly(true, "55555555636", 2, 500, 0)});
  const std::vector<Row>& lines = p.replace[kIncomeTable];
  std::vector<std::string> got;
  for (const Row& r : lines)
    got.push_back(r.TextOf("I1_1") + "|" + r.TextOf("I1_2") + "|" + r.TextOf("I1_8") + "|" +
                  r.NumberOf("I1_4").ToString());
  std::vector<std::string> want = {
      "F|Rendimento de Alugueis em Maio     |33333333414|3",
      "F|Rendimento de Alugueis em Dezembro |44444444525|4",
      "F|Rendimento de Alugueis em Fevereiro|55555555636|5",
      "E|Rendimentos do Exterior||1.2",
      "F|Rendimento de Alugueis em Janeiro  ||10",
  };
  EXPECT_EQ(got, want);
  EXPECT_EQ(lines[3].NumberOf("I1_401"), Cents(50));
  EXPECT_EQ(lines[3].NumberOf("I1_403"), Cents(70));
  EXPECT_EQ(lines[4].TextOf("TIPOCR"), "C");
  EXPECT_EQ(lines[4].TextOf("I1_41"), "A");
  EXPECT_EQ(lines[4].TextOf("I1_11"), "S");
  EXPECT_EQ(lines[0].TextOf("I1_11"), "N");
}

TEST(Conversion, PreviousExerciseKeepsPayersWithOneCent) {
  Rec r21 = Body("21", 170);
  r21.Put(14, "11222333000181").Text(28, 60, "EMPRESA").Cents(88, 999999).Cents(127, 500);
  TaxpayerPlan p = Convert(2019, {r21});
  ASSERT_EQ(p.replace[kIncomeTable].size(), 1u);
  const Row& l = p.replace[kIncomeTable][0];
  EXPECT_EQ(l.NumberOf("I1_4"), Cents(1));
  EXPECT_EQ(l.NumberOf("I1_5"), Cents(0));
  EXPECT_EQ(l.TextOf("I1_3"), "11.222.333/0001-81");
  EXPECT_EQ(p.register_fields.NumberOf("ESTATUS"), N(1));
  EXPECT_EQ(p.register_fields.TextOf("RECIBOANT"), "123456789091");
}

TEST(Conversion, PreviousExerciseOfARegisteredTaxpayerIsRefused) {
  Existing registered{true, 1};
  Result<TaxpayerPlan> p =
      ConvertDeclaration(ParseOk(2019, {}), ImportMode::kWhole, registered, {});
  EXPECT_EQ(p.status().code(), StatusCode::kInvalid);
  EXPECT_TRUE(ConvertDeclaration(ParseOk(2020, {}), ImportMode::kWhole, registered, {}).ok());
}

TEST(Conversion, WholeImportReplacesEveryKindEvenWhenAbsent) {
  TaxpayerPlan p = Convert(2020, {});
  for (int t : {kIncomeTable, kPeopleTable, kAssetTable, kDebtTable, kPaymentTable, kShareTable,
                kUpkeepTable}) {
    SCOPED_TRACE(t);
    ASSERT_TRUE(p.replace.count(t));
    EXPECT_TRUE(p.replace[t].empty());
  }
}

TEST(Conversion, TelephoneKeepsItsLastNineDigits) {
  DeclarationFile f = ParseOk(2020, {});
  struct Case {
    const char* file;
    const char* stored;
    bool reported;
  } cases[] = {{"911111111  ", "911111111", false},
               {"0609000497 ", "609000497", false},
               {"11987654321", "987654321", true},
               {"12345      ", "    12345", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<Rec> recs = {Header(2020), Identification().Put(498, c.file), End()};
    Result<DeclarationFile> file = ParseDeclarationFile("X.DEC", File(recs));
    ASSERT_TRUE(file.ok());
    TaxpayerPlan p = *ConvertDeclaration(*file, ImportMode::kWhole, {}, {});
    EXPECT_EQ(p.register_fields.TextOf("TELEFO"), c.stored);
    EXPECT_EQ(!p.notes.empty(), c.reported);
  }
}

TEST(Conversion, UpkeepEstimateOverItemsAndContinuations) {
  auto asset = [](int item, int code, int64_t value, std::string text) {
    Row r;
    r.Set("I7_1", N(item)).Set("I7_5", N(code)).Set("I7_4", Cents(value)).Set("I7_2", text);
    return r;
  };
  std::vector<Row> assets = {
      asset(1, 11, 12000000, "APARTAMENTO NA RUA DAS FLORES 10"),  // 120000.00 / 120 = 1000.00
      asset(0, 0, 0, "continuacao"),
      asset(2, 0, 0, "CASA SEM CODIGO"),  // its code comes next
      asset(2, 12, 240000, "x"),          // 2400.00 / 120 = 20.00
      asset(3, 14, 500000, "TERRENO"),    // code 14: none
      asset(4, 21, 100, "CARRO"),         // no upkeep description
  };
  UpkeepEstimate e = EstimateUpkeep(kCpf, assets, [](int code) {
    return code == 21 ? std::string() : std::string("CONDOMINIO/IPTU");
  });
  ASSERT_EQ(e.rows.size(), 2u);
  EXPECT_EQ(e.rows[0].TextOf("DESCRITEM"), "APARTAMENTO NA RUA DAS FL");
  EXPECT_EQ(e.rows[0].NumberOf("VALODESP"), Cents(100000));
  EXPECT_EQ(e.rows[1].NumberOf("CODDESP"), N(12));
  EXPECT_EQ(e.rows[1].TextOf("DESCRITEM"), "CASA SEM CODIGO");
  EXPECT_EQ(e.monthly, Cents(102000));
}

TEST(Conversion, ReceiptsAndTheirComplement) {
  DeclarationFile f = ParseOk(2020, {});
  ReceiptFile rec;
  const std::string msg(160, 'M');
  rec.messages = {msg};
  Rec vc("VC", 20, "", ' ');
  vc.Put(3, "11000").Put(8, "002").Put(11, "1").Put(12, "05052020").Put(20, "0");
  Rec nc("NC", 153, "", ' ');
  nc.Put(3, "001").Put(130, "20200601").Put(138, "03").Num(140, 14, 123456);
  rec.records.push_back(
      *ParseRecord(*FindLayout(FileKind::kReceipt, "VC"), vc.str(), 1, Exercise::kCurrent));
  rec.records.push_back(
      *ParseRecord(*FindLayout(FileKind::kReceipt, "NC"), nc.str(), 2, Exercise::kCurrent));
  Result<TaxpayerPlan> p = ConvertReceipts(f, &rec, {true, 1});
  ASSERT_TRUE(p.ok());
  EXPECT_TRUE(p->register_must_exist);
  EXPECT_EQ(p->register_fields.TextOf("RECIBOATU"), "123456789091");
  EXPECT_EQ(p->register_fields.TextOf("RETIFICA"), "S");
  EXPECT_EQ(p->register_fields.NumberOf("NRETIF"), N(2));
  std::vector<std::string> notes;
  for (const Row& r : p->append[kNoteTable]) notes.push_back(r.TextOf("OBSERV"));
  std::vector<std::string> want = {
      "Existe pendencia na declaracao de       2019",
      "Existe pendencia na declaracao de       2018",
      "Existe Debito pendente na Receita Federal em 05/05/2020",
      "Existe multa de R$ 1.234,56 datado de 01/06/2020 com 03 meses de atraso",
      msg.substr(0, 75),
      msg.substr(75, 75),
      msg.substr(150)};
  EXPECT_EQ(notes, want);
}

TEST(Conversion, IndividualsOnlyFromACurrentFile) {
  EXPECT_EQ(ConvertIndividuals(ParseOk(2019, {}), {}).status().code(), StatusCode::kInvalid);
  EXPECT_TRUE(ConvertIndividuals(ParseOk(2020, {}), {}).status().IsNotFound());
  Rec w = Body("49", 61);
  w.Put(25, "03").Put(27, "11111111111").Put(38, "11111111111").Cents(49, 77);
  Result<TaxpayerPlan> p = ConvertIndividuals(ParseOk(2020, {Monthly(false, "", 2, 10, 0), w}), {});
  ASSERT_TRUE(p.ok());
  const std::vector<Row>& lines = p->append[kIncomeTable];
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].TextOf("I1_2"), "Trabalho em Marco    ");
  EXPECT_EQ(lines[1].TextOf("I1_40"), "");
  EXPECT_EQ(lines[1].NumberOf("I1_403"), Cents(77));
  EXPECT_TRUE(p->declaration_only_if_present);
}

TEST(Conversion, LeaoMonthsInOrder) {
  Rec first("01", 112, "", ' ');
  first.Put(21, "22222222303").Put(92, "225").Put(96, "CRM");
  std::vector<Rec> recs = {first};
  for (int m = 1; m <= 12; ++m) {
    Rec r("02", 160, "", ' ');
    r.Cents(31, m == 12 ? 900 : 0).Cents(57, m == 12 ? 50 : 0);
    recs.push_back(r);
  }
  Result<LeaoFile> f = ParseLeaoFile("E.TXT", File(recs));
  ASSERT_TRUE(f.ok()) << f.status().ToString();
  Result<TaxpayerPlan> p = ConvertLeao(*f, {true, 1});
  ASSERT_TRUE(p.ok());
  const std::vector<Row>& lines = p->append[kIncomeTable];
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].TextOf("I1_2"), "Rendimentos do Exterior");
  EXPECT_EQ(lines[0].NumberOf("I1_412"), Cents(50));
  EXPECT_EQ(lines[1].TextOf("I1_2"), "Rendimento de Alugueis em Dezembro ");
  EXPECT_EQ(p->register_fields.TextOf("CODAT"), "11");
}

// ---- The official program's own file

TEST(Conversion, OfficialFileIncomeEqualsTheOfficialDocument) {
  std::ifstream in(testing::SharedDir() + "/reference/22222222303-IRPF-A-2020-2019-ORIGI.DEC",
                   std::ios::binary);
  if (!in) GTEST_SKIP() << "reference files absent";
  std::stringstream ss;
  ss << in.rdbuf();
  Result<DeclarationFile> f = ParseDeclarationFile("R.DEC", ss.str());
  ASSERT_TRUE(f.ok()) << f.status().ToString();
  Result<TaxpayerPlan> p = ConvertDeclaration(*f, ImportMode::kWhole, {}, {});
  ASSERT_TRUE(p.ok());
  auto sum = [&](const char* field, const char* kind = nullptr) {
    Decimal s;
    for (const Row& r : p->replace[kIncomeTable]) {
      if (kind == nullptr || r.TextOf("I1_1") == kind) s += r.NumberOf(field);
    }
    return s;
  };
  // rendIsentos: lucroRecebido 321,86; outros 21,80.
  EXPECT_EQ(sum("I1_15"), Cents(32186));
  EXPECT_EQ(sum("I1_9"), Cents(2180));
  // rendTributacaoExclusiva: decimoTerceiro 7.509,46; decimoTerceiroDependentes
  // 1.000,00; jurosCapitalProprio 87,53; participacaoLucrosResultados 12,34;
  // outros 32,10.
  EXPECT_EQ(sum("I1_7", "J"), Cents(750946));
  EXPECT_EQ(sum("I1_7", "D"), Cents(100000));
  EXPECT_EQ(sum("I1_32"), Cents(8753));
  EXPECT_EQ(sum("I1_33"), Cents(1234));
  EXPECT_EQ(sum("I1_34"), Cents(3210));
  EXPECT_EQ(p->register_fields.TextOf("NOMECONTR"), "OLZEFU BYAISNO ASRIM");
  EXPECT_EQ(p->replace[kPeopleTable].size(), 2u);  // a dependant and an alimony recipient
  EXPECT_EQ(p->replace[kPaymentTable].size(), 2u);
  EXPECT_EQ(p->replace[kAssetTable].size(), 2u);
  EXPECT_EQ(p->replace[kDebtTable].size(), 2u);
}

}  // namespace
}  // namespace dodu::import
