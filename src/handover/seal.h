// The seal step of the official program: `java -jar IHash.jar <file>`, run
// with an argument vector (never through a shell) from the program's start
// folder and waited for. The tool writes, for a declaration document, the
// seal file beside it (same name, ".conf"); what else it does is its own.
#ifndef DODU_HANDOVER_SEAL_H_
#define DODU_HANDOVER_SEAL_H_

#include <string>
#include <utility>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"

namespace dodu::handover {

struct SealConfig {
  std::string java = "java";
  std::string start_folder;     // the system's start folder: the cwd of the call
  std::string official_folder;  // where IHash.jar is looked for second
  std::vector<std::pair<std::string, std::string>> extra_env;
};

inline constexpr char kSealJar[] = "IHash.jar";

// IHash.jar in the start folder, else in the official folder; the start
// folder's path when neither has it (the call then fails like a missing jar).
std::string FindSealJar(platform::Env& env, const SealConfig& config);

struct SealRun {
  int exit_status = 0;
};

// Runs the tool on `file`. kNotFound when java cannot be started.
Result<SealRun> RunSeal(platform::Env& env, const SealConfig& config, const std::string& file);

}  // namespace dodu::handover

#endif  // DODU_HANDOVER_SEAL_H_
