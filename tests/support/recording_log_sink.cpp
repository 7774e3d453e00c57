#include "recording_log_sink.h"

bool RecordingLogSink::Contains(const std::string& text, int channel) const {
  return Count(text, channel) > 0;
}

int RecordingLogSink::Count(const std::string& text, int channel) const {
  int count = 0;
  for (const Line& line : lines) {
    if ((channel < 0 || line.channel == channel) && line.text.find(text) != std::string::npos) {
      ++count;
    }
  }
  return count;
}

std::vector<std::string> RecordingLogSink::Messages(int channel) const {
  std::vector<std::string> messages;
  for (const Line& line : lines) {
    if (channel >= 0 && line.channel != channel)
      continue;
    const size_t start = line.text.find(": ", 18);
    messages.push_back(start == std::string::npos ? line.text : line.text.substr(start + 2));
  }
  return messages;
}

std::string RecordingLogSink::Dump() const {
  std::string out;
  for (const Line& line : lines)
    out += std::to_string(line.channel) + " " + line.text + "\n";
  return out;
}
