// The model's state is its own: no file outside COPCServer, COPCGroup, their
// connections and their items can name one of their fields. Compile-time checks only (part of
// opc_tests): each line below fails the build the day a field becomes reachable again.
#include <type_traits>
#include <utility>

#include "opc/opc_server.h"

namespace {

// A concept per field: access is checked where the concept is defined, outside the model.
#define VELMORA_EXPECT_PRIVATE(Type, field)                 \
  template <class T>                                        \
  concept Reaches_##Type##_##field = requires(T & object) { \
    object.field;                                           \
  };                                                        \
  static_assert(!Reaches_##Type##_##field<Type>, #Type "::" #field " is reachable")

// The same check sees what is public: a check that could not tell would prove nothing.
template <class T>
concept ReachesGroupName = requires(T& object) {
  object.Name();
};
static_assert(ReachesGroupName<COPCGroup>);

VELMORA_EXPECT_PRIVATE(COPCServer, m_sServerId);
VELMORA_EXPECT_PRIVATE(COPCServer, m_sHost);
VELMORA_EXPECT_PRIVATE(COPCServer, m_clsid);
VELMORA_EXPECT_PRIVATE(COPCServer, m_connection);
VELMORA_EXPECT_PRIVATE(COPCServer, m_groups);
VELMORA_EXPECT_PRIVATE(COPCServer, m_nTotalItemCount);
VELMORA_EXPECT_PRIVATE(COPCServer, m_nTotalAcquiredCount);
VELMORA_EXPECT_PRIVATE(COPCServer, m_nTotalCalculatedCount);
VELMORA_EXPECT_PRIVATE(COPCServer, m_bConfigurationModified);

VELMORA_EXPECT_PRIVATE(COPCConnection, m_interfaceRequests);
VELMORA_EXPECT_PRIVATE(COPCConnection, m_pIOPCServer);
VELMORA_EXPECT_PRIVATE(COPCConnection, m_pIOPCServerPublicGroups);
VELMORA_EXPECT_PRIVATE(COPCConnection, m_pIOPCBrowseServerAddressSpace);
VELMORA_EXPECT_PRIVATE(COPCConnection, m_pIPersistFile);
VELMORA_EXPECT_PRIVATE(COPCConnection, m_pIOPCItemProperties);
VELMORA_EXPECT_PRIVATE(COPCConnection, m_pIOPCCommon);
VELMORA_EXPECT_PRIVATE(COPCConnection, m_pIConnectionPointContainer);
VELMORA_EXPECT_PRIVATE(COPCConnection, m_pShutdownSink);
VELMORA_EXPECT_PRIVATE(COPCConnection, m_dwShutdownCookie);
VELMORA_EXPECT_PRIVATE(COPCConnection, m_bConnected);

VELMORA_EXPECT_PRIVATE(COPCGroup, m_pServer);
VELMORA_EXPECT_PRIVATE(COPCGroup, m_settings);
VELMORA_EXPECT_PRIVATE(COPCGroup, m_acquiredItems);
VELMORA_EXPECT_PRIVATE(COPCGroup, m_calcItems);
VELMORA_EXPECT_PRIVATE(COPCGroup, m_connection);
VELMORA_EXPECT_PRIVATE(COPCGroup, m_nItemCount);
VELMORA_EXPECT_PRIVATE(COPCGroup, m_ftLastReadTime);
VELMORA_EXPECT_PRIVATE(COPCGroup, m_sTimeText);
VELMORA_EXPECT_PRIVATE(COPCGroup, m_statistics);

VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_itemResults);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_itemErrors);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_bOnServer);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_pIOPCGroupStateMgt);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_pIOPCPublicGroupStateMgt);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_pIOPCItemMgt);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_pIOPCSyncIO);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_pIOPCAsyncIO2);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_pIConnectionPointContainer);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_pIOPCAsyncIO);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_pIDataObject);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_hServerGroup);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_sErrorMessage);
VELMORA_EXPECT_PRIVATE(COPCGroupConnection, m_sErrorReport);

VELMORA_EXPECT_PRIVATE(COPCBaseItem, m_nValid);
VELMORA_EXPECT_PRIVATE(COPCBaseItem, m_ftTimeStamp);
VELMORA_EXPECT_PRIVATE(COPCBaseItem, m_wQuality);
VELMORA_EXPECT_PRIVATE(COPCBaseItem, m_value);
VELMORA_EXPECT_PRIVATE(COPCBaseItem, m_pGroup);

// Through either kind of item, the common fields stay out of reach too.
VELMORA_EXPECT_PRIVATE(COPCItem, m_definition);
VELMORA_EXPECT_PRIVATE(COPCItem, m_value);
VELMORA_EXPECT_PRIVATE(COPCItem, m_wQuality);
VELMORA_EXPECT_PRIVATE(COPCItem, m_dwAccessRights);
VELMORA_EXPECT_PRIVATE(COPCItem, m_hServerItem);
VELMORA_EXPECT_PRIVATE(COPCItem, m_hrRead);

VELMORA_EXPECT_PRIVATE(COPCCalcItem, m_definition);
VELMORA_EXPECT_PRIVATE(COPCCalcItem, m_nValid);
VELMORA_EXPECT_PRIVATE(COPCCalcItem, m_symbols);
VELMORA_EXPECT_PRIVATE(COPCCalcItem, m_binding);
VELMORA_EXPECT_PRIVATE(COPCCalcItem, m_dValue);

// What an item shows is read-only: its identifiers, value, context and group come as
// values or const references.
template <class T>
concept ReachesItemShortId = requires(T& object) {
  object.ShortId();
};
static_assert(ReachesItemShortId<COPCCalcItem>);
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCItem&>().QualifiedId())>>);
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCItem&>().ShortId())>>);
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCItem&>().Value())>>);
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCCalcItem&>().Expression())>>);
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCItem&>().Definition())>>);
// A calculated item's definition comes whole, expression included, and read-only too.
static_assert(std::is_same_v<decltype(std::declval<COPCCalcItem&>().Definition()),
                             const OPCCalcItemDefinition&>);
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCCalcItem&>().Symbols())>>);
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCCalcItem&>().Binding())>>);

// The settings come out as a const value: a copy may be edited, the group's may not.
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCGroup&>().Settings())>>);
static_assert(std::is_copy_assignable_v<OPCGroupSettings>);

// The lists are read-only from outside: items come and go through the group.
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCGroup&>().AcquiredItems())>>);
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCGroup&>().CalcItems())>>);
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCServer&>().Groups())>>);
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCServer&>().Connection())>>);
static_assert(
    std::is_const_v<std::remove_reference_t<decltype(std::declval<COPCGroup&>().Connection())>>);

}  // namespace
