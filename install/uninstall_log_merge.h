// An upgrade's Uninstall.log: an installation into a folder that holds the log of an earlier
// installation of the same application keeps the earlier records that it does not write again, so
// that uninstalling removes what every version installed. Portable: decisions over bytes and
// records; install/earlier_logs.cpp moves the files.
//
// The order that keeps a killed upgrade recoverable: the new log starts with every carried record
// (before the first file of the run is installed), the run appends its own, and only at the end is
// the log written once more without the carried records that the run wrote again.
#pragma once

#include <string>
#include <vector>

#include "uninstall_log_reader.h"

namespace quillset {

enum class EarlierLogUse {
    carry,      // this application's log, whole or cut off by a run that did not end: merged
    keepAside,  // damaged, edited, not a log, or another application's: kept under another name
};

struct EarlierLog {
    EarlierLogUse use = EarlierLogUse::keepAside;
    UninstallLogContents contents;  // when carried
    std::string why;                // when kept aside: what the reader found, or whose log it is
};

// Judges the bytes of an earlier Uninstall.log for an installation of `appName`. A whole log is
// this application's when its key line names this application's Uninstall key (compared as the
// registry compares key names, without regard to ASCII case). A log cut off before its key line
// names no application: a run into this folder was killed, and its records name files that are on
// disk, so it is carried too (this is also how a second start finishes a killed upgrade).
EarlierLog judgeEarlierLog(const std::string& bytes, const std::string& appName);

// The records a new log starts with: those of each earlier log in turn, in their order, each
// place once (the first record that names it).
std::vector<UninstallRecord> carriedRecords(const std::vector<std::vector<UninstallRecord>>& earlierLogs);

// The records of the finished log: the carried records whose place the run did not write again,
// in their order, then the run's own records exactly as it wrote them. Places are compared as the
// file system compares names (ASCII case aside).
std::vector<UninstallRecord> mergedRecords(const std::vector<UninstallRecord>& carried,
                                           const std::vector<UninstallRecord>& written);

// The name under which an earlier log that is not carried is kept beside the new one, for the
// `attempt`th free name (1, 2, ...): "Uninstall.log.previous", then "Uninstall.log.previous-2", ...
// A kept log is never overwritten: the caller takes the first name that is free.
std::string keptLogName(int attempt);
constexpr int kKeptLogNames = 99;

}  // namespace quillset
