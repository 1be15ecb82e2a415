// What the program costs on top of the card: start-up to a filled dialog against the bare
// 2048 reads it must make, and the write loop against its fixed pace of 20 ms a byte.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/ClosingCard.h"
#include "driver/ConfigDriver.h"
#include "driver/DeviceSeam.h"
#include "driver/EmulatedCard.h"
#include "driver/WritePace.h"
#include "pnp/FactoryImage.h"
#include "script/ScriptRunner.h"

namespace {

// The card closed after each run, and when each byte write began and returned.
class CBenchCard final : public CClosingCard {
public:
    using Clock = std::chrono::steady_clock;

    BOOL DeviceIoControl(HANDLE device, DWORD ioControlCode, LPVOID inBuffer, DWORD inBufferSize,
                         LPVOID outBuffer, DWORD outBufferSize, LPDWORD bytesReturned,
                         LPOVERLAPPED overlapped) override {
        const bool write = ioControlCode == IOCTL_CNF_WRITE_BYTE;
        if (write) {
            NoteGapSinceLastWrite();
        }
        const BOOL result = CClosingCard::DeviceIoControl(
            device, ioControlCode, inBuffer, inBufferSize, outBuffer, outBufferSize, bytesReturned,
            overlapped);
        if (write) {
            m_lastWriteReturned = Clock::now();
            m_wroteBefore = true;
        }
        return result;
    }

    // The shortest time from a byte write's return to the next write's start: the EEPROM's
    // time to settle, which must never be under 20 ms.
    double SmallestGapMs() const { return m_smallestGapMs; }

private:
    void NoteGapSinceLastWrite() {
        if (!m_wroteBefore) {
            return;
        }
        const double gap =
            std::chrono::duration<double, std::milli>(Clock::now() - m_lastWriteReturned).count();
        if (m_smallestGapMs < 0 || gap < m_smallestGapMs) {
            m_smallestGapMs = gap;
        }
    }

