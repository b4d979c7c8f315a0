#include "components/kitcont.h"

#include <QCoreApplication>
#include <QMetaMethod>
#include <algorithm>
#include <memory>

// ---- TKitChangeLink ----

TKitChangeLink::~TKitChangeLink()
{
    if (m_sender)
        m_sender->RemoveChangeLink(this);
}

void TKitChangeLink::Change()
{
    if (OnChange)
        OnChange(m_sender);
}

// ---- TKitBaseContainer ----

TKitBaseContainer::TKitBaseContainer(QObject* AOwner) : TKitComponent(AOwner) {}

TKitBaseContainer::~TKitBaseContainer()
{
    while (!m_links.empty()) {
        m_links.back()->m_sender = nullptr;
        m_links.pop_back();
    }
}

void TKitBaseContainer::AddChangeLink(TKitChangeLink* link)
{
    if (!link)
        return;
    if (link->m_sender && link->m_sender != this)
        link->m_sender->RemoveChangeLink(link);
    link->m_sender = this;
    if (std::find(m_links.begin(), m_links.end(), link) == m_links.end())
        m_links.push_back(link);
}

void TKitBaseContainer::RemoveChangeLink(TKitChangeLink* link)
{
    auto it = std::find(m_links.begin(), m_links.end(), link);
    if (it == m_links.end())
        return;
    link->m_sender = nullptr;
    m_links.erase(it);
}

void TKitBaseContainer::Change()
{
    // A copy: a link's handler may register or remove links.
    const std::vector<TKitChangeLink*> links = m_links;
    for (TKitChangeLink* link : links)
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end())
            link->Change();
    TKitComponent::Change();
}

// ---- TKitListItem ----

TKitListItem::TKitListItem(QObject* AOwner) : TKitComponent(AOwner) {}

TKitListItem::~TKitListItem()
{
    // Freed on its own while listed: the container must not keep it.
    if (auto* c = Container())
        c->forget(this);
}

TKitCustomContainer* TKitListItem::Container() const
{
    return qobject_cast<TKitCustomContainer*>(parent());
}

std::uint8_t TKitListItem::GetFlags() const
{
    std::uint8_t flags = 0;
    if (Compressed)
        flags |= 0x01;
    if (!Description.isEmpty())
        flags |= 0x02;
    if (Ident != 0)
        flags |= 0x04;
    return flags;
}

TKitItemHeader TKitListItem::ParseHeader(TStream& s)
{
    TKitItemHeader h;
    h.Flags = StreamReadByte(s);
    if (h.Flags & 0x02) {
        const QByteArray text = StreamReadShortString(s);
        // Charged before it is made: a description of 255 characters
        // takes more memory than the empty item it describes.
        readmemory::Charge(1, kTextMemoryCost + 2 * text.size());
        h.Description = StoredTextString(text);
    }
    if (h.Flags & 0x04)
        h.Ident = std::uint16_t(StreamReadInteger(s));
    return h;
}

void TKitListItem::ApplyHeader(const TKitItemHeader& header)
{
    Compressed = header.Flags & 0x01;
    Description = header.Description;
    Ident = header.Ident;
}

std::uint8_t TKitListItem::ReadHeader(TStream& s)
{
    const TKitItemHeader h = ParseHeader(s);
    ApplyHeader(h);
    return h.Flags;
}

void TKitListItem::WriteHeader(TStream& s)
{
    const std::uint8_t flags = GetFlags();
    // Refused before anything is written, so that no half item is left.
    const QByteArray description = (flags & 0x02) ? ShortStringBytes(Description) : QByteArray();
    StreamWriteByte(s, flags);
    if (flags & 0x02)
        StreamWriteShortString(s, description);
    if (flags & 0x04)
        StreamWriteInteger(s, Ident);
}

void TKitListItem::AssignHeader(const TKitListItem& source)
{
    Compressed = source.Compressed;
    Description = source.Description;
    Ident = source.Ident;
}

void TKitListItem::ReadState(QObject* readerParent)
{
    if (auto* c = qobject_cast<TKitCustomContainer*>(readerParent))
        c->AddItem(this);
}

void TKitListItem::Change()
{
    TKitComponent::Change();
    if (auto* c = Container())
        c->ItemChanged(this);
}

// ---- TKitStringListItem ----

TKitStringListItem::TKitStringListItem(QObject* AOwner) : TKitListItem(AOwner) {}

void TKitStringListItem::Clear()
{
    Items.clear();
}

bool TKitStringListItem::IsEmpty() const
{
    return Items.isEmpty();
}

std::uint8_t TKitStringListItem::GetFlags() const
{
    return TKitListItem::GetFlags() | (Items.isEmpty() ? 0 : 0x08);
}

