#include <gtest/gtest.h>

#include <random>

#include "components/kitutils.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const char* s)
{
    return Bytes(s, s + std::strlen(s));
}

Bytes roundTrip(const Bytes& src)
{
    return LZRWDecompress(LZRWCompress(src));
}
} // namespace

TEST(LZRW, WriterBytesMatchTheFormatExamples)
{
    EXPECT_EQ(LZRWCompress(Bytes{}), (Bytes{0x80}));
    EXPECT_EQ(LZRWCompress(bytesOf("abc")), (Bytes{0x80, 'a', 'b', 'c'}));
    EXPECT_EQ(LZRWCompress(bytesOf("abcabcabc")), (Bytes{0x40, 0x10, 0x00, 'a', 'b', 'c', 0x00, 0x33}));
    EXPECT_EQ(LZRWCompress(Bytes(4095, 'A')), (Bytes{0x40, 0x80, 0x00, 0x00, 0x0F, 0xEF, 'A'}));
    // One run per 4095 bytes; of the 5 left, one literal and then a match of
    // distance 1 and length 4 (control bits 101).
    const Bytes longRun = LZRWCompress(Bytes(4100, 'A'));
    EXPECT_EQ(longRun, (Bytes{0x40, 0xA0, 0x00, 0x00, 0x0F, 0xEF, 'A', 'A', 0x00, 0x11}));
}

TEST(LZRW, DecompressorReadsTheFormatExamples)
{
    EXPECT_TRUE(LZRWDecompress(Bytes{0x80}).empty());
    EXPECT_TRUE(LZRWDecompress(Bytes{}).empty());
    EXPECT_EQ(LZRWDecompress(Bytes{0x40, 0x10, 0x00, 'a', 'b', 'c', 0x00, 0x33}), bytesOf("abcabcabc"));
    EXPECT_EQ(LZRWDecompress(Bytes{0x40, 0x80, 0x00, 0x00, 0x0F, 0xEF, 'A'}), Bytes(4095, 'A'));
    // Any flag other than 0x80 means compressed.
    EXPECT_EQ(LZRWDecompress(Bytes{0x00, 0x00, 0x00, 'x', 'y'}), bytesOf("xy"));
}

TEST(LZRW, ItemsStayWithinTheirLimits)
{
    // A period of 20 bytes repeated: matches are at most 18 long and runs at
    // least 16; the group layout follows one control bit per item.
    Bytes src;
    for (int i = 0; i < 2000; ++i)
        src.push_back(std::uint8_t("abcdefghijklmnopqrst"[i % 20]));
    const Bytes block = LZRWCompress(src);
    ASSERT_EQ(block[0], 0x40);
    std::size_t x = 3;
    std::uint16_t w = std::uint16_t((block[1] << 8) | block[2]);
    int bits = 16, matches = 0;
    while (x < block.size()) {
        if (bits == 0) {
            w = std::uint16_t((block[x] << 8) | block[x + 1]);
            x += 2;
            bits = 16;
        }
        if (w & 0x8000) {
            const int d = (block[x] << 4) | (block[x + 1] >> 4);
            ASSERT_NE(d, 0);
            EXPECT_LE((block[x + 1] & 15) + 3, 18);
            EXPECT_EQ(d % 20, 0);
            EXPECT_LE(d, 4095);
            x += 2;
            ++matches;
        } else {
            ++x;
        }
        w = std::uint16_t(w << 1);
        --bits;
    }
    EXPECT_EQ(x, block.size());
    EXPECT_GT(matches, 100);
    EXPECT_EQ(roundTrip(src), src);
}

TEST(LZRW, RoundTripsEverySizeClass)
{
    std::mt19937 rng(42);
    for (std::size_t n : {0u, 1u, 2u, 3u, 15u, 16u, 17u, 18u, 19u, 255u, 4095u, 4096u, 4097u, 32767u, 32768u,
                          32781u, 40000u, 65535u}) {
        Bytes random(n), text(n), runs(n);
        for (std::size_t i = 0; i < n; ++i) {
            random[i] = std::uint8_t(rng());
            text[i] = std::uint8_t("the quick brown fox "[rng() % 20]);
            runs[i] = std::uint8_t((i / 37) % 3);
        }
        EXPECT_EQ(roundTrip(random), random) << n;
        EXPECT_EQ(roundTrip(text), text) << n;
        EXPECT_EQ(roundTrip(runs), runs) << n;
        // Incompressible data is stored, one flag byte more.
        if (n > 64) {
            EXPECT_EQ(LZRWCompress(random).size(), n + 1);
            EXPECT_LT(LZRWCompress(runs).size(), n / 4);
        }
    }
}

TEST(LZRW, RoundTripsEveryGroupFill)
{
    // Mixed runs, matches and literals at every length from 1 to 1200 end
    // the last group at every item count, a full one included.
    Bytes p(1200);
    for (std::size_t i = 0; i < p.size(); ++i)
        p[i] = std::uint8_t((i % 97) < 50 ? 'x' : (i * 7) & 0xFF);
    for (std::size_t n = 1; n <= p.size(); ++n) {
        const Bytes src(p.begin(), p.begin() + std::ptrdiff_t(n));
        ASSERT_EQ(roundTrip(src), src) << n;
    }
}

