#include "import/listing.h"

#include <algorithm>

#include "core/codepage.h"
#include "import/declaration_file.h"
#include "platform/paths.h"
#include "store/opener.h"
#include "store/rec_lock.h"

namespace dodu::import {
namespace {

// Characters `start`..`start + length - 1` (1-based) of `s`, shorter at its end.
std::string_view At(std::string_view s, size_t start, size_t length) {
  if (start - 1 >= s.size()) return {};
  return s.substr(start - 1, length);
}

std::string Padded(std::string_view s, size_t n) {
  std::string out(s.substr(0, std::min(n, s.size())));
  out.resize(n, ' ');
  return out;
}

std::string Trim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool HasExtension(const std::string& name, std::string_view ext) {
  return name.size() > ext.size() && Upper(name.substr(name.size() - ext.size())) == ext;
}

// The second pass: the entry's CPF and name from the file, or false to drop it.
bool SecondPass(ImportMode mode, ListingEntry& e, const std::vector<std::string_view>& lines) {
  if (lines.empty() || e.tipo.empty()) return false;
  const std::string_view first = lines[0];
  std::string key;
  if (mode == ImportMode::kPrefilled) {
    key = Padded(first, 11);
  } else if (mode == ImportMode::kLeao) {
    key = Padded(first, 8) + "    ";
  } else {
    key = Padded(first, 12);
  }
  const size_t width = mode == ImportMode::kPrefilled ? 11 : 12;
  if (key != Padded(e.tipo, width)) return false;
  size_t at = 0;
  if (At(first, 1, 2) != "01") at = mode == ImportMode::kPrefilled ? 2 : 1;
  if (at >= lines.size()) return false;
  const std::string_view line = lines[at];
  const std::string_view type = At(line, 1, 2);
  if (type == "16") {
    e.cpf = Trim(std::string(At(line, 3, 11)));
    e.name = core::AjusCar(At(line, 14, 53));
    return true;
  }
  if (type == "01" && mode == ImportMode::kLeao) {
    e.cpf = Trim(std::string(At(line, 21, 11)));
    e.name = core::AjusCar(At(line, 32, 53));
    return true;
  }
  if (type == "01" && mode == ImportMode::kRuralBook) {
    e.cpf = Trim(std::string(At(line, 3, 11)));
    e.name = core::AjusCar(At(line, 14, 53));
    return true;
  }
  return false;
}

bool IsRectification(ImportMode mode, const std::vector<std::string_view>& lines) {
  const size_t at = mode == ImportMode::kPrefilled ? 2 : 1;
  return at < lines.size() && At(lines[at], 1, 2) == "16" && At(lines[at], 389, 1) == "S";
}

}  // namespace

bool PassesFilter(ImportMode mode, std::string_view name) {
  switch (mode) {
    case ImportMode::kPrefilled:
      return At(name, 13, 12) == "IRPF-PP-2019";
    case ImportMode::kLeao:
      return At(name, 28, 16) == "EXPORTA-IRPF2020";
    case ImportMode::kRuralBook:
      return At(name, 30, 9) == "COPIA-SEG" || At(name, 30, 16) == "EXPORTA-IRPF2020";
    default:
      return true;
  }
}

ListingEntry FirstPass(ImportMode mode, std::string_view name, std::string_view line) {
  ListingEntry e;
  e.file_name = std::string(name);
  std::string version, exercise, tipo, kind;
  switch (mode) {
    case ImportMode::kPrefilled:
      version = At(name, 18, 2);
      exercise = At(line, 20, 4);
      tipo = At(line, 1, 11);
      kind = "Pre";
      break;
    case ImportMode::kLeao:
      version = At(name, 13, 9);
      exercise = At(line, 11, 4);
      tipo = std::string(At(line, 1, 8)) + (exercise == "2019" ? exercise : "");
      break;
    case ImportMode::kRuralBook: {
      const bool copy = At(name, 30, 9) == "COPIA-SEG";
      version = At(name, 13, 11);
      exercise = copy ? At(line, 74, 4) : At(line, 11, 4);
      tipo = At(line, 1, 12);
      kind = copy ? "RURAL-BK" : "RURAL-EX";
      break;
    }
    default: {
      version = At(name, 30, 5);
      exercise = At(line, 9, 4);
      tipo = std::string(At(line, 1, 8)) + exercise;
      const std::string_view code = At(line, 17, 4);
      kind = code == "2421" ? "Final" : (code == "2420" ? "Saida" : std::string(At(line, 1, 5)));
    }
  }
  if (exercise == "2019" || exercise == "2020") {
    e.origem =
        mode == ImportMode::kRuralBook ? kind + exercise : kind + version + exercise.substr(2);
    e.origem = e.origem.substr(0, std::min<size_t>(12, e.origem.size()));
    e.tipo = tipo;
  }
  return e;
}

Result<std::vector<ListingEntry>> ListSourceFolder(
    platform::Env& env, const std::string& folder, ImportMode mode,
    const std::function<void(const std::string&)>& progress) {
  DODU_ASSIGN_OR_RETURN(std::vector<platform::DirEntry> dir, env.ListDir(folder));
  std::vector<std::string> names;
  for (std::string_view ext : {".DBK", ".DEC", ".BAK"}) {
    for (const platform::DirEntry& d : dir) {
      if (!d.is_dir && HasExtension(d.name, ext)) names.push_back(d.name);
    }
  }
  if (names.empty()) {
    return Status::NotFound(
        core::Cp850("O local escolhido não contém a informação pedida da Receita"));
  }
  struct Read {
    ListingEntry entry;
    std::string bytes;
  };
  std::vector<Read> listed;
  int with_exercise = 0;
  for (size_t i = 0; i < names.size(); ++i) {
    if (!PassesFilter(mode, names[i])) continue;
    Result<std::string> bytes = platform::ReadWholeFile(env, platform::JoinPath(folder, names[i]));
    if (!bytes.ok()) return Status::IoError(core::Cp850("Erro de leitura: ") + names[i]);
    std::vector<std::string_view> lines = SplitLines(*bytes);
    Read r{FirstPass(mode, names[i], lines.empty() ? "" : std::string_view(*bytes).substr(0, 80)),
           std::move(bytes).value()};
    if (lines.empty()) r.entry = ListingEntry{names[i], "", "", "", "", false};
    if (!r.entry.tipo.empty()) ++with_exercise;
    listed.push_back(std::move(r));
    if (progress) {
      progress(core::Cp850("Verificando " + std::to_string(i + 1) + " de " +
                           std::to_string(names.size()) + " declarações!"));
    }
  }
  if (with_exercise == 0) {
    return Status::NotFound(core::Cp850("Na pasta existem " + std::to_string(names.size()) +
                                        " declarações, mas não da seleção pedida"));
  }
  std::vector<ListingEntry> out;
  std::vector<std::string> rectified;  // CPFs whose rectification is in the folder
  for (Read& r : listed) {
    std::vector<std::string_view> lines = SplitLines(r.bytes);
    // The first line is compared as the first pass saw it: its first 80 characters.
    if (!lines.empty()) lines[0] = lines[0].substr(0, 80);
    if (!SecondPass(mode, r.entry, lines)) continue;
    if (mode != ImportMode::kLeao && mode != ImportMode::kRuralBook &&
        IsRectification(mode, lines)) {
      rectified.push_back(r.entry.cpf);
    }
    out.push_back(std::move(r.entry));
  }
  // The rectified declaration gives way to its rectification, wherever either
  // was listed.
  std::erase_if(out, [&](const ListingEntry& e) {
    return std::find(rectified.begin(), rectified.end(), e.cpf) != rectified.end() &&
           At(e.origem, 6, 5) == "ORIGI";
  });
  return out;
}

Status WriteSelectionList(store::OpenerContext& ctx, store::WorkAreas& areas,
                          const std::vector<ListingEntry>& entries) {
  constexpr int kList = 70;
  DODU_RETURN_IF_ERROR(store::ABERTURA(ctx, areas, kList, true));
  store::WorkArea* a = areas.Get(kList);
  if (a == nullptr) return Status::NotFound("LISNOME");
  DODU_RETURN_IF_ERROR(a->table().Zap());
  for (const ListingEntry& e : entries) {
    store::Record r = a->table().BlankRecord();
    DODU_RETURN_IF_ERROR(r.PutText("NOMEARQ", e.file_name));
    DODU_RETURN_IF_ERROR(r.PutText("ORIGEM", e.origem));
    DODU_RETURN_IF_ERROR(r.PutText("TIPO", e.tipo));
    DODU_RETURN_IF_ERROR(r.PutText("CPF", e.cpf));
    DODU_RETURN_IF_ERROR(r.PutText("NOMECONTR", e.name));
    DODU_ASSIGN_OR_RETURN(store::RecNo n, a->table().Append(r));
    a->table().UnlockRecord(n);
  }
  return Status::Ok();
}

Result<std::vector<ListingEntry>> ReadSelectionList(store::OpenerContext& ctx,
                                                    store::WorkAreas& areas) {
  constexpr int kList = 70;
  if (areas.Get(kList) == nullptr) DODU_RETURN_IF_ERROR(store::ABERTURA(ctx, areas, kList, true));
  store::WorkArea* a = areas.Get(kList);
  if (a == nullptr) return Status::NotFound("LISNOME");
  DODU_RETURN_IF_ERROR(a->SetOrder(1));
  DODU_RETURN_IF_ERROR(a->Top());
  std::vector<ListingEntry> out;
  while (!a->eof()) {
    DODU_ASSIGN_OR_RETURN(store::Record r, a->Current());
    ListingEntry e;
    DODU_ASSIGN_OR_RETURN(e.file_name, r.GetTrimmed("NOMEARQ"));
    DODU_ASSIGN_OR_RETURN(e.origem, r.GetTrimmed("ORIGEM"));
    DODU_ASSIGN_OR_RETURN(e.tipo, r.GetTrimmed("TIPO"));
    DODU_ASSIGN_OR_RETURN(e.cpf, r.GetTrimmed("CPF"));
    DODU_ASSIGN_OR_RETURN(e.name, r.GetTrimmed("NOMECONTR"));
    DODU_ASSIGN_OR_RETURN(std::string mark, r.GetTrimmed("IMPRE"));
    e.marked = mark == "S" || mark == "s";
    out.push_back(std::move(e));
    DODU_RETURN_IF_ERROR(a->Skip(1));
  }
  return out;
}

}  // namespace dodu::import
