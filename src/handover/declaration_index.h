// The official program's declaration index ("iddeclaracoes.xml" in its data
// folder): one `item` per declaration it knows, each with the identification
// attribute set, `cpf` first, inside a `classe` root.
//
// The index is read as chunks, each running up to and including the next ">"
// (or to a zero byte or the end of the file). Merging keeps the index's own
// header and items in order, drops the taxpayer's old item and appends the new
// one at the end. A chunk is recognised even after leading whitespace (the
// official program may write line breaks between elements).
//   - no index, an empty one or an empty self-closing root: a fresh header;
//   - a truncated index (no "</classe>"): every complete `<item .../>` it holds
//     under a fresh header; the partial last chunk is dropped.
//
// UpdateIndex takes an advisory lock (a lock file beside the index) so two
// stations never merge at the same time, retrying every half second for up to
// ten seconds, writes the new index through a temporary file and a rename, and
// then runs the seal step on it.
#ifndef DODU_HANDOVER_DECLARATION_INDEX_H_
#define DODU_HANDOVER_DECLARATION_INDEX_H_

#include <string>
#include <string_view>
#include <vector>

#include "handover/seal.h"
#include "handover/snapshot.h"
#include "platform/env.h"
#include "platform/status.h"

namespace dodu::handover {

inline constexpr char kIndexFileName[] = "iddeclaracoes.xml";

// LELINHA_2 over a whole text.
std::vector<std::string> SplitChunks(std::string_view text);

// The fresh header of an index written by a hand-over.
std::string FreshIndexHeader(const platform::CivilTime& now);

// The merged index text. `cpf_masked` is the taxpayer's CPF in format cpf;
// `identification` the identification set (IDENTIF, ending "/>").
std::string MergeIndex(std::string_view old_text, bool exists, std::string_view cpf_masked,
                       std::string_view identification, const platform::CivilTime& now);

struct IndexUpdate {
  std::string folder;  // the official data folder (native)
  std::string cpf_masked;
  std::string identification;  // IDENTIF of the declaration just handed over
  SealConfig seal;
};

// The whole update. kLocked: the index stayed held for ten seconds ("ATENÇÃO!
// Registro não disponível. Dado não será gravado." is shown); kIoError: it
// could not be read or written; kNotFound: the index is gone after the seal
// ("Confira a instalação do Java!"). Every failure is shown in `dialog`.
Status UpdateIndex(platform::Env& env, Dialog& dialog, const IndexUpdate& update);

}  // namespace dodu::handover

#endif  // DODU_HANDOVER_DECLARATION_INDEX_H_
