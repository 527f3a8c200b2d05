// The [timing] section that slows the rule's MoveNext, so that a run's progress can be seen.

#include <gtest/gtest.h>

#include <string>

#include "host/standin/HostData.h"
#include "tests/host/HostTestFolder.h"

namespace {

TEST(Timing, MoveNextDelayIsReadAndBounded)
{
    HostTestFolder folder;
    const std::string ini = ReadFileBytes(folder.Path() + L"\\host.ini");
    standin::HostData data;
    ASSERT_EQ(folder.Load(data), "");
    EXPECT_EQ(data.timing.moveNextDelayMs, 0);

    folder.Write(L"host.ini", ini + "[timing]\nMoveNext = 250\n");
    ASSERT_EQ(folder.Load(data), "");
    EXPECT_EQ(data.timing.moveNextDelayMs, 250);

    for (const char* refused : {"-1", "60001", "soon"}) {
        folder.Write(L"host.ini", ini + "[timing]\nMoveNext = " + refused + "\n");
        EXPECT_NE(folder.Load().find("MoveNext"), std::string::npos) << refused;
    }
}

}  // namespace
