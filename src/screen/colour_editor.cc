#include "screen/colour_editor.h"

#include <algorithm>

#include "screen/colour.h"
#include "screen/dialog.h"

namespace dodu::screen {
namespace {

constexpr uint8_t kBlock = 0xFE;  // the small square of code page 850
constexpr int kPaletteTop = 5, kPaletteLeft = 8;

}  // namespace

int ItemColour(const ColourSettings& c, int item) {
  switch (item) {
    case 1: return c.COR_TEL1;
    case 2: return c.COR_TEL2;
    case 3: return c.COR_ESCOL;
    case 4: return c.COR_PEGA;
    case 5: return c.COR_MENS;
    case 6: return c.COR_HELP;
    case 7: return c.COR_ENCHE;
    default: return 0;
  }
}

void SetItemColour(ColourSettings& c, int item, int attr) {
  attr &= 0xFF;
  std::string text = ACHACOR(attr);
  switch (item) {
    case 1: c.COR_TEL1 = attr; c.COR_1_CLI = text; break;
    case 2: c.COR_TEL2 = attr; c.COR_2_CLI = text; break;
    case 3:
      c.COR_ESCOL = attr;
      c.COR_ESC_CL = text;
      c.COR_FERID = (attr & 0xF0) + 12;
      break;
    case 4: c.COR_PEGA = attr; c.COR_GET = text; break;
    case 5: c.COR_MENS = attr; c.COR_SAY = text; break;
    case 6: c.COR_HELP = attr; c.COR_CLI_HE = text; break;
    case 7: c.COR_ENCHE = attr; c.COR_ENCH_C = text; break;
    default: break;
  }
}

Status MODCOR(Toolkit& tk, int item, const ColourSaver& save) {
  if (item < 1 || item > 7) return Status::Invalid("colour item " + std::to_string(item));
  ColourSettings& c = tk.colours();
  int attr = ItemColour(c, item);
  int fg = attr & 15, bg = (attr >> 4) & 7;
  LDialog* dialog = nullptr;
  if (item != 7) dialog = tk.LDLGSHOW(kPaletteTop - 1, kPaletteLeft - 2, kPaletteTop + 9, 69, "Ajuste de cores");
  SavedRegion under_palette;
  if (dialog == nullptr) under_palette = tk.Save(kPaletteTop - 1, kPaletteLeft - 2, kPaletteTop + 9, 69);
  auto draw = [&] {
    const Attr frame = MakeAttr(0, 7);
    tk.Fill(kPaletteTop - 1, kPaletteLeft - 1, kPaletteTop + 8, kPaletteLeft + 32, ' ', frame);
    for (int b = 0; b < 8; ++b) {
      for (int f = 0; f < 16; ++f) {
        Attr a = MakeAttr(f, b);
        bool current = f == fg && b == bg;
        tk.Put(kPaletteTop + b, kPaletteLeft + 2 * f, Cell{current ? static_cast<uint8_t>('*') : kBlock, a});
        tk.Put(kPaletteTop + b, kPaletteLeft + 2 * f + 1, Cell{' ', a});
      }
    }
    const int sample_left = kPaletteLeft + 36;
    struct Sample {
      const char* text;
      int colour;
    } samples[] = {{"Item Escolhido", c.COR_ESCOL},
                   {"Entrada Dados ", c.COR_PEGA},
                   {"Mensagens     ", c.COR_MENS},
                   {"Telas de Help ", c.COR_HELP}};
    tk.Fill(kPaletteTop, sample_left - 1, kPaletteTop + 5, sample_left + 15, ' ',
            static_cast<Attr>(c.COR_TEL1));
    for (int i = 0; i < 4; ++i) {
      tk.Write(kPaletteTop + 1 + i, sample_left, samples[i].text, static_cast<Attr>(samples[i].colour));
    }
  };
  while (true) {
    draw();
    Key k = tk.WaitKey();
    int nf = fg, nb = bg;
    if (k.type == KeyType::kLeft) nf = std::max(fg - 1, 0);
    else if (k.type == KeyType::kRight) nf = std::min(fg + 1, 15);
    else if (k.type == KeyType::kUp) nb = std::max(bg - 1, 0);
    else if (k.type == KeyType::kDown) nb = std::min(bg + 1, 7);
    else if (k.type == KeyType::kEnter || k.type == KeyType::kEsc || k.type == KeyType::kMenu) break;
    else continue;
    if (nf == fg && nb == bg) continue;
    fg = nf;
    bg = nb;
    SetItemColour(c, item, MakeAttr(fg, bg));
    if (item == 7) {
      tk.ENCHETELA(' ', c.COR_ENCHE);
      under_palette = tk.Save(kPaletteTop - 1, kPaletteLeft - 2, kPaletteTop + 9, 69);
    }
  }
  if (dialog != nullptr) dialog->close();
  else tk.Restore(under_palette);
  // Window 10 follows the message colours.
  tk.REDFATR(10, 1, item == 5 ? c.COR_MENS : c.COR_TEL2);
  tk.REDFATR(10, 2, c.COR_TEL1);
  tk.REDFATR(10, 3, c.COR_TEL2);
  c.RebuildComposites();
  return save ? save(c) : Status::Ok();
}

}  // namespace dodu::screen
