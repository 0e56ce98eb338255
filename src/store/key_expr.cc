#include "store/key_expr.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cstring>
#include <optional>

#include "core/date.h"

namespace dodu::store {

namespace {

enum class ValType { kChar, kNumeric, kDate };

enum class Op {
  kField, kStr, kStrZero, kDtos, kDtoc, kUpper, kSubstr, kLeft, kRight,
  kMonth, kYear, kDay, kConcat,
};

// A number as the xBase functions see it: value = mantissa / 10^scale.
struct Number {
  __int128 mantissa = 0;
  int scale = 0;
};

constexpr int64_t kJulianDayOf19700101 = 2440588;

bool IsBlank(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\0'; });
}

// Reads a numeric field the way VAL() does: blanks around, an optional sign, digits
// and an optional fraction; reading stops at the first other character. Blank text
// (and garbage) is zero.
Number ParseNumber(std::string_view s, bool* valid) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
  Number n;
  bool digits = false;
  int significant = 0;  // beyond kMaxDigits the text is not a field's number
  constexpr int kMaxDigits = 36;
  for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
    if (++significant <= kMaxDigits) n.mantissa = n.mantissa * 10 + (s[i] - '0');
    digits = true;
  }
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i) {
      if (++significant <= kMaxDigits) {
        n.mantissa = n.mantissa * 10 + (s[i] - '0');
        ++n.scale;
      }
      digits = true;
    }
  }
  while (i < s.size() && s[i] == ' ') ++i;
  bool ok = i == s.size() && (digits || IsBlank(s)) && significant <= kMaxDigits;
  if (valid) *valid = ok;
  if (significant > kMaxDigits) return Number{};
  if (neg) n.mantissa = -n.mantissa;
  return n;
}

std::string Int128ToString(__int128 v) {
  if (v == 0) return "0";
  bool neg = v < 0;
  unsigned __int128 u = neg ? static_cast<unsigned __int128>(-v) : static_cast<unsigned __int128>(v);
  std::string out;
  while (u > 0) {
    out.push_back(static_cast<char>('0' + static_cast<int>(u % 10)));
    u /= 10;
  }
  if (neg) out.push_back('-');
  std::reverse(out.begin(), out.end());
  return out;
}

// STR(n, width, decimals): rounded half away from zero, right aligned; asterisks
// when the text does not fit.
std::string FormatStr(Number n, int width, int decimals) {
  __int128 m = n.mantissa;
  int scale = n.scale;
  while (scale > decimals) {
    __int128 q = m / 10, r = m % 10;
    if (r >= 5) ++q;
    if (r <= -5) --q;
    m = q;
    --scale;
  }
  while (scale < decimals) {
    m *= 10;
    ++scale;
  }
  bool neg = m < 0;
  std::string digits = Int128ToString(neg ? -m : m);
  if (decimals > 0) {
    if (static_cast<int>(digits.size()) <= decimals) {
      digits.insert(0, static_cast<size_t>(decimals + 1 - static_cast<int>(digits.size())), '0');
    }
    digits.insert(digits.size() - static_cast<size_t>(decimals), ".");
  }
  if (neg) digits.insert(0, "-");
  if (static_cast<int>(digits.size()) > width) return std::string(static_cast<size_t>(width), '*');
  return std::string(static_cast<size_t>(width) - digits.size(), ' ') + digits;
}

std::string FormatStrZero(Number n, int width, int decimals) {
  std::string s = FormatStr(n, width, decimals);
  if (!s.empty() && s[0] == '*') return s;
  bool neg = s.find('-') != std::string::npos;
  for (char& c : s) {
    if (c == ' ' || c == '-') c = '0';
  }
  if (neg) s[0] = '-';
  return s;
}

std::string EncodeDouble(double d) {
  if (d == 0) d = 0;  // -0 sorts with +0
  uint64_t bits = std::bit_cast<uint64_t>(d);
  if (bits & (uint64_t{1} << 63)) {
    bits = ~bits;
  } else {
    bits |= uint64_t{1} << 63;
  }
  std::string out(8, '\0');
  for (int i = 0; i < 8; ++i) out[static_cast<size_t>(i)] = static_cast<char>((bits >> (56 - 8 * i)) & 0xFF);
  return out;
}

