#include "frame/collections.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/host_error.h"
#include "tests/frame/printers.h"

namespace velaqm {
namespace {

std::vector<std::string> Keys(const Dictionary& dictionary) {
    std::vector<std::string> keys;
    for (const auto& entry : dictionary.Entries())
        keys.push_back(entry.first);
    return keys;
}

std::vector<Variant> Items(const Vector& vector) {
    return {vector.begin(), vector.end()};
}

TEST(Dictionary, KeysIgnoreCaseAndKeepTheirFirstSpellingAndPlace) {
    LocalDictionary fields;
    fields.SetItem("FQty", 1);
    fields.SetItem("FNote", "a");
    fields.SetItem("FDate", Date(2009, 10, 1));
    fields.SetItem("FQTY", 2);
    fields.SetItem("fnote", "b");

    EXPECT_EQ(Keys(fields), (std::vector<std::string>{"FQty", "FNote", "FDate"}));
    EXPECT_EQ(fields.Item("fqty"), Variant(2));
    EXPECT_EQ(fields.Item("FNOTE"), Variant("b"));
    EXPECT_TRUE(fields.Exists("fDaTe"));
    EXPECT_FALSE(fields.Exists("FDat"));
    EXPECT_TRUE(fields.Item("FMissing").IsEmpty());
}

TEST(Dictionary, RemoveKeepsTheOrderOfTheRest) {
    LocalDictionary fields;
    for (const char* key : {"A", "B", "C", "D"})
        fields.SetItem(key, key);
    fields.Remove("b");
    fields.Remove("missing");
    EXPECT_EQ(Keys(fields), (std::vector<std::string>{"A", "C", "D"}));
    EXPECT_EQ(fields.Item("d"), Variant("D"));
    fields.SetItem("b", 5);
    fields.SetItem("C", 6);
    EXPECT_EQ(Keys(fields), (std::vector<std::string>{"A", "C", "D", "b"}));
    EXPECT_EQ(fields.Item("c"), Variant(6));
    fields.Clear();
    EXPECT_EQ(fields.Count(), 0u);
    EXPECT_FALSE(fields.Exists("A"));
}

// A small dictionary is searched in order, a large one through its index: both find keys in any
// case, and the index follows a removal and a clearing.
TEST(Dictionary, ManyKeysAreFoundAsFewAre) {
    LocalDictionary fields;
    for (int i = 0; i < 40; ++i) {
        fields.SetItem("Key" + std::to_string(i), i);
        for (int j = 0; j <= i; ++j)
            ASSERT_EQ(fields.Item("KEY" + std::to_string(j)), Variant(j)) << "after " << i;
    }
    fields.SetItem("key7", 70);
    EXPECT_EQ(fields.Count(), 40u);
    fields.Remove("KEY0");
    EXPECT_EQ(fields.Item("key39"), Variant(39));
    EXPECT_EQ(fields.Item("key7"), Variant(70));
    EXPECT_FALSE(fields.Exists("key0"));
    fields.Clear();
    fields.SetItem("Key1", 1);
    EXPECT_EQ(fields.Item("KEY1"), Variant(1));
    EXPECT_FALSE(fields.Exists("Key2"));
}

TEST(Dictionary, OnlyAsciiLettersFoldCase) {
    LocalDictionary fields;
    fields.SetItem("\xC3\x84rger", 1);  // "Ärger"
    fields.SetItem("\xC3\xA4rger", 2);  // "ärger"
    EXPECT_EQ(fields.Count(), 2u);
    EXPECT_EQ(fields.Item("\xC3\x84RGER"), Variant(1));
}

TEST(Dictionary, WritesThroughOneReferenceAreSeenThroughAnother) {
    const DictionaryPtr hostSide = NewDictionary();
    const Variant handedOver = hostSide;
    handedOver.ObjectAs<Dictionary>()->SetItem("FQty", 12);
    EXPECT_EQ(hostSide->Item("fqty"), Variant(12));
    EXPECT_EQ(handedOver.ObjectAs<Vector>(), nullptr);
}

TEST(Vector, IndexesFromOne) {
    LocalVector list;
    list.Insert("b");
    list.Insert(1, "a");
    list.Insert(3, "d");
    list.Insert(3, "c");
    EXPECT_EQ(Items(list), (std::vector<Variant>{"a", "b", "c", "d"}));
    EXPECT_EQ(list.Item(1), Variant("a"));
    EXPECT_EQ(list.Item(list.Size()), Variant("d"));
    list.SetItem(2, 20);
    list.Remove(1);
    EXPECT_EQ(Items(list), (std::vector<Variant>{20, "c", "d"}));
}

TEST(Vector, OutsideTheListIsSubscriptOutOfRange) {
    LocalVector list;
    list.Insert(1);
    list.Insert(2);
    const std::function<void(Vector&)> calls[] = {
        [](Vector& v) { v.Item(0); },       [](Vector& v) { v.Item(3); },
        [](Vector& v) { v.SetItem(0, 1); }, [](Vector& v) { v.SetItem(3, 1); },
        [](Vector& v) { v.Remove(0); },     [](Vector& v) { v.Remove(3); },
        [](Vector& v) { v.Insert(0, 1); },  [](Vector& v) { v.Insert(4, 1); },
    };
    for (std::size_t i = 0; i < std::size(calls); ++i) {
        SCOPED_TRACE("call " + std::to_string(i));
        try {
            calls[i](list);
            ADD_FAILURE() << "no error";
        } catch (const HostError& e) {
            EXPECT_EQ(e.Number(), kErrSubscript);
            EXPECT_EQ(e.Description(), "Subscript out of range");
        }
    }
    EXPECT_EQ(list.Size(), 2u);
}

}  // namespace
}  // namespace velaqm
