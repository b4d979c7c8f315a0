#include "components/kitbmpstream.h"

#include <QBuffer>
#include <QImage>

#include <cstdlib>
#include <limits>

#include "components/kitprocs.h"

namespace {
std::int64_t le(const std::uint8_t* p, int bytes)
{
    std::int64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// Whether the pixel data behind the headers is as long as the headers say.
// The image decoder allocates the whole picture from the header's size before
// it reads a pixel, so a few bytes claiming thousands of pixels square would
// cost gigabytes; a run-length picture gives at most 255 pixels for two bytes.
bool pixelsPresent(const std::uint8_t* p, std::int64_t size)
{
    if (size < 26 || p[0] != 'B' || p[1] != 'M')
        return false;
    const std::int64_t offset = le(p + 10, 4), headerSize = le(p + 14, 4);
    std::int64_t width = 0, height = 0, bits = 0, compression = 0;
    if (headerSize == 12) {
        width = le(p + 18, 2);
        height = le(p + 20, 2);
        bits = le(p + 24, 2);
    } else if (headerSize >= 40 && size >= 54) {
        width = std::int32_t(le(p + 18, 4));
        height = std::abs(std::int64_t(std::int32_t(le(p + 22, 4)))); // negative: rows top-down
        bits = le(p + 28, 2);
        compression = le(p + 30, 4);
    } else {
        return false;
    }
    if (width <= 0 || height == 0 || bits == 0 || bits > 32 || offset < 14 + headerSize || offset > size)
        return false;
    const std::int64_t available = size - offset;
    switch (compression) {
    case 0: // plain
    case 3: // bit fields
    {
        const std::int64_t rowBytes = (width * bits + 31) / 32 * 4;
        return height <= available / rowBytes;
    }
    case 1: // run-length, 8 bits
    case 2: // run-length, 4 bits
        return height <= 128 * available / width;
    default:
        return false;
    }
}
} // namespace

QImage DecodeBitmapImage(const std::uint8_t* data, std::int64_t size)
{
    QImage image;
    if (pixelsPresent(data, size) && size <= std::numeric_limits<int>::max())
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

void LoadBitmapFromStream(TStream& s, TBitmap& bitmap, bool compressed)
{
    const std::int64_t start = s.Position();
    auto tmp = LoadPayloadFromStream(s, compressed);
    if (tmp->Size() == 0) {
        bitmap = TBitmap();
        return;
    }
    const QImage image = DecodeBitmapImage(tmp->Memory(), tmp->Size());
    if (image.isNull()) {
        s.SetPosition(start);
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    }
    bitmap.Assign(image);
}
