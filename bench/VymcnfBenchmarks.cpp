// vymcnf write on the emulated card with the real 20 ms pause after each byte: an image that
// differs from the card in k bytes against k x 20 ms, and the time of each step (reading the
// card, saving the backup, writing, reading it back).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/ClosingCard.h"
#include "cli/Vymcnf.h"
#include "driver/WritePace.h"
#include "pnp/FactoryImage.h"

namespace {

using Clock = std::chrono::steady_clock;

// When each step of the write began and when the command ended.
class CStepClock final : public CWriteListener {
public:
    void PhaseStarted(WritePhase phase) override {
        m_starts[static_cast<int>(phase)] = Clock::now();
    }
    void Finished() override { m_end = Clock::now(); }

    double StepMs(WritePhase phase) const {
        const int step = static_cast<int>(phase);
        const Clock::time_point end = step + 1 < kSteps ? m_starts[step + 1] : m_end;
        return std::chrono::duration<double, std::milli>(end - m_starts[step]).count();
    }

private:
    static constexpr int kSteps = 4;
    Clock::time_point m_starts[kSteps];
    Clock::time_point m_end;
};

class CBenchFolder {
public:
    CBenchFolder() {
        char folder[] = "/tmp/vymcnf-bench-XXXXXX";
        m_folder = mkdtemp(folder) != nullptr ? folder : "/tmp";
        setenv("VYMCNF_EEPROM", Card().c_str(), 1);
        setenv("VYMCNF_BACKUPS", Backups().c_str(), 1);
    }
    ~CBenchFolder() { std::filesystem::remove_all(m_folder); }

    std::string Card() const { return m_folder + "/eeprom.bin"; }
    std::string Image() const { return m_folder + "/image.bin"; }
    std::string Backups() const { return m_folder + "/backups"; }

    // The factory card, and an image that differs from it in the erased bytes 300 to
    // 300 + k - 1: the devices stay as they are, so the image is written without --force.
    void Prepare(int k) {
        Write(Card(), FactoryImage().data());
        std::uint8_t image[EEPROM_SIZE];
        std::copy(FactoryImage().begin(), FactoryImage().end(), image);
        for (int address = 300; address < 300 + k; ++address) {
            image[address] = 0x00;
        }
        Write(Image(), image);
        std::filesystem::remove_all(Backups());
    }

private:
    static void Write(const std::string& path, const std::uint8_t* bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes), EEPROM_SIZE);
    }

    std::string m_folder;
};

void BM_VymcnfWrite(benchmark::State& state) {
    static CBenchFolder folder;
    const int k = static_cast<int>(state.range(0));
    std::FILE* sink = std::fopen("/dev/null", "w");
    CConsole console;
    console.out = sink;
    console.err = sink;
    double read = 0;
    double backup = 0;
    double writes = 0;
    double verify = 0;
    double total = 0;
    for (auto _ : state) {
        folder.Prepare(k);
        const std::string image = folder.Image();
        const char* argv[] = {"vymcnf", "write", image.c_str()};
        CStepClock steps;
        CClosingCard card;
        const Clock::time_point start = Clock::now();
        const int status = RunVymcnf(3, argv, console, &steps);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (status != VYMCNF_DONE) {
            state.SkipWithError("the write failed");
            break;
        }
        state.SetIterationTime(seconds);
        total += seconds * 1000;
        read += steps.StepMs(WritePhase::Read);
        backup += steps.StepMs(WritePhase::Backup);
        writes += steps.StepMs(WritePhase::Write);
        verify += steps.StepMs(WritePhase::Verify);
    }
    std::fclose(sink);
    const double runs = static_cast<double>(state.iterations());
    const double pace = k * static_cast<double>(WRITE_PAUSE_MS);
    state.counters["pace_ms"] = pace;
    state.counters["total_ms"] = total / runs;
    state.counters["overhead_percent"] = (total / runs - pace) / pace * 100.0;
    state.counters["read_ms"] = read / runs;
    state.counters["backup_ms"] = backup / runs;
    state.counters["writes_ms"] = writes / runs;
    state.counters["verify_ms"] = verify / runs;
}
BENCHMARK(BM_VymcnfWrite)->Arg(1)->Iterations(50)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_VymcnfWrite)->Arg(10)->Iterations(20)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_VymcnfWrite)->Arg(248)->Iterations(3)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
