// The one instance of the game's state.
#include "core/globals.h"

#include <cstddef>

#include "core/global_fields.h"

GameGlobals G;

// Every field is in the field list, in order: each listed field starts where the one before it
// ends and the last ends the record. With no byte left over, no field can be left out.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
constexpr bool FieldsFillTheRecord() {
    size_t end = 0;
#define X(field, kind, suspend)                            \
    if (offsetof(GameGlobals, field) != end) return false; \
    end += sizeof(GameGlobals::field);
    GAME_GLOBAL_FIELDS(X)
#undef X
    return end == sizeof(GameGlobals);
}
#pragma GCC diagnostic pop
static_assert(FieldsFillTheRecord(), "a field of GameGlobals is missing from GAME_GLOBAL_FIELDS");
