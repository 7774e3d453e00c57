#pragma once
// The project file: a small, human-editable text form of a project (server, groups with
// their settings, acquired items with their short ids, calculated items with their
// expressions), read by "velmora-cli project import" and written by "project export".
// The format is described in docs/project-file.md.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A project file is a page of hand-written settings; anything larger is not one, and is
// refused before it is held in memory.
inline constexpr size_t kMaxProjectFileBytes = 4 * 1024 * 1024;

struct ProjectFileItem {
  std::string m_sShortId;
  // Acquired item: the fully qualified item id. Calculated item: the expression.
  std::string m_sText;
  // Acquired items only; empty with m_bHasDescription false means "the item id".
  std::string m_sDescription;
  bool m_bHasDescription = false;
  int m_nLine = 0;  // where the item stands in the file (0: not read from a file)
};

struct ProjectFileGroup {
  std::string m_sName;
  bool m_bActive = true;
  uint32_t m_nUpdateRate = 1000;  // ms
  int32_t m_nTimeBias = 0;        // minutes
  double m_dDeadBand = 0.0;       // percent
  uint32_t m_nReadInterface = 0;  // 0 cache, 1 device, 2 async 1.0, 3 async 2.0
  std::vector<ProjectFileItem> m_acquiredItems;
  std::vector<ProjectFileItem> m_calcItems;
  int m_nLine = 0;
};

struct ProjectFile {
  std::string m_sName;
  std::string m_sServerId;
  std::string m_sHost = "Local Host";
  std::string m_sClassId;  // GUID text, or empty: looked up from the server id
  std::vector<ProjectFileGroup> m_groups;
};

struct ProjectFileError {
  int m_nLine = 0;  // 0: the file as a whole
  std::string m_sMessage;
  // "line 12: unknown key 'colour'" (or the message alone for line 0).
  std::string Text() const;
};

// Reads the text of the project file at path, never more than kMaxProjectFileBytes + 1
// bytes (so a larger file, or an endless one, costs no more). False with the reason, for
// the file as a whole, when it cannot be read or is larger than kMaxProjectFileBytes.
bool ReadProjectFileText(const std::string& path, std::string& text, ProjectFileError& error);

// Reads a project file. False with the first error (and its line) when the text is not a
// valid project file; file is then unspecified. Every line must be valid UTF-8 without NUL
// bytes, and so must every quoted value once its escapes are read; the text is at most
// kMaxProjectFileBytes.
bool ParseProjectFile(const std::string& text, ProjectFile& file, ProjectFileError& error);

// The text of a project file; ParseProjectFile gives the same project back.
std::string WriteProjectFile(const ProjectFile& file);

// The file's value text of a string: as is when it reads back unchanged, otherwise in
// double quotes with backslash escapes. nameField: '=' must be quoted too.
std::string ProjectFileValue(const std::string& text, bool nameField = false);
