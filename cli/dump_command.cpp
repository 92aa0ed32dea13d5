#include "cli/dump_command.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "cli/exit_codes.h"
#include "cli/record_output.h"
#include "domains/data_file.h"
#include "domains/domain_array.h"

int RunDump(const CliOptions& options, const CliStreams& streams) {
    namespace fs = std::filesystem;
    const std::string& path = options.dataFile;
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    if (!fs::exists(st)) {
        ReportProblem(streams, "cannot read data file " + path + ": no such file");
        return kExitBadInput;
    }
    if (!fs::is_regular_file(st)) {
        ReportProblem(streams, "cannot read data file " + path + ": not a regular file");
        return kExitBadInput;
    }

    CDomainArray domains;
    const DataFileCondition condition = LoadDomainFileChecked(path, domains);
    if (condition == DataFileCondition::missing) {
        ReportProblem(streams, "cannot read data file " + path);
        return kExitBadInput;
    }

    // What could be read is printed even from a damaged file: it is all there is to rescue.
    int exitCode = kExitOk;
    std::string out;
    for (int i = 0; i < domains.GetCount(); ++i) {
        out += FormatRecord(*domains.GetRecord(i), options.format, options.withWhois);
        // Keep memory bounded for lists with large WHOIS texts.
        if (out.size() >= (1u << 20)) {
            if (!WriteText(streams.out, out))
                break;
            out.clear();
        }
    }
    if (!WriteText(streams.out, out) || std::fflush(streams.out) != 0) {
        ReportProblem(streams,
                      std::string("cannot write standard output: ") + std::strerror(errno));
        exitCode = kExitBadInput;
    }

    if (condition == DataFileCondition::damaged) {
        const bool empty = fs::file_size(path, ec) == 0 && !ec;
        ReportProblem(streams, empty ? "data file " + path + " is empty"
                                     : "data file " + path + " is damaged after " +
                                           std::to_string(domains.GetCount()) + " records");
        exitCode = kExitBadInput;
    } else if (condition == DataFileCondition::readError) {
        ReportProblem(streams, "read error in data file " + path + " after " +
                                   std::to_string(domains.GetCount()) + " records");
        exitCode = kExitBadInput;
    }
    return exitCode;
}
