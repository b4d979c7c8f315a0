// Feeds every reader of stored data with mutated and random bytes. The
// readers must either succeed or raise one of the library's exceptions, never
// read or write outside their buffers (the sanitizer build checks that), and
// leave their target as it was when they refuse. Mutations start from what
// the library writes and from the formats' own byte examples. Every run takes
// a new seed and prints it; FUZZ_SEED=<seed> replays that run.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <optional>
#include <random>

#include "components/kitbmpstream.h"
#include "components/kitcont.h"
#include "components/kitimglist.h"
#include "components/kitlistfile.h"
#include "components/kitprocs.h"
#include "components/kitstream.h"
#include "components/kitutils.h"
#include "components/kitwave.h"

#include "listfiles.h"
#include "streambytes.h"

using namespace streambytes;

// A budget of bytes the thread may hold: beyond it an allocation fails as
// when memory runs out. Unlike an address-space limit it works under the
// address sanitizer too. The array forms keep their own (paired) allocator.
namespace {
thread_local std::int64_t tBudget = -1; // bytes still free; -1: no limit

void* allocate(std::size_t n)
{
    void* p = tBudget < 0 || std::int64_t(n) <= tBudget ? std::malloc(n ? n : 1) : nullptr;
    if (!p)
        throw std::bad_alloc();
    if (tBudget >= 0)
        tBudget = std::max<std::int64_t>(tBudget - std::int64_t(malloc_usable_size(p)), 0);
    return p;
}

struct Budget {
    explicit Budget(std::int64_t bytes) { tBudget = bytes; }
    ~Budget() { tBudget = -1; }
};
} // namespace

