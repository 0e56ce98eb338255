// nodosimp FILE [96] [pre | sel | pre/sel]
//
// Prints a print work file of dodu2020 (code page 850 text with form feeds and
// the pitch characters 0x12 / 0x0F). "pre" shows the text first (through $PAGER,
// "less" by default) and asks whether to print; "sel" lists the printers and
// asks which. "96" is accepted and ignored.
//
// The queue is NODOSIMP_QUEUE, else the system's default printer. With
// NODOSIMP_RAW=1 the bytes go to the queue as they are (a dot-matrix printer
// reads the pitch characters itself); otherwise the file is rendered to an A4
// PDF first. NODOSIMP_COPIES sets the number of copies.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "core/codepage.h"
#include "platform/env.h"
#include "platform/paths.h"
#include "print/pdf_renderer.h"
#include "print/printers.h"

namespace {

using namespace dodu;

std::string EnvOr(platform::Env& env, const char* name, const std::string& fallback) {
  std::optional<std::string> v = env.GetEnv(name);
  return v && !v->empty() ? *v : fallback;
}

std::string TempFolder(platform::Env& env) { return EnvOr(env, "TMPDIR", "/tmp"); }

bool Preview(platform::Env& env, const std::string& file) {
  Result<std::string> bytes = platform::ReadWholeFile(env, file);
  if (!bytes.ok()) return false;
  std::string text;
  for (char c : *bytes) {
    if (c != '\x12' && c != '\x0F') text += c;
  }
  const std::string copy = platform::TemporaryNameFor(env, platform::JoinPath(TempFolder(env), "nodosimp.txt"));
  if (!platform::WriteFileAtomic(env, copy, core::Cp850ToUtf8(text)).ok()) return false;
  (void)env.Spawn({EnvOr(env, "PAGER", "less"), copy}, {});
  (void)env.Remove(copy);
  std::cout << "Imprime? (S/N) " << std::flush;
  std::string answer;
  std::getline(std::cin, answer);
  return !answer.empty() && (answer[0] == 'S' || answer[0] == 's');
}

std::string Select(const print::PrinterList& list) {
  for (size_t i = 0; i < list.names.size(); ++i) {
    std::cout << i + 1 << " " << list.names[i] << (list.names[i] == list.default_name ? " *" : "")
              << "\n";
  }
  std::cout << "Impressora: " << std::flush;
  std::string answer;
  std::getline(std::cin, answer);
  const int n = std::atoi(answer.c_str());
  if (n >= 1 && static_cast<size_t>(n) <= list.names.size()) return list.names[n - 1];
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: nodosimp FILE [96] [pre|sel|pre/sel]\n", stderr);
    return 2;
  }
  const std::string file = argv[1];
  bool preview = false, select = false;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "pre" || a == "pre/sel") preview = true;
    if (a == "sel" || a == "pre/sel") select = true;
  }
  std::unique_ptr<platform::Env> env = platform::NewPosixEnv();
  if (preview && !Preview(*env, file)) return 0;

  std::unique_ptr<print::PrinterSystem> printers = print::NewCupsPrinters(*env, TempFolder(*env));
  std::string queue = EnvOr(*env, "NODOSIMP_QUEUE", "");
  if (queue.empty() || select) {
    Result<print::PrinterList> list = printers->List();
    if (list.ok()) queue = select ? Select(*list) : list->default_name;
  }
  if (queue.empty()) {
    std::fputs("nodosimp: nenhuma impressora (NODOSIMP_QUEUE ou a impressora padrão)\n", stderr);
    return 1;
  }
  const int copies = std::atoi(EnvOr(*env, "NODOSIMP_COPIES", "1").c_str());
  const bool raw = EnvOr(*env, "NODOSIMP_RAW", "") == "1";
  std::string to_send = file;
  if (!raw) {
    to_send = platform::TemporaryNameFor(*env, platform::JoinPath(TempFolder(*env), "nodosimp.pdf"));
    Result<int> pages = print::RenderPrintFile(*env, file, to_send, {});
    if (!pages.ok()) {
      std::fprintf(stderr, "nodosimp: %s\n", pages.status().ToString().c_str());
      return 1;
    }
  }
  Status st = printers->Submit(queue, to_send, raw, "nodosimp", copies);
  if (!raw) (void)env->Remove(to_send);
  if (!st.ok()) {
    std::fprintf(stderr, "nodosimp: %s\n", st.ToString().c_str());
    return 1;
  }
  return 0;
}
