// Pages of a history's older rows read on a worker, and dropped when the list changed.
#include "acquisition/history_page_loader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "fake_row_reader.h"

namespace {

constexpr int kPage = HistoricalDataList::kPageRows;

std::vector<LoadedHistoryPage> WaitForPages(CHistoryPageLoader& loader, uint64_t generation) {
  for (int i = 0; i < 2000; ++i) {
    std::vector<LoadedHistoryPage> pages = loader.TakeLoaded(generation);
    if (!pages.empty() || loader.Pending() == 0)
      return pages;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return {};
}

TEST(HistoryPageLoaderTest, APageOfOlderRowsIsReadOnTheWorker) {
  HistoricalDataList list;
  list.Reset(2);
  auto reader = std::make_shared<CFakeRowReader>();
  list.SetRecording(reader, 10);
  FillStored(list, 0, 3 * kPage);
  ASSERT_EQ(list.FirstInMemory(), 3 * kPage - 10);
  CHistoryPageLoader loader(list);
  loader.Request(1, list.Generation());
  loader.Request(1, list.Generation());  // asked once only
  std::vector<LoadedHistoryPage> pages = WaitForPages(loader, list.Generation());
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].rows.size(), static_cast<size_t>(kPage));
  for (int i = 0; i < kPage; ++i) {
    ASSERT_NE(pages[0].rows[static_cast<size_t>(i)], nullptr);
    EXPECT_EQ(pages[0].rows[static_cast<size_t>(i)]->TimeText(),
              "T" + std::to_string(1000 + kPage + i));
    EXPECT_EQ(pages[0].rows[static_cast<size_t>(i)]->Status(1), kStatusInterpolated);
  }
  // The last page still has rows in memory: those are not handed over (they may change).
  loader.Request(2, list.Generation());
  pages = WaitForPages(loader, list.Generation());
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_NE(pages[0].rows[0], nullptr);
  EXPECT_EQ(pages[0].rows[static_cast<size_t>(kPage - 1)], nullptr);
}

TEST(HistoryPageLoaderTest, APageReadWhileTheListIsClearedIsDropped) {
  HistoricalDataList list;
  list.Reset(2);
  auto reader = std::make_shared<CFakeRowReader>();
  list.SetRecording(reader, 10);
  FillStored(list, 0, 2 * kPage);
  CHistoryPageLoader loader(list);
  const uint64_t before = list.Generation();
  reader->Hold(true);
  loader.Request(0, before);
  reader->WaitForReads(1);
  // Cleared and refilled (as a Clear, then the acquisition resumed) while the page is read.
  list.Clear();
  FillStored(list, 0, 2 * kPage, 5000);
  reader->Hold(false);
  EXPECT_TRUE(WaitForPages(loader, before).empty());
  EXPECT_TRUE(WaitForPages(loader, list.Generation()).empty());
  // A request of the new list reads the new rows.
  loader.Request(0, list.Generation());
  std::vector<LoadedHistoryPage> pages = WaitForPages(loader, list.Generation());
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].rows[0]->TimeText(), "T5000");
}

TEST(HistoryPageLoaderTest, RowsComeBackFromTheirRunsAndUnstoredRowsStayInMemory) {
  HistoricalDataList list;
  list.Reset(2);
  list.SetRecording(std::make_shared<CFakeRowReader>(), 4);
  FillStored(list, 0, 5);
  // A row never stored (the database was locked) is kept as it was.
  DataSet lost("Lost", 2);
  lost.SetCell(1, "L");
  list.Append(lost);
  FillStored(list, 6, 20, 2000);  // ids jump: a second run
  ASSERT_EQ(list.Count(), 26);
  ASSERT_EQ(list.FirstInMemory(), 22);
  EXPECT_EQ(list.StoredRunsOutOfMemory().size(), 2u);
  EXPECT_EQ(list.Row(4)->TimeText(), "T1004");
  EXPECT_EQ(list.Row(5)->TimeText(), "Lost");
  EXPECT_EQ(list.Row(6)->TimeText(), "T2006");
  EXPECT_EQ(list.Row(21)->TimeText(), "T2021");
  EXPECT_EQ(list.Row(22)->TimeText(), "T2022");
  EXPECT_EQ(list.Row(26), nullptr);
  const std::vector<DataSetPtr> rows = list.Snapshot(3, 5);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[2]->TimeText(), "Lost");
}

TEST(HistoryPageLoaderTest, OlderRowsReadWhileTheOwnerAppendsAndClears) {
  HistoricalDataList list;
  list.Reset(2);
  list.SetRecording(std::make_shared<CFakeRowReader>(), 20);
  FillStored(list, 0, 300);
  std::atomic<bool> stop{false};
  std::atomic<int> whole{0};
  std::atomic<int> torn{0};
  // Readers of older rows, as the table's page worker and a backup are.
  std::thread reader([&] {
    while (!stop.load()) {
      for (const DataSetPtr& row : list.Snapshot(0, 2 * kPage)) {
        if (!row)
          continue;
        if (row->Cell(1) == "V" + std::string(row->TimeText()).substr(1))
          whole.fetch_add(1);
        else
          torn.fetch_add(1);
      }
    }
  });
  // The reader has read older rows once before the owner starts changing the list.
  for (int wait = 0; wait < 1000 && whole.load() == 0; ++wait)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  CHistoryPageLoader loader(list);
  for (int round = 0; round < 20; ++round) {
    FillStored(list, list.Count(), 50, 1000 * (round + 2));
    loader.Request(round % 2, list.Generation());
    loader.TakeLoaded(list.Generation());
    if (round % 5 == 4)
      list.Clear();
  }
  stop = true;
  reader.join();
  EXPECT_GT(whole.load(), 0);
  EXPECT_EQ(torn.load(), 0);
}

}  // namespace
