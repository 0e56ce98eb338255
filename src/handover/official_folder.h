// The official program's data folder: where a taxpayer's declaration document
// goes (folder CPF, file CPF + "-0000000000.xml" sealed by ".conf"), the copy
// and seal of the work document (`DISQUETE`), and the folder names derived
// from the setting `ROTAJAVA` (Windows-style text, as the operator typed it).
#ifndef DODU_HANDOVER_OFFICIAL_FOLDER_H_
#define DODU_HANDOVER_OFFICIAL_FOLDER_H_

#include <optional>
#include <string>
#include <string_view>

#include "handover/seal.h"
#include "handover/snapshot.h"
#include "platform/env.h"
#include "platform/status.h"

namespace dodu::handover {

// CPF + "-0000000000"; the document adds ".xml", the seal ".conf".
std::string DocumentBaseName(std::string_view cpf);
// Native paths below the official folder.
std::string TaxpayerFolder(const std::string& official_folder, std::string_view cpf);

struct Placement {
  std::string document;      // the sealed document's path
  int seal_exit_status = 0;  // reported; a seal file decides success
};

// DISQUETE: copies the complete work document into the taxpayer's folder and
// seals it. The previous document and seal file are moved aside first and come
// back when the seal fails; success needs a seal file made by this call. The
// official program's old backup (".BKP") is deleted on success.
//   kCorrupt   the work document is incomplete (no final "</classe>"): nothing copied
//   kNotFound  no seal file after the call (java or IHash.jar missing, or failing)
//   kIoError   the folder, the copy or the restore failed
// Every failure is shown in `dialog` with the system's texts.
Result<Placement> PlaceDocument(platform::Env& env, Dialog& dialog,
                                const std::string& official_folder, std::string_view cpf,
                                const std::string& work_document, const SealConfig& seal);

// The official folder's setting must hold the component "APLICACAO" (any case).
bool HasApplicationComponent(std::string_view rotajava);
// The folder of transmitted declarations: the part of ROTAJAVA before
// "APLICACAO" followed by "TRANSMITIDAS"; nullopt without that component.
std::optional<std::string> TransmittedFolder(std::string_view rotajava);
// The same folder of another exercise: the year of the "IRPF" + year path
// component (and only there) becomes `year` ("2018").
std::string OtherExerciseFolder(std::string_view folder, std::string_view year);

// VEJAERRO: the operator's text of a file error. A missing file whose folder
// is missing too is "path not found".
std::string FileErrorText(const Status& status, std::string_view name, bool folder_exists = true);

}  // namespace dodu::handover

#endif  // DODU_HANDOVER_OFFICIAL_FOLDER_H_
