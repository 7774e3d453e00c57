#pragma once
// Stored rows of a recording read in order by one thread and decoded by more: the thread
// that steps the statement copies the rows into batches, decoder threads turn each batch
// into what the caller needs (an export's text, the walk's numbers), and the stepping
// thread takes the decoded batches back in row order. At most a few batches are in flight,
// so memory stays bounded whatever the length of the recording.
// Thread rule: PipeStoredRows runs on the caller's thread and joins its decoders before it
// returns; decode runs on a decoder thread with that thread's own state, take on the
// caller's thread.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "explorer/acquisition_loader.h"

struct sqlite3_stmt;

// One batch of stored rows copied out of the statement, and what its decoding made.
struct StoredBatch {
  struct Row {
    size_t time;
    size_t timeBytes;
    bool hasTime;
    bool isBlob;
    size_t value;
    size_t valueBytes;
  };
  std::string bytes;  // times and values, one after the other
  std::vector<Row> rows;
  bool decoded = false;

  // The stored row's time (null when it has none).
  const char* Time(const Row& row) const { return row.hasTime ? bytes.data() + row.time : nullptr; }
  // An export's text of the batch.
  std::string text;
  // The walk's numbers: each row's time, whether it could not be read, and per item column
  // its leading number where the cell has text; the longest text of each column.
  std::vector<int64_t> times;
  std::vector<uint8_t> damaged;
  std::vector<double> values;     // row-major, item columns per row
  std::vector<uint8_t> hasValue;  // the same shape
  std::vector<uint32_t> widths;   // per column, time included
};

// What a decoder thread keeps from batch to batch.
struct StoredRowDecoder {
  CValueRowReader reader;
  CLoadedTable::CRowBuilder row;
};

inline constexpr int kStoredBatchRows = 512;

// Steps query (at most rows rows) into batches decoded by `threads` more threads (none:
// decoded on this thread) and hands each to take in row order; take answering false stops
// the reading. The last step's code: SQLITE_ROW or SQLITE_DONE when nothing failed.
int PipeStoredRows(sqlite3_stmt* query, int rows, int threads,
                   const std::function<void(StoredBatch& batch, StoredRowDecoder& decoder)>& decode,
                   const std::function<bool(StoredBatch& batch)>& take);

// The walk's decoding: each row read as the loader reads it, then its time, its cells'
// widths and their leading numbers (columns: the recording's, time included).
void WalkStoredBatch(StoredBatch& batch, size_t columns, StoredRowDecoder& decoder);
