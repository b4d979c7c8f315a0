#include <gtest/gtest.h>

#include "components/kitcont.h"

#include "streambytes.h"

using namespace streambytes;

namespace {
TKitStringListItem* addStrings(TKitStringList& list, const QStringList& lines, const QString& description = {},
                               std::uint16_t ident = 0, bool compressed = false)
{
    auto* item = static_cast<TKitStringListItem*>(list.Item(list.AddItem()));
    item->Items = lines;
    item->Description = description;
    item->Ident = ident;
    item->Compressed = compressed;
    return item;
}

QList<QStringList> contents(const TKitStringList& list)
{
    QList<QStringList> out;
    for (TKitListItem* item : list.GetChildren())
        out << static_cast<TKitStringListItem*>(item)->Items;
    return out;
}
} // namespace

TEST(ChangeLinks, FollowOneContainerAndNeverDangle)
{
    auto* a = new TKitStringList;
    TKitStringList b;
    TKitChangeLink link;
    QList<TObject*> heard;
    link.OnChange = [&](TObject* sender) { heard << sender; };

    a->AddChangeLink(&link);
    a->AddChangeLink(&link); // twice: still listed once
    EXPECT_EQ(a->LinkCount(), 1);
    EXPECT_EQ(link.Sender(), a);
    a->Change();
    EXPECT_EQ(heard, QList<TObject*>{a});

    b.AddChangeLink(&link); // moved: the old container forgets it
    EXPECT_EQ(a->LinkCount(), 0);
    EXPECT_EQ(b.LinkCount(), 1);
    a->Change();
    b.Change();
    EXPECT_EQ(heard, (QList<TObject*>{a, &b}));

    a->AddChangeLink(&link);
    delete a; // the container goes first: the link's sender is cleared
    EXPECT_EQ(link.Sender(), nullptr);
    EXPECT_EQ(b.LinkCount(), 0);

    {
        TKitChangeLink shortLived;
        b.AddChangeLink(&shortLived);
        EXPECT_EQ(b.LinkCount(), 1);
    }
    EXPECT_EQ(b.LinkCount(), 0);
    b.RemoveChangeLink(&link); // not registered: ignored
}

TEST(ChangeLinks, HearChangesUnderTheUpdateLock)
{
    TKitStringList list;
    TKitChangeLink link;
    int links = 0, own = 0;
    link.OnChange = [&](TObject*) { ++links; };
    list.OnChange = [&](TObject*) { ++own; };
    list.AddChangeLink(&link);
    list.BeginUpdate();
    list.AddItem();
    list.AddItem();
    EXPECT_EQ(links, 2);
    EXPECT_EQ(own, 0);
    list.EndUpdate(true);
    EXPECT_EQ(links, 3);
    EXPECT_EQ(own, 1);
}