void TKitStringListItem::LoadFromStream(TStream& s)
{
    LoadAtomically(s, [&] {
        const TKitItemHeader h = ParseHeader(s);
        QStringList items;
        if (h.Flags & 0x08)
            LoadStringListFromStream(s, items, h.Flags & 0x01);
        return [this, h, items = std::move(items)] {
            ApplyHeader(h);
            Items = items;
        };
    });
}

void TKitStringListItem::SaveToStream(TStream& s)
{
    // A line that cannot be stored is refused before the header goes out,
    // so that no half item is left.
    const QByteArray text = StringListText(Items);
    WriteHeader(s);
    if (!Items.isEmpty())
        SaveStringListTextToStream(s, text, Compressed);
}

void TKitStringListItem::Assign(const QObject* Source)
{
    if (const auto* src = qobject_cast<const TKitStringListItem*>(Source)) {
        AssignHeader(*src);
        Items = src->Items;
        return;
    }
    TKitListItem::Assign(Source);
}

// ---- TKitWaveListItem ----

TKitWaveListItem::TKitWaveListItem(QObject* AOwner) : TKitListItem(AOwner) {}

TKitWaveListItem::~TKitWaveListItem() = default;

TKitWave* TKitWaveListItem::Wave() const
{
    if (!m_wave) {
        auto* wave = new TKitWave;
        wave->setParent(const_cast<TKitWaveListItem*>(this));
        m_wave = wave;
    }
    return m_wave;
}

void TKitWaveListItem::Clear()
{
    if (m_wave)
        m_wave->Clear();
}

bool TKitWaveListItem::IsEmpty() const
{
    return !m_wave || m_wave->IsEmpty();
}

std::uint8_t TKitWaveListItem::GetFlags() const
{
    return TKitListItem::GetFlags() | (IsEmpty() ? 0 : 0x08);
}

void TKitWaveListItem::LoadFromStream(TStream& s)
{
    LoadAtomically(s, [&] {
        const TKitItemHeader h = ParseHeader(s);
        auto wave = std::make_shared<TKitWave>();
        if (h.Flags & 0x08) {
            readmemory::Charge(kWaveMemoryCost);
            LoadWaveFromStream(s, *wave, h.Flags & 0x01);
        }
        return [this, h, wave] {
            // The item's wave first: making it is what can fail. The loaded
            // data moves over, as a copy would hold it twice.
            if (wave->IsEmpty())
                Clear();
            else
                Wave()->SetStream(wave->TakeStream());
            ApplyHeader(h);
        };
    });
}

void TKitWaveListItem::SaveToStream(TStream& s)
{
    WriteHeader(s);
    if (!IsEmpty())
        SaveWaveToStream(s, *m_wave, Compressed);
}

void TKitWaveListItem::Assign(const QObject* Source)
{
    if (const auto* src = qobject_cast<const TKitWaveListItem*>(Source)) {
        AssignHeader(*src);
        Wave()->Assign(src->Wave());
        return;
    }
    TKitListItem::Assign(Source);
}

// ---- TKitCustomContainer ----

TKitCustomContainer::TKitCustomContainer(QObject* AOwner) : TKitBaseContainer(AOwner) {}

TKitCustomContainer::~TKitCustomContainer()
{
    const QList<TKitListItem*> items = m_items;
    m_items.clear();
    qDeleteAll(items);
}

void TKitCustomContainer::forget(TKitListItem* item)
{
    m_items.removeAll(item);
}

TKitListItem* TKitCustomContainer::Item(int index) const
{
    if (index < 0 || index >= m_items.size())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_items[index];
}

TKitListItem* TKitCustomContainer::NewItem(QObject* owner) const
{
    if (!ItemClass)
        throw EListError(KitClassName(this) + QStringLiteral(": no item class"));
    // The constructor is looked up once per class: finding it by its
    // signature costs more than making a small item.
    if (m_constructorOf != ItemClass) {
        m_constructor = -1;
        for (int i = 0; i < ItemClass->constructorCount() && m_constructor < 0; ++i) {
            const QMetaMethod c = ItemClass->constructor(i);
            if (c.parameterCount() == 1 && c.parameterType(0) == QMetaType::QObjectStar)
                m_constructor = i;
        }
        m_constructorOf = ItemClass;
    }
    QObject* obj = nullptr;
    void* args[] = {&obj, &owner};
    if (m_constructor >= 0)
        ItemClass->static_metacall(QMetaObject::CreateInstance, m_constructor, args);
    auto* item = qobject_cast<TKitListItem*>(obj);
    if (!item) {
        delete obj;
        throw EListError(KitClassName(this) + QStringLiteral(": cannot make its items"));
    }
    return item;
}

