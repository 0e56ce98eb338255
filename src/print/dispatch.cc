#include "print/dispatch.h"

#include <span>

#include "core/codepage.h"
#include "platform/paths.h"
#include "print/pdf_renderer.h"
#include "print/print_output.h"
#include "print/print_stream.h"

namespace dodu::print {
namespace {

using core::Cp850;

Status SendToPrinter(platform::Env& env, PrinterSystem& printers, DispatchPorts& ports,
                     const PrintOptions& options, const PrintFolders& folders,
                     const std::string& file, const std::string& queue, const std::string& job) {
  const std::string pdf = platform::TemporaryNameFor(env, platform::JoinPath(folders.work, "IMPRIME.PDF"));
  PdfOptions pdf_options;
  pdf_options.title = job;
  Result<int> pages = RenderPrintFile(env, file, pdf, pdf_options);
  if (!pages.ok()) {
    ports.Tell({Cp850("ATENÇÃO !!! Não foi possível iniciar a impressão"),
                Cp850(pages.status().ToString())});
    return pages.status();
  }
  Status st = printers.Submit(queue, pdf, false, job, options.copies);
  (void)env.Remove(pdf);
  if (!st.ok()) {
    ports.Tell({Cp850("ATENÇÃO !!! Não foi possível iniciar a impressão"),
                Cp850("Verifique se a Impressora está ligada.")});
  }
  return st;
}

Status RunNaoDos(platform::Env& env, DispatchPorts& ports, const PrintOptions& options,
                 const PrintFolders& folders, const std::string& file) {
  std::vector<std::string> argv = {platform::JoinPath(folders.program, "nodosimp"), file};
  for (std::string& a : NaoDosArguments(options.show_first, options.choose_each_time)) {
    argv.push_back(std::move(a));
  }
  platform::SpawnOptions spawn;
  spawn.extra_env.emplace_back("NODOSIMP_COPIES", std::to_string(options.copies < 1 ? 1 : options.copies));
  Result<platform::SpawnResult> r = env.Spawn(argv, spawn);
  if (!r.ok()) {
    ports.Tell({Cp850("Não foi possível executar ") + Cp850(argv[0])});
    return r.status();
  }
  return Status::Ok();  // the program tells its own failures
}

}  // namespace

std::vector<std::string> NaoDosArguments(bool show_first, bool choose_each_time) {
  if (show_first && choose_each_time) return {"96", "pre/sel"};
  if (show_first) return {"96", "pre"};
  if (choose_each_time) return {"96", "sel"};
  return {"96"};
}

Result<Dispatched> DispatchPrintFile(platform::Env& env, PrinterSystem& printers,
                                     DispatchPorts& ports, const PrintOptions& options,
                                     const PrintFolders& folders, const std::string& job,
                                     bool one_taxpayer) {
  const std::string file = platform::JoinPath(folders.work, kJobFile);
  Status clean = CleanPrintFile(env, file);
  if (clean.code() == StatusCode::kNotFound) {
    if (one_taxpayer) ports.Tell({"Nada para imprimir!!"});
    return Dispatched{};
  }
  DODU_RETURN_IF_ERROR(clean);

  std::string destination = options.destination;
  const bool system_printer = destination != kNaoDos && destination != kSemImpressora &&
                              destination != kPdfFile;
  if (system_printer && options.choose_each_time) {
    Result<PrinterList> list = printers.List();
    std::optional<std::string> chosen =
        ports.Choose(Destinations(list.ok() ? *list : PrinterList{}), destination);
    if (chosen) destination = *chosen;
  }
  if (destination == kSemImpressora) {
    ports.View(file);
    return Dispatched{DispatchResult::kViewed, ""};
  }
  if (destination == kNaoDos) {
    DODU_RETURN_IF_ERROR(RunNaoDos(env, ports, options, folders, file));
    return Dispatched{DispatchResult::kPrinted, ""};
  }
  if (options.show_first) ports.View(file);
  if (destination == kPdfFile) {
    const std::string pdf = UnusedPdfPath(env, folders.work, SafeFileName(job));
    PdfOptions pdf_options;
    pdf_options.title = job;
    Result<int> pages = RenderPrintFile(env, file, pdf, pdf_options);
    if (!pages.ok()) {
      ports.Tell({Cp850("Não foi possível gravar ") + Cp850(pdf), pages.status().ToString()});
      return pages.status();
    }
    ports.Tell({Cp850("Impressão gravada em"), Cp850(pdf)});
    return Dispatched{DispatchResult::kSaved, pdf};
  }
  DODU_RETURN_IF_ERROR(
      SendToPrinter(env, printers, ports, options, folders, file, destination, job));
  return Dispatched{DispatchResult::kPrinted, ""};
}

std::string SafeFileName(const std::string& cp850) {
  std::string utf8 = core::Cp850ToUtf8(cp850);
  std::string out;
  for (char c : utf8) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F || c == ':' || c == '*' || c == '?' ||
        c == '"' || c == '<' || c == '>' || c == '|') {
      out += '_';
    } else {
      out += c;
    }
  }
  // No ".." anywhere, and no name made of dots only.
  size_t at;
  while ((at = out.find("..")) != std::string::npos) out.replace(at, 2, "_");
  if (out.find_first_not_of(" .") == std::string::npos) out = "_";
  return out;
}

std::string TaxpayerCopyName(const std::string& cpf, const std::string& name_cp850) {
  std::string name = name_cp850;
  const size_t first_end = name.find(' ');
  std::string first = first_end == std::string::npos ? name : name.substr(0, first_end + 1);
  std::string trimmed = name.substr(0, name.find_last_not_of(' ') + 1);
  std::string last;
  if (first_end != std::string::npos && first_end < trimmed.size()) {
    last = trimmed.substr(trimmed.rfind(' ') + 1);
  }
  return SafeFileName(cpf + first + last + ".TXT");
}

Status KeepTaxpayerCopy(platform::Env& env, const std::string& work_folder,
                        const std::string& cpf, const std::string& name_cp850) {
  const std::string prov = platform::JoinPath(work_folder, kTaxpayerFile);
  const std::string job = platform::JoinPath(work_folder, kJobFile);
  DODU_ASSIGN_OR_RETURN(std::string text, platform::ReadWholeFile(env, prov));
  DODU_ASSIGN_OR_RETURN(std::unique_ptr<platform::File> out,
                        env.Open(job, platform::OpenMode::kCreate));
  DODU_ASSIGN_OR_RETURN(uint64_t size, out->Size());
  DODU_RETURN_IF_ERROR(out->WriteAt(size, std::as_bytes(std::span(text.data(), text.size()))));
  DODU_RETURN_IF_ERROR(out->Sync());
  out.reset();
  return env.Rename(prov, platform::JoinPath(work_folder, TaxpayerCopyName(cpf, name_cp850)));
}

std::string UnusedPdfPath(platform::Env& env, const std::string& folder, const std::string& stem) {
  std::string path = platform::JoinPath(folder, stem + ".pdf");
  for (int n = 2; env.Exists(path); ++n) {
    path = platform::JoinPath(folder, stem + "-" + std::to_string(n) + ".pdf");
  }
  return path;
}

}  // namespace dodu::print