    bool m_wroteBefore = false;
    Clock::time_point m_lastWriteReturned;
    double m_smallestGapMs = -1;
};

class CFactoryCard {
public:
    CFactoryCard() {
        char folder[] = "/tmp/vymsetup-bench-XXXXXX";
        m_folder = mkdtemp(folder) != nullptr ? folder : "/tmp";
        m_path = m_folder + "/eeprom.bin";
        Reset();
        setenv("VYMCNF_EEPROM", m_path.c_str(), 1);
        setenv("VYMCNF_DRIVE_C", m_folder.c_str(), 1);
        // Every write saves a backup first: they go to the benchmark's folder, not the user's.
        m_backups = m_folder + "/backups";
        setenv("VYMCNF_BACKUPS", m_backups.c_str(), 1);
    }
    ~CFactoryCard() {
        std::remove(m_path.c_str());
        std::filesystem::remove_all(m_backups);
        rmdir(m_folder.c_str());
    }
    void Reset() {
        std::ofstream(m_path, std::ios::binary)
            .write(reinterpret_cast<const char*>(FactoryImage().data()), EEPROM_SIZE);
    }

private:
    std::string m_folder;
    std::string m_path;
    std::string m_backups;
};

CFactoryCard& Card() {
    static CFactoryCard card;
    return card;
}

// One whole run of the program; returns the runner's exit status and, when it wrote, the
// smallest gap between two byte writes.
int RunOnce(const std::string& script, double* smallestGapMs = nullptr) {
    CBenchCard card;
    CTextLineSource in(script);
    CStringTextSink events;
    const int status = RunScript(in, events);
    if (smallestGapMs != nullptr) {
        *smallestGapMs = card.SmallestGapMs();
    }
    return status;
}

// The bare cost: open the card and read its 2048 bytes, one request each, as the program
// must; nothing else.
void BM_Bare2048DeviceReads(benchmark::State& state) {
    Card();
    CDeviceApi& card = EmulatedCardApi();
    for (auto _ : state) {
        const HANDLE device = card.CreateFileA(CNF_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0,
                                               nullptr, OPEN_EXISTING, 0, nullptr);
        std::uint8_t sum = 0;
        for (int address = 0; address < EEPROM_SIZE; ++address) {
            CNF_BYTE_REQUEST request = {static_cast<std::uint8_t>(address & 0xFF),
                                        static_cast<std::uint8_t>(address >> 8), 0, 0};
            DWORD returned = 0;
            card.DeviceIoControl(device, IOCTL_CNF_READ_BYTE, &request, sizeof request, &request,
                                 sizeof request, &returned, nullptr);
            sum = static_cast<std::uint8_t>(sum + request.value);
        }
        benchmark::DoNotOptimize(sum);
        CloseEmulatedCard(device);
    }
}
BENCHMARK(BM_Bare2048DeviceReads)->Unit(benchmark::kMillisecond);

// The whole program from start to the filled dialog on the factory card (an empty script:
// the dialog is closed as Cancel as soon as it waits for the user).
void BM_StartupToFilledDialog(benchmark::State& state) {
    Card();
    for (auto _ : state) {
        if (RunOnce("") != RUN_ENDED_NORMALLY) {
            state.SkipWithError("the run failed");
            break;
        }
    }
}
BENCHMARK(BM_StartupToFilledDialog)->Unit(benchmark::kMillisecond);

constexpr int kFactoryImageLength = 248;
constexpr const char* kWriteScript = "pick 1003 544\nanswer Yes\nclick OK\n";

// The card's own cost of a write: the factory image's bytes written back, one request each.
void BM_BareFactoryImageWrites(benchmark::State& state) {
    Card();
    CDeviceApi& card = EmulatedCardApi();
    const HANDLE device = card.CreateFileA(CNF_DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0,
                                           nullptr, OPEN_EXISTING, 0, nullptr);
    for (auto _ : state) {
        for (int address = 0; address < kFactoryImageLength; ++address) {
            CNF_BYTE_REQUEST request = {static_cast<std::uint8_t>(address & 0xFF),
                                        static_cast<std::uint8_t>(address >> 8),
                                        FactoryImage()[static_cast<std::size_t>(address)], 0};
            DWORD returned = 0;
            card.DeviceIoControl(device, IOCTL_CNF_WRITE_BYTE, &request, sizeof request, nullptr, 0,
                                 &returned, nullptr);
        }
    }
    CloseEmulatedCard(device);
    state.SetItemsProcessed(state.iterations() * kFactoryImageLength);
}
BENCHMARK(BM_BareFactoryImageWrites)->Unit(benchmark::kMillisecond);

// A write of the factory card with the real pause after each byte; overhead_percent is the
// time beyond n x 20 ms, start-up included, as a share of n x 20 ms, and smallest_gap_ms the
// shortest time any byte was given to settle before the next one was sent.
void BM_PacedWrite(benchmark::State& state) {
    Card();
    double seconds = 0;
    double smallestGapMs = -1;
    for (auto _ : state) {
        Card().Reset();
        const auto start = std::chrono::steady_clock::now();
        double gapMs = -1;
        if (RunOnce(kWriteScript, &gapMs) != RUN_ENDED_NORMALLY) {
            state.SkipWithError("the run failed");
            break;
        }
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (smallestGapMs < 0 || gapMs < smallestGapMs) {
            smallestGapMs = gapMs;
        }
    }
    const double pace = kFactoryImageLength * (WRITE_PAUSE_MS / 1000.0);
    const double perRun = seconds / static_cast<double>(state.iterations());
    state.counters["pace_s"] = pace;
    state.counters["overhead_percent"] = (perRun - pace) / pace * 100.0;
    state.counters["smallest_gap_ms"] = smallestGapMs;
}
BENCHMARK(BM_PacedWrite)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The same write with the pause skipped: what the loop itself costs per byte.
void BM_UnpacedWrite(benchmark::State& state) {
    Card();
    for (auto _ : state) {
        state.PauseTiming();
        Card().Reset();
        state.ResumeTiming();
        if (RunOnce("pace off\n" + std::string(kWriteScript)) != RUN_ENDED_NORMALLY) {
            state.SkipWithError("the run failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kFactoryImageLength);
}
BENCHMARK(BM_UnpacedWrite)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
