// The pure reader of the official declaration files (.DEC, .DBK, .BAK), of the
// carnê-leão export file and of the receipt complement (.REC): bytes in, an
// import model out, or the reason the file cannot be imported. Nothing here
// touches a table; the apply step (apply.h) writes a model that was read whole.
//
// A declaration is read and validated to its end before anything is written:
// the header, the identification record 16 (line 2, or line 3 of a pre-filled
// file), the records 17 to 92 in the order of their types, and the end record
// "T9"; every record must carry record 16's CPF, every number, date and month
// must be well formed. Lines after "T9" (the receipt the official program
// appends) are not read.
//
// Failures are kCorrupt; the message is the operator's text, naming the file,
// the line and the record type:
//   "Arquivo X.DEC incompleto ou danificado (linha 12, registro 26: campo I6_4
//    não numérico). Nada foi gravado."
// A second line that is not record 16 is kInvalid with "Leiaute diferente do
// esperado.Não é possível converter". Texts are code page 850.
#ifndef DODU_IMPORT_DECLARATION_FILE_H_
#define DODU_IMPORT_DECLARATION_FILE_H_

#include <string>
#include <string_view>
#include <vector>

#include "import/parsed_record.h"
#include "platform/status.h"

namespace dodu::import {

struct DeclarationHeader {
  std::string kind;         // 1-4: "ESPL" final estate, "SAID" departure, else ordinary
  std::string tipo;         // 1-8
  int exercise = 0;         // 9-12
  std::string recnet;       // 17-20: "2421" final estate, "2420" departure
  bool rectifying = false;  // 21 == "1"
  // Receipt numbers of 12 digits (the 10 stored and two check digits), blank
  // when the file has none.
  std::string rectified_receipt;  // 124-133, only when rectifying
  std::string receipt;            // 165-174
  std::string previous_receipt;   // 204-213
};

struct DeclarationFile {
  std::string file_name;
  DeclarationHeader header;
  Exercise exercise = Exercise::kCurrent;
  bool prefilled = false;
  ParsedRecord identification;        // record 16
  std::vector<ParsedRecord> records;  // 17 .. 92 in file order (T9 not included)
  int end_line = 0;                   // the line of "T9"

  const std::string& cpf() const { return identification.Text("CPF"); }
  // The records of one type, in file order.
  std::vector<const ParsedRecord*> OfType(std::string_view type) const;
};

// Reads a declaration file. `prefilled` (import mode 5): a pre-filled file,
// whose identification is its third line and whose exercise counts as current.
Result<DeclarationFile> ParseDeclarationFile(std::string_view file_name, std::string_view bytes,
                                             bool prefilled = false);

// A receipt number of 10 digits with its two check digits (MODULO_11 of the
// digits before each, substitute 0); blank for a blank or all-zero number.
std::string ReceiptWithDigits(std::string_view ten_digits);

// The carnê-leão export file: its record "01" (line 1, or line 2 when line 1 is
// not "01"), the records "02" (the n-th is month n; at most 12) and the records
// "03" of work income. Other records are not read. No end record is expected.
struct LeaoFile {
  std::string file_name;
  ParsedRecord first;                // "01": CPF, NOMECONTR, CDPRO, REGPROF
  std::vector<ParsedRecord> months;  // "02"
  std::vector<ParsedRecord> works;   // "03" / "03d" (with its day)
};
Result<LeaoFile> ParseLeaoFile(std::string_view file_name, std::string_view bytes);

// The receipt complement: lines up to "TC" or the end of the file.
struct ReceiptFile {
  std::vector<ParsedRecord> records;  // "RC", "NC", "VC" in file order
  std::vector<std::string> messages;  // "MC": the converted message text of each
};
Result<ReceiptFile> ParseReceiptFile(std::string_view file_name, std::string_view bytes);

// The lines of a file as the line reader cuts them: at a line feed, a NUL or
// the end; the terminator and a carriage return before it are removed. A last
// line without terminator counts; nothing after the last terminator does.
std::vector<std::string_view> SplitLines(std::string_view bytes);

}  // namespace dodu::import

#endif  // DODU_IMPORT_DECLARATION_FILE_H_
