#pragma once
// CBackupClock: when the automatic backups of an acquisition are due, and from which
// row the next incremental backup starts. Every frequency minutes while acquiring (0: no
// automatic backup), counted from the start of the acquisition (or from the opening of
// its time window, or from the change of the settings).
// Thread rule: the acquisition (GUI) thread, like the engine that owns it.
#include <cstdint>

class CBackupClock {
 public:
  // Minutes between automatic backups (0: none) and the type (0 full, 1 incremental).
  void Set(int frequencyMinutes, int type) { m_nFrequency = frequencyMinutes, m_nType = type; }
  int Frequency() const { return m_nFrequency; }
  int Type() const { return m_nType; }
  bool IsAutomatic() const { return m_nFrequency > 0; }

  // The next backup is due one period after now (seconds since 1970).
  void Restart(int64_t now) { m_nNextTime = now + 60LL * m_nFrequency; }
  void SetNextTime(int64_t time) { m_nNextTime = time; }
  int64_t NextTime() const { return m_nNextTime; }
  // True when an automatic backup is due at now; the next one is then one period later.
  bool Due(int64_t now);

  // The first data set not written by a backup yet.
  int NextRowToSave() const { return m_nNextRowToSave; }
  void SetNextRowToSave(int row) { m_nNextRowToSave = row; }
  // Back to the first row (Start, Resume, view reset); the epoch changes so that a backup
  // ending after that does not move the row to its own end.
  void RestartRows() {
    m_nNextRowToSave = 0;
    ++m_nSaveEpoch;
  }
  uint32_t SaveEpoch() const { return m_nSaveEpoch; }

 private:
  int m_nFrequency = 0;
  int m_nType = 1;
  int64_t m_nNextTime = 0;
  int m_nNextRowToSave = 0;
  uint32_t m_nSaveEpoch = 0;
};
