// The positions of every record the import reads. One table per record type;
// a type listed with no fields is known and passed over.
#include <array>

#include "import/record_layout.h"

namespace dodu::import {
namespace {

using K = FieldKind;
using P = PreviousRule;

constexpr FieldLayout Txt(std::string_view n, int s, int l, P p = P::kRead) {
  return {n, s, l, K::kText, 0, p};
}
constexpr FieldLayout Conv(std::string_view n, int s, int l, P p = P::kRead) {
  return {n, s, l, K::kConverted, 0, p};
}
constexpr FieldLayout Punct(std::string_view n, int s, int l, P p = P::kRead) {
  return {n, s, l, K::kPunctuated, 0, p};
}
constexpr FieldLayout Num(std::string_view n, int s, int l, int d = 0, P p = P::kRead) {
  return {n, s, l, K::kNumber, d, p};
}
// An amount: 13 digits, two implied decimals.
constexpr FieldLayout Amt(std::string_view n, int s, P p = P::kRead) {
  return {n, s, 13, K::kNumber, 2, p};
}
constexpr FieldLayout Dt(std::string_view n, int s, P p = P::kRead) {
  return {n, s, 8, K::kDate, 0, p};
}
constexpr FieldLayout Flag(std::string_view n, int s, P p = P::kRead) {
  return {n, s, 1, K::kFlag, 0, p};
}
constexpr FieldLayout Month(std::string_view n, int s, P p = P::kRead) {
  return {n, s, 2, K::kMonth, 0, p};
}

constexpr P kCur = P::kCurrentOnly;
constexpr P kCent = P::kOneCent;

// ---- Declaration file
constexpr FieldLayout kHeader[] = {
    Txt("KIND", 1, 4),        Txt("TIPO", 1, 8),
    Num("EXERCICIO", 9, 4),   Txt("CODRECNET", 17, 4),
    Flag("RETIFICADORA", 21), Txt("CPF", 22, 11),
    Txt("NOMECONTR", 40, 53), Flag("COMPLETA", 121),
    Flag("RESULTAD", 122),    Txt("RECIBO_RETIF", 124, 10),
    Txt("RECIBO", 165, 10),   Txt("RECIBO_ANT", 204, 10),
};

constexpr FieldLayout k16[] = {
    Txt("CPF", 3, 11),
    Conv("NOMECONTR", 14, 53),
    Conv("TIPOEND", 74, 15),
    Conv("ENDERECO", 89, 37),
    Conv("NUMERO", 129, 6),
    Conv("COMPLEM", 135, 21),
    Conv("BAIRRO", 156, 19),
    Txt("CEP", 175, 8),
    Txt("CODMUNI", 184, 4),
    Conv("MUNICIPIO", 188, 30),
    Txt("UF", 228, 2),
    Txt("CODEMB", 230, 3),
    Txt("CODPAIS", 233, 3),
    Txt("EMAIL", 236, 40),
    Txt("NIT_TIT", 326, 11),
    Txt("CPFCONJU", 337, 11),
    Txt("DDDTEL", 348, 4),
    Dt("NASCIMENTO", 361),
    Txt("TITULO", 369, 13),
    Txt("CDPRO", 382, 3),
    Txt("CODAT", 385, 2),
    Num("QTD_QUOTA", 387, 1),
    Flag("COMPLETA", 388),
    Flag("RETIFICA", 389, kCur),
    Flag("NOVOEND", 391, kCur),
    Txt("NRORECIBO", 392, 12),
    Txt("BANCO", 404, 3),
    Txt("AGENCIA", 407, 4),
    Flag("E_INVALIDO", 411, kCur),
    Txt("CONTACO", 413, 15),
    Flag("DEBITAUT", 428),
    Txt("RECIBOANT", 444, 10),
    Txt("PROCBRASIL", 455, 11, kCur),
    Txt("REGPROF", 466, 20),
    Txt("DDDFAX", 486, 2),
    Txt("TELCELU", 488, 9),
    Txt("TELEFO", 498, 11),
};

constexpr FieldLayout k17[] = {Amt("I13_31", 14, kCur), Amt("I13_33", 79, kCur)};
constexpr FieldLayout k19[] = {Punct("CGCPAGADOR", 14, 14, kCur), Amt("I13_32", 28, kCur),
                               Amt("I13_31", 41, kCur), Amt("I13_33", 54, kCur)};

constexpr FieldLayout k21[] = {Punct("I1_3", 14, 14),  Conv("I1_2", 28, 60),
                               Amt("I1_4", 88, kCent), Amt("I1_6", 101, kCur),
                               Amt("I1_7", 114, kCur), Amt("I1_5", 127, kCur),
                               Dt("DT_LC", 140, kCur), Amt("I1_39", 148, kCur)};
constexpr FieldLayout k32[] = {
    Txt("I1_8", 14, 11),    Punct("I1_3", 25, 14),  Conv("I1_2", 39, 60),
    Amt("I1_4", 99, kCent), Amt("I1_6", 112, kCur), Amt("I1_7", 125, kCur),
    Amt("I1_5", 138, kCur), Dt("DT_LC", 151, kCur), Amt("I1_39", 159, kCur)};

constexpr FieldLayout k22[] = {Flag("DEPENDENT", 14), Txt("I1_8", 15, 11), Month("MONTH", 26),
                               Amt("RENT", 41),       Amt("OTHER", 54),    Amt("ABROAD", 67),
                               Amt("BOOK", 80),       Amt("INSS", 119),    Amt("PAID", 145)};

constexpr FieldLayout k23[] = {Txt("CODE", 16, 2, kCur), Amt("AMOUNT", 18, kCur)};

constexpr FieldLayout k25[] = {
    Num("NRODEPEN", 14, 5),    Num("CODIDEPEN", 19, 2),
    Conv("NOMEDEPEN", 21, 41), {"DATADEPEN", 81, 8, K::kDateOrBlank, 0, P::kRead},
    Txt("CPFDEPEN", 89, 11),   Flag("SAIUJUNT", 100),
    Txt("NITDEPEN", 101, 11)};

constexpr FieldLayout k26[] = {
    Num("I6_3", 14, 2),       Num("PERSON", 16, 5),   Punct("I6_2", 21, 14), Conv("I6_1", 35, 50),
    Flag("PERSON_KIND", 146), Amt("I6_4", 106, kCur), Amt("I6_5", 119, kCur)};

constexpr FieldLayout k27[] = {Num("I7_5", 14, 2),
                               Flag("I7_7", 16),
                               Txt("I7_8", 17, 3),
                               Conv("I7_2", 20, 512),
                               Amt("I7_3", 532),
                               Amt("I7_4", 545),
                               Txt("ENDEIMO", 558, 40),
                               Txt("NUMIMO", 598, 6),
                               Txt("COMPIMO", 604, 30),
                               Txt("BAIRIMO", 644, 30),
                               Txt("CEPIMO", 684, 8),
                               Txt("UFIMO", 693, 2),
                               Txt("MUNICIMO", 699, 30),
                               Flag("REGISTRO", 739),
                               Txt("MATRICU", 740, 40),
                               Txt("LIVRORG", 780, 40),
                               Num("AREAIMO", 822, 9, 1),
                               Flag("UNIDADE", 831),
                               Txt("CARTORIO", 832, 30),
                               Num("I7_6", 892, 5),
                               Dt("DATA_IMO", 897),
                               Txt("REG_NIRF", 925, 8),
                               Txt("RENAVAM", 933, 11),
                               Txt("REG_AVI", 963, 30),
                               Txt("REG_BAR", 993, 30),
                               Txt("AGENCBAN", 1023, 4),
                               Txt("CONTABAN", 1027, 13),
                               Txt("DVBAN", 1040, 2),
                               Txt("CPF_CNPJ", 1042, 14),
                               Txt("REG_IPTU", 1056, 20),
                               Txt("NROBANCO", 1086, 3, kCur),
                               Flag("CPFDEP_KIND", 1089, kCur),
                               Txt("CPFDEP", 1090, 11, kCur)};

constexpr FieldLayout k28[] = {Num("I8_5", 14, 2), Conv("I8_2", 16, 512), Amt("I8_3", 528),
                               Amt("I8_4", 541), Amt("I8_7", 554)};

constexpr FieldLayout k30[] = {Txt("CPFINVENT", 14, 11), Conv("NOMINVENT", 25, 40),
                               Conv("ENDINVENT", 85, 70)};

constexpr FieldLayout k34[] = {Punct("I6_2", 14, 14, kCur), Conv("I6_1", 28, 50, kCur),
                               Amt("I6_4", 88, kCur)};

constexpr FieldLayout k35[] = {Flag("KIND", 14),
                               Num("NUMBER", 15, 5),
                               Conv("NOMEDEPEN", 20, 40),
                               {"DATADEPEN", 80, 8, K::kDateOrBlank, 0, P::kRead},
                               Txt("CPFDEPEN", 88, 11)};

constexpr FieldLayout k38[] = {
    Num("ANOOBITO", 14, 4), Txt("CPFINVENT", 29, 11), Conv("NOMINVENT", 40, 40),
    Conv("ENDINVENT", 100, 70), Flag("DECJUDI", 170), Txt("NROPROCES", 171, 25),
    Txt("VARACIVIL", 196, 4), Txt("COMARCA", 200, 30), Dt("DATAPARTI", 230), Dt("DATADECIS", 238),
    Txt("UFJUDICIAL", 246, 2), Txt("CNPJCARTO", 248, 14), Txt("NOMECARTO", 262, 60),
    Num("LIVRCARTO", 322, 7), Num("FOLHCARTO", 329, 7), Txt("MUNICARTO", 336, 40),
    Txt("UFPROCES", 376, 2), Dt("DATALAVRA", 378), Flag("MORTE2", 386), Txt("NOMCOMPA", 387, 40),
    // 447-456 is filler: the spouse's CPF is only in the identification.
    Flag("MEEIRO", 457), Flag("INVCONJ", 458)};

constexpr FieldLayout k39[] = {Txt("CPFINVENT", 14, 11), Conv("NOMINVENT", 25, 60),
                               Conv("ENDINVENT", 85, 70), Dt("DATASAIDA", 165),
                               Dt("DATADECIS", 173)};

constexpr FieldLayout k45[] = {
    Punct("I1_3", 16, 14, kCur),   Conv("I1_2", 30, 60, kCur), Amt("I1_4", 90, kCur),
    Amt("I1_6", 103, kCur),        Amt("I1_12", 116, kCur),    Amt("I1_5", 129, kCur),
    Num("I1_36", 142, 2, 0, kCur), Flag("TIPOCR", 150, kCur),  Num("I1_21", 151, 4, 1, kCur),
    Amt("I1_20", 155, kCur),       Amt("I1_17", 168, kCur)};
constexpr FieldLayout k47[] = {
    Txt("I1_8", 16, 11, kCur),     Punct("I1_3", 27, 14, kCur),   Conv("I1_2", 41, 60, kCur),
    Amt("I1_4", 101, kCur),        Amt("I1_6", 114, kCur),        Amt("I1_12", 127, kCur),
    Amt("I1_5", 140, kCur),        Num("I1_36", 153, 2, 0, kCur), Flag("TIPOCR", 161, kCur),
    Num("I1_21", 162, 4, 1, kCur), Amt("I1_20", 166, kCur),       Amt("I1_17", 179, kCur)};

constexpr FieldLayout k49[] = {Txt("I1_8", 14, 11, kCur), Month("MONTH", 25, kCur),
                               Txt("I1_3", 27, 11, kCur), Txt("I1_40", 38, 11, kCur),
                               Amt("AMOUNT", 49, kCur)};

constexpr FieldLayout k58[] = {Conv("NOMEDEPEN", 19, 41, kCur), Punct("CPFHERDE", 79, 14, kCur)};
constexpr FieldLayout k59[] = {Num("REFEREN", 14, 5, 0, kCur), Num("HEIR", 19, 5, 0, kCur),
                               Num("PERCENT", 24, 5, 2, kCur)};

constexpr FieldLayout k80[] = {Punct("I1_3", 14, 14, kCur), Conv("I1_2", 28, 40, kCur),
                               Amt("I1_19", 88, kCur), Amt("I1_20", 101, kCur)};
constexpr FieldLayout k81[] = {Txt("I1_8", 14, 11, kCur), Punct("I1_3", 25, 14, kCur),
                               Conv("I1_2", 39, 40, kCur), Amt("I1_19", 99, kCur),
                               Amt("I1_20", 112, kCur)};

constexpr FieldLayout k83[] = {Flag("HOLDER", 14, kCur), Txt("I1_8", 15, 11, kCur),
                               Num("TYPE", 26, 4, 0, kCur), Amt("AMOUNT", 30, kCur)};
// Records 84, 85, 88: one amount of a payer, of the holder or of a dependant.
constexpr FieldLayout k84[] = {Flag("HOLDER", 14),   Txt("I1_8", 15, 11),
                               Num("TYPE", 26, 4),   Punct("I1_3", 30, 14),
                               Conv("I1_2", 44, 60), Amt("AMOUNT", 104, kCent)};
constexpr FieldLayout k85[] = {Flag("HOLDER", 14),      Txt("I1_8", 15, 11),
                               Num("TYPE", 26, 4),      Punct("I1_3", 30, 14),
                               Conv("I1_2", 44, 60),    Amt("I1_18", 104, kCent),
                               Amt("I1_7", 117, kCur),  Amt("I1_5", 130, kCur),
                               Amt("I1_39", 143, kCur), Amt("I1_6", 156, kCur)};
constexpr FieldLayout k86[] = {Flag("HOLDER", 14, kCur),    Txt("I1_8", 15, 11, kCur),
                               Num("TYPE", 26, 4, 0, kCur), Punct("I1_3", 30, 14, kCur),
                               Conv("I1_2", 44, 60, kCur),  Amt("I1_9", 104, kCur),
                               Conv("I1_35", 117, 50, kCur)};
constexpr FieldLayout k87[] = {Num("TYPE", 14, 4, 0, kCur), Amt("INFORMED", 18, kCur),
                               Amt("CARRIED", 31, kCur)};
constexpr FieldLayout k89[] = {Flag("HOLDER", 14, kCur),    Txt("I1_8", 15, 11, kCur),
                               Num("TYPE", 26, 4, 0, kCur), Punct("I1_3", 30, 14, kCur),
                               Conv("I1_2", 44, 60, kCur),  Amt("I1_34", 104, kCur),
                               Conv("I1_35", 117, 50, kCur)};
constexpr FieldLayout k90[] = {Num("I6_3", 14, 2, 0, kCur), Punct("I6_2", 16, 14, kCur),
                               Conv("I6_1", 30, 50, kCur), Amt("I6_4", 90, kCur),
                               Amt("I6_5", 103, kCur)};
// Records 91 and 92: donations to the funds of children and of the elderly.
constexpr FieldLayout k91[] = {Flag("KIND", 14, kCur), Txt("STATE", 15, 2, kCur),
                               Txt("MUNICIPALITY", 17, 40, kCur), Amt("I6_4", 57, kCur),
                               Punct("I6_2", 70, 14, kCur)};

// ---- Carnê-leão export file
constexpr FieldLayout kLeao01[] = {Txt("CPF", 21, 11), Conv("NOMECONTR", 32, 53),
                                   Txt("CDPRO", 92, 3), Txt("REGPROF", 96, 17)};
constexpr FieldLayout kLeao02[] = {Amt("RENT", 31), Amt("OTHER", 44), Amt("ABROAD", 57),
                                   Amt("INSS", 70), Amt("BOOK", 109), Amt("PAID", 148)};
// "03" with the month at 3-4 (day 1) ...
constexpr FieldLayout kLeao03[] = {Month("MONTH", 3), Txt("I1_3", 13, 11), Txt("I1_40", 24, 11),
                                   Amt("AMOUNT", 35)};
// ... and, when position 3 is a letter, with the day at 4-5 and the month at 6-7.
constexpr FieldLayout kLeao03Day[] = {Num("DAY", 4, 2), Month("MONTH", 6), Txt("I1_3", 16, 11),
                                      Txt("I1_40", 27, 11), Amt("AMOUNT", 38)};

// ---- Receipt complement
constexpr FieldLayout kRC[] = {Dt("DENTREGA", 17)};
constexpr FieldLayout kNC[] = {Num("COUNT", 3, 3),
                               {"DATE", 130, 8, K::kDateYmd, 0, P::kRead},
                               Num("MONTHS", 138, 2),
                               Num("FINE", 140, 14, 2)};
constexpr FieldLayout kVC[] = {Txt("PENDING", 3, 5), Num("NRETIF", 8, 3), Flag("DEBT", 11),
                               Dt("DATE", 12), Flag("REFUND", 20)};

constexpr std::span<const FieldLayout> kNone;

constexpr RecordLayout Decl(std::string_view type, std::span<const FieldLayout> fields,
                            int min_length = 0) {
  int end = 13;
  for (const FieldLayout& f : fields)
    end = f.start + f.length - 1 > end ? f.start + f.length - 1 : end;
  return {type, FileKind::kDeclaration, min_length > end ? min_length : end, true, fields};
}
constexpr RecordLayout Other(FileKind file, std::string_view type,
                             std::span<const FieldLayout> fields) {
  int end = 2;
  for (const FieldLayout& f : fields)
    end = f.start + f.length - 1 > end ? f.start + f.length - 1 : end;
  return {type, file, end, false, fields};
}

// The end record is checked whole (its counters run to 449), so that a file cut
// inside its last line is told from a complete one.
constexpr int kEndRecordLength = 449;

const RecordLayout kLayouts[] = {
    Other(FileKind::kDeclaration, "IR", kHeader),
    Decl("16", k16),
    Decl("17", k17),
    Decl("18", kNone),
    Decl("19", k19),
    Decl("20", kNone),
    Decl("21", k21),
    Decl("22", k22),
    Decl("23", k23),
    Decl("24", kNone),
    Decl("25", k25),
    Decl("26", k26),
    Decl("27", k27),
    Decl("28", k28),
    Decl("30", k30),
    Decl("32", k32),
    Decl("34", k34),
    Decl("35", k35),
    Decl("38", k38),
    Decl("39", k39),
    Decl("40", kNone),
    Decl("41", kNone),
    Decl("42", kNone),
    Decl("43", kNone),
    Decl("44", kNone),
    Decl("45", k45),
    Decl("46", kNone),
    Decl("47", k47),
    Decl("48", kNone),
    Decl("49", k49),
    Decl("50", kNone),
    Decl("51", kNone),
    Decl("52", kNone),
    Decl("53", kNone),
    Decl("54", kNone),
    Decl("55", kNone),
    Decl("56", kNone),
    Decl("58", k58),
    Decl("59", k59),
    Decl("60", kNone),
    Decl("61", kNone),
    Decl("62", kNone),
    Decl("63", kNone),
    Decl("64", kNone),
    Decl("65", kNone),
    Decl("66", kNone),
    Decl("67", kNone),
    Decl("68", kNone),
    Decl("69", kNone),
    Decl("70", kNone),
    Decl("71", kNone),
    Decl("72", kNone),
    Decl("73", kNone),
    Decl("74", kNone),
    Decl("75", kNone),
    Decl("80", k80),
    Decl("81", k81),
    Decl("83", k83),
    Decl("84", k84),
    Decl("85", k85),
    Decl("86", k86),
    Decl("87", k87),
    Decl("88", k84),
    Decl("89", k89),
    Decl("90", k90),
    Decl("91", k91),
    Decl("92", k91),
    Decl("T9", kNone, kEndRecordLength),
    Other(FileKind::kLeao, "01", kLeao01),
    Other(FileKind::kLeao, "02", kLeao02),
    Other(FileKind::kLeao, "03", kLeao03),
    Other(FileKind::kLeao, "03d", kLeao03Day),
    Other(FileKind::kReceipt, "RC", kRC),
    Other(FileKind::kReceipt, "NC", kNC),
    Other(FileKind::kReceipt, "VC", kVC),
};

}  // namespace

const FieldLayout* RecordLayout::Find(std::string_view name) const {
  for (const FieldLayout& f : fields) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

const RecordLayout* FindLayout(FileKind file, std::string_view type) {
  for (const RecordLayout& l : kLayouts) {
    if (l.file == file && l.type == type) return &l;
  }
  return nullptr;
}

std::span<const RecordLayout> AllLayouts() { return kLayouts; }

}  // namespace dodu::import
