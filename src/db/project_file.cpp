#include "db/project_file.h"

#include "base/text.h"
#include "base/utf8_path.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <string_view>
#include <system_error>

namespace {

constexpr char kHeaderComment[] =
    "# Velmora project file: one project, its OPC server, groups and items.\n"
    "# Format: docs/project-file.md. Import with \"velmora-cli project import FILE\".\n";
constexpr char kBlanks[] = " \t";
constexpr double kMaxDeadBand = 100.0;
constexpr size_t kReadChunkBytes = 64 * 1024;
constexpr size_t kBytesPerMiB = 1024 * 1024;
constexpr char kNulByte[] = "the text holds a NUL byte";
constexpr char kNotUtf8[] = "the text is not valid UTF-8";
constexpr char kQuotedNulByte[] = "the quoted value holds a NUL byte (\\x00)";
constexpr char kQuotedNotUtf8[] = "the quoted value is not valid UTF-8 (see its \\x escapes)";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

std::string TooLargeText() {
  return "the file is larger than " + std::to_string(kMaxProjectFileBytes) +
         " bytes; a project file is at most " +
         std::to_string(kMaxProjectFileBytes / kBytesPerMiB) + " MiB";
}

// Strict UTF-8: the shortest form only, no surrogates, nothing above U+10FFFF, no
// sequence cut short. Anything else would reach the database and the server as raw bytes.
bool IsValidUtf8(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
      ++pos;
      continue;
    }
    size_t length = 0;
    unsigned char secondLow = 0x80;  // the range of the byte after the lead
    unsigned char secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0)
        secondLow = 0xA0;  // overlong below U+0800
      if (lead == 0xED)
        secondHigh = 0x9F;  // surrogates U+D800..U+DFFF
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0)
        secondLow = 0x90;  // overlong below U+10000
      if (lead == 0xF4)
        secondHigh = 0x8F;  // above U+10FFFF
    } else {
      return false;  // a continuation byte, an overlong lead (C0, C1) or F5..FF
    }
    if (text.size() - pos < length)
      return false;
    for (size_t k = 1; k < length; ++k) {
      const auto byte = static_cast<unsigned char>(text[pos + k]);
      const unsigned char low = k == 1 ? secondLow : 0x80;
      const unsigned char high = k == 1 ? secondHigh : 0xBF;
      if (byte < low || byte > high)
        return false;
    }
    pos += length;
  }
  return true;
}

