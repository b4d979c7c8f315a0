#include <gtest/gtest.h>

#include <QImageReader>

#include "components/kitbmpstream.h"
#include "streambytes.h"

using namespace streambytes;

namespace {
TBitmap sampleBitmap()
{
    TBitmap b(13, 7);
    QImage& img = b.MutableImage();
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x)
            img.setPixel(x, y, qRgb(x * 19, y * 36, (x + y) % 2 ? 255 : 0));
    return b;
}

// The bit depth field of the BMP image that starts at `at`.
int bitCountAt(const Bytes& b, std::size_t at)
{
    return b[at + 28] | (b[at + 29] << 8);
}
} // namespace

TEST(BitmapStreams, RoundTripInBothForms)
{
    // With Qt's own limit on pictures lowered to 1 MB, a picture inside
    // the memory budget still loads.
    const struct Restore {
        int limit = QImageReader::allocationLimit();
        ~Restore() { QImageReader::setAllocationLimit(limit); }
    } restore;
    QImageReader::setAllocationLimit(1);
    for (const TBitmap& src : {sampleBitmap(), TBitmap(800, 900)})
        for (bool compressed : {false, true}) {
            TMemoryStream s;
            SaveBitmapToStream(s, src, compressed, -1);
            StreamWriteByte(s, 0x42);
            s.SetPosition(0);
            TBitmap back;
            LoadBitmapFromStream(s, back, compressed);
            EXPECT_EQ(StreamReadByte(s), 0x42);
            EXPECT_EQ(back.Width(), src.Width());
            EXPECT_EQ(back.Height(), src.Height());
            EXPECT_EQ(back.Image().convertToFormat(QImage::Format_RGB32),
                      src.Image().convertToFormat(QImage::Format_RGB32));
        }
    EXPECT_EQ(QImageReader::allocationLimit(), 1);
    // Plain: a BMP file image behind its length.
    TMemoryStream plain;
    SaveBitmapToStream(plain, sampleBitmap(), false, -1);
    EXPECT_EQ(plain.Bytes()[4], 'B');
    EXPECT_EQ(plain.Bytes()[5], 'M');
}

TEST(BitmapStreams, ReducedDepthAndMonochrome)
{
    TBitmap mono(16, 8);
    mono.MutableImage() = mono.Image().convertToFormat(QImage::Format_Mono);

    TMemoryStream plain;
    SaveBitmapToStream(plain, mono, false, 16);
    EXPECT_EQ(bitCountAt(plain.Bytes(), 4), 4); // the caller's 16 colours

    TMemoryStream packed;
    SaveBitmapToStream(packed, mono, true, 16);
    packed.SetPosition(0);
    auto image = LoadPayloadFromStream(packed, true);
    EXPECT_EQ(bitCountAt(image->Bytes(), 0), 1); // monochrome stays 2 colours

    TMemoryStream eight;
    SaveBitmapToStream(eight, sampleBitmap(), false, 256);
    EXPECT_EQ(bitCountAt(eight.Bytes(), 4), 8);
    eight.SetPosition(0);
    TBitmap back;
    LoadBitmapFromStream(eight, back, false);
    EXPECT_EQ(back.Width(), 13);
}

TEST(BitmapStreams, EmptyAndInvalidImages)
{
    TMemoryStream s;
    SaveBitmapToStream(s, TBitmap(), false, -1);
    EXPECT_EQ(s.Bytes(), (Bytes{0, 0, 0, 0}));
    s.SetPosition(0);
    TBitmap b = sampleBitmap();
    LoadBitmapFromStream(s, b, false);
    EXPECT_TRUE(b.Empty());

    // Junk, and pixels far shorter than the header says (refused before
    // anything is made for them).
    for (const Bytes& data : {Bytes{6, 0, 0, 0, 'B', 'M', 1, 2, 3, 4}, hugeClaimBitmap(true)}) {
        TBitmap keep = sampleBitmap();
        TMemoryStream junk = streamOf(data);
        EXPECT_THROW(LoadBitmapFromStream(junk, keep, false), EInvalidGraphic);
        EXPECT_EQ(junk.Position(), 0);
        EXPECT_EQ(keep.Width(), 13);
    }
    // Run-length pixels enough for a picture of 8 bits whose decoding (a
    // byte a pixel) and conversion (four) would pass the memory budget: a
    // read error before the decoder makes it.
    const std::uint32_t w = 16384, h = std::uint32_t(kReadMemoryBudget / (5 * w) + 1);
    TBitmap keep = sampleBitmap();
    TMemoryStream big = streamOf(bitmapClaiming(true, w, h, 8, 1, w / 128 * h));
    try {
        LoadBitmapFromStream(big, keep, false);
        ADD_FAILURE() << "a picture over the budget loaded";
    } catch (const EReadError& e) {
        EXPECT_TRUE(e.Message.contains("too large")) << e.what(); // not a broken picture
    }
    EXPECT_EQ(big.Position(), 0);
    EXPECT_EQ(keep.Width(), 13);
}
