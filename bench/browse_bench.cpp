// Browsing a generated address space of 100 000 leaves ("tags = 100000"): building it,
// (a) searching the whole space for "Vibration" (about 1 % of the leaves) with SearchItems,
// (b) filling the leaf list of the 10 000-leaf branch "Historian" through
// CAddItemSession::SelectNode. Each is printed beside its floor, the same browse calls made
// in a bare loop in the same run, and the ratio of the two (medians of the repetitions).
// Goals: search at most 1.5 x its floor and under 1 s; leaf list under 200 ms.
//
// Usage: browse_bench [TAGS [REPETITIONS]]   (default 100000 tags, 7 repetitions)
// Exit code: 0 when the figures were taken, 1 when the set-up or a browse call failed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "base/console_prompt.h"
#include "opc/add_item_session.h"
#include "opc/item_search.h"
#include "opc/opc_server.h"
#include "platform/com/com_ptr.h"
#include "platform/sim/sim_address_space.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"

namespace {

constexpr char kSearchPattern[] = "Vibration";
constexpr char kLargeBranch[] = "Historian";

double Milliseconds(const std::function<void()>& run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

const char* Verdict(bool met) {
  return met ? "met" : "MISSED";
}

// Reads an enumerator to its end; the names go to out when given.
size_t Drain(IEnumString* strings, std::vector<std::string>* out) {
  if (strings == nullptr)
    return 0;
  size_t count = 0;
  std::string name;
  ULONG fetched = 0;
  strings->Reset();
  while (strings->Next(1, &name, &fetched) == S_OK && fetched == 1) {
    ++count;
    if (out != nullptr)
      out->push_back(name);
  }
  return count;
}

// The floor of (a): at every branch the matching leaves with their ids, then the branches.
void BareSearch(IOPCBrowseServerAddressSpace& browse, std::vector<std::string>& ids) {
  ComPtr<IEnumString> leaves;
  browse.BrowseOPCItemIDs(OPC_LEAF, kSearchPattern, VT_EMPTY, 0, leaves.GetAddressOf());
  if (leaves) {
    std::string name;
    std::string id;
    ULONG fetched = 0;
    leaves->Reset();
    while (leaves->Next(1, &name, &fetched) == S_OK && fetched == 1) {
      if (SUCCEEDED(browse.GetItemID(name, &id)))
        ids.push_back(id);
    }
  }
  std::vector<std::string> branches;
  ComPtr<IEnumString> strings;
  browse.BrowseOPCItemIDs(OPC_BRANCH, "*", VT_EMPTY, 0, strings.GetAddressOf());
  Drain(strings.Get(), &branches);
  for (const std::string& branch : branches) {
    if (FAILED(browse.ChangeBrowsePosition(OPC_BROWSE_DOWN, branch)))
      continue;
    BareSearch(browse, ids);
    browse.ChangeBrowsePosition(OPC_BROWSE_UP, "");
  }
}

// The floor of (b): what selecting the (already expanded) branch asks the server.
size_t BareLeafList(IOPCBrowseServerAddressSpace& browse, std::vector<std::string>& leaves) {
  ClimbToRoot(browse);
  browse.ChangeBrowsePosition(OPC_BROWSE_DOWN, kLargeBranch);
  for (const OPCBROWSETYPE type : {OPC_BRANCH, OPC_LEAF}) {
    ComPtr<IEnumString> strings;
    browse.BrowseOPCItemIDs(type, "*", VT_EMPTY, 0, strings.GetAddressOf());
    Drain(strings.Get(), nullptr);
  }
  leaves.clear();
  ComPtr<IEnumString> strings;
  browse.BrowseOPCItemIDs(OPC_LEAF, "*", VT_EMPTY, 0, strings.GetAddressOf());
  return Drain(strings.Get(), &leaves);
}

}  // namespace

int main(int argc, char** argv) {
  const long tagsArgument = argc > 1 ? std::atol(argv[1]) : 100000;
  const uint32_t tags = static_cast<uint32_t>(
      std::clamp<long>(tagsArgument, 100000, static_cast<long>(kMaxGeneratedTags)));
  const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

  std::shared_ptr<const CSimAddressSpace> space;
  const double buildMs = Milliseconds([&] { space = CSimAddressSpace::Generated(tags, false); });
  std::printf("generated space: %zu leaves (%u generated) built in %.1f ms\n",
              space->Items().size(), tags, buildMs);

  FakeClock clock;
  CLog log(clock);  // no sink: log lines cost nothing here
  CConsolePrompt prompt(std::cerr);
  InMemorySettingsStore settings;
  AppContext context{clock, log, prompt, settings};
  CSimRuntime::Instance().SetClock(&clock);
  CSimRuntime::Instance().Faults(kSimServerProgId).m_nGeneratedTags = tags;
  COPCServer server(context);
  if (!server.Connect(kSimServerProgId, kLocalHost, GUID_NULL) ||
      !server.Connection().BrowseServerAddressSpace()) {
    std::fprintf(stderr, "set-up failed: no browsable server\n");
    return 1;
  }
  IOPCBrowseServerAddressSpace& browse = *server.Connection().BrowseServerAddressSpace();

  // (a) The whole space, floor and search taken in turns.
  std::vector<double> floorTimes;
  std::vector<double> searchTimes;
  size_t floorFound = 0;
  ItemSearchResult result;
  ItemSearchRequest request;
  request.m_sPattern = kSearchPattern;
  for (int i = 0; i < repetitions; ++i) {
    std::vector<std::string> ids;
    floorTimes.push_back(Milliseconds([&] {
      ClimbToRoot(browse);
      BareSearch(browse, ids);
    }));
    floorFound = ids.size();
    searchTimes.push_back(Milliseconds([&] {
      result = SearchItems(browse, request, [](const ItemSearchProgress&) { return true; });
    }));
  }
  if (FAILED(result.m_hr) || result.m_itemIds.size() != floorFound || floorFound == 0) {
    std::fprintf(stderr, "search failed: %zu ids, the bare loop found %zu\n",
                 result.m_itemIds.size(), floorFound);
    return 1;
  }
  const double floorMs = Median(floorTimes);
  const double searchMs = Median(searchTimes);
  const double searchRatio = searchMs / floorMs;
  std::printf(
      "(a) search '%s' over the whole space: %zu ids (%.2f %% of the leaves), %d branches\n",
      kSearchPattern, result.m_itemIds.size(),
      100.0 * static_cast<double>(result.m_itemIds.size()) /
          static_cast<double>(space->Items().size()),
      result.m_nBranchesVisited);
  std::printf("    floor %.1f ms, search %.1f ms, ratio %.2f (goal <= 1.5: %s; under 1 s: %s)\n",
              floorMs, searchMs, searchRatio, Verdict(searchRatio <= 1.5),
              Verdict(searchMs < 1000.0));

  // (b) The large branch's leaf list through the session, expanded once beforehand.
  COPCGroup* group = server.AddGroup("Group01", 1000, 0, 0.0f, 0, kReadSyncCache, true);
  if (group == nullptr) {
    std::fprintf(stderr, "set-up failed: no group\n");
    return 1;
  }
  CAddItemSession session(server, *group);
  session.Open();
  const CBrowseNode* root = session.Tree().Root();
  const CBrowseNode* large = nullptr;
  for (int row = 0; root != nullptr && row < root->ChildCount(); ++row) {
    if (root->Child(row)->Label() == kLargeBranch)
      large = root->Child(row);
  }
  if (large == nullptr || !session.SelectNode(large)) {
    std::fprintf(stderr, "set-up failed: no branch %s\n", kLargeBranch);
    return 1;
  }
  std::vector<double> bareListTimes;
  std::vector<double> selectTimes;
  std::vector<std::string> leaves;
  size_t bareCount = 0;
  bool selected = true;
  for (int i = 0; i < repetitions; ++i) {
    bareListTimes.push_back(Milliseconds([&] { bareCount = BareLeafList(browse, leaves); }));
    selectTimes.push_back(Milliseconds([&] { selected = session.SelectNode(large) && selected; }));
  }
  if (!selected || session.Leaves().size() != bareCount) {
    std::fprintf(stderr, "leaf list failed: %zu leaves, the bare loop found %zu\n",
                 session.Leaves().size(), bareCount);
    return 1;
  }
  const double listFloorMs = Median(bareListTimes);
  const double selectMs = Median(selectTimes);
  std::printf("(b) leaf list of %s through SelectNode: %zu leaves\n", kLargeBranch,
              session.Leaves().size());
  std::printf("    floor %.1f ms, SelectNode %.1f ms, ratio %.2f (goal under 200 ms: %s)\n",
              listFloorMs, selectMs, selectMs / listFloorMs, Verdict(selectMs < 200.0));
  server.RemoveAllGroups();
  server.Disconnect();
  return 0;
}
