#include "tests/cli/cli_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <thread>

extern char** environ;

namespace {

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
    std::map<std::string, std::string> vars;
    for (char** e = environ; e && *e; ++e) {
        const std::string kv = *e;
        const size_t eq = kv.find('=');
        vars[kv.substr(0, eq)] = kv;
    }
    for (const std::string& kv : extra) vars[kv.substr(0, kv.find('='))] = kv;
    std::vector<std::string> out;
    for (auto& [k, v] : vars) out.push_back(v);
    return out;
}

void Drain(int& fd, std::string& into) {
    if (fd < 0)
        return;
    char buf[65536];
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0) {
        into.append(buf, static_cast<size_t>(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
        close(fd);
        fd = -1;
    }
}

}  // namespace

CChildProcess::CChildProcess(const std::string& program, const std::vector<std::string>& args,
                             const ProcessOptions& options)
    : m_deadline(std::chrono::steady_clock::now() + std::chrono::milliseconds(options.timeoutMs)) {
    int inPipe[2] = {-1, -1}, outPipe[2] = {-1, -1}, errPipe[2] = {-1, -1};
    if (!options.inputFromNull && pipe(inPipe) != 0)
        return;
    if (options.outputPath.empty() && pipe(outPipe) != 0)
        return;
    if (pipe(errPipe) != 0)
        return;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.inputFromNull) {
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    } else {
        posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
        posix_spawn_file_actions_addclose(&actions, inPipe[1]);
    }
    if (options.outputPath.empty()) {
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
        posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, options.outputPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);

    std::vector<std::string> argStrings;
    argStrings.push_back(program);
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envStrings = MergedEnvironment(options.env);
    std::vector<char*> envp;
    for (std::string& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);

    // The child starts with default signal handling whatever the test runner set.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t all;
    sigemptyset(&all);
    sigaddset(&all, SIGINT);
    sigaddset(&all, SIGPIPE);
    sigaddset(&all, SIGTERM);
    posix_spawnattr_setsigdefault(&attr, &all);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, &attr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);

    if (inPipe[0] >= 0)
        close(inPipe[0]);
    if (outPipe[1] >= 0)
        close(outPipe[1]);
    close(errPipe[1]);
    m_outFd = outPipe[0];
    m_errFd = errPipe[0];
    if (rc != 0) {
        if (inPipe[1] >= 0)
            close(inPipe[1]);
        return;
    }
    m_pid = pid;

    if (inPipe[1] >= 0) {
        // A writer thread, so a child that does not read its input cannot block the test.
        std::string input = options.input;
        const int fd = inPipe[1];
        std::thread([fd, input]() {
            signal(SIGPIPE, SIG_IGN);
            size_t done = 0;
            while (done < input.size()) {
                const ssize_t n = write(fd, input.data() + done, input.size() - done);
                if (n <= 0)
                    break;
                done += static_cast<size_t>(n);
            }
            close(fd);
        }).detach();
    }
}

CChildProcess::~CChildProcess() {
    if (m_pid > 0 && !m_bDone) {
        kill(m_pid, SIGKILL);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
    if (m_outFd >= 0)
        close(m_outFd);
    if (m_errFd >= 0)
        close(m_errFd);
}

bool CChildProcess::Signal(int sig) {
    return m_pid > 0 && !m_bDone && kill(m_pid, sig) == 0;
}

ProcessResult CChildProcess::Wait() {
    if (m_pid <= 0 || m_bDone)
        return m_result;
    while (m_outFd >= 0 || m_errFd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              m_deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            m_result.timedOut = true;
            kill(m_pid, SIGKILL);
            break;
        }
        pollfd fds[2];
        int n = 0;
        if (m_outFd >= 0)
            fds[n++] = {m_outFd, POLLIN, 0};
        if (m_errFd >= 0)
            fds[n++] = {m_errFd, POLLIN, 0};
        const int ready =
            poll(fds, static_cast<nfds_t>(n), static_cast<int>(std::min<long long>(left, 200)));
        if (ready <= 0)
            continue;
        for (int i = 0; i < n; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            if (fds[i].fd == m_outFd)
                Drain(m_outFd, m_result.out);
            else
                Drain(m_errFd, m_result.err);
        }
    }
    int status = 0;
    for (;;) {
        const pid_t r = waitpid(m_pid, &status, WNOHANG);
        if (r == m_pid)
            break;
        if (std::chrono::steady_clock::now() > m_deadline) {
            m_result.timedOut = true;
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_bDone = true;
    if (WIFEXITED(status))
        m_result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        m_result.exitCode = 128 + WTERMSIG(status);
    return m_result;
}

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options) {
    CChildProcess child(program, args, options);
    if (!child.Started()) {
        ProcessResult r;
        r.err = "could not start " + program;
        return r;
    }
    return child.Wait();
}

std::string CliPath() {
    return QUORVIX_CLI_PATH;
}

ProcessResult RunQuorvixCli(const std::vector<std::string>& args, const ProcessOptions& options) {
    return RunProcess(CliPath(), args, options);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        cells.push_back(
            line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    return cells;
}

std::vector<std::string> CliTestEnvironment(const std::string& home, int port, int tickMs) {
    std::vector<std::string> env = {"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/config",
                                    "QUORVIX_CLI_TICK_MS=" + std::to_string(tickMs)};
    if (port > 0)
        env.push_back("QUORVIX_CLI_WHOIS_PORT=" + std::to_string(port));
    return env;
}
