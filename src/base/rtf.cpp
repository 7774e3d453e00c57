#include "base/rtf.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

struct State {
  bool bold = false;
  int foreColour = 0;
  int backColour = 0;
  int fontHalfPoints = 24;
  bool skip = false;  // inside a destination whose text is not shown
};

class Parser {
 public:
  explicit Parser(const std::string& text) : m_text(text) { m_doc.paragraphs.emplace_back(); }

  RtfDocument Run() {
    State state;
    std::vector<State> stack;
    while (m_pos < m_text.size()) {
      const char c = m_text[m_pos];
      if (c == '{') {
        ++m_pos;
        stack.push_back(state);
        if (StartsWith("\\colortbl")) {
          m_pos += 9;
          ReadColourTable();
          state = stack.back();
          stack.pop_back();
        }
      } else if (c == '}') {
        ++m_pos;
        if (!stack.empty()) {
          state = stack.back();
          stack.pop_back();
        }
      } else if (c == '\\') {
        ControlWord(state);
      } else if (c == '\r' || c == '\n') {
        ++m_pos;
      } else {
        ++m_pos;
        AddText(state, std::string(1, c));
      }
    }
    return m_doc;
  }

 private:
  bool StartsWith(const char* word) const {
    return m_text.compare(m_pos, std::char_traits<char>::length(word), word) == 0;
  }

  void AddText(const State& state, const std::string& text) {
    if (state.skip)
      return;
    auto& runs = m_doc.paragraphs.back();
    if (!runs.empty()) {
      RtfRun& last = runs.back();
      if (last.bold == state.bold && last.foreColour == state.foreColour &&
          last.backColour == state.backColour && last.fontHalfPoints == state.fontHalfPoints) {
        last.text += text;
        return;
      }
    }
    RtfRun run;
    run.text = text;
    run.bold = state.bold;
    run.foreColour = state.foreColour;
    run.backColour = state.backColour;
    run.fontHalfPoints = state.fontHalfPoints;
    runs.push_back(run);
  }

  // Reads "\word[-N][ ]" or a control symbol at m_pos (which holds the backslash).
  void ControlWord(State& state) {
    ++m_pos;
    if (m_pos >= m_text.size())
      return;
    const char c = m_text[m_pos];
    if (!std::isalpha(static_cast<unsigned char>(c))) {
      ++m_pos;
      if (c == '\\' || c == '{' || c == '}') {
        AddText(state, std::string(1, c));
      } else if (c == '\'' && m_pos + 2 <= m_text.size()) {
        const std::string hex = m_text.substr(m_pos, 2);
        m_pos += 2;
        AddText(state, std::string(1, static_cast<char>(std::strtol(hex.c_str(), nullptr, 16))));
      } else if (c == '~') {
        AddText(state, " ");
      }
      return;  // other control symbols carry no text
    }
    std::string word;
    while (m_pos < m_text.size() && std::isalpha(static_cast<unsigned char>(m_text[m_pos]))) {
      word += m_text[m_pos++];
    }
    bool hasParameter = false;
    int parameter = 0;
    size_t start = m_pos;
    if (m_pos < m_text.size() &&
        (m_text[m_pos] == '-' || std::isdigit(static_cast<unsigned char>(m_text[m_pos])))) {
      ++m_pos;
      while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos])))
        ++m_pos;
      hasParameter = true;
      parameter = std::atoi(m_text.substr(start, m_pos - start).c_str());
    }
    if (m_pos < m_text.size() && m_text[m_pos] == ' ')
      ++m_pos;  // the delimiter belongs to the word

    if (word == "par") {
      if (!state.skip)
        m_doc.paragraphs.emplace_back();
    } else if (word == "b") {
      state.bold = !hasParameter || parameter != 0;
    } else if (word == "cf") {
      state.foreColour = parameter;
    } else if (word == "cb") {
      state.backColour = parameter;
    } else if (word == "fs") {
      if (hasParameter && parameter > 0)
        state.fontHalfPoints = parameter;
    } else if (word == "tab") {
      AddText(state, "\t");
    } else if (word == "fonttbl" || word == "stylesheet" || word == "info" || word == "pict") {
      state.skip = true;
    }
    // every other word (rtf, ansi, f, plain, ...) changes nothing we show
  }

  // Reads ";\redR\greenG\blueB;..." up to the closing brace of the table group.
  void ReadColourTable() {
    RtfColour colour;
    bool any = false;
    while (m_pos < m_text.size() && m_text[m_pos] != '}') {
      const char c = m_text[m_pos];
      if (c == ';') {
        m_doc.colours.push_back(colour);
        colour = RtfColour();
        any = false;
        ++m_pos;
      } else if (c == '\\') {
        ++m_pos;
        std::string word;
        while (m_pos < m_text.size() && std::isalpha(static_cast<unsigned char>(m_text[m_pos])))
          word += m_text[m_pos++];
        size_t start = m_pos;
        while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos])))
          ++m_pos;
        const int value = std::atoi(m_text.substr(start, m_pos - start).c_str());
        if (word == "red")
          colour.red = value, any = true;
        if (word == "green")
          colour.green = value, any = true;
        if (word == "blue")
          colour.blue = value, any = true;
        if (m_pos < m_text.size() && m_text[m_pos] == ' ')
          ++m_pos;
      } else {
        ++m_pos;
      }
    }
    if (any)
      m_doc.colours.push_back(colour);
    if (m_pos < m_text.size())
      ++m_pos;  // closing brace
  }

  const std::string& m_text;
  size_t m_pos = 0;
  RtfDocument m_doc;
};

