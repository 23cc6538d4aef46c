// Nodes of lists and maps come from blocks of a fixed number of nodes, so that
// a collection allocates once per block rather than once per element.
#pragma once

#include <stddef.h>

class CPlexPool
{
public:
    CPlexPool(size_t nodeSize, int blockSize);
    ~CPlexPool();

    // Raw memory for one node; the caller constructs and destroys the object.
    void* Alloc();
    void Free(void* node);
    // Returns every block; all nodes must be destroyed already.
    void FreeAll();

private:
    struct CFreeNode
    {
        CFreeNode* next;
    };
    struct CBlock
    {
        CBlock* next;
    };

    size_t m_nodeSize;
    int m_blockSize;
    CBlock* m_blocks;
    CFreeNode* m_free;

    CPlexPool(const CPlexPool&);
    void operator=(const CPlexPool&);
};
