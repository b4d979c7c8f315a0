// LZRW block compression and expansion of 1 MiB, beside a plain memcpy of
// the same data. The data is cut into block-stream chunks as stored data is.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "components/kitstream.h"
#include "components/kitutils.h"

namespace {
constexpr std::size_t kSize = 1 << 20;

// Text-like data with repeats and runs, about as compressible as the
// string lists and pictures the library stores.
const std::vector<std::uint8_t>& source()
{
    static const std::vector<std::uint8_t> data = [] {
        std::vector<std::uint8_t> d(kSize);
        std::uint32_t r = 12345;
        for (std::size_t i = 0; i < kSize; ++i) {
            r = r * 1103515245u + 12345u;
            const std::uint32_t k = (r >> 16) % 100;
            d[i] = k < 15 ? std::uint8_t(r >> 8) : k < 30 ? std::uint8_t(' ') : std::uint8_t("labwork"[i % 7]);
        }
        return d;
    }();
    return data;
}

struct Compressed {
    std::vector<std::uint8_t> blocks; // each block preceded by its 4-byte length
    std::size_t total = 0;
};

const Compressed& compressed()
{
    static const Compressed c = [] {
        Compressed out;
        const auto& src = source();
        std::vector<std::uint8_t> block(kBlockChunkSize + kLZRWOverrun);
        for (std::size_t at = 0; at < src.size(); at += kBlockChunkSize) {
            const auto n = std::uint16_t(std::min<std::size_t>(kBlockChunkSize, src.size() - at));
            const std::uint32_t len = LZRWCompress(src.data() + at, n, block.data());
            const std::uint8_t hdr[4] = {std::uint8_t(len), std::uint8_t(len >> 8), 0, 0};
            out.blocks.insert(out.blocks.end(), hdr, hdr + 4);
            out.blocks.insert(out.blocks.end(), block.begin(), block.begin() + len);
        }
        out.total = out.blocks.size();
        return out;
    }();
    return c;
}

void BM_Memcpy1MiB(benchmark::State& state)
{
    const auto& src = source();
    std::vector<std::uint8_t> dst(kSize);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), kSize);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kSize));
}

void BM_LZRWCompress1MiB(benchmark::State& state)
{
    const auto& src = source();
    std::vector<std::uint8_t> block(kBlockChunkSize + kLZRWOverrun);
    std::size_t out = 0;
    for (auto _ : state) {
        out = 0;
        for (std::size_t at = 0; at < src.size(); at += kBlockChunkSize) {
            const auto n = std::uint16_t(std::min<std::size_t>(kBlockChunkSize, src.size() - at));
            out += LZRWCompress(src.data() + at, n, block.data());
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kSize));
    state.counters["ratio"] = double(out) / double(kSize);
}

void BM_LZRWDecompress1MiB(benchmark::State& state)
{
    const Compressed& c = compressed();
    std::vector<std::uint8_t> dst(kSize + kBlockChunkSize);
    for (auto _ : state) {
        std::size_t at = 0, y = 0;
        while (at < c.total) {
            const std::uint32_t len = std::uint32_t(c.blocks[at]) | (std::uint32_t(c.blocks[at + 1]) << 8);
            y += LZRWDecompress(c.blocks.data() + at + 4, len, dst.data() + y, kBlockChunkSize);
            at += 4 + len;
        }
        benchmark::DoNotOptimize(y);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kSize));
}

void BM_BlockStreamWrite1MiB(benchmark::State& state)
{
    TMemoryStream src;
    src.WriteBuffer(source().data(), std::int64_t(kSize));
    for (auto _ : state) {
        src.SetPosition(0);
        TMemoryStream dst;
        WriteBlockStream(src, dst, src.Size());
        benchmark::DoNotOptimize(dst.Memory());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kSize));
}
} // namespace

BENCHMARK(BM_Memcpy1MiB);
BENCHMARK(BM_LZRWCompress1MiB);
BENCHMARK(BM_LZRWDecompress1MiB);
BENCHMARK(BM_BlockStreamWrite1MiB);
BENCHMARK_MAIN();
