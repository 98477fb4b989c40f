#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <memory>
#include <string>
#include <vector>

#include "PropertySetSample.h"
#include "editor/core/EPropertyReadError.h"
#include "editor/core/TEditorFountain.h"
#include "editor/core/TEditorProp.h"
#include "editor/core/TFileExtComponent.h"
#include "editor/core/TPropertyReader.h"
#include "editor/core/TPropertyWriter.h"
#include "editor/core/TStreamReg.h"
#include "platform/MemoryRegistry.h"

namespace {

const std::string Key = "\\Software\\Veltrane\\Scrivlet\\EditView";

std::vector<uint8_t> Header() { return {'S', 'C', 'P', 'S', 1, 0}; }

// A stored value made of the header and the writer's records.
std::vector<uint8_t> Value(const TPropertyWriter& w)
{
    std::vector<uint8_t> bytes = Header();
    const std::vector<uint8_t> records = w.Bytes();
    bytes.insert(bytes.end(), records.begin(), records.end());
    return bytes;
}

// A record written by hand: name, tag, the size as given, payload.
std::vector<uint8_t> RawRecord(const std::string& name, uint8_t tag, uint32_t size, std::vector<uint8_t> payload)
{
    std::vector<uint8_t> r;
    r.push_back(static_cast<uint8_t>(name.size()));
    for (char ch : name)
        r.push_back(static_cast<uint8_t>(ch));
    r.push_back(tag);
    for (int shift = 0; shift < 32; shift += 8)
        r.push_back(static_cast<uint8_t>(size >> shift));
    r.insert(r.end(), payload.begin(), payload.end());
    return r;
}

std::vector<uint8_t> Join(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(TStoreComponent, RoundTripsThroughTheRegistryWithNamesInAnyCase)
{
    MemoryRegistry reg;
    TEditorProp source;
    FillSample(source);
    source.WriteToRegistry(reg, TRegistry::CurrentUser, Key, "Props");
    EXPECT_TRUE(reg.KeyExists(Key));
    EXPECT_EQ(reg.RootKey(), TRegistry::CurrentUser);

    TEditorProp copy;
    copy.ReadFromRegistry(reg, "hkey_current_user", "\\SOFTWARE\\veltrane\\Scrivlet\\EDITVIEW", "props");
    EXPECT_EQ(copy.WriteToBytes(), source.WriteToBytes());
    EXPECT_EQ(copy.WrapOption().WrapByte(), 72);

    // Another root is another tree: nothing is stored there.
    TEditorProp other;
    other.ReadFromRegistry(reg, "HKEY_LOCAL_MACHINE", Key, "Props");
    EXPECT_EQ(other.WrapOption().WrapByte(), 80);

    // Writing again replaces the value under its first spelling.
    source.SetWordWrap(false);
    source.WriteToRegistry(reg, TRegistry::CurrentUser, "\\software\\VELTRANE\\scrivlet\\editview", "PROPS");
    TEditorProp fresh;
    fresh.SetWordWrap(true);
    fresh.ReadFromRegistry(reg, TRegistry::CurrentUser, Key, "Props");
    EXPECT_TRUE(fresh.WordWrap()) << "a built-in value is not stored, so reading leaves the current one";
    TEditorProp fresh2;
    fresh2.ReadFromRegistry(reg, TRegistry::CurrentUser, Key, "Props");
    EXPECT_FALSE(fresh2.WordWrap());
    EXPECT_FALSE(fresh2.Caret().AutoCursor());
    ASSERT_TRUE(reg.OpenKey(Key, false));
    EXPECT_TRUE(reg.ValueExists("Props"));
}

TEST(TStoreComponent, AMissingOrEmptyValueLeavesTheSetAsItIs)
{
    MemoryRegistry reg;
    TEditorProp p;
    FillSample(p);
    const std::vector<uint8_t> before = p.WriteToBytes();

    p.ReadFromRegistry(reg, TRegistry::CurrentUser, Key, "Props");
    EXPECT_EQ(p.WriteToBytes(), before);
    EXPECT_TRUE(reg.KeyExists(Key)) << "the key is created on reading";

    ASSERT_TRUE(reg.OpenKey(Key, false));
    reg.WriteBinaryData("Props", {});
    reg.CloseKey();
    p.ReadFromRegistry(reg, TRegistry::CurrentUser, Key, "Props");
    EXPECT_EQ(p.WriteToBytes(), before);

    // A set stored with built-in values only is just its header: reading it
    // leaves every property as it was too.
    TEditorProp().WriteToRegistry(reg, TRegistry::CurrentUser, Key, "Props");
    p.ReadFromRegistry(reg, TRegistry::CurrentUser, Key, "Props");
    EXPECT_EQ(p.WriteToBytes(), before);

    // TStreamReg does not touch the buffer when there is no value.
    std::vector<uint8_t> bytes{7, 7};
    EXPECT_FALSE(TStreamReg::ReadStream(bytes, reg, "", Key, "Nothing"));
    EXPECT_EQ(bytes, (std::vector<uint8_t>{7, 7}));
}

TEST(TStoreComponent, ADamagedRegistryValueRaisesToTheCaller)
{
    MemoryRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, true));
    reg.WriteBinaryData("Props", {'S', 'C', 'P', 'X', 1, 0});
    reg.WriteString("Text", "a string");
    reg.CloseKey();

