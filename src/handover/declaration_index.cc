#include "handover/declaration_index.h"

#include <chrono>

#include "core/codepage.h"
#include "handover/document_writer.h"
#include "handover/value_formats.h"

namespace dodu::handover {
namespace {

std::string_view LTrim(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
  return s.substr(i);
}

std::string_view RTrim(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n'))
    --e;
  return s.substr(0, e);
}

bool StartsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }
bool EndsWith(std::string_view s, std::string_view p) {
  return s.size() >= p.size() && s.substr(s.size() - p.size()) == p;
}

// The value of the item's first attribute `cpf`, or "" when it has none.
std::string_view ItemCpf(std::string_view item) {
  std::string_view rest = LTrim(item.substr(5));
  if (!StartsWith(rest, "cpf=\"")) return "";
  rest.remove_prefix(5);
  size_t end = rest.find('"');
  return end == std::string_view::npos ? "" : rest.substr(0, end);
}

std::string IndexPath(const std::string& folder) {
  if (folder.empty()) return kIndexFileName;
  return folder.back() == '/' ? folder + kIndexFileName : folder + "/" + kIndexFileName;
}

}  // namespace

std::vector<std::string> SplitChunks(std::string_view text) {
  std::vector<std::string> chunks;
  std::string current;
  for (char c : text) {
    if (c == '\0') {
      if (!current.empty()) chunks.push_back(std::move(current));
      current.clear();
      continue;
    }
    current += c;
    if (c == '>') {
      chunks.push_back(std::move(current));
      current.clear();
    }
  }
  if (!current.empty()) chunks.push_back(std::move(current));
  return chunks;
}

std::string FreshIndexHeader(const platform::CivilTime& now) {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><classe xmlns=\"") +
         kDeclarationNamespace +
         "\" classeJava=\"serpro.ppgd.irpf.DeclaracaoIRPF\" dataHoraSalvamento=\"" +
         FormatNow(now) + "\">";
}

std::string MergeIndex(std::string_view old_text, bool exists, std::string_view cpf_masked,
                       std::string_view identification, const platform::CivilTime& now) {
  std::string text;
  bool fresh = !exists || RTrim(LTrim(old_text)).empty();
  if (!fresh) {
    std::vector<std::string> kept;
    bool closed = false;
    for (std::string& chunk : SplitChunks(old_text)) {
      std::string_view t = LTrim(chunk);
      if (StartsWith(t, "</classe>")) {
        closed = true;
        break;
      }
      if (EndsWith(RTrim(t), "Declaracao\"/>")) {
        fresh = true;  // an empty, self-closing root
        break;
      }
      if (StartsWith(t, "<item") && ItemCpf(t) == cpf_masked) continue;
      kept.push_back(std::move(chunk));
    }
    if (!fresh && !closed) {
      // Truncated: the complete items under a fresh header.
      text = FreshIndexHeader(now);
      for (const std::string& chunk : kept) {
        std::string_view t = LTrim(chunk);
        if (StartsWith(t, "<item") && EndsWith(RTrim(t), "/>")) text += chunk;
      }
    } else if (!fresh) {
      for (const std::string& chunk : kept) text += chunk;
    }
  }
  if (fresh) text = FreshIndexHeader(now);
  text += "<item";
  text += identification;
  text += "</classe>";
  return text;
}

Status UpdateIndex(platform::Env& env, Dialog& dialog, const IndexUpdate& update) {
  const std::string path = IndexPath(update.folder);
  const std::string read_error =
      core::Cp850("Erro de leitura! Execute uma vez o programa da receita.");

  // Stations merge one at a time: the lock file beside the index is held from
  // the read to the end of the seal.
  auto lock_file = env.Open(path + ".lck", platform::OpenMode::kCreate);
  if (!lock_file.ok()) {
    dialog.Box(8, {read_error});
    return lock_file.status();
  }
  auto& clock = env.clock();
  const int64_t give_up = clock.MonotonicMillis() + 10000;
  bool told = false;
  for (;;) {
    Status st = (*lock_file)->TryLock(0, 1, platform::LockType::kExclusive);
    if (st.ok()) break;
    if (!st.IsLocked() || clock.MonotonicMillis() >= give_up) {
      dialog.StatusLine("");
      dialog.Box(8, {core::Cp850("ATENÇÃO! Registro não disponível. Dado não será gravado.")});
      return st.IsLocked() ? st : Status::Locked(path + ": " + st.message());
    }
    if (!told) {
      dialog.StatusLine(core::Cp850("Aguardando registro do programa receita ficar disponível!"));
      told = true;
    }
    clock.SleepFor(std::chrono::milliseconds(500));
  }
  if (told) dialog.StatusLine("");

  const bool exists = env.Exists(path);
  std::string old_text;
  if (exists) {
    auto r = platform::ReadWholeFile(env, path);
    if (!r.ok()) {
      dialog.Box(8, {read_error});
      return r.status();
    }
    old_text = std::move(*r);
  }
  const std::string text =
      MergeIndex(old_text, exists, update.cpf_masked, update.identification, env.clock().Now());
  if (Status st = platform::WriteFileAtomic(env, path, text); !st.ok()) {
    dialog.Box(8, {core::Cp850("Problemas na gravação da Declaração.")});
    return st;
  }
  auto sealed = RunSeal(env, update.seal, path);
  if (!sealed.ok() || !env.Exists(path)) {
    dialog.Box(8, {core::Cp850("Confira a instalação do Java!")});
    return Status::NotFound(path + ": the seal step left no index" +
                            (sealed.ok() ? "" : " (" + sealed.status().message() + ")"));
  }
  return Status::Ok();
}

}  // namespace dodu::handover
