// The generated address space of "tags = N": the built-in space plus N leaves shaped like
// a large plant, Area<aa>.Unit<uu>.Device<ddd>.<Leaf>, each device with 10 to 20 leaves
// of mixed types and rights; from 100 000 tags on, 10 000 of them stand directly in one
// branch (Historian.Tag00000...). The layout is fixed by N alone, so tests and benchmarks
// can count on it (docs/simulation-servers.md).
#include <cstdio>
#include <map>
#include <mutex>
#include <utility>

#include "platform/sim/sim_address_space.h"

namespace {

constexpr int kUnitsPerArea = 10;
constexpr int kDevicesPerUnit = 50;
constexpr int kMinDeviceLeaves = 10;
constexpr int kDeviceLeafSpread = 11;  // 10 + (device % 11): 10..20 leaves, 15 on average
constexpr uint32_t kHistorianThreshold = 100000;
constexpr uint32_t kHistorianLeaves = 10000;
constexpr char kHistorianBranch[] = "Historian";

struct LeafTemplate {
  const char* name;
  VARTYPE vt;
  DWORD rights;
  SimSignal signal;
  double periodMs;
  double offset;
  double amplitude;
  const char* unit;
};

constexpr DWORD kRead = OPC_READABLE;
constexpr DWORD kReadWrite = OPC_READABLE | OPC_WRITEABLE;

// A device has the first 10 to 20 of these. "Vibration" (the 19th) is on 2 devices of 11:
// about 1 % of the leaves, the pattern the browse benchmark searches for.
constexpr LeafTemplate kDeviceLeaves[] = {
    {"Temperature", VT_R8, kRead, SimSignal::kSine, 60000, 60, 20, "degC"},
    {"SetPoint", VT_R8, kReadWrite, SimSignal::kSquare, 1200000, 60, 10, "degC"},
    {"Pressure", VT_R4, kRead, SimSignal::kSine, 50000, 5, 1, "bar"},
    {"Flow", VT_R4, kRead, SimSignal::kTriangle, 90000, 40, 10, "m3/h"},
    {"Running", VT_BOOL, kRead, SimSignal::kSquare, 300000, 0, 1, ""},
    {"Enable", VT_BOOL, kReadWrite, SimSignal::kSquare, 600000, 0, 1, ""},
    {"Mode", VT_BSTR, kRead, SimSignal::kTextCycle, 300000, 0, 0, ""},
    {"Status", VT_I2, kRead, SimSignal::kCounter, 10000, 0, 1, ""},
    {"Counter", VT_UI4, kRead, SimSignal::kCounter, 2000, 0, 1, "parts"},
    {"Command", VT_I4, kReadWrite, SimSignal::kSquare, 600000, 0, 1, ""},
    {"Level", VT_R4, kRead, SimSignal::kTriangle, 600000, 50, 30, "%"},
    {"Speed", VT_R4, kRead, SimSignal::kSine, 90000, 1450, 50, "rpm"},
    {"Current", VT_R4, kRead, SimSignal::kRandom, 1000, 12, 2, "A"},
    {"Voltage", VT_R4, kRead, SimSignal::kSine, 30000, 400, 5, "V"},
    {"Power", VT_R8, kRead, SimSignal::kTriangle, 120000, 35, 10, "kW"},
    {"Energy", VT_R8, kRead, SimSignal::kCounter, 14400, 0, 1, "kWh"},
    {"RunHours", VT_UI4, kRead, SimSignal::kCounter, 3600000, 0, 1, "h"},
    {"Alarm", VT_BOOL, kRead, SimSignal::kSquare, 900000, -0.8, 1, ""},
    {"Vibration", VT_R4, kRead, SimSignal::kRandom, 1000, 2, 1, "mm/s"},
    {"Description", VT_BSTR, kReadWrite, SimSignal::kConstant, 0, 0, 0, ""},
};

std::string Numbered(const char* prefix, int number, int width) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%0*d", prefix, width, number);
  return text;
}

