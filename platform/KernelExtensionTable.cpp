#include "platform/KernelExtensionTable.h"

#include <mutex>

namespace platform {
namespace {

std::mutex tableMutex;
std::shared_ptr<KernelExtensionTable>& installed()
{
    static std::shared_ptr<KernelExtensionTable> table;
    return table;
}

}  // namespace

std::shared_ptr<KernelExtensionTable> KernelExtensionTable::current()
{
    std::lock_guard lock(tableMutex);
    if (!installed())
        installed() = systemTable();
    return installed();
}

void KernelExtensionTable::install(std::shared_ptr<KernelExtensionTable> table)
{
    std::lock_guard lock(tableMutex);
    installed() = std::move(table);
}

}  // namespace platform