void* operator new(std::size_t n) { return allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    try {
        return allocate(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept
{
    if (tBudget >= 0 && p)
        tBudget += std::int64_t(malloc_usable_size(p));
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {
// The sanitizer build, where a read outside a buffer is caught, fuzzes at
// length: a million cases in all. The normal build runs a short pass.
#ifdef LAB_FUZZ_LONG
constexpr bool kLongRun = true;
#else
constexpr bool kLongRun = false;
#endif

std::int64_t& casesRun()
{
    static std::int64_t n = 0;
    return n;
}

// The number of cases for one reader, counted for the summary.
int cases(int normal, int longRun)
{
    const int n = kLongRun ? longRun : normal;
    casesRun() += n;
    return n;
}

// This run's seed: FUZZ_SEED's when it is set, else a new one.
std::uint32_t runSeed()
{
    static const std::uint32_t seed = [] {
        const char* given = std::getenv("FUZZ_SEED");
        return given && *given ? std::uint32_t(std::strtoul(given, nullptr, 0)) : std::random_device{}();
    }();
    return seed;
}

// The seed of one reader's cases, told with the run's seed that replays it.
std::uint32_t seedFor(std::uint32_t reader)
{
    std::printf("[seed] FUZZ_SEED=%u replays this run\n", runSeed());
    return runSeed() ^ (reader * 0x9E3779B9u);
}

class CaseSummary : public testing::Environment {
public:
    void TearDown() override
    {
        if (casesRun() > 0)
            std::printf("[fuzz] stored-data readers: %lld cases\n", static_cast<long long>(casesRun()));
    }
};
[[maybe_unused]] testing::Environment* const summary = testing::AddGlobalTestEnvironment(new CaseSummary);

// The byte examples the formats are described with.
namespace specimens {
// Blocks of the compressor: empty, "abc" stored, "abcabcabc" with a match,
// 4095 letters A as one run.
const std::vector<Bytes> blocks{{0x80},
                                {0x80, 'a', 'b', 'c'},
                                {0x40, 0x10, 0x00, 'a', 'b', 'c', 0x00, 0x33},
                                {0x40, 0x80, 0x00, 0x00, 0x0F, 0xEF, 'A'}};

// A block stream holding the given blocks.
Bytes blockStream(const std::vector<Bytes>& parts)
{
    Bytes body;
    for (const Bytes& b : parts) {
        putLE(body, std::uint32_t(b.size()), 4);
        body.insert(body.end(), b.begin(), b.end());
    }
    Bytes out;
    // Room for all first: GCC 12 at -O3 otherwise warns, wrongly, that the
    // insert below reads past what the length took.
    out.reserve(4 + body.size());
    putLE(out, std::uint32_t(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<Bytes> blockStreams()
{
    // The empty payload, each example block alone, and the tail of a payload
    // one byte longer than a chunk: a stored block of two bytes.
    std::vector<Bytes> out{{0, 0, 0, 0}, blockStream({{0x80, 'x'}})};
    for (const Bytes& b : blocks)
        out.push_back(blockStream({b}));
    return out;
}

// A wave image whose first chunk is not the format, the bare start of one
// without its format fields, and the start of one in the wrong byte order.
std::vector<Bytes> waves()
{
    Bytes list;
    putTag(list, "RIFF");
    putLE(list, 40, 4);
    putTag(list, "WAVE");
    putTag(list, "LIST");
    putLE(list, 4, 4);
    putTag(list, "INFO");
    Bytes bare;
    putTag(bare, "RIFF");
    putLE(bare, 12, 4);
    putTag(bare, "WAVE");
    putTag(bare, "fmt ");
    const Bytes swapped{'R', 'I', 'F', 'X', 0x10, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    return {{0, 0, 0, 0}, list, bare, swapped};
}

// Containers of one item with each header field, and the empty container.
std::vector<Bytes> containers()
{
    return {{0, 0, 0, 0},
            {1, 0, 0, 0, 0x00},
            {1, 0, 0, 0, 0x01},
            {1, 0, 0, 0, 0x02, 1, 'd'},
            {1, 0, 0, 0, 0x04, 5, 0, 0, 0},
            {1, 0, 0, 0, 0x08, 0, 0, 0, 0},
            {1, 0, 0, 0, 0x09, 0, 0, 0, 0}};
}

// One image item without images (height and width 16, four at a time,
// unmasked), with and without the offset table.
Bytes emptyImageList(bool offsets)
{
    Bytes b{1, 0, 0, 0};
    if (offsets)
        putLE(b, 8, 4);
    b.push_back(0x00);
    for (std::uint32_t v : {16u, 16u, 4u})
        putLE(b, v, 4);
    b.push_back(0);
    putLE(b, 0, 4);
    return b;
}

// Empty list files of every kind, and one whose signature differs in its
// last character.
std::vector<Bytes> listFiles()
{
    std::vector<Bytes> out;
    for (int kind = 0; kind <= 5; ++kind) {
        QByteArray sig = kind < 5 ? ListFileSignature(kind) : QByteArray("KITBML31");
        Bytes b{std::uint8_t(sig.size())};
        b.insert(b.end(), sig.begin(), sig.end());
        putLE(b, 0, 4);
        out.push_back(b);
    }
    return out;
}
} // namespace specimens

class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : FRng(seed) {}

    std::uint32_t next(std::uint32_t bound) { return bound ? FRng() % bound : 0; }

    Bytes random(std::size_t maxLen)
    {
        Bytes b(next(std::uint32_t(maxLen + 1)));
        for (auto& x : b)
            x = std::uint8_t(FRng());
        return b;
    }

    // One to four edits of the kinds that break length fields and items.
    Bytes mutate(Bytes b)
    {
        const int edits = 1 + int(next(4));
        for (int e = 0; e < edits; ++e) {
            switch (next(7)) {
            case 0: // flip a bit
                if (!b.empty())
                    b[next(std::uint32_t(b.size()))] ^= std::uint8_t(1u << next(8));
                break;
            case 1: // set a byte to an edge value
                if (!b.empty()) {
                    static const std::uint8_t edge[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, 0x40, 0x10};
                    b[next(std::uint32_t(b.size()))] = edge[next(sizeof edge)];
                }
                break;
            case 2: // cut the tail
                b.resize(next(std::uint32_t(b.size() + 1)));
                break;
            case 3: // insert random bytes
            {
                const std::size_t at = next(std::uint32_t(b.size() + 1));
                const Bytes extra = random(8);
                b.insert(b.begin() + std::ptrdiff_t(at), extra.begin(), extra.end());
                break;
            }
            case 4: // overwrite a 32-bit field with a large or negative value
                if (b.size() >= 4) {
                    static const std::uint32_t values[] = {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x00010000u,
                                                           0x00008010u, 5u, 0u};
                    const std::size_t at = next(std::uint32_t(b.size() - 3));
                    const std::uint32_t v = values[next(sizeof values / sizeof values[0])];
                    for (int i = 0; i < 4; ++i)
                        b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
                }
                break;
            case 5: // delete a range
                if (!b.empty()) {
                    const std::size_t at = next(std::uint32_t(b.size()));
                    const std::size_t len = std::min<std::size_t>(1 + next(8), b.size() - at);
                    b.erase(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + len));
                }
                break;
            default: // duplicate a range
                if (!b.empty()) {
                    const std::size_t at = next(std::uint32_t(b.size()));
                    const std::size_t len = std::min<std::size_t>(1 + next(16), b.size() - at);
                    const Bytes part(b.begin() + std::ptrdiff_t(at), b.begin() + std::ptrdiff_t(at + len));
                    b.insert(b.begin() + std::ptrdiff_t(at), part.begin(), part.end());
                }
                break;
            }
        }
        return b;
    }

    const Bytes& pick(const std::vector<Bytes>& seeds) { return seeds[next(std::uint32_t(seeds.size()))]; }

private:
    std::mt19937 FRng;
};

Bytes sample(std::size_t n, int kind)
{
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) {
        switch (kind) {
        case 0: b[i] = std::uint8_t("lorem ipsum dolor sit amet "[i % 27]); break;
        case 1: b[i] = std::uint8_t((i / 40) & 3); break;
        default: b[i] = std::uint8_t((i * 2654435761u) >> 13); break;
        }
    }
    return b;
}

// Runs `body`; a library exception is a refusal, anything else a fault.
template <class F>
bool refused(F&& body)
{
    try {
        body();
        return false;
    } catch (const Exception&) {
        return true;
    }
}
// Qt's image reader warns about every broken image; the refusals are what
// the picture tests check.
class QuietImageReader {
public:
    QuietImageReader() : FPrevious(qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {})) {}
    ~QuietImageReader() { qInstallMessageHandler(FPrevious); }

private:
    QtMessageHandler FPrevious;
};

// Stored data behind a few other bytes, positioned at its start: a refusal
// must put the stream back there, not at 0.
constexpr std::int64_t kLead = 3;
TMemoryStream streamBehindLead(const Bytes& data)
{
    Bytes b{0xA5, 0x5A, 0xC3};
    b.insert(b.end(), data.begin(), data.end());
    TMemoryStream s = streamOf(b);
    s.SetPosition(kLead);
    return s;
}

// A list's state item by item: each item object under the list, as it
// saves itself; and the count of the list's children.
std::vector<std::pair<const QObject*, Bytes>> stateOf(TKitCustomContainer& list)
{
    std::vector<std::pair<const QObject*, Bytes>> out{{nullptr, Bytes(std::size_t(list.children().size()))}};
    for (TKitListItem* item : list.GetChildren()) {
        TMemoryStream s;
        item->SaveToStream(s);
        out.emplace_back(item->parent() == &list ? item : nullptr, s.Bytes());
    }
    return out;
}

// Loads `data` into `list`, which holds one described item first, within
// `budget` bytes of allocations (-1: any); a refusal must leave the list as
// it was and the stream where it started. Returns whether it was refused.
bool loadRefused(TKitCustomContainer& list, const Bytes& data, bool offsets, std::int64_t budget = -1)
{
    list.Item(list.AddItem())->Description = "kept";
    const auto before = stateOf(list);
    TMemoryStream s = streamBehindLead(data);
    const Budget limit(budget);
    if (!refused([&] { list.LoadFromStream(s, offsets); }))
        return false;
    tBudget = -1;
    EXPECT_TRUE(stateOf(list) == before);
    EXPECT_EQ(s.Position(), kLead);
    return true;
}

// The block format decoded plainly: after the flag byte, control words of
// 16 flags, the first highest; a clear flag is a literal byte, a set one a
// copy of 3 to 18 bytes from 1 to 4095 back (two bytes) or, at distance 0,
// a run of 16 to 4111 bytes (four). Nothing when malformed or over `cap`.
std::optional<Bytes> referenceDecode(const Bytes& b, std::size_t cap)
{
    Bytes out;
    if (!b.empty() && b[0] == 0x80)
        out.assign(b.begin() + 1, b.end());
    else if (!b.empty() && b.size() < 3)
        return std::nullopt;
    for (std::size_t at = 1; !b.empty() && b[0] != 0x80 && at < b.size();) {
        if (at + 2 > b.size())
            return std::nullopt;
        const unsigned control = b[at] << 8 | b[at + 1];
        at += 2;
        for (int flag = 15; flag >= 0 && at < b.size(); --flag) {
            if (!(control >> flag & 1)) {
                out.push_back(b[at++]);
                continue;
            }
            const std::size_t left = b.size() - at, d = left < 2 ? 0 : std::size_t(b[at] << 4 | b[at + 1] >> 4);
            if (left < 2 || (d == 0 && left < 4) || d > out.size())
                return std::nullopt;
            if (d == 0)
                out.insert(out.end(), std::size_t((b[at + 1] & 0x0F) << 8 | b[at + 2]) + 16, b[at + 3]);
            for (int k = 0; d && k < (b[at + 1] & 0x0F) + 3; ++k)
                out.push_back(std::uint8_t(out[out.size() - d]));
            at += d ? 2 : 4;
        }
    }
    return out.size() <= cap ? std::optional<Bytes>(out) : std::nullopt;
}
} // namespace

TEST(FuzzReaders, LZRWDecompressor)
{
    Mutator m(seedFor(1001));
    std::vector<Bytes> seeds;
    for (std::size_t n : {0u, 3u, 9u, 40u, 300u, 2000u, 5000u})
        for (int kind = 0; kind < 3; ++kind)
            seeds.push_back(LZRWCompress(sample(n, kind)));
    seeds.insert(seeds.end(), specimens::blocks.begin(), specimens::blocks.end());
    int failures = 0;
    const int n = cases(40000, 420000);
    for (int i = 0; i < n; ++i) {
        const Bytes block = (i % 5 == 0) ? m.random(64) : m.mutate(m.pick(seeds));
        // Exactly sized copies, so that a read past the block is caught.
        std::unique_ptr<std::uint8_t[]> in(new std::uint8_t[block.size() + 1]);
        std::copy(block.begin(), block.end(), in.get());
        // The output area exactly as large as the reader is told, so that a
        // write past it is caught too.
        const std::size_t cap = 1 + m.next(4096);
        std::unique_ptr<std::uint8_t[]> out(new std::uint8_t[cap]);
        std::uint32_t produced = 0;
        const bool refusal =
            refused([&] { produced = LZRWDecompress(in.get(), std::uint32_t(block.size()), out.get(), cap); });
        const std::optional<Bytes> expected = referenceDecode(block, cap);
        ASSERT_EQ(refusal, !expected);
        if (refusal)
            ++failures;
        else
            ASSERT_EQ(Bytes(out.get(), out.get() + produced), *expected);
    }
    EXPECT_GT(failures, 1000);
}

TEST(FuzzReaders, LZRWRoundTrip)
{
    Mutator m(seedFor(1002));
    const int n = cases(5000, 30000);
    for (int i = 0; i < n; ++i) {
        Bytes src = m.mutate(sample(m.next(3000), int(m.next(3))));
        if (src.size() > 0xFFFF)
            src.resize(0xFFFF);
        ASSERT_EQ(LZRWDecompress(LZRWCompress(src)), src);
    }
}

TEST(FuzzReaders, BlockStreamReader)
{
    Mutator m(seedFor(2001));
    std::vector<Bytes> seeds;
    for (std::size_t n : {0u, 1u, 20u, 700u, 3000u, 32781u, 32800u}) {
        TMemoryStream src = streamOf(sample(n, int(n % 3)));
        TMemoryStream dst;
        WriteBlockStream(src, dst, src.Size());
        seeds.push_back(dst.Bytes());
    }
    for (const Bytes& b : specimens::blockStreams())
        seeds.push_back(b);
    int failures = 0;
    const int n = cases(30000, 200000);
    for (int i = 0; i < n; ++i) {
        const Bytes data = (i % 5 == 0) ? m.random(40) : m.mutate(m.pick(seeds));
        TMemoryStream in = streamBehindLead(data);
        TMemoryStream out;
        StreamWriteInteger(out, 0x5EED);
        if (refused([&] { ReadBlockStream(in, out); })) {
            ++failures;
            ASSERT_EQ(out.Bytes(), (Bytes{0xED, 0x5E, 0, 0}));
            ASSERT_EQ(out.Position(), 4);
            ASSERT_EQ(in.Position(), kLead);
        } else {
            ASSERT_LE(in.Position(), in.Size());
        }
    }
    EXPECT_GT(failures, 1000);
}

TEST(FuzzReaders, WaveHeaderAndLoader)
{
    Mutator m(seedFor(3001));
    std::vector<Bytes> seeds{waveImage(0), waveImage(8), waveImage(100)};
    for (const Bytes& b : specimens::waves())
        seeds.push_back(b);
    TKitWave keep;
    TMemoryStream img = streamOf(waveImage(4));
    keep.LoadFromStream(img);
    const Bytes before = keep.Data()->Bytes();
    int accepted = 0;
    const int n = cases(20000, 150000);
    for (int i = 0; i < n; ++i) {
        const Bytes data = (i % 5 == 0) ? m.random(48) : m.mutate(m.pick(seeds));
        TMemoryStream header = streamOf(data);
        TKitWaveInfo info;
        refused([&] { TKitWave::GetWaveData(&header, info); });
        ASSERT_EQ(header.Position(), 0); // the check rewinds whatever it finds

        // Plain, length-prefixed and compressed loads of the same bytes.
        TKitWave w;
        w.Assign(&keep);
        const int form = int(m.next(3));
        bool ok = false;
        if (form == 0) {
            TMemoryStream s = streamBehindLead(data);
            ok = !refused([&] { w.LoadFromStream(s); });
            ASSERT_TRUE(ok || s.Position() == kLead);
        } else {
            TMemoryStream p;
            if (form == 1) {
                StreamWriteInteger(p, std::int32_t(data.size()) + std::int32_t(m.next(3)) - 1);
                p.WriteBuffer(data.data(), std::int64_t(data.size()));
            } else {
                TMemoryStream raw = streamOf(data);
                WriteBlockStream(raw, p, raw.Size());
                p.SetPosition(0);
                p = streamOf(m.next(2) ? p.Bytes() : m.mutate(p.Bytes()));
            }
            p = streamBehindLead(p.Bytes());
            ok = !refused([&] { LoadWaveFromStream(p, w, form == 2); });
            ASSERT_TRUE(ok || p.Position() == kLead);
        }
        if (ok)
            ++accepted;
        else
            ASSERT_EQ(w.Data()->Bytes(), before);
    }
    EXPECT_GT(accepted, 100);
}

TEST(FuzzReaders, ContainerLoader)
{
    Mutator m(seedFor(4001));
    std::vector<Bytes> seeds;
    {
        TKitStringList strings;
        for (int i = 0; i < 3; ++i) {
            auto* item = static_cast<TKitStringListItem*>(strings.Item(strings.AddItem()));
            item->Items = {"line", QString(i * 10, 'x')};
            item->Description = i ? "d" : "";
            item->Ident = std::uint16_t(i);
            item->Compressed = i == 2;
        }
        for (bool offsets : {false, true}) {
            TMemoryStream s;
            strings.SaveToStream(s, offsets);
            seeds.push_back(s.Bytes());
        }
        TKitWaveList waves;
        auto* w = static_cast<TKitWaveListItem*>(waves.Item(waves.AddItem()));
        TMemoryStream img = streamOf(waveImage(10));
        w->Wave()->LoadFromStream(img);
        w->Compressed = true;
        waves.AddItem();
        TMemoryStream s;
        waves.SaveToStream(s, false);
        seeds.push_back(s.Bytes());
    }
    for (const Bytes& b : specimens::containers())
        seeds.push_back(b);
    for (bool compressed : {false, true}) {
        // A wave loads within one and a half times its size, two and a half
        // compressed (its blocks decoded are held besides it for a moment):
        // the item takes the wave loaded, not a copy of it. The size is a
        // byte past 32 chunks of a block stream.
        TKitWaveList waves;
        TMemoryStream img = streamOf(waveImage(32 * kBlockChunkSize + 1 - 44));
        auto* item = static_cast<TKitWaveListItem*>(waves.Item(waves.AddItem()));
        item->Wave()->LoadFromStream(img);
        item->Compressed = compressed;
        TMemoryStream s;
        waves.SaveToStream(s, false);
        TKitWaveList into;
        EXPECT_FALSE(loadRefused(into, s.Bytes(), false, img.Size() * (compressed ? 5 : 3) / 2)) << compressed;
    }
    int failures = 0;
    const int n = cases(20000, 150000);
    for (int i = 0; i < n; ++i) {
        const Bytes data = (i % 5 == 0) ? m.random(40) : m.mutate(m.pick(seeds));
        const bool offsets = m.next(2);
        TKitStringList strings;
        TKitWaveList waves;
        TKitCustomContainer* list = m.next(2) ? static_cast<TKitCustomContainer*>(&strings) : &waves;
        // Now and then memory runs out (a kilobyte is left for the error),
        // or the input is many items of a flag byte each, or of flags that
        // claim descriptions and so run past the end.
        // Every other time, one item more than the memory budget holds: it
        // is refused however much memory is left.
        std::int64_t budget = i % 10 == 0 ? 1024 + std::int64_t(m.next(6000)) : -1;
        Bytes input = data;
        bool overBudget = false;
        if (i % 1000 == 999) {
            overBudget = m.next(2);
            const auto many = overBudget ? std::uint32_t(kReadMemoryBudget / list->ItemMemoryCost() + 1)
                                         : std::uint32_t(1000 + m.next(kLongRun ? 30000 : 100000));
            input.assign(4 + std::size_t(many) * (offsets ? 5 : 1), m.next(2) ? 0x00 : 0x02);
            for (int k = 0; k < 4; ++k)
                input[std::size_t(k)] = std::uint8_t(many >> 8 * k);
            budget = !overBudget && m.next(2) ? 1024 + std::int64_t(m.next(many * 200)) : -1;
        }
        if (loadRefused(*list, input, offsets, budget))
            ++failures;
        else
            ASSERT_FALSE(overBudget);
    }
    EXPECT_GT(failures, 1000);
}

TEST(FuzzReaders, BitmapLoader)
{
    Mutator m(seedFor(5001));
    TBitmap picture(9, 5);
    picture.Canvas().FillRect(TRect(0, 0, 4, 5));
    std::vector<Bytes> seeds{hugeClaimBitmap(true)};
    for (bool compressed : {false, true})
        for (int colors : {-1, 2, 16, 256}) {
            TMemoryStream s;
            SaveBitmapToStream(s, picture, compressed, colors);
            seeds.push_back(s.Bytes());
        }
    const QuietImageReader quiet;
    const int n = cases(5000, 40000);
    for (int i = 0; i < n; ++i) {
        const int seed = int(m.next(std::uint32_t(seeds.size())));
        const bool compressed = seed >= 5;
        TMemoryStream s = streamBehindLead(m.mutate(seeds[std::size_t(seed)]));
        TBitmap b = picture;
        if (refused([&] { LoadBitmapFromStream(s, b, compressed); })) {
            ASSERT_EQ(b.Image(), picture.Image());
            ASSERT_EQ(s.Position(), kLead);
        }
    }
}

namespace {
// A bitmap list and an image list with masked and plain, compressed and
// plain items, empty ones among them.
void pictureLists(TKitBitmapList& bitmaps, TKitImageList& images)
{
    TBitmap picture(5, 4);
    picture.Canvas().FillRect(TRect(0, 0, 2, 4));
    for (int i = 0; i < 3; ++i) {
        auto* item = bitmaps.BitmapItem(bitmaps.AddItem());
        if (i != 1)
            item->SetBitmap(picture);
        item->Compressed = i == 2;
        item->PixelFormat = TKitSavePixelFormat(i);
        item->Description = i ? "b" : "";
    }
    for (int i = 0; i < 3; ++i) {
        auto* item = images.ImageItem(images.AddItem());
        item->SetWidth(3 + i);
        item->SetHeight(2);
        item->SetMasked(i == 0);
        item->Compressed = i == 1;
        listfiles::fillImages(*item, i == 2 ? 0 : 2);
    }
}
} // namespace

TEST(FuzzReaders, PictureListLoader)
{
    Mutator m(seedFor(6001));
    TKitBitmapList bitmaps;
    TKitImageList images;
    pictureLists(bitmaps, images);
    std::vector<Bytes> seeds[2][2]; // by kind and offsets
    for (bool offsets : {false, true}) {
        TMemoryStream b, i;
        bitmaps.SaveToStream(b, offsets);
        images.SaveToStream(i, offsets);
        seeds[0][offsets].push_back(b.Bytes());
        seeds[1][offsets].push_back(i.Bytes());
        seeds[1][offsets].push_back(specimens::emptyImageList(offsets));
    }
    seeds[0][false].push_back({1, 0, 0, 0, 0x00});
    seeds[0][false].push_back({1, 0, 0, 0, 0x01});
    seeds[0][false].push_back(hugeClaimBitmapList(16));
    seeds[0][true].push_back({1, 0, 0, 0, 8, 0, 0, 0, 0x00});
    const QuietImageReader quiet;
    int failures = 0;
    const int n = cases(6000, 6000);
    for (int i = 0; i < n; ++i) {
        const int kind = int(m.next(2));
        const bool offsets = m.next(2);
        const Bytes data = (i % 7 == 0) ? m.random(48) : m.mutate(m.pick(seeds[kind][offsets]));
        TKitBitmapList bl;
        TKitImageList il;
        TKitCustomContainer* list = kind ? static_cast<TKitCustomContainer*>(&il) : &bl;
        if (loadRefused(*list, data, offsets)) {
            ++failures;
        } else if (kind) {
            // What was accepted can be drawn and written again.
            TBitmap canvas(40, 10);
            for (int l = 0; l < il.Count(); ++l)
                for (int k = 0; k < il.ImageCount(l); ++k) {
                    il.Draw(&canvas.Canvas(), 0, 0, l, k);
                    TRect painted;
                    il.DrawInRect(&canvas.Canvas(), TRect(0, 0, 40, 10), KIT_DF_STRETCH, l, k, painted);
                }
            TMemoryStream out;
            il.SaveToStream(out, offsets);
        }
    }
    EXPECT_GT(failures, 500);
}

TEST(FuzzReaders, ListFileReader)
{
    Mutator m(seedFor(7001));
    QTemporaryDir dir;
    TKitBitmapList bitmaps;
    TKitImageList images;
    pictureLists(bitmaps, images);
    TKitStringList strings;
    static_cast<TKitStringListItem*>(strings.Item(strings.AddItem()))->Items = {"a", "b"};
    strings.AddItem();
    std::vector<Bytes> seeds{listfiles::listFileBytes(bitmaps), listfiles::listFileBytes(images),
                             listfiles::listFileBytes(strings)};
    for (const Bytes& b : specimens::listFiles())
        seeds.push_back(b);
    const QuietImageReader quiet;
    int failures = 0;
    const int n = cases(3000, 4000);
    for (int i = 0; i < n; ++i) {
        const Bytes data = (i % 7 == 0) ? m.random(30) : m.mutate(m.pick(seeds));
        const QString file = listfiles::writeFile(dir, QString::number(i), data);
        std::int32_t n = 0;
        std::vector<std::int32_t> offsets{-5};
        int kind = KitNoListFile;
        if (refused([&] { kind = ReadListFileHeader(file, n, &offsets); })) {
            ++failures;
            ASSERT_EQ(offsets, std::vector<std::int32_t>{-5});
            continue;
        }
        if (kind == KitNoListFile)
            continue;
        ASSERT_EQ(offsets.size(), std::size_t(n));
        // A few items each: every load opens the file twice.
        for (std::int32_t index = 0; index < std::min(n, 4); ++index) {
            std::unique_ptr<TKitListItem> item(kind == 0   ? static_cast<TKitListItem*>(new TKitImageListItem)
                                               : kind == 1 ? static_cast<TKitListItem*>(new TKitBitmapListItem)
                                               : kind == 2 ? static_cast<TKitListItem*>(new TKitWaveListItem)
                                                           : static_cast<TKitListItem*>(new TKitStringListItem));
            item->Description = "kept";
            TMemoryStream before;
            item->SaveToStream(before);
            if (refused([&] { LoadListFileItem(file, kind, nullptr, *item, index); })) {
                TMemoryStream after;
                item->SaveToStream(after);
                ASSERT_EQ(after.Bytes(), before.Bytes());
            }
        }
        TBitmap b(2, 2);
        b.Canvas().SetPixel(1, 0, clRed);
        const QImage before = b.Image();
        if (refused([&] { LoadBitmapFromListFile(file, 0, b); })) {
            ASSERT_EQ(b.Image(), before);
        }
    }
    EXPECT_GT(failures, 100);
}
