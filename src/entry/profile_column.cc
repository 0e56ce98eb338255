#include "entry/profile_column.h"

#include <algorithm>

#include "core/picture.h"

namespace dodu::entry {
namespace {

std::string Fit(std::string s, int width) {
  if (static_cast<int>(s.size()) > width) s.resize(width);
  s.append(width - s.size(), ' ');
  return s;
}

}  // namespace

Result<screen::EditValue> FieldValue(const store::Record& record, std::string_view field) {
  const store::FieldSlot* slot = record.layout().Find(field);
  if (slot == nullptr) return Status::NotFound(std::string(field) + ": no such field");
  switch (slot->spec.type) {
    case store::FieldType::kChar: {
      DODU_ASSIGN_OR_RETURN(std::string t, record.GetText(field));
      return screen::EditValue(t);
    }
    case store::FieldType::kNumeric: {
      DODU_ASSIGN_OR_RETURN(core::Decimal d, record.GetNumber(field));
      return screen::EditValue(d);
    }
    case store::FieldType::kDate: {
      DODU_ASSIGN_OR_RETURN(core::Date d, record.GetDate(field));
      return screen::EditValue(d);
    }
    case store::FieldType::kLogical: {
      DODU_ASSIGN_OR_RETURN(bool b, record.GetLogical(field));
      return screen::EditValue(b);
    }
    case store::FieldType::kMemo:
      break;
  }
  return Status::Invalid(std::string(field) + ": a memo field is not edited in a cell");
}

Status PutFieldValue(store::Record& record, std::string_view field, const screen::EditValue& v) {
  if (const auto* s = std::get_if<std::string>(&v)) return record.PutText(field, *s);
  if (const auto* d = std::get_if<core::Decimal>(&v)) return record.PutNumber(field, *d);
  if (const auto* dt = std::get_if<core::Date>(&v)) return record.PutDate(field, *dt);
  return record.PutLogical(field, std::get<bool>(v));
}

std::string FormatField(const store::Record& record, const store::FieldSpec& spec,
                        std::string_view mask) {
  core::Picture pic = core::Picture::Parse(mask);
  switch (spec.type) {
    case store::FieldType::kNumeric: {
      Result<core::Decimal> d = record.GetNumber(spec.name);
      return pic.FormatNumber(d.ok() ? *d : core::Decimal(), {spec.length, spec.decimals});
    }
    case store::FieldType::kDate: {
      Result<core::Date> d = record.GetDate(spec.name);
      return pic.FormatDate(d.ok() ? *d : core::Date());
    }
    case store::FieldType::kLogical: {
      Result<bool> b = record.GetLogical(spec.name);
      return pic.FormatLogical(b.ok() && *b);
    }
    case store::FieldType::kChar: {
      Result<std::string> t = record.GetText(spec.name);
      return pic.FormatText(t.ok() ? *t : std::string());
    }
    case store::FieldType::kMemo:
      break;
  }
  return std::string(spec.length, ' ');
}

Result<CompiledColumn> CompiledColumn::Compile(const Column& column,
                                               std::shared_ptr<const store::RecordLayout> layout) {
  CompiledColumn c;
  c.column_ = column;
  c.layout_ = layout;
  if (column.text) {
    // Computed: nothing of the layout to compile, and nothing to edit.
  } else if ((c.display_slot_ = layout->Find(column.expression)) == nullptr) {
    DODU_ASSIGN_OR_RETURN(store::KeyExpr e,
                          store::KeyExpr::Compile(column.expression, layout->fields()));
    if (e.type() != store::KeyType::kCharacter) {
      return Status::Invalid(column.expression + ": a display expression must give text");
    }
    c.expr_ = std::move(e);
  }
  if (!column.field.empty() && !column.text) {
    c.edit_slot_ = layout->Find(column.field);
    if (c.edit_slot_ == nullptr) return Status::Invalid(column.field + ": no such field to edit");
  }
  store::Record blank = store::Record::Blank(layout);
  c.width_ = 0;
  std::string sample = c.Display(blank);
  c.width_ =
      std::max<int>(static_cast<int>(sample.size()), static_cast<int>(column.heading.size()));
  return c;
}

std::string CompiledColumn::Display(const store::Record& record) const {
  std::string text;
  if (column_.text) {
    text = column_.text(record);
  } else if (display_slot_ != nullptr) {
    text = FormatField(record, display_slot_->spec, column_.mask);
  } else {
    text = core::Transform(expr_->EvaluateImage(record.bytes()), column_.mask);
  }
  return width_ == 0 ? text : Fit(std::move(text), width_);
}

Result<screen::EditValue> CompiledColumn::Get(const store::Record& record) const {
  if (edit_slot_ == nullptr) return Status::Invalid(column_.heading + ": the column only shows");
  return FieldValue(record, edit_slot_->spec.name);
}

Status CompiledColumn::Set(store::Record& record, const screen::EditValue& value) const {
  if (edit_slot_ == nullptr) return Status::Invalid(column_.heading + ": the column only shows");
  return PutFieldValue(record, edit_slot_->spec.name, value);
}

}  // namespace dodu::entry
