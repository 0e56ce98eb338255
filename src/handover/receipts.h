// BUSCAREC: the receipt numbers and notices of a declaration already
// transmitted, read from the official program's files in its folder of
// transmitted declarations: the declaration file CPF + "*.DEC" (first line,
// the header record) and its receipt file (same name, ".REC").
//
// Receipt numbers are 12 digits: the 10 stored digits followed by two check
// digits, each the modulus-11 digit of the digits before it (0 above 9).
#ifndef DODU_HANDOVER_RECEIPTS_H_
#define DODU_HANDOVER_RECEIPTS_H_

#include <optional>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/variables.h"
#include "handover/snapshot.h"
#include "platform/env.h"
#include "platform/status.h"

namespace dodu::handover {

enum class ReceiptMode {
  kThisDeclaration = 1,  // NRORECIBO, RECIBOATU, RECIBOANT and the notices
  kTwoYearsBefore = 2,   // RECIBOATE only (the folder given is that exercise's)
};

struct ReceiptInfo {
  std::string nrorecibo;  // the receipt of the declaration rectified ("" when not a rectification)
  std::string reciboatu;  // this declaration's receipt
  std::string reciboant;  // the previous year's receipt
  std::string reciboate;  // mode 2
  std::optional<core::Date> delivered;  // DENTREGA, from the "RC" line
  std::optional<int> rectifications;    // NRETIF, from the "VC" line
  std::vector<std::string> notes;       // records for the notes table (OBSERV, code 0)
};

// The 10 digits with their two check digits.
std::string ReceiptWithDigits(std::string_view ten);

// kNotFound: no declaration file of the CPF, or an empty one (the old routine's
// "false"); kIoError: it could not be read ("Erro de leitura" is shown).
Result<ReceiptInfo> FindReceipts(platform::Env& env, Dialog& dialog,
                                 const std::string& transmitted_folder, std::string_view cpf,
                                 ReceiptMode mode);

// Mode 1's values into the declaration variables (those the declaration has):
// NRORECIBO, RECIBOATU, RECIBOANT; DENTREGA when the receipt file dates the
// delivery; NRETIF and RETIFICA ("S" when there were rectifications, else
// blank) when it counts them. The notes are the caller's to store.
void ApplyReceipts(const ReceiptInfo& info, core::Variables& vars);

}  // namespace dodu::handover

#endif  // DODU_HANDOVER_RECEIPTS_H_
