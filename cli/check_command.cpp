#include "cli/check_command.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>

#include "cli/cli_lookup_host.h"
#include "cli/console.h"
#include "cli/exit_codes.h"
#include "cli/record_output.h"
#include "cli/settings_source.h"
#include "domains/data_file.h"
#include "domains/domain_array.h"
#include "domains/intake.h"
#include "framework/socket_library.h"
#include "framework/text.h"

namespace {

using Clock = std::chrono::steady_clock;

// Standard input beyond this is refused: even 2500 names with much noise between them are far less.
constexpr size_t kMaxInputBytes = 256u * 1024 * 1024;

bool ReadWholeStream(std::FILE* in, std::string& text) {
    char buf[65536];
    for (;;) {
        const size_t got = std::fread(buf, 1, sizeof buf, in);
        if (got > 0) {
            if (text.size() + got > kMaxInputBytes)
                return false;
            text.append(buf, got);
        }
        if (got < sizeof buf)
            return std::ferror(in) == 0;
    }
}

// Loads the --data file. A missing file starts a new list; a damaged one is refused, since saving
// over it would throw away whatever follows the damage.
bool LoadDataFile(const std::string& path, CDomainArray& domains, const CliStreams& streams) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path p(path);
    const fs::file_status st = fs::status(p, ec);
    if (fs::exists(st)) {
        if (!fs::is_regular_file(st)) {
            ReportProblem(streams, "cannot read data file " + path + ": not a regular file");
            return false;
        }
        if (fs::file_size(p, ec) == 0 && !ec)
            return true;  // nothing in it yet
    } else {
        fs::path folder = p.parent_path();
        if (folder.empty())
            folder = ".";
        if (!fs::is_directory(folder, ec)) {
            ReportProblem(streams, "cannot write data file " + path + ": folder " +
                                       folder.string() + " does not exist");
            return false;
        }
    }
    switch (LoadDomainFileChecked(path, domains)) {
        case DataFileCondition::complete:
            return true;
        case DataFileCondition::missing:
            if (fs::exists(p, ec)) {
                ReportProblem(streams, "cannot read data file " + path);
                return false;
            }
            return true;
        case DataFileCondition::damaged:
            ReportProblem(streams, "data file " + path + " is damaged after " +
                                       std::to_string(domains.GetCount()) +
                                       " records; it was left unchanged");
            return false;
        case DataFileCondition::readError:
        default:
            ReportProblem(streams, "cannot read data file " + path + " (read error after " +
                                       std::to_string(domains.GetCount()) + " records)");
            return false;
    }
}

// Adds the names through the same intake as the Add dialog and tells what it refused.
void AddNames(CDomainArray& domains, const std::string& text, const CliStreams& streams) {
    int offered = 0;
    const std::string prepared = PrepareIntakeText(text);
    ForEachNameToken(prepared, [&](std::string_view) {
        ++offered;
        return true;
    });
    const int added = ImportNames(domains, text, nullptr);
    if (added >= offered)
        return;
    if (domains.GetCount() >= MAX_DOMAINS) {
        ReportProblem(streams, FormatText("the list is full (%d names); %d names were not added",
                                          MAX_DOMAINS, offered - added));
    } else {
        ReportProblem(streams, FormatText("%d names refused: only com, net, org, edu, biz and "
                                          "info names are accepted",
                                          offered - added));
    }
}

std::string JoinArguments(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& n : names) {
        text += n;
        text.push_back('\n');
    }
    return text;
}

class CProgressLine {
public:
    CProgressLine(const CliStreams& streams, bool enabled)
        : m_streams(streams), m_bEnabled(enabled), m_start(Clock::now()) {}

    void Show(int done, int total, int queued, int running, bool force) {
        if (!m_bEnabled)
            return;
        const auto now = Clock::now();
        if (!force && now - m_last < std::chrono::milliseconds(200))
            return;
        m_last = now;
        const long long secs =
            std::chrono::duration_cast<std::chrono::seconds>(now - m_start).count();
        const std::string line =
            FormatText("\rdone %d/%d, queued %d, running %d, elapsed %lld:%02lld\033[K", done,
                       total, queued, running, secs / 60, secs % 60);
        WriteText(m_streams.err, line);
        std::fflush(m_streams.err);
        m_bShown = true;
    }
    void Clear() {
        if (!m_bShown)
            return;
        WriteText(m_streams.err, "\r\033[K");
        std::fflush(m_streams.err);
        m_bShown = false;
    }

private:
    const CliStreams& m_streams;
    bool m_bEnabled;
    bool m_bShown = false;
    Clock::time_point m_start;
    Clock::time_point m_last{};
};

}  // namespace

int EnvironmentInt(const char* name, int low, int high, int def) {
    const char* text = std::getenv(name);
    if (!text || !*text)
        return def;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v < low || v > high)
        return def;
    return static_cast<int>(v);
}

