// Record layouts of the official declaration files: for every record type the
// fields the import reads, each with its 1-based start, its length, its kind
// and what a file of the previous exercise does with it. Reader and tests see
// the layouts only through this header; the positions themselves live in one
// table (record_layouts.cc).
//
// File conventions: one record per line, the two-character type at 1-2, the
// taxpayer's CPF at 3-13 in the records of a declaration, amounts of 13 digits
// with two implied decimals, dates ddmmyyyy.
#ifndef DODU_IMPORT_RECORD_LAYOUT_H_
#define DODU_IMPORT_RECORD_LAYOUT_H_

#include <span>
#include <string_view>

namespace dodu::import {

enum class FieldKind {
  kText,         // the bytes as they are (code page 850), trailing blanks removed
  kConverted,    // Windows letters to the tables' letters (AJUS_CAR), trailing blanks removed
  kPunctuated,   // a CPF or CNPJ, given its punctuation (CONTAPONTO)
  kNumber,       // digits only; `decimals` implied decimals
  kDate,         // ddmmyyyy; blanks or zeros are the blank date
  kDateOrBlank,  // ddmmyyyy; anything that is not a real date is the blank date
  kDateYmd,      // yyyymmdd; blanks or zeros are the blank date
  kMonth,        // two digits, 01..12
  kFlag,         // one character, kept as read
};

// What a file of the previous exercise does with a field.
enum class PreviousRule {
  kRead,         // read as in a current-exercise file
  kCurrentOnly,  // not read: blank text, zero number, blank date
  kOneCent,      // not read: the amount 0.01 (a value to be typed again)
};

struct FieldLayout {
  std::string_view name;
  int start = 0;  // 1-based
  int length = 0;
  FieldKind kind = FieldKind::kText;
  int decimals = 0;  // kNumber only
  PreviousRule previous = PreviousRule::kRead;
};

// Which file a record type belongs to.
enum class FileKind {
  kDeclaration,  // .DEC / .DBK / .BAK
  kLeao,         // the carnê-leão export file
  kReceipt,      // the .REC receipt complement
};

struct RecordLayout {
  std::string_view type;  // "16", "T9", "IR" (the declaration header) ...
  FileKind file = FileKind::kDeclaration;
  // The shortest line that holds the record: a shorter line is damaged.
  int min_length = 2;
  // True when the record carries the taxpayer's CPF at 3-13.
  bool has_cpf = true;
  std::span<const FieldLayout> fields;

  const FieldLayout* Find(std::string_view name) const;
};

// The layout of record `type` of a file of kind `file`; nullptr for a type the
// import does not know (the header of a declaration file is "IR").
const RecordLayout* FindLayout(FileKind file, std::string_view type);

// Every layout, for tests and the fuzzer's seeds.
std::span<const RecordLayout> AllLayouts();

}  // namespace dodu::import

#endif  // DODU_IMPORT_RECORD_LAYOUT_H_