// Why text cannot stand in a project file (nul, notUtf8), or nullptr. A NUL would cut the
// text wherever it is passed on as a C string.
const char* TextFault(std::string_view text, const char* nul, const char* notUtf8) {
  if (text.find('\0') != std::string_view::npos)
    return nul;
  return IsValidUtf8(text) ? nullptr : notUtf8;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads the line, one field at a time, and remembers the first error.
class CLineReader {
 public:
  CLineReader(const std::string& line, int number, ProjectFileError& error)
      : m_line(line), m_nNumber(number), m_error(error) {}

  bool Fail(const std::string& message) {
    m_error.m_nLine = m_nNumber;
    m_error.m_sMessage = message;
    return false;
  }
  void SkipBlanks() {
    while (m_nPos < m_line.size() && IsBlank(m_line[m_nPos]))
      ++m_nPos;
  }
  bool AtEnd() const { return m_nPos >= m_line.size(); }
  char Peek() const { return AtEnd() ? '\0' : m_line[m_nPos]; }

  // A key or keyword: letters, digits and '-'.
  std::string Word() {
    const size_t start = m_nPos;
    while (m_nPos < m_line.size() && !IsBlank(m_line[m_nPos]) && m_line[m_nPos] != '=')
      ++m_nPos;
    return m_line.substr(start, m_nPos - start);
  }

  bool ExpectEquals(const std::string& what) {
    SkipBlanks();
    if (Peek() != '=')
      return Fail("expected '=' after " + what);
    ++m_nPos;
    SkipBlanks();
    return true;
  }

  // A name before '=': quoted, or the text up to '=' without the blanks around it.
  bool Name(std::string& name) {
    SkipBlanks();
    if (Peek() == '"')
      return Quoted(name, true);
    const size_t equals = m_line.find('=', m_nPos);
    const size_t end = equals == std::string::npos ? m_line.size() : equals;
    name = Trim(m_line.substr(m_nPos, end - m_nPos), kBlanks);
    m_nPos = end;
    return true;
  }

  // The rest of the line: quoted, or as it stands without the blanks around it.
  bool Value(std::string& value) {
    SkipBlanks();
    if (Peek() == '"')
      return Quoted(value, false);
    value = Trim(m_line.substr(m_nPos), kBlanks);
    m_nPos = m_line.size();
    return true;
  }

 private:
  bool Quoted(std::string& text, bool beforeEquals) {
    text.clear();
    ++m_nPos;  // the opening quote
    while (true) {
      if (AtEnd())
        return Fail("missing closing '\"'");
      const char c = m_line[m_nPos++];
      if (c == '"')
        break;
      if (c != '\\') {
        text += c;
        continue;
      }
      if (AtEnd())
        return Fail("missing closing '\"'");
      const char escaped = m_line[m_nPos++];
      switch (escaped) {
        case '\\':
        case '"':
          text += escaped;
          break;
        case 'n':
          text += '\n';
          break;
        case 'r':
          text += '\r';
          break;
        case 't':
          text += '\t';
          break;
        case 'x': {
          const int high = m_nPos < m_line.size() ? HexDigit(m_line[m_nPos]) : -1;
          const int low = m_nPos + 1 < m_line.size() ? HexDigit(m_line[m_nPos + 1]) : -1;
          if (high < 0 || low < 0)
            return Fail("\\x needs two hexadecimal digits");
          text += static_cast<char>(high * 16 + low);
          m_nPos += 2;
          break;
        }
        default:
          return Fail(std::string("unknown escape '\\") + escaped + "'");
      }
    }
    // The line was valid, but \x escapes can still make a NUL or a broken sequence.
    if (const char* fault = TextFault(text, kQuotedNulByte, kQuotedNotUtf8))
      return Fail(fault);
    SkipBlanks();
    if (beforeEquals ? (!AtEnd() && Peek() != '=') : !AtEnd())
      return Fail("unexpected text after the closing '\"'");
    return true;
  }

  const std::string& m_line;
  int m_nNumber;
  ProjectFileError& m_error;
  size_t m_nPos = 0;
};

template <class T>
bool ParseInteger(const std::string& text, T& value) {
  const char* end = text.data() + text.size();
  T parsed{};
  const std::from_chars_result result = std::from_chars(text.data(), end, parsed);
  if (text.empty() || result.ec != std::errc() || result.ptr != end)
    return false;
  value = parsed;
  return true;
}

bool ParseReal(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  double parsed = 0.0;
  const std::from_chars_result result = std::from_chars(text.data(), end, parsed);
  if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(parsed))
    return false;
  value = parsed;
  return true;
}

bool ParseYesNo(const std::string& text, bool& value) {
  if (text == "yes" || text == "true" || text == "1") {
    value = true;
    return true;
  }
  if (text == "no" || text == "false" || text == "0") {
    value = false;
    return true;
  }
  return false;
}

std::string RealText(double value) {
  char buffer[64];
  const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof(buffer), value);
  return std::string(buffer, result.ptr);
}

// What the parser knows while it reads.
struct ParseState {
  ProjectFile& file;
  std::map<std::string, int> headerKeys;  // key → line
  std::map<std::string, int> groupKeys;
  std::map<std::string, int> groupLines;  // group name → line
  ProjectFileItem* lastItem = nullptr;    // the item a "description" line belongs to
  bool lastItemIsCalc = false;
};

bool ReadHeaderKey(CLineReader& reader, ParseState& state, const std::string& key,
                   const std::string& value) {
  ProjectFile& file = state.file;
  if (key == "format") {
    if (value != "1")
      return reader.Fail("unsupported format '" + value + "' (this program reads format 1)");
  } else if (key == "project") {
    file.m_sName = value;
  } else if (key == "server") {
    file.m_sServerId = value;
  } else if (key == "host") {
    file.m_sHost = value;
  } else if (key == "class-id") {
    file.m_sClassId = value;
  } else {
    return reader.Fail("unknown key '" + key + "'");
  }
  return true;
}

bool ReadGroupKey(CLineReader& reader, ProjectFileGroup& group, const std::string& key,
                  const std::string& value) {
  if (key == "active") {
    if (!ParseYesNo(value, group.m_bActive))
      return reader.Fail("active must be yes or no, not '" + value + "'");
  } else if (key == "update-rate") {
    int32_t rate = 0;
    if (!ParseInteger(value, rate) || rate < 0)
      return reader.Fail("update-rate must be a whole number of milliseconds, not '" + value + "'");
    group.m_nUpdateRate = static_cast<uint32_t>(rate);
  } else if (key == "time-bias") {
    if (!ParseInteger(value, group.m_nTimeBias))
      return reader.Fail("time-bias must be a whole number of minutes, not '" + value + "'");
  } else if (key == "dead-band") {
    if (!ParseReal(value, group.m_dDeadBand) || group.m_dDeadBand < 0.0 ||
        group.m_dDeadBand > kMaxDeadBand) {
      return reader.Fail("dead-band must be a number from 0 to 100, not '" + value + "'");
    }
  } else if (key == "read-interface") {
    uint32_t code = 0;
    if (!ParseInteger(value, code) || code > 3)
      return reader.Fail("read-interface must be 0, 1, 2 or 3, not '" + value + "'");
    group.m_nReadInterface = code;
  } else {
    return reader.Fail("unknown key '" + key + "'");
  }
  return true;
}