TEST(Containers, ItemsAndAssignment)
{
    TKitStringList list;
    EXPECT_EQ(list.ListKind, 3);
    addStrings(list, {"a"});
    addStrings(list, {"b", "c"});
    EXPECT_EQ(list.Count(), 2);
    EXPECT_THROW(list.Item(2), EListError);
    EXPECT_THROW(list.Item(-1), EListError);

    // An item's change reaches the container's OnChange with the item.
    TObject* sender = nullptr;
    list.OnChange = [&](TObject* s) { sender = s; };
    list.Item(1)->Change();
    EXPECT_EQ(sender, list.Item(1));

    TKitStringList copy;
    copy.DefaultCompressed = false;
    list.DefaultCompressed = true;
    copy.Assign(&list);
    EXPECT_EQ(contents(copy), contents(list));
    EXPECT_TRUE(copy.DefaultCompressed);
    EXPECT_EQ(copy.Item(0)->parent(), &copy);

    copy.Assign(&copy); // self-assignment keeps the items
    EXPECT_EQ(contents(copy), contents(list));

    TKitWaveList waves;
    EXPECT_THROW(copy.Assign(&waves), EConvertError);

    // An item freed on its own is not left in the list.
    delete list.Item(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(contents(list), QList<QStringList>{QStringList({"b", "c"})});
}

TEST(Containers, StreamsWithAndWithoutOffsets)
{
    TKitStringList list;
    addStrings(list, {"one"}, "first", 7);
    addStrings(list, {}, "", 0);
    addStrings(list, {"x", "y"}, "", 0, true);

    for (bool offsets : {false, true}) {
        TMemoryStream s;
        StreamWriteByte(s, 0xAB); // the list need not start at 0
        list.SaveToStream(s, offsets);
        s.SetPosition(1);
        EXPECT_EQ(StreamReadInteger(s), 3);
        if (offsets) {
            // Absolute start of each item; the first follows the table.
            const std::int32_t first = StreamReadInteger(s);
            EXPECT_EQ(first, 1 + 4 + 12);
            StreamReadInteger(s);
            StreamReadInteger(s);
            EXPECT_EQ(StreamReadByte(s), 0x02 | 0x04 | 0x08); // description, ident, payload
        }
        s.SetPosition(1);
        TKitStringList back;
        back.LoadFromStream(s, offsets);
        EXPECT_EQ(s.Position(), s.Size());
        ASSERT_EQ(back.Count(), 3);
        EXPECT_EQ(contents(back), contents(list));
        EXPECT_EQ(back.Item(0)->Description, "first");
        EXPECT_EQ(back.Item(0)->Ident, 7);
        EXPECT_TRUE(back.Item(2)->Compressed);
    }

    // The item with no strings is a single header byte.
    TMemoryStream one;
    list.Item(1)->SaveToStream(one);
    EXPECT_EQ(one.Bytes(), Bytes{0x00});

    TKitStringList empty;
    for (bool offsets : {false, true}) {
        TMemoryStream s;
        empty.SaveToStream(s, offsets);
        EXPECT_EQ(s.Bytes(), (Bytes{0, 0, 0, 0}));
    }
}

TEST(Containers, RussianTextIsStoredOneBytePerCharacter)
{
    TKitStringList list;
    const QString description = QString("Описание").repeated(25); // 200 letters
    addStrings(list, {"Частота, Гц", "Ёмкость"}, description);
    TMemoryStream s;
    list.Item(0)->SaveToStream(s);
    // Flags, the description's 201 bytes, then N and "Частота, Гц\r\nЁмкость\r\n".
    EXPECT_EQ(s.Size(), 1 + 201 + 4 + 11 + 2 + 7 + 2);
    s.SetPosition(0);
    TKitStringList back;
    auto* item = addStrings(back, {});
    item->LoadFromStream(s);
    EXPECT_EQ(item->Description, description);
    EXPECT_EQ(item->Items, (QStringList{"Частота, Гц", "Ёмкость"}));

    // A line the code page cannot hold: the item is refused whole.
    auto* bad = addStrings(list, {"5 кΩ"}, "сопротивление");
    TMemoryStream none;
    EXPECT_THROW(bad->SaveToStream(none), EWriteError);
    EXPECT_EQ(none.Size(), 0);
}

TEST(Containers, MalformedListsLeaveTheContainerAsItWas)
{
    TKitStringList list;
    addStrings(list, {"keep"});
    TKitChangeLink link;
    int heard = 0;
    link.OnChange = [&](TObject*) { ++heard; };
    list.AddChangeLink(&link);

    auto expectRefused = [&](const Bytes& data, bool offsets) {
        TMemoryStream s = streamOf(data);
        EXPECT_THROW(list.LoadFromStream(s, offsets), EReadError);
        EXPECT_EQ(s.Position(), 0);
        EXPECT_EQ(contents(list), QList<QStringList>{QStringList{"keep"}});
    };
    expectRefused({0xFF, 0xFF, 0xFF, 0x7F}, false);       // count far past the stream
    expectRefused({0xFF, 0xFF, 0xFF, 0xFF}, false);       // negative count
    expectRefused({2, 0, 0, 0, 0, 0, 0, 0, 0, 0}, true);  // offsets but no items
    expectRefused({1, 0, 0, 0, 0x08, 9, 0, 0, 0}, false); // payload length past the end
    expectRefused({1, 0, 0, 0, 0x02, 9, 'a'}, false);     // description cut off
    expectRefused({2, 0, 0, 0, 0x00}, false);             // second item missing
    // A flag byte for every item, but one item more than the memory budget holds.
    const auto overBudget = std::uint32_t(kReadMemoryBudget / list.ItemMemoryCost() + 1);
    Bytes many(4 + std::size_t(overBudget), 0x00);
    for (int i = 0; i < 4; ++i)
        many[i] = std::uint8_t(overBudget >> (8 * i));
    expectRefused(many, false);
    // As many items as the budget holds, the first described: its 255
    // characters are more than the budget has left.
    Bytes described;
    putLE(described, overBudget - 1, 4);
    putLE(described, 0x02 | 255 << 8, 2);
    described.resize(described.size() + 255, 'd');
    described.resize(described.size() + overBudget - 2, 0x00);
    expectRefused(described, false);
    EXPECT_EQ(heard, 0);

    // A wave item whose payload is no WAVE image.
    TKitWaveList waves;
    TMemoryStream s = streamOf({1, 0, 0, 0, 0x08, 4, 0, 0, 0, 'J', 'U', 'N', 'K'});
    EXPECT_THROW(waves.LoadFromStream(s, false), EInvalidWave);
    EXPECT_EQ(waves.Count(), 0);
}

TEST(Containers, WaveItemsStoreOnlyTheirHeaderWhenEmpty)
{
    TKitWaveList waves;
    auto* item = static_cast<TKitWaveListItem*>(waves.Item(waves.AddItem()));
    item->Ident = 3;
    TMemoryStream s;
    waves.SaveToStream(s, false);
    StreamWriteByte(s, 0x99);
    EXPECT_EQ(s.Bytes(), (Bytes{1, 0, 0, 0, 0x04, 3, 0, 0, 0, 0x99}));
    s.SetPosition(0);
    TKitWaveList back;
    back.LoadFromStream(s, false);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_TRUE(static_cast<TKitWaveListItem*>(back.Item(0))->Wave()->IsEmpty());
    EXPECT_EQ(StreamReadByte(s), 0x99);
}

TEST(GlobalContainer, ListsAndInternalReferences)
{
    TKitContainer* global = KitGlobalContainer();
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(global->BitmapList()->ListKind, 1);
    EXPECT_EQ(global->ImageList()->ListKind, 0);
    EXPECT_EQ(global->WaveList()->ListKind, 2);
    EXPECT_EQ(global->StringList()->ListKind, 3);

    EXPECT_TRUE(IsGlobalImageList(global->ImageList()));
    EXPECT_TRUE(IsGlobalImageList(global->BitmapList()));
    EXPECT_FALSE(IsGlobalImageList(nullptr));
    TKitContainer local;
    EXPECT_FALSE(IsGlobalImageList(local.ImageList()));

    TMemoryStream s;
    WriteGlobalListRef(s, global->ImageList());
    WriteGlobalListRef(s, local.ImageList()); // nothing for other lists
    WriteGlobalListRef(s, global->BitmapList());
    s.SetPosition(0);
    EXPECT_EQ(s.Size(), 18);
    EXPECT_EQ(ReadGlobalListRef(s), global->ImageList());
    EXPECT_EQ(ReadGlobalListRef(s), global->BitmapList());
    EXPECT_EQ(GlobalListByRef("kitiml30"), nullptr);
}

TEST(GlobalContainer, DesignTimeChangesAreCopied)
{
    TKitContainer* global = KitGlobalContainer();
    TKitContainer onForm;
    int changes = 0;
    onForm.OnChange = [&](TObject*) { ++changes; };

    addStrings(*onForm.StringList(), {"run time"});
    EXPECT_EQ(global->StringList()->Count(), 0);
    EXPECT_EQ(changes, 1);

    onForm.SetDesigning(true);
    addStrings(*onForm.StringList(), {"design time"});
    onForm.StringList()->Change();
    EXPECT_EQ(contents(*global->StringList()), contents(*onForm.StringList()));
    EXPECT_EQ(global->StringList()->Count(), 2);
    EXPECT_EQ(changes, 3);
    global->StringList()->Clear();
}

TEST(Containers, EmptyListFileHeader)
{
    // A list file is the signature as a short string, then what the list
    // writes with offsets from position 9: for an empty list 13 bytes in all.
    TKitBitmapList list;
    TMemoryStream s;
    StreamWriteShortString(s, QByteArray("KITBML30"));
    list.SaveToStream(s, true);
    EXPECT_EQ(s.Bytes(), (Bytes{8, 'K', 'I', 'T', 'B', 'M', 'L', '3', '0', 0, 0, 0, 0}));
    s.SetPosition(0);
    EXPECT_EQ(StreamReadShortString(s), QByteArray("KITBML30"));
    list.LoadFromStream(s, true);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(s.Position(), 13);
}
