#include "frame/array_list.h"

#include <cstdlib>
#include <cstring>

#include "frame/d3d_values.h"

namespace QVL {

// References are stored as 32-bit values in the original layout; here a pointer's own size.
static uint32_t EntryBytes(const ARRAY_LIST& l)
{
    return l.kind == AL_REFERENCE ? (uint32_t)sizeof(void*) : l.entrySize;
}

ARRAY_LIST::ARRAY_LIST(ARRAY_LIST_KIND k, uint32_t size)
    : kind(k), entrySize(k == AL_REFERENCE ? 4 : size), items(nullptr), count(0), capacity(0)
{
}

ARRAY_LIST::~ARRAY_LIST()
{
    std::free(items);
}

int32_t ARRAY_LIST::Add(const void* entry)
{
    if (entrySize == 0) return HR_E_FAIL;
    uint32_t bytes = EntryBytes(*this);
    if (count == capacity) {
        uint32_t grown = capacity == 0 ? 16 : capacity * 2;
        if (grown < capacity || (uint64_t)grown * bytes > 0x7FFFFFFFu) return HR_E_OUTOFMEMORY;
        void* p = std::realloc(items, (size_t)grown * bytes);
        if (!p) return HR_E_OUTOFMEMORY;
        items = static_cast<uint8_t*>(p);
        capacity = grown;
    }
    uint8_t* slot = items + (size_t)count * bytes;
    if (kind == AL_REFERENCE)
        std::memcpy(slot, &entry, sizeof entry);
    else
        std::memcpy(slot, entry, bytes);
    ++count;
    return HR_OK;
}

void* ARRAY_LIST::Item(uint32_t index) const
{
    if (index >= count) return nullptr;
    uint8_t* slot = items + (size_t)index * EntryBytes(*this);
    if (kind == AL_REFERENCE) {
        void* p;
        std::memcpy(&p, slot, sizeof p);
        return p;
    }
    return slot;
}

bool ARRAY_LIST::Contains(const void* entry) const
{
    for (uint32_t i = 0; i < count; ++i) {
        void* item = Item(i);
        if (kind == AL_REFERENCE ? item == entry : std::memcmp(item, entry, entrySize) == 0) return true;
    }
    return false;
}

} // namespace QVL