    TEditorProp p;
    EXPECT_THROW(p.ReadFromRegistry(reg, TRegistry::CurrentUser, Key, "Props"), EPropertyReadError);
    EXPECT_THROW(p.ReadFromRegistry(reg, TRegistry::CurrentUser, Key, "Text"), ERegistryException);
    // Whatever happened, the key is closed and the root is as it was.
    reg.SetRootKey("HKEY_USERS");
    EXPECT_THROW(p.ReadFromRegistry(reg, TRegistry::CurrentUser, Key, "Props"), EPropertyReadError);
    EXPECT_EQ(reg.RootKey(), "HKEY_USERS");
    EXPECT_FALSE(reg.ValueExists("Props"));
}

TEST(TStoreComponent, DamagedValuesRaiseTheReadErrorNamingTheFault)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* reason;  // a part of the message
        const char* property;
    };
    const std::vector<uint8_t> h = Header();
    const std::vector<Case> cases = {
        {"empty", {}, "too short", ""},
        {"short header", {'S', 'C', 'P'}, "too short", ""},
        {"wrong signature", {'S', 'C', 'P', 's', 1, 0}, "signature", ""},
        {"later version", {'S', 'C', 'P', 'S', 2, 0}, "version 2", ""},
        {"empty name", Join(h, {0, 1, 4, 0, 0, 0, 0, 0, 0, 0}), "empty name", ""},
        {"name past the end", Join(h, {9, 'C', 'o', 'l'}), "inside a property name", ""},
        {"header cut", Join(h, {5, 'C', 'o', 'l', 'o', 'r', 1, 4, 0}), "header", "Color"},
        {"unknown tag", Join(h, RawRecord("Color", 9, 4, {0, 0, 0, 0})), "unknown type 9", "Color"},
        {"size past the end", Join(h, RawRecord("Color", 1, 5, {0, 0, 0, 0})), "past the end", "Color"},
        {"huge size", Join(h, RawRecord("Color", 1, 0xFFFFFFFF, {0, 0, 0, 0})), "past the end", "Color"},
        {"integer of 3 bytes", Join(h, RawRecord("Color", 1, 3, {0, 0, 0})), "4 bytes", "Color"},
        {"wrong type", Join(h, RawRecord("WordWrap", 1, 4, {1, 0, 0, 0})), "expected a boolean", "WordWrap"},
        {"boolean 2", Join(h, RawRecord("WordWrap", 2, 1, {2})), "0 or 1", "WordWrap"},
        {"ordinal out of range", Join(h, RawRecord("HitStyle", 1, 4, {3, 0, 0, 0})), "0..2", "HitStyle"},
        {"style bits", Join(h, RawRecord("Font.Style", 1, 4, {16, 0, 0, 0})), "0..15", "Font.Style"},
        {"absurd string count", Join(h, RawRecord("ReserveWordList", 4, 8, {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0})),
         "claims 4294967295 strings", "ReserveWordList"},
        {"string past its record",
         Join(h, RawRecord("ReserveWordList", 4, 9, {1, 0, 0, 0, 9, 0, 0, 0, 'x'})), "runs past",
         "ReserveWordList"},
        {"bytes after the list", Join(h, RawRecord("FileExtList", 4, 5, {0, 0, 0, 0, 'x'})), "after its value",
         "FileExtList"},
        {"fifteen brackets", Join(h, RawRecord("View.Brackets", 5, 64, Join({15, 0, 0, 0}, std::vector<uint8_t>(60, 0)))),
         "15 items; it holds at most 14", "View.Brackets"},
        {"damaged bracket item",
         Join(h, RawRecord("View.Brackets", 5, 13,
                           Join({1, 0, 0, 0, 5, 0, 0, 0}, {3, 'a', 'b', 'c', 7}))),
         "inside a record's header", "View.Brackets[0].abc"},
    };
    for (const Case& c : cases) {
        TEditorProp p;
        try {
            p.ReadFromBytes(c.bytes);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const EPropertyReadError& e) {
            EXPECT_NE(e.Reason.find(c.reason), std::string::npos) << c.what << ": " << e.Reason;
            EXPECT_EQ(e.Property, c.property) << c.what;
            EXPECT_LE(e.Offset, c.bytes.size()) << c.what;
        }
    }
}

