#include "handover/handover.h"

#include <cstdio>

#include "core/codepage.h"
#include "handover/declaration_index.h"
#include "handover/official_folder.h"
#include "handover/value_formats.h"

namespace dodu::handover {
namespace {

std::string TwoPlaces(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%2d", n);
  return buf;
}

const core::Value* Find(const core::Variables& v, std::string_view n) { return FindVar(v, n); }

// Writes the document into the work folder; every write is checked and the
// size read back.
Result<WriteOutcome> WriteWorkDocument(platform::Env& env, Dialog& dialog, const Snapshot& in,
                                       core::Variables& vars, const std::string& path,
                                       const WriteOptions& options) {
  auto file = env.Open(path, platform::OpenMode::kTruncate);
  if (!file.ok()) {
    const size_t slash = path.rfind('/');
    const bool folder = slash == std::string::npos || env.IsDirectory(path.substr(0, slash));
    dialog.Box(8, {FileErrorText(file.status(), path, folder)});
    return file.status();
  }
  uint64_t offset = 0;
  auto sink = [&](std::string_view piece) -> Status {
    DODU_RETURN_IF_ERROR(
        (*file)->WriteAt(offset, std::as_bytes(std::span(piece.data(), piece.size()))));
    offset += piece.size();
    return Status::Ok();
  };
  auto outcome = WriteDeclaration(in, vars, dialog, sink, options);
  if (!outcome.ok()) return outcome.status();
  DODU_RETURN_IF_ERROR((*file)->Sync());
  DODU_ASSIGN_OR_RETURN(uint64_t size, (*file)->Size());
  if (size != offset) return Status::IoError(path + ": short write");
  return outcome;
}

}  // namespace

std::string WorkDocumentPath(const HandoverSettings& s) {
  std::string name = "Decla" + s.terminal + ".xml";
  if (s.work_folder.empty()) return name;
  return s.work_folder.back() == '/' ? s.work_folder + name : s.work_folder + "/" + name;
}

HandoverReport HandOver(platform::Env& env, Dialog& dialog, const Snapshot& in,
                        core::Variables& vars, const HandoverSettings& settings,
                        RegisterWriter& register_writer, WriteOptions& session) {
  HandoverReport report;
  if (settings.official_folder.empty()) {
    if (settings.option_code > 60) {
      dialog.Box(8,
                 {core::Cp850("Preencha em Env Receita o Local onde está o programa da receita")});
    }
    report.status = Status::Invalid("no official folder is set");
    return report;
  }
  if (NumberOf(Find(vars, "SALDO")).IsNegative()) {
    dialog.Beep();
    if (!dialog.Confirm({core::Cp850("ATENÇÃO! Essa declaração NÂO DEVE ser transferida "),
                         core::Cp850("nessas condições. Ela está com PROBLEMAS de CAIXA."),
                         core::Cp850("            Continua assim mesmo ?            ")})) {
      report.status = Status::Cancelled("negative cash balance");
      return report;
    }
  }
  if (!Trim(TextOf(Find(vars, "RECIBOATU"))).empty()) {
    if (!dialog.Confirm({core::Cp850("ATENÇÃO! Essa declaração já  foi entregue na receita.  "),
                         core::Cp850("Se transferir novamente pode alterar dados já transmitidos"),
                         core::Cp850("             Continua assim mesmo ?                ")})) {
      report.status = Status::Cancelled("already delivered");
      return report;
    }
  }

  const std::string work = WorkDocumentPath(settings);
  dialog.StatusLine("Pasta " + settings.official_folder);
  auto outcome = WriteWorkDocument(env, dialog, in, vars, work, session);
  std::vector<RegisterChange> corrections, delivery;
  if (outcome.ok()) {
    session.ask_debit = outcome->ask_debit_again;
    report.gain_statements = outcome->gain_statements;
    for (auto& c : outcome->register_changes)
      (c.field == "DENTREGA" ? delivery : corrections).push_back(c);
  }
  if (!corrections.empty()) (void)register_writer.Apply(corrections);
  if (!outcome.ok()) {
    dialog.Box(8, {core::Cp850("Os dados não foram transferidos para o programa da receita!")});
    report.status = outcome.status();
    return report;
  }

  auto placed = PlaceDocument(env, dialog, settings.official_folder, in.cpf, work, settings.seal);
  if (placed.ok()) {
    report.seal_exit_status = placed->seal_exit_status;
    IndexUpdate update{settings.official_folder, FormatCpf(in.cpf), IdentificationSet(in, vars),
                       settings.seal};
    Status st = UpdateIndex(env, dialog, update);
    if (!st.ok()) {
      dialog.Box(8, {core::Cp850("Os dados não foram transferidos para o programa da receita!")});
      report.status = st;
      return report;
    }
  } else {
    dialog.Box(8, {core::Cp850("A declaração NÃO foi transferida para o programa da receita!")});
    report.status = placed.status();
    return report;
  }

  report.transferred = true;
  const std::string gains = TwoPlaces(report.gain_statements);
  if (settings.option_code == 62 || settings.option_code == 63) {
    dialog.Beep();
    dialog.StatusLine(core::Cp850("Declaração de ") +
                      std::string(Trim(TextOf(Find(vars, "NOMECONTR")))) + " foi transferida e " +
                      gains + " GCap");
  } else if (report.gain_statements > 0) {
    dialog.Box(0, {core::Cp850("A declaração foi transferida para o programa da receita!"),
                   "Transferidos " + gains + " Ganho(s) de Capital"});
  } else {
    dialog.Box(0, {core::Cp850("A declaração foi transferida para o programa da receita!")});
  }
  // Delivered: only now the delivery date and the status of transmitted
  // declarations (they were stamped even when the hand-over failed).
  if (settings.set_status) {
    delivery.push_back(
        {"ESTATUS", core::Value(core::Decimal::FromInt(settings.transmitted_status))});
  }
  if (!delivery.empty()) (void)register_writer.Apply(delivery);
  return report;
}

}  // namespace dodu::handover
