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
    for (const auto& [reference, read] : {std::pair{"&#0;", false}, {"&#x00;", false}, {"&#65;", true}})
        EXPECT_EQ(plist::parse(std::string("<?xml version=\"1.0\"?><plist><dict><key>a") + reference + "b</key><string>v</string></dict></plist>").has_value(), read) << reference;

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
    fixtures::BinaryPlistWriter doubling;
    auto inner = doubling.string("leaf");
    for (int i = 0; i < 30; ++i)
        inner = doubling.array({inner, inner});
    EXPECT_FALSE(plist::parse(doubling.finish(inner)).has_value());

    // 1 MB in, 64 GB out if every reference became a copy.
    const std::string frame = fixtures::BinaryPlistWriter::amplifyingRemoveRequest(1000000);
    EXPECT_FALSE(plist::parse(std::string_view(frame).substr(4)).has_value());

    // Modest sharing, as any writer that uniques its strings makes, still reads.
    fixtures::BinaryPlistWriter writer;
    const auto path = writer.string("/Users/someone/Library/Caches/com.vendor.app");
    const auto list = writer.array(std::vector<fixtures::BinaryPlistWriter::Ref>(8, path));
    const auto parsed = plist::parse(writer.finish(list));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, plist::Value(plist::Array(8, plist::Value("/Users/someone/Library/Caches/com.vendor.app"))));
}

TEST(PropertyList, NestingBeyondTheLimitIsRejected)
{
    const auto nested = [](int depth) {
        plist::Value value("leaf");
        for (int i = 0; i < depth; ++i)
            value = plist::Value(plist::Array{value});
        return value;
    };
    EXPECT_FALSE(plist::parse(plist::serialize(nested(plist::kMaxDepth + 5), plist::Format::Xml)).has_value());
    EXPECT_TRUE(plist::parse(plist::serialize(nested(20), plist::Format::Binary)).has_value());
}

TEST(PropertyList, ReadDictionaryWantsADictionaryRootAndTypedLookupsTheirType)
{
    fixtures::MacTree tree;
    tree.writePlist(tree.at("/array.plist"), plist::Value(plist::Array{plist::Value("x")}));
    EXPECT_TRUE(plist::readFile(tree.at("/array.plist")).has_value());
    tree.writeFile(tree.at("/empty.plist"), "");
    for (const char* file : {"/array.plist", "/empty.plist", "/missing.plist", "/Applications"})
        EXPECT_FALSE(plist::readDictionary(tree.at(file)).has_value()) << file;
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