CSimItem MakeLeaf(const LeafTemplate& leaf, uint32_t device) {
  CSimItem item;
  item.m_sName = leaf.name;
  item.m_vtCanonical = leaf.vt;
  item.m_dwAccessRights = leaf.rights;
  item.m_eSignal = leaf.signal;
  item.m_dPeriodMs = leaf.periodMs;
  item.m_dOffset = leaf.offset;
  item.m_dAmplitude = leaf.amplitude;
  item.m_dPhase = static_cast<double>(device % 97) / 97.0;
  item.m_nSeed = device;
  item.m_sUnit = leaf.unit;
  item.m_sDescription = leaf.name;
  if (leaf.signal == SimSignal::kTextCycle) {
    item.m_texts = {"Auto", "Manual", "Auto", "Maintenance"};
  } else if (leaf.signal == SimSignal::kConstant) {
    item.m_fixed = MakeVariantBstr("Device " + std::to_string(device + 1));
  } else if (leaf.vt == VT_R4 || leaf.vt == VT_R8) {
    item.m_dLowEU = leaf.offset - leaf.amplitude;
    item.m_dHighEU = leaf.offset + leaf.amplitude;
  }
  return item;
}

// Who holds which generated space: a space lives while a server uses it, and the last one
// built stays for the next server (a test or the benchmark creates several in a row).
struct GeneratedCache {
  std::mutex m_mutex;
  std::map<std::pair<uint32_t, bool>, std::weak_ptr<const CSimAddressSpace>> m_spaces;
  std::shared_ptr<const CSimAddressSpace> m_pLast;
};

GeneratedCache& Cache() {
  static GeneratedCache cache;
  return cache;
}

}  // namespace

std::shared_ptr<const CSimAddressSpace> CSimAddressSpace::Generated(uint32_t tagCount, bool flat) {
  GeneratedCache& cache = Cache();
  const std::lock_guard<std::mutex> lock(cache.m_mutex);
  const std::pair<uint32_t, bool> key(tagCount, flat);
  if (std::shared_ptr<const CSimAddressSpace> existing = cache.m_spaces[key].lock()) {
    return existing;
  }

  std::shared_ptr<CSimAddressSpace> built = flat ? BuildFlat() : BuildPlant();
  CSimAddressSpace& s = *built;
  s.m_items.reserve(s.m_items.size() + tagCount);
  s.m_index.reserve(s.m_items.size() + tagCount);
  // A flat space names each leaf by its whole id, at the root.
  const auto place = [&s, flat](const std::string& parent, CSimItem item) {
    item.m_sId = s.Join(parent, item.m_sName);
    if (flat) {
      item.m_sName = item.m_sId;
    } else {
      item.m_sParent = parent;
    }
    s.AddItem(std::move(item));
  };

  uint32_t left = tagCount;
  if (tagCount >= kHistorianThreshold) {
    for (uint32_t i = 0; i < kHistorianLeaves; ++i) {
      CSimItem item = MakeLeaf(kDeviceLeaves[0], i);
      item.m_sName = Numbered("Tag", static_cast<int>(i), 5);
      item.m_sDescription = "Archived value";
      place(kHistorianBranch, std::move(item));
    }
    left -= kHistorianLeaves;
  }
  for (uint32_t device = 0; left > 0; ++device) {
    const int area = static_cast<int>(device / (kUnitsPerArea * kDevicesPerUnit)) + 1;
    const int unit = static_cast<int>(device / kDevicesPerUnit % kUnitsPerArea) + 1;
    const int number = static_cast<int>(device % kDevicesPerUnit) + 1;
    const std::string path = Numbered("Area", area, 2) + '.' + Numbered("Unit", unit, 2) + '.' +
                             Numbered("Device", number, 3);
    const uint32_t leaves = kMinDeviceLeaves + device % kDeviceLeafSpread;
    for (uint32_t k = 0; k < leaves && left > 0; ++k, --left) {
      place(path, MakeLeaf(kDeviceLeaves[k], device));
    }
  }

  cache.m_spaces[key] = built;
  cache.m_pLast = built;
  return built;
}
