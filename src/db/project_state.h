#pragma once
// The project in use: its name as the configuration view shows it. "Empty Project" when
// none is loaded, "UnNamed Project" after connecting to a server by hand, the project's
// own name after a save or a load. The project-modified flag is the server's
// m_bConfigurationModified (set by every change of groups or items, cleared by a
// successful save and by every load). Thread rule: GUI thread.
#include <functional>
#include <string>
#include <utility>

inline constexpr char kEmptyProjectName[] = "Empty Project";
inline constexpr char kUnnamedProjectName[] = "UnNamed Project";

class CProjectState {
 public:
  const std::string& Name() const { return m_sName; }
  void SetName(const std::string& name) {
    m_sName = name;
    if (m_onNameChanged)
      m_onNameChanged(m_sName);
  }
  // Close project, failed load: back to "Empty Project".
  void Reset() { SetName(kEmptyProjectName); }
  bool IsEmpty() const { return m_sName == kEmptyProjectName; }
  // The configuration view refreshes its caption here.
  void SetNameListener(std::function<void(const std::string&)> listener) {
    m_onNameChanged = std::move(listener);
  }

 private:
  std::string m_sName = kEmptyProjectName;
  std::function<void(const std::string&)> m_onNameChanged;
};
