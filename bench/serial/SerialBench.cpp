// How long the serial component adds to the line: a byte written at the far end of a
// pseudo-terminal until Read returns it, Write of one 44-byte frame, and a whole
// transaction (44 bytes out, 45 bytes back read one by one) with a far end that answers
// at once. The latencies are reported as medians.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "serial/CommX.h"

namespace {

using Clock = std::chrono::steady_clock;
using mxc9::PumpedUiThread;
using mxc9::TCommX;

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The component open on the slave side of a fresh pseudo-terminal, set up as the
// controller's line.
struct Line {
    int master = -1;
    std::string path;
    PumpedUiThread ui;
    TCommX comm{ui, [this](int32_t) { return path; }};
    Line() {
        int slave = -1;
        char name[64] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return;
        close(slave);
        path = name;
        comm.SetBitRate(1200);
        comm.SetFlowCtrl(mxc9::cfcNone);
        comm.SetTimeOutReceive(1000);
        comm.Open();
    }
    ~Line() {
        comm.Close();
        if (master >= 0) close(master);
    }
    // Reads `count` bytes at the far end (or gives up after a second).
    void Drain(size_t count) {
        char buffer[256];
        while (count > 0) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 1000) <= 0) return;
            const ssize_t n = read(master, buffer, std::min(count, sizeof buffer));
            if (n <= 0) return;
            count -= static_cast<size_t>(n);
        }
    }
};

void BM_ReadLatency(benchmark::State& state) {
    Line line;
    std::vector<double> latencies;
    for (auto _ : state) {
        std::atomic<int64_t> sentAt{0};
        std::thread far([&] {
            std::this_thread::sleep_for(
                std::chrono::microseconds(300 + latencies.size() % 7 * 250));
            sentAt = Clock::now().time_since_epoch().count();
            (void)!write(line.master, "x", 1);
        });
        char byte;
        const int32_t got = line.comm.Read(&byte, 1);
        const auto returned = Clock::now().time_since_epoch().count();
        far.join();
        if (got != 1) {
            state.SkipWithError("no byte");
            break;
        }
        const double seconds = static_cast<double>(returned - sentAt.load()) * 1e-9;
        latencies.push_back(seconds * 1e3);
        state.SetIterationTime(seconds);
    }
    state.counters["median_ms"] = Median(latencies);
}
BENCHMARK(BM_ReadLatency)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

void BM_Write44(benchmark::State& state) {
    Line line;
    const std::string frame(44, '\x5a');
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
        line.comm.SendString(frame);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        state.PauseTiming();
        line.Drain(frame.size());
        state.ResumeTiming();
    }
    state.counters["median_ms"] = Median(times);
}
BENCHMARK(BM_Write44)->Iterations(300)->Unit(benchmark::kMicrosecond);

void BM_Transaction(benchmark::State& state) {
    Line line;
    const std::string frame(44, '\x11');
    std::atomic<bool> stop{false};
    // The far end answers each 44-byte frame at once with 45 bytes.
    std::thread far([&] {
        while (!stop) {
            line.Drain(44);
            if (stop) break;
            const std::string reply(45, '\x06');
            (void)!write(line.master, reply.data(), reply.size());
        }
    });
    std::vector<double> times;
    for (auto _ : state) {
        const auto start = Clock::now();
        line.comm.PurgeReceive();
        line.comm.SendString(frame);
        int count = 0;
        char byte;
        while (count < 45 && line.comm.Read(&byte, 1) == 1) ++count;
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (count != 45) {
            state.SkipWithError("short reply");
            break;
        }
    }
    stop = true;
    (void)!write(line.master, "", 0);
    line.comm.SendString(frame);  // lets the far end leave its wait
    far.join();
    state.counters["median_ms"] = Median(times);
}
BENCHMARK(BM_Transaction)->Iterations(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
