#include "explorer/stored_row_pipeline.h"

#include <sqlite3.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "base/number_text.h"
#include "base/time_text.h"

namespace {

// Copies the statement's rows (at most rows - read more) into batch; the last step's code.
int ReadBatch(sqlite3_stmt* query, int rows, int& read, StoredBatch& batch) {
  batch.bytes.clear();
  batch.rows.clear();
  batch.decoded = false;
  int code = SQLITE_ROW;
  while (static_cast<int>(batch.rows.size()) < kStoredBatchRows && read < rows &&
         (code = sqlite3_step(query)) == SQLITE_ROW) {
    StoredBatch::Row stored{};
    const auto* time = reinterpret_cast<const char*>(sqlite3_column_text(query, 0));
    stored.hasTime = time != nullptr;
    stored.timeBytes = static_cast<size_t>(sqlite3_column_bytes(query, 0));
    stored.time = batch.bytes.size();
    if (time != nullptr)
      batch.bytes.append(time, stored.timeBytes);
    stored.isBlob = sqlite3_column_type(query, 1) == SQLITE_BLOB;
    const void* blob = stored.isBlob ? sqlite3_column_blob(query, 1) : nullptr;
    stored.valueBytes = stored.isBlob ? static_cast<size_t>(sqlite3_column_bytes(query, 1)) : 0;
    stored.value = batch.bytes.size();
    if (blob != nullptr)
      batch.bytes.append(static_cast<const char*>(blob), stored.valueBytes);
    else
      stored.valueBytes = 0;
    batch.rows.push_back(stored);
    ++read;
  }
  return code;
}

}  // namespace

int PipeStoredRows(sqlite3_stmt* query, int rows, int threads,
                   const std::function<void(StoredBatch& batch, StoredRowDecoder& decoder)>& decode,
                   const std::function<bool(StoredBatch& batch)>& take) {
  int read = 0;
  int code = SQLITE_ROW;
  if (threads <= 0) {
    StoredRowDecoder decoder;
    StoredBatch batch;
    bool taken = true;
    while (taken && read < rows && code == SQLITE_ROW) {
      code = ReadBatch(query, rows, read, batch);
      if (batch.rows.empty())
        break;
      decode(batch, decoder);
      taken = take(batch);
    }
    return code;
  }

  // Batches in row order; the decoders take the next undecoded one.
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::unique_ptr<StoredBatch>> inFlight;
  std::vector<std::unique_ptr<StoredBatch>> spare;
  size_t nextToDecode = 0;  // index into inFlight
  bool ending = false;
  std::vector<std::thread> decoders;
  for (int t = 0; t < threads; ++t) {
    decoders.emplace_back([&] {
      StoredRowDecoder decoder;
      std::unique_lock<std::mutex> lock(mutex);
      for (;;) {
        changed.wait(lock, [&] { return ending || nextToDecode < inFlight.size(); });
        if (nextToDecode >= inFlight.size())
          return;  // ending, nothing left
        StoredBatch* batch = inFlight[nextToDecode++].get();
        lock.unlock();
        decode(*batch, decoder);
        lock.lock();
        batch->decoded = true;
        changed.notify_all();
      }
    });
  }
  const size_t mostInFlight = static_cast<size_t>(threads) * 8;
  bool taken = true;
  // Hands over the oldest batch once decoded (waiting for it when wait).
  auto takeOldest = [&](bool wait) {
    std::unique_ptr<StoredBatch> oldest;
    {
      std::unique_lock<std::mutex> lock(mutex);
      if (inFlight.empty())
        return false;
      if (!inFlight.front()->decoded) {
        if (!wait)
          return false;
        changed.wait(lock, [&] { return inFlight.front()->decoded; });
      }
      oldest = std::move(inFlight.front());
      inFlight.pop_front();
      --nextToDecode;
    }
    taken = taken && take(*oldest);
    std::lock_guard<std::mutex> lock(mutex);
    spare.push_back(std::move(oldest));
    return true;
  };
  while (taken && read < rows) {
    std::unique_ptr<StoredBatch> batch;
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (!spare.empty()) {
        batch = std::move(spare.back());
        spare.pop_back();
      }
    }
    if (batch == nullptr)
      batch = std::make_unique<StoredBatch>();
    code = ReadBatch(query, rows, read, *batch);
    const bool more = code == SQLITE_ROW && read < rows;
    if (!batch->rows.empty()) {
      {
        std::lock_guard<std::mutex> lock(mutex);
        inFlight.push_back(std::move(batch));
      }
      changed.notify_all();
    }
    // Taken in order as they are done; at most a few batches wait.
    while (takeOldest(false)) {
    }
    while (taken && inFlight.size() >= mostInFlight && takeOldest(true)) {
    }
    if (!more)
      break;
  }
  // The rest, in order.
  while (taken && takeOldest(true)) {
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    ending = true;
  }
  changed.notify_all();
  for (std::thread& decoder : decoders)
    decoder.join();
  return code;
}

void WalkStoredBatch(StoredBatch& batch, size_t columns, StoredRowDecoder& decoder) {
  const int itemColumns = static_cast<int>(columns > 0 ? columns - 1 : 0);
  const size_t rows = batch.rows.size();
  const size_t items = static_cast<size_t>(itemColumns);
  batch.times.resize(rows);
  batch.damaged.resize(rows);
  batch.values.resize(rows * items);
  batch.hasValue.assign(rows * items, 0);
  batch.widths.assign(columns, 0);
  CLoadedTable::CRowBuilder& row = decoder.row;
  for (size_t r = 0; r < rows; ++r) {
    const StoredBatch::Row& stored = batch.rows[r];
    batch.damaged[r] = !ReadStoredValues(batch.Time(stored), stored.timeBytes, stored.isBlob,
                                         batch.bytes.data() + stored.value, stored.valueBytes,
                                         decoder.reader, itemColumns, row);
    batch.times[r] = TimeStampTextMs(row.CellText(0));
    if (columns == 0)
      continue;
    const int cells = std::min(row.Cells(), static_cast<int>(columns));
    batch.widths[0] = std::max(batch.widths[0], static_cast<uint32_t>(row.CellText(0).size()));
    for (int c = 1; c < cells; ++c) {
      const std::string_view text = row.CellText(c);
      const size_t column = static_cast<size_t>(c);
      batch.widths[column] = std::max(batch.widths[column], static_cast<uint32_t>(text.size()));
      if (text.empty())
        continue;  // no value: no point, as the chart reads it
      const size_t at = r * items + column - 1;
      batch.values[at] = LeadingDouble(text);
      batch.hasValue[at] = 1;
    }
  }
}
