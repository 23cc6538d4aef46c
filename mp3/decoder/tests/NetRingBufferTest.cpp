#include "tests/support/TestFramework.h"

#include "mp3/decoder/NetRingBuffer.h"

#include <string>

namespace {

const size_t kRingSize = 8;

class NetRingBufferTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        memset(m_memory, '.', sizeof(m_memory));
        RingInit(&m_ring, m_memory, kRingSize);
    }

    void Write(const std::string& bytes) { RingWrite(&m_ring, bytes.data(), bytes.size()); }
    std::string Read(size_t n)
    {
        std::string bytes(n, '\0');
        RingRead(&m_ring, &bytes[0], n);
        return bytes;
    }

    unsigned char m_memory[kRingSize + 4];   // the tail past the ring must stay untouched
    RingBuffer m_ring;
};

} // namespace

TEST_F(NetRingBufferTest, EmptyRingHoldsSizeLessOne)
{
    EXPECT_EQ(0u, RingUsed(&m_ring));
    EXPECT_EQ(kRingSize - 1, RingFree(&m_ring));
    Write("1234567");
    EXPECT_EQ(7u, RingUsed(&m_ring));
    EXPECT_EQ(0u, RingFree(&m_ring));
    EXPECT_EQ(0u, RingFreeContiguous(&m_ring));
    EXPECT_EQ("1234567", Read(7));
    EXPECT_EQ(0u, RingUsed(&m_ring));
    EXPECT_EQ(m_ring.read, m_ring.write);
}

TEST_F(NetRingBufferTest, WritesAndReadsAcrossTheEnd)
{
    Write("abcde");
    EXPECT_EQ("abc", Read(3));
    Write("FGHIJ");   // 3 at the end, 2 from the start
    EXPECT_EQ(7u, RingUsed(&m_ring));
    EXPECT_EQ(0u, RingFree(&m_ring));
    EXPECT_EQ("deFGHIJ", Read(7));
    EXPECT_EQ(0u, RingUsed(&m_ring));
    EXPECT_EQ(std::string(4, '.'), std::string(m_memory + kRingSize, m_memory + kRingSize + 4));
}

TEST_F(NetRingBufferTest, NullDataOnlyAdvances)
{
    Write("abcdef");
    RingRead(&m_ring, nullptr, 4);
    EXPECT_EQ(2u, RingUsed(&m_ring));
    RingWrite(&m_ring, nullptr, 3);   // wraps
    EXPECT_EQ(5u, RingUsed(&m_ring));
    EXPECT_EQ("ef", Read(2));
}

struct ContiguousCase
{
    size_t write;        // offsets of the positions
    size_t read;
    size_t contiguous;   // free bytes at the write position without wrapping
    size_t free;
};

const ContiguousCase kContiguousCases[] = {
    {0, 0, 7, 7},   // a reader at the start leaves the last byte free
    {3, 0, 4, 4},
    {3, 3, 5, 7},
    {6, 2, 2, 3},
    {1, 4, 2, 2},
    {0, 2, 1, 1},
};

TEST_F(NetRingBufferTest, FillingTheContiguousSpaceNeverEmptiesTheRing)
{
    for (const ContiguousCase& c : kContiguousCases) {
        SCOPED_TRACE(testing::Message() << "write " << c.write << ", read " << c.read);
        m_ring.write = m_memory + c.write;
        m_ring.read = m_memory + c.read;
        size_t used = RingUsed(&m_ring);
        EXPECT_EQ(c.free, RingFree(&m_ring));
        ASSERT_EQ(c.contiguous, RingFreeContiguous(&m_ring));
        RingWrite(&m_ring, "ABCDEFG", c.contiguous);
        EXPECT_EQ(used + c.contiguous, RingUsed(&m_ring));
    }
}

TEST_F(NetRingBufferTest, AdvanceWriteWrapsModuloTheSize)
{
    // A receive of 6 bytes at offset 5 ran 3 bytes past the end; they were
    // copied to the start before the position moves.
    m_ring.write = m_memory + 5;
    m_ring.read = m_memory + 4;
    RingAdvanceWrite(&m_ring, 6);
    EXPECT_EQ(m_memory + 3, m_ring.write);
    EXPECT_EQ(7u, RingUsed(&m_ring));
}