TEST(TStoreComponent, ReadingAValueCutAnywhereRaisesOrSucceedsAtARecordEnd)
{
    TEditorProp source;
    FillSample(source);
    const std::vector<uint8_t> full = source.WriteToBytes();

    // Where the records end, walked by their sizes: reading may stop there.
    std::vector<std::size_t> ends;
    std::size_t at = 6;
    ends.push_back(at);
    while (at < full.size()) {
        const std::size_t sizeAt = at + 1 + full[at] + 1;
        const uint32_t size = full[sizeAt] | full[sizeAt + 1] << 8 | full[sizeAt + 2] << 16 |
                              static_cast<uint32_t>(full[sizeAt + 3]) << 24;
        at = sizeAt + 4 + size;
        ends.push_back(at);
    }
    ASSERT_EQ(at, full.size());
    ASSERT_GT(ends.size(), 100u);

    for (std::size_t n = 0; n <= full.size(); ++n) {
        // Exactly n bytes on the heap, so that a read past them is a read
        // past the allocation.
        std::unique_ptr<uint8_t[]> cut(new uint8_t[n + 1]);
        std::copy(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n), cut.get());
        TEditorProp p;
        bool read = true;
        try {
            p.ReadFromBytes(std::span<const uint8_t>(cut.get(), n));
        } catch (const EPropertyReadError& e) {
            read = false;
            EXPECT_LE(e.Offset, n);
        }
        const bool atEnd = std::find(ends.begin(), ends.end(), n) != ends.end();
        EXPECT_EQ(read, atEnd) << "cut after " << n << " of " << full.size() << " bytes";
    }
}

TEST(TStoreComponent, UnknownNamesAreSkippedAndNumbersBroughtIntoRange)
{
    TPropertyWriter item;
    item.WriteString("LeftBracket", "<<");
    item.WriteInteger("Shape", 3);  // unknown inside an item
    item.WriteString("RightBracket", ">>");
    TPropertyWriter w;
    w.WriteStrings("Plugins", {"a", "b"});
    w.WriteCollection("Caret.History", {item, item});
    w.WriteBoolean("View.Url", true);
    w.WriteInteger("caret.tabspacecount", 3);  // property names keep their case
    w.WriteCollection("View.Brackets", {item});
    w.WriteInteger("Margin.Left", 99999);
    w.WriteInteger("Caret.TabSpaceCount", 0);
    w.WriteInteger("WrapOption.WrapByte", -5);
    w.WriteInteger("Font.Height", -100000);

    TEditorProp p;
    p.ReadFromBytes(Value(w));
    EXPECT_TRUE(p.View().Url());
    ASSERT_EQ(p.View().Brackets().Count(), 1);
    EXPECT_EQ(p.View().Brackets()[0].LeftBracket(), "<<");
    EXPECT_EQ(p.View().Brackets()[0].RightBracket(), ">>");
    EXPECT_EQ(p.Margin().Left(), 1000);
    EXPECT_EQ(p.Caret().TabSpaceCount(), 1);
    EXPECT_EQ(p.WrapOption().WrapByte(), 2);
    EXPECT_EQ(p.Font().Height, -1000);

    // What was not known is not written back.
    TEditorProp again;
    again.ReadFromBytes(p.WriteToBytes());
    EXPECT_EQ(again.WriteToBytes(), p.WriteToBytes());
    const std::vector<uint8_t> bytes = p.WriteToBytes();
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find("Plugins"), std::string::npos);
}