std::string HtmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\t':
        out += "&nbsp;&nbsp;&nbsp;&nbsp;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string ColourHex(const RtfDocument& doc, int index) {
  if (index <= 0 || index >= static_cast<int>(doc.colours.size()))
    return {};
  char buffer[16];
  const RtfColour& c = doc.colours[static_cast<size_t>(index)];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c.red & 0xFF, c.green & 0xFF,
                c.blue & 0xFF);
  return buffer;
}

}  // namespace

RtfDocument ParseRtf(const std::string& rtf) {
  return Parser(rtf).Run();
}

std::string RtfToPlainText(const std::string& rtf) {
  const RtfDocument doc = ParseRtf(rtf);
  std::string out;
  for (size_t i = 0; i < doc.paragraphs.size(); ++i) {
    if (i != 0)
      out += '\n';
    for (const RtfRun& run : doc.paragraphs[i])
      out += run.text;
  }
  return out;
}

std::string RtfToHtml(const std::string& rtf) {
  const RtfDocument doc = ParseRtf(rtf);
  std::string html = "<html><body>";
  for (const auto& paragraph : doc.paragraphs) {
    html += "<p style=\"margin:0\">";
    if (paragraph.empty())
      html += "&nbsp;";
    for (const RtfRun& run : paragraph) {
      std::string style = "font-size:" + std::to_string(run.fontHalfPoints / 2) + "pt;";
      if (run.bold)
        style += "font-weight:bold;";
      // \cb is kept in the runs but not painted: the report box ignores it, as word
      // processors do, and the headings pair it with the same colour as the text
      // ("\cb5\cf5" would otherwise be red on red).
      const std::string fore = ColourHex(doc, run.foreColour);
      if (!fore.empty())
        style += "color:" + fore + ";";
      std::string text = HtmlEscape(run.text);
      // Keep runs of blanks visible, as the rich-text box does.
      std::string kept;
      for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' && (i + 1 < text.size() && text[i + 1] == ' ')) {
          kept += "&nbsp;";
        } else {
          kept += text[i];
        }
      }
      html += "<span style=\"" + style + "\">" + kept + "</span>";
    }
    html += "</p>";
  }
  html += "</body></html>";
  return html;
}

std::string RtfEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\\' || c == '{' || c == '}')
      out += '\\';
    out += c;
  }
  return out;
}
