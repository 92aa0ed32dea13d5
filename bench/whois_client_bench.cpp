// One WHOIS exchange against a loopback server, compared with a plain socket exchange of the same
// bytes (the baseline, same run), and the scheduler's per-name table lookups compared with two
// bare store reads.
#include <benchmark/benchmark.h>

#include <atomic>
#include <string>
#include <thread>

#include "framework/settings_store.h"
#include "framework/socket_library.h"
#include "framework/tcp_socket.h"
#include "whois/extension_table.h"
#include "whois/whois_client.h"

namespace {

constexpr int kAddressN = 24;

// Answers every connection with the same text until stopped; every wait is short, so the
// destructor ends it promptly.
class CLoopbackAnswerer {
public:
    explicit CLoopbackAnswerer(size_t answerBytes) : m_strAnswer(answerBytes, 'a') {
        m_listener = CTcpSocket::Create();
        if (!m_listener.Bind(LoopbackIpv4(kAddressN), 0) || !m_listener.Listen(64))
            return;
        m_nPort = m_listener.LocalPort();
        m_thread = std::thread([this] { Run(); });
    }
    ~CLoopbackAnswerer() {
        m_bStop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    int Port() const { return m_nPort; }

private:
    void Run() {
        char buffer[1024];
        while (!m_bStop) {
            CTcpSocket peer = m_listener.Accept(50);
            if (!peer.IsValid())
                continue;
            std::string query;
            while (query.find('\n') == std::string::npos) {
                const long n = peer.Receive(buffer, sizeof buffer, 1000);
                if (n <= 0)
                    break;
                query.append(buffer, static_cast<size_t>(n));
            }
            peer.SendAll(m_strAnswer.data(), m_strAnswer.size(), 1000);
            peer.ShutdownSend();
            // Let the client close first, so the answer is never cut by a reset.
            while (peer.Receive(buffer, sizeof buffer, 1000) > 0) {
            }
        }
    }

    std::string m_strAnswer;
    CSocketLibrary m_sockets;
    CTcpSocket m_listener;
    int m_nPort = -1;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

const char* const kAddress = "127.0.0.24";

// Baseline: the same exchange with plain large reads and no per-read clearing.
void BM_Baseline_PlainSocketExchange(benchmark::State& state) {
    CLoopbackAnswerer server(static_cast<size_t>(state.range(0)));
    std::string answer;
    char buffer[64 * 1024];
    for (auto _ : state) {
        answer.clear();
        CTcpSocket s = CTcpSocket::Create();
        Ipv4Address a = 0;
        ParseDottedIpv4(kAddress, a);
        if (!s.Connect(a, server.Port(), 2000))
            state.SkipWithError("connect");
        const std::string line = "domain example.com\r\n";
        s.SendAll(line.data(), line.size(), 2000);
        for (;;) {
            const long n = s.Receive(buffer, sizeof buffer, 2000);
            if (n <= 0)
                break;
            answer.append(buffer, static_cast<size_t>(n));
        }
        benchmark::DoNotOptimize(answer.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_Baseline_PlainSocketExchange)->Arg(2000)->Arg(64 * 1024)->UseRealTime();

void BM_WhoisQuery(benchmark::State& state) {
    CLoopbackAnswerer server(static_cast<size_t>(state.range(0)));
    std::string answer;
    for (auto _ : state) {
        if (!WhoisQuery("domain example.com", kAddress, answer, server.Port())) {
            state.SkipWithError("exchange failed");
        }
        benchmark::DoNotOptimize(answer.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_WhoisQuery)->Arg(2000)->Arg(64 * 1024)->UseRealTime();

// Baseline: the two store reads any per-name decision needs at least.
void BM_Baseline_TwoStoreReads(benchmark::State& state) {
    CMemorySettingsStore store;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.GetString("com", kValueServer));
        benchmark::DoNotOptimize(store.GetInt("whois.verisign-grs.com", kValueMaxConnections, 1));
    }
}
BENCHMARK(BM_Baseline_TwoStoreReads);

// What the scheduler asks for every name it considers: server, prefix and limits.
void BM_ServerAndLimitsForOneName(benchmark::State& state) {
    CMemorySettingsStore store;
    int max = 0, interval = 0;
    std::string prefix;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetWhoisServer(store, "some-domain-name.tw", prefix));
        GetConnectionLimits(store, "some-domain-name.tw", max, interval);
        benchmark::DoNotOptimize(max);
    }
}
BENCHMARK(BM_ServerAndLimitsForOneName);

}  // namespace
