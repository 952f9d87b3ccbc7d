#include "platform/CodeSignature.h"

#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <vector>

namespace platform {
namespace {

constexpr std::uint32_t kMachMagic = 0xfeedface;
constexpr std::uint32_t kMachMagic64 = 0xfeedfacf;
constexpr std::uint32_t kFatMagic = 0xcafebabe;
constexpr std::uint32_t kFatMagic64 = 0xcafebabf;
constexpr std::uint32_t kLoadCodeSignature = 0x1d;
constexpr std::uint32_t kEmbeddedSignatureMagic = 0xfade0cc0;
constexpr std::uint32_t kEntitlementsMagic = 0xfade7171;
constexpr std::uint32_t kEntitlementsSlot = 5;

constexpr std::uint64_t kMachHeaderBytes = 28;
constexpr std::uint64_t kMachHeader64Bytes = 32;
constexpr std::uint64_t kFatHeaderBytes = 8;
constexpr std::uint64_t kFatArchBytes = 20;
constexpr std::uint64_t kFatArch64Bytes = 32;
constexpr std::uint64_t kSuperBlobHeaderBytes = 12;
constexpr std::uint64_t kBlobIndexBytes = 8;
constexpr std::uint64_t kBlobHeaderBytes = 8;

// The executable's bytes, wherever they are: `read` fills `out` with exactly `count` bytes at
// `offset` of at most `size`, or says false.
struct Source {
    std::uint64_t size = 0;
    std::function<bool(std::uint64_t offset, std::size_t count, unsigned char* out)> read;
};

// Whether [offset, offset + length) lies inside [0, limit), without overflowing.
bool within(std::uint64_t offset, std::uint64_t length, std::uint64_t limit)
{
    return offset <= limit && length <= limit - offset;
}

std::uint32_t big32(const unsigned char* p)
{
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | std::uint32_t{p[3]};
}

std::uint32_t little32(const unsigned char* p)
{
    return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | std::uint32_t{p[0]};
}

std::uint64_t big64(const unsigned char* p)
{
    return std::uint64_t{big32(p)} << 32 | big32(p + 4);
}

// The SuperBlob at `at` of `length` bytes: its entitlements slot, then that blob's property list.
std::optional<plist::Dictionary> entitlementsInSignature(const Source& source, std::uint64_t at, std::uint64_t length)
{
    unsigned char header[kSuperBlobHeaderBytes];
    if (length < sizeof header || !source.read(at, sizeof header, header) || big32(header) != kEmbeddedSignatureMagic)
        return std::nullopt;
    const std::uint32_t superLength = big32(header + 4);
    const std::uint32_t count = big32(header + 8);
    if (count > CodeSignature::kMaxBlobs)
        return std::nullopt;
    const std::uint64_t indexEnd = kSuperBlobHeaderBytes + count * kBlobIndexBytes;
    if (superLength < indexEnd || superLength > length)
        return std::nullopt;
    std::vector<unsigned char> index(count * kBlobIndexBytes);
    if (!source.read(at + kSuperBlobHeaderBytes, index.size(), index.data()))
        return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (big32(index.data() + i * kBlobIndexBytes) != kEntitlementsSlot)
            continue;
        const std::uint64_t offset = big32(index.data() + i * kBlobIndexBytes + 4);
        // A blob lies after the index, wholly inside the SuperBlob.
        if (offset < indexEnd || !within(offset, kBlobHeaderBytes, superLength))
            return std::nullopt;
        unsigned char blob[kBlobHeaderBytes];
        if (!source.read(at + offset, sizeof blob, blob) || big32(blob) != kEntitlementsMagic)
            return std::nullopt;
        const std::uint32_t blobLength = big32(blob + 4);
        if (blobLength < kBlobHeaderBytes || !within(offset, blobLength, superLength) ||
            blobLength - kBlobHeaderBytes > CodeSignature::kMaxEntitlementsBytes)
            return std::nullopt;
        std::string xml(blobLength - kBlobHeaderBytes, '\0');
        if (!source.read(at + offset + kBlobHeaderBytes, xml.size(), reinterpret_cast<unsigned char*>(xml.data())))
            return std::nullopt;
        auto value = plist::parse(xml);
        auto* dictionary = value ? value->get<plist::Dictionary>() : nullptr;
        if (!dictionary)
            return std::nullopt;
        return std::move(*dictionary);
    }
    return std::nullopt;
}

// One thin Mach-O image of `length` bytes at `base`: its LC_CODE_SIGNATURE, then the signature.
std::optional<plist::Dictionary> entitlementsInImage(const Source& source, std::uint64_t base, std::uint64_t length)
{
    unsigned char header[kMachHeaderBytes];
    if (length < sizeof header || !source.read(base, sizeof header, header))
        return std::nullopt;
    bool bigEndian = false;
    bool wide = false;
    if (little32(header) == kMachMagic64 || little32(header) == kMachMagic) {
        wide = little32(header) == kMachMagic64;
    } else if (big32(header) == kMachMagic64 || big32(header) == kMachMagic) {
        bigEndian = true;
        wide = big32(header) == kMachMagic64;
    } else {
        return std::nullopt;
    }
    const auto field = [bigEndian](const unsigned char* p) { return bigEndian ? big32(p) : little32(p); };
    const std::uint64_t headerBytes = wide ? kMachHeader64Bytes : kMachHeaderBytes;
    const std::uint32_t commandCount = field(header + 16);
    const std::uint32_t commandBytes = field(header + 20);
    if (commandCount > CodeSignature::kMaxLoadCommands || commandBytes > CodeSignature::kMaxLoadCommandBytes ||
        !within(headerBytes, commandBytes, length))
        return std::nullopt;
    std::string commands(commandBytes, '\0');
    if (!source.read(base + headerBytes, commands.size(), reinterpret_cast<unsigned char*>(commands.data())))
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const unsigned char*>(commands.data());
    std::uint64_t position = 0;
    for (std::uint32_t i = 0; i < commandCount; ++i) {
        if (!within(position, 8, commandBytes))
            return std::nullopt;
        const std::uint32_t command = field(bytes + position);
        const std::uint32_t size = field(bytes + position + 4);
        if (size < 8 || !within(position, size, commandBytes))
            return std::nullopt;
        if (command == kLoadCodeSignature) {
            if (size < 16)
                return std::nullopt;
            const std::uint64_t dataOffset = field(bytes + position + 8);
            const std::uint64_t dataSize = field(bytes + position + 12);
            // The signature lies after the load commands, wholly inside the image.
            if (dataOffset < headerBytes + commandBytes || !within(dataOffset, dataSize, length))
                return std::nullopt;
            return entitlementsInSignature(source, base + dataOffset, dataSize);
        }
        position += size;
    }
    return std::nullopt;
}

std::optional<plist::Dictionary> entitlementsInExecutable(const Source& source)
{
    unsigned char header[kFatHeaderBytes];
    if (!source.read(0, sizeof header, header))
        return std::nullopt;
    const std::uint32_t magic = big32(header);
    if (magic != kFatMagic && magic != kFatMagic64)
        return entitlementsInImage(source, 0, source.size);

    const bool wide = magic == kFatMagic64;
    const std::uint64_t entryBytes = wide ? kFatArch64Bytes : kFatArchBytes;
    const std::uint32_t count = big32(header + 4);
    if (count == 0 || count > CodeSignature::kMaxSlices)
        return std::nullopt;
    const std::uint64_t tableEnd = kFatHeaderBytes + count * entryBytes;
    std::vector<unsigned char> table(count * entryBytes);
    if (!source.read(kFatHeaderBytes, table.size(), table.data()))
        return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i) {
        const unsigned char* entry = table.data() + i * entryBytes;
        const std::uint64_t offset = wide ? big64(entry + 8) : big32(entry + 8);
        const std::uint64_t size = wide ? big64(entry + 16) : big32(entry + 12);
        if (offset < tableEnd || !within(offset, size, source.size))
            continue;
        if (auto entitlements = entitlementsInImage(source, offset, size))
            return entitlements;
    }
    return std::nullopt;
}

}  // namespace

std::optional<plist::Dictionary> CodeSignature::entitlementsIn(std::string_view executable)
{
    Source source;
    source.size = executable.size();
    source.read = [executable](std::uint64_t offset, std::size_t count, unsigned char* out) {
        if (!within(offset, count, executable.size()))
            return false;
        if (count > 0)
            std::memcpy(out, executable.data() + offset, count);
        return true;
    };
    return entitlementsInExecutable(source);
}

std::optional<plist::Dictionary> CodeSignature::entitlementsOf(const std::string& path)
{
    // Looked at before it is opened, so that opening a device has no effect; checked again on the
    // descriptor, which is what is read.
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0 || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0)
        return std::nullopt;
    Source source;
    source.size = static_cast<std::uint64_t>(st.st_size);
    source.read = [&file, &source](std::uint64_t offset, std::size_t count, unsigned char* out) {
        if (!within(offset, count, source.size))
            return false;
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::pread(file.get(), out + done, count - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    };
    return entitlementsInExecutable(source);
}

}  // namespace platform
