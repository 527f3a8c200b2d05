// The program's guard over a host cursor, on a set that writes down what it is asked.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "host/HostCursor.h"

namespace {

// Its acquiring call returns `status`, with cursor 7 when that is 0.
struct RecordingSet {
    long status = 0;
    std::string calls;
    long Acquire(long* cursor)
    {
        calls += "acquire ";
        if (status == 0) *cursor = 7;
        return status;
    }
    long Release(long cursor)
    {
        calls += "release " + std::to_string(cursor);
        return 0;
    }
};

TEST(HostCursor, ReadiesAndReleasesOnlyACursorTheHostGave)
{
    for (const auto& [status, calls] : {std::pair<long, std::string>{0, "acquire ready 7 release 7"}, {-1, "acquire "},
                                        {5000, "acquire "}}) {
        RecordingSet set{status, ""};
        {
            const HostCursor cursor(set, &RecordingSet::Acquire, &RecordingSet::Release,
                                    [](RecordingSet& s, long id) { s.calls += "ready " + std::to_string(id) + " "; });
            EXPECT_EQ(cursor.IsHeld(), status == 0);
        }
        EXPECT_EQ(set.calls, calls) << "acquired with status " << status;
    }
}

}  // namespace