int TKitCustomContainer::AddItem(TKitListItem* item)
{
    if (!item)
        item = NewItem(this);
    else if (item->parent() != this)
        item->setParent(this);
    if (!m_items.contains(item))
        m_items.append(item);
    Change();
    return int(m_items.indexOf(item));
}

namespace {
// Frees items of one container. First to last and off the container first:
// the container's list of children then finds each at its front, so freeing
// costs time in proportion to the count.
void freeItems(const QList<TKitListItem*>& items)
{
    for (TKitListItem* item : items) {
        item->setParent(nullptr);
        delete item;
    }
}
} // namespace

void TKitCustomContainer::Clear()
{
    QList<TKitListItem*> items;
    items.swap(m_items);
    freeItems(items);
    Change();
}

void TKitCustomContainer::AddCopies(const TKitCustomContainer& source)
{
    // Copies are made first, so that copying a container into itself or a
    // failing copy leaves the list as it was.
    std::vector<std::unique_ptr<TKitListItem>> copies;
    for (TKitListItem* srcItem : source.m_items) {
        std::unique_ptr<TKitListItem> item(NewItem(nullptr));
        item->Assign(srcItem);
        copies.push_back(std::move(item));
    }
    for (auto& item : copies) {
        item->setParent(this);
        m_items.append(item.release());
    }
    Change();
}

void TKitCustomContainer::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TKitCustomContainer*>(Source);
    if (!src || !src->metaObject()->inherits(metaObject())) {
        TKitBaseContainer::Assign(Source);
        return;
    }
    if (src == this)
        return;
    BeginUpdate();
    try {
        Clear();
        AssignSettings(*src);
        AddCopies(*src);
    } catch (...) {
        EndUpdate(true);
        throw;
    }
    EndUpdate(true);
}

void TKitCustomContainer::AssignSettings(const TKitCustomContainer& source)
{
    DefaultCompressed = source.DefaultCompressed;
}

void TKitCustomContainer::LoadFromStream(TStream& s, bool withOffsets)
{
    PositionGuard guard(s);
    QList<TKitListItem*> items;
    const readmemory::Load load;
    ReadWithinMemory([&] {
        const std::int32_t n = StreamReadInteger(s);
        // Every item takes at least its flag byte, and the offset table
        // four bytes per item: a larger count cannot be in the stream.
        const std::int64_t least = std::int64_t(n) * (withOffsets ? 5 : 1);
        if (n < 0 || least > s.Remaining())
            throw EKitFormatError(QStringLiteral("Item count %1 does not fit the %2 bytes left")
                                      .arg(n).arg(s.Remaining()));
        // A count the bytes allow may still stand for far more memory than
        // the bytes: it is charged before the first item is made.
        readmemory::Charge(n, ItemMemoryCost());
        if (withOffsets && n > 0)
            s.Seek(std::int64_t(n) * 4, TSeekOrigin::soCurrent);
        // Read into a list of their own, with no search of the old items.
        std::vector<std::unique_ptr<TKitListItem>> loaded;
        loaded.reserve(std::size_t(n));
        for (std::int32_t i = 0; i < n; ++i) {
            std::unique_ptr<TKitListItem> item(NewItem(nullptr));
            item->LoadFromStream(s);
            loaded.push_back(std::move(item));
        }
        items.reserve(n);
        // The items join this container beside the old ones; what can fail
        // fails here, while the old items are still in place.
        std::size_t joined = 0;
        try {
            for (; joined < loaded.size(); ++joined)
                loaded[joined]->setParent(this);
        } catch (...) {
            while (joined > 0)
                loaded[--joined]->setParent(nullptr);
            throw;
        }
        for (auto& item : loaded)
            items.append(item.release());
    });
    guard.Commit();
    // Nothing from here on can fail: the new list takes the old one's place
    // and the old items go.
    BeginUpdate();
    items.swap(m_items);
    freeItems(items);
    EndUpdate(true);
}

std::int64_t TKitCustomContainer::ItemMemoryCost() const
{
    return kListItemMemoryCost;
}

void TKitCustomContainer::SaveToStream(TStream& s, bool withOffsets)
{
    const std::int32_t n = Count();
    StreamWriteInteger(s, n);
    if (!withOffsets) {
        for (TKitListItem* item : m_items)
            item->SaveToStream(s);
        return;
    }
    if (n <= 0)
        return;
    const std::int64_t p = s.Position();
    s.Seek(std::int64_t(n) * 4, TSeekOrigin::soCurrent);
    std::vector<std::int32_t> offsets;
    for (TKitListItem* item : m_items) {
        offsets.push_back(std::int32_t(s.Position()));
        item->SaveToStream(s);
    }
    const std::int64_t end = s.Position();
    s.SetPosition(p);
    for (std::int32_t off : offsets)
        StreamWriteInteger(s, off);
    s.SetPosition(end);
}

