#include "fixtures/MacTree.h"
#include "fixtures/BinaryPlistWriter.h"
#include "platform/PropertyList.h"
#include "platform/StringsFile.h"

#include <gtest/gtest.h>

#include <random>

namespace {

plist::Dictionary sampleDictionary()
{
    plist::Dictionary nested;
    nested.emplace("flag", true);
    nested.emplace("items", plist::Array{plist::Value("a"), plist::Value(std::int64_t{7}), plist::Value(2.5)});
    plist::Dictionary dict;
    dict.emplace("CFBundleIdentifier", "com.vendor.foo");
    dict.emplace("Count", std::int64_t{123456789012});
    dict.emplace("Ratio", 0.25);
    dict.emplace("Blob", plist::Data{std::string("\0\1\2\xff", 4)});
    dict.emplace("When", plist::Date{757382400.0});
    dict.emplace("Name with ünïcode and \"quotes\"", "line one\nline two & <tag>");
    dict.emplace("Nested", std::move(nested));
    return dict;
}

TEST(PropertyList, XmlAndBinaryRoundTripKeepEveryType)
{
    const plist::Value original(sampleDictionary());
    for (const auto format : {plist::Format::Xml, plist::Format::Binary}) {
        const auto bytes = plist::serialize(original, format);
        ASSERT_FALSE(bytes.empty());
        const auto parsed = plist::parse(bytes);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(*parsed, original) << (format == plist::Format::Xml ? "xml" : "binary");
    }
}

TEST(PropertyList, MalformedInputGivesNothing)
{
    const auto binary = plist::serialize(plist::Value(sampleDictionary()), plist::Format::Binary);
    for (std::size_t cut : {std::size_t{8}, binary.size() / 2, binary.size() - 1})
        EXPECT_FALSE(plist::parse(std::string_view(binary).substr(0, cut)).has_value()) << cut;

    EXPECT_FALSE(plist::parse("").has_value());
    EXPECT_FALSE(plist::parse("<?xml version=\"1.0\"?><plist><dict><key>a</key>").has_value());
    EXPECT_FALSE(plist::parse("bplist00").has_value());

    std::mt19937 random(42);
    std::string garbage(10u << 20, '\0');
    for (auto& c : garbage)
        c = static_cast<char>(random());
    EXPECT_FALSE(plist::parse(garbage).has_value());
    garbage.replace(0, 8, "bplist00");
    EXPECT_FALSE(plist::parse(garbage).has_value());
}

TEST(PropertyList, KeysMayHoldAnyByteAndKeysMustBeStrings)
{
    std::string binary = plist::serialize(plist::Value(plist::Dictionary{{"aXb", "value"}}), plist::Format::Binary);
    const auto at = binary.find("aXb");
    ASSERT_NE(at, std::string::npos);
    binary[at + 1] = '\0';
    const auto parsed = plist::parse(binary);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(plist::stringValue(*parsed->get<plist::Dictionary>(), std::string("a\0b", 3)), "value");

    // The same in XML cannot be expressed; a character reference to NUL is refused.
    EXPECT_FALSE(plist::parse("<?xml version=\"1.0\"?><plist><dict><key>a&#0;b</key><string>v</string></dict></plist>"));
    EXPECT_FALSE(plist::parse("<?xml version=\"1.0\"?><plist><dict><key>a&#x00;b</key><string>v</string></dict></plist>"));
    EXPECT_TRUE(plist::parse("<?xml version=\"1.0\"?><plist><dict><key>a&#65;b</key><string>v</string></dict></plist>"));

    // A key object that is a number makes the dictionary unreadable.
    std::string numericKey = plist::serialize(plist::Value(plist::Dictionary{{"k", std::int64_t{7}}}), plist::Format::Binary);
    const auto key = numericKey.find("\x51k");
    ASSERT_NE(key, std::string::npos);
    numericKey[key] = '\x10';  // a one-byte integer
    EXPECT_FALSE(plist::parse(numericKey).has_value());
}

TEST(PropertyList, SharedObjectsAndStringsCannotMultiplyBeyondABudget)
{
    // Thirty arrays, each holding the next one twice: 2^30 values if expanded.
    std::string objects;
    std::vector<std::size_t> offsets;
    for (int i = 0; i < 30; ++i) {
        offsets.push_back(8 + objects.size());
        objects += '\xA2';
        objects += static_cast<char>(i + 1);
        objects += static_cast<char>(i + 1);
    }
    offsets.push_back(8 + objects.size());
    objects += '\x09';
    std::string bytes = "bplist00" + objects;
    const std::size_t table = bytes.size();
    for (const auto offset : offsets)
        bytes += static_cast<char>(offset);
    std::string trailer(6, '\0');
    trailer += '\x01';  // offset size
    trailer += '\x01';  // reference size
    auto put64 = [&](std::uint64_t v) {
        for (int shift = 56; shift >= 0; shift -= 8)
            trailer += static_cast<char>((v >> shift) & 0xFF);
    };
    put64(offsets.size());
    put64(0);
    put64(table);
    bytes += trailer;
    EXPECT_FALSE(plist::parse(bytes).has_value());

    // 1 MB in, 64 GB out if every reference became a copy.
    const std::string frame = fixtures::BinaryPlistWriter::amplifyingRemoveRequest(1000000);
    EXPECT_FALSE(plist::parse(std::string_view(frame).substr(4)).has_value());

    // Modest sharing, as any writer that uniques its strings makes, still reads.
    fixtures::BinaryPlistWriter writer;
    const auto path = writer.string("/Users/someone/Library/Caches/com.vendor.app");
    const auto list = writer.array(std::vector<fixtures::BinaryPlistWriter::Ref>(8, path));
    const auto parsed = plist::parse(writer.finish(list));
    ASSERT_TRUE(parsed.has_value());
    ASSERT_TRUE(parsed->is<plist::Array>());
    EXPECT_EQ(parsed->get<plist::Array>()->size(), 8u);
    EXPECT_EQ(*(*parsed->get<plist::Array>())[7].get<std::string>(), "/Users/someone/Library/Caches/com.vendor.app");
}

TEST(PropertyList, NestingBeyondTheLimitIsRejected)
{
    plist::Value deep("leaf");
    for (int i = 0; i < plist::kMaxDepth + 5; ++i)
        deep = plist::Value(plist::Array{deep});
    EXPECT_FALSE(plist::parse(plist::serialize(deep, plist::Format::Xml)).has_value());

    plist::Value shallow("leaf");
    for (int i = 0; i < 20; ++i)
        shallow = plist::Value(plist::Array{shallow});
    EXPECT_TRUE(plist::parse(plist::serialize(shallow, plist::Format::Binary)).has_value());
}

TEST(PropertyList, ReadDictionaryWantsADictionaryRootAndTypedLookupsTheirType)
{
    fixtures::MacTree tree;
    const std::string arrayFile = tree.at("/array.plist");
    tree.writePlist(arrayFile, plist::Value(plist::Array{plist::Value("x")}));
    EXPECT_TRUE(plist::readFile(arrayFile).has_value());
    EXPECT_FALSE(plist::readDictionary(arrayFile).has_value());

    const std::string empty = tree.at("/empty.plist");
    tree.writeFile(empty, "");
    EXPECT_FALSE(plist::readDictionary(empty).has_value());
    EXPECT_FALSE(plist::readDictionary(tree.at("/missing.plist")).has_value());
    EXPECT_FALSE(plist::readDictionary(tree.at("/Applications")).has_value());

    // Typed lookups ignore other types.
    const auto dict = sampleDictionary();
    EXPECT_EQ(plist::stringValue(dict, "CFBundleIdentifier"), "com.vendor.foo");
    EXPECT_EQ(plist::stringValue(dict, "Count"), "");
    EXPECT_EQ(plist::stringValue(dict, "Missing"), "");
    EXPECT_FALSE(plist::optionalString(dict, "Nested").has_value());
}

TEST(StringsFile, ReadsTextUtf16AndPropertyListForms)
{
    const auto text = platform::parseStringsFile(
        "/* comment */\n\"CFBundleDisplayName\" = \"Fo\\\"o \\U00e9\";\n// line\nCFBundleName = Plain;\n\"Solo\";\n");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(plist::stringValue(*text, "CFBundleDisplayName"), "Fo\"o \xC3\xA9");
    EXPECT_EQ(plist::stringValue(*text, "CFBundleName"), "Plain");
    EXPECT_EQ(plist::stringValue(*text, "Solo"), "Solo");

    std::string utf16("\xFF\xFE", 2);
    for (const char c : std::string("\"CFBundleName\" = \"Zahl\";"))
        utf16 += std::string{c, '\0'};
    const auto wide = platform::parseStringsFile(utf16);
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(plist::stringValue(*wide, "CFBundleName"), "Zahl");

    plist::Dictionary dict;
    dict.emplace("CFBundleName", "Binär");
    const auto binary = platform::parseStringsFile(plist::serialize(plist::Value(dict), plist::Format::Binary));
    ASSERT_TRUE(binary.has_value());
    EXPECT_EQ(plist::stringValue(*binary, "CFBundleName"), "Binär");

    EXPECT_FALSE(platform::parseStringsFile("\"unterminated = \"x\"").has_value());
    EXPECT_FALSE(platform::parseStringsFile("\"a\" = \"b\"").has_value());
}

}  // namespace
