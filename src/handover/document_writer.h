// The writer of the official program's declaration document (`GERAR` without
// the index update): the whole XML text of one declaration, from the snapshot,
// in the official program's element and attribute order.
//
// The text goes to `sink` in pieces, at the end of the large sections (after
// the exempt/exclusive income, after the donations, after every asset and debt,
// after the variable income, the rural activity, the capital gains and at the
// end); the sink appends them to the work document and reports its failures.
//
// Side effects, as the declaration expects them: the recomputed variables
// (I4_01, I4_06, I13_11T, I13_13T, I13_14, I13_15, I13_22T, I13_41, I13_42,
// I13_51, DESPADRAO, DEBITAUT when the operator marks the debit) are left in
// `vars`; changes of the register record (a wrong area code cleared, the
// automatic-debit choice, the delivery date) are returned for the caller to
// store under a record lock. The delivery date is meant to be stored only once
// the hand-over succeeded.
#ifndef DODU_HANDOVER_DOCUMENT_WRITER_H_
#define DODU_HANDOVER_DOCUMENT_WRITER_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/variables.h"
#include "handover/snapshot.h"
#include "platform/status.h"

namespace dodu::handover {

// The official program's declaration namespace.
inline constexpr char kDeclarationNamespace[] = "http://www.receita.fazenda.gov.br/declaracao";

struct WriteOutcome {
  std::vector<RegisterChange> register_changes;
  int gain_statements = 0;      // NROGAN
  bool ask_debit_again = true;  // false once the operator chose "do not ask again"
};

struct WriteOptions {
  // CQUER: the automatic-debit question is still asked in this run.
  bool ask_debit = true;
};

// Writes the document. Fails with the sink's status when a piece could not be
// appended (the work document is then incomplete and must not be used).
Result<WriteOutcome> WriteDeclaration(const Snapshot& in, core::Variables& vars, Dialog& dialog,
                                      const std::function<Status(std::string_view)>& sink,
                                      const WriteOptions& options = {});

// The whole document in memory (tests, tools).
Result<std::string> DeclarationText(const Snapshot& in, core::Variables& vars, Dialog& dialog,
                                    const WriteOptions& options = {});

// IDENTIF: the identification attribute set, each attribute preceded by a
// blank, ending with "/>".
std::string IdentificationSet(const Snapshot& in, const core::Variables& vars);

}  // namespace dodu::handover

#endif  // DODU_HANDOVER_DOCUMENT_WRITER_H_