void TKitCustomContainer::ItemChanged(TKitListItem* item)
{
    if (OnChange)
        OnChange(item);
}

// ---- Concrete lists ----

TKitStringList::TKitStringList(QObject* AOwner) : TKitCustomContainer(AOwner)
{
    ItemClass = &TKitStringListItem::staticMetaObject;
    ListKind = 3;
}

TKitWaveList::TKitWaveList(QObject* AOwner) : TKitCustomContainer(AOwner)
{
    ItemClass = &TKitWaveListItem::staticMetaObject;
    ListKind = 2;
}

TKitCustomImageList::TKitCustomImageList(QObject* AOwner) : TKitCustomContainer(AOwner) {}

void TKitCustomImageList::AssignSettings(const TKitCustomContainer& source)
{
    TKitCustomContainer::AssignSettings(source);
    DefaultPixelFormat = static_cast<const TKitCustomImageList&>(source).DefaultPixelFormat;
}

// ---- TKitContainer ----

namespace {
TKitContainer* gGlobalContainer = nullptr;
TKitUnitObject<TKitContainer> gGlobalContainerUnit(gGlobalContainer);
} // namespace

TKitContainer::TKitContainer(QObject* AOwner)
    : TKitBaseContainer(AOwner),
      m_bitmapList(new TKitBitmapList(this)),
      m_imageList(new TKitImageList(this)),
      m_waveList(new TKitWaveList(this)),
      m_stringList(new TKitStringList(this))
{
    for (TKitCustomContainer* list : {static_cast<TKitCustomContainer*>(m_bitmapList),
                                      static_cast<TKitCustomContainer*>(m_imageList),
                                      static_cast<TKitCustomContainer*>(m_stringList),
                                      static_cast<TKitCustomContainer*>(m_waveList)})
        list->OnChange = [this](TObject* sender) { ObjectChanged(sender); };
}

TKitContainer::~TKitContainer()
{
    for (TKitCustomContainer* list : {static_cast<TKitCustomContainer*>(m_bitmapList),
                                      static_cast<TKitCustomContainer*>(m_imageList),
                                      static_cast<TKitCustomContainer*>(m_stringList),
                                      static_cast<TKitCustomContainer*>(m_waveList)})
        list->OnChange = nullptr;
}

void TKitContainer::ObjectChanged(TObject* Sender)
{
    TKitContainer* global = gGlobalContainer;
    if (IsDesigning() && global && global != this) {
        if (Sender == m_bitmapList)
            global->m_bitmapList->Assign(m_bitmapList);
        else if (Sender == m_imageList)
            global->m_imageList->Assign(m_imageList);
        else if (Sender == m_waveList)
            global->m_waveList->Assign(m_waveList);
        else if (Sender == m_stringList)
            global->m_stringList->Assign(m_stringList);
    }
    Change();
}

TKitContainer* KitGlobalContainer()
{
    return gGlobalContainer;
}

void CreateKitGlobalContainer()
{
    gGlobalContainerUnit.Start();
}

void FreeKitGlobalContainer()
{
    gGlobalContainerUnit.End();
}

// The unit's start and end: the global container lives as long as the
// application object of the class library.
static void kitContStartup()
{
    CreateKitGlobalContainer();
    qAddPostRoutine(FreeKitGlobalContainer);
}
Q_COREAPP_STARTUP_FUNCTION(kitContStartup)

// ---- References to the global lists ----

bool IsGlobalImageList(const TKitCustomImageList* list)
{
    return list && gGlobalContainer &&
           (list == gGlobalContainer->BitmapList() || list == gGlobalContainer->ImageList());
}

QByteArray GlobalListRef(const TKitCustomImageList* list)
{
    if (!gGlobalContainer || !list)
        return QByteArray();
    if (list == gGlobalContainer->BitmapList())
        return QByteArrayLiteral("KITBML30");
    if (list == gGlobalContainer->ImageList())
        return QByteArrayLiteral("KITIML30");
    return QByteArray();
}

void WriteGlobalListRef(TStream& writer, const TKitCustomImageList* list)
{
    const QByteArray ref = GlobalListRef(list);
    if (!ref.isEmpty())
        StreamWriteShortString(writer, ref);
}

TKitCustomImageList* GlobalListByRef(const QByteArray& ref)
{
    if (!gGlobalContainer)
        return nullptr;
    if (ref == "KITBML30")
        return gGlobalContainer->BitmapList();
    if (ref == "KITIML30")
        return gGlobalContainer->ImageList();
    return nullptr;
}

TKitCustomImageList* ReadGlobalListRef(TStream& reader)
{
    return GlobalListByRef(StreamReadShortString(reader));
}
