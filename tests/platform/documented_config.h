#pragma once
// The example configuration of docs/simulation-servers.md, taken from the document as it
// stands: the first fenced block after the "## Configuration file" heading.
#include <fstream>
#include <sstream>
#include <string>

inline std::string DocumentedSimConfiguration() {
  std::ifstream file(VELMORA_SOURCE_DIR "/docs/simulation-servers.md");
  std::string line;
  std::string block;
  bool inSection = false;
  int fences = 0;
  while (std::getline(file, line)) {
    inSection = inSection || line.rfind("## Configuration file", 0) == 0;
    if (!inSection) {
      continue;
    }
    if (line.rfind("```", 0) == 0) {
      if (++fences == 2) {
        break;
      }
      continue;
    }
    if (fences == 1) {
      block += line + "\n";
    }
  }
  return block;
}
