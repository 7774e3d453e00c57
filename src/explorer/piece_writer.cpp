#include "explorer/piece_writer.h"

CPieceWriter::CPieceWriter(std::function<bool(std::string_view text)> write)
    : m_fnWrite(std::move(write)), m_thread([this] { Run(); }) {}

CPieceWriter::~CPieceWriter() {
  Finish();
}

bool CPieceWriter::Push(std::string& text) {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_changed.wait(lock, [this] { return m_bRefused || m_waiting.size() < kMostWaiting; });
  if (m_bRefused)
    return false;
  std::string piece;
  if (!m_spare.empty()) {
    piece = std::move(m_spare.back());
    m_spare.pop_back();
  }
  piece.swap(text);
  text.clear();
  m_waiting.push_back(std::move(piece));
  m_changed.notify_all();
  return true;
}

bool CPieceWriter::Finish() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bEnding = true;
  }
  m_changed.notify_all();
  if (m_thread.joinable())
    m_thread.join();
  return !m_bRefused;
}

void CPieceWriter::Run() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_changed.wait(lock, [this] { return m_bEnding || !m_waiting.empty(); });
    if (m_waiting.empty())
      return;  // ending, everything written
    std::string piece = std::move(m_waiting.front());
    m_waiting.pop_front();
    const bool refused = m_bRefused;
    lock.unlock();
    const bool written = refused || m_fnWrite(piece);
    piece.clear();
    lock.lock();
    if (!written)
      m_bRefused = true;
    m_spare.push_back(std::move(piece));
    m_changed.notify_all();
  }
}
