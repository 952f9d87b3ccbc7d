#include "app/scanner/SizeWalk.h"

#include "Auxiliary/FileSize.h"
#include "app/scanner/StopToken.h"

std::int64_t SizeWalk::sizeOfPath(const std::string& path, const StopToken* stop)
{
    static const std::atomic<bool> stopped{false};
    return fileSize(path, stop ? stop->flag() : &stopped);
}
