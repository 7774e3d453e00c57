#pragma once
// Reference codes of a calculated item's symbols: the index of an acquired item of the
// group (0 to 999), or 1000 plus the index of a calculated item of the group.
inline constexpr int kCalcReferenceBase = 1000;

inline bool IsCalcReference(int nCode) {
  return nCode >= kCalcReferenceBase;
}
