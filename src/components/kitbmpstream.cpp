#include "components/kitbmpstream.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

#include <cstdlib>
#include <limits>
#include <optional>

#include "components/kitprocs.h"

namespace {
std::int64_t le(const std::uint8_t* p, int bytes)
{
    std::int64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// What a BMP file image's headers declare.
struct Declared {
    std::int64_t width = 0, height = 0, bits = 0, compression = 0, offset = 0;
};

std::optional<Declared> declaredBy(const std::uint8_t* p, std::int64_t size)
{
    if (size < 26 || p[0] != 'B' || p[1] != 'M')
        return std::nullopt;
    Declared d;
    d.offset = le(p + 10, 4);
    const std::int64_t headerSize = le(p + 14, 4);
    if (headerSize == 12) {
        d.width = le(p + 18, 2);
        d.height = le(p + 20, 2);
        d.bits = le(p + 24, 2);
    } else if (headerSize >= 40 && size >= 54) {
        d.width = std::int32_t(le(p + 18, 4));
        d.height = std::abs(std::int64_t(std::int32_t(le(p + 22, 4)))); // negative: rows top-down
        d.bits = le(p + 28, 2);
        d.compression = le(p + 30, 4);
    } else {
        return std::nullopt;
    }
    if (d.width <= 0 || d.height == 0 || d.bits == 0 || d.bits > 32 || d.offset < 14 + headerSize || d.offset > size)
        return std::nullopt;
    return d;
}

// Whether the pixel data behind the headers is as long as the headers say.
// The image decoder allocates the whole picture from the header's size before
// it reads a pixel, so a few bytes claiming thousands of pixels square would
// cost gigabytes; a run-length picture gives at most 255 pixels for two bytes.
bool pixelsPresent(const Declared& d, std::int64_t size)
{
    const std::int64_t available = size - d.offset;
    switch (d.compression) {
    case 0: // plain
    case 3: // bit fields
    {
        const std::int64_t rowBytes = (d.width * d.bits + 31) / 32 * 4;
        return d.height <= available / rowBytes;
    }
    case 1: // run-length, 8 bits
    case 2: // run-length, 4 bits
        return d.height <= 128 * available / d.width;
    default:
        return false;
    }
}

// The bytes a row of the picture takes while it is decoded and converted:
// the decoder's rows (a byte or less a pixel up to 8 bits, four above) and
// then the four bytes a pixel the bitmap keeps.
std::int64_t rowMemory(const Declared& d)
{
    const std::int64_t decoded = d.bits <= 8 ? (d.width * d.bits + 31) / 32 * 4 : d.width * 4;
    return decoded + d.width * 4;
}

// Qt's image reader refuses a picture past an allocation limit of its own
// (128 MB by default), which a sound picture well inside the budget passes.
// The budget, charged before the reader sees the picture, is the one limit:
// for the reader's work Qt's limit is the budget, and is put back after.
// Qt keeps the limit for the whole process, which holds while pictures are
// read on one thread, the forms'.
class ReaderLimitAtBudget {
public:
    ReaderLimitAtBudget() : m_previous(QImageReader::allocationLimit())
    {
        QImageReader::setAllocationLimit(int(kReadMemoryBudget >> 20));
    }
    ~ReaderLimitAtBudget() { QImageReader::setAllocationLimit(m_previous); }
    ReaderLimitAtBudget(const ReaderLimitAtBudget&) = delete;
    ReaderLimitAtBudget& operator=(const ReaderLimitAtBudget&) = delete;

private:
    int m_previous;
};
} // namespace

QImage DecodeBitmapImage(const std::uint8_t* data, std::int64_t size)
{
    QImage image;
    const std::optional<Declared> d = declaredBy(data, size);
    if (!d || !pixelsPresent(*d, size) || size > std::numeric_limits<int>::max())
        return image;
    if (!readmemory::TryCharge(d->height, rowMemory(*d)))
        throw EReadError(QStringLiteral("Bitmap image of %1 x %2 pixels is too large to load within %3 bytes "
                                        "of memory")
                             .arg(d->width).arg(d->height).arg(kReadMemoryBudget));
    const ReaderLimitAtBudget limit;
    image.loadFromData(data, int(size), "BMP");
    return image;
}

QByteArray BitmapFileImage(const TBitmap& bitmap)
{
    if (bitmap.Empty())
        return QByteArray();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!bitmap.Image().save(&buffer, "BMP"))
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    return data;
}

