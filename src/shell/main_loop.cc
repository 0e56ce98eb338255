#include "shell/main_loop.h"

#include "core/codepage.h"
#include "screen/colour_editor.h"
#include "screen/dialog.h"
#include "screen/message_box.h"
#include "shell/menu_bar.h"
#include "shell/menu_tree.h"
#include "shell/startup.h"
#include "store/opener.h"
#include "store/reindex.h"

namespace dodu::shell {
namespace {

using core::Cp850;

// The event loop of the main window with a freshly built menu bar.
void RunEventLoop(Station& st) {
  screen::LDialog& main = st.tk.main_window();
  InstallMainMenu(main, *st.dispatcher, MenuVariablesOf(st.menu));
  main.activate();
}

Status SaveColours(Station& st, const screen::ColourSettings& colours) {
  bool opened = false;
  if (st.areas.Get(56) == nullptr) {
    DODU_RETURN_IF_ERROR(store::ABERTURA(st.ctx, st.areas, 56));
    opened = true;
  }
  store::WorkArea* area = st.areas.Get(56);
  Status s = area == nullptr ? Status::NotFound("CORES not opened") : Status::Ok();
  if (s.ok()) {
    Result<bool> found = SeekTerminal(*area, st.ctx.terminal);
    if (!found.ok())
      s = found.status();
    else if (*found)
      s = WriteCurrentFields(st.ctx, *area, ColourFields(colours), 5);
    else
      s = AppendFields(
          st.ctx, *area,
          [&] {
            FieldValues f = ColourFields(colours);
            f.insert(f.begin(), CharField("NRO_TERM", st.ctx.terminal));
            return f;
          }(),
          5);
  }
  if (opened) st.areas.Close(56);
  return s;
}

}  // namespace

void RegisterStationActions(Station& st) {
  ActionRegistry& r = st.dispatcher->registry();
  r.Register(18, [&st](ActionContext&) { return ROTSAIDA(st, 18); });
  r.Register(91, [&st](ActionContext&) { return ROTSAIDA(st, 91); });
  r.RegisterColourEditor([&st](ActionContext& c) {
    Status s = screen::MODCOR(st.tk, c.sub1, [&st](const screen::ColourSettings& colours) {
      return SaveColours(st, colours);
    });
    if (s.ok()) st.colours = ColourFields(st.tk.colours());
    return s.ok();
  });
}

bool ROTSAIDA(Station& st, int code) {
  if (code == 91 && screen::AVISOSN(st.tk, std::vector<std::string>{Cp850(kLeaveQuestion)}, 2, {},
                                    Cp850(kLeaveTitle)) != "S") {
    return false;
  }
  StoreBack(st.menu, st.settings);
  // ROTADOANO is the data folder in use now (the folder routines may have
  // switched it); a name that still leads there is kept as the record has it.
  if (ExistingFolder(st, st.settings.rotadoano) != st.ctx.data_folder) {
    st.settings.rotadoano = core::Utf8ToCp850(st.ctx.data_folder);
  }
  // A refused lock has been told; the values are then simply not stored.
  (void)st.tables.WriteConfig(ExitFields(st.settings));
  // After an import (17) the data folder's indexes are rebuilt; a busy table
  // is skipped (another station keeps its indexes up to date).
  if (st.menu.opcao_1 == 17) {
    (void)store::REORG(st.ctx, st.areas, st.ctx.data_folder, 3);
  }
  st.areas.CloseAll();
  st.tk.Fill(0, 0, screen::kScreenRows - 1, screen::kScreenCols - 1, ' ', 0x07);
  st.tk.Flush();
  st.leaving = true;
  st.tk.main_window().end();
  return true;
}

void MainLoop(Station& st) {
  screen::LDialog& main = st.tk.main_window();
  main.setKey(screen::Key::Alt('I'), [&st] { st.dispatcher->MenuSelect(kAltIOption); });
  main.setKey(screen::Key::Alt('T'), [&st] { st.dispatcher->MenuSelect(kAltTOption); });

  RunEventLoop(st);
  if (st.leaving) return;
  if (ROTSAIDA(st, 91)) return;
  while (true) {
    RunEventLoop(st);
    if (st.leaving) return;
    screen::Key k = st.tk.RawKey();
    if (k == screen::Key::Alt('T'))
      st.dispatcher->MenuSelect(kAltTOption);
    else if (k == screen::Key::Alt('I'))
      st.dispatcher->MenuSelect(kAltIOption);
    else if (k.type == screen::KeyType::kEsc)
      ROTSAIDA(st, 91);
    if (st.leaving) return;
    VE_AGEN(st);
  }
}

}  // namespace dodu::shell
