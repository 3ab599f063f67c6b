#pragma once
// A fixed-size hash index from a name to the position of the first entry that carries it, so
// that "the first exact, case-sensitive match" is found without walking the entries. The index
// holds positions only; the caller hands in a way to read the name at a position. No
// allocation: the slots live inside the index.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tavir {

// FNV-1a over the first length bytes of name.
inline uint32_t hashName(const char* name, size_t length) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < length; ++i) {
        hash ^= static_cast<unsigned char>(name[i]);
        hash *= 16777619u;
    }
    return hash;
}

// kSlots is a power of two, larger than the most positions ever inserted, so a probe always
// meets an empty slot.
template <int kSlots>
struct NameIndex {
    static_assert((kSlots & (kSlots - 1)) == 0, "kSlots must be a power of two");
    int32_t slots[kSlots];  // position + 1; 0 = empty

    void clear() { std::memset(slots, 0, sizeof slots); }

    // Finds the first position whose name equals the first length bytes of name (and has no
    // more). nameAt(position) gives the stored name, NUL-terminated. Gives -1 when none.
    template <typename NameAt>
    int find(const char* name, size_t length, NameAt nameAt) const {
        uint32_t slot = hashName(name, length) & (kSlots - 1);
        while (slots[slot] != 0) {
            int position = slots[slot] - 1;
            const char* stored = nameAt(position);
            if (std::strncmp(stored, name, length) == 0 && stored[length] == '\0') return position;
            slot = (slot + 1) & (kSlots - 1);
        }
        return -1;
    }

    // Records position for its name unless an earlier position holds the same name: the first
    // one added keeps answering.
    template <typename NameAt>
    void insert(int position, NameAt nameAt) {
        const char* name = nameAt(position);
        size_t length = std::strlen(name);
        uint32_t slot = hashName(name, length) & (kSlots - 1);
        while (slots[slot] != 0) {
            const char* stored = nameAt(slots[slot] - 1);
            if (std::strcmp(stored, name) == 0) return;
            slot = (slot + 1) & (kSlots - 1);
        }
        slots[slot] = position + 1;
    }
};

}  // namespace tavir