void SaveBitmapToStream(TStream& s, const TBitmap& bitmap, bool compressed, int colorCount)
{
    TMemoryStream tmp;
    if (colorCount == -1) {
        const QByteArray image = BitmapFileImage(bitmap);
        tmp.WriteBuffer(image.constData(), image.size());
    } else if (compressed) {
        // The reduced save gives a monochrome bitmap its 2 colours itself.
        SaveBitmapReduced(tmp, &bitmap, colorCount);
    } else {
        // Plain: the caller's colour count, also for a monochrome bitmap.
        WriteBMPImage(tmp, &bitmap, nullptr, colorCount, false);
    }
    SavePayloadToStream(s, tmp, compressed);
}

void ShareBitmapPicture(TBitmap& to, const TBitmap& from)
{
    if (from.Empty())
        to.SetSize(from.Width(), from.Height());
    else
        to.Assign(from.Image());
    to.Transparent = from.Transparent;
    to.TransparentColor = from.TransparentColor;
}

void LoadBitmapFromStream(TStream& s, TBitmap& bitmap, bool compressed)
{
    PositionGuard guard(s);
    // The payload and the picture made of it are one load's.
    const readmemory::Load load;
    const QImage image = ReadWithinMemory([&] {
        auto tmp = LoadPayloadFromStream(s, compressed);
        if (tmp->Size() == 0)
            return QImage();
        const QImage decoded = DecodeBitmapImage(tmp->Memory(), tmp->Size());
        if (decoded.isNull())
            throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
        // Converted here, where a failure is still the reader's: the bitmap
        // then takes the pixels as they are.
        const QImage converted = decoded.convertToFormat(QImage::Format_RGB32);
        if (converted.isNull())
            throw std::bad_alloc();
        return converted;
    });
    guard.Commit();
    if (image.isNull())
        bitmap = TBitmap();
    else
        bitmap.Assign(image);
}

// ---------------------------------------------------------------- BMP writer

namespace {

int bitCountFor(int colorCount)
{
    switch (colorCount) {
    case 2:
        return 1;
    case 16:
        return 4;
    case 256:
        return 8;
    default:
        return 32; // the bitmap's own depth: 32-bit pixels
    }
}

// The colour table a reduced image is mapped to.
std::vector<QRgb> colorTable(int bits, const TKitPaletteHandle& palette)
{
    std::vector<QRgb> t;
    if (bits == 1) {
        t = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    } else if (bits == 4) {
        // The sixteen colours of the classic 4-bit display.
        const TColor vga[16] = {clBlack, clMaroon, clGreen, clOlive, clNavy,   clPurple, clTeal, clSilver,
                                clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};
        for (TColor c : vga)
            t.push_back(qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    } else if (bits == 8) {
        if (palette && !palette->Entries.empty()) {
            for (TColor c : palette->Entries) {
                if (t.size() == 256)
                    break;
                const TColor rgb = ColorToRGB(c);
                t.push_back(qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)));
            }
        } else {
            // A colour cube of six levels a channel and forty greys.
            for (int r = 0; r < 6; ++r)
                for (int g = 0; g < 6; ++g)
                    for (int b = 0; b < 6; ++b)
                        t.push_back(qRgb(r * 51, g * 51, b * 51));
            for (int i = 0; i < 40; ++i) {
                const int v = (i + 1) * 255 / 41;
                t.push_back(qRgb(v, v, v));
            }
        }
    }
    return t;
}

int nearest(const std::vector<QRgb>& table, QRgb c)
{
    int best = 0;
    long bestD = -1;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const long dr = qRed(c) - qRed(table[i]), dg = qGreen(c) - qGreen(table[i]), db = qBlue(c) - qBlue(table[i]);
        const long d = dr * dr + dg * dg + db * db;
        if (bestD < 0 || d < bestD) {
            bestD = d;
            best = int(i);
        }
    }
    return best;
}

void put32(char* p, std::uint32_t v) { qToLittleEndian<std::uint32_t>(v, p); }
void put16(char* p, std::uint16_t v) { qToLittleEndian<std::uint16_t>(v, p); }

bool validBitmap(const TBitmap* bitmap) { return bitmap && !bitmap->Empty(); }

} // namespace

void InitBitmapInfoHeader(const TBitmap* bitmap, TKitBitmapInfoHeader& header, int colorCount)
{
    header = TKitBitmapInfoHeader();
    if (!validBitmap(bitmap))
        return;
    header.biWidth = bitmap->Width();
    header.biHeight = bitmap->Height();
    int bits = bitCountFor(colorCount);
    if (bits == 16 || bits == 32)
        bits = 24;
    header.biBitCount = std::uint16_t(bits);
    header.biSizeImage = std::uint32_t(((std::int64_t(header.biWidth) * bits + 31) / 32) * 4 * header.biHeight);
}

