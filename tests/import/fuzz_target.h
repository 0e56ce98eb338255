// The body of the import's fuzz target, shared by the libFuzzer binary
// (fuzz/declaration_fuzz.cc, clang builds) and the replay test that runs it
// over mutated fixtures in every build: any bytes go through every reader and,
// when they read, through the pure conversions. Nothing here touches a file.
#ifndef DODU_TESTS_IMPORT_FUZZ_TARGET_H_
#define DODU_TESTS_IMPORT_FUZZ_TARGET_H_

#include <string_view>

#include "import/conversion.h"
#include "import/declaration_file.h"

namespace dodu::import::testing {

inline void FuzzOneInput(std::string_view bytes) {
  ConversionInputs in;
  in.confirm = [](const std::vector<std::string>&) { return true; };
  in.upkeep_description = [](int) { return std::string("UPKEEP"); };
  in.bank_by_cnpj = [](const std::string&) { return std::optional<std::string>("BANCO"); };
  for (bool prefilled : {false, true}) {
    Result<DeclarationFile> f = ParseDeclarationFile("F.DEC", bytes, prefilled);
    if (!f.ok()) continue;
    for (bool registered : {false, true}) {
      Existing e{registered, 0};
      (void)ConvertDeclaration(*f, prefilled ? ImportMode::kPrefilled : ImportMode::kWhole, e, in);
      (void)ConvertIndividuals(*f, e);
      (void)ConvertReceipts(*f, nullptr, e);
    }
  }
  if (Result<LeaoFile> l = ParseLeaoFile("L.TXT", bytes); l.ok()) (void)ConvertLeao(*l, {true, 1});
  (void)ParseReceiptFile("R.REC", bytes);
}

}  // namespace dodu::import::testing

#endif  // DODU_TESTS_IMPORT_FUZZ_TARGET_H_
