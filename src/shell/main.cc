// Entry point of dodu2020.
//
//   dodu2020 [terminal]         the station: start-up, main menu, leaving
//   dodu2020 --demo DIR [terminal]
//                               installs the demonstration into DIR (once: an
//                               installed folder is kept as it is) and runs the
//                               station on it (DIR2020 names it)
//   dodu2020 --key-probe        shows the keys the terminal sends (Esc twice)
//
// The terminal is given back whatever happens, before anything is printed.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

#include "core/codepage.h"
#include "platform/env.h"
#include "screen/ncurses_terminal.h"
#include "screen/toolkit.h"
#include "shell/demo_install.h"
#include "shell/main_loop.h"
#include "shell/startup.h"
#include "shell/startup_args.h"
#include "shell/station_services.h"

namespace {

using dodu::core::Cp850;
using namespace dodu::screen;

int KeyProbe(Toolkit& tk, NcursesTerminal& term) {
  tk.ENCHETELA(' ', 0x07);
  tk.Write(0, 0, Cp850("Teclas recebidas (Esc duas vezes para sair):"), 0x0F);
  int row = 2;
  bool last_esc = false;
  while (true) {
    Key k = tk.RawKey();
    if (k.type == KeyType::kResize) continue;
    std::string line = k.Name() + "   [" + term.last_raw_bytes() + "]";
    line.resize(kScreenCols, ' ');
    if (row > 24) {
      for (int r = 2; r < 24; ++r) {
        std::string text = tk.RowText(r + 1);
        tk.Write(r, 0, text, 0x07);
      }
      row = 24;
    }
    tk.Write(row++, 0, line, 0x07);
    if (k.type == KeyType::kEsc && last_esc) return 0;
    last_esc = k.type == KeyType::kEsc;
  }
}

std::string CurrentFolder() {
  std::string buf(4096, '\0');
  if (getcwd(buf.data(), buf.size()) == nullptr) return "/";
  return std::string(buf.c_str());
}

std::string EnvOr(dodu::platform::Env& env, const char* name) {
  return env.GetEnv(name).value_or("");
}

// The station from start-up to leaving; the exit status of the program.
int RunStation(dodu::platform::Env& env, Toolkit& tk, std::optional<std::string> terminal,
               std::string& failure) {
  dodu::shell::Station station(env, tk);
  dodu::shell::StartupOptions options;
  options.terminal_arg = std::move(terminal);
  options.current_folder = CurrentFolder();
  options.home_folder = EnvOr(env, "HOME");
  options.default_printer = EnvOr(env, "PRINTER");
  dodu::Status st = dodu::shell::StartUp(station, options);
  if (!st.ok()) {
    // The operator has been told; a refusal to go on is no failure.
    if (st.IsCancelled()) return 0;
    failure = st.ToString();
    return 1;
  }
  dodu::shell::RegisterStationActions(station);
  dodu::shell::StationServices services(station);
  dodu::shell::RegisterStationServices(services);
  dodu::shell::MainLoop(station);
  return 0;
}

int Usage() {
  std::fputs("usage: dodu2020 [terminal number] [--key-probe] [--demo DIR]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool probe = false;
  std::optional<std::string> demo;
  std::optional<std::string> terminal;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--key-probe") == 0) {
      probe = true;
    } else if (std::strcmp(argv[i], "--demo") == 0) {
      if (++i >= argc) return Usage();
      demo = argv[i];
    } else if (argv[i][0] == '-' || terminal) {
      return Usage();
    } else {
      terminal = argv[i];
    }
  }
  std::unique_ptr<dodu::platform::Env> env = dodu::platform::NewPosixEnv();
  if (demo && !probe) {
    auto installed = dodu::shell::InstallDemo(*env, *demo);
    if (!installed.ok()) {
      std::fprintf(stderr, "dodu2020: demo %s: %s\n", demo->c_str(),
                   installed.status().ToString().c_str());
      return 1;
    }
    for (const std::string& line : dodu::shell::DemoReportLines(*installed)) {
      std::fprintf(stderr, "%s\n", line.c_str());
    }
    const std::string variable = dodu::shell::InstallFolderVariable(dodu::shell::kCanoAtual);
    setenv(variable.c_str(), installed->installation_folder.c_str(), 1);
  }
  int rc = 1;
  std::string failure;
  {
    auto opened = NcursesTerminal::Open(*env);
    if (!opened.ok()) {
      std::fprintf(stderr, "%s\n", opened.status().message().c_str());
      return 1;
    }
    std::unique_ptr<NcursesTerminal> term = std::move(opened).value();
    try {
      Toolkit tk(*term);
      if (probe) {
        tk.Start("DODU2020 - Vesk");
        rc = KeyProbe(tk, *term);
      } else {
        rc = RunStation(*env, tk, terminal, failure);
      }
    } catch (const std::exception& e) {
      failure = e.what();
      rc = 1;
    } catch (...) {
      failure = "unknown exception";
      rc = 1;
    }
  }  // the terminal is given back here, before anything is printed
  if (!failure.empty()) std::fprintf(stderr, "dodu2020: %s\n", failure.c_str());
  return rc;
}
