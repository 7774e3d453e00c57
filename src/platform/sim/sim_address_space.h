#pragma once
// The address space of a simulation server: its items with their types, rights,
// qualities and signal, and the branch tree that browsing walks. Built once per server
// kind (and per generated size) and shared read-only by every server object using it.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/com/variant.h"
#include "platform/opc/opc_types.h"

enum class SimSignal {
  kSine,
  kRamp,
  kSquare,
  kTriangle,
  kRandom,
  kCounter,
  kConstant,   // m_fixed
  kTextCycle,  // one of m_texts, changing every period
  kFollow,     // m_sFollowId's value plus a small ripple (temperature following a set point)
};

struct CSimItem {
  std::string m_sId;      // fully qualified ItemID
  std::string m_sName;    // the leaf name shown when browsing
  std::string m_sParent;  // the branch that holds it ("" at the root)
  VARTYPE m_vtCanonical = VT_R8;
  DWORD m_dwAccessRights = OPC_READABLE;
  WORD m_wQuality = OPC_QUALITY_GOOD;
  SimSignal m_eSignal = SimSignal::kSine;
  double m_dPeriodMs = 60000.0;
  double m_dOffset = 0.0;
  double m_dAmplitude = 100.0;
  double m_dPhase = 0.0;  // fraction of a period
  uint32_t m_nSeed = 0;   // distinguishes random items
  VARIANT m_fixed;
  std::vector<std::string> m_texts;
  std::string m_sFollowId;
  std::string m_sUnit;
  std::string m_sDescription;
  double m_dHighEU = 0.0;  // engineering range; both 0 when not analog
  double m_dLowEU = 0.0;
};

class CSimAddressSpace {
 public:
  // The plant-shaped hierarchical space of the full server (also used, unbrowsable, by
  // the server without browsing).
  static std::shared_ptr<const CSimAddressSpace> Plant();
  // The flat space of the DA 1.0 server.
  static std::shared_ptr<const CSimAddressSpace> Flat();
  // The built-in space (plant or flat) plus tagCount generated leaves in areas, units and
  // devices (see sim_generated_space.cpp). Built on first use and shared while in use.
  static std::shared_ptr<const CSimAddressSpace> Generated(uint32_t tagCount, bool flat);

  bool IsFlat() const { return m_bFlat; }
  char Delimiter() const { return '.'; }
  const std::vector<CSimItem>& Items() const { return m_items; }
  const CSimItem* FindItem(const std::string& id) const;
  bool IsBranch(const std::string& path) const { return m_branches.count(path) != 0; }
  // Child branch names and leaf items of a branch ("" is the root), in creation order.
  const std::vector<std::string>& ChildBranches(const std::string& path) const;
  std::vector<const CSimItem*> Leaves(const std::string& path) const;
  // Every item at or below a branch, in creation order.
  std::vector<const CSimItem*> ItemsBelow(const std::string& path) const;
  // Joins a branch path and a name.
  std::string Join(const std::string& path, const std::string& name) const;
  // Syntax of an ItemID: not empty, no control characters, and in a hierarchical space
  // no empty part between delimiters.
  bool IsValidItemId(const std::string& id) const;

  void AddItem(CSimItem item);

 private:
  struct Branch {
    std::vector<std::string> m_children;  // child branch names
    std::vector<size_t> m_leaves;         // indices into m_items
  };

  explicit CSimAddressSpace(bool flat) : m_bFlat(flat) { m_branches[""]; }
  // The built-in spaces, each a new object (Plant() and Flat() keep one of each).
  static std::shared_ptr<CSimAddressSpace> BuildPlant();
  static std::shared_ptr<CSimAddressSpace> BuildFlat();
  Branch& AddBranch(const std::string& path);

  bool m_bFlat;
  std::vector<CSimItem> m_items;
  // Hashed: a generated space holds 100 000 items and more.
  std::unordered_map<std::string, size_t> m_index;
  std::unordered_map<std::string, Branch> m_branches;  // path -> its children and leaves
};

// The value of an item at a time (milliseconds since 1970, UTC), as its canonical
// type. overrides holds values written by clients (item id -> value).
// localOffsetMs (local time - UTC) places the date items in local time.
VARIANT SimItemValue(const CSimAddressSpace& space, const CSimItem& item, int64_t unixMs,
                     int64_t localOffsetMs, const std::map<std::string, VARIANT>& overrides);
