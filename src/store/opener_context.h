// The station state the opener, the locks and the folder list work with: the
// terminal number, the installation, data and work folders, the declaration
// option, the alias to give the next open and the message flag, plus the ways
// to reach the operator. One object is built at start-up and passed down; it is
// never a global.
//
// Folders are native paths without a final separator. Texts given to the sink
// and the observers are code page 850.
#ifndef DODU_STORE_OPENER_CONTEXT_H_
#define DODU_STORE_OPENER_CONTEXT_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/message_sink.h"
#include "platform/paths.h"
#include "store/catalogue.h"

namespace dodu::store {

// What a timed wait shows and asks while it retries.
class WaitObserver {
 public:
  virtual ~WaitObserver() = default;
  // Status-bar text while waiting; "" clears it.
  virtual void StatusText(const std::string& text) = 0;
  // Called before each retry. Consumes one pending key and tells whether it was
  // Esc. A wait that Esc may not stop still calls it (keys are used up).
  virtual bool EscPressed() = 0;
};

// A WaitObserver for tests and batch runs: records the texts and runs a
// callback at every poll (where a test lets go of a lock, or answers Esc).
class RecordingWaitObserver : public WaitObserver {
 public:
  void StatusText(const std::string& text) override { texts.push_back(text); }
  bool EscPressed() override {
    ++polls;
    return on_poll ? on_poll(polls) : false;
  }
  std::vector<std::string> texts;
  int polls = 0;
  std::function<bool(int poll)> on_poll;  // returns "Esc was pressed"
};

// A yes/no question to the operator: lines of the box; true for "Sim".
using ConfirmFn = std::function<bool(const std::vector<std::string>& lines)>;

struct OpenerContext {
  OpenerContext(platform::Env& env, platform::MessageSink& sink, WaitObserver& wait)
      : env(env), sink(sink), wait(wait) {}

  platform::Env& env;
  platform::MessageSink& sink;
  WaitObserver& wait;
  // Unset when there is no screen: questions are then answered "no".
  ConfirmFn confirm;

  // Between the folder names kept in tables ("C:\KEVA2019") and native paths.
  platform::PathMap paths;

  std::string terminal = "00";       // NUSU
  std::string year = "20";           // CANOATUAL
  std::string installation_folder;   // ROTADEF (ARQDEF without the separator)
  std::string data_folder;           // ROTADOANO (LOCARQ without the separator)
  std::string work_folder;           // DIRTRAB (LOCTRAB without the separator)
  int declaration_option = 0;        // OPCIR_1
  std::string alias;                 // APELIDO: the alias of the next open, then cleared
  bool show_messages = false;        // MOS_MENS

  NameContext names() const { return {year, terminal, declaration_option}; }
  bool Confirm(const std::vector<std::string>& lines) const {
    return confirm ? confirm(lines) : false;
  }
};

// True when `name` carries a folder of its own.
bool HasFolder(const std::string& name);

// The folder of catalogue folder `f`.
const std::string& FolderPath(const OpenerContext& ctx, Folder f);

// The file-resolution rule: a name with a folder is taken as is; a bare name is
// found in the data folder, then in the installation folder. Names match
// case-insensitively (platform::ResolveExisting); the result is the name on
// disk. nullopt when the file is in neither.
std::optional<std::string> FindExisting(const OpenerContext& ctx, const std::string& name);

// Where a new file of that name goes: its own folder, or the data folder.
std::string PathForCreate(const OpenerContext& ctx, const std::string& name);

}  // namespace dodu::store

#endif  // DODU_STORE_OPENER_CONTEXT_H_
