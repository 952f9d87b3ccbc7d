#pragma once

#include "platform/TrashMover.h"

#include <gtest/gtest.h>

#include <cstring>

// A move that failed, said so, and gave `error` as the reason: a result with the error set but
// `ok` true would report a failure as success.
inline ::testing::AssertionResult refusedWith(const platform::TrashMover::Result& result, int error)
{
    if (!result.ok && result.error == error)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "ok " << result.ok << ", error " << result.error << " ("
                                         << std::strerror(result.error) << "), expected " << std::strerror(error)
                                         << ": " << result.why;
}
