#pragma once
// ISettingsStore: the per-user key of 4-byte integers and strings. Every operation
// returns 0 on success or a platform error code; a failed read leaves the destination
// untouched, so the caller applies its default.
#include <cstdint>
#include <map>
#include <string>

class ISettingsStore {
 public:
  virtual ~ISettingsStore() = default;
  virtual int CreateBranch() = 0;
  virtual int ReadInt(const std::string& name, int32_t& destination) = 0;
  virtual int ReadString(const std::string& name, std::string& destination) = 0;
  virtual int WriteInt(const std::string& name, int32_t value) = 0;
  virtual int WriteString(const std::string& name, const std::string& value,
                          bool expandable = false) = 0;
};

// Error code of a value that is not in the store (ERROR_FILE_NOT_FOUND).
inline constexpr int kSettingNotFound = 2;

// A store kept in memory: tests and the command-line tool. Thread rule: one thread.
class InMemorySettingsStore : public ISettingsStore {
 public:
  int CreateBranch() override { return 0; }
  int ReadInt(const std::string& name, int32_t& destination) override;
  int ReadString(const std::string& name, std::string& destination) override;
  int WriteInt(const std::string& name, int32_t value) override;
  int WriteString(const std::string& name, const std::string& value, bool expandable) override;

  // Makes every later write fail (to test that failures are ignored).
  void SetWritesFail(bool fail) { m_bWritesFail = fail; }
  bool Has(const std::string& name) const {
    return m_ints.count(name) != 0 || m_strings.count(name) != 0;
  }

 private:
  std::map<std::string, int32_t> m_ints;
  std::map<std::string, std::string> m_strings;
  bool m_bWritesFail = false;
};
