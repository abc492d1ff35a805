// Synthetic desktop input for the tests, pushed into SDL's event queue.
#include "tests/sdl_inject.h"

#include <SDL.h>

static void Push(SDL_Event e) {
    e.common.timestamp = SDL_GetTicks();
    SDL_PushEvent(&e);
}

void SdlInjectKey(int usbCode, bool down, bool alt) {
    SDL_Event e = {};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = SDL_Scancode(usbCode);
    e.key.keysym.mod = alt ? KMOD_LALT : KMOD_NONE;
    Push(e);
}

void SdlInjectFocusLoss() {
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    Push(e);
}

void SdlInjectClick(double x, double y, bool fromTouch) {
    SDL_Event e = {};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = SDL_PRESSED;
    e.button.which = fromTouch ? SDL_TOUCH_MOUSEID : 0;
    e.button.x = int(x);
    e.button.y = int(y);
    Push(e);
}

void SdlInjectTouch(float x, float y) {
    SDL_Event e = {};
    e.type = SDL_FINGERDOWN;
    e.tfinger.x = x;
    e.tfinger.y = y;
    Push(e);
}

void SdlInjectWindowSize(int width, int height) {
    SDL_Window* window = SDL_GetWindowFromID(1);
    if (!window) window = SDL_GetKeyboardFocus();
    if (window) SDL_SetWindowSize(window, width, height);
}

int SdlInjectPad() {
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
    if (index < 0) return -1;
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    SDL_Event e = {};
    e.type = SDL_CONTROLLERDEVICEADDED;
    e.cdevice.which = index;
    Push(e);
    return id;
}

void SdlInjectPadButton(int pad, int button, bool down) {
    SDL_Event e = {};
    e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    e.cbutton.which = pad;
    e.cbutton.button = uint8_t(button);
    e.cbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    Push(e);
}

void SdlInjectPadAxis(int pad, int axis, int16_t value) {
    SDL_Event e = {};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.which = pad;
    e.caxis.axis = uint8_t(axis);
    e.caxis.value = value;
    Push(e);
}
