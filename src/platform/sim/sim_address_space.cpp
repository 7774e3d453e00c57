#include "platform/sim/sim_address_space.h"

#include <cctype>

namespace {

struct TypeRange {
  VARTYPE vt;
  const char* name;
  double offset;
  double amplitude;
};

// Every scalar type the servers deliver, with the range its generators sweep.
constexpr TypeRange kTypes[] = {
    {VT_I1, "I1", 0, 100},     {VT_I2, "I2", 0, 1000},      {VT_I4, "I4", 0, 100000},
    {VT_I8, "I8", 0, 1e9},     {VT_UI1, "UI1", 127, 127},   {VT_UI2, "UI2", 32767, 32767},
    {VT_UI4, "UI4", 2e9, 2e9}, {VT_UI8, "UI8", 1e12, 1e12}, {VT_R4, "R4", 0, 100},
    {VT_R8, "R8", 0, 100},     {VT_BOOL, "BOOL", 0, 1},     {VT_BSTR, "BSTR", 0, 100},
    {VT_DATE, "DATE", 0, 12},  {VT_CY, "CY", 0, 1000},
};

struct Generator {
  SimSignal signal;
  const char* name;
  double periodMs;
};

constexpr Generator kGenerators[] = {
    {SimSignal::kSine, "Sine", 60000},     {SimSignal::kRamp, "Ramp", 60000},
    {SimSignal::kSquare, "Square", 20000}, {SimSignal::kTriangle, "Triangle", 40000},
    {SimSignal::kRandom, "Random", 1000},  {SimSignal::kCounter, "Counter", 1000},
};

struct FixedQuality {
  const char* name;
  WORD quality;
};

// One item per entry of the quality table, plus limit bits and an undefined substatus.
constexpr FixedQuality kQualities[] = {
    {"Good", 0xC0},
    {"GoodLocalOverride", 0xD8},
    {"GoodHighLimited", 0xC2},
    {"GoodConstant", 0xC3},
    {"Uncertain", 0x40},
    {"UncertainLastUsableValue", 0x44},
    {"UncertainSensorNotAccurate", 0x50},
    {"UncertainEUExceeded", 0x54},
    {"UncertainSubNormal", 0x58},
    {"UncertainUndefinedSubstatus", 0x48},
    {"Bad", 0x00},
    {"BadConfigurationError", 0x04},
    {"BadNotConnected", 0x08},
    {"BadDeviceFailure", 0x0C},
    {"BadSensorFailure", 0x10},
    {"BadLastKnownValue", 0x14},
    {"BadCommFailure", 0x18},
    {"BadOutOfService", 0x1C},
};

CSimItem Analog(const std::string& name, VARTYPE vt, SimSignal signal, double periodMs,
                double offset, double amplitude, const std::string& unit,
                const std::string& description) {
  CSimItem item;
  item.m_sName = name;
  item.m_vtCanonical = vt;
  item.m_eSignal = signal;
  item.m_dPeriodMs = periodMs;
  item.m_dOffset = offset;
  item.m_dAmplitude = amplitude;
  item.m_sUnit = unit;
  item.m_sDescription = description;
  if (vt != VT_BOOL && vt != VT_BSTR) {
    item.m_dLowEU = offset - amplitude;
    item.m_dHighEU = offset + amplitude;
  }
  return item;
}

CSimItem Text(const std::string& name, const std::string& value, const std::string& description) {
  CSimItem item;
  item.m_sName = name;
  item.m_vtCanonical = VT_BSTR;
  item.m_eSignal = SimSignal::kConstant;
  item.m_fixed = MakeVariantBstr(value);
  item.m_sDescription = description;
  return item;
}

void Place(CSimAddressSpace& space, const std::string& parent, CSimItem item, double phase,
           uint32_t seed) {
  item.m_sParent = parent;
  item.m_dPhase = phase;
  item.m_nSeed = seed;
  item.m_sId = space.Join(parent, item.m_sName);
  if (!item.m_sFollowId.empty()) {
    item.m_sFollowId = space.Join(parent, item.m_sFollowId);
  }
  space.AddItem(std::move(item));
}

void AddMachine(CSimAddressSpace& space, const std::string& path, double phase, uint32_t seed) {
  CSimItem setPoint = Analog("SetPoint", VT_R8, SimSignal::kSquare, 1200000, 70, 10, "degC",
                             "Temperature set point");
  setPoint.m_dwAccessRights = OPC_READABLE | OPC_WRITEABLE;
  Place(space, path, setPoint, phase, seed);
  CSimItem temperature =
      Analog("Temperature", VT_R8, SimSignal::kFollow, 45000, 0, 0.3, "degC", "Temperature");
  temperature.m_sFollowId = "SetPoint";
  temperature.m_dLowEU = 0;
  temperature.m_dHighEU = 150;
  Place(space, path, temperature, phase, seed);
  Place(space, path,
        Analog("Speed", VT_R4, SimSignal::kSine, 90000, 1450, 50, "rpm", "Spindle speed"), phase,
        seed);
  CSimItem running =
      Analog("Running", VT_BOOL, SimSignal::kTriangle, 300000, 0, 1, "", "Machine running");
  running.m_dOffset = -0.6;  // on for 80 % of the cycle
  Place(space, path, running, phase, seed);
  CSimItem mode;
  mode.m_sName = "Mode";
  mode.m_vtCanonical = VT_BSTR;
  mode.m_eSignal = SimSignal::kTextCycle;
  mode.m_dPeriodMs = 300000;
  mode.m_texts = {"Auto", "Auto", "Manual", "Auto", "Maintenance"};
  mode.m_sDescription = "Operating mode";
  Place(space, path, mode, phase, seed);
  Place(space, path,
        Analog("PartsCount", VT_UI4, SimSignal::kCounter, 3000, 0, 1, "parts", "Parts produced"),
        phase, seed);
  Place(space, path,
        Analog("Power", VT_R4, SimSignal::kTriangle, 120000, 35, 10, "kW", "Electrical power"),
        phase, seed);
}

void AddTank(CSimAddressSpace& space, const std::string& path, double phase, uint32_t seed) {
  Place(space, path,
        Analog("Level", VT_R4, SimSignal::kTriangle, 600000, 50, 30, "%", "Tank level"), phase,
        seed);
  Place(space, path,
        Analog("Volume", VT_R8, SimSignal::kTriangle, 600000, 25, 15, "m3", "Tank volume"), phase,
        seed);
  CSimItem setPoint = Analog("SetPoint", VT_R8, SimSignal::kSquare, 1800000, 45, 5, "degC",
                             "Temperature set point");
  setPoint.m_dwAccessRights = OPC_READABLE | OPC_WRITEABLE;
  Place(space, path, setPoint, phase, seed);
  CSimItem temperature =
      Analog("Temperature", VT_R8, SimSignal::kFollow, 60000, 0, 0.2, "degC", "Temperature");
  temperature.m_sFollowId = "SetPoint";
  temperature.m_dLowEU = 0;
  temperature.m_dHighEU = 100;
  Place(space, path, temperature, phase, seed);
  Place(space, path,
        Analog("InletValve", VT_BOOL, SimSignal::kSquare, 600000, 0, 1, "", "Inlet valve open"),
        phase, seed);
  Place(space, path,
        Analog("OutletValve", VT_BOOL, SimSignal::kSquare, 600000, 0, 1, "", "Outlet valve open"),
        phase + 0.5, seed);
}

void AddSignals(CSimAddressSpace& space, const std::string& root, bool flat) {
  uint32_t seed = 100;
  for (const Generator& generator : kGenerators) {
    for (const TypeRange& type : kTypes) {
      CSimItem item = Analog(type.name, type.vt, generator.signal, generator.periodMs, type.offset,
                             type.amplitude, "", std::string(generator.name) + " " + type.name);
      if (flat) {
        item.m_sName = std::string(generator.name) + "_" + type.name;
        Place(space, "", item, 0, seed++);
      } else {
        Place(space, space.Join(root, generator.name), item, 0, seed++);
      }
    }
  }
  for (const TypeRange& type : kTypes) {
    CSimItem item = Analog(type.name, static_cast<VARTYPE>(type.vt | VT_ARRAY), SimSignal::kSine,
                           60000, type.offset, type.amplitude, "",
                           std::string("Array of 8 ") + type.name + " sine values");
    if (flat) {
      item.m_sName = std::string("Array_") + type.name;
      Place(space, "", item, 0, seed++);
    } else {
      Place(space, space.Join(root, "Arrays"), item, 0, seed++);
    }
  }
}

void AddQualities(CSimAddressSpace& space, const std::string& parent, bool flat) {
  for (const FixedQuality& entry : kQualities) {
    CSimItem item =
        Analog(flat ? std::string("Quality_") + entry.name : entry.name, VT_R8, SimSignal::kSine,
               60000, 0, 100, "", std::string("Fixed quality ") + entry.name);
    item.m_wQuality = entry.quality;
    Place(space, parent, item, 0, 0);
  }
}

void AddTexts(CSimAddressSpace& space, const std::string& parent, const std::string& prefix) {
  Place(space, parent, Text(prefix + "Semicolon", "Alpha;Beta;Gamma", "Text with semicolons"), 0,
        0);
  Place(space, parent, Text(prefix + "Comma", "1,5 bar, rising", "Text with commas"), 0, 0);
  Place(space, parent, Text(prefix + "Apostrophe", "Operator's note", "Text with an apostrophe"), 0,
        0);
  Place(space, parent, Text(prefix + "Mixed", "It's 'quoted'; a,b;c", "Text with every separator"),
        0, 0);
  Place(space, parent, Text(prefix + "Empty", "", "Empty text"), 0, 0);
  CSimItem cycle;
  cycle.m_sName = prefix + "Messages";
  cycle.m_vtCanonical = VT_BSTR;
  cycle.m_eSignal = SimSignal::kTextCycle;
  cycle.m_dPeriodMs = 10000;
  cycle.m_texts = {"Batch 'A' started", "Pressure high; check valve", "Shift 2, line 1",
                   "Operator's log: OK"};
  cycle.m_sDescription = "Rotating messages";
  Place(space, parent, cycle, 0, 0);
}

void AddStatics(CSimAddressSpace& space, const std::string& parent, const std::string& prefix) {
  const auto add = [&](const char* name, VARIANT value) {
    CSimItem item;
    item.m_sName = prefix + name;
    item.m_vtCanonical = value.vt;
    item.m_eSignal = SimSignal::kConstant;
    item.m_fixed = value;
    item.m_dwAccessRights = OPC_READABLE | OPC_WRITEABLE;
    item.m_sDescription = "Writable value";
    Place(space, parent, item, 0, 0);
  };
  add("R8", MakeVariantR8(3.25));
  add("I4", MakeVariantI4(42));
  add("BOOL", MakeVariantBool(false));
  add("BSTR", MakeVariantBstr("Initial text"));
  VARIANT cy;
  cy.vt = VT_CY;
  cy.cyVal.int64 = 123456;  // 12.3456
  add("CY", cy);
  VARIANT date;
  date.vt = VT_DATE;
  date.date = 46363.5;  // 2026-12-07 12:00
  add("DATE", date);
}

}  // namespace

