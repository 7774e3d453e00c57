#pragma once
// The schema of Velmora.sq3 (version 2: the version that has the Config table) and the
// scripts that create it in a new file or bring a version-1 file up to it. Each script
// is one transaction run by one Run on the open handle, so a failure leaves no
// partial schema behind.
#include <string>

#include "db/sqlite_db.h"

inline constexpr int kSchemaVersion = 2;
inline constexpr int kSchemaVersionWithoutConfig = 1;

// The whole creation script: every table, index and OleVariant row.
std::string CreateSchemaScript();
// The script that turns a version-1 file into version 2: Config with the release row,
// and the acquisition tables made anew (their rows are dropped; projects stay).
std::string UpgradeSchemaScript();

// The name of a variant type code as the OleVariant table has it, for lists that show a
// stored code: "VT_R8 (Double)"; the code itself when the table does not know it.
std::string VariantTypeLabel(int code);

// Runs the creation script on the open handle.
bool CreateSchema(CSQLite& db);
// On the open handle: nothing to do when Config exists (from = to = 2); otherwise the
// upgrade script from 1 to 2. Fails without touching the file when the tables cannot be
// listed, since the version is then unknown. from and to always come back set.
bool UpgradeSchema(CSQLite& db, int& nFromVersion, int& nToVersion);
