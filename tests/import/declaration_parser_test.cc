#include <fstream>
#include <sstream>

#include "core/codepage.h"
#include "core/decimal.h"
#include "import/declaration_file.h"
#include "import/testutil.h"

namespace dodu::import {
namespace {

using core::Date;
using core::Decimal;
using testing::End;
using testing::File;
using testing::Header;
using testing::Identification;
using testing::Rec;

Decimal Cents(int64_t c) { return Decimal::FromScaled(c, 2); }

Result<DeclarationFile> Parse(const std::vector<Rec>& recs) {
  return ParseDeclarationFile("X.DEC", File(recs));
}

// ---- Field extraction, one row per field, current and previous exercise.

struct FieldCase {
  const char* what;
  Rec record;
  const char* field;
  Exercise exercise;
  // Exactly one of these is checked, by the field's kind.
  std::string text;
  Decimal number;
  Date date;
};

Date Ymd(int y, int m, int d) { return *Date::FromYmd(y, m, d); }

std::vector<FieldCase> FieldCases() {
  const auto kCur = Exercise::kCurrent;
  const auto kPrev = Exercise::kPrevious;
  std::vector<FieldCase> c;
  auto text = [&](const char* what, Rec r, const char* f, Exercise e, std::string v) {
    c.push_back({what, std::move(r), f, e, std::move(v), {}, {}});
  };
  auto num = [&](const char* what, Rec r, const char* f, Exercise e, Decimal v) {
    c.push_back({what, std::move(r), f, e, "", v, {}});
  };
  auto date = [&](const char* what, Rec r, const char* f, Exercise e, Date v) {
    c.push_back({what, std::move(r), f, e, "", {}, v});
  };
  // Income from companies: holder (21) and dependant (32).
  Rec r21("21", 170);
  r21.Put(14, "11222333000181").Text(28, 60, "EMPRESA \xC1GUA").Cents(88, 1234567);
  r21.Cents(101, 111).Cents(114, 222).Cents(127, 333).Put(140, "15032019").Cents(148, 444);
  text("21 payer punctuated", r21, "I1_3", kCur, "11.222.333/0001-81");
  text("21 name converted", r21, "I1_2", kCur, "EMPRESA AGUA");
  num("21 income", r21, "I1_4", kCur, Cents(1234567));
  num("21 income previous is one cent", r21, "I1_4", kPrev, Cents(1));
  num("21 social security", r21, "I1_6", kCur, Cents(111));
  num("21 social security previous not read", r21, "I1_6", kPrev, Cents(0));
  num("21 13th salary", r21, "I1_7", kCur, Cents(222));
  num("21 withheld", r21, "I1_5", kCur, Cents(333));
  date("21 exit date", r21, "DT_LC", kCur, Ymd(2019, 3, 15));
  num("21 13th tax", r21, "I1_39", kCur, Cents(444));
  Rec r32("32", 181);
  r32.Put(14, "33333333414").Put(25, "11222333000181").Text(39, 60, "X").Cents(99, 5).Cents(159, 7);
  r32.Put(151, "00000000").Cents(112, 0).Cents(125, 0).Cents(138, 0);
  text("32 dependant", r32, "I1_8", kCur, "33333333414");
  num("32 income", r32, "I1_4", kCur, Cents(5));
  num("32 13th tax", r32, "I1_39", kCur, Cents(7));
  date("32 zero date is blank", r32, "DT_LC", kCur, Date());
  // Monthly income from individuals.
  Rec r22("22", 157);
  r22.Put(14, "S").Put(15, "33333333414").Put(26, "12").Cents(41, 1).Cents(54, 2);
  r22.Cents(67, 3).Cents(80, 4).Cents(119, 5).Cents(145, 6);
  num("22 month", r22, "MONTH", kCur, Decimal::FromInt(12));
  num("22 rent", r22, "RENT", kCur, Cents(1));
  num("22 other", r22, "OTHER", kCur, Cents(2));
  num("22 abroad", r22, "ABROAD", kCur, Cents(3));
  num("22 book", r22, "BOOK", kCur, Cents(4));
  num("22 inss", r22, "INSS", kCur, Cents(5));
  num("22 paid", r22, "PAID", kCur, Cents(6));
  text("22 dependant flag", r22, "DEPENDENT", kCur, "S");
  Rec r23("23", 40);
  r23.Put(14, "00").Put(16, "03").Cents(18, 98765);
  text("23 code", r23, "CODE", kCur, "03");
  num("23 amount", r23, "AMOUNT", kCur, Cents(98765));
  text("23 previous not read", r23, "CODE", kPrev, "");
  // Dependants and alimony recipients.
  Rec r25("25", 121);
  r25.Num(14, 5, 2).Num(19, 2, 21).Text(21, 41, "JO\xC3O").Put(81, "31021996");
  r25.Put(89, "33333333414").Put(100, "1").Put(101, "12345678901");
  num("25 number", r25, "NRODEPEN", kPrev, Decimal::FromInt(2));
  num("25 code", r25, "CODIDEPEN", kCur, Decimal::FromInt(21));
  text("25 name", r25, "NOMEDEPEN", kCur, "JOAO");
  date("25 invalid birth date is blank", r25, "DATADEPEN", kCur, Date());
  text("25 cpf", r25, "CPFDEPEN", kCur, "33333333414");
  text("25 left with", r25, "SAIUJUNT", kCur, "1");
  text("25 nit", r25, "NITDEPEN", kCur, "12345678901");
  Rec r35("35", 109);
  r35.Put(14, "0").Num(15, 5, 1).Text(20, 40, "ARTUR").Put(80, "04052006").Put(88, "44444444525");
  num("35 number", r35, "NUMBER", kCur, Decimal::FromInt(1));
  text("35 name", r35, "NOMEDEPEN", kCur, "ARTUR");
  date("35 birth", r35, "DATADEPEN", kCur, Ymd(2006, 5, 4));
  text("35 cpf", r35, "CPFDEPEN", kCur, "44444444525");
  // Payments.
  Rec r26("26", 156);
  r26.Num(14, 2, 1).Num(16, 5, 3).Put(21, "99555555000167").Text(35, 50, "ESCOLA");
  r26.Cents(106, 500000).Cents(119, 10000).Put(146, "D");
  num("26 code", r26, "I6_3", kCur, Decimal::FromInt(1));
  num("26 person", r26, "PERSON", kCur, Decimal::FromInt(3));
  text("26 payee", r26, "I6_2", kCur, "99.555.555/0001-67");
  text("26 kind", r26, "PERSON_KIND", kCur, "D");
  num("26 paid", r26, "I6_4", kCur, Cents(500000));
  num("26 reimbursed", r26, "I6_5", kCur, Cents(10000));
  num("26 paid previous not read", r26, "I6_4", kPrev, Cents(0));
  // Assets and debts.
  Rec r27("27", 1110);
  r27.Num(14, 2, 41).Put(16, "0").Put(17, "105").Text(20, 512, "CONTA").Cents(532, 100);
  r27.Cents(545, 200).Put(739, "1").Num(822, 9, 1234).Put(831, "0").Num(892, 5, 7);
  r27.Put(897, "01012019").Put(1042, "60746948000112").Put(1086, "237").Put(1089, "D");
  r27.Put(1090, "33333333414");
  num("27 code", r27, "I7_5", kCur, Decimal::FromInt(41));
  text("27 country", r27, "I7_8", kCur, "105");
  text("27 description", r27, "I7_2", kCur, "CONTA");
  num("27 value before", r27, "I7_3", kCur, Cents(100));
  num("27 value after", r27, "I7_4", kCur, Cents(200));
  num("27 area one decimal", r27, "AREAIMO", kCur, Decimal::FromScaled(1234, 1));
  num("27 I7_6", r27, "I7_6", kCur, Decimal::FromInt(7));
  date("27 date", r27, "DATA_IMO", kCur, Ymd(2019, 1, 1));
  text("27 bank cnpj", r27, "CPF_CNPJ", kCur, "60746948000112");
  text("27 bank number", r27, "NROBANCO", kCur, "237");
  text("27 bank number previous", r27, "NROBANCO", kPrev, "");
  text("27 dependant's cpf", r27, "CPFDEP", kCur, "33333333414");
  Rec r28("28", 576);
  r28.Num(14, 2, 11).Text(16, 512, "EMPRESTIMO").Cents(528, 1).Cents(541, 2).Cents(554, 3);
  num("28 code", r28, "I8_5", kCur, Decimal::FromInt(11));
  num("28 before", r28, "I8_3", kCur, Cents(1));
  num("28 after", r28, "I8_4", kCur, Cents(2));
  num("28 paid", r28, "I8_7", kCur, Cents(3));
  // Cumulative income (45, 47) and cash-book work income (49).
  Rec r45("45", 180);
  r45.Put(16, "11222333000181").Text(30, 60, "FONTE").Cents(90, 1).Cents(103, 2).Cents(116, 3);
  r45.Cents(129, 4).Put(142, "07").Put(150, "0").Num(151, 4, 125).Cents(155, 5).Cents(168, 6);
  num("45 months one decimal", r45, "I1_21", kCur, Decimal::FromScaled(125, 1));
  num("45 exempt 65", r45, "I1_17", kCur, Cents(6));
  num("45 month of receipt", r45, "I1_36", kCur, Decimal::FromInt(7));
  Rec r47("47", 191);
  r47.Put(16, "33333333414").Put(27, "11222333000181").Text(41, 60, "F").Cents(101, 9);
  r47.Cents(114, 0).Cents(127, 0).Cents(140, 0).Put(153, "01").Put(161, "1").Num(162, 4, 0);
  r47.Cents(166, 0).Cents(179, 8);
  num("47 income", r47, "I1_4", kCur, Cents(9));
  num("47 exempt 65", r47, "I1_17", kCur, Cents(8));
  Rec r49("49", 61);
  r49.Text(14, 11, "").Put(25, "03").Put(27, "11111111111").Put(38, "11111111111").Cents(49, 77);
  num("49 month", r49, "MONTH", kCur, Decimal::FromInt(3));
  num("49 amount", r49, "AMOUNT", kCur, Cents(77));
  // Estate, departure, heirs.
  Rec r38("38", 458);
  r38.Num(14, 4, 2019).Put(170, "J").Put(230, "01022019").Put(238, "00000000");
  r38.Num(322, 7, 12).Num(329, 7, 34).Put(376, "SP").Put(378, "        ").Put(386, "1");
  r38.Put(447, "0000000000").Put(457, "1").Put(458, "1");
  num("38 year of death", r38, "ANOOBITO", kCur, Decimal::FromInt(2019));
  date("38 partition", r38, "DATAPARTI", kCur, Ymd(2019, 2, 1));
  date("38 blank date", r38, "DATALAVRA", kCur, Date());
  num("38 book", r38, "LIVRCARTO", kCur, Decimal::FromInt(12));
  text("38 heir half", r38, "MEEIRO", kCur, "1");
  Rec r39("39", 180);
  r39.Put(165, "01062019").Put(173, "02062019");
  date("39 departure", r39, "DATASAIDA", kCur, Ymd(2019, 6, 1));
  Rec r58("58", 92);
  r58.Text(19, 41, "HERDEIRO").Put(79, "33333333414   ");
  text("58 heir cpf", r58, "CPFHERDE", kCur, "333.333.334-14");
  Rec r59("59", 28);
  r59.Put(14, "00001").Num(19, 5, 2).Num(24, 5, 5000);
  num("59 percent", r59, "PERCENT", kCur, Cents(5000));
  num("59 heir", r59, "HEIR", kCur, Decimal::FromInt(2));
  // Records 80 to 92.
  Rec r84("84", 126);
  r84.Put(14, "T").Put(15, "           ").Num(26, 4, 9).Put(30, "99333333000108").Text(44, 60, "P");
  r84.Cents(104, 32186);
  num("84 type", r84, "TYPE", kCur, Decimal::FromInt(9));
  num("84 amount", r84, "AMOUNT", kCur, Cents(32186));
  num("84 amount previous one cent", r84, "AMOUNT", kPrev, Cents(1));
  Rec r85("85", 168);
  r85.Put(14, "D").Num(26, 4, 0).Put(30, "99333333000108").Text(44, 60, "P").Cents(104, 1);
  r85.Cents(117, 2).Cents(130, 3).Cents(143, 4).Cents(156, 5);
  num("85 pension", r85, "I1_18", kCur, Cents(1));
  num("85 social security", r85, "I1_6", kCur, Cents(5));
  Rec r86("86", 186);
  r86.Put(14, "T").Num(26, 4, 26).Put(30, "99333333000108").Text(44, 60, "P").Cents(104, 2180);
  r86.Text(117, 50, "OUTRO");
  num("86 amount", r86, "I1_9", kCur, Cents(2180));
  text("86 description", r86, "I1_35", kCur, "OUTRO");
  Rec r87("87", 43);
  r87.Num(14, 4, 5).Cents(18, 11).Cents(31, 22);
  num("87 informed", r87, "INFORMED", kCur, Cents(11));
  num("87 carried", r87, "CARRIED", kCur, Cents(22));
  Rec r90("90", 115);
  r90.Num(14, 2, 99).Put(16, "11222333000181").Text(30, 50, "ONG").Cents(90, 3).Cents(103, 4);
  num("90 code", r90, "I6_3", kCur, Decimal::FromInt(99));
  num("90 reimbursed", r90, "I6_5", kCur, Cents(4));
  Rec r91("91", 83);
  r91.Put(14, "M").Put(15, "SP").Text(17, 40, "CAMPINAS").Cents(57, 100).Put(70, "11222333000181");
  text("91 municipality", r91, "MUNICIPALITY", kCur, "CAMPINAS");
  num("91 amount", r91, "I6_4", kCur, Cents(100));
  text("91 fund", r91, "I6_2", kCur, "11.222.333/0001-81");
  return c;
}

TEST(DeclarationParser, ReadsEveryFieldAtItsPosition) {
  for (const FieldCase& c : FieldCases()) {
    SCOPED_TRACE(c.what);
    const RecordLayout* layout =
        FindLayout(FileKind::kDeclaration, std::string_view(c.record.str()).substr(0, 2));
    ASSERT_NE(layout, nullptr);
    Result<ParsedRecord> r = ParseRecord(*layout, c.record.str(), 7, c.exercise);
    ASSERT_TRUE(r.ok()) << r.status().ToString();
    const FieldLayout* f = layout->Find(c.field);
    ASSERT_NE(f, nullptr);
    switch (f->kind) {
      case FieldKind::kNumber:
      case FieldKind::kMonth:
        EXPECT_EQ(r->Number(c.field), c.number);
        break;
      case FieldKind::kDate:
      case FieldKind::kDateOrBlank:
      case FieldKind::kDateYmd:
        EXPECT_EQ(r->DateOf(c.field), c.date);
        break;
      default:
        EXPECT_EQ(r->Text(c.field), c.text);
    }
  }
}

TEST(DeclarationParser, FieldsOfWrongShapeAreFormatErrors) {
  struct Case {
    const char* what;
    Rec record;
    const char* field;
  };
  std::vector<Case> cases = {
      {"amount with a letter", Rec("21", 170, testing::kCpf, '0').Put(88, "00000000012A4"), "I1_4"},
      {"amount half blank", Rec("21", 170, testing::kCpf, '0').Put(88, "      1234567"), "I1_4"},
      {"month 13", Rec("22", 157, testing::kCpf, '0').Put(26, "13"), "MONTH"},
      {"month 00", Rec("49", 61, testing::kCpf, '0').Put(25, "00"), "MONTH"},
      {"day 32", Rec("21", 170, testing::kCpf, '0').Put(140, "32012019"), "DT_LC"},
      {"date with letters", Rec("27", 1110, testing::kCpf, '0').Put(897, "01JAN019"), "DATA_IMO"},
      {"february 30", Rec("39", 180, testing::kCpf, '0').Put(165, "30022019"), "DATASAIDA"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RecordLayout* layout =
        FindLayout(FileKind::kDeclaration, std::string_view(c.record.str()).substr(0, 2));
    // Every other field of the line is valid.
    Rec filled = c.record;
    Result<ParsedRecord> r = ParseRecord(*layout, filled.str(), 3, Exercise::kCurrent);
    ASSERT_FALSE(r.ok());
    EXPECT_TRUE(r.status().IsCorrupt());
    EXPECT_NE(r.status().message().find(c.field), std::string::npos) << r.status().message();
  }
}

// ---- Whole files

TEST(DeclarationParser, ReadsHeaderIdentificationAndBodyInOrder) {
  Rec r21("21", 170, testing::kCpf, '0');
  r21.Put(14, "11222333000181").Text(28, 60, "A").Put(140, "00000000");
  Result<DeclarationFile> f = Parse({Header(2020), Identification(), r21, r21, End()});
  ASSERT_TRUE(f.ok()) << f.status().ToString();
  EXPECT_EQ(f->exercise, Exercise::kCurrent);
  EXPECT_EQ(f->cpf(), testing::kCpf);
  EXPECT_EQ(f->identification.Text("NOMECONTR"), "FULANO DE TAL");
  EXPECT_EQ(f->identification.DateOf("NASCIMENTO"), Ymd(1970, 2, 1));
  ASSERT_EQ(f->records.size(), 2u);
  EXPECT_EQ(f->records[1].line(), 4);
  EXPECT_EQ(f->end_line, 5);
  EXPECT_EQ(f->header.receipt, ReceiptWithDigits("1234567890"));
  EXPECT_EQ(f->header.receipt.size(), 12u);
  EXPECT_EQ(f->header.previous_receipt, "");
}

TEST(DeclarationParser, ExerciseOfTheHeader) {
  EXPECT_EQ(Parse({Header(2019), Identification(), End()})->exercise, Exercise::kPrevious);
  EXPECT_EQ(Parse({Header(2020), Identification(), End()})->exercise, Exercise::kCurrent);
  EXPECT_TRUE(Parse({Header(2018), Identification(), End()}).status().IsCorrupt());
}

TEST(DeclarationParser, PrefilledFileHasItsIdentificationOnLineThree) {
  Rec between("SR", 40, "", ' ');
  Result<DeclarationFile> f = ParseDeclarationFile(
      "P.DEC", File({Header(2019), between, Identification(), End()}), /*prefilled=*/true);
  ASSERT_TRUE(f.ok()) << f.status().ToString();
  EXPECT_EQ(f->exercise, Exercise::kCurrent);
  EXPECT_EQ(f->header.receipt, "");
}

TEST(DeclarationParser, SecondLineNotIdentificationIsAnotherLayout) {
  Result<DeclarationFile> f = Parse({Header(2020), Rec("17", 361), End()});
  ASSERT_FALSE(f.ok());
  EXPECT_EQ(f.status().code(), StatusCode::kInvalid);
  EXPECT_EQ(f.status().message(),
            core::Cp850("Leiaute diferente do esperado.Não é possível converter"));
}

// The old readers deleted a taxpayer's rows while still reading and took a file
// without its end record: the whole file is checked before anything is written.
TEST(DeclarationParser, DamagedFilesNameLineAndRecord) {
  Rec r21("21", 170, testing::kCpf, '0');
  r21.Put(14, "11222333000181").Put(140, "00000000");
  Rec other_cpf = r21;
  other_cpf.Put(3, "11111111111");
  Rec bad_amount = r21;
  bad_amount.Put(90, "X");
  struct Case {
    const char* what;
    std::vector<Rec> recs;
    std::string expected;
  };
  std::vector<Case> cases = {
      {"no end record",
       {Header(2020), Identification(), r21},
       "(linha 4, registro T9: registro final ausente)"},
      {"another taxpayer's record",
       {Header(2020), Identification(), r21, other_cpf, End()},
       "(linha 4, registro 21: CPF diferente do registro 16)"},
      {"amount not numeric",
       {Header(2020), Identification(), bad_amount, End()},
       core::Cp850("(linha 3, registro 21: campo I1_4 não numérico)")},
      {"fields left unfilled",
       {Header(2020), Identification(), Rec("26", 156), r21, End()},
       "(linha 3, registro 26: campo I6_3"},
      {"types out of order",
       {Header(2020), Identification(), Rec("24", 40), r21, End()},
       "(linha 4, registro 21: fora de ordem)"},
      {"unknown type",
       {Header(2020), Identification(), Rec("33", 40), End()},
       "(linha 3, registro 33: tipo de registro desconhecido)"},
      {"end record cut short",
       {Header(2020), Identification(), Rec("T9", 300)},
       "(linha 3, registro T9: registro curto (300 de 449 caracteres))"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Result<DeclarationFile> f = Parse(c.recs);
    ASSERT_FALSE(f.ok());
    EXPECT_TRUE(f.status().IsCorrupt());
    EXPECT_NE(f.status().message().find(c.expected), std::string::npos) << f.status().message();
    EXPECT_EQ(f.status().message().rfind("Arquivo X.DEC incompleto ou danificado", 0), 0u);
  }
}

TEST(DeclarationParser, EveryTruncatedPrefixIsRejected) {
  Rec r21("21", 170, testing::kCpf, '0');
  r21.Put(14, "11222333000181").Put(140, "00000000");
  Rec r26("26", 156, testing::kCpf, '0');
  const std::string whole = File({Header(2020), Identification(), r21, r26, End()});
  ASSERT_TRUE(ParseDeclarationFile("X.DEC", whole).ok());
  // The last line feed is optional: a file may end with its last record.
  for (size_t n = 0; n + 1 < whole.size(); ++n) {
    EXPECT_FALSE(ParseDeclarationFile("X.DEC", whole.substr(0, n)).ok()) << "prefix " << n;
  }
}

TEST(DeclarationParser, LinesEndAtLineFeedNulOrCrLf) {
  Rec r21("21", 170, testing::kCpf, '0');
  r21.Put(14, "11222333000181").Put(140, "00000000");
  std::string crlf;
  for (const Rec& r : {Header(2020), Identification(), r21, End()}) crlf += r.str() + "\r\n";
  Result<DeclarationFile> a = ParseDeclarationFile("X.DEC", crlf);
  ASSERT_TRUE(a.ok()) << a.status().ToString();
  EXPECT_EQ(a->records.size(), 1u);
  std::string nul = Header(2020).str() + '\0' + Identification().str() + '\0' + r21.str() + '\0' +
                    End().str() + "\nHR...receipt lines are not read";
  Result<DeclarationFile> b = ParseDeclarationFile("X.DEC", nul);
  ASSERT_TRUE(b.ok()) << b.status().ToString();
}

TEST(DeclarationParser, ReceiptNumbersGetTwoCheckDigits) {
  // 1234567890: 255 mod 11 = 2, digit 9; 12345678909: 318 mod 11 = 10, digit 1.
  EXPECT_EQ(ReceiptWithDigits("1234567890"), "123456789091");
  EXPECT_EQ(ReceiptWithDigits("0000000000"), "");
  EXPECT_EQ(ReceiptWithDigits("          "), "");
}

// ---- The carnê-leão export and the receipt complement

TEST(LeaoFile, FirstLineOrTheOneAfterIt) {
  Rec first("01", 112, "", ' ');
  first.Put(21, "22222222303").Text(32, 53, "FULANO").Put(92, "225").Put(96, "CRM123");
  Rec month("02", 160, "", '0');
  month.Cents(31, 100000);
  Rec work("03", 47, "", ' ');
  work.Put(3, "04").Put(13, "11111111111").Put(24, "11111111111").Cents(35, 500);
  Rec work_day("03", 50, "", ' ');
  work_day.Put(3, "D").Put(4, "15").Put(6, "07").Put(16, "1").Cents(38, 700);
  for (bool preamble : {false, true}) {
    std::vector<Rec> recs;
    if (preamble) recs.push_back(Rec("00", 20, "", ' '));
    recs.insert(recs.end(), {first, month, month, work, work_day});
    Result<LeaoFile> f = ParseLeaoFile("EXPORTA.TXT", File(recs));
    ASSERT_TRUE(f.ok()) << f.status().ToString();
    EXPECT_EQ(f->first.Text("CPF"), "22222222303");
    EXPECT_EQ(f->first.Text("CDPRO"), "225");
    ASSERT_EQ(f->months.size(), 2u);
    EXPECT_EQ(f->months[0].Number("RENT"), Cents(100000));
    ASSERT_EQ(f->works.size(), 2u);
    EXPECT_EQ(f->works[0].Int("MONTH"), 4);
    EXPECT_EQ(f->works[1].Int("DAY"), 15);
    EXPECT_EQ(f->works[1].Int("MONTH"), 7);
    EXPECT_EQ(f->works[1].Number("AMOUNT"), Cents(700));
  }
  std::vector<Rec> thirteen = {first};
  for (int i = 0; i < 13; ++i) thirteen.push_back(month);
  EXPECT_TRUE(ParseLeaoFile("E.TXT", File(thirteen)).status().IsCorrupt());
}

TEST(ReceiptFile, ReadsUpToTheTrailerAndCutsMessages) {
  Rec rc("RC", 24, "", ' ');
  rc.Put(17, "30042020");
  std::string msg(160, 'A');
  // The message is the line from position 3 for its length (end included) less 14.
  std::string mc_line = "MC" + msg + std::string(10, '9');
  std::string bytes = rc.str() + "\r\n" + mc_line + "\r\nTC\r\nRC garbage after the trailer\r\n";
  Result<ReceiptFile> f = ParseReceiptFile("X.REC", bytes);
  ASSERT_TRUE(f.ok()) << f.status().ToString();
  ASSERT_EQ(f->records.size(), 1u);
  EXPECT_EQ(f->records[0].DateOf("DENTREGA"), Ymd(2020, 4, 30));
  ASSERT_EQ(f->messages.size(), 1u);
  EXPECT_EQ(f->messages[0], msg);
}

// ---- The official program's own file

std::string ReadShared(const std::string& rel) {
  std::ifstream in(testing::SharedDir() + "/reference/" + rel, std::ios::binary);
  if (!in) return "";
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

TEST(DeclarationParser, ReadsTheOfficialProgramsFile) {
  const std::string name = "22222222303-IRPF-A-2020-2019-ORIGI.DEC";
  const std::string bytes = ReadShared(name);
  if (bytes.empty()) GTEST_SKIP() << "reference files absent";
  Result<DeclarationFile> f = ParseDeclarationFile(name, bytes);
  ASSERT_TRUE(f.ok()) << f.status().ToString();
  EXPECT_EQ(f->exercise, Exercise::kCurrent);
  EXPECT_EQ(f->cpf(), "22222222303");
  EXPECT_EQ(f->identification.Text("NOMECONTR"), "OLZEFU BYAISNO ASRIM");
  EXPECT_EQ(f->identification.DateOf("NASCIMENTO"), Ymd(1993, 2, 1));
  EXPECT_EQ(f->OfType("25").size(), 1u);
  EXPECT_EQ(f->OfType("26").size(), 2u);
  EXPECT_EQ(f->OfType("27").size(), 2u);
  EXPECT_EQ(f->OfType("28").size(), 2u);
  EXPECT_EQ(f->OfType("21")[0]->Number("I1_4"), Cents(9762352));
  // Exempt income of records 84 and 86 and exclusive income of records 88 and 89
  // plus the 13th salaries of records 21 and 32 are the official document's totals
  // (rendIsentos total 343,66; rendTributacaoExclusiva total 8.641,43).
  Decimal exempt, exclusive;
  for (const ParsedRecord* r : f->OfType("84")) exempt += r->Number("AMOUNT");
  for (const ParsedRecord* r : f->OfType("86")) exempt += r->Number("I1_9");
  for (const ParsedRecord* r : f->OfType("88")) exclusive += r->Number("AMOUNT");
  for (const ParsedRecord* r : f->OfType("89")) exclusive += r->Number("I1_34");
  for (const char* t : {"21", "32"}) {
    for (const ParsedRecord* r : f->OfType(t)) exclusive += r->Number("I1_7");
  }
  EXPECT_EQ(exempt, Cents(34366));
  EXPECT_EQ(exclusive, Cents(864143));
}

}  // namespace
}  // namespace dodu::import
