#pragma once

#include <QString>

#include <cstdint>

// A byte count as format2ByteCountString words it (from its parts, byteCountParts) ("245.3 MB", "Zero KB", "12 bytes"), in the
// language the screens speak: the locale's decimal mark and each language's unit ("245,3 Mo").
QString localizedByteCount(std::int64_t bytes);
