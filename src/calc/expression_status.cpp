#include "calc/expression_status.h"

namespace {

constexpr char kNoError[] = "None";

struct StatusRecord {
  bool m_bValid = true;
  std::string m_sMessage = kNoError;
};

StatusRecord& Record() {
  static StatusRecord record;
  return record;
}

}  // namespace

bool ExpressionStatus::Valid() {
  return Record().m_bValid;
}

const std::string& ExpressionStatus::Message() {
  return Record().m_sMessage;
}

void ExpressionStatus::Reset() {
  Record().m_bValid = true;
  Record().m_sMessage = kNoError;
}

void ExpressionStatus::Report(std::string_view sMessage) {
  Record().m_bValid = false;
  Record().m_sMessage.assign(sMessage.data(), sMessage.size());
}
