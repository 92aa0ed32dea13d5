// One output line per domain record, in the two formats of quorvix-cli.
#pragma once

#include <string>

#include "cli/cli_options.h"

class CDomainData;

// The status cell as the list shows it, without its colour tag ("Free", "NA", "Error", "?"), or
// the record's status text in upper case when it has one.
std::string PlainStatusCell(const CDomainData& record);
// "free", "taken", "reserved", "resolves", "queued", "unchecked", "error"; "unknown" otherwise.
const char* StateName(int state);

// TSV: the exported cells Domain, Status, Created, Expires, Updated, Checked On, Whois Server,
// Registrar (dates as YYYY-MM-DD), separated by tabs; with `withWhois` a ninth cell with the
// stored WHOIS text. Every cell is escaped (EscapeTsvCell). Ends in "\n".
std::string FormatRecordTsv(const CDomainData& record, bool withWhois);
// JSON: one object on one line with the state code and name, the dates in ISO 8601 (null when
// not valid) and the texts as UTF-8. Ends in "\n". Never throws for any record content.
std::string FormatRecordJson(const CDomainData& record, bool withWhois);

std::string FormatRecord(const CDomainData& record, OutputFormat format, bool withWhois);
