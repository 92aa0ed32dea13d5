// quorvix-cli dump of a full list (2500 records, 16 KiB of WHOIS text each, about 41 MB) against
// cat of the same file in the same run: the "x_cat" counter is the dump's time over cat's.
// The program is found through $QUORVIX_CLI, else beside this build's bench folder (../cli).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "domains/data_file.h"
#include "domains/domain_array.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string CliProgram() {
    if (const char* p = std::getenv("QUORVIX_CLI"))
        return p;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return (self.parent_path().parent_path() / "cli" / "quorvix-cli").string();
}

const std::string& SampleFile() {
    static const std::string path = [] {
        const fs::path p = fs::temp_directory_path() / "quorvix-dump-bench.dcd";
        CDomainArray list;
        std::string text;
        while (text.size() < 16 * 1024) {
            text += "Registrar WHOIS Server: whois.registrar.test\r\nUpdated Date: 2024-08-14\r\n";
        }
        text.resize(16 * 1024);
        for (int i = 0; i < MAX_DOMAINS; ++i) {
            auto r = std::make_unique<CDomainData>("name" + std::to_string(i) + ".com");
            r->m_nState = i % 3 == 0 ? STATE_FREE : STATE_TAKEN;
            r->m_dtChecked = CDateTime::FromDateTime(2026, 12, 6, 21, i % 60, 0);
            r->m_dtCreated = CDateTime::FromDate(1995 + i % 30, 1 + i % 12, 1 + i % 28);
            r->m_dtExpires = CDateTime::FromDate(2027, 8, 13);
            r->m_strRegistrar = "Example Registrar, Inc.";
            r->m_strWhoisServer = "whois.registrar.test";
            r->m_strStatus = i % 3 == 0 ? "" : "clientTransferProhibited";
            r->m_strWhoisText = text;
            list.Append(std::move(r));
        }
        SaveDomainFile(p.string(), list);
        return p.string();
    }();
    return path;
}

// Runs the program with standard output to /dev/null; seconds taken, or -1 when it failed.
double RunToNull(const std::vector<std::string>& args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> copy = args;
    std::vector<char*> argv;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? secs : -1;
}

double CatBaseline() {
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        const double t = RunToNull({"cat", SampleFile()});
        if (t > 0 && t < best)
            best = t;
    }
    return best;
}

void BM_Cat(benchmark::State& state) {
    for (auto _ : state) {
        if (RunToNull({"cat", SampleFile()}) < 0)
            state.SkipWithError("cat failed");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(SampleFile())));
}

void RunDump(benchmark::State& state, std::vector<std::string> extra) {
    const double baseline = CatBaseline();
    std::vector<std::string> args = {CliProgram(), "dump"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(SampleFile());
    double total = 0;
    for (auto _ : state) {
        const double t = RunToNull(args);
        if (t < 0) {
            state.SkipWithError(("cannot run " + args[0]).c_str());
            break;
        }
        total += t;
    }
    if (state.iterations() > 0 && baseline > 0) {
        state.counters["x_cat"] = total / static_cast<double>(state.iterations()) / baseline;
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(SampleFile())));
}

void BM_DumpTsv(benchmark::State& state) {
    RunDump(state, {});
}
void BM_DumpTsvWhois(benchmark::State& state) {
    RunDump(state, {"--whois"});
}
void BM_DumpJsonWhois(benchmark::State& state) {
    RunDump(state, {"--format", "json", "--whois"});
}

BENCHMARK(BM_Cat)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DumpTsv)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DumpTsvWhois)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DumpJsonWhois)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
