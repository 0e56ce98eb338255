// The listing of a source folder of official files (LEIA_DISCO steps 3 to 8):
// the files of the mode's kind, a first pass that reads each file's first line
// (version, exercise, kind) and a second that keeps the declarations whose
// identification can be read, dropping a rectified declaration in favour of its
// rectification. The result is what the selection list (table 70) holds.
#ifndef DODU_IMPORT_LISTING_H_
#define DODU_IMPORT_LISTING_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "import/conversion.h"
#include "platform/env.h"
#include "platform/status.h"
#include "store/opener_context.h"
#include "store/workarea.h"

namespace dodu::import {

struct ListingEntry {
  std::string file_name;  // NOMEARQ
  std::string origem;     // ORIGEM: kind + version + exercise (12 characters at most)
  std::string tipo;       // TIPO: the first-line text that identifies the file again
  std::string cpf;        // CPF
  std::string name;       // NOMECONTR
  bool marked = false;    // IMPRE "S"
};

// Whether a file name passes the mode's filter (characters of the name, 1-based):
// mode 5 "IRPF-PP-2019" at 13-24; mode 10 "EXPORTA-IRPF2020" at 28-43; mode 11
// "COPIA-SEG" at 30-38 or "EXPORTA-IRPF2020" at 30-45; every name otherwise.
bool PassesFilter(ImportMode mode, std::string_view file_name);

// The first pass over one file: the entry's ORIGEM and TIPO from its name and
// first line; both empty when the exercise is neither 2019 nor 2020.
ListingEntry FirstPass(ImportMode mode, std::string_view file_name, std::string_view first_line);

// Lists `folder` (files "*.DBK", then "*.DEC", then "*.BAK"). `progress` is told
// "Verificando n de total declarações!" for each file. Errors (cp850 messages):
// kNotFound "O local escolhido não contém a informação pedida da Receita" when
// there is no such file; kNotFound "Na pasta existem n declarações, mas não da
// seleção pedida" when none is of a listed exercise; kIoError "Erro de leitura"
// naming the file that cannot be read.
Result<std::vector<ListingEntry>> ListSourceFolder(
    platform::Env& env, const std::string& folder, ImportMode mode,
    const std::function<void(const std::string&)>& progress = nullptr);

// Empties the selection list (table 70 in the installation folder) and writes
// `entries` into it, unmarked.
Status WriteSelectionList(store::OpenerContext& ctx, store::WorkAreas& areas,
                          const std::vector<ListingEntry>& entries);

// The entries of the selection list in name order, with their marks.
Result<std::vector<ListingEntry>> ReadSelectionList(store::OpenerContext& ctx,
                                                    store::WorkAreas& areas);

}  // namespace dodu::import

#endif  // DODU_IMPORT_LISTING_H_
