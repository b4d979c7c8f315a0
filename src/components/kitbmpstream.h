#pragma once
// Bitmaps in the library's stored forms: BMP file images, compressed as a
// block stream or plain with a length in front, at full or reduced depth.

#include "components/kitstream.h"
#include "platform/graphics.h"

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// The BMP file image of the bitmap as the platform saves it (nothing for an
// empty bitmap).
QByteArray BitmapFileImage(const TBitmap& bitmap);

// The picture of a BMP file image; a null image when the data is malformed,
// its pixels shorter than its header says among them.
QImage DecodeBitmapImage(const std::uint8_t* data, std::int64_t size);

// colorCount -1 keeps the bitmap's depth; 2, 16 or 256 write it reduced.
void SaveBitmapToStream(TStream& s, const TBitmap& bitmap, bool compressed, int colorCount);
// Reads a BMP image of any depth. Malformed data raises and leaves the
// bitmap as it was.
void LoadBitmapFromStream(TStream& s, TBitmap& bitmap, bool compressed);
