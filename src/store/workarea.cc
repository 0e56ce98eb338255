// Work areas and their navigation.
#include "store/workarea.h"

#include "platform/paths.h"

namespace dodu::store {

WorkArea::WorkArea(int number, std::string alias, std::unique_ptr<Table> table,
                   std::vector<std::unique_ptr<OrderIndex>> orders)
    : number_(number), alias_(std::move(alias)), orders_(std::move(orders)),
      table_(std::move(table)) {
  for (auto& o : orders_) table_->AttachIndex(*o);
  active_ = orders_.empty() ? 0 : 1;
}

WorkArea::~WorkArea() {
  if (table_) {
    table_->UnlockAll();
    for (auto& o : orders_) table_->DetachIndex(*o);
  }
}

Status WorkArea::SetOrder(int order) {
  if (order < 0 || order > static_cast<int>(orders_.size())) {
    return Status::Invalid(alias_ + ": no order " + std::to_string(order));
  }
  active_ = order;
  if (!eof_) {
    DODU_ASSIGN_OR_RETURN(Record r, table_->Read(recno_));
    if (active_ > 0) key_ = orders_[active_ - 1]->expr().EvaluateImage(r.bytes());
  }
  return Status::Ok();
}

Result<bool> WorkArea::Visible(RecNo n) {
  if (!hide_deleted) return true;
  DODU_ASSIGN_OR_RETURN(Record r, table_->Read(n));
  return !r.deleted();
}

// Moves one visible record forward or backward from the current one (or from
// before the first / after the last when `recno_` is 0).
Status WorkArea::Step(bool forward) {
  bof_ = false;
  if (active_ == 0) {
    DODU_ASSIGN_OR_RETURN(uint32_t count, table_->RefreshCount());
    int64_t n = recno_.value == 0 ? (forward ? 1 : count) : recno_.value + (forward ? 1 : -1);
    for (; n >= 1 && n <= count; n += forward ? 1 : -1) {
      DODU_ASSIGN_OR_RETURN(bool vis, Visible(RecNo{static_cast<uint32_t>(n)}));
      if (vis) {
        recno_ = RecNo{static_cast<uint32_t>(n)};
        eof_ = false;
        return Status::Ok();
      }
    }
  } else {
    CdxIndex::Cursor c = orders_[active_ - 1]->index().NewCursor();
    if (recno_.value == 0) {
      DODU_RETURN_IF_ERROR(forward ? c.Top() : c.Bottom());
    } else {
      DODU_RETURN_IF_ERROR(c.SeekEntry(key_, recno_.value).status());
      // SeekEntry lands on the entry itself or, when it is gone, the next one.
      bool on_self = c.valid() && c.recno() == recno_.value && c.key() == key_;
      if (forward && on_self) DODU_RETURN_IF_ERROR(c.Next());
      if (!forward) DODU_RETURN_IF_ERROR(c.Prev());
      if (!forward && c.bof()) {
        bof_ = true;
        return Status::Ok();
      }
    }
    while (c.valid() && !c.bof()) {
      DODU_ASSIGN_OR_RETURN(bool vis, Visible(RecNo{c.recno()}));
      if (vis) {
        recno_ = RecNo{c.recno()};
        key_ = c.key();
        eof_ = false;
        return Status::Ok();
      }
      DODU_RETURN_IF_ERROR(forward ? c.Next() : c.Prev());
    }
  }
  if (forward) {
    eof_ = true;
    recno_ = RecNo{0};
  } else {
    bof_ = true;
  }
  return Status::Ok();
}

Status WorkArea::GoTo(RecNo n) {
  DODU_ASSIGN_OR_RETURN(Record r, table_->Read(n));
  recno_ = n;
  eof_ = bof_ = false;
  if (active_ > 0) key_ = orders_[active_ - 1]->expr().EvaluateImage(r.bytes());
  return Status::Ok();
}

Status WorkArea::Top() {
  recno_ = RecNo{0};
  eof_ = true;
  return Step(true);
}

Status WorkArea::Bottom() {
  recno_ = RecNo{0};
  eof_ = true;
  DODU_RETURN_IF_ERROR(Step(false));
  if (recno_.value == 0) bof_ = false;
  return Status::Ok();
}

Status WorkArea::Skip(int n) {
  if (eof_ && n > 0) return Status::Ok();
  for (int i = 0; i < (n < 0 ? -n : n); ++i) {
    RecNo before = recno_;
    DODU_RETURN_IF_ERROR(Step(n > 0));
    if (bof_) {
      recno_ = before;
      break;
    }
    if (eof_) break;
  }
  return Status::Ok();
}

Result<bool> WorkArea::Seek(std::string_view key, bool soft) {
  if (active_ == 0) return Status::Invalid(alias_ + ": seek without an index order");
  CdxIndex::Cursor c = orders_[active_ - 1]->index().NewCursor();
  DODU_ASSIGN_OR_RETURN(bool hit, c.Seek(key, soft));
  found_ = false;
  bof_ = false;
  while (c.valid()) {
    DODU_ASSIGN_OR_RETURN(bool vis, Visible(RecNo{c.recno()}));
    if (vis) break;
    DODU_RETURN_IF_ERROR(c.Next());
  }
  if (!c.valid()) {
    eof_ = true;
    recno_ = RecNo{0};
    return false;
  }
  // A hidden record was passed over: still found when the next one matches.
  std::string_view k(c.key());
  std::string_view want = key.substr(0, std::min(key.size(), k.size()));
  hit = hit && k.substr(0, want.size()) == want;
  if (!hit && !soft) {
    eof_ = true;
    recno_ = RecNo{0};
    return false;
  }
  recno_ = RecNo{c.recno()};
  key_ = c.key();
  eof_ = false;
  found_ = hit;
  return hit;
}

Result<Record> WorkArea::Current() {
  if (eof_ || recno_.value == 0) return Status::NotFound(alias_ + ": no current record");
  return table_->Read(recno_);
}

Status WorkArea::WriteCurrent(const Record& record) {
  if (eof_ || recno_.value == 0) return Status::NotFound(alias_ + ": no current record");
  DODU_RETURN_IF_ERROR(table_->Write(recno_, record));
  if (active_ > 0) key_ = orders_[active_ - 1]->expr().EvaluateImage(record.bytes());
  return Status::Ok();
}

WorkArea& WorkAreas::Place(int number, std::string alias, std::unique_ptr<Table> table,
                           std::vector<std::unique_ptr<OrderIndex>> orders) {
  areas_.erase(number);
  auto area = std::make_unique<WorkArea>(number, std::move(alias), std::move(table),
                                         std::move(orders));
  WorkArea& ref = *area;
  areas_[number] = std::move(area);
  current_ = number;
  return ref;
}

WorkArea* WorkAreas::Get(int number) {
  auto it = areas_.find(number);
  return it == areas_.end() ? nullptr : it->second.get();
}

WorkArea* WorkAreas::FindAlias(std::string_view alias) {
  for (auto& [n, a] : areas_) {
    if (platform::EqualsIgnoreCase(a->alias(), alias)) return a.get();
  }
  return nullptr;
}

void WorkAreas::Close(int number) { areas_.erase(number); }
void WorkAreas::CloseAll() { areas_.clear(); }

std::vector<int> WorkAreas::OpenNumbers() const {
  std::vector<int> out;
  for (const auto& [n, a] : areas_) out.push_back(n);
  return out;
}

}  // namespace dodu::store