double NumberToDouble(const Number& n) {
  std::string text = Int128ToString(n.mantissa) + "e-" + std::to_string(n.scale);
  double d = 0;
  std::from_chars(text.data(), text.data() + text.size(), d);
  return d;
}

std::optional<core::Date> ReadDate(std::string_view raw) {
  if (IsBlank(raw)) return core::Date();
  return core::Date::FromDtos(raw);
}

double JulianDay(std::string_view raw) {
  auto d = ReadDate(raw);
  if (!d || d->IsBlank()) return 0;
  return static_cast<double>(d->Days() + kJulianDayOf19700101);
}

std::string Fit(std::string_view s, size_t len) {
  std::string out(s.substr(0, std::min(s.size(), len)));
  out.resize(len, ' ');
  return out;
}

}  // namespace

struct KeyExpr::Node {
  Op op = Op::kField;
  ValType type = ValType::kChar;
  int length = 0;  // character and date values: their bytes
  size_t field = 0;
  int a = 0, b = 0;  // width/decimals, start/len
  std::vector<Node> args;
};

namespace {

using Node = KeyExpr::Node;

struct Value {
  ValType type = ValType::kChar;
  std::string text;  // character and date (raw "yyyymmdd")
  Number num;
};

class Parser {
 public:
  Parser(std::string_view text, const Layout& layout) : s_(text), layout_(layout) {}

  Result<Node> Parse() {
    DODU_ASSIGN_OR_RETURN(Node root, Expr());
    SkipSpace();
    if (pos_ != s_.size()) return Error("unexpected text");
    return root;
  }

