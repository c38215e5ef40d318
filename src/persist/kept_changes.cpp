// The kept file's text: a header line, then per block "block ID COUNT" and COUNT lines of
// KIND TAB SECTION TAB KEY TAB TEXT, with backslash escapes for what would break a line.
#include "persist/kept_changes.h"

#include <cstdio>
#include <random>

namespace {

const std::string Header = "VELDRANE kept changes 1";
const std::string BlockWord = "block ";
constexpr size_t IdDigits = 16;
// A block of the game's saves holds a few hundred changes; far more is damage.
constexpr size_t LargestBlock = 100000;

constexpr char KindLetters[] = {'S', 'A', 'F', 'R'};  // in ChangeKind's order

std::string Escaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '\\': escaped += "\\\\"; break;
      case '\t': escaped += "\\t"; break;
      case '\n': escaped += "\\n"; break;
      case '\r': escaped += "\\r"; break;
      case '\0': escaped += "\\0"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

bool Unescaped(const std::string& field, std::string& text) {
  text.clear();
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      text += field[i];
      continue;
    }
    if (++i == field.size()) return false;
    switch (field[i]) {
      case '\\': text += '\\'; break;
      case 't': text += '\t'; break;
      case 'n': text += '\n'; break;
      case 'r': text += '\r'; break;
      case '0': text += '\0'; break;
      default: return false;
    }
  }
  return true;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

bool ParseChange(const std::string& line, StoreChange& change) {
  const std::vector<std::string> fields = Split(line, '\t');
  if (fields.size() != 4 || fields[0].size() != 1) return false;
  size_t kind = 0;
  while (kind < std::size(KindLetters) && KindLetters[kind] != fields[0][0]) ++kind;
  if (kind == std::size(KindLetters)) return false;
  change.kind = ChangeKind(kind);
  return Unescaped(fields[1], change.section) && Unescaped(fields[2], change.key) &&
         Unescaped(fields[3], change.text);
}

bool IsId(const std::string& text) {
  return text.size() == IdDigits &&
         text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// "block ID COUNT": the id and the count, or false.
bool ParseBlockLine(const std::string& line, std::string& id, size_t& count) {
  const std::vector<std::string> words = Split(line, ' ');
  if (words.size() != 3 || words[0] + " " != BlockWord || !IsId(words[1])) return false;
  if (words[2].empty() || words[2].size() > 6 ||
      words[2].find_first_not_of("0123456789") != std::string::npos)
    return false;
  id = words[1];
  count = std::stoul(words[2]);
  return count <= LargestBlock;
}

}  // namespace

std::string KeptText(const std::vector<KeptBlock>& blocks, bool withHeader) {
  std::string text = withHeader ? Header + "\n" : "";
  for (const KeptBlock& block : blocks) {
    text += BlockWord + block.id + " " + std::to_string(block.changes.size()) + "\n";
    for (const StoreChange& change : block.changes)
      text += std::string(1, KindLetters[size_t(change.kind)]) + "\t" + Escaped(change.section) +
              "\t" + Escaped(change.key) + "\t" + Escaped(change.text) + "\n";
  }
  return text;
}

// A block whose head or lines cannot be read is skipped to the next head it can.
KeptFile ParseKept(const std::string& text) {
  KeptFile kept;
  std::vector<std::string> lines = Split(text, '\n');
  if (lines.back().empty()) lines.pop_back();  // the last line's end
  size_t at = 0;
  if (lines.empty() || lines[at++] != Header) {
    kept.damaged = !text.empty();
    return kept;
  }
  while (at < lines.size()) {
    KeptBlock block;
    size_t count = 0;
    bool whole = ParseBlockLine(lines[at++], block.id, count);
    for (size_t i = 0; whole && i < count; ++i) {
      StoreChange change;
      whole = at < lines.size() && ParseChange(lines[at++], change);
      block.changes.push_back(change);
    }
    if (whole)
      kept.blocks.push_back(block);
    else
      kept.damaged = true;
  }
  return kept;
}

std::string NewBlockId() {
  std::random_device source;
  const uint64_t id = (uint64_t(source()) << 32) ^ source();
  char text[IdDigits + 1];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(id));
  return text;
}
