#include "fixtures/MacTree.h"
#include "fixtures/MachOWriter.h"
#include "platform/CodeSignature.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace {

using fixtures::MachOWriter;
using platform::CodeSignature;

const std::vector<std::string> kGroups = {"group.com.vendor.x", "ABCDE12345.com.vendor.x"};

std::optional<std::vector<std::string>> groupsOf(const std::optional<plist::Dictionary>& entitlements)
{
    if (!entitlements)
        return std::nullopt;
    std::vector<std::string> groups;
    const auto* list = plist::find(*entitlements, "com.apple.security.application-groups");
    for (const auto& value : list && list->is<plist::Array>() ? *list->get<plist::Array>() : plist::Array{})
        groups.push_back(value.get<std::string>() ? *value.get<std::string>() : "?");
    return groups;
}

std::uint32_t big32At(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

MachOWriter::Image signedThin(MachOWriter::Options options = MachOWriter::Options())
{
    return MachOWriter::thin(MachOWriter::groupEntitlements(kGroups), options);
}

// A thin executable with one 32-bit field rewritten: `place` picks the field from the layout,
// `value` gives its new value from the image.
std::string damaged(const std::function<std::size_t(const MachOWriter::Image&)>& place,
                    const std::function<std::uint32_t(const MachOWriter::Image&)>& value, bool signatureField = true)
{
    auto image = signedThin();
    MachOWriter::put32(image.bytes, place(image), value(image), signatureField || image.bigEndian);
    return image.bytes;
}

// Entitlements whose property list is exactly `bytes` long.
plist::Dictionary entitlementsOfSize(std::size_t bytes)
{
    auto dictionary = MachOWriter::groupEntitlements(kGroups);
    dictionary["padding"] = "x";
    const std::size_t withOne = plist::serialize(plist::Value(dictionary), plist::Format::Xml).size();
    dictionary["padding"] = std::string(bytes - withOne + 1, 'x');
    return dictionary;
}

void writeAt(const std::string& path, off_t at, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::pwrite(fd, bytes.data(), bytes.size(), at), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

struct Case {
    const char* name;
    std::function<std::string()> bytes;
    std::optional<std::vector<std::string>> groups;
    // Makes the file itself instead of writing `bytes` there (then only the file is read).
    std::function<void(fixtures::MacTree&, const std::string& path)> place = nullptr;
};

TEST(CodeSignature, EntitlementsComeOnlyFromAWellFormedSignature)
{
    using Image = MachOWriter::Image;
    const auto command = [](std::size_t field) { return [field](const Image& i) { return i.codeSignatureCommand + field; }; };
    const auto superBlob = [](std::size_t field) { return [field](const Image& i) { return i.superBlob + field; }; };
    const auto constant = [](std::uint32_t value) { return [value](const Image&) { return value; }; };
    const auto superLength = [](const Image& i) { return big32At(i.bytes, i.superBlob + 4); };
    const auto blobLength = [](const Image& i) { return big32At(i.bytes, i.entitlementsBlob + 4); };
    constexpr std::size_t kDataOffset = 8, kDataSize = 12, kLength = 4, kCount = 8, kEntitlementsOffset = 24;
    constexpr std::int64_t kTwoGiB = std::int64_t{2} << 30;
    const auto none = std::nullopt;

    const std::vector<Case> cases = {
        {"thin 64-bit", [] { return signedThin().bytes; }, kGroups},
        {"thin 32-bit", [] { return signedThin({.wide = false, .bigEndian = false}).bytes; }, kGroups},
        {"thin 64-bit big-endian", [] { return signedThin({.wide = true, .bigEndian = true}).bytes; }, kGroups},
        {"thin 32-bit big-endian", [] { return signedThin({.wide = false, .bigEndian = true}).bytes; }, kGroups},
        {"universal, second slice", [] { return MachOWriter::universal(MachOWriter::groupEntitlements(kGroups)).bytes; }, kGroups},
        {"universal 64, second slice", [] { return MachOWriter::universal(MachOWriter::groupEntitlements(kGroups), true).bytes; }, kGroups},
        {"1 MiB of entitlements", [] { return MachOWriter::thin(entitlementsOfSize(CodeSignature::kMaxEntitlementsBytes)).bytes; }, kGroups},
        {"over 1 MiB of entitlements", [] { return MachOWriter::thin(entitlementsOfSize(CodeSignature::kMaxEntitlementsBytes + 1)).bytes; }, none},
        {"signed without entitlements", [] { return MachOWriter::thin(std::nullopt).bytes; }, none},
        {"empty", [] { return std::string(); }, none},
        {"not a Mach-O", [] { return std::string("#!/bin/sh\nexit 0\n"); }, none},
        {"cut in the load commands", [] { return signedThin().bytes.substr(0, 100); }, none},
        {"cut in the entitlements", [] { const auto i = signedThin(); return i.bytes.substr(0, i.entitlementsBlob + 40); }, none},
        {"signature one byte past the end", [&] { return damaged(command(kDataSize), [](const Image& i) {
             return static_cast<std::uint32_t>(i.bytes.size() - i.superBlob + 1); }, false); }, none},
        {"signature offset wraps around", [&] { return damaged(command(kDataOffset), constant(0xfffffff0u), false); }, none},
        {"signature over the load commands", [&] { return damaged(command(kDataOffset), constant(0), false); }, none},
        {"signature exactly as long as the SuperBlob", [&] { return damaged(command(kDataSize), superLength, false); }, kGroups},
        {"signature one byte shorter than the SuperBlob", [&] { return damaged(command(kDataSize), [&](const Image& i) { return superLength(i) - 1; }, false); }, none},
        {"entitlements overlap the SuperBlob's end", [&] { return damaged(superBlob(kLength), [&](const Image& i) {
             return static_cast<std::uint32_t>(i.entitlementsBlob - i.superBlob + blobLength(i) - 1); }); }, none},
        {"entitlements offset past the SuperBlob", [&] { return damaged(superBlob(kEntitlementsOffset), superLength); }, none},
        {"entitlements offset inside the index", [&] { return damaged(superBlob(kEntitlementsOffset), constant(12)); }, none},
        {"entitlements length wraps around", [&] { return damaged([](const Image& i) { return i.entitlementsBlob + 4; }, constant(0xfffffffcu)); }, none},
        {"as many blobs as allowed", [] { return signedThin({.moreSlots = CodeSignature::kMaxBlobs - 2}).bytes; }, kGroups},
        {"one blob too many", [] { return signedThin({.moreSlots = CodeSignature::kMaxBlobs - 1}).bytes; }, none},
        {"blob count wraps around", [&] { return damaged(superBlob(kCount), constant(0xffffffffu)); }, none},
        {"wrong SuperBlob magic", [&] { return damaged(superBlob(0), constant(0xfade0cc1u)); }, none},
        {"wrong entitlements magic", [&] { return damaged([](const Image& i) { return i.entitlementsBlob; }, constant(0xfade7172u)); }, none},
        {"wrong Mach-O magic", [&] { return damaged([](const Image&) { return std::size_t{0}; }, constant(0xfeedfacdu), false); }, none},
        {"load commands past the end", [&] { return damaged([](const Image&) { return std::size_t{20}; }, constant(0xfffff000u), false); }, none},
        {"load command of size zero", [&] { return damaged(command(4), constant(0), false); }, none},
        {"load command too large", [&] { return damaged(command(4), constant(0x10000), false); }, none},
        {"universal slice past the end", [] {
             auto bytes = MachOWriter::universal(MachOWriter::groupEntitlements(kGroups)).bytes;
             MachOWriter::put32(bytes, 8 + 20 + 12, static_cast<std::uint32_t>(bytes.size()), true);
             return bytes; }, none},
        {"too many universal slices", [] {
             auto bytes = MachOWriter::universal(MachOWriter::groupEntitlements(kGroups)).bytes;
             MachOWriter::put32(bytes, 4, CodeSignature::kMaxSlices + 1, true);
             return bytes; }, none},
        {"named pipe", nullptr, none, [](fixtures::MacTree&, const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); }},
        {"link to a signed executable", nullptr, none, [](fixtures::MacTree& tree, const std::string& path) {
             tree.writeFile(path + ".real", signedThin().bytes);
             tree.symlink(path + ".real", path); }},
        {"2 GiB of nothing", nullptr, none, [&](fixtures::MacTree& tree, const std::string& path) {
             tree.writeFileOfSize(path, kTwoGiB); }},
        {"signature past 2 GiB", nullptr, kGroups, [&](fixtures::MacTree& tree, const std::string& path) {
             auto image = signedThin();
             const std::string signature = image.bytes.substr(image.superBlob);
             MachOWriter::put32(image.bytes, image.codeSignatureCommand + kDataOffset, static_cast<std::uint32_t>(kTwoGiB + 16), false);
             tree.writeFileOfSize(path, kTwoGiB + 16 + static_cast<std::int64_t>(signature.size()));
             writeAt(path, 0, image.bytes.substr(0, image.superBlob));
             writeAt(path, kTwoGiB + 16, signature); }},
    };

    fixtures::MacTree tree;
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = tree.at("/executables/" + std::to_string(++number));
        if (c.place) {
            tree.makeDirectories(tree.at("/executables"));
            c.place(tree, path);
        } else {
            const std::string bytes = c.bytes();
            tree.writeFile(path, bytes);
            EXPECT_EQ(groupsOf(CodeSignature::entitlementsIn(bytes)), c.groups) << "in memory";
        }
        EXPECT_EQ(groupsOf(CodeSignature::entitlementsOf(path)), c.groups) << "from the file";
        ::unlink(path.c_str());
    }
}

}  // namespace
