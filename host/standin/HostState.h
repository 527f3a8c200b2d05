#pragma once

// The data this process's host serves: loaded on first use from the folder named by the
// environment variable BRIDGE_HOST_DATA, else from "hostdata" beside the program. A refused
// folder is reported once, in a message box, and the host then serves nothing (Initiate fails).

#include <string>

#include "host/standin/HostData.h"

namespace standin {

// Null when the data folder was refused.
const HostData* ServedData();

// The data when it has been loaded already, else null: never loads it.
const HostData* ServedDataIfLoaded();

// The call log's file (code page 932), empty when no log is written: what BRIDGE_HOST_LOG
// named when the data was loaded, and until then what it names now. Every host call asks,
// so once the data is loaded the environment is not read again.
const std::string& CallLogPath();

// The company a set or rule works on: the one with `dataId` when it is not empty, else the
// company the user has open. Null when there is none.
const CompanyBooks* CompanyFor(const char* dataId);

// Makes the company with `dataId` the current one of a set or rule (its `current` field):
// 0, or -1 with nothing changed when no company has that id.
long TakeCurrentDataId(const char* dataId, char (&current)[16]);

// The record of the company the user has open; all zero when there is none.
const StDATAINFO& SelectedRecord();

// Tests only: serve `data`, built in memory, from the next host call on, as if it had been
// loaded from a folder; the call log goes to `logPath` (code page 932; empty: no log).
void ServeForTests(HostData data, const std::string& logPath);

// Tests only: forget the loaded data, so that the next host call loads the folder that
// BRIDGE_HOST_DATA names then and logs to the file BRIDGE_HOST_LOG names then.
void ResetHostForTests();

}  // namespace standin
