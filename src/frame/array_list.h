// The growable array of the device catalogue: entries held by value (copied bytes) or by
// reference (pointers the list does not own).
#pragma once
#include <cstdint>

namespace QVL {

enum ARRAY_LIST_KIND { AL_VALUE, AL_REFERENCE };

struct ARRAY_LIST {
    ARRAY_LIST_KIND kind;
    uint32_t entrySize;   // bytes per entry; 4 for references
    uint8_t* items;
    uint32_t count;
    uint32_t capacity;

    explicit ARRAY_LIST(ARRAY_LIST_KIND kind, uint32_t entrySize = 0);
    ~ARRAY_LIST();
    ARRAY_LIST(const ARRAY_LIST&) = delete;
    ARRAY_LIST& operator=(const ARRAY_LIST&) = delete;

    // HR_E_FAIL with entry size 0, HR_E_OUTOFMEMORY when the storage cannot grow.
    int32_t Add(const void* entry);
    // The entry's bytes (value list) or the stored pointer (reference list); null out of range.
    void* Item(uint32_t index) const;
    bool Contains(const void* entry) const;
    uint32_t Count() const { return count; }
};

// Typed reads of a list the caller knows the kind of.
template <class T> inline T* ArrayList_Ref(const ARRAY_LIST* list, uint32_t i) { return static_cast<T*>(list->Item(i)); }
template <class T> inline T ArrayList_Value(const ARRAY_LIST* list, uint32_t i) { return *static_cast<T*>(list->Item(i)); }

} // namespace QVL