TEST(TStoreComponent, RegistryKeysOpenByPathAndDeleteWithTheirValues)
{
    MemoryRegistry reg;
    EXPECT_FALSE(reg.OpenKey("\\Software\\Veltrane", false));
    ASSERT_TRUE(reg.OpenKey("\\Software\\Veltrane", true));
    ASSERT_TRUE(reg.OpenKey("Scrivlet\\EditView", true));  // from the current key
    reg.WriteString("Name", "value");
    EXPECT_EQ(reg.GetDataSize("NAME"), 5);
    EXPECT_EQ(reg.GetDataSize("Other"), -1);
    EXPECT_EQ(reg.ReadString("Other"), "");
    EXPECT_THROW(reg.ReadBinaryData("name"), ERegistryException);
    EXPECT_TRUE(reg.KeyExists("\\software\\veltrane\\scrivlet\\editview"));

    EXPECT_FALSE(reg.DeleteKey("\\"));
    EXPECT_TRUE(reg.DeleteKey("\\SOFTWARE\\Veltrane\\Scrivlet"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Veltrane\\Scrivlet"));
    EXPECT_TRUE(reg.KeyExists("\\Software\\Veltrane"));
    // The current key went with it: values act on the root again.
    EXPECT_FALSE(reg.ValueExists("Name"));
    EXPECT_FALSE(reg.DeleteKey("\\Software\\Veltrane\\Scrivlet"));
}

TEST(TFileExtComponent, ExtensionsSortedCaseBlindAndStored)
{
    TEditorProp p;
    TFileExtList& exts = p.FileExtList();
    exts.Add(".tex");
    exts.Add(".BIB");
    EXPECT_EQ(exts.Add(".TeX"), 1);  // already there
    exts.Add(".sty");
    EXPECT_EQ(exts.Items(), (std::vector<std::string>{".BIB", ".sty", ".tex"}));
    EXPECT_TRUE(p.HasFileExt(".Tex"));
    EXPECT_TRUE(p.HasFileExt(".bib"));
    EXPECT_FALSE(p.HasFileExt(".txt"));
    EXPECT_FALSE(p.HasFileExt("tex"));

    // Setting the list copies it.
    TFileExtList other;
    other.Assign({".c", ".h", ".C"});
    p.SetFileExtList(other);
    other.Add(".cpp");
    EXPECT_EQ(p.FileExtList().Items(), (std::vector<std::string>{".c", ".h"}));

    TEditorProp copy;
    copy.ReadFromBytes(p.WriteToBytes());
    EXPECT_EQ(copy.FileExtList(), p.FileExtList());
}

TEST(TFileExtComponent, AColouringSchemeCarriesItsExtensions)
{
    TEditorFountain scheme;
    int changes = 0;
    scheme.NotifyEventList().Add(&changes, [&](TFountain&) { ++changes; });
    scheme.FileExtList().Assign({".tex", ".ltx"});
    EXPECT_TRUE(scheme.HasFileExt(".LTX"));

    MemoryRegistry reg;
    scheme.WriteToRegistry(reg, TRegistry::CurrentUser, "\\Software\\Veltrane\\Scrivlet\\Fountain", "TeX");
    TEditorFountain read;
    read.ReadFromRegistry(reg, TRegistry::CurrentUser, "\\Software\\Veltrane\\Scrivlet\\Fountain", "TeX");
    EXPECT_EQ(read.FileExtList(), scheme.FileExtList());

    TEditorFountain copy;
    copy.Assign(scheme);
    EXPECT_EQ(copy.FileExtList().Items(), (std::vector<std::string>{".ltx", ".tex"}));
    EXPECT_EQ(changes, 0);
}
