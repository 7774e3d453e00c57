#include "opc/opc_group.h"

#include <algorithm>

#include "opc/opc_server.h"

namespace {

FILETIME CreationTime(const COPCServer* server) {
  return server != nullptr ? server->Context().clock.UtcFileTimeNow() : FILETIME();
}

}  // namespace

COPCGroup::~COPCGroup() {
  DestroyItems();
}

COPCItem* COPCGroup::AppendAcquiredItem() {
  m_acquiredItems.push_back(std::make_unique<COPCItem>(this, CreationTime(m_pServer)));
  return m_acquiredItems.back().get();
}

COPCCalcItem* COPCGroup::AppendCalcItem() {
  m_calcItems.push_back(std::make_unique<COPCCalcItem>(this, CreationTime(m_pServer)));
  return m_calcItems.back().get();
}

bool COPCGroup::RemoveItem(const COPCBaseItem* item) {
  const auto isItem = [item](const auto& owned) { return owned.get() == item; };
  const auto acquired = std::find_if(m_acquiredItems.begin(), m_acquiredItems.end(), isItem);
  if (acquired != m_acquiredItems.end()) {
    m_acquiredItems.erase(acquired);
    return true;
  }
  const auto calculated = std::find_if(m_calcItems.begin(), m_calcItems.end(), isItem);
  if (calculated != m_calcItems.end()) {
    m_calcItems.erase(calculated);
    return true;
  }
  return false;
}

void COPCGroup::TakeCalcItems(COPCGroup& source) {
  if (&source == this)
    return;
  m_calcItems = std::move(source.m_calcItems);
  source.m_calcItems.clear();
  for (auto& item : m_calcItems)
    item->m_pGroup = this;
}

void COPCGroup::DestroyItems() {
  m_acquiredItems.clear();
  m_calcItems.clear();
}

void COPCGroup::ReleaseInterfaces() {
  m_connection.m_pIOPCGroupStateMgt.Reset();
  m_connection.m_pIOPCPublicGroupStateMgt.Reset();
  m_connection.m_pIOPCItemMgt.Reset();
  m_connection.m_pIOPCSyncIO.Reset();
  m_connection.m_pIOPCAsyncIO2.Reset();
  m_connection.m_pIConnectionPointContainer.Reset();
  m_connection.m_pIOPCAsyncIO.Reset();
  m_connection.m_pIDataObject.Reset();
}

void COPCGroup::CopySettings(const COPCGroup& source, bool withAcquiredItems, bool withCalcItems) {
  if (&source == this)
    return;
  m_pServer = source.m_pServer;
  m_settings = source.m_settings;
  m_connection.m_pIOPCGroupStateMgt = source.m_connection.m_pIOPCGroupStateMgt;
  m_connection.m_pIOPCPublicGroupStateMgt = source.m_connection.m_pIOPCPublicGroupStateMgt;
  m_connection.m_pIOPCItemMgt = source.m_connection.m_pIOPCItemMgt;
  m_connection.m_pIOPCSyncIO = source.m_connection.m_pIOPCSyncIO;
  m_connection.m_pIOPCAsyncIO2 = source.m_connection.m_pIOPCAsyncIO2;
  m_connection.m_pIConnectionPointContainer = source.m_connection.m_pIConnectionPointContainer;
  m_connection.m_pIOPCAsyncIO = source.m_connection.m_pIOPCAsyncIO;
  m_connection.m_pIDataObject = source.m_connection.m_pIDataObject;
  if (withAcquiredItems) {
    for (const auto& item : source.m_acquiredItems) {
      COPCItem* copy = AppendAcquiredItem();
      copy->m_definition = item->m_definition;
      copy->m_wQuality = item->m_wQuality;
    }
  }
  if (withCalcItems) {
    for (const auto& item : source.m_calcItems) {
      COPCCalcItem* copy = AppendCalcItem();
      copy->m_definition = item->m_definition;
      copy->m_wQuality = item->m_wQuality;
      copy->m_symbols = item->m_symbols;
      copy->m_binding = item->m_binding;
    }
  }
}
