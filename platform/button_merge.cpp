// Direction and button merging across keyboard and gamepads, and the stick's dead zone.
#include "platform/button_merge.h"

static bool Valid(int button, int source) {
    return button >= 0 && button < ButtonCount && source >= 0 && source < MergeSources;
}

static void Queue(ButtonMerge* m, HostEventType type, int button) {
    if (m->count == MergeQueueSize)
        return;  // drained after every host event, so never full in play
    HostEvent& e = m->queue[(m->head + m->count++) % MergeQueueSize];
    e = HostEvent{};
    e.type = type;
    e.key = m->keys[button];
}

void MergeReset(ButtonMerge* m) {
    *m = ButtonMerge{};
    HostGetDefaultKeys(m->keys);
}

void MergePress(ButtonMerge* m, int button, int source) {
    if (!Valid(button, source)) return;
    m->holders[button] |= uint64_t(1) << source;
    Queue(m, HostEventKeyDown, button);
}

void MergeRelease(ButtonMerge* m, int button, int source) {
    if (!Valid(button, source)) return;
    uint64_t bit = uint64_t(1) << source;
    if (!(m->holders[button] & bit)) return;
    m->holders[button] &= ~bit;
    if (m->holders[button] == 0) Queue(m, HostEventKeyUp, button);
}

void MergeReleaseSource(ButtonMerge* m, int source) {
    for (int b = 0; b < ButtonCount; b++) MergeRelease(m, b, source);
}

bool MergeHeld(const ButtonMerge* m, int button) {
    return button >= 0 && button < ButtonCount && m->holders[button] != 0;
}

bool MergeTake(ButtonMerge* m, HostEvent* event) {
    if (m->count == 0) return false;
    *event = m->queue[m->head];
    m->head = (m->head + 1) % MergeQueueSize;
    m->count--;
    return true;
}

int8_t StickStep(int8_t state, int32_t value) {
    if (value > StickPress) return 1;
    if (value < -StickPress) return -1;
    if (state > 0 && value > StickRelease) return 1;
    if (state < 0 && value < -StickRelease) return -1;
    return 0;
}

void MergeStickAxis(ButtonMerge* m, int8_t* state, int32_t value, int negative, int positive,
                    int source) {
    int8_t next = StickStep(*state, value);
    if (next == *state) return;
    if (*state < 0) MergeRelease(m, negative, source);
    if (*state > 0) MergeRelease(m, positive, source);
    if (next < 0) MergePress(m, negative, source);
    if (next > 0) MergePress(m, positive, source);
    *state = next;
}
