// The operator's texts of the table maintenance (upgrade, reindex, CPF change,
// SELIC register), written here in UTF-8 and handed out in code page 850.
#ifndef DODU_STORE_MAINTENANCE_MESSAGES_H_
#define DODU_STORE_MAINTENANCE_MESSAGES_H_

#include <string>
#include <vector>

#include "core/codepage.h"

namespace dodu::store::msg {

// The upgrade notice: the sixth character of its first line is the digit zero.
inline std::string UpgradeNeededTitle() { return core::Cp850("ATUALIZAÇÃO NECESSÁRIA"); }
inline std::vector<std::string> UpgradeNeeded() {
  return {core::Cp850("ATENÇÃ0!!! Antes de usar o programa em qualquer"),
          core::Cp850("função é preciso atualizar a base de dados."),
          core::Cp850("Vá no item Declaração/Atualiza base de dados.")};
}
// `table` is the table's path without extension.
inline std::string CouldNotUpgrade(const std::string& table) {
  return core::Cp850("Não foi possível atualizar ") + table;
}
inline std::string Upgraded(const std::string& table) { return table + " Atualizado"; }

// The question of the reindex (each line padded as the box shows it).
inline std::vector<std::string> ReindexQuestion() {
  return {"Esta opção refará todos arquivos índices (CDX).   ",
          "Todos registros marcados para exclusão serão      ",
          "definitivamente excluidos.                        ",
          "Operação recomendada a ser feita após uma queda   ",
          "da energia,quando arquivos forem copiados de um   ",
          "equipamento para outro ou após uma nova instalação.",
          "Se equipamento está na rede fique só em um terminal"};
}
inline std::vector<std::string> ReindexQuestionCp850() {
  std::vector<std::string> out;
  for (const std::string& l : ReindexQuestion()) out.push_back(core::Cp850(l));
  return out;
}
// A data folder whose declaration is open on a running station is not reindexed.
inline std::string FolderInUse(const std::string& folder, const std::string& terminal) {
  return core::Cp850("A pasta ") + folder + core::Cp850(" tem declaração aberta no terminal ") +
         terminal + core::Cp850(". Índices não refeitos.");
}
// The closing message naming the tables other stations held open.
inline std::string TablesSkipped() {
  return core::Cp850("Em uso por outro terminal; índices não refeitos:");
}

// CPF change.
inline std::string NewCpfExists() {
  return core::Cp850("CPF novo já  existente. Não é possível a troca");
}
inline std::string OldCpfNotFound() {
  return core::Cp850("CPF original não encontrado. Confira o número digitado");
}
inline std::string CpfChanged() { return core::Cp850("Pronto. CPF Trocado!"); }
inline std::string CpfTableBusy(const std::string& table) {
  return core::Cp850("Arquivo ") + table +
         core::Cp850(" em uso por outro terminal. CPF não foi trocado.");
}
inline std::string CpfDeclarationOpen(const std::string& terminal) {
  return core::Cp850("Declaração aberta no terminal ") + terminal +
         core::Cp850(". CPF não foi trocado.");
}
inline std::string CpfInvalid() { return core::Cp850("CPF novo inválido."); }

// SELIC register.
inline std::string SelicMonthInvalid() { return core::Cp850("Mês/ano inválido (aaaamm)."); }
inline std::string SelicRateInvalid() { return core::Cp850("Taxa inválida."); }

}  // namespace dodu::store::msg

#endif  // DODU_STORE_MAINTENANCE_MESSAGES_H_
