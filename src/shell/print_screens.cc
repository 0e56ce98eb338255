#include "shell/print_screens.h"

#include <unistd.h>

#include <algorithm>

#include "core/codepage.h"
#include "platform/paths.h"
#include "print/print_output.h"
#include "print/print_stream.h"
#include "screen/message_box.h"
#include "store/opener.h"

namespace dodu::shell {
namespace {

using core::Cp850;
using screen::Key;
using screen::KeyType;

constexpr int kChooserRows = 15;

// The folder of the running program (nodosimp is installed beside it).
std::string ProgramFolder() {
  char self[4096];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return ".";
  std::string path(self, static_cast<size_t>(n));
  return path.substr(0, path.rfind('/'));
}

// Moves `index` within [0, count) for a scrolling key; false for other keys.
bool MoveIndex(const Key& k, int page, int count, int& index) {
  switch (k.type) {
    case KeyType::kUp: index -= 1; break;
    case KeyType::kDown: index += 1; break;
    case KeyType::kPgUp: index -= page; break;
    case KeyType::kPgDn: index += page; break;
    case KeyType::kHome: index = 0; break;
    case KeyType::kEnd: index = count - 1; break;
    default: return false;
  }
  index = std::clamp(index, 0, std::max(0, count - 1));
  return true;
}

// The text lines a print file shows on the screen.
std::vector<std::string> ViewLines(const std::string& bytes) {
  std::vector<std::string> out;
  const std::vector<print::PrintedPage> pages = print::ReadPrintStream(bytes);
  for (size_t p = 0; p < pages.size(); ++p) {
    if (p > 0) out.push_back(std::string(78, '\xC4'));  // ─ between pages
    int next = 0;
    for (const print::PrintedLine& line : pages[p].lines) {
      for (; next < line.line; ++next) out.emplace_back();
      std::string text;
      for (const print::PrintedRun& run : line.runs) {
        // Condensed text is shown a column a character, like normal text.
        const int width = run.condensed ? print::kCondensedWidth : print::kNormalWidth;
        size_t col = static_cast<size_t>(run.x / width);
        if (text.size() < col + run.text.size()) text.resize(col + run.text.size(), ' ');
        for (size_t i = 0; i < run.text.size(); ++i) {
          if (run.text[i] != ' ') text[col + i] = run.text[i];
        }
      }
      out.push_back(std::move(text));
      next = line.line + 1;
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> ChooseDestination(screen::Toolkit& tk,
                                             const std::vector<std::string>& destinations,
                                             const std::string& current, bool required) {
  if (destinations.empty()) return std::nullopt;
  const int count = static_cast<int>(destinations.size());
  size_t widest = 0;
  for (const std::string& d : destinations) widest = std::max(widest, d.size());
  const int width = static_cast<int>(std::clamp<size_t>(widest + 4, 30, 70));
  const int rows = std::min(kChooserRows, count);
  const int top = 4, left = (80 - width) / 2, bottom = top + rows + 1, right = left + width - 1;
  auto found = std::find(destinations.begin(), destinations.end(), current);
  int index = found != destinations.end() ? static_cast<int>(found - destinations.begin())
                                          : std::min(2, count - 1);
  int first = std::max(0, index - rows + 1);
  screen::SavedRegion saved = tk.Save(top, left, bottom, right);
  const screen::Attr text = 0x1F, bar = 0x70;
  std::optional<std::string> answer;
  while (true) {
    if (index < first) first = index;
    if (index >= first + rows) first = index - rows + 1;
    tk.Frame(top, left, bottom, right, text, Cp850("   Seleção da impressora"));
    for (int r = 0; r < rows; ++r) {
      std::string line = " " + destinations[static_cast<size_t>(first + r)];
      line.resize(static_cast<size_t>(width - 2), ' ');
      tk.Write(top + 1 + r, left + 1, line, first + r == index ? bar : text);
    }
    tk.Flush();
    Key k = tk.WaitKey();
    if (k.type == KeyType::kEnter) {
      answer = destinations[static_cast<size_t>(index)];
      break;
    }
    if (k.type == KeyType::kEsc && !required) break;
    (void)MoveIndex(k, rows, count, index);
  }
  tk.Restore(saved);
  return answer;
}

void ViewPrintFile(screen::Toolkit& tk, platform::Env& env, const std::string& path) {
  Result<std::string> bytes = platform::ReadWholeFile(env, path);
  if (!bytes.ok()) {
    screen::AVISOSN(tk, std::vector<std::string>{"Erro de leitura", Cp850(path)}, 1);
    return;
  }
  const std::vector<std::string> lines = ViewLines(*bytes);
  const int top = 0, bottom = 24, rows = bottom - top - 1;
  screen::SavedRegion saved = tk.Save(0, 0, 24, 79);
  int first = 0, col = 0;
  const int count = static_cast<int>(lines.size());
  while (true) {
    tk.Frame(top, 0, bottom, 79, 0x1F,
             Cp850(" Visualização - Esc sai ") + "(" + std::to_string(first + 1) + "/" +
                 std::to_string(std::max(count, 1)) + ") ");
    for (int r = 0; r < rows; ++r) {
      std::string text;
      const int i = first + r;
      if (i < count && static_cast<int>(lines[static_cast<size_t>(i)].size()) > col) {
        text = lines[static_cast<size_t>(i)].substr(static_cast<size_t>(col));
      }
      text.resize(78, ' ');
      tk.Write(top + 1 + r, 1, text, 0x1F);
    }
    tk.Flush();
    Key k = tk.WaitKey();
    if (k.type == KeyType::kEsc) break;
    if (k.type == KeyType::kRight) col = std::min(col + 10, 200);
    else if (k.type == KeyType::kLeft) col = std::max(col - 10, 0);
    else (void)MoveIndex(k, rows, std::max(1, count - rows + 1), first);
  }
  tk.Restore(saved);
}

std::optional<std::string> ToolkitDispatchPorts::Choose(const std::vector<std::string>& destinations,
                                                        const std::string& current) {
  std::vector<std::string> cp850;
  for (const std::string& d : destinations) cp850.push_back(Cp850(d));
  std::optional<std::string> c = ChooseDestination(tk_, cp850, Cp850(current), true);
  if (!c) return std::nullopt;
  return core::Cp850ToUtf8(*c);
}

void ToolkitDispatchPorts::Tell(const std::vector<std::string>& lines) {
  screen::AVISOSN(tk_, lines, 1);
}

print::PrintOptions PrintOptionsOf(const PrintSelection& s) {
  print::PrintOptions o;
  o.destination = s.nomeimp.empty() ? print::kNaoDos : s.nomeimp;
  o.choose_each_time = s.mosimp == "S";
  o.show_first = s.mostel == "S";
  o.keep_copies = s.moscpf == "S";
  o.copies = std::max(1, s.nro_vias);
  o.lines_per_page = s.nrolinhas;
  return o;
}

print::PrintFolders PrintFoldersOf(const Station& st) {
  return {st.ctx.work_folder, ProgramFolder()};
}

Status ChoosePrinter(Station& st, print::PrinterSystem& printers) {
  Result<print::PrinterList> list = printers.List();
  if (!list.ok() || list->names.empty()) {
    // Without a printer the job can still be shown, saved as a PDF or given to nodosimp.
    screen::AVISOSN(st.tk, std::vector<std::string>{Cp850("Não há impressora Instalada !!")}, 1);
  }
  std::vector<std::string> names;
  for (const std::string& d : print::Destinations(list.ok() ? *list : print::PrinterList{})) {
    names.push_back(Cp850(d));
  }
  std::optional<std::string> chosen =
      ChooseDestination(st.tk, names, Cp850(st.menu.print.nomeimp), true);
  if (!chosen) return Status::Cancelled();
  st.menu.print.nomeimp = core::Cp850ToUtf8(*chosen);

  bool opened = false;
  if (st.areas.Get(57) == nullptr) {
    DODU_RETURN_IF_ERROR(store::ABERTURA(st.ctx, st.areas, 57));
    opened = true;
  }
  store::WorkArea* area = st.areas.Get(57);
  Status s = area == nullptr ? Status::NotFound("ListaIMP not opened") : Status::Ok();
  if (s.ok()) {
    Result<bool> found = SeekTerminal(*area, st.ctx.terminal);
    const FieldValues fields = {CharField("NOMEIMP", *chosen)};
    if (!found.ok()) {
      s = found.status();
    } else if (*found) {
      s = WriteCurrentFields(st.ctx, *area, fields, 5);
    } else {
      FieldValues record = PrinterDefaults(st.ctx.terminal, "");
      ApplyFields(record, fields);
      s = AppendFields(st.ctx, *area, record, 5);
    }
  }
  if (opened) st.areas.Close(57);
  return s;
}

Result<print::Dispatched> DispatchJob(Station& st, print::PrinterSystem& printers,
                                      const std::string& job, bool one_taxpayer) {
  ToolkitDispatchPorts ports(st.tk, st.env);
  return print::DispatchPrintFile(st.env, printers, ports, PrintOptionsOf(st.menu.print),
                                  PrintFoldersOf(st), job, one_taxpayer);
}

void RegisterPrintOptions(ActionRegistry& registry, Station& st, print::PrinterSystem& printers) {
  registry.Register(45, [&st, &printers](ActionContext&) {
    (void)ChoosePrinter(st, printers);
    return true;
  });
  registry.Register(52, [&st, &printers](ActionContext&) {
    const std::string file = platform::JoinPath(st.ctx.work_folder, print::kJobFile);
    if (!st.env.Exists(file)) {
      screen::AVISOSN(st.tk, std::vector<std::string>{"Gere antes o arquivo a ser impresso! "}, 1);
      return true;
    }
    (void)DispatchJob(st, printers, "NAO-DOS", true);
    return true;
  });
}

}  // namespace dodu::shell
