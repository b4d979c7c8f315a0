#include "components/kitbmpstream.h"

#include <QBuffer>
#include <QImage>

#include "components/kitprocs.h"

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
    QImage image;
    if (!image.loadFromData(tmp->Memory(), int(tmp->Size()), "BMP")) {
        s.SetPosition(start);
        throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    }
    bitmap.Assign(image);
}
