#pragma once
// A saved project read back as a project file ("velmora-cli project export"), and the
// removal of a saved project ("velmora-cli project delete").
// Thread rule: the database's thread.
#include <string>

#include "db/project_file.h"
#include "db/sqlite_db.h"

// Reads the project of this name (the newest one should several share it) into file.
// 1 found, 0 no such project, -1 the database could not be read (error says why).
int ExportProject(CSQLite& db, const std::string& name, ProjectFile& file, std::string& error);

// Deletes every project of this name with its groups and items, children first, in one
// transaction. 1 deleted, 0 no such project, -1 failure (error says why).
int DeleteProject(CSQLite& db, const std::string& name, std::string& error);
