// Work areas: the open tables of a station by area number, each with its alias,
// its order list (the index files in order, one active) and a current record.
//
// Navigation follows the active order (record order when there is none) and
// hides records marked deleted while `hide_deleted` is on; their keys stay in
// the indexes. Positions: a valid record, or eof() after the last / a failed
// seek (no current record), bof() after moving before the first.
#ifndef DODU_STORE_WORKAREA_H_
#define DODU_STORE_WORKAREA_H_

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/status.h"
#include "store/table.h"
#include "store/workarea_index.h"

namespace dodu::store {

class WorkArea {
 public:
  WorkArea(int number, std::string alias, std::unique_ptr<Table> table,
           std::vector<std::unique_ptr<OrderIndex>> orders);
  ~WorkArea();
  WorkArea(const WorkArea&) = delete;
  WorkArea& operator=(const WorkArea&) = delete;

  int number() const { return number_; }
  const std::string& alias() const { return alias_; }
  Table& table() { return *table_; }
  size_t order_count() const { return orders_.size(); }
  OrderIndex& order(size_t i) { return *orders_[i]; }
  // 1-based as xBase numbers orders; 0 is record order.
  int active_order() const { return active_; }
  Status SetOrder(int order);

  bool hide_deleted = true;

  bool eof() const { return eof_; }
  bool bof() const { return bof_; }
  bool found() const { return found_; }
  RecNo recno() const { return recno_; }

  Status GoTo(RecNo n);
  Status Top();
  Status Bottom();
  Status Skip(int n = 1);
  // Seeks in the active order (kInvalid with none). Character keys may be
  // partial; soft positions on the next key when not found.
  Result<bool> Seek(std::string_view key, bool soft = false);

  // The current record (kNotFound at eof).
  Result<Record> Current();
  // Writes the current record (locks as Table::Write wants).
  Status WriteCurrent(const Record& record);

 private:
  Status SettleForward();   // from the cursor's entry on, skip hidden records
  Status SettleBackward();
  Result<bool> Visible(RecNo n);
  Status Step(bool forward);

  int number_;
  std::string alias_;
  // Orders before the table: the table (which calls them) is destroyed first.
  std::vector<std::unique_ptr<OrderIndex>> orders_;
  std::unique_ptr<Table> table_;
  int active_ = 0;
  RecNo recno_{0};
  std::string key_;  // the active order's key of the current record
  bool eof_ = true, bof_ = false, found_ = false;
};

class WorkAreas {
 public:
  // Puts an open table in area `number`, closing what was there.
  WorkArea& Place(int number, std::string alias, std::unique_ptr<Table> table,
                  std::vector<std::unique_ptr<OrderIndex>> orders);
  // nullptr when nothing is open there.
  WorkArea* Get(int number);
  // The area whose alias is `alias` (any case), or nullptr.
  WorkArea* FindAlias(std::string_view alias);
  void Close(int number);
  void CloseAll();
  std::vector<int> OpenNumbers() const;

  // The selected area (SELECT).
  int current() const { return current_; }
  void Select(int number) { current_ = number; }

 private:
  std::map<int, std::unique_ptr<WorkArea>> areas_;
  int current_ = 1;
};

}  // namespace dodu::store

#endif  // DODU_STORE_WORKAREA_H_
