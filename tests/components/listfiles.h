#pragma once
// Helpers of the list and picture tests: image items with known pictures and
// list files written as the lists store them.

#include <QTemporaryDir>

#include "components/kitbmpstream.h"
#include "components/kitcont.h"
#include "components/kitlistfile.h"

namespace listfiles {

// The colour image i of a strip is filled with.
inline TColor imageColor(int i)
{
    return RGB(20 + (i * 37) % 200, 200 - (i * 53) % 180, 40 + (i * 11) % 190);
}

// Gives `item` n images of its size, image i filled with imageColor(i). A
// masked item's images are clear in their right half: white in the mask,
// black in the strip.
inline void fillImages(TKitImageListItem& item, int n)
{
    const int w = item.Width(), h = item.Height();
    TBitmap strip(n * w, h), mask(n * w, h);
    for (int i = 0; i < n; ++i) {
        strip.Canvas().Brush.Color = imageColor(i);
        strip.Canvas().FillRect(Bounds(i * w, 0, w, h));
        mask.Canvas().Brush.Color = clBlack;
        mask.Canvas().FillRect(Bounds(i * w, 0, w / 2, h));
        if (item.Masked()) {
            strip.Canvas().Brush.Color = clBlack;
            strip.Canvas().FillRect(Bounds(i * w + w / 2, 0, w - w / 2, h));
        }
    }
    TMemoryStream s;
    StreamWriteInteger(s, n);
    if (n > 0) {
        SaveBitmapToStream(s, strip, item.Compressed, -1);
        if (item.Masked())
            SaveBitmapToStream(s, mask, item.Compressed, 2);
    }
    s.SetPosition(0);
    item.ReadImages(s);
}

// The bytes of a list file holding `list`.
inline std::vector<std::uint8_t> listFileBytes(TKitCustomContainer& list)
{
    TMemoryStream s;
    StreamWriteShortString(s, ListFileSignature(list.ListKind));
    list.SaveToStream(s, true);
    return s.Bytes();
}

inline QString writeFile(const QTemporaryDir& dir, const QString& name, const std::vector<std::uint8_t>& bytes)
{
    const QString path = dir.filePath(name);
    TMemoryStream s;
    s.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
    s.SaveToFile(path);
    return path;
}
} // namespace listfiles