int RunCheck(const CliOptions& options, const CliStreams& streams) {
    std::string error, warning;
    std::shared_ptr<ISettingsStore> store = OpenCliSettings(options.settingsFile, error, warning);
    if (!store) {
        ReportProblem(streams, error);
        return kExitBadInput;
    }
    if (!warning.empty())
        ReportProblem(streams, warning);

    const bool withData = !options.dataFile.empty();
    CDomainArray domains;
    if (withData && !LoadDataFile(options.dataFile, domains, streams))
        return kExitBadInput;

    if (!options.names.empty()) {
        AddNames(domains, JoinArguments(options.names), streams);
    } else if (!withData || !IsTerminal(streams.in)) {
        // Without names the list comes from standard input; with a data file a terminal is not
        // waited on, so "check --data FILE" alone looks up the file's list.
        std::string text;
        if (!ReadWholeStream(streams.in, text)) {
            if (InterruptRequested()) {
                ReportProblem(streams, "interrupted while reading standard input");
                return kExitInterrupted;
            }
            ReportProblem(streams, "cannot read standard input (or it exceeds 256 MiB)");
            return kExitBadInput;
        }
        AddNames(domains, text, streams);
    }
    if (!withData && domains.GetCount() == 0) {
        ReportProblem(streams, "no domain names given");
        return kExitBadInput;
    }

    // Only unchecked and failed records are looked up; the others keep their results.
    std::vector<std::string> scope;
    std::set<std::string> scopeKeys;
    for (int i = 0; i < domains.GetCount(); ++i) {
        const CDomainData* r = domains.GetRecord(i);
        if (r->m_nState != STATE_UNCHECKED && r->m_nState != STATE_ERROR)
            continue;
        if (scopeKeys.insert(ToLower(r->m_strName)).second)
            scope.push_back(r->m_strName);
    }

    CSocketLibrary sockets;
    if (!sockets.IsStarted()) {
        ReportProblem(streams, "Unable to Initialize WinSock");
        return kExitBadInput;
    }

    const int tickMs = EnvironmentInt(kTickEnvironment, 1, 600000, kLookupTimerPeriodMs);
    const int port = EnvironmentInt(kPortEnvironment, 1, 65535, kWhoisPort);
    CCliLookupHost host(store, port, options.maxAttempts);
    CLookupScheduler scheduler(domains, *store, SystemClock(), host);
    CProgressLine progress(streams, IsTerminal(streams.err));
    const int total = static_cast<int>(scope.size());
    auto showProgress = [&](bool force) {
        const int queued = scheduler.GetQueue().GetSize();
        const int running = scheduler.GetActiveCount();
        progress.Show(std::max(0, total - queued - running), total, queued, running, force);
    };

    // Like the Lookup command on every row: queue them all and run the first step at once.
    scheduler.Lookup(scope);
    auto nextTick = Clock::now() + std::chrono::milliseconds(tickMs);
    while (!scheduler.IsIdle() && !InterruptRequested()) {
        const auto now = Clock::now();
        if (now >= nextTick) {
            scheduler.RunLookupTick();
            nextTick += std::chrono::milliseconds(tickMs);
            if (nextTick <= now)
                nextTick = now + std::chrono::milliseconds(tickMs);
            showProgress(true);
            continue;
        }
        // Short waits keep Ctrl-C prompt while no completion arrives.
        const auto untilTick =
            std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - now).count();
        const int waitMs = static_cast<int>(std::clamp<long long>(untilTick, 1, 100));
        if (host.DeliverNext(waitMs, scheduler, domains, SystemClock())) {
            while (host.DeliverNext(0, scheduler, domains, SystemClock())) {
            }
        }
        showProgress(false);
    }
    const bool interrupted = !scheduler.IsIdle();
    int unfinished = 0;
    if (interrupted) {
        unfinished = scheduler.GetQueue().GetSize() + scheduler.GetActiveCount();
        scheduler.Stop();
    }
    progress.Clear();

    int exitCode = kExitOk;
    // The file first: a failing output (a closed pipe, a full disk) must not cost the results.
    if (withData && !SaveDomainFile(options.dataFile, domains)) {
        ReportProblem(streams, "cannot write data file " + options.dataFile +
                                   "; the old file was left unchanged");
        exitCode = kExitBadInput;
    }

    std::string out;
    for (int i = 0; i < domains.GetCount(); ++i) {
        out += FormatRecord(*domains.GetRecord(i), options.format, false);
    }
    if (!WriteText(streams.out, out) || std::fflush(streams.out) != 0) {
        ReportProblem(streams,
                      std::string("cannot write standard output: ") + std::strerror(errno));
        exitCode = kExitBadInput;
    }

    int failed = 0;
    for (const std::string& name : scope) {
        const CDomainData* r = domains.Find(name);
        if (!r || (r->m_nState != STATE_FREE && r->m_nState != STATE_TAKEN))
            ++failed;
    }
    if (interrupted) {
        ReportProblem(streams, FormatText("interrupted; %d names were not looked up", unfinished));
        if (exitCode == kExitOk)
            exitCode = kExitInterrupted;
    } else if (failed > 0) {
        ReportProblem(streams, FormatText("%d of %d names got no verdict", failed, total));
        if (exitCode == kExitOk)
            exitCode = kExitSomeFailed;
    }

    if (host.RunningThreads() > 0) {
        // Workers still wait on their servers after Ctrl-C; nothing of theirs is needed any more.
        std::fflush(streams.out);
        std::fflush(streams.err);
        std::_Exit(exitCode);
    }
    return exitCode;
}