TEST(LZRW, DecompressorRefusesMalformedBlocks)
{
    std::uint8_t out[64];
    auto expand = [&](Bytes b, std::size_t cap = sizeof out) {
        return LZRWDecompress(b.data(), std::uint32_t(b.size()), out, cap);
    };
    // A copy that reaches before the start of the output.
    EXPECT_THROW(expand({0x40, 0x80, 0x00, 0x01, 0x00}), ELZRWError);
    // A copy item cut off by the end of the block.
    EXPECT_THROW(expand({0x40, 0x40, 0x00, 'a', 0x00}), ELZRWError);
    // A run item cut off.
    EXPECT_THROW(expand({0x40, 0x80, 0x00, 0x00, 0x00, 0x00}), ELZRWError);
    // A run longer than the output area.
    EXPECT_THROW(expand({0x40, 0x80, 0x00, 0x00, 0x0F, 0xEF, 'A'}), ELZRWError);
    // A stored block larger than the area.
    EXPECT_THROW(expand({0x80, 1, 2, 3}, 2), ELZRWError);
    // A compressed block too short for its control word.
    EXPECT_THROW(expand({0x40, 0x00}), ELZRWError);
    // Literals past the area.
    EXPECT_THROW(expand({0x40, 0x00, 0x00, 'a', 'b', 'c'}, 2), ELZRWError);
    // A second control word cut in half: 16 literals, then one byte.
    Bytes cut{0x40, 0x00, 0x00};
    for (int i = 0; i < 16; ++i)
        cut.push_back('a');
    cut.push_back(0x00);
    EXPECT_THROW(expand(cut), ELZRWError);
    // A second control word exactly at the end is simply the end.
    cut.push_back(0x00);
    EXPECT_EQ(expand(cut), 16u);
}

TEST(KitUtils, RectangleHelpers)
{
    EXPECT_EQ(FitRectProportional(TRect(0, 0, 100, 50), TRect(10, 20, 60, 220)), TRect(10, 20, 60, 45));
    EXPECT_EQ(FitRectProportional(TRect(0, 0, 30, 90), TRect(0, 0, 300, 300)), TRect(0, 0, 100, 300));
    EXPECT_EQ(FitRectProportional(TRect(0, 0, 0, 90), TRect(5, 6, 300, 300)), TRect(5, 6, 5, 6));

    int w = 0, h = 0;
    RectSize(TRect(-5, 3, 10, -7), w, h);
    EXPECT_EQ(w, 15);
    EXPECT_EQ(h, -10);

    TRect r(7, 9, 107, 29);
    RotatedRectBounds(r, 0);
    EXPECT_EQ(r, TRect(7, 9, 107, 29));
    RotatedRectBounds(r, 90);
    EXPECT_EQ(r, TRect(0, 0, 20, 100));
    TRect d(0, 0, 100, 100);
    RotatedRectBounds(d, 45);
    // Half-diagonal 50·√2 ≈ 70.7 → 71 each way.
    EXPECT_EQ(d, TRect(0, 0, 142, 142));

    EXPECT_EQ(IntArrayMax({3, -9, 12, 0}), 12);
    EXPECT_EQ(IntArrayMin({3, -9, 12, 0}), -9);
    EXPECT_EQ(FloatArrayMin({2.5L, -1.25L, 7.0L}), -1.25L);
}

TEST(KitUtils, BlankAndPathStrings)
{
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank("   "));
    EXPECT_FALSE(IsBlank("\t"));
    EXPECT_FALSE(IsBlank(" a "));

    const QString d = QString(KitPathDelim);
    EXPECT_EQ(AddTrailingBackslash(""), d);
    EXPECT_EQ(AddTrailingBackslash("  "), "  " + d);
    EXPECT_EQ(AddTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(AddTrailingBackslash("/usr/lib/"), "/usr/lib/");
    EXPECT_EQ(AddTrailingBackslash("/usr/lib"), "/usr/lib" + d);
    EXPECT_EQ(RemoveTrailingBackslash("C:\\dir\\\\"), "C:\\dir\\");
    EXPECT_EQ(RemoveTrailingBackslash("/tmp//"), "/tmp/");
    EXPECT_EQ(RemoveTrailingBackslash("  "), "  ");
    EXPECT_EQ(RemoveTrailingBackslash("abc"), "abc");

    EXPECT_EQ(ExtractFilePath("/a/b/c.txt"), "/a/b/");
    EXPECT_EQ(ExtractFilePath("c.txt"), "");
    EXPECT_EQ(ExtractFileName("/a/b/c.txt"), "c.txt");

    EXPECT_EQ(PathByPrefix(ppFixed, true), "");
    const QString prog = PathByPrefix(ppProgram, true);
    ASSERT_FALSE(prog.isEmpty());
    EXPECT_TRUE(prog.endsWith(d));
    EXPECT_FALSE(prog.endsWith(d + d));
    EXPECT_FALSE(PathByPrefix(ppProgram, false).endsWith(d));
    EXPECT_EQ(PathByPrefix(ppProgram, false) + d, prog);
    EXPECT_FALSE(PathByPrefix(ppWindows, true).isEmpty());
    EXPECT_FALSE(PathByPrefix(ppSystem, true).isEmpty());
}
