// Loading a stored list of many small items: a count and that many one-byte
// items (a flag byte each), the most items a given number of bytes can hold.
// Loading must cost time in proportion to the input: the goal is that a
// 1 MiB list costs at most 3 times as much per byte as a 64 KiB one (a load that
// searched the items read so far for each new one would cost 16 times), and
// the program exits with 1 when a list is over it.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdio>
#include <map>
#include <string>

#include "components/kitcont.h"

namespace {
TMemoryStream listOf(std::int64_t bytes)
{
    TMemoryStream s;
    const std::int32_t n = std::int32_t(bytes - 4);
    StreamWriteInteger(s, n);
    s.SetSize(bytes); // the items' flag bytes are 0: no description, no payload
    s.SetPosition(0);
    return s;
}

template <class List>
void loadList(benchmark::State& state)
{
    TMemoryStream s = listOf(state.range(0));
    List list;
    // Untimed loads first: the timed ones then reuse memory the process
    // already has, at both sizes, instead of the large one alone paying for
    // the kernel's first touch of its pages.
    for (int warm = 0; warm < 2; ++warm) {
        s.SetPosition(0);
        list.LoadFromStream(s, false);
    }
    for (auto _ : state) {
        s.SetPosition(0);
        list.LoadFromStream(s, false);
    }
    if (list.Count() != state.range(0) - 4)
        state.SkipWithError("the list did not load whole");
    state.SetBytesProcessed(std::int64_t(state.iterations()) * state.range(0));
}

// The CPU time of one load, in milliseconds, by benchmark name.
class Keeper : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Millis;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (!r.error_occurred && r.run_type == Run::RT_Iteration)
                Millis[r.benchmark_name()] = r.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

constexpr std::int64_t kSmall = 64 << 10, kLarge = 1 << 20;
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const std::pair<const char*, void (*)(benchmark::State&)> lists[] = {
        {"StringList", loadList<TKitStringList>},
        {"WaveList", loadList<TKitWaveList>},
        {"BitmapList", loadList<TKitBitmapList>},
    };
    for (const auto& [name, fn] : lists)
        benchmark::RegisterBenchmark(name, fn)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    Keeper keep;
    benchmark::RunSpecifiedBenchmarks(&keep);

    bool ok = true;
    std::printf("\n%-12s %12s %12s %12s %12s %7s\n", "list", "64 KiB ms", "1 MiB ms", "64 KiB ns/B", "1 MiB ns/B",
                "ratio");
    for (const auto& [name, fn] : lists) {
        const std::string base(name);
        const auto small = keep.Millis.find(base + "/" + std::to_string(kSmall));
        const auto large = keep.Millis.find(base + "/" + std::to_string(kLarge));
        if (small == keep.Millis.end() || large == keep.Millis.end())
            continue;
        const double a = small->second * 1e6 / double(kSmall), b = large->second * 1e6 / double(kLarge);
        std::printf("%-12s %12.1f %12.1f %12.1f %12.1f %7.2f\n", name, small->second, large->second, a, b, b / a);
        ok = ok && b <= 3 * a;
    }
    std::printf("%s\n", ok ? "loading within its goal" : "LOADING OVER ITS GOAL");
    return ok ? 0 : 1;
}
