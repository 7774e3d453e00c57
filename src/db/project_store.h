#pragma once
// CProjectStore: a project configuration in the tables OPCPrj, OPCGrp and OPCItem. Save
// writes the server's current groups and items under a name, replacing any project of
// that name; the two load steps re-create a saved project's groups on the (already
// connected) server, then its acquired and calculated items.
// Thread rule: GUI thread (the server's and the database's thread).
#include <string>

#include "db/db_feedback.h"
#include "db/sqlite_db.h"
#include "opc/opc_server.h"

// What the configuration view does while a project loads.
class IProjectLoadObserver {
 public:
  virtual ~IProjectLoadObserver() = default;
  // A group was created on the server: add it to the configuration tree.
  virtual void OnGroupLoaded(COPCGroup& group) = 0;
  // The group's items were created and its acquired items sent to the server.
  virtual void OnGroupItemsLoaded(COPCGroup& group) = 0;
  // A load step failed: back to "no server" in the view.
  virtual void OnLoadFailed() = 0;
};

inline constexpr char kCleaningFailedMessage[] =
    "Error Occured while Cleaning SQLite Database for Current Project Data !!! Project Data "
    "NOT Saved ...";
inline constexpr char kIncoherentGroupDataMessage[] =
    "Incoherent Data Group from Velmora Database !!! Unable to Load Project Group Data ...";
inline constexpr char kIncoherentItemDataMessage[] =
    "Incoherent Data Group from Velmora Database !!! Unable to Load Project Item Data ...";
inline constexpr char kUnknownItemGroupMessage[] =
    "Velmora Internal Critical Error While adding Item in OPC Group !!! Unable to Load Project "
    "Item Data ...";

// The locale of every group a load creates (US English).
inline constexpr LCID kProjectGroupLocale = 1033;
// The data type a calculated item carries (a 4-byte real; its value is a double).
inline constexpr VARTYPE kProjectCalcItemType = VT_R4;

class CProjectStore {
 public:
  CProjectStore(CSQLite& db, COPCServer& server) : m_db(db), m_server(server) {}

  CSQLite& Database() const { return m_db; }
  COPCServer& Server() const { return m_server; }
  // The wait cursor shown around a save and each load step (none by default).
  void SetFeedback(IDbFeedback* feedback) { m_pFeedback = feedback; }

  // Saves the server's configuration under name. Returns the new project id, or -1 when
  // the database could not be opened, the old rows could not be cleaned, or a row of the
  // project, of a group or of an item could not be written (the rows written stay; each
  // failure is logged). A successful save clears the project-modified flag.
  int Save(const std::string& name);

  // Creates the project's groups on the connected server (locale 1033). False after the
  // incoherent-data message, or when the groups could not be read.
  bool LoadGroups(int projectId, IProjectLoadObserver* observer);
  // Creates the project's items in their groups, acquired then calculated in saved order,
  // then sends each group's acquired items to the server. False after the incoherent-data
  // or unknown-group message, or when the items could not be read.
  bool LoadItems(int projectId, IProjectLoadObserver* observer);

 private:
  // Shows the wait cursor for the lifetime of one save or load step.
  class CWait {
   public:
    explicit CWait(IDbFeedback* feedback) : m_pFeedback(feedback) {
      if (m_pFeedback != nullptr)
        m_pFeedback->BeginWait();
    }
    ~CWait() {
      if (m_pFeedback != nullptr)
        m_pFeedback->EndWait();
    }
    CWait(const CWait&) = delete;
    CWait& operator=(const CWait&) = delete;

   private:
    IDbFeedback* m_pFeedback;
  };

  int SaveGroup(int projectId, const OPCGroupSettings& settings);
  bool SaveItems(int groupId, const OPCGroupConfiguration& group);

  CSQLite& m_db;
  COPCServer& m_server;
  IDbFeedback* m_pFeedback = nullptr;
};

// Dead band as stored: truncated toward zero (0 for a value that is not a number, the
// nearest int limit beyond them).
int StoredDeadBand(float deadBand);
