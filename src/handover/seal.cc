#include "handover/seal.h"

namespace dodu::handover {
namespace {
std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}
}  // namespace

std::string FindSealJar(platform::Env& env, const SealConfig& config) {
  for (const std::string& folder : {config.start_folder, config.official_folder}) {
    if (folder.empty()) continue;
    std::string path = Join(folder, kSealJar);
    if (env.Exists(path)) return path;
  }
  return Join(config.start_folder, kSealJar);
}

Result<SealRun> RunSeal(platform::Env& env, const SealConfig& config, const std::string& file) {
  platform::SpawnOptions options;
  options.wait = true;
  options.cwd = config.start_folder;
  options.extra_env = config.extra_env;
  DODU_ASSIGN_OR_RETURN(platform::SpawnResult r,
                        env.Spawn({config.java, "-jar", FindSealJar(env, config), file}, options));
  return SealRun{r.exit_status};
}

}  // namespace dodu::handover
