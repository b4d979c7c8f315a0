#pragma once
// Non-visual containers of items that controls share, the change links that
// tell those controls about every change, and the one global container.

#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

#include "components/kitclass.h"
#include "components/kitgraph.h"
#include "components/kitstream.h"
#include "components/kitutils.h"
#include "components/kitwave.h"

class TKitBaseContainer;
class TKitCustomContainer;

class EListError : public Exception {
public:
    using Exception::Exception;
};

// Held by a control; registered with the container whose changes it follows.
class TKitChangeLink {
public:
    TKitChangeLink() = default;
    virtual ~TKitChangeLink();
    TKitChangeLink(const TKitChangeLink&) = delete;
    TKitChangeLink& operator=(const TKitChangeLink&) = delete;

    TKitBaseContainer* Sender() const { return m_sender; }
    TNotifyEvent OnChange; // receives the sender container

    virtual void Change();

private:
    friend class TKitBaseContainer;
    TKitBaseContainer* m_sender = nullptr;
};

class TKitBaseContainer : public TKitComponent {
    Q_OBJECT
public:
    explicit TKitBaseContainer(QObject* AOwner = nullptr);
    ~TKitBaseContainer() override;

    // A link follows one container at a time, and is listed there once: adding
    // it again changes nothing, adding it elsewhere moves it.
    void AddChangeLink(TKitChangeLink* link);
    void RemoveChangeLink(TKitChangeLink* link);
    int LinkCount() const { return int(m_links.size()); }

    // Links hear every change, even under the update lock; then OnChange.
    void Change() override;

private:
    std::vector<TKitChangeLink*> m_links;
};

// ---- Items ----

// The fields every item writes before its own data.
struct TKitItemHeader {
    std::uint8_t Flags = 0;
    QString Description;
    std::uint16_t Ident = 0;
};

// One item of a container: a flag byte, an optional description and ident,
// then its payload in the compressed or the plain form.
//
// Loading is all or nothing: an item whose stored form is malformed or cut
// short raises and keeps its contents, and the stream is back where it was.
class TKitListItem : public TKitComponent {
    Q_OBJECT
public:
    explicit TKitListItem(QObject* AOwner = nullptr);
    ~TKitListItem() override;

    QString Description;
    std::uint16_t Ident = 0;
    bool Compressed = false;

    virtual void Clear() = 0;
    virtual bool IsEmpty() const = 0;
    virtual void LoadFromStream(TStream& s) = 0;
    virtual void SaveToStream(TStream& s) = 0;
    virtual std::uint8_t GetFlags() const;

    std::uint8_t ReadHeader(TStream& s);
    void WriteHeader(TStream& s);
    void AssignHeader(const TKitListItem& source);
    // The header's fields without touching the item, and their commit.
    static TKitItemHeader ParseHeader(TStream& s);
    void ApplyHeader(const TKitItemHeader& header);

    void Change() override;
    TKitCustomContainer* Container() const;
    // What the form reader does first with an item whose parent is a
    // container: the item joins that container.
    void ReadState(QObject* readerParent);

protected:
    // Runs `parse` (which reads from `s` and returns the commit) and then
    // the commit, which either fails before it changes the item or not at
    // all; when either raises (running out of memory too), `s` goes back to
    // where it was.
    template <class Parse>
    static void LoadAtomically(TStream& s, Parse&& parse)
    {
        PositionGuard guard(s);
        ReadWithinMemory([&] {
            auto commit = parse();
            commit();
        });
        guard.Commit();
    }
};

class TKitStringListItem : public TKitListItem {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TKitStringListItem(QObject* AOwner = nullptr);

    QStringList Items;

    void Clear() override;
    bool IsEmpty() const override;
    void LoadFromStream(TStream& s) override;
    void SaveToStream(TStream& s) override;
    std::uint8_t GetFlags() const override;
    void Assign(const QObject* Source) override;
};

class TKitWaveListItem : public TKitListItem {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TKitWaveListItem(QObject* AOwner = nullptr);
    ~TKitWaveListItem() override;

    // Made when it is first asked for or loaded: an empty item holds no
    // wave, which nearly halves what a list of empty items takes.
    TKitWave* Wave() const;

    void Clear() override;
    bool IsEmpty() const override;
    void LoadFromStream(TStream& s) override;
    void SaveToStream(TStream& s) override;
    std::uint8_t GetFlags() const override;
    void Assign(const QObject* Source) override;

private:
    mutable TKitWave* m_wave = nullptr;
};

// ---- Containers ----

// What an item holds in memory with nothing loaded into it, measured: the
// item object with Qt's private part of it, its places in the container's
// lists and the allocator's share; what a wave or a bitmap adds; and what a
// description adds besides its two bytes a character.
constexpr std::int64_t kListItemMemoryCost = 320;
constexpr std::int64_t kWaveMemoryCost = 240;
constexpr std::int64_t kBitmapMemoryCost = 288;
constexpr std::int64_t kTextMemoryCost = 48;

class TKitCustomContainer : public TKitBaseContainer {
    Q_OBJECT
public:
    explicit TKitCustomContainer(QObject* AOwner = nullptr);
    ~TKitCustomContainer() override;

    bool DefaultCompressed = false;
    TKitPathPrefix StoragePrefix = ppProgram;
    std::uint8_t StorageMode = 0;
    QString StorageFileName;
    const QMetaObject* ItemClass = nullptr;
    std::uint8_t ListKind = 0;