std::shared_ptr<CSimAddressSpace> CSimAddressSpace::BuildPlant() {
  auto built = std::shared_ptr<CSimAddressSpace>(new CSimAddressSpace(false));
  CSimAddressSpace& s = *built;
  uint32_t seed = 1;
  for (int line = 1; line <= 2; ++line) {
    const std::string linePath = s.Join("Plant", "Line" + std::to_string(line));
    for (int machine = 1; machine <= 2; ++machine) {
      AddMachine(s, s.Join(linePath, "Machine" + std::to_string(machine)),
                 0.13 * line + 0.29 * machine, seed++);
    }
    AddTank(s, s.Join(linePath, "Tank1"), 0.37 * line, seed++);
  }
  const std::string compressor = "Plant.Utilities.Compressor";
  Place(s, compressor,
        Analog("Pressure", VT_R4, SimSignal::kSine, 50000, 6.5, 0.5, "bar", "Air pressure"), 0,
        seed);
  Place(s, compressor,
        Analog("Running", VT_BOOL, SimSignal::kSquare, 240000, 0, 1, "", "Compressor running"), 0,
        seed);
  Place(s, compressor,
        Analog("RunHours", VT_UI4, SimSignal::kCounter, 3600000, 0, 1, "h", "Running hours"), 0,
        seed);
  const std::string power = "Plant.Utilities.Power";
  Place(s, power,
        Analog("ActivePower", VT_R8, SimSignal::kSine, 180000, 250, 40, "kW", "Active power"), 0,
        seed);
  Place(s, power,
        Analog("EnergyTotal", VT_R8, SimSignal::kCounter, 14400, 0, 1, "kWh", "Energy meter"), 0,
        seed);
  Place(s, power,
        Analog("Frequency", VT_R4, SimSignal::kRandom, 1000, 50, 0.05, "Hz", "Grid frequency"), 0,
        seed + 7);
  AddSignals(s, "Signals", false);
  AddQualities(s, "Quality", false);
  AddTexts(s, "Text", "");
  AddStatics(s, "Static", "");
  return built;
}

