#include "shell/startup_args.h"

#include "shell/settings_defaults.h"

namespace dodu::shell {
namespace {

std::string_view Trim(std::string_view text) {
  size_t b = text.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = text.find_last_not_of(' ');
  return text.substr(b, e - b + 1);
}

bool Given(const std::optional<std::string>& value) {
  return value.has_value() && !Trim(*value).empty();
}

}  // namespace

std::string InstallFolderVariable(std::string_view canoatual) {
  return "DIR20" + std::string(canoatual);
}

std::optional<std::string> NormaliseTerminal(std::string_view text) {
  std::string_view t = Trim(text);
  if (t.empty() || t.size() > 2) return std::nullopt;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  return t.size() == 1 ? "0" + std::string(t) : std::string(t);
}

Result<std::optional<std::string>> TerminalFromArgs(std::optional<std::string> command_line,
                                                     std::optional<std::string> terminal_env) {
  std::optional<std::string> value;
  std::string source;
  if (Given(terminal_env)) {
    value = terminal_env;
    source = "na variável TERMINAL";
  } else if (Given(command_line)) {
    value = command_line;
    source = "na linha de comando";
  }
  if (!value) return std::optional<std::string>();
  std::optional<std::string> terminal = NormaliseTerminal(*value);
  if (!terminal) {
    return Status::Invalid("Número do terminal inválido " + source + ": \"" + *value +
                           "\". Informe um ou dois dígitos (00 a 99).");
  }
  return std::optional<std::string>(*terminal);
}

std::string TerminalFromAnswer(std::string_view answer) {
  return NormaliseTerminal(answer).value_or("00");
}

TerminalQuestion MakeTerminalQuestion(std::optional<std::string> usuar,
                                      std::optional<std::string> equip) {
  TerminalQuestion q;
  q.title = "Terminal";
  q.operator_name = usuar.value_or("");
  std::optional<std::string> proposal = equip ? NormaliseTerminal(*equip) : std::nullopt;
  q.proposal = proposal.value_or("");
  q.prompt = std::string(proposal ? " Confirme" : " Informe") + " o nro. do terminal.";
  return q;
}

InstallFolder ResolveInstallFolder(std::optional<std::string> variable,
                                   const std::function<bool(const std::string&)>& folder_exists,
                                   const std::string& current_folder) {
  InstallFolder f;
  f.dirdef = variable.value_or("");
  std::string named(Trim(f.dirdef));
  f.rotadef = current_folder;
  if (!named.empty()) {
    if (folder_exists(named)) {
      f.rotadef = named;
    } else {
      f.status_message = "<Dir> " + named + "não encontrado. Assumindo o padrão!";
    }
  }
  f.arqdef = WithFolderSeparator(f.rotadef);
  return f;
}

InstallFolder ResolveInstallFolder(platform::Env& env, const platform::PathMap& drives,
                                   const std::string& current_folder) {
  auto exists = [&](const std::string& folder) {
    Result<std::string> native = drives.ToNative(folder);
    if (!native.ok()) return false;
    Result<std::string> found = platform::ResolveExisting(env, *native);
    return found.ok() && env.IsDirectory(*found);
  };
  return ResolveInstallFolder(env.GetEnv(InstallFolderVariable(kCanoAtual)), exists,
                              current_folder);
}

}  // namespace dodu::shell
