#pragma once
// List files: the items of one list on disk behind a signature and an
// offset table, so that one item (in practice one bitmap) can be loaded
// without reading the others.

#include <QByteArray>
#include <QString>
#include <vector>

#include "components/kitcont.h"

// Kinds 0 to 4 (the ListKind of the lists); 5 is no list file.
constexpr int KitListFileKinds = 5;
constexpr int KitNoListFile = 5;
// "KITIML30", "KITBML30", "KITWVL30", "KITSLL30", "KITRTL30" in kind order.
QByteArray ListFileSignature(int kind);

// "iml", "bmp", "wav", "txt", "rtf" for kinds 0-4, with a dot when asked;
// empty for any other kind.
QString ItemFileExtension(int kind, bool withDot);

// Reads the signature and the item count N of a list file and, for a list
// file, its offset table into `offsets` (when given). Returns the kind; a
// file too short for a signature is kind 5 with N = -1. A list file whose
// count or offsets do not fit the file raises EKitFormatError and leaves
// `offsets` as it was.
int ReadListFileHeader(const QString& fileName, std::int32_t& n, std::vector<std::int32_t>* offsets);

// Loads item `index` of a list file into `item`. Without `offsets` the
// header is read and the file must be of `wantedKind`; with them the header
// is taken as read. Returns true.
bool LoadListFileItem(const QString& fileName, int wantedKind, const std::vector<std::int32_t>* offsets,
                      TKitListItem& item, int index);

// The bitmap of item `index` of a bitmap-list file.
bool LoadBitmapFromListFile(const QString& fileName, int index, TBitmap& bitmap);
