// Names read from files that the program does not know: their definitions live as long as the
// items that hold them, so that reading ever new names does not make the process grow.

#include <gtest/gtest.h>

#include <malloc.h>

#include <random>
#include <string>

#include "model/itemdata.h"
#include "objects/resourcedata.h"
#include "records/resourcefile.h"

#if defined(__SANITIZE_ADDRESS__)
#define VESK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VESK_ASAN 1
#endif
#endif
#ifdef VESK_ASAN
// The sanitizer's allocator counts what is in use (GCC ships no header declaring it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace vesk;

namespace {

/// The bytes of heap the process has in use.
size_t HeapInUse()
{
#ifdef VESK_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

TEST(ReadNames, TheirDefinitionsLiveAsLongAsTheirItems)
{
    const size_t before = CountedItemDefs();
    {
        CItemData first = CItemData::OfReadName("ZzUnknownKey", "1");
        EXPECT_EQ(CountedItemDefs(), before + 1);
        EXPECT_EQ(first.Key(), -1);
        EXPECT_EQ(first.Kind(), ItemKind::FreeText);
        CItemData second = CItemData::OfReadName("ZzUnknownKey", "2");
        EXPECT_EQ(&first.Def(), &second.Def()) << "items of one name share the definition";
        EXPECT_EQ(CountedItemDefs(), before + 1);

        CItemList list;
        list.Add(CItemData(first));
        list.Add(std::move(second));
        CItemData other = CItemData::OfReadName("ZzOtherKey", "3");
        other = list.At(0); // the other name's last item lets go of it
        EXPECT_EQ(CountedItemDefs(), before + 1);
        CItemList copy = list.Clone();
        first = CItemData::OfReadName("ZzThirdKey", "4");
        list = CItemList();
        EXPECT_EQ(CountedItemDefs(), before + 2) << "the clone and other still hold the first name";
        EXPECT_EQ(copy.At(1).Name(), "ZzUnknownKey");
        EXPECT_EQ(copy.At(1).Value(), "2");
        EXPECT_EQ(other.Name(), "ZzUnknownKey");
    }
    EXPECT_EQ(CountedItemDefs(), before);

    // A known key keeps the program's own definition, with its key number.
    const CItemData known = CItemData::OfReadName("Width", "8");
    EXPECT_EQ(known.Key(), kKeyWidth);
    EXPECT_EQ(CountedItemDefs(), before);
}

/// A small project whose project and dialog records carry keys never met before.
std::string ProjectWithNewKeys(std::mt19937& random, int serial)
{
    std::string text = "{'Name':'P" + std::to_string(serial) + "'";
    for (int i = 0; i < 25; ++i)
        text += ",'Key" + std::to_string(random()) + "':'" + std::to_string(i) + "'";
    text += ",'Commands':[{'Command':'DIALOG','Name':'Main'";
    for (int i = 0; i < 25; ++i)
        text += ",'Extra" + std::to_string(random()) + "':'x'";
    text += ",'Object':{'Type':'FRAME','Name':'root','Objects':[{'Type':'TEXT','Name':'t','Text':'a'}]}}]}";
    return text;
}

TEST(ReadNames, LoadingAndDroppingTenThousandProjectsKeepsMemoryFlat)
{
    std::mt19937 random(20240521);
    const auto loadAndDrop = [&](int serial) {
        CTekResourceData resource;
        ASSERT_TRUE(ReadResourceText(resource, ProjectWithNewKeys(random, serial)));
        ASSERT_EQ(resource.Dialogs().Count(), 1);
    };
    // The first loads fill the tables of the program's own definitions and the allocator's pools.
    constexpr int kWarmUp = 500;
    constexpr int kProjects = 10000;
    for (int i = 0; i < kWarmUp; ++i)
        loadAndDrop(i);
    const size_t countedBefore = CountedItemDefs();
    const size_t heapBefore = HeapInUse();
    for (int i = kWarmUp; i < kProjects; ++i)
        loadAndDrop(i);
    const size_t heapAfter = HeapInUse();
    EXPECT_EQ(CountedItemDefs(), countedBefore);
    // 9,500 projects of 50 new names each would keep some 100 MB if the names stayed.
    EXPECT_LT(heapAfter, heapBefore + 256 * 1024)
        << "heap in use grew from " << heapBefore << " to " << heapAfter << " bytes";
}

} // namespace
