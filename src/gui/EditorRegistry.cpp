#include "gui/EditorRegistry.h"

namespace kt {

const EditorEntry* EditorRegistry::Find(Child id) const
{
    for (const EditorEntry& e : entries_)
        if (e.id == id) return &e;
    return nullptr;
}

}  // namespace kt
