#include "shell/import_screen.h"

#include <algorithm>

#include "core/codepage.h"
#include "entry/edita.h"
#include "entry/profile_import.h"
#include "import/listing.h"
#include "screen/dialog.h"
#include "screen/form.h"
#include "screen/form_variables.h"
#include "screen/message_box.h"
#include "store/folder_list.h"
#include "store/opener.h"

namespace dodu::shell {
namespace {

using core::Cp850;

using screen::ScopedDialog;

std::string Pad(std::string s, size_t n) {
  s.resize(std::max(s.size(), n), ' ');
  return s.substr(0, n);
}

std::string Trim(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

void Error(screen::Toolkit& tk, const std::vector<std::string>& lines) {
  (void)screen::AVISOSN(tk, lines, 8);
}

bool YesNo(screen::Toolkit& tk, const std::vector<std::string>& lines) {
  return screen::AVISOSN(tk, lines, 2) == "S";
}

std::string Number4(int n) {
  std::string s = std::to_string(n);
  return std::string(s.size() < 4 ? 4 - s.size() : 0, ' ') + s;
}

// The counters window "CPF's" and the operator's answers during the loop.
class ScreenObserver : public import::RunObserver {
 public:
  explicit ScreenObserver(screen::Toolkit& tk) : tk_(tk) {}
  bool Confirm(const std::vector<std::string>& lines) override { return YesNo(tk_, lines); }
  void ShowCounters(const import::Counters& c, bool first) override {
    if (first) dialog_.emplace(tk_, 8, 28, 15, 52, "CPF's");
    const std::pair<const char*, int> rows[] = {{" A converter", c.to_convert},
                                                {" Convertidos", c.converted},
                                                {" Já existente", c.existing},
                                                {" Não converter", c.not_converted},
                                                {" Faltam ......", c.remaining}};
    for (int i = 0; i < 5; ++i) {
      tk_.Write(9 + i, 30, Pad(Cp850(rows[i].first), 15) + " " + Number4(rows[i].second),
                screen::ColourOr(tk_.colours().COR_2_CLI, 0x1F));
    }
    tk_.Flush();
  }
  bool EscPending() override {
    std::optional<screen::Key> k = tk_.PollKey();
    return k && k->type == screen::KeyType::kEsc;
  }
  void Refused(const import::ListingEntry& e, const Status& why) override {
    Error(tk_, {e.file_name, why.message()});
  }
  void Converted(const import::ListingEntry& e, const import::ImportOutcome& out) override {
    for (const std::string& n : out.notes) notes.push_back(Trim(e.name) + ": " + n);
  }
  std::vector<std::string> notes;

 private:
  screen::Toolkit& tk_;
  std::optional<ScopedDialog> dialog_;
};

}  // namespace

const std::vector<OfficialImport>& OfficialImports() {
  static const std::vector<OfficialImport> k = {
      {3, import::ImportMode::kWhole, "Receita 2019 ou 2020"},
      {4, import::ImportMode::kGains, "G. Capital 2020"},
      {5, import::ImportMode::kReceipts, "Nro. Recibo 2019 ou 2020"},
      {6, import::ImportMode::kRural, "So a Atividade Rural 2020"},
      {7, import::ImportMode::kPrefilled, "Pré-Preenchida da Receita  2019"},
      {8, import::ImportMode::kIndividuals, "Rendimento P.Fisica 2020"},
      {10, import::ImportMode::kLeao, "Carne Leão 2019"},
      {11, import::ImportMode::kRuralBook, "Livro Caixa Rural 2019"},
  };
  return k;
}

Result<std::optional<import::ImportFolders>> PEGAOSDIR(ImportScreenContext& s, int menu_code) {
  screen::Toolkit& tk = s.tk;
  DODU_ASSIGN_OR_RETURN(import::ImportFolders folders,
                        import::ReadImportFolders(s.ctx, s.areas, menu_code));
  ScopedDialog dialog(tk, 6, 2, 13, 77, "Pastas");
  const screen::Attr label = screen::ColourOr(tk.colours().COR_2_CLI, 0x1F);
  tk.Write(7, 4, "Origem:", label);
  tk.Write(10, 4, "Destino:", label);
  screen::MapVariableStore vars;
  vars.Define("ORIGEM", Pad(folders.origin, 80));
  vars.Define("DESTINO", Pad(folders.destination, 80));
  std::vector<screen::FormField> fields(2);
  fields[0].row = 8;
  fields[0].col = 3;
  fields[0].name = "ORIGEM";
  fields[0].picture = "@S73";
  fields[0].width = 80;
  fields[1] = fields[0];
  fields[1].row = 11;
  fields[1].name = "DESTINO";
  for (;;) {
    screen::Form form(tk, vars, fields);
    DODU_ASSIGN_OR_RETURN(screen::FormResult res, form.Read());
    if (res.end == screen::FormEnd::kEscaped) return std::optional<import::ImportFolders>();
    folders.origin = import::WithFinalBackslash(std::get<std::string>(*vars.Get("ORIGEM")));
    folders.destination = import::WithFinalBackslash(std::get<std::string>(*vars.Get("DESTINO")));
    Result<std::string> origin = s.ctx.paths.ToNative(folders.origin);
    if (!origin.ok() || !s.ctx.env.IsDirectory(*origin)) {
      Error(tk, {"Drive e/ou Pasta de Origem inexistente !!"});
      if (!YesNo(tk, {"Continua procurando?"})) return std::optional<import::ImportFolders>();
      continue;
    }
    if (Trim(folders.destination).size() > 2 &&
        !store::CRI_NDIR(s.ctx, folders.destination, store::kLabelData).ok()) {
      continue;
    }
    Result<std::string> dest = s.ctx.paths.ToNative(folders.destination);
    if (!dest.ok()) continue;
    s.ctx.data_folder = *dest;
    (void)import::StoreImportFolders(s.ctx, s.areas, menu_code, folders);
    folders.origin = *origin;  // native, for the listing
    return std::optional<import::ImportFolders>(folders);
  }
}

Status LEIA_DISCO(ImportScreenContext& s, const OfficialImport& which) {
  screen::Toolkit& tk = s.tk;
  ScopedDialog window(tk, 1, 0, 23, 79,
                      Cp850("Importação buscando dados dos programas da Receita"));
  DODU_ASSIGN_OR_RETURN(std::optional<import::ImportFolders> folders,
                        PEGAOSDIR(s, which.menu_code));
  if (!folders) return Status::Ok();
  tk.SetStatusLine("Processando...");
  DODU_RETURN_IF_ERROR(import::CRIA_BASE(s.ctx, s.areas));
  Result<std::vector<import::ListingEntry>> listed = import::ListSourceFolder(
      s.ctx.env, folders->origin, which.mode, [&](const std::string& t) { tk.SetStatusLine(t); });
  if (!listed.ok()) {
    Error(tk, {listed.status().message()});
    return Status::Ok();
  }
  DODU_RETURN_IF_ERROR(import::WriteSelectionList(s.ctx, s.areas, *listed));
  if (!listed->empty()) {
    DODU_ASSIGN_OR_RETURN(screen::Key left,
                          entry::EDITA(s.ec, s.profiles, entry::kImportSelectionProfile));
    (void)left;
  }
  DODU_ASSIGN_OR_RETURN(std::vector<import::ListingEntry> entries,
                        import::ReadSelectionList(s.ctx, s.areas));
  if (std::none_of(entries.begin(), entries.end(), [](const auto& e) { return e.marked; })) {
    Error(tk, {Cp850("Nenhum contribuinte foi marcado para a conversão."),
               "Marque com S (sim) nos que deseja converter.    "});
    return Status::Ok();
  }
  ScreenObserver observer(tk);
  import::ConversionInputs in = import::ReferenceLookups(s.ctx, s.areas);
  import::Counters c = import::ConvertMarked(s.ctx, s.areas, folders->origin, entries, which.mode,
                                             in, observer, s.locate);
  (void)c;
  if (!observer.notes.empty()) {
    std::vector<std::string> lines = {Cp850("Observações da importação:")};
    lines.insert(lines.end(), observer.notes.begin(), observer.notes.end());
    (void)screen::AVISOSN(tk, lines, 0);
  }
  return Status::Ok();
}

void RegisterImportOption(ActionRegistry& registry, ImportScreenContext& s) {
  registry.Register(17, [&s](ActionContext&) {
    s.areas.Close(9);
    screen::Toolkit& tk = s.tk;
    std::vector<std::string> buttons;
    for (const OfficialImport& o : OfficialImports()) buttons.push_back(Cp850(o.caption));
    const int chosen = [&] {
      ScopedDialog list(tk, 5, 20, 7 + static_cast<int>(buttons.size()), 60,
                        " Buscar de programas da Receita");
      int at = 0;
      for (;;) {
        for (size_t i = 0; i < buttons.size(); ++i) {
          tk.Write(6 + static_cast<int>(i), 22, Pad(buttons[i], 36),
                   static_cast<int>(i) == at ? screen::ColourOr("W+/B", 0x1F)
                                             : screen::ColourOr(tk.colours().COR_2_CLI, 0x70));
        }
        tk.Flush();
        screen::Key k = tk.WaitKey();
        if (k.type == screen::KeyType::kEsc) return -1;
        if (k.type == screen::KeyType::kEnter) return at;
        if (k.type == screen::KeyType::kUp)
          at = at > 0 ? at - 1 : static_cast<int>(buttons.size()) - 1;
        if (k.type == screen::KeyType::kDown) at = (at + 1) % static_cast<int>(buttons.size());
      }
    }();
    Status st;
    if (chosen >= 0) st = LEIA_DISCO(s, OfficialImports()[static_cast<size_t>(chosen)]);
    s.areas.CloseAll();
    return st.ok();
  });
}

}  // namespace dodu::shell