bool ReadItemLine(CLineReader& reader, ParseState& state, const std::string& keyword,
                  int lineNumber) {
  const bool calc = keyword == "calc";
  if (state.file.m_groups.empty())
    return reader.Fail("'" + keyword + "' before the first group");
  ProjectFileItem item;
  item.m_nLine = lineNumber;
  if (!reader.Name(item.m_sShortId))
    return false;
  if (item.m_sShortId.empty())
    return reader.Fail(keyword + " needs a short id: " + keyword +
                       " SHORT_ID = " + (calc ? "EXPRESSION" : "ITEM_ID"));
  if (!reader.ExpectEquals("the short id") || !reader.Value(item.m_sText))
    return false;
  if (item.m_sText.empty())
    return reader.Fail(calc ? "calc '" + item.m_sShortId + "' has no expression"
                            : "item '" + item.m_sShortId + "' has no item id");
  ProjectFileGroup& group = state.file.m_groups.back();
  auto& items = calc ? group.m_calcItems : group.m_acquiredItems;
  items.push_back(std::move(item));
  state.lastItem = &items.back();
  state.lastItemIsCalc = calc;
  return true;
}

bool ReadLine(const std::string& line, int lineNumber, ParseState& state, ProjectFileError& error) {
  CLineReader reader(line, lineNumber, error);
  reader.SkipBlanks();
  if (reader.AtEnd() || reader.Peek() == '#' || reader.Peek() == ';')
    return true;
  const std::string word = reader.Word();
  if (word.empty())
    return reader.Fail("expected a key before '='");
  reader.SkipBlanks();
  if (word == "item" || word == "calc")
    return ReadItemLine(reader, state, word, lineNumber);

  std::string value;
  if (!reader.ExpectEquals("'" + word + "'") || !reader.Value(value))
    return false;

  if (word == "group") {
    if (value.empty())
      return reader.Fail("a group needs a name");
    const auto known = state.groupLines.find(value);
    if (known != state.groupLines.end())
      return reader.Fail("group '" + value + "' is already defined on line " +
                         std::to_string(known->second));
    state.groupLines[value] = lineNumber;
    state.groupKeys.clear();
    state.lastItem = nullptr;
    ProjectFileGroup group;
    group.m_sName = value;
    group.m_nLine = lineNumber;
    state.file.m_groups.push_back(std::move(group));
    return true;
  }
  if (word == "description") {
    if (state.lastItem == nullptr || state.lastItemIsCalc)
      return reader.Fail("'description' must follow the item line it describes");
    if (state.lastItem->m_bHasDescription)
      return reader.Fail("item '" + state.lastItem->m_sShortId + "' has two descriptions");
    state.lastItem->m_sDescription = value;
    state.lastItem->m_bHasDescription = true;
    return true;
  }
  const bool inGroup = !state.file.m_groups.empty();
  auto& seen = inGroup ? state.groupKeys : state.headerKeys;
  const auto repeated = seen.find(word);
  if (repeated != seen.end())
    return reader.Fail("'" + word + "' is already given on line " +
                       std::to_string(repeated->second));
  if (inGroup) {
    static const char* const kHeaderKeys[] = {"format", "project", "server", "host", "class-id"};
    for (const char* key : kHeaderKeys) {
      if (word == key)
        return reader.Fail("'" + word + "' belongs before the first group");
    }
    if (!ReadGroupKey(reader, state.file.m_groups.back(), word, value))
      return false;
  } else if (!ReadHeaderKey(reader, state, word, value)) {
    return false;
  }
  seen[word] = lineNumber;
  return true;
}

}  // namespace

std::string ProjectFileError::Text() const {
  if (m_nLine <= 0)
    return m_sMessage;
  return "line " + std::to_string(m_nLine) + ": " + m_sMessage;
}

