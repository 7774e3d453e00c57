#pragma once
// CSimRuntime: the process-wide state behind the COM-like layer on this platform (COM is
// process-wide by design): the machines of the simulated network with the classes
// registered on each, the clock the simulation servers read, the injected faults, and
// the dispatcher that delivers server callbacks to the client's thread.
// Tests call Reset() (and SetClock with a FakeClock) before each case.
// Thread rule: the client's apartment thread (the GUI thread); Dispatch may be called
// from it only.
#include <functional>
#include <string>
#include <vector>

#include "base/clock.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"

enum class SimServerKind { kFull, kDa1, kNoBrowse, kServerList, kCategoryManager };

// One class registered on a machine.
struct CSimClass {
  CLSID m_clsid;
  std::string m_sProgId;
  std::string m_sDescription;
  std::vector<CATID> m_categories;
  SimServerKind m_eKind = SimServerKind::kFull;
};

// One machine: the local one or a simulated remote host.
struct CSimHost {
  std::string m_sName;       // "PLANTSRV01" (the network shows "\\PLANTSRV01")
  std::string m_sAddress;    // dotted address for name resolution
  std::string m_sWorkgroup;  // the workgroup that lists it
  bool m_bReachable = true;  // false: every creation on it fails with 0x800706BA
  std::vector<CSimClass> m_classes;

  const CSimClass* FindClass(const CLSID& clsid) const;
  const CSimClass* FindProgId(const std::string& progId) const;
};

// Faults injected into the servers of one program id (or "*": every server).
struct CSimFaults {
  HRESULT m_hrReadError = S_OK;     // every IOPCSyncIO::Read fails with this code
  bool m_bDead = false;             // creation and every call fail with 0x800706BA
  int64_t m_nDieAfterMs = -1;       // each instance dies this long after its creation
  int64_t m_nReviveAfterMs = -1;    // after a death, creation fails this long (-1: never)
  int64_t m_nShutdownAfterMs = -1;  // each instance asks its client to shut down this late
  std::string m_sShutdownReason = "Server Shutdown Requested";
  uint32_t m_nMinUpdateRate = 0;            // groups get at least this rate (0: the server's own)
  std::vector<std::string> m_refusedItems;  // item id patterns AddItems refuses
  HRESULT m_hrRefusedItem = E_FAIL;         // ...with this per-item code
  std::vector<std::string> m_unreadableItems;  // item id patterns a read answers OPC_E_BADRIGHTS
  uint32_t m_nSlowReadMs = 0;                  // extra time every read takes
  std::vector<std::string> m_refusedFilters;   // browse filters refused (OPC_E_INVALIDFILTER)
  uint32_t m_nServerState = 0;                 // 0: running; else the state GetStatus reports
  // Not a fault but a setting of the same section: this many generated leaves in addition
  // to the built-in space (0: the built-in space alone). Read when a server is created.
  uint32_t m_nGeneratedTags = 0;
};

// The largest generated address space "tags" may ask for.
inline constexpr uint32_t kMaxGeneratedTags = 1000000;

// Runs a call on the thread that owns the client's objects. The GUI posts a queued
// call; the default runs it at once.
using CallDispatcher = std::function<void(std::function<void()>)>;

class CSimServerCore;

inline constexpr const char* kSimConfigEnvironmentVariable = "VELMORA_SIM_CONFIG";
// A configuration is a page of hand-written lines; anything larger is refused unread.
inline constexpr size_t kMaxSimConfigBytes = 4 * 1024 * 1024;

class CSimRuntime {
 public:
  static CSimRuntime& Instance();

  // Back to the built-in state: default network and classes, system clock, no faults,
  // immediate dispatch. Live server objects stay valid and see the new state.
  void Reset();

  // The configuration file (format in docs/simulation-servers.md). Adds hosts and
  // workgroups, sets faults. false with a message naming the line on a syntax error
  // (nothing is applied then).
  bool LoadConfigurationText(const std::string& text, std::string* error);
  bool LoadConfigurationFile(const std::string& path, std::string* error);
  // Loads the file named by VELMORA_SIM_CONFIG; true when the variable is not set.
  bool LoadConfigurationFromEnvironment(std::string* error);

  // The clock of every simulation server; null restores the system clock. Not owned.
  void SetClock(IClock* clock);
  IClock& Clock() const;

  void SetDispatcher(CallDispatcher dispatcher);
  void Dispatch(std::function<void()> call) const;

  // Faults of a program id ("*" for every server); created on first use.
  CSimFaults& Faults(const std::string& progId);
  // The faults that apply to a program id: its own entry, else "*", else none.
  const CSimFaults& FaultsFor(const std::string& progId) const;
  void ClearFaults();
  // Every fault entry, in the order they were first set.
  const std::vector<std::pair<std::string, CSimFaults>>& AllFaults() const { return m_faults; }

  // The "server process" of a program id is down from the death of one of its instances
  // (die_after_ms) until revive_after_ms later: creations fail then. Deaths are noted by
  // the instances; the live ones are asked again here, so an uncalled death counts too.
  void NoteServerDeath(const std::string& progId, uint32_t deathTick);
  bool ServerProcessDown(const std::string& progId);

  // Asks every client advised on a live server of progId (every server when empty) to
  // shut down, through the dispatcher. Returns the number of clients asked.
  int RequestShutdown(const std::string& progId, const std::string& reason);

  // The simulated network.
  const std::string& ComputerName() const { return m_sComputerName; }
  void SetComputerName(const std::string& name);
  CSimHost& LocalHost() { return m_localHost; }
  const CSimHost& LocalHost() const { return m_localHost; }
  std::vector<std::string>& Workgroups() { return m_workgroups; }
  const std::vector<std::string>& Workgroups() const { return m_workgroups; }
  std::vector<CSimHost>& RemoteHosts() { return m_remoteHosts; }
  const std::vector<CSimHost>& RemoteHosts() const { return m_remoteHosts; }
  bool NetworkAvailable() const { return m_bNetworkAvailable; }
  void SetNetworkAvailable(bool available) { m_bNetworkAvailable = available; }
  // The machine a name designates: "" / "Local Host" / "localhost" / 127.0.0.1 / the
  // computer name are the local machine; "\\HOST" and "HOST" (any case) or a host's
  // address a remote one. Null when unknown.
  const CSimHost* FindHost(const std::string& name) const;

  // Live server objects (for shutdown requests); kept by the servers themselves.
  void RegisterServer(CSimServerCore* server);
  void UnregisterServer(CSimServerCore* server);

  // The classes every machine with simulation servers registers by default.
  static std::vector<CSimClass> StandardServerClasses();

 private:
  CSimRuntime();

  IClock* m_pClock = nullptr;
  CallDispatcher m_dispatcher;
  std::vector<std::pair<std::string, CSimFaults>> m_faults;
  std::vector<std::pair<std::string, uint32_t>> m_deathTicks;  // per program id, the latest
  std::string m_sComputerName;
  CSimHost m_localHost;
  std::vector<std::string> m_workgroups;
  std::vector<CSimHost> m_remoteHosts;
  bool m_bNetworkAvailable = true;
  std::vector<CSimServerCore*> m_servers;
};
