#include "platform/mfc/Plex.h"

#include <new>

namespace {

const size_t kAlignment = alignof(max_align_t);

size_t RoundUp(size_t size)
{
    return (size + kAlignment - 1) / kAlignment * kAlignment;
}

} // namespace

CPlexPool::CPlexPool(size_t nodeSize, int blockSize)
    : m_nodeSize(RoundUp(nodeSize < sizeof(CFreeNode) ? sizeof(CFreeNode) : nodeSize)),
      m_blockSize(blockSize > 0 ? blockSize : 1), m_blocks(NULL), m_free(NULL)
{
}

CPlexPool::~CPlexPool()
{
    FreeAll();
}

void* CPlexPool::Alloc()
{
    if (!m_free) {
        // The block header is padded so that the nodes after it stay aligned.
        size_t header = RoundUp(sizeof(CBlock));
        char* memory = static_cast<char*>(::operator new(header + m_nodeSize * m_blockSize));
        CBlock* block = reinterpret_cast<CBlock*>(memory);
        block->next = m_blocks;
        m_blocks = block;
        // Chained so that nodes leave the block in address order.
        for (int i = m_blockSize - 1; i >= 0; i--) {
            CFreeNode* node = reinterpret_cast<CFreeNode*>(memory + header + i * m_nodeSize);
            node->next = m_free;
            m_free = node;
        }
    }
    CFreeNode* node = m_free;
    m_free = node->next;
    return node;
}

void CPlexPool::Free(void* node)
{
    CFreeNode* freed = static_cast<CFreeNode*>(node);
    freed->next = m_free;
    m_free = freed;
}

void CPlexPool::FreeAll()
{
    while (m_blocks) {
        CBlock* next = m_blocks->next;
        ::operator delete(m_blocks);
        m_blocks = next;
    }
    m_free = NULL;
}
