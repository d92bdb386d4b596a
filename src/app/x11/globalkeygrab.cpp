// SPDX-License-Identifier: GPL-3.0-or-later

#include "globalkeygrab.h"

#include "x11connection.h"

#include <QCoreApplication>

#include <array>
#include <optional>

namespace X11Platform
{

using namespace Connection;

namespace
{

constexpr xcb_keysym_t KeysymSpace = 0x20;
constexpr xcb_keysym_t KeysymF1 = 0xffbe;
constexpr xcb_keysym_t KeysymNumLock = 0xff7f;
constexpr xcb_keysym_t KeysymAltL = 0xffe9;
constexpr xcb_keysym_t KeysymSuperL = 0xffeb;
constexpr uint8_t BadAccess = 10;
constexpr int ModifierCount = 8;

std::optional<xcb_keysym_t> keysymFor(int key)
{
    // The letters' keysyms are their lower-case characters, the digits' their characters.
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return xcb_keysym_t('a' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return xcb_keysym_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return KeysymF1 + xcb_keysym_t(key - Qt::Key_F1);
    if (key == Qt::Key_Space)
        return KeysymSpace;
    return std::nullopt;
}

// Which keys make which symbols, and which keys act as which of the eight modifiers: Alt, Super and NumLock
// sit on whichever of Mod1 to Mod5 the keyboard's layout puts them.
class KeyboardMap
{
public:
    explicit KeyboardMap(xcb_connection_t *c)
    {
        const xcb_setup_t *setup = xcb_get_setup(c);
        m_first = setup->min_keycode;
        m_keys.reset(xcb_get_keyboard_mapping_reply(
            c, xcb_get_keyboard_mapping(c, m_first, uint8_t(setup->max_keycode - m_first + 1)), nullptr));
        m_modifiers.reset(xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr));
    }

    // The lowest key that makes the symbol without Shift or with it, as the X library's own lookup picks.
    std::optional<xcb_keycode_t> keycodeFor(xcb_keysym_t keysym) const
    {
        if (!m_keys)
            return std::nullopt;
        const int perKey = m_keys->keysyms_per_keycode;
        const xcb_keysym_t *symbols = xcb_get_keyboard_mapping_keysyms(m_keys.get());
        const int count = xcb_get_keyboard_mapping_keysyms_length(m_keys.get());
        for (int i = 0; perKey > 0 && i < count; ++i) {
            if (i % perKey < 2 && symbols[i] == keysym)
                return xcb_keycode_t(m_first + i / perKey);
        }
        return std::nullopt;
    }

    uint16_t maskFor(xcb_keysym_t keysym, uint16_t fallback) const
    {
        const std::optional<xcb_keycode_t> keycode = keycodeFor(keysym);
        if (!keycode || !m_modifiers)
            return fallback;
        const int perModifier = m_modifiers->keycodes_per_modifier;
        const xcb_keycode_t *keycodes = xcb_get_modifier_mapping_keycodes(m_modifiers.get());
        for (int i = 0; i < ModifierCount * perModifier; ++i) {
            if (keycodes[i] == *keycode)
                return uint16_t(1 << (i / perModifier));
        }
        return fallback;
    }

private:
    xcb_keycode_t m_first = 0;
    Reply<xcb_get_keyboard_mapping_reply_t> m_keys;
    Reply<xcb_get_modifier_mapping_reply_t> m_modifiers;
};

std::array<uint16_t, 4> lockCombinations(uint16_t numLock)
{
    return { 0, XCB_MOD_MASK_LOCK, numLock, uint16_t(XCB_MOD_MASK_LOCK | numLock) };
}

} // namespace

GlobalKeyGrab *GlobalKeyGrab::grab(Qt::KeyboardModifiers modifiers, int key, QObject *parent, Failure *failure)
{
    xcb_connection_t *c = connection();
    if (!c) {
        *failure = Failure::NotX11;
        return nullptr;
    }
    const KeyboardMap map(c);
    const std::optional<xcb_keysym_t> keysym = keysymFor(key);
    const std::optional<xcb_keycode_t> keycode = keysym ? map.keycodeFor(*keysym) : std::nullopt;
    if (!keycode) {
        *failure = Failure::NoSuchKey;
        return nullptr;
    }
    uint16_t mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        mask |= map.maskFor(KeysymAltL, XCB_MOD_MASK_1);
    if (modifiers & Qt::MetaModifier)
        mask |= map.maskFor(KeysymSuperL, XCB_MOD_MASK_4);
    const uint16_t numLock = map.maskFor(KeysymNumLock, XCB_MOD_MASK_2);

    const xcb_window_t root = rootWindow(c);
    const std::array<uint16_t, 4> locks = lockCombinations(numLock);
    std::array<xcb_void_cookie_t, 4> cookies {};
    for (size_t i = 0; i < locks.size(); ++i) {
        cookies[i] = xcb_grab_key_checked(
            c, true, root, uint16_t(mask | locks[i]), *keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    }
    bool taken = false;
    for (const xcb_void_cookie_t cookie : cookies) {
        const Reply<xcb_generic_error_t> error(xcb_request_check(c, cookie));
        taken = taken || (error && error->error_code == BadAccess);
    }
    if (taken) {
        // Whatever part was granted goes back: a combination that works only with NumLock off is worse than
        // one reported as unavailable.
        for (const uint16_t lock : locks)
            xcb_ungrab_key(c, *keycode, root, uint16_t(mask | lock));
        xcb_flush(c);
        *failure = Failure::TakenByAnotherProgram;
        return nullptr;
    }
    *failure = Failure::None;
    return new GlobalKeyGrab(*keycode, mask, uint16_t(XCB_MOD_MASK_LOCK | numLock), parent);
}

GlobalKeyGrab::GlobalKeyGrab(quint8 keycode, quint16 modifiers, quint16 lockModifiers, QObject *parent)
    : QObject(parent)
    , m_keycode(keycode)
    , m_modifiers(modifiers)
    , m_lockModifiers(lockModifiers)
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

GlobalKeyGrab::~GlobalKeyGrab()
{
    xcb_connection_t *c = connection();
    if (!c)
        return;
    const xcb_window_t root = rootWindow(c);
    const auto numLock = uint16_t(m_lockModifiers & ~XCB_MOD_MASK_LOCK);
    for (const uint16_t lock : lockCombinations(numLock))
        xcb_ungrab_key(c, m_keycode, root, uint16_t(m_modifiers | lock));
    xcb_flush(c);
}

bool GlobalKeyGrab::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const uint8_t type = event->response_type & ~0x80;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto *key = reinterpret_cast<const xcb_key_press_event_t *>(event);
    // The grab hands over presses with the lock keys in any state; the buttons held beside them do not count.
    constexpr uint16_t KeyboardModifiers = 0xff;
    if (key->detail != m_keycode || (key->state & KeyboardModifiers & ~m_lockModifiers) != m_modifiers)
        return false;
    // While the grab holds, the key's release and repeats come here too; none of them is meant for a window.
    if (type == XCB_KEY_PRESS)
        emit pressed(key->time);
    return true;
}

} // namespace X11Platform
