// The rollback journal of an in-place replacement (replace.h): a file beside
// the table holding the old bytes of every part of the table file a
// replacement is about to overwrite, so that a replacement cut short by a
// crash can be undone. The format is written down in doc/formats/journal.md.
//
// Protocol. The replacer holds the table exclusively; it writes the whole
// journal and syncs it before its first write to the table, syncs the table
// and its indexes when done and then removes the journal: the removal is the
// commit point. A journal that is complete (its checksum holds) therefore
// means "the table may hold a part of a replacement": rolling back writes the
// old bytes back, cuts the file to its old size and stamps the table with a
// new generation, so that every index, whatever the replacement had done to
// it, disagrees with the table by its stamp; the indexes the journal lists are
// rebuilt at once, any other is rebuilt by the opener. An incomplete journal
// means the replacer died before touching the table: it is just removed.
//
// Every step of the rollback can be repeated: a rollback cut short by a second
// crash runs again from the start next time.
#ifndef DODU_STORE_JOURNAL_H_
#define DODU_STORE_JOURNAL_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/status.h"

namespace dodu::store {

// "X.DBF" -> "X.DBF.JNL".
std::string JournalPathFor(const std::string& table_path);

struct JournalRange {
  uint64_t offset = 0;
  std::string old_bytes;
};

struct JournalIndex {
  std::string file;        // base name of the index file, in the table's folder
  std::string expression;  // its key expression
};

struct Journal {
  uint32_t generation = 0;    // the table's generation when the replacement began
  uint64_t change_word = 0;   // the lock file's change word then
  uint32_t record_count = 0;  // the table's record count then
  uint32_t record_length = 0;
  uint64_t file_size = 0;     // the table file's size then
  std::vector<JournalRange> ranges;
  std::vector<JournalIndex> indexes;

  // The generation a rollback stamps the table with.
  uint32_t RollbackGeneration() const;
};

// Writes the journal of `table_path` and syncs it. kIoError from the file
// system; on failure the journal may be left incomplete (which a rollback
// recognises and discards).
Status WriteJournal(platform::Env& env, const std::string& table_path, const Journal& journal);

// The journal of `table_path`: nullopt when there is none or it is incomplete
// (a replacement that died while writing it). kIoError when it cannot be read.
Result<std::optional<Journal>> ReadJournal(platform::Env& env, const std::string& table_path);

// Removes the journal (the commit of a replacement).
Status RemoveJournal(platform::Env& env, const std::string& table_path);

// Undoes an interrupted replacement of `table_path`. The caller holds the table
// exclusively (an exclusive open, or no open at all by anybody). Answers false
// when there was nothing to undo (no journal, or an incomplete one, which is
// removed), true when the table was rolled back: its old bytes restored, a new
// generation stamped, the listed indexes rebuilt, the change word written (so a
// Table already open on it reopens its files after its next lock) and the
// journal removed. kCorrupt when the journal does not belong to the table as it
// is now (it was rewritten since): the journal is then renamed to
// JournalPathFor(path) + ".BAD" and the table left as it is. kIoError from the
// file system: the journal stays for the next attempt.
Result<bool> RollBackInterruptedReplacement(platform::Env& env, const std::string& table_path);

}  // namespace dodu::store

#endif  // DODU_STORE_JOURNAL_H_