 private:
  Status Error(const std::string& what) const {
    return Status::Invalid("index key \"" + std::string(s_) + "\": " + what + " at position " +
                           std::to_string(pos_ + 1));
  }
  void SkipSpace() {
    while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
  }
  char Peek() {
    SkipSpace();
    return pos_ < s_.size() ? s_[pos_] : '\0';
  }
  std::string Ident() {
    SkipSpace();
    size_t start = pos_;
    while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_')) {
      ++pos_;
    }
    std::string id(s_.substr(start, pos_ - start));
    for (char& c : id) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return id;
  }
  Result<int> IntLiteral() {
    SkipSpace();
    size_t start = pos_;
    while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) ++pos_;
    if (start == pos_ || pos_ - start > 4) return Error("a whole number was expected");
    return std::stoi(std::string(s_.substr(start, pos_ - start)));
  }
  Status Expect(char c) {
    if (Peek() != c) return Error(std::string("'") + c + "' was expected");
    ++pos_;
    return Status::Ok();
  }

  Result<Node> Term() {
    if (Peek() == '(') {
      ++pos_;
      DODU_ASSIGN_OR_RETURN(Node inner, Expr());
      DODU_RETURN_IF_ERROR(Expect(')'));
      return inner;
    }
    std::string id = Ident();
    if (id.empty()) return Error("a field or a function was expected");
    if (Peek() != '(') return FieldNode(id);
    ++pos_;
    Node n;
    if (id == "STR" || id == "STRZERO") {
      n.op = id == "STR" ? Op::kStr : Op::kStrZero;
      DODU_ASSIGN_OR_RETURN(Node arg, Term());
      if (arg.type != ValType::kNumeric) return Error(id + "() needs a number");
      n.a = 10;
      n.b = 0;
      if (Peek() == ',') {
        ++pos_;
        DODU_ASSIGN_OR_RETURN(n.a, IntLiteral());
        if (Peek() == ',') {
          ++pos_;
          DODU_ASSIGN_OR_RETURN(n.b, IntLiteral());
        }
      }
      if (n.a < 1 || n.a > kMaxKeyLength || n.b < 0 || n.b > 18 || n.b >= n.a) {
        return Error(id + "() width or decimals out of range");
      }
      n.type = ValType::kChar;
      n.length = n.a;
      n.args.push_back(std::move(arg));
    } else if (id == "DTOS" || id == "DTOC" || id == "MONTH" || id == "YEAR" || id == "DAY") {
      DODU_ASSIGN_OR_RETURN(Node arg, Term());
      if (arg.type != ValType::kDate) return Error(id + "() needs a date");
      if (id == "DTOS") {
        n.op = Op::kDtos, n.type = ValType::kChar, n.length = 8;
      } else if (id == "DTOC") {
        n.op = Op::kDtoc, n.type = ValType::kChar, n.length = 10;
      } else {
        n.op = id == "MONTH" ? Op::kMonth : id == "YEAR" ? Op::kYear : Op::kDay;
        n.type = ValType::kNumeric;
      }
      n.args.push_back(std::move(arg));
    } else if (id == "UPPER" || id == "SUBSTR" || id == "LEFT" || id == "RIGHT") {
      DODU_ASSIGN_OR_RETURN(Node arg, Expr());
      if (arg.type != ValType::kChar) return Error(id + "() needs text");
      n.type = ValType::kChar;
      if (id == "UPPER") {
        n.op = Op::kUpper;
        n.length = arg.length;
      } else if (id == "SUBSTR") {
        n.op = Op::kSubstr;
        DODU_RETURN_IF_ERROR(Expect(','));
        DODU_ASSIGN_OR_RETURN(n.a, IntLiteral());
        n.b = arg.length - n.a + 1;
        if (Peek() == ',') {
          ++pos_;
          DODU_ASSIGN_OR_RETURN(n.b, IntLiteral());
        }
        if (n.a < 1 || n.b < 1 || n.a - 1 + n.b > arg.length) return Error("SUBSTR() outside its text");
        n.length = n.b;
      } else {
        n.op = id == "LEFT" ? Op::kLeft : Op::kRight;
        DODU_RETURN_IF_ERROR(Expect(','));
        DODU_ASSIGN_OR_RETURN(n.a, IntLiteral());
        if (n.a < 1 || n.a > arg.length) return Error(id + "() outside its text");
        n.length = n.a;
      }
      n.args.push_back(std::move(arg));
    } else {
      return Error("unknown function " + id + "()");
    }
    DODU_RETURN_IF_ERROR(Expect(')'));
    return n;
  }

  // Terms joined by "+"; also inside parentheses and function arguments (UPPER(A+B)).
  Result<Node> Expr() {
    DODU_ASSIGN_OR_RETURN(Node left, Term());
    while (Peek() == '+') {
      ++pos_;
      DODU_ASSIGN_OR_RETURN(Node right, Term());
      if (left.type != ValType::kChar || right.type != ValType::kChar) {
        return Error("only character values can be joined with +");
      }
      Node c;
      c.op = Op::kConcat;
      c.type = ValType::kChar;
      c.length = left.length + right.length;
      c.args.push_back(std::move(left));
      c.args.push_back(std::move(right));
      left = std::move(c);
    }
    return left;
  }

  Result<Node> FieldNode(const std::string& name) {
    for (size_t i = 0; i < layout_.size(); ++i) {
      std::string fname = layout_[i].name;
      for (char& c : fname) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (fname != name) continue;
      Node n;
      n.op = Op::kField;
      n.field = i;
      switch (layout_[i].type) {
        case FieldType::kChar:
        case FieldType::kLogical:
          n.type = ValType::kChar;
          n.length = layout_[i].length;
          break;
        case FieldType::kNumeric:
          n.type = ValType::kNumeric;
          break;
        case FieldType::kDate:
          n.type = ValType::kDate;
          n.length = 8;
          break;
        case FieldType::kMemo:
          return Error("a memo field cannot be a key");
      }
      return n;
    }
    return Error("unknown field " + name);
  }

  std::string_view s_;
  const Layout& layout_;
  size_t pos_ = 0;
};

