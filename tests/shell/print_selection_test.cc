#include "shell/print_selection.h"

#include <gtest/gtest.h>

namespace dodu::shell {
namespace {

PrintSelection With(int queimp, int quemod, int quepag, int quecon = 1) {
  PrintSelection s;
  s.queimp = queimp;
  s.quemod = quemod;
  s.quepag = quepag;
  s.quecon = quecon;
  return s;
}

// MONTA_ITENS for every report kind: what it makes of the sheet and page indexes
// and the captions of items 2 and 3.
TEST(PrintSelectionTest, MontaItensNormalisesEachReportKind) {
  struct Case {
    int queimp, quemod, quepag;
    int want_mod, want_pag;
    const char* item2;
    const char* item3;
  } cases[] = {
      {1, 3, 9, 1, 9, "2 Folha avulsa  ", "3 Resumo c/Balanço   "},
      {2, 1, 11, 1, 11, "2 Folha avulsa  ", "3 Só a Malha fina    "},
      {3, 2, 2, 1, 2, "2 Folha avulsa  ", "3 página 1   "},
      {3, 1, 9, 1, 3, "2 Folha avulsa  ", "3 página 2   "},
      {4, 2, 3, 1, 3, "2 Folha avulsa  ", "3 Folha única"},
      {5, 2, 7, 2, 1, "2 Formulário Contínuo", "3 Folha única"},
      {5, 3, 1, 3, 1, "2 Darf pré-impresso  ", "3 Folha única"},
      {6, 3, 4, 1, 1, "2 Folha avulsa  ", "3 Folha única"},
      {11, 1, 1, 1, 1, "2 Folha avulsa  ", "3 Folha única"},
      {12, 2, 5, 2, 1, "2 Folha avulsa  ", "3 Folha única"},
      {12, 1, 1, 1, 1, "2 Etiquetas          ", "3 Folha única"},
      {13, 2, 2, 1, 1, "2 Folha avulsa  ", "3 Folha única"},
      {14, 4, 3, 4, 1, "2 Pimaco 8296   ", "3 Folha única"},
      {14, 2, 1, 2, 1, "2 12 Eti. 90x24 ", "3 Folha única"},
      {15, 2, 2, 1, 1, "2 Folha avulsa  ", "3 Folha única"},
      // The history report has no limits of its own: it is treated as kinds 6 to 11.
      {16, 3, 5, 1, 1, "2 Folha avulsa  ", "3 Folha única"},
  };
  for (const Case& c : cases) {
    PrintSelection s = With(c.queimp, c.quemod, c.quepag);
    PrintCaptions cap = MontaItens(s);
    SCOPED_TRACE("QUEIMP " + std::to_string(c.queimp) + " QUEMOD " + std::to_string(c.quemod) +
                 " QUEPAG " + std::to_string(c.quepag));
    EXPECT_EQ(s.quemod, c.want_mod);
    EXPECT_EQ(s.quepag, c.want_pag);
    EXPECT_EQ(cap.item2, c.item2);
    EXPECT_EQ(cap.item3, c.item3);
  }
}

TEST(PrintSelectionTest, CaptionsOfItemsOneAndFour) {
  PrintSelection s = With(7, 1, 1, 2);
  PrintCaptions cap = MontaItens(s);
  EXPECT_EQ(cap.item1, "1 Renda variável      ");
  EXPECT_EQ(cap.item4, "4 Vários      ");
  EXPECT_EQ(cap.item5, "5  - Seleção da Impressora");
  EXPECT_EQ(cap.item7, "7  - Número de Vias ");
  PrintSelection h = With(16, 1, 1, 5);
  EXPECT_EQ(MontaItens(h).item1, "1 Historicos");
}

// Fault mended: the indexes come from the settings record, whose fields hold any
// number of their width; used as they are they pick entries outside the lists (no
// caption, or a read past the end). Every index is moved into its list.
TEST(PrintSelectionTest, StoredIndexesOutsideTheirListsAreClamped) {
  struct Case {
    int queimp, quemod, quepag, quecon;
    int want_imp, want_mod, want_pag, want_con;
    const char* item1;
    const char* item2;
    const char* item3;
    const char* item4;
  } cases[] = {
      {0, 0, 0, 0, 1, 1, 1, 1, "1 DArevu modo Receita ", "2 Folha avulsa  ",
       "3 Tudo na declaração  ", "4 Individual  "},
      {17, 1, 1, 6, 16, 1, 1, 5, "1 Historicos", "2 Folha avulsa  ", "3 Folha única",
       "4 Grupo selec."},
      {99, 9, 99, 9, 16, 1, 1, 5, "1 Historicos", "2 Folha avulsa  ", "3 Folha única",
       "4 Grupo selec."},
      {1, 1, 12, 1, 1, 1, 11, 1, "1 DArevu modo Receita ", "2 Folha avulsa  ",
       "3 Só a Malha fina    ", "4 Individual  "},
      {1, 1, -3, 1, 1, 1, 1, 1, "1 DArevu modo Receita ", "2 Folha avulsa  ",
       "3 Tudo na declaração  ", "4 Individual  "},
      {5, 9, 1, 1, 5, 3, 1, 1, "1 Darfes              ", "2 Darf pré-impresso  ",
       "3 Folha única", "4 Individual  "},
      {12, 0, 1, 1, 12, 1, 1, 1, "1 Cadastro           ", "2 Etiquetas          ",
       "3 Folha única", "4 Individual  "},
      // Kind 14 keeps its sheet kind; 9 is beyond the four label sheets.
      {14, 9, 1, 1, 14, 4, 1, 1, "1 Etiquetas para CD  ", "2 Pimaco 8296   ", "3 Folha única",
       "4 Individual  "},
      {14, 0, 1, 1, 14, 1, 1, 1, "1 Etiquetas para CD  ", "2 8 Eti. 116x37 ", "3 Folha única",
       "4 Individual  "},
  };
  for (const Case& c : cases) {
    PrintSelection s = With(c.queimp, c.quemod, c.quepag, c.quecon);
    PrintCaptions cap = MontaItens(s);
    SCOPED_TRACE(std::to_string(c.queimp) + "/" + std::to_string(c.quemod) + "/" +
                 std::to_string(c.quepag) + "/" + std::to_string(c.quecon));
    EXPECT_EQ(s.queimp, c.want_imp);
    EXPECT_EQ(s.quemod, c.want_mod);
    EXPECT_EQ(s.quepag, c.want_pag);
    EXPECT_EQ(s.quecon, c.want_con);
    EXPECT_EQ(cap.item1, c.item1);
    EXPECT_EQ(cap.item2, c.item2);
    EXPECT_EQ(cap.item3, c.item3);
    EXPECT_EQ(cap.item4, c.item4);
  }
}

// SELITEMIMP: sheet and page are cut to the limits of the report kind chosen.
TEST(PrintSelectionTest, SelectPrintItemCutsToTheLimitsOfTheKind) {
  struct Case {
    int queimp, code, choice;
    int want;  // the value of the index the code sets
  } cases[] = {
      {1, 42, 3, 1},  {5, 42, 2, 2},   {5, 42, 4, 3},  {12, 42, 3, 2}, {14, 42, 4, 4},
      {16, 42, 3, 1}, {1, 43, 11, 11}, {1, 43, 12, 11}, {3, 43, 11, 3}, {4, 43, 3, 1},
      {16, 43, 2, 1}, {1, 44, 5, 5},   {1, 44, 6, 5},  {1, 41, 16, 16}, {1, 41, 0, 1},
      {1, 47, 0, 1},  {1, 47, 9, 9},
  };
  for (const Case& c : cases) {
    PrintSelection s = With(c.queimp, 1, 1);
    ASSERT_TRUE(SelectPrintItem(s, c.code, c.choice));
    int got = c.code == 41   ? s.queimp
              : c.code == 42 ? s.quemod
              : c.code == 43 ? s.quepag
              : c.code == 44 ? s.quecon
                             : s.nro_vias;
    EXPECT_EQ(got, c.want) << "QUEIMP " << c.queimp << " code " << c.code << " choice "
                           << c.choice;
  }
  PrintSelection s;
  EXPECT_FALSE(SelectPrintItem(s, 45, 1));
  EXPECT_EQ(s, PrintSelection());
}

TEST(PrintSelectionTest, FlagsAndTheShownSelection) {
  PrintSelection s = With(2, 1, 4, 3);
  s.nomeimp = "NAO DOS";
  ASSERT_TRUE(SetPrintFlag(s, 1, false));
  ASSERT_TRUE(SetPrintFlag(s, 3, true));
  EXPECT_FALSE(SetPrintFlag(s, 4, true));
  s.nro_vias = 2;
  PrintCaptions cap = MontaItens(s);
  std::vector<std::string> expected = {
      "1 DArevu modo  Vesk  ",
      "2 Folha avulsa  ",
      "3 Só IR Sem a Malha  ",
      "4 Todos       ",
      "Impressora NAO DOS",
      "6a - Mostra as Impressoras = N",
      "6b - Mostra o texto antes  = S",
      "6c - Copia o texto impresso= S",
      "7  - Número de Vias 2",
  };
  EXPECT_EQ(MosConfimpLines(s, cap), expected);
}

TEST(PrintSelectionTest, FieldsWrittenToTheSettingsRecord) {
  PrintSelection s = With(5, 2, 1, 4);
  s.moscpf = "S";
  FieldValues f = PrintSelectionFields(s);
  std::vector<std::string> names;
  for (const FieldValue& v : f) names.push_back(v.name);
  EXPECT_EQ(names, (std::vector<std::string>{"QUEIMP", "QUEMOD", "QUEPAG", "QUECON", "COMPAGA",
                                             "IMPBEM", "IMPBAL", "MOSIMP", "MOSTEL", "MOSCPF",
                                             "MARESQ", "INIFOL", "LINETI", "NRO_LIN"}));
  EXPECT_EQ(IntOf(f, "QUEMOD"), 2);
  EXPECT_EQ(IntOf(f, "QUECON"), 4);
  EXPECT_EQ(CharOf(f, "MOSCPF"), "S");
  EXPECT_EQ(IntOf(f, "LINETI"), 6);
}

}  // namespace
}  // namespace dodu::shell
