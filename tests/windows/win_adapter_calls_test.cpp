// Every call the adapters forward, made once on a simulation object and once on the same
// kind of object through its adapter: the transcripts of results and outputs must match.
#include <gtest/gtest.h>

#include "base/clock.h"
#include "com_transcripts.h"
#include "platform/com/creation.h"
#include "platform/sim/sim_ids.h"
#include "platform/sim/sim_runtime.h"
#include "platform/win/win_adapters.h"

namespace {

// The simulation's objects, or the same through their adapters.
class CSimSource : public ObjectSource {
 public:
  explicit CSimSource(bool adapted) : m_bAdapted(adapted) {}
  ComPtr<IOPCServer> Server(const CLSID& clsid) const override { return Create<IOPCServer>(clsid); }
  ComPtr<IOPCServerList> ServerList() const override {
    return Create<IOPCServerList>(CLSID_OpcServerList);
  }
  ComPtr<ICatInformation> Categories() const override {
    return Create<ICatInformation>(CLSID_StdComponentCategoriesMgr);
  }

 private:
  template <class I>
  ComPtr<I> Create(const CLSID& clsid) const {
    ComPtr<I> object;
    EXPECT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, I::kIID,
                                     object.ReleaseAndGetVoidAddress()));
    if (!m_bAdapted)
      return object;
    ComPtr<I> adapter;
    EXPECT_EQ(S_OK, winbridge::WrapReal(winbridge::AdapterKindOfClass(clsid),
                                        static_cast<IUnknown*>(object.Detach()), I::kIID,
                                        adapter.ReleaseAndGetVoidAddress()));
    return adapter;
  }
  bool m_bAdapted;
};

class WinAdapterCallsTest : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }
  void TearDown() override { CSimRuntime::Instance().Reset(); }
  void Fresh() {
    CSimRuntime::Instance().Reset();
    CSimRuntime::Instance().SetClock(&m_clock);
  }

  FakeClock m_clock;
  const CSimSource m_direct{false};
  const CSimSource m_adapted{true};
};

TEST_F(WinAdapterCallsTest, ServerInterfacesAnswerAsTheServer) {
  const std::string expected = ServerCalls(m_direct);
  Fresh();
  EXPECT_EQ(expected, ServerCalls(m_adapted));
  EXPECT_NE(std::string::npos, expected.find("Plant.Line1"));  // the calls did something
}

TEST_F(WinAdapterCallsTest, GroupInterfacesAnswerAsTheGroup) {
  const std::string expected = GroupCalls(m_direct);
  Fresh();
  EXPECT_EQ(expected, GroupCalls(m_adapted));
  EXPECT_NE(std::string::npos, expected.find("Renamed"));
}

TEST_F(WinAdapterCallsTest, EnumeratorAndCategoriesAnswerAsTheSystem) {
  const std::string expected = DiscoveryCalls(m_direct);
  EXPECT_EQ(expected, DiscoveryCalls(m_adapted));
  EXPECT_NE(std::string::npos, expected.find(kSimServerDa1ProgId));
}

}  // namespace
