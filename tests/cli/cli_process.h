// Runs quorvix-cli (or any program) as a child process for end-to-end tests: arguments, extra
// environment, standard input, and a time limit after which the child is killed.
#pragma once

#include <chrono>
#include <string>
#include <vector>

struct ProcessResult {
    int exitCode = -1;      // the exit status, or 128 + signal when a signal ended the child
    bool timedOut = false;  // killed at the time limit
    std::string out;
    std::string err;
};

struct ProcessOptions {
    std::vector<std::string> env;  // "NAME=value" added to (or replacing in) the environment
    std::string input;             // written to standard input, which is then closed
    bool inputFromNull = false;    // standard input is /dev/null instead of a pipe
    std::string outputPath;        // standard output goes to this file instead of a pipe
    int timeoutMs = 60000;
};

// A running child. Its output is collected while it runs.
class CChildProcess {
public:
    CChildProcess(const std::string& program, const std::vector<std::string>& args,
                  const ProcessOptions& options);
    ~CChildProcess();  // kills a child that still runs
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    // Sends a signal to the child; false when it has already ended.
    bool Signal(int signal);
    // Collects output until the child ends or the time limit passes (then it is killed).
    ProcessResult Wait();

private:
    int m_pid = -1;
    int m_outFd = -1;
    int m_errFd = -1;
    std::chrono::steady_clock::time_point m_deadline;
    ProcessResult m_result;
    bool m_bDone = false;
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options = ProcessOptions());

// The quorvix-cli of this build tree.
std::string CliPath();
ProcessResult RunQuorvixCli(const std::vector<std::string>& args,
                            const ProcessOptions& options = ProcessOptions());

// Lines of a text, without their "\n".
std::vector<std::string> SplitLines(const std::string& text);
std::vector<std::string> SplitTabs(const std::string& line);

// Environment for a quorvix-cli run in a test: HOME and XDG_CONFIG_HOME inside `home` (so the
// machine's own settings never count), a short scheduler tick and, when `port` > 0, that WHOIS
// port.
std::vector<std::string> CliTestEnvironment(const std::string& home, int port, int tickMs = 50);
