#include "handover/official_folder.h"

#include <cctype>
#include <cstdio>

#include "core/codepage.h"

namespace dodu::handover {
namespace {

std::string Join(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  return folder.back() == '/' ? folder + std::string(name) : folder + "/" + std::string(name);
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool EndsWith(std::string_view s, std::string_view p) {
  return s.size() >= p.size() && s.substr(s.size() - p.size()) == p;
}

// Puts the pair moved aside back in place (the new files, if any, go).
Status Restore(platform::Env& env, const std::string& xml, const std::string& conf, bool had_xml,
               bool had_conf) {
  Status result;
  if (env.Exists(xml) && !env.Remove(xml).ok()) result = Status::IoError(xml + ": cannot remove");
  if (env.Exists(conf) && !env.Remove(conf).ok())
    result = Status::IoError(conf + ": cannot remove");
  if (had_xml) {
    Status st = env.Rename(xml + ".prev~", xml);
    if (!st.ok()) result = st;
  }
  if (had_conf) {
    Status st = env.Rename(conf + ".prev~", conf);
    if (!st.ok()) result = st;
  }
  return result;
}

}  // namespace

std::string DocumentBaseName(std::string_view cpf) { return std::string(cpf) + "-0000000000"; }

std::string TaxpayerFolder(const std::string& official_folder, std::string_view cpf) {
  return Join(official_folder, cpf);
}

std::string FileErrorText(const Status& status, std::string_view name, bool folder_exists) {
  switch (status.code()) {
    case StatusCode::kNotFound:
      if (!folder_exists) return core::Cp850("Erro! Caminho não encontrado");
      return core::Cp850("Erro! Arquivo ") + std::string(name) + core::Cp850(" não encontrado");
    case StatusCode::kLocked:
      return core::Cp850("Erro! Acesso negado. Outro terminal usando? ");
    default: {
      char buf[16];
      std::snprintf(buf, sizeof buf, "%3d", static_cast<int>(status.code()));
      return std::string("Erro nro: ") + buf;
    }
  }
}

Result<Placement> PlaceDocument(platform::Env& env, Dialog& dialog,
                                const std::string& official_folder, std::string_view cpf,
                                const std::string& work_document, const SealConfig& seal) {
  const std::string folder = TaxpayerFolder(official_folder, cpf);
  if (Status st = env.CreateDir(folder); !st.ok()) {
    dialog.Box(
        8, {core::Cp850("Problemas ao criar a pasta indicada abaixo. Confira se o "),
            core::Cp850("programa da Receita foi instalado nesse micro e na pasta indicada abaixo"),
            core::Cp850(" Não sendo igual, corrija esse endereço no menu Env. Receita        "),
            folder});
    return st;
  }
  dialog.StatusLine("Pasta " + official_folder);
  auto content = platform::ReadWholeFile(env, work_document);
  if (!content.ok()) {
    dialog.Box(8, {FileErrorText(content.status(), work_document)});
    return content.status();
  }
  // A document cut short (a full disk, a failed write) is never handed over.
  if (!EndsWith(*content, "</classe>")) {
    dialog.Box(8, {core::Cp850("Problemas na gravação da Declaração.")});
    return Status::Corrupt(work_document + ": the document is incomplete");
  }

  const std::string base = Join(folder, DocumentBaseName(cpf));
  const std::string xml = base + ".xml", conf = base + ".conf", bkp = base + ".BKP";
  const bool had_xml = env.Exists(xml), had_conf = env.Exists(conf);
  // The previous pair is moved aside, so that only a seal file made now counts
  // and a failed seal gives the previous pair back.
  if (had_xml) DODU_RETURN_IF_ERROR(env.Rename(xml, xml + ".prev~"));
  if (had_conf) {
    if (Status st = env.Rename(conf, conf + ".prev~"); !st.ok()) {
      (void)Restore(env, xml, conf, had_xml, false);
      return st;
    }
  }
  auto fail = [&](Status why, std::vector<std::string> lines) -> Result<Placement> {
    Status restored = Restore(env, xml, conf, had_xml, had_conf);
    dialog.Box(8, lines);
    return restored.ok() ? why : restored;
  };
  if (Status st = platform::WriteFileAtomic(env, xml, *content); !st.ok()) {
    return fail(st, {core::Cp850("Problemas na gravação da Declaração.")});
  }
  Placement placement{xml, 0};
  auto run = RunSeal(env, seal, xml);
  if (run.ok()) placement.seal_exit_status = run->exit_status;
  if (!env.Exists(conf)) {
    return fail(Status::NotFound(conf + ": the seal step made no seal file" +
                                 (run.ok() ? "" : " (" + run.status().message() + ")")),
                {core::Cp850("A declaração não foi transferida"),
                 core::Cp850("Confira se a pasta de instalação do IRPF é: "), official_folder,
                 core::Cp850("Corrija o local no envia para a receita")});
  }
  if (placement.seal_exit_status != 0) {
    dialog.StatusLine("IHash.jar: " + std::to_string(placement.seal_exit_status));
  }
  if (had_xml) (void)env.Remove(xml + ".prev~");
  if (had_conf) (void)env.Remove(conf + ".prev~");
  if (env.Exists(bkp)) (void)env.Remove(bkp);
  return placement;
}

bool HasApplicationComponent(std::string_view rotajava) {
  return Upper(rotajava).find("APLICACAO") != std::string::npos;
}

std::optional<std::string> TransmittedFolder(std::string_view rotajava) {
  size_t at = Upper(rotajava).find("APLICACAO");
  if (at == std::string::npos) return std::nullopt;
  return std::string(rotajava.substr(0, at)) + "TRANSMITIDAS";
}

std::string OtherExerciseFolder(std::string_view folder, std::string_view year) {
  // Only inside the component "IRPF" + four digits: a "20" elsewhere in the
  // path (a drive or user folder named 2020...) stays as it is.
  std::string out(folder);
  std::string up = Upper(folder);
  size_t from = 0;
  while ((from = up.find("IRPF", from)) != std::string::npos) {
    bool starts = from == 0 || up[from - 1] == '\\' || up[from - 1] == '/';
    size_t y = from + 4;
    bool digits = y + 4 <= up.size();
    for (size_t i = y; digits && i < y + 4; ++i)
      digits = std::isdigit(static_cast<unsigned char>(up[i])) != 0;
    bool ends = y + 4 == up.size() || up[y + 4] == '\\' || up[y + 4] == '/';
    if (starts && digits && ends) {
      out.replace(y, 4, year);
      break;
    }
    from = y;
  }
  return out;
}

}  // namespace dodu::handover
