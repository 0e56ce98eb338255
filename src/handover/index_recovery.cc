#include "handover/index_recovery.h"

#include <cctype>

#include "core/codepage.h"
#include "handover/declaration_index.h"
#include "handover/document_writer.h"
#include "handover/official_folder.h"
#include "handover/value_formats.h"

namespace dodu::handover {
namespace {

bool IsCpfName(const std::string& name) {
  if (name.size() != 11) return false;
  for (char c : name) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::string Join(const std::string& a, const std::string& b) {
  return a.empty() ? b : (a.back() == '/' ? a + b : a + "/" + b);
}

std::string_view LTrim(std::string_view s) {
  while (!s.empty() && (s[0] == ' ' || s[0] == '\r' || s[0] == '\n' || s[0] == '\t'))
    s.remove_prefix(1);
  return s;
}

// The identification of a repaired document, from the taxpayer's register.
std::string IdentificationFor(const std::string& cpf, const core::Variables& reg,
                              const platform::CivilTime& now, std::string_view year_suffix) {
  core::VariableMap v;
  for (const char* name :
       {"NOMECONTR", "RETIFICA", "NOVOEND", "NRORECIBO", "RECIBOANT", "USAPADRAO"}) {
    v.Declare(name, core::Value(TextOf(FindVar(reg, name))));
  }
  v.Declare("DECFINAL", core::Value(std::string("N")));
  Snapshot s;
  s.cpf = cpf;
  s.now = now;
  s.year_suffix = std::string(year_suffix);
  return IdentificationSet(s, v);
}

}  // namespace

std::vector<std::string> RecoverySummary(const RecoveryCounts& c, std::string_view year) {
  const std::string y(year);
  std::vector<std::string> lines;
  lines.push_back("    Do total de " + std::to_string(c.folders) + " pastas foram:");
  const int r = c.restored, u = c.not_registered;
  if (r > 0) {
    lines.push_back(core::Cp850("    Recuperadas ") + std::to_string(r) +
                    core::Cp850(" declarações"));
    if (u == 0) {
      lines.push_back(" Todas com o CPF cadastrado no KEVA20" + y);
    } else if (r - u > 0) {
      lines.push_back(" sendo " + std::to_string(r - u) + " com o CPF no KEVA20" + y);
      lines.push_back("     e " + std::to_string(u) + core::Cp850(" com o CPF não encontrado"));
    } else {
      lines.push_back("  Nenhuma com o CPF cadastrado no KEVA20" + y);
    }
  }
  const int missed = c.empty_folders + c.unrepairable;
  if (missed > 0) {
    lines.push_back(core::Cp850("Não recuperadas ") + std::to_string(missed) + " sendo:");
    if (c.empty_folders > 0)
      lines.push_back("   Pasta Vazia  " + std::to_string(c.empty_folders) + " sem arquivo XML");
    if (c.unrepairable > 0)
      lines.push_back("   Sem o CPF    " + std::to_string(c.unrepairable) + " para reparar");
  }
  return lines;
}

Result<RecoveryCounts> RecoverIndex(platform::Env& env, Dialog& dialog, RegisterLookup& registers,
                                    const RecoveryRequest& req) {
  if (!dialog.Confirm({core::Cp850("Essa opção deve ser usada para recuperar a lista dos CPFs"),
                       "perdidas no programa da Receita. Continua?"})) {
    return Status::Cancelled("index recovery");
  }
  auto entries = env.ListDir(req.official_folder);
  std::vector<std::string> folders;
  if (entries.ok()) {
    for (const auto& e : *entries) {
      // Only taxpayer folders: "." and ".." and any other name are no CPF.
      if (e.is_dir && IsCpfName(e.name)) folders.push_back(e.name);
    }
  }
  if (!entries.ok() || entries->empty()) {
    dialog.Box(8,
               {core::Cp850("Não existem arquivos para serem recuperados! A Pasta esta correta?")});
    return entries.ok() ? Status::NotFound(req.official_folder + ": nothing to recover")
                        : entries.status();
  }

  const platform::CivilTime now = env.clock().Now();
  RecoveryCounts counts;
  std::string items;
  for (const std::string& cpf : folders) {
    ++counts.folders;
    const std::string folder = Join(req.official_folder, cpf);
    std::string file = Join(folder, DocumentBaseName(cpf) + ".xml");
    if (!env.Exists(file)) file = Join(folder, cpf + ".xml");
    if (!env.Exists(file)) {
      auto inside = env.ListDir(folder);
      if (inside.ok() && inside->empty()) (void)env.RemoveDir(folder);
      ++counts.empty_folders;
      continue;
    }
    auto text = platform::ReadWholeFile(env, file);
    if (!text.ok()) {
      dialog.Box(8, {"Erro de leitura "});
      continue;
    }
    std::unique_ptr<core::Variables> reg = registers.Find(cpf);
    std::string name = reg ? std::string(Trim(TextOf(FindVar(*reg, "NOMECONTR")))) : "........";
    std::string copy;
    for (const std::string& chunk : SplitChunks(*text)) {
      std::string_view t = LTrim(chunk);
      if (t.substr(0, 9) == "</classe>") break;
      if (t.substr(0, 19) == "<copiaIdentificador") {
        copy = "<item" + std::string(t.substr(19));
        break;
      }
    }
    if (copy.empty()) {
      if (!reg) {
        dialog.Box(
            8, {core::Cp850("O contribuinte não foi localizado em nenhuma das pastas indicadas. "
                            "Impossível recuperar o CPF ") +
                FormatCpf(cpf)});
        ++counts.unrepairable;
        continue;
      }
      const std::string id = IdentificationFor(cpf, *reg, now, req.year_suffix);
      copy = "<item" + id;
      size_t end = text->rfind("</classe>");
      std::string repaired = end == std::string::npos ? *text : text->substr(0, end);
      repaired += "<copiaIdentificador" + id + "</classe>";
      if (Status st = platform::WriteFileAtomic(env, file, repaired); !st.ok()) {
        dialog.Box(8, {"Erro de leitura "});
        ++counts.unrepairable;
        continue;
      }
    }
    if (!reg) ++counts.not_registered;
    ++counts.restored;
    items += copy;
    dialog.StatusLine("Recuperando o CPF " + FormatCpf(cpf) + " " +
                      std::string(Trim(name.substr(0, 20))) + "...");
  }

  const std::string index = Join(req.official_folder, kIndexFileName);
  std::string text = std::string("<classe xmlns=\"") + kDeclarationNamespace +
                     "\" classeJava=\"serpro.ppgd.irpf.ColecaoIdDeclaracao\""
                     " tipoItens=\"serpro.ppgd.irpf.IdentificadorDeclaracao\">" +
                     items + "</classe>";
  auto lock = env.Open(index + ".lck", platform::OpenMode::kCreate);
  if (!lock.ok()) return lock.status();
  if (Status st = (*lock)->TryLock(0, 1, platform::LockType::kExclusive); !st.ok()) {
    dialog.Box(8, {core::Cp850("ATENÇÃO! Registro não disponível. Dado não será gravado.")});
    return st;
  }
  if (Status st = platform::WriteFileAtomic(env, index, text); !st.ok()) {
    dialog.Box(8, {core::Cp850("Problemas na gravação da Declaração.")});
    return st;
  }
  auto sealed = RunSeal(env, req.seal, index);
  if (!sealed.ok() || !env.Exists(index)) {
    dialog.Box(8,
               {"Confira a versão do Java! Deve ser 1.8",
                core::Cp850("Confira se a pasta de instalação do IRPF é: "), req.official_folder});
    return Status::NotFound(index + ": the seal step left no index");
  }
  dialog.TitledBox(0, RecoverySummary(counts, req.year_suffix),
                   core::Cp850("Recuperação de CPF´s do programa da Receita"));
  return counts;
}

}  // namespace dodu::handover