void BMPSizes(const TBitmap* bitmap, int colorCount, int& headerSize, int& imageSize)
{
    TKitBitmapInfoHeader h;
    InitBitmapInfoHeader(bitmap, h, colorCount);
    headerSize = h.biBitCount == 24 ? 40 : 40 + 4 * (1 << h.biBitCount);
    imageSize = int(h.biSizeImage);
}

bool ReadBitmapBits(const TBitmap* bitmap, const TKitPaletteHandle& palette, TKitBitmapInfoHeader& header,
                    int colorCount, char* headerAndTable, char* bits)
{
    InitBitmapInfoHeader(bitmap, header, colorCount);
    if (!validBitmap(bitmap) || !headerAndTable || !bits)
        return false;
    char* h = headerAndTable;
    put32(h + 0, header.biSize);
    put32(h + 4, std::uint32_t(header.biWidth));
    put32(h + 8, std::uint32_t(header.biHeight));
    put16(h + 12, header.biPlanes);
    put16(h + 14, header.biBitCount);
    put32(h + 16, header.biCompression);
    put32(h + 20, header.biSizeImage);
    put32(h + 24, 0);
    put32(h + 28, 0);
    put32(h + 32, 0);
    put32(h + 36, 0);

    const int bpp = header.biBitCount;
    const std::vector<QRgb> table = colorTable(bpp, palette);
    if (bpp != 24) {
        // An absent entry of a short palette stays zero (black).
        for (std::size_t i = 0; i < table.size(); ++i) {
            char* e = h + 40 + 4 * i;
            e[0] = char(qBlue(table[i]));
            e[1] = char(qGreen(table[i]));
            e[2] = char(qRed(table[i]));
            e[3] = 0;
        }
    }
    const QImage img = bitmap->Image().convertToFormat(QImage::Format_RGB32);
    const int w = header.biWidth, ht = header.biHeight;
    const int rowBytes = ((w * bpp + 31) / 32) * 4;
    for (int y = 0; y < ht; ++y) {
        // Rows are stored bottom-up.
        auto src = reinterpret_cast<const QRgb*>(img.constScanLine(ht - 1 - y));
        auto row = reinterpret_cast<unsigned char*>(bits + std::size_t(y) * std::size_t(rowBytes));
        for (int x = 0; x < w; ++x) {
            const QRgb c = src[x];
            if (bpp == 24) {
                row[3 * x] = static_cast<unsigned char>(qBlue(c));
                row[3 * x + 1] = static_cast<unsigned char>(qGreen(c));
                row[3 * x + 2] = static_cast<unsigned char>(qRed(c));
                continue;
            }
            const int idx = nearest(table, c);
            if (bpp == 8) {
                row[x] = static_cast<unsigned char>(idx);
            } else if (bpp == 4) {
                row[x / 2] |= static_cast<unsigned char>((x % 2 == 0) ? idx << 4 : idx);
            } else {
                if (idx)
                    row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
            }
        }
    }
    return ht > 0;
}

QByteArray BuildBMPImage(const TBitmap* bitmap, const TKitPaletteHandle& palette, int colorCount)
{
    if (!validBitmap(bitmap))
        throw Exception(QStringLiteral("Bitmap image is not valid"));
    int headerSize = 0, imageSize = 0;
    BMPSizes(bitmap, colorCount, headerSize, imageSize);
    const int total = 14 + headerSize + imageSize;
    QByteArray block(total, '\0');
    char* p = block.data();
    put16(p, 0x4D42);
    put32(p + 2, std::uint32_t(total));
    put16(p + 6, 0);
    put16(p + 8, 0);
    put32(p + 10, std::uint32_t(14 + headerSize));
    TKitBitmapInfoHeader header;
    ReadBitmapBits(bitmap, palette, header, colorCount, p + 14, p + 14 + headerSize);
    return block;
}

void WriteBMPImage(TStream& stream, const TBitmap* bitmap, const TKitPaletteHandle& palette, int colorCount,
                   bool withLengthPrefix)
{
    const QByteArray image = BuildBMPImage(bitmap, palette, colorCount);
    if (withLengthPrefix) {
        char len[4];
        put32(len, std::uint32_t(image.size()));
        stream.WriteBuffer(len, 4);
    }
    stream.WriteBuffer(image.constData(), image.size());
}

void SaveBitmapReduced(TMemoryStream& stream, const TBitmap* bitmap, int colorCount)
{
    const bool mono = validBitmap(bitmap) && (bitmap->Image().format() == QImage::Format_Mono
                                              || bitmap->Image().format() == QImage::Format_MonoLSB);
    WriteBMPImage(stream, bitmap, nullptr, mono ? 2 : colorCount, false);
    stream.SetPosition(0);
}