std::shared_ptr<CSimAddressSpace> CSimAddressSpace::BuildFlat() {
  auto built = std::shared_ptr<CSimAddressSpace>(new CSimAddressSpace(true));
  AddSignals(*built, "", true);
  AddQualities(*built, "", true);
  AddTexts(*built, "", "Text_");
  AddStatics(*built, "", "Static_");
  return built;
}

std::shared_ptr<const CSimAddressSpace> CSimAddressSpace::Plant() {
  static const std::shared_ptr<const CSimAddressSpace> space = BuildPlant();
  return space;
}

std::shared_ptr<const CSimAddressSpace> CSimAddressSpace::Flat() {
  static const std::shared_ptr<const CSimAddressSpace> space = BuildFlat();
  return space;
}

const CSimItem* CSimAddressSpace::FindItem(const std::string& id) const {
  const auto it = m_index.find(id);
  return it == m_index.end() ? nullptr : &m_items[it->second];
}

const std::vector<std::string>& CSimAddressSpace::ChildBranches(const std::string& path) const {
  static const std::vector<std::string> kNone;
  const auto it = m_branches.find(path);
  return it == m_branches.end() ? kNone : it->second.m_children;
}

std::vector<const CSimItem*> CSimAddressSpace::Leaves(const std::string& path) const {
  std::vector<const CSimItem*> leaves;
  const auto it = m_branches.find(path);
  if (it == m_branches.end()) {
    return leaves;
  }
  leaves.reserve(it->second.m_leaves.size());
  for (const size_t index : it->second.m_leaves) {
    leaves.push_back(&m_items[index]);
  }
  return leaves;
}

