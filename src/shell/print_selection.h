// The print selection of a terminal: what to print (QUEIMP), on which sheet
// (QUEMOD), which pages (QUEPAG) and for whom (QUECON), with the yes/no flags
// and the label layout saved beside them in the terminal's settings record.
// Every print run reads it; the "Selecão" menu changes it through SELITEMIMP.
//
// Pure logic over PrintSelection: no screen, no table. The dispatcher asks the
// questions and writes the settings record; this file decides the values and the
// captions.
//
// Every index is kept inside its list. A settings record may hold any number its
// field allows (QUEIMP N(2), QUEMOD N(1)...): 0, or 17 after a damaged write, or a
// sheet kind left from another report kind. Such a value is moved to the nearest
// end of its list before it is used to pick a caption or a page set.
//
// Texts are UTF-8 here and are converted to code page 850 where they leave for
// the screen or a table.
#ifndef DODU_SHELL_PRINT_SELECTION_H_
#define DODU_SHELL_PRINT_SELECTION_H_

#include <string>
#include <vector>

#include "shell/settings_defaults.h"

namespace dodu::shell {

// Report kinds (QUEIMP) 1..16; 16 is the history report.
inline constexpr int kReportKinds = 16;
inline constexpr int kWhomKinds = 5;  // QUECON

struct PrintSelection {
  int queimp = 1;  // report kind, ALISTIMP
  int quemod = 1;  // sheet kind, list depends on queimp
  int quepag = 1;  // page set, list depends on queimp
  int quecon = 1;  // whom, NOMECON
  std::string mosimp = "S";  // show the printer list before printing
  std::string mostel = "S";  // show the text before printing
  std::string moscpf;        // "S": keep a text copy; blank at first
  int nro_vias = 1;          // copies 1..9, not saved
  int nrolinhas = 60;        // lines per sheet 50..66, not saved
  std::string nomeimp;       // printer name (table 57), UTF-8
  // Label layout and page options saved with the selection.
  int compaga = 1;
  std::string impbem = "1";
  std::string impbal = "1";
  int maresq = 0;
  int inifol = 0;
  int lineti = 6;
  int nro_lin = 60;
  bool operator==(const PrintSelection&) const = default;
};

// The fixed lists (1-based in the menus; element 0 here is entry 1). Texts keep
// their trailing blanks: captions are laid out by them.
const std::vector<std::string>& Alistimp();  // 16 report kinds
const std::vector<std::string>& Nomcont();   // sheet: single sheet
const std::vector<std::string>& Modo1op();   // sheet: DARFs
const std::vector<std::string>& Modoeti();   // sheet: register
const std::vector<std::string>& Modetid();   // sheet: CD labels
const std::vector<std::string>& Modouni();   // sheet or pages: single sheet
const std::vector<std::string>& Nomepagr();  // pages of the declaration
const std::vector<std::string>& Nomeprur();  // pages of the rural activity
const std::vector<std::string>& Nomecon();   // whom
const std::vector<std::string>& Nomepags();  // short page names for the printouts
const std::vector<std::string>& Nomepagcv();

// Upper limits of QUEMOD (AQUEIT2) and QUEPAG (AQUEIT3) for a report kind; kind 16
// has single sheets and one page set, like kinds 6 to 11. A kind outside 1..16 is
// first clamped.
int SheetLimit(int queimp);
int PageLimit(int queimp);

int ClampToRange(int value, int low, int high);

// SELITEMIMP for the codes that set a value from the menu's sub-choice:
// 41 QUEIMP, 42 QUEMOD (cut to SheetLimit), 43 QUEPAG (cut to PageLimit),
// 44 QUECON, 47 copies (0 becomes 1). Values below 1 become 1. Returns true
// when the code is one of those; other codes change nothing.
bool SelectPrintItem(PrintSelection& sel, int code, int choice);

// Code 46: the answers to the yes/no questions, which = 1 MOSIMP, 2 MOSTEL,
// 3 MOSCPF. Other values of `which` change nothing and return false.
bool SetPrintFlag(PrintSelection& sel, int which, bool yes);
// The question asked for `which` (UTF-8), "" for an unknown one.
std::string PrintFlagQuestion(int which);
inline constexpr char kCopiesQuestion[] = "Informe o nro vias (vezes) a imprimir";

// True for the codes after which the selection is written to the settings record.
inline bool SavesPrintSelection(int code) { return code >= 41 && code <= 46; }

struct PrintCaptions {
  std::string item1, item2, item3, item4, item5, item6a, item6b, item6c, item7;
};

// MONTA_ITENS: brings every index inside its list for the chosen report kind,
// then builds the captions of the "Selecão" entries.
PrintCaptions MontaItens(PrintSelection& sel);

// MOS_CONFIMP: the lines and the title of the information box that shows the
// selection (UTF-8).
inline constexpr char kShowSelectionTitle[] = "Seleçao para impressão";
std::vector<std::string> MosConfimpLines(const PrintSelection& sel, const PrintCaptions& captions);

// The fields of the terminal's settings record that receive the selection after
// codes 41 to 46 (QUEIMP, QUEMOD, QUEPAG, QUECON, COMPAGA, IMPBEM, IMPBAL, MOSIMP,
// MOSTEL, MOSCPF, MARESQ, INIFOL, LINETI, NRO_LIN).
FieldValues PrintSelectionFields(const PrintSelection& sel);

}  // namespace dodu::shell

#endif  // DODU_SHELL_PRINT_SELECTION_H_
