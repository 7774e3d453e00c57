#pragma once
// Switches the process to a locale whose decimal separator is a comma for one test, and
// back to the previous locale afterwards.
#include <clocale>
#include <string>

class CCommaLocale {
 public:
  CCommaLocale() {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    m_sPrevious = previous != nullptr ? previous : "C";
    m_bActive = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  }
  ~CCommaLocale() { std::setlocale(LC_ALL, m_sPrevious.c_str()); }
  CCommaLocale(const CCommaLocale&) = delete;
  CCommaLocale& operator=(const CCommaLocale&) = delete;
  // false when the system has no such locale.
  bool Active() const { return m_bActive; }

 private:
  std::string m_sPrevious;
  bool m_bActive = false;
};
