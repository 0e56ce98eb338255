#include "core/folder_names.h"

#include "core/alerts.h"
#include "core/codepage.h"

namespace dodu::core {

std::string BarDir(std::string_view path) {
  std::string out(path);
  if (out.empty() || out.back() != '\\') out += '\\';
  return out;
}

std::string BarFora(std::string_view path) {
  std::string out(path);
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

std::string TiraDir(std::string_view path) {
  size_t slash = path.rfind('\\');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool VerDir(platform::Env& env, const platform::PathMap& paths, std::string_view path) {
  std::string p(path);
  const bool drive_root = p.size() == 3 && p[1] == ':' && p[2] == '\\';
  if (!drive_root) p = BarFora(p);
  if (p.empty()) return false;
  Result<std::string> native = paths.ToNative(Cp850ToUtf8(p));
  if (!native.ok()) return false;
  Result<std::string> found = platform::ResolveExisting(env, *native);
  return found.ok() && env.IsDirectory(*found);
}

bool ConferDir(platform::Env& env, const platform::PathMap& paths, platform::MessageSink& sink,
               std::string_view path) {
  if (VerDir(env, paths, path)) return true;
  sink.StatusText("<Dir> " + std::string(path) + Cp850("não encontrado. Assumindo o padrão!"));
  return false;
}

bool Espcif(platform::MessageSink& sink, std::string_view value) {
  if (value.find_first_not_of(' ') == std::string_view::npos) {
    ErrorBox(sink, {"Informe a pasta solicitada!"});
  } else if (!(value.size() >= 2 && value[1] == ':') && value[0] != '/') {
    ErrorBox(sink, {Cp850("Especifique o drive com ':' após a letra")});
  }
  return true;
}

}  // namespace dodu::core
