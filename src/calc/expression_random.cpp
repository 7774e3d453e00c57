#include "calc/expression_random.h"

namespace {

uint64_t& State() {
  static uint64_t nState = 0;
  return nState;
}

// SplitMix64 finaliser: spreads neighbouring seeds over the whole state space.
uint64_t Mix(uint64_t n) {
  n += 0x9E3779B97F4A7C15ull;
  n = (n ^ (n >> 30)) * 0xBF58476D1CE4E5B9ull;
  n = (n ^ (n >> 27)) * 0x94D049BB133111EBull;
  return n ^ (n >> 31);
}

}  // namespace

void CExpressionRandom::Seed(uint32_t nSeed) {
  State() = Mix(nSeed);
}

int CExpressionRandom::Next() {
  // 64-bit linear congruential step; the top bits are the well-mixed ones.
  uint64_t& nState = State();
  nState = nState * 6364136223846793005ull + 1442695040888963407ull;
  return static_cast<int>((nState >> 49) & 0x7fffu);
}

double CExpressionRandom::Draw() {
  // 32767 rather than 32768 keeps R strictly below 1, so floor(R * n) stays below n.
  return static_cast<double>(Next() % kMax) * (1.0 / 32768.0);
}
