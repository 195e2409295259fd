// Transfers of a 200 MB file by GETFILE and by HTTP over loopback, each beside the throughput of
// a plain TCP send loop measured in the same run, and a stream of small HTTP GETs.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "link/linkcontroller.h"
#include "link/linklog.h"

namespace {

using namespace vesk;

constexpr size_t kBigFile = 200u * 1024 * 1024;
constexpr int kSmallRequests = 10000;
constexpr int kClientThreads = 4;

/// Formats every line as the log would and keeps only a count.
class CountingLog : public LinkLog {
public:
    void AddLog(const std::string& message, int level) override
    {
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        benchmark::DoNotOptimize(FormatLogLine(local, level, message));
        ++lines;
    }
    void ShowMessage(const std::string&) override { ++lines; }
    long lines = 0;
};

QCoreApplication& App()
{
    static int argc = 1;
    static char name[] = "bench_link";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

void RunUntil(const std::function<bool()>& done)
{
    QTimer wake;
    wake.start(5);
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

int ConnectLoopback(unsigned port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval timeout{30, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool SendAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

/// The editor's side: a controller serving a project folder with a big file and a small page.
struct Editor {
    Editor()
    {
        App();
        folder = (std::filesystem::temp_directory_path() / ("vesk-bench-link-" + std::to_string(::getpid()))).string();
        std::filesystem::create_directories(folder + "/resources");
        std::ofstream big(folder + "/resources/big.bin", std::ios::binary);
        std::string block(1 << 20, '\0');
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>(i * 7 + 3);
        for (size_t written = 0; written < kBigFile; written += block.size())
            big.write(block.data(), static_cast<std::streamsize>(block.size()));
        big.close();
        std::ofstream(folder + "/index.html") << "<html><body>small page</body></html>";
        controller.SetProjectFolder(folder);
        controller.SetListenPort(0);
        // Any free port for HTTP: take one from the system, then listen there.
        int probe = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
        ::close(probe);
        controller.SetHttpPort(ntohs(address.sin_port));
        if (!controller.StartListening() || !controller.HttpListener())
            std::abort();
    }
    ~Editor()
    {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }
    static Editor& Get()
    {
        static Editor editor;
        return editor;
    }

    std::string folder;
    CountingLog log;
    CLinkController controller{log, 0};
};

/// Bytes per second of a plain blocking send loop from one thread to another over loopback.
double MeasureRawLoopback(size_t total)
{
    int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener, 1);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const unsigned port = ntohs(address.sin_port);
    QElapsedTimer timer;
    timer.start();
    std::thread sender([&] {
        int fd = ::accept(listener, nullptr, nullptr);
        std::string block(1 << 20, 'r');
        for (size_t sent = 0; sent < total;) {
            ssize_t n = ::send(fd, block.data(), std::min(block.size(), total - sent), MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += static_cast<size_t>(n);
        }
        ::close(fd);
    });
    int fd = ConnectLoopback(port);
    std::string buffer(1 << 20, '\0');
    size_t received = 0;
    for (ssize_t n; (n = ::recv(fd, buffer.data(), buffer.size(), 0)) > 0;)
        received += static_cast<size_t>(n);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    sender.join();
    ::close(fd);
    ::close(listener);
    return static_cast<double>(received) / seconds;
}

double RawLoopbackRate()
{
    // The best of three runs, so that a scheduling hiccup does not lower the reference.
    static const double rate = [] {
        double best = 0;
        for (int i = 0; i < 3; ++i)
            best = std::max(best, MeasureRawLoopback(kBigFile));
        return best;
    }();
    return rate;
}

void BM_RawLoopbackSendLoop(benchmark::State& state)
{
    for (auto _ : state) {
        const double rate = MeasureRawLoopback(kBigFile);
        state.SetIterationTime(static_cast<double>(kBigFile) / rate);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBigFile));
}

/// Receives everything after the head (up to the end mark) and then length bytes; answers the count.
size_t ReceiveAnswer(int fd, char endOfHead, std::string_view lengthKey, std::string& head)
{
    std::string buffer(1 << 20, '\0');
    size_t headEnd = std::string::npos;
    while (headEnd == std::string::npos) {
        ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (n <= 0)
            return 0;
        head.append(buffer.data(), static_cast<size_t>(n));
        headEnd = endOfHead == '\x03' ? head.find('\x03') : head.find("\r\n\r\n");
    }
    headEnd += endOfHead == '\x03' ? 1 : 4;
    const size_t at = head.find(lengthKey);
    if (at == std::string::npos)
        return 0;
    const size_t length = std::stoull(head.substr(at + lengthKey.size()));
    size_t received = head.size() - headEnd;
    while (received < length) {
        ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (n <= 0)
            break;
        received += static_cast<size_t>(n);
    }
    return received;
}

void TransferBenchmark(benchmark::State& state, bool http)
{
    Editor& editor = Editor::Get();
    const double raw = RawLoopbackRate();
    const unsigned port = http ? editor.controller.HttpListenerPort() : editor.controller.CommandListenerPort();
    double bestRate = 0;
    for (auto _ : state) {
        std::atomic<bool> done{false};
        size_t received = 0;
        QElapsedTimer timer;
        timer.start();
        std::thread client([&] {
            int fd = ConnectLoopback(port);
            std::string head;
            if (fd >= 0 && SendAll(fd, http ? std::string("GET /resources/big.bin HTTP/1.0\r\n\r\n")
                                            : std::string("\x02{'Command':'GETFILE','File':'big.bin'}\x03")))
                received = http ? ReceiveAnswer(fd, '\n', "Content-Length: ", head)
                                : ReceiveAnswer(fd, '\x03', "'Length':", head);
            if (fd >= 0)
                ::close(fd);
            done = true;
        });
        RunUntil([&] { return done.load(); });
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        client.join();
        if (received != kBigFile) {
            state.SkipWithError("the file did not arrive whole");
            break;
        }
        state.SetIterationTime(seconds);
        bestRate = std::max(bestRate, static_cast<double>(kBigFile) / seconds);
    }
    // Let the editor destroy the closed connections before the next benchmark.
    RunUntil([&] { return !editor.controller.TerminalConnection() && editor.controller.HttpConnectionCount() == 0; });
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBigFile));
    state.counters["raw_MBps"] = raw / 1e6;
    state.counters["best_MBps"] = bestRate / 1e6;
    state.counters["best_to_raw"] = bestRate / raw;
}

void BM_GetFile200MB(benchmark::State& state)
{
    TransferBenchmark(state, false);
}

void BM_Http200MB(benchmark::State& state)
{
    TransferBenchmark(state, true);
}

void BM_HttpSmallGets(benchmark::State& state)
{
    Editor& editor = Editor::Get();
    const unsigned port = editor.controller.HttpListenerPort();
    long failures = 0;
    for (auto _ : state) {
        std::atomic<int> finished{0};
        std::atomic<long> failed{0};
        std::vector<std::thread> clients;
        for (int c = 0; c < kClientThreads; ++c)
            clients.emplace_back([&] {
                for (int i = 0; i < kSmallRequests / kClientThreads; ++i) {
                    int fd = ConnectLoopback(port);
                    std::string head;
                    const bool ok = fd >= 0 && SendAll(fd, "GET / HTTP/1.0\r\nHost: bench\r\n\r\n") &&
                                    ReceiveAnswer(fd, '\n', "Content-Length: ", head) == 36;
                    if (!ok)
                        ++failed;
                    if (fd >= 0)
                        ::close(fd);
                }
                ++finished;
            });
        RunUntil([&] { return finished.load() == kClientThreads; });
        for (std::thread& client : clients)
            client.join();
        failures += failed.load();
    }
    RunUntil([&] { return editor.controller.HttpConnectionCount() == 0; });
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kSmallRequests);
    state.counters["requests_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kSmallRequests, benchmark::Counter::kIsRate);
    state.counters["failed"] = static_cast<double>(failures);
    if (failures > 0)
        state.SkipWithError("some requests failed");
}

BENCHMARK(BM_RawLoopbackSendLoop)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetFile200MB)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Http200MB)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HttpSmallGets)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
