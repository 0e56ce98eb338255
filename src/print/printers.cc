#include "print/printers.h"

#include <sstream>

#include "platform/paths.h"

namespace dodu::print {
namespace {

class CupsPrinters final : public PrinterSystem {
 public:
  CupsPrinters(platform::Env& env, std::string scratch)
      : env_(env), scratch_(std::move(scratch)) {}

  Result<PrinterList> List() override {
    DODU_ASSIGN_OR_RETURN(std::string queues, Run({"lpstat", "-e"}));
    // "lpstat -d" fails without a scheduler; the list is then simply empty.
    Result<std::string> def = Run({"lpstat", "-d"});
    return ParseLpstat(queues, def.ok() ? *def : "");
  }

  Status Submit(const std::string& queue, const std::string& file, bool raw,
                const std::string& job, int copies) override {
    std::vector<std::string> argv = {"lp", "-d", queue, "-t", job, "-n",
                                     std::to_string(copies < 1 ? 1 : copies)};
    if (raw) {
      argv.insert(argv.end(), {"-o", "raw"});
    } else {
      argv.insert(argv.end(), {"-o", "media=A4"});
    }
    argv.push_back("--");
    argv.push_back(file);
    Result<std::string> out = Run(argv);
    return out.status();
  }

 private:
  // Runs `argv` and returns its standard output; a non-zero exit is kIoError.
  Result<std::string> Run(const std::vector<std::string>& argv) {
    platform::SpawnOptions options;
    options.stdout_path = platform::TemporaryNameFor(env_, platform::JoinPath(scratch_, "LPSTAT"));
    options.stderr_path = "/dev/null";
    Result<platform::SpawnResult> r = env_.Spawn(argv, options);
    Result<std::string> out = platform::ReadWholeFile(env_, options.stdout_path);
    (void)env_.Remove(options.stdout_path);
    DODU_RETURN_IF_ERROR(r.status());
    if (r->exit_status != 0) {
      return Status::IoError(argv[0] + " ended with status " + std::to_string(r->exit_status));
    }
    return out.ok() ? *out : std::string();
  }

  platform::Env& env_;
  std::string scratch_;
};

}  // namespace

std::unique_ptr<PrinterSystem> NewCupsPrinters(platform::Env& env, std::string scratch_folder) {
  return std::make_unique<CupsPrinters>(env, std::move(scratch_folder));
}

std::vector<std::string> Destinations(const PrinterList& printers) {
  std::vector<std::string> out = printers.names;
  out.insert(out.end(), {kNaoDos, kSemImpressora, kPdfFile});
  return out;
}

bool IsPdfDestination(const std::string& name) { return name.find("PDF") != std::string::npos; }

PrinterList ParseLpstat(const std::string& queues, const std::string& default_line) {
  PrinterList list;
  std::istringstream in(queues);
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (!line.empty()) list.names.push_back(line);
  }
  // "system default destination: NAME" (or "no system default destination").
  const std::string key = "destination: ";
  size_t at = default_line.find(key);
  if (at != std::string::npos) {
    std::string name = default_line.substr(at + key.size());
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r' || name.back() == ' ')) {
      name.pop_back();
    }
    list.default_name = name;
  }
  return list;
}

}  // namespace dodu::print