Value Eval(const Node& n, const RecordAccessor& rec, const std::vector<int>& lengths) {
  Value v;
  v.type = n.type;
  switch (n.op) {
    case Op::kField: {
      std::string_view raw = rec.FieldBytes(n.field);
      size_t len = static_cast<size_t>(lengths[n.field]);
      if (n.type == ValType::kNumeric) {
        v.num = ParseNumber(raw.substr(0, std::min(raw.size(), len)), nullptr);
      } else {
        v.text = Fit(raw, static_cast<size_t>(n.length));
      }
      return v;
    }
    case Op::kStr:
    case Op::kStrZero: {
      Value a = Eval(n.args[0], rec, lengths);
      v.text = n.op == Op::kStr ? FormatStr(a.num, n.a, n.b) : FormatStrZero(a.num, n.a, n.b);
      return v;
    }
    case Op::kDtos:
      v.text = Eval(n.args[0], rec, lengths).text;
      if (IsBlank(v.text)) v.text = std::string(8, ' ');
      return v;
    case Op::kDtoc: {
      std::string d = Eval(n.args[0], rec, lengths).text;
      v.text = IsBlank(d) ? std::string("  /  /    ")
                          : d.substr(6, 2) + "/" + d.substr(4, 2) + "/" + d.substr(0, 4);
      return v;
    }
    case Op::kMonth:
    case Op::kYear:
    case Op::kDay: {
      auto d = ReadDate(Eval(n.args[0], rec, lengths).text);
      int part = 0;
      if (d && !d->IsBlank()) part = n.op == Op::kMonth ? d->month() : n.op == Op::kYear ? d->year() : d->day();
      v.num.mantissa = part;
      return v;
    }
    case Op::kUpper:
      v.text = UpperCp850(Eval(n.args[0], rec, lengths).text);
      return v;
    case Op::kSubstr:
      v.text = Eval(n.args[0], rec, lengths).text.substr(static_cast<size_t>(n.a - 1), static_cast<size_t>(n.b));
      return v;
    case Op::kLeft:
      v.text = Eval(n.args[0], rec, lengths).text.substr(0, static_cast<size_t>(n.a));
      return v;
    case Op::kRight: {
      std::string t = Eval(n.args[0], rec, lengths).text;
      v.text = t.substr(t.size() - static_cast<size_t>(n.a));
      return v;
    }
    case Op::kConcat:
      for (const Node& a : n.args) v.text += Eval(a, rec, lengths).text;
      return v;
  }
  return v;
}

class ImageAccessor final : public RecordAccessor {
 public:
  ImageAccessor(std::string_view image, const std::vector<size_t>& offsets, const std::vector<int>& lengths)
      : image_(image), offsets_(offsets), lengths_(lengths) {}
  std::string_view FieldBytes(size_t i) const override {
    size_t off = offsets_[i];
    if (off >= image_.size()) return {};
    return image_.substr(off, std::min(image_.size() - off, static_cast<size_t>(lengths_[i])));
  }

 private:
  std::string_view image_;
  const std::vector<size_t>& offsets_;
  const std::vector<int>& lengths_;
};

}  // namespace

Result<KeyExpr> KeyExpr::Compile(std::string_view text, const Layout& layout) {
  Parser parser(text, layout);
  DODU_ASSIGN_OR_RETURN(Node root, parser.Parse());
  KeyExpr e;
  e.text_ = std::string(text);
  switch (root.type) {
    case ValType::kChar:
      e.type_ = KeyType::kCharacter;
      e.length_ = std::min(root.length, kMaxKeyLength);
      break;
    case ValType::kNumeric:
      e.type_ = KeyType::kNumeric;
      e.length_ = kNumericKeyLength;
      break;
    case ValType::kDate:
      e.type_ = KeyType::kDate;
      e.length_ = kNumericKeyLength;
      break;
  }
  if (e.length_ < 1) return Status::Invalid("index key \"" + e.text_ + "\": empty key");
  size_t off = 1;
  for (const FieldSpec& f : layout) {
    e.image_offsets_.push_back(off);
    e.field_lengths_.push_back(f.length);
    off += static_cast<size_t>(f.length);
  }
  e.root_ = std::make_unique<Node>(std::move(root));
  return e;
}