std::vector<const CSimItem*> CSimAddressSpace::ItemsBelow(const std::string& path) const {
  std::vector<const CSimItem*> items;
  const std::string prefix = path.empty() ? std::string() : path + Delimiter();
  if (path.empty()) {
    items.reserve(m_items.size());
  }
  for (const CSimItem& item : m_items) {
    if (path.empty() || item.m_sParent == path || item.m_sParent.rfind(prefix, 0) == 0) {
      items.push_back(&item);
    }
  }
  return items;
}

std::string CSimAddressSpace::Join(const std::string& path, const std::string& name) const {
  return path.empty() ? name : path + Delimiter() + name;
}

bool CSimAddressSpace::IsValidItemId(const std::string& id) const {
  if (id.empty()) {
    return false;
  }
  for (const char c : id) {
    if (std::iscntrl(static_cast<unsigned char>(c))) {
      return false;
    }
  }
  if (m_bFlat) {
    return true;
  }
  return id.front() != Delimiter() && id.back() != Delimiter() &&
         id.find(std::string(2, Delimiter())) == std::string::npos;
}

CSimAddressSpace::Branch& CSimAddressSpace::AddBranch(const std::string& path) {
  const auto found = m_branches.find(path);
  if (found != m_branches.end()) {
    return found->second;
  }
  const size_t dot = path.rfind(Delimiter());
  const std::string parent = dot == std::string::npos ? std::string() : path.substr(0, dot);
  AddBranch(parent).m_children.push_back(dot == std::string::npos ? path : path.substr(dot + 1));
  return m_branches[path];
}

void CSimAddressSpace::AddItem(CSimItem item) {
  // A flat space keeps every item at its root.
  Branch& branch = m_bFlat ? m_branches[""] : AddBranch(item.m_sParent);
  branch.m_leaves.push_back(m_items.size());
  m_index[item.m_sId] = m_items.size();
  m_items.push_back(std::move(item));
}
