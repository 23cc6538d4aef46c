#include "tests/support/TestFramework.h"

#include "platform/crt/Random.h"

#include <vector>

namespace
{
struct SeedCase
{
    unsigned int seed;
    std::vector<int> first;
};

const SeedCase kSeedCases[] = {
    {1, {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}},
    {0, {38, 7719, 21238, 2437, 8855}},
    {12345, {7584, 19164, 25795, 22125, 5828}},
    {0xFFFFFFFF, {35, 29739, 3374}},
};

std::vector<int> Draw(size_t count)
{
    std::vector<int> values;
    for (size_t i = 0; i < count; i++)
        values.push_back(MsRand());
    return values;
}

DWORD WINAPI DrawFirst(void* result)
{
    *(int*)result = MsRand();
    MsSrand(99);
    return 0;
}
}

TEST(MsRand, FirstValuesForSeeds)
{
    for (const SeedCase& c : kSeedCases)
    {
        MsSrand(c.seed);
        EXPECT_EQ(c.first, Draw(c.first.size())) << "seed " << c.seed;
    }
}

TEST(MsRand, StaysWithinFifteenBits)
{
    MsSrand(7);
    for (int value : Draw(5000))
        ASSERT_TRUE(value >= 0 && value <= kMsRandMax) << value;
}

TEST(MsRand, EachThreadKeepsItsOwnSeed)
{
    MsSrand(1);
    std::vector<int> expected = Draw(3);
    MsSrand(1);
    MsRand();

    int otherFirst = -1;
    HANDLE thread = CreateThread(nullptr, 0, DrawFirst, &otherFirst, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);

    EXPECT_EQ(41, otherFirst);
    EXPECT_EQ(expected[1], MsRand());
    EXPECT_EQ(expected[2], MsRand());
}

TEST(MsRand, AGeneratorOfItsOwnLeavesTheThreadsSequenceAlone)
{
    MsSrand(1);
    std::vector<int> expected = Draw(3);
    MsSrand(1);
    MsRand();
    for (const SeedCase& c : kSeedCases)
    {
        CMsRandom own(c.seed);
        std::vector<int> values;
        for (size_t i = 0; i < c.first.size(); i++)
            values.push_back(own.Next());
        EXPECT_EQ(c.first, values) << "seed " << c.seed;
    }
    EXPECT_EQ(expected[1], MsRand());
    EXPECT_EQ(expected[2], MsRand());
}
