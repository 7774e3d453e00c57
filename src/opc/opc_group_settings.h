#pragma once
// OPCGroupSettings: what configures one group, as a plain copyable value: its name,
// update rate, time bias, dead band, locale, read interface and active state. A group
// holds one and hands it out const; dialogs and commands edit a copy and give it back.
// Thread rule: a value; whoever holds a copy uses it on its own thread.
#include <cstdint>
#include <string>

#include "opc/opc_limits.h"
#include "platform/com/com_types.h"

inline constexpr DWORD kDefaultUpdateRate = 1000;
inline constexpr LCID kDefaultGroupLocale = 1033;

struct OPCGroupSettings {
  std::string m_sName;
  DWORD m_dwUpdateRate = kDefaultUpdateRate;  // ms; the server's revised rate after AddGroup
  LONG m_nTimeBias = 0;                       // minutes
  FLOAT m_fDeadBand = 0.0f;                   // percent
  LCID m_dwLocale = kDefaultGroupLocale;
  uint32_t m_nReadInterface = kReadAsync10;  // ReadInterface code
  bool m_bActive = true;

  bool operator==(const OPCGroupSettings&) const = default;
};
