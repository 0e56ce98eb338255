// The operator's texts of the opener, the locks and the folder list, written
// here in UTF-8 and handed out in code page 850, as the sink expects.
#ifndef DODU_STORE_OPENER_MESSAGES_H_
#define DODU_STORE_OPENER_MESSAGES_H_

#include <string>

#include "core/codepage.h"

namespace dodu::store::msg {

// Error box of a lock or append not obtained in time.
inline std::string RecordUnavailable() {
  return core::Cp850("ATENÇÃO! Registro não ficou disponível. Dado não será gravado.");
}
// Status bar while waiting for a record lock, an append and a file lock.
inline std::string WaitingRecord(const std::string& alias) {
  return "Aguardando registro ficar disponivel no arquivo " + alias;
}
inline std::string WaitingAppend() { return core::Cp850("Aguardando registro ficar disponível"); }
inline std::string WaitingFile() { return "Aguardando arquivo ficar disponivel"; }

// Error box of ABREARQ when the table cannot be opened (the trailing blank is
// part of the text), and its variant after the pack.
inline std::string NotAvailable(const std::string& name) {
  return name + core::Cp850(".DBF não está disponível ");
}
inline std::string NotAvailableAfterPack(const std::string& name) {
  return name + core::Cp850(".DBF não está disponível");
}
// Information box of NETUSE.
inline std::string DoesNotExist(const std::string& file) {
  return "Arquivo " + file + core::Cp850(" não existe!");
}
// Message windows.
inline std::string Checking(const std::string& name) { return "Verificando o Arquivo " + name; }
inline std::string CreatingIndex(const std::string& name_with_extension) {
  std::string s = "Criando o indice " + name_with_extension;
  if (s.size() > 79) s.resize(79);
  return s;
}
inline std::string Creating(const std::string& file_with_extension) {
  return "Criando " + file_with_extension;
}
// MUDADIR.
inline std::string CouldNotOpen() { return core::Cp850("Não foi possivel abrir arquivo"); }
// CRI_NDIR.
inline std::string NewFolderFor(const std::string& label) { return "Pasta nova para " + label + "?"; }
inline std::string CreateNewFolder() { return "Cria a nova pasta?"; }
inline std::string CannotCreateFolder(const std::string& folder) {
  return "Problemas ao criar a pasta " + folder;
}
// The folder-list clean-up, asked before an unreachable entry is removed.
inline std::string FolderNotFound(const std::string& folder) {
  return "A Pasta " + folder + core::Cp850(" não foi encontrada!");
}
inline std::string RemoveFromList() { return core::Cp850("Retira a pasta da lista?"); }

}  // namespace dodu::store::msg

#endif  // DODU_STORE_OPENER_MESSAGES_H_
