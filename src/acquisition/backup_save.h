#pragma once
// The backup save worker: writes the job's rows as a delimited file, reading them a page
// at a time (older rows come back from the recording) and writing the text in chunks, so
// memory stays bounded whatever the length. The file is replaced whole or not at all. Failures end
// the job with status 21 and, when there is one, the cause text that the owner logs after the error
// line. Thread rule: RunBackupSave runs on the worker thread and touches only the job.
#include <string>

class COPCDataJob;

// The cause texts of a file failure, by the program's cause codes 1..14 ("Unspecified
// Error Occurred" ... "Unexpected End of File"); empty for other codes.
const char* FileCauseText(int cause);
// The cause code of a C library error number.
int FileCauseFromErrno(int error);
// "Unable to Open File ... " + the cause text, or "Unknown Error !!!" without one.
std::string OpenFailureText(int cause);

// The file is replaced whole or not at all; a target that is the database (databasePath)
// or one of its side files is refused.
void RunBackupSave(COPCDataJob& job, const std::string& databasePath = {});