std::string ProjectFileValue(const std::string& text, bool nameField) {
  bool quote = text.empty() || IsBlank(text.front()) || IsBlank(text.back()) || text.front() == '"';
  for (const char c : text) {
    if (IsControl(c) || (nameField && c == '='))
      quote = true;
  }
  if (!quote)
    return text;
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '\\':
        quoted += "\\\\";
        break;
      case '"':
        quoted += "\\\"";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (IsControl(c)) {
          static const char kHex[] = "0123456789abcdef";
          const auto byte = static_cast<unsigned char>(c);
          quoted += "\\x";
          quoted += kHex[byte >> 4];
          quoted += kHex[byte & 0x0F];
        } else {
          quoted += c;
        }
    }
  }
  quoted += '"';
  return quoted;
}

bool ReadProjectFileText(const std::string& path, std::string& text, ProjectFileError& error) {
  text.clear();
  error = ProjectFileError();
#ifdef _WIN32
  const std::unique_ptr<std::FILE, FileCloser> in(::_wfopen(Utf8Path(path).c_str(), L"rb"));
#else
  const std::unique_ptr<std::FILE, FileCloser> in(std::fopen(path.c_str(), "rb"));
#endif
  if (!in) {
    error.m_sMessage = "cannot read the file: " + std::generic_category().message(errno);
    return false;
  }
  // One byte past the limit tells a file at the limit from a larger one.
  char chunk[kReadChunkBytes];
  int readError = 0;
  while (text.size() <= kMaxProjectFileBytes) {
    const size_t wanted = std::min(sizeof(chunk), kMaxProjectFileBytes + 1 - text.size());
    const size_t got = std::fread(chunk, 1, wanted, in.get());
    if (got < wanted && std::ferror(in.get()))
      readError = errno != 0 ? errno : EIO;
    text.append(chunk, got);
    if (got < wanted)
      break;
  }
  if (readError != 0) {
    error.m_sMessage = "cannot read the file: " + std::generic_category().message(readError);
  } else if (text.size() > kMaxProjectFileBytes) {
    error.m_sMessage = TooLargeText();
  } else {
    return true;
  }
  text.clear();
  return false;
}

bool ParseProjectFile(const std::string& text, ProjectFile& file, ProjectFileError& error) {
  file = ProjectFile();
  error = ProjectFileError();
  if (text.size() > kMaxProjectFileBytes) {
    error.m_sMessage = TooLargeText();
    return false;
  }
  ParseState state{file, {}, {}, {}, nullptr, false};
  size_t start = 0;
  // A byte-order mark from an editor is not part of the first line.
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
    start = 3;
  int lineNumber = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos)
      end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    ++lineNumber;
    // Checked whole, before any field is taken from it, so nothing is cut or kept raw.
    if (const char* fault = TextFault(line, kNulByte, kNotUtf8)) {
      error.m_nLine = lineNumber;
      error.m_sMessage = fault;
      return false;
    }
    if (!ReadLine(line, lineNumber, state, error))
      return false;
    start = end + 1;
  }
  if (file.m_sName.empty()) {
    error.m_sMessage = "the file names no project (project = NAME)";
    return false;
  }
  if (file.m_sServerId.empty()) {
    error.m_sMessage = "the file names no OPC server (server = PROGRAM_ID)";
    return false;
  }
  return true;
}

std::string WriteProjectFile(const ProjectFile& file) {
  std::string text = kHeaderComment;
  text += "\nformat = 1\n";
  text += "project = " + ProjectFileValue(file.m_sName) + "\n";
  text += "server = " + ProjectFileValue(file.m_sServerId) + "\n";
  text += "host = " + ProjectFileValue(file.m_sHost) + "\n";
  text += "class-id = " + ProjectFileValue(file.m_sClassId) + "\n";
  for (const ProjectFileGroup& group : file.m_groups) {
    text += "\ngroup = " + ProjectFileValue(group.m_sName) + "\n";
    text += std::string("active = ") + (group.m_bActive ? "yes" : "no") + "\n";
    text += "update-rate = " + std::to_string(group.m_nUpdateRate) + "\n";
    text += "time-bias = " + std::to_string(group.m_nTimeBias) + "\n";
    text += "dead-band = " + RealText(group.m_dDeadBand) + "\n";
    text += "read-interface = " + std::to_string(group.m_nReadInterface) + "\n";
    for (const ProjectFileItem& item : group.m_acquiredItems) {
      text += "item " + ProjectFileValue(item.m_sShortId, true) + " = " +
              ProjectFileValue(item.m_sText) + "\n";
      if (item.m_bHasDescription)
        text += "description = " + ProjectFileValue(item.m_sDescription) + "\n";
    }
    for (const ProjectFileItem& item : group.m_calcItems) {
      text += "calc " + ProjectFileValue(item.m_sShortId, true) + " = " +
              ProjectFileValue(item.m_sText) + "\n";
    }
  }
  return text;
}
