// Folder-name routines of the settings screens and the start-up: the system's
// folder names are Windows-style text ("C:\KEVA2019\"), converted to native paths
// only to ask the disk (platform/paths.h). Names are cp850 text, as the tables
// and the screens hold them; they become UTF-8 on the way to the disk.
#ifndef DODU_CORE_FOLDER_NAMES_H_
#define DODU_CORE_FOLDER_NAMES_H_

#include <string>
#include <string_view>

#include "platform/env.h"
#include "platform/message_sink.h"
#include "platform/paths.h"

namespace dodu::core {

// BAR_DIR(path): the path with a final backslash ("C:\X" -> "C:\X\").
std::string BarDir(std::string_view path);
// BAR_FORA(path): one final backslash removed.
std::string BarFora(std::string_view path);
// TIRA_DIR(path): the part after the last backslash (the whole text without one).
std::string TiraDir(std::string_view path);

// VERDIR(path): whether the folder exists. A final backslash is dropped unless the
// path is a drive root ("X:\"); the name is converted through `paths` and looked
// up case-insensitively. Plain POSIX paths work as they are. A name that cannot be
// converted (an unmapped drive) does not exist.
bool VerDir(platform::Env& env, const platform::PathMap& paths, std::string_view path);

// CONFER_DIR(path): VerDir; when the folder does not exist, the status-bar text
// "<Dir> " + path + "não encontrado. Assumindo o padrão!" and false.
bool ConferDir(platform::Env& env, const platform::PathMap& paths, platform::MessageSink& sink,
               std::string_view path);

// ESPCIF(value): the folder-field check. Always true, but warns: an empty value
// shows the error box "Informe a pasta solicitada!"; a value whose second
// character is not ":" and that is not a POSIX path (beginning with "/") shows
// "Especifique o drive com ':' após a letra".
bool Espcif(platform::MessageSink& sink, std::string_view value);

}  // namespace dodu::core

#endif  // DODU_CORE_FOLDER_NAMES_H_
