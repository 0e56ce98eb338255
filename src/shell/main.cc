// Entry point of dodu2020. Until the start-up is built it opens the screen,
// shows that the program is starting and leaves with Esc. --key-probe shows the
// keys the terminal sends (Esc twice to leave); --demo DIR is accepted for the
// demo installation. The terminal is given back whatever happens.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "core/codepage.h"
#include "platform/env.h"
#include "screen/dialog.h"
#include "screen/ncurses_terminal.h"
#include "screen/toolkit.h"

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

int StartingUp(Toolkit& tk) {
  tk.ENCHETELA(' ', 0x1F);
  LDialog* d = tk.LDLGSHOW(9, 20, 13, 59, "DODU2020");
  if (d == nullptr) return 1;
  tk.Write(10, 22, Cp850("O programa está iniciando."), 0x70);
  tk.Write(12, 22, Cp850("Tecle Esc para sair."), 0x70);
  tk.LSBDRAW({Toolkit::PartSpec(Cp850("Esc - sair"), 20)});
  d->activate();
  d->close();
  return 0;
}

int Usage() {
  std::fputs("usage: dodu2020 [terminal number] [--key-probe] [--demo DIR]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool probe = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--key-probe") == 0) {
      probe = true;
    } else if (std::strcmp(argv[i], "--demo") == 0) {
      if (++i >= argc) return Usage();  // the demo folder; used once the start-up lands
    } else if (argv[i][0] == '-') {
      return Usage();
    }
  }
  std::unique_ptr<dodu::platform::Env> env = dodu::platform::NewPosixEnv();
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
      tk.Start("DODU2020 - Vesk");
      rc = probe ? KeyProbe(tk, *term) : StartingUp(tk);
    } catch (const std::exception& e) {
      failure = e.what();
    } catch (...) {
      failure = "unknown exception";
    }
  }  // the terminal is given back here, before anything is printed
  if (!failure.empty()) {
    std::fprintf(stderr, "dodu2020: %s\n", failure.c_str());
    return 1;
  }
  return rc;
}