    int Count() const { return int(m_items.size()); }
    TKitListItem* Item(int index) const;
    // Appends `item`, or a new item of ItemClass when none is given.
    int AddItem(TKitListItem* item = nullptr);
    void Clear();
    void AddCopies(const TKitCustomContainer& source);
    // From a container of this class (or a descendant): its settings and
    // copies of its items, with one change at the end. Others are refused.
    void Assign(const QObject* Source) override;
    // The items, in the order a form writer stores them.
    const QList<TKitListItem*>& GetChildren() const { return m_items; }

    // Replaces the items with those stored in `s`. Counts and lengths are
    // checked against the stream; malformed data raises and leaves the
    // container (and the stream position) as they were. ItemMemoryCost is
    // charged for every item against kReadMemoryBudget before any is made,
    // so that a count past the budget is refused at once.
    virtual void LoadFromStream(TStream& s, bool withOffsets);
    virtual void SaveToStream(TStream& s, bool withOffsets);
    // The memory one item of this list holds with nothing loaded into it.
    virtual std::int64_t ItemMemoryCost() const;

    // An item's change reaches the container's OnChange directly.
    void ItemChanged(TKitListItem* item);

protected:
    TKitListItem* NewItem(QObject* owner) const;
    // The settings that Assign copies besides the items.
    virtual void AssignSettings(const TKitCustomContainer& source);

private:
    friend class TKitListItem;
    void forget(TKitListItem* item);
    QList<TKitListItem*> m_items;
    // The item class's constructor that takes the owner, and that class.
    mutable const QMetaObject* m_constructorOf = nullptr;
    mutable int m_constructor = -1;
};

class TKitStringList : public TKitCustomContainer {
    Q_OBJECT
public:
    explicit TKitStringList(QObject* AOwner = nullptr);
};

class TKitWaveList : public TKitCustomContainer {
    Q_OBJECT
public:
    explicit TKitWaveList(QObject* AOwner = nullptr);
};

// Lists of pictures: every picture is found by a list index (the item) and
// an image index within it. The concrete lists are in kitimglist.
class TKitCustomImageList : public TKitCustomContainer {
    Q_OBJECT
public:
    explicit TKitCustomImageList(QObject* AOwner = nullptr);
    TKitSavePixelFormat DefaultPixelFormat = spfDefault;

    virtual TCanvas* ImageCanvas(int ListIndex) = 0;
    virtual TRect ImageRect(int ListIndex, int ImageIndex) = 0;
    // Which: 0 width, 1 height.
    virtual int ImageDimension(int ListIndex, int Which) = 0;
    virtual int ImageCount(int ListIndex) = 0;
    virtual bool IsValidImage(int ListIndex, int ImageIndex) = 0;
    virtual void GetImage(int ListIndex, int ImageIndex, TBitmap* Dest) = 0;
    virtual bool IsMasked(int ListIndex) = 0;
    virtual TKitPaletteHandle ImagePalette(int ListIndex) = 0;
    virtual TColor ImageTransparentColor(int ListIndex, int ImageIndex) = 0;
    virtual TColor ImagePixel(const TPoint& Point, int ListIndex, int ImageIndex) = 0;
    virtual void Draw(TCanvas* Canvas, int X, int Y, int ListIndex, int ImageIndex) = 0;
    virtual void DrawInRect(TCanvas* Canvas, const TRect& Rect, std::uint16_t Flags, int ListIndex, int ImageIndex,
                            TRect& PaintedRect) = 0;
    virtual void DrawEx(TCanvas* Canvas, const TRect& Rect, std::uint16_t Flags, std::uint32_t ClipOffset,
                        TColor Colour, int ListIndex, int ImageIndex) = 0;

protected:
    void AssignSettings(const TKitCustomContainer& source) override;
};

class TKitBitmapList;
class TKitImageList;

class TKitContainer : public TKitBaseContainer {
    Q_OBJECT
public:
    explicit TKitContainer(QObject* AOwner = nullptr);
    ~TKitContainer() override;

    TKitBitmapList* BitmapList() const { return m_bitmapList; }
    TKitImageList* ImageList() const { return m_imageList; }
    TKitWaveList* WaveList() const { return m_waveList; }
    TKitStringList* StringList() const { return m_stringList; }

    // A list changed: on a form being designed the same kind of list of the
    // global container becomes a copy; then this container's own change.
    void ObjectChanged(TObject* Sender) override;

private:
    TKitBitmapList* m_bitmapList;
    TKitImageList* m_imageList;
    TKitWaveList* m_waveList;
    TKitStringList* m_stringList;
};

// The ownerless container made at start and freed at exit.
TKitContainer* KitGlobalContainer();
void CreateKitGlobalContainer();
void FreeKitGlobalContainer();

// The "Internal" reference of a control to a list of the global container.
bool IsGlobalImageList(const TKitCustomImageList* list);
// "KITBML30" or "KITIML30"; empty for any other list (nothing is stored).
QByteArray GlobalListRef(const TKitCustomImageList* list);
void WriteGlobalListRef(TStream& writer, const TKitCustomImageList* list);
TKitCustomImageList* ReadGlobalListRef(TStream& reader);
TKitCustomImageList* GlobalListByRef(const QByteArray& ref);

// The picture lists complete what this header declares; users of the
// container get them with it.
#include "components/kitimglist.h"