KeyExpr::KeyExpr(const KeyExpr& o)
    : text_(o.text_),
      type_(o.type_),
      length_(o.length_),
      image_offsets_(o.image_offsets_),
      field_lengths_(o.field_lengths_),
      root_(o.root_ ? std::make_unique<Node>(*o.root_) : nullptr) {}

KeyExpr& KeyExpr::operator=(const KeyExpr& o) {
  if (this != &o) *this = KeyExpr(o);
  return *this;
}

KeyExpr::KeyExpr(KeyExpr&&) noexcept = default;
KeyExpr& KeyExpr::operator=(KeyExpr&&) noexcept = default;
KeyExpr::~KeyExpr() = default;

std::string KeyExpr::Evaluate(const RecordAccessor& record) const {
  Value v = Eval(*root_, record, field_lengths_);
  switch (type_) {
    case KeyType::kCharacter:
      return Fit(v.text, static_cast<size_t>(length_));
    case KeyType::kNumeric:
      return EncodeDouble(NumberToDouble(v.num));
    case KeyType::kDate:
      return EncodeDouble(JulianDay(v.text));
  }
  return {};
}

std::string KeyExpr::EvaluateImage(std::string_view image) const {
  return Evaluate(ImageAccessor(image, image_offsets_, field_lengths_));
}

std::string UpperCp850(std::string_view text) {
  // Lower-case letters of code page 850 and their upper-case bytes.
  static constexpr unsigned char kPairs[][2] = {
      {0x81, 0x9A}, {0x82, 0x90}, {0x83, 0xB6}, {0x84, 0x8E}, {0x85, 0xB7}, {0x86, 0x8F},
      {0x87, 0x80}, {0x88, 0xD2}, {0x89, 0xD3}, {0x8A, 0xD4}, {0x8B, 0xD8}, {0x8C, 0xD7},
      {0x8D, 0xDE}, {0x91, 0x92}, {0x93, 0xE2}, {0x94, 0x99}, {0x95, 0xE3}, {0x96, 0xEA},
      {0x97, 0xEB}, {0x9B, 0x9D}, {0xA0, 0xB5}, {0xA1, 0xD6}, {0xA2, 0xE0}, {0xA3, 0xE9},
      {0xA4, 0xA5}, {0xC6, 0xC7}, {0xD0, 0xD1}, {0xE4, 0xE5}, {0xE7, 0xE8}, {0xEC, 0xED},
  };
  static const auto table = [] {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) t[static_cast<size_t>(i)] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c) t[static_cast<size_t>(c)] = static_cast<unsigned char>(c - 'a' + 'A');
    for (const auto& p : kPairs) t[p[0]] = p[1];
    return t;
  }();
  std::string out(text);
  for (char& c : out) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
  return out;
}

Result<std::string> NumericKeyFromText(std::string_view text) {
  bool valid = false;
  Number n = ParseNumber(text, &valid);
  if (!valid) return Status::Invalid("not a number: \"" + std::string(text) + "\"");
  return EncodeDouble(NumberToDouble(n));
}

std::string NumericKeyFromInt(int64_t value) {
  Number n;
  n.mantissa = value;
  return EncodeDouble(NumberToDouble(n));
}

Result<std::string> DateKeyFromDtos(std::string_view dtos) {
  if (!ReadDate(dtos)) return Status::Invalid("not a date: \"" + std::string(dtos) + "\"");
  return EncodeDouble(JulianDay(dtos));
}

double DecodeNumericKey(std::string_view key) {
  uint64_t bits = 0;
  for (size_t i = 0; i < 8 && i < key.size(); ++i) bits = (bits << 8) | static_cast<unsigned char>(key[i]);
  if (bits & (uint64_t{1} << 63)) {
    bits &= ~(uint64_t{1} << 63);
  } else {
    bits = ~bits;
  }
  return std::bit_cast<double>(bits);
}

}  // namespace dodu::store
